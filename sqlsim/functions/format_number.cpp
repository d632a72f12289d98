// Numbers for FORMAT: rounded half away from zero on their decimal digits,
// as .NET rounds decimals.
#include <cctype>
#include <cstring>

#include "sqlsim/functions/format_pattern.h"

namespace sqlsim {

namespace {

struct Digits {
  bool negative = false;
  std::string whole;     // without leading zeros
  std::string fraction;
};

bool AllDigits(std::string_view s) {
  for (char c : s) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::optional<Digits> ReadNumber(std::string_view number) {
  Digits d;
  if (!number.empty() && number[0] == '-') {
    d.negative = true;
    number.remove_prefix(1);
  }
  const size_t point = number.find('.');
  d.whole = std::string(number.substr(0, point));
  if (point != std::string_view::npos) d.fraction = std::string(number.substr(point + 1));
  if ((d.whole.empty() && d.fraction.empty()) || !AllDigits(d.whole) || !AllDigits(d.fraction)) {
    return std::nullopt;
  }
  const size_t first_digit = d.whole.find_first_not_of('0');
  d.whole.erase(0, first_digit == std::string::npos ? d.whole.size() : first_digit);
  return d;
}

void RoundTo(Digits* d, size_t decimals) {
  if (d->fraction.size() <= decimals) return;
  const bool up = d->fraction[decimals] >= '5';
  d->fraction.resize(decimals);
  if (!up) return;
  std::string all = d->whole + d->fraction;
  size_t i = all.size();
  while (i > 0 && all[i - 1] == '9') all[--i] = '0';
  if (i == 0) {
    all.insert(0, "1");
  } else {
    ++all[i - 1];
  }
  d->whole = all.substr(0, all.size() - decimals);
  d->fraction = all.substr(all.size() - decimals);
}

struct NumberLayout {
  size_t min_whole = 1;
  bool grouped = false;
  size_t min_fraction = 0;
  size_t max_fraction = 0;
};

std::string Compose(Digits d, const NumberLayout& layout, FormatCulture culture) {
  const bool german = culture == FormatCulture::kDeDe;
  RoundTo(&d, layout.max_fraction);
  while (d.fraction.size() > layout.min_fraction && d.fraction.back() == '0') d.fraction.pop_back();
  d.fraction.append(layout.min_fraction > d.fraction.size() ? layout.min_fraction - d.fraction.size() : 0, '0');
  if (d.whole.size() < layout.min_whole) d.whole.insert(0, layout.min_whole - d.whole.size(), '0');
  if (layout.grouped) {
    for (size_t at = d.whole.size(); at > 3; at -= 3) d.whole.insert(at - 3, 1, german ? '.' : ',');
  }
  const bool zero = (d.whole + d.fraction).find_first_not_of("0.,") == std::string::npos;
  std::string out = d.negative && !zero ? "-" : "";
  out += d.whole;
  if (!d.fraction.empty()) out += (german ? "," : ".") + d.fraction;
  return out;
}

// N2, F0, D5 ...: nullopt when pattern is no standard format done here.
std::optional<std::string> StandardFormat(const Digits& d, bool integral, std::string_view pattern,
                                          FormatCulture culture) {
  const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(pattern[0])));
  const std::string_view precision_text = pattern.substr(1);
  if (precision_text.size() > 2 || !AllDigits(precision_text)) return std::nullopt;
  const int precision = precision_text.empty() ? -1 : std::stoi(std::string(precision_text));
  NumberLayout layout;
  switch (kind) {
    case 'N': case 'F':
      layout.grouped = kind == 'N';
      layout.min_fraction = layout.max_fraction = precision < 0 ? 2 : static_cast<size_t>(precision);
      return Compose(d, layout, culture);
    case 'D':
      if (!integral) return std::nullopt;
      layout.min_whole = precision < 0 ? 1 : static_cast<size_t>(precision);
      return Compose(d, layout, culture);
    default:
      return std::nullopt;
  }
}

// Custom patterns: literal text, then 0 # , . placeholders, then literal
// text; other layouts (sections, percent, exponents, scaling commas, text
// between digits) are not done here.
std::optional<std::string> CustomFormat(const Digits& d, std::string_view pattern, FormatCulture culture) {
  NumberLayout layout;
  layout.min_whole = 0;
  std::string prefix, suffix;
  enum { kBefore, kWhole, kFraction, kAfter } state = kBefore;
  bool comma_pending = false, seen_zero = false;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    std::string* literal = state == kBefore ? &prefix : &suffix;
    if (c == '0' || c == '#') {
      if (state == kAfter) return std::nullopt;
      if (state == kBefore) state = kWhole;
      if (state == kWhole) {
        layout.grouped = layout.grouped || comma_pending;
        comma_pending = false;
        seen_zero = seen_zero || c == '0';
        if (seen_zero) ++layout.min_whole;
      } else {
        ++layout.max_fraction;
        if (c == '0') layout.min_fraction = layout.max_fraction;
      }
    } else if (c == '.' && (state == kBefore || state == kWhole)) {
      if (comma_pending) return std::nullopt;
      state = kFraction;
    } else if (c == ',' && state == kWhole) {
      comma_pending = true;
    } else if (c == '%' || c == ';' || c == '\x89' || (c == '.' && state != kBefore) ||
               ((c == 'E' || c == 'e') && i + 1 < pattern.size() && std::strchr("+-0", pattern[i + 1]))) {
      return std::nullopt;
    } else {
      if (comma_pending) return std::nullopt;
      if (state == kWhole || state == kFraction) state = kAfter;
      literal = state == kBefore ? &prefix : &suffix;
      if (c == '\'' || c == '"') {
        const size_t end = pattern.find(c, i + 1);
        if (end == std::string_view::npos) return std::nullopt;
        literal->append(pattern.substr(i + 1, end - i - 1));
        i = end;
      } else if (c == '\\') {
        if (++i == pattern.size()) return std::nullopt;
        *literal += pattern[i];
      } else {
        *literal += c;
      }
    }
  }
  if (comma_pending) return std::nullopt;
  if (state == kBefore) return (d.negative && (d.whole + d.fraction).find_first_not_of('0') != std::string::npos
                                    ? "-" : "") + prefix;
  std::string number = Compose(d, layout, culture);
  const bool negative = !number.empty() && number[0] == '-';
  return (negative ? "-" : "") + prefix + number.substr(negative ? 1 : 0) + suffix;
}

}  // namespace

std::optional<FormatCulture> CultureOfName(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "en-us" || lower == "en") return FormatCulture::kEnUs;
  if (lower == "de-de" || lower == "de") return FormatCulture::kDeDe;
  return std::nullopt;
}

std::optional<std::string> FormatNumberPattern(std::string_view number, bool integral,
                                               std::string_view pattern, FormatCulture culture) {
  std::optional<Digits> digits = ReadNumber(number);
  if (!digits || pattern.empty()) return std::nullopt;
  if (std::isalpha(static_cast<unsigned char>(pattern[0])) &&
      (pattern.size() == 1 || std::isdigit(static_cast<unsigned char>(pattern[1])))) {
    return StandardFormat(*digits, integral, pattern, culture);
  }
  return CustomFormat(*digits, pattern, culture);
}

}  // namespace sqlsim
