// The one path every entry point takes: check the handle, clear its
// diagnostics, run the internal function with no exception escaping, keep
// the return code for SQL_DIAG_RETURNCODE, and trace the call when
// SQLSIM_ODBC_TRACE names a file. Not for calls that free their handle.
// Calls on the environment go one at a time, and so do calls on one
// connection and its statements, which threads may share.
#pragma once

#include <mutex>
#include <new>

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

void TraceCall(const char* function, const void* handle, SQLRETURN rc);

template <class H, class Fn>
SQLRETURN Guarded(SQLHANDLE handle, const char* function, Fn&& fn) {
  H* h = FromHandle<H>(handle);
  if (!h) {
    TraceCall(function, handle, SQL_INVALID_HANDLE);
    return SQL_INVALID_HANDLE;
  }
  std::lock_guard<std::recursive_mutex> serial(SerialMutex(*h));
  h->diags.Clear();
  SQLRETURN rc;
  try {
    rc = fn(*h);
  } catch (const std::bad_alloc&) {
    rc = h->diags.Error("HY001", "Memory allocation error");
  } catch (...) {
    rc = h->diags.Error("HY000", "General error: unexpected failure in the driver");
  }
  h->diags.set_return_code(rc);
  TraceCall(function, handle, rc);
  return rc;
}

}  // namespace sqlsim::odbc
