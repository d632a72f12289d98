// The key tables follow every change of the data table: the composed values
// and filter flags are compared with values computed here.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tests/sqlsim/scripts/field_values.h"
#include "tests/sqlsim/scripts/key_values.h"
#include "tests/sqlsim/scripts/script_runner.h"

namespace scripts {
namespace {

using Rowset = std::vector<std::vector<std::string>>;

// Row by row, so that a difference shows without the rows around it.
void ExpectSameRows(const Rowset& actual, const Rowset& expected, const std::string& after) {
  EXPECT_EQ(actual.size(), expected.size()) << "key rows after " << after;
  for (std::size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
    EXPECT_EQ(actual[i], expected[i]) << "key row " << i + 1 << " after " << after;
  }
}

TEST(KeyValues, ServerTextFormsComputedLocally) {
  struct Case {
    std::string actual;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {Str(123.45, 6, 1), " 123.5"},       {Str(123.45, 2, 2), "**"},
      {Str(1234567.89, 7, 2), "1234568"},  {Str(-1.5, 9, 2), "    -1.50"},
      {Str(7, 10, 0), "         7"},       {Str(1234567890.0, 9, 2), "*********"},
      {TextAsChar("abcdef", 3), "abc"},
      {TextAsChar("ab", 4), "ab  "},       {Str(999999.99, 9, 2), "999999.99"},
      {Str(-0.5, 5, 1), " -0.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
}

class ArtikelKeys : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    if (HasFatalFailure()) return;
    td_ = CreateSample("artikel");
    ASSERT_FALSE(HasFailure()) << "the create script did not run";
  }
  void Append(const Artikel& r) {
    const std::vector<std::string> values = {r.artnr, r.bez, Fixed(r.preis), std::to_string(r.lager),
                                             r.seit + " 00:00:00", r.status};
    const Rowset rows = QueryRows(dbc(), ExecuteWithMarkers("up_Append_M01_ARTIKEL", *td_), FieldParams(*td_, values));
    ASSERT_EQ(rows.size(), 1u);
    const int64_t id = std::stoll(rows[0][0]);
    ASSERT_EQ(model_.count(id), 0u) << "id " << id << " handed out twice";
    model_[id] = r;
  }
  static std::string Fixed(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
  }
  void ExpectKeyRows(const std::string& after) {
    ExpectSameRows(Rows(std::string("SELECT ") + kArtikelKeyColumns + " FROM [dbo].[M01$ARTIKEL_Keys] ORDER BY DataRecId"),
                   ArtikelKeyRows(model_), after);
  }

  testenv::TableDefPtr td_;
  std::map<int64_t, Artikel> model_;
};

TEST_F(ArtikelKeys, ValuesAndFiltersFollowEveryChange) {
  // Filter of BEZ_KEY: STATUS 'A' and stock not negative; of PREIS_KEY:
  // stock exactly 1 or a description starting with X (either case).
  Append({"a-100", "schraube m4", 0.99, 100, "2023-05-01", "A"});
  Append({"B-7", "xylophon", -1.5, -5, "1999-12-31", "a"});
  Append({"c", "Zange", 1234567890.0, 1, "2100-02-28", "B"});
  Append({"d 4", "x", 999999.99, 0, "1753-01-01", "A"});
  ExpectKeyRows("up_Append_");

  ASSERT_EQ(Int("EXECUTE [up_Add_M01_ARTIKEL]"), 5);
  model_[5] = Artikel{};
  ExpectKeyRows("up_Add_");

  ASSERT_TRUE(Execute(dbc(), "UPDATE [dbo].[M01_ARTIKEL] SET BEZ = 'Xenon', LAGER = 1 WHERE RecId = 2"));
  model_[2].bez = "Xenon";
  model_[2].lager = 1;
  ExpectKeyRows("UPDATE through the view");

  ASSERT_TRUE(Execute(dbc(), "UPDATE [dbo].[M01$ARTIKEL] SET STATUS = 'A', PREIS = 5 WHERE RecId IN (1, 3)"));
  for (int64_t id : {1, 3}) {
    model_[id].status = "A";
    model_[id].preis = 5;
  }
  ExpectKeyRows("UPDATE of two rows through the table");

  // The tenant is set: a changed MandId is no re-key, DataMandId stays 1.
  ASSERT_TRUE(Execute(dbc(), "UPDATE [dbo].[M01$ARTIKEL] SET MandId = 7 WHERE RecId = 1"));
  ExpectKeyRows("UPDATE of MandId");

  ASSERT_TRUE(Execute(dbc(), "DELETE FROM [dbo].[M01$ARTIKEL] WHERE RecId = 4"));
  model_.erase(4);
  ExpectKeyRows("DELETE");

  ASSERT_TRUE(Execute(dbc(), "EXECUTE [up_Del_M01_ARTIKEL] 2"));
  model_.erase(2);
  ExpectKeyRows("up_Del_");

  ASSERT_TRUE(Execute(dbc(), "EXECUTE [up_Reorg_M01_ARTIKEL] 1,1"));
  model_ = {{1, model_[1]}, {2, model_[3]}, {3, model_[5]}};
  ExpectKeyRows("up_Reorg_");

  ASSERT_TRUE(Execute(dbc(), "DELETE FROM [dbo].[M01$ARTIKEL_Keys]"));
  ASSERT_TRUE(Execute(dbc(), "UPDATE [dbo].[M01$ARTIKEL] SET RecId = RecId"));
  ExpectKeyRows("the fill statement");

  ASSERT_TRUE(RunScript(dbc(), CreateScript(td_.get())));
  ExpectKeyRows("the create script again");
}

TEST_F(ArtikelKeys, UpdAndUpd2RewriteTheKeyRow) {
  Append({"a", "b", 1, 2, "2001-01-01", "A"});
  Append({"k", "l", 3, 4, "2002-02-02", "A"});
  std::vector<Param> params = FieldParams(*td_, {"neu", "xaver", "12.25", "-1", "2020-06-30 00:00:00", "A"});
  params.insert(params.begin(), Param{"1", SQL_INTEGER, 10, 0, false});
  EXPECT_TRUE(QueryRows(dbc(), ExecuteWithMarkers("up_Upd_M01_ARTIKEL", *td_, 1), params).empty());
  model_[1] = {"neu", "xaver", 12.25, -1, "2020-06-30", "A"};
  ExpectKeyRows("up_Upd_");

  std::vector<Param> text = {{"2", SQL_VARCHAR, 20, 0, false}};
  for (const char* v : {"z9", "bohrer", "7,5", "1", "01.03.2024", "a"}) text.push_back({v, SQL_VARCHAR, 255, 0, false});
  EXPECT_EQ(QueryRows(dbc(), ExecuteWithMarkers("up_Upd2_M01_ARTIKEL", *td_, 1), text).size(), 1u);
  model_[2] = {"z9", "BOHRER", 7.5, 1, "2024-03-01", "a"};
  ExpectKeyRows("up_Upd2_");
}

class ZahlenKeys : public ScriptTest {
 protected:
  void SetUp() override {
    ScriptTest::SetUp();
    if (HasFatalFailure()) return;
    td_ = CreateSample("zahlen");
    ASSERT_FALSE(HasFailure()) << "the create script did not run";
  }
  void ExpectKeyRows(const std::string& after) {
    ExpectSameRows(Rows(std::string("SELECT ") + kZahlenKeyColumns + " FROM [dbo].[ut_ZAHLEN_Keys] ORDER BY DataRecId"),
                   ZahlenKeyRows(model_), after);
  }

  testenv::TableDefPtr td_;
  std::map<int64_t, Zahl> model_;
};

TEST_F(ZahlenKeys, IntegersComposedInValueOrder) {
  const std::vector<int64_t> values = {12, -999, 12345, 0, -2147483647};
  for (std::size_t i = 0; i < values.size(); ++i) {
    const Rowset rows = QueryRows(dbc(), ExecuteWithMarkers("up_Append_ZAHLEN", *td_),
                                  FieldParams(*td_, {std::to_string(values[i]), "0.5"}));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], std::to_string(i + 1));
    model_[static_cast<int64_t>(i + 1)] = Zahl{values[i], 0.5, 1};
  }
  ExpectKeyRows("up_Append_");

  // Without a tenant a changed MandId re-keys the row and is kept.
  ASSERT_TRUE(Execute(dbc(), "UPDATE [dbo].[ut_ZAHLEN] SET MandId = 7 WHERE RecId = 2"));
  model_[2].mand_id = 7;
  ExpectKeyRows("UPDATE of MandId");

  ASSERT_TRUE(Execute(dbc(), "UPDATE [dbo].[ZAHLEN] SET A = A + 1"));
  for (auto& [id, r] : model_) r.a += 1;
  ExpectKeyRows("UPDATE of every row through the view");

  ASSERT_TRUE(Execute(dbc(), "EXECUTE [up_Del_ZAHLEN] 1"));
  ASSERT_TRUE(Execute(dbc(), "EXECUTE [up_Reorg_ZAHLEN] 1,1"));
  model_ = {{1, model_[2]}, {2, model_[3]}, {3, model_[4]}, {4, model_[5]}};
  ExpectKeyRows("up_Reorg_");
  EXPECT_EQ(Ints("SELECT MandId FROM [dbo].[ut_ZAHLEN] ORDER BY RecId"), (std::vector<int64_t>{7, 1, 1, 1}));
}

}  // namespace
}  // namespace scripts
