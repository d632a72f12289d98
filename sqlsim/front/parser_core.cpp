#include "sqlsim/front/parser_core.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "sqlsim/front/keywords.h"

namespace sqlsim::front {
namespace {

constexpr const char* kTooDeep =
    "Some part of your SQL statement is nested too deeply. Rewrite the query "
    "or break it up into smaller queries.";

}  // namespace

Parser::Parser(std::string_view text, std::vector<Token> tokens)
    : text_(text), tokens_(std::move(tokens)) {}

const Token& Parser::Peek(size_t ahead) const {
  const size_t at = std::min(next_ + ahead, tokens_.size() - 1);
  return tokens_[at];
}

const Token& Parser::Take() {
  const Token& token = tokens_[next_];
  if (next_ + 1 < tokens_.size()) ++next_;
  return token;
}

size_t Parser::ConsumedEnd() const { return next_ == 0 ? 0 : tokens_[next_ - 1].end; }

bool Parser::AfterToken(std::string_view text) const {
  if (next_ == 0) return false;
  const Token& last = tokens_[next_ - 1];
  return (last.kind == TokenKind::kWord || last.kind == TokenKind::kSymbol) && EqualsIgnoreCase(last.text, text);
}

bool Parser::AtKeyword(std::string_view keyword, size_t ahead) const {
  const Token& token = Peek(ahead);
  return token.kind == TokenKind::kWord && EqualsIgnoreCase(token.text, keyword);
}

bool Parser::AcceptKeyword(std::string_view keyword) {
  if (!AtKeyword(keyword)) return false;
  Take();
  return true;
}

void Parser::ExpectKeyword(std::string_view keyword) {
  if (!AcceptKeyword(keyword)) FailAtCurrent();
}

bool Parser::AtSymbol(std::string_view symbol, size_t ahead) const {
  const Token& token = Peek(ahead);
  return token.kind == TokenKind::kSymbol && token.text == symbol;
}

bool Parser::AcceptSymbol(std::string_view symbol) {
  if (!AtSymbol(symbol)) return false;
  Take();
  return true;
}

void Parser::ExpectSymbol(std::string_view symbol) {
  if (!AcceptSymbol(symbol)) FailAtCurrent();
}

bool Parser::AtName(size_t ahead) const {
  const Token& token = Peek(ahead);
  if (token.kind == TokenKind::kQuotedName) return true;
  return token.kind == TokenKind::kWord && !IsReservedKeyword(token.text);
}

std::string Parser::ExpectName() {
  if (!AtName()) FailAtCurrent();
  return Take().text;
}

std::vector<std::string> Parser::ParseNameParts(size_t max_parts, bool allow_empty) {
  std::vector<std::string> parts;
  parts.push_back(ExpectName());
  while (AtSymbol(".")) {
    if (parts.size() >= max_parts) FailAtCurrent();
    Take();
    if (allow_empty && AtSymbol(".")) {
      parts.emplace_back();
      continue;
    }
    parts.push_back(ExpectName());
  }
  return parts;
}

ast::ObjectName Parser::ParseObjectName() {
  ast::ObjectName name;
  name.pos = Peek().pos;
  if (Peek().kind == TokenKind::kVariable) {
    name.name = Take().text;
    return name;
  }
  std::vector<std::string> parts = ParseNameParts(4, true);
  name.name = std::move(parts.back());
  parts.pop_back();
  if (!parts.empty()) { name.schema = std::move(parts.back()); parts.pop_back(); }
  if (!parts.empty()) { name.database = std::move(parts.back()); parts.pop_back(); }
  if (!parts.empty()) name.server = std::move(parts.back());
  return name;
}

ast::TypeName Parser::ParseTypeName() {
  ast::TypeName type;
  type.pos = Peek().pos;
  type.name = ToLower(ExpectName());
  // sysname is nvarchar(128) by another name.
  if (type.name == "sysname") type.length = 128;
  if (!AcceptSymbol("(")) return type;
  if (AcceptKeyword("max")) {
    type.length = ast::TypeName::kMax;
  } else {
    const Token& length = Peek();
    const int64_t value = ExpectInteger();
    if (value < 0 || value > std::numeric_limits<int32_t>::max()) FailAt(length);
    type.length = static_cast<int32_t>(value);
    if (AcceptSymbol(",")) {
      const Token& scale = Peek();
      const int64_t scale_value = ExpectInteger();
      if (scale_value < 0 || scale_value > std::numeric_limits<int32_t>::max()) FailAt(scale);
      type.scale = static_cast<int32_t>(scale_value);
    }
  }
  ExpectSymbol(")");
  return type;
}

int64_t Parser::ExpectInteger() {
  bool negative = false;
  if (AtSymbol("-") || AtSymbol("+")) negative = Take().text == "-";
  const Token& token = Peek();
  if (token.kind != TokenKind::kInteger) FailAtCurrent();
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t value = 0;
  for (char c : token.text) {
    const int digit = c - '0';
    if (value > (kMax - digit) / 10) FailAt(token);
    value = value * 10 + digit;
  }
  Take();
  return negative ? -value : value;
}

void Parser::FailAtCurrent() const {
  // At the end the server names the last token it read.
  if (AtEnd() && next_ > 0) FailAt(tokens_[next_ - 1]);
  FailAt(Peek());
}

void Parser::FailAt(const Token& token) const {
  if (token.kind == TokenKind::kEnd && tokens_.size() > 1) FailAt(tokens_[tokens_.size() - 2]);
  if (token.kind == TokenKind::kWord && IsReservedKeyword(token.text)) {
    Fail(156, "Incorrect syntax near the keyword '" + ToUpper(token.text) + "'.",
         token.pos.line);
  }
  std::string near;
  if (token.kind == TokenKind::kString || token.kind == TokenKind::kQuotedName) {
    near = token.text;
  } else {
    near = std::string(text_.substr(token.pos.offset, token.end - token.pos.offset));
  }
  Fail(102, "Incorrect syntax near '" + near + "'.", token.pos.line);
}

void Parser::Fail(int32_t number, std::string message, int32_t line) const {
  throw SyntaxError{ServerError(number, std::move(message), line)};
}

Parser::NestingGuard::NestingGuard(Parser& parser) : parser_(parser) {
  if (++parser_.depth_ > kMaxNesting) {
    --parser_.depth_;
    parser_.Fail(191, kTooDeep, parser_.Peek().pos.line);
  }
}

int32_t Parser::HeightOf(const void* node) const {
  if (node == nullptr) return 0;
  auto found = heights_.find(node);
  return found == heights_.end() ? 1 : found->second;
}

void Parser::CheckHeight(int32_t height) const {
  if (height > kMaxTreeHeight) Fail(191, kTooDeep, Peek().pos.line);
}

void Parser::RecordHeight(const void* node, int32_t height) {
  CheckHeight(height);
  heights_[node] = height;
}

ast::ExprPtr NewExpr(ast::ExprKind kind, const ast::SourcePos& pos) {
  auto expr = std::make_unique<ast::Expr>();
  expr->kind = kind;
  expr->pos = pos;
  return expr;
}

ast::ExprPtr Parser::Finish(ast::ExprPtr expr) {
  int32_t below = HeightOf(expr->subquery.get());
  for (const ast::ExprPtr& arg : expr->args) below = std::max(below, HeightOf(arg.get()));
  if (expr->over) {
    for (const ast::ExprPtr& part : expr->over->partition_by) below = std::max(below, HeightOf(part.get()));
    for (const ast::OrderItem& item : expr->over->order_by) below = std::max(below, HeightOf(item.expr.get()));
  }
  RecordHeight(expr.get(), below + 1);
  return expr;
}

}  // namespace sqlsim::front
