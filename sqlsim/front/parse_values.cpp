// (VALUES (...), (...)) AS name (columns): a table of constant rows, kept
// as the SELECTs joined by UNION ALL it amounts to.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

std::unique_ptr<ast::Select> ParseValuesRowAsSelect(Parser& p, size_t* width, int32_t* height) {
  auto select = std::make_unique<ast::Select>();
  select->pos = p.Peek().pos;
  p.ExpectSymbol("(");
  do {
    ast::SelectItem item;
    item.pos = p.Peek().pos;
    item.expr = ParseExpr(p);
    *height = std::max(*height, p.HeightOf(item.expr.get()));
    select->items.push_back(std::move(item));
  } while (p.AcceptSymbol(","));
  p.ExpectSymbol(")");
  if (*width != 0 && select->items.size() != *width) {
    p.Fail(10709, "The number of columns for each row in a table value constructor must be the same.",
           select->pos.line);
  }
  *width = select->items.size();
  return select;
}

}  // namespace

// REQUIRES: the opening parenthesis is taken and VALUES is next.
std::unique_ptr<ast::Select> ParseValuesTable(Parser& p) {
  p.ExpectKeyword("VALUES");
  size_t width = 0;
  int32_t height = 0;
  int32_t rows = 1;
  std::unique_ptr<ast::Select> first = ParseValuesRowAsSelect(p, &width, &height);
  ast::Select* last = first.get();
  while (p.AcceptSymbol(",")) {
    // Every row is one link of the chain later stages walk.
    p.CheckHeight(height + ++rows);
    last->union_next = ParseValuesRowAsSelect(p, &width, &height);
    last->union_all = true;
    last = last->union_next.get();
  }
  p.RecordHeight(first.get(), height + rows);
  return first;
}

std::vector<std::string> ParseDerivedColumns(Parser& p) {
  std::vector<std::string> columns;
  if (!p.AcceptSymbol("(")) return columns;
  do columns.push_back(p.ExpectName()); while (p.AcceptSymbol(","));
  p.ExpectSymbol(")");
  return columns;
}

}  // namespace sqlsim::front
