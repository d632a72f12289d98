// The OUTPUT clause of INSERT, UPDATE and DELETE, turned into a query over
// the INSERTED and DELETED rows of the statement.
#include <string>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

ast::ExprPtr RowidOf(const char* table, const ast::SourcePos& pos);

// $action of MERGE: which of INSERTED and DELETED hold the row tells.
ast::ExprPtr ActionOfRow(const ast::SourcePos& pos) {
  ast::ExprPtr action = NewExpr(ast::ExprKind::kCase, pos);
  for (auto [side, word] : {std::pair{"deleted", "INSERT"}, std::pair{"inserted", "DELETE"}}) {
    ast::ExprPtr missing = NewExpr(ast::ExprKind::kIsNull, pos);
    missing->args.push_back(RowidOf(side, pos));
    ast::ExprPtr text = NewExpr(ast::ExprKind::kLiteral, pos);
    text->literal_type = ast::LiteralType::kString;
    text->text = word;
    action->args.push_back(std::move(missing));
    action->args.push_back(std::move(text));
  }
  ast::ExprPtr update = NewExpr(ast::ExprKind::kLiteral, pos);
  update->literal_type = ast::LiteralType::kString;
  update->text = "UPDATE";
  action->args.push_back(std::move(update));
  action->has_else = true;
  // The server types it nvarchar(10).
  ast::ExprPtr typed = NewExpr(ast::ExprKind::kCast, pos);
  typed->type.name = "nvarchar";
  typed->type.length = 10;
  typed->type.pos = pos;
  typed->args.push_back(std::move(action));
  return typed;
}

bool AtAction(const Parser& p) {
  return p.AtSymbol("$") && p.Peek(1).kind == TokenKind::kWord && p.AtKeyword("action", 1) &&
         p.Peek(1).pos.offset == p.Peek().pos.offset + 1;
}

ast::SelectItem ParseOutputItem(Parser& p, OutputRows rows) {
  ast::SelectItem item;
  item.pos = p.Peek().pos;
  if (rows == OutputRows::kMerge && AtAction(p)) {
    p.Take();
    p.Take();
    item.expr = ActionOfRow(item.pos);
    item.alias = "$action";
    if (p.AcceptKeyword("AS")) {
      item.alias = p.Peek().kind == TokenKind::kString ? p.Take().text : p.ExpectName();
    } else if (p.AtName() && !p.AtKeyword("INTO")) {
      item.alias = p.Take().text;
    }
    return item;
  }
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
  do select->items.push_back(ParseOutputItem(p, rows)); while (p.AcceptSymbol(","));
  if (rows == OutputRows::kMerge) {
    // A MERGE's rows: inserted only, deleted only, or both for an update.
    select->from.push_back(RowsOf("inserted", pos));
    ast::Join join;
    join.type = ast::JoinType::kFull;
    join.table = std::move(RowsOf("deleted", pos).table);
    join.on = NewExpr(ast::ExprKind::kBinary, pos);
    join.on->op = "=";
    join.on->args.push_back(RowidOf("inserted", pos));
    join.on->args.push_back(RowidOf("deleted", pos));
    select->from.back().joins.push_back(std::move(join));
  }
  if (rows == OutputRows::kInserted || rows == OutputRows::kBoth) select->from.push_back(RowsOf("inserted", pos));
  if (rows == OutputRows::kDeleted || rows == OutputRows::kBoth) select->from.push_back(RowsOf("deleted", pos));
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
