// SQLite's errors in the server's terms.
#pragma once

#include <sqlite3.h>

#include <string>

#include "sqlsim/diagnostic.h"

namespace sqlsim {

// The diagnostic of the error rc that SQLite reported on db: constraint
// failures, unknown names, lock time-outs, a full disk (1105) and the
// errors of the server functions become the server's error numbers and
// texts.
[[gnu::cold]] Diagnostic DiagnosticFromSqlite(sqlite3* db, int rc);

// After an invalid column name (207) where sqlite_sql was prepared: a view
// it names that selects a column dropped since gets the server's 4413.
[[gnu::cold]] void AddBrokenViews(sqlite3* db, const std::string& sqlite_sql, Diagnostics* diags);

}  // namespace sqlsim
