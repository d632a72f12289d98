#include "lebase32/number_text.h"

#include <charconv>
#include <cfloat>
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

double RoundHalfAway(double value, int32_t dec) {
  if (!std::isfinite(value)) return value;
  const double scale = std::pow(10.0, ClampDecimals(dec));
  double scaled = value * scale;
  if (std::fabs(scaled) >= 4503599627370496.0) return value;  // 2^52: no fraction left
  // Values such as 1.005 are stored a hair below the half; a few units of
  // the last place decide the tie as a person reading the decimal would.
  scaled += std::copysign(std::fabs(scaled) * 4 * DBL_EPSILON, scaled);
  const double rounded = std::round(scaled) / scale;
  return rounded == 0.0 ? 0.0 : rounded;
}

std::string FormatFixed(double value, int32_t dec) {
  if (!std::isfinite(value)) return {};
  dec = ClampDecimals(dec);
  value = RoundHalfAway(value, dec);
  char buffer[DBL_MAX_10_EXP + 40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::fixed, dec);
  if (result.ec != std::errc()) return {};
  return std::string(buffer, result.ptr);
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
