------------------------------------------------------------
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_KEINE]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_KEINE]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_KEINE]
GO
CREATE FUNCTION [dbo].[dpxfunc_NextRecId_KEINE]() RETURNS integer
AS
BEGIN
  RETURN isnull((SELECT MAX(RecId) FROM [dbo].[ut_KEINE] WITH (READUNCOMMITTED)),0) + 1
END
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Sel_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_KEINE]
GO
CREATE PROCEDURE [dbo].[up_Sel_KEINE]
  @RI integer
AS
SELECT
     [A]
  FROM [dbo].[ut_KEINE]
  WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Sel_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_KEINE]
GO
CREATE PROCEDURE [dbo].[up_Sel2_KEINE]
  @Param_RecId varchar(20)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)
  SELECT * FROM [dbo].[KEINE]
  WHERE RecId = @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Append_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_KEINE]
GO
CREATE PROCEDURE [dbo].[up_Append_KEINE]
  @Parm_A char(4)
AS
  DECLARE @NeueId integer
  DECLARE @m_CountDown integer = 10
  WHILE @m_CountDown > 0 BEGIN
    BEGIN TRANSACTION
    BEGIN TRY
      SET @NeueId = [dbo].[dpxfunc_NextRecId_KEINE]()
      INSERT INTO [dbo].[ut_KEINE] (RecId
       ,[A]
         ) VALUES (@NeueId
       ,RTRIM(@Parm_A)
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
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Upd_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_KEINE]
GO
CREATE PROCEDURE [dbo].[up_Upd_KEINE]
  @RI integer
 ,@Parm_A char(4)
AS
--BEGIN TRANSACTION
UPDATE [dbo].[ut_KEINE] SET
     [A] = RTRIM(@Parm_A)
  WHERE RecId = @RI
--COMMIT TRANSACTION
GO

------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Upd2_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_KEINE]
GO
CREATE PROCEDURE [dbo].[up_Upd2_KEINE]
  @Param_RecId varchar(20)
 ,@Param_A varchar(4)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)

  UPDATE [dbo].[ut_KEINE] SET
     [A] = RTRIM(@Param_A)
  WHERE RecId = @mRI

  EXECUTE [dbo].[up_Sel2_KEINE] @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_TrSel_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_KEINE]
GO
CREATE PROCEDURE [dbo].[up_TrSel_KEINE]
AS
  SELECT   RecId,
      LTRIM(RTRIM([A]))
    AS Data
  FROM     [dbo].[ut_KEINE]
  WHERE    RecId > 0
  ORDER BY RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Add_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_KEINE]
GO
CREATE PROCEDURE [dbo].[up_Add_KEINE] AS
  DECLARE @NeueId integer = [dbo].[dpxfunc_NextRecId_KEINE]()
  INSERT INTO [dbo].[ut_KEINE] (RecId) VALUES( @NeueId )
  IF @@ERROR = 0
    SELECT @NeueId AS RecId
  ELSE
    SELECT 0 AS RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Del_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_KEINE]
GO
CREATE PROCEDURE [dbo].[up_Del_KEINE]
  @RI integer
AS
  DELETE FROM [dbo].[ut_KEINE] WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Reorg_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_KEINE]
GO
CREATE PROCEDURE [dbo].[up_Reorg_KEINE]
  @bDbcc integer,@bRecId integer
AS
  IF (@bRecId = 1)
  BEGIN
    DECLARE  C        CURSOR FOR SELECT RecId FROM [dbo].[ut_KEINE] ORDER BY RecId
    DECLARE  @CurrId  integer
    DECLARE  @NextId  integer
    --BEGIN TRANSACTION
    OPEN C
    SET @NextId = 1
    FETCH NEXT FROM C INTO @CurrId
    WHILE (@@FETCH_STATUS = 0)
    BEGIN
      IF @CurrId <> @NextId
      UPDATE [dbo].[ut_KEINE] SET RecId=@NextId WHERE CURRENT OF C
      SET @NextId = @NextId + 1
      FETCH NEXT FROM C INTO @CurrId
    END
    CLOSE C
    --COMMIT TRANSACTION
    DEALLOCATE C
  END

  IF (@bDbcc = 1)
  BEGIN
    DBCC DBREINDEX ( [ut_KEINE] )
  END
GO

