// Writing a blob: its parts reused in order, parts added as needed, surplus
// parts emptied; each part's data sent in pieces as a data-at-execution
// parameter.
#include "platform/win_api.h"

#include <sqlext.h>

#include <algorithm>
#include <memory>

#include "blob/blob_statement.h"
#include "blob/blob_transfer.h"
#include "frame/message_boxes.h"
#include "include/lebase32.h"

namespace lerv32 {
namespace {

constexpr const char* kCountParts = "EXECUTE [dbo].[up_CountBlobParts] ?";
constexpr const char* kListParts = "EXECUTE [dbo].[up_ListBlobParts] ?";
constexpr const char* kAddPart = "EXECUTE [dbo].[up_Add_BlobPart] ?";
constexpr const char* kStorePart = "UPDATE [dbo].[ut_Blobs] SET [BlobData] = ? WHERE RecId = ?";
constexpr const char* kEmptyPart = "UPDATE [dbo].[ut_Blobs] SET [BlobData] = NULL WHERE RecId = ?";

struct FreeGlobalDeleter {
  void operator()(int32_t* list) const { FreeGlobal(list); }
};
using PartList = std::unique_ptr<int32_t[], FreeGlobalDeleter>;

// The value in column 1 of the one row a procedure returns for id.
int32_t QueryInteger(SQLHDBC dbc, const char* sql, int32_t id, int32_t* value) {
  BlobStatement stmt(dbc);
  const int32_t ran = stmt.Run(sql, id);
  if (ran != kBlobOk) return ran;
  if (!stmt.Fetch() || !stmt.ReadInteger(value)) return kBlobCannotExecute;
  return kBlobOk;
}

// The ids of the blob's parts in order. A failure fails the write: writing on
// without the list would append the new data after the old parts.
int32_t ListParts(SQLHDBC dbc, int32_t blob_id, PartList* parts, int32_t* count) {
  const int32_t counted = QueryInteger(dbc, kCountParts, blob_id, count);
  if (counted != kBlobOk) return counted;
  if (*count < 0) return kBlobNoData;  // the server knows no such blob
  if (*count < 1) return kBlobOk;
  // More parts than any list could hold (2^28 parts of 16 MiB) is a server
  // that does not count parts.
  if (*count > (1 << 28)) return kBlobNoMemory;
  parts->reset(static_cast<int32_t*>(AllocGlobal(static_cast<uint32_t>(*count) * sizeof(int32_t))));
  if (!*parts) return kBlobNoMemory;
  BlobStatement stmt(dbc);
  const int32_t ran = stmt.Run(kListParts, blob_id);
  if (ran != kBlobOk) return ran;
  // Rows missing since the count leave ids of 0, which the write refuses.
  for (int32_t i = 0; i < *count && stmt.Fetch(); ++i) {
    if (!stmt.ReadInteger(&(*parts)[i])) return kBlobCannotExecute;
  }
  return kBlobOk;
}

// A new part after the blob's last one; 0 when none could be added.
int32_t AddPart(SQLHDBC dbc, int32_t blob_id) {
  int32_t part_id = 0;
  return QueryInteger(dbc, kAddPart, blob_id, &part_id) == kBlobOk ? part_id : 0;
}

struct WritePosition {
  int64_t position = 0;
  int64_t remaining = 0;
};

// Sends the part's data piece by piece after SQLExecute asked for it.
int32_t PutPartData(SQLHSTMT stmt, BlobSource& source, WritePosition* at) {
  unsigned char piece[kBlobPieceSize];
  SQLPOINTER token = nullptr;
  SQLRETURN rc = ODBC_CALL(SQLParamData, stmt, &token);
  while (rc == SQL_NEED_DATA) {
    int64_t in_part = 0;
    while (in_part < kBlobPartCapacity && at->remaining > 0) {
      const auto n = static_cast<int32_t>(std::min<int64_t>({kBlobPieceSize, at->remaining,
                                                             kBlobPartCapacity - in_part}));
      // A source that ends before its size (or fails) fails the write: the
      // blob keeps its old data.
      const int32_t got = source.Read(at->position, piece, n);
      if (got <= 0 || got > n) return kBlobUnexpectedResult;
      at->position += got;
      at->remaining -= got;
      in_part += got;
      if (ODBC_CALL(SQLPutData, stmt, piece, got) != SQL_SUCCESS) {
        ShowMessageBox("Fehler bei SQLPutData", nullptr, MB_OK);
        return kBlobUnexpectedResult;
      }
    }
    rc = ODBC_CALL(SQLParamData, stmt, &token);
  }
  // The last call ran the UPDATE: its failure is the part's.
  return SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA ? kBlobOk : kBlobCannotExecute;
}

// Stores the next bytes of the source in part part_id, at most a part's
// capacity; with nothing left, empties the part.
int32_t WritePart(SQLHDBC dbc, int32_t part_id, BlobSource& source, WritePosition* at) {
  if (part_id < 1) return kBlobNoData;
  if (at->remaining <= 0) {
    BlobStatement empty(dbc);
    return empty.Run(kEmptyPart, part_id);
  }
  OdbcStatement stmt(dbc);
  if (!stmt.ok() ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLPrepare, stmt.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(kStorePart)),
                               SQL_NTS))) {
    return kBlobCannotPrepare;
  }
  SQLLEN at_execution = SQL_LEN_DATA_AT_EXEC(0);
  SQLINTEGER part = part_id;
  // The value pointer is a token that SQLParamData hands back; one parameter
  // needs no more than that it is not null.
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLBindParameter, stmt.get(), 1, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY,
                               0, 0, reinterpret_cast<SQLPOINTER>(1), 0, &at_execution)) ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLBindParameter, stmt.get(), 2, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0,
                               &part, 0, nullptr))) {
    return kBlobCannotPrepare;
  }
  const SQLRETURN executed = ODBC_CALL(SQLExecute, stmt.get());
  // A driver that runs the update without asking for the data stored none.
  if (SQL_SUCCEEDED(executed)) return kBlobUnexpectedResult;
  if (executed != SQL_NEED_DATA) return kBlobCannotExecute;
  const int32_t put = PutPartData(stmt.get(), source, at);
  // A statement still waiting for data can neither be freed nor let its
  // transaction end: the update is cancelled first.
  if (put != kBlobOk) ODBC_CALL(SQLCancel, stmt.get());
  return put;
}

}  // namespace

int32_t WriteBlob(SQLHDBC dbc, int32_t blob_id, BlobSource& source, int64_t size) {
  if (blob_id == 0) return kBlobUnexpectedResult;
  WritePosition at;
  at.remaining = size;
  PartList parts;
  int32_t count = 0;
  const int32_t listed = ListParts(dbc, blob_id, &parts, &count);
  if (listed != kBlobOk) return listed;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t written = WritePart(dbc, parts[i], source, &at);
    if (written != kBlobOk) return written;
  }
  while (at.remaining > 0) {
    const int32_t written = WritePart(dbc, AddPart(dbc, blob_id), source, &at);
    if (written != kBlobOk) return written;
  }
  return kBlobOk;
}

}  // namespace lerv32
