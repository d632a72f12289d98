#include "odbc_support.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>

namespace odbctest {

std::vector<Diag> Diags(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<Diag> out;
  for (SQLSMALLINT rec = 1;; ++rec) {
    SQLCHAR state[6] = {0};
    SQLCHAR text[1024] = {0};
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(type, handle, rec, state, &native, text, sizeof text, &length))) return out;
    out.push_back({reinterpret_cast<char*>(state), native, reinterpret_cast<char*>(text)});
  }
}

std::string Explain(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle) {
  std::string s = "rc " + std::to_string(rc);
  for (const Diag& d : Diags(type, handle)) s += "\n  [" + d.state + "] " + d.message;
  return s;
}

std::string FirstState(SQLSMALLINT type, SQLHANDLE handle) {
  std::vector<Diag> d = Diags(type, handle);
  return d.empty() ? "" : d[0].state;
}

std::string Failure(SQLRETURN rc, SQLHSTMT stmt) {
  return rc == SQL_ERROR ? FirstState(SQL_HANDLE_STMT, stmt) : "rc " + std::to_string(rc);
}

DataDir::DataDir() {
  static int counter = 0;
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "data";
  std::replace(name.begin(), name.end(), '/', '_');
  // Built with '/' alone: the driver reads it as a Unix path, also when the
  // test is a Windows program under Wine (which finds /... on drive Z:).
  path_ = std::filesystem::path(std::string(SQLSIM_ODBC_TEST_DIR) + "/" + name + "." + std::to_string(getpid()) +
                                "." + std::to_string(counter++));
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
  std::filesystem::create_directories(path_);
}

DataDir::~DataDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

Connection::Connection(SQLINTEGER odbc_version) {
  if (odbc_version == SQL_OV_ODBC2) {
    SQLAllocEnv(&env_);
  } else {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_);
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION,
                  reinterpret_cast<SQLPOINTER>(static_cast<intptr_t>(odbc_version)), 0);
  }
  SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_);
}

Connection::~Connection() {
  if (connected_) {
    SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    SQLDisconnect(dbc_);
  }
  SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
  SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

SQLRETURN Connection::DriverConnect(const std::string& text, std::string* completed) {
  SQLCHAR out[2048] = {0};
  SQLSMALLINT out_length = 0;
  SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, Text(text), SQL_NTS, out, sizeof out,
                                  &out_length, SQL_DRIVER_NOPROMPT);
  connected_ = connected_ || SQL_SUCCEEDED(rc);
  if (completed) *completed = reinterpret_cast<char*>(out);
  return rc;
}

Statement::Statement(SQLHDBC dbc) {
  SQLRETURN rc = SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt_);
  EXPECT_ODBC_OK(rc, SQL_HANDLE_DBC, dbc);
}

Statement::~Statement() {
  if (stmt_) SQLFreeHandle(SQL_HANDLE_STMT, stmt_);
}

std::string ConnectionString(const DataDir& dir, const std::string& extra) {
  return "DRIVER=sqlsim;DATADIR=" + dir.path().string() + ";DATABASE=t;AUTOCREATE=1" +
         (extra.empty() ? "" : ";" + extra);
}

void OdbcTest::SetUp() { Connect(connection_); }

void OdbcTest::Connect(Connection& c, const std::string& extra) {
  SQLRETURN rc = c.DriverConnect(ConnectionString(dir_, extra));
  ASSERT_ODBC_OK(rc, SQL_HANDLE_DBC, c.dbc());
}

void OdbcTest::Exec(SQLHSTMT stmt, const std::string& sql) {
  SQLFreeStmt(stmt, SQL_CLOSE);
  SQLRETURN rc = SQLExecDirect(stmt, Text(sql), SQL_NTS);
  ASSERT_TRUE(SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA) << sql << "\n" << Explain(rc, SQL_HANDLE_STMT, stmt);
}

void OdbcTest::Exec(const std::string& sql) {
  Statement stmt(dbc());
  Exec(stmt, sql);
}

std::vector<std::string> OdbcTest::Results(SQLHSTMT stmt, SQLRETURN rc) {
  std::vector<std::string> out;
  SQLLEN count = -1;
  if (rc == SQL_NO_DATA && SQL_SUCCEEDED(SQLRowCount(stmt, &count))) out.push_back("nodata:" + std::to_string(count));
  for (int results = 0; rc != SQL_NO_DATA && rc != SQL_INVALID_HANDLE && results < 100; ++results) {
    for (const Diag& d : Diags(SQL_HANDLE_STMT, stmt)) {
      out.push_back(rc == SQL_ERROR ? "error:" + d.state + "/" + std::to_string(d.native)
                                    : "msg:" + d.message.substr(d.message.rfind(']') + 1));
    }
    SQLSMALLINT columns = 0;
    if (rc != SQL_ERROR && SQL_SUCCEEDED(SQLNumResultCols(stmt, &columns)) && columns > 0) {
      std::string rows = "rows:";
      while (SQL_SUCCEEDED(SQLFetch(stmt))) {
        char text[512] = {0};
        SQLLEN ind = 0;
        SQLGetData(stmt, 1, SQL_C_CHAR, text, sizeof text, &ind);
        rows += (ind == SQL_NULL_DATA ? std::string("NULL") : std::string(text)) + ",";
      }
      out.push_back(rows);
    }
    if (rc != SQL_ERROR && SQL_SUCCEEDED(SQLRowCount(stmt, &count)) && count != -1) {
      out.push_back("count:" + std::to_string(count));
    }
    rc = SQLMoreResults(stmt);
  }
  return out;
}

std::vector<std::string> OdbcTest::Run(const std::string& sql, SQLHDBC c) {
  Statement stmt(c ? c : dbc());
  return Results(stmt, SQLExecDirect(stmt, Text(sql), SQL_NTS));
}

}  // namespace odbctest
