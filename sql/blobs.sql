-- Blob storage: the tables and procedures that the library's blob calls use.
-- Run once per database; running it again keeps the stored blobs.
--
-- A blob is a row of ut_BlobIds; its data lie in parts, rows of ut_Blobs
-- numbered by PartNo, each holding at most 16 MiB in BlobData. Ids come from
-- MAX()+1, retried when another writer took the same id first.
------------------------------------------------------------
IF OBJECT_ID (N'dbo.ut_BlobIds', N'U') IS NULL
  CREATE TABLE [dbo].[ut_BlobIds] (
    [RecId] integer NOT NULL PRIMARY KEY
  )
GO
IF OBJECT_ID (N'dbo.ut_Blobs', N'U') IS NULL
  CREATE TABLE [dbo].[ut_Blobs] (
    [RecId] integer NOT NULL PRIMARY KEY,
    [BlobId] integer NOT NULL,
    [PartNo] integer NOT NULL,
    [BlobData] varbinary(max) NULL
  )
GO
IF NOT EXISTS (SELECT * FROM [sysindexes] WHERE [name] = 'ix_Blobs_BlobId_PartNo')
  CREATE UNIQUE INDEX [ix_Blobs_BlobId_PartNo] ON [dbo].[ut_Blobs] ([BlobId], [PartNo])
GO
------------------------------------------------------------
-- A new, empty blob; one row: its id (0 when none could be taken).
IF OBJECT_ID (N'dbo.up_Add_Blobs', N'P') IS NOT NULL
  DROP PROCEDURE [dbo].[up_Add_Blobs]
GO
CREATE PROCEDURE [dbo].[up_Add_Blobs]
AS
  SET NOCOUNT ON
  -- No transaction of its own: inside a caller's, a rollback here would
  -- take back the caller's work too.
  DECLARE @NeueId integer = 0
  DECLARE @m_CountDown integer = 10
  WHILE @m_CountDown > 0 BEGIN
    BEGIN TRY
      SET @NeueId = isnull((SELECT MAX(RecId) FROM [dbo].[ut_BlobIds]), 0) + 1
      INSERT INTO [dbo].[ut_BlobIds] (RecId) VALUES (@NeueId)
    END TRY
    BEGIN CATCH
      SET @NeueId = 0
    END CATCH

    IF @NeueId <> 0
      SET @m_CountDown = 0
    ELSE
      SET @m_CountDown = @m_CountDown - 1

    IF @m_CountDown > 0
      WAITFOR DELAY '00:00:00.050'
  END
  SELECT @NeueId AS BlobId
GO
------------------------------------------------------------
-- A new, empty part after the blob's last one; one row: its RecId, 0 when
-- the blob does not exist or no id could be taken.
IF OBJECT_ID (N'dbo.up_Add_BlobPart', N'P') IS NOT NULL
  DROP PROCEDURE [dbo].[up_Add_BlobPart]
GO
CREATE PROCEDURE [dbo].[up_Add_BlobPart]
  @BlobId integer
AS
  SET NOCOUNT ON
  DECLARE @NeueId integer = 0
  DECLARE @m_CountDown integer = 10
  IF NOT EXISTS (SELECT * FROM [dbo].[ut_BlobIds] WHERE RecId = @BlobId)
    SET @m_CountDown = 0
  WHILE @m_CountDown > 0 BEGIN
    BEGIN TRY
      SET @NeueId = isnull((SELECT MAX(RecId) FROM [dbo].[ut_Blobs]), 0) + 1
      INSERT INTO [dbo].[ut_Blobs] (RecId, BlobId, PartNo, BlobData)
        VALUES (@NeueId, @BlobId,
                isnull((SELECT MAX(PartNo) FROM [dbo].[ut_Blobs] WHERE BlobId = @BlobId), 0) + 1,
                NULL)
    END TRY
    BEGIN CATCH
      SET @NeueId = 0
    END CATCH

    IF @NeueId <> 0
      SET @m_CountDown = 0
    ELSE
      SET @m_CountDown = @m_CountDown - 1

    IF @m_CountDown > 0
      WAITFOR DELAY '00:00:00.050'
  END
  SELECT @NeueId AS RecId
GO
------------------------------------------------------------
-- One row: the number of the blob's parts, -1 when there is no such blob.
-- A write counts first: the update holds the blob against other writers
-- until the write's transaction ends, so that two writers never mix parts.
IF OBJECT_ID (N'dbo.up_CountBlobParts', N'P') IS NOT NULL
  DROP PROCEDURE [dbo].[up_CountBlobParts]
GO
CREATE PROCEDURE [dbo].[up_CountBlobParts]
  @BlobId integer
AS
  SET NOCOUNT ON
  UPDATE [dbo].[ut_BlobIds] SET RecId = RecId WHERE RecId = @BlobId
  IF @@ROWCOUNT = 0
    SELECT -1 AS Parts
  ELSE
    SELECT COUNT(*) AS Parts FROM [dbo].[ut_Blobs] WHERE BlobId = @BlobId
GO
------------------------------------------------------------
IF OBJECT_ID (N'dbo.up_ListBlobParts', N'P') IS NOT NULL
  DROP PROCEDURE [dbo].[up_ListBlobParts]
GO
CREATE PROCEDURE [dbo].[up_ListBlobParts]
  @BlobId integer
AS
  SELECT RecId FROM [dbo].[ut_Blobs] WHERE BlobId = @BlobId ORDER BY PartNo
GO
------------------------------------------------------------
-- One row per part in order: its exact length in bytes (0 when empty), its data.
IF OBJECT_ID (N'dbo.up_Sel_Blobs', N'P') IS NOT NULL
  DROP PROCEDURE [dbo].[up_Sel_Blobs]
GO
CREATE PROCEDURE [dbo].[up_Sel_Blobs]
  @BlobId integer
AS
  SELECT isnull(DATALENGTH(BlobData), 0) AS Laenge, BlobData
    FROM [dbo].[ut_Blobs] WHERE BlobId = @BlobId ORDER BY PartNo
GO
------------------------------------------------------------
IF OBJECT_ID (N'dbo.up_SizeOf_Blobs', N'P') IS NOT NULL
  DROP PROCEDURE [dbo].[up_SizeOf_Blobs]
GO
CREATE PROCEDURE [dbo].[up_SizeOf_Blobs]
  @BlobId integer
AS
  SELECT isnull(SUM(DATALENGTH(BlobData)), 0) AS Groesse FROM [dbo].[ut_Blobs] WHERE BlobId = @BlobId
GO
------------------------------------------------------------
IF OBJECT_ID (N'dbo.up_Del_Blobs', N'P') IS NOT NULL
  DROP PROCEDURE [dbo].[up_Del_Blobs]
GO
CREATE PROCEDURE [dbo].[up_Del_Blobs]
  @BlobId integer
AS
  SET NOCOUNT ON
  BEGIN TRANSACTION
  DELETE FROM [dbo].[ut_Blobs] WHERE BlobId = @BlobId
  DELETE FROM [dbo].[ut_BlobIds] WHERE RecId = @BlobId
  COMMIT TRANSACTION
GO
