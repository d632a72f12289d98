IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_ZAHLEN_A_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_ZAHLEN_A_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_ZAHLEN_A_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_ZAHLEN_A_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_ZAHLEN_A_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_ZAHLEN_A_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_ZAHLEN_A_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_ZAHLEN_A_KEY')
END
GO
IF 0 < (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_ZAHLEN_Keys]', 'U') and [name] = 'RecId')
  RAISERROR('Tabelle %s ist keine Schlüsseltabelle und wird nicht ersetzt', 16, 1, 'ut_ZAHLEN_Keys')
GO
------------------------------------------------------------
IF 0 = (SELECT count(*) from [sysobjects] where ([xtype] = 'U' or [xtype] = 'V') and [name] = 'ut_ZAHLEN')
BEGIN
CREATE TABLE [dbo].[ut_ZAHLEN]
(
   [RecId]  integer NOT NULL
  ,[MandId] integer DEFAULT 1
  ,[A] integer DEFAULT 0
  ,[B] float DEFAULT 0
  CONSTRAINT [Pk_ZAHLEN]  PRIMARY KEY NONCLUSTERED ( [RecId] )
)
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_ZAHLEN_KeyDel')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[tr_ZAHLEN_KeyDel]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_ZAHLEN_KeyDel]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_ZAHLEN_KeyUpd')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[tr_ZAHLEN_KeyUpd]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_ZAHLEN_KeyUpd]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'U' and [name] = 'ut_ZAHLEN_Keys')
   AND 0 = (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_ZAHLEN_Keys]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[ut_ZAHLEN_Keys]
GO

IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_ZAHLEN' and sc.[name] = 'A')
BEGIN
  ALTER TABLE [dbo].[ut_ZAHLEN] ADD [A] integer NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_ZAHLEN' and sc.[name] = 'B')
BEGIN
  ALTER TABLE [dbo].[ut_ZAHLEN] ADD [B] float NOT NULL DEFAULT 0
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[ZAHLEN]
GO
CREATE VIEW [dbo].[ZAHLEN] AS
  SELECT RecId
    ,[A]
    ,[B]
  FROM [dbo].[ut_ZAHLEN]
GO
