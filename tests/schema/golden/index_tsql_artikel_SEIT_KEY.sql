IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'M01$ARTIKEL_Keys'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_SEIT_KEY')
CREATE INDEX [Ik_SEIT_KEY] ON [dbo].[M01$ARTIKEL_Keys]
( [SEIT_KEY_Value],[DataRecId] )
GO
