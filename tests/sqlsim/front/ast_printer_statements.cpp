// Printed forms of SELECT and the statements.
#include <type_traits>
#include <variant>
#include <vector>

#include "sqlsim/front/ast_printer.h"
#include "sqlsim/front/ast_printer_parts.h"
#include "sqlsim/front/parser.h"

namespace sqlsim::testing {
namespace {

std::string Opt(const ast::ExprPtr& e) { return e ? PrintExpr(*e) : ""; }

std::string Exprs(const char* head, const std::vector<ast::ExprPtr>& list) {
  if (list.empty()) return "";
  std::vector<std::string> printed = {head};
  for (const ast::ExprPtr& e : list) printed.push_back(e ? PrintExpr(*e) : "DEFAULT");
  return "(" + Join(printed, " ") + ")";
}

std::string Item(const ast::SelectItem& item) {
  if (item.star) return item.star_qualifier.empty() ? "*" : item.star_qualifier + ".*";
  if (!item.assign_to.empty()) return List({"set", item.assign_to, PrintExpr(*item.expr)});
  if (!item.alias.empty()) return List({"as", PrintExpr(*item.expr), Parts({item.alias})});
  return PrintExpr(*item.expr);
}

std::string Table(const ast::TableRef& ref) {
  std::string hints;
  if (!ref.hints.empty()) hints = "hints(" + Join(ref.hints, " ") + ")";
  const std::string alias = ref.alias.empty() ? "" : "as " + Parts({ref.alias});
  if (ref.derived) return List({"derived", PrintSelect(*ref.derived), alias});
  if (alias.empty() && hints.empty()) return Name(ref.name);
  return List({"tbl", Name(ref.name), alias, hints});
}

std::string JoinType(ast::JoinType type) {
  switch (type) {
    case ast::JoinType::kInner: return "inner-join";
    case ast::JoinType::kLeft: return "left-join";
    case ast::JoinType::kRight: return "right-join";
    case ast::JoinType::kFull: return "full-join";
    case ast::JoinType::kCross: return "cross-join";
  }
  return "?";
}

std::string From(const std::vector<ast::FromItem>& from) {
  if (from.empty()) return "";
  std::vector<std::string> printed = {"from"};
  for (const ast::FromItem& item : from) {
    std::string table = Table(item.table);
    for (const ast::Join& join : item.joins) {
      table = List({JoinType(join.type), table, Table(join.table), Opt(join.on)});
    }
    printed.push_back(table);
  }
  return "(" + Join(printed, " ") + ")";
}

std::string Where(const ast::ExprPtr& where, const std::string& current_of) {
  if (!current_of.empty()) return "(current-of " + current_of + ")";
  return where ? List({"where", PrintExpr(*where)}) : "";
}

std::string Top(const ast::ExprPtr& top, bool percent) {
  return top ? List({"top", PrintExpr(*top), percent ? "percent" : ""}) : "";
}

std::string OrderBy(const std::vector<ast::OrderItem>& order) {
  if (order.empty()) return "";
  std::vector<std::string> printed = {"order"};
  for (const ast::OrderItem& o : order) {
    printed.push_back(o.descending ? List({"desc", PrintExpr(*o.expr)}) : PrintExpr(*o.expr));
  }
  return "(" + Join(printed, " ") + ")";
}

std::string Execute(const ast::Execute& e) {
  std::vector<std::string> printed = {"exec"};
  if (!e.status_variable.empty()) printed.push_back(e.status_variable + " =");
  printed.push_back(Name(e.procedure));
  for (const ast::ExecuteArg& arg : e.args) {
    std::string value = arg.value ? PrintExpr(*arg.value) : "DEFAULT";
    if (!arg.name.empty()) value = arg.name + "=" + value;
    if (arg.output) value += " OUTPUT";
    printed.push_back(value);
  }
  return "(" + Join(printed, " ") + ")";
}

}  // namespace

namespace {

std::string Core(const ast::Select& s, bool with_order) {
  std::vector<std::string> items;
  for (const ast::SelectItem& item : s.items) items.push_back(Item(item));
  return List({"select", s.distinct ? "distinct" : "", Top(s.top, s.top_percent),
               Join(items, " "), s.into.name.empty() ? "" : "(into " + Name(s.into) + ")",
               From(s.from), s.where ? List({"where", PrintExpr(*s.where)}) : "",
               Exprs("group", s.group_by), s.having ? List({"having", PrintExpr(*s.having)}) : "",
               with_order ? OrderBy(s.order_by) : ""});
}

std::string Chain(const ast::Select& s) {
  if (!s.union_next) return Core(s, false);
  return List({s.union_all ? "union-all" : "union", Core(s, false), Chain(*s.union_next)});
}

std::string ColumnDef(const ast::ColumnDef& c) {
  std::string identity;
  if (c.identity) {
    identity = "identity(" + std::to_string(c.identity_seed) + "," +
               std::to_string(c.identity_increment) + ")";
  }
  std::string key;
  if (c.primary_key || c.unique) {
    key = List({c.primary_key ? "pk" : "unique", c.key_name, c.key_clustered ? "clustered" : "",
                c.key_nonclustered ? "nonclustered" : ""});
  }
  std::string default_value;
  if (c.default_value) default_value = List({"default", c.default_name, PrintExpr(*c.default_value)});
  return List({"col", Parts({c.name}), Type(c.type), c.not_null ? "not-null" : "",
               c.null_written ? "null" : "", default_value, identity, key,
               c.collation.empty() ? "" : "collate " + c.collation});
}

std::string IndexColumns(const std::vector<ast::IndexColumn>& columns) {
  std::vector<std::string> printed;
  for (const ast::IndexColumn& c : columns) printed.push_back(Parts({c.name}) + (c.descending ? " desc" : ""));
  return "(" + Join(printed, " ") + ")";
}

std::string Constraint(const ast::TableConstraint& k) {
  return List({k.kind == ast::TableConstraint::Kind::kPrimaryKey ? "pk" : "unique", k.name,
               k.clustered ? "clustered" : "", k.nonclustered ? "nonclustered" : "",
               IndexColumns(k.columns)});
}

std::string Definitions(const std::vector<ast::ColumnDef>& columns,
                        const std::vector<ast::TableConstraint>& constraints) {
  std::vector<std::string> printed;
  for (const ast::ColumnDef& c : columns) printed.push_back(ColumnDef(c));
  for (const ast::TableConstraint& k : constraints) printed.push_back(Constraint(k));
  return Join(printed, " ");
}

std::string ObjectKind(ast::ObjectKind kind) {
  switch (kind) {
    case ast::ObjectKind::kTable: return "table";
    case ast::ObjectKind::kIndex: return "index";
    case ast::ObjectKind::kView: return "view";
    case ast::ObjectKind::kProcedure: return "procedure";
    case ast::ObjectKind::kFunction: return "function";
    case ast::ObjectKind::kTrigger: return "trigger";
    case ast::ObjectKind::kDatabase: return "database";
  }
  return "?";
}

std::string AlterAction(ast::AlterTable::Action action) {
  switch (action) {
    case ast::AlterTable::Action::kAddColumns: return "add";
    case ast::AlterTable::Action::kAlterColumn: return "alter-column";
    case ast::AlterTable::Action::kDropColumn: return "drop-column";
    case ast::AlterTable::Action::kAddConstraint: return "add-constraint";
    case ast::AlterTable::Action::kDropConstraint: return "drop-constraint";
  }
  return "?";
}

struct StatementPrinter {
  std::string operator()(const ast::Select& s) const { return PrintSelect(s); }
  std::string operator()(const ast::Insert& i) const {
    std::string columns;
    std::vector<std::string> names;
    for (const std::string& c : i.columns) names.push_back(Parts({c}));
    if (!names.empty()) columns = "(cols " + Join(names, " ") + ")";
    std::string rows;
    for (const auto& row : i.values) rows += (rows.empty() ? "" : " ") + Exprs("row", row);
    return List({"insert", Name(i.table), columns, rows.empty() ? "" : "(values " + rows + ")",
                 i.select ? PrintSelect(*i.select) : "", i.default_values ? "default-values" : "",
                 i.execute ? Execute(*i.execute) : ""});
  }
  std::string operator()(const ast::Update& u) const {
    std::vector<std::string> set = {"set"};
    for (const ast::Assignment& a : u.set) {
      set.push_back(List({"=", Parts(a.column), a.value ? PrintExpr(*a.value) : "DEFAULT"}));
    }
    return List({"update", Top(u.top, false), Table(u.table), "(" + Join(set, " ") + ")",
                 From(u.from), Where(u.where, u.current_of)});
  }
  std::string operator()(const ast::Delete& d) const {
    return List({"delete", Top(d.top, false), Table(d.table), From(d.from),
                 Where(d.where, d.current_of)});
  }
  std::string operator()(const ast::CreateTable& c) const {
    return List({"create-table", Name(c.table), Definitions(c.columns, c.constraints)});
  }
  std::string operator()(const ast::CreateIndex& c) const {
    std::vector<std::string> options;
    for (const ast::IndexOption& o : c.options) options.push_back(o.name + "=" + o.value);
    return List({"create-index", c.unique ? "unique" : "", c.clustered ? "clustered" : "",
                 c.nonclustered ? "nonclustered" : "", Parts({c.name}), Name(c.table),
                 IndexColumns(c.columns), options.empty() ? "" : "(with " + Join(options, " ") + ")"});
  }
  std::string operator()(const ast::AlterTable& a) const {
    return List({"alter-table", Name(a.table), AlterAction(a.action),
                 Definitions(a.columns, a.constraints), Join(a.names, " ")});
  }
  std::string operator()(const ast::DropObjects& d) const {
    std::vector<std::string> names;
    for (size_t i = 0; i < d.names.size(); ++i) {
      names.push_back(d.kind == ast::ObjectKind::kIndex ? Name(d.tables[i]) + ":" + Name(d.names[i])
                                                        : Name(d.names[i]));
    }
    return List({"drop", ObjectKind(d.kind), d.if_exists ? "if-exists" : "", Join(names, " ")});
  }
  std::string operator()(const ast::CreateDatabase& c) const { return List({"create-database", c.name}); }
  std::string operator()(const ast::UseDatabase& u) const { return List({"use", u.name}); }
  std::string operator()(const ast::Execute& e) const { return Execute(e); }
  std::string operator()(const ast::SetOption& s) const {
    return List({"set-option", s.option, s.table.name.empty() ? "" : Name(s.table), s.value});
  }
  std::string operator()(const ast::Transaction& t) const {
    static const char* const kNames[] = {"begin-tran", "commit", "rollback", "save-tran"};
    return List({kNames[static_cast<int>(t.kind)], t.name});
  }
  template <typename T>
  std::string operator()(const T& node) const { return PrintProcedural(node); }
};

}  // namespace

std::string PrintSelect(const ast::Select& s) {
  if (s.order_by.empty() || !s.union_next) return s.union_next ? Chain(s) : Core(s, true);
  return List({Chain(s), OrderBy(s.order_by)});
}

std::string PrintStatement(const ast::Statement& statement) {
  return std::visit(StatementPrinter{}, statement.body);
}

std::string PrintBatch(const ast::Batch& batch) {
  std::vector<std::string> printed;
  for (const ast::Statement& statement : batch.statements) printed.push_back(PrintStatement(statement));
  return Join(printed, "\n");
}

std::string ParseAndPrint(std::string_view text) {
  ParseOutcome outcome = ParseBatch(text);
  if (!outcome.ok()) {
    const Diagnostic& error = outcome.errors.front();
    return "error " + std::to_string(error.native) + " line " + std::to_string(error.line) +
           ": " + error.message;
  }
  return PrintBatch(outcome.batch);
}

}  // namespace sqlsim::testing
