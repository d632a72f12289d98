CREATE TABLE [LEER]
(
   RecId integer NOT NULL
)
GO
CREATE INDEX [IkRecId] ON [LEER] (RecId)
GO
