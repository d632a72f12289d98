// Conversions to the numeric types and to datetime.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "sqlsim/functions/convert.h"
#include "sqlsim/functions/convert_internal.h"
#include "sqlsim/functions/numeric.h"
#include "sqlsim/functions/text.h"

namespace sqlsim::convert {

namespace {

struct IntRange {
  int64_t low;
  int64_t high;
  size_t bytes;
};

IntRange RangeOf(std::string_view type) {
  if (type == "tinyint") return {0, 255, 1};
  if (type == "smallint") return {INT16_MIN, INT16_MAX, 2};
  if (type == "bigint") return {INT64_MIN, INT64_MAX, 8};
  return {INT32_MIN, INT32_MAX, 4};
}

Outcome Checked(int64_t value, std::string_view type) {
  IntRange range = RangeOf(type);
  if (value < range.low || value > range.high) {
    return ArithmeticOverflow(type, std::to_string(value));
  }
  return Outcome::Of(Value::Integer(value));
}

Outcome TextOverflow(const std::string& text, std::string_view type) {
  const std::string head = "The conversion of the varchar value '" + text + "' overflowed an ";
  if (type == "int") return Outcome::Error(248, head + "int column.");
  if (type == "smallint" || type == "tinyint") {
    return Outcome::Error(244, head + (type == "smallint" ? "INT2" : "INT1") +
                                   " column. Use a larger integer column.");
  }
  return ConvertError("varchar", type);
}

// Big-endian bytes of a binary value as an integer of `bytes` bytes; the
// low-order bytes count when there are more.
int64_t IntegerOfBytes(const std::string& data, size_t bytes, bool is_signed) {
  uint64_t value = 0;
  size_t start = data.size() > bytes ? data.size() - bytes : 0;
  for (size_t i = start; i < data.size(); ++i) {
    value = (value << 8) | static_cast<unsigned char>(data[i]);
  }
  if (is_signed && bytes < 8 && (value >> (bytes * 8 - 1)) != 0) {
    value |= ~uint64_t{0} << (bytes * 8);
  }
  return static_cast<int64_t>(value);
}

// Datetime as a whole number of days: from noon on it is the next day.
int64_t RoundedDays(const DateTime& dt) {
  return DaysFrom1900(dt) + (TicksOfDay(dt) >= kTicksPerDay / 2 ? 1 : 0);
}

Outcome DatetimeOverflow() {
  return Outcome::Error(8115, "Arithmetic overflow error converting expression to data type datetime.");
}

Outcome NotAllowed(std::string_view from, std::string_view to) {
  return Outcome::Error(529, "Explicit conversion from data type " + std::string(from) +
                                 " to " + std::string(to) + " is not allowed.");
}

}  // namespace

Outcome ToInteger(const Source& source, const Target& target) {
  const Value& v = *source.value;
  std::string_view type = target.type;
  switch (source.kind) {
    case SourceKind::kText: {
      int64_t parsed = 0;
      NumParse r = ParseIntText(v.bytes, &parsed);
      if (r == NumParse::kSyntax) return ConversionFailed(v.bytes, type);
      IntRange range = RangeOf(type);
      if (r == NumParse::kOverflow || parsed < range.low || parsed > range.high) {
        return TextOverflow(v.bytes, type);
      }
      return Outcome::Of(Value::Integer(parsed));
    }
    case SourceKind::kInteger:
      return Checked(v.integer, type);
    case SourceKind::kReal: {
      double whole = std::trunc(v.real);
      if (!(whole >= -9223372036854775808.0 && whole < 9223372036854775808.0)) {
        return ArithmeticOverflow(type, RealText(whole));
      }
      return Checked(static_cast<int64_t>(whole), type);
    }
    case SourceKind::kDatetime:
      return Checked(RoundedDays(source.datetime), type);
    case SourceKind::kBinary: {
      IntRange range = RangeOf(type);
      return Outcome::Of(Value::Integer(IntegerOfBytes(v.bytes, range.bytes, type != "tinyint")));
    }
  }
  return ConversionFailed(v.bytes, type);
}

Outcome ToBit(const Source& source) {
  const Value& v = *source.value;
  bool bit = false;
  switch (source.kind) {
    case SourceKind::kText: {
      std::string word = LowerText(TrimBlanks(v.bytes));
      int64_t parsed = 0;
      NumParse r = word == "true" || word == "false" ? NumParse::kOk
                                                     : ParseIntText(word, &parsed);
      if (r == NumParse::kSyntax) return ConversionFailed(v.bytes, "bit");
      bit = word == "true" || r == NumParse::kOverflow || parsed != 0;
      break;
    }
    case SourceKind::kInteger: bit = v.integer != 0; break;
    case SourceKind::kReal: bit = v.real != 0; break;
    case SourceKind::kDatetime:
      bit = DaysFrom1900(source.datetime) != 0 || TicksOfDay(source.datetime) != 0;
      break;
    case SourceKind::kBinary:
      bit = v.bytes.find_first_not_of('\0') != std::string::npos;
      break;
  }
  return Outcome::Of(Value::Integer(bit ? 1 : 0));
}

Outcome ToFloat(const Source& source, const Target& target) {
  const Value& v = *source.value;
  double d = 0;
  switch (source.kind) {
    case SourceKind::kText:
      if (ParseFloatText(v.bytes, true, &d) != NumParse::kOk) {
        return ConvertError("varchar", target.type);
      }
      break;
    case SourceKind::kInteger: d = static_cast<double>(v.integer); break;
    case SourceKind::kReal: d = v.real; break;
    case SourceKind::kDatetime: d = DateTimeToDays(source.datetime); break;
    case SourceKind::kBinary: return NotAllowed(SourceTypeName(source), target.type);
  }
  if (target.type == "real") {
    if (std::fabs(d) > FLT_MAX) return ArithmeticOverflow("real", RealText(d));
    d = static_cast<double>(static_cast<float>(d));
  }
  if (!std::isfinite(d)) return ArithmeticOverflow(target.type, "");
  return Outcome::Of(Value::Real(d));
}

Outcome ToDecimal(const Source& source, const Target& target) {
  const Value& v = *source.value;
  const int scale = target.length < 0 ? 0 : std::min(target.length, 38);
  double d = 0;
  switch (source.kind) {
    case SourceKind::kText:
      if (ParseFloatText(v.bytes, false, &d) != NumParse::kOk) {
        return ConvertError("varchar", "numeric");
      }
      break;
    case SourceKind::kInteger: d = static_cast<double>(v.integer); break;
    case SourceKind::kReal: d = v.real; break;
    case SourceKind::kDatetime: d = DateTimeToDays(source.datetime); break;
    case SourceKind::kBinary: return NotAllowed(SourceTypeName(source), "numeric");
  }
  if (!std::isfinite(d)) return ArithmeticOverflow("numeric", "");
  return Outcome::Of(Value::Real(RoundHalfAway(d, scale)));
}

Outcome ToDatetime(const Source& source, const Target& target) {
  const Value& v = *source.value;
  DateTime dt;
  switch (source.kind) {
    case SourceKind::kText:
      switch (ParseDateTimeChecked(v.bytes, DateOrderOfStyle(target.style), &dt)) {
        case DateParse::kOk: break;
        case DateParse::kSyntax:
          return Outcome::Error(241, "Conversion failed when converting date and/or time from character string.");
        case DateParse::kRange:
          return Outcome::Error(242, "The conversion of a varchar data type to a datetime data type resulted in an out-of-range value.");
      }
      break;
    case SourceKind::kInteger: dt = FromDays1900(static_cast<double>(v.integer)); break;
    case SourceKind::kReal: dt = FromDays1900(v.real); break;
    case SourceKind::kDatetime: dt = source.datetime; break;
    case SourceKind::kBinary: {
      std::string bytes = v.bytes.size() < 8 ? std::string(8 - v.bytes.size(), '\0') + v.bytes
                                             : v.bytes.substr(v.bytes.size() - 8);
      int64_t days = IntegerOfBytes(bytes.substr(0, 4), 4, true);
      int64_t ticks = IntegerOfBytes(bytes.substr(4), 4, true);
      if (ticks < 0 || ticks >= kTicksPerDay) return DatetimeOverflow();
      dt = FromDays1900(static_cast<double>(days) + static_cast<double>(ticks) / kTicksPerDay);
      break;
    }
  }
  if (!IsDateTimeInRange(dt)) return DatetimeOverflow();
  return Outcome::Of(Value::Text(FormatCanonical(dt)));
}

}  // namespace sqlsim::convert
