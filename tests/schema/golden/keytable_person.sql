CREATE TABLE [dbo].[ut_PERSON_Keys]
(
   [DataRecId]  integer NOT NULL
  ,[DataMandId] integer DEFAULT 1
  ,[NAME_KEY_Value] CHAR(50) NOT NULL
  ,[AKTIV_KEY_Filter] TINYINT NOT NULL
  ,[AKTIV_KEY_Value] CHAR(40) NOT NULL
  ,[WERT_KEY_Value] CHAR(44) NOT NULL
  ,[PLZ_KEY_Value] CHAR(46) NOT NULL
  ,[GEB_KEY_Value] CHAR(20) NOT NULL
  CONSTRAINT [Pk_ut_PERSON_Keys]  PRIMARY KEY NONCLUSTERED ( [DataRecId] )
)
GO
CREATE TRIGGER [dbo].[tr_PERSON_KeyDel] ON [dbo].[ut_PERSON]
FOR DELETE
AS
  SET NOCOUNT ON
  DELETE FROM [dbo].[ut_PERSON_Keys] /*WITH (SERIALIZABLE)*/
  WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)
GO

CREATE TRIGGER [dbo].[tr_PERSON_KeyUpd] ON [dbo].[ut_PERSON]
FOR INSERT, UPDATE
AS
  SET NOCOUNT ON
  IF UPDATE([RecId]) OR UPDATE([MandId])
  BEGIN
    DELETE FROM [dbo].[ut_PERSON_Keys] /*WITH (SERIALIZABLE)*/
    WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)

    INSERT INTO [dbo].[ut_PERSON_Keys] /*WITH (SERIALIZABLE)*/
    ([DataRecId],[DataMandId],[NAME_KEY_Value],[AKTIV_KEY_Filter],[AKTIV_KEY_Value],[WERT_KEY_Value],[PLZ_KEY_Value],[GEB_KEY_Value])
    (SELECT [RecId],[MandId]
     ,UPPER(convert(char(30),[NAME])+CONVERT(char(10),[GEBDAT],120)+STR(RecId,10))
     ,CASE WHEN 1 = AKTIV THEN 1 ELSE 0 END
     ,UPPER(convert(char(30),[NAME])+STR(RecId,10))
     ,UPPER(CASE WHEN [BETRAG] < 0 THEN '0'+CONVERT(char(16),CAST(~CAST(CAST(-[BETRAG] AS binary(8)) AS bigint) AS binary(8)),2) ELSE '1'+CONVERT(char(16),CAST(ABS([BETRAG]) AS binary(8)),2) END+CASE WHEN [KURS] < 0 THEN '0'+CONVERT(char(16),CAST(~CAST(CAST(-[KURS] AS binary(8)) AS bigint) AS binary(8)),2) ELSE '1'+CONVERT(char(16),CAST(ABS([KURS]) AS binary(8)),2) END+STR(RecId,10))
     ,UPPER(convert(char(30),[NAME])+CASE WHEN [PLZ] < 0 THEN '0'+REPLACE(STR([PLZ]+100000,5,0),' ','0') ELSE '1'+REPLACE(STR([PLZ],5,0),' ','0') END+STR(RecId,10))
     ,UPPER(CONVERT(char(10),[GEBDAT],120)+STR(RecId,10))

    FROM INSERTED)
  END
  ELSE
  BEGIN
    UPDATE [dbo].[ut_PERSON_Keys] /*WITH (SERIALIZABLE)*/ SET
    [NAME_KEY_Value] = UPPER(convert(char(30),[NAME])+CONVERT(char(10),[GEBDAT],120)+STR([RecId],10))
   ,[AKTIV_KEY_Value] = UPPER(convert(char(30),[NAME])+STR([RecId],10))
   ,[AKTIV_KEY_Filter] = CASE WHEN 1 = AKTIV THEN 1 ELSE 0 END
   ,[WERT_KEY_Value] = UPPER(CASE WHEN [BETRAG] < 0 THEN '0'+CONVERT(char(16),CAST(~CAST(CAST(-[BETRAG] AS binary(8)) AS bigint) AS binary(8)),2) ELSE '1'+CONVERT(char(16),CAST(ABS([BETRAG]) AS binary(8)),2) END+CASE WHEN [KURS] < 0 THEN '0'+CONVERT(char(16),CAST(~CAST(CAST(-[KURS] AS binary(8)) AS bigint) AS binary(8)),2) ELSE '1'+CONVERT(char(16),CAST(ABS([KURS]) AS binary(8)),2) END+STR([RecId],10))
   ,[PLZ_KEY_Value] = UPPER(convert(char(30),[NAME])+CASE WHEN [PLZ] < 0 THEN '0'+REPLACE(STR([PLZ]+100000,5,0),' ','0') ELSE '1'+REPLACE(STR([PLZ],5,0),' ','0') END+STR([RecId],10))
   ,[GEB_KEY_Value] = UPPER(CONVERT(char(10),[GEBDAT],120)+STR([RecId],10))
    FROM INSERTED WHERE [DataRecId] = [RecId]
  END
GO

UPDATE [dbo].[ut_PERSON] SET RecId = RecId
GO

