// INSERT, UPDATE, DELETE.
#include <memory>
#include <string>
#include <utility>

#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

// TOP (n) of UPDATE and DELETE: parentheses required, no PERCENT kept.
ast::ExprPtr ParseChangeTop(Parser& p) {
  if (!p.AcceptKeyword("TOP")) return nullptr;
  bool percent = false;
  ast::ExprPtr top = ParseTop(p, false, &percent);
  if (percent) p.FailAtCurrent();
  return top;
}

std::vector<ast::ExprPtr> ParseValuesRow(Parser& p) {
  std::vector<ast::ExprPtr> row;
  p.ExpectSymbol("(");
  do {
    row.push_back(p.AcceptKeyword("DEFAULT") ? nullptr : ParseExpr(p));
  } while (p.AcceptSymbol(","));
  p.ExpectSymbol(")");
  return row;
}

void ParseInsertSource(Parser& p, ast::Insert* insert) {
  if (p.AcceptKeyword("VALUES")) {
    do insert->values.push_back(ParseValuesRow(p)); while (p.AcceptSymbol(","));
  } else if (p.AtKeyword("DEFAULT") && p.AtKeyword("VALUES", 1)) {
    p.Take();
    p.Take();
    insert->default_values = true;
  } else if (AtQueryStart(p)) {
    insert->select = ParseQuery(p);
  } else if (p.AcceptKeyword("EXEC") || p.AcceptKeyword("EXECUTE")) {
    insert->execute = std::make_unique<ast::Execute>(ParseExecuteBody(p));
  } else {
    p.FailAtCurrent();
  }
}

}  // namespace

ast::Assignment ParseAssignment(Parser& p) {
  ast::Assignment assignment;
  if (p.Peek().kind == TokenKind::kVariable) {
    assignment.variable = true;
    assignment.column.push_back(p.Take().text);
    p.ExpectSymbol("=");
    assignment.value = ParseExpr(p);
    return assignment;
  }
  assignment.column = p.ParseNameParts(4, false);
  p.ExpectSymbol("=");
  if (!p.AcceptKeyword("DEFAULT")) assignment.value = ParseExpr(p);
  return assignment;
}

ast::StatementBody ParseInsert(Parser& p) {
  ast::Insert insert;
  p.ExpectKeyword("INSERT");
  p.AcceptKeyword("INTO");
  insert.table = p.ParseObjectName();
  // "(" starts the column list unless it opens the query.
  if (p.AtSymbol("(") && !AtQueryStart(p)) {
    p.Take();
    do insert.columns.push_back(p.ParseNameParts(4, false).back()); while (p.AcceptSymbol(","));
    p.ExpectSymbol(")");
  }
  insert.output = ParseOutputClause(p, OutputRows::kInserted);
  ParseInsertSource(p, &insert);
  return ast::StatementBody(std::in_place_type<ast::Insert>, std::move(insert));
}

ast::StatementBody ParseUpdate(Parser& p) {
  ast::Update update;
  p.ExpectKeyword("UPDATE");
  update.top = ParseChangeTop(p);
  update.table = ParseTargetTable(p);
  p.ExpectKeyword("SET");
  do update.set.push_back(ParseAssignment(p)); while (p.AcceptSymbol(","));
  update.output = ParseOutputClause(p, OutputRows::kBoth);
  if (p.AcceptKeyword("FROM")) update.from = ParseFromList(p);
  ParseWhere(p, &update.where, &update.current_of);
  return ast::StatementBody(std::in_place_type<ast::Update>, std::move(update));
}

ast::StatementBody ParseDelete(Parser& p) {
  ast::Delete del;
  p.ExpectKeyword("DELETE");
  del.top = ParseChangeTop(p);
  p.AcceptKeyword("FROM");
  del.table = ParseTargetTable(p);
  del.output = ParseOutputClause(p, OutputRows::kDeleted);
  if (p.AcceptKeyword("FROM")) del.from = ParseFromList(p);
  ParseWhere(p, &del.where, &del.current_of);
  return ast::StatementBody(std::in_place_type<ast::Delete>, std::move(del));
}

}  // namespace sqlsim::front
