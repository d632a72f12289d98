// The INFORMATION_SCHEMA views: SQLite views over the system tables, made
// with them, shaped as the server shapes them. They are not in sysobjects
// (the server keeps them out of a database's own objects) and are reached
// only through the schema name, so dbo objects of the same names and they
// never hide one another.
#pragma once

#include <sqlite3.h>

#include <string_view>

#include "sqlsim/diagnostic.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/engine.h"

namespace sqlsim {

inline constexpr std::string_view kInformationSchema = "INFORMATION_SCHEMA";

// (Re)creates every view; false with a diagnostic on failure.
bool CreateInformationSchemaViews(sqlite3* db, Diagnostics* diags);

// The view INFORMATION_SCHEMA.<name> (any letter case) as the binder sees
// it: name is the SQLite view, xtype "V", the columns typed. nullptr for a
// name that is not one. The table lives as long as the program.
const CatalogTable* FindInformationSchemaView(std::string_view name);

// Registers tsql_db_name(), the session's current database, which the
// views name as their catalog. The session outlives the connection.
int RegisterDatabaseName(sqlite3* db, const Session* session);

}  // namespace sqlsim
