------------------------------------------------------------
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_KUNDE]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_KUNDE]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_KUNDE]
GO
CREATE FUNCTION [dbo].[dpxfunc_NextRecId_KUNDE]() RETURNS integer
AS
BEGIN
  RETURN isnull((SELECT MAX(RecId) FROM [dbo].[ut_KUNDE] WITH (READUNCOMMITTED)),0) + 1
END
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[up_Sel_KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_KUNDE]
GO
CREATE PROCEDURE [dbo].[up_Sel_KUNDE]
  @RI integer
AS
SELECT
     [NR]
    ,[NAME]
    ,[ORT]
    ,[KZ]
    ,[DATUM]
    ,[AKTIV]
    ,[STUFE]
    ,[BETRAG]
    ,[MENGE]
    ,[GROSS]
    ,[KURS]
    ,[ANZAHL]
    ,[PACKED]
    ,[BIN]
    ,[ALTDAT]
    ,[NOTIZ]
  FROM [dbo].[ut_KUNDE]
  WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[up_Sel_KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_KUNDE]
GO
CREATE PROCEDURE [dbo].[up_Sel2_KUNDE]
  @Param_RecId varchar(20)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)
  SELECT * FROM [dbo].[KUNDE]
  WHERE RecId = @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[up_Append_KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_KUNDE]
GO
CREATE PROCEDURE [dbo].[up_Append_KUNDE]
  @Parm_NR integer
 ,@Parm_NAME char(20)
 ,@Parm_ORT char(15)
 ,@Parm_KZ char(1)
 ,@Parm_DATUM datetime
 ,@Parm_AKTIV tinyint
 ,@Parm_STUFE tinyint
 ,@Parm_BETRAG float
 ,@Parm_MENGE integer
 ,@Parm_GROSS integer
 ,@Parm_KURS float
 ,@Parm_ANZAHL smallint
 ,@Parm_PACKED float
 ,@Parm_BIN integer
 ,@Parm_ALTDAT datetime
 ,@Parm_NOTIZ char(40)
AS
  DECLARE @NeueId integer
  DECLARE @m_CountDown integer = 10
  WHILE @m_CountDown > 0 BEGIN
    BEGIN TRANSACTION
    BEGIN TRY
      SET @NeueId = [dbo].[dpxfunc_NextRecId_KUNDE]()
      INSERT INTO [dbo].[ut_KUNDE] (RecId
       ,[NR]
       ,[NAME]
       ,[ORT]
       ,[KZ]
       ,[DATUM]
       ,[AKTIV]
       ,[STUFE]
       ,[BETRAG]
       ,[MENGE]
       ,[GROSS]
       ,[KURS]
       ,[ANZAHL]
       ,[PACKED]
       ,[BIN]
       ,[ALTDAT]
       ,[NOTIZ]
         ) VALUES (@NeueId
       ,@Parm_NR
       ,RTRIM(@Parm_NAME)
       ,RTRIM(@Parm_ORT)
       ,RTRIM(@Parm_KZ)
       ,@Parm_DATUM
       ,@Parm_AKTIV
       ,@Parm_STUFE
       ,@Parm_BETRAG
       ,@Parm_MENGE
       ,@Parm_GROSS
       ,@Parm_KURS
       ,@Parm_ANZAHL
       ,@Parm_PACKED
       ,@Parm_BIN
       ,@Parm_ALTDAT
       ,RTRIM(@Parm_NOTIZ)
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
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[up_Upd_KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_KUNDE]
GO
CREATE PROCEDURE [dbo].[up_Upd_KUNDE]
  @RI integer
 ,@Parm_NR integer
 ,@Parm_NAME char(20)
 ,@Parm_ORT char(15)
 ,@Parm_KZ char(1)
 ,@Parm_DATUM datetime
 ,@Parm_AKTIV tinyint
 ,@Parm_STUFE tinyint
 ,@Parm_BETRAG float
 ,@Parm_MENGE integer
 ,@Parm_GROSS integer
 ,@Parm_KURS float
 ,@Parm_ANZAHL smallint
 ,@Parm_PACKED float
 ,@Parm_BIN integer
 ,@Parm_ALTDAT datetime
 ,@Parm_NOTIZ char(40)
AS
--BEGIN TRANSACTION
UPDATE [dbo].[ut_KUNDE] SET
     [NR] = @Parm_NR
    ,[NAME] = RTRIM(@Parm_NAME)
    ,[ORT] = RTRIM(@Parm_ORT)
    ,[KZ] = RTRIM(@Parm_KZ)
    ,[DATUM] = @Parm_DATUM
    ,[AKTIV] = @Parm_AKTIV
    ,[STUFE] = @Parm_STUFE
    ,[BETRAG] = @Parm_BETRAG
    ,[MENGE] = @Parm_MENGE
    ,[GROSS] = @Parm_GROSS
    ,[KURS] = @Parm_KURS
    ,[ANZAHL] = @Parm_ANZAHL
    ,[PACKED] = @Parm_PACKED
    ,[BIN] = @Parm_BIN
    ,[ALTDAT] = @Parm_ALTDAT
    ,[NOTIZ] = RTRIM(@Parm_NOTIZ)
  WHERE RecId = @RI
--COMMIT TRANSACTION
GO

------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[up_Upd2_KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_KUNDE]
GO
CREATE PROCEDURE [dbo].[up_Upd2_KUNDE]
  @Param_RecId varchar(20)
 ,@Param_NR varchar(20)
 ,@Param_NAME varchar(20)
 ,@Param_ORT varchar(15)
 ,@Param_KZ varchar(1)
 ,@Param_DATUM varchar(10)
 ,@Param_AKTIV varchar(10)
 ,@Param_STUFE varchar(10)
 ,@Param_BETRAG varchar(20)
 ,@Param_MENGE varchar(20)
 ,@Param_GROSS varchar(20)
 ,@Param_KURS varchar(20)
 ,@Param_ANZAHL varchar(10)
 ,@Param_PACKED varchar(20)
 ,@Param_BIN varchar(20)
 ,@Param_ALTDAT varchar(10)
 ,@Param_NOTIZ varchar(40)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)

  UPDATE [dbo].[ut_KUNDE] SET
     [NR] = dbo.dpxfunc_integer(@Param_NR)
    ,[NAME] = UPPER(RTRIM(@Param_NAME))
    ,[ORT] = RTRIM(@Param_ORT)
    ,[KZ] = RTRIM(@Param_KZ)
    ,[DATUM] = dbo.dpxfunc_datetime(@Param_DATUM)
    ,[AKTIV] = dbo.dpxfunc_integer(@Param_AKTIV)
    ,[STUFE] = dbo.dpxfunc_integer(@Param_STUFE)
    ,[BETRAG] = dbo.dpxfunc_float(@Param_BETRAG)
    ,[MENGE] = dbo.dpxfunc_float(@Param_MENGE)
    ,[GROSS] = dbo.dpxfunc_float(@Param_GROSS)
    ,[KURS] = dbo.dpxfunc_float(@Param_KURS)
    ,[ANZAHL] = dbo.dpxfunc_integer(@Param_ANZAHL)
    ,[PACKED] = dbo.dpxfunc_float(@Param_PACKED)
    ,[BIN] = dbo.dpxfunc_integer(@Param_BIN)
    ,[ALTDAT] = dbo.dpxfunc_datetime(@Param_ALTDAT)
    ,[NOTIZ] = RTRIM(@Param_NOTIZ)
  WHERE RecId = @mRI

  EXECUTE [dbo].[up_Sel2_KUNDE] @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[up_TrSel_KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_KUNDE]
GO
CREATE PROCEDURE [dbo].[up_TrSel_KUNDE]
AS
  SELECT   RecId,
      LTRIM(RTRIM([NAME]))
      +LTRIM(RTRIM([ORT]))
      +LTRIM(RTRIM([KZ]))
      +LTRIM(RTRIM([NOTIZ]))
    AS Data
  FROM     [dbo].[ut_KUNDE]
  WHERE    RecId > 0
  ORDER BY RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[up_Add_KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_KUNDE]
GO
CREATE PROCEDURE [dbo].[up_Add_KUNDE] AS
  DECLARE @NeueId integer = [dbo].[dpxfunc_NextRecId_KUNDE]()
  INSERT INTO [dbo].[ut_KUNDE] (RecId) VALUES( @NeueId )
  IF @@ERROR = 0
    SELECT @NeueId AS RecId
  ELSE
    SELECT 0 AS RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[up_Del_KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_KUNDE]
GO
CREATE PROCEDURE [dbo].[up_Del_KUNDE]
  @RI integer
AS
  DELETE FROM [dbo].[ut_KUNDE] WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[up_Reorg_KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_KUNDE]
GO
CREATE PROCEDURE [dbo].[up_Reorg_KUNDE]
  @bDbcc integer,@bRecId integer
AS
  IF (@bRecId = 1)
  BEGIN
    DECLARE  C        CURSOR FOR SELECT RecId FROM [dbo].[ut_KUNDE] ORDER BY RecId
    DECLARE  @CurrId  integer
    DECLARE  @NextId  integer
    --BEGIN TRANSACTION
    OPEN C
    SET @NextId = 1
    FETCH NEXT FROM C INTO @CurrId
    WHILE (@@FETCH_STATUS = 0)
    BEGIN
      IF @CurrId <> @NextId
      UPDATE [dbo].[ut_KUNDE] SET RecId=@NextId WHERE CURRENT OF C
      SET @NextId = @NextId + 1
      FETCH NEXT FROM C INTO @CurrId
    END
    CLOSE C
    --COMMIT TRANSACTION
    DEALLOCATE C
  END

  IF (@bDbcc = 1)
  BEGIN
    DBCC DBREINDEX ( [ut_KUNDE] )
  END
GO

