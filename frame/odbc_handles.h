// Owning wrappers of ODBC handles: a handle is freed when its owner goes out
// of scope unless it was released to the caller.
#ifndef LERV32_FRAME_ODBC_HANDLES_H
#define LERV32_FRAME_ODBC_HANDLES_H

#include <utility>

#include "frame/odbc_trace.h"

#include <sqlext.h>

namespace lerv32 {

class ConnectionHandle {
 public:
  // Allocates a connection from env; empty when that fails.
  explicit ConnectionHandle(SQLHENV env) {
    if (env == SQL_NULL_HENV || !SQL_SUCCEEDED(ODBC_CALL(SQLAllocConnect, env, &handle_))) {
      handle_ = SQL_NULL_HDBC;
    }
  }
  ~ConnectionHandle() {
    if (handle_ != SQL_NULL_HDBC) ODBC_CALL(SQLFreeConnect, handle_);
  }
  ConnectionHandle(ConnectionHandle&& other) noexcept : handle_(other.Release()) {}
  ConnectionHandle& operator=(ConnectionHandle&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  ConnectionHandle(const ConnectionHandle&) = delete;
  ConnectionHandle& operator=(const ConnectionHandle&) = delete;

  SQLHDBC Get() const { return handle_; }
  explicit operator bool() const { return handle_ != SQL_NULL_HDBC; }
  // Hands the handle to the caller, who frees it from now on.
  SQLHDBC Release() { return std::exchange(handle_, nullptr); }

 private:
  SQLHDBC handle_ = SQL_NULL_HDBC;
};

}  // namespace lerv32

#endif  // LERV32_FRAME_ODBC_HANDLES_H
