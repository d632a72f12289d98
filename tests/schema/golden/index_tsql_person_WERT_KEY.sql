IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'ut_PERSON_Keys'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_WERT_KEY')
CREATE INDEX [Ik_WERT_KEY] ON [dbo].[ut_PERSON_Keys]
( [WERT_KEY_Value],[DataRecId] )
GO
