------------------------------------------------------------
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_M01_ARTIKEL]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_M01_ARTIKEL]
GO
CREATE FUNCTION [dbo].[dpxfunc_NextRecId_M01_ARTIKEL]() RETURNS integer
AS
BEGIN
  RETURN isnull((SELECT MAX(RecId) FROM [dbo].[M01$ARTIKEL] WITH (READUNCOMMITTED)),0) + 1
END
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Sel_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_M01_ARTIKEL]
GO
CREATE PROCEDURE [dbo].[up_Sel_M01_ARTIKEL]
  @RI integer
AS
SELECT
     [ARTNR]
    ,[BEZ]
    ,[PREIS]
    ,[LAGER]
    ,[SEIT]
    ,[STATUS]
  FROM [dbo].[M01$ARTIKEL]
  WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Sel_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_M01_ARTIKEL]
GO
CREATE PROCEDURE [dbo].[up_Sel2_M01_ARTIKEL]
  @Param_RecId varchar(20)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)
  SELECT * FROM [dbo].[M01_ARTIKEL]
  WHERE RecId = @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Append_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_M01_ARTIKEL]
GO
CREATE PROCEDURE [dbo].[up_Append_M01_ARTIKEL]
  @Parm_ARTNR char(10)
 ,@Parm_BEZ char(30)
 ,@Parm_PREIS float
 ,@Parm_LAGER integer
 ,@Parm_SEIT datetime
 ,@Parm_STATUS char(1)
AS
  DECLARE @NeueId integer
  DECLARE @m_CountDown integer = 10
  WHILE @m_CountDown > 0 BEGIN
    BEGIN TRANSACTION
    BEGIN TRY
      SET @NeueId = [dbo].[dpxfunc_NextRecId_M01_ARTIKEL]()
      INSERT INTO [dbo].[M01$ARTIKEL] (RecId
       ,[ARTNR]
       ,[BEZ]
       ,[PREIS]
       ,[LAGER]
       ,[SEIT]
       ,[STATUS]
         ) VALUES (@NeueId
       ,RTRIM(@Parm_ARTNR)
       ,RTRIM(@Parm_BEZ)
       ,@Parm_PREIS
       ,@Parm_LAGER
       ,@Parm_SEIT
       ,RTRIM(@Parm_STATUS)
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
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Upd_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_M01_ARTIKEL]
GO
CREATE PROCEDURE [dbo].[up_Upd_M01_ARTIKEL]
  @RI integer
 ,@Parm_ARTNR char(10)
 ,@Parm_BEZ char(30)
 ,@Parm_PREIS float
 ,@Parm_LAGER integer
 ,@Parm_SEIT datetime
 ,@Parm_STATUS char(1)
AS
--BEGIN TRANSACTION
UPDATE [dbo].[M01$ARTIKEL] SET
     [ARTNR] = RTRIM(@Parm_ARTNR)
    ,[BEZ] = RTRIM(@Parm_BEZ)
    ,[PREIS] = @Parm_PREIS
    ,[LAGER] = @Parm_LAGER
    ,[SEIT] = @Parm_SEIT
    ,[STATUS] = RTRIM(@Parm_STATUS)
  WHERE RecId = @RI
--COMMIT TRANSACTION
GO

------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Upd2_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_M01_ARTIKEL]
GO
CREATE PROCEDURE [dbo].[up_Upd2_M01_ARTIKEL]
  @Param_RecId varchar(20)
 ,@Param_ARTNR varchar(10)
 ,@Param_BEZ varchar(30)
 ,@Param_PREIS varchar(20)
 ,@Param_LAGER varchar(20)
 ,@Param_SEIT varchar(10)
 ,@Param_STATUS varchar(1)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)

  UPDATE [dbo].[M01$ARTIKEL] SET
     [ARTNR] = RTRIM(@Param_ARTNR)
    ,[BEZ] = UPPER(RTRIM(@Param_BEZ))
    ,[PREIS] = dbo.dpxfunc_float(@Param_PREIS)
    ,[LAGER] = dbo.dpxfunc_integer(@Param_LAGER)
    ,[SEIT] = dbo.dpxfunc_datetime(@Param_SEIT)
    ,[STATUS] = RTRIM(@Param_STATUS)
  WHERE RecId = @mRI

  EXECUTE [dbo].[up_Sel2_M01_ARTIKEL] @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_TrSel_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_M01_ARTIKEL]
GO
CREATE PROCEDURE [dbo].[up_TrSel_M01_ARTIKEL]
AS
  SELECT   RecId,
      LTRIM(RTRIM([ARTNR]))
      +LTRIM(RTRIM([BEZ]))
      +LTRIM(RTRIM([STATUS]))
    AS Data
  FROM     [dbo].[M01$ARTIKEL]
  WHERE    RecId > 0
  ORDER BY RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Add_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_M01_ARTIKEL]
GO
CREATE PROCEDURE [dbo].[up_Add_M01_ARTIKEL] AS
  DECLARE @NeueId integer = [dbo].[dpxfunc_NextRecId_M01_ARTIKEL]()
  INSERT INTO [dbo].[M01$ARTIKEL] (RecId) VALUES( @NeueId )
  IF @@ERROR = 0
    SELECT @NeueId AS RecId
  ELSE
    SELECT 0 AS RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Del_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_M01_ARTIKEL]
GO
CREATE PROCEDURE [dbo].[up_Del_M01_ARTIKEL]
  @RI integer
AS
  DELETE FROM [dbo].[M01$ARTIKEL] WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Reorg_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_M01_ARTIKEL]
GO
CREATE PROCEDURE [dbo].[up_Reorg_M01_ARTIKEL]
  @bDbcc integer,@bRecId integer
AS
  IF (@bRecId = 1)
  BEGIN
    DECLARE  C        CURSOR FOR SELECT RecId FROM [dbo].[M01$ARTIKEL] ORDER BY RecId
    DECLARE  @CurrId  integer
    DECLARE  @NextId  integer
    --BEGIN TRANSACTION
    OPEN C
    SET @NextId = 1
    FETCH NEXT FROM C INTO @CurrId
    WHILE (@@FETCH_STATUS = 0)
    BEGIN
      IF @CurrId <> @NextId
      UPDATE [dbo].[M01$ARTIKEL] SET RecId=@NextId WHERE CURRENT OF C
      SET @NextId = @NextId + 1
      FETCH NEXT FROM C INTO @CurrId
    END
    CLOSE C
    --COMMIT TRANSACTION
    DEALLOCATE C
  END

  IF (@bDbcc = 1)
  BEGIN
    DBCC DBREINDEX ( [M01$ARTIKEL] )
  END
GO

