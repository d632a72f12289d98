#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "fields/field_values.h"
#include "fields/test_table.h"
#include "include/lerv32.h"

namespace {

using testtable::Bytes;
using testtable::GuardedBuffer;
using testtable::TestTable;

const std::string kDecember24("\x00\x03\xAE\x47", 4);  // COBOL binary 241223

TEST(FieldValuesTest, ReadingEveryTypeAsLongDoubleAndText) {
  struct Case {
    char type; int len; int dec; std::string stored;
    int32_t as_long; double as_double; const char* text; const char* export_text;
  };
  const Case cases[] = {
      {'C', 5, 0, "AB   ", 0, 0.0, "AB", "\"AB\""},
      {'C', 5, 0, "     ", 0, 0.0, "", "\" \""},
      {'C', 5, 0, std::string("\0B   ", 5), 0, 0.0, "", "\"\""},
      {'C', 5, 0, std::string("A\0C  ", 5), 0, 0.0, "A", "\"A\""},
      {'u', 3, 0, "XY ", 0, 0.0, "XY", "\"XY\""},
      {'c', 4, 0, "ab  ", 0, 0.0, "ab", "\"ab\""},
      {'z', 3, 0, " a ", 0, 0.0, " a", "\" a\""},
      {'D', 10, 0, "24.12.2023", 20231224, 0.0, "2023-12-24", "2023-12-24"},
      {'D', 10, 0, "          ", 0, 0.0, "0000-00-00", "0000-00-00"},
      {'o', 4, 0, kDecember24, 20231224, 0.0, "2023-12-24", "2023-12-24"},
      {'L', 1, 0, "T", 1, 0.0, "1", "1"},
      {'L', 1, 0, "t", 0, 0.0, "0", "0"},
      {'b', 1, 0, "\xC8", 200, 0.0, "200", "200"},
      {'s', 2, 0, "\xFE\xFF", -2, 0.0, "-2", "-2"},
      {'l', 4, 0, "\xFB\xFF\xFF\xFF", -5, 0.0, "-5", "-5"},
      {'x', 2, 0, "\xFF\xFE", -2, 0.0, "-2", "-2"},
      {'N', 5, 0, "  -42", -42, -42.0, "-42", "-42"},
      {'N', 10, 0, "1234567890", 0, 1234567890.0, "1234567890", "1234567890"},
      {'N', 8, 2, "  -12.50", 0, -12.5, "-12.50", "-12.50"},
      {'d', 8, 2, Bytes(1234.5), 0, 1234.5, "1234.50", "1234.50"},
      {'n', 3, 2, std::string("\x00\x12\x5D", 3), 0, -1.25, "-1.25", "-1.25"},
      {'l', 2, 0, "\xFB\xFF", 0, 0.0, "0", "0"},  // narrower than its type: not read
  };
  for (const Case& c : cases) {
    TestTable table;
    table.Add('C', 3);
    table.Add(c.type, c.len, c.dec);
    GuardedBuffer rec("abc" + c.stored);
    SCOPED_TRACE(std::string(1, c.type) + std::to_string(c.len) + " " + c.text);
    EXPECT_EQ(rv_FieldToLong(table.td(), 1, rec.data()), c.as_long);
    EXPECT_EQ(rv_FieldToDouble(table.td(), 1, rec.data()), c.as_double);
    GuardedBuffer out(std::max(c.len, 20) + 1);
    EXPECT_EQ(rv_FieldToString(table.td(), 1, rec.data(), out.data()), out.data());
    EXPECT_STREQ(out.data(), c.text);
    GuardedBuffer quoted(std::max(c.len, 20) + 3);
    rv_FormatFieldForExport(quoted.data(), table.td(), 1, rec.data());
    EXPECT_STREQ(quoted.data(), c.export_text);
    EXPECT_TRUE(out.Intact() && quoted.Intact());
  }
}

TEST(FieldValuesTest, WritingEveryTypeFromText) {
  struct Case { char type; int len; int dec; const char* text; std::string stored; int32_t result; };
  const Case cases[] = {
      {'C', 5, 0, "AB", "AB   ", 1},
      {'c', 3, 0, "ABCDE", "ABC", 1},
      {'u', 4, 0, "ab", "AB  ", 1},
      {'D', 10, 0, "2024-02-29", "29.02.2024", 1},
      {'D', 10, 0, "2024", "00.00.2024", 1},  // a short text reads as blanks after its end
      {'o', 4, 0, "2023-12-24", kDecember24, 1},
      {'L', 1, 0, "0", "F", 1},
      {'L', 1, 0, "7", "T", 1},
      {'N', 5, 0, "-42", "  -42", 1},
      {'N', 8, 2, "3,14159", "    3.14", 1},
      {'b', 1, 0, "300", "\x2C", 1},  // low byte
      {'s', 2, 0, "-2", "\xFE\xFF", 1},
      {'l', 4, 0, "-5", "\xFB\xFF\xFF\xFF", 1},
      {'d', 8, 2, "1.5", Bytes(1.5), 1},
      {'n', 3, 2, "-1.25", std::string("\x00\x12\x5D", 3), 1},
      {'x', 2, 0, "258", "\x01\x02", 1},
      {'z', 3, 0, "abc", "   ", 0},
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

TEST(FieldValuesTest, NullsAndNumbersNamingNoFieldAreRefused) {
  TestTable table;
  table.Add('l', 4);
  char rec[4] = {1, 0, 0, 0};
  char out[21] = "x";
  EXPECT_EQ(rv_FieldToLong(nullptr, 0, rec), 0);
  EXPECT_EQ(rv_FieldToDouble(table.td(), 0, nullptr), 0.0);
  EXPECT_STREQ(rv_FieldToString(table.td(), 1, rec, out), "");
  EXPECT_EQ(rv_FieldToString(table.td(), 0, rec, nullptr), nullptr);
  rv_FormatFieldForExport(nullptr, table.td(), 0, rec);
  EXPECT_EQ(rv_FieldFromString(table.td(), -1, rec, "5"), 0);
  EXPECT_EQ(rv_FieldFromString(table.td(), 0, nullptr, "5"), 0);
}

}  // namespace
