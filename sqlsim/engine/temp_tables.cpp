#include "sqlsim/engine/temp_tables.h"

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {
namespace {

using namespace ddl;

std::string TempId(const std::string& name) { return std::string(kTempDatabase) + "." + QuoteId(name); }

bool CheckTempName(const std::string& name, int32_t line, Diagnostics* diags) {
  if (name.size() > 1 && name[1] == '#') {
    // Shared by every connection, they would need a home outside this one.
    return Fail(diags, 50000, "Global temporary tables (" + name + ") are not supported.", line);
  }
  if (name.size() > kMaxTempNameLength) {
    return Fail(diags, 193, "The object or column name starting with '" + name.substr(0, kMaxTempNameLength) +
                                "' is too long. The maximum length is 116 characters.",
                line);
  }
  return true;
}

std::string ColumnList(const std::vector<ast::IndexColumn>& columns) {
  std::string sql;
  for (const ast::IndexColumn& c : columns) sql += (sql.empty() ? "" : ", ") + QuoteId(c.name);
  return sql;
}

// PRIMARY KEY and UNIQUE as SQLite UNIQUE constraints (an IDENTITY column
// already holds SQLite's primary key); a key on that column alone is it.
std::vector<std::string> KeyClauses(const ast::CreateTable& stmt, const std::vector<ColumnSpec>& specs) {
  std::vector<std::vector<ast::IndexColumn>> keys;
  for (const ast::ColumnDef& c : stmt.columns) {
    if (c.primary_key || c.unique) keys.push_back({{c.name, false}});
  }
  for (const ast::TableConstraint& k : stmt.constraints) keys.push_back(k.columns);
  std::vector<std::string> clauses;
  for (const auto& key : keys) {
    bool row_id = false;
    for (const ColumnSpec& spec : specs) {
      row_id = row_id || (key.size() == 1 && spec.identity && SameName(spec.name, key[0].name));
    }
    if (!row_id) clauses.push_back("UNIQUE (" + ColumnList(key) + ")");
  }
  return clauses;
}

bool SeedTempIdentity(sqlite3* db, const std::string& name, const std::vector<ColumnSpec>& specs,
                      Diagnostics* diags) {
  for (const ColumnSpec& spec : specs) {
    if (!spec.identity || spec.identity_seed == spec.identity_increment) continue;
    int64_t before = 0;
    if (__builtin_sub_overflow(spec.identity_seed, spec.identity_increment, &before)) before = spec.identity_seed;
    Query seed(db, "INSERT INTO tempdb.sqlite_sequence (name, seq) VALUES (?1, ?2)");
    return seed.Bind(1, name).Bind(2, before).Run(diags);
  }
  return true;
}

}  // namespace

bool AttachTempDatabase(sqlite3* db, Diagnostics* diags) {
  return Exec(db,
              "ATTACH DATABASE ':memory:' AS tempdb;"
              "CREATE TABLE tempdb.sysobjects (id INTEGER PRIMARY KEY, name TEXT NOT NULL COLLATE NOCASE UNIQUE,"
              " xtype TEXT NOT NULL)",
              diags);
}

const CatalogTable* FindTempTable(sqlite3* db, std::map<std::string, CatalogTable>& tables, const std::string& key) {
  auto it = tables.find(key);
  if (it == tables.end()) return nullptr;
  Query query(db, "SELECT 1 FROM tempdb.sysobjects WHERE id = ?1");
  query.Bind(1, it->second.id);
  return query.Next() ? &it->second : nullptr;
}

bool InTempDatabase(const ast::ObjectName& name) {
  return IsTempTableName(name.name) && SameName(name.database, kTempDatabase);
}

bool CreateTempTable(sqlite3* db, Catalog& catalog, const ast::CreateTable& stmt,
                     const std::vector<ColumnSpec>& specs, const std::string& name, Diagnostics* diags) {
  if (IsTempTableName(name) && !CheckTempName(name, stmt.table.pos.line, diags)) return false;
  // A table a rolled-back DROP brought back is unknown to the catalog.
  std::string sql = "DROP TABLE IF EXISTS " + TempId(name) + "; CREATE TABLE " + TempId(name) + " (";
  for (size_t i = 0; i < specs.size(); ++i) sql += (i ? ", " : "") + ColumnDeclaration(specs[i]);
  for (const std::string& key : KeyClauses(stmt, specs)) sql += ", " + key;
  sql += ")";
  if (!Exec(db, sql, diags) || !SeedTempIdentity(db, name, specs, diags)) return false;
  CatalogTable table;
  table.id = catalog.NextTempId();
  table.name = name;
  table.xtype = "U";
  for (const ColumnSpec& spec : specs) {
    CatalogColumn column = spec;
    column.has_default = !spec.default_sql.empty();
    table.columns.push_back(std::move(column));
  }
  Query row(db, "INSERT INTO tempdb.sysobjects (id, name, xtype) VALUES (?1, ?2, 'U')");
  if (!row.Bind(1, table.id).Bind(2, name).Run(diags)) return false;
  catalog.AddTempTable(std::move(table));
  return true;
}

bool DropTempTable(sqlite3* db, Catalog& catalog, const CatalogTable& table, Diagnostics* diags) {
  std::string name = table.name;
  Query row(db, "DELETE FROM tempdb.sysobjects WHERE id = ?1");
  if (!row.Bind(1, table.id).Run(diags) || !Exec(db, "DROP TABLE " + TempId(name), diags)) return false;
  // A #table's description stays: a ROLLBACK may bring back its row in
  // tempdb.sysobjects, which FindTempTable asks before it answers.
  if (IsTableVariableName(name)) catalog.ForgetTempTable(name);
  return true;
}

TempTableScope::TempTableScope(SessionImpl& session) : session_(session), before_(session.catalog().TempTableIds()) {}

TempTableScope::~TempTableScope() {
  Catalog& catalog = session_.catalog();
  bool dropped = false;
  for (const auto& [key, id] : catalog.TempTableIds()) {
    auto it = before_.find(key);
    if (it != before_.end() && it->second == id) continue;
    const CatalogTable* table = catalog.FindTable(key);
    Diagnostics ignored;
    if (table) dropped = DropTempTable(session_.db(), catalog, *table, &ignored) || dropped;
  }
  if (dropped) session_.InvalidateCatalog();
}

}  // namespace sqlsim
