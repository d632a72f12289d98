// The collation TSQL, the case mapping under it, and how function errors
// travel through SQLite.
#include <gtest/gtest.h>

#include "function_db.h"
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
      {"\xE4", "\xC4", 0}, {"\xE4", "z", 1},   {"\xFF", "\x9F", 0},
      {"a\t", "a", 1},     {"\xDF", "\xFF", 1},
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

TEST(CollationTest, OrderByAndComparisons) {
  testing::FunctionDb db;
  ASSERT_EQ(db.Exec("CREATE TABLE t(x TEXT COLLATE TSQL);"
                    "INSERT INTO t VALUES ('zebra'), ('Apple'), ('banana'), ('Cherry'), ('\xE4pfel');"),
            "");
  EXPECT_EQ(db.Column("SELECT x FROM t ORDER BY x"), "Apple|banana|Cherry|zebra|\xE4pfel");
  EXPECT_EQ(db.Column("SELECT x FROM t WHERE x = 'APPLE   '"), "Apple");
  EXPECT_EQ(db.Column("SELECT x FROM t WHERE x > 'b' AND x < 'CZ' ORDER BY x"), "banana|Cherry");
  EXPECT_EQ(db.Eval("'abc' = 'ABC  ' COLLATE TSQL"), "I:1");
  EXPECT_EQ(db.Eval("'abc' = ' abc' COLLATE TSQL"), "I:0");
}

TEST(CollationTest, UniqueIndexTreatsCaseAndTrailingBlanksAsDuplicates) {
  testing::FunctionDb db;
  ASSERT_EQ(db.Exec("CREATE TABLE t(x TEXT COLLATE TSQL);"
                    "CREATE UNIQUE INDEX ix ON t(x);"
                    "INSERT INTO t VALUES ('abc');"),
            "");
  EXPECT_NE(db.Exec("INSERT INTO t VALUES ('ABC  ')").find("UNIQUE constraint failed"),
            std::string::npos);
  EXPECT_NE(db.Exec("INSERT INTO t VALUES ('Abc')").find("UNIQUE constraint failed"),
            std::string::npos);
  EXPECT_EQ(db.Exec("INSERT INTO t VALUES (' abc')"), "");
  EXPECT_EQ(db.Column("SELECT count(DISTINCT x) FROM t"), "2");
}

TEST(CollationTest, FunctionsServeInIndexExpressionsExceptGetdate) {
  testing::FunctionDb db;
  ASSERT_EQ(db.Exec("CREATE TABLE t(x TEXT)"), "");
  EXPECT_EQ(db.Exec("CREATE INDEX a ON t(tsql_upper(x))"), "");
  EXPECT_NE(db.Exec("CREATE INDEX b ON t(x || tsql_getdate())"), "");
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

TEST(FunctionErrorTest, SqliteHandsTheEncodedTextBack) {
  testing::FunctionDb db;
  EXPECT_EQ(db.Eval("tsql_div(1, 0)"), "E:8134");
  EXPECT_EQ(db.LastMessage(), "sqlsim:8134:Divide by zero error encountered.");
  ASSERT_EQ(db.Exec("CREATE TABLE t(x); INSERT INTO t VALUES (0)"), "");
  EXPECT_EQ(db.Exec("UPDATE t SET x = tsql_div(5, x)"), "E:8134");
  EXPECT_EQ(db.Exec("CREATE TABLE u(y); CREATE TRIGGER tr AFTER INSERT ON u "
                    "BEGIN UPDATE t SET x = tsql_convert('x', 'varchar', 'int', -1, -1); END;"
                    "INSERT INTO u VALUES (1)"),
            "E:245");
  int32_t number = 0;
  std::string message;
  ASSERT_TRUE(DecodeFunctionError(db.LastMessage(), &number, &message));
  EXPECT_EQ(message, "Conversion failed when converting the varchar value 'x' to data type int.");
}

}  // namespace
}  // namespace sqlsim
