// Conversions to character and binary types.
#include <cmath>
#include <cstring>

#include "sqlsim/functions/convert.h"
#include "sqlsim/functions/convert_internal.h"
#include "sqlsim/functions/numeric.h"

namespace sqlsim::convert {

namespace {

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
  }
  return out;
}

std::string BigEndian(uint64_t value, size_t size) {
  std::string out(size, '\0');
  for (size_t i = size; i > 0; --i) {
    out[i - 1] = static_cast<char>(value & 0xFF);
    value >>= 8;
  }
  return out;
}

size_t IntegerSize(std::string_view type, int64_t value) {
  if (type == "tinyint" || type == "bit") return 1;
  if (type == "smallint") return 2;
  if (type == "bigint") return 8;
  if (type == "int") return 4;
  return value >= INT32_MIN && value <= INT32_MAX ? 4 : 8;
}

std::string NumberBytes(const Source& source) {
  switch (source.kind) {
    case SourceKind::kInteger: {
      int64_t v = source.value->integer;
      return BigEndian(static_cast<uint64_t>(v), IntegerSize(source.type, v));
    }
    case SourceKind::kReal: {
      uint64_t bits = 0;
      std::memcpy(&bits, &source.value->real, sizeof bits);
      return BigEndian(bits, 8);
    }
    case SourceKind::kDatetime: {
      auto days = static_cast<uint32_t>(DaysFrom1900(source.datetime));
      auto ticks = static_cast<uint32_t>(TicksOfDay(source.datetime));
      return BigEndian(days, 4) + BigEndian(ticks, 4);
    }
    case SourceKind::kText: case SourceKind::kBinary: break;
  }
  return source.value->bytes;
}

bool AllBlanks(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos;
}

Outcome Truncated() {
  return Outcome::Error(8152, "String or binary data would be truncated.");
}

// The text of a source before it is fitted to the target's length.
Outcome RawText(const Source& source, const Target& target) {
  const Value& v = *source.value;
  const bool limited = target.length != kMaxLength;
  switch (source.kind) {
    case SourceKind::kText:
      return Outcome::Of(Value::Text(v.bytes));
    case SourceKind::kBinary:
      if (target.style == 1) return Outcome::Of(Value::Text("0x" + Hex(v.bytes)));
      if (target.style == 2) return Outcome::Of(Value::Text(Hex(v.bytes)));
      return Outcome::Of(Value::Text(v.bytes));
    case SourceKind::kInteger: {
      std::string digits = std::to_string(v.integer);
      bool fits = !limited || digits.size() <= static_cast<size_t>(target.length);
      return Outcome::Of(Value::Text(fits ? digits : "*"));
    }
    case SourceKind::kReal: {
      std::string text = source.is_float ? FloatText(v.real, target.style) : RealText(v.real);
      if (limited && text.size() > static_cast<size_t>(target.length)) {
        return Outcome::Error(8115, std::string("Arithmetic overflow error converting ") +
                                        (source.is_float ? "float" : "numeric") +
                                        " to data type varchar.");
      }
      return Outcome::Of(Value::Text(text));
    }
    case SourceKind::kDatetime: {
      auto text = FormatDateTimeStyle(source.datetime, target.style);
      if (!text) {
        return Outcome::Error(281, std::to_string(target.style) +
                                       " is not a valid style number when converting "
                                       "from datetime to a character string.");
      }
      return Outcome::Of(Value::Text(*text));
    }
  }
  return Outcome::Of(Value::Text(v.bytes));
}

}  // namespace

Outcome ToText(const Source& source, const Target& target) {
  Outcome out = RawText(source, target);
  if (!out.ok() || target.length == kMaxLength) return out;
  std::string& text = out.value.bytes;
  const auto length = static_cast<size_t>(target.length);
  if (text.size() > length) {
    bool cut_data = source.kind != SourceKind::kInteger &&
                    !AllBlanks(std::string_view(text).substr(length));
    if (target.store && cut_data) return Truncated();
    text.resize(length);
  }
  if (target.type == "char") text.append(length - text.size(), ' ');
  return out;
}

Outcome ToBinary(const Source& source, const Target& target) {
  const bool numeric = source.kind != SourceKind::kText &&
                       source.kind != SourceKind::kBinary;
  std::string bytes = NumberBytes(source);
  const bool limited = target.length != kMaxLength;
  const auto length = static_cast<size_t>(target.length);
  const bool fixed = target.type == "binary" && limited;
  if (numeric) {
    // Numbers are cut and padded on the left, keeping the low-order bytes.
    if (limited && bytes.size() > length) bytes.erase(0, bytes.size() - length);
    if (fixed) bytes.insert(0, length - bytes.size(), '\0');
    return Outcome::Of(Value::Blob(std::move(bytes)));
  }
  if (limited && bytes.size() > length) {
    if (target.store) return Truncated();
    bytes.resize(length);
  }
  if (fixed) bytes.append(length - bytes.size(), '\0');
  return Outcome::Of(Value::Blob(std::move(bytes)));
}

}  // namespace sqlsim::convert
