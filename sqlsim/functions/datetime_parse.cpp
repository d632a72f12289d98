// Text to datetime, for the date and time forms the server reads under
// us_english.
#include "sqlsim/functions/datetime.h"
#include "sqlsim/functions/text.h"

namespace sqlsim {

namespace {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  bool Take(char c) {
    if (AtEnd() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  bool TakeOneOf(std::string_view set, char* taken) {
    if (AtEnd() || set.find(text_[pos_]) == std::string_view::npos) return false;
    *taken = text_[pos_++];
    return true;
  }
  // Up to max_count digits; returns how many were read.
  int Digits(int max_count, int* value) {
    int count = 0;
    *value = 0;
    while (count < max_count && !AtEnd() && IsDigit(text_[pos_])) {
      *value = *value * 10 + (text_[pos_++] - '0');
      ++count;
    }
    return count;
  }
  size_t SkipBlanks() {
    size_t start = pos_;
    while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    return pos_ - start;
  }
  std::string Word() {
    std::string word;
    while (!AtEnd() && IsLetter(text_[pos_]) && word.size() < 16) {
      word += static_cast<char>(LowerCp1252(static_cast<unsigned char>(text_[pos_++])));
    }
    return word;
  }
  bool LooksLikeTime() const {
    Scanner probe = *this;
    int ignored = 0;
    if (probe.Digits(2, &ignored) == 0) return false;
    if (probe.Peek() == ':') return true;
    probe.SkipBlanks();
    std::string word = probe.Word();
    return word == "am" || word == "pm";
  }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

int MonthOfName(const std::string& word) {
  static const char* const kNames[] = {"january", "february", "march", "april",
                                       "may", "june", "july", "august",
                                       "september", "october", "november", "december"};
  for (int i = 0; i < 12; ++i) {
    std::string_view name = kNames[i];
    if (word == name || word == name.substr(0, 3)) return i + 1;
  }
  return word == "sept" ? 9 : 0;
}

int YearOf(int value, int digits) {
  if (digits == 4) return value;
  return value < 50 ? 2000 + value : 1900 + value;
}

bool ReadYear(Scanner* sc, int* year) {
  int value = 0;
  int digits = sc->Digits(4, &value);
  if (digits != 2 && digits != 4) return false;
  *year = YearOf(value, digits);
  return true;
}

// 'mon dd yyyy', 'Mon dd, yyyy', 'mon. dd yyyy'.
bool ParseNamedMonthFirst(Scanner* sc, DateTime* dt) {
  dt->month = MonthOfName(sc->Word());
  if (dt->month == 0) return false;
  sc->Take('.');
  sc->SkipBlanks();
  if (sc->Digits(2, &dt->day) == 0) return false;
  bool comma = sc->Take(',');
  if (sc->SkipBlanks() == 0 && !comma) return false;
  return ReadYear(sc, &dt->year);
}

// Everything that starts with a digit; *iso is set for 'yyyy-mm-dd', the
// one form a 'T' may follow.
bool ParseNumericDate(Scanner* sc, DateOrder order, DateTime* dt, bool* iso) {
  int first = 0;
  int digits = sc->Digits(8, &first);
  char sep = 0;
  if (digits == 8) {
    dt->year = first / 10000;
    dt->month = first / 100 % 100;
    dt->day = first % 100;
    *iso = true;
    return true;
  }
  if (digits == 4 && sc->TakeOneOf("-/.", &sep)) {
    dt->year = first;
    if (sc->Digits(2, &dt->month) == 0 || !sc->Take(sep)) return false;
    *iso = sep == '-';
    return sc->Digits(2, &dt->day) > 0;
  }
  if (digits < 1 || digits > 2) return false;
  if (sc->TakeOneOf("-/.", &sep)) {
    int second = 0;
    if (sc->Digits(2, &second) == 0 || !sc->Take(sep)) return false;
    dt->month = order == DateOrder::kMdy ? first : second;
    dt->day = order == DateOrder::kMdy ? second : first;
    return ReadYear(sc, &dt->year);
  }
  // 'dd mon yyyy'
  if (sc->SkipBlanks() == 0) return false;
  dt->day = first;
  dt->month = MonthOfName(sc->Word());
  if (dt->month == 0 || sc->SkipBlanks() == 0) return false;
  return ReadYear(sc, &dt->year);
}

// hh:mi[:ss[.fff|:mmm]][AM|PM], or hh AM|PM.
bool ParseTime(Scanner* sc, DateTime* dt) {
  if (sc->Digits(2, &dt->hour) == 0) return false;
  bool colon = sc->Take(':');
  if (colon) {
    if (sc->Digits(2, &dt->minute) == 0) return false;
    if (sc->Take(':')) {
      if (sc->Digits(2, &dt->second) == 0) return false;
      if (sc->Take('.')) {
        int digits = sc->Digits(3, &dt->millisecond);
        if (digits == 0) return false;
        for (; digits < 3; ++digits) dt->millisecond *= 10;
      } else if (sc->Take(':')) {
        if (sc->Digits(3, &dt->millisecond) == 0) return false;
      }
    }
  }
  sc->SkipBlanks();
  std::string word = sc->Word();
  if (word.empty()) return colon;
  if ((word != "am" && word != "pm") || dt->hour > 12) return false;
  if (dt->hour == 12) dt->hour = 0;
  if (word == "pm") dt->hour += 12;
  return true;
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool FieldsValid(const DateTime& dt) {
  if (dt.month < 1 || dt.month > 12) return false;
  if (dt.day < 1 || dt.day > DaysInMonth(dt.year, dt.month)) return false;
  return dt.hour <= 23 && dt.minute <= 59 && dt.second <= 59 &&
         dt.millisecond <= 999;
}

bool ParseFields(std::string_view text, DateOrder order, DateTime* dt) {
  Scanner sc(text);
  if (sc.LooksLikeTime()) return ParseTime(&sc, dt) && sc.AtEnd();
  bool iso = false;
  bool date_ok = Scanner::IsLetter(sc.Peek()) ? ParseNamedMonthFirst(&sc, dt)
                                              : ParseNumericDate(&sc, order, dt, &iso);
  if (!date_ok) return false;
  if (sc.AtEnd()) return true;
  if (!(iso && sc.Take('T')) && sc.SkipBlanks() == 0) return false;
  return ParseTime(&sc, dt) && sc.AtEnd();
}

}  // namespace

DateParse ParseDateTimeChecked(std::string_view text, DateOrder order,
                               DateTime* out) {
  DateTime dt;
  text = TrimSpace(text);
  if (!text.empty() && !ParseFields(text, order, &dt)) return DateParse::kSyntax;
  if (!FieldsValid(dt)) return DateParse::kRange;
  dt = RoundToTicks(dt);
  if (!IsDateTimeInRange(dt)) return DateParse::kRange;
  *out = dt;
  return DateParse::kOk;
}

std::optional<DateTime> ParseDateTime(std::string_view text) {
  DateTime dt;
  if (ParseDateTimeChecked(text, DateOrder::kMdy, &dt) != DateParse::kOk) {
    return std::nullopt;
  }
  return dt;
}

}  // namespace sqlsim
