// The navigation procedures where record access does not reach them: pages
// of fifty, prefix search, filtered keys, records that are unknown or missing
// from the key table, and the answers of the direct form at its ends. The
// walks themselves are checked through the library (tests/records).
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

#include "tests/sqlsim/scripts/script_fixture.h"

namespace scripts {
namespace {

// Case collisions, a quote, umlauts (Windows-1252) and a duplicate key.
const char* const kRecords =
    " VALUES (3, 'Meier', 'Bonn', 'A', 53111, '2020-05-01'), (5, 'meier', 'Aachen', 'a', 700, '1999-02-03'),"
    " (7, 'O''Brien', 'K\xF6ln', 'B', -5, '2023-12-24'), (9, 'M\xFCller', 'Bonn', 'A', 0, '1900-01-01'),"
    " (11, 'Abel', 'Essen', ' ', 50667, '2000-02-29'), (12, 'Meier', 'Bonn', 'A', 99999, '2020-05-01'),"
    " (20, '\xC4rger', 'Ulm', 'A', 1, '2001-01-01'), (2, 'Zander', 'Ulm', 'B', 5, '2000-02-29')";

struct Step {
  const char* proc;  // after "up_"
  const char* rec_id;
  Ids ids;
};

struct Find {
  const char* key;  // procedure suffix
  std::string prefix;
  Ids first;
  Ids last;
};

class NavigationTest : public ScriptTest {
 protected:
  void Fill(const std::string& table) {
    ASSERT_TRUE(Run("INSERT INTO [dbo].[" + table + "] (RecId, NAME, ORT, STATUS, PLZ, DATUM)" + kRecords));
  }
  void ExpectSteps(const std::vector<Step>& steps) {
    for (const Step& s : steps) {
      EXPECT_EQ(Ints(std::string("EXECUTE [up_") + s.proc + "] " + s.rec_id), s.ids) << s.proc << " " << s.rec_id;
    }
  }
  // The prefix bound as char of its own length, as a host passes it.
  void ExpectFinds(const std::string& base, const std::vector<Find>& finds) {
    for (const Find& f : finds) {
      const std::string args = "] ?," + std::to_string(f.prefix.size());
      const std::vector<Param> key = {{f.prefix, SQL_CHAR, f.prefix.size()}};
      EXPECT_EQ(Ints("EXECUTE [up_FindF_" + base + f.key + args, key), f.first) << f.key << " '" << f.prefix << "'";
      EXPECT_EQ(Ints("EXECUTE [up_FindL_" + base + f.key + args, key), f.last) << f.key << " '" << f.prefix << "'";
    }
  }
};

const std::vector<std::string> kFields = {"FIELD=NAME,C,12", "FIELD=ORT,u,8", "FIELD=STATUS,C,1", "FIELD=PLZ,N,5",
                                          "FIELD=DATUM,D"};

// The fields, then the keys over them.
std::vector<std::string> With(std::vector<std::string> lines) {
  const auto keys = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l[0] == 'K'; });
  lines.insert(keys, kFields.begin(), kFields.end());
  return lines;
}

// Key values are UPPER(NAME + ORT) + STR(RecId, 10); text compares without
// case and an umlaut sorts after Z. NAME_KEY: 11 5 3 12 9 7 2 20; AKT_KEY
// (STATUS 'A', either case): 3 5 12 9 20.
TEST_F(NavigationTest, KeyTableForm) {
  Create(With({"ALIAS=NAVK", "USEKEYTAB=1", "KEY=NAME_KEY,NAME,ORT", "KEY=AKT_KEY,NAME;[STATUS] = 'A'"}));
  Fill("ut_NAVK");
  ExpectSteps({
      {"First_NAVK_NAME_KEY", "", {11}}, {"Last_NAVK_NAME_KEY", "", {20}}, {"Next_NAVK_NAME_KEY", "3", {12}},
      {"Prior_NAVK_NAME_KEY", "3", {5}}, {"Next_NAVK_NAME_KEY", "20", {}}, {"Prior_NAVK_NAME_KEY", "11", {}},
      {"Next50_NAVK_NAME_KEY", "11", {5, 3, 12, 9, 7, 2, 20}},
      {"Prior50_NAVK_NAME_KEY", "20", {2, 7, 9, 12, 3, 5, 11}}, {"Next50_NAVK_NAME_KEY", "20", {}},
      {"First_NAVK_AKT_KEY", "", {3}}, {"Last_NAVK_AKT_KEY", "", {20}},
      {"Next50_NAVK_AKT_KEY", "3", {5, 12, 9, 20}}, {"Prior50_NAVK_AKT_KEY", "20", {9, 12, 5, 3}},
      // A record failing the filter still positions.
      {"Next_NAVK_AKT_KEY", "7", {20}}, {"Prior_NAVK_AKT_KEY", "7", {9}}, {"Next_NAVK_AKT_KEY", "11", {3}},
      {"Prior_NAVK_AKT_KEY", "11", {}}, {"Next_NAVK_NAME_KEY", "4242", {}},
      {"Prior_NAVK_AKT_KEY", "4242", {}}, {"Next50_NAVK_NAME_KEY", "0", {}},
      {"Prior50_NAVK_NAME_KEY", "-1", {}},
  });
  const std::string bonn = "MEIER       BONN    ";
  ExpectFinds("NAVK_", {
      {"NAME_KEY", "", {11}, {20}}, {"NAME_KEY", "MEIER", {5}, {12}}, {"NAME_KEY", "meier", {5}, {12}},
      {"NAME_KEY", bonn, {3}, {12}}, {"NAME_KEY", bonn + "         3", {3}, {3}},
      {"NAME_KEY", bonn + "         3 ", {}, {}}, {"NAME_KEY", "MEIERX", {}, {}},
      {"NAME_KEY", "O'B", {7}, {7}}, {"NAME_KEY", "\xC4", {20}, {20}}, {"NAME_KEY", "\xE4", {20}, {20}},
      {"NAME_KEY", "ZZZ", {}, {}}, {"AKT_KEY", "M", {3}, {9}}, {"AKT_KEY", "O", {}, {}},
      {"AKT_KEY", "A", {}, {}},
  });

  // A record missing from the key table is neither visited nor a start.
  ASSERT_TRUE(Run("DELETE FROM [dbo].[ut_NAVK_Keys] WHERE DataRecId = 12"));
  ExpectSteps({
      {"Next50_NAVK_AKT_KEY", "3", {5, 9, 20}}, {"Next_NAVK_NAME_KEY", "12", {}},
      {"Prior_NAVK_NAME_KEY", "12", {}}, {"Next50_NAVK_NAME_KEY", "12", {}},
  });
  ExpectFinds("NAVK_", {{"NAME_KEY", bonn, {3}, {3}}});

  // A page holds fifty records, no more.
  ASSERT_TRUE(Run("DECLARE @i int = 100 WHILE @i < 160 BEGIN INSERT INTO [dbo].[ut_NAVK] (RecId, NAME, ORT, STATUS, "
                  "PLZ, DATUM) VALUES (@i, 'Zz', 'x', 'A', 1, '2001-01-01') SET @i = @i + 1 END"));
  Ids next(50), prior(50);
  std::iota(next.begin(), next.end(), 100);
  std::transform(next.begin(), next.end(), prior.begin(), [](int64_t id) { return 258 - id; });
  ExpectSteps({{"Next50_NAVK_NAME_KEY", "2", next}, {"Prior50_NAVK_NAME_KEY", "159", prior}});
  ASSERT_TRUE(Run("DELETE FROM [dbo].[ut_NAVK]"));
  ExpectSteps({{"First_NAVK_NAME_KEY", "", {}}, {"Last_NAVK_AKT_KEY", "", {}}, {"Next50_NAVK_NAME_KEY", "3", {}}});
  ExpectFinds("NAVK_", {{"NAME_KEY", "", {}, {}}, {"AKT_KEY", "M", {}, {}}});
}

// The direct form orders the data rows by the key's columns, then RecId,
// and answers a row with 0 past either end, for an unknown record and for
// a prefix longer than the key. NAME_KEY orders as in the key table form;
// DAT_KEY: 9 5 11 2 20 3 12 7.
TEST_F(NavigationTest, DirectForm) {
  Create(With({"ALIAS=NAVD", "KEY=NAME_KEY,NAME,ORT", "KEY=PLZ_KEY,NAME,PLZ", "KEY=DAT_KEY,DATUM,NAME"}));
  Fill("ut_NAVD");
  ExpectSteps({
      {"First_NAVD_NAME_KEY", "", {11}}, {"Last_NAVD_NAME_KEY", "", {20}}, {"Next_NAVD_NAME_KEY", "5", {3}},
      {"Next_NAVD_NAME_KEY", "3", {12}}, {"Next_NAVD_NAME_KEY", "12", {9}},
      {"Prior_NAVD_NAME_KEY", "9", {12}}, {"Prior_NAVD_NAME_KEY", "3", {5}},
      {"Next_NAVD_NAME_KEY", "20", {0}}, {"Prior_NAVD_NAME_KEY", "11", {0}},
      {"Next_NAVD_NAME_KEY", "4242", {0}}, {"Prior_NAVD_NAME_KEY", "4242", {0}},
      // Numbers by value: 700 before 53111.
      {"Next_NAVD_PLZ_KEY", "5", {3}}, {"Prior_NAVD_PLZ_KEY", "3", {5}}, {"First_NAVD_DAT_KEY", "", {9}},
      {"Next_NAVD_DAT_KEY", "11", {2}}, {"Next_NAVD_DAT_KEY", "2", {20}}, {"Next_NAVD_DAT_KEY", "3", {12}},
      {"Last_NAVD_DAT_KEY", "", {7}},
  });
  const std::string meier = "Meier       ";
  ExpectFinds("NAVD_", {
      {"NAME_KEY", "", {11}, {20}}, {"NAME_KEY", "M", {5}, {9}}, {"NAME_KEY", "meier", {5}, {12}},
      {"NAME_KEY", meier, {5}, {12}}, {"NAME_KEY", meier + "bo", {3}, {12}},
      {"NAME_KEY", meier + "BONN    ", {3}, {12}}, {"NAME_KEY", meier + "BONN     ", {0}, {0}},
      {"NAME_KEY", meier + "Ulm", {}, {}}, {"NAME_KEY", "x", {}, {}}, {"NAME_KEY", "O'", {7}, {7}},
      {"NAME_KEY", "\xE4rg", {20}, {20}}, {"PLZ_KEY", meier + "  700", {5}, {5}},
      {"PLZ_KEY", meier + "53111", {3}, {3}}, {"DAT_KEY", "2020-05-01", {3}, {12}},
      {"DAT_KEY", "2000-02-29Z", {2}, {2}}, {"DAT_KEY", "2000-02-29" + meier, {}, {}},
  });
  EXPECT_EQ(FailState("EXECUTE [up_Next50_NAVD_NAME_KEY] 3"), "42000") << "no pages of fifty";

  ASSERT_TRUE(Run("DELETE FROM [dbo].[ut_NAVD]"));
  ExpectSteps({{"First_NAVD_NAME_KEY", "", {}}, {"Last_NAVD_NAME_KEY", "", {}}, {"Next_NAVD_NAME_KEY", "3", {0}}});
  ExpectFinds("NAVD_", {{"NAME_KEY", "M", {}, {}}});
}

}  // namespace
}  // namespace scripts
