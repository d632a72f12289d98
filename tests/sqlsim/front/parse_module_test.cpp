// Procedures, functions, views and triggers, and the generated scripts that
// define them.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <variant>

#include "sqlsim/front/ast_printer.h"
#include "sqlsim/front/parser.h"

namespace sqlsim::testing {
namespace {

TEST(ParseModuleTest, Modules) {
  const SqlCase cases[] = {
      {"CREATE PROCEDURE p AS SELECT 1", "(create-procedure p (body (select 1)))"},
      {"CREATE PROC [dbo].[p] @a int, @b char(10) = 'x' OUTPUT AS SELECT @a; RETURN",
       "(create-procedure dbo.p (params (@a int) (@b char(10) 'x' output)) (body (select @a) (return)))"},
      {"CREATE PROCEDURE p (@a AS int = -1, @b int OUT) WITH RECOMPILE, EXECUTE AS OWNER AS RETURN @a",
       "(create-procedure p (params (@a int -1) (@b int output)) (with RECOMPILE EXECUTE AS OWNER) "
       "(body (return @a)))"},
      {"CREATE PROC p;2 () FOR REPLICATION AS PRINT 'x'",
       "(create-procedure p (with FOR REPLICATION) (body (print 'x')))"},
      {"ALTER PROCEDURE p AS BEGIN SELECT 1 END", "(alter-procedure p (body (block (select 1))))"},
      {"CREATE OR ALTER PROC p AS SELECT 1", "(create-or-alter-procedure p (body (select 1)))"},
      {"CREATE FUNCTION dbo.f() RETURNS integer\r\nAS\r\nBEGIN\r\n  RETURN 1\r\nEND",
       "(create-function dbo.f (returns integer) (body (return 1)))"},
      {"CREATE FUNCTION f (@a int, @b varchar(10) = 'x') RETURNS varchar(20) WITH SCHEMABINDING "
       "BEGIN DECLARE @r varchar(20) SET @r = @b RETURN @r END;",
       "(create-function f (params (@a int) (@b varchar(10) 'x')) (returns varchar(20)) "
       "(with SCHEMABINDING) (body (declare (@r varchar(20))) (set @r = @b) (return @r)))"},
      {"ALTER FUNCTION f() RETURNS int WITH RETURNS NULL ON NULL INPUT AS BEGIN RETURN 0 END",
       "(alter-function f (returns int) (with RETURNS NULL ON NULL INPUT) (body (return 0)))"},
      {"CREATE VIEW [dbo].[KUNDE] AS\r\n  SELECT RecId\r\n    ,[NAME]\r\n  FROM [dbo].[ut_KUNDE]",
       "(create-view dbo.KUNDE (select RecId NAME (from dbo.ut_KUNDE)))"},
      {"CREATE VIEW v (a, [b c]) WITH SCHEMABINDING AS SELECT x, y FROM t WITH CHECK OPTION;",
       "(create-view v (cols a [b c]) (with SCHEMABINDING CHECK OPTION) (select x y (from t)))"},
      {"ALTER VIEW v AS SELECT 1 UNION SELECT 2", "(alter-view v (union (select 1) (select 2)))"},
      {"CREATE TRIGGER tr ON t FOR INSERT, UPDATE AS SET NOCOUNT ON",
       "(create-trigger tr (on t) (after insert update) (body (set-option NOCOUNT ON)))"},
      {"CREATE TRIGGER tr ON dbo.t AFTER DELETE AS SELECT 1",
       "(create-trigger tr (on dbo.t) (after delete) (body (select 1)))"},
      {"CREATE TRIGGER tr ON t WITH ENCRYPTION INSTEAD OF UPDATE, DELETE, INSERT "
       "WITH APPEND NOT FOR REPLICATION AS PRINT 'x'",
       "(create-trigger tr (on t) (instead-of insert update delete) (with ENCRYPTION APPEND NOT FOR REPLICATION) "
       "(body (print 'x')))"},
      {"ALTER TRIGGER tr ON t FOR DELETE AS RETURN", "(alter-trigger tr (on t) (after delete) (body (return)))"},
  };
  ExpectPrinted(std::begin(cases), std::end(cases));
}

struct ErrorCase {
  const char* sql;
  const char* error;
};

TEST(ParseModuleTest, MisplacedOrMalformedModulesAreRefused) {
  const ErrorCase cases[] = {
      {"SELECT 1\nCREATE PROCEDURE p AS SELECT 1",
       "error 111 line 2: 'CREATE PROCEDURE' must be the first statement in a query batch."},
      {"SELECT 1; CREATE PROC p AS SELECT 1",
       "error 111 line 1: 'CREATE PROCEDURE' must be the first statement in a query batch."},
      {"IF 1 = 1\n CREATE VIEW v AS SELECT 1",
       "error 111 line 2: 'CREATE VIEW' must be the first statement in a query batch."},
      {"BEGIN CREATE FUNCTION f() RETURNS int BEGIN RETURN 1 END END",
       "error 111 line 1: 'CREATE FUNCTION' must be the first statement in a query batch."},
      {"DROP TRIGGER tr\nCREATE TRIGGER tr ON t FOR INSERT AS SELECT 1",
       "error 111 line 2: 'CREATE TRIGGER' must be the first statement in a query batch."},
      {"SELECT 1 ALTER PROCEDURE p AS SELECT 1",
       "error 111 line 1: 'ALTER PROCEDURE' must be the first statement in a query batch."},
      {"CREATE PROC p AS SELECT 1\nCREATE PROC q AS SELECT 2",
       "error 111 line 2: 'CREATE PROCEDURE' must be the first statement in a query batch."},
      {"CREATE VIEW v AS SELECT 1\n\nSELECT 2",
       "error 111 line 3: 'CREATE VIEW' must be the first statement in a query batch."},
      {"CREATE FUNCTION f() RETURNS int BEGIN RETURN 1 END\nSELECT 1",
       "error 111 line 2: 'CREATE FUNCTION' must be the first statement in a query batch."},
      {"CREATE FUNCTION f() RETURNS TABLE AS RETURN (SELECT 1 AS a)",
       "error 102 line 1: Table-valued functions are not supported."},
      {"CREATE FUNCTION f() RETURNS @t TABLE (a int) AS BEGIN RETURN END",
       "error 102 line 1: Table-valued functions are not supported."},
      {"CREATE FUNCTION f() RETURNS int BEGIN SELECT 1 END",
       "error 455 line 1: The last statement included within a function must be a return statement."},
      {"CREATE FUNCTION f RETURNS int BEGIN RETURN 1 END",
       "error 102 line 1: Incorrect syntax near 'RETURNS'."},
      {"CREATE PROCEDURE p AS", "error 156 line 1: Incorrect syntax near the keyword 'AS'."},
      {"CREATE PROCEDURE p @a int,", "error 102 line 1: Incorrect syntax near ','."},
      {"CREATE PROCEDURE p @a AS SELECT 1", "error 156 line 1: Incorrect syntax near the keyword 'SELECT'."},
      {"CREATE TRIGGER tr ON t AS SELECT 1", "error 156 line 1: Incorrect syntax near the keyword 'AS'."},
      {"CREATE TRIGGER tr ON t FOR SELECT AS SELECT 1",
       "error 156 line 1: Incorrect syntax near the keyword 'SELECT'."},
      {"CREATE VIEW v AS UPDATE t SET a = 1", "error 156 line 1: Incorrect syntax near the keyword 'UPDATE'."},
      {"CREATE OR REPLACE VIEW v AS SELECT 1", "error 102 line 1: Incorrect syntax near 'REPLACE'."},
  };
  for (const ErrorCase& c : cases) EXPECT_EQ(ParseAndPrint(c.sql), c.error) << c.sql;
}

TEST(ParseModuleTest, BodyOffsetMarksWhereTheDefinitionStarts) {
  struct OffsetCase {
    const char* sql;
    const char* body_start;  // the text from body_offset on starts with this
  };
  const OffsetCase cases[] = {
      {"CREATE PROCEDURE p @a int AS\r\n  -- note\r\n  SELECT @a", "SELECT @a"},
      {"CREATE PROC p AS SELECT 1", "SELECT 1"},
      {"CREATE FUNCTION f() RETURNS int\r\nAS\r\nBEGIN RETURN 1 END", "BEGIN RETURN 1 END"},
      {"CREATE FUNCTION f() RETURNS int BEGIN RETURN 1 END", "BEGIN RETURN 1 END"},
      {"CREATE VIEW v AS\n SELECT 1", "SELECT 1"},
      {"CREATE TRIGGER tr ON t FOR INSERT AS /* x */ PRINT 'x'", "PRINT 'x'"},
  };
  for (const OffsetCase& c : cases) {
    ParseOutcome outcome = ParseBatch(c.sql);
    ASSERT_TRUE(outcome.ok()) << c.sql << ": " << outcome.errors[0].message;
    ASSERT_EQ(outcome.batch.statements.size(), 1u) << c.sql;
    const auto& module = std::get<ast::CreateModule>(outcome.batch.statements[0].body);
    EXPECT_EQ(std::string(c.sql).substr(module.body_offset), c.body_start) << c.sql;
  }
}

}  // namespace
}  // namespace sqlsim::testing
