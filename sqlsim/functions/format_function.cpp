// FORMAT(value, pattern, culture): NULL for what .NET would refuse and for
// patterns and cultures not done here, as the server returns NULL for an
// invalid format.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sqlsim/functions/builtins.h"
#include "sqlsim/functions/convert.h"
#include "sqlsim/functions/format_pattern.h"
#include "sqlsim/functions/text.h"

namespace sqlsim::builtins {

namespace {

// The decimal digits of a double to 15 significant digits, as .NET
// Framework formats doubles, without an exponent.
std::string PlainDigits(double value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  const std::string text = buffer;
  const size_t e = text.find('e');
  const bool negative = text[0] == '-';
  std::string digits = text.substr(negative ? 1 : 0, e - (negative ? 1 : 0));
  digits.erase(1, 1);  // the point after the first digit
  const int exponent = std::atoi(text.c_str() + e + 1);
  std::string out;
  if (exponent < 0) {
    out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  } else if (static_cast<size_t>(exponent) + 1 >= digits.size()) {
    out = digits + std::string(static_cast<size_t>(exponent) + 1 - digits.size(), '0');
  } else {
    out = digits.substr(0, static_cast<size_t>(exponent) + 1) + "." + digits.substr(static_cast<size_t>(exponent) + 1);
  }
  return (negative ? "-" : "") + out;
}

bool IsIntegerTypeName(const std::string& type) {
  return type == "int" || type == "bigint" || type == "smallint" || type == "tinyint" || type == "bit";
}

Outcome TextOrNull(std::optional<std::string> text) {
  return Outcome::Of(text ? Value::Text(std::move(*text)) : Value::Null());
}

}  // namespace

Outcome Format(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  const Value& value = args[0];
  const std::string type = TextOfValue(args[1]);
  const std::string pattern = TextOfValue(args[2]);
  std::optional<FormatCulture> culture = CultureOfName(TextOfValue(args[3]));
  if (!culture || value.kind == Value::Kind::kBlob) return Outcome::Of(Value::Null());
  if (type == "datetime" || (type.empty() && value.kind == Value::Kind::kText && IsCanonicalDateTime(value.bytes))) {
    std::optional<DateTime> dt = ParseDateTime(value.bytes);
    if (!dt) return Outcome::Of(Value::Null());
    return TextOrNull(FormatDatePattern(*dt, pattern, *culture));
  }
  switch (value.kind) {
    case Value::Kind::kInteger:
      return TextOrNull(FormatNumberPattern(std::to_string(value.integer), type.empty() || IsIntegerTypeName(type),
                                            pattern, *culture));
    case Value::Kind::kReal:
      if (!std::isfinite(value.real)) return Outcome::Of(Value::Null());
      return TextOrNull(FormatNumberPattern(PlainDigits(value.real), false, pattern, *culture));
    default:
      return TextOrNull(FormatNumberPattern(std::string(TrimSpace(value.bytes)), false, pattern, *culture));
  }
}

}  // namespace sqlsim::builtins
