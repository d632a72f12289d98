IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_M01_ARTIKEL_ARTNR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_M01_ARTIKEL_ARTNR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_M01_ARTIKEL_ARTNR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_M01_ARTIKEL_ARTNR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_M01_ARTIKEL_ARTNR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_M01_ARTIKEL_ARTNR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_M01_ARTIKEL_ARTNR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_M01_ARTIKEL_ARTNR_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_M01_ARTIKEL_BEZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_M01_ARTIKEL_BEZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_M01_ARTIKEL_BEZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_M01_ARTIKEL_BEZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_M01_ARTIKEL_BEZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_M01_ARTIKEL_BEZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_M01_ARTIKEL_BEZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_M01_ARTIKEL_BEZ_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_M01_ARTIKEL_SEIT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_M01_ARTIKEL_SEIT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_M01_ARTIKEL_SEIT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_M01_ARTIKEL_SEIT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_M01_ARTIKEL_SEIT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_M01_ARTIKEL_SEIT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_M01_ARTIKEL_SEIT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_M01_ARTIKEL_SEIT_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_First_M01_ARTIKEL_PREIS_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Last_M01_ARTIKEL_PREIS_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior_M01_ARTIKEL_PREIS_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next_M01_ARTIKEL_PREIS_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Prior50_M01_ARTIKEL_PREIS_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_Next50_M01_ARTIKEL_PREIS_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindL_M01_ARTIKEL_PREIS_KEY')
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF NOT (@Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0)))
    RAISERROR('Prozedur %s gehört zu einer anderen Tabelle und wird nicht ersetzt', 16, 1, 'up_FindF_M01_ARTIKEL_PREIS_KEY')
END
GO
IF 0 < (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[M01$ARTIKEL_Keys]', 'U') and [name] = 'RecId')
  RAISERROR('Tabelle %s ist keine Schlüsseltabelle und wird nicht ersetzt', 16, 1, 'M01$ARTIKEL_Keys')
GO
------------------------------------------------------------
IF 0 = (SELECT count(*) from [sysobjects] where ([xtype] = 'U' or [xtype] = 'V') and [name] = 'M01$ARTIKEL')
BEGIN
CREATE TABLE [dbo].[M01$ARTIKEL]
(
   [RecId]  integer NOT NULL
  ,[MandId] integer DEFAULT 1
  ,[ARTNR] char(10) DEFAULT ' '
  ,[BEZ] char(30) DEFAULT ' '
  ,[PREIS] float DEFAULT 0
  ,[LAGER] integer DEFAULT 0
  ,[SEIT] datetime DEFAULT CONVERT(datetime,'1900-01-01',120)
  ,[STATUS] char(1) DEFAULT ' '
  CONSTRAINT [Pk_M01_ARTIKEL]  PRIMARY KEY NONCLUSTERED ( [RecId] )
)
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_M01_ARTIKEL_KeyDel')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[tr_M01_ARTIKEL_KeyDel]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_M01_ARTIKEL_KeyDel]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_M01_ARTIKEL_KeyUpd')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[tr_M01_ARTIKEL_KeyUpd]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_M01_ARTIKEL_KeyUpd]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'U' and [name] = 'M01$ARTIKEL_Keys')
   AND 0 = (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[M01$ARTIKEL_Keys]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[M01$ARTIKEL_Keys]
GO

IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'M01$ARTIKEL' and sc.[name] = 'ARTNR')
BEGIN
  ALTER TABLE [dbo].[M01$ARTIKEL] ADD [ARTNR] char(10) NOT NULL DEFAULT ' '
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'M01$ARTIKEL' and sc.[name] = 'BEZ')
BEGIN
  ALTER TABLE [dbo].[M01$ARTIKEL] ADD [BEZ] char(30) NOT NULL DEFAULT ' '
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'M01$ARTIKEL' and sc.[name] = 'PREIS')
BEGIN
  ALTER TABLE [dbo].[M01$ARTIKEL] ADD [PREIS] float NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'M01$ARTIKEL' and sc.[name] = 'LAGER')
BEGIN
  ALTER TABLE [dbo].[M01$ARTIKEL] ADD [LAGER] integer NOT NULL DEFAULT 0
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'M01$ARTIKEL' and sc.[name] = 'SEIT')
BEGIN
  ALTER TABLE [dbo].[M01$ARTIKEL] ADD [SEIT] datetime NOT NULL DEFAULT CONVERT(datetime,'1900-01-01',120)
END
GO
IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'M01$ARTIKEL' and sc.[name] = 'STATUS')
BEGIN
  ALTER TABLE [dbo].[M01$ARTIKEL] ADD [STATUS] char(1) NOT NULL DEFAULT ' '
END
GO
IF 10 > (select length from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'M01$ARTIKEL' and sc.[name] = 'ARTNR')
BEGIN
  ALTER TABLE [dbo].[M01$ARTIKEL] ALTER COLUMN [ARTNR] char(10)
END
GO
IF 30 > (select length from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'M01$ARTIKEL' and sc.[name] = 'BEZ')
BEGIN
  ALTER TABLE [dbo].[M01$ARTIKEL] ALTER COLUMN [BEZ] char(30)
END
GO
IF 1 > (select length from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'M01$ARTIKEL' and sc.[name] = 'STATUS')
BEGIN
  ALTER TABLE [dbo].[M01$ARTIKEL] ALTER COLUMN [STATUS] char(1)
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[M01_ARTIKEL]
GO
CREATE VIEW [dbo].[M01_ARTIKEL] AS
  SELECT RecId
    ,[ARTNR]
    ,[BEZ]
    ,[PREIS]
    ,[LAGER]
    ,[SEIT]
    ,[STATUS]
  FROM [dbo].[M01$ARTIKEL]
GO
