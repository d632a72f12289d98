// The collation TSQL, the case mapping under it, how function errors travel
// through SQLite, and what only a bare connection shows.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "sqlsim/functions/datetime.h"
#include "sqlsim/functions/register.h"
#include "sqlsim/functions/function_error.h"
#include "sqlsim/functions/text.h"

namespace sqlsim {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

TEST(CompareTsqlTest, CaseAndTrailingBlanks) {
  struct Case {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {
      {"abc", "ABC  ", 0}, {"abc", "abc", 0},  {"", "   ", 0},
      {"a", "B", -1},      {"B", "a", 1},      {"ab", "abc", -1},
      {"ab ", "ab", 0},    {" a", "a", -1},    {"Z", "a", 1},
      {"\xE4", "\xC4", 0}, {"\xE4", "z", 1},   {"\xFF", "\x9F", 0}, {"a\t", "a", 1},     {"\xDF", "\xFF", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sign(CompareTsql(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(CompareTsql(c.b, c.a)), -c.sign) << c.b << " vs " << c.a;
  }
}

TEST(CaseMappingTest, LettersMapBothWaysAndNothingElseMoves) {
  int changed = 0;
  for (int i = 0; i < 256; ++i) {
    auto c = static_cast<unsigned char>(i);
    unsigned char upper = UpperCp1252(c);
    if (upper != c) {
      ++changed;
      EXPECT_EQ(LowerCp1252(upper), c) << i;
      EXPECT_EQ(UpperCp1252(upper), upper) << i;
    }
    if (LowerCp1252(c) != c) {
      EXPECT_EQ(UpperCp1252(LowerCp1252(c)), c) << i;
    }
  }
  // a-z, à-þ without ÷, and š œ ž ÿ.
  EXPECT_EQ(changed, 26 + 30 + 4);
  for (unsigned char same : {0xD7, 0xF7, 0xDF, 0xB5, 0xAA}) {
    EXPECT_EQ(UpperCp1252(same), same);
    EXPECT_EQ(LowerCp1252(same), same);
  }
}

TEST(FunctionErrorTest, EncodeDecode) {
  int32_t number = 0;
  std::string message;
  EXPECT_EQ(EncodeFunctionError(8134, "Divide by zero error encountered."),
            "sqlsim:8134:Divide by zero error encountered.");
  ASSERT_TRUE(DecodeFunctionError("sqlsim:245:a: b:c", &number, &message));
  EXPECT_EQ(number, 245);
  EXPECT_EQ(message, "a: b:c");
  ASSERT_TRUE(DecodeFunctionError("stepping, sqlsim:not:x sqlsim:8152:cut", &number, &message));
  EXPECT_EQ(number, 8152);
  EXPECT_EQ(message, "cut");
  for (const char* bad : {"", "sqlsim:", "sqlsim:12", "sqlsim::x", "sqlsim:x:y",
                          "sqlsim:99999999999:x", "no such function: f"}) {
    number = -7;
    EXPECT_FALSE(DecodeFunctionError(bad, &number, &message)) << bad;
    EXPECT_EQ(number, -7);
  }
}

class BareConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_EQ(RegisterTsqlFunctions(db_), SQLITE_OK);
  }
  void TearDown() override { sqlite3_close(db_); }
  int Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
  sqlite3* db_ = nullptr;
};

TEST_F(BareConnectionTest, ErrorsKeepTheirTextThroughStatementsAndTriggers) {
  ASSERT_EQ(Exec("CREATE TABLE t(x); INSERT INTO t VALUES (0); CREATE TABLE u(y);"
                 "CREATE TRIGGER tr AFTER INSERT ON u "
                 "BEGIN UPDATE t SET x = tsql_convert('x', 'varchar', 'int', -1, -1); END;"),
            SQLITE_OK);
  EXPECT_NE(Exec("UPDATE t SET x = tsql_div(5, x)"), SQLITE_OK);
  EXPECT_STREQ(sqlite3_errmsg(db_), "sqlsim:8134:Divide by zero error encountered.");
  EXPECT_NE(Exec("INSERT INTO u VALUES (1)"), SQLITE_OK);
  int32_t number = 0;
  std::string message;
  ASSERT_TRUE(DecodeFunctionError(sqlite3_errmsg(db_), &number, &message));
  EXPECT_EQ(number, 245);
  EXPECT_EQ(message, "Conversion failed when converting the varchar value 'x' to data type int.");
}

TEST_F(BareConnectionTest, FunctionsServeInIndexExpressionsExceptGetdate) {
  ASSERT_EQ(Exec("CREATE TABLE t(x TEXT)"), SQLITE_OK);
  EXPECT_EQ(Exec("CREATE INDEX a ON t(tsql_upper(x))"), SQLITE_OK);
  EXPECT_NE(Exec("CREATE INDEX b ON t(x || tsql_getdate())"), SQLITE_OK);
}

TEST_F(BareConnectionTest, GetdateIsNowInLocalTime) {
  sqlite3_stmt* stmt = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db_, "SELECT tsql_getdate(), datetime('now', 'localtime')", -1, &stmt, nullptr),
            SQLITE_OK);
  ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
  const std::string now = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
  const std::string local = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
  sqlite3_finalize(stmt);
  EXPECT_TRUE(IsCanonicalDateTime(now)) << now;
  EXPECT_EQ(now.substr(0, 15), local.substr(0, 15));  // to ten minutes
}

}  // namespace
}  // namespace sqlsim
