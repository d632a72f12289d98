// Numbers as text, the way the server reads and writes them. Nothing here
// depends on the C locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sqlsim {

enum class NumParse { kOk, kSyntax, kOverflow };

// [sign] digits, surrounding blanks allowed; '' and a lone sign are 0, as
// the server has it. kOverflow beyond the 64-bit range.
NumParse ParseIntText(std::string_view text, int64_t* out);

// [sign] digits [. digits] [e [sign] digits], surrounding blanks allowed;
// '' is 0. with_exponent false refuses the exponent (text to decimal).
NumParse ParseFloatText(std::string_view text, bool with_exponent, double* out);

// A decimal number as digit strings, for rounding half away from zero the
// way a reader of the decimal text expects (2.675 rounds to 2.68).
struct DecimalText {
  bool negative = false;
  std::string int_digits = "0";  // no leading zeros but a lone 0
  std::string frac_digits;

  static DecimalText FromInteger(int64_t value);
  // 15 significant digits, as much as a double holds reliably.
  // REQUIRES: value is finite.
  static DecimalText FromDouble(double value);

  // Half away from zero to that many decimals; a negative count rounds to
  // tens, hundreds ... The fraction then has exactly max(decimals, 0) digits.
  void Round(int decimals) { Cut(decimals, true); }
  // Like Round, but drops the digits beyond without rounding.
  void Truncate(int decimals) { Cut(decimals, false); }
  void TrimFractionZeros();
  std::string ToString() const;  // [-]int[.frac]
  double ToDouble() const;

 private:
  void Cut(int decimals, bool round_half);
};

// Float to text as CONVERT(varchar, float, style) writes it: style 0 (and
// -1) up to 6 significant digits, exponent form when needed ("1.23457e+006");
// 1 eight digits and 2 sixteen digits always with exponent; 3 seventeen.
std::string FloatText(double value, int style);

// A real of unknown decimal scale: plain decimal notation, up to 15
// significant digits, no trailing zeros ("12.5", "0.1", "3").
std::string RealText(double value);

// Half away from zero to decimals (negative: tens, hundreds ...).
double RoundHalfAway(double value, int decimals);

}  // namespace sqlsim
