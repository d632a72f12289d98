// No exception crosses the exported interface: an export's body runs inside
// Guarded, which turns any escaping exception into the export's failure value.
// The names an export builds all name one tenant (TenantScope).
#ifndef LERV32_FRAME_EXPORT_GUARD_H
#define LERV32_FRAME_EXPORT_GUARD_H

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

}  // namespace lerv32

#endif  // LERV32_FRAME_EXPORT_GUARD_H
