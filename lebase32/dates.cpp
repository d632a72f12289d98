// Text dates ("DD.MM.YYYY") and COBOL dates (DDMMYY in a 4-byte COBOL binary).
#include <cstring>

#include "include/lebase32.h"

namespace {

constexpr int kTextDateWidth = 10;

// Value of the digits in the n bytes at p, blanks skipped; -1 when another
// character stands there.
int32_t DigitsValue(const char* p, int n) {
  int32_t value = 0;
  for (int i = 0; i < n; ++i) {
    if (p[i] == ' ') continue;
    if (p[i] < '0' || p[i] > '9') return -1;
    value = value * 10 + (p[i] - '0');
  }
  return value;
}

void WriteDigits(char* p, int n, int32_t value) {
  for (int i = n - 1; i >= 0; --i) {
    p[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
}

}  // namespace

extern "C" {

int32_t LEBASE32_CALL StrDatumToLong(const char* p) {
  if (p == nullptr) return 0;
  const int32_t day = DigitsValue(p, 2);
  const int32_t month = DigitsValue(p + 3, 2);
  const int32_t year = DigitsValue(p + 6, 4);
  if (day < 0 || month < 0 || year < 0) return 0;
  return year * 10000 + month * 100 + day;
}

void LEBASE32_CALL StrDatumFromLong(char* p, int32_t date) {
  if (p == nullptr) return;
  if (date <= 0 || date / 10000 > 9999) {
    std::memset(p, ' ', kTextDateWidth);
    return;
  }
  WriteDigits(p, 2, date % 100);
  p[2] = '.';
  WriteDigits(p + 3, 2, date / 100 % 100);
  p[5] = '.';
  WriteDigits(p + 6, 4, date / 10000);
}

void LEBASE32_CALL ld_ToStringEx(char* dest, int32_t date) {
  if (dest == nullptr) return;
  StrDatumFromLong(dest, date);
  dest[kTextDateWidth] = '\0';
}

int32_t LEBASE32_CALL CobolDatumToLong(const char* p) {
  const int32_t ddmmyy = CobolXToLong(p, 4);
  if (ddmmyy <= 0) return 0;
  const int32_t two_digit_year = ddmmyy % 100;
  const int32_t year = two_digit_year < 50 ? 2000 + two_digit_year : 1900 + two_digit_year;
  return year * 10000 + ddmmyy / 100 % 100 * 100 + ddmmyy / 10000;
}

void LEBASE32_CALL CobolDatumFromLong(char* p, int32_t date) {
  if (date <= 0) {
    LongToCobolX(p, 4, 0);
    return;
  }
  LongToCobolX(p, 4, date % 100 * 10000 + date / 100 % 100 * 100 + date / 10000 % 100);
}

}  // extern "C"
