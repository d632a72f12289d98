// Numbers and datetimes as text, independent of the process locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sqlsim::odbc {

struct Number {
  bool integral = true;  // integer holds it exactly
  int64_t integer = 0;
  double real = 0;       // always set
};

// Blanks around the number are allowed: " 12", "-3.5", "1e3", "+.5".
bool ParseNumber(std::string_view text, Number* out);

// Shortest text that reads back as the same double (or float).
std::string FormatReal(double v, bool single_precision);
// Fixed notation with scale decimals, as decimal(p, s) reads.
std::string FormatFixed(double v, int scale);

struct DateTime {
  int year = 1900, month = 1, day = 1;
  int hour = 0, minute = 0, second = 0;
  uint32_t fraction_ns = 0;
};

// "yyyy-mm-dd", "yyyy-mm-dd hh:mi[:ss[.fffffffff]]" (also with 'T'), or a
// time alone "hh:mi[:ss[.f]]" (date 1900-01-01). False if malformed or
// not a real date or time.
bool ParseDateTime(std::string_view text, DateTime* out);
bool ValidDate(int year, int month, int day);
bool ValidTime(int hour, int minute, int second);

// "yyyy-mm-dd hh:mi:ss.mmm", the server's datetime text.
std::string FormatDateTime(const DateTime& dt);
std::string FormatDate(const DateTime& dt);  // "yyyy-mm-dd"

}  // namespace sqlsim::odbc
