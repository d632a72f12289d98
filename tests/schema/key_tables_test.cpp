#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "schema/generators.h"
#include "schema/golden.h"
#include "schema/sample_defs.h"

namespace {

using lerv32::FilterToSql;

std::string GenerateKeyTable(const TableDef* td) {
  std::string text(1 << 16, '\0');
  const int32_t length = lerv32::Generate(&text[0], text.size(),
                                          [&](lerv32::ScriptWriter& w) { lerv32::WriteKeyTableScript(w, td); });
  EXPECT_GT(length, 0);
  text.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return text;
}

const samples::Sample& SampleNamed(const std::string& name) {
  for (const samples::Sample& sample : samples::All()) {
    if (sample.name == name) return sample;
  }
  throw std::invalid_argument(name);
}

class KeyTableScript : public ::testing::Test {
 protected:
  void TearDown() override { rv_SetMandant(""); }
};

TEST_F(KeyTableScript, MatchesGoldenForEverySampleWithKeyTables) {
  int compared = 0;
  for (const samples::Sample& sample : samples::All()) {
    const auto td = samples::Load(sample);
    if (td->UseKeyTable == 0) continue;
    golden::Expect(std::string("keytable_") + sample.name + ".sql", GenerateKeyTable(td.get()));
    ++compared;
  }
  EXPECT_EQ(compared, 2);
}

TEST_F(KeyTableScript, ComposesTextNumbersAndDatesAndSumsTheirWidths) {
  rv_SetMandant("");
  const auto td = testenv::NewTableDef();
  td->UseKeyTable = 1;
  ASSERT_EQ(rv_AddFieldDef(td.get(), "NAME,C,30"), 1);
  ASSERT_EQ(rv_AddFieldDef(td.get(), "PLZ,N,5,0"), 1);
  ASSERT_EQ(rv_AddFieldDef(td.get(), "GEBDAT,D"), 1);
  ASSERT_EQ(rv_AddKeyDef(td.get(), "NAMEKEY,NAME,PLZ"), 1);
  ASSERT_EQ(rv_AddKeyDef(td.get(), "GEBKEY,GEBDAT"), 1);
  const std::string text = GenerateKeyTable(td.get());
  EXPECT_NE(text.find("  ,[NAMEKEY_Value] CHAR(46) NOT NULL\r\n"), std::string::npos);
  EXPECT_NE(text.find("  ,[GEBKEY_Value] CHAR(20) NOT NULL\r\n"), std::string::npos);
  EXPECT_NE(text.find("     ,UPPER(convert(char(30),[NAME])+CASE WHEN [PLZ] < 0 THEN '0'+REPLACE(STR([PLZ]+100000,5,0)"
                      ",' ','0') ELSE '1'+REPLACE(STR([PLZ],5,0),' ','0') END+STR(RecId,10))\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("     ,UPPER(CONVERT(char(10),[GEBDAT],120)+STR(RecId,10))\r\n"), std::string::npos);
  EXPECT_NE(text.find("   ,[GEBKEY_Value] = UPPER(CONVERT(char(10),[GEBDAT],120)+STR([RecId],10))\r\n"),
            std::string::npos);
}

// The tenant text alone decides how rows are re-keyed, not the table's switch.
TEST_F(KeyTableScript, TenantTextWithoutTenantTableStillKeysOnRecIdAlone) {
  const auto td = samples::Load(SampleNamed("zahlen"));
  ASSERT_EQ(td->UseMandant, 0);
  rv_SetMandant("M01");
  const std::string text = GenerateKeyTable(td.get());
  EXPECT_NE(text.find("CREATE TABLE [dbo].[ut_ZAHLEN_Keys]\r\n"), std::string::npos);
  EXPECT_NE(text.find("  IF UPDATE([RecId])\r\n  BEGIN\r\n"), std::string::npos);
  EXPECT_NE(text.find(")\r\n    (SELECT [RecId],1 AS [MandId]\r\n"), std::string::npos);
  EXPECT_EQ(text.find("UPDATE([MandId])"), std::string::npos);
}

// The index over the key table names no filter column for an empty text.
TEST_F(KeyTableScript, EmptyFilterTextGetsNoFilterColumn) {
  const auto td = samples::Load(SampleNamed("zahlen"));
  char empty[] = "";
  td->KeyFilter[0] = empty;
  const std::string text = GenerateKeyTable(td.get());
  td->KeyFilter[0] = nullptr;
  EXPECT_EQ(text.find("_Filter"), std::string::npos);
  EXPECT_EQ(text.find("THEN 1 ELSE 0 END"), std::string::npos);
}

TEST(KeyFilterToSql, TranslatesEveryEscape) {
  const struct {
    const char* filter;
    const char* condition;
  } cases[] = {
      {"\\!A", "NOTA"},
      {"\\$([A],1,2) = 'X'", "SUBSTRING([A],1,2) = 'X'"},
      {"A = 1 \\& B = 2", "A = 1 AND B = 2"},
      {"\\+AKTIV", "1 = AKTIV"},
      {"\\-AKTIV", "0 = AKTIV"},
      {"A \\| B", "A OR B"},
      {"NAME <> '' \\& \\+AKTIV", "NAME <> '' AND 1 = AKTIV"},
      {"\\\\ \\x\\'", "\\ x'"},
      {"A = 1\\", "A = 1"},
      {"\\", ""},
      {"", ""},
      {nullptr, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FilterToSql(c.filter), std::string("CASE WHEN ") + c.condition + " THEN 1 ELSE 0 END\r\n")
        << (c.filter != nullptr ? c.filter : "(null)");
  }
}

}  // namespace
