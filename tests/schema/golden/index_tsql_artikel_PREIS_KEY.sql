CREATE INDEX [Ik_PREIS_KEY] ON [dbo].[M01$ARTIKEL_Keys]
( [PREIS_KEY_Filter],[PREIS_KEY_Value],[DataRecId] )
GO
