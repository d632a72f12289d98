IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_KUNDE_KZ_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_KUNDE_KZ_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_KUNDE_KZ_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_KUNDE_KZ_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_KUNDE_KZ_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_KUNDE_KZ_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_KUNDE_KZ_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_KUNDE_KZ_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_KUNDE_KZ_KEY')
END
GO

------------------------------------------------------------
/* ersten Datensatz aus KUNDE in Folge KZ_KEY ermittln */
CREATE PROCEDURE [dbo].[up_First_KUNDE_KZ_KEY] AS
  SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE] ORDER BY [KZ],RecId
GO

------------------------------------------------------------
/* letzten Datensatz aus KUNDE in Folge KZ_KEY ermittln */
CREATE PROCEDURE [dbo].[up_Last_KUNDE_KZ_KEY] AS
  SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE] ORDER BY [KZ] DESC,RecId DESC
GO

------------------------------------------------------------
/* naechsten Datensatz in Folge ORDER BY [KZ],RecId ermitteln */
CREATE PROCEDURE [dbo].[up_Next_KUNDE_KZ_KEY] @oldRecId integer AS
  DECLARE @newRecId integer
  DECLARE @oldKZ char(1)

  /* alte Daten ermitteln */
  DECLARE curTmp CURSOR FOR SELECT [KZ] FROM [dbo].[ut_KUNDE] WHERE RecId=@oldRecId
  OPEN    curTmp
  FETCH NEXT FROM curTmp INTO @oldKZ
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
                   WHERE [KZ] = @oldKZ AND RecId > @oldRecId
                   ORDER BY [KZ],RecId
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [KZ] > @oldKZ
                   ORDER BY [KZ],RecId
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
/* vorherigen Datensatz in Folge ORDER BY [KZ] DESC,RecId DESC ermitteln */
CREATE PROCEDURE [dbo].[up_Prior_KUNDE_KZ_KEY] @oldRecId integer AS
  DECLARE @newRecId integer
  DECLARE @oldKZ char(1)

  /* alte Daten ermitteln */
  DECLARE curTmp CURSOR FOR SELECT [KZ] FROM [dbo].[ut_KUNDE] WHERE RecId=@oldRecId
  OPEN    curTmp
  FETCH NEXT FROM curTmp INTO @oldKZ
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
                   WHERE [KZ] = @oldKZ AND RecId < @oldRecId
                   ORDER BY [KZ] DESC,RecId DESC
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [KZ] < @oldKZ
                   ORDER BY [KZ] DESC,RecId DESC
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
/* ersten Datensatz in Folge ORDER BY [KZ],RecId suchen */
CREATE PROCEDURE [dbo].[up_FindF_KUNDE_KZ_KEY] @xKey char(128),@xLen integer AS

  IF @xLen = 1
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [KZ] = SUBSTRING(@xKey,1,1)
      ORDER BY [KZ],RecId
    RETURN
  END

  SELECT CONVERT(integer,0) AS RecId
GO

------------------------------------------------------------
/* letzten Datensatz in Folge ORDER BY [KZ] DESC,RecId DESC suchen */
CREATE PROCEDURE [dbo].[up_FindL_KUNDE_KZ_KEY] @xKey char(128),@xLen integer AS

  IF @xLen = 1
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [KZ] = SUBSTRING(@xKey,1,1)
      ORDER BY [KZ] DESC,RecId DESC
    RETURN
  END

  SELECT CONVERT(integer,0) AS RecId
GO
