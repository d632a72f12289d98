// The dateparts of DATEADD, DATEDIFF, DATEPART and DATENAME, and the
// calendar arithmetic they share. Weeks start on Sunday (SET DATEFIRST 7,
// the default of us_english).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "sqlsim/functions/datetime.h"

namespace sqlsim {

enum class DatePart {
  kYear, kQuarter, kMonth, kDayOfYear, kDay, kWeek, kWeekday, kHour, kMinute,
  kSecond, kMillisecond, kMicrosecond, kNanosecond, kIsoWeek
};

// The part a name or abbreviation stands for, in any case ("yy", "Month",
// "dw" ...); nullopt for none.
std::optional<DatePart> DatePartOfName(std::string_view name);
// The full lower-case name ("year", "dayofyear" ...).
std::string_view NameOfDatePart(DatePart part);

// DATEPART: the part as a number (weekday 1 for Sunday).
int64_t DatePartValue(DatePart part, const DateTime& dt);
// DATEDIFF: the part's boundaries crossed from start to end (negative when
// end comes first). nullopt for iso_week, which it does not take.
std::optional<int64_t> DatePartBoundaries(DatePart part, const DateTime& start,
                                          const DateTime& end);
// DATEADD: dt moved by amount parts; nullopt when the result leaves the
// datetime range. REQUIRES: a part up to millisecond, |amount| < 2^31.
std::optional<DateTime> AddDatePart(DatePart part, int64_t amount, const DateTime& dt);

// "January" ... for 1 to 12, "Sunday" ... for weekday 1 to 7.
std::string_view MonthName(int month);
std::string_view WeekdayName(int weekday);

// The last day of the month months after dt's, at midnight; nullopt
// outside the datetime range.
std::optional<DateTime> EndOfMonth(const DateTime& dt, int64_t months);

}  // namespace sqlsim
