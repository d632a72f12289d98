// Installs the server's semantics on an SQLite connection: the collation
// TSQL and the tsql_* functions the translator emits.
#pragma once

#include <sqlite3.h>

namespace sqlsim {

// Registers everything on db; SQLITE_OK or the first SQLite error code.
// Call once per connection, before any statement that uses them.
int RegisterTsqlFunctions(sqlite3* db);

// The aggregate tsql_single (single_value.cpp).
int RegisterSingleValue(sqlite3* db);
// tsql_cte_level, the recursion counter of recursive common table
// expressions (recursion_level.cpp).
int RegisterRecursionLevel(sqlite3* db);

}  // namespace sqlsim
