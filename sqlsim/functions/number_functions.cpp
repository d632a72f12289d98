// ABS, FLOOR, CEILING, ROUND, STR and the arithmetic operators.
#include <algorithm>
#include <cmath>

#include "sqlsim/functions/arithmetic.h"
#include "sqlsim/functions/builtins.h"
#include "sqlsim/functions/convert.h"
#include "sqlsim/functions/numeric.h"

namespace sqlsim::builtins {

namespace {

// Integers and reals as they are; text read as float, as the server does
// for these functions.
Outcome NumberArgument(const Value& v) {
  if (v.kind == Value::Kind::kInteger || v.kind == Value::Kind::kReal) return Outcome::Of(v);
  return ConvertValue(v, "", "float", kNoLength, kNoStyle);
}

Outcome Overflow(int64_t value) {
  bool narrow = value >= INT32_MIN && value <= INT32_MAX;
  return Outcome::Error(8115, std::string("Arithmetic overflow error converting expression to data type ") +
                                  (narrow ? "int" : "bigint") + ".");
}

template <typename F>
Outcome MapReal(const Args& args, F f) {
  if (args[0].IsNull()) return Outcome::Of(Value::Null());
  Outcome x = NumberArgument(args[0]);
  if (!x.ok() || x.value.kind == Value::Kind::kInteger) return x;
  return Outcome::Of(Value::Real(f(x.value.real)));
}

// ROUND of an integer to tens, hundreds ... (places > 0), half away from
// zero unless truncating.
Outcome RoundInteger(int64_t x, int64_t places, bool truncate) {
  if (places > 18) return Outcome::Of(Value::Integer(0));
  int64_t unit = 1;
  for (int64_t i = 0; i < places; ++i) unit *= 10;
  int64_t rest = x % unit;
  int64_t r = x - rest;
  uint64_t magnitude = rest < 0 ? 0 - static_cast<uint64_t>(rest) : static_cast<uint64_t>(rest);
  if (!truncate && magnitude * 2 >= static_cast<uint64_t>(unit)) {
    if (__builtin_add_overflow(r, x < 0 ? -unit : unit, &r)) return Overflow(x);
  }
  bool narrow = x >= INT32_MIN && x <= INT32_MAX;
  if (narrow && (r < INT32_MIN || r > INT32_MAX)) return Overflow(x);
  return Outcome::Of(Value::Integer(r));
}

// The text of x with `decimals` decimals, if it fits `length`.
std::string StrDigits(const Value& x, int decimals) {
  DecimalText d = x.kind == Value::Kind::kInteger ? DecimalText::FromInteger(x.integer)
                                                  : DecimalText::FromDouble(x.real);
  d.Round(decimals);
  return d.ToString();
}

// Left to right, as a chain a + b + c is evaluated: one call serves a whole
// chain of one operator, so long chains do not nest calls.
Outcome Binary(ArithOp op, const Args& args) {
  if (args.size() < 2) return Outcome::Error(174, "An operator needs two operands.");
  Outcome result = Arithmetic(op, args[0], args[1]);
  for (size_t i = 2; i < args.size() && result.error == 0; ++i) {
    result = Arithmetic(op, result.value, args[i]);
  }
  return result;
}

}  // namespace

Outcome Abs(const Args& args) {
  if (args[0].IsNull()) return Outcome::Of(Value::Null());
  Outcome x = NumberArgument(args[0]);
  if (!x.ok()) return x;
  if (x.value.kind == Value::Kind::kReal) return Outcome::Of(Value::Real(std::fabs(x.value.real)));
  int64_t v = x.value.integer;
  if (v == INT32_MIN || v == INT64_MIN) return Overflow(v);
  return Outcome::Of(Value::Integer(v < 0 ? -v : v));
}

Outcome Floor(const Args& args) {
  return MapReal(args, [](double v) { return std::floor(v); });
}

Outcome Ceiling(const Args& args) {
  return MapReal(args, [](double v) { return std::ceil(v); });
}

Outcome Round(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  Outcome x = NumberArgument(args[0]);
  if (!x.ok()) return x;
  Outcome n = IntegerArgument(args[1]);
  if (!n.ok()) return n;
  bool truncate = false;
  if (args.size() > 2) {
    Outcome f = IntegerArgument(args[2]);
    if (!f.ok()) return f;
    truncate = f.value.integer != 0;
  }
  const int64_t places = std::clamp<int64_t>(n.value.integer, -400, 400);
  if (x.value.kind == Value::Kind::kInteger) {
    if (places >= 0) return x;
    return RoundInteger(x.value.integer, -places, truncate);
  }
  double v = x.value.real;
  if (!std::isfinite(v) || places > 30) return x;
  DecimalText d = DecimalText::FromDouble(v);
  if (truncate) {
    d.Truncate(static_cast<int>(places));
  } else {
    d.Round(static_cast<int>(places));
  }
  return Outcome::Of(Value::Real(d.ToDouble()));
}

Outcome Str(const Args& args) {
  if (AnyNull(args)) return Outcome::Of(Value::Null());
  Outcome x = NumberArgument(args[0]);
  if (!x.ok()) return x;
  int64_t length = 10;
  int64_t decimals = 0;
  if (args.size() > 1) {
    Outcome l = IntegerArgument(args[1]);
    if (!l.ok()) return l;
    length = l.value.integer;
  }
  if (args.size() > 2) {
    Outcome d = IntegerArgument(args[2]);
    if (!d.ok()) return d;
    decimals = d.value.integer;
  }
  if (length <= 0 || length > 8000 || decimals < 0) return Outcome::Of(Value::Null());
  decimals = std::min<int64_t>(decimals, 16);
  const auto width = static_cast<size_t>(length);
  if (x.value.kind == Value::Kind::kReal && !std::isfinite(x.value.real)) {
    return Outcome::Of(Value::Text(std::string(width, '*')));
  }
  // Decimals give way first; a whole part that does not fit is all stars.
  for (int64_t d = decimals; d >= 0; --d) {
    std::string digits = StrDigits(x.value, static_cast<int>(d));
    if (digits.size() <= width) {
      return Outcome::Of(Value::Text(std::string(width - digits.size(), ' ') + digits));
    }
  }
  return Outcome::Of(Value::Text(std::string(width, '*')));
}

Outcome Add(const Args& args) { return Binary(ArithOp::kAdd, args); }
Outcome Subtract(const Args& args) { return Binary(ArithOp::kSubtract, args); }
Outcome Multiply(const Args& args) { return Binary(ArithOp::kMultiply, args); }
Outcome Divide(const Args& args) { return Binary(ArithOp::kDivide, args); }
Outcome Modulo(const Args& args) { return Binary(ArithOp::kModulo, args); }
Outcome Negative(const Args& args) { return Negate(args[0]); }

}  // namespace sqlsim::builtins
