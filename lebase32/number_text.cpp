#include "lebase32/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace lebase32 {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

ScannedNumber ScanNumber(const char* p, std::size_t n, bool with_fraction) {
  ScannedNumber number;
  if (p == nullptr) return number;
  std::size_t i = 0;
  while (i < n && (p[i] == ' ' || p[i] == '\t')) ++i;
  if (i < n && (p[i] == '-' || p[i] == '+')) number.negative = p[i++] == '-';
  while (i < n && IsDigit(p[i])) number.digits += p[i++];
  if (with_fraction && i < n && (p[i] == '.' || p[i] == ',')) {
    ++i;
    while (i < n && IsDigit(p[i])) number.fraction += p[i++];
  }
  return number;
}

int32_t ToLong(const ScannedNumber& number) {
  int64_t magnitude = 0;
  for (char c : number.digits) {
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > int64_t{1} << 32) break;  // far beyond the long range
  }
  const int64_t value = number.negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

double ToDouble(const ScannedNumber& number) {
  if (number.digits.empty() && number.fraction.empty()) return 0.0;
  std::string text = number.digits.empty() ? "0" : number.digits;
  if (!number.fraction.empty()) text += "." + number.fraction;
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value,
                                      std::chars_format::fixed);
  if (result.ec == std::errc::result_out_of_range) value = std::numeric_limits<double>::max();
  return number.negative ? -value : value;
}

int32_t ClampDecimals(int32_t dec) { return dec < 0 ? 0 : (dec > 15 ? 15 : dec); }

namespace {

// A finite magnitude as its shortest round-trip decimal digits: the value is
// 0.digits times ten to the power point.
struct DecimalDigits {
  std::string digits;
  int point = 0;
};

DecimalDigits ShortestDigits(double magnitude) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific);
  const std::string text(buffer, result.ptr);
  const std::size_t e = text.find('e');
  DecimalDigits decimal;
  for (std::size_t i = 0; i < e; ++i) {
    if (IsDigit(text[i])) decimal.digits += text[i];
  }
  const bool negative_exponent = text[e + 1] == '-';
  int exponent = 0;
  std::from_chars(text.data() + e + 2, text.data() + text.size(), exponent);
  decimal.point = (negative_exponent ? -exponent : exponent) + 1;
  return decimal;
}

// Rounds half away from zero at dec places after the point.
void RoundDigits(DecimalDigits& decimal, int dec) {
  const long keep = static_cast<long>(decimal.point) + dec;
  if (keep >= static_cast<long>(decimal.digits.size())) return;
  if (keep < 0) {
    decimal.digits.clear();
    return;
  }
  const bool up = decimal.digits[static_cast<std::size_t>(keep)] >= '5';
  decimal.digits.resize(static_cast<std::size_t>(keep));
  if (!up) return;
  std::size_t i = decimal.digits.size();
  while (i > 0 && decimal.digits[i - 1] == '9') decimal.digits[--i] = '0';
  if (i > 0) {
    ++decimal.digits[i - 1];
  } else {
    decimal.digits.insert(decimal.digits.begin(), '1');
    ++decimal.point;
  }
}

// Digit at position index counted from the first digit after the point
// (negative indexes are integer digits).
char DigitAt(const DecimalDigits& decimal, long index) {
  const long at = decimal.point + index;
  return at >= 0 && at < static_cast<long>(decimal.digits.size())
             ? decimal.digits[static_cast<std::size_t>(at)]
             : '0';
}

std::string FixedText(bool negative, const DecimalDigits& decimal, int dec) {
  const bool is_zero = decimal.digits.find_first_not_of('0') == std::string::npos;
  std::string text = negative && !is_zero ? "-" : "";
  for (long i = -std::max(decimal.point, 1); i < 0; ++i) text += DigitAt(decimal, i);
  if (dec > 0) text += '.';
  for (long i = 0; i < dec; ++i) text += DigitAt(decimal, i);
  return text;
}

}  // namespace

double RoundHalfAway(double value, int32_t dec) {
  const std::string text = FormatFixed(value, dec);
  if (text.empty()) return value;
  double rounded = 0.0;
  std::from_chars(text.data(), text.data() + text.size(), rounded);
  return rounded == 0.0 ? 0.0 : rounded;
}

std::string FormatFixed(double value, int32_t dec) {
  if (!std::isfinite(value)) return {};
  dec = ClampDecimals(dec);
  DecimalDigits decimal = value == 0.0 ? DecimalDigits{"0", 1} : ShortestDigits(std::fabs(value));
  RoundDigits(decimal, dec);
  return FixedText(value < 0, decimal, dec);
}

std::string FormatLong(int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

void WriteRightAligned(char* p, std::size_t w, const std::string& text) {
  if (text.empty() || text.size() > w) {
    std::memset(p, '*', w);
    return;
  }
  const std::size_t pad = w - text.size();
  std::memset(p, ' ', pad);
  std::memcpy(p + pad, text.data(), text.size());
}

}  // namespace lebase32
