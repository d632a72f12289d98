// Tokens of a Transact-SQL batch. The lexer knows no keywords: a keyword is
// a plain word the parser compares case-insensitively, so that a quoted
// name ([select], "select") never counts as one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/diagnostic.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

enum class TokenKind {
  kEnd,         // after the last token; text empty
  kWord,        // plain name or keyword, as written (also #temp names)
  kQuotedName,  // [name] or "name": text without quotes, ]] and "" undone
  kVariable,    // @name, @@name: text as written
  kString,      // '...' or N'...': text is the value, '' undone
  kInteger,     // 12
  kDecimal,     // 12.5, .5, 12.
  kFloat,       // 1e3, 1.5E-3
  kBinary,      // 0x4142: text holds the bytes ("AB")
  kParameter,   // ?: param_index numbers them from 0
  kSymbol,      // operators and punctuation: = <> != <= ( ) , . ; ...
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;
  bool national = false;     // N'...'
  int32_t param_index = -1;  // kParameter
  ast::SourcePos pos;
  size_t end = 0;            // offset just past the token
};

// Longest name the server takes (identifiers and variables).
inline constexpr size_t kMaxIdentifierLength = 128;

// Splits text into tokens; the last token is always kEnd. On the first
// error (unclosed quote or comment, a name too long) appends it to *errors
// and returns the tokens read so far followed by kEnd.
// REQUIRES: errors != nullptr.
std::vector<Token> Tokenize(std::string_view text, Diagnostics* errors);

}  // namespace sqlsim
