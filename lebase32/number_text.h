// Scanning and formatting of decimal numbers, shared by the numeric codecs.
// Locale-independent: the host may have set any locale.
#ifndef LEBASE32_NUMBER_TEXT_H
#define LEBASE32_NUMBER_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace lebase32 {

// The number at the start of the n bytes at p: blanks, an optional sign,
// integer digits, and (when fraction is wanted) one '.' or ',' with more digits.
struct ScannedNumber {
  bool negative = false;
  std::string digits;        // integer digits, leading zeros kept
  std::string fraction;      // fraction digits
};
ScannedNumber ScanNumber(const char* p, std::size_t n, bool with_fraction);

// Nearest long to the scanned integer part (0 for no digits).
int32_t ToLong(const ScannedNumber& number);
// Nearest double to the scanned value (0 for no digits).
double ToDouble(const ScannedNumber& number);

// Clamps decimals to what a double carries: 0 to 15.
int32_t ClampDecimals(int32_t dec);
// value rounded half away from zero to dec decimals. Ties are decided on the
// shortest text that reads back as value: 2.675 gives 2.68, and a value
// exact in dec decimals is kept at every magnitude.
double RoundHalfAway(double value, int32_t dec);
// value (rounded) as fixed-point text with dec decimals and '.' as point;
// empty for NaN and infinities.
std::string FormatFixed(double value, int32_t dec);
std::string FormatLong(int64_t value);

// Writes text right-aligned into the w bytes at p, or w asterisks when it
// is empty or longer than w.
void WriteRightAligned(char* p, std::size_t w, const std::string& text);

}  // namespace lebase32

#endif  // LEBASE32_NUMBER_TEXT_H
