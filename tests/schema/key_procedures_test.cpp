#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "schema/golden.h"
#include "schema/sample_defs.h"

namespace {

const samples::Sample& SampleNamed(const std::string& name) {
  for (const samples::Sample& sample : samples::All()) {
    if (sample.name == name) return sample;
  }
  throw std::invalid_argument(name);
}

std::string KeyProcedures(const TableDef* td, int32_t key) {
  std::string text(1 << 16, '\0');
  const int32_t length = rv_GenSqlTableIndexProc(td, &text[0], key, 1);
  EXPECT_GT(length, 0);
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

class KeyProceduresTest : public ::testing::Test {
 protected:
  void TearDown() override { rv_SetMandant(""); }
};

// Key-table form for artikel and zahlen, direct form for kunde.
TEST_F(KeyProceduresTest, MatchGoldenForEveryKeyOfEverySample) {
  int compared = 0;
  for (const samples::Sample& sample : samples::All()) {
    const auto td = samples::Load(sample);
    for (int32_t key = 0; key < td->KeyCnt; ++key) {
      golden::Expect(std::string("keyprocs_") + sample.name + "_" + td->Keys[key].Name + ".sql",
                     KeyProcedures(td.get(), key));
      ++compared;
    }
  }
  EXPECT_EQ(compared, 10);
}

// A prefix cannot end inside a one-character field: no partial block for it.
TEST_F(KeyProceduresTest, OneCharacterFieldGetsOnlyTheWholeFieldBlock) {
  const auto td = samples::Load(SampleNamed("kunde"));
  const std::string text = KeyProcedures(td.get(), rv_KeyNo(td.get(), "KZ_KEY"));
  EXPECT_EQ(text.find("IF @xLen < "), std::string::npos);
  EXPECT_NE(text.find("  IF @xLen = 1\r\n  BEGIN\r\n    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]\r\n"
                      "      WHERE [KZ] = SUBSTRING(@xKey,1,1)\r\n      ORDER BY [KZ],RecId\r\n"),
            std::string::npos);
}

TEST_F(KeyProceduresTest, BoundedVariantFitsExactlyOrLeavesAnEmptyText) {
  const auto td = samples::Load(SampleNamed("artikel"));
  const int32_t key = rv_KeyNo(td.get(), "BEZ_KEY");
  const std::string expected = KeyProcedures(td.get(), key);
  const int32_t size = static_cast<int32_t>(expected.size());

  std::string fits(expected.size() + 2, '#');
  EXPECT_EQ(rv_GenSqlTableIndexProcN(td.get(), &fits[0], size + 1, key, 1), size);
  EXPECT_EQ(fits.substr(0, expected.size()), expected);
  EXPECT_EQ(fits[expected.size()], '\0');
  EXPECT_EQ(fits[expected.size() + 1], '#');

  std::string short_by_one(expected.size() + 1, '#');
  EXPECT_EQ(rv_GenSqlTableIndexProcN(td.get(), &short_by_one[0], size, key, 1), -1);
  EXPECT_EQ(short_by_one[0], '\0');
  EXPECT_EQ(short_by_one[expected.size()], '#') << "written past the capacity";
}

}  // namespace
