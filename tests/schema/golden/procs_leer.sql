------------------------------------------------------------
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_LEER]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_LEER]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_LEER]
GO
CREATE FUNCTION [dbo].[dpxfunc_NextRecId_LEER]() RETURNS integer
AS
BEGIN
  RETURN isnull((SELECT MAX(RecId) FROM [dbo].[ut_LEER] WITH (READUNCOMMITTED)),0) + 1
END
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Sel_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_LEER]
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Sel_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_LEER]
GO
CREATE PROCEDURE [dbo].[up_Sel2_LEER]
  @Param_RecId varchar(20)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)
  SELECT * FROM [dbo].[LEER]
  WHERE RecId = @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Append_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_LEER]
GO
CREATE PROCEDURE [dbo].[up_Append_LEER]
AS
  DECLARE @NeueId integer
  DECLARE @m_CountDown integer = 10
  WHILE @m_CountDown > 0 BEGIN
    BEGIN TRANSACTION
    BEGIN TRY
      SET @NeueId = [dbo].[dpxfunc_NextRecId_LEER]()
      INSERT INTO [dbo].[ut_LEER] (RecId
         ) VALUES (@NeueId
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
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Upd_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_LEER]
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Upd2_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_LEER]
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_TrSel_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_LEER]
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Add_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_LEER]
GO
CREATE PROCEDURE [dbo].[up_Add_LEER] AS
  DECLARE @NeueId integer = [dbo].[dpxfunc_NextRecId_LEER]()
  INSERT INTO [dbo].[ut_LEER] (RecId) VALUES( @NeueId )
  IF @@ERROR = 0
    SELECT @NeueId AS RecId
  ELSE
    SELECT 0 AS RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Del_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_LEER]
GO
CREATE PROCEDURE [dbo].[up_Del_LEER]
  @RI integer
AS
  DELETE FROM [dbo].[ut_LEER] WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Reorg_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_LEER]
GO
CREATE PROCEDURE [dbo].[up_Reorg_LEER]
  @bDbcc integer,@bRecId integer
AS
  IF (@bRecId = 1)
  BEGIN
    DECLARE  C        CURSOR FOR SELECT RecId FROM [dbo].[ut_LEER] ORDER BY RecId
    DECLARE  @CurrId  integer
    DECLARE  @NextId  integer
    --BEGIN TRANSACTION
    OPEN C
    SET @NextId = 1
    FETCH NEXT FROM C INTO @CurrId
    WHILE (@@FETCH_STATUS = 0)
    BEGIN
      IF @CurrId <> @NextId
      UPDATE [dbo].[ut_LEER] SET RecId=@NextId WHERE CURRENT OF C
      SET @NextId = @NextId + 1
      FETCH NEXT FROM C INTO @CurrId
    END
    CLOSE C
    --COMMIT TRANSACTION
    DEALLOCATE C
  END

  IF (@bDbcc = 1)
  BEGIN
    DBCC DBREINDEX ( [ut_LEER] )
  END
GO

