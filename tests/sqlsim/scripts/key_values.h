// The composed key values of the key tables, computed on the client from
// the values a test stored, to compare with what the triggers wrote.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace scripts {

// STR(value, length, decimals) of Transact-SQL: right-aligned, rounded,
// decimals dropped when they do not fit, asterisks when the integer part
// does not fit.
std::string Str(double value, int length, int decimals);
// CONVERT(char(length), text): cut or blank-padded.
std::string TextAsChar(const std::string& text, int length);
std::string Upper(std::string s);
// Text comparison as the server's default collation makes it: case and
// trailing blanks ignored.
bool TextEquals(const std::string& a, const std::string& b);

// A record of the artikel sample as the test keeps it.
struct Artikel {
  std::string artnr;
  std::string bez;
  double preis = 0;
  int64_t lager = 0;
  std::string seit = "1900-01-01";  // yyyy-mm-dd
  std::string status;
};

// The key table rows of artikel, every column as text, ordered by
// DataRecId: DataRecId, DataMandId, ARTNR_KEY_Value, BEZ_KEY_Filter,
// BEZ_KEY_Value, SEIT_KEY_Value, PREIS_KEY_Filter, PREIS_KEY_Value.
std::vector<std::vector<std::string>> ArtikelKeyRows(const std::map<int64_t, Artikel>& records);
extern const char* const kArtikelKeyColumns;

// A record of the zahlen sample.
struct Zahl {
  int64_t a = 0;
  double b = 0;
  int64_t mand_id = 1;
};
// DataRecId, DataMandId, A_KEY_Value.
std::vector<std::vector<std::string>> ZahlenKeyRows(const std::map<int64_t, Zahl>& records);
extern const char* const kZahlenKeyColumns;

}  // namespace scripts
