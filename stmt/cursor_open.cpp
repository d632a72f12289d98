// Opening statement cursors: a whole table read through its definition, an
// SQL text, or the result of a statement the caller executed.
#include <cstring>
#include <string>
#include <utility>

#include "frame/export_guard.h"
#include "frame/odbc_handles.h"
#include "frame/odbc_trace.h"
#include "records/sql_names.h"
#include "stmt/statement_cursor.h"
#include "stmt/table_def_address.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

// A failed open gives null and leaves nothing behind; a connection given
// to the cursor goes with it.
void* Failed(SQLHDBC dbc, int32_t flags) {
  if ((flags & kOpenOwnsConnection) != 0 && dbc != SQL_NULL_HDBC) rv_OdbcDisconnect(dbc);
  return nullptr;
}

// "SELECT [f1],[f2],... FROM [table]", then a blank and the clause.
std::string SelectOfTable(const TableDef* td, const char* clause) {
  std::string sql = "SELECT ";
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    if (i > 0) sql += ',';
    sql += QuotedFieldName(td, i);
  }
  sql += " FROM " + QuotedBaseName(td);
  if (clause != nullptr) sql += std::string(" ") + clause;
  return sql;
}

// The definition of the table spec into the cursor's result description.
bool LoadResultDef(StatementCursor* cursor, const char* spec) {
  if (spec[0] != '=') return rv_LoadTableDef(&cursor->result, spec) != 0;
  return CopyTableDefAt(spec + 1, &cursor->result);
}

// Allocates, sets the options, prepares and executes: what the execution
// returned, SQL_ERROR when a step before it failed.
SQLRETURN Execute(StatementCursor* cursor, const std::string& sql, int32_t flags) {
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLAllocStmt, cursor->dbc, &cursor->stmt))) {
    cursor->stmt = SQL_NULL_HSTMT;
    return SQL_ERROR;
  }
  SQLHSTMT h = cursor->stmt;
  // Options the driver cannot take are changed by it; the cursor type it
  // gave is read after execution.
  ODBC_CALL(SQLSetStmtOption, h, SQL_BIND_TYPE, SQL_BIND_BY_COLUMN);
  ODBC_CALL(SQLSetStmtOption, h, SQL_CONCURRENCY, SQL_CONCUR_ROWVER);
  if ((flags & kOpenBookmarks) != 0) {
    ODBC_CALL(SQLSetStmtOption, h, SQL_CURSOR_TYPE, SQL_CURSOR_KEYSET_DRIVEN);
    ODBC_CALL(SQLSetStmtOption, h, SQL_USE_BOOKMARKS, SQL_UB_ON);
  } else {
    ODBC_CALL(SQLSetStmtOption, h, SQL_USE_BOOKMARKS, SQL_UB_OFF);
    ODBC_CALL(SQLSetStmtOption, h, SQL_CURSOR_TYPE, SQL_CURSOR_DYNAMIC);
  }
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLPrepare, h, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS))) {
    return SQL_ERROR;
  }
  return ODBC_CALL(SQLExecute, h);
}

// Keyset-driven and dynamic cursors scroll, with bookmarks when the driver
// kept them on; every other type is fetched forward only.
void CheckCursorType(StatementCursor* cursor) {
  SQLULEN type = SQL_CURSOR_FORWARD_ONLY;
  ODBC_CALL(SQLGetStmtOption, cursor->stmt, SQL_CURSOR_TYPE, &type);
  if (type == SQL_CURSOR_KEYSET_DRIVEN || type == SQL_CURSOR_DYNAMIC) {
    SQLULEN use = SQL_UB_OFF;
    ODBC_CALL(SQLGetStmtOption, cursor->stmt, SQL_USE_BOOKMARKS, &use);
    if (use != SQL_UB_ON) cursor->bookmarks = false;
  } else {
    cursor->forward_only = true;
    cursor->bookmarks = false;
  }
}

// Buffers of a described result and, for a forward-only cursor that asked
// for it, its spill: false when the spill failed.
bool Finish(StatementCursor* cursor, int32_t flags) {
  cursor->current_row.assign(static_cast<size_t>(cursor->record_size), '\0');
  if ((flags & kOpenRecordBuffer) != 0) cursor->record_buffer.assign(static_cast<size_t>(cursor->record_size), '\0');
  return !(cursor->forward_only && (flags & kOpenSpill) != 0) || SpillResult(cursor);
}

void MarkSucceeded(StatementCursor* cursor) { cursor->SetMessage(0, "COK32", "SQLExecute() == SQL_SUCCESS"); }

void* OpenTable(SQLHDBC dbc, const char* spec, const char* clause, int32_t flags) {
  CursorPtr cursor = NewCursor(dbc);
  if (!cursor) return Failed(dbc, flags);
  cursor->owns_connection = (flags & kOpenOwnsConnection) != 0;
  if (spec == nullptr || !LoadResultDef(cursor.get(), spec)) return nullptr;
  cursor->bookmarks = (flags & kOpenBookmarks) != 0;
  if (!SQL_SUCCEEDED(Execute(cursor.get(), SelectOfTable(&cursor->result, clause), flags))) return nullptr;
  SQLSMALLINT columns = 0;
  ODBC_CALL(SQLNumResultCols, cursor->stmt, &columns);
  if (columns != cursor->result.FieldCnt) return nullptr;
  CheckCursorType(cursor.get());
  cursor->record_size = RecordSize(&cursor->result);
  if (!Finish(cursor.get(), flags)) return nullptr;
  return HandOut(std::move(cursor));
}

void* OpenSql(SQLHDBC dbc, const char* sql, const char* extra, int32_t flags) {
  CursorPtr cursor = NewCursor(dbc);
  if (!cursor) return Failed(dbc, flags);
  cursor->owns_connection = (flags & kOpenOwnsConnection) != 0;
  cursor->bookmarks = (flags & kOpenBookmarks) != 0;
  NameResult(cursor.get(), false);
  if (sql == nullptr) return nullptr;
  std::string text = sql;
  if (extra != nullptr) text += std::string(" ") + extra;
  const SQLRETURN executed = Execute(cursor.get(), text, flags);
  if (!SQL_SUCCEEDED(executed)) return nullptr;
  if (executed == SQL_SUCCESS_WITH_INFO) cursor->ReadDiagnostic();
  SQLSMALLINT columns = 0;
  ODBC_CALL(SQLNumResultCols, cursor->stmt, &columns);
  if (columns <= 0) {
    if (!cursor->diagnostics) MarkSucceeded(cursor.get());
    return HandOut(std::move(cursor));
  }
  CheckCursorType(cursor.get());
  if (!DescribeResult(cursor.get(), columns, false) || !Finish(cursor.get(), flags)) return nullptr;
  return HandOut(std::move(cursor));
}

// The rows of a caller's statement are copied one per fetch, whatever
// rowset size the caller set; the caller's size is put back afterwards.
class OneRowPerFetch {
 public:
  explicit OneRowPerFetch(SQLHSTMT stmt) : stmt_(stmt) {
    if (SQL_SUCCEEDED(ODBC_CALL(SQLGetStmtAttr, stmt, SQL_ATTR_ROW_ARRAY_SIZE, &size_, 0, nullptr)) && size_ != 1) {
      ODBC_CALL(SQLSetStmtAttr, stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(SQLULEN{1}), 0);
    }
  }
  ~OneRowPerFetch() {
    if (size_ != 1) ODBC_CALL(SQLSetStmtAttr, stmt_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(size_), 0);
  }
  OneRowPerFetch(const OneRowPerFetch&) = delete;
  OneRowPerFetch& operator=(const OneRowPerFetch&) = delete;

 private:
  SQLHSTMT stmt_;
  SQLULEN size_ = 1;
};

// The caller's handles stay the caller's on every path: the cursor lets go
// of them before it is returned or freed.
void* SaveResult(SQLHDBC dbc, SQLHSTMT stmt) {
  CursorPtr cursor = NewCursor(dbc);
  if (!cursor) return nullptr;
  struct LetGo {
    StatementCursor* cursor;
    ~LetGo() {
      cursor->stmt = SQL_NULL_HSTMT;
      cursor->dbc = SQL_NULL_HDBC;
    }
  } let_go{cursor.get()};
  cursor->stmt = stmt;
  cursor->forward_only = true;
  NameResult(cursor.get(), true);
  SQLSMALLINT columns = 0;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLNumResultCols, stmt, &columns))) return nullptr;  // never prepared
  if (columns <= 0) {
    // A statement only prepared, or whose execution failed, has no rows
    // affected to tell.
    SQLLEN rows = 0;
    if (!SQL_SUCCEEDED(ODBC_CALL(SQLRowCount, stmt, &rows))) return nullptr;
    MarkSucceeded(cursor.get());
    return HandOut(std::move(cursor));
  }
  if (!DescribeResult(cursor.get(), columns, true)) return nullptr;
  cursor->record_buffer.assign(static_cast<size_t>(cursor->record_size), '\0');
  OneRowPerFetch one_row(stmt);
  if (!SpillResult(cursor.get())) return nullptr;
  return HandOut(std::move(cursor));
}

}  // namespace
}  // namespace lerv32

using lerv32::Guarded;
using lerv32::GuardedOn;

extern "C" {

void* LERV32_CALL rv_StmtOpen(LERV32_HDBC connection, const char* table, const char* clause, int32_t flags) {
  return GuardedOn<void*>(connection, nullptr, [&] {
    if (!lerv32::PlausibleHandle(connection)) return static_cast<void*>(nullptr);
    return lerv32::OpenTable(static_cast<SQLHDBC>(connection), table, clause, flags);
  });
}

void* LERV32_CALL rv_StmtOpenSQL(LERV32_HDBC connection, const char* sql, const char* extra, int32_t flags) {
  return GuardedOn<void*>(connection, nullptr, [&] {
    if (!lerv32::PlausibleHandle(connection)) return static_cast<void*>(nullptr);
    return lerv32::OpenSql(static_cast<SQLHDBC>(connection), sql, extra, flags);
  });
}

void* LERV32_CALL rv_StmtSaveResult(LERV32_HDBC connection, LERV32_HSTMT stmt) {
  return GuardedOn<void*>(connection, nullptr, [&] {
    if (!lerv32::PlausibleHandle(stmt) || !lerv32::KnownConnection(connection)) return static_cast<void*>(nullptr);
    return lerv32::SaveResult(static_cast<SQLHDBC>(connection), static_cast<SQLHSTMT>(stmt));
  });
}

}  // extern "C"
