// Statement attributes, set on a statement or (through SQLSetConnectAttr)
// as the defaults of a connection's new statements.
#pragma once

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

bool IsStmtAttribute(SQLINTEGER attr);

// cursors: the cursor types the connection offers; another type asked for
// becomes the nearest one offered (01S02).
SQLRETURN SetStmtAttribute(StmtAttrs& attrs, DiagArea& diags, CursorSupport cursors,
                           SQLINTEGER attr, SQLPOINTER value);

SQLRETURN GetStmtAttribute(const StmtAttrs& attrs, DiagArea& diags, SQLINTEGER attr,
                           SQLPOINTER value);

// The attributes that only a statement has: its descriptors and the
// current row number.
SQLRETURN SetStatementAttr(Stmt& stmt, SQLINTEGER attr, SQLPOINTER value);
SQLRETURN GetStatementAttr(Stmt& stmt, SQLINTEGER attr, SQLPOINTER value);

}  // namespace sqlsim::odbc
