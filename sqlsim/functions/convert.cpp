#include "sqlsim/functions/convert.h"

#include "sqlsim/functions/convert_internal.h"
#include "sqlsim/functions/numeric.h"

namespace sqlsim {

namespace convert {

std::string_view SourceTypeName(const Source& source) {
  if (!source.type.empty()) return source.type;
  switch (source.kind) {
    case SourceKind::kText: return "varchar";
    case SourceKind::kInteger: return "int";
    case SourceKind::kReal: return "numeric";
    case SourceKind::kDatetime: return "datetime";
    case SourceKind::kBinary: return "varbinary";
  }
  return "varchar";
}

Outcome ConversionFailed(std::string_view text, std::string_view type) {
  return Outcome::Error(245, "Conversion failed when converting the varchar value '" +
                                 std::string(text) + "' to data type " +
                                 std::string(type) + ".");
}

Outcome ArithmeticOverflow(std::string_view type, const std::string& value) {
  if (type == "smallint" || type == "tinyint") {
    return Outcome::Error(220, "Arithmetic overflow error for data type " +
                                   std::string(type) + ", value = " + value + ".");
  }
  return Outcome::Error(8115, "Arithmetic overflow error converting expression to data type " +
                                  std::string(type) + ".");
}

Outcome ConvertError(std::string_view from, std::string_view to) {
  return Outcome::Error(8114, "Error converting data type " + std::string(from) +
                                  " to " + std::string(to) + ".");
}

}  // namespace convert

namespace {

using convert::Source;
using convert::SourceKind;
using convert::Target;

constexpr int32_t kLongestString = 8000;

bool IsTextTypeName(std::string_view t) {
  return t == "char" || t == "varchar" || t == "text";
}

Source Classify(const Value& value, std::string_view type, bool guess_datetime) {
  Source source;
  source.value = &value;
  source.type = type;
  source.is_float = type == "float" || type == "real";
  switch (value.kind) {
    case Value::Kind::kInteger: source.kind = SourceKind::kInteger; break;
    case Value::Kind::kReal: source.kind = SourceKind::kReal; break;
    case Value::Kind::kBlob: source.kind = SourceKind::kBinary; break;
    case Value::Kind::kText: case Value::Kind::kNull: {
      source.kind = SourceKind::kText;
      bool maybe_datetime = type == "datetime" ||
                            (type.empty() && guess_datetime && IsCanonicalDateTime(value.bytes));
      auto dt = maybe_datetime ? ParseDateTime(value.bytes) : std::nullopt;
      if (dt) {
        source.kind = SourceKind::kDatetime;
        source.datetime = *dt;
      }
      if (!dt && !IsTextTypeName(type)) source.type = "";
      break;
    }
  }
  return source;
}

// The length a conversion works with once the defaults are applied: 30 for
// CONVERT and 1 for a column when none is given; kMaxLength for no limit.
int32_t EffectiveLength(std::string_view type, int32_t length, bool store) {
  if (type == "text" || type == "image") return kMaxLength;
  if (length < 0) return store ? 1 : 30;
  return length;
}

Outcome Dispatch(const Source& source, Target target) {
  std::string_view t = target.type;
  if (t.empty()) return Outcome::Of(*source.value);
  const bool text = t == "char" || t == "varchar" || t == "text";
  if (text || t == "binary" || t == "varbinary" || t == "image") {
    target.length = EffectiveLength(t, target.length, target.store);
    if (target.length > kLongestString) {
      return Outcome::Error(131, "The size (" + std::to_string(target.length) +
                                     ") given to the type '" + std::string(t) +
                                     "' exceeds the maximum allowed for any data type (8000).");
    }
    return text ? convert::ToText(source, target) : convert::ToBinary(source, target);
  }
  if (t == "int" || t == "smallint" || t == "tinyint" || t == "bigint") {
    return convert::ToInteger(source, target);
  }
  if (t == "bit") return convert::ToBit(source);
  if (t == "float" || t == "real") return convert::ToFloat(source, target);
  if (t == "decimal") return convert::ToDecimal(source, target);
  if (t == "datetime") return convert::ToDatetime(source, target);
  return Outcome::Error(243, "Type " + std::string(t) + " is not a defined system type.");
}

}  // namespace

Outcome ConvertValue(const Value& value, std::string_view source_type,
                     std::string_view target_type, int32_t length, int32_t style) {
  if (value.IsNull()) return Outcome::Of(Value::Null());
  Target target{target_type, length, style, false};
  return Dispatch(Classify(value, source_type, true), target);
}

Outcome StoreValue(const Value& value, std::string_view source_type,
                   std::string_view target_type, int32_t length) {
  if (value.IsNull()) return Outcome::Of(Value::Null());
  Target target{target_type, length, kNoStyle, true};
  return Dispatch(Classify(value, source_type, false), target);
}

std::string TextOfValue(const Value& value) {
  switch (value.kind) {
    case Value::Kind::kInteger: return std::to_string(value.integer);
    case Value::Kind::kReal: return RealText(value.real);
    case Value::Kind::kText: case Value::Kind::kBlob: return value.bytes;
    case Value::Kind::kNull: break;
  }
  return "";
}

}  // namespace sqlsim
