// Arbitrary bytes as a definition file: loading never fails harder than an
// odd definition, and whatever was loaded and could be saved loads again the
// same.
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "include/lerv32.h"

namespace {

std::string TempPath(const char* what) {
  return "/tmp/lerv32-fuzz-" + std::to_string(getpid()) + "-" + what;
}

bool SameExceptFilters(const TableDef* a, const TableDef* b) {
  for (int k = 0; k < LERV32_MAX_KEYS; ++k) {
    const char* x = a->KeyFilter[k] ? a->KeyFilter[k] : "";
    const char* y = b->KeyFilter[k] ? b->KeyFilter[k] : "";
    if (std::strcmp(x, y) != 0) return false;
  }
  return std::memcmp(a, b, offsetof(TableDef, SqlRec)) == 0 && a->SqlKeyMask == b->SqlKeyMask &&
         a->UseKeyTable == b->UseKeyTable && a->UseMandant == b->UseMandant;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string input = TempPath("input.def");
  static const std::string saved = TempPath("saved.def");
  if (std::FILE* file = std::fopen(input.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  TableDef* td = rv_AllocTableDef();
  TableDef* again = rv_AllocTableDef();
  if (rv_LoadTableDef(td, input.c_str()) != 1) std::abort();
  if (rv_SaveTableDef(td, saved.c_str()) == 1) {
    if (rv_LoadTableDef(again, saved.c_str()) != 1) std::abort();
    // The levels are capped when loading; both loads capped them alike.
    if (!SameExceptFilters(td, again)) std::abort();
  }
  rv_FreeTableDef(td);
  rv_FreeTableDef(again);
  return 0;
}
