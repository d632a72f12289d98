// Connection attributes and transactions.
#pragma once

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

SQLRETURN SetConnectAttribute(Dbc& dbc, SQLINTEGER attr, SQLPOINTER value,
                              SQLINTEGER length);
SQLRETURN GetConnectAttribute(Dbc& dbc, SQLINTEGER attr, SQLPOINTER value,
                              SQLINTEGER buffer_length, SQLINTEGER* string_length);

// Commits or rolls back the connection's transaction; nothing to do in
// autocommit mode. Cursors stay open (SQL_CB_PRESERVE).
SQLRETURN EndTransaction(Dbc& dbc, bool commit);

}  // namespace sqlsim::odbc
