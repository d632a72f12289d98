// Opening and closing database connections. The library keeps no state per
// connection: the handle is the ODBC connection handle itself.
#include <cstring>

#include "frame/export_guard.h"
#include "frame/lifecycle.h"
#include "frame/odbc_handles.h"
#include "include/lerv32.h"
#include "frame/connection_work.h"
#include "records/prepared_set.h"

namespace lerv32 {
namespace {

constexpr SQLSMALLINT kConnectOutSize = 256;

SQLCHAR* Text(const char* text) {
  static char empty[] = "";
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text != nullptr ? text : empty));
}

// The completion mode for a non-zero connect mode. A prompt needs a window
// to own it: without a window system, or on Windows without a parent window,
// the driver manager refuses to prompt (HY092). Completing the string instead
// lets a complete connection string connect, and still returns the completed
// form.
SQLUSMALLINT CompletingMode(void* window) {
#if defined(_WIN32)
  return window != nullptr ? SQL_DRIVER_PROMPT : SQL_DRIVER_COMPLETE;
#else
  (void)window;
  return SQL_DRIVER_COMPLETE;
#endif
}

SQLHDBC Connect(const char* dsn, const char* uid, const char* pwd) {
  if (dsn == nullptr) return SQL_NULL_HDBC;
  ConnectionHandle connection(EnvHandle());
  if (!connection) return SQL_NULL_HDBC;
  const SQLRETURN rc = ODBC_CALL(SQLConnect, connection.Get(), Text(dsn), SQL_NTS, Text(uid),
                                 SQL_NTS, Text(pwd), SQL_NTS);
  return SQL_SUCCEEDED(rc) ? connection.Release() : SQL_NULL_HDBC;
}

SQLHDBC DriverConnect(HWND window, char* connect, int32_t mode) {
  if (connect == nullptr) return SQL_NULL_HDBC;
  // Mode 2 gives the string a buffer of 256 bytes: a text that does not end
  // within them is refused, never read beyond them.
  if (mode == 2 && std::memchr(connect, '\0', kConnectOutSize) == nullptr) return SQL_NULL_HDBC;
  ConnectionHandle connection(EnvHandle());
  if (!connection) return SQL_NULL_HDBC;
  SQLCHAR completed[kConnectOutSize] = {};
  SQLSMALLINT completed_length = 0;
  const SQLRETURN rc = ODBC_CALL(SQLDriverConnect, connection.Get(), reinterpret_cast<SQLHWND>(window),
                                 Text(connect), SQL_NTS, completed, kConnectOutSize,
                                 &completed_length, mode != 0 ? CompletingMode(window) : SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(rc)) return SQL_NULL_HDBC;
  if (mode == 2) {
    std::strncpy(connect, reinterpret_cast<const char*>(completed), kConnectOutSize - 1);
    connect[kConnectOutSize - 1] = '\0';
  }
  return connection.Release();
}

SQLRETURN Disconnect(SQLHDBC connection) {
  if (!PlausibleHandle(connection)) return SQL_INVALID_HANDLE;
  // Prepared sets on it would keep dead statement handles.
  ReleaseSetsOn(connection);
  ForgetConnectionWork(connection);
  ODBC_CALL(SQLDisconnect, connection);
  return ODBC_CALL(SQLFreeConnect, connection);
}

}  // namespace
}  // namespace lerv32

using lerv32::Guarded;
using lerv32::GuardedOn;

extern "C" {

LERV32_HDBC LERV32_CALL rv_OdbcConnect(const char* dsn, const char* uid, const char* pwd) {
  return Guarded<LERV32_HDBC>(nullptr, [&] { return lerv32::Connect(dsn, uid, pwd); });
}

LERV32_HDBC LERV32_CALL rv_OdbcDriverConnect(LERV32_HWND window, const char* connect) {
  // Mode 0 never writes the connection string back.
  return rv_OdbcDriverConnectEx(window, const_cast<char*>(connect), 0);
}

LERV32_HDBC LERV32_CALL rv_OdbcDriverConnectEx(LERV32_HWND window, char* connect, int32_t mode) {
  return Guarded<LERV32_HDBC>(nullptr, [&] {
    return lerv32::DriverConnect(static_cast<HWND>(window), connect, mode);
  });
}

int16_t LERV32_CALL rv_OdbcDisconnect(LERV32_HDBC connection) {
  return GuardedOn<int16_t>(connection, SQL_ERROR, [&] { return lerv32::Disconnect(connection); });
}

}  // extern "C"
