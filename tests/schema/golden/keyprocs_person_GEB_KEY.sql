IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_PERSON_GEB_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_PERSON_GEB_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_PERSON_GEB_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_PERSON_GEB_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_PERSON_GEB_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_PERSON_GEB_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_PERSON_GEB_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_PERSON_GEB_KEY]
  ELSE
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_PERSON_GEB_KEY')
END
GO

CREATE PROCEDURE [dbo].[up_First_PERSON_GEB_KEY]
AS
  SELECT TOP 1 [DataRecId] FROM [dbo].[ut_PERSON_Keys] ORDER BY [GEB_KEY_Value]
GO

CREATE PROCEDURE [dbo].[up_Last_PERSON_GEB_KEY]
AS
  SELECT TOP 1 [DataRecId] FROM [dbo].[ut_PERSON_Keys] ORDER BY [GEB_KEY_Value] DESC
GO

CREATE PROCEDURE [dbo].[up_Next_PERSON_GEB_KEY] @mRecNo integer
AS
  SELECT TOP 1 [DataRecId] FROM [dbo].[ut_PERSON_Keys]
  WHERE [GEB_KEY_Value] > (SELECT [GEB_KEY_Value] FROM [dbo].[ut_PERSON_Keys] WHERE [DataRecId] = @mRecNo)
  ORDER BY [GEB_KEY_Value]
GO

CREATE PROCEDURE [dbo].[up_Prior_PERSON_GEB_KEY] @mRecNo integer
AS
  SELECT TOP 1 [DataRecId] FROM [dbo].[ut_PERSON_Keys]
  WHERE [GEB_KEY_Value] < (SELECT [GEB_KEY_Value] FROM [dbo].[ut_PERSON_Keys] WHERE [DataRecId] = @mRecNo)
  ORDER BY [GEB_KEY_Value] DESC
GO

CREATE PROCEDURE [dbo].[up_Next50_PERSON_GEB_KEY] @mRecNo integer
AS
  SELECT TOP 50 [DataRecId] FROM [dbo].[ut_PERSON_Keys]
  WHERE [GEB_KEY_Value] > (SELECT [GEB_KEY_Value] FROM [dbo].[ut_PERSON_Keys] WHERE [DataRecId] = @mRecNo)
  ORDER BY [GEB_KEY_Value]
GO

CREATE PROCEDURE [dbo].[up_Prior50_PERSON_GEB_KEY] @mRecNo integer
AS
  SELECT TOP 50 [DataRecId] FROM [dbo].[ut_PERSON_Keys]
  WHERE [GEB_KEY_Value] < (SELECT [GEB_KEY_Value] FROM [dbo].[ut_PERSON_Keys] WHERE [DataRecId] = @mRecNo)
  ORDER BY [GEB_KEY_Value] DESC
GO

CREATE PROCEDURE [dbo].[up_FindF_PERSON_GEB_KEY] @xKey char(128),@xLen integer
AS
  SELECT a.[DataRecId] FROM
    ( SELECT TOP 1 [DataRecId],[GEB_KEY_Value] AS Key_Value FROM [dbo].[ut_PERSON_Keys]
      WHERE [GEB_KEY_Value] >= SUBSTRING(@xKey,1,@xLen)
      ORDER BY [GEB_KEY_Value]
    ) a
  WHERE a.Key_Value like SUBSTRING(@xKey,1,@xLen)+'%'
GO

CREATE PROCEDURE [dbo].[up_FindL_PERSON_GEB_KEY] @xKey char(128),@xLen integer
AS
  SELECT TOP 1 [DataRecId] FROM [dbo].[ut_PERSON_Keys]
  WHERE [GEB_KEY_Value] like SUBSTRING(@xKey,1,@xLen)+'%'
  ORDER BY [GEB_KEY_Value] DESC
GO
