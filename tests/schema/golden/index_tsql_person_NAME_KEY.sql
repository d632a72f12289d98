IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'ut_PERSON_Keys'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_NAME_KEY')
CREATE INDEX [Ik_NAME_KEY] ON [dbo].[ut_PERSON_Keys]
( [NAME_KEY_Value],[DataRecId] )
GO
