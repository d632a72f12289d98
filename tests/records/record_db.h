// A sqlsim database reached through the library, with tables made by the
// generated scripts: what the record access tests start from.
#ifndef LERV32_TESTS_RECORDS_RECORD_DB_H
#define LERV32_TESTS_RECORDS_RECORD_DB_H

#include <string>

#include "include/lerv32.h"
#include "platform/win_api.h"

#include <sql.h>

namespace recordtest {

// Splits at lines holding only GO (CR LF) and runs each batch, reading every
// result; adds a test failure naming the batch and returns false when one fails.
bool RunScript(SQLHDBC dbc, const std::string& script);

// The create script of td as a host builds it: table, (T-SQL form) the
// per-table procedures, and every key's index script.
std::string CreateScript(TableDef* td, int transact_sql);

}  // namespace recordtest

#endif  // LERV32_TESTS_RECORDS_RECORD_DB_H
