#include "sqlsim/odbc/escape_scan.h"

#include <cctype>

namespace sqlsim::odbc {

namespace {

// A quoted piece closed by `close`; a doubled `close` stands for itself.
size_t SkipQuoted(std::string_view text, size_t pos, char close) {
  for (size_t i = pos + 1; i < text.size(); ++i) {
    if (text[i] != close) continue;
    if (i + 1 < text.size() && text[i + 1] == close) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return text.size();
}

size_t SkipLineComment(std::string_view text, size_t pos) {
  size_t end = text.find('\n', pos);
  return end == std::string_view::npos ? text.size() : end + 1;
}

// Block comments nest in Transact-SQL.
size_t SkipBlockComment(std::string_view text, size_t pos) {
  int depth = 0;
  size_t i = pos;
  while (i + 1 < text.size()) {
    if (text[i] == '/' && text[i + 1] == '*') {
      ++depth;
      i += 2;
    } else if (text[i] == '*' && text[i + 1] == '/') {
      i += 2;
      if (--depth == 0) return i;
    } else {
      ++i;
    }
  }
  return text.size();
}

}  // namespace

size_t SkipInert(std::string_view text, size_t pos) {
  if (pos >= text.size()) return pos;
  const char c = text[pos];
  const char next = pos + 1 < text.size() ? text[pos + 1] : '\0';
  switch (c) {
    case '\'': return SkipQuoted(text, pos, '\'');
    case '"': return SkipQuoted(text, pos, '"');
    case '[': return SkipQuoted(text, pos, ']');
    case '-': return next == '-' ? SkipLineComment(text, pos) : pos;
    case '/': return next == '*' ? SkipBlockComment(text, pos) : pos;
    default: return pos;
  }
}

std::vector<std::string> SplitArguments(std::string_view text) {
  std::vector<std::string> pieces;
  int depth = 0;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    size_t skipped = SkipInert(text, i);
    if (skipped != i) {
      i = skipped;
      continue;
    }
    if (text[i] == '(') ++depth;
    if (text[i] == ')') --depth;
    if (text[i] == ',' && depth == 0) {
      pieces.emplace_back(TrimBlanks(text.substr(start, i - start)));
      start = i + 1;
    }
    ++i;
  }
  pieces.emplace_back(TrimBlanks(text.substr(start)));
  return pieces;
}

size_t MatchingParenthesis(std::string_view text, size_t open) {
  int depth = 0;
  size_t i = open;
  while (i < text.size()) {
    size_t skipped = SkipInert(text, i);
    if (skipped != i) {
      i = skipped;
      continue;
    }
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) return i;
    ++i;
  }
  return std::string_view::npos;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace sqlsim::odbc
