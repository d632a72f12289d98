#include "sqlsim/engine/row_source.h"

#include "sqlsim/engine/execution.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/sqlite_errors.h"

namespace sqlsim {

Value ReadColumn(sqlite3_stmt* stmt, int i) {
  switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_INTEGER: return Value::Integer(sqlite3_column_int64(stmt, i));
    case SQLITE_FLOAT: return Value::Real(sqlite3_column_double(stmt, i));
    case SQLITE_TEXT: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
      return Value::Text(std::string(text ? text : "", sqlite3_column_bytes(stmt, i)));
    }
    case SQLITE_BLOB: {
      const auto* blob = static_cast<const char*>(sqlite3_column_blob(stmt, i));
      return Value::Blob(std::string(blob ? blob : "", sqlite3_column_bytes(stmt, i)));
    }
    default: return Value::Null();
  }
}

void BindValue(sqlite3_stmt* stmt, int index, const Value& v) {
  switch (v.kind) {
    case Value::Kind::kNull: sqlite3_bind_null(stmt, index); break;
    case Value::Kind::kInteger: sqlite3_bind_int64(stmt, index, v.integer); break;
    case Value::Kind::kReal: sqlite3_bind_double(stmt, index, v.real); break;
    case Value::Kind::kText:
      sqlite3_bind_text64(stmt, index, v.bytes.data(), v.bytes.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
      break;
    case Value::Kind::kBlob:
      sqlite3_bind_blob64(stmt, index, v.bytes.data(), v.bytes.size(), SQLITE_TRANSIENT);
      break;
  }
}

SqliteRowSource::SqliteRowSource(sqlite3_stmt* stmt,
                                 std::shared_ptr<const std::vector<ColumnDesc>> columns,
                                 std::shared_ptr<bool> batch_aborted, SessionImpl* session,
                                 std::shared_ptr<ReadOutcome> outcome)
    : stmt_(stmt),
      columns_(std::move(columns)),
      values_(columns_->size()),
      batch_aborted_(std::move(batch_aborted)),
      session_(session),
      outcome_(std::move(outcome)) {}

SqliteRowSource::~SqliteRowSource() { Finish(); }

void SqliteRowSource::Finish() {
  if (stmt_) sqlite3_reset(stmt_);
  stmt_ = nullptr;
}

void SqliteRowSource::TakeRow(std::vector<Value>* row) {
  // The row's own buffer comes back sized on the next Next(), if any.
  row->swap(values_);
}

bool SqliteRowSource::Next(Diagnostics* diags) {
  if (!stmt_) return false;
  // Each row must come within the statement time limit.
  if (session_) session_->StartDeadline();
  int rc = sqlite3_step(stmt_);
  bool canceled = session_ && session_->Canceled();
  if (session_) session_->StopDeadline();
  if (rc == SQLITE_ROW) {
    values_.resize(columns_->size());
    for (size_t i = 0; i < values_.size(); ++i) values_[i] = ReadColumn(stmt_, static_cast<int>(i));
    if (outcome_) ++outcome_->rows;
    return true;
  }
  if (rc != SQLITE_DONE) {
    Diagnostic error = canceled ? CanceledDiagnostic() : DiagnosticFromSqlite(sqlite3_db_handle(stmt_), rc);
    if (outcome_) outcome_->error = error.native;
    // A canceled batch runs nothing after the query it stopped.
    if (batch_aborted_ && (canceled || AbortsBatch(error.native))) *batch_aborted_ = true;
    diags->push_back(std::move(error));
  }
  Finish();
  return false;
}

}  // namespace sqlsim
