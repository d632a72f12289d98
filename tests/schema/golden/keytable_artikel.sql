CREATE TABLE [dbo].[M01$ARTIKEL_Keys]
(
   [DataRecId]  integer NOT NULL
  ,[DataMandId] integer DEFAULT 1
  ,[ARTNR_KEY_Value] CHAR(20) NOT NULL
  ,[BEZ_KEY_Filter] TINYINT NOT NULL
  ,[BEZ_KEY_Value] CHAR(50) NOT NULL
  ,[SEIT_KEY_Value] CHAR(20) NOT NULL
  ,[PREIS_KEY_Filter] TINYINT NOT NULL
  ,[PREIS_KEY_Value] CHAR(27) NOT NULL
  CONSTRAINT [Pk_M01$ARTIKEL_Keys]  PRIMARY KEY NONCLUSTERED ( [DataRecId] )
)
GO
CREATE TRIGGER [dbo].[tr_M01_ARTIKEL_KeyDel] ON [dbo].[M01$ARTIKEL]
FOR DELETE
AS
  SET NOCOUNT ON
  DELETE FROM [dbo].[M01$ARTIKEL_Keys] /*WITH (SERIALIZABLE)*/
  WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)
GO

CREATE TRIGGER [dbo].[tr_M01_ARTIKEL_KeyUpd] ON [dbo].[M01$ARTIKEL]
FOR INSERT, UPDATE
AS
  SET NOCOUNT ON
  IF UPDATE([RecId])
  BEGIN
    DELETE FROM [dbo].[M01$ARTIKEL_Keys] /*WITH (SERIALIZABLE)*/
    WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)

    INSERT INTO [dbo].[M01$ARTIKEL_Keys] /*WITH (SERIALIZABLE)*/
    ([DataRecId],[DataMandId],[ARTNR_KEY_Value],[BEZ_KEY_Filter],[BEZ_KEY_Value],[SEIT_KEY_Value],[PREIS_KEY_Filter],[PREIS_KEY_Value])
    (SELECT [RecId],1 AS [MandId]
     ,UPPER(convert(char(10),[ARTNR])+STR(RecId,10))
     ,CASE WHEN [STATUS] = 'A' AND NOT([LAGER] < 0) THEN 1 ELSE 0 END
     ,UPPER(convert(char(30),[BEZ])+convert(char(10),[ARTNR])+STR(RecId,10))
     ,UPPER(CONVERT(char(10),[SEIT],120)+STR(RecId,10))
     ,CASE WHEN 1 = [LAGER] OR SUBSTRING([BEZ],1,1) = 'X' THEN 1 ELSE 0 END
     ,UPPER(CASE WHEN [PREIS] < 0 THEN '0'+CONVERT(char(16),CAST(~CAST(CAST(-[PREIS] AS binary(8)) AS bigint) AS binary(8)),2) ELSE '1'+CONVERT(char(16),CAST(ABS([PREIS]) AS binary(8)),2) END+STR(RecId,10))

    FROM INSERTED)
  END
  ELSE
  BEGIN
    UPDATE [dbo].[M01$ARTIKEL_Keys] /*WITH (SERIALIZABLE)*/ SET
    [ARTNR_KEY_Value] = UPPER(convert(char(10),[ARTNR])+STR([RecId],10))
   ,[BEZ_KEY_Value] = UPPER(convert(char(30),[BEZ])+convert(char(10),[ARTNR])+STR([RecId],10))
   ,[BEZ_KEY_Filter] = CASE WHEN [STATUS] = 'A' AND NOT([LAGER] < 0) THEN 1 ELSE 0 END
   ,[SEIT_KEY_Value] = UPPER(CONVERT(char(10),[SEIT],120)+STR([RecId],10))
   ,[PREIS_KEY_Value] = UPPER(CASE WHEN [PREIS] < 0 THEN '0'+CONVERT(char(16),CAST(~CAST(CAST(-[PREIS] AS binary(8)) AS bigint) AS binary(8)),2) ELSE '1'+CONVERT(char(16),CAST(ABS([PREIS]) AS binary(8)),2) END+STR([RecId],10))
   ,[PREIS_KEY_Filter] = CASE WHEN 1 = [LAGER] OR SUBSTRING([BEZ],1,1) = 'X' THEN 1 ELSE 0 END
    FROM INSERTED WHERE [DataRecId] = [RecId]
  END
GO

UPDATE [dbo].[M01$ARTIKEL] SET RecId = RecId
GO

