// Data changes through a view: the statement is written against the view's
// base table, with the view's column names mapped to the base columns.
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/information_schema.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/view.h"

namespace sqlsim {
namespace {

// Deep enough for any expression written by hand; deeper ones are refused
// rather than risking the stack.
constexpr int kMaxRenameDepth = 500;

[[noreturn]] void NotUpdatable(int32_t problem, const std::string& view,
                               const ast::SourcePos& pos) {
  if (problem == 4403) {
    Fail(4403, "Cannot update the view or function '" + view + "' because it contains "
               "aggregates, or a DISTINCT or GROUP BY clause, or PIVOT or UNPIVOT operator.", pos);
  }
  Fail(4405, "View or function '" + view + "' is not updatable because the modification "
             "affects multiple base tables.", pos);
}

ast::ExprPtr Rename(const ast::Expr& e, const ModifyTarget& target, const std::string& qualifier,
                    int depth) {
  if (depth > kMaxRenameDepth) {
    Fail(191, "Some part of your SQL statement is nested too deeply. Rewrite the query or "
              "break it up into smaller queries.", e.pos);
  }
  if (e.subquery) {
    Fail(4406, "Update or insert of view or function '" + target.view->name +
                   "' failed because it contains a derived or constant field.", e.pos);
  }
  auto copy = std::make_unique<ast::Expr>();
  copy->kind = e.kind;
  copy->pos = e.pos;
  copy->literal_type = e.literal_type;
  copy->national = e.national;
  copy->text = e.text;
  copy->parts = e.parts;
  copy->param_index = e.param_index;
  copy->op = e.op;
  copy->function = e.function;
  copy->distinct = e.distinct;
  copy->star = e.star;
  copy->negated = e.negated;
  copy->is_convert = e.is_convert;
  copy->has_operand = e.has_operand;
  copy->has_else = e.has_else;
  copy->type = e.type;
  for (const ast::ExprPtr& arg : e.args) {
    copy->args.push_back(arg ? Rename(*arg, target, qualifier, depth + 1) : nullptr);
  }
  if (e.kind == ast::ExprKind::kColumn && !e.parts.empty()) {
    bool ours = e.parts.size() == 1 || ddl::SameName(e.parts[e.parts.size() - 2], qualifier);
    const CatalogColumn* column = ours ? target.view->FindColumn(e.parts.back()) : nullptr;
    if (column && !column->base_column.empty()) copy->parts.back() = column->base_column;
  }
  return copy;
}

}  // namespace

const CatalogColumn* ModifyTarget::Column(const std::string& name,
                                          const ast::SourcePos& pos) const {
  std::string base_name = name;
  if (view) {
    const CatalogColumn* shown = view->FindColumn(name);
    if (!shown) Fail(207, "Invalid column name '" + name + "'.", pos);
    if (shown->base_column.empty()) {
      Fail(4406, "Update or insert of view or function '" + view->name +
                     "' failed because it contains a derived or constant field.", pos);
    }
    base_name = shown->base_column;
  }
  const CatalogColumn* column = table->FindColumn(base_name);
  if (!column) Fail(207, "Invalid column name '" + base_name + "'.", pos);
  return column;
}

bool ModifyTarget::Renames() const {
  if (!view) return false;
  for (const CatalogColumn& column : view->columns) {
    if (!column.base_column.empty() && !ddl::SameName(column.name, column.base_column)) return true;
  }
  return false;
}

ModifyTarget ResolveModifyTarget(Catalog& catalog, const CatalogTable* found,
                                 const ast::ObjectName& name) {
  if (!found) Fail(208, "Invalid object name '" + name.name + "'.", name.pos);
  if (IdentifiersEqual(name.schema, std::string(kInformationSchema))) {
    Fail(259, "Ad hoc updates to system catalogs are not allowed.", name.pos);
  }
  ModifyTarget target;
  target.table = found;
  if (found->xtype != "V") return target;
  target.view = found;
  if (found->view_base.empty()) NotUpdatable(found->view_problem, found->name, name.pos);
  target.table = catalog.FindTable(found->view_base);
  if (!target.table) Fail(208, "Invalid object name '" + found->view_base + "'.", name.pos);
  return target;
}

ast::ExprPtr RenameViewColumns(const ast::Expr& e, const ModifyTarget& target,
                               const std::string& qualifier) {
  return Rename(e, target, qualifier, 0);
}

}  // namespace sqlsim
