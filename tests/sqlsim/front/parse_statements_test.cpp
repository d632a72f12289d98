// Data changes, definitions and the remaining statements.
#include <gtest/gtest.h>

#include <string>

#include "sqlsim/front/ast_printer.h"

namespace sqlsim::testing {
namespace {

TEST(ParseStatementsTest, Statements) {
  const SqlCase cases[] = {
      // Insert.
      {"INSERT INTO t (a, [b]) VALUES (1, 'x')", "(insert t (cols a b) (values (row 1 'x')))"},
      {"INSERT t VALUES (1, DEFAULT), (?, NULL)", "(insert t (values (row 1 DEFAULT) (row ?0 NULL)))"},
      {"INSERT INTO t DEFAULT VALUES", "(insert t default-values)"},
      {"INSERT INTO t (a) SELECT b FROM u", "(insert t (cols a) (select b (from u)))"},
      {"INSERT INTO [dbo].[k] ([a],[b])\n (SELECT [RecId],1 AS [MandId] FROM INSERTED)",
       "(insert dbo.k (cols a b) (select RecId (as 1 MandId) (from INSERTED)))"},
      {"INSERT t (SELECT 1)", "(insert t (select 1))"},
      {"INSERT INTO t EXEC dbo.p 1", "(insert t (exec dbo.p 1))"},
      {"INSERT INTO t (a) EXECUTE p", "(insert t (cols a) (exec p))"},
      // Update and delete.
      {"UPDATE t SET a = 1, [b] = b + 1 WHERE c = 2",
       "(update t (set (= a 1) (= b (+ b 1))) (where (= c 2)))"},
      {"UPDATE TOP (10) t WITH (ROWLOCK) SET t.a = DEFAULT, @v = a",
       "(update (top 10) (tbl t hints(ROWLOCK)) (set (= t.a DEFAULT) (= @v a)))"},
      {"UPDATE k SET [v] = UPPER(x) FROM INSERTED WHERE [DataRecId] = [RecId]",
       "(update k (set (= v (call upper x))) (from INSERTED) (where (= DataRecId RecId)))"},
      {"UPDATE t SET RecId=@NextId WHERE CURRENT OF C", "(update t (set (= RecId @NextId)) (current-of C))"},
      {"DELETE FROM t WHERE a = 1", "(delete t (where (= a 1)))"},
      {"DELETE t", "(delete t)"},
      {"DELETE TOP (1) FROM t", "(delete (top 1) t)"},
      {"DELETE t FROM t JOIN u ON t.a = u.a", "(delete t (from (inner-join t u (= t.a u.a))))"},
      {"DELETE FROM t WHERE CURRENT OF GLOBAL c", "(delete t (current-of c))"},
      {"DELETE FROM [dbo].[k] /*WITH (SERIALIZABLE)*/\n WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)",
       "(delete dbo.k (where (in DataRecId (select RecId (from DELETED)))))"},
      // Create table.
      {"CREATE TABLE t (a int, b varchar(max) NULL, c decimal(10,2) NOT NULL, d float(53))",
       "(create-table t (col a int) (col b varchar(max) null) (col c decimal(10,2) not-null) (col d float(53)))"},
      {"CREATE TABLE t (id int IDENTITY(1,1) PRIMARY KEY, n char(10) CONSTRAINT df DEFAULT ' ' UNIQUE NONCLUSTERED)",
       "(create-table t (col id int identity(1,1) (pk)) "
       "(col n char(10) (default df ' ') (unique nonclustered)))"},
      {"CREATE TABLE t (id int NOT NULL IDENTITY(-5, 2) CONSTRAINT pk PRIMARY KEY CLUSTERED)",
       "(create-table t (col id int not-null identity(-5,2) (pk pk clustered)))"},
      {"CREATE TABLE t (id bigint IDENTITY(-9223372036854775807, 9223372036854775807))",
       "(create-table t (col id bigint identity(-9223372036854775807,9223372036854775807)))"},
      {"CREATE TABLE t (a int, b int, CONSTRAINT pk PRIMARY KEY NONCLUSTERED (a ASC, b DESC), UNIQUE (b)) ON [PRIMARY]",
       "(create-table t (col a int) (col b int) (pk pk nonclustered (a b desc)) (unique (b)))"},
      // A key with its columns after the last column, without the comma.
      {"CREATE TABLE [dbo].[ut_KUNDE]\n(\n   [RecId]  integer NOT NULL\n  ,[NOTIZ] char(40) DEFAULT ' '\n"
       "  CONSTRAINT [Pk_KUNDE]  PRIMARY KEY NONCLUSTERED ( [RecId] )\n)",
       "(create-table dbo.ut_KUNDE (col RecId integer not-null) (col NOTIZ char(40) (default ' ')) "
       "(pk Pk_KUNDE nonclustered (RecId)))"},
      {"CREATE TABLE t (d datetime DEFAULT CONVERT(datetime,'1900-01-01',120), x int DEFAULT (0),)",
       "(create-table t (col d datetime (default (convert datetime '1900-01-01' 120))) (col x int (default 0)))"},
      {"CREATE TABLE #t (a char(1) COLLATE Latin1_General_CI_AS)",
       "(create-table #t (col a char(1) collate Latin1_General_CI_AS))"},
      // Indexes and drops.
      {"CREATE INDEX [Ik_NAME_KEY] ON [dbo].[ut_KUNDE]\n(NAME,ORT,RecId)",
       "(create-index Ik_NAME_KEY dbo.ut_KUNDE (NAME ORT RecId))"},
      {"CREATE UNIQUE CLUSTERED INDEX i ON t (a DESC) WITH (IGNORE_DUP_KEY = on, FILLFACTOR = 80) ON [PRIMARY]",
       "(create-index unique clustered i t (a desc) (with IGNORE_DUP_KEY=ON FILLFACTOR=80))"},
      {"CREATE NONCLUSTERED INDEX i ON t (a) WITH FILLFACTOR = 90",
       "(create-index nonclustered i t (a) (with FILLFACTOR=90))"},
      {"DROP TABLE ut_KUNDE", "(drop table ut_KUNDE)"},
      {"DROP TABLE IF EXISTS a, dbo.b", "(drop table if-exists a dbo.b)"},
      {"DROP PROC p DROP PROCEDURE [dbo].[q]", "(drop procedure p)\n(drop procedure dbo.q)"},
      {"DROP VIEW v DROP FUNCTION dbo.f DROP TRIGGER tr DROP DATABASE d",
       "(drop view v)\n(drop function dbo.f)\n(drop trigger tr)\n(drop database d)"},
      {"DROP INDEX t.i, dbo.u.j", "(drop index t:i dbo.u:j)"},
      {"DROP INDEX i ON dbo.t", "(drop index dbo.t:i)"},
      // Alter table.
      {"ALTER TABLE [dbo].[ut_KUNDE] ADD [NR] integer NOT NULL DEFAULT 0",
       "(alter-table dbo.ut_KUNDE add (col NR integer not-null (default 0)))"},
      {"ALTER TABLE t ADD a int, b char(2) NULL", "(alter-table t add (col a int) (col b char(2) null))"},
      {"ALTER TABLE t ADD CONSTRAINT pk PRIMARY KEY (a)", "(alter-table t add-constraint (pk pk (a)))"},
      {"ALTER TABLE t ALTER COLUMN [NAME] char(20)", "(alter-table t alter-column (col NAME char(20)))"},
      {"ALTER TABLE t ALTER COLUMN a varchar(10) NOT NULL", "(alter-table t alter-column (col a varchar(10) not-null))"},
      {"ALTER TABLE t DROP COLUMN a, b", "(alter-table t drop-column a b)"},
      {"ALTER TABLE t DROP CONSTRAINT pk", "(alter-table t drop-constraint pk)"},
      // EXECUTE, USE, SET, transactions.
      {"EXEC p", "(exec p)"},
      {"EXECUTE [dbo].[up_Sel2_KUNDE] @mRI", "(exec dbo.up_Sel2_KUNDE @mRI)"},
      {"EXEC @rc = db.dbo.p 1, -2.5, N'x', ?, NULL, DEFAULT, @a = 3, @b = @c OUTPUT, @d OUT",
       "(exec @rc = db.dbo.p 1 dec:-2.5 N'x' ?0 NULL DEFAULT @a=3 @b=@c OUTPUT @d OUTPUT)"},
      {"EXEC sp_help Kunde", "(exec sp_help 'Kunde')"},
      {"EXEC [my proc] 0x01 SELECT 1", "(exec [my proc] 0x01)\n(select 1)"},
      {"sqlsim_fault 'putdata', 2", "(exec sqlsim_fault 'putdata' 2)"},
      {"USE [master]", "(use master)"},
      {"CREATE DATABASE shop", "(create-database shop)"},
      {"SET NOCOUNT ON SET ANSI_PADDING off", "(set-option NOCOUNT ON)\n(set-option ANSI_PADDING OFF)"},
      {"SET DATEFORMAT ymd", "(set-option DATEFORMAT ymd)"},
      {"SET ROWCOUNT 0 SET LOCK_TIMEOUT -1", "(set-option ROWCOUNT 0)\n(set-option LOCK_TIMEOUT -1)"},
      {"SET IDENTITY_INSERT dbo.t ON", "(set-option IDENTITY_INSERT dbo.t ON)"},
      {"SET TRANSACTION ISOLATION LEVEL READ UNCOMMITTED",
       "(set-option TRANSACTION ISOLATION LEVEL READ UNCOMMITTED)"},
      {"SET STATISTICS IO ON", "(set-option STATISTICS IO ON)"},
      {"BEGIN TRAN BEGIN TRANSACTION t1 COMMIT COMMIT TRAN COMMIT WORK",
       "(begin-tran)\n(begin-tran t1)\n(commit)\n(commit)\n(commit)"},
      {"ROLLBACK TRANSACTION t1 ROLLBACK SAVE TRAN s", "(rollback t1)\n(rollback)\n(save-tran s)"},
      {"BEGIN TRANSACTION\nINSERT t VALUES (1)\nCOMMIT TRANSACTION",
       "(begin-tran)\n(insert t (values (row 1)))\n(commit)"},
  };
  ExpectPrinted(std::begin(cases), std::end(cases));
}

}  // namespace
}  // namespace sqlsim::testing
