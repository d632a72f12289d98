#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "sqlsim/odbc/entry.h"

namespace sqlsim::odbc {

namespace {

const char* ReturnName(SQLRETURN rc) {
  switch (rc) {
    case SQL_SUCCESS: return "SQL_SUCCESS";
    case SQL_SUCCESS_WITH_INFO: return "SQL_SUCCESS_WITH_INFO";
    case SQL_ERROR: return "SQL_ERROR";
    case SQL_INVALID_HANDLE: return "SQL_INVALID_HANDLE";
    case SQL_NO_DATA: return "SQL_NO_DATA";
    case SQL_NEED_DATA: return "SQL_NEED_DATA";
    default: return "?";
  }
}

}  // namespace

void TraceCall(const char* function, const void* handle, SQLRETURN rc) {
  static const char* const path = std::getenv("SQLSIM_ODBC_TRACE");
  if (!path || !*path) return;
  static std::mutex mutex;
  std::lock_guard<std::mutex> lock(mutex);
  if (FILE* f = std::fopen(path, "a")) {
    std::fprintf(f, "%s %p %s\n", function, handle, ReturnName(rc));
    std::fclose(f);
  }
}

}  // namespace sqlsim::odbc
