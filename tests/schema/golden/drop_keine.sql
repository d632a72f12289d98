IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Sel_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Sel_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Append_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Upd_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Upd2_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_TrSel_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Add_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Del_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[up_Reorg_KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_KEINE]
GO
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_KEINE]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_KEINE]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[KEINE]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_KEINE_KeyDel')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[tr_KEINE_KeyDel]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_KEINE_KeyDel]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_KEINE_KeyUpd')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[tr_KEINE_KeyUpd]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_KEINE_KeyUpd]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'U' and [name] = 'ut_KEINE_Keys')
   AND 0 = (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_KEINE_Keys]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[ut_KEINE_Keys]
GO

IF 0 < (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_KEINE]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[ut_KEINE]
GO
