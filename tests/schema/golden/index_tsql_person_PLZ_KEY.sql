IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'ut_PERSON_Keys'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_PLZ_KEY')
CREATE INDEX [Ik_PLZ_KEY] ON [dbo].[ut_PERSON_Keys]
( [PLZ_KEY_Value],[DataRecId] )
GO
