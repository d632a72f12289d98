#include <gtest/gtest.h>

#include <string>

#include "include/lebase32.h"

namespace {

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

}  // namespace
