// Moving the values of fetched rows into the application's buffers.
#pragma once

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

// The C type SQL_C_DEFAULT stands for with a result column.
SQLSMALLINT ResolveCType(const Stmt& stmt, const ColumnDesc& column, SQLSMALLINT c_type);

// Writes row i of the rowset into the bound columns; warnings and errors
// go to the statement's diagnostics with the row's number in the rowset.
// Returns the row's status (SQL_ROW_SUCCESS, _SUCCESS_WITH_INFO, _ERROR).
SQLUSMALLINT TransferRow(Stmt& stmt, size_t i);

// A bookmark as SQL_C_BOOKMARK (a 32-bit number) or SQL_C_VARBOOKMARK.
SQLRETURN WriteBookmark(Stmt& stmt, int64_t bookmark, SQLSMALLINT c_type,
                        SQLPOINTER buffer, SQLLEN buffer_length, SQLLEN* indicator);

}  // namespace sqlsim::odbc
