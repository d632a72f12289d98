#include "sqlsim/engine/catalog.h"

#include <limits>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/information_schema.h"
#include "sqlsim/engine/temp_tables.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

using ddl::Query;

// Raised whenever the layout of the system tables or of the
// INFORMATION_SCHEMA views changes.
constexpr int64_t kCatalogVersion = 3;

struct SystemColumn {
  const char* name;
  SqlType type;
  int32_t length;
  const char* constraint;  // appended to the SQLite declaration
};

struct SystemTable {
  int32_t id;
  const char* name;
  std::vector<SystemColumn> columns;
  std::vector<const char*> indexes;  // "(name)" column lists
};

const std::vector<SystemTable>& SystemTables() {
  static const std::vector<SystemTable> kTables = {
      {1, "sysobjects",
       {{"id", SqlType::kInt, 4, " PRIMARY KEY"},
        {"name", SqlType::kVarchar, 128, " NOT NULL"},
        {"xtype", SqlType::kChar, 2, " NOT NULL"},
        {"type", SqlType::kChar, 2, " NOT NULL"},
        {"uid", SqlType::kSmallint, 2, " NOT NULL DEFAULT 1"},
        {"parent_obj", SqlType::kInt, 4, " NOT NULL DEFAULT 0"},
        {"crdate", SqlType::kDatetime, 8,
         " NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'))"}},
       {"(\"name\")", "(\"parent_obj\")"}},
      {2, "sysindexes",
       {{"id", SqlType::kInt, 4, " NOT NULL"},
        {"indid", SqlType::kSmallint, 2, " NOT NULL"},
        {"name", SqlType::kVarchar, 128, " NOT NULL"},
        {"status", SqlType::kInt, 4, " NOT NULL DEFAULT 0"}},
       {"(\"id\", \"indid\")", "(\"name\")"}},
      {3, "syscolumns",
       {{"id", SqlType::kInt, 4, " NOT NULL"},
        {"name", SqlType::kVarchar, 128, " NOT NULL"},
        {"xtype", SqlType::kTinyint, 1, " NOT NULL"},
        {"length", SqlType::kSmallint, 2, " NOT NULL"},
        {"colid", SqlType::kSmallint, 2, " NOT NULL"},
        {"isnullable", SqlType::kInt, 4, " NOT NULL"},
        {"prec", SqlType::kSmallint, 2, ""},
        {"scale", SqlType::kInt, 4, ""},
        {"status", SqlType::kTinyint, 1, " NOT NULL DEFAULT 0"},
        {"cdefault", SqlType::kInt, 4, " NOT NULL DEFAULT 0"},
        {"ident_seed", SqlType::kBigint, 8, ""},
        {"ident_incr", SqlType::kBigint, 8, ""}},
       {"(\"id\", \"colid\")", "(\"name\")"}},
      {25, "sysindexkeys",
       {{"id", SqlType::kInt, 4, " NOT NULL"},
        {"indid", SqlType::kSmallint, 2, " NOT NULL"},
        {"colid", SqlType::kSmallint, 2, " NOT NULL"},
        {"keyno", SqlType::kSmallint, 2, " NOT NULL"}},
       {"(\"id\", \"indid\")"}},
      {9, "syscomments",
       {{"id", SqlType::kInt, 4, " NOT NULL"},
        {"colid", SqlType::kSmallint, 2, " NOT NULL"},
        {"text", SqlType::kVarchar, 8000, ""}},
       {"(\"id\")"}},
  };
  return kTables;
}

bool CreateSystemTable(sqlite3* db, const SystemTable& table, Diagnostics* diags) {
  std::string sql = "CREATE TABLE IF NOT EXISTS " + ddl::QuoteId(table.name) + " (";
  for (size_t i = 0; i < table.columns.size(); ++i) {
    const SystemColumn& column = table.columns[i];
    if (i > 0) sql += ", ";
    sql += ddl::QuoteId(column.name) + " " + SqliteColumnType(column.type) + column.constraint;
  }
  sql += ")";
  if (!ddl::Exec(db, sql, diags)) return false;
  int number = 0;
  for (const char* columns : table.indexes) {
    std::string index = std::string(table.name) + "_" + std::to_string(++number);
    if (!ddl::Exec(db, "CREATE INDEX IF NOT EXISTS " + ddl::QuoteId(index) + " ON " +
                           ddl::QuoteId(table.name) + " " + columns, diags)) {
      return false;
    }
  }
  return true;
}

bool DescribeSystemTable(sqlite3* db, const SystemTable& table, Diagnostics* diags) {
  if (!ddl::InsertObjectRow(db, table.id, table.name, "S", 0, diags)) return false;
  int32_t colid = 0;
  for (const SystemColumn& column : table.columns) {
    ddl::ColumnSpec spec;
    spec.name = column.name;
    spec.type = column.type;
    spec.length = column.length;
    spec.colid = ++colid;
    spec.nullable = column.constraint[0] == '\0';
    spec.precision = ddl::CatalogPrecision(column.type, column.length);
    if (!ddl::InsertColumnRow(db, table.id, spec, diags)) return false;
  }
  return true;
}

// What the server's tables cannot hold: the events of triggers, which base
// column each column of a view shows, the types scalar functions return.
bool CreateOwnTables(sqlite3* db, Diagnostics* diags) {
  return ddl::Exec(db, "CREATE TABLE IF NOT EXISTS sqlsim_meta "
                       "(name TEXT PRIMARY KEY, value INTEGER NOT NULL)", diags) &&
         ddl::Exec(db, "CREATE TABLE IF NOT EXISTS sqlsim_triggers "
                       "(id INTEGER PRIMARY KEY, events INTEGER NOT NULL)", diags) &&
         ddl::Exec(db, "CREATE TABLE IF NOT EXISTS sqlsim_views (id INTEGER PRIMARY KEY, "
                       "base_table TEXT, filter TEXT, problem INTEGER NOT NULL)", diags) &&
         ddl::Exec(db, "CREATE TABLE IF NOT EXISTS sqlsim_returns (id INTEGER PRIMARY KEY, "
                       "xtype INTEGER NOT NULL, length INTEGER NOT NULL, prec INTEGER, scale INTEGER)", diags) &&
         ddl::Exec(db, "CREATE TABLE IF NOT EXISTS sqlsim_view_columns (id INTEGER NOT NULL, "
                       "colid INTEGER NOT NULL, base_column TEXT NOT NULL, "
                       "PRIMARY KEY (id, colid))", diags);
}

// Files made before a system table existed get it with its catalog rows.
bool IsDescribed(sqlite3* db, const SystemTable& table, bool* described, Diagnostics* diags) {
  Query query(db, "SELECT count(*) FROM sysobjects WHERE id = ?1");
  query.Bind(1, table.id);
  *described = query.Next() && query.Int(0) != 0;
  return query.Ok(diags);
}

bool HasCurrentCatalog(sqlite3* db) {
  Query query(db, "SELECT value FROM sqlsim_meta WHERE name = 'catalog_version'");
  return query.Next() && query.Int(0) == kCatalogVersion;
}

}  // namespace

SqlType SqlTypeOfXtype(int32_t xtype) {
  static const SqlType kTypes[] = {
      SqlType::kChar, SqlType::kVarchar, SqlType::kInt, SqlType::kSmallint,
      SqlType::kTinyint, SqlType::kBigint, SqlType::kBit, SqlType::kFloat,
      SqlType::kReal, SqlType::kDecimal, SqlType::kDatetime, SqlType::kBinary,
      SqlType::kVarbinary, SqlType::kImage, SqlType::kText};
  for (SqlType type : kTypes) {
    if (CatalogXtype(type) == xtype) return type;
  }
  return SqlType::kUnknown;
}

const CatalogColumn* CatalogTable::FindColumn(std::string_view column_name) const {
  for (const CatalogColumn& column : columns) {
    if (ddl::SameName(column.name, column_name)) return &column;
  }
  return nullptr;
}

Catalog::Catalog(sqlite3* db) : db_(db) {}

bool Catalog::EnsureSystemTables(Diagnostics* diags) {
  if (HasCurrentCatalog(db_)) return true;
  if (sqlite3_get_autocommit(db_)) {
    // The write lock first: a transaction that has read cannot wait for
    // another writer (SQLite refuses it at once), and the upgrade reads
    // before it writes.
    if (!ddl::Exec(db_, "BEGIN IMMEDIATE", diags)) return false;
    bool done = EnsureSystemTables(diags);
    Diagnostics ignored;
    bool ended = ddl::Exec(db_, done ? "COMMIT" : "ROLLBACK", done ? diags : &ignored);
    return done && ended;
  }
  Invalidate();
  ddl::Savepoint savepoint(db_, diags);
  if (!savepoint.ok()) return false;
  if (!CreateOwnTables(db_, diags)) return false;
  for (const SystemTable& table : SystemTables()) {
    if (!CreateSystemTable(db_, table, diags)) return false;
  }
  for (const SystemTable& table : SystemTables()) {
    bool described = false;
    if (!IsDescribed(db_, table, &described, diags)) return false;
    if (!described && !DescribeSystemTable(db_, table, diags)) return false;
  }
  if (!CreateInformationSchemaViews(db_, diags)) return false;
  Query meta(db_, "INSERT OR IGNORE INTO sqlsim_meta (name, value) VALUES ('next_object_id', ?1)");
  meta.Bind(1, kFirstUserObjectId);
  if (!meta.Run(diags)) return false;
  Query version(db_, "INSERT OR REPLACE INTO sqlsim_meta (name, value) VALUES ('catalog_version', ?1)");
  version.Bind(1, kCatalogVersion);
  if (!version.Run(diags)) return false;
  return savepoint.Release(diags);
}

std::unique_ptr<CatalogTable> Catalog::LoadTable(std::string_view name) {
  Query object(db_, "SELECT id, name, xtype FROM sysobjects "
                    "WHERE name = ?1 AND xtype IN ('U', 'V', 'S') ORDER BY id LIMIT 1");
  object.Bind(1, name);
  if (!object.Next()) return nullptr;
  auto table = std::make_unique<CatalogTable>();
  table->id = static_cast<int32_t>(object.Int(0));
  table->name = object.Text(1);
  table->xtype = object.Text(2);
  Query columns(db_, "SELECT name, xtype, length, colid, isnullable, prec, scale, "
                     "status, cdefault, ident_seed, ident_incr "
                     "FROM syscolumns WHERE id = ?1 ORDER BY colid");
  columns.Bind(1, table->id);
  while (columns.Next()) {
    CatalogColumn column;
    column.name = columns.Text(0);
    column.type = SqlTypeOfXtype(static_cast<int32_t>(columns.Int(1)));
    column.length = static_cast<int32_t>(columns.Int(2));
    if (column.length < 0) column.length = 0;  // (max)
    column.colid = static_cast<int32_t>(columns.Int(3));
    column.nullable = columns.Int(4) != 0;
    column.precision = static_cast<int32_t>(columns.Int(5));
    column.scale = static_cast<int32_t>(columns.Int(6));
    column.identity = (columns.Int(7) & kColumnIdentity) != 0;
    column.default_id = static_cast<int32_t>(columns.Int(8));
    column.has_default = column.default_id != 0;
    if (column.identity) {
      column.identity_seed = columns.Int(9);
      column.identity_increment = columns.Int(10);
    }
    table->columns.push_back(std::move(column));
  }
  if (columns.rc() != SQLITE_DONE) return nullptr;
  if (table->xtype == "V" && !LoadViewBase(table.get())) return nullptr;
  return table;
}

const CatalogTable* Catalog::FindTable(std::string_view name) {
  std::string key = ddl::FoldName(name);
  if (IsTempTableName(name) || IsTableVariableName(name)) return FindTempTable(db_, temp_tables_, key);
  auto it = tables_.find(key);
  if (it != tables_.end()) return it->second.get();
  std::unique_ptr<CatalogTable> table = LoadTable(name);
  if (!table) return nullptr;
  const CatalogTable* found = table.get();
  tables_.emplace(std::move(key), std::move(table));
  return found;
}

std::optional<CatalogObject> Catalog::FindObject(std::string_view name) {
  if (IsTempTableName(name) || IsTableVariableName(name)) {
    const CatalogTable* table = FindTable(name);
    if (!table) return std::nullopt;
    return CatalogObject{table->id, table->name, table->xtype, 0};
  }
  Query query(db_, "SELECT id, name, xtype, parent_obj FROM sysobjects "
                   "WHERE name = ?1 ORDER BY id LIMIT 1");
  query.Bind(1, name);
  if (!query.Next()) return std::nullopt;
  CatalogObject object;
  object.id = static_cast<int32_t>(query.Int(0));
  object.name = query.Text(1);
  object.xtype = query.Text(2);
  object.parent = static_cast<int32_t>(query.Int(3));
  return object;
}

int32_t Catalog::NextObjectId() {
  Query query(db_, "UPDATE sqlsim_meta SET value = value + 1 "
                   "WHERE name = 'next_object_id' RETURNING value - 1");
  if (!query.Next()) return 0;
  int64_t id = query.Int(0);
  // Drain the statement so the update is complete before it is finalized.
  while (query.Next()) {
  }
  if (query.rc() != SQLITE_DONE) return 0;
  if (id <= 0 || id > std::numeric_limits<int32_t>::max()) return 0;
  return static_cast<int32_t>(id);
}

void Catalog::AddTempTable(CatalogTable table) {
  std::string key = ddl::FoldName(table.name);
  temp_tables_[key] = std::move(table);
}

void Catalog::ForgetTempTable(std::string_view name) { temp_tables_.erase(ddl::FoldName(name)); }

std::map<std::string, int32_t> Catalog::TempTableIds() const {
  std::map<std::string, int32_t> ids;
  for (const auto& [key, table] : temp_tables_) ids[key] = table.id;
  return ids;
}

void Catalog::Invalidate() {
  tables_.clear();
  triggers_.clear();
  modules_.clear();
}

}  // namespace sqlsim
