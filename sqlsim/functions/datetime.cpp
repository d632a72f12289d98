#include "sqlsim/functions/datetime.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace sqlsim {

namespace {

constexpr const char* kMonthAbbrev[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2 ? 1 : 0;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, DateTime* dt) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  dt->year = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
  dt->month = static_cast<int>(m);
  dt->day = static_cast<int>(d);
}

constexpr int64_t kDays1900 = DaysFromCivil(1900, 1, 1);


// Style patterns: Y year, y two-digit year, M month, N month abbreviation,
// D day, d day blank-padded, H hour, h 12-hour blank-padded, I minute,
// S second, F milliseconds, P AM/PM; anything else stands for itself.
const char* StylePattern(int style, const DateTime& dt) {
  switch (style) {
    case 0: case 100: return "N d Y h:IP";
    case 1: return "M/D/y";
    case 101: return "M/D/Y";
    case 2: return "y.M.D";
    case 102: return "Y.M.D";
    case 3: return "D/M/y";
    case 103: return "D/M/Y";
    case 4: return "D.M.y";
    case 104: return "D.M.Y";
    case 5: return "D-M-y";
    case 105: return "D-M-Y";
    case 6: return "D N y";
    case 106: return "D N Y";
    case 7: return "N D, y";
    case 107: return "N D, Y";
    case 8: case 108: return "H:I:S";
    case 9: case 109: return "N d Y h:I:S:FP";
    case 10: return "M-D-y";
    case 110: return "M-D-Y";
    case 11: return "y/M/D";
    case 111: return "Y/M/D";
    case 12: return "yMD";
    case 112: return "YMD";
    case 13: case 113: return "D N Y H:I:S:F";
    case 14: case 114: return "H:I:S:F";
    case 20: case 120: return "Y-M-D H:I:S";
    case 21: case 121: return "Y-M-D H:I:S.F";
    case 22: return "M/D/y h:I:S P";
    case 23: return "Y-M-D";
    case 126: case 127:
      return dt.millisecond == 0 ? "Y-M-DTH:I:S" : "Y-M-DTH:I:S.F";
    default: return nullptr;
  }
}

void AppendField(char code, const DateTime& dt, std::string* out) {
  char buf[16];
  const int hour12 = dt.hour % 12 == 0 ? 12 : dt.hour % 12;
  switch (code) {
    case 'Y': std::snprintf(buf, sizeof buf, "%04d", dt.year); break;
    case 'y': std::snprintf(buf, sizeof buf, "%02d", dt.year % 100); break;
    case 'M': std::snprintf(buf, sizeof buf, "%02d", dt.month); break;
    case 'N': std::snprintf(buf, sizeof buf, "%s", kMonthAbbrev[((dt.month - 1) % 12 + 12) % 12]); break;
    case 'D': std::snprintf(buf, sizeof buf, "%02d", dt.day); break;
    case 'd': std::snprintf(buf, sizeof buf, "%2d", dt.day); break;
    case 'H': std::snprintf(buf, sizeof buf, "%02d", dt.hour); break;
    case 'h': std::snprintf(buf, sizeof buf, "%2d", hour12); break;
    case 'I': std::snprintf(buf, sizeof buf, "%02d", dt.minute); break;
    case 'S': std::snprintf(buf, sizeof buf, "%02d", dt.second); break;
    case 'F': std::snprintf(buf, sizeof buf, "%03d", dt.millisecond); break;
    case 'P': std::snprintf(buf, sizeof buf, "%s", dt.hour < 12 ? "AM" : "PM"); break;
    default: buf[0] = code; buf[1] = '\0'; break;
  }
  *out += buf;
}

}  // namespace

DateTime FromDaysAndTicks(int64_t days, int64_t ticks) {
  DateTime dt;
  CivilFromDays(days + kDays1900, &dt);
  const int64_t seconds = ticks / 300;
  dt.hour = static_cast<int>(seconds / 3600);
  dt.minute = static_cast<int>(seconds / 60 % 60);
  dt.second = static_cast<int>(seconds % 60);
  dt.millisecond = static_cast<int>((ticks % 300 * 10 + 1) / 3);
  return dt;
}

std::string FormatCanonical(const DateTime& dt) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d.%03d", dt.year,
                dt.month, dt.day, dt.hour, dt.minute, dt.second, dt.millisecond);
  return buf;
}

bool IsCanonicalDateTime(std::string_view text) {
  static constexpr std::string_view kShape = "dddd-dd-dd dd:dd:dd.ddd";
  if (text.size() != kShape.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return false;
  }
  DateTime dt;
  return ParseDateTimeChecked(text, DateOrder::kMdy, &dt) == DateParse::kOk &&
         FormatCanonical(dt) == text;
}

int64_t DaysFrom1900(const DateTime& dt) {
  return DaysFromCivil(dt.year, dt.month, dt.day) - kDays1900;
}

int64_t TicksOfDay(const DateTime& dt) {
  return (dt.hour * 3600LL + dt.minute * 60LL + dt.second) * 300 +
         (dt.millisecond * 3LL + 5) / 10;
}

DateTime FromDays1900(double days) {
  // Far enough outside 1753..9999 to fail the range check, small enough to
  // keep the calendar arithmetic exact.
  constexpr double kLimit = 1e7;
  if (!(days > -kLimit)) days = -kLimit;
  if (days > kLimit) days = kLimit;
  double whole = std::floor(days);
  auto day = static_cast<int64_t>(whole);
  auto ticks = static_cast<int64_t>(std::llround((days - whole) * kTicksPerDay));
  if (ticks >= kTicksPerDay) {
    ++day;
    ticks -= kTicksPerDay;
  }
  return FromDaysAndTicks(day, ticks);
}

DateTime RoundToTicks(const DateTime& dt) {
  int64_t days = DaysFrom1900(dt);
  int64_t ticks = TicksOfDay(dt);
  if (ticks >= kTicksPerDay) {
    ++days;
    ticks -= kTicksPerDay;
  }
  return FromDaysAndTicks(days, ticks);
}

double DateTimeToDays(const DateTime& dt) {
  return static_cast<double>(DaysFrom1900(dt)) +
         static_cast<double>(TicksOfDay(dt)) / kTicksPerDay;
}

bool IsDateTimeInRange(const DateTime& dt) {
  if (dt.year < 1753 || dt.year > 9999) return false;
  return dt.month >= 1 && dt.month <= 12 && dt.day >= 1 && dt.day <= 31;
}

std::optional<std::string> FormatDateTimeStyle(const DateTime& dt, int style) {
  const char* pattern = StylePattern(style < 0 ? 0 : style, dt);
  if (pattern == nullptr) return std::nullopt;
  std::string out;
  for (const char* p = pattern; *p != '\0'; ++p) AppendField(*p, dt, &out);
  return out;
}

DateOrder DateOrderOfStyle(int style) {
  switch (style) {
    case 3: case 4: case 5: case 6: case 13:
    case 103: case 104: case 105: case 106: case 113:
      return DateOrder::kDmy;
    default:
      return DateOrder::kMdy;
  }
}

DateTime NowLocal() {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  const auto now = std::chrono::system_clock::now();
  const int64_t ms_total = duration_cast<milliseconds>(now.time_since_epoch()).count();
  std::time_t seconds = static_cast<std::time_t>(ms_total / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  DateTime dt{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
              local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
              static_cast<int>(ms_total % 1000)};
  return RoundToTicks(dt);
}

}  // namespace sqlsim
