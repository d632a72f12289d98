// No exception crosses the exported interface: an export's body runs inside
// Guarded, which turns any escaping exception into the export's failure value.
// The names an export builds all name one tenant (TenantScope). The exports
// on a connection run one at a time per connection (GuardedOn).
#ifndef LERV32_FRAME_EXPORT_GUARD_H
#define LERV32_FRAME_EXPORT_GUARD_H

#include "frame/connection_work.h"
#include "frame/odbc_handles.h"
#include "tabledef/tenant_scope.h"

namespace lerv32 {

template <typename Result, typename Body>
Result Guarded(Result on_failure, Body&& body) noexcept {
  const TenantScope tenant;
  try {
    return body();
  } catch (...) {
    return on_failure;
  }
}

// An export on a connection waits for another thread's export on the same
// connection: a transaction the library keeps open across statements (an
// append, a blob write) would otherwise take in the other thread's
// statements, to be committed or rolled back with its own. A handle that is
// no plausible one is left to body to refuse.
template <typename Result, typename Body>
Result GuardedOn(void* connection, Result on_failure, Body&& body) noexcept {
  return Guarded<Result>(on_failure, [&]() -> Result {
    if (!PlausibleHandle(connection)) return body();
    const ConnectionWork work(static_cast<SQLHDBC>(connection));
    return body();
  });
}

}  // namespace lerv32

#endif  // LERV32_FRAME_EXPORT_GUARD_H
