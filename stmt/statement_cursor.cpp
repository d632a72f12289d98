#include "stmt/statement_cursor.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#include "frame/lifecycle.h"
#include "frame/odbc_trace.h"
#include "records/read_record.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

std::atomic<uint32_t> sql_results{0};
std::atomic<uint32_t> saved_results{0};

std::mutex live_mutex;
std::unordered_set<void*> live_cursors;

// Copies at most size - 1 characters of text, zero-filling the rest.
void CopyText(char* dest, size_t size, const char* text) {
  const size_t length = strnlen(text, size - 1);
  std::memcpy(dest, text, length);
  std::memset(dest + length, 0, size - length);
}

}  // namespace

StatementCursor::~StatementCursor() {
  if (stmt != SQL_NULL_HSTMT) ODBC_CALL(SQLFreeStmt, stmt, SQL_DROP);
  if (owns_connection && dbc != SQL_NULL_HDBC) rv_OdbcDisconnect(dbc);
  // The spill file goes with its member; the result's key filters (from a
  // definition file) with the definition.
  ClearTableDef(&result);
}

int32_t StatementCursor::native() const {
  int32_t value = 0;
  std::memcpy(&value, message_record, sizeof value);
  return value;
}

void StatementCursor::SetMessage(int32_t native_code, const char* state_text, const char* message_text) {
  std::memcpy(message_record, &native_code, sizeof native_code);
  CopyText(message_record + kStateOffset, kStateSize, state_text);
  SetMessageText(message_text);
}

void StatementCursor::SetMessageText(const char* message_text) {
  CopyText(message_record + kMessageOffset, kMessageSize, message_text);
}

void StatementCursor::ReadDiagnostic() {
  SQLCHAR state_text[SQL_SQLSTATE_SIZE + 1] = {};
  SQLCHAR message_text[kMessageSize] = {};
  SQLINTEGER native_code = 0;
  SQLSMALLINT length = 0;
  const SQLRETURN rc = ODBC_CALL(SQLError, EnvHandle(), dbc, stmt, state_text, &native_code, message_text,
                                 kMessageSize, &length);
  if (SQL_SUCCEEDED(rc)) {
    SetMessage(native_code, reinterpret_cast<const char*>(state_text), reinterpret_cast<const char*>(message_text));
  } else {
    SetMessage(0, "", "");
  }
  diagnostics = true;
}

CursorPtr NewCursor(SQLHDBC dbc) {
  CursorPtr cursor(new (std::nothrow) StatementCursor);
  if (cursor) cursor->dbc = dbc;
  return cursor;
}

void* HandOut(CursorPtr cursor) {
  std::lock_guard<std::mutex> lock(live_mutex);
  live_cursors.insert(cursor.get());
  return cursor.release();
}

StatementCursor* LiveCursor(void* handle) {
  std::lock_guard<std::mutex> lock(live_mutex);
  return live_cursors.count(handle) != 0 ? static_cast<StatementCursor*>(handle) : nullptr;
}

StatementCursor* TakeLiveCursor(void* handle) {
  std::lock_guard<std::mutex> lock(live_mutex);
  return live_cursors.erase(handle) != 0 ? static_cast<StatementCursor*>(handle) : nullptr;
}

void NameResult(StatementCursor* cursor, bool saved) {
  const uint32_t n = (saved ? saved_results : sql_results).fetch_add(1);
  char name[sizeof cursor->result.TableName + 8];
  std::snprintf(name, sizeof name, saved ? "SQLTMP_%08X" : "SQL_%08X", static_cast<unsigned>(n));
  CopyName(cursor->result.TableName, name);
}

bool DecodeRow(const StatementCursor* cursor, char* record) {
  return DecodeColumns(cursor->stmt, &cursor->result, record);
}

bool SpillResult(StatementCursor* cursor) {
  auto spill = std::make_unique<SpillFile>(static_cast<uint32_t>(cursor->record_size));
  if (!spill->ok()) return false;
  std::vector<char> row(static_cast<size_t>(cursor->record_size));
  for (;;) {
    const SQLRETURN rc = ODBC_CALL(SQLFetch, cursor->stmt);
    if (rc == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(rc)) return false;
    std::fill(row.begin(), row.end(), '\0');
    if (!DecodeRow(cursor, row.data())) return false;
    if (!spill->Append(row.data())) return false;
  }
  cursor->spill = std::move(spill);
  return true;
}

}  // namespace lerv32
