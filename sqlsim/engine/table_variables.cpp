// Table variables: tables of tempdb that belong to one level of running
// code (batch, procedure, text EXECUTE), not seen by the code it calls, and
// not taken back by ROLLBACK.
#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/row_source.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/temp_tables.h"

namespace sqlsim {
namespace {

using namespace ddl;

// Runs a prepared statement once per kept row.
void InsertRows(sqlite3* db, const std::string& sql, const std::vector<std::vector<Value>>& rows) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) return;
  SqliteStmt stmt(raw);
  for (const std::vector<Value>& row : rows) {
    sqlite3_reset(raw);
    for (size_t i = 0; i < row.size(); ++i) BindValue(raw, static_cast<int>(i + 1), row[i]);
    sqlite3_step(raw);
  }
}

std::vector<std::vector<Value>> ReadRows(sqlite3* db, const std::string& sql) {
  std::vector<std::vector<Value>> rows;
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) return rows;
  SqliteStmt stmt(raw);
  while (sqlite3_step(raw) == SQLITE_ROW) {
    std::vector<Value> row;
    for (int i = 0; i < sqlite3_column_count(raw); ++i) row.push_back(ReadColumn(raw, i));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string TempId(const std::string& name) { return std::string(kTempDatabase) + "." + QuoteId(name); }

// "@t@1" -> 1; -1 for other names.
int32_t LevelOf(const std::string& key) {
  size_t at = key.rfind('@');
  if (!IsTableVariableName(key) || at == 0 || at + 1 >= key.size()) return -1;
  return static_cast<int32_t>(std::stol(key.substr(at + 1)));
}

}  // namespace

std::string TableVariableKey(std::string_view variable, int32_t level) {
  return FoldName(variable) + "@" + std::to_string(level);
}

bool DeclareTableVariable(SessionImpl& session, const ast::CreateTable& table, Diagnostics* diags) {
  std::string key = TableVariableKey(table.table.name, session.globals().nest_level);
  if (const CatalogTable* left = session.catalog().FindTable(key)) {
    if (!DropTempTable(session.db(), session.catalog(), *left, diags)) return false;
  }
  bool ok = RunCreateTableVariable(session.db(), session.catalog(), table, key, diags);
  // Statements naming @t are translated again for this level's table.
  session.InvalidateCatalog();
  return ok;
}

void DropTableVariables(SessionImpl& session, int32_t level) {
  Catalog& catalog = session.catalog();
  if (!catalog.HasTempTables()) return;
  bool dropped = false;
  for (const auto& [key, id] : catalog.TempTableIds()) {
    if (LevelOf(key) != level) continue;
    const CatalogTable* table = catalog.FindTable(key);
    Diagnostics ignored;
    if (table) dropped = DropTempTable(session.db(), catalog, *table, &ignored) || dropped;
  }
  if (dropped) session.InvalidateCatalog();
}

TableVariableKeeper::TableVariableKeeper(SessionImpl& session) : session_(session) {
  sqlite3* db = session.db();
  for (const auto& [key, id] : session.catalog().TempTableIds()) {
    const CatalogTable* table = LevelOf(key) >= 0 ? session.catalog().FindTable(key) : nullptr;
    if (!table) continue;
    Kept kept{*table, "", {}};
    Query schema(db, "SELECT sql FROM tempdb.sqlite_master WHERE type = 'table' AND name = ?1");
    schema.Bind(1, table->name);
    if (!schema.Next()) continue;
    kept.create_sql = schema.Text(0);
    kept.rows = ReadRows(db, "SELECT * FROM " + TempId(table->name));
    kept_.push_back(std::move(kept));
  }
}

void TableVariableKeeper::Restore() {
  sqlite3* db = session_.db();
  Catalog& catalog = session_.catalog();
  for (Kept& kept : kept_) {
    const std::string& name = kept.table.name;
    Diagnostics ignored;
    // "CREATE TABLE x" as SQLite keeps it: made in tempdb again.
    std::string create = "CREATE TABLE " + TempId(name) + kept.create_sql.substr(kept.create_sql.find('('));
    if (!Exec(db, "DROP TABLE IF EXISTS " + TempId(name) + "; " + create, &ignored)) continue;
    Query row(db, "INSERT OR REPLACE INTO tempdb.sysobjects (id, name, xtype) VALUES (?1, ?2, 'U')");
    row.Bind(1, kept.table.id).Bind(2, name).Run(&ignored);
    std::string insert = "INSERT INTO " + TempId(name) + " VALUES (";
    for (size_t i = 0; i < kept.table.columns.size(); ++i) insert += i ? ", ?" : "?";
    insert += ")";
    InsertRows(db, insert, kept.rows);
    catalog.AddTempTable(std::move(kept.table));
  }
}

}  // namespace sqlsim
