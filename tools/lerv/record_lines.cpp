#include "tools/lerv/record_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <fmt/format.h>

#include "tools/lerv/terminal_text.h"

namespace lerv {
namespace {

// Room for one exported item: the widest is a number of 2 * 255 + 2
// characters.
constexpr size_t kItemRoom = 2 * 255 + 16;

const FieldDef& Field(const TableDef* td, int32_t i) { return td->Fields[i]; }

std::string ExportField(const TableDef* td, int32_t i, const char* rec) {
  const FieldDef& f = Field(td, i);
  char item[kItemRoom] = "";
  rv_FieldExport(item, rec + f.Offset, f.Type, f.Len, f.Dec, 0);
  return item;
}


bool ReadNumber(const std::string& text, double* value) {
  const char* begin = text.c_str();
  while (*begin == ' ') ++begin;
  if (*begin == '\0') {
    *value = 0;
    return true;
  }
  char* end = nullptr;
  *value = std::strtod(begin, &end);
  while (*end == ' ') ++end;
  return *end == '\0' && std::isfinite(*value);
}

// "YYYY-MM-DD" naming a day of the calendar.
bool IsDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  const int year = std::atoi(text.c_str()), month = std::atoi(text.c_str() + 5), day = std::atoi(text.c_str() + 8);
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// Whether what the field holds now is the item given: read back through
// the export, as the next export would write it.
std::string Mismatch(const TableDef* td, int32_t i, const std::string& item, const std::string& stored) {
  const FieldDef& f = Field(td, i);
  if (IsNumberType(static_cast<char>(f.Type))) {
    double given = 0, kept = 0;
    if (!ReadNumber(item, &given)) return fmt::format("Feld {}: keine Zahl: \"{}\"", f.Name, item);
    // Whole-number fields keep exactly what they take; decimal fields round
    // to their places; doubles keep about 15 digits.
    const bool whole = std::strchr("lsbx", f.Type) != nullptr;
    const double tolerance = whole ? 0.0
                             : f.Type == 'd' ? 0.5 * std::pow(10.0, -static_cast<double>(f.Dec)) + 1e-12 * std::fabs(given)
                                             : 0.5 * std::pow(10.0, -static_cast<double>(f.Dec));
    if (whole && given != std::floor(given)) {
      return fmt::format("Feld {}: keine ganze Zahl: \"{}\"", f.Name, item);
    }
    if (!ReadNumber(stored, &kept) || std::fabs(kept - given) > tolerance) {
      return fmt::format("Feld {}: {} passt nicht (Breite {}, {} Nachkommastellen)", f.Name, item, f.Len, f.Dec);
    }
    return "";
  }
  switch (f.Type) {
    case 'C':
      if (TrimRight(item) != stored) return fmt::format("Feld {}: Text länger als {} Zeichen", f.Name, f.Len);
      return "";
    case 'u':
      // Stored in upper case, by the library's rules for every letter.
      if (TrimRight(item).size() != stored.size()) {
        return fmt::format("Feld {}: Text länger als {} Zeichen", f.Name, f.Len);
      }
      return "";
    case 'D':
    case 'o':
      // An empty item is the empty date, which the export writes as zeros.
      if (!item.empty() && item != "0000-00-00" && (!IsDate(item) || item != stored)) {
        return fmt::format("Feld {}: kein Datum (JJJJ-MM-TT): \"{}\"", f.Name, item);
      }
      return "";
    case 'L':
      if (item != "0" && item != "1" && !item.empty()) return fmt::format("Feld {}: weder 0 noch 1: \"{}\"", f.Name, item);
      return "";
    default:
      return "";
  }
}

}  // namespace

bool IsNumberType(char type) { return type != '\0' && std::strchr("Nndlsbx", type) != nullptr; }

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string KeyValue(const TableDef* td, int32_t key, const char* rec) {
  std::vector<char> value(kKeyValueRoom, '\0');
  const int32_t size = rv_MakeKeyFromRecord(td, key, rec, value.data());
  return UpperAscii(std::string(value.data(), static_cast<size_t>(size > 0 ? size : 0)));
}

std::vector<char> RecordBuffer(const TableDef* td) {
  size_t size = 1;
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    size = std::max(size, static_cast<size_t>(Field(td, i).Offset) + Field(td, i).Len);
  }
  return std::vector<char>(size + 1, ' ');
}

std::string ExportLine(const TableDef* td, const char* rec) {
  std::string line;
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    if (i > 0) line += '\t';
    line += ExportField(td, i, rec);
  }
  return line;
}

std::string ImportLine(const TableDef* td, const std::string& line, char* rec) {
  std::vector<std::string> items;
  size_t at = 0;
  for (;;) {
    const size_t tab = line.find('\t', at);
    items.push_back(line.substr(at, tab == std::string::npos ? std::string::npos : tab - at));
    if (tab == std::string::npos) break;
    at = tab + 1;
  }
  if (static_cast<int32_t>(items.size()) != td->FieldCnt) {
    return fmt::format("{} Felder statt {}", items.size(), td->FieldCnt);
  }
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    const FieldDef& f = Field(td, i);
    rv_FieldImport(items[static_cast<size_t>(i)].c_str(), rec + f.Offset, f.Type, f.Len, f.Dec);
    std::string wrong = Mismatch(td, i, items[static_cast<size_t>(i)], ExportField(td, i, rec));
    if (!wrong.empty()) return wrong;
  }
  return "";
}

// Text as XML character data: markup characters and everything beyond
// ASCII as references to their Unicode code points.
std::string XmlText(const std::string& utf8) {
  std::string xml;
  for (size_t i = 0; i < utf8.size();) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      switch (byte) {
        case '&': xml += "&amp;"; break;
        case '<': xml += "&lt;"; break;
        case '>': xml += "&gt;"; break;
        case '"': xml += "&quot;"; break;
        default: xml += static_cast<char>(byte); break;
      }
      ++i;
      continue;
    }
    const int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : 1;
    unsigned code = byte & (0x3F >> extra);
    for (int k = 1; k <= extra && i + static_cast<size_t>(k) < utf8.size(); ++k) {
      code = (code << 6) | (static_cast<unsigned char>(utf8[i + static_cast<size_t>(k)]) & 0x3F);
    }
    xml += fmt::format("&#{};", code);
    i += static_cast<size_t>(extra) + 1;
  }
  return xml;
}

std::string XmlRecord(const TableDef* td, int32_t rec_id, const char* rec) {
  std::string xml = fmt::format("  <record RecId=\"{}\">", rec_id);
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    xml += fmt::format("<{0}>{1}</{0}>", Field(td, i).Name, XmlText(RecordTextToUtf8(ExportField(td, i, rec))));
  }
  return xml + "</record>\r\n";
}

}  // namespace lerv
