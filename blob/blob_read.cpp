// Reading a blob part by part in pieces, and the one-row blob procedures.
#include "platform/win_api.h"

#include <sqlext.h>

#include "blob/blob_statement.h"
#include "blob/blob_transfer.h"

namespace lerv32 {
namespace {

constexpr const char* kSelect = "EXECUTE [dbo].[up_Sel_Blobs] ?";
constexpr const char* kSizeOf = "EXECUTE [dbo].[up_SizeOf_Blobs] ?";
constexpr const char* kAddBlob = "EXECUTE [dbo].[up_Add_Blobs]";
constexpr const char* kDelete = "EXECUTE [dbo].[up_Del_Blobs] ?";

// Bytes one SQLGetData call left in the piece buffer: all of it while more
// follows, else what the indicator says remained. -1 when the call failed or
// the indicator is impossible.
int32_t PieceBytes(SQLRETURN rc, SQLLEN indicator) {
  if (rc == SQL_SUCCESS_WITH_INFO && (indicator == SQL_NO_TOTAL || indicator > kBlobPieceSize)) {
    return kBlobPieceSize;
  }
  if (!SQL_SUCCEEDED(rc) || indicator < 0 || indicator > kBlobPieceSize) return -1;
  return static_cast<int32_t>(indicator);
}

// Passes the data of the current row's part to the sink. The bytes that
// arrived, counted from what the driver delivered (never from the length
// column); -1 when reading failed or the sink refused a piece.
int64_t ReadPart(SQLHSTMT stmt, int64_t length, BlobSink& sink, int64_t* position) {
  unsigned char piece[kBlobPieceSize];
  int64_t arrived = 0;
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc = ODBC_CALL(SQLGetData, stmt, 2, SQL_C_BINARY, piece, sizeof piece, &indicator);
    if (rc == SQL_NO_DATA) return arrived;
    if (SQL_SUCCEEDED(rc) && indicator == SQL_NULL_DATA) return arrived;
    const int32_t bytes = PieceBytes(rc, indicator);
    if (bytes < 0 || arrived + bytes > length) return -1;
    if (bytes > 0 && !sink.Write(*position, piece, bytes)) return -1;
    *position += bytes;
    arrived += bytes;
    if (rc == SQL_SUCCESS) return arrived;
  }
}

}  // namespace

int32_t ReadBlob(SQLHDBC dbc, int32_t blob_id, BlobSink& sink, int64_t* delivered) {
  int64_t position = 0;
  if (delivered != nullptr) *delivered = 0;
  BlobStatement stmt(dbc);
  const int32_t ran = stmt.Run(kSelect, blob_id);
  if (ran != kBlobOk) return ran;
  int32_t status = kBlobNoData;
  while (stmt.Fetch()) {
    int32_t length = 0;
    // A part that does not arrive whole ends the read: the first failure is
    // the result, whatever later parts would bring.
    // An empty part is read too: data beside a length of 0 are a failure.
    if (!stmt.ReadInteger(&length) || length < 0 || ReadPart(stmt.get(), length, sink, &position) != length) {
      status = kBlobUnexpectedEnd;
      break;
    }
    status = kBlobOk;
  }
  // A fetch that failed, rather than finding no more rows, cut the blob short.
  if (status != kBlobUnexpectedEnd && stmt.last() != SQL_NO_DATA) status = kBlobUnexpectedEnd;
  if (delivered != nullptr) *delivered = position;
  return status;
}

int32_t SizeOfBlob(SQLHDBC dbc, int32_t blob_id) {
  BlobStatement stmt(dbc);
  int32_t size = 0;
  if (stmt.Run(kSizeOf, blob_id) != kBlobOk || !stmt.Fetch() || !stmt.ReadInteger(&size)) return -1;
  return size;
}

int32_t AddBlob(SQLHDBC dbc, int32_t* blob_id) {
  *blob_id = 0;
  OdbcStatement stmt(dbc);
  if (!stmt.ok() ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLExecDirect, stmt.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(kAddBlob)),
                               SQL_NTS))) {
    return kBlobCannotExecute;
  }
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLFetch, stmt.get()))) return kBlobUnexpectedFetch;
  SQLINTEGER id = 0;
  SQLLEN indicator = 0;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLGetData, stmt.get(), 1, SQL_C_SLONG, &id, sizeof id, &indicator)) ||
      indicator == SQL_NULL_DATA || id <= 0) {
    // A server that gave no id made no blob to write into.
    return kBlobUnexpectedFetch;
  }
  *blob_id = id;
  return kBlobOk;
}

SQLRETURN DeleteBlob(SQLHDBC dbc, int32_t blob_id) {
  BlobStatement stmt(dbc);
  if (!stmt.get()) return SQL_INVALID_HANDLE;
  if (stmt.Run(kDelete, blob_id) != kBlobOk) return stmt.last();
  // Rows and messages of the procedure are read to the end, so that a
  // failure after its first statement is not missed.
  SQLRETURN rc = SQL_SUCCESS;
  while ((rc = ODBC_CALL(SQLMoreResults, stmt.get())) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) {
  }
  return rc == SQL_NO_DATA ? SQL_SUCCESS : rc;
}

const char* BlobResultText(int32_t code) {
  static constexpr const char* kTexts[] = {
      "no error",           "XFILE::open(...,FALSE)", "SQLPrepare( )",
      "SQLExecute( )",      "unexpected resultcode",  "no blobdata available",
      "XFILE::creat(...)",  "unexpected end of data", "unexpected fetch status",
      "GlobalAlloc( ) / GlobalLock( )",
  };
  return code >= 0 && code <= 9 ? kTexts[code] : nullptr;
}

}  // namespace lerv32
