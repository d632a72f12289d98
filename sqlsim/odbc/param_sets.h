// Parameter sets: one set's values read from the bound buffers, output
// values written back into them, and the run of an array of sets.
#pragma once

#include <vector>

#include "sqlsim/odbc/handles.h"

namespace sqlsim::odbc {

// A binding as it addresses set `set`, with the statement's bind type and offset.
ParamBinding BindingAtSet(const Stmt& stmt, const ParamBinding& binding, size_t set);

// The values of parameter set `set` (0 for a single set, with the values
// SQLPutData collected). False with a diagnostic naming diag_row when one
// cannot be read.
bool GatherParams(Stmt& stmt, size_t set, SQLLEN diag_row, std::vector<ParamValue>* values);

// Writes the output values of a finished execution into set `set`'s
// buffers: SQL_SUCCESS, SQL_SUCCESS_WITH_INFO (01004) or SQL_ERROR.
SQLRETURN DeliverOutputs(Stmt& stmt, const Execution& execution, size_t set, SQLLEN diag_row);

// SQLExecute with SQL_ATTR_PARAMSET_SIZE above 1: SQL_NEED_DATA first
// when a set has data at execution.
SQLRETURN ExecuteArray(Stmt& stmt);
// Runs the sets once their data at execution is in.
SQLRETURN RunArray(Stmt& stmt);
// The next result of an array execution, running the sets on as needed.
SQLRETURN NextArrayResult(Stmt& stmt, bool first);

}  // namespace sqlsim::odbc
