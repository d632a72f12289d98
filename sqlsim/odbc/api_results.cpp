// Entry points: describing and fetching results.
#include "sqlsim/odbc/entry.h"
#include "sqlsim/odbc/fetch.h"
#include "sqlsim/odbc/results.h"

using namespace sqlsim::odbc;

SQLSIM_ODBC_API SQLRETURN SQL_API SQLNumResultCols(SQLHSTMT handle, SQLSMALLINT* count) {
  return Guarded<Stmt>(handle, "SQLNumResultCols", [&](Stmt& s) -> SQLRETURN { return NumResultCols(s, count); });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLDescribeCol(SQLHSTMT handle, SQLUSMALLINT column,
                                                 SQLCHAR* name, SQLSMALLINT name_max,
                                                 SQLSMALLINT* name_length, SQLSMALLINT* sql_type,
                                                 SQLULEN* size, SQLSMALLINT* digits,
                                                 SQLSMALLINT* nullable) {
  return Guarded<Stmt>(handle, "SQLDescribeCol", [&](Stmt& s) -> SQLRETURN {
    return DescribeColumn(s, column, name, name_max, name_length, sql_type, size, digits, nullable);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLColAttribute(SQLHSTMT handle, SQLUSMALLINT column,
                                                  SQLUSMALLINT field, SQLPOINTER text,
                                                  SQLSMALLINT text_max, SQLSMALLINT* text_length,
                                                  SQLLEN* number) {
  return Guarded<Stmt>(handle, "SQLColAttribute", [&](Stmt& s) -> SQLRETURN {
    return ColumnAttribute(s, column, field, text, text_max, text_length, number);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLBindCol(SQLHSTMT handle, SQLUSMALLINT column,
                                             SQLSMALLINT c_type, SQLPOINTER buffer,
                                             SQLLEN buffer_length, SQLLEN* indicator) {
  return Guarded<Stmt>(handle, "SQLBindCol", [&](Stmt& s) -> SQLRETURN {
    return BindColumn(s, column, c_type, buffer, buffer_length, indicator);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLFetch(SQLHSTMT handle) {
  return Guarded<Stmt>(handle, "SQLFetch", [&](Stmt& s) -> SQLRETURN { return FetchRows(s, FetchRequest{}); });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLFetchScroll(SQLHSTMT handle, SQLSMALLINT orientation,
                                                 SQLLEN offset) {
  return Guarded<Stmt>(handle, "SQLFetchScroll", [&](Stmt& s) -> SQLRETURN {
    FetchRequest r;
    r.orientation = orientation;
    r.offset = offset;
    return FetchRows(s, r);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLExtendedFetch(SQLHSTMT handle, SQLUSMALLINT orientation,
                                                   SQLLEN row, SQLULEN* rows_fetched,
                                                   SQLUSMALLINT* row_status) {
  return Guarded<Stmt>(handle, "SQLExtendedFetch", [&](Stmt& s) -> SQLRETURN {
    FetchRequest r;
    r.orientation = static_cast<SQLSMALLINT>(orientation);
    r.offset = row;
    r.extended = true;
    r.rows_fetched = rows_fetched;
    r.row_status = row_status;
    return FetchRows(s, r);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLSetPos(SQLHSTMT handle, SQLSETPOSIROW row,
                                            SQLUSMALLINT operation, SQLUSMALLINT) {
  return Guarded<Stmt>(handle, "SQLSetPos", [&](Stmt& s) -> SQLRETURN { return SetPosition(s, row, operation); });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetData(SQLHSTMT handle, SQLUSMALLINT column,
                                             SQLSMALLINT c_type, SQLPOINTER buffer,
                                             SQLLEN buffer_length, SQLLEN* indicator) {
  return Guarded<Stmt>(handle, "SQLGetData", [&](Stmt& s) -> SQLRETURN {
    return GetData(s, column, c_type, buffer, buffer_length, indicator);
  });
}
