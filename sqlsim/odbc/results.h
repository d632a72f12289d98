// Describing result columns: SQLNumResultCols, SQLDescribeCol and
// SQLColAttribute, from the open cursor or, before execution, from what
// the prepared batch knows of its first result.
#pragma once

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

SQLRETURN NumResultCols(Stmt& stmt, SQLSMALLINT* count);
SQLRETURN DescribeColumn(Stmt& stmt, SQLUSMALLINT column, SQLCHAR* name,
                         SQLSMALLINT name_max, SQLSMALLINT* name_length,
                         SQLSMALLINT* sql_type, SQLULEN* size, SQLSMALLINT* digits,
                         SQLSMALLINT* nullable);
// SQLDescribeParam: the type a marker takes from where it stands.
SQLRETURN DescribeParameter(Stmt& stmt, SQLUSMALLINT number, SQLSMALLINT* sql_type,
                            SQLULEN* size, SQLSMALLINT* digits, SQLSMALLINT* nullable);
SQLRETURN ColumnAttribute(Stmt& stmt, SQLUSMALLINT column, SQLUSMALLINT field,
                          SQLPOINTER text, SQLSMALLINT text_max, SQLSMALLINT* text_length,
                          SQLLEN* number);

}  // namespace sqlsim::odbc
