IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_KUNDE_NR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_KUNDE_NR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_KUNDE_NR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_KUNDE_NAME_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_KUNDE_NAME_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_KUNDE_NAME_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_KUNDE_DATUM_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_KUNDE_DATUM_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_KUNDE_DATUM_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_KUNDE_DATUM_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_KUNDE_DATUM_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_KUNDE_DATUM_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_KUNDE_DATUM_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_KUNDE_DATUM_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_KUNDE_DATUM_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_KUNDE_DATUM_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_KUNDE_DATUM_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_KUNDE_DATUM_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_KUNDE_DATUM_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_KUNDE_DATUM_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_KUNDE_DATUM_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_KUNDE_DATUM_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_KUNDE_DATUM_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_KUNDE_DATUM_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_KUNDE_DATUM_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_KUNDE_DATUM_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_KUNDE_DATUM_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_KUNDE_DATUM_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_KUNDE_DATUM_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_KUNDE_DATUM_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_KUNDE_KZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_KUNDE_KZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_KUNDE_KZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_KUNDE_BETRAG_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_KUNDE_BETRAG_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_KUNDE_BETRAG_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_KUNDE]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_KUNDE_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_KUNDE_BETRAG_KEY')
END
GO
------------------------------------------------------------
IF 0 = (SELECT count(*) from [sysobjects] where ([xtype] = 'U' or [xtype] = 'V') and [name] = 'ut_KUNDE')
BEGIN
CREATE TABLE [dbo].[ut_KUNDE]
(
   [RecId]  integer NOT NULL
  ,[MandId] integer DEFAULT 1
  ,[NR] integer DEFAULT 0
  ,[NAME] char(20) DEFAULT ' '
  ,[ORT] char(15) DEFAULT ' '
  ,[KZ] char(1) DEFAULT ' '
  ,[DATUM] datetime DEFAULT CONVERT(datetime,'1900-01-01',120)
  ,[AKTIV] tinyint DEFAULT 0
  ,[STUFE] tinyint DEFAULT 0
  ,[BETRAG] float DEFAULT 0
  ,[MENGE] integer DEFAULT 0
  ,[GROSS] integer DEFAULT 0
  ,[KURS] float DEFAULT 0
  ,[ANZAHL] smallint DEFAULT 0
  ,[PACKED] float DEFAULT 0
  ,[BIN] integer DEFAULT 0
  ,[ALTDAT] datetime DEFAULT CONVERT(datetime,'1900-01-01',120)
  ,[NOTIZ] char(40) DEFAULT ' '
  CONSTRAINT [Pk_KUNDE]  PRIMARY KEY NONCLUSTERED ( [RecId] )
)
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_KUNDE_KeyDel')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[tr_KUNDE_KeyDel]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_KUNDE_KeyDel]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_KUNDE_KeyUpd')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[tr_KUNDE_KeyUpd]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_KUNDE_KeyUpd]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'U' and [name] = 'ut_KUNDE_Keys')
   AND 0 = (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_KUNDE_Keys]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[ut_KUNDE_Keys]
GO

IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'NR')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [NR] integer NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'NAME')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [NAME] char(20) NOT NULL DEFAULT ' '
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'ORT')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [ORT] char(15) NOT NULL DEFAULT ' '
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'KZ')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [KZ] char(1) NOT NULL DEFAULT ' '
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'DATUM')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [DATUM] datetime NOT NULL DEFAULT CONVERT(datetime,'1900-01-01',120)
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'AKTIV')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [AKTIV] tinyint NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'STUFE')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [STUFE] tinyint NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'BETRAG')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [BETRAG] float NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'MENGE')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [MENGE] integer NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'GROSS')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [GROSS] integer NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'KURS')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [KURS] float NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'ANZAHL')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [ANZAHL] smallint NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'PACKED')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [PACKED] float NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'BIN')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [BIN] integer NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'ALTDAT')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [ALTDAT] datetime NOT NULL DEFAULT CONVERT(datetime,'1900-01-01',120)
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'NOTIZ')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ADD [NOTIZ] char(40) NOT NULL DEFAULT ' '
END
GO
IF 20 > (select length from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'NAME')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ALTER COLUMN [NAME] char(20)
END
GO
IF 15 > (select length from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'ORT')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ALTER COLUMN [ORT] char(15)
END
GO
IF 1 > (select length from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'KZ')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ALTER COLUMN [KZ] char(1)
END
GO
IF 40 > (select length from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KUNDE' and sc.[name] = 'NOTIZ')
BEGIN
  ALTER TABLE [dbo].[ut_KUNDE] ALTER COLUMN [NOTIZ] char(40)
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'KUNDE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KUNDE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KUNDE]', 'V'), OBJECT_ID('[dbo].[KUNDE]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[KUNDE]
GO
CREATE VIEW [dbo].[KUNDE] AS
  SELECT RecId
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
  FROM [dbo].[ut_KUNDE]
GO
