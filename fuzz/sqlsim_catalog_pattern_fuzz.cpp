// Arbitrary bytes as the arguments of a catalog function: the first byte
// splits them into a search pattern and a name. Matching ends, agrees with
// the obvious facts (a pattern without wildcards or escapes matches only
// its own text, "%" everything), and the TableType list splits into
// upper-case types without quotes or commas.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sqlsim/engine/catalog_queries.h"

namespace {

bool HasWildcardOrEscape(std::string_view s) { return s.find_first_of("%_\\") != std::string_view::npos; }

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view all(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t split = std::min<size_t>(data[0], all.size());
  const std::string_view pattern = all.substr(0, split), name = all.substr(split);
  bool matched = sqlsim::MatchesSearchPattern(pattern, name);
  if (!HasWildcardOrEscape(pattern) && matched != SameIgnoringCase(pattern, name)) std::abort();
  if (!sqlsim::MatchesSearchPattern("%", name)) std::abort();
  if (!sqlsim::MatchesSearchPattern(std::string(pattern) + "%", std::string(name)) && matched &&
      pattern.find('\\') == std::string_view::npos) {
    std::abort();
  }
  for (const std::string& type : sqlsim::SplitTableTypes(all)) {
    if (type.empty() || type.find_first_of("',") != std::string::npos) std::abort();
    for (char c : type) {
      if (std::islower(static_cast<unsigned char>(c))) std::abort();
    }
  }
  return 0;
}
