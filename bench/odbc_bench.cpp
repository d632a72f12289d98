#include "bench/odbc_bench.h"

#include <utility>

namespace bench {

std::string DiagnosticText(SQLSMALLINT type, SQLHANDLE handle) {
  std::string text;
  for (SQLSMALLINT record = 1;; ++record) {
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLCHAR message[1024] = {};
    SQLSMALLINT length = 0;
    SQLRETURN rc = SQLGetDiagRec(type, handle, record, state, &native, message,
                                 sizeof message, &length);
    if (!SQL_SUCCEEDED(rc)) break;
    if (!text.empty()) text += "; ";
    text += reinterpret_cast<const char*>(state);
    text += " (" + std::to_string(native) + ") ";
    text += reinterpret_cast<const char*>(message);
  }
  return text.empty() ? "no diagnostic record" : text;
}

void Check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle, const char* what) {
  if (SQL_SUCCEEDED(rc)) return;
  std::string message = std::string(what) + " returned " + std::to_string(rc);
  if (rc == SQL_ERROR) message += ": " + DiagnosticText(type, handle);
  throw OdbcError(message);
}

Handle::Handle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
  SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
  if (!SQL_SUCCEEDED(rc)) {
    handle_ = SQL_NULL_HANDLE;
    SQLSMALLINT parent_type = type == SQL_HANDLE_DBC ? SQL_HANDLE_ENV : SQL_HANDLE_DBC;
    if (parent == SQL_NULL_HANDLE) throw OdbcError("SQLAllocHandle failed");
    Check(rc, parent_type, parent, "SQLAllocHandle");
  }
}

Handle::Handle(Handle&& other) noexcept
    : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}

Handle& Handle::operator=(Handle&& other) noexcept {
  if (this != &other) {
    Reset();
    type_ = other.type_;
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

void Handle::Reset() {
  if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
  handle_ = SQL_NULL_HANDLE;
}

Connection::Connection(const std::string& connection_string)
    : env_(SQL_HANDLE_ENV, SQL_NULL_HANDLE) {
  Check(SQLSetEnvAttr(env_.get(), SQL_ATTR_ODBC_VERSION,
                      reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
        SQL_HANDLE_ENV, env_.get(), "SQLSetEnvAttr(SQL_ATTR_ODBC_VERSION)");
  dbc_ = Handle(SQL_HANDLE_DBC, env_.get());
  std::string text = connection_string;
  SQLCHAR out[1024] = {};
  SQLSMALLINT out_length = 0;
  SQLRETURN rc = SQLDriverConnect(
      dbc_.get(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
      static_cast<SQLSMALLINT>(text.size()), out, sizeof out, &out_length,
      SQL_DRIVER_NOPROMPT);
  Check(rc, SQL_HANDLE_DBC, dbc_.get(), "SQLDriverConnect");
  connected_ = true;
}

Connection::~Connection() {
  if (!connected_) return;
  // A benchmark that failed mid-transaction leaves nothing behind.
  SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_ROLLBACK);
  SQLDisconnect(dbc_.get());
}

void Connection::SetAutocommit(bool on) {
  SQLULEN value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
  Check(SQLSetConnectAttr(dbc_.get(), SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(value), 0),
        SQL_HANDLE_DBC, dbc_.get(), "SQLSetConnectAttr(SQL_ATTR_AUTOCOMMIT)");
}

void Connection::Commit() {
  Check(SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_COMMIT), SQL_HANDLE_DBC,
        dbc_.get(), "SQLEndTran(SQL_COMMIT)");
}

void Connection::Execute(const std::string& sql) {
  Statement stmt(*this);
  stmt.ExecDirect(sql);
}

long Connection::QueryLong(const std::string& sql) {
  Statement stmt(*this);
  stmt.ExecDirect(sql);
  SQLINTEGER value = 0;
  SQLLEN indicator = 0;
  stmt.BindColumn(1, SQL_C_LONG, &value, sizeof value, &indicator);
  if (!stmt.Fetch()) throw OdbcError(sql + ": no row");
  if (indicator == SQL_NULL_DATA) throw OdbcError(sql + ": NULL");
  return value;
}

Statement::Statement(const Connection& connection)
    : stmt_(SQL_HANDLE_STMT, connection.get()) {}

void Statement::Check(SQLRETURN rc, const char* what) const {
  bench::Check(rc, SQL_HANDLE_STMT, stmt_.get(), what);
}

void Statement::Prepare(const std::string& sql) {
  std::string text = sql;
  Check(SQLPrepare(stmt_.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                   static_cast<SQLINTEGER>(text.size())),
        "SQLPrepare");
}

void Statement::Execute() {
  SQLRETURN rc = SQLExecute(stmt_.get());
  // An UPDATE or DELETE that touches no row answers SQL_NO_DATA.
  if (rc != SQL_NO_DATA) Check(rc, "SQLExecute");
}

void Statement::ExecDirect(const std::string& sql) {
  std::string text = sql;
  SQLRETURN rc = SQLExecDirect(stmt_.get(), reinterpret_cast<SQLCHAR*>(text.data()),
                               static_cast<SQLINTEGER>(text.size()));
  if (rc != SQL_NO_DATA) Check(rc, "SQLExecDirect");
}

bool Statement::Fetch() {
  SQLRETURN rc = SQLFetch(stmt_.get());
  if (rc == SQL_NO_DATA) return false;
  Check(rc, "SQLFetch");
  return true;
}

void Statement::Close() {
  Check(SQLFreeStmt(stmt_.get(), SQL_CLOSE), "SQLFreeStmt(SQL_CLOSE)");
}

void Statement::BindInt(SQLUSMALLINT number, SQLINTEGER* value) {
  Check(SQLBindParameter(stmt_.get(), number, SQL_PARAM_INPUT, SQL_C_LONG,
                         SQL_INTEGER, 0, 0, value, 0, nullptr),
        "SQLBindParameter(int)");
}

void Statement::BindDouble(SQLUSMALLINT number, double* value) {
  Check(SQLBindParameter(stmt_.get(), number, SQL_PARAM_INPUT, SQL_C_DOUBLE,
                         SQL_DOUBLE, 15, 0, value, 0, nullptr),
        "SQLBindParameter(double)");
}

void Statement::BindText(SQLUSMALLINT number, char* value, SQLULEN size,
                         SQLLEN* length) {
  Check(SQLBindParameter(stmt_.get(), number, SQL_PARAM_INPUT, SQL_C_CHAR,
                         SQL_VARCHAR, size, 0, value,
                         static_cast<SQLLEN>(size) + 1, length),
        "SQLBindParameter(text)");
}

void Statement::BindColumn(SQLUSMALLINT number, SQLSMALLINT c_type,
                           SQLPOINTER buffer, SQLLEN capacity, SQLLEN* indicator) {
  Check(SQLBindCol(stmt_.get(), number, c_type, buffer, capacity, indicator),
        "SQLBindCol");
}

}  // namespace bench
