// Work of several statements on one connection that must not interleave with
// another thread's on the same connection: a transaction the library begins
// and commits would otherwise nest into the other thread's, and commit only
// when that one commits. One lock per connection handle; a thread may take
// it again while it holds it.
#ifndef LERV32_FRAME_CONNECTION_WORK_H
#define LERV32_FRAME_CONNECTION_WORK_H

#include <memory>
#include <mutex>

#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

class ConnectionWork {
 public:
  explicit ConnectionWork(SQLHDBC dbc);
  ConnectionWork(const ConnectionWork&) = delete;
  ConnectionWork& operator=(const ConnectionWork&) = delete;

 private:
  std::shared_ptr<std::recursive_mutex> mutex_;
  std::unique_lock<std::recursive_mutex> lock_;
};

// Drops the lock of a connection that goes away; work under way keeps its own.
void ForgetConnectionWork(SQLHDBC dbc);

}  // namespace lerv32

#endif
