// Control of flow, variables, cursors and the other procedural statements.
#include <gtest/gtest.h>

#include <iterator>
#include <string>

#include "sqlsim/front/ast_printer.h"
#include "sqlsim/front/parser.h"

namespace sqlsim::testing {
namespace {

TEST(ParseProceduralTest, Statements) {
  const SqlCase cases[] = {
      // Blocks.
      {"BEGIN SELECT 1 END", "(block (select 1))"},
      {"BEGIN SELECT 1; SELECT 2; END;", "(block (select 1) (select 2))"},
      {"BEGIN BEGIN PRINT 'a' END END", "(block (block (print 'a')))"},
      {"BEGIN TRAN BEGIN SELECT 1 END COMMIT", "(begin-tran)\n(block (select 1))\n(commit)"},
      {"BEGIN TRANSACTION\r\nBEGIN TRY\r\n SELECT 1\r\n COMMIT TRANSACTION\r\nEND TRY\r\n"
       "BEGIN CATCH\r\n ROLLBACK TRANSACTION\r\nEND CATCH",
       "(begin-tran)\n(try (do (select 1) (commit)) (catch (rollback)))"},
      {"BEGIN TRY SELECT 1 END TRY BEGIN CATCH END CATCH", "(try (do (select 1)) (catch))"},
      {"BEGIN TRY SELECT 1; END TRY; BEGIN CATCH; END CATCH", "(try (do (select 1)) (catch))"},
      // IF, ELSE IF chains, WHILE.
      {"IF 1 = 1 SELECT 1", "(if (= 1 1) (select 1))"},
      {"IF @a > 0 SELECT 1 ELSE SELECT 2", "(if (> @a 0) (select 1) (else (select 2)))"},
      {"IF @a > 0 SELECT 1; ELSE SELECT 2", "(if (> @a 0) (select 1) (else (select 2)))"},
      {"IF @a = 1 PRINT 'a' ELSE IF @a = 2 PRINT 'b' ELSE PRINT 'c'",
       "(if (= @a 1) (print 'a') (else (if (= @a 2) (print 'b') (else (print 'c')))))"},
      {"IF @a = 1 IF @b = 1 PRINT 'x' ELSE PRINT 'y'",
       "(if (= @a 1) (if (= @b 1) (print 'x') (else (print 'y'))))"},
      {"IF UPDATE([RecId]) OR UPDATE([MandId]) BEGIN SET NOCOUNT ON END",
       "(if (OR (call update RecId) (call update MandId)) (block (set-option NOCOUNT ON)))"},
      {"IF (NOT (@n IS NULL)) BEGIN SELECT @n AS RecId RETURN END",
       "(if (NOT (is-null @n)) (block (select (as @n RecId)) (return)))"},
      {"IF EXISTS (SELECT * FROM t) DROP TABLE t", "(if (exists (select * (from t))) (drop table t))"},
      {"WHILE @i < 10 BEGIN SET @i += 1 IF @i = 5 BREAK ELSE CONTINUE END",
       "(while (< @i 10) (block (set @i += 1) (if (= @i 5) (break) (else (continue)))))"},
      {"WHILE (@@FETCH_STATUS = 0) FETCH NEXT FROM c INTO @x",
       "(while (= @@FETCH_STATUS 0) (fetch NEXT c (into @x)))"},
      // RETURN takes a value only when one follows.
      {"RETURN", "(return)"},
      {"BEGIN RETURN\r\n  END", "(block (return))"},
      {"RETURN\r\nSELECT 1", "(return)\n(select 1)"},
      {"RETURN\nSET @a = 1", "(return)\n(set @a = 1)"},
      {"RETURN\nIF 1 = 1 PRINT 'x'", "(return)\n(if (= 1 1) (print 'x'))"},
      {"RETURN\nUPDATE t SET a = 1", "(return)\n(update t (set (= a 1)))"},
      {"RETURN; SELECT 1", "(return)\n(select 1)"},
      {"IF 1 = 1 RETURN ELSE RETURN 1", "(if (= 1 1) (return) (else (return 1)))"},
      {"RETURN 0", "(return 0)"},
      {"RETURN -1", "(return -1)"},
      {"RETURN @rc", "(return @rc)"},
      {"RETURN isnull((SELECT MAX(RecId) FROM t WITH (READUNCOMMITTED)),0) + 1",
       "(return (+ (call isnull (subquery (select (call max RecId) (from (tbl t hints(READUNCOMMITTED))))) 0) 1))"},
      {"RETURN CAST(@v AS integer)", "(return (cast integer @v))"},
      {"RETURN (SELECT 1)", "(return (subquery (select 1)))"},
      {"RETURN NULL", "(return NULL)"},
      {"RETURN CASE WHEN @a = 1 THEN 1 END", "(return (case (when (= @a 1) 1)))"},
      // Variables.
      {"DECLARE @a int", "(declare (@a int))"},
      {"DECLARE @a AS int = 5, @b char(10) = 'x', @c decimal(10,2)",
       "(declare (@a int 5) (@b char(10) 'x') (@c decimal(10,2)))"},
      {"DECLARE @m_CountDown integer = 10", "(declare (@m_CountDown integer 10))"},
      {"SET @v = 1", "(set @v = 1)"},
      {"SET @v = (SELECT TOP 1 RecId FROM t ORDER BY NAME, RecId)",
       "(set @v = (subquery (select (top 1) RecId (from t) (order NAME RecId))))"},
      {"SET @v += 2", "(set @v += 2)"},
      {"SET @v -= 2", "(set @v -= 2)"},
      {"SET @v *= @w", "(set @v *= @w)"},
      {"SET @v /= 2", "(set @v /= 2)"},
      {"SET @NeueId = dbo.f()", "(set @NeueId = (call dbo.f))"},
      {"SET NOCOUNT ON", "(set-option NOCOUNT ON)"},
      {"SELECT @v = a, @w = b FROM t", "(select (set @v a) (set @w b) (from t))"},
      // Messages.
      {"PRINT 'x' + @a", "(print (+ 'x' @a))"},
      {"RAISERROR ('bad %s', 16, 1, @name)", "(raiserror 'bad %s' 16 1 @name)"},
      {"RAISERROR (50001, 10, 1) WITH NOWAIT, LOG", "(raiserror 50001 10 1 (with NOWAIT LOG))"},
      // Cursors.
      {"DECLARE c CURSOR FOR SELECT a FROM t WHERE b = @b",
       "(declare-cursor c (select a (from t) (where (= b @b))))"},
      {"DECLARE c CURSOR LOCAL FAST_FORWARD FOR SELECT a FROM t ORDER BY a",
       "(declare-cursor c (options LOCAL FAST_FORWARD) (select a (from t) (order a)))"},
      {"DECLARE c INSENSITIVE SCROLL CURSOR FOR SELECT a FROM t FOR READ ONLY",
       "(declare-cursor c (options INSENSITIVE SCROLL READ_ONLY) (select a (from t)))"},
      {"DECLARE c CURSOR FOR SELECT a FROM t FOR UPDATE OF a, b",
       "(declare-cursor c (options FOR UPDATE) (select a (from t)))"},
      {"OPEN c CLOSE c DEALLOCATE c", "(open c)\n(close c)\n(deallocate c)"},
      {"OPEN GLOBAL c", "(open c)"},
      {"OPEN global", "(open global)"},
      {"FETCH c", "(fetch NEXT c)"},
      {"FETCH NEXT FROM curTmp INTO @oldNAME", "(fetch NEXT curTmp (into @oldNAME))"},
      {"FETCH PRIOR c", "(fetch PRIOR c)"},
      {"FETCH LAST FROM GLOBAL c INTO @a, @b", "(fetch LAST c (into @a @b))"},
      {"FETCH ABSOLUTE -2 FROM c", "(fetch ABSOLUTE -2 c)"},
      {"FETCH RELATIVE @n FROM c INTO @a", "(fetch RELATIVE @n c (into @a))"},
      {"FETCH next INTO @a", "(fetch NEXT next (into @a))"},
      // WAITFOR and DBCC.
      {"WAITFOR DELAY '00:00:00.050'", "(waitfor delay '00:00:00.050')"},
      {"WAITFOR TIME @t", "(waitfor time @t)"},
      {"DBCC DBREINDEX ( [ut_KUNDE] )", "(dbcc DBREINDEX ut_KUNDE)"},
      {"DBCC DBREINDEX ('t', '', 80)", "(dbcc DBREINDEX 't' '' 80)"},
      {"dbcc checkident ('t', RESEED, 0) WITH NO_INFOMSGS",
       "(dbcc CHECKIDENT 't' RESEED 0 (with NO_INFOMSGS))"},
      {"DBCC FREEPROCCACHE", "(dbcc FREEPROCCACHE)"},
      {"DBCC FREEPROCCACHE () SELECT 1", "(dbcc FREEPROCCACHE)\n(select 1)"},
      // Procedure calls inside procedural code.
      {"EXECUTE [dbo].[up_Sel2_KUNDE] @mRI", "(exec dbo.up_Sel2_KUNDE @mRI)"},
      {"EXEC p @a = 1, @b = @x OUTPUT", "(exec p @a=1 @b=@x OUTPUT)"},
      {"EXECUTE @rc = p 1", "(exec @rc = p 1)"},
  };
  ExpectPrinted(std::begin(cases), std::end(cases));
}

struct ErrorCase {
  const char* sql;
  const char* error;
};

TEST(ParseProceduralTest, MalformedTextIsRefused) {
  const ErrorCase cases[] = {
      {"BEGIN SELECT 1", "error 102 line 1: Incorrect syntax near '1'."},
      {"BEGIN\nSELECT 1\nEND END", "error 156 line 3: Incorrect syntax near the keyword 'END'."},
      {"IF 1 = 1", "error 102 line 1: Incorrect syntax near '1'."},
      {"IF 1 = 1\nELSE SELECT 1", "error 156 line 2: Incorrect syntax near the keyword 'ELSE'."},
      {"ELSE SELECT 1", "error 156 line 1: Incorrect syntax near the keyword 'ELSE'."},
      {"WHILE 1 = 1", "error 102 line 1: Incorrect syntax near '1'."},
      {"BEGIN TRY END TRY BEGIN CATCH END CATCH",
       "error 156 line 1: Incorrect syntax near the keyword 'END'."},
      {"BEGIN TRY SELECT 1 END TRY", "error 102 line 1: Incorrect syntax near 'TRY'."},
      {"BEGIN TRY SELECT 1 END BEGIN CATCH END CATCH",
       "error 156 line 1: Incorrect syntax near the keyword 'BEGIN'."},
      {"DECLARE @t TABLE (a int)", "error 102 line 1: Table variables are not supported."},
      {"DECLARE @a", "error 102 line 1: Incorrect syntax near '@a'."},
      {"DECLARE @a int,", "error 102 line 1: Incorrect syntax near ','."},
      {"DECLARE c CURSOR SELECT 1", "error 156 line 1: Incorrect syntax near the keyword 'SELECT'."},
      {"DECLARE c CURSOR FOR UPDATE t", "error 156 line 1: Incorrect syntax near the keyword 'UPDATE'."},
      {"SET @v", "error 102 line 1: Incorrect syntax near '@v'."},
      {"SET @v == 1", "error 102 line 1: Incorrect syntax near '='."},
      {"RAISERROR ('x', 16)", "error 102 line 1: Incorrect syntax near ')'."},
      {"RAISERROR ('x', 16, 1) WITH NOTHING", "error 102 line 1: Incorrect syntax near 'NOTHING'."},
      {"PRINT", "error 156 line 1: Incorrect syntax near the keyword 'PRINT'."},
      {"OPEN", "error 156 line 1: Incorrect syntax near the keyword 'OPEN'."},
      {"FETCH NEXT FROM c INTO a", "error 102 line 1: Incorrect syntax near 'a'."},
      {"WAITFOR '00:01'", "error 102 line 1: Incorrect syntax near '00:01'."},
      {"DBCC", "error 156 line 1: Incorrect syntax near the keyword 'DBCC'."},
      {"DBCC X (1", "error 102 line 1: Incorrect syntax near '1'."},
      {"BREAK 1", "error 102 line 1: Incorrect syntax near '1'."},
      {"END", "error 156 line 1: Incorrect syntax near the keyword 'END'."},
  };
  for (const ErrorCase& c : cases) EXPECT_EQ(ParseAndPrint(c.sql), c.error) << c.sql;
}

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(ParseProceduralTest, NestedStatementsAreCapped) {
  const std::string too_deep =
      "error 191 line 1: Some part of your SQL statement is nested too deeply. "
      "Rewrite the query or break it up into smaller queries.";
  EXPECT_TRUE(ParseBatch(Repeat("BEGIN ", 100) + "SELECT 1" + Repeat(" END", 100)).ok());
  EXPECT_EQ(ParseAndPrint(Repeat("BEGIN ", 10000) + "SELECT 1" + Repeat(" END", 10000)), too_deep);
  EXPECT_EQ(ParseAndPrint(Repeat("IF 1 = 1 ", 10000) + "SELECT 1"), too_deep);
  EXPECT_EQ(ParseAndPrint(Repeat("WHILE 1 = 1 ", 10000) + "BREAK"), too_deep);
  EXPECT_EQ(ParseAndPrint(Repeat("BEGIN TRY ", 10000)), too_deep);
  EXPECT_EQ(ParseAndPrint("CREATE PROC p AS " + Repeat("IF 1 = 1 ", 10000) + "RETURN"), too_deep);
  EXPECT_TRUE(ParseBatch("IF 1 = 1 PRINT 1" + Repeat(" ELSE IF 1 = 1 PRINT 1", 100)).ok());
  // Long lists of statements are flat.
  EXPECT_TRUE(ParseBatch("BEGIN " + Repeat("SET @a = 1 ", 20000) + "END").ok());
}

}  // namespace
}  // namespace sqlsim::testing
