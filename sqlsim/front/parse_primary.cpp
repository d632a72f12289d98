// The operands of expressions: literals, variables, parameters, column
// references, function calls, CASE, CAST, CONVERT, subqueries.
#include <string>
#include <string_view>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

using ast::ExprKind;
using ast::ExprPtr;
using ast::LiteralType;

// Written without parentheses, as the standard wants them.
constexpr std::string_view kNiladicFunctions[] = {
    "CURRENT_TIMESTAMP", "CURRENT_USER", "SESSION_USER", "SYSTEM_USER", "USER"};
// Reserved words that are also the names of functions.
constexpr std::string_view kKeywordFunctions[] = {"LEFT", "RIGHT", "COALESCE", "NULLIF",
                                                  "UPDATE"};

bool AtAnyKeyword(const Parser& p, const std::string_view* begin, const std::string_view* end) {
  for (const std::string_view* k = begin; k != end; ++k) {
    if (p.AtKeyword(*k)) return true;
  }
  return false;
}

ExprPtr TakeLiteral(Parser& p, LiteralType type) {
  const Token& token = p.Take();
  ExprPtr expr = NewExpr(ExprKind::kLiteral, token.pos);
  expr->literal_type = type;
  expr->text = token.text;
  expr->national = token.national;
  return expr;
}

// name(args): parts are the name as written, qualifiers first.
ExprPtr ParseCall(Parser& p, std::vector<std::string> parts, const ast::SourcePos& pos) {
  ExprPtr call = NewExpr(ExprKind::kFunction, pos);
  call->function = ToLower(parts.back());
  parts.pop_back();
  call->parts = std::move(parts);
  p.ExpectSymbol("(");
  if (p.AcceptSymbol("*")) {
    call->star = true;
  } else if (!p.AtSymbol(")")) {
    if (p.AcceptKeyword("DISTINCT")) {
      call->distinct = true;
    } else {
      p.AcceptKeyword("ALL");
    }
    do call->args.push_back(ParseExpr(p)); while (p.AcceptSymbol(","));
  }
  p.ExpectSymbol(")");
  if (p.AtKeyword("OVER")) call->over = ParseOver(p);
  return p.Finish(std::move(call));
}

ExprPtr ParseCase(Parser& p) {
  ExprPtr expr = NewExpr(ExprKind::kCase, p.Take().pos);
  if (!p.AtKeyword("WHEN")) {
    expr->has_operand = true;
    expr->args.push_back(ParseExpr(p));
  }
  if (!p.AtKeyword("WHEN")) p.FailAtCurrent();
  while (p.AcceptKeyword("WHEN")) {
    expr->args.push_back(ParseExpr(p));
    p.ExpectKeyword("THEN");
    expr->args.push_back(ParseExpr(p));
  }
  if (p.AcceptKeyword("ELSE")) {
    expr->has_else = true;
    expr->args.push_back(ParseExpr(p));
  }
  p.ExpectKeyword("END");
  return p.Finish(std::move(expr));
}

bool IsTryForm(const Token& token) { return ToUpper(token.text).rfind("TRY_", 0) == 0; }

// [TRY_]CAST(x AS type)
ExprPtr ParseCast(Parser& p) {
  const Token& token = p.Take();
  ExprPtr expr = NewExpr(ExprKind::kCast, token.pos);
  expr->is_try = IsTryForm(token);
  p.ExpectSymbol("(");
  expr->args.push_back(ParseExpr(p));
  p.ExpectKeyword("AS");
  expr->type = p.ParseTypeName();
  p.ExpectSymbol(")");
  return p.Finish(std::move(expr));
}

// [TRY_]CONVERT(type, x [, style])
ExprPtr ParseConvert(Parser& p) {
  const Token& token = p.Take();
  ExprPtr expr = NewExpr(ExprKind::kCast, token.pos);
  expr->is_convert = true;
  expr->is_try = IsTryForm(token);
  p.ExpectSymbol("(");
  expr->type = p.ParseTypeName();
  p.ExpectSymbol(",");
  expr->args.push_back(ParseExpr(p));
  if (p.AcceptSymbol(",")) expr->args.push_back(ParseExpr(p));
  p.ExpectSymbol(")");
  return p.Finish(std::move(expr));
}

ExprPtr ParseVariable(Parser& p) {
  const Token& token = p.Take();
  ExprPtr expr = NewExpr(ExprKind::kVariable, token.pos);
  // Globals are the server's own names: one spelling for the binder.
  expr->text = token.text.compare(0, 2, "@@") == 0 ? ToUpper(token.text) : token.text;
  return expr;
}

ExprPtr ParseParenthesized(Parser& p) {
  if (p.AtKeyword("SELECT", 1)) {
    return ParseSubqueryInParens(p, ExprKind::kSubquery, p.Peek().pos);
  }
  p.Take();
  ExprPtr inner = ParseExpr(p);
  p.ExpectSymbol(")");
  return inner;
}

// Reserved words that may start an operand.
ExprPtr ParseKeywordOperand(Parser& p) {
  const Token& token = p.Peek();
  if (p.AtKeyword("NULL")) return TakeLiteral(p, LiteralType::kNull);
  if (p.AtKeyword("CASE")) return ParseCase(p);
  if (p.AtKeyword("CONVERT") || p.AtKeyword("TRY_CONVERT")) return ParseConvert(p);
  if (p.AtKeyword("EXISTS")) {
    p.Take();
    return ParseSubqueryInParens(p, ExprKind::kExists, token.pos);
  }
  if (AtAnyKeyword(p, std::begin(kNiladicFunctions), std::end(kNiladicFunctions))) {
    ExprPtr expr = NewExpr(ExprKind::kFunction, token.pos);
    expr->function = ToLower(p.Take().text);
    return expr;
  }
  if (AtAnyKeyword(p, std::begin(kKeywordFunctions), std::end(kKeywordFunctions)) &&
      p.AtSymbol("(", 1)) {
    return ParseCall(p, {p.Take().text}, token.pos);
  }
  p.FailAtCurrent();
}

ExprPtr ParseNameOrCall(Parser& p) {
  const ast::SourcePos pos = p.Peek().pos;
  if ((p.AtKeyword("CAST") || p.AtKeyword("TRY_CAST")) && p.AtSymbol("(", 1)) return ParseCast(p);
  std::vector<std::string> parts = p.ParseNameParts(4, false);
  if (p.AtSymbol("(")) return ParseCall(p, std::move(parts), pos);
  ExprPtr column = NewExpr(ExprKind::kColumn, pos);
  column->parts = std::move(parts);
  return column;
}

}  // namespace

ExprPtr ParsePrimary(Parser& p) {
  const Token& token = p.Peek();
  switch (token.kind) {
    case TokenKind::kInteger: return TakeLiteral(p, LiteralType::kInteger);
    case TokenKind::kDecimal: return TakeLiteral(p, LiteralType::kDecimal);
    case TokenKind::kFloat: return TakeLiteral(p, LiteralType::kFloat);
    case TokenKind::kString: return TakeLiteral(p, LiteralType::kString);
    case TokenKind::kBinary: return TakeLiteral(p, LiteralType::kBinary);
    case TokenKind::kVariable: return ParseVariable(p);
    case TokenKind::kParameter: {
      ExprPtr expr = NewExpr(ExprKind::kParameter, token.pos);
      expr->param_index = p.Take().param_index;
      return expr;
    }
    case TokenKind::kSymbol:
      if (p.AtSymbol("(")) return ParseParenthesized(p);
      break;
    case TokenKind::kQuotedName:
      return ParseNameOrCall(p);
    case TokenKind::kWord:
      return p.AtName() ? ParseNameOrCall(p) : ParseKeywordOperand(p);
    case TokenKind::kEnd:
      break;
  }
  p.FailAtCurrent();
}

bool AtOperandStart(const Parser& p) {
  const Token& token = p.Peek();
  switch (token.kind) {
    case TokenKind::kInteger: case TokenKind::kDecimal: case TokenKind::kFloat:
    case TokenKind::kString: case TokenKind::kBinary: case TokenKind::kVariable:
    case TokenKind::kParameter: case TokenKind::kQuotedName:
      return true;
    case TokenKind::kSymbol:
      return p.AtSymbol("(") || p.AtSymbol("-") || p.AtSymbol("+") || p.AtSymbol("~");
    case TokenKind::kWord:
      if (p.AtName() || p.AtKeyword("NULL") || p.AtKeyword("CASE") || p.AtKeyword("CONVERT") ||
          p.AtKeyword("TRY_CONVERT") ||
          AtAnyKeyword(p, std::begin(kNiladicFunctions), std::end(kNiladicFunctions))) {
        return true;
      }
      return AtAnyKeyword(p, std::begin(kKeywordFunctions), std::end(kKeywordFunctions)) &&
             p.AtSymbol("(", 1);
    case TokenKind::kEnd:
      break;
  }
  return false;
}

ExprPtr ParseSubqueryInParens(Parser& p, ExprKind kind, const ast::SourcePos& pos) {
  p.ExpectSymbol("(");
  ExprPtr expr = NewExpr(kind, pos);
  expr->subquery = ParseQuery(p);
  p.ExpectSymbol(")");
  return p.Finish(std::move(expr));
}

}  // namespace sqlsim::front
