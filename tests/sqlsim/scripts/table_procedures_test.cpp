// The per-table procedures of the samples keep their contracts on sqlsim.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "tests/sqlsim/scripts/field_values.h"
#include "tests/sqlsim/scripts/sample_names.h"
#include "tests/sqlsim/scripts/script_runner.h"

namespace scripts {
namespace {

using Values = std::vector<std::string>;

// Values appended and read back; together they reach the limits of every
// column type. Text keeps leading blanks and loses trailing ones.
const std::map<std::string, std::vector<Values>>& AppendValues() {
  static const std::map<std::string, std::vector<Values>> values = {
      {"kunde",
       {{"42", "mueller  ", "Berlin", "A", "2024-02-29 00:00:00", "1", "200", "1234.56", "123456", "2000000000",
         "1.2345", "-32768", "123.45", "16777215", "1999-12-31 00:00:00", "  leading and trailing  "},
        {"-2147483648", "", "", "", "1753-01-01 00:00:00", "0", "0", "-0.01", "-99999", "-2000000000", "0", "32767",
         "-999.99", "0", "9999-12-31 23:59:59", "x"},
        {"2147483647", "O'Brien", "a b c", "z", "1900-01-01 00:00:00", "1", "255", "9999999.99", "999999", "7",
         "-0.0001", "0", "0.5", "1", "2000-02-29 12:34:56", "'quoted' -- not a comment"}}},
      {"artikel",
       {{"a-100", "schraube m4", "0.99", "100", "2023-05-01 00:00:00", "A"},
        {"B-7  ", "xylophon", "1234.5", "-5", "1900-01-01 00:00:00", "a"},
        {"", "", "0", "0", "2099-12-31 00:00:00", ""}}},
      {"zahlen", {{"1", "0.5"}, {"-7", "-12345.678"}, {"2147483647", "99999.999"}}},
  };
  return values;
}

struct TextUpdate {
  Values given;
  Values stored;
};

// up_Upd2_ takes every value as text: 'u' fields are upper-cased, numbers
// and dates are read by the dpxfunc functions, text that does not convert
// gives the empty value.
const std::map<std::string, std::vector<TextUpdate>>& TextUpdates() {
  static const std::map<std::string, std::vector<TextUpdate>> updates = {
      {"kunde",
       {{{"17", "klein", "ort  ", "b", "24.12.2023", "1", "7", "12,5", "-3", "+44", "0.5", "12", "1.25", "255",
          "2000-01-31", "n"},
         {"17", "KLEIN", "ort", "b", "2023-12-24 00:00:00", "1", "7", "12.5", "-3", "44", "0.5", "12", "1.25", "255",
          "2000-01-31 00:00:00", "n"}},
        {{"abc", "", "", "", "31.02.2023", "x", "", "1.2.3", "1e3", "", "-", "", "", "", "2023-13-01", ""},
         {"0", "", "", "", "1900-01-01 00:00:00", "0", "0", "0", "0", "0", "0", "0", "0", "0", "1900-01-01 00:00:00",
          ""}}}},
      {"artikel",
       {{{"x-1 ", "klein", "3,75", "-12", "31.12.2024", "z"},
         {"x-1", "KLEIN", "3.75", "-12", "2024-12-31 00:00:00", "z"}},
        {{"y", "b", "abc", "1x", "2024-02-30", ""}, {"y", "B", "0", "0", "1900-01-01 00:00:00", ""}}}},
      {"zahlen", {{{" +5 ", "1,5"}, {"5", "1.5"}}, {{"", "."}, {"0", "0"}}}},
  };
  return updates;
}

Values Defaults(const TableDef& td) {
  Values values;
  for (int32_t f = 0; f < td.FieldCnt; ++f) {
    values.push_back(FieldKind(td.Fields[f]) == Kind::kDate ? "1900-01-01 00:00:00"
                     : FieldKind(td.Fields[f]) == Kind::kText ? ""
                                                               : "0");
  }
  return values;
}

std::vector<Param> TextParams(const std::string& rec_id, const Values& values) {
  std::vector<Param> params = {{rec_id, SQL_VARCHAR, 20, 0, false}};
  for (const std::string& v : values) params.push_back({v, SQL_VARCHAR, 255, 0, false});
  return params;
}

class TableProcedures : public ScriptTest, public ::testing::WithParamInterface<SampleNames> {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    if (HasFatalFailure()) return;
    td_ = CreateSample(GetParam().sample);
    ASSERT_FALSE(HasFailure()) << "the create script did not run";
  }
  std::string Proc(const std::string& prefix) const { return prefix + GetParam().base; }
  std::string Table() const { return "[dbo].[" + GetParam().table + "]"; }

  std::optional<int64_t> Append(const Values& values) {
    const auto rows = QueryRows(dbc(), ExecuteWithMarkers(Proc("up_Append_"), *td_), FieldParams(*td_, values));
    if (rows.size() != 1 || rows[0].size() != 1) {
      ADD_FAILURE() << "up_Append_ gave " << rows.size() << " rows";
      return std::nullopt;
    }
    return std::stoll(rows[0][0]);
  }
  std::vector<std::vector<std::string>> Sel(int64_t id) {
    return Rows("EXECUTE [" + Proc("up_Sel_") + "] " + std::to_string(id));
  }
  std::vector<std::vector<std::string>> Sel2(const std::string& id) {
    return QueryRows(dbc(), "EXECUTE [" + Proc("up_Sel2_") + "] ?", {{id, SQL_VARCHAR, 20, 0, false}});
  }
  const std::vector<Values>& Samples() const { return AppendValues().at(GetParam().sample); }

  testenv::TableDefPtr td_;
};

TEST_P(TableProcedures, AddStoresDefaultsUnderRisingIds) {
  for (int64_t id = 1; id <= 3; ++id) EXPECT_EQ(Int("EXECUTE [" + Proc("up_Add_") + "]"), id);
  const auto rows = Sel(2);
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_TRUE(RowMatches(*td_, rows[0], 0, Defaults(*td_)));
  EXPECT_EQ(Ints("SELECT MandId FROM " + Table() + " ORDER BY RecId"), (std::vector<int64_t>{1, 1, 1}));
}

TEST_P(TableProcedures, AppendStoresEveryValueAndSelReadsItBack) {
  const std::vector<Values>& values = Samples();
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(Append(values[i]), static_cast<int64_t>(i + 1));
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string id = std::to_string(i + 1);
    SCOPED_TRACE("record " + id);
    const auto sel = Sel(static_cast<int64_t>(i + 1));
    ASSERT_EQ(sel.size(), 1u);
    EXPECT_TRUE(RowMatches(*td_, sel[0], 0, values[i]));
    // up_Sel2_ reads through the view, the id given as text.
    const auto sel2 = Sel2(" " + id + " ");
    ASSERT_EQ(sel2.size(), 1u);
    EXPECT_EQ(sel2[0][0], id);
    EXPECT_TRUE(RowMatches(*td_, sel2[0], 1, values[i]));
  }
  EXPECT_TRUE(Sel(99).empty());
  EXPECT_TRUE(Sel2("99").empty());
  EXPECT_TRUE(Sel2("abc").empty());
}

TEST_P(TableProcedures, RecordIdFunctionIsMaximumPlusOne) {
  const std::string next = "SELECT dbo.dpxfunc_NextRecId_" + GetParam().base + "()";
  EXPECT_EQ(Int(next), 1);
  ASSERT_TRUE(Execute(dbc(), "INSERT INTO " + Table() + " (RecId) VALUES (7)"));
  ASSERT_TRUE(Execute(dbc(), "INSERT INTO " + Table() + " (RecId) VALUES (3)"));
  EXPECT_EQ(Int(next), 8);
  EXPECT_EQ(Append(Samples()[0]), 8);
  EXPECT_EQ(Int("EXECUTE [" + Proc("up_Add_") + "]"), 9);
}

TEST_P(TableProcedures, UpdReplacesEveryFieldOfOneRecord) {
  const std::vector<Values>& values = Samples();
  ASSERT_EQ(Append(values[0]), 1);
  ASSERT_EQ(Append(values[0]), 2);
  std::vector<Param> params = FieldParams(*td_, values[1]);
  params.insert(params.begin(), Param{"1", SQL_INTEGER, 10, 0, false});
  const auto result = QueryRows(dbc(), ExecuteWithMarkers(Proc("up_Upd_"), *td_, 1), params);
  EXPECT_TRUE(result.empty());
  EXPECT_TRUE(RowMatches(*td_, Sel(1).at(0), 0, values[1]));
  EXPECT_TRUE(RowMatches(*td_, Sel(2).at(0), 0, values[0]));
}

TEST_P(TableProcedures, Upd2ReadsValuesGivenAsText) {
  ASSERT_EQ(Append(Samples()[0]), 1);
  ASSERT_EQ(Append(Samples()[0]), 2);
  for (const TextUpdate& update : TextUpdates().at(GetParam().sample)) {
    const auto rows = QueryRows(dbc(), ExecuteWithMarkers(Proc("up_Upd2_"), *td_, 1), TextParams("2", update.given));
    ASSERT_EQ(rows.size(), 1u) << "up_Upd2_ returns the updated row";
    EXPECT_EQ(rows[0][0], "2");
    EXPECT_TRUE(RowMatches(*td_, rows[0], 1, update.stored));
    EXPECT_TRUE(RowMatches(*td_, Sel(2).at(0), 0, update.stored));
  }
  EXPECT_TRUE(RowMatches(*td_, Sel(1).at(0), 0, Samples()[0]));
}

TEST_P(TableProcedures, DelRemovesOneRecord) {
  for (const Values& v : Samples()) Append(v);
  const std::string del = "EXECUTE [" + Proc("up_Del_") + "] ";
  EXPECT_TRUE(Execute(dbc(), del + "2"));
  EXPECT_TRUE(Execute(dbc(), del + "99"));
  EXPECT_EQ(Ints("SELECT RecId FROM " + Table() + " ORDER BY RecId"), (std::vector<int64_t>{1, 3}));
  EXPECT_TRUE(Sel(2).empty());
}

TEST_P(TableProcedures, ReorgRenumbersInIdOrder) {
  const std::vector<Values>& values = Samples();
  for (int i = 0; i < 5; ++i) ASSERT_EQ(Append(values[i % values.size()]), i + 1);
  ASSERT_TRUE(Execute(dbc(), "EXECUTE [" + Proc("up_Del_") + "] 2"));
  ASSERT_TRUE(Execute(dbc(), "EXECUTE [" + Proc("up_Del_") + "] 4"));
  ASSERT_TRUE(Execute(dbc(), "EXECUTE [" + Proc("up_Reorg_") + "] 1,1"));
  EXPECT_EQ(Ints("SELECT RecId FROM " + Table() + " ORDER BY RecId"), (std::vector<int64_t>{1, 2, 3}));
  const std::size_t old_index[] = {0, 2, 4};
  for (int id = 1; id <= 3; ++id) {
    SCOPED_TRACE("record " + std::to_string(id));
    const auto row = Sel(id);
    ASSERT_EQ(row.size(), 1u);
    EXPECT_TRUE(RowMatches(*td_, row[0], 0, values[old_index[id - 1] % values.size()]));
  }
  EXPECT_EQ(Append(values[0]), 4);
}

INSTANTIATE_TEST_SUITE_P(Samples, TableProcedures,
                         ::testing::Values(AllSampleNames()[0], AllSampleNames()[1], AllSampleNames()[3]),
                         [](const ::testing::TestParamInfo<SampleNames>& p) { return p.param.sample; });

TEST_F(ScriptTest, TrSelJoinsTrimmedTextFieldsOfPositiveIds) {
  const auto td = CreateSample("kunde");
  const auto& values = AppendValues().at("kunde");
  for (const Values& v : values) {
    ASSERT_EQ(QueryRows(dbc(), ExecuteWithMarkers("up_Append_KUNDE", *td), FieldParams(*td, v)).size(), 1u);
  }
  ASSERT_TRUE(Execute(dbc(), "INSERT INTO [dbo].[ut_KUNDE] (RecId, NAME) VALUES (0, 'zero')"));
  ASSERT_TRUE(Execute(dbc(), "INSERT INTO [dbo].[ut_KUNDE] (RecId, NAME) VALUES (-5, 'negative')"));
  EXPECT_EQ(Rows("EXECUTE [up_TrSel_KUNDE]"),
            (std::vector<std::vector<std::string>>{{"1", "muellerBerlinAleading and trailing"},
                                                   {"2", "x"},
                                                   {"3", "O'Briena b cz'quoted' -- not a comment"}}));
}

// Every attempt fails here: each is rolled back, nine waits of 50 ms lie
// between the ten attempts, and the caller gets id 0.
TEST_F(ScriptTest, AppendGivesUpAfterTenFailedAttempts) {
  const auto td = CreateSample("zahlen");
  ASSERT_TRUE(Execute(dbc(), "CREATE UNIQUE INDEX [ux_A] ON [dbo].[ut_ZAHLEN] (A)"));
  const std::string append = ExecuteWithMarkers("up_Append_ZAHLEN", *td);
  EXPECT_EQ(QueryRows(dbc(), append, FieldParams(*td, {"5", "1"})), (std::vector<std::vector<std::string>>{{"1"}}));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(QueryRows(dbc(), append, FieldParams(*td, {"5", "2"})), (std::vector<std::vector<std::string>>{{"0"}}));
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_GE(elapsed, std::chrono::milliseconds(450));
  EXPECT_LT(elapsed, std::chrono::seconds(10));
  EXPECT_EQ(Int("SELECT @@TRANCOUNT"), 0);
  EXPECT_EQ(Ints("SELECT RecId FROM [dbo].[ut_ZAHLEN]"), std::vector<int64_t>{1});
  EXPECT_EQ(Ints("SELECT DataRecId FROM [dbo].[ut_ZAHLEN_Keys]"), std::vector<int64_t>{1});
  EXPECT_EQ(QueryRows(dbc(), append, FieldParams(*td, {"6", "3"})), (std::vector<std::vector<std::string>>{{"2"}}));
}

TEST_F(ScriptTest, TableWithoutFieldsAddsAppendsDeletesAndReorganises) {
  CreateSample("leer");
  EXPECT_EQ(Int("EXECUTE [up_Add_LEER]"), 1);
  EXPECT_EQ(Int("EXECUTE [up_Append_LEER]"), 2);
  EXPECT_EQ(Int("EXECUTE [up_Add_LEER]"), 3);
  EXPECT_EQ(Rows("EXECUTE [up_Sel2_LEER] '2'"), (std::vector<std::vector<std::string>>{{"2"}}));
  ASSERT_TRUE(Execute(dbc(), "EXECUTE [up_Del_LEER] 1"));
  ASSERT_TRUE(Execute(dbc(), "EXECUTE [up_Reorg_LEER] 1,1"));
  EXPECT_EQ(Ints("SELECT RecId FROM [dbo].[LEER] ORDER BY RecId"), (std::vector<int64_t>{1, 2}));
}

}  // namespace
}  // namespace scripts
