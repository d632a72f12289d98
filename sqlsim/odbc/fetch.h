// Fetching: rowsets into bound columns (SQLFetch, SQLFetchScroll,
// SQLExtendedFetch), SQLGetData in pieces, SQLSetPos, and bookmarks (the
// 1-based number of a row in the result).
#pragma once

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

SQLRETURN BindColumn(Stmt& stmt, SQLUSMALLINT column, SQLSMALLINT c_type,
                     SQLPOINTER buffer, SQLLEN buffer_length, SQLLEN* indicator);

// SQLFetch and SQLFetchScroll use SQL_ATTR_ROW_ARRAY_SIZE and the row
// status and rows fetched attributes; SQLExtendedFetch SQL_ROWSET_SIZE and
// its own arguments.
struct FetchRequest {
  SQLSMALLINT orientation = SQL_FETCH_NEXT;
  SQLLEN offset = 0;
  bool extended = false;
  SQLULEN* rows_fetched = nullptr;        // extended only
  SQLUSMALLINT* row_status = nullptr;     // extended only
};
SQLRETURN FetchRows(Stmt& stmt, const FetchRequest& request);

SQLRETURN GetData(Stmt& stmt, SQLUSMALLINT column, SQLSMALLINT c_type,
                  SQLPOINTER buffer, SQLLEN buffer_length, SQLLEN* indicator);

SQLRETURN SetPosition(Stmt& stmt, SQLSETPOSIROW row, SQLUSMALLINT operation);

}  // namespace sqlsim::odbc
