IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_M01_ARTIKEL_ARTNR_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_M01_ARTIKEL_ARTNR_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_M01_ARTIKEL_ARTNR_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_M01_ARTIKEL_ARTNR_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_M01_ARTIKEL_ARTNR_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_M01_ARTIKEL_ARTNR_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_M01_ARTIKEL_ARTNR_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_M01_ARTIKEL_ARTNR_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_M01_ARTIKEL_ARTNR_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_M01_ARTIKEL_ARTNR_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_M01_ARTIKEL_BEZ_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_M01_ARTIKEL_BEZ_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_M01_ARTIKEL_BEZ_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_M01_ARTIKEL_BEZ_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_M01_ARTIKEL_BEZ_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_M01_ARTIKEL_BEZ_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_M01_ARTIKEL_BEZ_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_M01_ARTIKEL_BEZ_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_M01_ARTIKEL_BEZ_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_M01_ARTIKEL_BEZ_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_M01_ARTIKEL_SEIT_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_M01_ARTIKEL_SEIT_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_M01_ARTIKEL_SEIT_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_M01_ARTIKEL_SEIT_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_M01_ARTIKEL_SEIT_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_M01_ARTIKEL_SEIT_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_M01_ARTIKEL_SEIT_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_M01_ARTIKEL_SEIT_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_M01_ARTIKEL_SEIT_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_M01_ARTIKEL_SEIT_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_M01_ARTIKEL_PREIS_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_M01_ARTIKEL_PREIS_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_M01_ARTIKEL_PREIS_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_M01_ARTIKEL_PREIS_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_M01_ARTIKEL_PREIS_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_M01_ARTIKEL_PREIS_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_M01_ARTIKEL_PREIS_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_M01_ARTIKEL_PREIS_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_M01_ARTIKEL_PREIS_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[M01$ARTIKEL]', @Text) > 0
     OR (CHARINDEX('[dbo].[M01$ARTIKEL_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_M01_ARTIKEL_PREIS_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Sel_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_M01_ARTIKEL]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Sel_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_M01_ARTIKEL]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Append_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_M01_ARTIKEL]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Upd_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_M01_ARTIKEL]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Upd2_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_M01_ARTIKEL]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_TrSel_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_M01_ARTIKEL]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Add_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_M01_ARTIKEL]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Del_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_M01_ARTIKEL]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[up_Reorg_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_M01_ARTIKEL]
GO
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_M01_ARTIKEL]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_M01_ARTIKEL]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'M01_ARTIKEL')
   AND ISNULL(CHARINDEX('[dbo].[M01$ARTIKEL]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[M01_ARTIKEL]', 'V'), OBJECT_ID('[dbo].[M01_ARTIKEL]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[M01_ARTIKEL]
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

IF 0 < (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[M01$ARTIKEL]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[M01$ARTIKEL]
GO
