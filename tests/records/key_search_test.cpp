// Key search through the library on sqlsim, on both paths and in every form
// of the navigation table: the first and last match of a search value are
// the first and last row of the server's own ORDER BY of the rows whose key
// starts so.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "platform/win_api.h"
#include "records/key_search.h"
#include "records/nav_table.h"
#include "tabledef/definition_file.h"

namespace {

using recordtest::kNavKeys;
using recordtest::QueryIds;
using Ids = std::vector<int32_t>;

enum Key { kName, kMix, kOrt, kWert };

// The paths a search can take: plain SQL, the procedures, the prepared set.
enum class Path { kPlain, kProcedures, kPrepared };
const char* const kPathNames[] = {", plain", ", procedures", ", prepared"};

// Names holding LIKE's wildcards; the last days of a month, a year and of
// all dates.
const char* const kWildcardRows =
    " (RecId, NAME, ORT, DATUM, PLZ, NR, WERT) VALUES\r\n"
    " (21, 'M_ller', 'Ulm', '2021-01-01', 89073, 1, 3),\r\n"
    " (22, 'Me%ster', 'Ulm', '2021-01-01', 89073, 1, 4),\r\n"
    " (23, 'Me[1]', 'Ulm', '2021-01-01', 89073, 1, 5),\r\n"
    " (24, 'Schalt', 'Ulm', '2020-02-29', 1, 1, 1), (25, 'Silvester', 'Ulm', '2020-12-31', 1, 1, 1),\r\n"
    " (26, 'Ende', 'Ulm', '9999-12-31', 1, 1, 1)\r\n";

// The key's leading fields (text in Windows-1252, as the record holds it
// without OEM conversion) made into a key value of which len bytes count;
// where selects the rows whose key starts so, rows of them.
struct SearchCase {
  const char* what;
  int key;
  std::vector<std::string> values;
  int len;
  const char* where;
  size_t rows;
};

const SearchCase kSearches[] = {
    {"duplicates in any case", kName, {"Meier"}, 12, "NAME = 'Meier'", 3},
    {"prefix in the first field", kName, {"M"}, 1, "NAME LIKE 'M%'", 7},
    {"into the second field", kOrt, {"BONN", "Me"}, 10, "ORT = 'Bonn' AND NAME LIKE 'Me%'", 2},
    {"whole key", kOrt, {"BONN", "Meier"}, 20, "ORT = 'Bonn' AND NAME = 'Meier'", 2},
    {"bytes beyond the key", kName, {"Meier"}, 128, "NAME = 'Meier'", 3},
    {"quote", kName, {"O'B"}, 3, "NAME LIKE 'O''B%'", 1},
    {"underscore", kName, {"M_"}, 2, "NAME LIKE 'M[_]%'", 1},
    {"percent", kName, {"Me%"}, 3, "NAME LIKE 'Me[%]%'", 1},
    {"bracket", kName, {"Me["}, 3, "NAME LIKE 'Me[[]%'", 1},
    {"trailing blank", kName, {"Meier "}, 6, "NAME LIKE 'Meier %'", 3},
    {"umlaut", kName, {"M\xfc"}, 2, "NAME LIKE 'M\xfc%'", 1},
    {"umlaut in an upper-case field", kOrt, {"K\xd6"}, 2, "ORT LIKE 'K\xf6%'", 2},
    {"date", kMix, {"2020-05-01"}, 10, "DATUM = '2020-05-01'", 3},
    {"date and number", kMix, {"2020-05-01", "53111"}, 15, "DATUM = '2020-05-01' AND PLZ = 53111", 2},
    {"date and numbers", kMix, {"2020-05-01", "53111", "7"}, 19, "DATUM = '2020-05-01' AND PLZ = 53111 AND NR = 7", 2},
    {"empty date", kMix, {""}, 10, "DATUM = '1900-01-01'", 1},
    {"leap day", kMix, {"2020-02-29"}, 10, "DATUM = '2020-02-29'", 1},
    {"new year's eve", kMix, {"2020-12-31"}, 10, "DATUM = '2020-12-31'", 1},
    {"the last day", kMix, {"9999-12-31"}, 10, "DATUM = '9999-12-31'", 1},
    {"fraction", kWert, {"1.4"}, 8, "WERT = 1.4", 2},
    {"negative", kWert, {"-1.2"}, 8, "WERT = -1.2", 1},
    {"another tenant's row", kName, {"fremd"}, 12, "NAME = 'fremd'", 0},
};

class KeySearchTest : public recordtest::NavTable {
 protected:
  void SetUp() override {
    NavTable::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(recordtest::RunScript(dbc_, "INSERT INTO [" + base_ + "]" + kWildcardRows));
  }
  // The case's key value, in OEM when OemConvert is on, blanks behind it.
  std::vector<char> Value(const SearchCase& c) const {
    std::vector<char> record = Blank();
    for (size_t i = 0; i < c.values.size(); ++i) {
      const int f = td_->Keys[c.key].TokenFieldNo[i];
      const FieldDef& field = td_->Fields[f];
      std::string text = c.values[i];
      if (lerv32::OemConvert != 0) CharToOemA(text.c_str(), &text[0]);
      if (field.Type == 'C' || field.Type == 'u') {
        std::memcpy(record.data() + field.Offset, text.data(), std::min<size_t>(text.size(), field.Len));
      } else {
        EXPECT_EQ(rv_FieldFromString(td_.get(), f, record.data(), text.c_str()), 1) << text;
      }
    }
    std::vector<char> value(record.size() + 200, ' ');
    value[static_cast<size_t>(rv_MakeKeyFromRecord(td_.get(), c.key, record.data(), value.data()))] = ' ';
    return value;
  }
  std::string Named(std::string text) const {
    for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s")) text.replace(at, 2, base_);
    return text;
  }
  void Use(Path path) {
    lerv32::ExSQL_Enabled = path == Path::kPlain ? 0 : 1;
    td_->ExLevel = path == Path::kPrepared ? 2 : 1;
    rv_OdbcPrepareAll(td_.get(), dbc_);
    ASSERT_EQ(rv_GetSqlRecPtr(td_.get()) != nullptr, path == Path::kPrepared);
    path_ = path;
  }
  int32_t First(int key, const char* value, int32_t len) {
    return path_ == Path::kPrepared ? rv_OdbcFindFirstRecIdEx(dbc_, td_.get(), key, value, len)
                                    : rv_OdbcFindFirstRecId(dbc_, td_.get(), key, value, len);
  }
  int32_t Last(int key, const char* value, int32_t len) {
    return path_ == Path::kPrepared ? rv_OdbcFindLastRecIdEx(dbc_, td_.get(), key, value, len)
                                    : rv_OdbcFindLastRecId(dbc_, td_.get(), key, value, len);
  }
  Path path_ = Path::kPlain;
};

TEST_P(KeySearchTest, FirstAndLastMatchAreTheServersOnEveryPath) {
  for (int32_t oem : {0, 1}) {
    for (Path path : {Path::kProcedures, Path::kPlain, Path::kPrepared}) {
      lerv32::OemConvert = oem;
      Use(path);
      for (const SearchCase& c : kSearches) {
        SCOPED_TRACE(std::string(c.what) + kPathNames[static_cast<int>(path)] + (oem ? ", OEM" : ""));
        const Ids ids = QueryIds(dbc_, "SELECT RecId FROM [" + base_ + "] WHERE " + c.where + " ORDER BY " +
                                           kNavKeys[c.key].order_by);
        ASSERT_EQ(ids.size(), c.rows);
        const std::vector<char> value = Value(c);
        EXPECT_EQ(First(c.key, value.data(), c.len), ids.empty() ? 0 : ids.front());
        EXPECT_EQ(Last(c.key, value.data(), c.len), ids.empty() ? 0 : ids.back());
      }
    }
  }
}

// The procedures get what their form compares: with key tables the composed
// value and its length; the direct form text fields only, at their places.
// What they cannot compare is searched plain.
TEST_P(KeySearchTest, ProceduresGetWhatTheirFormCompares) {
  struct Sent { size_t search; const char* direct; const char* key_tables; } sent[] = {
      {2, "EXECUTE [up_FindF_%s_ORT_KEY] ?,10\t'BONN    Me'", "EXECUTE [up_FindF_%s_ORT_KEY] ?,10\t'BONN    Me'"},
      {14,
       "SELECT TOP 1 RecId FROM [%s] WHERE [DATUM] >= CONVERT(DATETIME,'2020-05-01',120) AND [DATUM] < "
       "CONVERT(DATETIME,'2020-05-02',120) AND [PLZ] = ? AND [NR] = ? ORDER BY [DATUM],[PLZ],[NR],RecId",
       "EXECUTE [up_FindF_%s_MIX_KEY] ?,27\t'2020-05-0115311110000000007'"},
      {6, "EXECUTE [up_FindF_%s_NAME_KEY] ?,2\t'M_'",
       "SELECT TOP 1 RecId FROM [%s] WHERE [NAME] LIKE 'M!_%' ESCAPE '!' ORDER BY [NAME],RecId"},
  };
  lerv32::ExSQL_Enabled = 1;
  for (const Sent& s : sent) {
    const SearchCase& c = kSearches[s.search];
    EXPECT_NE(rv_OdbcFindFirstRecId(dbc_, td_.get(), c.key, Value(c).data(), c.len), 0) << c.what;
    const std::string statement = Named(GetParam() == recordtest::kKeyTables ? s.key_tables : s.direct);
    EXPECT_TRUE(Traced(statement)) << statement;
  }
}

TEST_P(KeySearchTest, ValuesTheSearchCannotUseGiveZeroAndSendNothing) {
  struct Guard { const char* what; int key; int32_t len; bool null_value; bool procedures_only; } guards[] = {
      {"RecId order", -1, 5, false, false},
      {"key count", 4, 5, false, false},
      {"key 16", 16, 5, false, false},
      {"len -1", kName, -1, false, false},
      {"len 0", kName, 0, false, false},
      {"null value", kName, 5, true, false},
      {"value ending inside a number", kMix, 12, false, false},
      {"beyond the procedures' parameter", kName, 129, false, true},
  };
  const std::vector<char> value = Value(kSearches[0]);
  for (Path path : {Path::kProcedures, Path::kPlain, Path::kPrepared}) {
    Use(path);
    for (const Guard& g : guards) {
      if (g.procedures_only && path == Path::kPlain) continue;
      SCOPED_TRACE(std::string(g.what) + kPathNames[static_cast<int>(path)]);
      const std::string before = Trace();
      const char* v = g.null_value ? nullptr : value.data();
      EXPECT_EQ(First(g.key, v, g.len), 0);
      EXPECT_EQ(Last(g.key, v, g.len), 0);
      EXPECT_EQ(Trace().substr(before.size()), "") << "statements sent";
    }
  }
  Use(Path::kPlain);
  // A key of no fields covers nothing of the value: no match, no statement.
  const uint8_t fields = td_->Keys[kName].TokenCnt;
  td_->Keys[kName].TokenCnt = 0;
  const std::string before = Trace();
  EXPECT_EQ(First(kName, value.data(), 5), 0);
  EXPECT_EQ(Trace().substr(before.size()), "");
  td_->Keys[kName].TokenCnt = fields;
  // The plain path has no width: the bytes beyond the key do not count.
  EXPECT_EQ(rv_OdbcFindFirstRecId(dbc_, td_.get(), kName, value.data(), 129), 3);
  EXPECT_EQ(rv_OdbcQfwSearch(1, 2, 3, 4, 5), 0);
  EXPECT_EQ(rv_OdbcQfwReorg(nullptr, nullptr), 1);
  EXPECT_EQ(rv_OdbcQfwReorg(dbc_, td_.get()), 1);
  EXPECT_EQ(QueryIds(dbc_, "SELECT RecId FROM [" + base_ + "] ORDER BY RecId"),
            (Ids{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
}

// Where the forms could part: a key filter (the plain search and walk see
// only the rows that pass it, as the procedures do), a composed value wider
// than the procedures' parameter (searched plain), a date with a time of day
// another program wrote (found by its day; within the day each path keeps
// the order its walk has: the key table's by the composed value, the plain
// one by the column's).
class KeyPathsAgree : public ::testing::Test, public recordtest::RecordDb {
 protected:
  SQLHDBC Make(std::vector<std::string> lines, const std::string& rows) {
    lerv32::ApplyDefinitionLines(td_.get(), lines);
    SQLHDBC dbc = Connect("agree");
    EXPECT_EQ(rv_CreateTable(dbc, td_.get(), 1, nullptr), 1);
    EXPECT_TRUE(recordtest::RunScript(dbc, "INSERT INTO [" + std::string(td_->TableName) + "]" + rows));
    return dbc;
  }
  // The key of a record as read back, blanks behind it.
  std::vector<char> KeyOf(SQLHDBC dbc, int32_t rec_id) {
    const std::vector<char> record = Read(dbc, rec_id);
    std::vector<char> value(record.size() + 300, ' ');
    key_size_ = rv_MakeKeyFromRecord(td_.get(), 0, record.data(), value.data());
    value[static_cast<size_t>(key_size_)] = ' ';
    return value;
  }
  int32_t key_size_ = 0;
};

TEST_F(KeyPathsAgree, KeyFilterOnEveryPath) {
  SQLHDBC dbc = Make({"ALIAS=FLT", "EXLEVEL=1", "USEKEYTAB=1", "FIELD=NAME,C,12", "FIELD=AKTIV,l",
                      "KEY=AKT_KEY,NAME;AKTIV = 1"},
                     " (RecId, NAME, AKTIV) VALUES (1, 'Ma', 0), (2, 'Mb_1', 1), (3, 'Mc', 0), (4, 'Md', 1),"
                     " (5, 'Me%', 0), (6, 'Me%', 1), (7, 'A', NULL)\r\n");
  ASSERT_NE(dbc, nullptr);
  struct Case { const char* value; int32_t first, last; } cases[] = {
      {"M", 2, 6}, {"Mb_", 2, 2}, {"M_", 0, 0}, {"Mc", 0, 0}, {"Me%", 6, 6}, {"A", 0, 0}};
  for (int32_t enabled : {1, 0}) {
    lerv32::ExSQL_Enabled = enabled;
    SCOPED_TRACE(enabled ? "procedures" : "plain");
    for (const Case& c : cases) {
      const std::string v = c.value + std::string(20, ' ');
      const int len = static_cast<int>(std::strlen(c.value));
      EXPECT_EQ(rv_OdbcFindFirstRecId(dbc, td_.get(), 0, v.data(), len), c.first) << c.value;
      EXPECT_EQ(rv_OdbcFindLastRecId(dbc, td_.get(), 0, v.data(), len), c.last) << c.value;
    }
    EXPECT_EQ(recordtest::WalkBothWays(dbc, td_.get(), 0), (Ids{2, 4, 6, 6, 4, 2}));
    // A record that fails the filter still places the step.
    EXPECT_EQ(rv_OdbcNextRecId(dbc, td_.get(), 0, 3), 4);
    EXPECT_EQ(rv_OdbcPriorRecId(dbc, td_.get(), 0, 5), 4);
  }
}

TEST_F(KeyPathsAgree, ComposedValueWiderThanTheParameter) {
  // 116 bytes of value compose to 134 characters; row 3 differs from the
  // others only in the last bits of B, beyond the 128th character.
  SQLHDBC dbc = Make({"ALIAS=WIDE", "EXLEVEL=1", "USEKEYTAB=1", "FIELD=T,C,100", "FIELD=A,d", "FIELD=B,d",
                      "KEY=K,T,A,B"},
                     " (RecId, B) VALUES (1, 1), (2, 1), (3, 1.0000000000000002)\r\n");
  ASSERT_NE(dbc, nullptr);
  const std::vector<char> value = KeyOf(dbc, 1);
  ASSERT_EQ(key_size_, 116);
  for (int32_t enabled : {1, 0}) {
    lerv32::ExSQL_Enabled = enabled;
    SCOPED_TRACE(enabled ? "procedures" : "plain");
    EXPECT_EQ(rv_OdbcFindFirstRecId(dbc, td_.get(), 0, value.data(), key_size_), 1);
    EXPECT_EQ(rv_OdbcFindLastRecId(dbc, td_.get(), 0, value.data(), key_size_), 2);
  }
}

TEST_F(KeyPathsAgree, DateWithATimeOfDayIsFoundByItsDay) {
  for (int key_table : {0, 1}) {
    td_ = testenv::NewTableDef();
    std::vector<std::string> lines = {"ALIAS=DT" + std::to_string(key_table), "EXLEVEL=1", "FIELD=DA,D",
                                      "FIELD=T,C,4", "KEY=DT_KEY,DA,T"};
    if (key_table) lines.push_back("USEKEYTAB=1");
    SQLHDBC dbc = Make(lines, " (RecId, DA, T) VALUES (1, '2020-05-01 23:00', 'a'), (2, '2020-05-01 01:00', 'a'),"
                              " (3, '2020-05-01', 'b'), (4, '2020-05-02', 'a'), (5, '2020-04-30 23:59', 'a')\r\n");
    ASSERT_NE(dbc, nullptr);
    const std::vector<char> value = KeyOf(dbc, 1);
    struct Case { int len; bool composed; int32_t first, last; } cases[] = {
        {10, true, 1, 3}, {14, true, 1, 2}, {10, false, 3, 1}, {14, false, 2, 1}};
    for (int32_t enabled : {1, 0}) {
      lerv32::ExSQL_Enabled = enabled;
      for (const Case& c : cases) {
        if (c.composed != (enabled && key_table)) continue;
        SCOPED_TRACE(std::string(td_->TableName) + (enabled ? " procedures" : " plain") + " len " +
                     std::to_string(c.len));
        EXPECT_EQ(rv_OdbcFindFirstRecId(dbc, td_.get(), 0, value.data(), c.len), c.first);
        EXPECT_EQ(rv_OdbcFindLastRecId(dbc, td_.get(), 0, value.data(), c.len), c.last);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, KeySearchTest,
                         ::testing::Values(recordtest::kDirect, recordtest::kKeyTables, recordtest::kTenant),
                         recordtest::NavFormName);

}  // namespace
