// Arbitrary bytes as a profile, with a section and key taken from the
// input's first two lines: reading never fails harder than "no value", and
// a value found lies inside the text.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t first = input.find('\n');
  const size_t second = first == std::string_view::npos ? first : input.find('\n', first + 1);
  const std::string_view section = input.substr(0, first);
  const std::string_view key =
      first == std::string_view::npos ? std::string_view() : input.substr(first + 1, second - first - 1);
  const std::string_view text = second == std::string_view::npos ? input : input.substr(second + 1);
  if (const std::optional<std::string> value = platform::FindProfileValue(text, section, key)) {
    if (value->size() > text.size()) std::abort();
    platform::ProfileNumber(*value);
  }
  platform::ProfileNumber(input);
  return 0;
}
