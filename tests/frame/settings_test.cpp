#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lebase32.h"
#include "include/lerv32.h"
#include "support/test_env.h"

namespace {

using namespace lerv32;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_store_ = testenv::GetEnv("LEBASE32_SETTINGS");
    testenv::SetEnv("LEBASE32_SETTINGS", store_);
    ResetDefaults();
  }
  static void ResetDefaults() {
    OemConvert = 1;
    ExSQL_Enabled = 1;
    ExSQL_Maximum = 2;
    ExSQL_Append = 1;
    Display_Errors = 1;
  }
  void TearDown() override { testenv::SetEnv("LEBASE32_SETTINGS", saved_store_); }

  void WriteStore(const std::string& content) { std::ofstream(store_, std::ios::binary) << content; }
  static std::vector<int32_t> All() {
    return {OemConvert, ExSQL_Enabled, ExSQL_Maximum, ExSQL_Append, Display_Errors};
  }

  testenv::TempDir dir_;
  std::string store_ = dir_.File("settings.conf");
  std::string saved_store_;
};

TEST_F(SettingsTest, LoadingGivesTheStoredValuesOverTheDefaults) {
  struct Case { const char* store; std::vector<int32_t> expected; };
  const Case cases[] = {
      {"", {1, 1, 2, 1, 1}},
      {"LEXO32_Display_Errors=0\n", {1, 1, 2, 1, 0}},
      {"LEXO32_ExSQL_Maximum=\n", {1, 1, 2, 1, 1}},          // empty: left as it is
      {"LEXO32_OemConvert=abc\n", {0, 1, 2, 1, 1}},          // no number reads as 0
      {"lexo32_exsql_enabled=0\r\nLEXO32_ExSQL_Append=-3\n", {1, 0, 2, -3, 1}},
      {"\x01\x02garbage\n=5\nLEXO32_ExSQL_Maximum=1\n", {1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    ResetDefaults();
    WriteStore(c.store);
    LoadSettings();
    EXPECT_EQ(All(), c.expected) << c.store;
  }
}

TEST_F(SettingsTest, AMissingStoreLeavesTheDefaults) {
  LoadSettings();
  EXPECT_EQ(All(), (std::vector<int32_t>{1, 1, 2, 1, 1}));
}

TEST_F(SettingsTest, SavedSettingsLoadAgainAndKeepOtherLines) {
  WriteStore("# kept\nOTHER=x\n");
  OemConvert = 0;
  ExSQL_Enabled = 7;
  ExSQL_Maximum = -1;
  ExSQL_Append = 0;
  Display_Errors = 0;
  SaveSettings();
  ResetDefaults();
  LoadSettings();
  EXPECT_EQ(All(), (std::vector<int32_t>{0, 7, -1, 0, 0}));
  char value[20];
  ASSERT_NE(uGetHwpKeyString("OTHER", value, sizeof value), 0);
  EXPECT_STREQ(value, "x");
}

TEST_F(SettingsTest, ReadSettingLongFallsBackToTheCurrentValue) {
  WriteStore("A=12\nB=\nC=-2147483648\n");
  EXPECT_EQ(ReadSettingLong("A", 5), 12);
  EXPECT_EQ(ReadSettingLong("B", 5), 5);
  EXPECT_EQ(ReadSettingLong("Missing", 5), 5);
  EXPECT_EQ(ReadSettingLong("C", 5), INT32_MIN);
}

TEST_F(SettingsTest, SettersChangeTheProcessValueOnlyAndReturnTheOldOne) {
  EXPECT_EQ(rv_SetOemConvert(5), 1);
  EXPECT_EQ(rv_GetOemConvert(), 5);
  EXPECT_EQ(rv_SetExtendedLevel(0), 1);
  EXPECT_EQ(rv_GetExtendedLevel(), 0);
  EXPECT_EQ(ExSQL_Maximum, 2);  // the level switch leaves the others alone
  EXPECT_EQ(ExSQL_Append, 1);
  char value[20];
  EXPECT_EQ(uGetHwpKeyString("LEXO32_OemConvert", value, sizeof value), 0);  // nothing stored
  rv_SetOemConvert(1);
  rv_SetExtendedLevel(1);
}

}  // namespace
