// The data-definition statements. Each runs inside one SAVEPOINT: on
// failure nothing of it remains, and the diagnostics say why. They keep the
// catalog's system tables current and invalidate its cache.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>

#include "sqlsim/diagnostic.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

bool RunCreateTable(sqlite3* db, Catalog& catalog, const ast::CreateTable& stmt,
                    Diagnostics* diags);
// DECLARE @t TABLE (...): the variable's table, under `name` in tempdb.
bool RunCreateTableVariable(sqlite3* db, Catalog& catalog, const ast::CreateTable& stmt, const std::string& name,
                            Diagnostics* diags);
bool RunCreateIndex(sqlite3* db, Catalog& catalog, const ast::CreateIndex& stmt,
                    Diagnostics* diags);
bool RunAlterTable(sqlite3* db, Catalog& catalog, const ast::AlterTable& stmt,
                   Diagnostics* diags);
// Tables and indexes; views, procedures, functions and triggers lose their
// catalog rows (and a SQLite view of the name).
bool RunDropObjects(sqlite3* db, Catalog& catalog, const ast::DropObjects& stmt,
                    Diagnostics* diags);

// The SQLite name of an index of a table: SQL Server index names are per
// table, SQLite's per database.
std::string SqliteIndexName(std::string_view table, std::string_view index);

}  // namespace sqlsim
