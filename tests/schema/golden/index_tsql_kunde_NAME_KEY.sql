IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'ut_KUNDE'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_NAME_KEY')
CREATE INDEX [Ik_NAME_KEY] ON [dbo].[ut_KUNDE]
([NAME],[ORT],RecId)
GO
