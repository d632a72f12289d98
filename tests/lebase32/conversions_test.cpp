// The support library's conversions: numbers, dates and texts to and from
// record fields, ANSI text to and from UTF-16.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "include/lebase32.h"
#include "platform/win_api.h"

namespace {

TEST(NumericText, LongRoundTripsThroughFieldsOfEveryWidth) {
  struct Case { int32_t width; int32_t value; const char* field; };
  const Case cases[] = {
      {1, 7, "7"},         {1, -1, "*"},        {2, -1, "-1"},     {3, 42, " 42"},
      {5, -123, " -123"},  {4, 12345, "****"},  {6, 0, "     0"},
      {10, INT32_MIN + 1, "**********"},  // one too narrow
      {11, INT32_MIN, "-2147483648"},     {11, INT32_MAX, " 2147483647"},
  };
  for (const Case& c : cases) {
    std::string field(static_cast<std::size_t>(c.width) + 2, '#');
    LongToCharN(&field[1], c.width, c.value);
    EXPECT_EQ(field, "#" + std::string(c.field) + "#") << c.value;  // nothing written around it
    if (c.field[0] != '*') {
      EXPECT_EQ(CharNToLong(&field[1], c.width), c.value);
    }
  }
}

TEST(NumericText, DoubleFieldsRoundHalfAwayFromZeroAndMarkOverflow) {
  struct Case { int32_t width; int32_t dec; double value; const char* field; };
  const Case cases[] = {
      {8, 2, 1234.5, " 1234.50"}, {8, 2, -1234.5, "-1234.50"}, {7, 2, -1234.5, "*******"},
      {6, 1, 2.25, "   2.3"},     {6, 1, -2.25, "  -2.3"},     {6, 2, 1.005, "  1.01"},
      {6, 0, 2.5, "     3"},      {6, 0, -0.4, "     0"},      {5, 2, -0.001, " 0.00"},
      {3, 2, 1.0, "***"},         {4, 0, NAN, "****"},         {4, 0, INFINITY, "****"},
      {20, 15, 0.1, "   0.100000000000000"}, {20, 0, 6e14, "     600000000000000"},
      {20, 2, 1e13, "   10000000000000.00"}, {4, 2, -0.5, "-.50"},  // the leading zero gives way
  };
  for (const Case& c : cases) {
    std::string field(static_cast<std::size_t>(c.width), '#');
    DoubleToCharN(&field[0], c.width, c.dec, c.value);
    EXPECT_EQ(field, c.field) << c.value << " dec " << c.dec;
  }
}

TEST(NumericText, ReadsWhatItWritesAndToleratesForeignText) {
  struct Case { const char* field; int32_t as_long; double as_double; };
  const Case cases[] = {
      {"  12.75", 12, 12.75},   {" -12,5 ", -12, -12.5},  {"       ", 0, 0.0},
      {"abc    ", 0, 0.0},      {"+7x", 7, 7.0},          {"99999999999", INT32_MAX, 99999999999.0},
      {"-99999999999", INT32_MIN, -99999999999.0},         {"  .5", 0, 0.5},
  };
  for (const Case& c : cases) {
    const auto w = static_cast<int32_t>(std::string(c.field).size());
    EXPECT_EQ(CharNToLong(c.field, w), c.as_long) << c.field;
    EXPECT_DOUBLE_EQ(CharNToDouble(c.field, w, 2), c.as_double) << c.field;
    EXPECT_EQ(StringToLong(c.field), c.as_long) << c.field;
    EXPECT_DOUBLE_EQ(StringToDouble(c.field), c.as_double) << c.field;
  }
  // A field is never read past its width, even when digits follow.
  EXPECT_EQ(CharNToLong("12345", 3), 123);
  EXPECT_EQ(StringToLong(nullptr), 0);
  EXPECT_EQ(CharNToLong("5", 0), 0);
}

TEST(NumericText, NumbersToTextHonourWidthAndNeverCutALong) {
  struct Case { bool is_long; double value; int32_t width; int32_t dec; std::string text; };
  const Case cases[] = {
      {true, -5, 10, 0, "        -5"},     {true, INT32_MIN, 10, 0, "-2147483648"},
      {true, 12, 0, 0, "12"},               {false, 1234.5, 20, 2, "             1234.50"},
      {false, 1e30, 20, 2, std::string(20, '*')}, {false, -3.14159, 0, 3, "-3.142"},
      {false, 1e300, 0, 0, std::string(63, '*')}, {false, 1.0, 0, 15, "1.000000000000000"},
  };
  for (const Case& c : cases) {
    char out[80];
    c.is_long ? LongToString(out, static_cast<int32_t>(c.value), c.width)
              : DoubleToString(out, c.value, c.width, c.dec);
    EXPECT_EQ(out, c.text) << c.value;
  }
}

TEST(NumericText, RoundingIsHalfAwayFromZero) {
  struct Case { double value; int32_t dec; double expected; };
  const Case cases[] = {
      {-2.5, 0, -3.0},  {0.125, 2, 0.13},    {-0.125, 2, -0.13}, {2.675, 2, 2.68},
      {1.4999, 0, 1.0}, {123.456, -3, 123.0}, {1e20, 2, 1e20},  {1e13, 2, 1e13},
      {4503599627370495.5, 0, 4503599627370496.0},
  };
  for (const Case& c : cases) EXPECT_EQ(dRnd(c.value, c.dec), c.expected) << c.value;
  EXPECT_FALSE(std::signbit(dRnd(-0.001, 2)));
}


TEST(CobolBinary, RoundTripsAtTheEdgesOfEveryWidth) {
  for (int32_t w = 1; w <= 8; ++w) {
    const int64_t max = w >= 4 ? INT32_MAX : (int64_t{1} << (8 * w - 1)) - 1;
    const int64_t min = w >= 4 ? INT32_MIN : -max - 1;
    for (int64_t value : {int64_t{0}, int64_t{1}, int64_t{-1}, max, min, max - 1, min + 1}) {
      char field[10];
      std::memset(field, '#', sizeof field);
      LongToCobolX(field + 1, w, static_cast<int32_t>(value));
      EXPECT_EQ(field[0], '#');
      EXPECT_EQ(field[w + 1], '#');
      EXPECT_EQ(CobolXToLong(field + 1, w), value) << "width " << w;
    }
  }
}

TEST(CobolBinary, IsBigEndianTwosComplementAndSaturates) {
  struct Case { int32_t w; int32_t value; const char* bytes; };
  const Case cases[] = {
      {4, 0x01020304, "\x01\x02\x03\x04"}, {2, -2, "\xFF\xFE"}, {8, -2, "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFE"},
      {1, 300, "\x7F"}, {2, -40000, "\x80\x00"},  // beyond the width: the largest that fits
  };
  for (const Case& c : cases) {
    char field[8];
    LongToCobolX(field, c.w, c.value);
    EXPECT_EQ(std::string(field, c.w), std::string(c.bytes, c.w)) << c.value;
  }
  EXPECT_EQ(CobolXToLong("\x00\x00\x00\x01\x00\x00\x00\x00", 8), INT32_MAX);  // 2^32
}

TEST(CobolNumeric, IsPackedDecimalWithSignNibble) {
  struct Case { int32_t w; int32_t dec; double value; const char* bytes; double read_back; };
  const Case cases[] = {
      {3, 2, 123.45, "\x12\x34\x5C", 123.45},  {3, 2, -123.45, "\x12\x34\x5D", -123.45},
      {3, 0, 7, "\x00\x00\x7C", 7},            {3, 2, 0.005, "\x00\x00\x1C", 0.01},
      {2, 0, 1234, "\x99\x9C", 999},           {2, 0, -1234, "\x99\x9D", -999},
      {1, 0, -3, "\x3D", -3},                  {4, 1, -0.04, "\x00\x00\x00\x0C", 0},
      {8, 2, 123456789012.34, "\x01\x23\x45\x67\x89\x01\x23\x4C", 123456789012.34},
  };
  for (const Case& c : cases) {
    char field[16];
    DoubleToCobolN(field, c.w, c.dec, c.value);
    EXPECT_EQ(std::string(field, c.w), std::string(c.bytes, c.w)) << c.value;
    EXPECT_DOUBLE_EQ(CobolNToDouble(field, c.w, c.dec), c.read_back) << c.value;
  }
  EXPECT_DOUBLE_EQ(CobolNToDouble("\x12\x3F", 2, 1), 12.3);  // F: unsigned, counts as positive
}

TEST(TextDate, WritesDayMonthYearAndReadsItBack) {
  struct Case { int32_t date; const char* text; };
  const Case cases[] = {
      {20240229, "29.02.2024"}, {20231231, "31.12.2023"}, {20240131, "31.01.2024"},
      {19000101, "01.01.1900"}, {99991231, "31.12.9999"}, {0, "          "},
  };
  for (const Case& c : cases) {
    char field[12];
    std::memset(field, '#', sizeof field);
    StrDatumFromLong(field, c.date);
    EXPECT_EQ(std::string(field, 10), c.text);
    EXPECT_EQ(field[10], '#');
    EXPECT_EQ(StrDatumToLong(field), c.date);
    ld_ToStringEx(field, c.date);
    EXPECT_STREQ(field, c.text);
  }
  char field[10];
  StrDatumFromLong(field, -5);
  EXPECT_EQ(std::string(field, 10), "          ");
  EXPECT_EQ(StrDatumToLong("ab.cd.efgh"), 0);
}

TEST(CobolDate, StoresDayMonthTwoDigitYearWithCenturyWindow) {
  struct Case { int32_t date; int32_t stored; int32_t read_back; };
  const Case cases[] = {
      {20240229, 290224, 20240229}, {19991231, 311299, 19991231}, {20490101, 10149, 20490101},
      {19500615, 150650, 19500615}, {18991231, 311299, 19991231},  // the century is lost
      {0, 0, 0},
  };
  for (const Case& c : cases) {
    char field[4];
    CobolDatumFromLong(field, c.date);
    EXPECT_EQ(CobolXToLong(field, 4), c.stored) << c.date;
    EXPECT_EQ(CobolDatumToLong(field), c.read_back) << c.date;
  }
}


TEST(TextField, CopiesCutsAndPadsWithinTheField) {
  struct Case { const char* text; int32_t w; const char* plain; const char* upper; };
  const Case cases[] = {
      {"ab", 5, "ab   ", "AB   "},
      {"abcdefg", 3, "abc", "ABC"},
      {"", 2, "  ", "  "},
      {nullptr, 2, "  ", "  "},
      // Umlauts of code page 850: a, o, u with diaeresis, e acute; sharp s stays.
      {"\x84\x94\x81\x82\xE1", 5, "\x84\x94\x81\x82\xE1", "\x8E\x99\x9A\x90\xE1"},
      {"x1-\xC4", 4, "x1-\xC4", "X1-\xC4"},  // digits, signs and box lines unchanged
  };
  for (const Case& c : cases) {
    std::string field(static_cast<std::size_t>(c.w) + 1, '#');
    CharNFromString(c.text, &field[0], c.w);
    EXPECT_EQ(field.substr(0, static_cast<std::size_t>(c.w)), c.plain);
    EXPECT_EQ(field.back(), '#');
    CharUFromString(c.text, &field[0], c.w);
    EXPECT_EQ(field.substr(0, static_cast<std::size_t>(c.w)), c.upper);
    EXPECT_EQ(field.back(), '#');
  }
}

TEST(TextField, TrimsOnlyBlanksOnTheirSide) {
  struct Case { const char* text; const char* right; const char* left; };
  const Case cases[] = {
      {"  ab  ", "  ab", "ab  "}, {"    ", "", ""}, {"", "", ""}, {"\tx\t", "\tx\t", "\tx\t"},
  };
  for (const Case& c : cases) {
    std::string right = c.text;
    std::string left = c.text;
    EXPECT_EQ(lstrtrim(&right[0]), &right[0]);
    EXPECT_STREQ(right.c_str(), c.right);
    llstrtrim(&left[0]);
    EXPECT_STREQ(left.c_str(), c.left);
  }
  EXPECT_EQ(lstrtrim(nullptr), nullptr);
}

TEST(UniqName, DiffersFromCallToCallAndIsAFileName) {
  const std::string first = UniqName(1);
  const std::string second = UniqName(1);
  EXPECT_NE(first, second);
  EXPECT_LE(first.size(), 31u);
  for (char c : first) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)) || c == '_') << first;
}


using Units = std::vector<LEBASE32_WCHAR>;

// "Grüße €" in code page 1252 and in UTF-16 with its terminator.
const char kAnsiWord[] = "Gr\xFC\xDF" "e \x80";
const Units kWideWord = {'G', 'r', 0x00FC, 0x00DF, 'e', ' ', 0x20AC, 0};

// ANSI text as a UTF-16 copy and as an automation string.
TEST(WideText, AnsiTextBecomesUtf16) {
  struct Case { const char* text; Units expected; };  // terminator included
  const Case cases[] = {
      {kAnsiWord, kWideWord},
      {"\x81\x9F\xFF", {0x0081, 0x0178, 0x00FF, 0}},
      {"", {0}},
      {nullptr, {0}},
  };
  for (const Case& c : cases) {
    const std::string name = c.text != nullptr ? c.text : "(null)";
    Units dest(c.expected.size() + 1, 0x5555);
    EXPECT_EQ(lstrcpy_A2U(dest.data(), c.text), dest.data());
    EXPECT_EQ(Units(dest.begin(), dest.end() - 1), c.expected) << name;
    EXPECT_EQ(dest.back(), 0x5555) << "wrote past the terminator: " << name;

    LEBASE32_BSTR bstr = nullptr;
    lSetBstr_A(&bstr, c.text);
    ASSERT_NE(bstr, nullptr);
    EXPECT_EQ(SysStringLen(reinterpret_cast<BSTR>(bstr)), c.expected.size() - 1) << name;
    uint32_t byte_length = 0;  // the length in front of the text counts bytes
    std::memcpy(&byte_length, reinterpret_cast<const char*>(bstr) - 4, 4);
    EXPECT_EQ(byte_length, 2 * (c.expected.size() - 1)) << name;
    EXPECT_EQ(Units(bstr, bstr + c.expected.size()), c.expected) << name;
    SysFreeString(reinterpret_cast<BSTR>(bstr));
  }
  lSetBstr_A(nullptr, "ignored");
}

TEST(WideText, CopiesUtf16AsAnsiCutAtSize) {
  const Units& word = kWideWord;
  const Units fitted = {0x0141, 0x00F3, 'd', 0x017A, 0x4E00, 0};  // "Łódź" and a CJK sign
  struct Case { const Units* src; int32_t size; std::string expected; };
  const Case cases[] = {
      {&word, 100, kAnsiWord}, {&word, 8, kAnsiWord}, {&word, 7, "Gr\xFC\xDF" "e "},
      {&word, 3, "Gr"},        {&word, 1, ""},        {&fitted, 10, "L\xF3" "dz?"},
      {nullptr, 10, ""},
  };
  for (const Case& c : cases) {
    std::vector<char> dest(c.expected.size() + 2, '#');
    const LEBASE32_WCHAR* src = c.src != nullptr ? c.src->data() : nullptr;
    EXPECT_EQ(lstrcpyn_U2A(dest.data(), src, c.size), dest.data());
    EXPECT_EQ(std::string(dest.data()), c.expected) << "size " << c.size;
    EXPECT_EQ(dest[c.expected.size() + 1], '#') << "size " << c.size;
  }
  for (int32_t size : {0, -1}) {  // nothing written, not even the terminator
    char dest[3] = {'#', '#', '#'};
    EXPECT_EQ(lstrcpyn_U2A(dest, word.data(), size), dest);
    EXPECT_EQ(std::string(dest, 3), "###") << "size " << size;
  }
}

}  // namespace
