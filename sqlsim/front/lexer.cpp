#include "sqlsim/front/lexer.h"

#include <array>
#include <utility>

namespace sqlsim {
namespace {

enum CharClass : uint8_t {
  kSpace = 1,
  kNameStart = 2,  // may start a plain name
  kNamePart = 4,   // may continue a name or variable
  kDigit = 8,
  kHexDigit = 16,
};

constexpr std::array<uint8_t, 256> MakeCharClasses() {
  std::array<uint8_t, 256> classes{};
  for (int c = 0; c < 256; ++c) {
    uint8_t k = 0;
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    const bool digit = c >= '0' && c <= '9';
    // Bytes above ASCII are letters of the code page (or UTF-8 parts).
    if (letter || c == '_' || c == '#' || c >= 0x80) k |= kNameStart | kNamePart;
    if (digit || c == '@' || c == '$') k |= kNamePart;
    if (digit) k |= kDigit | kHexDigit;
    if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) k |= kHexDigit;
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f') k |= kSpace;
    classes[static_cast<size_t>(c)] = k;
  }
  return classes;
}

constexpr std::array<uint8_t, 256> kCharClasses = MakeCharClasses();

constexpr std::string_view kTwoCharSymbols[] = {"<>", "!=", "<=", ">=", "!<", "!>"};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return c - 'A' + 10;
}

class Lexer {
 public:
  Lexer(std::string_view text, Diagnostics* errors) : text_(text), errors_(errors) {}

  std::vector<Token> Run() {
    std::vector<Token> tokens;
    while (SkipSpaceAndComments() && offset_ < text_.size()) {
      Token token;
      token.pos = Pos();
      if (!LexToken(&token)) break;
      token.end = offset_;
      tokens.push_back(std::move(token));
    }
    Token end;
    end.pos = Pos();
    end.end = offset_;
    tokens.push_back(std::move(end));
    return tokens;
  }

 private:
  bool Is(size_t at, uint8_t cls) const {
    return at < text_.size() && (kCharClasses[static_cast<unsigned char>(text_[at])] & cls) != 0;
  }
  char At(size_t at) const { return at < text_.size() ? text_[at] : '\0'; }

  ast::SourcePos Pos() const {
    ast::SourcePos pos;
    pos.line = line_;
    pos.column = static_cast<int>(offset_ - line_start_) + 1;
    pos.offset = offset_;
    return pos;
  }

  void Advance(size_t count) {
    for (size_t end = offset_ + count; offset_ < end && offset_ < text_.size(); ++offset_) {
      if (text_[offset_] == '\n') {
        ++line_;
        line_start_ = offset_ + 1;
      }
    }
  }

  bool Error(Diagnostic error) {
    errors_->push_back(std::move(error));
    return false;
  }

  bool SkipSpaceAndComments();
  bool SkipBlockComment();
  bool LexToken(Token* token);
  bool LexQuoted(char close, Token* token);
  bool LexName(size_t start, Token* token);
  void LexNumber(Token* token);
  void LexBinary(Token* token);
  bool CheckNameLength(const std::string& name, int line);

  std::string_view text_;
  Diagnostics* errors_;
  size_t offset_ = 0;
  size_t line_start_ = 0;
  int line_ = 1;
  int32_t parameters_ = 0;
};

bool Lexer::SkipSpaceAndComments() {
  for (;;) {
    if (Is(offset_, kSpace)) {
      Advance(1);
    } else if (At(offset_) == '-' && At(offset_ + 1) == '-') {
      while (offset_ < text_.size() && text_[offset_] != '\n') Advance(1);
    } else if (At(offset_) == '/' && At(offset_ + 1) == '*') {
      if (!SkipBlockComment()) return false;
    } else {
      return true;
    }
  }
}

// Block comments nest: /* a /* b */ c */ is one comment.
bool Lexer::SkipBlockComment() {
  const int start_line = line_;
  int depth = 0;
  while (offset_ < text_.size()) {
    if (At(offset_) == '/' && At(offset_ + 1) == '*') {
      ++depth;
      Advance(2);
    } else if (At(offset_) == '*' && At(offset_ + 1) == '/') {
      Advance(2);
      if (--depth == 0) return true;
    } else {
      Advance(1);
    }
  }
  return Error(ServerError(113, "Missing end comment mark '*/'.", start_line));
}

bool Lexer::LexToken(Token* token) {
  const char c = text_[offset_];
  if ((c == 'N' || c == 'n') && At(offset_ + 1) == '\'') {
    token->national = true;
    Advance(1);
    return LexQuoted('\'', token);
  }
  if (c == '\'') return LexQuoted('\'', token);
  if (c == '[') return LexQuoted(']', token);
  if (c == '"') return LexQuoted('"', token);
  if (c == '0' && (At(offset_ + 1) == 'x' || At(offset_ + 1) == 'X')) {
    LexBinary(token);
    return true;
  }
  if (Is(offset_, kDigit) || (c == '.' && Is(offset_ + 1, kDigit))) {
    LexNumber(token);
    return true;
  }
  if (Is(offset_, kNameStart) || c == '@') return LexName(offset_, token);
  if (c == '?') {
    token->kind = TokenKind::kParameter;
    token->text = "?";
    token->param_index = parameters_++;
    Advance(1);
    return true;
  }
  token->kind = TokenKind::kSymbol;
  for (std::string_view two : kTwoCharSymbols) {
    if (text_.substr(offset_, 2) == two) {
      token->text = std::string(two);
      Advance(2);
      return true;
    }
  }
  token->text = std::string(1, c);
  Advance(1);
  return true;
}

// 'string', [name], "name": the closing character doubled stands for itself.
bool Lexer::LexQuoted(char close, Token* token) {
  const int start_line = line_;
  token->kind = close == '\'' ? TokenKind::kString : TokenKind::kQuotedName;
  Advance(1);
  const size_t body = offset_;
  std::string value;
  for (;;) {
    if (offset_ >= text_.size()) {
      return Error(ServerError(
          105, "Unclosed quotation mark after the character string '" +
                   std::string(text_.substr(body)) + "'.",
          start_line));
    }
    const char c = text_[offset_];
    if (c == close) {
      if (At(offset_ + 1) != close) break;
      Advance(1);
    }
    value.push_back(c);
    Advance(1);
  }
  Advance(1);
  token->text = std::move(value);
  if (token->kind == TokenKind::kString) return true;
  if (token->text.empty()) {
    return Error(ServerError(1038, "An object or column name is missing or empty. For SELECT INTO statements, "
                                   "verify each column has a name. For other statements, look for empty alias "
                                   "names. Aliases defined as \"\" or [] are not allowed. Change the alias to a "
                                   "valid name.",
                             start_line));
  }
  return CheckNameLength(token->text, start_line);
}

bool Lexer::LexName(size_t start, Token* token) {
  token->kind = text_[start] == '@' ? TokenKind::kVariable : TokenKind::kWord;
  size_t end = start + 1;
  while (Is(end, kNamePart)) ++end;
  token->text = std::string(text_.substr(start, end - start));
  const int line = line_;
  Advance(end - start);
  return CheckNameLength(token->text, line);
}

bool Lexer::CheckNameLength(const std::string& name, int line) {
  if (name.size() <= kMaxIdentifierLength) return true;
  return Error(ServerError(103, "The identifier that starts with '" +
                                    name.substr(0, kMaxIdentifierLength) +
                                    "' is too long. Maximum length is 128.",
                           line));
}

void Lexer::LexNumber(Token* token) {
  size_t end = offset_;
  while (Is(end, kDigit)) ++end;
  token->kind = TokenKind::kInteger;
  if (At(end) == '.') {
    token->kind = TokenKind::kDecimal;
    ++end;
    while (Is(end, kDigit)) ++end;
  }
  if (At(end) == 'e' || At(end) == 'E') {
    size_t digits = end + 1;
    if (At(digits) == '+' || At(digits) == '-') ++digits;
    if (Is(digits, kDigit)) {
      token->kind = TokenKind::kFloat;
      end = digits;
      while (Is(end, kDigit)) ++end;
    }
  }
  token->text = std::string(text_.substr(offset_, end - offset_));
  Advance(end - offset_);
}

// 0x followed by hex digits; an odd count gets a leading zero, as the
// server reads 0x123 as 0x0123.
void Lexer::LexBinary(Token* token) {
  token->kind = TokenKind::kBinary;
  size_t end = offset_ + 2;
  while (Is(end, kHexDigit)) ++end;
  std::string digits(text_.substr(offset_ + 2, end - offset_ - 2));
  if (digits.size() % 2 != 0) digits.insert(digits.begin(), '0');
  for (size_t i = 0; i < digits.size(); i += 2) {
    token->text.push_back(static_cast<char>(HexValue(digits[i]) * 16 + HexValue(digits[i + 1])));
  }
  Advance(end - offset_);
}

}  // namespace

std::vector<Token> Tokenize(std::string_view text, Diagnostics* errors) {
  return Lexer(text, errors).Run();
}

}  // namespace sqlsim
