// Common table expressions (WITH ... before a query or data change) and the
// OPTION clause after one.
#include <string>
#include <string_view>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

constexpr int64_t kMaxRecursionLimit = 32767;

// Words after which a statement may start without a semicolon: WITH right
// after another statement would read as that statement's table hint.
constexpr std::string_view kStatementListStarts[] = {";", "BEGIN", "AS", "ELSE", "TRY", "CATCH"};

bool WithMayStartHere(const Parser& p) {
  if (p.StatementStartsBatch()) return true;
  for (std::string_view word : kStatementListStarts) {
    if (p.AfterToken(word)) return true;
  }
  return false;
}

ast::CommonTableExpr ParseCommonTableExpr(Parser& p) {
  ast::CommonTableExpr cte;
  cte.pos = p.Peek().pos;
  cte.name = p.ExpectName();
  if (p.AcceptSymbol("(")) {
    do cte.columns.push_back(p.ExpectName()); while (p.AcceptSymbol(","));
    p.ExpectSymbol(")");
  }
  p.ExpectKeyword("AS");
  p.ExpectSymbol("(");
  cte.query = ParseQuery(p);
  p.ExpectSymbol(")");
  return cte;
}

std::unique_ptr<ast::WithClause> ParseWithClause(Parser& p) {
  auto with = std::make_unique<ast::WithClause>();
  with->pos = p.Peek().pos;
  p.ExpectKeyword("WITH");
  do with->ctes.push_back(ParseCommonTableExpr(p)); while (p.AcceptSymbol(","));
  return with;
}

// The clause a statement keeps its WITH and OPTION in; null for statements
// that take neither.
std::unique_ptr<ast::WithClause>* WithSlot(ast::StatementBody* body) {
  if (auto* select = std::get_if<ast::Select>(body)) return &select->with;
  if (auto* insert = std::get_if<ast::Insert>(body)) return &insert->with;
  if (auto* update = std::get_if<ast::Update>(body)) return &update->with;
  if (auto* del = std::get_if<ast::Delete>(body)) return &del->with;
  if (auto* merge = std::get_if<ast::Merge>(body)) return &merge->with;
  return nullptr;
}

// One hint of OPTION (...): MAXRECURSION n is kept, the others (RECOMPILE,
// MAXDOP n, OPTIMIZE FOR (...) ...) have no use here.
void ParseQueryHint(Parser& p, ast::WithClause* with) {
  if (p.AcceptKeyword("MAXRECURSION")) {
    const Token& value = p.Peek();
    if (value.kind != TokenKind::kInteger) p.FailAtCurrent();
    p.Take();
    if (value.text.size() > 9 || std::stoll(value.text) > kMaxRecursionLimit) {
      p.Fail(310, "The value " + value.text + " specified for the MAXRECURSION option exceeds the allowed maximum of " +
                      std::to_string(kMaxRecursionLimit) + ".",
             value.pos.line);
    }
    with->max_recursion = static_cast<int32_t>(std::stoll(value.text));
    return;
  }
  if (p.Peek().kind != TokenKind::kWord) p.FailAtCurrent();
  int depth = 0;
  while (!p.AtEnd() && (depth > 0 || (!p.AtSymbol(",") && !p.AtSymbol(")")))) {
    if (p.AtSymbol("(")) ++depth;
    if (p.AtSymbol(")")) --depth;
    p.Take();
  }
}

}  // namespace

ast::StatementBody ParseWithStatement(Parser& p) {
  if (!WithMayStartHere(p)) {
    p.Fail(319,
           "Incorrect syntax near the keyword 'with'. If this statement is a common table expression, an "
           "xmlnamespaces clause or a change tracking context clause, the previous statement must be "
           "terminated with a semicolon.",
           p.Peek().pos.line);
  }
  std::unique_ptr<ast::WithClause> with = ParseWithClause(p);
  ast::StatementBody body;
  if (p.AtKeyword("SELECT") || p.AtSymbol("(")) {
    body = ParseSelectStatement(p);
  } else if (p.AtKeyword("INSERT")) {
    body = ParseInsert(p);
  } else if (p.AtKeyword("UPDATE")) {
    body = ParseUpdate(p);
  } else if (p.AtKeyword("DELETE")) {
    body = ParseDelete(p);
  } else if (p.AtKeyword("MERGE")) {
    body = ParseMerge(p);
  } else {
    p.FailAtCurrent();
  }
  std::unique_ptr<ast::WithClause>* slot = WithSlot(&body);
  // MERGE reads its OPTION itself, before its semicolon.
  if (*slot) with->max_recursion = (*slot)->max_recursion;
  *slot = std::move(with);
  return body;
}

std::unique_ptr<ast::Select> ParseQueryWithCtes(Parser& p) {
  if (!p.AtKeyword("WITH")) return ParseQuery(p);
  std::unique_ptr<ast::WithClause> with = ParseWithClause(p);
  std::unique_ptr<ast::Select> query = ParseQuery(p);
  query->with = std::move(with);
  return query;
}

void ParseQueryOptions(Parser& p, ast::StatementBody* body) {
  if (!p.AtKeyword("OPTION")) return;
  std::unique_ptr<ast::WithClause>* slot = WithSlot(body);
  if (slot == nullptr) p.FailAtCurrent();
  p.Take();
  p.ExpectSymbol("(");
  if (!*slot) *slot = std::make_unique<ast::WithClause>();
  do ParseQueryHint(p, slot->get()); while (p.AcceptSymbol(","));
  p.ExpectSymbol(")");
}

}  // namespace sqlsim::front
