// Arbitrary bytes as a settings store: reading never fails harder than "no
// value", and a value stored into any such file reads back unchanged.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "include/lebase32.h"

namespace {

const std::string& StorePath() {
  static const std::string path = [] {
    std::string p = "/tmp/lerv32-fuzz-settings-" + std::to_string(getpid()) + ".conf";
    setenv("LEBASE32_SETTINGS", p.c_str(), 1);
    return p;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = StorePath();
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  char value[64];
  for (const char* key : {"A", "LEXO32_OemConvert", "=", ""}) uGetHwpKeyString(key, value, 12);

  // A key taken from the input itself may be refused, never mishandled; a
  // plain key always stores and reads back.
  const std::string raw_key(reinterpret_cast<const char*>(data), size < 8 ? size : 8);
  uSetHwpKeyString(std::string(raw_key.c_str()).c_str(), "any value");
  if (uSetHwpKeyString("FuzzKey", "stored value") != 1) std::abort();
  if (uGetHwpKeyString("FuzzKey", value, sizeof value) == 0) std::abort();
  if (std::strcmp(value, "stored value") != 0) std::abort();
  return 0;
}
