------------------------------------------------------------
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_PERSON]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_PERSON]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_PERSON]
GO
CREATE FUNCTION [dbo].[dpxfunc_NextRecId_PERSON]() RETURNS integer
AS
BEGIN
  RETURN isnull((SELECT MAX(RecId) FROM [dbo].[ut_PERSON] WITH (READUNCOMMITTED)),0) + 1
END
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[up_Sel_PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_PERSON]
GO
CREATE PROCEDURE [dbo].[up_Sel_PERSON]
  @RI integer
AS
SELECT
     [NAME]
    ,[BETRAG]
    ,[AKTIV]
    ,[GEBDAT]
    ,[KURS]
    ,[PLZ]
  FROM [dbo].[ut_PERSON]
  WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[up_Sel_PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_PERSON]
GO
CREATE PROCEDURE [dbo].[up_Sel2_PERSON]
  @Param_RecId varchar(20)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)
  SELECT * FROM [dbo].[PERSON]
  WHERE RecId = @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[up_Append_PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_PERSON]
GO
CREATE PROCEDURE [dbo].[up_Append_PERSON]
  @Parm_NAME char(30)
 ,@Parm_BETRAG float
 ,@Parm_AKTIV tinyint
 ,@Parm_GEBDAT datetime
 ,@Parm_KURS float
 ,@Parm_PLZ integer
AS
  DECLARE @NeueId integer
  DECLARE @m_CountDown integer = 10
  WHILE @m_CountDown > 0 BEGIN
    BEGIN TRANSACTION
    BEGIN TRY
      SET @NeueId = [dbo].[dpxfunc_NextRecId_PERSON]()
      INSERT INTO [dbo].[ut_PERSON] (RecId
       ,[NAME]
       ,[BETRAG]
       ,[AKTIV]
       ,[GEBDAT]
       ,[KURS]
       ,[PLZ]
         ) VALUES (@NeueId
       ,RTRIM(@Parm_NAME)
       ,@Parm_BETRAG
       ,@Parm_AKTIV
       ,@Parm_GEBDAT
       ,@Parm_KURS
       ,@Parm_PLZ
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
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[up_Upd_PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_PERSON]
GO
CREATE PROCEDURE [dbo].[up_Upd_PERSON]
  @RI integer
 ,@Parm_NAME char(30)
 ,@Parm_BETRAG float
 ,@Parm_AKTIV tinyint
 ,@Parm_GEBDAT datetime
 ,@Parm_KURS float
 ,@Parm_PLZ integer
AS
--BEGIN TRANSACTION
UPDATE [dbo].[ut_PERSON] SET
     [NAME] = RTRIM(@Parm_NAME)
    ,[BETRAG] = @Parm_BETRAG
    ,[AKTIV] = @Parm_AKTIV
    ,[GEBDAT] = @Parm_GEBDAT
    ,[KURS] = @Parm_KURS
    ,[PLZ] = @Parm_PLZ
  WHERE RecId = @RI
--COMMIT TRANSACTION
GO

------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[up_Upd2_PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_PERSON]
GO
CREATE PROCEDURE [dbo].[up_Upd2_PERSON]
  @Param_RecId varchar(20)
 ,@Param_NAME varchar(30)
 ,@Param_BETRAG varchar(20)
 ,@Param_AKTIV varchar(10)
 ,@Param_GEBDAT varchar(10)
 ,@Param_KURS varchar(20)
 ,@Param_PLZ varchar(20)
AS
  DECLARE @mRI integer = dbo.dpxfunc_integer(@Param_RecId)

  UPDATE [dbo].[ut_PERSON] SET
     [NAME] = RTRIM(@Param_NAME)
    ,[BETRAG] = dbo.dpxfunc_float(@Param_BETRAG)
    ,[AKTIV] = dbo.dpxfunc_integer(@Param_AKTIV)
    ,[GEBDAT] = dbo.dpxfunc_datetime(@Param_GEBDAT)
    ,[KURS] = dbo.dpxfunc_float(@Param_KURS)
    ,[PLZ] = dbo.dpxfunc_float(@Param_PLZ)
  WHERE RecId = @mRI

  EXECUTE [dbo].[up_Sel2_PERSON] @mRI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[up_TrSel_PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_PERSON]
GO
CREATE PROCEDURE [dbo].[up_TrSel_PERSON]
AS
  SELECT   RecId,
      LTRIM(RTRIM([NAME]))
    AS Data
  FROM     [dbo].[ut_PERSON]
  WHERE    RecId > 0
  ORDER BY RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[up_Add_PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_PERSON]
GO
CREATE PROCEDURE [dbo].[up_Add_PERSON] AS
  DECLARE @NeueId integer = [dbo].[dpxfunc_NextRecId_PERSON]()
  INSERT INTO [dbo].[ut_PERSON] (RecId) VALUES( @NeueId )
  IF @@ERROR = 0
    SELECT @NeueId AS RecId
  ELSE
    SELECT 0 AS RecId
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[up_Del_PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_PERSON]
GO
CREATE PROCEDURE [dbo].[up_Del_PERSON]
  @RI integer
AS
  DELETE FROM [dbo].[ut_PERSON] WHERE RecId = @RI
GO
------------------------------------------------------------
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[up_Reorg_PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_PERSON]
GO
CREATE PROCEDURE [dbo].[up_Reorg_PERSON]
  @bDbcc integer,@bRecId integer
AS
  IF (@bRecId = 1)
  BEGIN
    DECLARE  C        CURSOR FOR SELECT RecId FROM [dbo].[ut_PERSON] ORDER BY RecId
    DECLARE  @CurrId  integer
    DECLARE  @NextId  integer
    --BEGIN TRANSACTION
    OPEN C
    SET @NextId = 1
    FETCH NEXT FROM C INTO @CurrId
    WHILE (@@FETCH_STATUS = 0)
    BEGIN
      IF @CurrId <> @NextId
      UPDATE [dbo].[ut_PERSON] SET RecId=@NextId WHERE CURRENT OF C
      SET @NextId = @NextId + 1
      FETCH NEXT FROM C INTO @CurrId
    END
    CLOSE C
    --COMMIT TRANSACTION
    DEALLOCATE C
  END

  IF (@bDbcc = 1)
  BEGIN
    DBCC DBREINDEX ( [ut_PERSON] )
  END
GO

