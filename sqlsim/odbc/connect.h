// Connecting: the connection string (SQLDriverConnect) or a data source
// name (SQLConnect), the keys of the data source in odbc.ini, and the
// completed connection string handed back.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "sqlsim/odbc/connection_string.h"
#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

// Fills in the keys of the data source named by DSN that the string does
// not give, then opens the session. Returns the ODBC return code, with
// diagnostics on the connection.
SQLRETURN Connect(Dbc& dbc, ConnectionAttributes* attrs);

// SQLDriverConnect up to its output: checks the arguments, parses the
// string and connects; *completed is the string to hand back.
SQLRETURN DriverConnect(Dbc& dbc, std::string_view text, SQLSMALLINT out_max,
                        SQLUSMALLINT completion, std::string* completed);

// SQLDisconnect: 25000 while a transaction is open.
SQLRETURN Disconnect(Dbc& dbc);

}  // namespace sqlsim::odbc
