// Any virtual-table text is parsed or refused without crashing, and what is
// taken from the text itself keeps to its limits. The profile it names is
// read from the working folder (none under the fuzzer).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "vtable/vt_open.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view spec(reinterpret_cast<const char*>(data), size);
  lerv32::VtTableRequest request;
  if (!lerv32::ParseVtTableSpec(spec, &request)) return 0;
  if (spec.empty()) std::abort();
  constexpr size_t kMaxName = 49;
  if ((spec.front() == '#' || spec.front() == '*') && request.connection.size() > kMaxName) std::abort();
  if (spec.front() == '*' && (!request.definition || request.text.size() > kMaxName)) std::abort();
  if (spec.front() == '#' && (request.definition || request.has_clause)) std::abort();
  return 0;
}
