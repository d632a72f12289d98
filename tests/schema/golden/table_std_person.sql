CREATE TABLE [PERSON]
(
   RecId integer NOT NULL
  ,[NAME] char(30)
  ,[BETRAG] float
  ,[AKTIV] byte
  ,[GEBDAT] datetime
  ,[KURS] float
  ,[PLZ] integer
)
GO
CREATE UNIQUE INDEX [IkRecId] ON [PERSON] (RecId)
GO
