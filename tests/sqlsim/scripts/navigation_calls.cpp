#include "tests/sqlsim/scripts/navigation_calls.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace nav {
namespace {

RecIds Failed(SQLRETURN rc, SQLHSTMT stmt, const std::string& sql) {
  ADD_FAILURE() << sql << "\n" << odbctest::Explain(rc, SQL_HANDLE_STMT, stmt);
  SQLFreeStmt(stmt, SQL_CLOSE);
  return {kCallFailed};
}

// Reads every result set the executed statement has.
RecIds Collect(SQLHSTMT stmt, const std::string& sql) {
  RecIds out;
  for (;;) {
    SQLSMALLINT columns = 0;
    SQLRETURN rc = SQLNumResultCols(stmt, &columns);
    if (!SQL_SUCCEEDED(rc)) return Failed(rc, stmt, sql);
    while (columns > 0 && (rc = SQLFetch(stmt)) != SQL_NO_DATA) {
      if (!SQL_SUCCEEDED(rc)) return Failed(rc, stmt, sql);
      SQLINTEGER value = 0;
      SQLLEN ind = 0;
      rc = SQLGetData(stmt, 1, SQL_C_LONG, &value, sizeof value, &ind);
      if (!SQL_SUCCEEDED(rc)) return Failed(rc, stmt, sql);
      out.push_back(ind == SQL_NULL_DATA ? kNullColumn : value);
    }
    rc = SQLMoreResults(stmt);
    if (rc == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(rc)) return Failed(rc, stmt, sql);
  }
  SQLFreeStmt(stmt, SQL_CLOSE);
  return out;
}

RecIds Execute(SQLHSTMT stmt, const std::string& sql) {
  SQLRETURN rc = SQLExecute(stmt);
  if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) return Failed(rc, stmt, sql);
  return Collect(stmt, sql);
}

std::string Exec(const std::string& proc, const char* args) { return "EXECUTE [" + proc + "]" + args; }

}  // namespace

RecIds Call(SQLHDBC dbc, const std::string& sql) {
  odbctest::Statement stmt(dbc);
  SQLRETURN rc = SQLExecDirect(stmt, odbctest::Text(sql), SQL_NTS);
  if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) return Failed(rc, stmt, sql);
  return Collect(stmt, sql);
}

RecIds CallFind(SQLHDBC dbc, const std::string& proc, const std::string& key, int len) {
  const std::string sql = "EXECUTE [" + proc + "] ?," + std::to_string(len);
  std::vector<char> value(key.begin(), key.end());
  value.resize(256, '\0');
  SQLLEN ind = len;
  odbctest::Statement stmt(dbc);
  SQLRETURN rc = SQLPrepare(stmt, odbctest::Text(sql), SQL_NTS);
  if (!SQL_SUCCEEDED(rc)) return Failed(rc, stmt, sql);
  rc = SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, static_cast<SQLULEN>(len), 0, value.data(),
                        len, &ind);
  if (!SQL_SUCCEEDED(rc)) return Failed(rc, stmt, sql);
  return Execute(stmt, sql);
}

PreparedRecIdCall::PreparedRecIdCall(SQLHDBC dbc, const std::string& proc) : stmt_(dbc), sql_(Exec(proc, " ?")) {
  SQLRETURN rc = SQLPrepare(stmt_, odbctest::Text(sql_), SQL_NTS);
  EXPECT_STMT_OK(rc, stmt_) << sql_;
  rc = SQLBindParameter(stmt_, 1, SQL_PARAM_INPUT, SQL_C_LONG, SQL_INTEGER, 4, 0, &rec_id_, 4, &rec_id_len_);
  EXPECT_STMT_OK(rc, stmt_) << sql_;
}

RecIds PreparedRecIdCall::Run(int32_t rec_id) {
  rec_id_ = rec_id;
  return Execute(stmt_, sql_ + " with " + std::to_string(rec_id));
}

PreparedFindCall::PreparedFindCall(SQLHDBC dbc, const std::string& proc) : stmt_(dbc), sql_(Exec(proc, " ?,?")) {
  SQLRETURN rc = SQLPrepare(stmt_, odbctest::Text(sql_), SQL_NTS);
  EXPECT_STMT_OK(rc, stmt_) << sql_;
  rc = SQLBindParameter(stmt_, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 128, 0, key_, 128, &key_ind_);
  EXPECT_STMT_OK(rc, stmt_) << sql_;
  rc = SQLBindParameter(stmt_, 2, SQL_PARAM_INPUT, SQL_C_LONG, SQL_INTEGER, 4, 0, &len_, 4, &len_ind_);
  EXPECT_STMT_OK(rc, stmt_) << sql_;
}

RecIds PreparedFindCall::Run(const std::string& key, int len) {
  std::memset(key_, ' ', 128);
  std::memcpy(key_, key.data(), std::min<size_t>(key.size(), static_cast<size_t>(std::clamp(len, 0, 128))));
  key_[128] = '\0';
  len_ = len;
  return Execute(stmt_, sql_ + " with '" + key.substr(0, static_cast<size_t>(std::max(len, 0))) + "'," +
                            std::to_string(len));
}

}  // namespace nav
