#include <string>

#include "frame/export_guard.h"
#include "frame/odbc_errors.h"
#include "frame/message_boxes.h"
#include "frame/odbc_trace.h"
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

std::string Decimal(int32_t value) { return std::to_string(static_cast<long>(value)); }

// A searched UPDATE or DELETE that meets no row is no failure.
bool Ran(SQLRETURN rc) { return SQL_SUCCEEDED(rc) || rc == SQL_NO_DATA; }

int32_t UpdateWithProcedure(SQLHDBC dbc, const TableDef* td, int32_t rec_id, const char* record) {
  std::string sql = "EXECUTE " + QuotedProcedureName("up_Upd_", td) + " " + Decimal(rec_id);
  for (int32_t i = 0; i < td->FieldCnt; ++i) sql += ",?";
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    return 0;
  }
  SQLHSTMT h = stmt.get();
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLPrepare, h, Text(sql), SQL_NTS))) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  ODBC_CALL(SQLSetStmtOption, h, SQL_BIND_TYPE, SQL_BIND_BY_COLUMN);
  RecordParams params;
  PrepareRecordParams(td, &params);
  if (!BindRecordParams(h, &params, td, record) || !Ran(ODBC_CALL(SQLExecute, h))) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  return 1;
}

int32_t UpdatePlain(SQLHDBC dbc, const TableDef* td, int32_t rec_id, const char* record, bool report_execute) {
  std::string sql = "UPDATE " + QuotedBaseName(td) + " SET";
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    sql += i == 0 ? " " : ",";
    sql += QuotedFieldName(td, i) + "=?";
  }
  sql += " WHERE RecId = " + Decimal(rec_id);
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) return 0;
  SQLHSTMT h = stmt.get();
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLPrepare, h, Text(sql), SQL_NTS))) {
    // Shown whatever Display_Errors says: the text tells what the table lacks.
    ShowMessageBox(sql.c_str(), "Prepare", MB_OK);
    return 0;
  }
  ODBC_CALL(SQLSetStmtOption, h, SQL_BIND_TYPE, SQL_BIND_BY_COLUMN);
  RecordParams params;
  PrepareRecordParams(td, &params);
  if (!BindRecordParams(h, &params, td, record) || !Ran(ODBC_CALL(SQLExecute, h))) {
    if (report_execute) OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  return 1;
}

// Runs sql directly: 1, or 0 with the failure reported. A statement that
// cannot be allocated fails silently.
int32_t ExecuteReported(SQLHDBC dbc, std::string sql) {
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) return 0;
  if (!Ran(ODBC_CALL(SQLExecDirect, stmt.get(), Text(sql), SQL_NTS))) {
    OdbcReportErrors(dbc, stmt.get(), 0);
    return 0;
  }
  return 1;
}

void Reorg(SQLHDBC dbc, const TableDef* td) {
  std::string sql = "EXECUTE " + QuotedProcedureName("up_Reorg_", td) + " 1,1";
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    return;
  }
  SQLHSTMT h = stmt.get();
  // The caller learns nothing either way: a failure at least reaches the log.
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLPrepare, h, Text(sql), SQL_NTS)) || !Ran(ODBC_CALL(SQLExecute, h))) {
    OdbcReportErrors(dbc, h, 0);
  }
}

}  // namespace

int32_t UpdateRecord(SQLHDBC dbc, const TableDef* td, int32_t rec_id, const char* record, bool report_execute) {
  if (UsesProcedures(td)) return UpdateWithProcedure(dbc, td, rec_id, record);
  return UpdatePlain(dbc, td, rec_id, record, report_execute);
}

int32_t DeleteRecord(SQLHDBC dbc, const TableDef* td, int32_t rec_id) {
  if (UsesProcedures(td)) {
    return ExecuteReported(dbc, "EXECUTE " + QuotedProcedureName("up_Del_", td) + " " + Decimal(rec_id));
  }
  return ExecuteReported(dbc, "DELETE FROM " + QuotedBaseName(td) + " WHERE RecId = " + Decimal(rec_id));
}

}  // namespace lerv32

extern "C" {

using lerv32::Guarded;
using lerv32::GuardedOn;
using lerv32::Usable;

int32_t LERV32_CALL rv_OdbcAppendBlank(LERV32_HDBC connection, const TableDef* td) {
  return GuardedOn<int32_t>(connection, 0, [&] {
    if (!Usable(connection, td)) return 0;
    return lerv32::AppendBlank(static_cast<SQLHDBC>(connection), td);
  });
}

int32_t LERV32_CALL rv_OdbcAppendRecord(LERV32_HDBC connection, const TableDef* td, const char* rec) {
  return GuardedOn<int32_t>(connection, 0, [&] {
    if (!Usable(connection, td) || rec == nullptr) return 0;
    return lerv32::AppendRecord(static_cast<SQLHDBC>(connection), td, rec);
  });
}

int32_t LERV32_CALL rv_OdbcUpdateRecord(LERV32_HDBC connection, const TableDef* td, int32_t rec_id, const char* rec) {
  return GuardedOn<int32_t>(connection, 0, [&] {
    if (!Usable(connection, td) || rec == nullptr) return 0;
    return lerv32::UpdateRecord(static_cast<SQLHDBC>(connection), td, rec_id, rec, false);
  });
}

int32_t LERV32_CALL rv_OdbcDeleteRecord(LERV32_HDBC connection, const TableDef* td, int32_t rec_id) {
  return GuardedOn<int32_t>(connection, 0, [&] {
    if (!Usable(connection, td)) return 0;
    return lerv32::DeleteRecord(static_cast<SQLHDBC>(connection), td, rec_id);
  });
}

int32_t LERV32_CALL rv_OdbcZap(LERV32_HDBC connection, const TableDef* td) {
  return GuardedOn<int32_t>(connection, 0, [&] {
    if (!Usable(connection, td)) return 0;
    return lerv32::ExecuteReported(static_cast<SQLHDBC>(connection), "DELETE FROM " + lerv32::QuotedBaseName(td));
  });
}

void LERV32_CALL rv_OdbcReorg(LERV32_HDBC connection, const TableDef* td) {
  GuardedOn<int32_t>(connection, 0, [&] {
    if (Usable(connection, td)) lerv32::Reorg(static_cast<SQLHDBC>(connection), td);
    return 0;
  });
}

}  // extern "C"
