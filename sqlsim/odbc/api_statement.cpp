// Entry points: preparing and running statements, parameters, attributes.
#include <chrono>
#include <mutex>
#include <thread>

#include "sqlsim/odbc/entry.h"
#include "sqlsim/odbc/execute.h"
#include "sqlsim/odbc/out_string.h"
#include "sqlsim/odbc/results.h"
#include "sqlsim/odbc/stmt_attrs.h"

using namespace sqlsim::odbc;

namespace {

bool TextArgument(Stmt& s, const SQLCHAR* text, SQLINTEGER length, std::string_view* out) {
  if (!text) {
    s.diags.AddDriver("HY009", "Invalid use of null pointer");
    return false;
  }
  if (length < 0 && length != SQL_NTS) {
    s.diags.AddDriver("HY090", "Invalid string or buffer length");
    return false;
  }
  *out = InString(text, length);
  return true;
}

}  // namespace

SQLSIM_ODBC_API SQLRETURN SQL_API SQLPrepare(SQLHSTMT handle, SQLCHAR* text, SQLINTEGER length) {
  return Guarded<Stmt>(handle, "SQLPrepare", [&](Stmt& s) -> SQLRETURN {
    std::string_view sql;
    if (!TextArgument(s, text, length, &sql)) return SQL_ERROR;
    return PrepareStatement(s, sql);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLExecute(SQLHSTMT handle) {
  return Guarded<Stmt>(handle, "SQLExecute", [&](Stmt& s) -> SQLRETURN {
    RunningScope running(s);
    return ExecutePrepared(s);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLExecDirect(SQLHSTMT handle, SQLCHAR* text,
                                                SQLINTEGER length) {
  return Guarded<Stmt>(handle, "SQLExecDirect", [&](Stmt& s) -> SQLRETURN {
    std::string_view sql;
    if (!TextArgument(s, text, length, &sql)) return SQL_ERROR;
    RunningScope running(s);
    return ExecuteDirect(s, sql);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLNumParams(SQLHSTMT handle, SQLSMALLINT* count) {
  return Guarded<Stmt>(handle, "SQLNumParams", [&](Stmt& s) -> SQLRETURN {
    if (!s.batch) return s.diags.Error("HY010", "Function sequence error");
    if (count) *count = static_cast<SQLSMALLINT>(s.batch->ParameterCount());
    return SQL_SUCCESS;
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLDescribeParam(SQLHSTMT handle, SQLUSMALLINT number,
                                                   SQLSMALLINT* sql_type, SQLULEN* size,
                                                   SQLSMALLINT* digits, SQLSMALLINT* nullable) {
  return Guarded<Stmt>(handle, "SQLDescribeParam", [&](Stmt& s) -> SQLRETURN {
    return DescribeParameter(s, number, sql_type, size, digits, nullable);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLBindParameter(SQLHSTMT handle, SQLUSMALLINT number,
                                                   SQLSMALLINT io_type, SQLSMALLINT c_type,
                                                   SQLSMALLINT sql_type, SQLULEN column_size,
                                                   SQLSMALLINT digits, SQLPOINTER buffer,
                                                   SQLLEN buffer_length, SQLLEN* indicator) {
  return Guarded<Stmt>(handle, "SQLBindParameter", [&](Stmt& s) -> SQLRETURN {
    ParamBinding b;
    b.c_type = c_type;
    b.sql_type = sql_type;
    b.column_size = column_size;
    b.decimal_digits = digits;
    b.buffer = buffer;
    b.buffer_length = buffer_length;
    b.indicator = indicator;
    return BindParameter(s, number, io_type, b);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLParamData(SQLHSTMT handle, SQLPOINTER* token) {
  return Guarded<Stmt>(handle, "SQLParamData", [&](Stmt& s) -> SQLRETURN {
    RunningScope running(s);
    return ParamData(s, token);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLPutData(SQLHSTMT handle, SQLPOINTER data, SQLLEN length) {
  return Guarded<Stmt>(handle, "SQLPutData", [&](Stmt& s) -> SQLRETURN { return PutData(s, data, length); });
}

// After an array of parameter sets of which one failed the server's driver
// gives no count, and SQL_ERROR: the status array tells which sets did.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLRowCount(SQLHSTMT handle, SQLLEN* count) {
  return Guarded<Stmt>(handle, "SQLRowCount", [&](Stmt& s) -> SQLRETURN {
    if (s.sets.failed > 0) return SQL_ERROR;
    if (count) *count = s.row_count;
    return SQL_SUCCESS;
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLMoreResults(SQLHSTMT handle) {
  return Guarded<Stmt>(handle, "SQLMoreResults", [&](Stmt& s) -> SQLRETURN {
    RunningScope running(s);
    return MoreResults(s);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLFreeStmt(SQLHSTMT handle, SQLUSMALLINT option) {
  if (option == SQL_DROP) {
    Stmt* s = FromHandle<Stmt>(handle);
    SQLRETURN rc = SQL_SUCCESS;
    if (!s) {
      rc = SQL_INVALID_HANDLE;
    } else {
      try {
        s->dbc->RemoveStmt(s);
      } catch (...) {
        rc = SQL_ERROR;
      }
    }
    TraceCall("SQLFreeHandle(STMT)", handle, rc);
    return rc;
  }
  return Guarded<Stmt>(handle, "SQLFreeStmt", [&](Stmt& s) -> SQLRETURN {
    switch (option) {
      case SQL_CLOSE: CloseCursor(s); return SQL_SUCCESS;
      case SQL_UNBIND: s.bindings.clear(); return SQL_SUCCESS;
      case SQL_RESET_PARAMS: s.params.clear(); return SQL_SUCCESS;
      default: return s.diags.Error("HY092", "Invalid attribute/option identifier");
    }
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLCloseCursor(SQLHSTMT handle) {
  return Guarded<Stmt>(handle, "SQLCloseCursor", [&](Stmt& s) -> SQLRETURN {
    if (!s.cursor && s.state != StmtState::kExecuted) {
      return s.diags.Error("24000", "Invalid cursor state");
    }
    CloseCursor(s);
    return SQL_SUCCESS;
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLCancel(SQLHSTMT handle) {
  // From another thread while the statement runs, the statement and its
  // diagnostics belong to the running call: only the request crosses over.
  // It never waits for the connection's lock, which the running call holds:
  // a statement waiting for data looks again until it runs or the lock is
  // free.
  Stmt* stmt = FromHandle<Stmt>(handle);
  if (!stmt) {
    TraceCall("SQLCancel", handle, SQL_INVALID_HANDLE);
    return SQL_INVALID_HANDLE;
  }
  for (;;) {
    if (stmt->running.load()) {
      if (stmt->dbc->session) stmt->dbc->session->Cancel();
      TraceCall("SQLCancel", handle, SQL_SUCCESS);
      return SQL_SUCCESS;
    }
    std::unique_lock<std::recursive_mutex> serial(SerialMutex(*stmt), std::try_to_lock);
    if (serial.owns_lock()) {
      return Guarded<Stmt>(handle, "SQLCancel", [&](Stmt& s) -> SQLRETURN { return Cancel(s); });
    }
    // Another statement's call holds the connection: one neither running nor
    // waiting for data has nothing to cancel and no reason to wait for it.
    if (stmt->state.load() != StmtState::kNeedData) {
      TraceCall("SQLCancel", handle, SQL_SUCCESS);
      return SQL_SUCCESS;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLSetStmtAttr(SQLHSTMT handle, SQLINTEGER attr,
                                                 SQLPOINTER value, SQLINTEGER) {
  return Guarded<Stmt>(handle, "SQLSetStmtAttr", [&](Stmt& s) -> SQLRETURN {
    return SetStatementAttr(s, attr, value);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetStmtAttr(SQLHSTMT handle, SQLINTEGER attr,
                                                 SQLPOINTER value, SQLINTEGER,
                                                 SQLINTEGER* string_length) {
  return Guarded<Stmt>(handle, "SQLGetStmtAttr", [&](Stmt& s) -> SQLRETURN {
    if (string_length) *string_length = sizeof(SQLULEN);
    return GetStatementAttr(s, attr, value);
  });
}
