IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Sel_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel_LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Sel2_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Sel_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Sel2_LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P' and [name] = 'up_Append_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Append_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Append_LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Upd_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd_LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Upd2_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Upd2_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Upd2_LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_TrSel_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_TrSel_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_TrSel_LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Add_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Add_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Add_LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Del_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Del_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Del_LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'P'   and [name] = 'up_Reorg_LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[up_Reorg_LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP PROCEDURE [dbo].[up_Reorg_LEER]
GO
IF OBJECT_ID (N'[dbo].[dpxfunc_NextRecId_LEER]', N'FN') IS NOT NULL AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[dpxfunc_NextRecId_LEER]'))), ']]', CHAR(1))), 1) > 0
	DROP FUNCTION [dbo].[dpxfunc_NextRecId_LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[LEER]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_LEER_KeyDel')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[tr_LEER_KeyDel]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_LEER_KeyDel]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_LEER_KeyUpd')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[tr_LEER_KeyUpd]'))), ']]', CHAR(1))), 1) > 0
  DROP TRIGGER [dbo].[tr_LEER_KeyUpd]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'U' and [name] = 'ut_LEER_Keys')
   AND 0 = (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_LEER_Keys]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[ut_LEER_Keys]
GO

IF 0 < (SELECT count(*) from [syscolumns] where [id] = OBJECT_ID('[dbo].[ut_LEER]', 'U') and [name] = 'RecId')
  DROP TABLE [dbo].[ut_LEER]
GO
