// SELECT: the query chain (UNION, ORDER BY), one SELECT's clauses and its
// select list. FROM lives in parse_from.cpp.
#include <algorithm>
#include <string>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

using ast::ExprPtr;

std::string ExpectAlias(Parser& p) {
  if (p.Peek().kind == TokenKind::kString) return p.Take().text;
  return p.ExpectName();
}

// t.* or db.t.*: the number of name tokens before ".*", 0 if not there.
size_t QualifiedStarNames(const Parser& p) {
  size_t names = 0;
  while (p.AtName(2 * names) && p.AtSymbol(".", 2 * names + 1)) {
    ++names;
    if (p.AtSymbol("*", 2 * names)) return names;
  }
  return 0;
}

ast::SelectItem ParseSelectItem(Parser& p) {
  ast::SelectItem item;
  item.pos = p.Peek().pos;
  if (p.AcceptSymbol("*")) {
    item.star = true;
    return item;
  }
  if (const size_t names = QualifiedStarNames(p); names > 0) {
    for (size_t i = 0; i < names; ++i) {
      if (i > 0) item.star_qualifier += '.';
      item.star_qualifier += p.Take().text;
      p.Take();  // .
    }
    p.Take();  // *
    item.star = true;
    return item;
  }
  const Token& first = p.Peek();
  if (p.AtSymbol("=", 1)) {
    if (first.kind == TokenKind::kVariable) {
      item.assign_to = p.Take().text;
      p.Take();
      item.expr = ParseExpr(p);
      return item;
    }
    if (first.kind == TokenKind::kString || p.AtName()) {
      item.alias = p.Take().text;
      p.Take();
      item.expr = ParseExpr(p);
      return item;
    }
  }
  item.expr = ParseExpr(p);
  if (p.AcceptKeyword("AS")) {
    item.alias = ExpectAlias(p);
  } else if (p.AtName() || p.Peek().kind == TokenKind::kString) {
    item.alias = p.Take().text;
  }
  return item;
}

std::vector<ExprPtr> ParseExprList(Parser& p) {
  std::vector<ExprPtr> list;
  do list.push_back(ParseExpr(p)); while (p.AcceptSymbol(","));
  return list;
}

}  // namespace

std::unique_ptr<ast::Select> ParseSelectCore(Parser& p) {
  auto select = std::make_unique<ast::Select>();
  select->pos = p.Peek().pos;
  p.ExpectKeyword("SELECT");
  if (!p.AcceptKeyword("DISTINCT")) {
    p.AcceptKeyword("ALL");
  } else {
    select->distinct = true;
  }
  if (p.AcceptKeyword("TOP")) select->top = ParseTop(p, true, &select->top_percent);
  do select->items.push_back(ParseSelectItem(p)); while (p.AcceptSymbol(","));
  if (p.AcceptKeyword("INTO")) select->into = p.ParseObjectName();
  if (p.AcceptKeyword("FROM")) select->from = ParseFromList(p);
  if (p.AcceptKeyword("WHERE")) select->where = ParseExpr(p);
  if (p.AcceptKeyword("GROUP")) {
    p.ExpectKeyword("BY");
    select->group_by = ParseExprList(p);
  }
  if (p.AcceptKeyword("HAVING")) select->having = ParseExpr(p);
  return select;
}

namespace {

void ParseOrderBy(Parser& p, std::vector<ast::OrderItem>* order_by) {
  do {
    ast::OrderItem item;
    item.expr = ParseExpr(p);
    if (p.AcceptKeyword("DESC")) {
      item.descending = true;
    } else {
      p.AcceptKeyword("ASC");
    }
    order_by->push_back(std::move(item));
  } while (p.AcceptSymbol(","));
}

}  // namespace

bool AtQueryStart(const Parser& p) {
  size_t ahead = 0;
  while (p.AtSymbol("(", ahead)) ++ahead;
  return p.AtKeyword("SELECT", ahead);
}

// ORDER BY sits on the first SELECT of the chain and orders the whole.
std::unique_ptr<ast::Select> ParseQuery(Parser& p) {
  Parser::NestingGuard guard(p);
  int32_t links = 0;
  std::unique_ptr<ast::Select> first = ParseQueryExpression(p, &links);
  if (first->nested && !first->union_next && !p.AtKeyword("ORDER")) {
    std::unique_ptr<ast::Select> inner = std::move(first->nested);
    return inner;
  }
  if (p.AtKeyword("ORDER")) {
    p.Take();
    p.ExpectKeyword("BY");
    ParseOrderBy(p, &first->order_by);
    ParseOffsetFetch(p, first.get());
  }
  int32_t height = 0;
  for (const ast::Select* s = first.get(); s != nullptr; s = s->union_next.get()) {
    height = std::max(height, SelectHeight(p, *s));
  }
  p.RecordHeight(first.get(), height + links);
  return first;
}

ast::ExprPtr ParseTop(Parser& p, bool allow_bare, bool* percent) {
  ExprPtr top;
  if (p.AcceptSymbol("(")) {
    top = ParseExpr(p);
    p.ExpectSymbol(")");
  } else if (allow_bare && (p.Peek().kind == TokenKind::kInteger ||
                            p.Peek().kind == TokenKind::kDecimal)) {
    top = ParsePrimary(p);
  } else {
    p.FailAtCurrent();
  }
  *percent = p.AcceptKeyword("PERCENT");
  return top;
}

// Height of one SELECT of a chain, not counting the SELECTs after it.
int32_t SelectHeight(const Parser& p, const ast::Select& select) {
  int32_t below = std::max({p.HeightOf(select.top.get()), p.HeightOf(select.where.get()),
                            p.HeightOf(select.having.get())});
  for (const ast::SelectItem& item : select.items) below = std::max(below, p.HeightOf(item.expr.get()));
  for (const ExprPtr& e : select.group_by) below = std::max(below, p.HeightOf(e.get()));
  for (const ast::OrderItem& o : select.order_by) below = std::max(below, p.HeightOf(o.expr.get()));
  below = std::max({below, p.HeightOf(select.nested.get()), p.HeightOf(select.offset.get()),
                    p.HeightOf(select.fetch.get())});
  for (const ast::FromItem& item : select.from) below = std::max(below, FromItemHeight(p, item));
  return below + 1;
}

ast::StatementBody ParseSelectStatement(Parser& p) {
  std::unique_ptr<ast::Select> query = ParseQuery(p);
  return ast::StatementBody(std::in_place_type<ast::Select>, std::move(*query));
}

}  // namespace sqlsim::front
