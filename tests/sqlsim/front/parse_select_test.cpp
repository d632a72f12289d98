#include <gtest/gtest.h>

#include <string>

#include "sqlsim/front/ast_printer.h"
#include "sqlsim/front/parser.h"

namespace sqlsim::testing {
namespace {

TEST(ParseSelectTest, Clauses) {
  const SqlCase cases[] = {
      // Select list.
      {"SELECT * FROM t", "(select * (from t))"},
      {"SELECT t.*, u.a FROM t, u", "(select t.* u.a (from t u))"},
      {"SELECT dbo.t.* FROM dbo.t", "(select dbo.t.* (from dbo.t))"},
      {"SELECT a AS x, b y, c AS [z z], d 'w', e AS 'v' FROM t",
       "(select (as a x) (as b y) (as c [z z]) (as d w) (as e v) (from t))"},
      {"SELECT x = a + 1, 'y' = b FROM t", "(select (as (+ a 1) x) (as b y) (from t))"},
      {"SELECT @v = a, @w = 1 FROM t", "(select (set @v a) (set @w 1) (from t))"},
      {"SELECT DISTINCT a FROM t", "(select distinct a (from t))"},
      {"SELECT ALL a FROM t", "(select a (from t))"},
      {"SELECT TOP 10 a FROM t", "(select (top 10) a (from t))"},
      {"SELECT TOP (5) * FROM t", "(select (top 5) * (from t))"},
      {"SELECT TOP (@n + 1) PERCENT a FROM t", "(select (top (+ @n 1) percent) a (from t))"},
      {"SELECT TOP 50 PERCENT a FROM t", "(select (top 50 percent) a (from t))"},
      {"SELECT a INTO #tmp FROM t", "(select a (into #tmp) (from t))"},
      {"SELECT @NeueId AS RecId", "(select (as @NeueId RecId))"},
      // From and joins.
      {"SELECT * FROM t x", "(select * (from (tbl t as x)))"},
      {"SELECT * FROM [dbo].[ut_KUNDE] AS k", "(select * (from (tbl dbo.ut_KUNDE as k)))"},
      {"SELECT * FROM master..sysobjects", "(select * (from master..sysobjects))"},
      {"SELECT * FROM t WITH (READUNCOMMITTED)", "(select * (from (tbl t hints(READUNCOMMITTED))))"},
      {"SELECT * FROM t (nolock)", "(select * (from (tbl t hints(NOLOCK))))"},
      {"SELECT * FROM t a WITH (NOLOCK, INDEX(ix_a))", "(select * (from (tbl t as a hints(NOLOCK INDEX(ix_a)))))"},
      {"SELECT * FROM t WITH (INDEX = ix, holdlock)", "(select * (from (tbl t hints(INDEX(ix) HOLDLOCK))))"},
      {"SELECT * FROM t WITH (INDEX(1, ix2))", "(select * (from (tbl t hints(INDEX(1,ix2)))))"},
      {"SELECT * FROM a JOIN b ON a.x = b.x", "(select * (from (inner-join a b (= a.x b.x))))"},
      {"SELECT * FROM sysindexes si inner join sysobjects so on so.[id] = si.[id]",
       "(select * (from (inner-join (tbl sysindexes as si) (tbl sysobjects as so) (= so.id si.id))))"},
      {"SELECT * FROM a LEFT OUTER JOIN b ON 1 = 1 RIGHT JOIN c ON 2 = 2 FULL JOIN d ON 3 = 3",
       "(select * (from (full-join (right-join (left-join a b (= 1 1)) c (= 2 2)) d (= 3 3))))"},
      {"SELECT * FROM a CROSS JOIN b, c", "(select * (from (cross-join a b) c))"},
      {"SELECT a.x FROM (SELECT TOP 1 x FROM t ORDER BY x) a WHERE a.x > 0",
       "(select a.x (from (derived (select (top 1) x (from t) (order x)) as a)) (where (> a.x 0)))"},
      {"SELECT * FROM (SELECT 1 AS one) AS d", "(select * (from (derived (select (as 1 one)) as d)))"},
      {"SELECT * FROM @tv", "(select * (from @tv))"},
      // Clauses and unions.
      {"SELECT a, count(*) FROM t WHERE b > 1 GROUP BY a HAVING count(*) > 2 ORDER BY 2 DESC, a ASC",
       "(select a (call count *) (from t) (where (> b 1)) (group a) (having (> (call count *) 2)) "
       "(order (desc 2) a))"},
      {"SELECT a FROM t UNION SELECT b FROM u", "(union (select a (from t)) (select b (from u)))"},
      {"SELECT 1 UNION ALL SELECT 2 UNION SELECT 3 ORDER BY 1",
       "((union-all (select 1) (union (select 2) (select 3))) (order 1))"},
      {"(SELECT 1) UNION (SELECT 2)", "(union (select 1) (select 2))"},
      {"((SELECT 1))", "(select 1)"},
  };
  ExpectPrinted(std::begin(cases), std::end(cases));
}

// Statements need no semicolons: the grammar decides where one ends.
TEST(ParseSelectTest, StatementBoundaries) {
  const SqlCase cases[] = {
      {"SELECT 1 SELECT 2", "(select 1)\n(select 2)"},
      {"SELECT 1;SELECT 2;;", "(select 1)\n(select 2)"},
      {"SELECT a FROM t SELECT b FROM u WHERE c = 1 DELETE FROM t",
       "(select a (from t))\n(select b (from u) (where (= c 1)))\n(delete t)"},
      {"SELECT a b FROM t c SET NOCOUNT ON", "(select (as a b) (from (tbl t as c)))\n(set-option NOCOUNT ON)"},
      {"SELECT 1\nGO", "(select (as 1 GO))"},
      {"SELECT * FROM t ORDER BY a EXEC p", "(select * (from t) (order a))\n(exec p)"},
      {"SELECT 1 (SELECT 2)", "(select 1)\n(select 2)"},
      {"", ""},
      {"-- nothing\n/* at all */", ""},
  };
  ExpectPrinted(std::begin(cases), std::end(cases));
}

TEST(ParseSelectTest, StatementTextAndPositions) {
  ParseOutcome outcome = ParseBatch("SELECT 1  ;\n  UPDATE t SET a = 1 -- done\n");
  ASSERT_TRUE(outcome.ok());
  ASSERT_EQ(outcome.batch.statements.size(), 2u);
  const ast::Statement& update = outcome.batch.statements[1];
  EXPECT_EQ(outcome.batch.statements[0].end_offset, 8u);
  EXPECT_EQ(update.pos.line, 2);
  EXPECT_EQ(update.pos.column, 3);
  EXPECT_EQ(update.pos.offset, 14u);
  EXPECT_EQ(update.end_offset, 32u);
}

}  // namespace
}  // namespace sqlsim::testing
