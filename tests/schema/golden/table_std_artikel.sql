CREATE TABLE [ARTIKEL]
(
   RecId integer NOT NULL
  ,[ARTNR] char(10)
  ,[BEZ] char(30)
  ,[PREIS] float
  ,[LAGER] integer
  ,[SEIT] datetime
  ,[STATUS] char(1)
)
GO
CREATE UNIQUE INDEX [IkRecId] ON [ARTIKEL] (RecId)
GO
