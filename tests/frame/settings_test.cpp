#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lebase32.h"
#include "support/test_env.h"

namespace {

using namespace lerv32;

const std::vector<int32_t> kDefaults = {1, 1, 2, 1, 1};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { Set(kDefaults); }
  void TearDown() override { Set(kDefaults); }
  static void Set(const std::vector<int32_t>& v) {
    OemConvert = v[0];
    ExSQL_Enabled = v[1];
    ExSQL_Maximum = v[2];
    ExSQL_Append = v[3];
    Display_Errors = v[4];
  }
  static std::vector<int32_t> All() {
    return {OemConvert, ExSQL_Enabled, ExSQL_Maximum, ExSQL_Append, Display_Errors};
  }

  testenv::TempDir dir_;
  const std::string store_ = dir_.File("settings.conf");
  testenv::ScopedEnv named_{"LEBASE32_SETTINGS", store_};
};

TEST_F(SettingsTest, LoadingGivesTheStoredValuesOverTheDefaultsAndSavedOnesLoadAgain) {
  struct Case { std::optional<std::string> store; std::vector<int32_t> expected; };
  const Case cases[] = {
      {std::nullopt, kDefaults},                            // no store at all
      {"", kDefaults},
      {"LEXO32_Display_Errors=0\n", {1, 1, 2, 1, 0}},      // one value replaces its default
      {"LEXO32_ExSQL_Maximum=\n", kDefaults},              // empty: left as it is
      {"LEXO32_OemConvert=abc\n", {0, 1, 2, 1, 1}},        // no number reads as 0
      {"lexo32_exsql_enabled=0\r\nLEXO32_ExSQL_Append=-2147483648\n", {1, 0, 2, INT32_MIN, 1}},
      {"\x01\x02garbage\n=5\nLEXO32_ExSQL_Maximum=1\n", {1, 1, 1, 1, 1}},
  };
  for (const Case& c : cases) {
    Set(kDefaults);
    if (c.store) testenv::WriteText(store_, *c.store);
    LoadSettings();
    EXPECT_EQ(All(), c.expected) << c.store.value_or("(no store)");
  }
  // Saved settings load again; the store's other lines stay.
  testenv::WriteText(store_, "# kept\nOTHER=x\n");
  Set({0, 7, -1, 0, 0});
  SaveSettings();
  Set(kDefaults);
  LoadSettings();
  EXPECT_EQ(All(), (std::vector<int32_t>{0, 7, -1, 0, 0}));
  char value[20];
  ASSERT_NE(uGetHwpKeyString("OTHER", value, sizeof value), 0);
  EXPECT_STREQ(value, "x");
}

}  // namespace
