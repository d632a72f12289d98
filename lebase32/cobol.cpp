// COBOL numeric (packed decimal) and COBOL binary fields.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "include/lebase32.h"
#include "lebase32/number_text.h"

namespace {

constexpr unsigned char kSignPositive = 0x0C;
constexpr unsigned char kSignNegative = 0x0D;

unsigned char Nibble(const char* p, std::size_t index) {
  const auto byte = static_cast<unsigned char>(p[index / 2]);
  return index % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

void SetNibble(char* p, std::size_t index, unsigned char value) {
  auto& byte = reinterpret_cast<unsigned char&>(p[index / 2]);
  byte = index % 2 == 0 ? static_cast<unsigned char>((byte & 0x0F) | (value << 4))
                        : static_cast<unsigned char>((byte & 0xF0) | value);
}

// Digits of the rounded magnitude with the decimals implied, leading zeros
// removed; empty for NaN.
std::string ScaledDigits(double value, int32_t dec) {
  std::string text = lebase32::FormatFixed(std::fabs(value), dec);
  if (text.empty()) return std::isinf(value) ? std::string(400, '9') : "0";
  text.erase(std::remove(text.begin(), text.end(), '.'), text.end());
  const auto first = text.find_first_not_of('0');
  return first == std::string::npos ? "0" : text.substr(first);
}

}  // namespace

extern "C" {

double LEBASE32_CALL CobolNToDouble(const char* p, int32_t w, int32_t dec) {
  if (p == nullptr || w < 1) return 0.0;
  const std::size_t digit_count = 2 * static_cast<std::size_t>(w) - 1;
  std::string text;
  for (std::size_t i = 0; i < digit_count; ++i) {
    const unsigned char digit = Nibble(p, i);
    text += static_cast<char>('0' + (digit > 9 ? 0 : digit));  // garbage nibbles count as 0
  }
  text += "e-" + std::to_string(lebase32::ClampDecimals(dec));
  double value = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  const unsigned char sign = Nibble(p, digit_count);
  const bool negative = sign == 0x0D || sign == 0x0B;
  return negative && value != 0.0 ? -value : value;
}

void LEBASE32_CALL DoubleToCobolN(char* p, int32_t w, int32_t dec, double value) {
  if (p == nullptr || w < 1) return;
  const std::size_t digit_count = 2 * static_cast<std::size_t>(w) - 1;
  std::string digits = ScaledDigits(value, lebase32::ClampDecimals(dec));
  if (digits.size() > digit_count) digits.assign(digit_count, '9');
  const bool negative = value < 0 && digits != "0";
  std::memset(p, 0, static_cast<std::size_t>(w));
  const std::size_t lead = digit_count - digits.size();
  for (std::size_t i = 0; i < digits.size(); ++i) {
    SetNibble(p, lead + i, static_cast<unsigned char>(digits[i] - '0'));
  }
  SetNibble(p, digit_count, negative ? kSignNegative : kSignPositive);
}

int32_t LEBASE32_CALL CobolXToLong(const char* p, int32_t w) {
  if (p == nullptr || w < 1) return 0;
  const std::size_t width = static_cast<std::size_t>(w);
  const std::size_t used = width < 8 ? width : 8;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(p) + (width - used);
  uint64_t raw = (bytes[0] & 0x80) ? ~uint64_t{0} : 0;  // sign extension
  for (std::size_t i = 0; i < used; ++i) raw = (raw << 8) | bytes[i];
  const auto value = static_cast<int64_t>(raw);
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

void LEBASE32_CALL LongToCobolX(char* p, int32_t w, int32_t value) {
  if (p == nullptr || w < 1) return;
  int64_t v = value;
  if (w < 4) {
    const int64_t max = (int64_t{1} << (8 * w - 1)) - 1;
    v = v > max ? max : (v < -max - 1 ? -max - 1 : v);
  }
  auto raw = static_cast<uint64_t>(v);
  for (int32_t i = w - 1; i >= 0; --i) {
    p[i] = static_cast<char>(raw & 0xFF);
    raw = v < 0 ? (raw >> 8) | (uint64_t{0xFF} << 56) : raw >> 8;
  }
}

}  // extern "C"
