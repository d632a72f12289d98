IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_KUNDE_BETRAG_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_KUNDE_BETRAG_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_KUNDE_BETRAG_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_KUNDE_BETRAG_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_KUNDE_BETRAG_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_KUNDE_BETRAG_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_KUNDE_BETRAG_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_KUNDE_BETRAG_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_KUNDE_BETRAG_KEY')
END
GO

------------------------------------------------------------
/* ersten Datensatz aus KUNDE in Folge BETRAG_KEY ermittln */
CREATE PROCEDURE [dbo].[up_First_KUNDE_BETRAG_KEY] AS
  SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE] ORDER BY [BETRAG],[MENGE],RecId
GO

------------------------------------------------------------
/* letzten Datensatz aus KUNDE in Folge BETRAG_KEY ermittln */
CREATE PROCEDURE [dbo].[up_Last_KUNDE_BETRAG_KEY] AS
  SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE] ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC
GO

------------------------------------------------------------
/* naechsten Datensatz in Folge ORDER BY [BETRAG],[MENGE],RecId ermitteln */
CREATE PROCEDURE [dbo].[up_Next_KUNDE_BETRAG_KEY] @oldRecId integer AS
  DECLARE @newRecId integer
  DECLARE @oldBETRAG float
  DECLARE @oldMENGE integer

  /* alte Daten ermitteln */
  DECLARE curTmp CURSOR FOR SELECT [BETRAG],[MENGE] FROM [dbo].[ut_KUNDE] WHERE RecId=@oldRecId
  OPEN    curTmp
  FETCH NEXT FROM curTmp INTO @oldBETRAG,@oldMENGE
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
                   WHERE [BETRAG] = @oldBETRAG AND [MENGE] = @oldMENGE AND RecId > @oldRecId
                   ORDER BY [BETRAG],[MENGE],RecId
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [BETRAG] = @oldBETRAG AND [MENGE] > @oldMENGE
                   ORDER BY [BETRAG],[MENGE],RecId
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [BETRAG] > @oldBETRAG
                   ORDER BY [BETRAG],[MENGE],RecId
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
/* vorherigen Datensatz in Folge ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC ermitteln */
CREATE PROCEDURE [dbo].[up_Prior_KUNDE_BETRAG_KEY] @oldRecId integer AS
  DECLARE @newRecId integer
  DECLARE @oldBETRAG float
  DECLARE @oldMENGE integer

  /* alte Daten ermitteln */
  DECLARE curTmp CURSOR FOR SELECT [BETRAG],[MENGE] FROM [dbo].[ut_KUNDE] WHERE RecId=@oldRecId
  OPEN    curTmp
  FETCH NEXT FROM curTmp INTO @oldBETRAG,@oldMENGE
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
                   WHERE [BETRAG] = @oldBETRAG AND [MENGE] = @oldMENGE AND RecId < @oldRecId
                   ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [BETRAG] = @oldBETRAG AND [MENGE] < @oldMENGE
                   ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC
                  )
  IF (NOT (@newRecId IS NULL))
  BEGIN
    SELECT @newRecId AS RecId
    RETURN
  END
  SET @newRecId = (SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
                   WHERE [BETRAG] < @oldBETRAG
                   ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC
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
/* ersten Datensatz in Folge ORDER BY [BETRAG],[MENGE],RecId suchen */
CREATE PROCEDURE [dbo].[up_FindF_KUNDE_BETRAG_KEY] @xKey char(128),@xLen integer AS

  IF @xLen < 9
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE SUBSTRING([BETRAG],1,@xLen) = SUBSTRING(@xKey,1,@xLen)
      ORDER BY [BETRAG],[MENGE],RecId
    RETURN
  END

  IF @xLen = 9
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [BETRAG] = SUBSTRING(@xKey,1,9)
      ORDER BY [BETRAG],[MENGE],RecId
    RETURN
  END

  IF @xLen < 15
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [BETRAG] = SUBSTRING(@xKey,1,9) AND SUBSTRING([MENGE],1,@xLen-9) = SUBSTRING(@xKey,10,@xLen-9)
      ORDER BY [BETRAG],[MENGE],RecId
    RETURN
  END

  IF @xLen = 15
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [BETRAG] = SUBSTRING(@xKey,1,9) AND [MENGE] = SUBSTRING(@xKey,10,6)
      ORDER BY [BETRAG],[MENGE],RecId
    RETURN
  END

  SELECT CONVERT(integer,0) AS RecId
GO

------------------------------------------------------------
/* letzten Datensatz in Folge ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC suchen */
CREATE PROCEDURE [dbo].[up_FindL_KUNDE_BETRAG_KEY] @xKey char(128),@xLen integer AS

  IF @xLen < 9
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE SUBSTRING([BETRAG],1,@xLen) = SUBSTRING(@xKey,1,@xLen)
      ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC
    RETURN
  END

  IF @xLen = 9
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [BETRAG] = SUBSTRING(@xKey,1,9)
      ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC
    RETURN
  END

  IF @xLen < 15
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [BETRAG] = SUBSTRING(@xKey,1,9) AND SUBSTRING([MENGE],1,@xLen-9) = SUBSTRING(@xKey,10,@xLen-9)
      ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC
    RETURN
  END

  IF @xLen = 15
  BEGIN
    SELECT TOP 1 RecId FROM [dbo].[ut_KUNDE]
      WHERE [BETRAG] = SUBSTRING(@xKey,1,9) AND [MENGE] = SUBSTRING(@xKey,10,6)
      ORDER BY [BETRAG] DESC,[MENGE] DESC,RecId DESC
    RETURN
  END

  SELECT CONVERT(integer,0) AS RecId
GO
