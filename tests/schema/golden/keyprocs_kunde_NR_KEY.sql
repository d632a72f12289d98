IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_KUNDE_NR_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_KUNDE_NR_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_KUNDE_NR_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_KUNDE_NR_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_KUNDE_NR_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_KUNDE_NR_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_KUNDE_NR_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_KUNDE_NR_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_KUNDE_NR_KEY')
END
GO

------------------------------------------------------------
/* ersten Datensatz aus KUNDE in Folge NR_KEY ermittln */
CREATE PROCEDURE [dbo].[up_First_KUNDE_NR_KEY] AS
  SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE] ORDER BY [NR],RecId
GO

------------------------------------------------------------
/* letzten Datensatz aus KUNDE in Folge NR_KEY ermittln */
CREATE PROCEDURE [dbo].[up_Last_KUNDE_NR_KEY] AS
  SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE] ORDER BY [NR] DESC,RecId DESC
GO

------------------------------------------------------------
/* naechsten Datensatz in Folge ORDER BY [NR],RecId ermitteln */
CREATE PROCEDURE [dbo].[up_Next_KUNDE_NR_KEY] @oldRecId integer AS
  DECLARE @newRecId integer
  DECLARE @oldNR integer

  /* alte Daten ermitteln */
  DECLARE curTmp CURSOR FOR SELECT [NR] FROM [dbo].[ut_KUNDE] WHERE RecId=@oldRecId
  OPEN    curTmp
  FETCH NEXT FROM curTmp INTO @oldNR
  IF (@@FETCH_STATUS <> 0)
  BEGIN
    CLOSE      curTmp
    DEALLOCATE curTmp
    SET @newRecId = 0
    SELECT @newRecId AS RecId
    RETURN
  END
  CLOSE      curTmp
  DEALLOCATE curTmp

  /* Folgesaetze aufsuchen */
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [NR] = @oldNR AND RecId > @oldRecId
                   ORDER BY [NR],RecId
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [NR] > @oldNR
                   ORDER BY [NR],RecId
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END

  /* keine weiteren Datensaetze */
  SET @newRecId = 0
  SELECT @newRecId AS RecId
GO

------------------------------------------------------------
/* vorherigen Datensatz in Folge ORDER BY [NR] DESC,RecId DESC ermitteln */
CREATE PROCEDURE [dbo].[up_Prior_KUNDE_NR_KEY] @oldRecId integer AS
  DECLARE @newRecId integer
  DECLARE @oldNR integer

  /* alte Daten ermitteln */
  DECLARE curTmp CURSOR FOR SELECT [NR] FROM [dbo].[ut_KUNDE] WHERE RecId=@oldRecId
  OPEN    curTmp
  FETCH NEXT FROM curTmp INTO @oldNR
  IF (@@FETCH_STATUS <> 0)
  BEGIN
    CLOSE      curTmp
    DEALLOCATE curTmp
    SET @newRecId = 0
    SELECT @newRecId AS RecId
    RETURN
  END
  CLOSE      curTmp
  DEALLOCATE curTmp

  /* Folgesaetze aufsuchen */
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [NR] = @oldNR AND RecId < @oldRecId
                   ORDER BY [NR] DESC,RecId DESC
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [NR] < @oldNR
                   ORDER BY [NR] DESC,RecId DESC
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END

  /* keine weiteren Datensaetze */
  SET @newRecId = 0
  SELECT @newRecId AS RecId
GO

------------------------------------------------------------
/* ersten Datensatz in Folge ORDER BY [NR],RecId suchen */
CREATE PROCEDURE [dbo].[up_FindF_KUNDE_NR_KEY] @xKey char(128),@xLen integer AS

  IF @xLen < 4
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE SUBSTRING([NR],1,@xLen) = SUBSTRING(@xKey,1,@xLen)
      ORDER BY [NR],RecId
    RETURN
  END

  IF @xLen = 4
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [NR] = SUBSTRING(@xKey,1,4)
      ORDER BY [NR],RecId
    RETURN
  END

  SELECT CONVERT(integer,0) AS RecId
GO

------------------------------------------------------------
/* letzten Datensatz in Folge ORDER BY [NR] DESC,RecId DESC suchen */
CREATE PROCEDURE [dbo].[up_FindL_KUNDE_NR_KEY] @xKey char(128),@xLen integer AS

  IF @xLen < 4
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE SUBSTRING([NR],1,@xLen) = SUBSTRING(@xKey,1,@xLen)
      ORDER BY [NR] DESC,RecId DESC
    RETURN
  END

  IF @xLen = 4
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [NR] = SUBSTRING(@xKey,1,4)
      ORDER BY [NR] DESC,RecId DESC
    RETURN
  END

  SELECT CONVERT(integer,0) AS RecId
GO
