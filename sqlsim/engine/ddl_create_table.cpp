// CREATE TABLE: the SQLite table, its catalog rows, defaults and key
// constraints.
#include <string>
#include <vector>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/temp_tables.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

using namespace ddl;

constexpr size_t kMaxColumns = 1024;

struct KeyPlan {
  ast::TableConstraint constraint;
  bool clustered = false;
  bool inline_key = false;
};

std::vector<KeyPlan> GatherKeys(const ast::CreateTable& stmt) {
  std::vector<KeyPlan> keys;
  for (const ast::ColumnDef& column : stmt.columns) {
    if (!column.primary_key && !column.unique) continue;
    KeyPlan plan;
    plan.constraint.kind = column.primary_key ? ast::TableConstraint::Kind::kPrimaryKey
                                              : ast::TableConstraint::Kind::kUnique;
    plan.constraint.name = column.key_name;
    plan.constraint.clustered = column.key_clustered;
    plan.constraint.nonclustered = column.key_nonclustered;
    plan.constraint.columns.push_back({column.name, false});
    plan.constraint.pos = column.pos;
    keys.push_back(std::move(plan));
  }
  for (const ast::TableConstraint& constraint : stmt.constraints) {
    keys.push_back({constraint, false, false});
  }
  return keys;
}

bool IsPrimary(const KeyPlan& key) {
  return key.constraint.kind == ast::TableConstraint::Kind::kPrimaryKey;
}

// The server's defaults: a primary key is clustered unless told otherwise
// or another constraint asks for the clustered index.
bool PlanKeys(std::string_view table, std::vector<KeyPlan>* keys, Diagnostics* diags) {
  int primaries = 0;
  bool explicit_clustered = false;
  for (const KeyPlan& key : *keys) {
    primaries += IsPrimary(key) ? 1 : 0;
    explicit_clustered = explicit_clustered || key.constraint.clustered;
  }
  if (primaries > 1) {
    return Fail(diags, 8110, "Cannot add multiple PRIMARY KEY constraints to table '" +
                                 std::string(table) + "'.");
  }
  int clustered = 0;
  for (KeyPlan& key : *keys) {
    key.clustered = key.constraint.clustered ||
                    (IsPrimary(key) && !key.constraint.nonclustered && !explicit_clustered);
    clustered += key.clustered ? 1 : 0;
  }
  if (clustered > 1) {
    return Fail(diags, 8112, "Cannot add more than one clustered index for constraints on table '" +
                                 std::string(table) + "'.");
  }
  return true;
}

bool InKey(const KeyPlan& key, std::string_view column) {
  for (const ast::IndexColumn& part : key.constraint.columns) {
    if (SameName(part.name, column)) return true;
  }
  return false;
}

bool CheckColumnNames(const ast::CreateTable& stmt, Diagnostics* diags) {
  const std::string& table = stmt.table.name;
  if (stmt.columns.size() > kMaxColumns) {
    return Fail(diags, 1702, "CREATE TABLE failed because column '" +
                                 stmt.columns[kMaxColumns].name + "' in table '" + table +
                                 "' exceeds the maximum of 1024 columns.");
  }
  for (size_t i = 0; i < stmt.columns.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (SameName(stmt.columns[i].name, stmt.columns[j].name)) {
        return Fail(diags, 2705, "Column names in each table must be unique. Column name '" +
                                     stmt.columns[i].name + "' in table '" + table +
                                     "' is specified more than once.",
                    stmt.columns[i].pos.line);
      }
    }
  }
  return true;
}

bool ResolveColumns(const ast::CreateTable& stmt, std::vector<KeyPlan>& keys,
                    std::vector<ColumnSpec>* specs, Diagnostics* diags) {
  const std::string& table = stmt.table.name;
  int identities = 0;
  for (size_t i = 0; i < stmt.columns.size(); ++i) {
    const ast::ColumnDef& def = stmt.columns[i];
    ColumnSpec spec;
    if (!ResolveColumn(def, static_cast<int>(i + 1), table, &spec, diags)) return false;
    spec.colid = static_cast<int32_t>(i + 1);
    for (KeyPlan& key : keys) {
      if (!IsPrimary(key) || !InKey(key, def.name)) continue;
      if (!def.null_written) spec.nullable = false;
      // Only an IDENTITY key becomes SQLite's row id: any other would take a
      // number where the server refuses a missing or NULL key with 515.
      key.inline_key = key.constraint.columns.size() == 1 &&
                       !key.constraint.columns[0].descending && spec.identity;
      spec.inline_key = key.inline_key;
    }
    // An integer IDENTITY is SQLite's AUTOINCREMENT row id, key or not, so
    // that SQLite numbers it.
    if (spec.identity) spec.inline_key = true;
    if (spec.identity && ++identities > 1) {
      return Fail(diags, 2744, "Multiple identity columns specified for table '" + table +
                                   "'. Only one identity column per table is allowed.",
                  def.pos.line);
    }
    bool literal = true;
    if (!ResolveDefault(def, table, &spec, &literal, diags)) return false;
    specs->push_back(std::move(spec));
  }
  return true;
}

bool CreateSqliteTable(sqlite3* db, const std::string& table,
                       const std::vector<ColumnSpec>& specs, Diagnostics* diags) {
  std::string sql = "CREATE TABLE " + QuoteId(table) + " (";
  for (size_t i = 0; i < specs.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += ColumnDeclaration(specs[i]);
  }
  sql += ")";
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) return true;
  if (std::string_view(sqlite3_errmsg(db)).find("already exists") != std::string_view::npos) {
    return Fail(diags, 2714, "There is already an object named '" + table + "' in the database.");
  }
  return Fail(db, rc, diags);
}

// An IDENTITY column is SQLite's AUTOINCREMENT rowid: its counter starts
// a step before the seed.
bool SeedIdentity(sqlite3* db, const std::string& table, const std::vector<ColumnSpec>& specs,
                  Diagnostics* diags) {
  for (const ColumnSpec& spec : specs) {
    if (!spec.inline_key || !spec.identity || spec.identity_seed == spec.identity_increment) continue;
    int64_t before = 0;
    if (__builtin_sub_overflow(spec.identity_seed, spec.identity_increment, &before)) before = spec.identity_seed;
    Query seed(db, "INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)");
    return seed.Bind(1, table).Bind(2, before).Run(diags);
  }
  return true;
}

bool WriteCatalog(sqlite3* db, Catalog& catalog, const ast::CreateTable& stmt,
                  std::vector<ColumnSpec>* specs, int32_t table_id, Diagnostics* diags) {
  const std::string& table = stmt.table.name;
  if (!InsertObjectRow(db, table_id, table, "U", 0, diags)) return false;
  for (size_t i = 0; i < specs->size(); ++i) {
    ColumnSpec& spec = (*specs)[i];
    if (!NameDefault(catalog, stmt.columns[i], table, &spec, diags)) return false;
    if (!InsertColumnRow(db, table_id, spec, diags)) return false;
  }
  Query heap(db, "INSERT INTO sysindexes (id, indid, name, status) VALUES (?1, 0, ?2, 0)");
  return heap.Bind(1, table_id).Bind(2, table).Run(diags);
}

}  // namespace

bool RunCreateTable(sqlite3* db, Catalog& catalog, const ast::CreateTable& stmt,
                    Diagnostics* diags) {
  InvalidateOnExit invalidate(catalog);
  Savepoint savepoint(db, diags);
  if (!savepoint.ok()) return false;
  const std::string& table = stmt.table.name;
  if (catalog.FindObject(table)) {
    return Fail(diags, 2714, "There is already an object named '" + table + "' in the database.",
                stmt.table.pos.line);
  }
  if (!CheckColumnNames(stmt, diags)) return false;
  std::vector<KeyPlan> keys = GatherKeys(stmt);
  if (!PlanKeys(table, &keys, diags)) return false;
  std::vector<ColumnSpec> specs;
  if (!ResolveColumns(stmt, keys, &specs, diags)) return false;
  if (IsTempTableName(table)) return CreateTempTable(db, catalog, stmt, specs, table, diags) && savepoint.Release(diags);
  int32_t table_id = catalog.NextObjectId();
  if (table_id == 0) return Fail(diags, 50000, "No object id could be allocated.");
  if (!CreateSqliteTable(db, table, specs, diags)) return false;
  if (!SeedIdentity(db, table, specs, diags)) return false;
  if (!WriteCatalog(db, catalog, stmt, &specs, table_id, diags)) return false;
  catalog.Invalidate();
  const CatalogTable* created = catalog.FindTable(table);
  if (!created) return Fail(diags, 50000, "The new table '" + table + "' is not in the catalog.");
  for (const KeyPlan& key : keys) {
    if (!AddKeyConstraint(db, catalog, *created, key.constraint, key.clustered, key.inline_key,
                          diags)) {
      return false;
    }
  }
  return savepoint.Release(diags);
}

bool RunCreateTableVariable(sqlite3* db, Catalog& catalog, const ast::CreateTable& stmt, const std::string& name,
                            Diagnostics* diags) {
  Savepoint savepoint(db, diags);
  if (!savepoint.ok() || !CheckColumnNames(stmt, diags)) return false;
  std::vector<KeyPlan> keys = GatherKeys(stmt);
  std::vector<ColumnSpec> specs;
  if (!PlanKeys(stmt.table.name, &keys, diags) || !ResolveColumns(stmt, keys, &specs, diags)) return false;
  return CreateTempTable(db, catalog, stmt, specs, name, diags) && savepoint.Release(diags);
}

}  // namespace sqlsim
