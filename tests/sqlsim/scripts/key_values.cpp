#include "tests/sqlsim/scripts/key_values.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "schema/key_composition.h"

namespace scripts {
namespace {

constexpr int kRecIdWidth = 10;

std::string Fixed(double value, int decimals) {
  char text[400];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string RightAlign(const std::string& s, int width) {
  return static_cast<int>(s.size()) >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string Flag(bool on) { return on ? "1" : "0"; }

// The library's client-side form of an l field's key part.
std::string LongKeyPart(int64_t value) {
  const FieldDef field{0, 4, 'l', 0, "A"};
  const auto stored = static_cast<int32_t>(value);
  char bytes[sizeof stored];
  std::memcpy(bytes, &stored, sizeof stored);
  return lerv32::KeyPartText(field, bytes);
}

// PREIS (N,9,2) is a float column, composed as a d field of its value is:
// the server may hold values its record text cannot.
std::string PreisKeyPart(double value) {
  const FieldDef field{0, 8, 'd', 2, "PREIS"};
  char bytes[sizeof value];
  std::memcpy(bytes, &value, sizeof value);
  return lerv32::KeyPartText(field, bytes);
}

}  // namespace

const char* const kArtikelKeyColumns =
    "DataRecId, DataMandId, ARTNR_KEY_Value, BEZ_KEY_Filter, BEZ_KEY_Value, SEIT_KEY_Value, PREIS_KEY_Filter, "
    "PREIS_KEY_Value";
const char* const kZahlenKeyColumns = "DataRecId, DataMandId, A_KEY_Value";

std::string Str(double value, int length, int decimals) {
  // The digits ahead of the point decide what fits, before any rounding.
  const int whole = static_cast<int>(Fixed(std::trunc(value), 0).size()) + (value < 0 && value > -1 ? 1 : 0);
  if (whole > length) return std::string(length, '*');
  int fit = decimals;
  if (whole + 1 + fit > length) fit = length - whole - 1;
  return RightAlign(Fixed(value, fit > 0 ? fit : 0), length);
}

std::string TextAsChar(const std::string& text, int length) {
  return static_cast<int>(text.size()) >= length ? text.substr(0, length) : text + std::string(length - text.size(), ' ');
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool TextEquals(const std::string& a, const std::string& b) {
  const auto trimmed = [](const std::string& s) {
    const std::size_t end = s.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : Upper(s.substr(0, end + 1));
  };
  return trimmed(a) == trimmed(b);
}

std::vector<std::vector<std::string>> ArtikelKeyRows(const std::map<int64_t, Artikel>& records) {
  std::vector<std::vector<std::string>> rows;
  for (const auto& [id, r] : records) {
    const std::string rec_id = Str(static_cast<double>(id), kRecIdWidth, 0);
    const bool bez_filter = TextEquals(r.status, "A") && !(r.lager < 0);
    const bool preis_filter = r.lager == 1 || TextEquals(r.bez.substr(0, 1), "X");
    rows.push_back({std::to_string(id), "1", Upper(TextAsChar(r.artnr, 10) + rec_id), Flag(bez_filter),
                    Upper(TextAsChar(r.bez, 30) + TextAsChar(r.artnr, 10) + rec_id), Upper(r.seit + rec_id),
                    Flag(preis_filter), PreisKeyPart(r.preis) + rec_id});
  }
  return rows;
}

std::vector<std::vector<std::string>> ZahlenKeyRows(const std::map<int64_t, Zahl>& records) {
  std::vector<std::vector<std::string>> rows;
  for (const auto& [id, r] : records) {
    rows.push_back({std::to_string(id), std::to_string(r.mand_id),
                    LongKeyPart(r.a) + Str(static_cast<double>(id), kRecIdWidth, 0)});
  }
  return rows;
}

}  // namespace scripts
