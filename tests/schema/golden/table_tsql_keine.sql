------------------------------------------------------------
IF 0 = (SELECT count(*) from [sysobjects] where ([xtype] = 'U' or [xtype] = 'V') and [name] = 'ut_KEINE')
BEGIN
CREATE TABLE [dbo].[ut_KEINE]
(
   [RecId]  integer NOT NULL
  ,[MandId] integer DEFAULT 1
  ,[A] char(4) DEFAULT ' '
  CONSTRAINT [Pk_KEINE]  PRIMARY KEY NONCLUSTERED ( [RecId] )
)
END
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

IF 0 = (select count(*) from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KEINE' and sc.[name] = 'A')
BEGIN
  ALTER TABLE [dbo].[ut_KEINE] ADD [A] char(4) NOT NULL DEFAULT ' '
END
GO
IF 4 > (select length from syscolumns sc inner join sysobjects so
        on sc.[id] = so.[id] and so.[name] = 'ut_KEINE' and sc.[name] = 'A')
BEGIN
  ALTER TABLE [dbo].[ut_KEINE] ALTER COLUMN [A] char(4)
END
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'KEINE')
   AND ISNULL(CHARINDEX('[dbo].[ut_KEINE]', REPLACE(OBJECT_DEFINITION(ISNULL(OBJECT_ID('[dbo].[KEINE]', 'V'), OBJECT_ID('[dbo].[KEINE]'))), ']]', CHAR(1))), 1) > 0
  DROP VIEW [dbo].[KEINE]
GO
CREATE VIEW [dbo].[KEINE] AS
  SELECT RecId
    ,[A]
  FROM [dbo].[ut_KEINE]
GO
