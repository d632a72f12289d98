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

  // A key taken from the input itself, when it is one a store can hold.
  std::string key(reinterpret_cast<const char*>(data), size < 8 ? size : 8);
  key = key.substr(0, key.find_first_of(std::string("=\r\n\0", 4)));
  if (key.empty() || key.front() == ' ' || key.back() == ' ') key = "FuzzKey";
  if (uSetHwpKeyString(key.c_str(), "stored value") != 1) std::abort();
  if (uGetHwpKeyString(key.c_str(), value, sizeof value) == 0) std::abort();
  if (std::strcmp(value, "stored value") != 0) std::abort();
  return 0;
}
