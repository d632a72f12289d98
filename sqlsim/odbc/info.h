// What the driver tells about itself: SQLGetInfo and SQLGetFunctions.
#pragma once

#include <optional>
#include <string>

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

SQLRETURN GetInfo(Dbc& dbc, SQLUSMALLINT info_type, SQLPOINTER value,
                  SQLSMALLINT buffer_length, SQLSMALLINT* string_length);

// The answer to a string information type; nullopt for the others.
std::optional<std::string> InfoText(const Dbc& dbc, SQLUSMALLINT info_type);

SQLRETURN GetFunctions(Dbc& dbc, SQLUSMALLINT function, SQLUSMALLINT* supported);

}  // namespace sqlsim::odbc
