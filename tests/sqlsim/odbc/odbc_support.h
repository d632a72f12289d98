// The fixture of the driver's tests: they reach the driver only through the
// unixODBC driver manager, as applications do.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>  // before the ODBC headers, which need its types
#endif
#include <sql.h>
#include <sqlext.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace odbctest {

struct Diag {
  std::string state;
  SQLINTEGER native = 0;
  std::string message;
};

inline SQLCHAR* Text(const std::string& s) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str())); }
inline SQLPOINTER Value(SQLULEN v) { return reinterpret_cast<SQLPOINTER>(v); }

inline SQLRETURN ExecDirect(SQLHSTMT stmt, const std::string& sql) { return SQLExecDirect(stmt, Text(sql), SQL_NTS); }
inline SQLRETURN Prepare(SQLHSTMT stmt, const std::string& sql) { return SQLPrepare(stmt, Text(sql), SQL_NTS); }
inline SQLRETURN SetAttr(SQLHSTMT stmt, SQLINTEGER attr, SQLULEN value) {
  return SQLSetStmtAttr(stmt, attr, Value(value), 0);
}
// Parameter n as an int in *value (an array of them for parameter arrays).
inline SQLRETURN BindInt(SQLHSTMT stmt, SQLUSMALLINT n, SQLINTEGER* value, SQLLEN* indicator = nullptr,
                         SQLSMALLINT io = SQL_PARAM_INPUT) {
  return SQLBindParameter(stmt, n, io, SQL_C_SLONG, SQL_INTEGER, 0, 0, value, 0, indicator);
}

// The bytes of a C value, as a driver reads or writes them.
template <class T>
std::string Bytes(T v) {
  std::string s(sizeof v, '\0');
  std::memcpy(s.data(), &v, sizeof v);
  return s;
}

inline std::string Wide(const std::u16string& s) {
  return std::string(reinterpret_cast<const char*>(s.data()), s.size() * 2);
}

// magnitude: little-endian bytes, up to 16.
inline SQL_NUMERIC_STRUCT Numeric(const std::string& magnitude, int precision, int scale, bool negative) {
  SQL_NUMERIC_STRUCT n{static_cast<SQLCHAR>(precision), static_cast<SQLSCHAR>(scale), negative ? SQLCHAR{0} : SQLCHAR{1},
                       {0}};
  std::memcpy(n.val, magnitude.data(), magnitude.size());
  return n;
}

// The diagnostic records of a handle, through SQLGetDiagRec.
std::vector<Diag> Diags(SQLSMALLINT type, SQLHANDLE handle);
// "rc: [state] message ..." for failure messages.
std::string Explain(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle);
// The state of the first record, "" when there is none.
std::string FirstState(SQLSMALLINT type, SQLHANDLE handle);

// The state of a statement's failed call, "rc <n>" for any other outcome.
std::string Failure(SQLRETURN rc, SQLHSTMT stmt);

// A fresh folder below the build tree, removed again by the destructor.
class DataDir {
 public:
  DataDir();
  ~DataDir();
  DataDir(const DataDir&) = delete;
  DataDir& operator=(const DataDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// An environment and a connection, freed (after disconnecting) by the destructor.
class Connection {
 public:
  explicit Connection(SQLINTEGER odbc_version = SQL_OV_ODBC3);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  SQLRETURN DriverConnect(const std::string& text, std::string* completed = nullptr);
  SQLHENV env() const { return env_; }
  SQLHDBC dbc() const { return dbc_; }

 private:
  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  bool connected_ = false;
};

// A statement freed by the destructor.
class Statement {
 public:
  explicit Statement(SQLHDBC dbc);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  operator SQLHSTMT() const { return stmt_; }

 private:
  SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

// The connection string of a fresh database in dir.
std::string ConnectionString(const DataDir& dir, const std::string& extra = "");

// A test with a connected ODBC 3 connection to a fresh database.
class OdbcTest : public ::testing::Test {
 protected:
  void SetUp() override;
  // Connects c to the test's database too, with extra connection keys.
  void Connect(Connection& c, const std::string& extra = "");
  // Runs SQL that must succeed (SQL_NO_DATA counts as success).
  void Exec(SQLHSTMT stmt, const std::string& sql);
  void Exec(const std::string& sql);
  // What a statement delivers from rc on, in order: "rows:v1,v2," (column
  // 1) and "count:n" when its count is not -1, "msg:text" for each message,
  // "error:state/native" for a failed result, "nodata:n" for SQL_NO_DATA.
  std::vector<std::string> Results(SQLHSTMT stmt, SQLRETURN rc);
  // The Results of sql run directly on stmt.
  std::vector<std::string> Results(SQLHSTMT stmt, const std::string& sql) { return Results(stmt, ExecDirect(stmt, sql)); }
  // The Results of sql run directly on a fresh statement of c.
  std::vector<std::string> Run(const std::string& sql, SQLHDBC c = SQL_NULL_HDBC);
  SQLHDBC dbc() const { return connection_.dbc(); }

  DataDir dir_;
  Connection connection_;
};

}  // namespace odbctest

#define EXPECT_ODBC_OK(rc, type, handle) EXPECT_TRUE(SQL_SUCCEEDED(rc)) << odbctest::Explain(rc, type, handle)
#define ASSERT_ODBC_OK(rc, type, handle) ASSERT_TRUE(SQL_SUCCEEDED(rc)) << odbctest::Explain(rc, type, handle)
#define ASSERT_STMT_OK(rc, stmt) ASSERT_ODBC_OK(rc, SQL_HANDLE_STMT, stmt)
#define EXPECT_STMT_OK(rc, stmt) EXPECT_ODBC_OK(rc, SQL_HANDLE_STMT, stmt)
