// The key tables follow every change of the data table through the
// triggers: composed values and filter flags, row by row, after each step.
#include <gtest/gtest.h>

#include <map>

#include "tests/sqlsim/scripts/script_fixture.h"

namespace scripts {
namespace {

using KeyRows = std::map<int, Row>;

std::string Id(int id) {
  const std::string digits = std::to_string(id);
  return std::string(10 - digits.size(), ' ') + digits;
}

std::string Pad(const std::string& text, std::size_t width) { return text + std::string(width - text.size(), ' '); }

// A key row of artikel, text given upper-cased: ARTNR_KEY, BEZ_KEY and its
// filter (STATUS 'A' and stock not negative), SEIT_KEY, PREIS_KEY and its
// filter (stock 1 or BEZ starting with X); PREIS as '1' and the bits of the
// double in hexadecimal, below zero '0' and the bits of its negation inverted.
Row Artikel(int id, const std::string& artnr, const std::string& bez, const std::string& seit, const char* bez_filter,
            const std::string& preis, const char* preis_filter) {
  return {std::to_string(id), "1",        Pad(artnr, 10) + Id(id), bez_filter, Pad(bez, 30) + Pad(artnr, 10) + Id(id),
          seit + Id(id),      preis_filter, preis + Id(id)};
}

class KeyTablesTest : public ScriptTest {
 protected:
  void Expect(const std::string& table, const char* columns, const std::string& after) {
    Rowset expected;
    for (const auto& entry : keys_) expected.push_back(entry.second);
    EXPECT_EQ(Rows(std::string("SELECT ") + columns + " FROM [dbo].[" + table + "] ORDER BY DataRecId"), expected)
        << after;
  }
  KeyRows keys_;
};

TEST_F(KeyTablesTest, ArtikelValuesAndFiltersFollowEveryChange) {
  const char* columns = "DataRecId, DataMandId, ARTNR_KEY_Value, BEZ_KEY_Filter, BEZ_KEY_Value, SEIT_KEY_Value, "
                        "PREIS_KEY_Filter, PREIS_KEY_Value";
  const auto expect = [&](const std::string& after) { Expect("M01$ARTIKEL_Keys", columns, after); };
  const auto td = CreateSample("artikel");
  for (const Row& values : {Row{"a-100", "schraube m4", "0.99", "100", "2023-05-01", "A"},
                            Row{"B-7", "xylophon", "-1.5", "-5", "1999-12-31", "a"},
                            Row{"c", "Zange", "1234567890", "1", "2100-02-28", "B"},
                            Row{"d 4", "x", "999999.99", "0", "1753-01-01", "A"}}) {
    ASSERT_EQ(Call("up_Append_M01_ARTIKEL", values).size(), 1u);
  }
  ASSERT_EQ(Ints("EXECUTE [up_Add_M01_ARTIKEL]"), Ids{5});
  keys_ = {{1, Artikel(1, "A-100", "SCHRAUBE M4", "2023-05-01", "1", "13FEFAE147AE147AE", "0")},
           {2, Artikel(2, "B-7", "XYLOPHON", "1999-12-31", "0", "0C007FFFFFFFFFFFF", "1")},
           {3, Artikel(3, "C", "ZANGE", "2100-02-28", "0", "141D26580B4800000", "1")},
           {4, Artikel(4, "D 4", "X", "1753-01-01", "1", "1412E847FFAE147AE", "1")},
           {5, Artikel(5, "", "", "1900-01-01", "0", "10000000000000000", "0")}};
  expect("up_Append_ and up_Add_");

  ASSERT_TRUE(Run("UPDATE [dbo].[M01_ARTIKEL] SET BEZ = 'Xenon', LAGER = 1 WHERE RecId = 2"));
  keys_[2] = Artikel(2, "B-7", "XENON", "1999-12-31", "1", "0C007FFFFFFFFFFFF", "1");
  expect("UPDATE through the view");
  ASSERT_TRUE(Run("UPDATE [dbo].[M01$ARTIKEL] SET STATUS = 'A', PREIS = 5 WHERE RecId IN (1, 3)"));
  keys_[1] = Artikel(1, "A-100", "SCHRAUBE M4", "2023-05-01", "1", "14014000000000000", "0");
  keys_[3] = Artikel(3, "C", "ZANGE", "2100-02-28", "1", "14014000000000000", "1");
  expect("UPDATE of two rows through the table");
  // The tenant is set: a changed MandId is no re-key, DataMandId stays 1.
  ASSERT_TRUE(Run("UPDATE [dbo].[M01$ARTIKEL] SET MandId = 7 WHERE RecId = 1"));
  expect("UPDATE of MandId");
  ASSERT_TRUE(Run("DELETE FROM [dbo].[M01$ARTIKEL] WHERE RecId = 4"));
  ASSERT_TRUE(Run("EXECUTE [up_Del_M01_ARTIKEL] 2"));
  keys_.erase(4);
  keys_.erase(2);
  expect("DELETE and up_Del_");
  ASSERT_TRUE(Run("EXECUTE [up_Reorg_M01_ARTIKEL] 1,1"));
  keys_ = {{1, keys_[1]},
           {2, Artikel(2, "C", "ZANGE", "2100-02-28", "1", "14014000000000000", "1")},
           {3, Artikel(3, "", "", "1900-01-01", "0", "10000000000000000", "0")}};
  expect("up_Reorg_");
  ASSERT_TRUE(Run("DELETE FROM [dbo].[M01$ARTIKEL_Keys]\r\nUPDATE [dbo].[M01$ARTIKEL] SET RecId = RecId"));
  expect("the fill statement");
  ASSERT_TRUE(Run(CreateScript(td.get())));
  expect("the create script again");

  EXPECT_EQ(Rows("EXECUTE [up_Upd_M01_ARTIKEL] 1,'neu','xaver',12.25,-1,'2020-06-30','A'"), Rowset{});
  keys_[1] = Artikel(1, "NEU", "XAVER", "2020-06-30", "0", "14028800000000000", "1");
  expect("up_Upd_");
  ASSERT_EQ(Call("up_Upd2_M01_ARTIKEL", {"2", "z9", "bohrer", "7,5", "1", "01.03.2024", "a"}).size(), 1u);
  keys_[2] = Artikel(2, "Z9", "BOHRER", "2024-03-01", "1", "1401E000000000000", "1");
  expect("up_Upd2_");
}

// Without a tenant a changed MandId re-keys the row and is kept. A holds
// '1' and ten digits from zero up, '0' and A + 10^10 below zero.
TEST_F(KeyTablesTest, ZahlenIntegersInValueOrder) {
  CreateSample("zahlen");
  const auto expect = [&](const std::string& after) {
    Expect("ut_ZAHLEN_Keys", "DataRecId, DataMandId, A_KEY_Value", after);
  };
  for (const char* a : {"12", "-999", "12345", "0", "-2147483647"}) {
    ASSERT_EQ(Call("up_Append_ZAHLEN", {a, "0.5"}).size(), 1u);
  }
  keys_ = {{1, {"1", "1", "10000000012" + Id(1)}},
           {2, {"2", "1", "09999999001" + Id(2)}}, {3, {"3", "1", "10000012345" + Id(3)}},
           {4, {"4", "1", "10000000000" + Id(4)}},
           {5, {"5", "1", "07852516353" + Id(5)}}};
  expect("up_Append_");
  ASSERT_TRUE(Run("UPDATE [dbo].[ut_ZAHLEN] SET MandId = 7 WHERE RecId = 2"));
  keys_[2][1] = "7";
  expect("UPDATE of MandId");
  ASSERT_TRUE(Run("UPDATE [dbo].[ZAHLEN] SET A = A + 1"));
  keys_ = {{1, {"1", "1", "10000000013" + Id(1)}},
           {2, {"2", "7", "09999999002" + Id(2)}}, {3, {"3", "1", "10000012346" + Id(3)}},
           {4, {"4", "1", "10000000001" + Id(4)}},
           {5, {"5", "1", "07852516354" + Id(5)}}};
  expect("UPDATE of every row through the view");
  ASSERT_TRUE(Run("EXECUTE [up_Del_ZAHLEN] 1\r\nEXECUTE [up_Reorg_ZAHLEN] 1,1"));
  keys_ = {{1, {"1", "7", "09999999002" + Id(1)}},
           {2, {"2", "1", "10000012346" + Id(2)}}, {3, {"3", "1", "10000000001" + Id(3)}},
           {4, {"4", "1", "07852516354" + Id(4)}}};
  expect("up_Reorg_");
  EXPECT_EQ(Ints("SELECT MandId FROM [dbo].[ut_ZAHLEN] ORDER BY RecId"), (Ids{7, 1, 1, 1}));
}

}  // namespace
}  // namespace scripts
