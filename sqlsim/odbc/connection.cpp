#include "sqlsim/odbc/connection.h"

#include <cstring>

#include "sqlsim/odbc/out_string.h"
#include "sqlsim/odbc/stmt_attrs.h"

namespace sqlsim::odbc {

namespace {

SQLUINTEGER Number(SQLPOINTER value) {
  return static_cast<SQLUINTEGER>(reinterpret_cast<uintptr_t>(value));
}

// Runs a batch to its end, for USE when the application sets the catalog.
bool RunToEnd(Dbc& dbc, const std::string& text) {
  Diagnostics diags;
  std::unique_ptr<PreparedBatch> batch = dbc.session->Prepare(text, &diags);
  bool ok = batch != nullptr;
  if (batch) {
    std::unique_ptr<Execution> run = batch->Execute({});
    while (std::optional<Result> r = run->NextResult()) {
      diags.insert(diags.end(), r->messages.begin(), r->messages.end());
      ok = ok && !r->failed;
      r->rows.reset();
    }
  }
  bool error = dbc.diags.AddServer(diags);
  return ok && !error;
}

SQLRETURN SetCatalog(Dbc& dbc, SQLPOINTER value, SQLINTEGER length) {
  std::string name(InString(static_cast<const SQLCHAR*>(value), length));
  if (!dbc.session) {
    dbc.catalog = name;
    return SQL_SUCCESS;
  }
  std::string quoted;
  for (char c : name) {
    quoted.push_back(c);
    if (c == ']') quoted.push_back(']');
  }
  if (!RunToEnd(dbc, "USE [" + quoted + "]")) return SQL_ERROR;
  return dbc.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

SQLRETURN SetAutocommit(Dbc& dbc, SQLUINTEGER v) {
  if (v != SQL_AUTOCOMMIT_ON && v != SQL_AUTOCOMMIT_OFF) {
    return dbc.diags.Error("HY024", "Invalid attribute value");
  }
  bool on = v == SQL_AUTOCOMMIT_ON;
  if (dbc.session && on != dbc.autocommit) {
    Diagnostics diags;
    bool ok = dbc.session->SetAutocommit(on, &diags);
    dbc.diags.AddServer(diags);
    if (!ok) return SQL_ERROR;
  }
  dbc.autocommit = on;
  return dbc.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

}  // namespace

SQLRETURN SetConnectAttribute(Dbc& dbc, SQLINTEGER attr, SQLPOINTER value,
                              SQLINTEGER length) {
  switch (attr) {
    case SQL_ATTR_AUTOCOMMIT: return SetAutocommit(dbc, Number(value));
    case SQL_ATTR_CURRENT_CATALOG: return SetCatalog(dbc, value, length);
    case SQL_ATTR_LOGIN_TIMEOUT: dbc.login_timeout = Number(value); return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_TIMEOUT: dbc.connection_timeout = Number(value); return SQL_SUCCESS;
    case SQL_ATTR_ACCESS_MODE: dbc.access_mode = Number(value); return SQL_SUCCESS;
    case SQL_ATTR_TXN_ISOLATION: dbc.txn_isolation = Number(value); return SQL_SUCCESS;
    case SQL_ATTR_PACKET_SIZE: dbc.packet_size = Number(value); return SQL_SUCCESS;
    case SQL_ATTR_QUIET_MODE: dbc.quiet_mode = value; return SQL_SUCCESS;
    case SQL_ATTR_ODBC_CURSORS: case SQL_ATTR_TRACE: case SQL_ATTR_TRACEFILE:
      return SQL_SUCCESS;
    case SQL_ATTR_AUTO_IPD: case SQL_ATTR_CONNECTION_DEAD:
      return dbc.diags.Error("HY092", "Invalid attribute/option identifier");
    default:
      break;
  }
  if (IsStmtAttribute(attr)) {
    return SetStmtAttribute(dbc.stmt_defaults, dbc.diags, dbc.cursors, attr, value);
  }
  return dbc.diags.Error("HY092", "Invalid attribute/option identifier");
}

SQLRETURN GetConnectAttribute(Dbc& dbc, SQLINTEGER attr, SQLPOINTER value,
                              SQLINTEGER buffer_length, SQLINTEGER* string_length) {
  SQLUINTEGER n = 0;
  switch (attr) {
    case SQL_ATTR_AUTOCOMMIT: n = dbc.autocommit ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF; break;
    case SQL_ATTR_LOGIN_TIMEOUT: n = dbc.login_timeout; break;
    case SQL_ATTR_CONNECTION_TIMEOUT: n = dbc.connection_timeout; break;
    case SQL_ATTR_ACCESS_MODE: n = dbc.access_mode; break;
    case SQL_ATTR_TXN_ISOLATION: n = dbc.txn_isolation; break;
    case SQL_ATTR_PACKET_SIZE: n = dbc.packet_size; break;
    case SQL_ATTR_AUTO_IPD: n = SQL_FALSE; break;
    case SQL_ATTR_ASYNC_ENABLE: n = SQL_ASYNC_ENABLE_OFF; break;
    case SQL_ATTR_CONNECTION_DEAD: n = dbc.session ? SQL_CD_FALSE : SQL_CD_TRUE; break;
    case SQL_ATTR_QUIET_MODE:
      if (value) std::memcpy(value, &dbc.quiet_mode, sizeof dbc.quiet_mode);
      return SQL_SUCCESS;
    case SQL_ATTR_CURRENT_CATALOG: {
      std::string name = dbc.session ? dbc.session->CurrentDatabase() : dbc.catalog;
      if (CopyOutString(name, value, buffer_length, string_length)) {
        return dbc.diags.Warning("01004", "String data, right truncated");
      }
      return SQL_SUCCESS;
    }
    default:
      if (IsStmtAttribute(attr)) return GetStmtAttribute(dbc.stmt_defaults, dbc.diags, attr, value);
      return dbc.diags.Error("HY092", "Invalid attribute/option identifier");
  }
  if (value) std::memcpy(value, &n, sizeof n);
  return SQL_SUCCESS;
}

SQLRETURN EndTransaction(Dbc& dbc, bool commit) {
  if (!dbc.session) return dbc.diags.Error("08003", "Connection not open");
  if (dbc.autocommit) return SQL_SUCCESS;
  Diagnostics diags;
  bool ok = dbc.session->EndTransaction(commit, &diags);
  bool error = dbc.diags.AddServer(diags);
  if (!ok || error) return SQL_ERROR;
  return dbc.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

}  // namespace sqlsim::odbc
