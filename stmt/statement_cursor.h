// Statement cursors: the result of a query walked row by row into record
// buffers laid out by a TableDef that describes the result. A cursor is in
// one of three modes, fixed when it opens: a message cursor (the statement
// gave no columns; its one row is code, state and message), spill mode (the
// rows were copied into a spill file and are fetched from there) or ODBC
// mode (each fetch moves the driver's cursor).
#ifndef LERV32_STMT_STATEMENT_CURSOR_H
#define LERV32_STMT_STATEMENT_CURSOR_H

#include <cstdint>
#include <memory>
#include <vector>

#include "include/lerv32.h"
#include "platform/win_api.h"
#include "stmt/spill_file.h"

#include <sql.h>

namespace lerv32 {

// The message record as callers receive it: native code (4 bytes, little
// endian), state (10 bytes) and message (128 bytes), each text
// zero-terminated.
constexpr int kMessageRecordSize = 142;
constexpr int kStateOffset = 4;
constexpr int kStateSize = 10;
constexpr int kMessageOffset = 14;
constexpr int kMessageSize = 128;

// Open flags.
constexpr int32_t kOpenBookmarks = 1;
constexpr int32_t kOpenRecordBuffer = 2;
constexpr int32_t kOpenOwnsConnection = 4;
constexpr int32_t kOpenSpill = 8;

enum class Place { kBeforeFirst, kOnRow, kAfterLast };

struct StatementCursor {
  SQLHDBC dbc = SQL_NULL_HDBC;
  SQLHSTMT stmt = SQL_NULL_HSTMT;  // null once a saved result let go of it
  std::vector<char> record_buffer;  // the internal buffer; empty when none
  int32_t position = 0;             // bookmark of the driver's current row
  bool bookmarks = false;
  bool diagnostics = false;         // the message record holds the last operation's diagnostic
  bool forward_only = false;
  bool first_fetch_pending = true;
  bool owns_connection = false;
  int32_t record_size = 0;          // 0: a message cursor
  std::unique_ptr<SpillFile> spill;
  // The row an ODBC-mode fetch read last, for DB_GETSAME: drivers answer a
  // second SQLGetData of a column with no data.
  std::vector<char> current_row;
  Place place = Place::kBeforeFirst;  // of the driver's cursor
  char message_record[kMessageRecordSize] = {};
  TableDef result{};                // describes the result; its name names it

  ~StatementCursor();

  int32_t native() const;
  const char* state() const { return message_record + kStateOffset; }
  const char* message() const { return message_record + kMessageOffset; }
  void SetMessage(int32_t native, const char* state, const char* message);
  void SetMessageText(const char* message);
  // Reads the first pending diagnostic of the statement into the message
  // record and marks it present.
  void ReadDiagnostic();
  bool is_message_cursor() const { return record_size <= 0; }
};

using CursorPtr = std::unique_ptr<StatementCursor>;

// A new cursor on dbc, or null when memory is exhausted.
CursorPtr NewCursor(SQLHDBC dbc);

// The cursors handed to callers and not yet closed. A handle is used only
// while it is one of them, so that a null, made-up or closed handle fails
// instead of touching memory that is no cursor.
// Hands the cursor to the caller as a live one (throws when memory is out).
void* HandOut(CursorPtr cursor);
// The live cursor of handle, or null.
StatementCursor* LiveCursor(void* handle);
// Takes handle out of the live cursors: its cursor, for the caller to free,
// or null when it was none.
StatementCursor* TakeLiveCursor(void* handle);

// Names the result "SQL_%08X", or for a saved result "SQLTMP_%08X", with
// the next value of that kind's counter.
void NameResult(StatementCursor* cursor, bool saved);

// Adds one field per result column of the cursor's statement (at most 128;
// later columns are not part of the result) and sets the record size.
// wide_as_char maps SQL_WVARCHAR as SQL_VARCHAR. False when a column
// cannot be described.
bool DescribeResult(StatementCursor* cursor, SQLSMALLINT columns, bool wide_as_char);

// Copies the rest of the cursor's result into a new spill file. False when
// no file could be made or a row could not be fetched or written: the
// result would be incomplete.
bool SpillResult(StatementCursor* cursor);

// Decodes the current row of the cursor's statement into record; false when
// a value could not be read (the record then holds part of the row).
bool DecodeRow(const StatementCursor* cursor, char* record);

// Fetches by code into buffer (null: the internal buffer, if any): 1 or 0.
int32_t FetchRow(StatementCursor* cursor, char* buffer, int32_t code);

}  // namespace lerv32

#endif  // LERV32_STMT_STATEMENT_CURSOR_H
