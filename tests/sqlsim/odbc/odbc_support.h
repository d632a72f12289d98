// Helpers for the driver's tests: they reach the driver only through the
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

inline SQLCHAR* Text(const std::string& s) {
  return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s.c_str()));
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

inline SQL_TIMESTAMP_STRUCT Timestamp(int y, int mo, int d, int h, int mi, int s, unsigned ns) {
  return SQL_TIMESTAMP_STRUCT{static_cast<SQLSMALLINT>(y), static_cast<SQLUSMALLINT>(mo),
                              static_cast<SQLUSMALLINT>(d), static_cast<SQLUSMALLINT>(h),
                              static_cast<SQLUSMALLINT>(mi), static_cast<SQLUSMALLINT>(s), ns};
}

inline SQL_NUMERIC_STRUCT Numeric(unsigned value, int precision, int scale, bool negative) {
  SQL_NUMERIC_STRUCT n{};
  n.precision = static_cast<SQLCHAR>(precision);
  n.scale = static_cast<SQLSCHAR>(scale);
  n.sign = negative ? 0 : 1;
  std::memcpy(n.val, &value, sizeof value);
  return n;
}

// A magnitude of 16 little-endian bytes.
inline SQL_NUMERIC_STRUCT Numeric(const std::string& magnitude, int precision, int scale, bool negative) {
  SQL_NUMERIC_STRUCT n = Numeric(0u, precision, scale, negative);
  std::memcpy(n.val, magnitude.data(), sizeof n.val);
  return n;
}

// The diagnostic records of a handle, through SQLGetDiagRec.
std::vector<Diag> Diags(SQLSMALLINT type, SQLHANDLE handle);
// The same through SQLError, as ODBC 2 applications read them.
std::vector<Diag> Odbc2Errors(SQLHENV env, SQLHDBC dbc, SQLHSTMT stmt);
// "rc: [state] message ..." for failure messages.
std::string Explain(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle);
// The state of the first record, "" when there is none.
std::string FirstState(SQLSMALLINT type, SQLHANDLE handle);

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

// An environment and a connection, freed (after disconnecting) by the
// destructor.
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
  // Runs SQL that must succeed (SQL_NO_DATA counts as success).
  void Exec(SQLHSTMT stmt, const std::string& sql);
  void Exec(const std::string& sql);
  // Text of column 1 of every row of a query, "NULL" for null.
  std::vector<std::string> Column1(const std::string& sql);
  SQLHDBC dbc() const { return connection_.dbc(); }

  DataDir dir_;
  Connection connection_;
};

}  // namespace odbctest

#define EXPECT_ODBC_OK(rc, type, handle) \
  EXPECT_TRUE(SQL_SUCCEEDED(rc)) << odbctest::Explain(rc, type, handle)
#define ASSERT_ODBC_OK(rc, type, handle) \
  ASSERT_TRUE(SQL_SUCCEEDED(rc)) << odbctest::Explain(rc, type, handle)
#define ASSERT_STMT_OK(rc, stmt) ASSERT_ODBC_OK(rc, SQL_HANDLE_STMT, stmt)
#define EXPECT_STMT_OK(rc, stmt) EXPECT_ODBC_OK(rc, SQL_HANDLE_STMT, stmt)
