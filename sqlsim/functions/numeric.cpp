#include "sqlsim/functions/numeric.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "sqlsim/functions/text.h"

namespace sqlsim {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipDigits(std::string_view s, size_t i) {
  while (i < s.size() && IsDigit(s[i])) ++i;
  return i;
}

// Exponents written with three digits, as the server's float output has them.
std::string WidenExponent(std::string text) {
  size_t e = text.find('e');
  if (e == std::string::npos || e + 2 > text.size()) return text;
  std::string digits = text.substr(e + 2);
  while (digits.size() < 3) digits.insert(0, "0");
  return text.substr(0, e + 2) + digits;
}

}  // namespace

NumParse ParseIntText(std::string_view text, int64_t* out) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  uint64_t magnitude = 0;
  for (char c : text) {
    if (!IsDigit(c)) return NumParse::kSyntax;
    if (magnitude > (UINT64_MAX - 9) / 10) return NumParse::kOverflow;
    magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
  }
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (magnitude > limit) return NumParse::kOverflow;
  *out = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return NumParse::kOk;
}

NumParse ParseFloatText(std::string_view text, bool with_exponent, double* out) {
  text = TrimBlanks(text);
  if (text.empty()) {
    *out = 0;
    return NumParse::kOk;
  }
  size_t i = text[0] == '+' || text[0] == '-' ? 1 : 0;
  const size_t mantissa_start = i;
  i = SkipDigits(text, i);
  size_t int_digits = i - mantissa_start;
  size_t frac_digits = 0;
  if (i < text.size() && text[i] == '.') {
    size_t after = SkipDigits(text, i + 1);
    frac_digits = after - i - 1;
    i = after;
  }
  if (int_digits + frac_digits == 0) return NumParse::kSyntax;
  if (with_exponent && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t after = SkipDigits(text, j);
    if (after == j) return NumParse::kSyntax;
    i = after;
  }
  if (i != text.size()) return NumParse::kSyntax;
  std::string_view body = text[0] == '+' ? text.substr(1) : text;
  double value = 0;
  auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; only a huge value is an error.
    size_t e = body.find_first_of("eE");
    bool tiny = e != std::string_view::npos && body.find('-', e) != std::string_view::npos;
    if (!tiny) return NumParse::kOverflow;
    value = 0;
  } else if (ec != std::errc() || ptr != body.data() + body.size()) {
    return NumParse::kSyntax;
  }
  *out = value;
  return NumParse::kOk;
}

DecimalText DecimalText::FromInteger(int64_t value) {
  DecimalText d;
  d.negative = value < 0;
  uint64_t magnitude = d.negative ? 0 - static_cast<uint64_t>(value)
                                  : static_cast<uint64_t>(value);
  d.int_digits = std::to_string(magnitude);
  return d;
}

DecimalText DecimalText::FromDouble(double value) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value,
                                 std::chars_format::scientific, 14);
  DecimalText d;
  if (ec != std::errc()) return d;
  std::string_view text(buf, static_cast<size_t>(end - buf));
  d.negative = !text.empty() && text[0] == '-';
  if (d.negative) text.remove_prefix(1);
  size_t e = text.find('e');
  std::string digits;
  for (char c : text.substr(0, e)) {
    if (IsDigit(c)) digits += c;
  }
  const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  if (exponent >= 0) {
    const auto int_count = static_cast<size_t>(exponent) + 1;
    if (digits.size() < int_count) digits.append(int_count - digits.size(), '0');
    d.int_digits = digits.substr(0, int_count);
    d.frac_digits = digits.substr(int_count);
  } else {
    d.int_digits = "0";
    d.frac_digits = std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  }
  d.TrimFractionZeros();
  if (d.int_digits == "0" && d.frac_digits.empty()) d.negative = false;
  return d;
}

void DecimalText::Cut(int decimals, bool round_half) {
  std::string digits = int_digits + frac_digits;
  auto point = static_cast<int64_t>(int_digits.size());
  const int64_t keep = point + decimals;
  const size_t frac_wanted = decimals > 0 ? static_cast<size_t>(decimals) : 0;
  if (keep >= static_cast<int64_t>(digits.size()) && decimals >= 0) {
    frac_digits.append(frac_wanted - std::min(frac_wanted, frac_digits.size()), '0');
    return;
  }
  bool up = round_half && keep >= 0 && keep < static_cast<int64_t>(digits.size()) &&
            digits[static_cast<size_t>(keep)] >= '5';
  digits.resize(static_cast<size_t>(std::max<int64_t>(keep, 0)));
  if (up) {
    size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(0, "1");
      ++point;
    } else {
      ++digits[i - 1];
    }
  }
  if (static_cast<int64_t>(digits.size()) < point + static_cast<int64_t>(frac_wanted)) {
    digits.append(static_cast<size_t>(point) + frac_wanted - digits.size(), '0');
  }
  int_digits = digits.substr(0, static_cast<size_t>(point));
  frac_digits = digits.substr(static_cast<size_t>(point), frac_wanted);
  size_t nonzero = int_digits.find_first_not_of('0');
  int_digits = nonzero == std::string::npos ? "0" : int_digits.substr(nonzero);
  if (int_digits == "0" && frac_digits.find_first_not_of('0') == std::string::npos) {
    negative = false;
  }
}

void DecimalText::TrimFractionZeros() {
  size_t last = frac_digits.find_last_not_of('0');
  frac_digits.resize(last == std::string::npos ? 0 : last + 1);
}

std::string DecimalText::ToString() const {
  std::string out = negative ? "-" : "";
  out += int_digits;
  if (!frac_digits.empty()) out += "." + frac_digits;
  return out;
}

double DecimalText::ToDouble() const {
  std::string text = ToString();
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::string FloatText(double value, int style) {
  if (value == 0) value = 0;  // no "-0"
  char buf[64];
  std::to_chars_result r{};
  switch (style) {
    case 1: r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 7); break;
    case 2: r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 15); break;
    case 3: r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17); break;
    default: r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6); break;
  }
  if (r.ec != std::errc()) return "0";
  return WidenExponent(std::string(buf, r.ptr));
}

std::string RealText(double value) {
  if (!std::isfinite(value)) return FloatText(value, 0);
  return DecimalText::FromDouble(value).ToString();
}

double RoundHalfAway(double value, int decimals) {
  if (!std::isfinite(value) || decimals > 30) return value;
  if (decimals < -330) return 0;
  DecimalText d = DecimalText::FromDouble(value);
  d.Round(decimals);
  return d.ToDouble();
}

}  // namespace sqlsim
