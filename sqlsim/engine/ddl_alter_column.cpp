// ALTER TABLE ... ALTER COLUMN: the table made again with the column's new
// declaration, each value converted; rows that do not fit stop it.
#include <string>
#include <vector>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_alter.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/types.h"

namespace sqlsim::ddl {
namespace {

bool Truncated(Diagnostics* diags) {
  return Fail(diags, 8152, "String or binary data would be truncated.");
}

bool AnyRow(sqlite3* db, const std::string& sql, bool* found, std::string* value,
            Diagnostics* diags) {
  Query query(db, sql);
  *found = query.Next();
  if (*found && value) *value = query.Text(0);
  return query.Ok(diags);
}

// Rows whose value would not survive the new type: too long for the new
// length (trailing blanks aside), out of the new integer range.
bool CheckFit(sqlite3* db, const CatalogTable& table, const CatalogColumn& old,
              const ColumnSpec& spec, Diagnostics* diags) {
  std::string column = QuoteId(old.name);
  std::string from = " FROM " + QuoteId(table.name) + " WHERE ";
  bool found = false;
  std::string value;
  std::string length = std::to_string(spec.length);
  if (IsTextType(old.type) && IsTextType(spec.type) && spec.type != SqlType::kText &&
      spec.length > 0) {
    std::string sql = "SELECT 1" + from + "length(CAST(rtrim(" + column + ", ' ') AS BLOB)) > " +
                      length + " LIMIT 1";
    if (!AnyRow(db, sql, &found, nullptr, diags)) return false;
    return !found || Truncated(diags);
  }
  if (IsBinaryType(old.type) && IsBinaryType(spec.type) && spec.type != SqlType::kImage &&
      spec.length > 0) {
    std::string sql = "SELECT 1" + from + "length(CAST(" + column + " AS BLOB)) > " + length +
                      " LIMIT 1";
    if (!AnyRow(db, sql, &found, nullptr, diags)) return false;
    return !found || Truncated(diags);
  }
  if (!IsIntegerType(old.type) || !IsIntegerType(spec.type) || spec.type == SqlType::kBit) {
    return true;
  }
  std::string range = spec.type == SqlType::kTinyint    ? "0 AND 255"
                      : spec.type == SqlType::kSmallint ? "-32768 AND 32767"
                      : spec.type == SqlType::kInt      ? "-2147483648 AND 2147483647"
                                                        : "";
  if (range.empty()) return true;
  std::string sql = "SELECT " + column + from + column + " NOT BETWEEN " + range + " LIMIT 1";
  if (!AnyRow(db, sql, &found, &value, diags)) return false;
  if (!found) return true;
  return Fail(diags, 220, "Arithmetic overflow error for data type " +
                              std::string(CanonicalTypeName(spec.type)) + ", value = " + value +
                              ".");
}

// The old value in the new column's stored form: by the server's conversion
// function when the connection has it, else cut and padded here.
std::string ConvertSql(sqlite3* db, const CatalogColumn& old, const ColumnSpec& spec) {
  std::string column = QuoteId(old.name);
  if (HasFunction(db, "SELECT tsql_store(NULL, 'int', 'int', 0, '')")) {
    return "tsql_store(" + column + ", " + QuoteText(CanonicalTypeName(old.type)) + ", " +
           QuoteText(CanonicalTypeName(spec.type)) + ", " + std::to_string(StoreLength(spec)) +
           ", " + QuoteText(spec.name) + ")";
  }
  if (!IsTextType(old.type) || !IsTextType(spec.type) || spec.type == SqlType::kText ||
      spec.length == 0) {
    return column;
  }
  std::string length = std::to_string(spec.length);
  std::string cut = "CAST(substr(CAST(" + column + " AS BLOB), 1, " + length + ") AS TEXT)";
  if (spec.type != SqlType::kChar) return cut;
  return "CASE WHEN " + column + " IS NULL THEN NULL ELSE printf('%-*s', " + length + ", " + cut +
         ") END";
}

bool ReplaceColumnRow(sqlite3* db, const CatalogTable& table, const ColumnSpec& spec,
                      Diagnostics* diags) {
  Query remove(db, "DELETE FROM syscolumns WHERE id = ?1 AND colid = ?2");
  if (!remove.Bind(1, table.id).Bind(2, spec.colid).Run(diags)) return false;
  return InsertColumnRow(db, table.id, spec, diags);
}

}  // namespace

bool FindDependents(sqlite3* db, const CatalogTable& table, const CatalogColumn& column,
                    std::vector<Dependent>* out, Diagnostics* diags) {
  Query indexes(db, "SELECT i.name, i.status FROM sysindexkeys AS k JOIN sysindexes AS i "
                    "ON i.id = k.id AND i.indid = k.indid WHERE k.id = ?1 AND k.colid = ?2 "
                    "ORDER BY i.indid");
  indexes.Bind(1, table.id).Bind(2, column.colid);
  while (indexes.Next()) {
    out->push_back({indexes.Text(0), (indexes.Int(1) & kIndexPrimaryKey) != 0, false});
  }
  if (!indexes.Ok(diags)) return false;
  if (column.default_id == 0) return true;
  Query object(db, "SELECT name FROM sysobjects WHERE id = ?1");
  object.Bind(1, column.default_id);
  if (object.Next()) out->push_back({object.Text(0), false, true});
  return object.Ok(diags);
}

bool DependentsFail(const std::vector<Dependent>& dependents, std::string_view action,
                    std::string_view column, Diagnostics* diags) {
  for (const Dependent& dependent : dependents) {
    Fail(diags, 5074, "The object '" + dependent.name + "' is dependent on column '" +
                          std::string(column) + "'.");
  }
  return Fail(diags, 4922, std::string(action) + " " + std::string(column) +
                               " failed because one or more objects access this column.");
}

bool AlterColumn(sqlite3* db, const CatalogTable& table, const ast::AlterTable& stmt,
                 Diagnostics* diags) {
  if (stmt.columns.size() != 1) return Fail(diags, 102, "ALTER COLUMN takes one column.");
  const ast::ColumnDef& def = stmt.columns[0];
  const CatalogColumn* old = table.FindColumn(def.name);
  if (!old) {
    return Fail(diags, 4924, "ALTER TABLE ALTER COLUMN failed because column '" + def.name +
                                 "' does not exist in table '" + table.name + "'.",
                def.pos.line);
  }
  if (old->identity || def.identity) {
    return Fail(diags, 4928, "Cannot alter column '" + old->name + "' because it is 'IDENTITY'.",
                def.pos.line);
  }
  ColumnSpec spec;
  if (!ResolveColumn(def, 1, table.name, &spec, diags)) return false;
  std::vector<Dependent> dependents;
  if (!FindDependents(db, table, *old, &dependents, diags)) return false;
  std::vector<Dependent> blocking;
  for (const Dependent& dependent : dependents) {
    if (dependent.primary_key || (dependent.is_default && spec.type != old->type)) {
      blocking.push_back(dependent);
    }
  }
  if (!blocking.empty()) {
    return DependentsFail(blocking, "ALTER TABLE ALTER COLUMN", old->name, diags);
  }
  std::vector<ColumnSpec> specs;
  if (!LoadColumnSpecs(db, table, &specs, diags)) return false;
  std::vector<RebuildColumn> columns = KeepColumns(specs);
  RebuildColumn* changed = nullptr;
  for (RebuildColumn& column : columns) {
    if (column.spec.colid == old->colid) changed = &column;
  }
  if (!changed) return Fail(diags, 50000, "Column '" + old->name + "' is missing in SQLite.");
  spec.name = old->name;
  spec.colid = old->colid;
  spec.default_id = old->default_id;
  spec.default_sql = changed->spec.default_sql;
  RefitTextDefault(&spec);
  if (!CheckFit(db, table, *old, spec, diags)) return false;
  changed->spec = spec;
  changed->source_sql = ConvertSql(db, *old, spec);
  if (!RebuildTable(db, table, columns, diags)) return false;
  return ReplaceColumnRow(db, table, spec, diags);
}

}  // namespace sqlsim::ddl
