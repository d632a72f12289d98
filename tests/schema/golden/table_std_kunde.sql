CREATE TABLE [KUNDE]
(
   RecId integer NOT NULL
  ,[NR] integer
  ,[NAME] char(20)
  ,[ORT] char(15)
  ,[KZ] char(1)
  ,[DATUM] datetime
  ,[AKTIV] byte
  ,[STUFE] byte
  ,[BETRAG] float
  ,[MENGE] integer
  ,[GROSS] integer
  ,[KURS] float
  ,[ANZAHL] smallint
  ,[PACKED] float
  ,[BIN] integer
  ,[ALTDAT] datetime
  ,[NOTIZ] char(40)
)
GO
CREATE UNIQUE INDEX [IkRecId] ON [KUNDE] (RecId)
GO
