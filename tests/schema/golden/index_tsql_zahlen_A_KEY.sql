CREATE INDEX [Ik_A_KEY] ON [dbo].[ut_ZAHLEN_Keys]
( [A_KEY_Value],[DataRecId] )
GO
