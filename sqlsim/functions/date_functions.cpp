// DATEADD, DATEDIFF, DATEPART, DATENAME and EOMONTH on SQLite values. The
// translator has checked the datepart names; the date arguments are
// converted as datetime (text parsed, numbers read as days since 1900).
#include <string>

#include "sqlsim/functions/builtins.h"
#include "sqlsim/functions/convert.h"
#include "sqlsim/functions/date_parts.h"

namespace sqlsim::builtins {

namespace {

Outcome Null() { return Outcome::Of(Value::Null()); }

// REQUIRES: args[0] is the name of a datepart.
DatePart PartArgument(const Args& args) {
  return DatePartOfName(TextOfValue(args[0])).value_or(DatePart::kDay);
}

// A date argument as datetime, or the error converting it.
Outcome DateArgument(const Value& v, DateTime* out) {
  Outcome converted = ConvertValue(v, "", "datetime", kNoLength, kNoStyle);
  if (!converted.ok()) return converted;
  *out = ParseDateTime(converted.value.bytes).value_or(DateTime{});
  return converted;
}

// An int argument: numbers truncated, text read as a number.
Outcome IntArgument(const Value& v) { return ConvertValue(v, "", "int", kNoLength, kNoStyle); }

Outcome DateResult(const DateTime& dt) { return Outcome::Of(Value::Text(FormatCanonical(dt))); }

Outcome AddOverflow(std::string_view type) {
  return Outcome::Error(517, "Adding a value to a '" + std::string(type) + "' column caused an overflow.");
}

}  // namespace

Outcome Dateadd(const Args& args) {
  if (AnyNull(args)) return Null();
  const DatePart part = PartArgument(args);
  if (part == DatePart::kMicrosecond || part == DatePart::kNanosecond) {
    return Outcome::Error(9810, "The datepart " + std::string(NameOfDatePart(part)) +
                                    " is not supported by date function dateadd for data type datetime.");
  }
  Outcome amount = IntArgument(args[1]);
  if (!amount.ok()) return amount;
  DateTime dt;
  Outcome date = DateArgument(args[2], &dt);
  if (!date.ok()) return date;
  std::optional<DateTime> moved = AddDatePart(part, amount.value.integer, dt);
  return moved ? DateResult(*moved) : AddOverflow("datetime");
}

Outcome Datediff(const Args& args) {
  if (AnyNull(args)) return Null();
  DateTime start, end;
  Outcome first = DateArgument(args[1], &start);
  if (!first.ok()) return first;
  Outcome second = DateArgument(args[2], &end);
  if (!second.ok()) return second;
  std::optional<int64_t> count = DatePartBoundaries(PartArgument(args), start, end);
  if (!count || *count < INT32_MIN || *count > INT32_MAX) {
    return Outcome::Error(535, "The datediff function resulted in an overflow. The number of dateparts "
                               "separating two date/time instances is too large. Try to use datediff "
                               "with a less precise datepart.");
  }
  return Outcome::Of(Value::Integer(*count));
}

Outcome Datepart(const Args& args) {
  if (AnyNull(args)) return Null();
  DateTime dt;
  Outcome date = DateArgument(args[1], &dt);
  if (!date.ok()) return date;
  return Outcome::Of(Value::Integer(DatePartValue(PartArgument(args), dt)));
}

Outcome Datename(const Args& args) {
  if (AnyNull(args)) return Null();
  DateTime dt;
  Outcome date = DateArgument(args[1], &dt);
  if (!date.ok()) return date;
  const DatePart part = PartArgument(args);
  const int64_t value = DatePartValue(part, dt);
  if (part == DatePart::kMonth) return Outcome::Of(Value::Text(std::string(MonthName(dt.month))));
  if (part == DatePart::kWeekday) {
    return Outcome::Of(Value::Text(std::string(WeekdayName(static_cast<int>(value)))));
  }
  return Outcome::Of(Value::Text(std::to_string(value)));
}

Outcome Eomonth(const Args& args) {
  if (AnyNull(args)) return Null();
  DateTime dt;
  Outcome date = DateArgument(args[0], &dt);
  if (!date.ok()) return date;
  int64_t months = 0;
  if (args.size() > 1) {
    Outcome offset = IntArgument(args[1]);
    if (!offset.ok()) return offset;
    months = offset.value.integer;
  }
  std::optional<DateTime> end = EndOfMonth(dt, months);
  return end ? DateResult(*end) : AddOverflow("date");
}

}  // namespace sqlsim::builtins
