// Profile files read as Windows reads them. The same cases run against the
// stand-ins natively and against Wine's own functions in the Windows build.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win_api.h"
#include "support/test_env.h"

namespace {

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::current_path(temp_.Path()); }
  void TearDown() override { std::filesystem::current_path(start_); }

  testenv::TempDir temp_;
  const std::filesystem::path start_ = std::filesystem::current_path();
};

TEST_F(ProfileTest, StringsAsWindowsReadsThem) {
  struct Case { const char* text; const char* section; const char* key; const char* expected; };
  const Case cases[] = {
      {"[Sec]\r\nKey=Wert\r\n", "sEC", "kEY", "Wert"},
      {"[S]\nk =   Wert mit Blanks  \t\n", "S", "k", "Wert mit Blanks"},
      {"\xEF\xBB\xBF[S]\nk=bom\n", "S", "k", "bom"},
      {"[S]\nk=\"in Anfuehrung \"\n", "S", "k", "in Anfuehrung "},
      {"[S]\nk='einfach'\n", "S", "k", "einfach"},
      {"[S]\nk=\"halb\n", "S", "k", "\"halb"},
      {"[S]\nk=a=b\n", "S", "k", "a=b"},
      {"[A]\nk=1\n[B]\nk=2", "B", "k", "2"},
      {"[A]\nk=1\nk=2\n[B]\n[a]\nk=3\nx=4", "A", "k", "1"},
      {"[A]\nk=1\n[B]\n[a]\nx=4", "a", "x", "vorgabe"},
      {"[A]\nx=1\n[B]\nk=2\n", "A", "k", "vorgabe"},
      {"[S]\nk=\n", "S", "k", ""},
      {"", "S", "k", "vorgabe"},
      {"[S]\rk=cr\rj=2\r", "S", "j", "2"},  // lines ended by CR alone
      {"[S]\nk\n", "S", "k", "vorgabe"},  // a key without '=' has no value
      {"[S]\nk   \n", "S", "k", "vorgabe"},
      {"[T]\n[S\nk=offen\n", "T", "k", "offen"},  // without ']' no section header
      {"[T]\n[S\nk=offen\n", "S", "k", "vorgabe"},
  };
  for (const Case& c : cases) {
    testenv::WriteText(temp_.File("test.ini"), c.text);
    char value[64] = "?";
    const DWORD length = GetPrivateProfileStringA(c.section, c.key, "vorgabe  ", value, sizeof value, ".\\test.ini");
    EXPECT_STREQ(value, c.expected) << c.text;
    EXPECT_EQ(length, std::string(c.expected).size()) << c.text;
  }
}

TEST_F(ProfileTest, LongValuesAreCutToTheBuffer) {
  testenv::WriteText(temp_.File("test.ini"), "[S]\nk=abcdefgh\n");
  char value[5];
  EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", value, sizeof value, ".\\test.ini"), 4u);
  EXPECT_STREQ(value, "abcd");
  EXPECT_EQ(GetPrivateProfileStringA("S", "fehlt", "vorgabe", value, sizeof value, ".\\test.ini"), 4u);
  EXPECT_STREQ(value, "vorg");
  EXPECT_EQ(GetPrivateProfileStringA("S", "k", "", nullptr, sizeof value, ".\\test.ini"), 0u);
}

TEST_F(ProfileTest, NumbersAsWindowsReadsThem) {
  testenv::WriteText(temp_.File("rvvtab.ini"),
                     "[N]\na=42\nb= -7x\nc=0x1F\nd=\ne=abc\nf=+3\ng=4294967295\nh=0X1F\n");
  struct Case { const char* key; int expected; };
  const Case cases[] = {{"a", 42}, {"b", -7}, {"c", 31}, {"d", 99}, {"e", 0},
                        {"f", 3},  {"g", -1}, {"h", 0},  {"fehlt", 99}};
  for (const Case& c : cases) {
    // The file's name matches without regard to case, as on Windows.
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("N", c.key, 99, ".\\RVVTAB.INI")), c.expected) << c.key;
  }
  EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("N", "a", 99, ".\\fehlt.ini")), 99);
}

}  // namespace
