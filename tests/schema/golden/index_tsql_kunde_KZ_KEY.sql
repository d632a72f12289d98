IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'ut_KUNDE'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_KZ_KEY')
CREATE INDEX [Ik_KZ_KEY] ON [dbo].[ut_KUNDE]
([KZ],RecId)
GO
