// Any statement text goes through the translation of ODBC escape sequences
// without crashing, and text without a '{' comes back as it went in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sqlsim/odbc/escapes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  sqlsim::odbc::EscapeTranslation translated = sqlsim::odbc::TranslateEscapes(text);
  if (text.find('{') == std::string_view::npos && (!translated.ok || translated.text != text)) std::abort();
  if (!translated.ok && translated.error.native != 102) std::abort();
  return 0;
}
