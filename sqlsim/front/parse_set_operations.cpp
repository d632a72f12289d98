// Query expressions: SELECTs joined by UNION [ALL], EXCEPT and INTERSECT,
// INTERSECT binding tighter than the others; ( query ) as a term; OFFSET and
// FETCH after ORDER BY.
#include <algorithm>
#include <memory>
#include <utility>

#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

std::unique_ptr<ast::Select> Nest(std::unique_ptr<ast::Select> inner, const ast::SourcePos& pos) {
  auto wrapper = std::make_unique<ast::Select>();
  wrapper->pos = pos;
  wrapper->nested = std::move(inner);
  return wrapper;
}

// SELECT ... or ( query ). A parenthesised query with more than one SELECT
// or its own ORDER BY stays nested: SQLite cannot parenthesise a chain.
std::unique_ptr<ast::Select> ParseQueryPrimary(Parser& p) {
  if (!p.AtSymbol("(")) return ParseSelectCore(p);
  const ast::SourcePos pos = p.Take().pos;
  std::unique_ptr<ast::Select> inner = ParseQuery(p);
  p.ExpectSymbol(")");
  if (!inner->union_next && !inner->nested && inner->order_by.empty()) return inner;
  return Nest(std::move(inner), pos);
}

// An ORDER BY inside a term is only there to pick the rows of TOP or OFFSET.
void CheckTerm(Parser& p, const ast::Select& term) {
  const ast::Select* inner = term.nested.get();
  if (inner && !inner->order_by.empty() && !inner->top && !inner->offset) p.FailAtCurrent();
}

// term { INTERSECT term }: the chain's first node; *tail gets its last.
std::unique_ptr<ast::Select> ParseIntersections(Parser& p, int32_t* links, ast::Select** tail) {
  std::unique_ptr<ast::Select> head = ParseQueryPrimary(p);
  *tail = head.get();
  while (p.AtKeyword("INTERSECT")) {
    CheckTerm(p, **tail);
    p.Take();
    (*tail)->set_operator = ast::SetOperator::kIntersect;
    (*tail)->union_next = ParseQueryPrimary(p);
    *tail = (*tail)->union_next.get();
    CheckTerm(p, **tail);
    // Fail before the chain grows too long to be freed recursively.
    p.CheckHeight(++*links);
  }
  return head;
}

}  // namespace

// SQLite joins a chain from left to right, all operators alike: an
// INTERSECT group after the first term is nested to bind first.
std::unique_ptr<ast::Select> ParseQueryExpression(Parser& p, int32_t* links) {
  ast::Select* tail = nullptr;
  std::unique_ptr<ast::Select> first = ParseIntersections(p, links, &tail);
  while (p.AtKeyword("UNION") || p.AtKeyword("EXCEPT")) {
    CheckTerm(p, *tail);
    const bool is_union = p.AtKeyword("UNION");
    const ast::SourcePos pos = p.Take().pos;
    tail->set_operator = is_union ? ast::SetOperator::kUnion : ast::SetOperator::kExcept;
    tail->union_all = is_union && p.AcceptKeyword("ALL");
    int32_t group_links = 0;
    ast::Select* group_tail = nullptr;
    std::unique_ptr<ast::Select> group = ParseIntersections(p, &group_links, &group_tail);
    if (group_links > 0) {
      int32_t height = 0;
      for (const ast::Select* s = group.get(); s != nullptr; s = s->union_next.get()) {
        height = std::max(height, SelectHeight(p, *s));
      }
      p.RecordHeight(group.get(), height + group_links);
      group = Nest(std::move(group), pos);
      group_tail = group.get();
    }
    CheckTerm(p, *group_tail);
    tail->union_next = std::move(group);
    tail = group_tail;
    p.CheckHeight(++*links);
  }
  return first;
}

void ParseOffsetFetch(Parser& p, ast::Select* select) {
  if (!p.AtKeyword("OFFSET")) return;
  const Token& offset = p.Take();
  // TOP of a chain's first SELECT is that SELECT's own, OFFSET the chain's.
  if (select->top && !select->union_next) {
    p.Fail(10741, "A TOP can not be used in the same query or sub-query as a OFFSET.", offset.pos.line);
  }
  select->offset = ParseExpr(p);
  if (!p.AcceptKeyword("ROW")) p.ExpectKeyword("ROWS");
  // FETCH NEXT FROM c after it is a statement of its own.
  if (!p.AtKeyword("FETCH") || p.AtKeyword("FROM", 2)) return;
  p.Take();
  if (!p.AcceptKeyword("FIRST")) p.ExpectKeyword("NEXT");
  select->fetch = ParseExpr(p);
  if (!p.AcceptKeyword("ROW")) p.ExpectKeyword("ROWS");
  p.ExpectKeyword("ONLY");
}

}  // namespace sqlsim::front
