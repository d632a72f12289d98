// Arbitrary bytes as a FORMAT pattern, for numbers and for dates in both
// cultures: a text or NULL, never a crash, and a result that stays near the
// pattern's size.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sqlsim/functions/format_pattern.h"

namespace {

using sqlsim::FormatCulture;

// Digits a number may add beyond the pattern: the whole part, groups and
// a padded year or fraction of at most a few characters per letter; a
// standard format such as N99 asks for up to 99 decimals in three bytes.
constexpr size_t kGrowthPerByte = 16;
constexpr size_t kGrowth = 160;

void Check(const std::optional<std::string>& out, size_t pattern_size) {
  if (out && out->size() > pattern_size * kGrowthPerByte + kGrowth) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view pattern(reinterpret_cast<const char*>(data), size);
  const sqlsim::DateTime moment{2024, 2, 29, 23, 59, 59, 997};
  for (FormatCulture culture : {FormatCulture::kEnUs, FormatCulture::kDeDe}) {
    for (const char* number : {"0", "-1234567.891", "99999999999999999999.5", "0.0005"}) {
      Check(sqlsim::FormatNumberPattern(number, false, pattern, culture), size);
    }
    Check(sqlsim::FormatNumberPattern("-42", true, pattern, culture), size);
    Check(sqlsim::FormatDatePattern(moment, pattern, culture), size);
  }
  return 0;
}
