// Any text after '=' in a table spec, as an address of a caller's TableDef:
// refused or copied without faulting, whatever memory it names. The input's
// own bytes are offered as a definition too, at an address the text can
// name.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "include/lerv32.h"
#include "stmt/table_def_address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  TableDef copy{};
  if (lerv32::CopyTableDefAt(text.c_str(), &copy)) {
    for (const char* filter : copy.KeyFilter) {
      if (filter != nullptr) std::abort();
    }
  }
  // The same bytes as a definition at an address of their own.
  alignas(TableDef) static unsigned char held[sizeof(TableDef)];
  std::memset(held, 0, sizeof held);
  std::memcpy(held, data, size < sizeof held ? size : sizeof held);
  char spec[40];
  std::snprintf(spec, sizeof spec, "0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(held)));
  lerv32::CopyTableDefAt(spec, &copy);
  return 0;
}
