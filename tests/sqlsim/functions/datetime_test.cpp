// Reading, writing and counting datetimes.
#include <gtest/gtest.h>

#include "sqlsim/functions/datetime.h"

namespace sqlsim {
namespace {

struct Case {
  const char* text;
  const char* expected;
};

std::string Parsed(const std::string& text) {
  auto dt = ParseDateTime(text);
  return dt ? FormatCanonical(*dt) : "invalid";
}

TEST(ParseDateTimeTest, FormsAndFieldRanges) {
  const Case cases[] = {
      {"2024-01-31", "2024-01-31 00:00:00.000"}, {"2024-1-5", "2024-01-05 00:00:00.000"},
      {"2024/01/31", "2024-01-31 00:00:00.000"}, {"2024.01.31", "2024-01-31 00:00:00.000"},
      {"20240131", "2024-01-31 00:00:00.000"}, {"20240131 13:45", "2024-01-31 13:45:00.000"},
      {"2024-01-31 13:45", "2024-01-31 13:45:00.000"}, {"2024-01-31 13:45:07", "2024-01-31 13:45:07.000"},
      {"2024-01-31 13:45:07.5", "2024-01-31 13:45:07.500"},
      {"2024-01-31 13:45:07.12", "2024-01-31 13:45:07.120"},
      {"2024-01-31T13:45:07.123", "2024-01-31 13:45:07.123"},
      {"2024-01-31 13:45:07:5", "2024-01-31 13:45:07.007"}, {"12/04/2025", "2025-12-04 00:00:00.000"},
      {"12/4/25", "2025-12-04 00:00:00.000"}, {"1/2/49", "2049-01-02 00:00:00.000"},
      {"1/2/50", "1950-01-02 00:00:00.000"}, {"12-04-2025 08:00", "2025-12-04 08:00:00.000"},
      {"Dec  4 2025  3:07PM", "2025-12-04 15:07:00.000"}, {"dec 4 2025", "2025-12-04 00:00:00.000"},
      {"December 4, 2025", "2025-12-04 00:00:00.000"}, {"4 Dec 2025 10:00", "2025-12-04 10:00:00.000"},
      {"2024-01-01 12:00AM", "2024-01-01 00:00:00.000"}, {"2024-01-01 12:30 pm", "2024-01-01 12:30:00.000"},
      {"2024-01-01 3PM", "2024-01-01 15:00:00.000"}, {"10:30", "1900-01-01 10:30:00.000"},
      {"  2024-01-01  ", "2024-01-01 00:00:00.000"}, {"", "1900-01-01 00:00:00.000"},
      {"   ", "1900-01-01 00:00:00.000"}, {"2024-02-29", "2024-02-29 00:00:00.000"},
      {"2000-02-29", "2000-02-29 00:00:00.000"}, {"2400-02-29", "2400-02-29 00:00:00.000"},
      {"2024-12-31", "2024-12-31 00:00:00.000"}, {"1753-01-01", "1753-01-01 00:00:00.000"},
      {"9999-12-31 23:59:59.997", "9999-12-31 23:59:59.997"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.text), c.expected) << c.text;
  // Malformed, or a field out of range, a day that does not exist, outside 1753-9999.
  for (const char* text : {
        "abc", "2024-01-01x", "2024-01-01T", "2024-01-01 10", "2024-01-01 10:00:00.1234",
        "2024-01-01 13:00PM", "12/04/2025T10:00", "2024--01", "123/4/2025", "2023-02-29", "1900-02-29",
        "2100-02-29", "2024-04-31", "2024-01-32", "2024-13-01", "2024-00-10", "2024-01-00",
        "2024-01-01 24:00", "2024-01-01 10:60", "2024-01-01 10:00:60", "1752-12-31 23:59:59.997",
        "9999-12-31 23:59:59.999",
       }) {
    EXPECT_FALSE(ParseDateTime(text)) << text;
  }
}

TEST(ParseDateTimeTest, MillisecondsRoundToTicks) {
  const Case cases[] = {
      {".000", "10:00:00.000"}, {".001", "10:00:00.000"}, {".002", "10:00:00.003"},
      {".003", "10:00:00.003"}, {".004", "10:00:00.003"}, {".005", "10:00:00.007"},
      {".007", "10:00:00.007"}, {".008", "10:00:00.007"}, {".009", "10:00:00.010"},
      {".990", "10:00:00.990"}, {".991", "10:00:00.990"}, {".994", "10:00:00.993"},
      {".995", "10:00:00.997"}, {".998", "10:00:00.997"}, {".999", "10:00:01.000"},
  };
  for (const Case& c : cases) {
    std::string text = std::string("2024-01-01 10:00:00") + c.text;
    EXPECT_EQ(Parsed(text), std::string("2024-01-01 ") + c.expected) << text;
  }
  EXPECT_EQ(Parsed("2024-12-31 23:59:59.999"), "2025-01-01 00:00:00.000");
}

TEST(DayNumberTest, KnownDaysAndRoundTrip) {
  for (const auto& [dt, days] : {std::pair{DateTime{1900, 1, 1}, 0}, {DateTime{1753, 1, 1}, -53690},
                                 {DateTime{9999, 12, 31}, 2958463}, {DateTime{2000, 3, 1}, 36584},
                                 {DateTime{2024, 2, 29}, 45349}}) {
    EXPECT_EQ(DaysFrom1900(dt), days) << days;
  }
  const Case from_days[] = {{"0.5", "1900-01-01 12:00:00.000"}, {"-0.25", "1899-12-31 18:00:00.000"},
                            {"3.858024691358025e-08", "1900-01-01 00:00:00.003"},
                            {"45349.999999999", "2024-03-01 00:00:00.000"}};
  for (const Case& c : from_days) EXPECT_EQ(FormatCanonical(FromDays1900(std::stod(c.text))), c.expected) << c.text;
  for (double days : {-53691.0, 2958464.0, 1e300, -1e300}) EXPECT_FALSE(IsDateTimeInRange(FromDays1900(days)));
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
  struct StyleCase {
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
  for (const StyleCase& c : cases) {
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

}  // namespace
}  // namespace sqlsim
