// The 16-byte little-endian magnitude of SQL_NUMERIC_STRUCT and its decimal
// digits, worked out byte by byte: 32-bit compilers have no 128-bit integer.
#ifndef SQLSIM_ODBC_NUMERIC_MAGNITUDE_H
#define SQLSIM_ODBC_NUMERIC_MAGNITUDE_H

#include <array>
#include <cstdint>
#include <string>

namespace sqlsim::odbc {

using NumericMagnitude = std::array<uint8_t, 16>;

enum class DigitsOutcome { kOk, kNotDigits, kOutOfRange };

// Decimal digits (leading zeros allowed, "" is zero) into a magnitude;
// more than 38 significant digits is out of range, as for SQL_C_NUMERIC.
DigitsOutcome MagnitudeFromDigits(const std::string& digits, NumericMagnitude* out);

// The magnitude's decimal digits, "0" for zero; any 16 bytes (up to 2^128 - 1).
std::string DigitsOfMagnitude(NumericMagnitude magnitude);

}  // namespace sqlsim::odbc

#endif  // SQLSIM_ODBC_NUMERIC_MAGNITUDE_H
