// OVER (PARTITION BY ... ORDER BY ... ROWS|RANGE ...) of window functions.
#include <string>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

// UNBOUNDED PRECEDING|FOLLOWING, CURRENT ROW, n PRECEDING|FOLLOWING, as
// SQLite spells it. A RANGE frame takes no row counts.
std::string ParseFrameBound(Parser& p, bool range) {
  if (p.AcceptKeyword("CURRENT")) {
    p.ExpectKeyword("ROW");
    return "CURRENT ROW";
  }
  std::string bound;
  if (p.AcceptKeyword("UNBOUNDED")) {
    bound = "UNBOUNDED";
  } else if (p.Peek().kind == TokenKind::kInteger) {
    const Token& count = p.Take();
    if (range) {
      p.Fail(4194, "RANGE is only supported with UNBOUNDED and CURRENT ROW window frame delimiters.",
             count.pos.line);
    }
    bound = count.text;
  } else {
    p.FailAtCurrent();
  }
  if (p.AcceptKeyword("PRECEDING")) return bound + " PRECEDING";
  p.ExpectKeyword("FOLLOWING");
  return bound + " FOLLOWING";
}

std::string ParseFrame(Parser& p) {
  const bool range = p.AtKeyword("RANGE");
  std::string frame = range ? "RANGE " : "ROWS ";
  p.Take();
  if (!p.AcceptKeyword("BETWEEN")) return frame + ParseFrameBound(p, range);
  frame += "BETWEEN " + ParseFrameBound(p, range);
  p.ExpectKeyword("AND");
  return frame + " AND " + ParseFrameBound(p, range);
}

}  // namespace

std::unique_ptr<ast::Over> ParseOver(Parser& p) {
  auto over = std::make_unique<ast::Over>();
  over->pos = p.Take().pos;
  p.ExpectSymbol("(");
  if (p.AcceptKeyword("PARTITION")) {
    p.ExpectKeyword("BY");
    do over->partition_by.push_back(ParseExpr(p)); while (p.AcceptSymbol(","));
  }
  if (p.AcceptKeyword("ORDER")) {
    p.ExpectKeyword("BY");
    do {
      ast::OrderItem item;
      item.expr = ParseExpr(p);
      item.descending = p.AcceptKeyword("DESC");
      if (!item.descending) p.AcceptKeyword("ASC");
      over->order_by.push_back(std::move(item));
    } while (p.AcceptSymbol(","));
  }
  if (p.AtKeyword("ROWS") || p.AtKeyword("RANGE")) {
    const int32_t line = p.Peek().pos.line;
    if (over->order_by.empty()) {
      p.Fail(10756, "Window frame with ROWS or RANGE must have an ORDER BY clause.", line);
    }
    over->frame = ParseFrame(p);
  }
  p.ExpectSymbol(")");
  return over;
}

}  // namespace sqlsim::front
