// What procedural statements add to expressions: variables, user functions,
// UPDATE(column) and INSERTED/DELETED in triggers, WHERE CURRENT OF, and the
// one-row SELECTs that assignments and conditions are evaluated as.
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {


std::string TypeArg(SqlType type) { return QuoteText(std::string(CanonicalTypeName(type))); }

// The value converted to a variable's type, as SET and SELECT @v = store it:
// text is cut or padded silently, numbers and dates convert or fail.
std::string ConvertTo(const SqlExpr& value, const VariableType& target) {
  if (target.type == SqlType::kUnknown) return value.sql;
  return "tsql_convert(" + value.sql + ", " + TypeArg(value.type) + ", " + TypeArg(target.type) + ", " +
         std::to_string(target.AssignedLength()) + ", -1)";
}

const VariableType* DeclaredVariable(const ProgramScope* scope, const std::string& name) {
  if (!scope) return nullptr;
  auto it = scope->variables.find(name);
  return it == scope->variables.end() ? nullptr : &it->second;
}

}  // namespace

SqlExpr Translator::Variable(const ast::Expr& e) {
  std::string name = ddl::FoldName(e.text);
  std::optional<VariableType> type = GlobalVariableType(name);
  if (!type && out_->scope) {
    auto it = out_->scope->variables.find(name);
    if (it != out_->scope->variables.end()) type = it->second;
  }
  if (!type) Fail(137, "Must declare the scalar variable \"" + e.text + "\".", e.pos);
  if (row_variables_.count(name)) return {"tsql_getvar(" + QuoteText(name) + ")", type->type, type->length};
  out_->param_map.push_back({ParamSource::Kind::kVariable, -1, name});
  if (name == "@@identity" || name == "scope_identity()") return IdentityValue("?");
  SqlExpr value("?", type->type, type->length);
  if (type->type == SqlType::kDecimal && type->precision > 0) {
    value.precision = type->precision;
    value.scale = type->length;
  }
  return value;
}

SqlExpr Translator::AssignedItem(const ast::SelectItem& item) {
  if (scopes_.size() != 1) Fail(141, "A SELECT statement that assigns a value to a variable must not be combined with data-retrieval operations.", item.pos);
  std::string name = ddl::FoldName(item.assign_to);
  const VariableType* target = DeclaredVariable(out_->scope, name);
  if (!target) Fail(137, "Must declare the scalar variable \"" + item.assign_to + "\".", item.pos);
  SqlExpr value = Expr(*item.expr);
  out_->assignments.push_back(name);
  return {ConvertTo(value, *target), target->type, target->length};
}

void Translator::Assign(const std::string& variable, const std::string& op, const ast::Expr& value) {
  std::string name = ddl::FoldName(variable);
  const VariableType* target = DeclaredVariable(out_->scope, name);
  if (!target) Fail(137, "Must declare the scalar variable \"" + variable + "\".", value.pos);
  scopes_.emplace_back();
  SqlExpr v = Expr(value);
  if (!op.empty()) {
    // SET @v += x is SET @v = @v + x.
    ast::Expr self;
    self.kind = ast::ExprKind::kVariable;
    self.text = variable;
    self.pos = value.pos;
    SqlExpr current = Expr(self);
    std::string function = op == "+" ? "tsql_add" : op == "-" ? "tsql_sub" : op == "*" ? "tsql_mul" : "tsql_div";
    if (op == "+" && IsTextType(current.type)) {
      v = {"(" + current.sql + " || " + v.sql + ")", current.type, current.length};
    } else {
      v = {function + "(" + current.sql + ", " + v.sql + ")", current.type, current.length};
    }
  }
  scopes_.pop_back();
  out_->assignments = {name};
  out_->sqlite_sql = "SELECT " + ConvertTo(v, *target);
  out_->writes = false;
  out_->counts_rows = false;
}

void Translator::Values(const std::vector<const ast::Expr*>& values,
                        const std::vector<VariableType>& targets) {
  scopes_.emplace_back();
  std::string sql = "SELECT ";
  for (size_t i = 0; i < values.size(); ++i) {
    if (i) sql += ", ";
    SqlExpr v = values[i] ? Expr(*values[i]) : SqlExpr("NULL");
    sql += i < targets.size() ? ConvertTo(v, targets[i]) : v.sql;
  }
  if (values.empty()) sql += "NULL";
  scopes_.pop_back();
  out_->sqlite_sql = sql;
  out_->writes = false;
  out_->counts_rows = false;
}

void Translator::Condition(const ast::Expr& condition) {
  scopes_.emplace_back();
  out_->sqlite_sql = "SELECT (" + Expr(condition).sql + ")";
  scopes_.pop_back();
  out_->writes = false;
  out_->counts_rows = false;
}

void Translator::CursorSelect(const ast::Select& select, bool* has_rowid) {
  Select(select);
  *has_rowid = false;
  bool one_table = select.from.size() == 1 && select.from[0].joins.empty() && !select.from[0].table.derived &&
                   !select.from[0].table.joined &&
                   !select.distinct && select.group_by.empty() && !select.union_next;
  if (!one_table) return;
  const ast::TableRef& ref = select.from[0].table;
  const CatalogTable* table = FindTable(ref.name);
  if (!table || table->xtype != "U") return;
  // The rowid goes in right after the select list: "SELECT <items> FROM".
  // The name as written: a table variable's table is known to SQLite by it.
  std::string qualifier = QuoteName(ref.alias.empty() ? ref.name.name : ref.alias);
  std::string& sql = out_->sqlite_sql;
  size_t from = sql.find(" FROM ");
  if (from == std::string::npos) return;
  sql.insert(from, ", " + qualifier + ".rowid AS " + QuoteName(kCursorRowidColumn));
  *has_rowid = true;
}

SqlExpr Translator::UserFunction(const ast::Expr& e) {
  std::optional<CatalogModule> module = session_.catalog().FindModule(e.function);
  if (!module || module->xtype != "FN") {
    Fail(4121, "Cannot find either column \"dbo\" or the user-defined function or aggregate \"dbo." +
                   e.function + "\", or the name is ambiguous.", e.pos);
  }
  const CompiledModule* compiled = session_.procedures().Find(*module, nullptr);
  std::string sql = "tsql_udf(" + QuoteText(module->name);
  for (const ast::ExprPtr& arg : e.args) sql += ", " + Expr(*arg).sql;
  sql += ")";
  SqlExpr result{sql};
  if (compiled) {
    result.type = compiled->returns.type;
    result.length = compiled->returns.length;
  }
  return result;
}

SqlExpr Translator::ColumnUpdated(const ast::Expr& e) {
  if (!out_->scope || out_->scope->trigger_table.empty()) {
    Fail(8187, "UPDATE() function can only be used inside a trigger.", e.pos);
  }
  if (e.args.size() != 1 || e.args[0]->kind != ast::ExprKind::kColumn) {
    Fail(102, "Incorrect syntax near 'UPDATE'.", e.pos);
  }
  out_->param_map.push_back({ParamSource::Kind::kUpdated, -1, ddl::FoldName(e.args[0]->parts.back())});
  return {"?", SqlType::kBit};
}

const CatalogTable* Translator::TriggerTable(const ast::ObjectName& name, std::string* sqlite_name) {
  if (!out_->scope || out_->scope->trigger_table.empty() || !name.schema.empty()) return nullptr;
  std::string lower = ddl::FoldName(name.name);
  if (lower != "inserted" && lower != "deleted") return nullptr;
  const CatalogTable* table = session_.catalog().FindTable(out_->scope->trigger_table);
  if (!table) return nullptr;
  *sqlite_name = TriggerRowsTable(lower == "inserted", out_->scope->trigger_id);
  return table;
}

std::string Translator::CurrentOf(const std::string& cursor) {
  out_->param_map.push_back({ParamSource::Kind::kCursorRow, -1, ddl::FoldName(cursor)});
  return "rowid = ?";
}

namespace {

void CollectVariables(const ast::Expr& e, std::set<std::string>* names, int depth = 0) {
  if (depth > 200) return;
  if (e.kind == ast::ExprKind::kVariable) names->insert(ddl::FoldName(e.text));
  for (const ast::ExprPtr& arg : e.args) {
    if (arg) CollectVariables(*arg, names, depth + 1);
  }
}

}  // namespace

bool Translator::RowWiseAssignment(const ast::Select& select) {
  std::set<std::string> assigned;
  std::set<std::string> read;
  for (const ast::SelectItem& item : select.items) {
    if (item.assign_to.empty() || !item.expr) return false;
    assigned.insert(ddl::FoldName(item.assign_to));
    CollectVariables(*item.expr, &read);
  }
  bool reads_assigned = false;
  for (const std::string& name : read) reads_assigned = reads_assigned || assigned.count(name) > 0;
  if (!reads_assigned || select.from.size() != 1 || !select.from[0].joins.empty() || select.from[0].table.joined || select.distinct ||
      !select.group_by.empty() || select.having || select.union_next || select.top_percent || !select.into.name.empty()) {
    return false;
  }
  // The rows are read in their order first (a materialized table keeps it);
  // then each row's assignments are made by tsql_setvar, reading the values
  // earlier rows gave through tsql_getvar.
  scopes_.emplace_back();
  std::string inner = "SELECT * FROM " + FromSql(select.from);
  if (select.where) inner += " WHERE " + Expr(*select.where).sql;
  for (size_t i = 0; i < select.order_by.size(); ++i) {
    const ast::OrderItem& item = select.order_by[i];
    SqlExpr e = Expr(*item.expr);
    inner += (i ? ", " : " ORDER BY ") + e.sql;
    if (!e.is_column) inner += std::string(" COLLATE ") + kCollation;
    if (item.descending) inner += " DESC";
  }
  if (select.top) inner += " LIMIT " + Expr(*select.top).sql;
  row_variables_ = assigned;
  std::string items;
  out_->assignments.clear();
  for (const ast::SelectItem& item : select.items) {
    std::string name = ddl::FoldName(item.assign_to);
    const VariableType* target = DeclaredVariable(out_->scope, name);
    if (!target) Fail(137, "Must declare the scalar variable \"" + item.assign_to + "\".", item.pos);
    SqlExpr value = Expr(*item.expr);
    items += (items.empty() ? "" : ", ") + std::string("tsql_setvar(") + QuoteText(name) + ", " +
             ConvertTo(value, *target) + ")";
    out_->assignments.push_back(name);
  }
  row_variables_.clear();
  scopes_.pop_back();
  const ast::TableRef& ref = select.from[0].table;
  std::string alias = ref.alias.empty() ? ref.name.name : ref.alias;
  out_->sqlite_sql = "WITH sqlsim_rows AS MATERIALIZED (" + inner + ") SELECT " + items + " FROM sqlsim_rows AS " +
                     QuoteName(alias);
  out_->writes = false;
  out_->counts_rows = false;
  return true;
}

}  // namespace sqlsim
