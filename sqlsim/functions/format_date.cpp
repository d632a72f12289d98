// Dates for FORMAT: .NET's custom date patterns and its one-letter
// standard ones, with the names and separators of en-US and de-DE.
#include "sqlsim/functions/format_pattern.h"

#include "sqlsim/functions/date_parts.h"

namespace sqlsim {

namespace {

constexpr const char* kGermanMonths[] = {"Januar", "Februar", "M\xE4rz",    "April",   "Mai",      "Juni",
                                         "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
constexpr const char* kGermanMonthsShort[] = {"Jan", "Feb", "M\xE4r", "Apr", "Mai", "Jun",
                                              "Jul", "Aug", "Sep",    "Okt", "Nov", "Dez"};
constexpr const char* kGermanDays[] = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                       "Donnerstag", "Freitag", "Samstag"};
constexpr const char* kGermanDaysShort[] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};

// The custom pattern a one-letter standard format stands for; nullptr for
// a letter .NET does not know.
const char* StandardPattern(char letter, FormatCulture culture) {
  const bool de = culture == FormatCulture::kDeDe;
  switch (letter) {
    case 'd': return de ? "dd.MM.yyyy" : "M/d/yyyy";
    case 'D': return de ? "dddd, d. MMMM yyyy" : "dddd, MMMM d, yyyy";
    case 't': return de ? "HH:mm" : "h:mm tt";
    case 'T': return de ? "HH:mm:ss" : "h:mm:ss tt";
    case 'f': return de ? "dddd, d. MMMM yyyy HH:mm" : "dddd, MMMM d, yyyy h:mm tt";
    case 'F': return de ? "dddd, d. MMMM yyyy HH:mm:ss" : "dddd, MMMM d, yyyy h:mm:ss tt";
    case 'g': return de ? "dd.MM.yyyy HH:mm" : "M/d/yyyy h:mm tt";
    case 'G': return de ? "dd.MM.yyyy HH:mm:ss" : "M/d/yyyy h:mm:ss tt";
    case 'm': case 'M': return de ? "d. MMMM" : "MMMM d";
    case 'y': case 'Y': return "MMMM yyyy";
    case 's': return "yyyy'-'MM'-'dd'T'HH':'mm':'ss";
    case 'u': return "yyyy'-'MM'-'dd HH':'mm':'ss'Z'";
    case 'o': case 'O': return "yyyy'-'MM'-'dd'T'HH':'mm':'ss.fffffff";
    default: return nullptr;
  }
}

// REQUIRES: value >= 0.
std::string Number(int64_t value, size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::string MonthText(int month, size_t run, FormatCulture culture) {
  const bool de = culture == FormatCulture::kDeDe;
  if (run == 3) return de ? kGermanMonthsShort[month - 1] : std::string(MonthName(month).substr(0, 3));
  return de ? kGermanMonths[month - 1] : std::string(MonthName(month));
}

std::string DayText(const DateTime& dt, size_t run, FormatCulture culture) {
  const auto weekday = static_cast<int>(DatePartValue(DatePart::kWeekday, dt));
  if (culture == FormatCulture::kDeDe) return run == 3 ? kGermanDaysShort[weekday - 1] : kGermanDays[weekday - 1];
  std::string name(WeekdayName(weekday));
  return run == 3 ? name.substr(0, 3) : name;
}

// One run of a pattern letter; nullopt for letters not done here.
std::optional<std::string> Field(const DateTime& dt, char letter, size_t run, FormatCulture culture) {
  const int hour12 = dt.hour % 12 == 0 ? 12 : dt.hour % 12;
  const size_t width = run >= 2 ? 2 : 1;
  switch (letter) {
    case 'y': return run <= 2 ? Number(dt.year % 100, run) : Number(dt.year, run);
    case 'M': return run <= 2 ? Number(dt.month, run) : MonthText(dt.month, run, culture);
    case 'd': return run <= 2 ? Number(dt.day, run) : DayText(dt, run, culture);
    case 'H': return Number(dt.hour, width);
    case 'h': return Number(hour12, width);
    case 'm': return Number(dt.minute, width);
    case 's': return Number(dt.second, width);
    case 'f':
      if (run > 7) return std::nullopt;
      return Number(dt.millisecond * 10000LL, 7).substr(0, run);
    case 't':
      if (culture == FormatCulture::kDeDe) return std::string();
      return std::string(dt.hour < 12 ? "AM" : "PM").substr(0, run == 1 ? 1 : 2);
    case 'F': case 'g': case 'z': case 'K':
      return std::nullopt;
    default:
      return std::string(run, letter);
  }
}

bool IsPatternLetter(char c) {
  return c == 'y' || c == 'M' || c == 'd' || c == 'H' || c == 'h' || c == 'm' || c == 's' || c == 'f' ||
         c == 't' || c == 'F' || c == 'g' || c == 'z' || c == 'K';
}

std::optional<std::string> CustomPattern(const DateTime& dt, std::string_view pattern, FormatCulture culture) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (IsPatternLetter(c)) {
      size_t run = 1;
      while (i + run < pattern.size() && pattern[i + run] == c) ++run;
      std::optional<std::string> field = Field(dt, c, run, culture);
      if (!field) return std::nullopt;
      out += *field;
      i += run - 1;
    } else if (c == '\'' || c == '"') {
      const size_t end = pattern.find(c, i + 1);
      if (end == std::string_view::npos) return std::nullopt;
      out.append(pattern.substr(i + 1, end - i - 1));
      i = end;
    } else if (c == '\\') {
      if (++i == pattern.size()) return std::nullopt;
      out += pattern[i];
    } else if (c == '/') {
      out += culture == FormatCulture::kDeDe ? '.' : '/';
    } else if (c != '%') {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::optional<std::string> FormatDatePattern(const DateTime& dt, std::string_view pattern,
                                             FormatCulture culture) {
  if (pattern.size() == 1) {
    const char* standard = StandardPattern(pattern[0], culture);
    if (!standard) return std::nullopt;
    return CustomPattern(dt, standard, culture);
  }
  return CustomPattern(dt, pattern, culture);
}

}  // namespace sqlsim
