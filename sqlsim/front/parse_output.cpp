// The OUTPUT clause of INSERT, UPDATE and DELETE, turned into a query over
// the INSERTED and DELETED rows of the statement.
#include <string>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

ast::SelectItem ParseOutputItem(Parser& p) {
  ast::SelectItem item;
  item.pos = p.Peek().pos;
  if (p.AtName() && p.AtSymbol(".", 1) && p.AtSymbol("*", 2)) {
    item.star = true;
    item.star_qualifier = p.Take().text;
    p.Take();
    p.Take();
    return item;
  }
  item.expr = ParseExpr(p);
  if (p.AcceptKeyword("AS")) {
    item.alias = p.Peek().kind == TokenKind::kString ? p.Take().text : p.ExpectName();
  } else if (p.AtName() && !p.AtKeyword("INTO")) {
    item.alias = p.Take().text;
  }
  return item;
}

ast::FromItem RowsOf(const char* name, const ast::SourcePos& pos) {
  ast::FromItem item;
  item.table.name.name = name;
  item.table.name.pos = pos;
  item.table.pos = pos;
  return item;
}

ast::ExprPtr RowidOf(const char* table, const ast::SourcePos& pos) {
  ast::ExprPtr column = NewExpr(ast::ExprKind::kColumn, pos);
  column->parts = {table, "rowid"};
  return column;
}

}  // namespace

std::unique_ptr<ast::OutputClause> ParseOutputClause(Parser& p, OutputRows rows) {
  if (!p.AtKeyword("OUTPUT")) return nullptr;
  const ast::SourcePos pos = p.Take().pos;
  auto select = std::make_unique<ast::Select>();
  select->pos = pos;
  do select->items.push_back(ParseOutputItem(p)); while (p.AcceptSymbol(","));
  if (rows != OutputRows::kDeleted) select->from.push_back(RowsOf("inserted", pos));
  if (rows != OutputRows::kInserted) select->from.push_back(RowsOf("deleted", pos));
  if (rows == OutputRows::kBoth) {
    // Both capture tables hold an UPDATE's rows in the same order.
    select->where = NewExpr(ast::ExprKind::kBinary, pos);
    select->where->op = "=";
    select->where->args.push_back(RowidOf("inserted", pos));
    select->where->args.push_back(RowidOf("deleted", pos));
  }
  auto output = std::make_unique<ast::OutputClause>();
  if (!p.AcceptKeyword("INTO")) {
    output->rows = std::move(select);
    return output;
  }
  output->into = std::make_unique<ast::Insert>();
  output->into->table = p.ParseObjectName();
  if (p.AcceptSymbol("(")) {
    do output->into->columns.push_back(p.ExpectName()); while (p.AcceptSymbol(","));
    p.ExpectSymbol(")");
  }
  output->into->select = std::move(select);
  return output;
}

}  // namespace sqlsim::front
