// Record access on prepared statements written out by hand: each statement
// prepared once with its parameters and results bound, each call one
// SQLExecute (and one SQLFetch where a value comes back). The yardstick of
// the library's calls through a prepared set.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>

#include "bench/record_hand_loops.h"

namespace bench {

class PreparedHandLoops {
 public:
  // base: the definition's name in procedure names.
  PreparedHandLoops(SQLHDBC dbc, const std::string& base);
  ~PreparedHandLoops();
  PreparedHandLoops(const PreparedHandLoops&) = delete;
  PreparedHandLoops& operator=(const PreparedHandLoops&) = delete;

  bool ok() const { return ok_; }
  bool Read(int32_t rec_id, HandRecord* out);
  int32_t Next(int32_t rec_id);
  // The first RecId in NAME_KEY order whose key starts with the len bytes
  // of key (up to 128).
  int32_t FindFirst(const char* key, int len);
  int32_t Append(const HandRecord& record);
  bool Update(int32_t rec_id, const HandRecord& record);

 private:
  SQLHSTMT Prepare(const std::string& sql);
  bool BindValues(SQLHSTMT h, SQLUSMALLINT first);
  int32_t ExecuteRecId(SQLHSTMT h);

  SQLHDBC dbc_;
  bool ok_ = true;
  SQLHSTMT read_ = SQL_NULL_HSTMT, next_ = SQL_NULL_HSTMT, find_ = SQL_NULL_HSTMT;
  SQLHSTMT append_ = SQL_NULL_HSTMT, update_ = SQL_NULL_HSTMT;
  HandRecord values_{};  // the parameters of append and update, the read's columns
  SQLLEN lengths_[10] = {};  // indicators of the parameters and of the read's columns
  SQLLEN sizes_[10] = {};    // what a write sends in them
  SQLINTEGER rec_id_ = 0, result_ = 0, key_len_ = 0;
  SQLLEN rec_id_ind_ = 0, result_ind_ = 0, key_ind_ = 128, key_len_ind_ = 4;
  char key_[129] = {};
};

}  // namespace bench
