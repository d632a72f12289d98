#include "sqlsim/odbc/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace sqlsim::odbc {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Reads exactly n digits at pos.
bool Digits(std::string_view s, size_t* pos, size_t n, int* out) {
  if (*pos + n > s.size()) return false;
  int v = 0;
  for (size_t i = 0; i < n; ++i) {
    char c = s[*pos + i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  *pos += n;
  *out = v;
  return true;
}

bool ParseTime(std::string_view s, size_t* pos, DateTime* dt) {
  if (!Digits(s, pos, 2, &dt->hour) || *pos >= s.size() || s[*pos] != ':') return false;
  ++*pos;
  if (!Digits(s, pos, 2, &dt->minute)) return false;
  if (*pos < s.size() && s[*pos] == ':') {
    ++*pos;
    if (!Digits(s, pos, 2, &dt->second)) return false;
    if (*pos < s.size() && s[*pos] == '.') {
      ++*pos;
      uint32_t scale = 100000000, ns = 0;
      size_t start = *pos;
      while (*pos < s.size() && s[*pos] >= '0' && s[*pos] <= '9') {
        ns += static_cast<uint32_t>(s[*pos] - '0') * scale;
        scale /= 10;
        ++*pos;
      }
      if (*pos == start || *pos - start > 9) return false;
      dt->fraction_ns = ns;
    }
  }
  return ValidTime(dt->hour, dt->minute, dt->second);
}

}  // namespace

bool ParseNumber(std::string_view text, Number* out) {
  std::string_view s = Trim(text);
  if (s.empty()) return false;
  std::string_view digits = s;
  if (digits.front() == '+') digits.remove_prefix(1);
  if (digits.empty()) return false;
  int64_t i = 0;
  auto [iend, ierr] = std::from_chars(digits.data(), digits.data() + digits.size(), i);
  if (ierr == std::errc() && iend == digits.data() + digits.size()) {
    *out = Number{true, i, static_cast<double>(i)};
    return true;
  }
  double d = 0;
  auto [dend, derr] = std::from_chars(digits.data(), digits.data() + digits.size(), d);
  if (dend != digits.data() + digits.size() || !std::isfinite(d)) return false;
  if (derr != std::errc() && derr != std::errc::result_out_of_range) return false;
  *out = Number{false, 0, d};
  return true;
}

std::string FormatReal(double v, bool single_precision) {
  char buf[64];
  auto r = single_precision
               ? std::to_chars(buf, buf + sizeof buf, static_cast<float>(v))
               : std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string FormatFixed(double v, int scale) {
  char buf[400];
  if (scale < 0) scale = 0;
  if (scale > 38) scale = 38;
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, scale);
  if (r.ec != std::errc()) return FormatReal(v, false);
  return std::string(buf, r.ptr);
}

bool ValidDate(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  int days = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= days;
}

bool ValidTime(int hour, int minute, int second) {
  return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 &&
         second < 60;
}

bool ParseDateTime(std::string_view text, DateTime* out) {
  std::string_view s = Trim(text);
  DateTime dt;
  size_t pos = 0;
  if (s.size() >= 3 && s[2] == ':') {
    if (!ParseTime(s, &pos, &dt) || pos != s.size()) return false;
    *out = dt;
    return true;
  }
  if (!Digits(s, &pos, 4, &dt.year) || pos >= s.size() || s[pos++] != '-' ||
      !Digits(s, &pos, 2, &dt.month) || pos >= s.size() || s[pos++] != '-' ||
      !Digits(s, &pos, 2, &dt.day) || !ValidDate(dt.year, dt.month, dt.day)) {
    return false;
  }
  if (pos < s.size()) {
    if (s[pos] != ' ' && s[pos] != 'T') return false;
    ++pos;
    if (!ParseTime(s, &pos, &dt) || pos != s.size()) return false;
  }
  *out = dt;
  return true;
}

std::string FormatDateTime(const DateTime& dt) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03u", dt.year,
                dt.month, dt.day, dt.hour, dt.minute, dt.second,
                dt.fraction_ns / 1000000u);
  return buf;
}

std::string FormatDate(const DateTime& dt) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", dt.year, dt.month, dt.day);
  return buf;
}

}  // namespace sqlsim::odbc
