// Calls of the navigation procedures as record access makes them: plain
// EXECUTE texts with the record id as literal, the search key bound as a
// fixed-length char parameter, and the prepared forms executed repeatedly.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "tests/sqlsim/odbc/odbc_support.h"
#include "tests/sqlsim/scripts/navigation_model.h"

namespace nav {

// What a failed call gives, so that it never equals a model's answer.
inline constexpr int64_t kCallFailed = -999999;
inline constexpr int64_t kNullColumn = -888888;

// Column 1 of every row of every result set; {kCallFailed} after adding a
// test failure with the diagnostics when the call fails.
RecIds Call(SQLHDBC dbc, const std::string& sql);
// "EXECUTE [proc] ?,<len>" with key's first len bytes bound as SQL_CHAR.
RecIds CallFind(SQLHDBC dbc, const std::string& proc, const std::string& key, int len);

// "EXECUTE [proc] ?" with an integer parameter, prepared once.
class PreparedRecIdCall {
 public:
  PreparedRecIdCall(SQLHDBC dbc, const std::string& proc);
  RecIds Run(int32_t rec_id);

 private:
  odbctest::Statement stmt_;
  std::string sql_;
  SQLINTEGER rec_id_ = 0;
  SQLLEN rec_id_len_ = sizeof(SQLINTEGER);
};

// "EXECUTE [proc] ?,?": the key as 128 blank-padded characters, its length
// as integer, prepared once.
class PreparedFindCall {
 public:
  PreparedFindCall(SQLHDBC dbc, const std::string& proc);
  RecIds Run(const std::string& key, int len);

 private:
  odbctest::Statement stmt_;
  std::string sql_;
  char key_[129] = {};
  SQLINTEGER len_ = 0;
  SQLLEN key_ind_ = 128;
  SQLLEN len_ind_ = sizeof(SQLINTEGER);
};

}  // namespace nav
