IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_KUNDE_NAME_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_KUNDE_NAME_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_KUNDE_NAME_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_KUNDE_NAME_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_KUNDE_NAME_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_KUNDE_NAME_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_KUNDE_NAME_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_KUNDE_NAME_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_KUNDE_NAME_KEY')
END
GO

------------------------------------------------------------
/* ersten Datensatz aus KUNDE in Folge NAME_KEY ermittln */
CREATE PROCEDURE [dbo].[up_First_KUNDE_NAME_KEY] AS
  SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE] ORDER BY [NAME],[ORT],RecId
GO

------------------------------------------------------------
/* letzten Datensatz aus KUNDE in Folge NAME_KEY ermittln */
CREATE PROCEDURE [dbo].[up_Last_KUNDE_NAME_KEY] AS
  SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE] ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC
GO

------------------------------------------------------------
/* naechsten Datensatz in Folge ORDER BY [NAME],[ORT],RecId ermitteln */
CREATE PROCEDURE [dbo].[up_Next_KUNDE_NAME_KEY] @oldRecId integer AS
  DECLARE @newRecId integer
  DECLARE @oldNAME char(20)
  DECLARE @oldORT char(15)

  /* alte Daten ermitteln */
  DECLARE curTmp CURSOR FOR SELECT [NAME],[ORT] FROM [dbo].[ut_KUNDE] WHERE RecId=@oldRecId
  OPEN    curTmp
  FETCH NEXT FROM curTmp INTO @oldNAME,@oldORT
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
                   WHERE [NAME] = @oldNAME AND [ORT] = @oldORT AND RecId > @oldRecId
                   ORDER BY [NAME],[ORT],RecId
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [NAME] = @oldNAME AND [ORT] > @oldORT
                   ORDER BY [NAME],[ORT],RecId
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [NAME] > @oldNAME
                   ORDER BY [NAME],[ORT],RecId
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
/* vorherigen Datensatz in Folge ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC ermitteln */
CREATE PROCEDURE [dbo].[up_Prior_KUNDE_NAME_KEY] @oldRecId integer AS
  DECLARE @newRecId integer
  DECLARE @oldNAME char(20)
  DECLARE @oldORT char(15)

  /* alte Daten ermitteln */
  DECLARE curTmp CURSOR FOR SELECT [NAME],[ORT] FROM [dbo].[ut_KUNDE] WHERE RecId=@oldRecId
  OPEN    curTmp
  FETCH NEXT FROM curTmp INTO @oldNAME,@oldORT
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
                   WHERE [NAME] = @oldNAME AND [ORT] = @oldORT AND RecId < @oldRecId
                   ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [NAME] = @oldNAME AND [ORT] < @oldORT
                   ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [NAME] < @oldNAME
                   ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC
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
/* ersten Datensatz in Folge ORDER BY [NAME],[ORT],RecId suchen */
CREATE PROCEDURE [dbo].[up_FindF_KUNDE_NAME_KEY] @xKey char(128),@xLen integer AS

  IF @xLen < 20
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE SUBSTRING([NAME],1,@xLen) = SUBSTRING(@xKey,1,@xLen)
      ORDER BY [NAME],[ORT],RecId
    RETURN
  END

  IF @xLen = 20
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [NAME] = SUBSTRING(@xKey,1,20)
      ORDER BY [NAME],[ORT],RecId
    RETURN
  END

  IF @xLen < 35
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [NAME] = SUBSTRING(@xKey,1,20) AND SUBSTRING([ORT],1,@xLen-20) = SUBSTRING(@xKey,21,@xLen-20)
      ORDER BY [NAME],[ORT],RecId
    RETURN
  END

  IF @xLen = 35
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [NAME] = SUBSTRING(@xKey,1,20) AND [ORT] = SUBSTRING(@xKey,21,15)
      ORDER BY [NAME],[ORT],RecId
    RETURN
  END

  SELECT CONVERT(integer,0) AS RecId
GO

------------------------------------------------------------
/* letzten Datensatz in Folge ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC suchen */
CREATE PROCEDURE [dbo].[up_FindL_KUNDE_NAME_KEY] @xKey char(128),@xLen integer AS

  IF @xLen < 20
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE SUBSTRING([NAME],1,@xLen) = SUBSTRING(@xKey,1,@xLen)
      ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC
    RETURN
  END

  IF @xLen = 20
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [NAME] = SUBSTRING(@xKey,1,20)
      ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC
    RETURN
  END

  IF @xLen < 35
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [NAME] = SUBSTRING(@xKey,1,20) AND SUBSTRING([ORT],1,@xLen-20) = SUBSTRING(@xKey,21,@xLen-20)
      ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC
    RETURN
  END

  IF @xLen = 35
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [NAME] = SUBSTRING(@xKey,1,20) AND [ORT] = SUBSTRING(@xKey,21,15)
      ORDER BY [NAME] DESC,[ORT] DESC,RecId DESC
    RETURN
  END

  SELECT CONVERT(integer,0) AS RecId
GO
