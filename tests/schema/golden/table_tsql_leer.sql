------------------------------------------------------------
IF 0 = (SELECT count(*) from [sysobjects] where ([xtype] = 'U' or [xtype] = 'V') and [name] = 'ut_LEER')
BEGIN
CREATE TABLE [dbo].[ut_LEER]
(
   [RecId]  integer NOT NULL
  ,[MandId] integer DEFAULT 1
  CONSTRAINT [Pk_LEER]  PRIMARY KEY NONCLUSTERED ( [RecId] )
)
END
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

IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'LEER')
   AND ISNULL(CHARINDEX('[dbo].[ut_LEER]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[LEER]', 'V'), OBJECT_ID('[dbo].[LEER]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[LEER]
GO
CREATE VIEW [dbo].[LEER] AS
  SELECT RecId
  FROM [dbo].[ut_LEER]
GO
