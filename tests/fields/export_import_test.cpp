#include <gtest/gtest.h>

#include <string>

#include "fields/test_table.h"
#include "include/lerv32.h"

namespace {

using testtable::Bytes;
using testtable::GuardedBuffer;

TEST(ExportImportTest, ChainedExportsBuildALine) {
  GuardedBuffer line(16, '\0');
  char* end = rv_FieldExport(line.data(), "Meier ", 'C', 6, 0, 0);
  end = rv_FieldExport(end, "T", 'L', 1, 0, 1);
  EXPECT_STREQ(line.data(), "Meier\t1");
  EXPECT_EQ(end, line.data() + 7);
  EXPECT_TRUE(line.Intact());
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

}  // namespace
