// SQLite's errors in the server's terms.
#pragma once

#include <sqlite3.h>

#include "sqlsim/diagnostic.h"

namespace sqlsim {

// The diagnostic of the error rc that SQLite reported on db: constraint
// failures, unknown names, lock time-outs, a full disk (1105) and the
// errors of the server functions become the server's error numbers and
// texts.
[[gnu::cold]] Diagnostic DiagnosticFromSqlite(sqlite3* db, int rc);

}  // namespace sqlsim
