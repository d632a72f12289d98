------------------------------------------------------------
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_ZAHLEN]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_ZAHLEN]
GO
CREATE FUNCTION [dbo].[dpxfunc_NextRecId_ZAHLEN]() RETURNS integer
AS
BEGIN
  RETURN isnull((SELECT MAX(RecId) FROM [dbo].[ut_ZAHLEN] WITH (READUNCOMMITTED)),0) + 1
END
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Sel_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_ZAHLEN]
GO
CREATE PROCEDURE [dbo].[up_Sel_ZAHLEN]
  @RI integer
AS
SELECT
     [A]
    ,[B]
  FROM [dbo].[ut_ZAHLEN]
  WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Sel_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_ZAHLEN]
GO
CREATE PROCEDURE [dbo].[up_Sel2_ZAHLEN]
  @Param_RecId varchar(20)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)
  SELECT * FROM [dbo].[ZAHLEN]
  WHERE RecId = @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Append_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_ZAHLEN]
GO
CREATE PROCEDURE [dbo].[up_Append_ZAHLEN]
  @Parm_A integer
 ,@Parm_B float
AS
  DECLARE @NeueId integer
  DECLARE @m_CountDown integer = 10
  WHILE @m_CountDown > 0 BEGIN
    BEGIN TRANSACTION
    BEGIN TRY
      SET @NeueId = [dbo].[dpxfunc_NextRecId_ZAHLEN]()
      INSERT INTO [dbo].[ut_ZAHLEN] (RecId
       ,[A]
       ,[B]
         ) VALUES (@NeueId
       ,@Parm_A
       ,@Parm_B
           )
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
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Upd_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_ZAHLEN]
GO
CREATE PROCEDURE [dbo].[up_Upd_ZAHLEN]
  @RI integer
 ,@Parm_A integer
 ,@Parm_B float
AS
--BEGIN TRANSACTION
UPDATE [dbo].[ut_ZAHLEN] SET
     [A] = @Parm_A
    ,[B] = @Parm_B
  WHERE RecId = @RI
--COMMIT TRANSACTION
GO

------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Upd2_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_ZAHLEN]
GO
CREATE PROCEDURE [dbo].[up_Upd2_ZAHLEN]
  @Param_RecId varchar(20)
 ,@Param_A varchar(20)
 ,@Param_B varchar(20)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)

  UPDATE [dbo].[ut_ZAHLEN] SET
     [A] = dbo.dpxfunc_integer(@Param_A)
    ,[B] = dbo.dpxfunc_float(@Param_B)
  WHERE RecId = @mRI

  EXECUTE [dbo].[up_Sel2_ZAHLEN] @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_TrSel_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_ZAHLEN]
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Add_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_ZAHLEN]
GO
CREATE PROCEDURE [dbo].[up_Add_ZAHLEN] AS
  DECLARE @NeueId integer = [dbo].[dpxfunc_NextRecId_ZAHLEN]()
  INSERT INTO [dbo].[ut_ZAHLEN] (RecId) VALUES( @NeueId )
  IF @@ERROR = 0
    SELECT @NeueId AS RecId
  ELSE
    SELECT 0 AS RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Del_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_ZAHLEN]
GO
CREATE PROCEDURE [dbo].[up_Del_ZAHLEN]
  @RI integer
AS
  DELETE FROM [dbo].[ut_ZAHLEN] WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Reorg_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_ZAHLEN]
GO
CREATE PROCEDURE [dbo].[up_Reorg_ZAHLEN]
  @bDbcc integer,@bRecId integer
AS
  IF (@bRecId = 1)
  BEGIN
    DECLARE  C        CURSOR FOR SELECT RecId FROM [dbo].[ut_ZAHLEN] ORDER BY RecId
    DECLARE  @CurrId  integer
    DECLARE  @NextId  integer
    --BEGIN TRANSACTION
    OPEN C
    SET @NextId = 1
    FETCH NEXT FROM C INTO @CurrId
    WHILE (@@FETCH_STATUS = 0)
    BEGIN
      IF @CurrId <> @NextId
      UPDATE [dbo].[ut_ZAHLEN] SET RecId=@NextId WHERE CURRENT OF C
      SET @NextId = @NextId + 1
      FETCH NEXT FROM C INTO @CurrId
    END
    CLOSE C
    --COMMIT TRANSACTION
    DEALLOCATE C
  END

  IF (@bDbcc = 1)
  BEGIN
    DBCC DBREINDEX ( [ut_ZAHLEN] )
  END
GO

