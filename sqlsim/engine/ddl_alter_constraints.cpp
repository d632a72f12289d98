// ALTER TABLE ... DROP COLUMN, ADD CONSTRAINT and DROP CONSTRAINT.
#include <algorithm>
#include <string>
#include <vector>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_alter.h"
#include "sqlsim/engine/ddl_support.h"

namespace sqlsim::ddl {
namespace {

// After each step of a statement the table is read again: the step before
// changed it.
const CatalogTable* Reload(Catalog& catalog, const ast::ObjectName& name, Diagnostics* diags) {
  catalog.Invalidate();
  const CatalogTable* table = catalog.FindTable(name.name);
  if (!table) NotFoundForAlter(name, diags);
  return table;
}

// colid stays the column's place in the SQLite table.
bool RemoveColumnRow(sqlite3* db, const CatalogTable& table, int32_t colid, Diagnostics* diags) {
  Query remove(db, "DELETE FROM syscolumns WHERE id = ?1 AND colid = ?2");
  if (!remove.Bind(1, table.id).Bind(2, colid).Run(diags)) return false;
  for (const char* catalog_table : {"syscolumns", "sysindexkeys"}) {
    Query renumber(db, "UPDATE " + std::string(catalog_table) +
                           " SET colid = colid - 1 WHERE id = ?1 AND colid > ?2");
    if (!renumber.Bind(1, table.id).Bind(2, colid).Run(diags)) return false;
  }
  return true;
}

bool DropColumn(sqlite3* db, const CatalogTable& table, const std::string& name,
                Diagnostics* diags) {
  const CatalogColumn* column = table.FindColumn(name);
  if (!column) {
    return Fail(diags, 4924, "ALTER TABLE DROP COLUMN failed because column '" + name +
                                 "' does not exist in table '" + table.name + "'.");
  }
  if (table.columns.size() == 1) {
    return Fail(diags, 4923, "ALTER TABLE DROP COLUMN failed because '" + name +
                                 "' is the only data column in table '" + table.name +
                                 "'. A table must have at least one data column.");
  }
  std::vector<Dependent> dependents;
  if (!FindDependents(db, table, *column, &dependents, diags)) return false;
  if (!dependents.empty()) {
    return DependentsFail(dependents, "ALTER TABLE DROP COLUMN", column->name, diags);
  }
  std::vector<ColumnSpec> specs;
  if (!LoadColumnSpecs(db, table, &specs, diags)) return false;
  std::vector<RebuildColumn> columns = KeepColumns(specs);
  auto dropped = std::find_if(columns.begin(), columns.end(),
                              [&](const RebuildColumn& c) { return c.spec.colid == column->colid; });
  if (dropped != columns.end() && dropped->spec.inline_key) {
    // SQLite cannot drop its row id column (an IDENTITY one, key or not):
    // the table is made again without it.
    columns.erase(dropped);
    if (!RebuildTable(db, table, columns, diags)) return false;
  } else if (!ExecUncheckedAlter(db, "ALTER TABLE " + QuoteId(table.name) + " DROP COLUMN " +
                                          QuoteId(column->name),
                                 diags)) {
    return false;
  }
  return RemoveColumnRow(db, table, column->colid, diags);
}

bool NotAConstraint(const std::string& name, Diagnostics* diags) {
  Fail(diags, 3728, "'" + name + "' is not a constraint.");
  return Fail(diags, 3727, "Could not drop constraint. See previous errors.");
}

// The table made again with one column changed by change().
template <typename Change>
bool RebuildChanging(sqlite3* db, const CatalogTable& table, int32_t colid, Change change,
                     Diagnostics* diags) {
  std::vector<ColumnSpec> specs;
  if (!LoadColumnSpecs(db, table, &specs, diags)) return false;
  std::vector<RebuildColumn> columns = KeepColumns(specs);
  for (RebuildColumn& column : columns) {
    if (column.spec.colid == colid) change(&column.spec);
  }
  return RebuildTable(db, table, columns, diags);
}

bool DropDefault(sqlite3* db, const CatalogTable& table, const CatalogObject& object,
                 Diagnostics* diags) {
  for (const CatalogColumn& column : table.columns) {
    if (column.default_id != object.id) continue;
    auto no_default = [](ColumnSpec* spec) { spec->default_sql.clear(); };
    if (!RebuildChanging(db, table, column.colid, no_default, diags)) return false;
    Query update(db, "UPDATE syscolumns SET cdefault = 0 WHERE id = ?1 AND colid = ?2");
    if (!update.Bind(1, table.id).Bind(2, column.colid).Run(diags)) return false;
  }
  return true;
}

bool DropKey(sqlite3* db, const CatalogTable& table, const CatalogObject& object,
             Diagnostics* diags) {
  int32_t indid = 0;
  int32_t status = 0;
  if (!FindIndex(db, table.id, object.name, &indid, &status, diags)) return false;
  if (indid == 0) return Fail(diags, 50000, "The index of '" + object.name + "' is missing.");
  // A key on the IDENTITY column leaves it SQLite's row id: SQLite still
  // numbers it.
  return RemoveIndex(db, table, indid, object.name, diags);
}

bool DropConstraint(sqlite3* db, Catalog& catalog, const CatalogTable& table,
                    const std::string& name, Diagnostics* diags) {
  std::optional<CatalogObject> object = catalog.FindObject(name);
  if (!object || object->parent != table.id ||
      (object->xtype != "PK" && object->xtype != "UQ" && object->xtype != "D")) {
    return NotAConstraint(name, diags);
  }
  bool dropped = object->xtype == "D" ? DropDefault(db, table, *object, diags)
                                      : DropKey(db, table, *object, diags);
  if (!dropped) return false;
  Query definition(db, "DELETE FROM syscomments WHERE id = ?1");
  if (!definition.Bind(1, object->id).Run(diags)) return false;
  Query remove(db, "DELETE FROM sysobjects WHERE id = ?1");
  return remove.Bind(1, object->id).Run(diags);
}

}  // namespace

bool DropColumns(sqlite3* db, Catalog& catalog, const ast::AlterTable& stmt,
                 Diagnostics* diags) {
  for (const std::string& name : stmt.names) {
    const CatalogTable* table = Reload(catalog, stmt.table, diags);
    if (!table || !DropColumn(db, *table, name, diags)) return false;
  }
  return true;
}

bool AddConstraints(sqlite3* db, Catalog& catalog, const ast::AlterTable& stmt,
                    Diagnostics* diags) {
  for (const ast::TableConstraint& constraint : stmt.constraints) {
    const CatalogTable* table = Reload(catalog, stmt.table, diags);
    if (!table) return false;
    std::string clustered_name;
    if (!FindClusteredIndex(db, table->id, &clustered_name, diags)) return false;
    bool primary = constraint.kind == ast::TableConstraint::Kind::kPrimaryKey;
    bool clustered = constraint.clustered ||
                     (primary && !constraint.nonclustered && clustered_name.empty());
    if (!AddKeyConstraint(db, catalog, *table, constraint, clustered, false, diags)) return false;
  }
  return true;
}

bool DropConstraints(sqlite3* db, Catalog& catalog, const ast::AlterTable& stmt,
                     Diagnostics* diags) {
  for (const std::string& name : stmt.names) {
    const CatalogTable* table = Reload(catalog, stmt.table, diags);
    if (!table || !DropConstraint(db, catalog, *table, name, diags)) return false;
  }
  return true;
}

}  // namespace sqlsim::ddl
