// Values into the fixed-size C types: integers, floating point, bit,
// dates and times, SQL_NUMERIC_STRUCT.
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "sqlsim/odbc/convert.h"
#include "sqlsim/odbc/numeric_magnitude.h"
#include "sqlsim/odbc/value_text.h"

namespace sqlsim::odbc {

namespace {

struct IntRange {
  int64_t lo;
  uint64_t hi;
  size_t size;
  bool is_signed;
};

bool IntegerRange(SQLSMALLINT c_type, IntRange* r) {
  switch (c_type) {
    case SQL_C_STINYINT: case SQL_C_TINYINT: *r = {-128, 127, 1, true}; return true;
    case SQL_C_UTINYINT: *r = {0, 255, 1, false}; return true;
    case SQL_C_SSHORT: case SQL_C_SHORT: *r = {-32768, 32767, 2, true}; return true;
    case SQL_C_USHORT: *r = {0, 65535, 2, false}; return true;
    case SQL_C_SLONG: case SQL_C_LONG: *r = {INT32_MIN, INT32_MAX, 4, true}; return true;
    case SQL_C_ULONG: *r = {0, UINT32_MAX, 4, false}; return true;
    case SQL_C_SBIGINT: *r = {INT64_MIN, INT64_MAX, 8, true}; return true;
    case SQL_C_UBIGINT: *r = {0, UINT64_MAX, 8, false}; return true;
    default: return false;
  }
}

// v is the value's two's complement bits; the range check has been made.
void StoreInteger(uint64_t v, const IntRange& r, void* buffer) {
  switch (r.size) {
    case 1: { auto x = static_cast<uint8_t>(v); std::memcpy(buffer, &x, 1); break; }
    case 2: { auto x = static_cast<uint16_t>(v); std::memcpy(buffer, &x, 2); break; }
    case 4: { auto x = static_cast<uint32_t>(v); std::memcpy(buffer, &x, 4); break; }
    default: { auto x = static_cast<uint64_t>(v); std::memcpy(buffer, &x, 8); break; }
  }
}

// The value as a number; datetimes and binary data are not numbers.
bool SourceNumber(const Value& v, const ColumnDesc& column, Number* n, CellOutcome* out) {
  switch (v.kind) {
    case Value::Kind::kInteger:
      *n = Number{true, v.integer, static_cast<double>(v.integer)};
      return true;
    case Value::Kind::kReal:
      *n = Number{false, 0, v.real};
      return true;
    case Value::Kind::kText:
      if (column.type == SqlType::kDatetime) break;
      if (ParseNumber(v.bytes, n)) return true;
      *out = CellOutcome::Fail("22018", kInvalidCharacterValue);
      return false;
    default:
      break;
  }
  *out = CellOutcome::Fail("07006", "Restricted data type attribute violation");
  return false;
}

CellOutcome ToInteger(const Number& n, const IntRange& r, void* buffer) {
  CellOutcome out;
  out.length = static_cast<SQLLEN>(r.size);
  uint64_t bits;
  if (n.integral) {
    if (n.integer < r.lo || (n.integer > 0 && static_cast<uint64_t>(n.integer) > r.hi)) {
      return CellOutcome::Fail("22003", "Numeric value out of range");
    }
    bits = static_cast<uint64_t>(n.integer);
  } else {
    long double t = std::trunc(static_cast<long double>(n.real));
    if (t < static_cast<long double>(r.lo) || t > static_cast<long double>(r.hi)) {
      return CellOutcome::Fail("22003", "Numeric value out of range");
    }
    bits = t < 0 ? static_cast<uint64_t>(static_cast<int64_t>(t)) : static_cast<uint64_t>(t);
    if (t != static_cast<long double>(n.real)) out.Warn("01S07", "Fractional truncation");
  }
  StoreInteger(bits, r, buffer);
  return out;
}

// The digits (and sign) of integer text that int64 cannot hold; false for
// any other value. Such text is read exactly: as a double it would round,
// and -9223372036854775809 would pass as INT64_MIN.
bool WideIntegerDigits(const Value& v, const Number& n, std::string_view* digits) {
  if (v.kind != Value::Kind::kText || n.integral) return false;
  const std::string& text = v.bytes;
  size_t start = text.find_first_not_of(' ');
  if (start == std::string::npos) return false;
  size_t end = text.find_last_not_of(' ');
  if (text[start] == '+') ++start;
  size_t first_digit = text[start] == '-' ? start + 1 : start;
  if (first_digit > end || text.find_first_not_of("0123456789", first_digit) <= end) return false;
  *digits = std::string_view(text).substr(start, end - start + 1);
  return true;
}

// Only a value up to UINT64_MAX fits a C type, and only SQL_C_UBIGINT.
CellOutcome ToIntegerFromWideDigits(std::string_view digits, const IntRange& r, void* buffer) {
  uint64_t value = 0;
  auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || stop != digits.data() + digits.size() || value > r.hi) {
    return CellOutcome::Fail("22003", "Numeric value out of range");
  }
  StoreInteger(value, r, buffer);
  CellOutcome out;
  out.length = static_cast<SQLLEN>(r.size);
  return out;
}

CellOutcome ToBit(const Number& n, void* buffer) {
  CellOutcome out;
  out.length = 1;
  double d = n.integral ? static_cast<double>(n.integer) : n.real;
  if (d < 0 || d >= 2) return CellOutcome::Fail("22003", "Numeric value out of range");
  unsigned char bit = d >= 1 ? 1 : 0;
  if (d != 0 && d != 1) out.Warn("01S07", "Fractional truncation");
  std::memcpy(buffer, &bit, 1);
  return out;
}

CellOutcome ToFloating(const Number& n, SQLSMALLINT c_type, void* buffer) {
  CellOutcome out;
  double d = n.integral ? static_cast<double>(n.integer) : n.real;
  if (c_type == SQL_C_FLOAT) {
    if (std::fabs(d) > FLT_MAX) return CellOutcome::Fail("22003", "Numeric value out of range");
    auto f = static_cast<float>(d);
    std::memcpy(buffer, &f, sizeof f);
    out.length = sizeof f;
  } else {
    std::memcpy(buffer, &d, sizeof d);
    out.length = sizeof d;
  }
  return out;
}

CellOutcome ToDateTime(const Value& v, SQLSMALLINT c_type, void* buffer) {
  if (v.kind != Value::Kind::kText) {
    return CellOutcome::Fail("07006", "Restricted data type attribute violation");
  }
  DateTime dt;
  if (!ParseDateTime(v.bytes, &dt)) {
    return CellOutcome::Fail("22018", kInvalidCharacterValue);
  }
  CellOutcome out;
  bool has_time = dt.hour || dt.minute || dt.second || dt.fraction_ns;
  switch (c_type) {
    case SQL_C_DATE: case SQL_C_TYPE_DATE: {
      SQL_DATE_STRUCT d{static_cast<SQLSMALLINT>(dt.year), static_cast<SQLUSMALLINT>(dt.month),
                        static_cast<SQLUSMALLINT>(dt.day)};
      std::memcpy(buffer, &d, sizeof d);
      out.length = sizeof d;
      if (has_time) out.Warn("01S07", "Fractional truncation");
      return out;
    }
    case SQL_C_TIME: case SQL_C_TYPE_TIME: {
      SQL_TIME_STRUCT t{static_cast<SQLUSMALLINT>(dt.hour), static_cast<SQLUSMALLINT>(dt.minute),
                        static_cast<SQLUSMALLINT>(dt.second)};
      std::memcpy(buffer, &t, sizeof t);
      out.length = sizeof t;
      if (dt.fraction_ns) out.Warn("01S07", "Fractional truncation");
      return out;
    }
    default: {
      SQL_TIMESTAMP_STRUCT ts{static_cast<SQLSMALLINT>(dt.year), static_cast<SQLUSMALLINT>(dt.month),
                              static_cast<SQLUSMALLINT>(dt.day), static_cast<SQLUSMALLINT>(dt.hour),
                              static_cast<SQLUSMALLINT>(dt.minute), static_cast<SQLUSMALLINT>(dt.second),
                              dt.fraction_ns};
      std::memcpy(buffer, &ts, sizeof ts);
      out.length = sizeof ts;
      return out;
    }
  }
}

// Digits of a decimal number: sign, integer digits and fraction digits.
bool DecimalParts(const Value& v, const ColumnDesc& column, int scale, bool* negative,
                  std::string* whole, std::string* fraction, CellOutcome* out) {
  Number n;
  if (!SourceNumber(v, column, &n, out)) return false;
  std::string text;
  if (n.integral) {
    text = std::to_string(n.integer);
  } else if (v.kind == Value::Kind::kText && v.bytes.find_first_of("eE") == std::string::npos) {
    text = v.bytes;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    while (!text.empty() && text.front() == ' ') text.erase(0, 1);
  } else {
    text = FormatFixed(n.real, scale + 10 > 38 ? 38 : scale + 10);
  }
  *negative = !text.empty() && text[0] == '-';
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.erase(0, 1);
  size_t dot = text.find('.');
  *whole = text.substr(0, dot);
  *fraction = dot == std::string::npos ? "" : text.substr(dot + 1);
  return true;
}

CellOutcome ToNumeric(const Value& v, const ColumnDesc& column, void* buffer) {
  int scale = column.type == SqlType::kDecimal && column.scale > 0 ? column.scale : 0;
  CellOutcome out;
  bool negative = false;
  std::string whole, fraction;
  if (!DecimalParts(v, column, scale, &negative, &whole, &fraction, &out)) return out;
  if (fraction.size() > static_cast<size_t>(scale)) {
    if (fraction.find_first_not_of('0', static_cast<size_t>(scale)) != std::string::npos) {
      out.Warn("01S07", "Fractional truncation");
    }
    fraction.resize(static_cast<size_t>(scale));
  }
  fraction.resize(static_cast<size_t>(scale), '0');
  NumericMagnitude magnitude;
  switch (MagnitudeFromDigits(whole + fraction, &magnitude)) {
    case DigitsOutcome::kNotDigits: return CellOutcome::Fail("22018", kInvalidCharacterValue);
    case DigitsOutcome::kOutOfRange: return CellOutcome::Fail("22003", "Numeric value out of range");
    case DigitsOutcome::kOk: break;
  }
  bool zero = (whole + fraction).find_first_not_of('0') == std::string::npos;
  SQL_NUMERIC_STRUCT num{};
  num.precision = 38;
  num.scale = static_cast<SQLSCHAR>(scale);
  num.sign = negative && !zero ? 0 : 1;
  static_assert(sizeof num.val == sizeof magnitude, "SQL_NUMERIC_STRUCT holds 16 bytes");
  std::memcpy(num.val, magnitude.data(), sizeof num.val);
  std::memcpy(buffer, &num, sizeof num);
  out.length = sizeof num;
  return out;
}

}  // namespace

CellOutcome ConvertFixed(const Value& v, const ColumnDesc& column,
                         SQLSMALLINT c_type, void* buffer) {
  IntRange range;
  if (c_type == SQL_C_DATE || c_type == SQL_C_TYPE_DATE || c_type == SQL_C_TIME ||
      c_type == SQL_C_TYPE_TIME || c_type == SQL_C_TIMESTAMP ||
      c_type == SQL_C_TYPE_TIMESTAMP) {
    return ToDateTime(v, c_type, buffer);
  }
  if (c_type == SQL_C_NUMERIC) return ToNumeric(v, column, buffer);
  CellOutcome out;
  Number n;
  if (!SourceNumber(v, column, &n, &out)) return out;
  if (IntegerRange(c_type, &range)) {
    std::string_view digits;
    return WideIntegerDigits(v, n, &digits) ? ToIntegerFromWideDigits(digits, range, buffer)
                                            : ToInteger(n, range, buffer);
  }
  if (c_type == SQL_C_BIT) return ToBit(n, buffer);
  if (c_type == SQL_C_FLOAT || c_type == SQL_C_DOUBLE) return ToFloating(n, c_type, buffer);
  return CellOutcome::Fail("HY003", "Program type out of range");
}

size_t FixedCTypeSize(SQLSMALLINT c_type) {
  IntRange range;
  if (IntegerRange(c_type, &range)) return range.size;
  switch (c_type) {
    case SQL_C_BIT: return 1;
    case SQL_C_FLOAT: return sizeof(SQLREAL);
    case SQL_C_DOUBLE: return sizeof(SQLDOUBLE);
    case SQL_C_DATE: case SQL_C_TYPE_DATE: return sizeof(SQL_DATE_STRUCT);
    case SQL_C_TIME: case SQL_C_TYPE_TIME: return sizeof(SQL_TIME_STRUCT);
    case SQL_C_TIMESTAMP: case SQL_C_TYPE_TIMESTAMP: return sizeof(SQL_TIMESTAMP_STRUCT);
    case SQL_C_NUMERIC: return sizeof(SQL_NUMERIC_STRUCT);
    default: return 0;
  }
}

}  // namespace sqlsim::odbc
