// {fn name(args)}: the ODBC scalar functions in their Transact-SQL forms,
// and what SQLGetInfo says about them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/odbc/odbc_api.h"

namespace sqlsim::odbc {

// The Transact-SQL call for the ODBC function `name` with the (translated,
// trimmed) arguments. A name without a form of its own, or a number of
// arguments its form does not take, is written as given, so that the
// server names what it does not know.
std::string ScalarFunctionCall(std::string_view name, const std::vector<std::string>& args);

// SQL_STRING_FUNCTIONS, SQL_NUMERIC_FUNCTIONS, SQL_TIMEDATE_FUNCTIONS,
// SQL_SYSTEM_FUNCTIONS and the SQL_CONVERT_<type> masks: the functions and
// conversions that run on sqlsim. nullopt for other information types.
std::optional<SQLUINTEGER> ScalarFunctionInfo(SQLUSMALLINT info_type);

}  // namespace sqlsim::odbc
