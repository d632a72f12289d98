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

// The C types column 0 takes: SQL_C_ULONG (ODBC 2's SQL_C_BOOKMARK),
// SQL_C_UBIGINT (the 64-bit SQL_C_BOOKMARK), SQL_C_BINARY (also
// SQL_C_VARBOOKMARK) and SQL_C_DEFAULT (SQL_C_ULONG).
bool IsBookmarkCType(SQLSMALLINT c_type);

// A bookmark in one of those types; 07006 for any other.
SQLRETURN WriteBookmark(Stmt& stmt, int64_t bookmark, SQLSMALLINT c_type,
                        SQLPOINTER buffer, SQLLEN buffer_length, SQLLEN* indicator);

}  // namespace sqlsim::odbc
