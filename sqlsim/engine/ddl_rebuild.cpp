// A table made again with other column declarations, as SQLite changes
// what its ALTER TABLE cannot: a new table, the rows copied over, the old
// one dropped, the new one renamed, indexes and triggers made again.
#include <string>
#include <utility>
#include <vector>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_support.h"

namespace sqlsim::ddl {
namespace {

struct SchemaEntry {
  std::string name;
  std::string sql;
};

bool SaveDependents(sqlite3* db, const CatalogTable& table, std::vector<SchemaEntry>* out,
                    Diagnostics* diags) {
  Query query(db, "SELECT name, sql FROM sqlite_master WHERE tbl_name = ?1 COLLATE NOCASE "
                  "AND type IN ('index', 'trigger') AND sql IS NOT NULL ORDER BY rowid");
  query.Bind(1, table.name);
  while (query.Next()) out->push_back({query.Text(0), query.Text(1)});
  return query.Ok(diags);
}

// The AUTOINCREMENT counter of the table, so that identity values are not
// handed out again after the rebuild.
bool IdentityCounter(sqlite3* db, const CatalogTable& table, int64_t* seq) {
  Query query(db, "SELECT seq FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE");
  query.Bind(1, table.name);
  if (!query.Next()) return false;
  *seq = query.Int(0);
  return true;
}

// A name for the row id that no column shadows; empty if all are taken.
std::string RowidName(const std::vector<RebuildColumn>& columns, const CatalogTable& table) {
  for (const char* name : {"rowid", "_rowid_", "oid"}) {
    if (!table.FindColumn(name)) {
      bool taken = false;
      for (const RebuildColumn& column : columns) taken = taken || SameName(column.spec.name, name);
      if (!taken) return name;
    }
  }
  return "";
}

std::string CopySql(const std::string& target, const CatalogTable& table,
                    const std::vector<RebuildColumn>& columns) {
  bool keyed = false;
  for (const RebuildColumn& column : columns) keyed = keyed || column.spec.inline_key;
  std::string rowid = keyed ? "" : RowidName(columns, table);
  std::string names = rowid.empty() ? "" : rowid;
  std::string values = rowid.empty() ? "" : rowid;
  for (const RebuildColumn& column : columns) {
    if (!names.empty()) {
      names += ", ";
      values += ", ";
    }
    names += QuoteId(column.spec.name);
    values += column.source_sql;
  }
  std::string sql = "INSERT INTO " + QuoteId(target) + " (" + names + ") SELECT " + values +
                    " FROM " + QuoteId(table.name);
  return rowid.empty() ? sql : sql + " ORDER BY " + rowid;
}

bool CopyRows(sqlite3* db, const std::string& target, const CatalogTable& table,
              const std::vector<RebuildColumn>& columns, Diagnostics* diags) {
  std::string sql = CopySql(target, table, columns);
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) return true;
  if (sqlite3_extended_errcode(db) == SQLITE_CONSTRAINT_NOTNULL) {
    std::string message = sqlite3_errmsg(db);
    std::string column = message.substr(message.rfind('.') + 1);
    return Fail(diags, 515, "Cannot insert the value NULL into column '" + column + "', table '" +
                                DatabaseName(db) + ".dbo." + table.name +
                                "'; column does not allow nulls. UPDATE fails.");
  }
  return Fail(db, rc, diags);
}

bool Recreate(sqlite3* db, const CatalogTable& table, const SchemaEntry& entry,
              Diagnostics* diags) {
  int rc = sqlite3_exec(db, entry.sql.c_str(), nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) return true;
  if ((rc & 0xff) != SQLITE_CONSTRAINT) return Fail(db, rc, diags);
  std::string index = entry.name;
  std::string prefix = SqliteIndexName(table.name, "");
  if (SameName(index.substr(0, prefix.size()), prefix)) index = index.substr(prefix.size());
  return Fail(diags, 1505, "The CREATE UNIQUE INDEX statement terminated because a duplicate key "
                           "was found for the object name 'dbo." + table.name +
                               "' and the index name '" + index + "'.");
}

// A boolean pragma switched on for the time of one statement.
class PragmaOn {
 public:
  PragmaOn(sqlite3* db, const std::string& name, Diagnostics* diags) : db_(db), name_(name) {
    Query current(db, "PRAGMA " + name);
    was_on_ = current.Next() && current.Int(0) != 0;
    ok_ = current.Ok(diags) && (was_on_ || Exec(db, "PRAGMA " + name + " = ON", diags));
  }
  ~PragmaOn() {
    if (ok_ && !was_on_) sqlite3_exec(db_, ("PRAGMA " + name_ + " = OFF").c_str(), nullptr, nullptr, nullptr);
  }
  PragmaOn(const PragmaOn&) = delete;
  PragmaOn& operator=(const PragmaOn&) = delete;
  bool ok() const { return ok_; }

 private:
  sqlite3* db_;
  std::string name_;
  bool was_on_ = false;
  bool ok_ = false;
};

// The views that name the table miss it just then.
bool RenameTable(sqlite3* db, const std::string& from, const std::string& to,
                 Diagnostics* diags) {
  return ExecUncheckedAlter(db, "ALTER TABLE " + QuoteId(from) + " RENAME TO " + QuoteId(to), diags);
}

bool RestoreCounter(sqlite3* db, const CatalogTable& table, int64_t seq, Diagnostics* diags) {
  Query drop(db, "DELETE FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE");
  if (!drop.Bind(1, table.name).Run(diags)) return false;
  Query insert(db, "INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)");
  return insert.Bind(1, table.name).Bind(2, seq).Run(diags);
}

}  // namespace

bool ExecUncheckedAlter(sqlite3* db, const std::string& sql, Diagnostics* diags) {
  // legacy_alter_table: no view or trigger resolved against the changed
  // table; writable_schema: a view already broken (over a dropped view)
  // stops no change either.
  PragmaOn legacy(db, "legacy_alter_table", diags);
  if (!legacy.ok()) return false;
  PragmaOn writable(db, "writable_schema", diags);
  return writable.ok() && Exec(db, sql, diags);
}

bool RebuildTable(sqlite3* db, const CatalogTable& table, const std::vector<RebuildColumn>& columns,
                  Diagnostics* diags) {
  std::vector<SchemaEntry> dependents;
  if (!SaveDependents(db, table, &dependents, diags)) return false;
  int64_t seq = 0;
  bool counted = IdentityCounter(db, table, &seq);
  bool autoincrement = false;
  std::string target = "sqlsim_rebuild_" + std::to_string(table.id);
  std::string sql = "CREATE TABLE " + QuoteId(target) + " (";
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += ColumnDeclaration(columns[i].spec);
    autoincrement = autoincrement || (columns[i].spec.inline_key && columns[i].spec.identity);
  }
  sql += ")";
  if (!Exec(db, sql, diags)) return false;
  if (!CopyRows(db, target, table, columns, diags)) return false;
  if (!Exec(db, "DROP TABLE " + QuoteId(table.name), diags)) return false;
  if (!RenameTable(db, target, table.name, diags)) return false;
  for (const SchemaEntry& entry : dependents) {
    if (!Recreate(db, table, entry, diags)) return false;
  }
  return !(counted && autoincrement) || RestoreCounter(db, table, seq, diags);
}

}  // namespace sqlsim::ddl
