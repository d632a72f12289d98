#include <climits>
#include <functional>
#include <string>

#include "frame/odbc_errors.h"
#include "frame/odbc_trace.h"
#include "include/lebase32.h"
#include "frame/connection_work.h"
#include "frame/unit_transaction.h"
#include "records/navigation.h"
#include "frame/odbc_handles.h"
#include "records/read_record.h"
#include "records/sql_names.h"
#include "records/write_record.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

SQLCHAR* Text(std::string& sql) { return reinterpret_cast<SQLCHAR*>(sql.data()); }

// The id an executed append procedure gives back; 0 when it cannot be read
// (reported: the record may be stored all the same).
int64_t ReadNewRecId(SQLHDBC dbc, SQLHSTMT h) {
  bool failed = false;
  const int32_t rec_id = ReadSingleRecId(h, &failed);
  if (failed) OdbcReportErrors(dbc, h, 0);
  return failed ? 0 : rec_id;
}

// One execution of a procedure append on a statement of its own: the new
// RecId, 0 on failure, or kAppendTryAgain after an integrity violation that is
// not the last attempt's.
int64_t AppendAttempt(SQLHDBC dbc, const TableDef* td, std::string& sql, const char* record, RecordParams* params,
                      bool last) {
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    // A blank append gives up silently here.
    if (record != nullptr) OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    return 0;
  }
  SQLHSTMT h = stmt.get();
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLPrepare, h, Text(sql), SQL_NTS))) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  ODBC_CALL(SQLSetStmtOption, h, SQL_BIND_TYPE, SQL_BIND_BY_COLUMN);
  if (record != nullptr && !BindRecordParams(h, params, td, record)) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  if (SQL_SUCCEEDED(ODBC_CALL(SQLExecute, h))) return ReadNewRecId(dbc, h);
  if (last) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  return OdbcReportErrors(dbc, h, 1) != 0 ? kAppendTryAgain : 0;
}

// Runs a procedure append, retried while the server reports "23000". With
// record, its fields are bound as the parameters.
int32_t AppendWithRetry(SQLHDBC dbc, const TableDef* td, std::string sql, const char* record, const char* note) {
  RecordParams params;
  if (record != nullptr) PrepareRecordParams(td, &params);
  return RetryAppend(td, note, [&](bool last) { return AppendAttempt(dbc, td, sql, record, &params, last); });
}

// The highest RecId of the table, 0 for an empty one, -1 on failure.
int64_t HighestRecId(SQLHDBC dbc, const TableDef* td) {
  std::string sql = "SELECT TOP 1 RecId FROM " + QuotedBaseName(td) + " ORDER BY RecId DESC";
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    return -1;
  }
  SQLHSTMT h = stmt.get();
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLExecDirect, h, Text(sql), SQL_NTS))) {
    OdbcReportErrors(dbc, h, 0);
    return -1;
  }
  const SQLRETURN rc = ODBC_CALL(SQLFetch, h);
  if (rc == SQL_NO_DATA) return 0;
  SQLINTEGER value = 0;
  SQLLEN indicator = 0;
  if (!SQL_SUCCEEDED(rc) ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLGetData, h, 1, SQL_C_LONG, &value, sizeof value, &indicator))) {
    OdbcReportErrors(dbc, h, 0);
    return -1;
  }
  return indicator == SQL_NULL_DATA ? 0 : value;
}

// Highest RecId plus one, inserted with the column defaults. Not retried: a
// client that took the same RecId meanwhile makes the insert fail; a thread
// on the same connection waits until the insert is done.
int32_t AppendBlankPlain(SQLHDBC dbc, const TableDef* td) {
  const ConnectionWork work(dbc);
  const int64_t highest = HighestRecId(dbc, td);
  if (highest < 0) return 0;
  if (highest >= INT32_MAX) {
    leEventLogWrite(1, std::string(NameText(td->TableName)).c_str(), "RecId: no id above the highest one");
    return 0;
  }
  const auto rec_id = static_cast<int32_t>(highest + 1);
  ODBC_CALL(SQLSetConnectOption, dbc, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_ON);
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    return 0;
  }
  std::string sql = "INSERT INTO " + QuotedBaseName(td) + " (RecId) VALUES (" + std::to_string(rec_id) + ")";
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLExecDirect, stmt.get(), Text(sql), SQL_NTS))) {
    OdbcReportErrors(dbc, stmt.get(), 0);
    return 0;
  }
  return rec_id;
}

// A blank record, then its values: both in one transaction, so that a client
// that dies in between leaves no blank record behind, and one whose later
// step fails (its COMMIT among them) takes the blank record back. Inside a
// transaction of the caller's it nests under a save point, commits with
// that one, and a failure takes back only its own work. Threads that share
// the connection take turns, so that each thread's transaction is its own.
int32_t AppendInTwoSteps(SQLHDBC dbc, const TableDef* td, const char* record) {
  const ConnectionWork work(dbc);
  // As the plain blank append does, and before the transaction begins:
  // switching autocommit on ends a transaction under way.
  if (!UsesProcedures(td)) ODBC_CALL(SQLSetConnectOption, dbc, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_ON);
  UnitTransaction unit(dbc, "lerv32_append");
  if (!unit.begun()) return 0;
  const int32_t rec_id = AppendBlank(dbc, td);
  if (rec_id != 0 && UpdateRecord(dbc, td, rec_id, record, true) == 1 && unit.Commit()) return rec_id;
  unit.TakeBack();
  return 0;
}

}  // namespace

int32_t RetryAppend(const TableDef* td, const char* note, const std::function<int64_t(bool last)>& attempt) {
  for (int count = 1;; ++count) {
    const int64_t result = attempt(count == kAppendRetryLimit);
    if (result != kAppendTryAgain) return static_cast<int32_t>(result);
    Sleep(kAppendRetryPauseMs);
    leEventLogWrite(0, std::string(NameText(td->TableName)).c_str(), note);
  }
}

int32_t AppendBlank(SQLHDBC dbc, const TableDef* td) {
  if (!UsesProcedures(td)) return AppendBlankPlain(dbc, td);
  std::string sql = "EXECUTE " + QuotedProcedureName("up_Add_", td);
  return AppendWithRetry(dbc, td, sql, nullptr, "REPEAT odbcAppe::AppenWithProcedure()");
}

int32_t AppendRecord(SQLHDBC dbc, const TableDef* td, const char* record) {
  if (UsesProcedures(td) && td->AppendEx != 0) {
    std::string sql = "EXECUTE " + QuotedProcedureName("up_Append_", td);
    for (int32_t i = 0; i < td->FieldCnt; ++i) sql += i == 0 ? " ?" : ",?";
    return AppendWithRetry(dbc, td, sql, record, "REPEAT odbcUpda::AppenWithProcedureEx()");
  }
  return AppendInTwoSteps(dbc, td, record);
}

}  // namespace lerv32
