CREATE INDEX [Ik_ARTNR_KEY] ON [dbo].[M01$ARTIKEL_Keys]
( [ARTNR_KEY_Value],[DataRecId] )
GO
