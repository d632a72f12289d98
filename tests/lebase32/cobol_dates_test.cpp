#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "include/lebase32.h"

namespace {

std::string Hex(const char* p, int n) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (int i = 0; i < n; ++i) {
    const auto byte = static_cast<unsigned char>(p[i]);
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
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
  const auto field = [](int32_t w, int32_t value) {
    char bytes[8];
    LongToCobolX(bytes, w, value);
    return Hex(bytes, w);
  };
  EXPECT_EQ(field(4, 0x01020304), "01020304");
  EXPECT_EQ(field(2, -2), "FFFE");
  EXPECT_EQ(field(8, -2), "FFFFFFFFFFFFFFFE");
  EXPECT_EQ(field(1, 300), "7F");  // beyond one byte: the largest that fits
  EXPECT_EQ(field(2, -40000), "8000");
  const char wide[] = "\x00\x00\x00\x01\x00\x00\x00\x00";  // 2^32 in 8 bytes
  EXPECT_EQ(CobolXToLong(wide, 8), INT32_MAX);
}

TEST(CobolNumeric, IsPackedDecimalWithSignNibble) {
  struct Case { int32_t w; int32_t dec; double value; const char* hex; double read_back; };
  const Case cases[] = {
      {3, 2, 123.45, "12345C", 123.45},   {3, 2, -123.45, "12345D", -123.45},
      {3, 0, 7, "00007C", 7},             {3, 2, 0.005, "00001C", 0.01},
      {2, 0, 1234, "999C", 999},          {2, 0, -1234, "999D", -999},
      {1, 0, -3, "3D", -3},               {4, 1, -0.04, "0000000C", 0},
      {8, 2, 123456789012.34, "012345678901234C", 123456789012.34},
  };
  for (const Case& c : cases) {
    char field[16];
    DoubleToCobolN(field, c.w, c.dec, c.value);
    EXPECT_EQ(Hex(field, c.w), c.hex) << c.value;
    EXPECT_DOUBLE_EQ(CobolNToDouble(field, c.w, c.dec), c.read_back) << c.value;
  }
  const char unsigned_sign[] = "\x12\x3F";  // F: unsigned, counts as positive
  EXPECT_DOUBLE_EQ(CobolNToDouble(unsigned_sign, 2, 1), 12.3);
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

}  // namespace
