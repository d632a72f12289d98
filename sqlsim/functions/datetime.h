// The server's datetime: 1753-01-01 to 9999-12-31 23:59:59.997 in ticks of
// 1/300 s. Stored as the text "yyyy-mm-dd hh:mi:ss.mmm", which orders by
// bytes; converted to a number it is days since 1900-01-01 plus a fraction.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sqlsim {

inline constexpr int64_t kTicksPerDay = 300LL * 86400;

struct DateTime {
  int year = 1900, month = 1, day = 1, hour = 0, minute = 0, second = 0,
      millisecond = 0;
};

// Order of day, month and year in a date like "04/12/2025" (SET DATEFORMAT;
// a four-digit first part always means year-month-day).
enum class DateOrder { kMdy, kDmy };

enum class DateParse {
  kOk,
  kSyntax,  // not a date: error 241
  kRange,   // a date, but no valid one or outside the datetime range: 242
};

// Accepts 'yyyy-mm-dd', 'yyyy-mm-dd hh:mi[:ss[.fff]]', 'yyyymmdd [time]',
// 'yyyy-mm-ddThh:mi:ss[.fff]', 'mm/dd/yyyy [time]' (also '-' and '.',
// two-digit years), 'mon dd yyyy [time]', 'dd mon yyyy', a time alone;
// time as hh:mi[:ss[.fff|:mmm]][AM|PM]; surrounding blanks; '' is
// 1900-01-01. Milliseconds are rounded to ticks (.000 .003 .007).
DateParse ParseDateTimeChecked(std::string_view text, DateOrder order,
                               DateTime* out);
std::optional<DateTime> ParseDateTime(std::string_view text);

// "yyyy-mm-dd hh:mi:ss.mmm".
std::string FormatCanonical(const DateTime& dt);
// True for exactly that form with a valid date and time.
bool IsCanonicalDateTime(std::string_view text);

// The date as days since 1900-01-01 (negative before); the time is ignored.
int64_t DaysFrom1900(const DateTime& dt);
// The datetime of a day number with fraction, rounded to ticks. Values far
// outside the range give a date outside it (check IsDateTimeInRange).
DateTime FromDays1900(double days);
// The datetime of a day number and the ticks into that day.
// REQUIRES: 0 <= ticks < kTicksPerDay, |days| small enough for the calendar
// (a few million).
DateTime FromDaysAndTicks(int64_t days, int64_t ticks);
// Days since 1900-01-01 plus the time as a fraction of a day.
double DateTimeToDays(const DateTime& dt);
// Ticks of 1/300 s since midnight.
int64_t TicksOfDay(const DateTime& dt);

// Milliseconds rounded to ticks (.000 .003 .007), carrying into seconds
// and on. REQUIRES: a valid date and time of day.
DateTime RoundToTicks(const DateTime& dt);

bool IsDateTimeInRange(const DateTime& dt);

// CONVERT(varchar, datetime, style): styles 0-14, 20-23, 100-114, 120,
// 121, 126, 127; -1 means 0. Nullopt for any other style.
std::optional<std::string> FormatDateTimeStyle(const DateTime& dt, int style);
// The order a CONVERT style gives to text converted to datetime.
DateOrder DateOrderOfStyle(int style);

// Local time now, rounded to ticks.
DateTime NowLocal();

}  // namespace sqlsim
