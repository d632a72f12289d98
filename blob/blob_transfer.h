// Blobs stored in parts: rows of ut_Blobs of at most 16 MiB each, moved in
// pieces of 512 bytes between the server and a source or sink of the caller's.
#ifndef LERV32_BLOB_BLOB_TRANSFER_H
#define LERV32_BLOB_BLOB_TRANSFER_H

#include <cstdint>
#include <optional>

#include "platform/win_api.h"  // before sql.h, which needs the Windows types
#include "frame/connection_work.h"
#include "frame/unit_transaction.h"

#include <sql.h>

namespace lerv32 {

// The results of the blob calls; BlobResultText gives their texts.
enum BlobResult : int32_t {
  kBlobOk = 0,
  kBlobCannotOpenSource = 1,
  kBlobCannotPrepare = 2,
  kBlobCannotExecute = 3,
  kBlobUnexpectedResult = 4,
  kBlobNoData = 5,
  kBlobCannotCreateTarget = 6,
  kBlobUnexpectedEnd = 7,
  kBlobUnexpectedFetch = 8,
  kBlobNoMemory = 9,
};

// "no error", "XFILE::open(...,FALSE)", ... for 0 to 9; null for other codes.
const char* BlobResultText(int32_t code);

constexpr int32_t kBlobPieceSize = 512;
constexpr int64_t kBlobPartCapacity = 16 * 1024 * 1024;

// Where written data come from: up to n bytes from position into piece, the
// count given (0 at the end, negative on failure).
class BlobSource {
 public:
  virtual ~BlobSource() = default;
  virtual int32_t Read(int64_t position, unsigned char* piece, int32_t n) = 0;
};

// Where read data go: all n bytes to position, or false.
class BlobSink {
 public:
  virtual ~BlobSink() = default;
  virtual bool Write(int64_t position, const unsigned char* piece, int32_t n) = 0;
};

// Replaces the data of blob blob_id by size bytes of source: the blob's parts
// are reused in order, parts added as needed, surplus parts emptied. The
// caller runs it inside a transaction (BlobWriteTransaction): a failure
// leaves parts half replaced until it rolls back.
int32_t WriteBlob(SQLHDBC dbc, int32_t blob_id, BlobSource& source, int64_t size);

// Reads blob blob_id part by part into sink; *delivered (may be null) gets
// the bytes the sink took. kBlobNoData when the blob has no part.
int32_t ReadBlob(SQLHDBC dbc, int32_t blob_id, BlobSink& sink, int64_t* delivered);

// The blob's size in bytes, 0 when the server gives none, -1 on failure.
int32_t SizeOfBlob(SQLHDBC dbc, int32_t blob_id);

// A new, empty blob from up_Add_Blobs: kBlobOk and its id, or the failure.
int32_t AddBlob(SQLHDBC dbc, int32_t* blob_id);

// Removes the blob: SQL_SUCCESS, or the failing call's return code.
SQLRETURN DeleteBlob(SQLHDBC dbc, int32_t blob_id);

// Makes a write all or nothing. On a connection in autocommit mode it runs
// as a unit of its own (inside a transaction the caller began with SQL, under
// a save point, which a failure rolls back to, leaving the caller's work and
// transaction as they were). Finish commits a success and takes back
// anything else (so does its end without Finish). A connection in
// manual-commit mode is in its caller's transaction, which the caller ends.
class BlobWriteTransaction {
 public:
  explicit BlobWriteTransaction(SQLHDBC dbc);
  ~BlobWriteTransaction();
  BlobWriteTransaction(const BlobWriteTransaction&) = delete;
  BlobWriteTransaction& operator=(const BlobWriteTransaction&) = delete;

  // False when the unit could not begin (reported): nothing may be written.
  bool ready() const { return !unit_ || unit_->begun(); }

  // Ends the transaction after a write that gave result: the result, or
  // kBlobCannotExecute when a success could not be committed or the unit
  // could not begin.
  int32_t Finish(int32_t result);

 private:
  // Another thread's statements on the connection would fall into this
  // transaction and be rolled back or committed with the blob.
  ConnectionWork work_;
  std::optional<UnitTransaction> unit_;
  bool finished_ = false;
};

}  // namespace lerv32

#endif  // LERV32_BLOB_BLOB_TRANSFER_H
