// Search patterns of the catalog functions: `%` any run of characters, `_`
// one character, `\` takes the next character as it is.
#include <cctype>

#include "sqlsim/engine/catalog_queries.h"

namespace sqlsim {
namespace {

bool SameLetter(char a, char b) {
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!SameLetter(a[i], b[i])) return false;
  }
  return true;
}

}  // namespace

bool MatchesSearchPattern(std::string_view pattern, std::string_view name) {
  // Backtracking over the last `%` only: linear in practice, never
  // exponential.
  size_t p = 0, n = 0;
  size_t star_p = std::string_view::npos, star_n = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '%') {
      star_p = ++p;
      star_n = n;
      continue;
    }
    if (p < pattern.size()) {
      bool escaped = pattern[p] == '\\' && p + 1 < pattern.size();
      char want = escaped ? pattern[p + 1] : pattern[p];
      if ((!escaped && want == '_') || SameLetter(want, name[n])) {
        p += escaped ? 2 : 1;
        ++n;
        continue;
      }
    }
    if (star_p == std::string_view::npos) return false;
    p = star_p;
    n = ++star_n;
  }
  while (p < pattern.size() && pattern[p] == '%') ++p;
  return p == pattern.size();
}

bool NameArgument::Matches(std::string_view name) const {
  switch (mode) {
    case Mode::kAny:
      return true;
    case Mode::kPattern:
      return MatchesSearchPattern(text, name);
    case Mode::kExact:
      return SameName(text, name);
  }
  return false;
}

std::vector<std::string> SplitTableTypes(std::string_view list) {
  std::vector<std::string> types;
  std::string current;
  auto flush = [&] {
    if (!current.empty()) types.push_back(current);
    current.clear();
  };
  for (char c : list) {
    if (c == ',') {
      flush();
    } else if (c != '\'' && c != ' ' && c != '\t') {
      current += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    } else if (c == ' ' && !current.empty()) {
      current += ' ';  // "SYSTEM TABLE"
    }
  }
  flush();
  for (std::string& t : types) {
    while (!t.empty() && t.back() == ' ') t.pop_back();
  }
  return types;
}

}  // namespace sqlsim
