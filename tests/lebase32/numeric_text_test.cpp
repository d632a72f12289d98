#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "include/lebase32.h"

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

}  // namespace
