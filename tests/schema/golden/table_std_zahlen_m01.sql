CREATE TABLE [ZAHLEN]
(
   RecId integer NOT NULL
  ,[A] integer
  ,[B] float
)
GO
CREATE UNIQUE INDEX [IkRecId] ON [ZAHLEN] (RecId)
GO
