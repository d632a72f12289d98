// The ...Ex calls: through the table's prepared set when it may be used on
// the connection given, otherwise exactly their counterparts. On the
// prepared path an access is one execution of a prepared statement and, where
// a value comes back, one fetch; the statement's cursor is closed after it.
#include <algorithm>
#include <cstring>

#include "frame/export_guard.h"
#include "frame/odbc_errors.h"
#include "frame/odbc_trace.h"
#include "records/key_search.h"
#include "records/navigation.h"
#include "records/prepared_set.h"
#include "records/write_record.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

void CloseCursor(SQLHSTMT h) { ODBC_CALL(SQLFreeStmt, h, SQL_CLOSE); }

// Executes a statement returning one RecId into ResultRecId; a failed
// execution or fetch is reported, a missing row is not.
int32_t ExecPreparedRecId(SqlRec* rec, LERV32_HSTMT stmt, int32_t rec_id) {
  auto h = static_cast<SQLHSTMT>(stmt);
  rec->RecId = rec_id;
  rec->RecIdInd = 0;
  rec->ResultRecId = 0;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLExecute, h))) {
    OdbcReportErrors(static_cast<SQLHDBC>(rec->Connection), h, 0);
    CloseCursor(h);
    return 0;
  }
  const SQLRETURN fetched = ODBC_CALL(SQLFetch, h);
  if (!SQL_SUCCEEDED(fetched) && fetched != SQL_NO_DATA) {
    OdbcReportErrors(static_cast<SQLHDBC>(rec->Connection), h, 0);
  }
  CloseCursor(h);
  return SQL_SUCCEEDED(fetched) && rec->RecIdInd != SQL_NULL_DATA ? rec->ResultRecId : 0;
}

// Executes a statement without a result: 1, or 0 after a report.
int32_t ExecPrepared(SqlRec* rec, LERV32_HSTMT stmt) {
  auto h = static_cast<SQLHSTMT>(stmt);
  rec->RecIdInd = 0;
  const bool ran = SQL_SUCCEEDED(ODBC_CALL(SQLExecute, h));
  if (!ran) OdbcReportErrors(static_cast<SQLHDBC>(rec->Connection), h, 0);
  CloseCursor(h);
  return ran ? 1 : 0;
}

enum class Step { kFirst, kLast, kNext, kPrior };

int32_t KeyStep(SQLHDBC dbc, const TableDef* td, int32_t key, int32_t rec_id, Step step) {
  SqlRec* rec = key >= 0 ? UsableSet(td, dbc) : nullptr;
  if (rec == nullptr) {
    switch (step) {
      case Step::kFirst: return rv_OdbcFirstRecId(dbc, td, key);
      case Step::kLast: return rv_OdbcLastRecId(dbc, td, key);
      case Step::kNext: return rv_OdbcNextRecId(dbc, td, key, rec_id);
      case Step::kPrior: return rv_OdbcPriorRecId(dbc, td, key, rec_id);
    }
  }
  if (key >= rec->KeyCnt) return 0;
  switch (step) {
    case Step::kFirst: return ExecPreparedRecId(rec, rec->FirstStmt[key], 0);
    case Step::kLast: return ExecPreparedRecId(rec, rec->LastStmt[key], 0);
    case Step::kNext: return ExecPreparedRecId(rec, rec->NextStmt[key], rec_id);
    case Step::kPrior: return ExecPreparedRecId(rec, rec->PriorStmt[key], rec_id);
  }
  return 0;
}

// The value goes to the set's key text as the procedure search sends it;
// what the procedures cannot compare is searched plain, as unprepared.
int32_t FindEx(SQLHDBC dbc, const TableDef* td, int32_t key, const char* value, int32_t len, bool last) {
  SqlRec* rec = key >= 0 ? UsableSet(td, dbc) : nullptr;
  if (rec == nullptr) {
    return last ? rv_OdbcFindLastRecId(dbc, td, key, value, len) : rv_OdbcFindFirstRecId(dbc, td, key, value, len);
  }
  if (key >= rec->KeyCnt || value == nullptr || len < 1 || len > kFindKeyWidth) return 0;
  KeyCover cover{};
  if (!CoverKey(td, key, value, len, &cover)) return 0;
  std::optional<std::string> text = ProcedureSearchText(cover);
  if (!text) return FindByPlainSql(dbc, cover, last);
  std::memset(rec->KeyText, ' ', kFindKeyWidth);
  std::memcpy(rec->KeyText, text->data(), text->size());
  rec->KeyText[kFindKeyWidth] = '\0';
  rec->KeyLen = static_cast<int32_t>(text->size());
  rec->KeyTextInd = kFindKeyWidth;
  rec->KeyLenInd = sizeof(int32_t);
  return ExecPreparedRecId(rec, last ? rec->FindLastStmt[key] : rec->FindFirstStmt[key], 0);
}

// A NULL column leaves its buffer as it was: it is cleared, so that the
// buffer shows the empty value, as the record does.
void ClearNullValues(SqlRec* rec) {
  for (int i = 0; i < rec->FieldCnt; ++i) {
    if (rec->Indicator[i] == SQL_NULL_DATA) std::memset(rec->Value[i], 0, static_cast<size_t>(rec->ValueSize[i]));
  }
}

int32_t GetRecordEx(SQLHDBC dbc, const TableDef* td, int32_t rec_id, char* record) {
  SqlRec* rec = UsableSet(td, dbc);
  if (rec == nullptr) return rv_OdbcGetRecord(dbc, td, rec_id, record);
  auto h = static_cast<SQLHSTMT>(rec->ReadStmt);
  rec->RecId = rec_id;
  rec->RecIdInd = 0;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLExecute, h))) {
    OdbcReportErrors(dbc, h, 0);
    CloseCursor(h);
    return 0;
  }
  SQLSMALLINT columns = 0;
  ODBC_CALL(SQLNumResultCols, h, &columns);
  const SQLRETURN fetched = columns == td->FieldCnt ? ODBC_CALL(SQLFetch, h) : SQL_NO_DATA;
  if (!SQL_SUCCEEDED(fetched)) {
    if (fetched != SQL_NO_DATA) OdbcReportErrors(dbc, h, 0);
    CloseCursor(h);
    return 0;
  }
  ClearNullValues(rec);
  if (record != nullptr) ScanSet(rec, td, record);
  CloseCursor(h);
  return 1;
}

int32_t UpdateRecordEx(SQLHDBC dbc, const TableDef* td, int32_t rec_id, const char* record) {
  SqlRec* rec = UsableSet(td, dbc);
  if (rec == nullptr) return rv_OdbcUpdateRecord(dbc, td, rec_id, record);
  if (record == nullptr) return 0;
  rec->RecId = rec_id;
  FillSet(rec, td, record);
  return ExecPrepared(rec, rec->UpdateStmt);
}

int32_t DeleteRecordEx(SQLHDBC dbc, const TableDef* td, int32_t rec_id) {
  SqlRec* rec = UsableSet(td, dbc);
  if (rec == nullptr) return rv_OdbcDeleteRecord(dbc, td, rec_id);
  rec->RecId = rec_id;
  return ExecPrepared(rec, rec->DeleteStmt);
}

// One execution of the append with the filled buffers, as RetryAppend
// wants it.
int64_t AppendAttempt(SQLHDBC dbc, SqlRec* rec, bool last) {
  auto h = static_cast<SQLHSTMT>(rec->AppendStmt);
  rec->RecId = 0;
  rec->RecIdInd = 0;
  if (SQL_SUCCEEDED(ODBC_CALL(SQLExecute, h)) && SQL_SUCCEEDED(ODBC_CALL(SQLFetch, h))) {
    CloseCursor(h);
    return rec->RecIdInd == SQL_NULL_DATA ? 0 : rec->RecId;
  }
  const int32_t integrity = OdbcReportErrors(dbc, h, last ? 0 : 1);
  CloseCursor(h);
  return !last && integrity != 0 ? kAppendTryAgain : 0;
}

int32_t AppendRecordEx(SQLHDBC dbc, const TableDef* td, const char* record) {
  SqlRec* rec = UsableSet(td, dbc);
  if (rec == nullptr) return rv_OdbcAppendRecord(dbc, td, record);
  if (record == nullptr) return 0;
  FillSet(rec, td, record);
  return RetryAppend(td, "REPEAT xExec::rv_OdbcAppendRecordEx()",
                     [&](bool last) { return AppendAttempt(dbc, rec, last); });
}

// Arguments every call needs before anything is looked at.
template <typename Call>
int32_t WithTable(LERV32_HDBC connection, const TableDef* td, Call call) {
  return GuardedOn<int32_t>(connection, 0, [&] {
    if (!Usable(connection, td)) return 0;
    return call(static_cast<SQLHDBC>(connection));
  });
}

}  // namespace
}  // namespace lerv32

using lerv32::Step;
using lerv32::WithTable;

extern "C" {

int32_t LERV32_CALL rv_OdbcFirstRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::KeyStep(dbc, td, key, 0, Step::kFirst); });
}

int32_t LERV32_CALL rv_OdbcLastRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::KeyStep(dbc, td, key, 0, Step::kLast); });
}

int32_t LERV32_CALL rv_OdbcNextRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key, int32_t rec_id) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::KeyStep(dbc, td, key, rec_id, Step::kNext); });
}

int32_t LERV32_CALL rv_OdbcPriorRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key, int32_t rec_id) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::KeyStep(dbc, td, key, rec_id, Step::kPrior); });
}

int32_t LERV32_CALL rv_OdbcFindFirstRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key,
                                            const char* value, int32_t len) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::FindEx(dbc, td, key, value, len, false); });
}

int32_t LERV32_CALL rv_OdbcFindLastRecIdEx(LERV32_HDBC connection, const TableDef* td, int32_t key,
                                           const char* value, int32_t len) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::FindEx(dbc, td, key, value, len, true); });
}

int32_t LERV32_CALL rv_OdbcGetRecordEx(LERV32_HDBC connection, const TableDef* td, int32_t rec_id, char* rec) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::GetRecordEx(dbc, td, rec_id, rec); });
}

int32_t LERV32_CALL rv_OdbcAppendRecordEx(LERV32_HDBC connection, const TableDef* td, const char* rec) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::AppendRecordEx(dbc, td, rec); });
}

int32_t LERV32_CALL rv_OdbcUpdateRecordEx(LERV32_HDBC connection, const TableDef* td, int32_t rec_id,
                                          const char* rec) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::UpdateRecordEx(dbc, td, rec_id, rec); });
}

int32_t LERV32_CALL rv_OdbcDeleteRecordEx(LERV32_HDBC connection, const TableDef* td, int32_t rec_id) {
  return WithTable(connection, td, [&](SQLHDBC dbc) { return lerv32::DeleteRecordEx(dbc, td, rec_id); });
}

}  // extern "C"
