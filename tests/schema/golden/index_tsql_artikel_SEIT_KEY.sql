CREATE INDEX [Ik_SEIT_KEY] ON [dbo].[M01$ARTIKEL_Keys]
( [SEIT_KEY_Value],[DataRecId] )
GO
