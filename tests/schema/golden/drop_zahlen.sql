IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_First_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_First_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_First_ZAHLEN_A_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Last_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Last_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Last_ZAHLEN_A_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior_ZAHLEN_A_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next_ZAHLEN_A_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Prior50_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Prior50_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Prior50_ZAHLEN_A_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Next50_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_Next50_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_Next50_ZAHLEN_A_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindL_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindL_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindL_ZAHLEN_A_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_FindF_ZAHLEN_A_KEY')
BEGIN
  DECLARE @Text nvarchar(max) = REPLACE(OBJECT_DEFINITION(OBJECT_ID('[dbo].[up_FindF_ZAHLEN_A_KEY]')), ']]', CHAR(1))
  IF @Text IS NULL OR CHARINDEX('TOP 1 RecId FROM [dbo].[ut_ZAHLEN]', @Text) > 0
     OR (CHARINDEX('[dbo].[ut_ZAHLEN_Keys]', @Text) > 0
         AND (CHARINDEX('TOP 1 [DataRecId]', @Text) > 0 OR CHARINDEX('TOP 50 [DataRecId]', @Text) > 0))
    DROP PROCEDURE [dbo].[up_FindF_ZAHLEN_A_KEY]
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Sel_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_ZAHLEN]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Sel_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_ZAHLEN]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Append_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_ZAHLEN]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Upd_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_ZAHLEN]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Upd2_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_ZAHLEN]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_TrSel_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_ZAHLEN]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Add_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_ZAHLEN]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Del_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_ZAHLEN]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[up_Reorg_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_ZAHLEN]
GO
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_ZAHLEN]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_ZAHLEN]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'ZAHLEN')
   AND ISNULL(CHARINDEX('[dbo].[ut_ZAHLEN]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[ZAHLEN]', 'V'), OBJECT_ID('[dbo].[ZAHLEN]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[ZAHLEN]
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

IF 0 < (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_ZAHLEN]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[ut_ZAHLEN]
GO
