// Numeric text fields and numbers in zero-terminated text.
#include <cstring>

#include "include/lebase32.h"
#include "lebase32/number_text.h"

using lebase32::ScanNumber;

namespace {

std::size_t TextLength(const char* text) { return text == nullptr ? 0 : std::strlen(text); }

// Writes text into dest right-aligned in width characters and terminates it.
void WriteTerminated(char* dest, int32_t width, const std::string& text) {
  const std::size_t w = width < 1 ? text.size() : static_cast<std::size_t>(width);
  lebase32::WriteRightAligned(dest, w, text);
  dest[w] = '\0';
}

}  // namespace

extern "C" {

int32_t LEBASE32_CALL CharNToLong(const char* p, int32_t w) {
  if (w < 1) return 0;
  return lebase32::ToLong(ScanNumber(p, static_cast<std::size_t>(w), false));
}

double LEBASE32_CALL CharNToDouble(const char* p, int32_t w, int32_t /*dec*/) {
  // The point is always written, so the text carries its own scale.
  if (w < 1) return 0.0;
  return lebase32::ToDouble(ScanNumber(p, static_cast<std::size_t>(w), true));
}

void LEBASE32_CALL LongToCharN(char* p, int32_t w, int32_t value) {
  if (p == nullptr || w < 1) return;
  lebase32::WriteRightAligned(p, static_cast<std::size_t>(w), lebase32::FormatLong(value));
}

void LEBASE32_CALL DoubleToCharN(char* p, int32_t w, int32_t dec, double value) {
  if (p == nullptr || w < 1) return;
  std::string text = lebase32::FormatFixed(value, dec);
  // "-.50": a field as wide as its digits and sign still holds -0.5.
  const bool leading_zero = text.compare(0, 2, "0.") == 0 || text.compare(0, 3, "-0.") == 0;
  if (text.size() > static_cast<std::size_t>(w) && leading_zero) text.erase(text.find('0'), 1);
  lebase32::WriteRightAligned(p, static_cast<std::size_t>(w), text);
}

int32_t LEBASE32_CALL StringToLong(const char* text) {
  return lebase32::ToLong(ScanNumber(text, TextLength(text), false));
}

double LEBASE32_CALL StringToDouble(const char* text) {
  return lebase32::ToDouble(ScanNumber(text, TextLength(text), true));
}

void LEBASE32_CALL LongToString(char* dest, int32_t value, int32_t width) {
  if (dest == nullptr) return;
  const std::string text = lebase32::FormatLong(value);
  const int32_t length = static_cast<int32_t>(text.size());
  WriteTerminated(dest, width > length ? width : length, text);
}

void LEBASE32_CALL DoubleToString(char* dest, double value, int32_t width, int32_t dec) {
  if (dest == nullptr) return;
  constexpr int32_t kMaxNaturalWidth = 63;
  std::string text = lebase32::FormatFixed(value, dec);
  if (width < 1) {
    width = text.empty() || text.size() > kMaxNaturalWidth ? kMaxNaturalWidth
                                                            : static_cast<int32_t>(text.size());
  }
  WriteTerminated(dest, width, text);
}

double LEBASE32_CALL dRnd(double value, int32_t dec) {
  return lebase32::RoundHalfAway(value, dec);
}

}  // extern "C"
