CREATE TABLE [KEINE]
(
   RecId integer NOT NULL
  ,[A] char(4)
)
GO
CREATE UNIQUE INDEX [IkRecId] ON [KEINE] (RecId)
GO
