// Expressions, by the server's precedence from loosest to tightest: OR; AND;
// NOT; comparisons and the predicates IN, LIKE, BETWEEN, IS NULL; binary
// + - & ^ |; * / %; unary ~ + -. A sign binds as tightly as ~ here, which
// gives the same values as the server's order and lets -5 be one literal.
#include <string>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

using ast::ExprKind;
using ast::ExprPtr;

ExprPtr MakeBinary(Parser& p, std::string op, ExprPtr left, ExprPtr right) {
  ExprPtr expr = NewExpr(ExprKind::kBinary, left->pos);
  expr->op = std::move(op);
  expr->args.push_back(std::move(left));
  expr->args.push_back(std::move(right));
  return p.Finish(std::move(expr));
}

ExprPtr MakeUnary(Parser& p, std::string op, const ast::SourcePos& pos, ExprPtr operand) {
  ExprPtr expr = NewExpr(ExprKind::kUnary, pos);
  expr->op = std::move(op);
  expr->args.push_back(std::move(operand));
  return p.Finish(std::move(expr));
}

// "!=" "!<" "!>" become the operators they mean; "" for a non-comparison.
std::string ComparisonOp(const Token& token) {
  if (token.kind != TokenKind::kSymbol) return "";
  const std::string& s = token.text;
  if (s == "=" || s == "<>" || s == "<" || s == ">" || s == "<=" || s == ">=") return s;
  if (s == "!=") return "<>";
  if (s == "!<") return ">=";
  if (s == "!>") return "<=";
  return "";
}

bool IsNumberLiteral(const ast::Expr& expr) {
  return expr.kind == ExprKind::kLiteral &&
         (expr.literal_type == ast::LiteralType::kInteger ||
          expr.literal_type == ast::LiteralType::kDecimal ||
          expr.literal_type == ast::LiteralType::kFloat);
}

ExprPtr ParseOr(Parser& p);
ExprPtr ParseAdditive(Parser& p);
ExprPtr ParseUnary(Parser& p);

// [NOT] IN, [NOT] LIKE, [NOT] BETWEEN, IS [NOT] NULL after an operand;
// null when none follows.
ExprPtr ParsePredicateTail(Parser& p, ExprPtr* left) {
  bool negated = false;
  if (p.AtKeyword("NOT") &&
      (p.AtKeyword("IN", 1) || p.AtKeyword("LIKE", 1) || p.AtKeyword("BETWEEN", 1))) {
    p.Take();
    negated = true;
  }
  ExprPtr expr;
  if (p.AcceptKeyword("IN")) {
    p.ExpectSymbol("(");
    expr = NewExpr(p.AtKeyword("SELECT") ? ExprKind::kInSubquery : ExprKind::kInList, (*left)->pos);
    expr->args.push_back(std::move(*left));
    if (expr->kind == ExprKind::kInSubquery) {
      expr->subquery = ParseQuery(p);
    } else {
      do expr->args.push_back(ParseExpr(p)); while (p.AcceptSymbol(","));
    }
    p.ExpectSymbol(")");
  } else if (p.AcceptKeyword("LIKE")) {
    expr = NewExpr(ExprKind::kLike, (*left)->pos);
    expr->args.push_back(std::move(*left));
    expr->args.push_back(ParseAdditive(p));
    if (p.AcceptKeyword("ESCAPE")) expr->args.push_back(ParseAdditive(p));
  } else if (p.AcceptKeyword("BETWEEN")) {
    expr = NewExpr(ExprKind::kBetween, (*left)->pos);
    expr->args.push_back(std::move(*left));
    expr->args.push_back(ParseAdditive(p));
    p.ExpectKeyword("AND");
    expr->args.push_back(ParseAdditive(p));
  } else if (p.AcceptKeyword("IS")) {
    expr = NewExpr(ExprKind::kIsNull, (*left)->pos);
    expr->args.push_back(std::move(*left));
    negated = p.AcceptKeyword("NOT");
    p.ExpectKeyword("NULL");
  } else {
    return nullptr;
  }
  expr->negated = negated;
  return p.Finish(std::move(expr));
}

// A comparison or predicate, or a plain operand.
ExprPtr ParsePredicate(Parser& p) {
  ExprPtr left = ParseAdditive(p);
  const std::string op = ComparisonOp(p.Peek());
  if (!op.empty()) {
    p.Take();
    return MakeBinary(p, op, std::move(left), ParseAdditive(p));
  }
  ExprPtr predicate = ParsePredicateTail(p, &left);
  return predicate ? std::move(predicate) : std::move(left);
}

ExprPtr ParseNot(Parser& p) {
  if (!p.AtKeyword("NOT")) return ParsePredicate(p);
  Parser::NestingGuard guard(p);
  const Token& not_token = p.Take();
  if (p.AtKeyword("EXISTS")) {
    p.Take();
    ExprPtr exists = ParseSubqueryInParens(p, ExprKind::kExists, not_token.pos);
    exists->negated = true;
    return exists;
  }
  return MakeUnary(p, "NOT", not_token.pos, ParseNot(p));
}

ExprPtr ParseAnd(Parser& p) {
  ExprPtr left = ParseNot(p);
  while (p.AcceptKeyword("AND")) left = MakeBinary(p, "AND", std::move(left), ParseNot(p));
  return left;
}

ExprPtr ParseOr(Parser& p) {
  ExprPtr left = ParseAnd(p);
  while (p.AcceptKeyword("OR")) left = MakeBinary(p, "OR", std::move(left), ParseAnd(p));
  return left;
}

ExprPtr ParseMultiplicative(Parser& p) {
  ExprPtr left = ParseUnary(p);
  while (p.AtSymbol("*") || p.AtSymbol("/") || p.AtSymbol("%")) {
    std::string op = p.Take().text;
    left = MakeBinary(p, std::move(op), std::move(left), ParseUnary(p));
  }
  return left;
}

ExprPtr ParseAdditive(Parser& p) {
  ExprPtr left = ParseMultiplicative(p);
  while (p.AtSymbol("+") || p.AtSymbol("-") || p.AtSymbol("&") || p.AtSymbol("^") ||
         p.AtSymbol("|")) {
    std::string op = p.Take().text;
    left = MakeBinary(p, std::move(op), std::move(left), ParseMultiplicative(p));
  }
  return left;
}

ExprPtr ParseUnary(Parser& p) {
  if (!p.AtSymbol("~") && !p.AtSymbol("-") && !p.AtSymbol("+")) return ParsePrimary(p);
  Parser::NestingGuard guard(p);
  const Token& op = p.Take();
  const ast::SourcePos pos = op.pos;
  std::string op_text = op.text;
  ExprPtr operand = ParseUnary(p);
  if (op_text != "~" && IsNumberLiteral(*operand) && operand->text[0] != '-') {
    if (op_text == "-") operand->text.insert(0, "-");
    operand->pos = pos;
    return operand;
  }
  return MakeUnary(p, std::move(op_text), pos, std::move(operand));
}

}  // namespace

ExprPtr ParseExpr(Parser& p) {
  Parser::NestingGuard guard(p);
  return ParseOr(p);
}

}  // namespace sqlsim::front
