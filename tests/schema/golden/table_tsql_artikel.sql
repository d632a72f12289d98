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
  DROP TRIGGER [dbo].[tr_M01_ARTIKEL_KeyDel]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'TR'   and [name] = 'tr_M01_ARTIKEL_KeyUpd')
  DROP TRIGGER [dbo].[tr_M01_ARTIKEL_KeyUpd]
GO
IF 0 < (SELECT count(*) from [sysobjects] where [xtype] = 'U' and [name] = 'M01$ARTIKEL_Keys')
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
