#include "sqlsim/functions/text.h"

#include <algorithm>

namespace sqlsim {

namespace {

// Pairs outside the two contiguous letter blocks.
constexpr unsigned char kUpperOdd[] = {0x8A, 0x8C, 0x8E, 0x9F};
constexpr unsigned char kLowerOdd[] = {0x9A, 0x9C, 0x9E, 0xFF};

bool IsSpaceLike(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

unsigned char UpperCp1252(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) {
    return static_cast<unsigned char>(c - 0x20);
  }
  for (size_t i = 0; i < sizeof(kLowerOdd); ++i) {
    if (c == kLowerOdd[i]) return kUpperOdd[i];
  }
  return c;
}

unsigned char LowerCp1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
    return static_cast<unsigned char>(c + 0x20);
  }
  for (size_t i = 0; i < sizeof(kUpperOdd); ++i) {
    if (c == kUpperOdd[i]) return kLowerOdd[i];
  }
  return c;
}

std::string UpperText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(UpperCp1252(static_cast<unsigned char>(c)));
  return out;
}

std::string LowerText(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(LowerCp1252(static_cast<unsigned char>(c)));
  return out;
}

int CompareTsql(std::string_view a, std::string_view b) {
  a = TrimTrailingBlanks(a);
  b = TrimTrailingBlanks(b);
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = UpperCp1252(static_cast<unsigned char>(a[i]));
    unsigned char y = UpperCp1252(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string_view TrimTrailingBlanks(std::string_view text) {
  size_t n = text.size();
  while (n > 0 && IsBlank(text[n - 1])) --n;
  return text.substr(0, n);
}

std::string_view TrimLeadingBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  return text.substr(i);
}

std::string_view TrimBlanks(std::string_view text) {
  return TrimLeadingBlanks(TrimTrailingBlanks(text));
}

std::string_view TrimSpace(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsSpaceLike(text[begin])) ++begin;
  while (end > begin && IsSpaceLike(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

size_t FindFolded(std::string_view hay, std::string_view needle, size_t from) {
  if (needle.empty()) return std::string_view::npos;
  return UpperText(hay).find(UpperText(needle), from);
}

}  // namespace sqlsim
