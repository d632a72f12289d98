// Numbers are composed as a sign digit ('0' negative, '1' otherwise) and a
// fixed number of digits: the value itself, or for a negative value its
// complement to 10^whole, so that a more negative value gets smaller digits.
// Only digits and one point at a fixed place: every collation orders them
// alike. A double holds fifteen decimal digits exactly: d and n fields keep
// as many as their decimals leave of them, and values beyond sort with the
// largest (or smallest) composed value.
#include "schema/key_composition.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>

#include "fields/field_values.h"
#include "include/lebase32.h"
#include "schema/key_fields.h"

namespace lerv32 {
namespace {

constexpr int kDateWidth = 10;
constexpr int kDoubleDigits = 15;
constexpr int kMaxKeyDecimals = 9;

struct NumberLayout {
  int whole = 0;     // digits ahead of the point
  int decimals = 0;  // digits behind it
  bool rounds = false;

  int DigitsWidth() const { return whole + (decimals > 0 ? decimals + 1 : 0); }
  int Width() const { return 1 + DigitsWidth(); }
};

bool IsDateField(const FieldDef& field) { return field.Type == 'D' || field.Type == 'o'; }

// The layout of the number types composed as signed digits; whole is 0 for
// every other type.
NumberLayout LayoutOf(const FieldDef& field) {
  switch (field.Type) {
    case 'b':
      return {3, 0, false};  // 0 to 255
    case 's':
      return {5, 0, false};
    case 'l':
    case 'x':
      return {10, 0, false};
    case 'd': {
      const int decimals = std::clamp<int>(field.Dec, 0, kMaxKeyDecimals);
      return {kDoubleDigits - decimals, decimals, true};
    }
    case 'n': {
      const int decimals = std::clamp<int>(field.Dec, 0, kMaxKeyDecimals);
      const int digits = std::clamp<int>(2 * field.Len - 1, decimals + 1, kDoubleDigits);
      return {digits - decimals, decimals, true};
    }
    default:
      return {};
  }
}

std::string PowerOfTen(int exponent) { return "1" + std::string(static_cast<std::size_t>(exponent), '0'); }

// The digits of a value from 0 to 10^whole exclusive: zero-padded, rounded
// to the decimals.
std::string Digits(const NumberLayout& layout, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%0*.*f", layout.DigitsWidth(), layout.decimals, value);
  return text;
}

std::string NumberSql(const NumberLayout& layout, const std::string& column) {
  const std::string value = layout.rounds ? "ROUND(" + column + "," + std::to_string(layout.decimals) + ")" : column;
  const std::string limit = PowerOfTen(layout.whole);
  const std::string format = "," + std::to_string(layout.DigitsWidth()) + "," + std::to_string(layout.decimals) + ")";
  std::string sql = "CASE";
  if (layout.rounds) {
    const double largest = std::pow(10.0, layout.whole) - std::pow(10.0, -layout.decimals);
    sql += " WHEN " + value + " >= " + limit + " THEN '1" + Digits(layout, largest) + "'";
    sql += " WHEN " + value + " <= -" + limit + " THEN '0" + Digits(layout, 0) + "'";
  }
  sql += " WHEN " + value + " < 0 THEN '0'+REPLACE(STR(" + value + "+" + limit + format + ",' ','0')";
  // ABS turns a negative zero that ROUND may leave into zero.
  const std::string positive = layout.rounds ? "ABS(" + value + ")" : value;
  sql += " ELSE '1'+REPLACE(STR(" + positive + format + ",' ','0') END";
  return sql;
}

std::string NumberText(const NumberLayout& layout, double value) {
  const double limit = std::pow(10.0, layout.whole);
  if (layout.rounds) value = dRnd(value, layout.decimals);
  if (value >= limit) return "1" + Digits(layout, limit - std::pow(10.0, -layout.decimals));
  if (value <= -limit) return "0" + Digits(layout, 0);
  return value < 0 ? "0" + Digits(layout, value + limit) : "1" + Digits(layout, std::fabs(value));
}

double NumberValue(const FieldDef& field, const char* p) {
  switch (field.Type) {
    case 'd':
      return DoubleFromField(p);
    case 'n':
      return CobolNToDouble(p, field.Len, field.Dec);
    case 'x':
      return CobolXToLong(p, field.Len);
    default:
      return BinaryLongFromField(field.Type, p);
  }
}

}  // namespace

int KeyPartWidth(const FieldDef& field) {
  if (IsDateField(field)) return kDateWidth;
  const NumberLayout layout = LayoutOf(field);
  return layout.whole > 0 ? layout.Width() : static_cast<int>(field.Len);
}

std::string KeyPartSql(const FieldDef& field) {
  const std::string column = "[" + Column(field) + "]";
  if (IsDateField(field)) return "CONVERT(char(10)," + column + ",120)+";
  if (field.Type == 'N') {
    return "STR(" + column + "," + std::to_string(field.Len) + "," + std::to_string(field.Dec) + ")+";
  }
  const NumberLayout layout = LayoutOf(field);
  if (layout.whole > 0) return NumberSql(layout, column) + "+";
  return "convert(char(" + std::to_string(field.Len) + ")," + column + ")+";
}

std::string KeyPartText(const FieldDef& field, const char* p) {
  if (IsDateField(field)) {
    char date[kDateWidth + 1];
    const int32_t value = DateFromField(field.Type, p);
    FormatDate(date, value == 0 ? 19000101 : value);  // an empty date is stored as the first day of 1900
    return date;
  }
  const NumberLayout layout = LayoutOf(field);
  if (layout.whole > 0) return NumberText(layout, NumberValue(field, p));
  if (field.Type == 'L') return p[0] == 'T' ? "1" : "0";
  // N and text fields are composed as their record text.
  std::string text(p, static_cast<std::size_t>(std::max<int>(field.Len, 0)));
  std::replace(text.begin(), text.end(), '\0', ' ');
  return text;
}

}  // namespace lerv32
