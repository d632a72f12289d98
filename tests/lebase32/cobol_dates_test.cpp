#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "include/lebase32.h"

namespace {

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

}  // namespace
