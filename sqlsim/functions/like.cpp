#include "sqlsim/functions/like.h"

#include <utility>
#include <vector>

#include "sqlsim/functions/text.h"

namespace sqlsim {

namespace {

unsigned char Fold(char c) { return UpperCp1252(static_cast<unsigned char>(c)); }

struct Token {
  enum class Kind { kLiteral, kOne, kAnyRun, kSet, kNever };
  Kind kind = Kind::kLiteral;
  unsigned char literal = 0;  // folded
  bool negated = false;
  std::vector<std::pair<unsigned char, unsigned char>> ranges;  // folded

  bool Matches(char c) const {
    unsigned char f = Fold(c);
    switch (kind) {
      case Kind::kLiteral: return f == literal;
      case Kind::kOne: return true;
      case Kind::kSet: {
        bool in = false;
        for (const auto& r : ranges) in = in || (f >= r.first && f <= r.second);
        return in != negated;
      }
      case Kind::kAnyRun: case Kind::kNever: break;
    }
    return false;
  }
};

// Reads the set that starts after '[' at *pos; false if no ']' closes it,
// and then the '[' stands for itself.
bool ParseSet(std::string_view pattern, int escape, size_t* pos, Token* token) {
  size_t i = *pos;
  token->kind = Token::Kind::kSet;
  if (i < pattern.size() && pattern[i] == '^' && i + 1 < pattern.size() &&
      pattern[i + 1] != ']') {
    token->negated = true;
    ++i;
  }
  std::vector<unsigned char> members;
  std::vector<bool> escaped;
  for (; i < pattern.size() && pattern[i] != ']'; ++i) {
    bool is_escape = escape != kNoEscape &&
                     static_cast<unsigned char>(pattern[i]) == escape &&
                     i + 1 < pattern.size();
    if (is_escape) ++i;
    members.push_back(Fold(pattern[i]));
    escaped.push_back(is_escape);
  }
  if (i >= pattern.size()) return false;
  for (size_t k = 0; k < members.size(); ++k) {
    bool range = k + 2 < members.size() && members[k + 1] == '-' && !escaped[k + 1];
    if (range) {
      token->ranges.emplace_back(members[k], members[k + 2]);
      k += 2;
    } else {
      token->ranges.emplace_back(members[k], members[k]);
    }
  }
  *pos = i + 1;
  return true;
}

std::vector<Token> ParsePattern(std::string_view pattern, int escape) {
  std::vector<Token> tokens;
  for (size_t i = 0; i < pattern.size();) {
    char c = pattern[i];
    Token token;
    if (escape != kNoEscape && static_cast<unsigned char>(c) == escape) {
      // An escape with nothing after it leaves a pattern nothing matches.
      if (i + 1 >= pattern.size()) return {Token{Token::Kind::kNever, 0, false, {}}};
      token.literal = Fold(pattern[i + 1]);
      i += 2;
    } else if (c == '%') {
      ++i;
      if (!tokens.empty() && tokens.back().kind == Token::Kind::kAnyRun) continue;
      token.kind = Token::Kind::kAnyRun;
    } else if (c == '_') {
      token.kind = Token::Kind::kOne;
      ++i;
    } else if (c == '[') {
      size_t after = i + 1;
      if (ParseSet(pattern, escape, &after, &token)) {
        i = after;
      } else {
        token = Token{};
        token.literal = Fold(c);
        ++i;
      }
    } else {
      token.literal = Fold(c);
      ++i;
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

}  // namespace

bool LikeMatch(std::string_view value, std::string_view pattern, int escape) {
  std::vector<Token> tokens = ParsePattern(pattern, escape);
  if (!tokens.empty() && tokens.front().kind == Token::Kind::kNever) return false;
  const size_t m = tokens.size();
  const size_t core = TrimTrailingBlanks(value).size();
  // row[j]: the value read so far matches the first j tokens.
  std::vector<char> row(m + 1, 0);
  std::vector<char> next(m + 1, 0);
  row[0] = 1;
  for (size_t j = 1; j <= m; ++j) {
    row[j] = row[j - 1] && tokens[j - 1].kind == Token::Kind::kAnyRun;
  }
  if (core == 0 && row[m]) return true;
  for (size_t i = 0; i < value.size(); ++i) {
    next[0] = 0;
    bool any = false;
    for (size_t j = 1; j <= m; ++j) {
      const Token& t = tokens[j - 1];
      next[j] = t.kind == Token::Kind::kAnyRun ? (next[j - 1] || row[j])
                                               : (row[j - 1] && t.Matches(value[i]));
      any = any || next[j];
    }
    row.swap(next);
    if (i + 1 >= core && row[m]) return true;
    if (!any) return false;
  }
  return false;
}

}  // namespace sqlsim
