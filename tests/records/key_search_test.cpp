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
#include "records/nav_table.h"

namespace {

using recordtest::kNavKeys;
using recordtest::QueryIds;
using Ids = std::vector<int32_t>;

enum Key { kName, kMix, kOrt, kWert };

// Names holding LIKE's wildcards.
const char* const kWildcardRows =
    " (RecId, NAME, ORT, DATUM, PLZ, NR, WERT) VALUES\r\n"
    " (21, 'M_ller', 'Ulm', '2021-01-01', 89073, 1, 3),\r\n"
    " (22, 'Me%ster', 'Ulm', '2021-01-01', 89073, 1, 4),\r\n"
    " (23, 'Me[1]', 'Ulm', '2021-01-01', 89073, 1, 5)\r\n";

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
    std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td_.get())), ' ');
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
};

TEST_P(KeySearchTest, FirstAndLastMatchAreTheServersOnEveryPath) {
  for (int32_t oem : {0, 1}) {
    for (int32_t enabled : {1, 0}) {
      lerv32::OemConvert = oem;
      lerv32::ExSQL_Enabled = enabled;
      for (const SearchCase& c : kSearches) {
        SCOPED_TRACE(std::string(c.what) + (enabled ? ", procedures" : ", plain") + (oem ? ", OEM" : ""));
        const Ids ids = QueryIds(dbc_, "SELECT RecId FROM [" + base_ + "] WHERE " + c.where + " ORDER BY " +
                                           kNavKeys[c.key].order_by);
        ASSERT_EQ(ids.size(), c.rows);
        const std::vector<char> value = Value(c);
        EXPECT_EQ(rv_OdbcFindFirstRecId(dbc_, td_.get(), c.key, value.data(), c.len), ids.empty() ? 0 : ids.front());
        EXPECT_EQ(rv_OdbcFindLastRecId(dbc_, td_.get(), c.key, value.data(), c.len), ids.empty() ? 0 : ids.back());
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
       "SELECT TOP 1 RecId FROM [%s] WHERE [DATUM] = ? AND [PLZ] = ? AND [NR] = ? ORDER BY [DATUM],[PLZ],[NR],RecId",
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
  for (int32_t enabled : {1, 0}) {
    lerv32::ExSQL_Enabled = enabled;
    for (const Guard& g : guards) {
      if (g.procedures_only && !enabled) continue;
      SCOPED_TRACE(std::string(g.what) + (enabled ? ", procedures" : ", plain"));
      const std::string before = testenv::ReadText(trace_);
      const char* v = g.null_value ? nullptr : value.data();
      EXPECT_EQ(rv_OdbcFindFirstRecId(dbc_, td_.get(), g.key, v, g.len), 0);
      EXPECT_EQ(rv_OdbcFindLastRecId(dbc_, td_.get(), g.key, v, g.len), 0);
      EXPECT_EQ(testenv::ReadText(trace_).substr(before.size()), "") << "statements sent";
    }
  }
  // The plain path has no width: the bytes beyond the key do not count.
  EXPECT_EQ(rv_OdbcFindFirstRecId(dbc_, td_.get(), kName, value.data(), 129), 3);
  EXPECT_EQ(rv_OdbcQfwSearch(1, 2, 3, 4, 5), 0);
  EXPECT_EQ(rv_OdbcQfwReorg(nullptr, nullptr), 1);
  EXPECT_EQ(rv_OdbcQfwReorg(dbc_, td_.get()), 1);
  EXPECT_EQ(QueryIds(dbc_, "SELECT RecId FROM [" + base_ + "] ORDER BY RecId"),
            (Ids{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

INSTANTIATE_TEST_SUITE_P(Forms, KeySearchTest,
                         ::testing::Values(recordtest::kDirect, recordtest::kKeyTables, recordtest::kTenant),
                         recordtest::NavFormName);

}  // namespace
