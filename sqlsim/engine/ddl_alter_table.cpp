// ALTER TABLE: ADD columns and ALTER COLUMN here, the other actions in
// ddl_alter_constraints.cpp.
#include <string>
#include <vector>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_alter.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

using namespace ddl;

bool ColumnExists(const CatalogTable& table, const ast::ColumnDef& def, Diagnostics* diags) {
  if (!table.FindColumn(def.name)) return false;
  Fail(diags, 2705, "Column names in each table must be unique. Column name '" + def.name +
                        "' in table '" + table.name + "' is specified more than once.",
       def.pos.line);
  return true;
}

bool HasIdentity(const CatalogTable& table) {
  for (const CatalogColumn& column : table.columns) {
    if (column.identity) return true;
  }
  return false;
}

// SQLite's ADD COLUMN takes a column that may be NULL or has a constant
// default; the others need the table made again.
bool NeedsRebuild(const ColumnSpec& spec, bool literal) {
  if (!literal || spec.identity) return true;
  return !spec.nullable && (spec.default_sql.empty() || spec.default_sql == "NULL");
}

// What the new column holds in existing rows: the server fills NOT NULL
// columns from their default and numbers identity columns.
std::string FillSql(const ColumnSpec& spec) {
  if (spec.identity) {
    return "((row_number() OVER () - 1) * " + std::to_string(spec.identity_increment) + " + " +
           std::to_string(spec.identity_seed) + ")";
  }
  if (!spec.nullable && !spec.default_sql.empty()) return spec.default_sql;
  return "NULL";
}

bool AddColumn(sqlite3* db, Catalog& catalog, const CatalogTable& table, const ast::ColumnDef& def,
               int number, Diagnostics* diags) {
  if (ColumnExists(table, def, diags)) return false;
  ColumnSpec spec;
  if (!ResolveColumn(def, number, table.name, &spec, diags)) return false;
  spec.colid = static_cast<int32_t>(table.columns.size() + 1);
  if (def.primary_key && !def.null_written) spec.nullable = false;
  if (spec.identity && HasIdentity(table)) {
    return Fail(diags, 2744, "Multiple identity columns specified for table '" + table.name +
                                 "'. Only one identity column per table is allowed.",
                def.pos.line);
  }
  bool literal = true;
  if (!ResolveDefault(def, table.name, &spec, &literal, diags)) return false;
  bool empty = true;
  if (!TableIsEmpty(db, table.name, &empty, diags)) return false;
  if (!spec.nullable && spec.default_sql.empty() && !spec.identity && !empty) {
    return Fail(diags, 4901,
                "ALTER TABLE only allows columns to be added that can contain nulls, or have a "
                "DEFAULT definition specified, or the column being added is an identity or "
                "timestamp column, or alternatively if none of the previous conditions are "
                "satisfied the table must be empty to allow addition of this column. Column '" +
                    def.name + "' cannot be added to non-empty table '" + table.name +
                    "' because it does not satisfy these conditions.",
                def.pos.line);
  }
  if (!NameDefault(catalog, def, table.name, &spec, diags)) return false;
  if (NeedsRebuild(spec, literal)) {
    std::vector<ColumnSpec> specs;
    if (!LoadColumnSpecs(db, table, &specs, diags)) return false;
    std::vector<RebuildColumn> columns = KeepColumns(specs);
    spec.inline_key = spec.identity;  // as CREATE TABLE makes it
    columns.push_back({spec, FillSql(spec)});
    if (!RebuildTable(db, table, columns, diags)) return false;
  } else {
    if (!Exec(db, "ALTER TABLE " + QuoteId(table.name) + " ADD COLUMN " + ColumnDeclaration(spec),
              diags)) {
      return false;
    }
    // The server leaves existing rows NULL in a nullable column, default or not.
    if (spec.nullable && !spec.default_sql.empty() && !empty &&
        !Exec(db, "UPDATE " + QuoteId(table.name) + " SET " + QuoteId(spec.name) + " = NULL",
              diags)) {
      return false;
    }
  }
  return InsertColumnRow(db, table.id, spec, diags);
}

bool AddColumnKeys(sqlite3* db, Catalog& catalog, std::string_view table_name,
                   const ast::ColumnDef& def, Diagnostics* diags) {
  if (!def.primary_key && !def.unique) return true;
  const CatalogTable* table = catalog.FindTable(table_name);
  if (!table) return Fail(diags, 50000, "The table left the catalog.");
  ast::TableConstraint constraint;
  constraint.kind = def.primary_key ? ast::TableConstraint::Kind::kPrimaryKey
                                    : ast::TableConstraint::Kind::kUnique;
  constraint.name = def.key_name;
  constraint.columns.push_back({def.name, false});
  constraint.pos = def.pos;
  std::string clustered;
  if (!FindClusteredIndex(db, table->id, &clustered, diags)) return false;
  bool cluster = def.key_clustered ||
                 (def.primary_key && !def.key_nonclustered && clustered.empty());
  return AddKeyConstraint(db, catalog, *table, constraint, cluster, false, diags);
}

bool AddColumns(sqlite3* db, Catalog& catalog, const ast::AlterTable& stmt, Diagnostics* diags) {
  for (size_t i = 0; i < stmt.columns.size(); ++i) {
    catalog.Invalidate();
    const CatalogTable* table = catalog.FindTable(stmt.table.name);
    if (!table) return Fail(diags, 50000, "The table left the catalog.");
    if (!AddColumn(db, catalog, *table, stmt.columns[i], static_cast<int>(i + 1), diags)) {
      return false;
    }
    catalog.Invalidate();
    if (!AddColumnKeys(db, catalog, stmt.table.name, stmt.columns[i], diags)) return false;
  }
  return true;
}

}  // namespace

namespace ddl {

bool NotFoundForAlter(const ast::ObjectName& name, Diagnostics* diags) {
  return Fail(diags, 4902, "Cannot find the object \"" + name.name +
                               "\" because it does not exist or you do not have permissions.",
              name.pos.line);
}

}  // namespace ddl

bool RunAlterTable(sqlite3* db, Catalog& catalog, const ast::AlterTable& stmt,
                   Diagnostics* diags) {
  InvalidateOnExit invalidate(catalog);
  Savepoint savepoint(db, diags);
  if (!savepoint.ok()) return false;
  const CatalogTable* table = catalog.FindTable(stmt.table.name);
  if (!table || table->xtype != "U") return NotFoundForAlter(stmt.table, diags);
  bool done = false;
  switch (stmt.action) {
    case ast::AlterTable::Action::kAddColumns:
      done = AddColumns(db, catalog, stmt, diags);
      break;
    case ast::AlterTable::Action::kAlterColumn:
      done = AlterColumn(db, *table, stmt, diags);
      break;
    case ast::AlterTable::Action::kDropColumn:
      done = DropColumns(db, catalog, stmt, diags);
      break;
    case ast::AlterTable::Action::kAddConstraint:
      done = AddConstraints(db, catalog, stmt, diags);
      break;
    case ast::AlterTable::Action::kDropConstraint:
      done = DropConstraints(db, catalog, stmt, diags);
      break;
  }
  return done && savepoint.Release(diags);
}

}  // namespace sqlsim
