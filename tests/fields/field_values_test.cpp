#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "fields/field_values.h"
#include "fields/test_table.h"
#include "include/lerv32.h"

namespace {

using testtable::Bytes;
using testtable::GuardedBuffer;
using testtable::TestTable;

const std::string kDecember24("\x00\x03\xAE\x47", 4);  // COBOL binary 241223

// Each field as long, double, display text, export text and exchange item;
// where "back" is set, the display text and the item store it again.
TEST(FieldValuesTest, EveryTypeThroughEveryConversion) {
  struct Case {
    char type; int len; int dec; std::string stored;
    int32_t as_long; double as_double; const char* text; const char* quoted; const char* item; bool back;
  };
  const Case cases[] = {
      {'C', 5, 0, "AB   ", 0, 0.0, "AB", "\"AB\"", "AB", true},
      {'C', 5, 0, "     ", 0, 0.0, "", "\" \"", "", true},
      {'C', 5, 0, std::string("\0B   ", 5), 0, 0.0, "", "\"\"", "", false},
      {'C', 5, 0, std::string("A\0C  ", 5), 0, 0.0, "A", "\"A\"", "A", false},
      {'C', 5, 0, "A\tB  ", 0, 0.0, "A\tB", "\"A\tB\"", "A B", false},  // a TAB would split the line
      {'u', 3, 0, "XY ", 0, 0.0, "XY", "\"XY\"", "XY", true},
      {'c', 4, 0, "ab  ", 0, 0.0, "ab", "\"ab\"", "ab", false},  // imported as a C string, below
      {'z', 3, 0, " a ", 0, 0.0, " a", "\" a\"", "", false},
      {'D', 10, 0, "24.12.2023", 20231224, 0.0, "2023-12-24", "2023-12-24", "2023-12-24", true},
      {'D', 10, 0, "          ", 0, 0.0, "0000-00-00", "0000-00-00", "0000-00-00", true},
      {'o', 4, 0, kDecember24, 20231224, 0.0, "2023-12-24", "2023-12-24", "2023-12-24", true},
      {'L', 1, 0, "T", 1, 0.0, "1", "1", "1", true},
      {'L', 1, 0, "t", 0, 0.0, "0", "0", "1", false},
      {'L', 1, 0, "F", 0, 0.0, "0", "0", "0", true},
      {'b', 1, 0, "\xC8", 200, 0.0, "200", "200", "200", true},
      {'s', 2, 0, "\xFE\xFF", -2, 0.0, "-2", "-2", "-2", true},
      {'l', 4, 0, "\xFB\xFF\xFF\xFF", -5, 0.0, "-5", "-5", "-5", true},
      {'x', 2, 0, "\xFF\xFE", -2, 0.0, "-2", "-2", "-2", true},
      {'N', 1, 0, "7", 7, 7.0, "7", "7", "7", true},
      {'N', 5, 0, "  -42", -42, -42.0, "-42", "-42", "-42", true},
      {'N', 10, 0, "1234567890", 0, 1234567890.0, "1234567890", "1234567890", "1234567890", true},
      {'N', 8, 2, "  -12.50", 0, -12.5, "-12.50", "-12.50", "-12.50", true},
      {'d', 8, 2, Bytes(1234.5), 0, 1234.5, "1234.50", "1234.50", "1234.50", true},
      {'n', 3, 2, std::string("\x00\x12\x5D", 3), 0, -1.25, "-1.25", "-1.25", "-1.25", true},
      {'n', 3, 2, "\x99\x99\x9D", 0, -999.99, "-999.99", "-999.99", "-999.99", true},  // every digit
      {'N', 4, 2, "-.50", 0, -0.5, "-0.50", "-0.50", "-0.50", true},
      // Every digit of 17: the double rounds up to a digit more, and the sign needs room too.
      {'n', 9, 2, "\x99\x99\x99\x99\x99\x99\x99\x99\x9D", 0, -1e15, "-1000000000000000.00", "-1000000000000000.00",
       "-1000000000000000.00", true},
      {'l', 2, 0, "\xFB\xFF", 0, 0.0, "0", "0", "", false},  // narrower than its type: not read
  };
  for (const Case& c : cases) {
    TestTable table;
    table.Add('C', 3);
    table.Add(c.type, c.len, c.dec);
    GuardedBuffer rec("abc" + c.stored);
    SCOPED_TRACE(std::string(1, c.type) + std::to_string(c.len) + " " + c.text);
    EXPECT_EQ(rv_FieldToLong(table.td(), 1, rec.data()), c.as_long);
    EXPECT_EQ(rv_FieldToDouble(table.td(), 1, rec.data()), c.as_double);
    GuardedBuffer out(std::max(c.len, 20) + 1), quoted(std::max(c.len, 20) + 3), line(64, '\0');
    EXPECT_EQ(rv_FieldToString(table.td(), 1, rec.data(), out.data()), out.data());
    EXPECT_STREQ(out.data(), c.text);
    rv_FormatFieldForExport(quoted.data(), table.td(), 1, rec.data());
    EXPECT_STREQ(quoted.data(), c.quoted);
    std::strcpy(line.data(), "name");
    const char* end = rv_FieldExport(line.data(), rec.data() + 3, c.type, c.len, c.dec, 1);
    EXPECT_EQ(std::string(line.data()), std::string("name\t") + c.item);
    EXPECT_EQ(end, line.data() + std::strlen(line.data()));

    GuardedBuffer from_text("abc" + std::string(static_cast<std::size_t>(c.len), ' '));
    GuardedBuffer imported(static_cast<std::size_t>(c.len));
    const std::string text = c.text;  // on the heap: reading past its end is caught
    const std::string item = std::string(c.item) + "\tnext";
    EXPECT_STREQ(rv_FieldImport(item.c_str(), imported.data(), c.type, c.len, c.dec), "next");
    if (c.back) {
      EXPECT_EQ(rv_FieldFromString(table.td(), 1, from_text.data(), text.c_str()), 1);
      EXPECT_EQ(from_text.Value(), "abc" + c.stored);
      EXPECT_EQ(imported.Value(), c.stored);
    }
    EXPECT_TRUE(out.Intact() && quoted.Intact() && line.Intact() && from_text.Intact() && imported.Intact());
  }
}

// What the round trips above do not show: cutting, upper case, short and
// foreign texts, overflow, and types that cannot be written.
TEST(FieldValuesTest, WritingFromText) {
  struct Case { char type; int len; int dec; const char* text; std::string stored; int32_t result; };
  const Case cases[] = {
      {'c', 3, 0, "ABCDE", "ABC", 1},               {'u', 4, 0, "ab", "AB  ", 1},
      {'D', 10, 0, "2024-02-29", "29.02.2024", 1},
      {'D', 10, 0, "2024", "00.00.2024", 1},  // a short text reads as blanks after its end
      {'L', 1, 0, "7", "T", 1},                     {'N', 8, 2, "3,14159", "    3.14", 1},
      {'b', 1, 0, "300", "\x2C", 1},  // low byte
      {'x', 2, 0, "258", "\x01\x02", 1},            {'z', 3, 0, "abc", "   ", 0},
      {'d', 4, 0, "1.5", "    ", 0},  // narrower than its type: not written
  };
  for (const Case& c : cases) {
    TestTable table;
    table.Add(c.type, c.len, c.dec);
    std::string text = c.text;  // on the heap: reading past its end is caught
    GuardedBuffer rec(static_cast<std::size_t>(c.len));
    SCOPED_TRACE(std::string(1, c.type) + " " + c.text);
    EXPECT_EQ(rv_FieldFromString(table.td(), 0, rec.data(), text.c_str()), c.result);
    EXPECT_EQ(rec.Value(), c.stored);
    EXPECT_TRUE(rec.Intact());
  }
}

TEST(FieldValuesTest, SqlTextIsAnsiWhenOemConvertIsOn) {
  struct Case { int32_t oem; std::string sql; std::string src; std::string stored; std::string src_after; };
  const std::string field("\x84" "b\0x", 4);
  const Case cases[] = {
      {0, "\x84" "b  ", "\xE4" "bcdef", "\xE4" "bc", "\xE4" "bcdef"},
      {1, "\xE4" "b  ", "\xE4" "bcdef", "\x84" "bc", "\x84" "bc"},  // cut at the width, converted in place
      {1, "\xE4" "b  ", "\xE4", "\x84" "  ", "\x84"},
  };
  for (const Case& c : cases) {
    const int32_t saved = rv_SetOemConvert(c.oem);
    GuardedBuffer dest(field.size() + 1);
    lerv32::FieldToSqlText(dest.data(), field.data(), static_cast<int>(field.size()));
    std::string src = c.src;
    src.resize(std::max<std::size_t>(src.size(), 3) + 1, '\0');
    GuardedBuffer stored(3);
    lerv32::FieldFromSqlText(src.data(), stored.data(), 3);
    rv_SetOemConvert(saved);
    EXPECT_EQ(dest.Value(), c.sql + '\0');
    EXPECT_EQ(stored.Value(), c.stored);
    EXPECT_STREQ(src.c_str(), c.src_after.c_str());
    EXPECT_TRUE(dest.Intact() && stored.Intact());
  }
}

// Numbers that name no field or key, and missing definitions, records and
// buffers: zero, empty texts, nothing written.
TEST(FieldValuesTest, NullsAndNumbersNamingNoFieldGiveNothing) {
  TestTable table;
  table.Add('l', 4);
  table.AddKey({0});
  char rec[4] = {1, 0, 0, 0};
  char out[24];
  const std::pair<TableDef*, int> cases[] = {{nullptr, 0}, {table.td(), -1}, {table.td(), 1}, {table.td(), 200}};
  for (const auto& [td, field] : cases) {
    EXPECT_EQ(rv_FieldToLong(td, field, rec), 0);
    EXPECT_EQ(rv_FieldToDouble(td, field, rec), 0.0);
    EXPECT_STREQ(rv_FieldToString(td, field, rec, out), "");
    std::strcpy(out, "x");
    rv_FormatFieldForExport(out, td, field, rec);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(rv_FieldFromString(td, field, rec, "5"), 0);
    EXPECT_EQ(rv_SqlFieldType(td, field), 0);
    EXPECT_EQ(rv_SqlFieldLen(td, field) + rv_SqlFieldScale(td, field), 0u);
    EXPECT_STREQ(rv_SqlFieldTypeName(td, field), "");
    EXPECT_STREQ(rv_SqlFieldDefault(td, field), "");
  }
  EXPECT_EQ(std::string(rec, 4), std::string("\1\0\0\0", 4));
  EXPECT_EQ(rv_FieldToLong(table.td(), 0, nullptr) + rv_FieldFromString(table.td(), 0, nullptr, "5"), 0);
  EXPECT_EQ(rv_FieldToString(table.td(), 0, rec, nullptr), nullptr);
  rv_FormatFieldForExport(nullptr, table.td(), 0, rec);
  for (TableDef* td : {static_cast<TableDef*>(nullptr), table.td()}) {
    out[0] = 'x';
    EXPECT_EQ(rv_MakeKeyFromRecord(td, 0, td ? nullptr : rec, out), 0);
    EXPECT_EQ(out[0], '\0');
  }
  EXPECT_EQ(rv_MakeKeyFromRecord(table.td(), 0, rec, nullptr), 0);
}

TEST(ExportImportTest, ImportedItems) {
  const std::string long_item = std::string(600, 'x') + "\ty";
  struct Case {
    std::string text; char type; int w; int dec; std::string stored; std::size_t consumed;
  };
  const Case cases[] = {
      {"2024-02-29", 'D', 10, 0, "29.02.2024", 10},
      {"2024-2-9\tx", 'D', 10, 0, "          ", 9},  // too short for a date
      {"12", 'N', 5, 0, "   12", 2},                 {"2.346", 'd', 8, 2, Bytes(2.35), 5},
      {"", 'C', 3, 0, "   ", 0},                     {long_item, 'C', 3, 0, "xxx", 601},
      {"abc\tdef", 'z', 3, 0, "---", 4},
      // Generated classes import their table name as type 'c' and compare it
      // as a C string: the item is cut to leave room for the zero.
      {"KUNDE\tnext", 'c', 7, 0, std::string("KUNDE\0\0", 7), 6},
      {"ABCDEFGHIJ", 'c', 4, 0, std::string("ABC\0", 4), 10},
  };
  for (const Case& c : cases) {
    GuardedBuffer field(static_cast<std::size_t>(c.w), '-');
    const char* next = rv_FieldImport(c.text.c_str(), field.data(), c.type, c.w, c.dec);
    EXPECT_EQ(field.Value(), c.stored) << c.text;
    EXPECT_EQ(next, c.text.c_str() + c.consumed) << c.text;
    EXPECT_TRUE(field.Intact());
  }
}

// Doubles beyond the 255 characters of a fixed-point item carry an exponent.
TEST(ExportImportTest, EveryDoubleExportsAndImportsAgain) {
  struct Case { double value; int dec; const char* item; };
  const Case cases[] = {
      {1e17, 2, "100000000000000000.00"}, {-1e300, 0, "-1e+300"}, {1.5e-300, 2, "0.00"},
  };
  for (const Case& c : cases) {
    GuardedBuffer line(300, '\0'), field(8);
    rv_FieldExport(line.data(), Bytes(c.value).data(), 'd', 8, c.dec, 0);
    EXPECT_STREQ(line.data(), c.item);
    rv_FieldImport(line.data(), field.data(), 'd', 8, c.dec);
    EXPECT_EQ(field.Value(), Bytes(std::stod(c.item)));
    EXPECT_TRUE(line.Intact() && field.Intact());
  }
}

TEST(ExportImportTest, AnsiToXmlEncodesAllButSafeCharacters) {
  struct Case { std::string text; std::string xml; };
  const Case cases[] = {
      {"a<b & c", "a&#60;b&#32;&#38;&#32;c"},       {"\xFC", "&#252;"},
      {"", ""},
      {"Az09@!?=.:;|+-*/(){}[]_#,\\", "Az09@!?=.:;|+-*/(){}[]_#,\\"},
      {"\"'>\t\x7F", "&#34;&#39;&#62;&#9;&#127;"},
  };
  for (const Case& c : cases) {
    GuardedBuffer out(6 * c.text.size() + 1, 'x');
    EXPECT_EQ(rv_AnsiToXML(out.data(), c.text.c_str()), out.data());
    EXPECT_EQ(std::string(out.data()), c.xml);
    EXPECT_TRUE(out.Intact());
  }
}


TEST(RecordKeysTest, KeysAreTheFieldBytesInKeyOrder) {
  TestTable table;
  table.Add('C', 4);
  table.Add('l', 4);
  table.Add('D', 10);
  table.Add('C', 3);
  table.AddKey({0, 1});
  table.AddKey({2});
  table.AddKey({});
  table.AddKey({3, 0});
  const std::string rec =
      std::string("AB  \x01\x00\x00\x00", 8) + "24.12.2023" + std::string("A\0B", 3);
  struct Case { int key; std::string value; };
  const Case cases[] = {
      {0, std::string("AB  \x01\x00\x00\x00", 8)},  {1, "24.12.2023"},
      {2, ""},                                      {3, std::string("A\0BAB  ", 7)},
      {4, ""},                                      {-1, ""},
  };
  for (const Case& c : cases) {
    GuardedBuffer dest(c.value.size() + 1, 'x');
    EXPECT_EQ(rv_MakeKeyFromRecord(table.td(), c.key, rec.data(), dest.data()),
              static_cast<int32_t>(c.value.size()));
    EXPECT_EQ(dest.Value(), c.value + '\0') << c.key;
    EXPECT_TRUE(dest.Intact());
  }
  // A key position naming no field makes the definition one the calls could
  // not have made: no key of it is made.
  table.AddKey({1, 9});
  for (int key : {0, 4}) {
    GuardedBuffer dest(9, 'x');
    EXPECT_EQ(rv_MakeKeyFromRecord(table.td(), key, rec.data(), dest.data()), 0) << key;
    EXPECT_EQ(dest.Value(), std::string(1, '\0') + std::string(8, 'x')) << key;
    EXPECT_TRUE(dest.Intact());
  }
}

}  // namespace
