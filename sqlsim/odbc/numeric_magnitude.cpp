#include "sqlsim/odbc/numeric_magnitude.h"

#include <algorithm>

namespace sqlsim::odbc {

namespace {

constexpr size_t kMaxDigits = 38;

// magnitude = magnitude * 10 + digit; 10^38 - 1 < 2^127, so nothing carries out.
void MultiplyAdd(NumericMagnitude* magnitude, unsigned digit) {
  unsigned carry = digit;
  for (uint8_t& byte : *magnitude) {
    unsigned v = byte * 10u + carry;
    byte = static_cast<uint8_t>(v & 0xFF);
    carry = v >> 8;
  }
}

// magnitude /= 10, returning the remainder.
unsigned DivideByTen(NumericMagnitude* magnitude) {
  unsigned remainder = 0;
  for (size_t i = magnitude->size(); i-- > 0;) {
    unsigned v = (remainder << 8) | (*magnitude)[i];
    (*magnitude)[i] = static_cast<uint8_t>(v / 10);
    remainder = v % 10;
  }
  return remainder;
}

bool IsZero(const NumericMagnitude& magnitude) {
  return std::all_of(magnitude.begin(), magnitude.end(), [](uint8_t b) { return b == 0; });
}

}  // namespace

DigitsOutcome MagnitudeFromDigits(const std::string& digits, NumericMagnitude* out) {
  if (digits.find_first_not_of("0123456789") != std::string::npos) return DigitsOutcome::kNotDigits;
  size_t first = digits.find_first_not_of('0');
  if (first != std::string::npos && digits.size() - first > kMaxDigits) return DigitsOutcome::kOutOfRange;
  out->fill(0);
  if (first == std::string::npos) return DigitsOutcome::kOk;
  for (size_t i = first; i < digits.size(); ++i) MultiplyAdd(out, static_cast<unsigned>(digits[i] - '0'));
  return DigitsOutcome::kOk;
}

std::string DigitsOfMagnitude(NumericMagnitude magnitude) {
  std::string digits;
  do {
    digits.push_back(static_cast<char>('0' + DivideByTen(&magnitude)));
  } while (!IsZero(magnitude));
  std::reverse(digits.begin(), digits.end());
  return digits;
}

}  // namespace sqlsim::odbc
