// Small helpers of the tests of writing records.
#ifndef LERV32_TESTS_RECORDS_WRITE_TEST_UTIL_H
#define LERV32_TESTS_RECORDS_WRITE_TEST_UTIL_H

#include <string>

#include "platform/win_api.h"

#include <sql.h>
#include <sqlext.h>

namespace writetest {

// The first column of the first row as text, "<none>" without a row.
inline std::string QueryText(SQLHDBC dbc, const std::string& sql) {
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  SQLAllocStmt(dbc, &stmt);
  std::string out = "<none>";
  if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS)) &&
      SQL_SUCCEEDED(SQLFetch(stmt))) {
    char text[512] = {};
    SQLLEN indicator = 0;
    SQLGetData(stmt, 1, SQL_C_CHAR, text, sizeof text, &indicator);
    out = indicator == SQL_NULL_DATA ? "<null>" : text;
  }
  SQLFreeStmt(stmt, SQL_DROP);
  return out;
}

// How often part occurs in text.
inline size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace writetest

#endif  // LERV32_TESTS_RECORDS_WRITE_TEST_UTIL_H
