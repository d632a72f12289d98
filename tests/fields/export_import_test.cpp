#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "fields/test_table.h"
#include "include/lerv32.h"

namespace {

using testtable::Bytes;
using testtable::GuardedBuffer;

TEST(ExportImportTest, EveryTypeExportsAndImportsAgain) {
  struct Case { char type; int w; int dec; std::string stored; const char* text; bool round_trip; };
  const Case cases[] = {
      {'C', 5, 0, "AB   ", "AB", true},
      {'C', 5, 0, "A\tB  ", "A B", false},
      {'C', 5, 0, std::string("A\0B  ", 5), "A", false},
      {'c', 4, 0, "xy  ", "xy", true},
      {'u', 3, 0, "AB ", "AB", true},
      {'D', 10, 0, "24.12.2023", "2023-12-24", true},
      {'o', 4, 0, std::string("\x00\x03\xAE\x47", 4), "2023-12-24", true},
      {'L', 1, 0, "T", "1", true},
      {'L', 1, 0, "t", "1", false},
      {'L', 1, 0, "F", "0", true},
      {'N', 8, 2, "  -12.50", "-12.50", true},
      {'N', 5, 0, "  -42", "-42", true},
      {'n', 3, 2, std::string("\x00\x12\x5D", 3), "-1.25", true},
      {'x', 2, 0, "\xFF\xFE", "-2", true},
      {'d', 8, 2, Bytes(1234.5), "1234.50", true},
      {'l', 4, 0, "\xFB\xFF\xFF\xFF", "-5", true},
      {'s', 2, 0, "\xFE\xFF", "-2", true},
      {'b', 1, 0, "\xC8", "200", true},
      {'z', 3, 0, "abc", "", false},
      {'l', 2, 0, "\x01\x02", "", false},  // narrower than its type
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(1, c.type) + " " + c.text);
    GuardedBuffer line(64, '\0');
    std::strcpy(line.data(), "name");
    const char* end = rv_FieldExport(line.data(), c.stored.data(), c.type, c.w, c.dec, 1);
    EXPECT_EQ(std::string(line.data()), std::string("name\t") + c.text);
    EXPECT_EQ(end, line.data() + std::strlen(line.data()));

    GuardedBuffer field(static_cast<std::size_t>(c.w));
    const std::string item = std::string(c.text) + "\tnext";
    const char* next = rv_FieldImport(item.c_str(), field.data(), c.type, c.w, c.dec);
    EXPECT_STREQ(next, "next");
    if (c.round_trip) {
      EXPECT_EQ(field.Value(), c.stored);
    }
    EXPECT_TRUE(line.Intact() && field.Intact());
  }
}

TEST(ExportImportTest, ChainedExportsBuildALine) {
  GuardedBuffer line(32, '\0');
  char* end = rv_FieldExport(line.data(), "Meier ", 'C', 6, 0, 0);
  end = rv_FieldExport(end, "\xFB\xFF\xFF\xFF", 'l', 4, 0, 1);
  end = rv_FieldExport(end, "T", 'L', 1, 0, 1);
  end = rv_FieldExport(end, "abc", 'z', 3, 0, 1);  // nothing but the TAB
  EXPECT_STREQ(line.data(), "Meier\t-5\t1\t");
  EXPECT_EQ(end, line.data() + 11);

  GuardedBuffer first(8, '\0');
  rv_FieldExport(first.data(), "7", 'N', 1, 0, 1);
  EXPECT_STREQ(first.data(), "\t7");
  EXPECT_TRUE(line.Intact() && first.Intact());
}

TEST(ExportImportTest, ImportedItems) {
  const std::string long_item = std::string(600, 'x') + "\ty";
  struct Case {
    std::string text; char type; int w; int dec; std::string stored; std::size_t consumed;
  };
  const Case cases[] = {
      {"2024-02-29", 'D', 10, 0, "29.02.2024", 10},
      {"2024-2-9\tx", 'D', 10, 0, "          ", 9},  // too short for a date
      {"12", 'N', 5, 0, "   12", 2},
      {"2.346", 'd', 8, 2, Bytes(2.35), 5},
      {"", 'C', 3, 0, "   ", 0},
      {long_item, 'C', 3, 0, "xxx", 601},
      {"abc\tdef", 'z', 3, 0, "---", 4},
  };
  for (const Case& c : cases) {
    GuardedBuffer field(static_cast<std::size_t>(c.w), '-');
    const char* next = rv_FieldImport(c.text.c_str(), field.data(), c.type, c.w, c.dec);
    EXPECT_EQ(field.Value(), c.stored) << c.text;
    EXPECT_EQ(next, c.text.c_str() + c.consumed) << c.text;
    EXPECT_TRUE(field.Intact());
  }
}

TEST(ExportImportTest, AnsiToXmlEncodesAllButSafeCharacters) {
  struct Case { std::string text; std::string xml; };
  const Case cases[] = {
      {"a<b & c", "a&#60;b&#32;&#38;&#32;c"},
      {"\xFC", "&#252;"},
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

}  // namespace
