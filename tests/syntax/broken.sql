-- A script with one broken batch: the table of the second lacks its closing parenthesis.
CREATE TABLE [dbo].[GOOD1] ([A] int NOT NULL)
GO
CREATE TABLE [dbo].[BROKEN] (
  [A] int NOT NULL,
  [B] char(10) NULL
CREATE INDEX [BROKEN_A] ON [dbo].[BROKEN] ([A])
  go  
CREATE VIEW [dbo].[GOOD2] AS SELECT [A] FROM [dbo].[GOOD1]
GO
