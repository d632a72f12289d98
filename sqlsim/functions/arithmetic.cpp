#include "sqlsim/functions/arithmetic.h"

#include <cmath>
#include <optional>

#include "sqlsim/functions/convert.h"
#include "sqlsim/functions/datetime.h"

namespace sqlsim {

namespace {

bool IsNumber(const Value& v) {
  return v.kind == Value::Kind::kInteger || v.kind == Value::Kind::kReal;
}
bool IsStringish(const Value& v) {
  return v.kind == Value::Kind::kText || v.kind == Value::Kind::kBlob;
}
bool InIntRange(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

const char* OperatorName(ArithOp op) {
  switch (op) {
    case ArithOp::kAdd: return "add";
    case ArithOp::kSubtract: return "subtract";
    case ArithOp::kMultiply: return "multiply";
    case ArithOp::kDivide: return "divide";
    case ArithOp::kModulo: return "modulo";
  }
  return "add";
}

Outcome InvalidOperand(const Value& v, const char* op_name) {
  const char* type = v.kind == Value::Kind::kBlob ? "varbinary" : "varchar";
  return Outcome::Error(8117, std::string("Operand data type ") + type +
                                  " is invalid for " + op_name + " operator.");
}

Outcome Overflow(const char* type) {
  return Outcome::Error(8115, std::string("Arithmetic overflow error converting expression to data type ") +
                                  type + ".");
}

Outcome DivideByZero() {
  return Outcome::Error(8134, "Divide by zero error encountered.");
}

// A text or binary operand read as the type of the number it meets.
Outcome AsNumberLike(const Value& v, const Value& other) {
  if (other.kind == Value::Kind::kReal) return ConvertValue(v, "", "float", kNoLength, kNoStyle);
  bool wide = !InIntRange(other.integer);
  Outcome out = ConvertValue(v, "", wide ? "bigint" : "int", kNoLength, kNoStyle);
  return out;
}

std::optional<DateTime> AsDatetime(const Value& v) {
  if (v.kind != Value::Kind::kText || !IsCanonicalDateTime(v.bytes)) return std::nullopt;
  return ParseDateTime(v.bytes);
}

Outcome DatetimeResult(double days) {
  DateTime dt = FromDays1900(days);
  if (!IsDateTimeInRange(dt)) return Overflow("datetime");
  return Outcome::Of(Value::Text(FormatCanonical(dt)));
}

// datetime +/- days, days + datetime, datetime - datetime; nullopt when
// the operands are not of that kind.
std::optional<Outcome> DatetimeArithmetic(ArithOp op, const Value& a, const Value& b) {
  if (op != ArithOp::kAdd && op != ArithOp::kSubtract) return std::nullopt;
  auto da = AsDatetime(a);
  auto db = AsDatetime(b);
  auto days = [](const Value& v) {
    return v.kind == Value::Kind::kInteger ? static_cast<double>(v.integer) : v.real;
  };
  double sign = op == ArithOp::kAdd ? 1 : -1;
  if (da && IsNumber(b)) return DatetimeResult(DateTimeToDays(*da) + sign * days(b));
  if (db && IsNumber(a) && op == ArithOp::kAdd) return DatetimeResult(days(a) + DateTimeToDays(*db));
  if (da && db && op == ArithOp::kSubtract) {
    return DatetimeResult(DateTimeToDays(*da) - DateTimeToDays(*db));
  }
  return std::nullopt;
}

Outcome IntegerArithmetic(ArithOp op, int64_t a, int64_t b) {
  const bool narrow = InIntRange(a) && InIntRange(b);
  int64_t r = 0;
  bool overflow = false;
  switch (op) {
    case ArithOp::kAdd: overflow = __builtin_add_overflow(a, b, &r); break;
    case ArithOp::kSubtract: overflow = __builtin_sub_overflow(a, b, &r); break;
    case ArithOp::kMultiply: overflow = __builtin_mul_overflow(a, b, &r); break;
    case ArithOp::kDivide:
      if (b == 0) return DivideByZero();
      overflow = a == INT64_MIN && b == -1;
      r = overflow ? 0 : a / b;
      break;
    case ArithOp::kModulo:
      if (b == 0) return DivideByZero();
      r = b == -1 ? 0 : a % b;
      break;
  }
  if (overflow || (narrow && !InIntRange(r))) return Overflow(narrow ? "int" : "bigint");
  return Outcome::Of(Value::Integer(r));
}

Outcome RealArithmetic(ArithOp op, double a, double b) {
  double r = 0;
  switch (op) {
    case ArithOp::kAdd: r = a + b; break;
    case ArithOp::kSubtract: r = a - b; break;
    case ArithOp::kMultiply: r = a * b; break;
    case ArithOp::kDivide:
      if (b == 0) return DivideByZero();
      r = a / b;
      break;
    case ArithOp::kModulo:
      if (b == 0) return DivideByZero();
      r = std::fmod(a, b);
      break;
  }
  if (!std::isfinite(r)) return Overflow("float");
  return Outcome::Of(Value::Real(r));
}

double RealOf(const Value& v) {
  return v.kind == Value::Kind::kInteger ? static_cast<double>(v.integer) : v.real;
}

}  // namespace

Outcome Arithmetic(ArithOp op, const Value& a, const Value& b) {
  if (a.IsNull() || b.IsNull()) return Outcome::Of(Value::Null());
  if (auto dt = DatetimeArithmetic(op, a, b)) return *dt;
  if (IsStringish(a) && IsStringish(b)) {
    if (op != ArithOp::kAdd) return InvalidOperand(a, OperatorName(op));
    bool text = a.kind == Value::Kind::kText || b.kind == Value::Kind::kText;
    std::string joined = a.bytes + b.bytes;
    return Outcome::Of(text ? Value::Text(std::move(joined)) : Value::Blob(std::move(joined)));
  }
  if (IsStringish(a)) {
    Outcome na = AsNumberLike(a, b);
    return na.ok() ? Arithmetic(op, na.value, b) : na;
  }
  if (IsStringish(b)) {
    Outcome nb = AsNumberLike(b, a);
    return nb.ok() ? Arithmetic(op, a, nb.value) : nb;
  }
  if (a.kind == Value::Kind::kInteger && b.kind == Value::Kind::kInteger) {
    return IntegerArithmetic(op, a.integer, b.integer);
  }
  return RealArithmetic(op, RealOf(a), RealOf(b));
}

Outcome Negate(const Value& a) {
  switch (a.kind) {
    case Value::Kind::kNull: return Outcome::Of(Value::Null());
    case Value::Kind::kInteger:
      if (a.integer == INT32_MIN) return Overflow("int");
      if (a.integer == INT64_MIN) return Overflow("bigint");
      return Outcome::Of(Value::Integer(-a.integer));
    case Value::Kind::kReal: return Outcome::Of(Value::Real(-a.real));
    case Value::Kind::kText: case Value::Kind::kBlob: break;
  }
  return InvalidOperand(a, "minus");
}

}  // namespace sqlsim
