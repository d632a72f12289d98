// What the driver tells about itself: SQLGetInfo and SQLGetFunctions.
#pragma once

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

SQLRETURN GetInfo(Dbc& dbc, SQLUSMALLINT info_type, SQLPOINTER value,
                  SQLSMALLINT buffer_length, SQLSMALLINT* string_length);

SQLRETURN GetFunctions(Dbc& dbc, SQLUSMALLINT function, SQLUSMALLINT* supported);

}  // namespace sqlsim::odbc
