// Walking tables in key order through the library on sqlsim: the generated
// procedures (direct form, key tables, a tenant's objects) and the plain-SQL
// walk must visit every record once, in the server's order of the key's
// fields and RecId.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/nav_table.h"
#include "records/record_db.h"
#include "schema/key_composition.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace {

using recordtest::QueryIds;
using recordtest::RunScript;
using recordtest::WalkBothWays;
using Ids = std::vector<int32_t>;

// The server's order of the key's columns, forward then backward.
Ids ServerWalk(SQLHDBC dbc, const std::string& table, const std::string& order_by) {
  Ids ids = QueryIds(dbc, "SELECT RecId FROM [" + table + "] ORDER BY " + order_by);
  const size_t n = ids.size();
  for (size_t i = 0; i < n; ++i) ids.push_back(ids[n - 1 - i]);
  return ids;
}

using recordtest::kNavKeys;

class NavigationTest : public recordtest::NavTable {
 protected:
  // Every key's walk both ways is the server's order of it.
  void ExpectServerOrder(size_t rows) {
    for (int k = 0; k < td_->KeyCnt; ++k) {
      SCOPED_TRACE(kNavKeys[k].name);
      const Ids expected = ServerWalk(dbc_, base_, kNavKeys[k].order_by);
      ASSERT_EQ(expected.size(), 2 * rows);
      EXPECT_EQ(WalkBothWays(dbc_, td_.get(), k), expected);
    }
  }
};

TEST_P(NavigationTest, WalksVisitEveryRecordOnceInKeyOrderOnBothPaths) {
  struct Path { const char* what; int32_t enabled; int32_t level; } paths[] = {
      {"procedures", 1, 1}, {"plain, switched off", 0, 1}, {"plain, level 0", 1, 0}};
  for (int oem : {0, 1}) {
    lerv32::OemConvert = oem;
    for (const Path& path : paths) {
      SCOPED_TRACE(std::string(path.what) + " oem " + std::to_string(oem));
      lerv32::ExSQL_Enabled = path.enabled;
      td_->ExLevel = path.level;
      ExpectServerOrder(9);
      EXPECT_EQ(WalkBothWays(dbc_, td_.get(), -1), (Ids{2, 3, 5, 6, 9, 10, 12, 14, 20, 20, 14, 12, 10, 9, 6, 5, 3, 2}));
    }
  }
}

TEST_P(NavigationTest, StatementsAreTheLibrarysAKeyBeyondTheLastSendsNoneAGoneRecordEnds) {
  lerv32::ExSQL_Enabled = 1;
  td_->ExLevel = 1;
  EXPECT_NE(rv_OdbcNextRecId(dbc_, td_.get(), 0, 3), 0);
  td_->ExLevel = 0;
  EXPECT_EQ(rv_OdbcNextRecId(dbc_, td_.get(), 0, 20), 0) << "the A umlaut sorts last";
  EXPECT_EQ(rv_OdbcFirstRecId(dbc_, td_.get(), 1), 5);
  const std::string before = Trace();
  for (int32_t key : {td_->KeyCnt, 16, 1000}) {
    EXPECT_EQ(rv_OdbcFirstRecId(dbc_, td_.get(), key), 0);
    EXPECT_EQ(rv_OdbcLastRecId(dbc_, td_.get(), key), 0);
    EXPECT_EQ(rv_OdbcNextRecId(dbc_, td_.get(), key, 3), 0);
    EXPECT_EQ(rv_OdbcPriorRecId(dbc_, td_.get(), key, 3), 0);
  }
  EXPECT_EQ(Trace(), before) << "no statement for a key beyond the last";
  // The step walk from the last record: same key and a higher RecId, then a
  // higher name, each against the current row's own values.
  const std::string from = "SELECT TOP 1 t.RecId FROM [" + base_ + "] t,[" + base_ + "] c WHERE c.RecId = 20 AND ";
  for (const std::string& statement :
       {"EXECUTE [up_Next_" + base_ + "_NAME_KEY] 3",
        from + "(t.[NAME] = c.[NAME] OR (t.[NAME] IS NULL AND c.[NAME] IS NULL)) AND t.RecId > c.RecId"
               " ORDER BY t.[NAME],t.RecId",
        from + "(t.[NAME] > c.[NAME] OR (c.[NAME] IS NULL AND t.[NAME] IS NOT NULL)) ORDER BY t.[NAME],t.RecId",
        "SELECT TOP 1 RecId FROM [" + base_ + "] ORDER BY [DATUM],[PLZ],[NR],RecId"}) {
    EXPECT_NE(before.find("EXECUTE\t" + statement + "\n"), std::string::npos) << statement;
  }
  // A record that is gone ends the plain walk quietly.
  lerv32::ExSQL_Enabled = 0;
  lerv32::Display_Errors = 0;
  EXPECT_EQ(rv_OdbcNextRecId(dbc_, td_.get(), 0, 4711), 0);
  EXPECT_EQ(rv_OdbcPriorRecId(dbc_, td_.get(), 2, 4711), 0);
  EXPECT_EQ(Events(), "");
  // A key of the most fields there are (all NAME) walks as NAME alone; one
  // field more is no key.
  const int32_t first = rv_OdbcFirstRecId(dbc_, td_.get(), 0);
  const int32_t second = rv_OdbcNextRecId(dbc_, td_.get(), 0, first);
  td_->Keys[0].TokenCnt = LERV32_MAX_KEY_FIELDS;
  for (int i = 1; i < LERV32_MAX_KEY_FIELDS; ++i) td_->Keys[0].TokenFieldNo[i] = td_->Keys[0].TokenFieldNo[0];
  EXPECT_EQ(rv_OdbcFirstRecId(dbc_, td_.get(), 0), first);
  EXPECT_EQ(rv_OdbcNextRecId(dbc_, td_.get(), 0, first), second);
  td_->Keys[0].TokenCnt = LERV32_MAX_KEY_FIELDS + 1;
  EXPECT_EQ(rv_OdbcFirstRecId(dbc_, td_.get(), 0), 0);
}

// The prepared walk: the same order, and not one statement text prepared or
// sent beyond the set's own.
TEST_P(NavigationTest, PreparedWalkSendsNoNewStatementText) {
  lerv32::ExSQL_Enabled = 1;
  td_->ExLevel = 2;
  rv_OdbcPrepareAll(td_.get(), dbc_);
  ASSERT_NE(rv_GetSqlRecPtr(td_.get()), nullptr);
  std::vector<Ids> expected;
  for (int k = 0; k < td_->KeyCnt; ++k) expected.push_back(ServerWalk(dbc_, base_, kNavKeys[k].order_by));
  const std::string before = Trace();
  for (int k = 0; k < td_->KeyCnt; ++k) {
    EXPECT_EQ(WalkBothWays(dbc_, td_.get(), k, recordtest::kPreparedWalk), expected[static_cast<size_t>(k)])
        << kNavKeys[k].name;
  }
  const std::string sent = Trace().substr(before.size());
  EXPECT_EQ(recordtest::Count(sent, "PREPARE\t"), 0u) << sent;
  EXPECT_EQ(recordtest::Count(sent, "EXECUTE\tEXECUTE [up_"), recordtest::Count(sent, "EXECUTE\t")) << sent;
  EXPECT_EQ(recordtest::Count(sent, "EXECUTE\tEXECUTE [up_Next_" + base_ + "_NAME_KEY] ?\t"), 9u);
}

// Pages of fifty: 120 records give 50, 50 and 19 following the first and
// preceding the last, the server's order page by page, on every form and
// whatever the switches say; no entry beyond the count is written.
TEST_P(NavigationTest, PagesOfFiftyFollowTheKeysOrder) {
  std::string rows = " (RecId, NAME, PLZ) VALUES (100, 'N100', 100)";
  for (int i = 101; i < 211; ++i) rows += ", (" + std::to_string(i) + ", 'N" + std::to_string(i % 7) + "', 5)";
  ASSERT_TRUE(RunScript(dbc_, "INSERT INTO [" + base_ + "]" + rows + "\r\n"));
  for (int32_t enabled : {1, 0}) {
    lerv32::ExSQL_Enabled = enabled;
    for (int k : {0, 1}) {
      const Ids server = QueryIds(dbc_, "SELECT RecId FROM [" + base_ + "] ORDER BY " + kNavKeys[k].order_by);
      ASSERT_EQ(server.size(), 120u);
      for (bool prior : {false, true}) {
        SCOPED_TRACE(std::string(kNavKeys[k].name) + (prior ? " backward" : " forward") + (enabled ? "" : " plain"));
        Ids walked, counts;
        int32_t from = prior ? server.back() : server.front();
        for (int32_t count = -1; count != 0 && counts.size() < 5;) {
          Ids page(60, -7);
          count = rv_OdbcPrevNext50(dbc_, td_.get(), from, page.data(), prior, k);
          counts.push_back(count);
          ASSERT_TRUE(count >= 0 && count <= 50);
          EXPECT_EQ(Ids(page.begin() + count, page.end()), Ids(60 - static_cast<size_t>(count), -7));
          walked.insert(walked.end(), page.begin(), page.begin() + count);
          if (count > 0) from = page[static_cast<size_t>(count) - 1];
        }
        EXPECT_EQ(counts, (Ids{50, 50, 19, 0}));
        Ids expected(server.begin() + 1, server.end());
        if (prior) expected.assign(server.rbegin() + 1, server.rend());
        EXPECT_EQ(walked, expected);
      }
    }
  }
  // Keys outside the table's and a null page send nothing.
  const std::string before = Trace();
  Ids page(50, -7);
  for (int32_t key : {-1, td_->KeyCnt, 16}) EXPECT_EQ(rv_OdbcPrevNext50(dbc_, td_.get(), 3, page.data(), 0, key), 0);
  EXPECT_EQ(rv_OdbcPrevNext50(dbc_, td_.get(), 3, nullptr, 0, 0), 0);
  EXPECT_EQ(rv_OdbcPrevNext50(nullptr, td_.get(), 3, page.data(), 0, 0), 0);
  EXPECT_EQ(rv_OdbcPrevNext50(dbc_, nullptr, 3, page.data(), 0, 0), 0);
  EXPECT_EQ(Trace(), before);
  EXPECT_EQ(page, Ids(50, -7));
  // The key tables' page is one statement.
  if (GetParam() == recordtest::kKeyTables) {
    EXPECT_EQ(rv_OdbcPrevNext50(dbc_, td_.get(), 3, page.data(), 0, 0), 50);
    EXPECT_TRUE(Traced("EXECUTE [up_Next50_NAV_NAME_KEY] 3"));
  }
}

// Rows another program wrote with NULL in key columns, which the table's
// columns allow: the server sorts NULL first, and the plain walk must visit
// them as it sorts them.
TEST_P(NavigationTest, KeysHoldingNullAreWalkedInTheServersOrder) {
  if (GetParam() == recordtest::kKeyTables) GTEST_SKIP() << "key tables compose keys as text, never NULL";
  ASSERT_TRUE(RunScript(dbc_, "INSERT INTO [" + base_ + "] (RecId, NAME, ORT, DATUM, PLZ, NR, WERT) VALUES (30, NULL, "
                              "'Bonn', NULL, 53111, NULL, NULL), (31, 'Meier', NULL, '2020-05-01', NULL, 7, 1.2)\r\n"));
  lerv32::ExSQL_Enabled = 0;
  ExpectServerOrder(11);
}

INSTANTIATE_TEST_SUITE_P(Forms, NavigationTest,
                         ::testing::Values(recordtest::kDirect, recordtest::kKeyTables, recordtest::kTenant),
                         recordtest::NavFormName);

class NumberKeyNavigationTest : public ::testing::Test, public recordtest::RecordDb {};

// Keys over binary, COBOL and text numbers, dates and text in key tables:
// both signs, zero, the widest values and fractions walk in value order on
// the procedure path as on the plain one, and the key table holds what the
// client composes.
TEST_F(NumberKeyNavigationTest, KeyTablesWalkNumbersAndDatesInValueOrder) {
  lerv32::ApplyDefinitionLines(td_.get(), {"ALIAS=ZAHL", "EXLEVEL=1", "USEKEYTAB=1", "FIELD=L,l", "FIELD=S,s",
                                           "FIELD=B,b", "FIELD=X,x,4", "FIELD=D,d,0,2", "FIELD=O,o", "FIELD=P,n,4,2",
                                           "FIELD=N,N,6,2", "FIELD=T,C,5", "KEY=L_KEY,L", "KEY=S_KEY,S", "KEY=B_KEY,B",
                                           "KEY=X_KEY,X", "KEY=D_KEY,D", "KEY=O_KEY,O", "KEY=P_KEY,P", "KEY=N_KEY,N",
                                           "KEY=T_KEY,T"});
  // N and T are record texts as they stand (T in OEM, a zero byte ending
  // it); the two amounts of D lie just below a rounding boundary.
  const std::vector<std::vector<std::string>> rows = {
      {"10", "-300", "0", "-7", "1234567.5", "1999-12-31", "-12.5", "-10.00", std::string("AB\0CD", 5)},
      {"9", "9", "255", "2147483647", "-1234567.5", "2020-01-02", "99.99", "1.50  ", "AB   "},
      {"-2147483648", "-32768", "10", "-2147483648", "0.25", "1900-01-02", "-99.99", " 1.555", "\x9c    "},
      {"0", "32767", "9", "0", "-0.75", "2099-12-31", "0", "    -0", "AA   "},
      {"-1", "0", "100", "9", "100000000000000", "2000-02-29", "0.01", "  2.00", "B    "},
      {"2147483647", "-1", "1", "-1", "0", "1999-12-30", "-0.01", " -1.50", "AC   "},
      {"5", "5", "5", "5", "0.05499999999999999", "2001-01-01", "1", "  1.49", "C    "},
      {"6", "6", "6", "6", "0.16499999999999998", "2001-01-02", "2", "  0.01", "ZZ   "},
  };
  SQLHDBC dbc = Connect("zahl");
  ASSERT_NE(dbc, nullptr);
  ASSERT_EQ(rv_CreateTable(dbc, td_.get(), 1, nullptr), 1);
  lerv32::ExSQL_Enabled = 1;
  lerv32::OemConvert = 1;
  td_->AppendEx = 1;
  std::vector<std::vector<char>> records;
  for (const std::vector<std::string>& row : rows) {
    records.push_back(Blank('\0'));
    for (int32_t f = 0; f < td_->FieldCnt; ++f) rv_FieldFromString(td_.get(), f, records.back().data(), row[f].c_str());
    for (int32_t f : {7, 8}) std::memcpy(records.back().data() + td_->Fields[f].Offset, row[f].data(), row[f].size());
    EXPECT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), records.back().data()), static_cast<int32_t>(records.size()));
  }
  for (int32_t k = 0; k < td_->KeyCnt; ++k) {
    const FieldDef& field = td_->Fields[k];
    SCOPED_TRACE(field.Name);
    const Ids expected = ServerWalk(dbc, "ZAHL", std::string("[") + field.Name + "], RecId");
    ASSERT_EQ(expected.size(), 2 * rows.size());
    for (int32_t enabled : {1, 0}) {
      lerv32::ExSQL_Enabled = enabled;
      EXPECT_EQ(WalkBothWays(dbc, td_.get(), k), expected) << (enabled ? "procedures" : "plain");
    }
    for (size_t r = 0; r < records.size(); ++r) {
      const std::string sql = std::string("SELECT ") + field.Name + "_KEY_Value FROM ut_ZAHL_Keys WHERE DataRecId = " +
                              std::to_string(r + 1);
      EXPECT_EQ(recordtest::QueryText(dbc, sql).substr(0, static_cast<size_t>(lerv32::KeyPartWidth(field))),
                lerv32::KeyPartText(field, records[r].data() + field.Offset))
          << r + 1;
    }
  }
}

}  // namespace
