CREATE TABLE [dbo].[ut_ZAHLEN_Keys]
(
   [DataRecId]  integer NOT NULL
  ,[DataMandId] integer DEFAULT 1
  ,[A_KEY_Value] CHAR(21) NOT NULL
  CONSTRAINT [Pk_ut_ZAHLEN_Keys]  PRIMARY KEY NONCLUSTERED ( [DataRecId] )
)
GO
CREATE TRIGGER [dbo].[tr_ZAHLEN_KeyDel] ON [dbo].[ut_ZAHLEN]
FOR DELETE
AS
  SET NOCOUNT ON
  DELETE FROM [dbo].[ut_ZAHLEN_Keys] /*WITH (SERIALIZABLE)*/
  WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)
GO

CREATE TRIGGER [dbo].[tr_ZAHLEN_KeyUpd] ON [dbo].[ut_ZAHLEN]
FOR INSERT, UPDATE
AS
  SET NOCOUNT ON
  IF UPDATE([RecId])
  BEGIN
    DELETE FROM [dbo].[ut_ZAHLEN_Keys] /*WITH (SERIALIZABLE)*/
    WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)

    INSERT INTO [dbo].[ut_ZAHLEN_Keys] /*WITH (SERIALIZABLE)*/
    ([DataRecId],[DataMandId],[A_KEY_Value])
    (SELECT [RecId],1 AS [MandId]
     ,UPPER(CASE WHEN [A] < 0 THEN '0'+REPLACE(STR([A]+10000000000,10,0),' ','0') ELSE '1'+REPLACE(STR([A],10,0),' ','0') END+STR(RecId,10))

    FROM INSERTED)
  END
  ELSE
  BEGIN
    UPDATE [dbo].[ut_ZAHLEN_Keys] /*WITH (SERIALIZABLE)*/ SET
    [A_KEY_Value] = UPPER(CASE WHEN [A] < 0 THEN '0'+REPLACE(STR([A]+10000000000,10,0),' ','0') ELSE '1'+REPLACE(STR([A],10,0),' ','0') END+STR([RecId],10))
    FROM INSERTED WHERE [DataRecId] = [RecId]
  END
GO

UPDATE [dbo].[ut_ZAHLEN] SET RecId = RecId
GO

