// Preparing and running batches: parameters, data at execution, and the
// batch's results one after the other.
#pragma once

#include <string_view>

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

SQLRETURN PrepareStatement(Stmt& stmt, std::string_view text);
SQLRETURN ExecutePrepared(Stmt& stmt);
SQLRETURN ExecuteDirect(Stmt& stmt, std::string_view text);
SQLRETURN MoreResults(Stmt& stmt);
// SQLFreeStmt(SQL_CLOSE) and SQLCloseCursor.
void CloseCursor(Stmt& stmt);
SQLRETURN Cancel(Stmt& stmt);

SQLRETURN BindParameter(Stmt& stmt, SQLUSMALLINT number, SQLSMALLINT io_type,
                        const ParamBinding& binding);
SQLRETURN ParamData(Stmt& stmt, SQLPOINTER* token);
SQLRETURN PutData(Stmt& stmt, SQLPOINTER data, SQLLEN length);

// Opens a cursor on a row set the batch sent.
SQLRETURN OpenRows(Stmt& stmt, std::unique_ptr<RowSource> rows, SQLLEN diag_row);

// Runs the prepared batch with the parameter values of the bindings and
// the data put at execution; used by SQLExecute and the last SQLParamData.
SQLRETURN RunBatch(Stmt& stmt);

}  // namespace sqlsim::odbc
