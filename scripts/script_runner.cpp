#include "scripts/script_runner.h"

#include <cstring>
#include <new>
#include <string>

#include "frame/export_guard.h"
#include "frame/lifecycle.h"
#include "frame/odbc_handles.h"
#include "frame/odbc_trace.h"
#include "include/lebase32.h"
#include "include/lerv32.h"
#include "platform/win_api.h"
#include "records/sql_names.h"
#include "tabledef/table_def.h"

#include <sql.h>

namespace lerv32 {

std::vector<std::string> SplitBatches(const char* script, bool* too_long) {
  std::vector<std::string> batches;
  *too_long = false;
  std::string batch;
  size_t column = 0;  // characters since the last line break
  const char* p = script;
  auto finish = [&] {
    if (!batch.empty()) batches.push_back(batch);
    batch.clear();
    column = 0;
  };
  while (*p != '\0') {
    if (*p == '\r' || *p == '\n') {
      batch += *p++;
      column = 0;
    } else if (column != 0) {
      batch += *p++;
      ++column;
    } else if (p[0] == '/' && p[1] == '*') {
      const char* end = std::strstr(p + 2, "*/");
      if (end == nullptr) break;  // the text ends inside the comment
      p = end + 2;
    } else if (p[0] == 'G' && p[1] == 'O' && p[2] == '\r' && p[3] == '\n') {
      p += 4;
      finish();
    } else {
      batch += *p++;
      ++column;
    }
    if (batch.size() >= kBatchBufferSize) {
      *too_long = true;
      return {};
    }
  }
  finish();
  return batches;
}

namespace {

// The messages of a failed batch, one after the other, while more than 20
// bytes of the caller's buffer remain.
void CollectErrors(SQLHDBC dbc, SQLHSTMT stmt, char* errors, int32_t length) {
  if (errors == nullptr) return;
  char* at = errors;
  int32_t left = length;
  while (left > 20) {
    SQLCHAR state[6] = {};
    SQLINTEGER native = 0;
    SQLSMALLINT written = 0;
    SQLSMALLINT room = static_cast<SQLSMALLINT>(left > 32767 ? 32767 : left);
    SQLRETURN rc = ODBC_CALL(SQLError, EnvHandle(), dbc, stmt, state, &native, reinterpret_cast<SQLCHAR*>(at), room,
                             &written);
    if (rc != SQL_SUCCESS) break;
    at[written] = '\0';
    at += written;
    left -= written;
  }
}

void SetError(char* errors, int32_t length, const char* text) {
  if (errors == nullptr || length <= 0) return;
  std::strncpy(errors, text, static_cast<size_t>(length) - 1);
  errors[length - 1] = '\0';
}

// Whether a batch ran: an UPDATE or DELETE that met no row gives SQL_NO_DATA
// to an ODBC 3 application, which is no failure.
bool Ran(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA; }

// Executes one batch and reads every result it gives: the error of a later
// statement of the batch arrives only with its result.
bool RunBatch(SQLHSTMT stmt, std::string& batch) {
  if (!Ran(ODBC_CALL(SQLExecDirect, stmt, reinterpret_cast<SQLCHAR*>(batch.data()), SQL_NTS))) return false;
  for (;;) {
    const SQLRETURN rc = ODBC_CALL(SQLMoreResults, stmt);
    if (rc == SQL_NO_DATA) return true;
    if (!Ran(rc)) return false;
  }
}

int32_t CallStatement(SQLHDBC dbc, const char* script, char* errors, int32_t length) {
  bool too_long = false;
  std::vector<std::string> batches = SplitBatches(script, &too_long);
  // A batch longer than the buffer is not cut into pieces the server would
  // run as something else: the script fails before anything of it runs.
  if (too_long) {
    SetError(errors, length, "batch too long");
    return 0;
  }
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLAllocStmt, dbc, &stmt))) {
    CollectErrors(dbc, SQL_NULL_HSTMT, errors, length > 20 ? length : 0);
    return 0;
  }
  int32_t result = 1;
  for (std::string& batch : batches) {
    if (!RunBatch(stmt, batch)) {
      if (length > 20) CollectErrors(dbc, stmt, errors, length);
      result = 0;
    }
    ODBC_CALL(SQLFreeStmt, stmt, SQL_CLOSE);
    if (result == 0) break;
  }
  ODBC_CALL(SQLFreeStmt, stmt, SQL_DROP);
  return result;
}

enum class ScriptRead { kRead, kFailed, kNoMemory };

// Appends the file's text up to its end or its first zero byte, after which
// nothing would run. Read to the end rather than to a size from seeking: a
// pipe has none, and a file over 2 GiB has none that fits.
ScriptRead AppendScriptFile(int32_t file, std::string& text) {
  try {
    char piece[4096];
    for (;;) {
      const int32_t got = X_Read(file, piece, static_cast<int32_t>(sizeof piece));
      if (got <= 0) return got == 0 ? ScriptRead::kRead : ScriptRead::kFailed;
      const size_t bytes = static_cast<size_t>(got);
      const void* zero = std::memchr(piece, '\0', bytes);
      text.append(piece, zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - piece) : bytes);
      if (zero != nullptr) return ScriptRead::kRead;
    }
  } catch (const std::bad_alloc&) {
    return ScriptRead::kNoMemory;
  }
}

// The generated script of a table, as rv_CreateTable runs it; empty when it
// does not fit its 400000 bytes.
std::string CreateTableScript(TableDef* td, int32_t transact_sql, const char* database) {
  constexpr int32_t kScriptSize = 400000;
  std::string script;
  if (database != nullptr) script = "USE " + QuoteSqlName(database) + "\r\nGO\r\n";
  std::vector<char> buffer(static_cast<size_t>(kScriptSize));
  auto append = [&](int32_t written) {
    if (written < 0) return false;
    script += buffer.data();
    return static_cast<int32_t>(script.size()) < kScriptSize;
  };
  if (!append(rv_GenSqlTableDefN(td, buffer.data(), kScriptSize, transact_sql))) return "";
  if (transact_sql != 0 && !append(rv_GenSqlTableBasicProcN(td, buffer.data(), kScriptSize, 1))) return "";
  for (int32_t k = 0; k < rv_KeyCnt(td); ++k) {
    if (!append(rv_GenSqlIndexDefN(td, buffer.data(), kScriptSize, k, transact_sql))) return "";
  }
  return script;
}

}  // namespace
}  // namespace lerv32

extern "C" {

int32_t LERV32_CALL rv_CallStatement(LERV32_HDBC connection, const char* script, char* errors, int32_t length) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (!lerv32::PlausibleHandle(connection) || script == nullptr) return 0;
    if (errors != nullptr && length > 0) errors[0] = '\0';
    return lerv32::CallStatement(static_cast<SQLHDBC>(connection), script, errors, length);
  });
}

int32_t LERV32_CALL rv_CallSqlFile(LERV32_HDBC connection, const char* database, const char* path, char* errors,
                                   int32_t length) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (!lerv32::PlausibleHandle(connection) || path == nullptr || errors == nullptr || length <= 0) return 0;
    errors[0] = '\0';
    std::string text;
    if (database != nullptr) text = "USE " + lerv32::QuoteSqlName(database) + "\r\nGO\r\n";
    const int32_t file = X_Open(path, 0);
    if (file == -1) {
      lerv32::SetError(errors, length, "file not open");
      return 0;
    }
    const lerv32::ScriptRead read = lerv32::AppendScriptFile(file, text);
    X_Close(file);
    if (read != lerv32::ScriptRead::kRead) {
      lerv32::SetError(errors, length, read == lerv32::ScriptRead::kNoMemory ? "memory failure" : "Datei nicht lesbar");
      return 0;
    }
    return lerv32::CallStatement(static_cast<SQLHDBC>(connection), text.c_str(), errors, length);
  });
}

int32_t LERV32_CALL rv_CreateTable(LERV32_HDBC connection, TableDef* td, int32_t transact_sql, const char* database) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (!lerv32::PlausibleHandle(connection) || !lerv32::ValidTableDef(td)) return 0;
    std::string script = lerv32::CreateTableScript(td, transact_sql, database);
    if (script.empty()) return 0;
    return lerv32::CallStatement(static_cast<SQLHDBC>(connection), script.c_str(), nullptr, 0);
  });
}

int32_t LERV32_CALL rv_DropTable(int32_t, int32_t, int32_t) { return 0; }

}  // extern "C"
