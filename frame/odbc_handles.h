// Owning wrappers of ODBC handles: a handle is freed when its owner goes out
// of scope unless it was released to the caller.
#ifndef LERV32_FRAME_ODBC_HANDLES_H
#define LERV32_FRAME_ODBC_HANDLES_H

#include <cstdint>
#include <utility>

#include "frame/odbc_trace.h"

#include <sqlext.h>

namespace lerv32 {

// Whether handle can be a handle of the driver manager at all. Those are
// addresses of its objects: never in the lowest or the highest 64 KiB of
// the address space, always aligned for a pointer. A driver manager may
// read the memory a handle points to before it knows the handle for one of
// its own (unixODBC does), so a made-up value such as -1 would crash it.
inline bool PlausibleHandle(const void* handle) {
  constexpr std::uintptr_t kUnmapped = 0x10000;
  const auto address = reinterpret_cast<std::uintptr_t>(handle);
  return address >= kUnmapped && address <= UINTPTR_MAX - kUnmapped && address % alignof(void*) == 0;
}

// The handle, or null when it is no plausible one: a call then fails as it
// fails for a null handle, which every driver manager refuses unread.
template <typename Handle>
Handle PlausibleOrNull(Handle handle) {
  return PlausibleHandle(handle) ? handle : nullptr;
}

// Whether the driver manager takes connection for a connection handle of its
// own, connected or not: a null, made-up or freed one it is not.
inline bool KnownConnection(void* connection) {
  if (!PlausibleHandle(connection)) return false;
  SQLUINTEGER autocommit = 0;
  return ODBC_CALL(SQLGetConnectAttr, static_cast<SQLHDBC>(connection), SQL_ATTR_AUTOCOMMIT, &autocommit,
                   sizeof autocommit, nullptr) != SQL_INVALID_HANDLE;
}

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

// A statement handle, freed (SQL_DROP) when it goes.
class OdbcStatement {
 public:
  // Allocates on dbc; ok() tells whether that worked.
  explicit OdbcStatement(SQLHDBC dbc) {
    if (!SQL_SUCCEEDED(ODBC_CALL(SQLAllocStmt, dbc, &stmt_))) stmt_ = SQL_NULL_HSTMT;
  }
  ~OdbcStatement() {
    if (stmt_ != SQL_NULL_HSTMT) ODBC_CALL(SQLFreeStmt, stmt_, SQL_DROP);
  }
  OdbcStatement(const OdbcStatement&) = delete;
  OdbcStatement& operator=(const OdbcStatement&) = delete;

  bool ok() const { return stmt_ != SQL_NULL_HSTMT; }
  SQLHSTMT get() const { return stmt_; }

 private:
  SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

}  // namespace lerv32

#endif  // LERV32_FRAME_ODBC_HANDLES_H
