// The parser: syntax errors as the server words them, where statements end,
// positions, and limits on nesting. What statements mean is shown by the
// engine's behaviour files, which run them.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <variant>

#include "sqlsim/front/parser.h"

namespace sqlsim {
namespace {

// The count of statements, or the first error as "<number>/<line> <message>",
// the message's common wording shortened to "kw ", "near " and " first".
std::string Parsed(std::string_view sql) {
  ParseOutcome outcome = ParseBatch(sql);
  if (outcome.ok()) return std::to_string(outcome.batch.statements.size());
  const Diagnostic& e = outcome.errors[0];
  std::string message = e.message;
  for (const auto& [wording, shortened] : {std::pair{"Incorrect syntax near the keyword ", "kw "},
                                           {"Incorrect syntax near ", "near "},
                                           {" must be the first statement in a query batch.", " first"}}) {
    const size_t at = message.find(wording);
    if (at != std::string::npos) message.replace(at, std::strlen(wording), shortened);
  }
  return std::to_string(e.native) + "/" + std::to_string(e.line) + " " + message;
}

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

struct Case {
  const char* sql;
  const char* parsed;
};

TEST(ParseTest, SyntaxErrorsNameTheTokenAndLine) {
  const Case cases[] = {
      {"SELECT FROM t", "156/1 kw 'FROM'."}, {"select * from t where", "156/1 kw 'WHERE'."},
      {"SELECT 1 +", "102/1 near '+'."}, {"SELECT a FROM t\nWHERE a = = 1", "102/2 near '='."},
      {"SELECT a b c FROM t", "102/1 near 'c'."}, {"SELECT (1", "102/1 near '1'."},
      {"SELECT count(*", "102/1 near '*'."}, {"SELECT 1\nfoo bar", "102/2 near 'bar'."},
      {"p 1 2", "102/1 near '2'."}, {"1", "102/1 near '1'."}, {"SELECT 1 WHERE 1 = 1 AND", "156/1 kw 'AND'."},
      {"CREATE TABLE t (a int CHECK (a > 0))", "156/1 kw 'CHECK'."}, {"CREATE TABLE t ()", "102/1 near ')'."},
      {"CREATE VIEW v AS SELECT 1 SELECT 2", "111/1 'CREATE VIEW' first"},
      {"INSERT INTO t (a) VALUES", "156/1 kw 'VALUES'."}, {"UPDATE t SET", "156/1 kw 'SET'."},
      {"UPDATE TOP 1 t SET a = 1", "102/1 near '1'."}, {"SELECT TOP @n * FROM t", "102/1 near '@n'."},
      {"SELECT * FROM (SELECT 1)", "102/1 near ')'."}, {"SELECT a FROM t ORDER BY", "156/1 kw 'BY'."},
      {"DROP THING x", "102/1 near 'THING'."}, {"BEGIN", "156/1 kw 'BEGIN'."},
      {"ALTER DATABASE x", "156/1 kw 'DATABASE'."}, {"BEGIN END", "156/1 kw 'END'."},
      {"SET @v + = 1", "102/1 near '+'."}, {"SELECT 1 SELECT", "156/1 kw 'SELECT'."},
      {"SELECT a.b.c.d.e FROM t", "102/1 near '.'."}, {"SELECT CASE END", "156/1 kw 'END'."},
      {"SELECT 1 !", "102/1 near '!'."},
      {"SELECT 'abc", "105/1 Unclosed quotation mark after the character string 'abc'."},
      {"SELECT 1 UNION (SELECT 2 ORDER BY 1)", "102/1 near ')'."},
      {"SELECT 1 EXCEPT ALL SELECT 1", "156/1 kw 'ALL'."}, {"SELECT 1 INTERSECT\nALL SELECT 1", "156/2 kw 'ALL'."},
      {"SELECT a FROM t ORDER BY a OFFSET 1", "102/1 near '1'."},
      {"SELECT a FROM t ORDER BY a OFFSET 1 ROWS FETCH NEXT 1 ROWS", "102/1 near 'ROWS'."},
      {"SELECT TOP 1 a FROM t ORDER BY a OFFSET 1 ROWS",
       "10741/1 A TOP can not be used in the same query or sub-query as a OFFSET."},
      {"SELECT * FROM (t JOIN u ON 1 = 1", "102/1 near '1'."},
      {"CREATE TABLE t (a int IDENTITY(92233720368547758070, 1))", "102/1 near '92233720368547758070'."},
      {"CREATE TABLE t (a int IDENTITY(9223372036854775808, 1))", "102/1 near '9223372036854775808'."},
      {"CREATE TABLE t (a char(2147483648))", "102/1 near '2147483648'."},
      {"CREATE TABLE t (a char(-1))", "102/1 near '-'."}, {"BEGIN SELECT 1", "102/1 near '1'."},
      {"BEGIN\nSELECT 1\nEND END", "156/3 kw 'END'."}, {"IF 1 = 1", "102/1 near '1'."},
      {"IF 1 = 1\nELSE SELECT 1", "156/2 kw 'ELSE'."}, {"ELSE SELECT 1", "156/1 kw 'ELSE'."},
      {"WHILE 1 = 1", "102/1 near '1'."}, {"BEGIN TRY END TRY BEGIN CATCH END CATCH", "156/1 kw 'END'."},
      {"BEGIN TRY SELECT 1 END TRY", "102/1 near 'TRY'."},
      {"BEGIN TRY SELECT 1 END BEGIN CATCH END CATCH", "156/1 kw 'BEGIN'."},
      {"DECLARE @t TABLE", "156/1 kw 'TABLE'."}, {"DECLARE @t TABLE ()", "102/1 near ')'."},
      {"EXEC (", "102/1 near '('."}, {"EXEC ('a'", "102/1 near 'a'."}, {"EXEC ()", "102/1 near ')'."},
      {"DELETE FROM t OUTPUT", "102/1 near 'OUTPUT'."}, {"INSERT INTO t OUTPUT inserted.a", "102/1 near 'a'."},
      {"UPDATE t SET a = 1 OUTPUT inserted.a INTO", "156/1 kw 'INTO'."},
      {"DECLARE @a", "102/1 near '@a'."}, {"DECLARE @a int,", "102/1 near ','."},
      {"DECLARE c CURSOR SELECT 1", "156/1 kw 'SELECT'."},
      {"DECLARE c CURSOR FOR UPDATE t", "156/1 kw 'UPDATE'."}, {"SET @v", "102/1 near '@v'."},
      {"SET @v == 1", "102/1 near '='."}, {"RAISERROR ('x', 16)", "102/1 near ')'."},
      {"RAISERROR ('x', 16, 1) WITH NOTHING", "102/1 near 'NOTHING'."}, {"PRINT", "156/1 kw 'PRINT'."},
      {"OPEN", "156/1 kw 'OPEN'."}, {"FETCH NEXT FROM c INTO a", "102/1 near 'a'."},
      {"WAITFOR '00:01'", "102/1 near '00:01'."}, {"DBCC", "156/1 kw 'DBCC'."},
      {"DBCC X (1", "102/1 near '1'."}, {"BREAK 1", "102/1 near '1'."}, {"END", "156/1 kw 'END'."},
      {"SELECT 1\nCREATE PROCEDURE p AS SELECT 1", "111/2 'CREATE PROCEDURE' first"},
      {"SELECT 1; CREATE PROC p AS SELECT 1", "111/1 'CREATE PROCEDURE' first"},
      {"IF 1 = 1\n CREATE VIEW v AS SELECT 1", "111/2 'CREATE VIEW' first"},
      {"BEGIN CREATE FUNCTION f() RETURNS int BEGIN RETURN 1 END END", "111/1 'CREATE FUNCTION' first"},
      {"DROP TRIGGER tr\nCREATE TRIGGER tr ON t FOR INSERT AS SELECT 1", "111/2 'CREATE TRIGGER' first"},
      {"SELECT 1 ALTER PROCEDURE p AS SELECT 1", "111/1 'ALTER PROCEDURE' first"},
      {"CREATE PROC p AS SELECT 1\nCREATE PROC q AS SELECT 2", "111/2 'CREATE PROCEDURE' first"},
      {"CREATE VIEW v AS SELECT 1\n\nSELECT 2", "111/3 'CREATE VIEW' first"},
      {"CREATE FUNCTION f() RETURNS int BEGIN RETURN 1 END\nSELECT 1", "111/2 'CREATE FUNCTION' first"},
      {"CREATE FUNCTION f() RETURNS TABLE AS RETURN (SELECT 1 AS a)",
       "102/1 Table-valued functions are not supported."},
      {"CREATE FUNCTION f() RETURNS @t TABLE (a int) AS BEGIN RETURN END",
       "102/1 Table-valued functions are not supported."},
      {"CREATE FUNCTION f() RETURNS int BEGIN SELECT 1 END",
       "455/1 The last statement included within a function must be a return statement."},
      {"CREATE FUNCTION f RETURNS int BEGIN RETURN 1 END", "102/1 near 'RETURNS'."},
      {"CREATE PROCEDURE p AS", "156/1 kw 'AS'."}, {"CREATE PROCEDURE p @a int,", "102/1 near ','."},
      {"CREATE PROCEDURE p @a AS SELECT 1", "156/1 kw 'SELECT'."},
      {"CREATE TRIGGER tr ON t AS SELECT 1", "156/1 kw 'AS'."},
      {"CREATE TRIGGER tr ON t FOR SELECT AS SELECT 1", "156/1 kw 'SELECT'."},
      {"CREATE VIEW v AS UPDATE t SET a = 1", "156/1 kw 'UPDATE'."},
      {"CREATE OR REPLACE VIEW v AS SELECT 1", "102/1 near 'REPLACE'."},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.sql), c.parsed) << c.sql;
}

// No semicolons needed: the grammar decides where a statement ends. Also
// statements the engine's files do not run.
TEST(ParseTest, StatementBoundariesAndRareForms) {
  const Case cases[] = {
      {"SELECT 1 SELECT 2", "2"}, {"SELECT 1;SELECT 2;;", "2"},
      {"SELECT a FROM t SELECT b FROM u WHERE c = 1 DELETE FROM t", "3"},
      {"SELECT a b FROM t c SET NOCOUNT ON", "2"}, {"SELECT 1\nGO", "1"},
      {"SELECT * FROM t ORDER BY a EXEC p", "2"}, {"SELECT 1 (SELECT 2)", "2"},
      {"EXEC [my proc] 0x01 SELECT 1", "2"}, {"DBCC FREEPROCCACHE () SELECT 1", "2"},
      {"RETURN\r\nSELECT 1", "2"}, {"RETURN\nSET @a = 1", "2"}, {"RETURN\nIF 1 = 1 PRINT 'x'", "2"},
      {"RETURN\nUPDATE t SET a = 1", "2"}, {"RETURN; SELECT 1", "2"},
      {"BEGIN TRAN BEGIN SELECT 1 END COMMIT", "3"},
      {"BEGIN TRY SELECT 1; END TRY; BEGIN CATCH; END CATCH", "1"},
      {"IF @a > 0 SELECT 1; ELSE SELECT 2", "1"}, {"", "0"}, {"-- nothing\n/* at all */", "0"},
      {"SELECT TOP (@n + 1) PERCENT a FROM t a WITH (NOLOCK, INDEX(ix_a)) UNION (SELECT 2)", "1"},
      {"SELECT * FROM t (nolock), u WITH (INDEX = ix, holdlock), v WITH (INDEX(1, ix2))", "1"},
      {"SELECT * FROM a CROSS JOIN b FULL JOIN d ON 3 = 3 RIGHT JOIN c ON 2 = 2", "1"},
      {"CREATE TABLE #t (a char(1) COLLATE Latin1_General_CI_AS, b float(53)) ON [PRIMARY]", "1"},
      {"CREATE NONCLUSTERED INDEX i ON t (a) WITH FILLFACTOR = 90", "1"},
      {"CREATE UNIQUE CLUSTERED INDEX i ON t (a DESC) WITH (IGNORE_DUP_KEY = on, FILLFACTOR = 80) ON [PRIMARY]", "1"},
      {"DROP INDEX t.i, dbo.u.j DROP INDEX i ON dbo.t DROP TABLE IF EXISTS a, dbo.b", "3"},
      {"SET TRANSACTION ISOLATION LEVEL READ UNCOMMITTED SET STATISTICS IO ON SET DATEFORMAT ymd", "3"},
      {"SET TRANSACTION ISOLATION LEVEL SNAPSHOT SET TRANSACTION ISOLATION LEVEL SERIALIZABLE", "2"},
      {"SAVE TRAN s ROLLBACK TRANSACTION t1 COMMIT WORK", "3"},
      {"RAISERROR (50001, 10, 1) WITH NOWAIT, LOG WAITFOR TIME @t", "2"},
      {"dbcc checkident ('t', RESEED, 0) WITH NO_INFOMSGS", "1"},
      {"DECLARE c INSENSITIVE SCROLL CURSOR FOR SELECT a FROM t FOR READ ONLY", "1"},
      {"DECLARE c CURSOR LOCAL FAST_FORWARD FOR SELECT a FROM t FOR UPDATE OF a, b", "1"},
      {"FETCH ABSOLUTE -2 FROM c FETCH RELATIVE @n FROM c INTO @a FETCH LAST FROM GLOBAL c FETCH next INTO @a", "4"},
      {"OPEN GLOBAL c OPEN global DELETE FROM t WHERE CURRENT OF GLOBAL c", "3"},
      {"UPDATE TOP (10) t WITH (ROWLOCK) SET t.a = DEFAULT, @v = a DELETE TOP (1) FROM t", "2"},
      {"INSERT t (SELECT 1) INSERT INTO t (a) EXECUTE p", "2"},
      {"EXEC @rc = db.dbo.p 1, -2.5, N'x', ?, NULL, DEFAULT, @a = 3, @b = @c OUTPUT, @d OUT", "1"},
      {"EXEC ? = p ?, @x = ? EXECUTE ?=p", "2"},
      {"CREATE PROCEDURE p (@a AS int = -1, @b int OUT) WITH RECOMPILE, EXECUTE AS OWNER AS RETURN @a", "1"},
      {"CREATE PROC p;2 () FOR REPLICATION AS PRINT 'x'", "1"},
      {"ALTER FUNCTION f() RETURNS int WITH RETURNS NULL ON NULL INPUT AS BEGIN RETURN 0 END", "1"},
      {"CREATE VIEW v (a, [b c]) WITH SCHEMABINDING AS SELECT x, y FROM t WITH CHECK OPTION;", "1"},
      {"SET IDENTITY_INSERT dbo.t ON SET LOCK_TIMEOUT -1 EXEC sp_help Kunde", "3"},
      {"SELECT CURRENT_TIMESTAMP, current_user FROM master..sysobjects, @tv, t AS k, (SELECT 1 AS one) AS d", "1"},
      {"SET LOCK_TIMEOUT (", "102/1 near '('."},
      {"CREATE TRIGGER tr ON t WITH ENCRYPTION INSTEAD OF UPDATE, DELETE, INSERT "
       "WITH APPEND NOT FOR REPLICATION AS PRINT 'x'",
       "1"},
  };
  for (const Case& c : cases) EXPECT_EQ(Parsed(c.sql), c.parsed) << c.sql;
}

TEST(ParseTest, ErrorKeepsEarlierStatementsAndPositions) {
  ParseOutcome outcome = ParseBatch("SELECT 1\nSELECT 2\nSELECT FROM");
  ASSERT_EQ(outcome.errors.size(), 1u);
  EXPECT_EQ(outcome.errors[0].sqlstate, "42000");
  EXPECT_EQ(outcome.errors[0].severity, 16);
  EXPECT_EQ(outcome.batch.statements.size(), 2u);
  outcome = ParseBatch("SELECT 1  ;\n  UPDATE t SET a = ? -- done\n");
  ASSERT_EQ(outcome.batch.statements.size(), 2u);
  const ast::Statement& update = outcome.batch.statements[1];
  EXPECT_EQ(outcome.batch.statements[0].end_offset, 8u);
  EXPECT_EQ(update.pos.line, 2);
  EXPECT_EQ(update.pos.column, 3);
  EXPECT_EQ(update.pos.offset, 14u);
  EXPECT_EQ(update.end_offset, 32u);
  EXPECT_EQ(outcome.batch.parameter_count, 1);
}

TEST(ParseTest, BodyOffsetMarksWhereTheDefinitionStarts) {
  const Case cases[] = {
      {"CREATE PROCEDURE p @a int AS\r\n  -- note\r\n  SELECT @a", "SELECT @a"},
      {"CREATE FUNCTION f() RETURNS int\r\nAS\r\nBEGIN RETURN 1 END", "BEGIN RETURN 1 END"},
      {"CREATE FUNCTION f() RETURNS int BEGIN RETURN 1 END", "BEGIN RETURN 1 END"},
      {"CREATE VIEW v AS\n SELECT 1", "SELECT 1"},
      {"CREATE TRIGGER tr ON t FOR INSERT AS /* x */ PRINT 'x'", "PRINT 'x'"},
  };
  for (const Case& c : cases) {
    ParseOutcome outcome = ParseBatch(c.sql);
    ASSERT_EQ(outcome.batch.statements.size(), 1u) << c.sql;
    const auto& module = std::get<ast::CreateModule>(outcome.batch.statements[0].body);
    EXPECT_EQ(std::string(c.sql).substr(module.body_offset), c.parsed) << c.sql;
  }
}

TEST(ParseTest, NestingIsCapped) {
  // Deep nesting and long operator chains are refused instead of
  // overflowing the stack; the height adds up across levels; lists are flat.
  const std::string too_deep =
      "191/1 Some part of your SQL statement is nested too deeply. "
      "Rewrite the query or break it up into smaller queries.";
  const std::string refused[] = {
      "SELECT " + Repeat("(", 10000) + "1" + Repeat(")", 10000),
      "SELECT " + Repeat("- ", 10000) + "1",
      "SELECT 1 WHERE " + Repeat("NOT ", 10000) + "1 = 1",
      "SELECT " + Repeat("(SELECT ", 5000) + "1" + Repeat(")", 5000),
      "SELECT * FROM " + Repeat("(SELECT * FROM ", 5000) + "t" + Repeat(") x", 5000),
      "SELECT " + Repeat("f(", 5000) + "1" + Repeat(")", 5000),
      "SELECT 1" + Repeat(" + 1", 5000),
      "SELECT 1 WHERE 1 = 1" + Repeat(" OR 1 = 1", 5000),
      "SELECT 1" + Repeat(" UNION SELECT 1", 5000),
      "SELECT " + Repeat("(", 100) + "1" + Repeat(Repeat(" + 1", 20) + ")", 100),
      Repeat("BEGIN ", 10000) + "SELECT 1" + Repeat(" END", 10000),
      Repeat("IF 1 = 1 ", 10000) + "SELECT 1",
      Repeat("WHILE 1 = 1 ", 10000) + "BREAK",
      Repeat("BEGIN TRY ", 10000),
      "CREATE PROC p AS " + Repeat("IF 1 = 1 ", 10000) + "RETURN",
  };
  for (const std::string& sql : refused) EXPECT_EQ(Parsed(sql), too_deep) << sql.substr(0, 40);
  const std::string accepted[] = {
      "SELECT " + Repeat("(", 100) + "1" + Repeat(")", 100),
      "SELECT 1" + Repeat(" + 1", 500),
      "SELECT " + Repeat("(", 100) + "1" + Repeat(Repeat(" + 1", 5) + ")", 100),
      "SELECT 1 WHERE a IN (1" + Repeat(", 1", 10000) + ")",
      Repeat("SELECT 1 ", 10000),
      Repeat("BEGIN ", 100) + "SELECT 1" + Repeat(" END", 100),
      "IF 1 = 1 PRINT 1" + Repeat(" ELSE IF 1 = 1 PRINT 1", 100),
      "BEGIN " + Repeat("SET @a = 1 ", 20000) + "END",
  };
  for (const std::string& sql : accepted) EXPECT_TRUE(ParseBatch(sql).ok()) << sql.substr(0, 40);
}

// Every batch of generated scripts parses, and every cut of one is a
// valid batch or one clean error.
TEST(ParseTest, GeneratedBatchesAndTheirCuts) {
  for (const char* name : {"table_tsql_kunde.sql", "keyprocs_kunde_NAME_KEY.sql", "procs_kunde.sql"}) {
    std::ifstream in(std::string(LERV32_GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string script = "\n" + text.str();
    int batches = 0;
    for (size_t start = 0, go; (go = script.find("\nGO\r\n", start)) != std::string::npos; start = go + 5) {
      const std::string batch = script.substr(start, go + 1 - start);
      ++batches;
      EXPECT_TRUE(ParseBatch(batch).ok()) << batch;
      for (size_t cut = 0; cut < batch.size(); ++cut) {
        ParseOutcome outcome = ParseBatch(std::string_view(batch).substr(0, cut));
        EXPECT_LE(outcome.errors.size(), 1u);
      }
    }
    EXPECT_GT(batches, 3) << name;
  }
}

}  // namespace
}  // namespace sqlsim
