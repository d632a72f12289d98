IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'M01$ARTIKEL_Keys'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_ARTNR_KEY')
CREATE INDEX [Ik_ARTNR_KEY] ON [dbo].[M01$ARTIKEL_Keys]
( [ARTNR_KEY_Value],[DataRecId] )
GO
