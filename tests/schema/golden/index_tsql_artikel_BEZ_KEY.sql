IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'M01$ARTIKEL_Keys'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_BEZ_KEY')
CREATE INDEX [Ik_BEZ_KEY] ON [dbo].[M01$ARTIKEL_Keys]
( [BEZ_KEY_Filter],[BEZ_KEY_Value],[DataRecId] )
GO
IF 0 = (select count(*)
   from       sysindexes si
   inner join sysobjects so on
   so.[xtype]    = 'U'
   and so.[name] = 'M01$ARTIKEL'
   and so.[id]   = si.[id]
   and si.[name] = 'Ik_BEZ_KEY')
CREATE INDEX [Ik_BEZ_KEY] ON [dbo].[M01$ARTIKEL]
([BEZ],[ARTNR],RecId)
GO
