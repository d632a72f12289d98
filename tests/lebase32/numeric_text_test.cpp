#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "include/lebase32.h"

namespace {

TEST(NumericText, LongRoundTripsThroughFieldsOfEveryWidth) {
  struct Case { int32_t width; int32_t value; const char* field; };
  const Case cases[] = {
      {1, 7, "7"},          {1, -1, "*"},         {2, -1, "-1"},
      {3, 42, " 42"},       {5, -123, " -123"},   {4, 12345, "****"},
      {10, INT32_MIN + 1, "-2147483647"},  // too wide by one: asterisks below
      {11, INT32_MIN, "-2147483648"},      {11, INT32_MAX, " 2147483647"},
      {6, 0, "     0"},
  };
  for (const Case& c : cases) {
    std::string field(static_cast<std::size_t>(c.width) + 2, '#');
    LongToCharN(&field[1], c.width, c.value);
    const std::string written = field.substr(1, static_cast<std::size_t>(c.width));
    const std::string expected =
        std::string(c.field).size() == static_cast<std::size_t>(c.width) ? c.field
                                                                         : std::string(static_cast<std::size_t>(c.width), '*');
    EXPECT_EQ(written, expected) << c.width << " " << c.value;
    EXPECT_EQ(field.front(), '#');  // nothing before the field
    EXPECT_EQ(field.back(), '#');   // nothing after it
    if (expected.find('*') == std::string::npos) {
      EXPECT_EQ(CharNToLong(&field[1], c.width), c.value);
    }
  }
}

TEST(NumericText, DoubleFieldsRoundHalfAwayFromZeroAndMarkOverflow) {
  struct Case { int32_t width; int32_t dec; double value; const char* field; };
  const Case cases[] = {
      {8, 2, 1234.5, " 1234.50"},   {8, 2, -1234.5, "-1234.50"},
      {7, 2, -1234.5, "*******"},   {6, 1, 2.25, "   2.3"},
      {6, 1, -2.25, "  -2.3"},      {6, 2, 1.005, "  1.01"},
      {6, 0, 2.5, "     3"},        {6, 0, -0.4, "     0"},
      {5, 2, -0.001, " 0.00"},      {3, 2, 1.0, "***"},
      {4, 0, NAN, "****"},          {4, 0, INFINITY, "****"},
      {20, 15, 0.1, "   0.100000000000000"},
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
  char out[80];
  LongToString(out, -5, 10);
  EXPECT_STREQ(out, "        -5");
  LongToString(out, INT32_MIN, 10);
  EXPECT_STREQ(out, "-2147483648");
  LongToString(out, 12, 0);
  EXPECT_STREQ(out, "12");
  DoubleToString(out, 1234.5, 20, 2);
  EXPECT_STREQ(out, "             1234.50");
  DoubleToString(out, 1e30, 20, 2);
  EXPECT_STREQ(out, "********************");
  DoubleToString(out, -3.14159, 0, 3);
  EXPECT_STREQ(out, "-3.142");
  DoubleToString(out, 1e300, 0, 0);
  EXPECT_EQ(std::string(out), std::string(63, '*'));
}

TEST(NumericText, RoundingIsHalfAwayFromZero) {
  struct Case { double value; int32_t dec; double expected; };
  const Case cases[] = {
      {2.5, 0, 3.0},     {-2.5, 0, -3.0},   {0.125, 2, 0.13}, {-0.125, 2, -0.13},
      {1.005, 2, 1.01},  {2.675, 2, 2.68},  {1.4999, 0, 1.0}, {123.456, -3, 123.0},
      {1e20, 2, 1e20},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(dRnd(c.value, c.dec), c.expected) << c.value;
  EXPECT_FALSE(std::signbit(dRnd(-0.001, 2)));
}

}  // namespace
