// The create scripts of every sample run on sqlsim, again over their own
// objects, and once more over a table that holds a record; older tables are
// upgraded in place.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "tabledef/table_def.h"
#include "tests/schema/sample_defs.h"
#include "tests/sqlsim/scripts/script_fixture.h"

namespace scripts {
namespace {

// "name:xtype" of what the catalog holds, "table.index" of every Ik_ index.
std::set<std::string> Catalog(const Rowset& objects, const Rowset& indexes) {
  std::set<std::string> out;
  for (const Row& row : objects) out.insert(row[0] + ":" + row[1]);
  for (const Row& row : indexes) out.insert(row[0] + "." + row[1]);
  return out;
}

// What the script's CREATE statements name (the script text itself is
// checked against the golden files in tests/schema).
std::set<std::string> Described(const std::string& script) {
  static const std::map<std::string, std::string> kTypes = {
      {"TABLE", "U"}, {"VIEW", "V"}, {"PROCEDURE", "P"}, {"FUNCTION", "FN"}, {"TRIGGER", "TR"}};
  std::set<std::string> out = {"dpxfunc_integer:FN", "dpxfunc_datetime:FN", "dpxfunc_float:FN"};
  const std::regex object(R"(CREATE (TABLE|VIEW|PROCEDURE|FUNCTION|TRIGGER) \[dbo\]\.\[([^\]]+)\])");
  for (std::sregex_iterator m(script.begin(), script.end(), object), end; m != end; ++m) {
    out.insert((*m)[2].str() + ":" + kTypes.at((*m)[1].str()));
  }
  const std::regex index(R"(INDEX \[(Ik_[^\]]+)\] ON \[dbo\]\.\[([^\]]+)\])");
  for (std::sregex_iterator m(script.begin(), script.end(), index), end; m != end; ++m) {
    out.insert((*m)[2].str() + "." + (*m)[1].str());
  }
  return out;
}

TEST_F(ScriptTest, CreateScriptsRunTwiceThenOverARecord) {
  const auto catalog = [&] {
    return Catalog(Rows("SELECT name, RTRIM(xtype) FROM sysobjects WHERE xtype IN ('U','V','P','FN','TR')"),
                   Rows("SELECT so.name, si.name FROM sysindexes si INNER JOIN sysobjects so ON so.id = si.id"
                        " WHERE si.name LIKE 'Ik[_]%'"));
  };
  for (const samples::Sample& sample : samples::All()) {
    SCOPED_TRACE(sample.name);
    std::set<std::string> expected = catalog();
    const testenv::TableDefPtr td = CreateSample(sample.name);
    const std::string script = CreateScript(td.get());
    const std::string base = lerv32::BaseNameOf(td.get());
    const std::string table = lerv32::SqlTableName(td.get(), nullptr);
    const std::set<std::string> described = Described(script);
    expected.insert(described.begin(), described.end());
    EXPECT_EQ(catalog(), expected);
    ASSERT_TRUE(Run(script)) << "second run";
    ASSERT_TRUE(Run(dpxfunc_)) << "dpxfunc.sql again, under the procedures";
    EXPECT_EQ(catalog(), expected);
    EXPECT_EQ(Ints("EXECUTE [up_Add_" + base + "]"), Ids{1});
    ASSERT_TRUE(Run(script)) << "third run, over a record";
    EXPECT_EQ(catalog(), expected);
    EXPECT_EQ(Ints("SELECT RecId FROM [dbo].[" + base + "]"), Ids{1});
    if (td->UseKeyTable) {
      // The key table is made anew by every run and filled from the records.
      EXPECT_EQ(Ints("SELECT DataRecId FROM [dbo].[" + table + "_Keys]"), Ids{1});
    }
  }
}

// An older copy of a table: columns missing, a text column too short; the
// added columns take their defaults for the records already there.
TEST_F(ScriptTest, UpgradeAddsMissingColumnsAndWidensText) {
  ASSERT_TRUE(Run("CREATE TABLE [dbo].[ut_KUNDE] ([RecId] integer NOT NULL PRIMARY KEY, [MandId] integer DEFAULT 1,"
                  " [NR] integer DEFAULT 0, [NAME] char(5) DEFAULT ' ')\r\n"
                  "INSERT INTO [dbo].[ut_KUNDE] (RecId, NR, NAME) VALUES (7, 3, 'abc')"));
  const auto td = CreateSample("kunde");
  EXPECT_EQ(Rows("SELECT sc.name, sc.length FROM syscolumns sc INNER JOIN sysobjects so ON so.id = sc.id"
                 " WHERE so.name = 'ut_KUNDE' AND sc.name IN ('NAME', 'NOTIZ') ORDER BY sc.name"),
            (Rowset{{"NAME", "20"}, {"NOTIZ", "40"}}));
  EXPECT_EQ(Ints("SELECT count(*) FROM syscolumns WHERE id = OBJECT_ID('ut_KUNDE')"), Ids{2 + td->FieldCnt});
  EXPECT_EQ(Rows("SELECT RecId, NR, NAME, ORT, DATUM, NOTIZ FROM [dbo].[KUNDE] WHERE BETRAG = 0"),
            (Rowset{{"7", "3", "abc" + std::string(17, ' '), std::string(15, ' '), "1900-01-01 00:00:00.000",
                     std::string(40, ' ')}}));
  EXPECT_EQ(Ints("EXECUTE [up_Add_KUNDE]"), Ids{8});
}

TEST_F(ScriptTest, UpgradeKeepsRecordsAndRebuildsTheKeyTable) {
  ASSERT_TRUE(Run("CREATE TABLE [dbo].[ut_ZAHLEN] ([RecId] integer NOT NULL, [MandId] integer DEFAULT 1,"
                  " [A] integer DEFAULT 0)\r\nINSERT INTO [dbo].[ut_ZAHLEN] (RecId, A) VALUES (4, 12)"));
  CreateSample("zahlen");
  EXPECT_EQ(Rows("SELECT RecId, A FROM [dbo].[ZAHLEN] WHERE B = 0"), (Rowset{{"4", "12"}}));
  EXPECT_EQ(Rows("SELECT A_KEY_Value FROM [dbo].[ut_ZAHLEN_Keys] WHERE DataRecId = 4"),
            (Rowset{{"10000000012         4"}}));
}

}  // namespace
}  // namespace scripts
