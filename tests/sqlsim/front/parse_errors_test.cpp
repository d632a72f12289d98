// Syntax errors as the server words them, and input that must not crash.
#include <gtest/gtest.h>

#include <string>

#include "sqlsim/front/ast_printer.h"
#include "sqlsim/front/parser.h"

namespace sqlsim::testing {
namespace {

struct ErrorCase {
  const char* sql;
  const char* error;
};

TEST(ParseErrorsTest, NamesTheTokenAndLine) {
  const ErrorCase cases[] = {
      {"SELECT FROM t", "error 156 line 1: Incorrect syntax near the keyword 'FROM'."},
      {"select * from t where", "error 156 line 1: Incorrect syntax near the keyword 'WHERE'."},
      {"SELECT 1 +", "error 102 line 1: Incorrect syntax near '+'."},
      {"SELECT a FROM t\nWHERE a = = 1", "error 102 line 2: Incorrect syntax near '='."},
      {"SELECT a b c FROM t", "error 102 line 1: Incorrect syntax near 'c'."},
      {"SELECT (1", "error 102 line 1: Incorrect syntax near '1'."},
      {"SELECT count(*", "error 102 line 1: Incorrect syntax near '*'."},
      {"SELECT 1\nfoo bar", "error 102 line 2: Incorrect syntax near 'bar'."},
      {"p 1 2", "error 102 line 1: Incorrect syntax near '2'."},
      {"1", "error 102 line 1: Incorrect syntax near '1'."},
      {"SELECT 1 WHERE 1 = 1 AND", "error 156 line 1: Incorrect syntax near the keyword 'AND'."},
      {"CREATE TABLE t (a int CHECK (a > 0))", "error 156 line 1: Incorrect syntax near the keyword 'CHECK'."},
      {"CREATE TABLE t ()", "error 102 line 1: Incorrect syntax near ')'."},
      {"CREATE VIEW v AS SELECT 1 SELECT 2",
       "error 111 line 1: 'CREATE VIEW' must be the first statement in a query batch."},
      {"INSERT INTO t (a) VALUES", "error 156 line 1: Incorrect syntax near the keyword 'VALUES'."},
      {"UPDATE t SET", "error 156 line 1: Incorrect syntax near the keyword 'SET'."},
      {"UPDATE TOP 1 t SET a = 1", "error 102 line 1: Incorrect syntax near '1'."},
      {"SELECT TOP @n * FROM t", "error 102 line 1: Incorrect syntax near '@n'."},
      {"SELECT * FROM (SELECT 1)", "error 102 line 1: Incorrect syntax near ')'."},
      {"SELECT a FROM t ORDER BY", "error 156 line 1: Incorrect syntax near the keyword 'BY'."},
      {"DROP THING x", "error 102 line 1: Incorrect syntax near 'THING'."},
      {"BEGIN", "error 156 line 1: Incorrect syntax near the keyword 'BEGIN'."},
      {"ALTER DATABASE x", "error 156 line 1: Incorrect syntax near the keyword 'DATABASE'."},
      {"BEGIN END", "error 156 line 1: Incorrect syntax near the keyword 'END'."},
      {"SET @v + = 1", "error 102 line 1: Incorrect syntax near '+'."},
      {"SELECT 1 SELECT", "error 156 line 1: Incorrect syntax near the keyword 'SELECT'."},
      {"SELECT a.b.c.d.e FROM t", "error 102 line 1: Incorrect syntax near '.'."},
      {"SELECT CASE END", "error 156 line 1: Incorrect syntax near the keyword 'END'."},
      {"SELECT 1 !", "error 102 line 1: Incorrect syntax near '!'."},
      {"SELECT 'abc", "error 105 line 1: Unclosed quotation mark after the character string 'abc'."},
      {"SELECT 1 UNION (SELECT 2 UNION SELECT 3)", "error 102 line 1: Incorrect syntax near ')'."},
      {"CREATE TABLE t (a int IDENTITY(92233720368547758070, 1))",
       "error 102 line 1: Incorrect syntax near '92233720368547758070'."},
      {"CREATE TABLE t (a int IDENTITY(9223372036854775808, 1))",
       "error 102 line 1: Incorrect syntax near '9223372036854775808'."},
      {"CREATE TABLE t (a char(2147483648))", "error 102 line 1: Incorrect syntax near '2147483648'."},
      {"CREATE TABLE t (a char(-1))", "error 102 line 1: Incorrect syntax near '-'."},
  };
  for (const ErrorCase& c : cases) EXPECT_EQ(ParseAndPrint(c.sql), c.error) << c.sql;
}

TEST(ParseErrorsTest, ErrorCarriesSqlStateAndKeepsEarlierStatements) {
  ParseOutcome outcome = ParseBatch("SELECT 1\nSELECT 2\nSELECT FROM");
  ASSERT_EQ(outcome.errors.size(), 1u);
  EXPECT_FALSE(outcome.ok());
  EXPECT_EQ(outcome.errors[0].sqlstate, "42000");
  EXPECT_EQ(outcome.errors[0].severity, 16);
  EXPECT_EQ(outcome.errors[0].line, 3);
  EXPECT_EQ(outcome.batch.statements.size(), 2u);
}

const char* const kTooDeep =
    "error 191 line 1: Some part of your SQL statement is nested too deeply. "
    "Rewrite the query or break it up into smaller queries.";

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(ParseErrorsTest, NestingIsCapped) {
  // 100 levels are fine; far more are refused instead of overflowing the stack.
  EXPECT_EQ(ParseAndPrint("SELECT " + Repeat("(", 100) + "1" + Repeat(")", 100)), "(select 1)");
  EXPECT_EQ(ParseAndPrint("SELECT " + Repeat("(", 10000) + "1" + Repeat(")", 10000)), kTooDeep);
  EXPECT_EQ(ParseAndPrint("SELECT " + Repeat("- ", 10000) + "1"), kTooDeep);
  EXPECT_EQ(ParseAndPrint("SELECT 1 WHERE " + Repeat("NOT ", 10000) + "1 = 1"), kTooDeep);
  EXPECT_EQ(ParseAndPrint("SELECT " + Repeat("(SELECT ", 5000) + "1" + Repeat(")", 5000)), kTooDeep);
  EXPECT_EQ(ParseAndPrint("SELECT * FROM " + Repeat("(SELECT * FROM ", 5000) + "t" + Repeat(") x", 5000)),
            kTooDeep);
  EXPECT_EQ(ParseAndPrint("SELECT " + Repeat("f(", 5000) + "1" + Repeat(")", 5000)), kTooDeep);
}

TEST(ParseErrorsTest, LongChainsAreCapped) {
  // Operator chains build trees as high as they are long.
  EXPECT_TRUE(ParseBatch("SELECT 1" + Repeat(" + 1", 500)).ok());
  EXPECT_EQ(ParseAndPrint("SELECT 1" + Repeat(" + 1", 5000)), kTooDeep);
  EXPECT_EQ(ParseAndPrint("SELECT 1 WHERE 1 = 1" + Repeat(" OR 1 = 1", 5000)), kTooDeep);
  EXPECT_EQ(ParseAndPrint("SELECT 1" + Repeat(" UNION SELECT 1", 5000)), kTooDeep);
  // Lists are flat: long ones are fine.
  EXPECT_TRUE(ParseBatch("SELECT 1 WHERE a IN (1" + Repeat(", 1", 10000) + ")").ok());
  EXPECT_TRUE(ParseBatch(Repeat("SELECT 1 ", 10000)).ok());
}

TEST(ParseErrorsTest, ChainsInsideDeepNestingAreCapped) {
  // Each level is shallow; the height adds up across levels.
  const std::string nested = Repeat("(", 100) + "1" + Repeat(Repeat(" + 1", 20) + ")", 100);
  EXPECT_EQ(ParseAndPrint("SELECT " + nested), kTooDeep);
  const std::string shallow = Repeat("(", 100) + "1" + Repeat(Repeat(" + 1", 5) + ")", 100);
  EXPECT_TRUE(ParseBatch("SELECT " + shallow).ok());
}

}  // namespace
}  // namespace sqlsim::testing
