// Entry points: handles, environment attributes, transactions, diagnostics.
#include <mutex>

#include "sqlsim/odbc/connection.h"
#include "sqlsim/odbc/entry.h"

using namespace sqlsim::odbc;

namespace {

SQLRETURN AllocEnv(SQLHANDLE input, SQLHANDLE* output) {
  if (!output) return SQL_ERROR;
  if (input != SQL_NULL_HANDLE) return SQL_INVALID_HANDLE;
  try {
    *output = static_cast<HandleBase*>(new Env());
    return SQL_SUCCESS;
  } catch (...) {
    *output = SQL_NULL_HANDLE;
    return SQL_ERROR;
  }
}

SQLRETURN FreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  switch (type) {
    case SQL_HANDLE_ENV: {
      Env* env = FromHandle<Env>(handle);
      if (!env) return SQL_INVALID_HANDLE;
      {
        std::lock_guard<std::recursive_mutex> serial(env->mutex);
        if (!env->dbcs.empty()) return env->diags.Error("HY010", "Function sequence error");
      }
      delete env;
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_DBC: {
      Dbc* dbc = FromHandle<Dbc>(handle);
      if (!dbc) return SQL_INVALID_HANDLE;
      {
        std::lock_guard<std::recursive_mutex> serial(dbc->mutex);
        if (dbc->session) return dbc->diags.Error("HY010", "Function sequence error: still connected");
      }
      Env* env = dbc->env;
      std::lock_guard<std::recursive_mutex> serial(env->mutex);
      env->RemoveDbc(dbc);
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_STMT: {
      Stmt* stmt = FromHandle<Stmt>(handle);
      if (!stmt) return SQL_INVALID_HANDLE;
      Dbc* dbc = stmt->dbc;
      std::lock_guard<std::recursive_mutex> serial(dbc->mutex);
      dbc->RemoveStmt(stmt);
      return SQL_SUCCESS;
    }
    case SQL_HANDLE_DESC: {
      Desc* desc = FromHandle<Desc>(handle);
      if (!desc) return SQL_INVALID_HANDLE;
      return desc->diags.Error("HY017", "Invalid use of an automatically allocated descriptor handle");
    }
    default:
      return SQL_INVALID_HANDLE;
  }
}

// A handle whose diagnostics are read, and the lock its calls take.
struct DiagTarget {
  HandleBase* handle = nullptr;
  std::recursive_mutex* serial = nullptr;
};

template <class H>
DiagTarget TargetOf(SQLHANDLE handle) {
  H* h = FromHandle<H>(handle);
  if (!h) return {};
  return {h, &SerialMutex(*h)};
}

DiagTarget DiagHandle(SQLSMALLINT type, SQLHANDLE handle) {
  switch (type) {
    case SQL_HANDLE_ENV: return TargetOf<Env>(handle);
    case SQL_HANDLE_DBC: return TargetOf<Dbc>(handle);
    case SQL_HANDLE_STMT: return TargetOf<Stmt>(handle);
    case SQL_HANDLE_DESC: return TargetOf<Desc>(handle);
    default: return {};
  }
}

SQLRETURN EndEnvTransactions(Env& env, bool commit) {
  bool failed = false;
  for (const auto& dbc : env.dbcs) {
    std::lock_guard<std::recursive_mutex> serial(dbc->mutex);
    if (!dbc->session) continue;
    dbc->diags.Clear();
    if (EndTransaction(*dbc, commit) == SQL_ERROR) failed = true;
    for (const DiagRecord& r : dbc->diags.records()) env.diags.Add(r);
  }
  if (failed) return SQL_ERROR;
  return env.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

}  // namespace

SQLSIM_ODBC_API SQLRETURN SQL_API SQLAllocHandle(SQLSMALLINT type, SQLHANDLE input,
                                                 SQLHANDLE* output) {
  switch (type) {
    case SQL_HANDLE_ENV:
      return AllocEnv(input, output);
    case SQL_HANDLE_DBC:
      return Guarded<Env>(input, "SQLAllocHandle(DBC)", [&](Env& env) -> SQLRETURN {
        if (!output) return env.diags.Error("HY009", "Invalid use of null pointer");
        *output = static_cast<HandleBase*>(env.AddDbc());
        return SQL_SUCCESS;
      });
    case SQL_HANDLE_STMT:
      return Guarded<Dbc>(input, "SQLAllocHandle(STMT)", [&](Dbc& dbc) -> SQLRETURN {
        if (!output) return dbc.diags.Error("HY009", "Invalid use of null pointer");
        if (!dbc.session) return dbc.diags.Error("08003", "Connection not open");
        *output = static_cast<HandleBase*>(dbc.AddStmt());
        return SQL_SUCCESS;
      });
    case SQL_HANDLE_DESC:
      return Guarded<Dbc>(input, "SQLAllocHandle(DESC)", [&](Dbc& dbc) -> SQLRETURN {
        return dbc.diags.Error("HYC00", "Explicitly allocated descriptors are not supported");
      });
    default:
      return SQL_ERROR;
  }
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLFreeHandle(SQLSMALLINT type, SQLHANDLE handle) {
  SQLRETURN rc;
  try {
    rc = FreeHandle(type, handle);
  } catch (...) {
    rc = SQL_ERROR;
  }
  // Named by type as the allocations are, so that a trace shows handles
  // that were never given back.
  static const char* const kNames[] = {"SQLFreeHandle", "SQLFreeHandle(ENV)", "SQLFreeHandle(DBC)",
                                       "SQLFreeHandle(STMT)", "SQLFreeHandle(DESC)"};
  TraceCall(type >= SQL_HANDLE_ENV && type <= SQL_HANDLE_DESC ? kNames[type] : kNames[0], handle, rc);
  return rc;
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLSetEnvAttr(SQLHENV handle, SQLINTEGER attr, SQLPOINTER value,
                                                SQLINTEGER) {
  return Guarded<Env>(handle, "SQLSetEnvAttr", [&](Env& env) -> SQLRETURN {
    auto v = static_cast<SQLINTEGER>(reinterpret_cast<intptr_t>(value));
    switch (attr) {
      case SQL_ATTR_ODBC_VERSION:
        if (v != kOdbc2 && v != kOdbc3 && v != static_cast<SQLINTEGER>(SQL_OV_ODBC3_80)) {
          return env.diags.Error("HY024", "Invalid attribute value");
        }
        env.odbc_version = v == kOdbc2 ? kOdbc2 : kOdbc3;
        return SQL_SUCCESS;
      case SQL_ATTR_OUTPUT_NTS:
        if (v != SQL_TRUE) return env.diags.Error("HYC00", "Optional feature not implemented");
        return SQL_SUCCESS;
      case SQL_ATTR_CONNECTION_POOLING: case SQL_ATTR_CP_MATCH:
        return SQL_SUCCESS;
      default:
        return env.diags.Error("HY092", "Invalid attribute/option identifier");
    }
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetEnvAttr(SQLHENV handle, SQLINTEGER attr, SQLPOINTER value,
                                                SQLINTEGER, SQLINTEGER*) {
  return Guarded<Env>(handle, "SQLGetEnvAttr", [&](Env& env) -> SQLRETURN {
    SQLINTEGER v;
    switch (attr) {
      case SQL_ATTR_ODBC_VERSION: v = env.odbc_version; break;
      case SQL_ATTR_OUTPUT_NTS: v = SQL_TRUE; break;
      case SQL_ATTR_CONNECTION_POOLING: v = SQL_CP_OFF; break;
      case SQL_ATTR_CP_MATCH: v = SQL_CP_STRICT_MATCH; break;
      default: return env.diags.Error("HY092", "Invalid attribute/option identifier");
    }
    if (value) *static_cast<SQLINTEGER*>(value) = v;
    return SQL_SUCCESS;
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLEndTran(SQLSMALLINT type, SQLHANDLE handle,
                                             SQLSMALLINT completion) {
  bool commit = completion == SQL_COMMIT;
  bool valid = commit || completion == SQL_ROLLBACK;
  if (type == SQL_HANDLE_ENV) {
    return Guarded<Env>(handle, "SQLEndTran(ENV)", [&](Env& env) -> SQLRETURN {
      if (!valid) return env.diags.Error("HY012", "Invalid transaction operation code");
      return EndEnvTransactions(env, commit);
    });
  }
  if (type != SQL_HANDLE_DBC) return SQL_INVALID_HANDLE;
  return Guarded<Dbc>(handle, "SQLEndTran(DBC)", [&](Dbc& dbc) -> SQLRETURN {
    if (!valid) return dbc.diags.Error("HY012", "Invalid transaction operation code");
    return EndTransaction(dbc, commit);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetDiagRec(SQLSMALLINT type, SQLHANDLE handle,
                                                SQLSMALLINT rec, SQLCHAR* state,
                                                SQLINTEGER* native, SQLCHAR* text,
                                                SQLSMALLINT text_max, SQLSMALLINT* text_length) {
  DiagTarget target = DiagHandle(type, handle);
  if (!target.handle) return SQL_INVALID_HANDLE;
  std::lock_guard<std::recursive_mutex> serial(*target.serial);
  HandleBase* h = target.handle;
  try {
    return GetDiagRec(h->diags, rec, state, native, text, text_max, text_length);
  } catch (...) {
    return SQL_ERROR;
  }
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetDiagField(SQLSMALLINT type, SQLHANDLE handle,
                                                  SQLSMALLINT rec, SQLSMALLINT field,
                                                  SQLPOINTER value, SQLSMALLINT value_max,
                                                  SQLSMALLINT* value_length) {
  DiagTarget target = DiagHandle(type, handle);
  if (!target.handle) return SQL_INVALID_HANDLE;
  std::lock_guard<std::recursive_mutex> serial(*target.serial);
  HandleBase* h = target.handle;
  try {
    return GetDiagField(h->diags, type, rec, field, value, value_max, value_length);
  } catch (...) {
    return SQL_ERROR;
  }
}
