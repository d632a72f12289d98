// Fetching from a statement cursor, by its mode: the message record, a
// record of the spill file, or a row of the driver's cursor.
#include <cstring>
#include <vector>

#include "frame/export_guard.h"
#include "frame/odbc_trace.h"
#include "stmt/statement_cursor.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

// The library's own codes: the state text is the code in hexadecimal.
constexpr int32_t kForwardOnlyCode = 0xC1C00;

int32_t FetchMessage(StatementCursor* cursor, char* buffer, int32_t code) {
  if (code != kGetSame && code != kGetLast && code != kGetFirst && code != 1) return 0;
  if (buffer != nullptr && buffer != cursor->message_record) {
    std::memcpy(buffer, cursor->message_record, kMessageRecordSize);
  }
  return 1;
}

SQLUSMALLINT Orientation(int32_t code) {
  switch (code) {
    case kGetNext: return SQL_FETCH_NEXT;
    case kGetPrior: return SQL_FETCH_PRIOR;
    case kGetLast: return SQL_FETCH_LAST;
    case kGetFirst: return SQL_FETCH_FIRST;
    default: return SQL_FETCH_BOOKMARK;
  }
}

SQLRETURN ExtendedFetch(StatementCursor* cursor, SQLUSMALLINT orientation, SQLLEN row) {
  SQLULEN rows = 0;
  SQLUSMALLINT status[1] = {};
  return ODBC_CALL(SQLExtendedFetch, cursor->stmt, orientation, row, &rows, status);
}

// Where a step that found no row leaves the cursor: out at the end it
// stepped over (an empty result has only the place before its first row).
Place PlaceAfterFailedStep(int32_t code) { return code == kGetNext ? Place::kAfterLast : Place::kBeforeFirst; }

// A jump to a bookmark that finds no row does not move, as a jump to a
// record number of the spill file does not: drivers move their cursor
// anyway, so it is put back where it was.
void PutBack(StatementCursor* cursor) {
  switch (cursor->place) {
    case Place::kOnRow:
      ExtendedFetch(cursor, SQL_FETCH_BOOKMARK, cursor->position);
      break;
    case Place::kBeforeFirst:
      if (SQL_SUCCEEDED(ExtendedFetch(cursor, SQL_FETCH_FIRST, 0))) ExtendedFetch(cursor, SQL_FETCH_PRIOR, 0);
      break;
    case Place::kAfterLast:
      if (SQL_SUCCEEDED(ExtendedFetch(cursor, SQL_FETCH_LAST, 0))) ExtendedFetch(cursor, SQL_FETCH_NEXT, 0);
      break;
  }
}

// Moves the driver's cursor; false (with the diagnostic kept, or cleared
// at the end of the result) when no row is there.
bool MoveOdbcCursor(StatementCursor* cursor, int32_t code) {
  const SQLUSMALLINT orientation = Orientation(code);
  if (orientation == SQL_FETCH_BOOKMARK && !cursor->bookmarks) {
    cursor->SetMessageText("kein Bookmark fuer diesen Anweisungshandle");
    return false;
  }
  const SQLRETURN rc = ExtendedFetch(cursor, orientation, orientation == SQL_FETCH_BOOKMARK ? code : 0);
  if (rc == SQL_SUCCESS) return true;
  // At the end there is no diagnostic to keep.
  if (rc != SQL_NO_DATA) cursor->ReadDiagnostic();
  if (rc == SQL_SUCCESS_WITH_INFO) return true;
  if (orientation == SQL_FETCH_BOOKMARK) {
    PutBack(cursor);
  } else {
    cursor->place = PlaceAfterFailedStep(code);
  }
  return false;
}

// The bookmark of the row the cursor is on, when the cursor has bookmarks;
// false when it cannot be read.
bool ReadBookmark(StatementCursor* cursor, SQLUINTEGER* bookmark) {
  if (!cursor->bookmarks) return true;
  SQLLEN indicator = 0;
  return SQL_SUCCEEDED(ODBC_CALL(SQLGetData, cursor->stmt, 0, SQL_C_ULONG, bookmark, sizeof *bookmark, &indicator));
}

int32_t FetchOdbc(StatementCursor* cursor, char* buffer, int32_t code) {
  if (cursor->forward_only) {
    if (cursor->first_fetch_pending) code = kGetNext;
    if (code != kGetNext && code != kGetSame) {
      cursor->SetMessage(kForwardOnlyCode, "C1C00", "DB_GETNEXT or DB_GETSAME expected only");
      cursor->diagnostics = true;
      return 0;
    }
  }
  cursor->first_fetch_pending = false;
  if (code == kGetSame) {
    if (cursor->place != Place::kOnRow) return 0;
    if (buffer != nullptr) std::memcpy(buffer, cursor->current_row.data(), cursor->current_row.size());
    return 1;
  }
  if (!MoveOdbcCursor(cursor, code)) return 0;
  // Decoded into a copy of what the caller's buffer holds (fields without a
  // decoding keep its bytes), so that a row whose bookmark or values cannot
  // be read all (the connection lost) leaves the buffer, the kept row and
  // the position as they were.
  SQLUINTEGER bookmark = 0;
  std::vector<char> row = buffer != nullptr ? std::vector<char>(buffer, buffer + cursor->current_row.size())
                                            : cursor->current_row;
  if (!ReadBookmark(cursor, &bookmark) || !DecodeRow(cursor, row.data())) {
    cursor->ReadDiagnostic();
    cursor->place = PlaceAfterFailedStep(code);
    return 0;
  }
  if (cursor->bookmarks) cursor->position = static_cast<int32_t>(bookmark);
  if (buffer != nullptr) std::memcpy(buffer, row.data(), row.size());
  cursor->current_row = std::move(row);
  cursor->place = Place::kOnRow;
  return 1;
}

}  // namespace

int32_t FetchRow(StatementCursor* cursor, char* buffer, int32_t code) {
  if (cursor->is_message_cursor()) return FetchMessage(cursor, buffer, code);
  // What an earlier call reported does not belong to this one.
  cursor->diagnostics = false;
  cursor->SetMessage(0, "", "");
  if (buffer == nullptr && !cursor->record_buffer.empty()) buffer = cursor->record_buffer.data();
  if (cursor->spill) return cursor->spill->Fetch(code, buffer) ? 1 : 0;
  return FetchOdbc(cursor, buffer, code);
}

}  // namespace lerv32

extern "C" int32_t LERV32_CALL rv_StmtFetch(void* handle, char* buffer, int32_t code) {
  return lerv32::Guarded<int32_t>(0, [&] {
    lerv32::StatementCursor* cursor = lerv32::LiveCursor(handle);
    // The description is the host's to read (rv_StmtGetStructure); one it
    // spoiled would lead the decoding outside the record.
    if (cursor == nullptr || !lerv32::ValidTableDef(&cursor->result)) return 0;
    return lerv32::FetchRow(cursor, buffer, code);
  });
}
