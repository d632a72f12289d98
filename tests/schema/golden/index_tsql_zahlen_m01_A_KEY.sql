IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'ut_ZAHLEN_Keys'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_A_KEY')
CREATE INDEX [Ik_A_KEY] ON [dbo].[ut_ZAHLEN_Keys]
( [A_KEY_Value],[DataRecId] )
GO
