-- IF UPDATE(column) is valid in a trigger only. The grammar lacks it, so check.js
-- reads it as 0<>LEN(column) in triggers; batch 1 parses that way, batch 2 (not a
-- trigger) and batch 3 (a trigger missing its END) must still fail.
CREATE TRIGGER [dbo].[tr_T_Upd] ON [dbo].[T]
FOR INSERT, UPDATE
AS
  SET NOCOUNT ON
  IF UPDATE([A]) OR UPDATE([B])
    UPDATE [dbo].[T] SET [C] = 1 FROM INSERTED WHERE [dbo].[T].[RecId] = INSERTED.[RecId]
GO
IF UPDATE([A]) PRINT 'not in a trigger'
GO
CREATE TRIGGER [dbo].[tr_T_Upd2] ON [dbo].[T] FOR UPDATE AS
  IF UPDATE([A])
  BEGIN
    DELETE FROM [dbo].[T_Keys] WHERE [DataRecId] IN (SELECT [RecId] FROM DELETED)
GO
