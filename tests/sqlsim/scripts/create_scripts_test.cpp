// The create scripts of every sample run on sqlsim, again over their own
// objects, and once more over a table that holds a record.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "tests/sqlsim/scripts/sample_names.h"
#include "tests/sqlsim/scripts/script_runner.h"

namespace scripts {
namespace {

// The host assembles each batch in a buffer of this size, terminator included.
constexpr std::size_t kHostBatchBuffer = 32000;
// What the host allocates for one table's whole create script.
constexpr std::size_t kHostScriptBuffer = 400000;

class CreateScripts : public ScriptTest, public ::testing::WithParamInterface<SampleNames> {
 protected:
  std::set<std::string> Objects() {
    std::set<std::string> out;
    for (const auto& row : Rows("SELECT name, RTRIM(xtype) FROM sysobjects "
                                "WHERE xtype IN ('U','V','P','FN','TR')")) {
      out.insert(row[0] + ":" + row[1]);
    }
    return out;
  }
  std::set<std::string> Indexes() {
    std::set<std::string> out;
    for (const auto& row : Rows("SELECT so.name, si.name FROM sysindexes si "
                                "INNER JOIN sysobjects so ON so.id = si.id WHERE si.name LIKE 'Ik[_]%'")) {
      out.insert(row[0] + "." + row[1]);
    }
    return out;
  }
  void ExpectCatalog(const TableDef& td) {
    EXPECT_EQ(Objects(), ExpectedObjects(td, GetParam()));
    EXPECT_EQ(Indexes(), ExpectedIndexes(td, GetParam()));
  }
};

TEST(CreateScript, BatchesFitTheHostsBuffers) {
  for (const samples::Sample& sample : samples::All()) {
    const auto td = samples::Load(sample);
    const std::string script = CreateScript(td.get());
    EXPECT_LT(script.size(), kHostScriptBuffer) << sample.name;
    for (const std::string& batch : SplitScript(script)) {
      EXPECT_LT(batch.size(), kHostBatchBuffer) << sample.name << ": " << batch.substr(0, 200);
    }
  }
  rv_SetMandant("");
}

TEST_P(CreateScripts, RunTwiceThenOverARecord) {
  const SampleNames& names = GetParam();
  const auto td = LoadSample(names.sample);
  const std::string script = CreateScript(td.get());
  ASSERT_TRUE(RunScript(dbc(), script)) << "first run";
  ExpectCatalog(*td);
  ASSERT_TRUE(RunScript(dbc(), script)) << "second run";
  ASSERT_TRUE(RunScript(dbc(), DpxFunctionScript())) << "dpxfunc.sql again";
  ExpectCatalog(*td);

  EXPECT_EQ(Int("EXECUTE [up_Add_" + names.base + "]"), 1);
  ASSERT_TRUE(RunScript(dbc(), script)) << "third run, over a record";
  ExpectCatalog(*td);
  EXPECT_EQ(Ints("SELECT RecId FROM [dbo].[" + names.table + "]"), std::vector<int64_t>{1});
  EXPECT_EQ(Ints("SELECT RecId FROM [dbo].[" + names.base + "]"), std::vector<int64_t>{1});
  if (names.key_tables) {
    // The key table is made anew by every run and filled from the records.
    EXPECT_EQ(Ints("SELECT DataRecId FROM [dbo].[" + names.table + "_Keys]"), std::vector<int64_t>{1});
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, CreateScripts, ::testing::ValuesIn(AllSampleNames()),
                         [](const ::testing::TestParamInfo<SampleNames>& p) { return p.param.sample; });

// The library's environment stays at ODBC 2, where a statement that
// touches no row still succeeds; its runner accepts nothing else.
TEST(CreateScriptAsHost, RunsOnAnOdbc2Connection) {
  for (const SampleNames& names : AllSampleNames()) {
    SCOPED_TRACE(names.sample);
    odbctest::DataDir dir;
    odbctest::Connection connection(SQL_OV_ODBC2);
    ASSERT_ODBC_OK(connection.DriverConnect(odbctest::ConnectionString(dir)), SQL_HANDLE_DBC, connection.dbc());
    ASSERT_TRUE(RunScriptAsHost(connection.dbc(), DpxFunctionScript()));
    for (const samples::Sample& sample : samples::All()) {
      if (names.sample != sample.name) continue;
      const auto td = samples::Load(sample);
      EXPECT_TRUE(RunScriptAsHost(connection.dbc(), CreateScript(td.get())));
      EXPECT_TRUE(RunScriptAsHost(connection.dbc(), CreateScript(td.get()))) << "second run";
    }
  }
  rv_SetMandant("");
}

// An older copy of a table: columns missing, text columns too short.
TEST_F(ScriptTest, UpgradeAddsMissingColumnsAndWidensText) {
  ASSERT_TRUE(Execute(dbc(),
                      "CREATE TABLE [dbo].[ut_KUNDE] ([RecId] integer NOT NULL PRIMARY KEY, [MandId] integer DEFAULT 1,"
                      " [NR] integer DEFAULT 0, [NAME] char(5) DEFAULT ' ')"));
  ASSERT_TRUE(Execute(dbc(), "INSERT INTO [dbo].[ut_KUNDE] (RecId, NR, NAME) VALUES (7, 3, 'abc')"));
  const auto td = CreateSample("kunde");
  EXPECT_EQ(Int("SELECT length FROM syscolumns sc INNER JOIN sysobjects so ON so.id = sc.id "
                "WHERE so.name = 'ut_KUNDE' AND sc.name = 'NAME'"),
            20);
  EXPECT_EQ(Int("SELECT count(*) FROM syscolumns sc INNER JOIN sysobjects so ON so.id = sc.id "
                "WHERE so.name = 'ut_KUNDE'"),
            2 + td->FieldCnt);
  // Added columns are filled with their defaults for the existing record.
  EXPECT_EQ(Rows("SELECT RecId, NR, NAME, ORT, DATUM, NOTIZ FROM [dbo].[KUNDE] WHERE BETRAG = 0"),
            (std::vector<std::vector<std::string>>{{"7", "3", "abc" + std::string(17, ' '), std::string(15, ' '),
                                                    "1900-01-01 00:00:00.000", std::string(40, ' ')}}));
  EXPECT_EQ(Int("EXECUTE [up_Add_KUNDE]"), 8);
}

TEST_F(ScriptTest, UpgradeKeepsRecordsAndRebuildsTheKeyTable) {
  ASSERT_TRUE(Execute(dbc(), "CREATE TABLE [dbo].[ut_ZAHLEN] ([RecId] integer NOT NULL, [MandId] integer DEFAULT 1,"
                             " [A] integer DEFAULT 0)"));
  ASSERT_TRUE(Execute(dbc(), "INSERT INTO [dbo].[ut_ZAHLEN] (RecId, A) VALUES (4, 12)"));
  CreateSample("zahlen");
  EXPECT_EQ(Rows("SELECT RecId, A FROM [dbo].[ZAHLEN] WHERE B = 0"),
            (std::vector<std::vector<std::string>>{{"4", "12"}}));
  EXPECT_EQ(Str("SELECT A_KEY_Value FROM [dbo].[ut_ZAHLEN_Keys] WHERE DataRecId = 4"),
            "10000000012" + std::string(9, ' ') + "4");
}

}  // namespace
}  // namespace scripts
