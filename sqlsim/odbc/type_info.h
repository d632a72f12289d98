// SQLGetTypeInfo: the server's types as a result set the driver makes.
#pragma once

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

// Opens the result on the statement; data_type SQL_ALL_TYPES for all.
SQLRETURN GetTypeInfo(Stmt& stmt, SQLSMALLINT data_type);

}  // namespace sqlsim::odbc
