// Reading, writing and counting datetimes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "function_db.h"
#include "sqlsim/functions/datetime.h"

namespace sqlsim {
namespace {

std::string Parsed(const char* text) {
  auto dt = ParseDateTime(text);
  return dt ? FormatCanonical(*dt) : "invalid";
}

// Each text read as a datetime, printed canonically or as "invalid".
void ExpectParsed(std::initializer_list<testing::Case> cases) {
  for (const testing::Case& c : cases) EXPECT_EQ(Parsed(c.expr), c.expected) << c.expr;
}

TEST(ParseDateTimeTest, FormsAndFieldRanges) {
  ExpectParsed({
      {"2024-01-31", "2024-01-31 00:00:00.000"},
      {"2024-1-5", "2024-01-05 00:00:00.000"},
      {"2024/01/31", "2024-01-31 00:00:00.000"},
      {"2024.01.31", "2024-01-31 00:00:00.000"},
      {"20240131", "2024-01-31 00:00:00.000"},
      {"20240131 13:45", "2024-01-31 13:45:00.000"},
      {"2024-01-31 13:45", "2024-01-31 13:45:00.000"},
      {"2024-01-31 13:45:07", "2024-01-31 13:45:07.000"},
      {"2024-01-31 13:45:07.5", "2024-01-31 13:45:07.500"},
      {"2024-01-31 13:45:07.12", "2024-01-31 13:45:07.120"},
      {"2024-01-31T13:45:07.123", "2024-01-31 13:45:07.123"},
      {"2024-01-31 13:45:07:5", "2024-01-31 13:45:07.007"},
      {"12/04/2025", "2025-12-04 00:00:00.000"},
      {"12/4/25", "2025-12-04 00:00:00.000"},
      {"1/2/49", "2049-01-02 00:00:00.000"},
      {"1/2/50", "1950-01-02 00:00:00.000"},
      {"12-04-2025 08:00", "2025-12-04 08:00:00.000"},
      {"Dec  4 2025  3:07PM", "2025-12-04 15:07:00.000"},
      {"dec 4 2025", "2025-12-04 00:00:00.000"},
      {"December 4, 2025", "2025-12-04 00:00:00.000"},
      {"4 Dec 2025 10:00", "2025-12-04 10:00:00.000"},
      {"2024-01-01 12:00AM", "2024-01-01 00:00:00.000"},
      {"2024-01-01 12:30 pm", "2024-01-01 12:30:00.000"},
      {"2024-01-01 3PM", "2024-01-01 15:00:00.000"},
      {"10:30", "1900-01-01 10:30:00.000"},
      {"  2024-01-01  ", "2024-01-01 00:00:00.000"},
      {"", "1900-01-01 00:00:00.000"},
      {"   ", "1900-01-01 00:00:00.000"},
      {"abc", "invalid"},
      {"2024-01-01x", "invalid"},
      {"2024-01-01T", "invalid"},
      {"2024-01-01 10", "invalid"},
      {"2024-01-01 10:00:00.1234", "invalid"},
      {"2024-01-01 13:00PM", "invalid"},
      {"12/04/2025T10:00", "invalid"},
      {"2024--01", "invalid"},
      {"123/4/2025", "invalid"},
      // Field ranges and leap days.
      {"2024-02-29", "2024-02-29 00:00:00.000"},
      {"2000-02-29", "2000-02-29 00:00:00.000"},
      {"2400-02-29", "2400-02-29 00:00:00.000"},
      {"2023-02-29", "invalid"},
      {"1900-02-29", "invalid"},
      {"2100-02-29", "invalid"},
      {"2024-04-31", "invalid"},
      {"2024-12-31", "2024-12-31 00:00:00.000"},
      {"2024-01-32", "invalid"},
      {"2024-13-01", "invalid"},
      {"2024-00-10", "invalid"},
      {"2024-01-00", "invalid"},
      {"2024-01-01 24:00", "invalid"},
      {"2024-01-01 10:60", "invalid"},
      {"2024-01-01 10:00:60", "invalid"},
      {"1753-01-01", "1753-01-01 00:00:00.000"},
      {"1752-12-31 23:59:59.997", "invalid"},
      {"9999-12-31 23:59:59.997", "9999-12-31 23:59:59.997"},
      {"9999-12-31 23:59:59.999", "invalid"},
  });
}

TEST(ParseDateTimeTest, MillisecondsRoundToTicks) {
  const testing::Case cases[] = {
      {".000", "10:00:00.000"}, {".001", "10:00:00.000"}, {".002", "10:00:00.003"},
      {".003", "10:00:00.003"}, {".004", "10:00:00.003"}, {".005", "10:00:00.007"},
      {".007", "10:00:00.007"}, {".008", "10:00:00.007"}, {".009", "10:00:00.010"},
      {".990", "10:00:00.990"}, {".991", "10:00:00.990"}, {".994", "10:00:00.993"},
      {".995", "10:00:00.997"}, {".998", "10:00:00.997"}, {".999", "10:00:01.000"},
  };
  for (const testing::Case& c : cases) {
    std::string text = std::string("2024-01-01 10:00:00") + c.expr;
    EXPECT_EQ(Parsed(text.c_str()), std::string("2024-01-01 ") + c.expected) << text;
  }
  EXPECT_EQ(Parsed("2024-12-31 23:59:59.999"), "2025-01-01 00:00:00.000");
}

TEST(DayNumberTest, KnownDaysAndRoundTrip) {
  EXPECT_EQ(DaysFrom1900(DateTime{1900, 1, 1}), 0);
  EXPECT_EQ(DaysFrom1900(DateTime{1753, 1, 1}), -53690);
  EXPECT_EQ(DaysFrom1900(DateTime{9999, 12, 31}), 2958463);
  EXPECT_EQ(DaysFrom1900(DateTime{2000, 3, 1}), 36584);
  EXPECT_EQ(DaysFrom1900(DateTime{2024, 2, 29}), 45349);
  EXPECT_EQ(FormatCanonical(FromDays1900(0.5)), "1900-01-01 12:00:00.000");
  EXPECT_EQ(FormatCanonical(FromDays1900(-0.25)), "1899-12-31 18:00:00.000");
  EXPECT_EQ(FormatCanonical(FromDays1900(1.0 / 86400 / 300)), "1900-01-01 00:00:00.003");
  EXPECT_EQ(FormatCanonical(FromDays1900(45349.999999999)), "2024-03-01 00:00:00.000");
  EXPECT_FALSE(IsDateTimeInRange(FromDays1900(-53691)));
  EXPECT_FALSE(IsDateTimeInRange(FromDays1900(2958464)));
  EXPECT_FALSE(IsDateTimeInRange(FromDays1900(1e300)));
  EXPECT_FALSE(IsDateTimeInRange(FromDays1900(-1e300)));
  for (int64_t day = -53690; day <= 2958463; day += 997) {
    DateTime dt = FromDays1900(static_cast<double>(day) + 0.75);
    auto back = ParseDateTime(FormatCanonical(dt));
    ASSERT_TRUE(back) << day;
    EXPECT_EQ(DaysFrom1900(*back), day);
    EXPECT_DOUBLE_EQ(DateTimeToDays(*back), static_cast<double>(day) + 0.75);
  }
}

TEST(DateTimeStyleTest, Styles) {
  const DateTime dt = *ParseDateTime("2025-12-04 15:07:09.123");
  struct Case {
    int style;
    const char* expected;
  } cases[] = {
      {-1, "Dec  4 2025  3:07PM"}, {0, "Dec  4 2025  3:07PM"}, {100, "Dec  4 2025  3:07PM"},
      {1, "12/04/25"},             {101, "12/04/2025"},        {103, "04/12/2025"},
      {104, "04.12.2025"},         {106, "04 Dec 2025"},       {108, "15:07:09"},
      {109, "Dec  4 2025  3:07:09:123PM"},                     {112, "20251204"},
      {113, "04 Dec 2025 15:07:09:123"},                       {20, "2025-12-04 15:07:09"},
      {120, "2025-12-04 15:07:09"},                            {121, "2025-12-04 15:07:09.123"},
      {23, "2025-12-04"},                                      {126, "2025-12-04T15:07:09.123"},
  };
  for (const Case& c : cases) {
    auto text = FormatDateTimeStyle(dt, c.style);
    ASSERT_TRUE(text) << c.style;
    EXPECT_EQ(*text, c.expected) << c.style;
  }
  EXPECT_FALSE(FormatDateTimeStyle(dt, 999));
  EXPECT_FALSE(FormatDateTimeStyle(dt, 15));
  EXPECT_EQ(*FormatDateTimeStyle(*ParseDateTime("2025-01-10 00:05"), 0), "Jan 10 2025 12:05AM");
  EXPECT_EQ(*FormatDateTimeStyle(*ParseDateTime("2025-01-10 12:00"), 0), "Jan 10 2025 12:00PM");
  EXPECT_EQ(*FormatDateTimeStyle(*ParseDateTime("2025-01-10 12:00"), 126), "2025-01-10T12:00:00");
}

TEST(DateTimeSqlTest, GetdateIsdate) {
  testing::FunctionDb db;
  std::string now = db.Eval("tsql_getdate()");
  ASSERT_EQ(now.substr(0, 2), "T:");
  EXPECT_TRUE(IsCanonicalDateTime(now.substr(2))) << now;
  std::time_t t = std::time(nullptr);
  std::tm local{};
  localtime_r(&t, &local);
  auto parsed = ParseDateTime(now.substr(2));
  ASSERT_TRUE(parsed);
  EXPECT_LE(std::abs(DaysFrom1900(*parsed) -
                     DaysFrom1900(DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday})),
            1);
  testing::ExpectAll({
      {"tsql_isdate('2024-02-29')", "I:1"}, {"tsql_isdate('2023-02-29')", "I:0"},
      {"tsql_isdate('1752-12-31')", "I:0"}, {"tsql_isdate('abc')", "I:0"},
      {"tsql_isdate(NULL)", "I:0"},         {"tsql_isdate(20240101)", "I:1"},
      {"tsql_isdate(x'00')", "I:0"},        {"tsql_isdate(tsql_getdate())", "I:1"},
  });
}

}  // namespace
}  // namespace sqlsim
