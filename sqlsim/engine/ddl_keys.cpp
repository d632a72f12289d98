// Indexes and the PRIMARY KEY and UNIQUE constraints built on them: SQLite
// indexes underneath, sysindexes and sysindexkeys rows above.
#include <string>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/types.h"

namespace sqlsim::ddl {
namespace {

constexpr size_t kMaxKeyColumns = 16;
constexpr int32_t kMaxIndid = 250;
constexpr size_t kMaxNameLength = 128;

bool IsKeyType(const CatalogColumn& column) {
  if (column.type == SqlType::kText || column.type == SqlType::kImage) return false;
  return !((column.type == SqlType::kVarchar || column.type == SqlType::kVarbinary) &&
           column.length == 0);
}

bool NextIndid(sqlite3* db, const CatalogTable& table, std::string_view index, int32_t* indid,
               Diagnostics* diags) {
  Query query(db, "SELECT max(indid) FROM sysindexes WHERE id = ?1 AND indid > 1");
  query.Bind(1, table.id);
  *indid = query.Next() && !query.IsNull(0) ? static_cast<int32_t>(query.Int(0)) + 1 : 2;
  if (!query.Ok(diags)) return false;
  if (*indid >= kMaxIndid) {
    return Fail(diags, 1910, "Could not create nonclustered index '" + std::string(index) +
                                 "' because it exceeds the maximum of 249 allowed per table or "
                                 "view.");
  }
  return true;
}

bool CreateSqliteIndex(sqlite3* db, const CatalogTable& table, const IndexRequest& request,
                       Diagnostics* diags) {
  std::string sql = request.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
  sql += QuoteId(SqliteIndexName(table.name, request.name)) + " ON " + QuoteId(table.name) + " (";
  for (size_t i = 0; i < request.columns.size(); ++i) {
    if (i > 0) sql += ", ";
    sql += QuoteId(request.columns[i].name);
    if (request.columns[i].descending) sql += " DESC";
  }
  sql += ")";
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) return true;
  if ((rc & 0xff) == SQLITE_CONSTRAINT) {
    return Fail(diags, 1505, "The CREATE UNIQUE INDEX statement terminated because a duplicate "
                             "key was found for the object name 'dbo." + table.name +
                                 "' and the index name '" + request.name + "'.",
                request.line);
  }
  return Fail(db, rc, diags);
}

bool InsertIndexRows(sqlite3* db, const CatalogTable& table, const IndexRequest& request,
                     int32_t indid, const std::vector<const CatalogColumn*>& columns,
                     Diagnostics* diags) {
  if (indid == 1) {
    Query heap(db, "DELETE FROM sysindexes WHERE id = ?1 AND indid = 0");
    if (!heap.Bind(1, table.id).Run(diags)) return false;
  }
  Query index(db, "INSERT INTO sysindexes (id, indid, name, status) VALUES (?1, ?2, ?3, ?4)");
  index.Bind(1, table.id).Bind(2, indid).Bind(3, request.name);
  index.Bind(4, request.status | (request.unique ? kIndexUnique : 0));
  if (!index.Run(diags)) return false;
  int32_t keyno = 0;
  for (const CatalogColumn* column : columns) {
    Query key(db, "INSERT INTO sysindexkeys (id, indid, colid, keyno) VALUES (?1, ?2, ?3, ?4)");
    key.Bind(1, table.id).Bind(2, indid).Bind(3, column->colid).Bind(4, ++keyno);
    if (!key.Run(diags)) return false;
  }
  return true;
}

bool HasPrimaryKey(sqlite3* db, int32_t table_id, bool* has, Diagnostics* diags) {
  Query query(db, "SELECT 1 FROM sysobjects WHERE parent_obj = ?1 AND xtype = 'PK'");
  query.Bind(1, table_id);
  *has = query.Next();
  return query.Ok(diags);
}

bool ConstraintFailed(Diagnostics* diags) {
  return Fail(diags, 1750, "Could not create constraint. See previous errors.");
}

}  // namespace

bool ResolveIndexColumns(const CatalogTable& table, const std::vector<ast::IndexColumn>& columns,
                         int32_t line, std::vector<const CatalogColumn*>* out,
                         Diagnostics* diags) {
  out->clear();
  for (const ast::IndexColumn& wanted : columns) {
    const CatalogColumn* column = table.FindColumn(wanted.name);
    if (!column) {
      return Fail(diags, 1911, "Column name '" + wanted.name +
                                   "' does not exist in the target table or view.", line);
    }
    for (const CatalogColumn* seen : *out) {
      if (seen == column) {
        return Fail(diags, 1909, "Cannot use duplicate column names in index. Column name '" +
                                     wanted.name + "' listed more than once.", line);
      }
    }
    if (!IsKeyType(*column)) {
      return Fail(diags, 1919, "Column '" + column->name + "' in table '" + table.name +
                                   "' is of a type that is invalid for use as a key column in "
                                   "an index.", line);
    }
    out->push_back(column);
  }
  if (out->size() > kMaxKeyColumns) {
    return Fail(diags, 1904, "The index on table '" + table.name + "' has " +
                                 std::to_string(out->size()) +
                                 " column names in index key list. The maximum limit for index "
                                 "or statistics key column list is 16.", line);
  }
  return true;
}

bool FindIndex(sqlite3* db, int32_t table_id, std::string_view name, int32_t* indid,
               int32_t* status, Diagnostics* diags) {
  Query query(db, "SELECT indid, status FROM sysindexes WHERE id = ?1 AND name = ?2 AND indid > 0");
  query.Bind(1, table_id).Bind(2, name);
  *indid = 0;
  if (query.Next()) {
    *indid = static_cast<int32_t>(query.Int(0));
    if (status) *status = static_cast<int32_t>(query.Int(1));
  }
  return query.Ok(diags);
}

bool FindClusteredIndex(sqlite3* db, int32_t table_id, std::string* name, Diagnostics* diags) {
  Query query(db, "SELECT name FROM sysindexes WHERE id = ?1 AND indid = 1");
  query.Bind(1, table_id);
  name->clear();
  if (query.Next()) *name = query.Text(0);
  return query.Ok(diags);
}

bool BuildIndex(sqlite3* db, const CatalogTable& table, const IndexRequest& request,
                Diagnostics* diags) {
  std::vector<const CatalogColumn*> columns;
  if (!ResolveIndexColumns(table, request.columns, request.line, &columns, diags)) return false;
  int32_t existing = 0;
  if (!FindIndex(db, table.id, request.name, &existing, nullptr, diags)) return false;
  if (existing != 0) {
    return Fail(diags, 1913, "The operation failed because an index or statistics with name '" +
                                 request.name + "' already exists on table '" + table.name + "'.",
                request.line);
  }
  int32_t indid = 1;
  if (request.clustered) {
    std::string clustered;
    if (!FindClusteredIndex(db, table.id, &clustered, diags)) return false;
    if (!clustered.empty()) {
      return Fail(diags, 1902, "Cannot create more than one clustered index on table '" +
                                   table.name + "'. Drop the existing clustered index '" +
                                   clustered + "' before creating another.",
                  request.line);
    }
  } else if (!NextIndid(db, table, request.name, &indid, diags)) {
    return false;
  }
  if (!request.inline_key && !CreateSqliteIndex(db, table, request, diags)) return false;
  return InsertIndexRows(db, table, request, indid, columns, diags);
}

bool RemoveIndex(sqlite3* db, const CatalogTable& table, int32_t indid, std::string_view name,
                 Diagnostics* diags) {
  if (!Exec(db, "DROP INDEX IF EXISTS " + QuoteId(SqliteIndexName(table.name, name)), diags)) {
    return false;
  }
  Query index(db, "DELETE FROM sysindexes WHERE id = ?1 AND indid = ?2");
  if (!index.Bind(1, table.id).Bind(2, indid).Run(diags)) return false;
  Query keys(db, "DELETE FROM sysindexkeys WHERE id = ?1 AND indid = ?2");
  if (!keys.Bind(1, table.id).Bind(2, indid).Run(diags)) return false;
  if (indid != 1) return true;
  Query heap(db, "INSERT INTO sysindexes (id, indid, name, status) VALUES (?1, 0, ?2, 0)");
  return heap.Bind(1, table.id).Bind(2, table.name).Run(diags);
}

bool AddKeyConstraint(sqlite3* db, Catalog& catalog, const CatalogTable& table,
                      const ast::TableConstraint& constraint, bool clustered, bool inline_key,
                      Diagnostics* diags) {
  bool primary = constraint.kind == ast::TableConstraint::Kind::kPrimaryKey;
  int32_t line = constraint.pos.line;
  int32_t id = catalog.NextObjectId();
  if (id == 0) return Fail(diags, 50000, "No object id could be allocated.", line);
  std::string name = constraint.name;
  if (name.empty()) {
    name = (primary ? "PK__" : "UQ__") + table.name.substr(0, kMaxNameLength - 12) + "__" +
           HexId(id);
  }
  if (catalog.FindObject(name)) {
    Fail(diags, 2714, "There is already an object named '" + name + "' in the database.", line);
    return ConstraintFailed(diags);
  }
  bool has_primary = false;
  if (primary && !HasPrimaryKey(db, table.id, &has_primary, diags)) return false;
  if (has_primary) {
    Fail(diags, 1779, "Table '" + table.name + "' already has a primary key defined on it.", line);
    return ConstraintFailed(diags);
  }
  std::vector<const CatalogColumn*> columns;
  if (!ResolveIndexColumns(table, constraint.columns, line, &columns, diags)) {
    return ConstraintFailed(diags);
  }
  for (const CatalogColumn* column : columns) {
    if (primary && column->nullable) {
      Fail(diags, 8111, "Cannot define PRIMARY KEY constraint on nullable column in table '" +
                            table.name + "'.", line);
      return ConstraintFailed(diags);
    }
  }
  IndexRequest request;
  request.name = name;
  request.unique = true;
  request.clustered = clustered;
  request.status = primary ? kIndexPrimaryKey : kIndexUniqueConstraint;
  request.columns = constraint.columns;
  request.inline_key = inline_key;
  request.line = line;
  if (!BuildIndex(db, table, request, diags)) return ConstraintFailed(diags);
  return InsertObjectRow(db, id, name, primary ? "PK" : "UQ", table.id, diags);
}

}  // namespace sqlsim::ddl

namespace sqlsim {

std::string SqliteIndexName(std::string_view table, std::string_view index) {
  return std::string(table) + "$" + std::string(index);
}

}  // namespace sqlsim
