// The per-table procedures that record access does not call (up_Sel2_,
// up_Upd2_, up_TrSel_), and what the others do beyond the library's use:
// defaults, the record id function, one record per update, the retries of
// up_Append_ and a table without fields.
#include <gtest/gtest.h>

#include <chrono>

#include "tests/sqlsim/scripts/script_fixture.h"

namespace scripts {
namespace {

// Trailing blanks of char columns aside.
Rowset Trimmed(Rowset rows) {
  for (Row& row : rows) {
    for (std::string& cell : row) cell.erase(cell.find_last_not_of(' ') + 1);
  }
  return rows;
}

const Row kKundeDefaults = {"0", "", "", "", "1900-01-01 00:00:00.000", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                            "1900-01-01 00:00:00.000", ""};

TEST_F(ScriptTest, AddStoresDefaultsAndSel2ReadsThroughTheView) {
  CreateSample("kunde");
  for (int64_t id : {1, 2}) EXPECT_EQ(Ints("EXECUTE [up_Add_KUNDE]"), Ids{id});
  EXPECT_EQ(Trimmed(Rows("EXECUTE [up_Sel_KUNDE] 2")), Rowset{kKundeDefaults});
  Row with_id = kKundeDefaults;
  with_id.insert(with_id.begin(), "2");
  EXPECT_EQ(Trimmed(Rows("EXECUTE [up_Sel2_KUNDE] ?", {{" 2 "}})), Rowset{with_id});
  EXPECT_EQ(Ints("SELECT MandId FROM [dbo].[ut_KUNDE]"), (Ids{1, 1}));
  for (const char* id : {"99", "abc", ""}) EXPECT_EQ(Rows("EXECUTE [up_Sel2_KUNDE] ?", {{id}}), Rowset{}) << id;
  EXPECT_EQ(Rows("EXECUTE [up_Sel_KUNDE] 99"), Rowset{});
}

struct TextUpdate {
  const char* sample;
  const char* base;
  Row given;
  Row stored;  // as up_Upd2_ returns it, RecId first
};

// up_Upd2_ takes every value as text: 'u' fields are upper-cased, numbers
// and dates are read by the dpxfunc functions, text that does not convert
// gives the empty value.
TEST_F(ScriptTest, Upd2ReadsValuesGivenAsText) {
  const TextUpdate cases[] = {
      {"kunde", "KUNDE",
       {"17", "klein", "ort  ", "b", "24.12.2023", "1", "7", "12,5", "-3", "+44", "0.5", "12", "1.25", "255",
        "2000-01-31", "n"},
       {"2", "17", "KLEIN", "ort", "b", "2023-12-24 00:00:00.000", "1", "7", "12.5", "-3", "44", "0.5", "12", "1.25",
        "255", "2000-01-31 00:00:00.000", "n"}},
      {"kunde", "KUNDE",
       {"abc", "", "", "", "31.02.2023", "x", "", "1.2.3", "1e3", "", "-", "", "", "", "2023-13-01", ""},
       {"2", "0", "", "", "", "1900-01-01 00:00:00.000", "0", "0", "0", "0", "0", "0", "0", "0", "0",
        "1900-01-01 00:00:00.000", ""}},
      {"artikel", "M01_ARTIKEL", {"x-1 ", "klein", "3,75", "-12", "31.12.2024", "z"},
       {"2", "x-1", "KLEIN", "3.75", "-12", "2024-12-31 00:00:00.000", "z"}},
      {"artikel", "M01_ARTIKEL", {"y", "b", "abc", "1x", "2024-02-30", ""},
       {"2", "y", "B", "0", "0", "1900-01-01 00:00:00.000", ""}},
      {"zahlen", "ZAHLEN", {" +5 ", "1,5"}, {"2", "5", "1.5"}},
      {"zahlen", "ZAHLEN", {"", "."}, {"2", "0", "0"}},
  };
  std::string created;
  for (const TextUpdate& c : cases) {
    SCOPED_TRACE(c.given[0]);
    const std::string base = c.base;
    if (created != base) {
      CreateSample(c.sample);
      ASSERT_EQ(Ints("EXECUTE [up_Add_" + base + "]"), Ids{1});
      ASSERT_EQ(Ints("EXECUTE [up_Add_" + base + "]"), Ids{2});
      created = base;
    }
    Row params = c.given;
    params.insert(params.begin(), "2");
    EXPECT_EQ(Trimmed(Call("up_Upd2_" + base, params)), Rowset{c.stored});
    EXPECT_EQ(Trimmed(Rows("EXECUTE [up_Sel2_" + base + "] '2'")), Rowset{c.stored});
    EXPECT_EQ(Trimmed(Rows("EXECUTE [up_Sel2_" + base + "] '1'")).at(0).at(1), c.sample[0] == 'a' ? "" : "0")
        << "record 1 untouched";
  }
}

TEST_F(ScriptTest, RecordIdFunctionAndUpdOfOneRecord) {
  CreateSample("zahlen");
  EXPECT_EQ(Ints("SELECT dbo.dpxfunc_NextRecId_ZAHLEN()"), Ids{1});
  ASSERT_TRUE(Run("INSERT INTO [dbo].[ut_ZAHLEN] (RecId) VALUES (7)\r\nINSERT INTO [dbo].[ut_ZAHLEN] (RecId) VALUES (3)"));
  EXPECT_EQ(Ints("SELECT dbo.dpxfunc_NextRecId_ZAHLEN()"), Ids{8});
  EXPECT_EQ(Ints("EXECUTE [up_Append_ZAHLEN] 5, 0.5"), Ids{8});
  EXPECT_EQ(Ints("EXECUTE [up_Add_ZAHLEN]"), Ids{9});
  // Bound by the columns' types, as a host binds them.
  EXPECT_EQ(Rows("EXECUTE [up_Upd_ZAHLEN] ?,?,?", {{"8", SQL_INTEGER, 10}, {"-7", SQL_INTEGER, 10},
                                                   {"-12345.678", SQL_FLOAT, 15}}),
            Rowset{});
  EXPECT_EQ(Rows("SELECT RecId, A, B FROM [dbo].[ZAHLEN] ORDER BY RecId"),
            (Rowset{{"3", "0", "0"}, {"7", "0", "0"}, {"8", "-7", "-12345.678"}, {"9", "0", "0"}}));
}

TEST_F(ScriptTest, TrSelJoinsTrimmedTextFieldsOfPositiveIds) {
  CreateSample("kunde");
  const Row values[] = {
      {"42", "mueller  ", "Berlin", "A", "2024-02-29", "1", "200", "1234.56", "123456", "2000000000", "1.2345",
       "-32768", "123.45", "16777215", "1999-12-31", "  leading and trailing  "},
      {"-2147483648", "", "", "", "1753-01-01", "0", "0", "-0.01", "-99999", "-2000000000", "0", "32767", "-999.99", "0",
       "9999-12-31 23:59:59", "x"},
      {"2147483647", "O'Brien", "a b c", "z", "1900-01-01", "1", "255", "9999999.99", "999999", "7", "-0.0125", "0",
       "0.5", "1", "2000-02-29 12:34:56", "'quoted' -- not a comment"}};
  for (const Row& v : values) ASSERT_EQ(Call("up_Append_KUNDE", v).size(), 1u);
  ASSERT_TRUE(Run("INSERT INTO [dbo].[ut_KUNDE] (RecId, NAME) VALUES (0, 'zero')\r\n"
                  "INSERT INTO [dbo].[ut_KUNDE] (RecId, NAME) VALUES (-5, 'negative')"));
  EXPECT_EQ(Rows("EXECUTE [up_TrSel_KUNDE]"),
            (Rowset{{"1", "muellerBerlinAleading and trailing"}, {"2", "x"}, {"3", "O'Briena b cz'quoted' -- not a comment"}}));
  // up_Append_ and up_Sel_ at the limits of every column type.
  EXPECT_EQ(Trimmed(Rows("EXECUTE [up_Sel_KUNDE] 2")),
            (Rowset{{"-2147483648", "", "", "", "1753-01-01 00:00:00.000", "0", "0", "-0.01", "-99999", "-2000000000",
                     "0", "32767", "-999.99", "0", "9999-12-31 23:59:59.000", "x"}}));
  EXPECT_EQ(Trimmed(Rows("EXECUTE [up_Sel_KUNDE] 3")),
            (Rowset{{"2147483647", "O'Brien", "a b c", "z", "1900-01-01 00:00:00.000", "1", "255", "9999999.99", "999999",
                     "7", "-0.0125", "0", "0.5", "1", "2000-02-29 12:34:56.000", "'quoted' -- not a comment"}}));
}

// Every attempt fails here: each is rolled back, nine waits of 50 ms lie
// between the ten attempts, and the caller gets id 0.
TEST_F(ScriptTest, AppendGivesUpAfterTenFailedAttempts) {
  CreateSample("zahlen");
  ASSERT_TRUE(Run("CREATE UNIQUE INDEX [ux_A] ON [dbo].[ut_ZAHLEN] (A)"));
  EXPECT_EQ(Ints("EXECUTE [up_Append_ZAHLEN] 5, 1"), Ids{1});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Ints("EXECUTE [up_Append_ZAHLEN] 5, 2"), Ids{0});
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(450));
  EXPECT_LT(elapsed, std::chrono::seconds(10));
  EXPECT_EQ(Ints("SELECT @@TRANCOUNT"), Ids{0});
  EXPECT_EQ(Ints("SELECT RecId FROM [dbo].[ut_ZAHLEN]"), Ids{1});
  EXPECT_EQ(Ints("SELECT DataRecId FROM [dbo].[ut_ZAHLEN_Keys]"), Ids{1});
  EXPECT_EQ(Ints("EXECUTE [up_Append_ZAHLEN] 6, 3"), Ids{2});
}

TEST_F(ScriptTest, TableWithoutFieldsAddsAppendsDeletesAndReorganises) {
  CreateSample("leer");
  EXPECT_EQ(Ints("EXECUTE [up_Add_LEER]"), Ids{1});
  EXPECT_EQ(Ints("EXECUTE [up_Append_LEER]"), Ids{2});
  EXPECT_EQ(Ints("EXECUTE [up_Add_LEER]"), Ids{3});
  EXPECT_EQ(Rows("EXECUTE [up_Sel2_LEER] '2'"), Rowset{{"2"}});
  ASSERT_TRUE(Run("EXECUTE [up_Del_LEER] 1\r\nEXECUTE [up_Reorg_LEER] 1,1"));
  EXPECT_EQ(Ints("SELECT RecId FROM [dbo].[LEER] ORDER BY RecId"), (Ids{1, 2}));
}

}  // namespace
}  // namespace scripts
