// The one path every entry point takes: check the handle, clear its
// diagnostics, run the internal function with no exception escaping, keep
// the return code for SQL_DIAG_RETURNCODE, and trace the call when
// SQLSIM_ODBC_TRACE names a file. Not for calls that free their handle.
// Calls on the environment, which threads share, are serialised.
#pragma once

#include <mutex>
#include <new>
#include <type_traits>

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
  std::unique_lock<std::recursive_mutex> serial;
  if constexpr (std::is_same_v<H, Env>) serial = std::unique_lock<std::recursive_mutex>(h->mutex);
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
