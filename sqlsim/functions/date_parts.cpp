#include "sqlsim/functions/date_parts.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace sqlsim {

namespace {

struct PartName {
  std::string_view name;
  DatePart part;
};

constexpr PartName kPartNames[] = {
    {"year", DatePart::kYear},           {"yy", DatePart::kYear},
    {"yyyy", DatePart::kYear},           {"quarter", DatePart::kQuarter},
    {"qq", DatePart::kQuarter},          {"q", DatePart::kQuarter},
    {"month", DatePart::kMonth},         {"mm", DatePart::kMonth},
    {"m", DatePart::kMonth},             {"dayofyear", DatePart::kDayOfYear},
    {"dy", DatePart::kDayOfYear},        {"y", DatePart::kDayOfYear},
    {"day", DatePart::kDay},             {"dd", DatePart::kDay},
    {"d", DatePart::kDay},               {"week", DatePart::kWeek},
    {"wk", DatePart::kWeek},             {"ww", DatePart::kWeek},
    {"weekday", DatePart::kWeekday},     {"dw", DatePart::kWeekday},
    {"w", DatePart::kWeekday},           {"hour", DatePart::kHour},
    {"hh", DatePart::kHour},             {"minute", DatePart::kMinute},
    {"mi", DatePart::kMinute},           {"n", DatePart::kMinute},
    {"second", DatePart::kSecond},       {"ss", DatePart::kSecond},
    {"s", DatePart::kSecond},            {"millisecond", DatePart::kMillisecond},
    {"ms", DatePart::kMillisecond},      {"microsecond", DatePart::kMicrosecond},
    {"mcs", DatePart::kMicrosecond},     {"nanosecond", DatePart::kNanosecond},
    {"ns", DatePart::kNanosecond},       {"iso_week", DatePart::kIsoWeek},
    {"isowk", DatePart::kIsoWeek},       {"isoww", DatePart::kIsoWeek},
};

constexpr std::string_view kMonthNames[] = {"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
constexpr std::string_view kWeekdayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                              "Thursday", "Friday", "Saturday"};

constexpr int64_t kMsPerDay = 86400000;

// Division rounding toward minus infinity.
int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

int64_t MonthNumber(const DateTime& dt) { return dt.year * 12LL + dt.month - 1; }

int64_t MillisecondOfDay(const DateTime& dt) {
  return ((dt.hour * 60LL + dt.minute) * 60 + dt.second) * 1000 + dt.millisecond;
}

int64_t TotalMilliseconds(const DateTime& dt) {
  return DaysFrom1900(dt) * kMsPerDay + MillisecondOfDay(dt);
}

// 1900-01-01 was a Monday: day 0 is weekday 2 with Sunday first.
int WeekdayOfDay(int64_t days) { return static_cast<int>(((days + 1) % 7 + 7) % 7) + 1; }

int64_t DayOfYear(const DateTime& dt) {
  return DaysFrom1900(dt) - DaysFrom1900(DateTime{dt.year, 1, 1}) + 1;
}

int64_t IsoWeek(const DateTime& dt) {
  const int64_t days = DaysFrom1900(dt);
  const int64_t monday_based = ((days % 7) + 7) % 7;  // 0 for Monday
  const DateTime thursday = FromDaysAndTicks(days - monday_based + 3, 0);
  return (DayOfYear(thursday) - 1) / 7 + 1;
}

std::optional<DateTime> InRange(const DateTime& dt) {
  if (!IsDateTimeInRange(dt)) return std::nullopt;
  return dt;
}

std::optional<DateTime> AddMonths(const DateTime& dt, int64_t months) {
  const int64_t total = MonthNumber(dt) + months;
  const int64_t year = FloorDiv(total, 12);
  if (year < 1753 || year > 9999) return std::nullopt;
  DateTime out = dt;
  out.year = static_cast<int>(year);
  out.month = static_cast<int>(total - year * 12 + 1);
  out.day = std::min(dt.day, DaysInMonth(out.year, out.month));
  return out;
}

std::optional<DateTime> AddMilliseconds(const DateTime& dt, int64_t ms) {
  constexpr int64_t kFirstDay = -53690;   // 1753-01-01
  constexpr int64_t kLastDay = 2958463;   // 9999-12-31
  const int64_t total = TotalMilliseconds(dt) + ms;
  const int64_t days = FloorDiv(total, kMsPerDay);
  if (days < kFirstDay || days > kLastDay) return std::nullopt;
  DateTime out = FromDaysAndTicks(days, 0);
  int64_t rest = total - days * kMsPerDay;
  out.millisecond = static_cast<int>(rest % 1000);
  out.second = static_cast<int>(rest / 1000 % 60);
  out.minute = static_cast<int>(rest / 60000 % 60);
  out.hour = static_cast<int>(rest / 3600000);
  return InRange(RoundToTicks(out));
}

}  // namespace

std::optional<DatePart> DatePartOfName(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const PartName& entry : kPartNames) {
    if (entry.name == lower) return entry.part;
  }
  return std::nullopt;
}

std::string_view NameOfDatePart(DatePart part) {
  for (const PartName& entry : kPartNames) {
    if (entry.part == part) return entry.name;
  }
  return "";
}

int64_t DatePartValue(DatePart part, const DateTime& dt) {
  switch (part) {
    case DatePart::kYear: return dt.year;
    case DatePart::kQuarter: return (dt.month - 1) / 3 + 1;
    case DatePart::kMonth: return dt.month;
    case DatePart::kDayOfYear: return DayOfYear(dt);
    case DatePart::kDay: return dt.day;
    case DatePart::kWeek: {
      const int first_weekday = WeekdayOfDay(DaysFrom1900(DateTime{dt.year, 1, 1}));
      return (DayOfYear(dt) - 1 + first_weekday - 1) / 7 + 1;
    }
    case DatePart::kWeekday: return WeekdayOfDay(DaysFrom1900(dt));
    case DatePart::kHour: return dt.hour;
    case DatePart::kMinute: return dt.minute;
    case DatePart::kSecond: return dt.second;
    case DatePart::kMillisecond: return dt.millisecond;
    case DatePart::kMicrosecond: return dt.millisecond * 1000LL;
    case DatePart::kNanosecond: return dt.millisecond * 1000000LL;
    case DatePart::kIsoWeek: return IsoWeek(dt);
  }
  return 0;
}

std::optional<int64_t> DatePartBoundaries(DatePart part, const DateTime& start,
                                          const DateTime& end) {
  const int64_t days = DaysFrom1900(end) - DaysFrom1900(start);
  const int64_t ms = TotalMilliseconds(end) - TotalMilliseconds(start);
  const auto whole = [](const DateTime& dt, int64_t per_day, int64_t unit_ms) {
    return DaysFrom1900(dt) * per_day + MillisecondOfDay(dt) / unit_ms;
  };
  switch (part) {
    case DatePart::kYear: return end.year - start.year;
    case DatePart::kQuarter:
      return end.year * 4LL + (end.month - 1) / 3 - (start.year * 4LL + (start.month - 1) / 3);
    case DatePart::kMonth: return MonthNumber(end) - MonthNumber(start);
    case DatePart::kDayOfYear: case DatePart::kDay: case DatePart::kWeekday: return days;
    case DatePart::kWeek:  // Sundays crossed
      return FloorDiv(DaysFrom1900(end) + 1, 7) - FloorDiv(DaysFrom1900(start) + 1, 7);
    case DatePart::kHour: return whole(end, 24, 3600000) - whole(start, 24, 3600000);
    case DatePart::kMinute: return whole(end, 1440, 60000) - whole(start, 1440, 60000);
    case DatePart::kSecond: return whole(end, 86400, 1000) - whole(start, 86400, 1000);
    case DatePart::kMillisecond: return ms;
    case DatePart::kMicrosecond: return ms * 1000;
    case DatePart::kNanosecond: return ms * 1000000;  // |ms| < 2^49: no overflow
    case DatePart::kIsoWeek: break;
  }
  return std::nullopt;
}

std::optional<DateTime> AddDatePart(DatePart part, int64_t amount, const DateTime& dt) {
  switch (part) {
    case DatePart::kYear: return AddMonths(dt, amount * 12);
    case DatePart::kQuarter: return AddMonths(dt, amount * 3);
    case DatePart::kMonth: return AddMonths(dt, amount);
    case DatePart::kDayOfYear: case DatePart::kDay: case DatePart::kWeekday:
      return AddMilliseconds(dt, amount * kMsPerDay);
    case DatePart::kWeek: return AddMilliseconds(dt, amount * 7 * kMsPerDay);
    case DatePart::kHour: return AddMilliseconds(dt, amount * 3600000);
    case DatePart::kMinute: return AddMilliseconds(dt, amount * 60000);
    case DatePart::kSecond: return AddMilliseconds(dt, amount * 1000);
    case DatePart::kMillisecond: return AddMilliseconds(dt, amount);
    default: break;
  }
  return std::nullopt;
}

std::string_view MonthName(int month) {
  return month >= 1 && month <= 12 ? kMonthNames[month - 1] : "";
}

std::string_view WeekdayName(int weekday) {
  return weekday >= 1 && weekday <= 7 ? kWeekdayNames[weekday - 1] : "";
}

std::optional<DateTime> EndOfMonth(const DateTime& dt, int64_t months) {
  DateTime first = dt;
  first.day = 1;
  std::optional<DateTime> moved = AddMonths(first, months);
  if (!moved) return std::nullopt;
  return DateTime{moved->year, moved->month, DaysInMonth(moved->year, moved->month)};
}

}  // namespace sqlsim
