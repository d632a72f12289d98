// Batches of the generated table scripts, as the library sends them: CR LF
// line ends, tabs, comments anywhere.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "sqlsim/front/ast_printer.h"

namespace sqlsim::testing {
namespace {

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

struct ScriptCase {
  const char* name;
  const char* batch;
  const char* printed;
};

const ScriptCase kScripts[] = {
    {"create table if missing",
     R"(IF 0 = (SELECT count(*) from [sysobjects] where ([xtype] = 'U' or [xtype] = 'V') and [name] = 'ut_KUNDE')
BEGIN
CREATE TABLE [dbo].[ut_KUNDE] ( [RecId] integer NOT NULL ,[MandId] integer DEFAULT 1 ,[NAME] char(30) DEFAULT '' CONSTRAINT [Pk_KUNDE]  PRIMARY KEY NONCLUSTERED ( [RecId] ) )
END)",
     "(if (= 0 (subquery (select (call count *) (from sysobjects) (where (AND (OR (= xtype 'U') (= xtype 'V')) "
     "(= name 'ut_KUNDE')))))) (block (create-table dbo.ut_KUNDE (col RecId integer not-null) "
     "(col MandId integer (default 1)) (col NAME char(30) (default '')) (pk Pk_KUNDE nonclustered (RecId)))))"},
    {"drop function if present",
     "IF OBJECT_ID (N'dpxfunc_NextRecId_KUNDE', N'FN') IS NOT NULL\n\tDROP FUNCTION dbo.dpxfunc_NextRecId_KUNDE",
     "(if (is-not-null (call object_id N'dpxfunc_NextRecId_KUNDE' N'FN')) "
     "(drop function dbo.dpxfunc_NextRecId_KUNDE))"},
    {"next id function",
     R"(CREATE FUNCTION dbo.dpxfunc_NextRecId_KUNDE() RETURNS integer
AS
BEGIN
  RETURN isnull((SELECT MAX(RecId) FROM [dbo].[ut_KUNDE] WITH (READUNCOMMITTED)),0) + 1
END
)",
     "(create-function dbo.dpxfunc_NextRecId_KUNDE (returns integer) (body (return (+ (call isnull "
     "(subquery (select (call max RecId) (from (tbl dbo.ut_KUNDE hints(READUNCOMMITTED))))) 0) 1))))"},
    {"append procedure",
     R"(CREATE PROCEDURE [dbo].[up_Append_KUNDE]
  @Parm_NAME char(30)
 ,@Parm_PREIS float
AS
  DECLARE @NeueId integer
  DECLARE @m_CountDown integer = 10
  WHILE @m_CountDown > 0 BEGIN
    BEGIN TRANSACTION
    BEGIN TRY
      SET @NeueId = dbo.dpxfunc_NextRecId_KUNDE()
      INSERT INTO [dbo].[ut_KUNDE] (RecId ,[NAME] ,[PREIS]) VALUES (@NeueId ,RTRIM(@Parm_NAME) ,@Parm_PREIS )
      COMMIT TRANSACTION
    END TRY
    BEGIN CATCH
      ROLLBACK TRANSACTION
      SET @NeueId = 0
    END CATCH

    IF @NeueId <> 0
      SET @m_CountDown = 0
    ELSE
      SET @m_CountDown = @m_CountDown - 1

    IF @m_CountDown > 0
      WAITFOR DELAY '00:00:00.050'
  END
  SELECT @NeueId AS RecId
)",
     "(create-procedure dbo.up_Append_KUNDE (params (@Parm_NAME char(30)) (@Parm_PREIS float)) (body "
     "(declare (@NeueId integer)) (declare (@m_CountDown integer 10)) (while (> @m_CountDown 0) (block "
     "(begin-tran) (try (do (set @NeueId = (call dbo.dpxfunc_nextrecid_kunde)) "
     "(insert dbo.ut_KUNDE (cols RecId NAME PREIS) (values (row @NeueId (call rtrim @Parm_NAME) @Parm_PREIS))) "
     "(commit)) (catch (rollback) (set @NeueId = 0))) "
     "(if (<> @NeueId 0) (set @m_CountDown = 0) (else (set @m_CountDown = (- @m_CountDown 1)))) "
     "(if (> @m_CountDown 0) (waitfor delay '00:00:00.050')))) (select (as @NeueId RecId))))"},
    {"next procedure",
     R"(CREATE PROCEDURE [dbo].[up_Next_KUNDE_K1] @oldRecId integer AS
  DECLARE @newRecId integer
  DECLARE @oldNAME char(30)
  DECLARE curTmp CURSOR FOR SELECT NAME FROM [dbo].[ut_KUNDE] WHERE RecId=@oldRecId
  OPEN    curTmp
  FETCH NEXT FROM curTmp INTO @oldNAME
  IF (@@FETCH_STATUS <> 0)
  BEGIN
    CLOSE      curTmp
    DEALLOCATE curTmp
    SET @newRecId = 0
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE NAME = @oldNAME AND RecId > @oldRecId
                   ORDER BY NAME,RecId
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
)",
     "(create-procedure dbo.up_Next_KUNDE_K1 (params (@oldRecId integer)) (body "
     "(declare (@newRecId integer)) (declare (@oldNAME char(30))) "
     "(declare-cursor curTmp (select NAME (from dbo.ut_KUNDE) (where (= RecId @oldRecId)))) "
     "(open curTmp) (fetch NEXT curTmp (into @oldNAME)) "
     "(if (<> @@FETCH_STATUS 0) (block (close curTmp) (deallocate curTmp) (set @newRecId = 0) "
     "(select (as @newRecId RecId)) (return))) "
     "(set @newRecId = (subquery (select (top 1) RecId (from dbo.ut_KUNDE) "
     "(where (AND (= NAME @oldNAME) (> RecId @oldRecId))) (order NAME RecId)))) "
     "(if (NOT (is-null @newRecId)) (block (select (as @newRecId RecId)) (return)))))"},
    {"find procedure",
     R"(CREATE PROCEDURE [dbo].[up_FindF_KUNDE_K1] @xKey char(128),@xLen integer AS
  IF @xLen < 30
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE SUBSTRING(NAME,1,@xLen) = SUBSTRING(@xKey,1,@xLen)
      ORDER BY NAME,RecId
    RETURN
  END
  SELECT CONVERT(integer,0) AS RecId
)",
     "(create-procedure dbo.up_FindF_KUNDE_K1 (params (@xKey char(128)) (@xLen integer)) (body "
     "(if (< @xLen 30) (block (select (top 1) RecId (from dbo.ut_KUNDE) "
     "(where (= (call substring NAME 1 @xLen) (call substring @xKey 1 @xLen))) (order NAME RecId)) (return))) "
     "(select (as (convert integer 0) RecId))))"},
    {"key trigger",
     R"(CREATE TRIGGER [dbo].[tr_KUNDE_KeyUpd] ON [dbo].[ut_KUNDE]
FOR INSERT, UPDATE
AS
  SET NOCOUNT ON
  IF UPDATE([RecId]) OR UPDATE([MandId])
  BEGIN
    DELETE FROM [dbo].[ut_KUNDE_Keys] /*WITH (SERIALIZABLE)*/
    WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)
    INSERT INTO [dbo].[ut_KUNDE_Keys] /*WITH (SERIALIZABLE)*/
    ([DataRecId],[DataMandId],[K1_Value])
    (SELECT [RecId],[MandId]
     ,UPPER(convert(char(30),[NAME])+STR(RecId,10))
    FROM INSERTED)
  END
  ELSE
  BEGIN
    UPDATE [dbo].[ut_KUNDE_Keys] /*WITH (SERIALIZABLE)*/ SET
    [K1_Value] = UPPER(convert(char(30),[NAME])+STR([RecId],10))
    FROM INSERTED WHERE [DataRecId] = [RecId]
  END
  IF (@bRecId = 1)
  BEGIN
    DECLARE  C        CURSOR FOR SELECT RecId FROM [dbo].[ut_KUNDE] ORDER BY RecId
    OPEN C
    FETCH NEXT FROM C INTO @CurrId
    WHILE (@@FETCH_STATUS = 0)
    BEGIN
      IF @CurrId <> @NextId
      UPDATE [dbo].[ut_KUNDE] SET RecId=@NextId WHERE CURRENT OF C
      SET @NextId = @NextId + 1
      FETCH NEXT FROM C INTO @CurrId
    END
  END
  IF (@bDbcc = 1)
  BEGIN
    DBCC DBREINDEX ( [ut_KUNDE] )
  END
)",
     "(create-trigger dbo.tr_KUNDE_KeyUpd (on dbo.ut_KUNDE) (after insert update) (body "
     "(set-option NOCOUNT ON) "
     "(if (OR (call update RecId) (call update MandId)) (block "
     "(delete dbo.ut_KUNDE_Keys (where (in DataRecId (select RecId (from DELETED))))) "
     "(insert dbo.ut_KUNDE_Keys (cols DataRecId DataMandId K1_Value) (select RecId MandId "
     "(call upper (+ (convert char(30) NAME) (call str RecId 10))) (from INSERTED)))) "
     "(else (block (update dbo.ut_KUNDE_Keys (set (= K1_Value (call upper (+ (convert char(30) NAME) "
     "(call str RecId 10))))) (from INSERTED) (where (= DataRecId RecId)))))) "
     "(if (= @bRecId 1) (block (declare-cursor C (select RecId (from dbo.ut_KUNDE) (order RecId))) "
     "(open C) (fetch NEXT C (into @CurrId)) (while (= @@FETCH_STATUS 0) (block "
     "(if (<> @CurrId @NextId) (update dbo.ut_KUNDE (set (= RecId @NextId)) (current-of C))) "
     "(set @NextId = (+ @NextId 1)) (fetch NEXT C (into @CurrId)))))) "
     "(if (= @bDbcc 1) (block (dbcc DBREINDEX ut_KUNDE)))))"},
    {"view",
     "CREATE VIEW [dbo].[KUNDE] AS\n  SELECT RecId\n    ,[NAME]\n  FROM [dbo].[ut_KUNDE]\n",
     "(create-view dbo.KUNDE (select RecId NAME (from dbo.ut_KUNDE)))"},
};

TEST(ParseScriptTest, GeneratedBatchesParse) {
  for (const ScriptCase& c : kScripts) {
    EXPECT_EQ(ParseAndPrint(WithCrLf(c.batch)), c.printed) << c.name;
    EXPECT_EQ(ParseAndPrint(c.batch), c.printed) << c.name << " with LF line ends";
  }
}

// Every cut of a valid script is either a valid batch or one clean error.
TEST(ParseScriptTest, TruncatedBatchesFailCleanly) {
  for (const ScriptCase& c : kScripts) {
    const std::string batch = WithCrLf(c.batch);
    int failures = 0;
    for (size_t cut = 0; cut < batch.size(); ++cut) {
      const std::string printed = ParseAndPrint(std::string_view(batch).substr(0, cut));
      if (printed.rfind("error ", 0) == 0) ++failures;
    }
    EXPECT_GT(failures, 0) << c.name;
  }
}

}  // namespace
}  // namespace sqlsim::testing
