// sp_help: without an argument the objects of the database; with the name
// of a table or view its description, columns, identity, indexes and
// constraints; with a procedure or function its parameters.
#include <algorithm>

#include "sqlsim/engine/catalog_result.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/system_procedures.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

ColumnDesc Text(const char* name, int32_t length = 128) {
  ColumnDesc c;
  c.name = name;
  c.type = SqlType::kVarchar;
  c.length = length;
  return c;
}

ColumnDesc Datetime(const char* name) {
  ColumnDesc c;
  c.name = name;
  c.type = SqlType::kDatetime;
  return c;
}

ColumnDesc Number(const char* name) {
  ColumnDesc c;
  c.name = name;
  c.type = SqlType::kInt;
  return c;
}

void Send(std::vector<ColumnDesc> columns, std::vector<std::vector<Value>> rows, std::vector<Result>* out) {
  Result r;
  r.rows = MakeMaterializedRows(std::move(columns), std::move(rows));
  out->push_back(std::move(r));
}

// A message the server prints instead of an empty result set.
void Note(const std::string& text, std::vector<Result>* out) {
  Result r;
  r.messages.push_back(ServerInfo(0, text));
  out->push_back(std::move(r));
}

// What SQL Server shows of features sqlsim lacks: no row GUID column, and
// one filegroup.
void TableStorage(std::vector<Result>* out) {
  Send({Text("RowGuidCol")}, {{Value::Text("No rowguidcol column defined.")}}, out);
  Send({Text("Data_located_on_filegroup")}, {{Value::Text("PRIMARY")}}, out);
}

std::string ObjectType(std::string xtype) {
  while (!xtype.empty() && xtype.back() == ' ') xtype.pop_back();
  if (xtype == "U") return "user table";
  if (xtype == "V") return "view";
  if (xtype == "S") return "system table";
  if (xtype == "P") return "stored procedure";
  if (xtype == "FN") return "scalar function";
  if (xtype == "TR") return "trigger";
  if (xtype == "PK") return "primary key cns";
  if (xtype == "UQ") return "unique key cns";
  if (xtype == "D") return "default (maybe cns)";
  return "check cns";
}

bool ObjectsList(SessionImpl& session, std::vector<Result>* out, Diagnostics* diags) {
  ddl::Query q(session.db(), "SELECT name, xtype FROM sysobjects");
  std::vector<std::vector<Value>> rows;
  while (q.Next()) {
    std::string type = ObjectType(q.Text(1));
    rows.push_back({Value::Text(q.Text(0)), Value::Text(type == "system table" ? "sys" : "dbo"), Value::Text(type)});
  }
  if (!q.Ok(diags)) return false;
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
    return a[2].bytes != b[2].bytes ? a[2].bytes < b[2].bytes : ddl::FoldName(a[0].bytes) < ddl::FoldName(b[0].bytes);
  });
  Send({Text("Name"), Text("Owner"), Text("Object_type", 31)}, std::move(rows), out);
  return true;
}

Value Nullable(bool nullable) { return Value::Text(nullable ? "yes" : "no"); }

void TableColumns(const CatalogTable& table, std::vector<Result>* out) {
  std::vector<std::vector<Value>> rows;
  for (const CatalogColumn& c : table.columns) {
    bool decimal = c.type == SqlType::kDecimal;
    bool number = decimal || c.type == SqlType::kInt || c.type == SqlType::kSmallint || c.type == SqlType::kTinyint ||
                  c.type == SqlType::kBigint || c.type == SqlType::kFloat || c.type == SqlType::kReal;
    Value precision = number ? Value::Text(std::to_string(c.precision)) : Value::Text("");
    Value scale = decimal || (number && c.type != SqlType::kFloat && c.type != SqlType::kReal)
                      ? Value::Text(std::to_string(c.scale))
                      : Value::Text("");
    rows.push_back({Value::Text(c.name), Value::Text(std::string(CanonicalTypeName(c.type))), Value::Text("no"),
                    Value::Integer(c.length == 0 ? -1 : c.length), precision, scale, Nullable(c.nullable),
                    Value::Text("no"), Value::Text("no"), Value::Null()});
  }
  Send({Text("Column_name"), Text("Type"), Text("Computed", 35), Number("Length"), Text("Prec", 5), Text("Scale", 5),
        Text("Nullable", 35), Text("TrimTrailingBlanks", 35), Text("FixedLenNullInSource", 35), Text("Collation")},
       std::move(rows), out);
}

void IdentityOf(const CatalogTable& table, std::vector<Result>* out) {
  std::vector<std::vector<Value>> rows;
  for (const CatalogColumn& c : table.columns) {
    if (c.identity) {
      rows.push_back({Value::Text(c.name), Value::Integer(c.identity_seed), Value::Integer(c.identity_increment),
                      Value::Integer(0)});
    }
  }
  if (rows.empty()) {
    rows.push_back({Value::Text("No identity column defined."), Value::Null(), Value::Null(), Value::Null()});
  }
  Send({Text("Identity"), Number("Seed"), Number("Increment"), Number("Not For Replication")}, std::move(rows), out);
}

std::string Keys(const CatalogIndex& index) {
  std::string keys;
  for (const std::string& c : index.columns) keys += (keys.empty() ? "" : ", ") + c;
  return keys;
}

bool IndexesAndConstraints(SessionImpl& session, const CatalogTable& table, std::vector<Result>* out,
                           Diagnostics* diags) {
  std::vector<CatalogIndex> indexes;
  if (!LoadIndexes(session, table.id, &indexes, diags)) return false;
  std::vector<std::vector<Value>> index_rows, constraint_rows;
  for (const CatalogIndex& index : indexes) {
    std::string description = index.indid == 1 ? "clustered" : "nonclustered";
    if (index.unique()) description += ", unique";
    if (index.status & kIndexPrimaryKey) description += ", primary key";
    if (index.status & kIndexUniqueConstraint) description += ", unique key";
    description += " located on PRIMARY";
    index_rows.push_back({Value::Text(index.name), Value::Text(description), Value::Text(Keys(index))});
    if (index.status & (kIndexPrimaryKey | kIndexUniqueConstraint)) {
      std::string type = index.status & kIndexPrimaryKey ? "PRIMARY KEY" : "UNIQUE";
      constraint_rows.push_back({Value::Text(type + (index.indid == 1 ? " (clustered)" : " (non-clustered)")),
                                 Value::Text(index.name), Value::Text("(n/a)"), Value::Text("(n/a)"),
                                 Value::Text("(n/a)"), Value::Text("(n/a)"), Value::Text(Keys(index))});
    }
  }
  if (index_rows.empty()) {
    Note("The object '" + table.name + "' does not have any indexes, or you do not have permissions.", out);
  } else {
    Send({Text("index_name"), Text("index_description", 210), Text("index_keys", 2126)}, std::move(index_rows), out);
  }
  if (constraint_rows.empty()) {
    Note("No constraints are defined on object '" + table.name + "', or you do not have permissions.", out);
  } else {
    Send({Text("constraint_type", 146), Text("constraint_name"), Text("delete_action", 9), Text("update_action", 9),
          Text("status_enabled", 8), Text("status_for_replication", 19), Text("constraint_keys", 2126)},
         std::move(constraint_rows), out);
  }
  // sqlsim has no foreign keys.
  Note("No foreign keys reference table '" + table.name + "', or you do not have permissions.", out);
  return true;
}

bool Parameters(SessionImpl& session, const CatalogModule& found, std::vector<Result>* out, Diagnostics* diags) {
  CompiledModule* module = session.procedures().Find(found, diags);
  if (!module) return false;
  std::vector<std::vector<Value>> rows;
  const auto& declared = module->node->parameters;
  for (size_t i = 0; i < module->parameters.size() && i < declared.size(); ++i) {
    // As the server's sys.parameters has them: the length in bytes, the
    // precision and scale as ODBC gives them.
    const ast::TypeName& type = declared[i].type;
    SqlType sql_type = SqlTypeOf(type);
    CatalogTypeColumns odbc = TypeColumnsOfDeclared(type, true);
    int32_t length = CatalogLength(sql_type, sql_type == SqlType::kDecimal ? ast::TypeName::kNone : type.length);
    rows.push_back({Value::Text(module->parameters[i].written_name),
                    Value::Text(std::string(CanonicalTypeName(sql_type))), Value::Integer(length),
                    OptionalInt(odbc.column_size), OptionalInt(odbc.decimal_digits),
                    Value::Integer(static_cast<int64_t>(i + 1)), Value::Null()});
  }
  if (!rows.empty()) {
    Send({Text("Parameter_name"), Text("Type"), Number("Length"), Number("Prec"), Number("Scale"),
          Number("Param_order"), Text("Collation")},
         std::move(rows), out);
  }
  return true;
}

}  // namespace

bool RunSpHelp(SessionImpl& session, const SystemArguments& args, std::vector<Result>* out, Diagnostics* diags) {
  session.RefreshCatalog();
  if (args.empty() || !args[0] || args[0]->IsNull()) return ObjectsList(session, out, diags);
  const std::string& name = args[0]->bytes;
  ddl::Query q(session.db(), "SELECT name, xtype, crdate FROM sysobjects WHERE name = ?1 COLLATE NOCASE");
  q.Bind(1, name);
  if (!q.Next()) {
    diags->push_back(ServerError(15009, "The object '" + name + "' does not exist in database '" +
                                            session.CurrentDatabase() + "' or is invalid for this operation."));
    return false;
  }
  std::string type = ObjectType(q.Text(1));
  Send({Text("Name"), Text("Owner"), Text("Type", 31), Datetime("Created_datetime")},
       {{Value::Text(q.Text(0)), Value::Text(type == "system table" ? "sys" : "dbo"), Value::Text(type),
         Value::Text(q.Text(2))}},
       out);
  if (const CatalogTable* table = session.catalog().FindTable(name)) {
    TableColumns(*table, out);
    IdentityOf(*table, out);
    if (table->xtype == "U") TableStorage(out);
    return IndexesAndConstraints(session, *table, out, diags);
  }
  if (std::optional<CatalogModule> module = session.catalog().FindModule(name)) {
    if (module->xtype == "P" || module->xtype == "FN") return Parameters(session, *module, out, diags);
  }
  return true;
}

}  // namespace sqlsim
