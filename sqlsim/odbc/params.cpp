#include "sqlsim/odbc/params.h"

#include <cmath>
#include <cstring>

#include "sqlsim/engine/types.h"
#include "sqlsim/odbc/convert.h"
#include "sqlsim/odbc/describe.h"
#include "sqlsim/odbc/numeric_magnitude.h"
#include "sqlsim/odbc/text_codec.h"
#include "sqlsim/odbc/value_text.h"

namespace sqlsim::odbc {

namespace {

[[gnu::cold]] bool Fail(ParamFailure* f, const char* state, const char* message) {
  f->sqlstate = state;
  f->message = message;
  return false;
}

template <class T>
T Load(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

bool IntegerFromC(SQLSMALLINT c_type, const void* p, int64_t* out) {
  switch (c_type) {
    case SQL_C_STINYINT: case SQL_C_TINYINT: *out = Load<int8_t>(p); return true;
    case SQL_C_UTINYINT: case SQL_C_BIT: *out = Load<uint8_t>(p); return true;
    case SQL_C_SSHORT: case SQL_C_SHORT: *out = Load<int16_t>(p); return true;
    case SQL_C_USHORT: *out = Load<uint16_t>(p); return true;
    case SQL_C_SLONG: case SQL_C_LONG: *out = Load<int32_t>(p); return true;
    case SQL_C_ULONG: *out = Load<uint32_t>(p); return true;
    case SQL_C_SBIGINT: *out = Load<int64_t>(p); return true;
    default: return false;
  }
}

bool DateTimeFromC(SQLSMALLINT c_type, const void* p, DateTime* dt) {
  switch (c_type) {
    case SQL_C_DATE: case SQL_C_TYPE_DATE: {
      auto d = Load<SQL_DATE_STRUCT>(p);
      dt->year = d.year; dt->month = d.month; dt->day = d.day;
      return ValidDate(dt->year, dt->month, dt->day);
    }
    case SQL_C_TIME: case SQL_C_TYPE_TIME: {
      auto t = Load<SQL_TIME_STRUCT>(p);
      dt->hour = t.hour; dt->minute = t.minute; dt->second = t.second;
      return ValidTime(dt->hour, dt->minute, dt->second);
    }
    default: {
      auto ts = Load<SQL_TIMESTAMP_STRUCT>(p);
      dt->year = ts.year; dt->month = ts.month; dt->day = ts.day;
      dt->hour = ts.hour; dt->minute = ts.minute; dt->second = ts.second;
      dt->fraction_ns = ts.fraction;
      return ValidDate(dt->year, dt->month, dt->day) &&
             ValidTime(dt->hour, dt->minute, dt->second) && ts.fraction < 1000000000u;
    }
  }
}

std::string NumericText(const SQL_NUMERIC_STRUCT& n) {
  NumericMagnitude magnitude;
  static_assert(sizeof n.val == sizeof magnitude, "SQL_NUMERIC_STRUCT holds 16 bytes");
  std::memcpy(magnitude.data(), n.val, sizeof n.val);
  std::string digits = DigitsOfMagnitude(magnitude);
  int scale = n.scale;
  if (scale > 0) {
    if (digits.size() <= static_cast<size_t>(scale)) {
      digits.insert(0, static_cast<size_t>(scale) - digits.size() + 1, '0');
    }
    digits.insert(digits.size() - static_cast<size_t>(scale), ".");
  } else if (scale < 0) {
    digits.append(static_cast<size_t>(-scale), '0');
  }
  return n.sign == 0 ? "-" + digits : digits;
}

// The C data as the value it holds. length is in bytes, SQL_NTS for
// zero-terminated character data.
bool ValueFromC(SQLSMALLINT c_type, const void* p, SQLLEN length, Value* v,
                ParamFailure* f) {
  switch (c_type) {
    case SQL_C_CHAR: case SQL_C_BINARY: {
      const char* s = static_cast<const char*>(p);
      size_t n = length == SQL_NTS ? std::strlen(s) : static_cast<size_t>(length);
      *v = c_type == SQL_C_CHAR ? Value::Text(std::string(s, n)) : Value::Blob(std::string(s, n));
      return true;
    }
    case SQL_C_WCHAR: {
      std::u16string wide;
      if (length == SQL_NTS) {
        for (const char* q = static_cast<const char*>(p);; q += 2) {
          auto u = Load<char16_t>(q);
          if (u == 0) break;
          wide.push_back(u);
        }
      } else {
        wide.resize(static_cast<size_t>(length) / 2);
        std::memcpy(wide.data(), p, wide.size() * 2);
      }
      *v = Value::Text(Utf16ToCp1252(wide));
      return true;
    }
    case SQL_C_UBIGINT: {
      auto u = Load<uint64_t>(p);
      if (u > static_cast<uint64_t>(INT64_MAX)) return Fail(f, "22003", "Numeric value out of range");
      *v = Value::Integer(static_cast<int64_t>(u));
      return true;
    }
    case SQL_C_FLOAT: *v = Value::Real(Load<float>(p)); return true;
    case SQL_C_DOUBLE: *v = Value::Real(Load<double>(p)); return true;
    case SQL_C_NUMERIC: *v = Value::Text(NumericText(Load<SQL_NUMERIC_STRUCT>(p))); return true;
    default: break;
  }
  int64_t i = 0;
  if (IntegerFromC(c_type, p, &i)) {
    if (c_type == SQL_C_BIT && i > 1) return Fail(f, "22003", "Numeric value out of range");
    *v = Value::Integer(i);
    return true;
  }
  DateTime dt;
  if (!DateTimeFromC(c_type, p, &dt)) return Fail(f, "22007", "Invalid datetime format");
  *v = Value::Text(FormatDateTime(dt));
  return true;
}

bool IsDateTimeCType(SQLSMALLINT c) {
  return c == SQL_C_DATE || c == SQL_C_TYPE_DATE || c == SQL_C_TIME ||
         c == SQL_C_TYPE_TIME || c == SQL_C_TIMESTAMP || c == SQL_C_TYPE_TIMESTAMP;
}

bool IntegerLimits(SqlType t, int64_t* lo, int64_t* hi) {
  switch (t) {
    case SqlType::kBit: *lo = 0; *hi = 1; return true;
    case SqlType::kTinyint: *lo = 0; *hi = 255; return true;
    case SqlType::kSmallint: *lo = INT16_MIN; *hi = INT16_MAX; return true;
    case SqlType::kInt: *lo = INT32_MIN; *hi = INT32_MAX; return true;
    case SqlType::kBigint: *lo = INT64_MIN; *hi = INT64_MAX; return true;
    default: return false;
  }
}

bool ToInteger(const Value& v, bool from_datetime, SqlType t, Value* out, ParamFailure* f) {
  int64_t lo = 0, hi = 0;
  IntegerLimits(t, &lo, &hi);
  if (v.kind == Value::Kind::kBlob || from_datetime) {
    return Fail(f, "07006", "Restricted data type attribute violation");
  }
  Number n;
  if (v.kind == Value::Kind::kInteger) {
    n = Number{true, v.integer, static_cast<double>(v.integer)};
  } else if (v.kind == Value::Kind::kReal) {
    n = Number{false, 0, v.real};
  } else if (!ParseNumber(v.bytes, &n)) {
    return Fail(f, "22018", kInvalidCharacterValue);
  }
  if (!n.integral) {
    double t_part = std::trunc(n.real);
    if (t_part < static_cast<double>(lo) || t_part > static_cast<double>(hi)) {
      return Fail(f, "22003", "Numeric value out of range");
    }
    if (t_part != n.real) return Fail(f, "22001", "String data, right truncated");
    n.integer = static_cast<int64_t>(t_part);
  }
  if (n.integer < lo || n.integer > hi) return Fail(f, "22003", "Numeric value out of range");
  *out = Value::Integer(n.integer);
  return true;
}

bool ToReal(const Value& v, bool from_datetime, Value* out, ParamFailure* f) {
  if (v.kind == Value::Kind::kBlob || from_datetime) {
    return Fail(f, "07006", "Restricted data type attribute violation");
  }
  if (v.kind == Value::Kind::kInteger) {
    *out = Value::Real(static_cast<double>(v.integer));
    return true;
  }
  if (v.kind == Value::Kind::kReal) {
    *out = v;
    return true;
  }
  Number n;
  if (!ParseNumber(v.bytes, &n)) return Fail(f, "22018", kInvalidCharacterValue);
  *out = Value::Real(n.real);
  return true;
}

std::string AsText(const Value& v, SQLSMALLINT c_type) {
  switch (v.kind) {
    case Value::Kind::kInteger: return std::to_string(v.integer);
    case Value::Kind::kReal: return FormatReal(v.real, c_type == SQL_C_FLOAT);
    default: break;
  }
  if (c_type == SQL_C_DATE || c_type == SQL_C_TYPE_DATE) return v.bytes.substr(0, 10);
  if (c_type == SQL_C_TIME || c_type == SQL_C_TYPE_TIME) return v.bytes.substr(11, 8);
  return v.bytes;
}

// The value as the declared SQL type takes it.
bool Coerce(Value v, SQLSMALLINT c_type, SqlType t, Value* out, ParamFailure* f) {
  bool from_datetime = IsDateTimeCType(c_type);
  if (v.IsNull()) {
    *out = v;
    return true;
  }
  if (IsTextType(t)) {
    *out = Value::Text(AsText(v, c_type));
    return true;
  }
  int64_t lo, hi;
  if (IntegerLimits(t, &lo, &hi)) return ToInteger(v, from_datetime, t, out, f);
  if (t == SqlType::kFloat || t == SqlType::kReal) return ToReal(v, from_datetime, out, f);
  if (t == SqlType::kDecimal && v.kind == Value::Kind::kText) {
    Number n;
    if (from_datetime) return Fail(f, "07006", "Restricted data type attribute violation");
    if (!ParseNumber(v.bytes, &n)) return Fail(f, "22018", kInvalidCharacterValue);
  }
  if (t == SqlType::kDatetime && v.kind == Value::Kind::kText) {
    DateTime dt;
    if (ParseDateTime(v.bytes, &dt)) v = Value::Text(FormatDateTime(dt));
  }
  if (IsBinaryType(t) && v.kind == Value::Kind::kText) {
    std::string bytes;
    if (c_type != SQL_C_CHAR && c_type != SQL_C_WCHAR) {
      return Fail(f, "07006", "Restricted data type attribute violation");
    }
    if (!ParseHex(v.bytes, &bytes)) return Fail(f, "22018", kInvalidCharacterValue);
    v = Value::Blob(std::move(bytes));
  }
  *out = std::move(v);
  return true;
}

bool Finish(const ParamBinding& b, Value v, ParamValue* out, ParamFailure* f) {
  SqlType t = SqlTypeOfOdbc(b.sql_type);
  if (!Coerce(std::move(v), b.EffectiveCType(), t, &out->value, f)) return false;
  out->declared_type = t;
  out->length = b.column_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(b.column_size);
  out->scale = b.decimal_digits;
  return true;
}

}  // namespace

SQLSMALLINT ParamBinding::EffectiveCType() const {
  return c_type == SQL_C_DEFAULT ? DefaultCType(sql_type) : c_type;
}

bool ParamBinding::AtExecution() const {
  if (io_type == SQL_PARAM_OUTPUT || !indicator) return false;
  SQLLEN length = LoadIndicator(indicator);
  return length == SQL_DATA_AT_EXEC || length <= SQL_LEN_DATA_AT_EXEC_OFFSET;
}

bool CheckParamTypes(SQLSMALLINT c_type, SQLSMALLINT sql_type, ParamFailure* failure) {
  if (SqlTypeOfOdbc(sql_type) == SqlType::kUnknown) {
    return Fail(failure, "HY004", "Invalid SQL data type");
  }
  SQLSMALLINT c = c_type == SQL_C_DEFAULT ? DefaultCType(sql_type) : c_type;
  if (!IsKnownCType(c)) return Fail(failure, "HY003", "Program type out of range");
  return true;
}

bool ReadParam(const ParamBinding& b, ParamValue* out, ParamFailure* f) {
  out->output = b.IsOutput();
  if (b.io_type == SQL_PARAM_OUTPUT) return Finish(b, Value::Null(), out, f);
  SQLSMALLINT c = b.EffectiveCType();
  SQLLEN length = SQL_NTS;
  if (b.indicator) {
    length = LoadIndicator(b.indicator);
  } else if (c == SQL_C_BINARY) {
    length = b.buffer_length;
  }
  if (length == SQL_NULL_DATA || length == SQL_DEFAULT_PARAM) return Finish(b, Value::Null(), out, f);
  if (!b.buffer) return Fail(f, "HY009", "Invalid use of null pointer");
  if (IsVariableCType(c) && length < 0 && length != SQL_NTS) {
    return Fail(f, "HY090", "Invalid string or buffer length");
  }
  if (c == SQL_C_BINARY && length == SQL_NTS) length = b.buffer_length;
  Value v;
  if (!ValueFromC(c, b.buffer, length, &v, f)) return false;
  return Finish(b, std::move(v), out, f);
}

bool ParamFromPutData(const ParamBinding& b, const std::string* data,
                      ParamValue* out, ParamFailure* f) {
  out->output = b.IsOutput();
  if (!data) return Finish(b, Value::Null(), out, f);
  SQLSMALLINT c = b.EffectiveCType();
  if (!IsVariableCType(c) && data->size() < FixedCTypeSize(c)) {
    return Fail(f, "HY019", "Non-character and non-binary data sent in pieces");
  }
  Value v;
  if (!ValueFromC(c, data->data(), static_cast<SQLLEN>(data->size()), &v, f)) return false;
  return Finish(b, std::move(v), out, f);
}

ParamBinding ParamBinding::AtSet(size_t set, SQLULEN bind_type, SQLULEN offset) const {
  ParamBinding b = *this;
  size_t element = bind_type;
  size_t indicator_step = bind_type;
  if (bind_type == SQL_PARAM_BIND_BY_COLUMN) {
    SQLSMALLINT c = EffectiveCType();
    element = IsVariableCType(c) ? static_cast<size_t>(buffer_length) : FixedCTypeSize(c);
    indicator_step = sizeof(SQLLEN);
  }
  if (buffer) b.buffer = static_cast<char*>(buffer) + offset + set * element;
  if (indicator) {
    b.indicator = reinterpret_cast<SQLLEN*>(reinterpret_cast<char*>(indicator) + offset +
                                            set * indicator_step);
  }
  return b;
}

}  // namespace sqlsim::odbc
