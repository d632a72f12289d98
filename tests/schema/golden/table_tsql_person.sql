IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_PERSON_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_PERSON_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_PERSON_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_PERSON_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_PERSON_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_PERSON_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_PERSON_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_PERSON_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_PERSON_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_PERSON_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_PERSON_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_PERSON_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_PERSON_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_PERSON_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_PERSON_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_PERSON_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_PERSON_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_PERSON_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_PERSON_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_PERSON_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_PERSON_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_PERSON_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_PERSON_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_PERSON_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_PERSON_AKTIV_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_PERSON_AKTIV_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_PERSON_AKTIV_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_PERSON_AKTIV_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_PERSON_AKTIV_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_PERSON_AKTIV_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_PERSON_AKTIV_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_PERSON_AKTIV_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_PERSON_AKTIV_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_PERSON_AKTIV_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_PERSON_AKTIV_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_PERSON_AKTIV_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_PERSON_AKTIV_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_PERSON_AKTIV_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_PERSON_AKTIV_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_PERSON_AKTIV_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_PERSON_AKTIV_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_PERSON_AKTIV_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_PERSON_AKTIV_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_PERSON_AKTIV_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_PERSON_AKTIV_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_PERSON_AKTIV_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_PERSON_AKTIV_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_PERSON_AKTIV_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_PERSON_WERT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_PERSON_WERT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_PERSON_WERT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_PERSON_WERT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_PERSON_WERT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_PERSON_WERT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_PERSON_WERT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_PERSON_WERT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_PERSON_WERT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_PERSON_WERT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_PERSON_WERT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_PERSON_WERT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_PERSON_WERT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_PERSON_WERT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_PERSON_WERT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_PERSON_WERT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_PERSON_WERT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_PERSON_WERT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_PERSON_WERT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_PERSON_WERT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_PERSON_WERT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_PERSON_WERT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_PERSON_WERT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_PERSON_WERT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_PERSON_PLZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_PERSON_PLZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_PERSON_PLZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_PERSON_PLZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_PERSON_PLZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_PERSON_PLZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_PERSON_PLZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_PERSON_PLZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_PERSON_PLZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_PERSON_PLZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_PERSON_PLZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_PERSON_PLZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_PERSON_PLZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_PERSON_PLZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_PERSON_PLZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_PERSON_PLZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_PERSON_PLZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_PERSON_PLZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_PERSON_PLZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_PERSON_PLZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_PERSON_PLZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_PERSON_PLZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_PERSON_PLZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_PERSON_PLZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_PERSON_GEB_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_PERSON_GEB_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_PERSON]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_PERSON_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_PERSON_GEB_KEY')
END
GO
IF 0 < (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_PERSON_Keys]', 'U') and [name] = 'RecId')
  RAISERROR('Tabelle %s ist keine Schlüsseltabelle und wird nicht ersetzt', 16, 1, 'ut_PERSON_Keys')
GO
------------------------------------------------------------
IF 0 = (SELECT count(*) from [sysobjects] where ([xtype] = 'U' or [xtype] = 'V') and [name] = 'ut_PERSON')
BEGIN
CREATE TABLE [dbo].[ut_PERSON]
(
   [RecId]  integer NOT NULL
  ,[MandId] integer DEFAULT 1
  ,[NAME] char(30) DEFAULT ' '
  ,[BETRAG] float DEFAULT 0
  ,[AKTIV] tinyint DEFAULT 0
  ,[GEBDAT] datetime DEFAULT CONVERT(datetime,'1900-01-01',120)
  ,[KURS] float DEFAULT 0
  ,[PLZ] integer DEFAULT 0
  CONSTRAINT [Pk_PERSON]  PRIMARY KEY NONCLUSTERED ( [RecId] )
)
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_PERSON_KeyDel')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[tr_PERSON_KeyDel]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_PERSON_KeyDel]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_PERSON_KeyUpd')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[tr_PERSON_KeyUpd]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_PERSON_KeyUpd]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'U' and [name] = 'ut_PERSON_Keys')
   AND 0 = (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_PERSON_Keys]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[ut_PERSON_Keys]
GO

IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_PERSON' and sc.[name] = 'NAME')
BEGIN
  ALTER TABLE [dbo].[ut_PERSON] ADD [NAME] char(30) NOT NULL DEFAULT ' '
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_PERSON' and sc.[name] = 'BETRAG')
BEGIN
  ALTER TABLE [dbo].[ut_PERSON] ADD [BETRAG] float NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_PERSON' and sc.[name] = 'AKTIV')
BEGIN
  ALTER TABLE [dbo].[ut_PERSON] ADD [AKTIV] tinyint NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_PERSON' and sc.[name] = 'GEBDAT')
BEGIN
  ALTER TABLE [dbo].[ut_PERSON] ADD [GEBDAT] datetime NOT NULL DEFAULT CONVERT(datetime,'1900-01-01',120)
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_PERSON' and sc.[name] = 'KURS')
BEGIN
  ALTER TABLE [dbo].[ut_PERSON] ADD [KURS] float NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_PERSON' and sc.[name] = 'PLZ')
BEGIN
  ALTER TABLE [dbo].[ut_PERSON] ADD [PLZ] integer NOT NULL DEFAULT 0
END
GO
IF 30 > (select length from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_PERSON' and sc.[name] = 'NAME')
BEGIN
  ALTER TABLE [dbo].[ut_PERSON] ALTER COLUMN [NAME] char(30)
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'PERSON')
   AND ISNULL(CHARINDEX('[dbo].[ut_PERSON]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[PERSON]', 'V'), OBJECT_ID('[dbo].[PERSON]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[PERSON]
GO
CREATE VIEW [dbo].[PERSON] AS
  SELECT RecId
    ,[NAME]
    ,[BETRAG]
    ,[AKTIV]
    ,[GEBDAT]
    ,[KURS]
    ,[PLZ]
  FROM [dbo].[ut_PERSON]
GO
