// Numbers are composed as a sign digit ('0' negative, '1' otherwise) and a
// fixed number of digits, so that their text order is their value order in
// every collation. Integer columns give their decimal digits, a negative
// value its complement to 10^whole. Float columns give the sixteen hex digits
// of the double's bits, a negative value the complemented bits of its
// magnitude: exact, so that the client makes the server's text byte for byte
// and no two values tie where the column differs.
#include "schema/key_composition.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstring>

#include "fields/field_values.h"
#include "include/lebase32.h"
#include "schema/key_fields.h"

namespace lerv32 {
namespace {

constexpr int kDateWidth = 10;
constexpr int kHexDigits = 16;

enum class Form { kText, kDate, kInteger, kFloat };

struct Layout {
  Form form = Form::kText;
  int whole = 0;  // digits of an integer form

  int Width() const { return 1 + (form == Form::kFloat ? kHexDigits : whole); }
};

// The form of a field follows its column's type: N fields with decimals and
// the d and n fields are float columns, N fields without are integers.
Layout LayoutOf(const FieldDef& field) {
  switch (field.Type) {
    case 'D':
    case 'o':
      return {Form::kDate};
    case 'b':
      return {Form::kInteger, 3};  // 0 to 255
    case 's':
      return {Form::kInteger, 5};
    case 'l':
    case 'x':
      return {Form::kInteger, 10};
    case 'N':  // its text holds at most Len digits
      return field.Dec != 0 ? Layout{Form::kFloat} : Layout{Form::kInteger, std::clamp<int>(field.Len, 1, 10)};
    case 'd':
    case 'n':
      return {Form::kFloat};
    default:
      return {};
  }
}

std::string IntegerSql(const Layout& layout, const std::string& column) {
  const std::string limit = "1" + std::string(static_cast<std::size_t>(layout.whole), '0');
  const std::string format = "," + std::to_string(layout.whole) + ",0)";
  return "CASE WHEN " + column + " < 0 THEN '0'+REPLACE(STR(" + column + "+" + limit + format +
         ",' ','0') ELSE '1'+REPLACE(STR(" + column + format + ",' ','0') END";
}

// ABS folds a negative zero into zero.
std::string FloatSql(const std::string& column) {
  return "CASE WHEN " + column + " < 0 THEN '0'+CONVERT(char(16),CAST(~CAST(CAST(-" + column +
         " AS binary(8)) AS bigint) AS binary(8)),2) ELSE '1'+CONVERT(char(16),CAST(ABS(" + column +
         ") AS binary(8)),2) END";
}

std::string IntegerText(const Layout& layout, double value) {
  const bool negative = value < 0;
  char text[64];
  std::snprintf(text, sizeof text, "%0*.0f", layout.whole, negative ? value + std::pow(10.0, layout.whole) : value);
  return (negative ? "0" : "1") + std::string(text);
}

std::string FloatText(double value) {
  const bool negative = value < 0;
  const double magnitude = std::fabs(value);
  uint64_t bits = 0;
  std::memcpy(&bits, &magnitude, sizeof bits);
  if (negative) bits = ~bits;
  std::string text(negative ? "0" : "1");
  for (int shift = 4 * (kHexDigits - 1); shift >= 0; shift -= 4) text += "0123456789ABCDEF"[(bits >> shift) & 0xF];
  return text;
}

// The value the write path sends for the field.
double NumberValue(const FieldDef& field, const char* p) {
  switch (field.Type) {
    case 'd':
      return DoubleFromField(p);
    case 'n':
      return CobolNToDouble(p, field.Len, field.Dec);
    case 'N':
      return field.Dec != 0 ? CharNToDouble(p, field.Len, field.Dec) : CharNToLong(p, field.Len);
    case 'x':
      return CobolXToLong(p, field.Len);
    default:
      return BinaryLongFromField(field.Type, p);
  }
}

std::string DateText(const FieldDef& field, const char* p) {
  char date[kDateWidth + 1];
  const int32_t value = DateFromField(field.Type, p);
  FormatDate(date, value == 0 ? 19000101 : value);  // an empty date is stored as the first day of 1900
  return date;
}

// The text as the write path sends it: cut at a zero byte, in ANSI.
std::string SqlText(const FieldDef& field, const char* p) {
  const int width = std::max<int>(field.Len, 0);
  std::string text(static_cast<std::size_t>(width) + 1, '\0');
  FieldToSqlText(&text[0], p, width);
  text.resize(static_cast<std::size_t>(width));
  return text;
}

}  // namespace

int KeyPartWidth(const FieldDef& field) {
  const Layout layout = LayoutOf(field);
  switch (layout.form) {
    case Form::kDate:
      return kDateWidth;
    case Form::kText:
      return static_cast<int>(field.Len);
    default:
      return layout.Width();
  }
}

std::string KeyPartSql(const FieldDef& field) {
  const std::string column = "[" + Column(field) + "]";
  const Layout layout = LayoutOf(field);
  switch (layout.form) {
    case Form::kDate:
      return "CONVERT(char(10)," + column + ",120)+";
    case Form::kInteger:
      return IntegerSql(layout, column) + "+";
    case Form::kFloat:
      return FloatSql(column) + "+";
    default:
      return "convert(char(" + std::to_string(field.Len) + ")," + column + ")+";
  }
}

std::string KeyPartText(const FieldDef& field, const char* p) {
  const Layout layout = LayoutOf(field);
  switch (layout.form) {
    case Form::kDate:
      return DateText(field, p);
    case Form::kInteger:
      return IntegerText(layout, NumberValue(field, p));
    case Form::kFloat:
      return FloatText(NumberValue(field, p));
    default:
      break;
  }
  if (field.Type == 'L') return p[0] == 'T' ? "1" : "0";
  return SqlText(field, p);
}

}  // namespace lerv32
