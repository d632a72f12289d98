#include "sqlsim/odbc/execute.h"

#include "sqlsim/odbc/escapes.h"

namespace sqlsim::odbc {

namespace {

// Moves to the batch's next result that the application sees: a row set,
// a row count or a failed statement; results carrying only messages pass
// on their messages to it.
SQLRETURN NextResult(Stmt& s, bool first) {
  bool messages = false;
  for (;;) {
    std::optional<Result> r = s.execution->NextResult();
    if (!r) {
      s.execution.reset();
      if (first) return messages ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
      return messages ? SQL_SUCCESS_WITH_INFO : SQL_NO_DATA;
    }
    messages = messages || !r->messages.empty();
    s.diags.AddServer(r->messages);
    if (r->rows) {
      bool scrollable = s.attrs.cursor_type != SQL_CURSOR_FORWARD_ONLY;
      Diagnostics read;
      s.cursor = Cursor::Open(std::move(r->rows), scrollable, s.attrs.max_rows, &read);
      s.diags.AddServer(read);
      if (!s.cursor) return SQL_ERROR;
      s.diags.cursor_row_count = s.cursor->known_rows();
      return s.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
    }
    if (r->failed) return SQL_ERROR;
    // ODBC 2 applications read a procedure's first row set right after the
    // call: the counts of the statements before it are not results to them.
    if (r->row_count >= 0 && r->in_procedure && s.odbc_version() == kOdbc2) continue;
    if (r->row_count >= 0) {
      s.row_count = static_cast<SQLLEN>(r->row_count);
      s.diags.row_count = s.row_count;
      // ODBC 3: a searched statement that changed no rows.
      if (first && r->row_count == 0 && s.odbc_version() != kOdbc2) return SQL_NO_DATA;
      return messages ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
    }
  }
}

bool GatherParams(Stmt& s, std::vector<ParamValue>* values) {
  int32_t count = s.batch->ParameterCount();
  for (int32_t i = 1; i <= count; ++i) {
    auto n = static_cast<SQLUSMALLINT>(i);
    auto bound = s.params.find(n);
    if (bound == s.params.end()) {
      s.diags.AddDriver("07002", "COUNT field incorrect: parameter " + std::to_string(i) +
                                     " of " + std::to_string(count) + " is not bound");
      return false;
    }
    ParamValue value;
    ParamFailure failure;
    auto put = s.dae.data.find(n);
    bool ok = put != s.dae.data.end()
                  ? ParamFromPutData(bound->second, put->second ? &*put->second : nullptr,
                                     &value, &failure)
                  : ReadParam(bound->second, &value, &failure);
    if (!ok) {
      s.diags.AddDriver(failure.sqlstate,
                        failure.message + " (parameter " + std::to_string(i) + ")");
      return false;
    }
    values->push_back(std::move(value));
  }
  return true;
}

void ReportParamStatus(Stmt& s, SQLUSMALLINT status) {
  if (s.attrs.params_processed) *s.attrs.params_processed = 1;
  if (s.attrs.param_status) s.attrs.param_status[0] = status;
}

SQLRETURN Prepare(Stmt& s, std::string_view text, bool keep) {
  if (!s.dbc->session) return s.diags.Error("08003", "Connection not open");
  // Results still pending are discarded, as when the cursor is closed.
  s.CloseResults();
  s.batch.reset();
  s.prepared = false;
  s.state = StmtState::kAllocated;
  s.row_count = -1;
  // Escape sequences are translated unless the application asked for the
  // text as written; a malformed one fails as a syntax error of the server.
  EscapeTranslation translated;
  if (s.attrs.noscan != SQL_NOSCAN_ON) translated = TranslateEscapes(text);
  if (!translated.ok) {
    s.diags.AddServer(translated.error);
    return SQL_ERROR;
  }
  Diagnostics diags;
  s.batch = s.dbc->session->Prepare(s.attrs.noscan == SQL_NOSCAN_ON ? text : translated.text, &diags);
  s.diags.AddServer(diags);
  if (!s.batch) return SQL_ERROR;
  s.prepared = keep;
  s.state = StmtState::kPrepared;
  return s.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

}  // namespace

SQLRETURN RunBatch(Stmt& s) {
  std::vector<ParamValue> values;
  bool ok = GatherParams(s, &values);
  s.dae = DataAtExec{};
  if (!ok) {
    ReportParamStatus(s, SQL_PARAM_ERROR);
    s.ReturnToPrepared();
    return SQL_ERROR;
  }
  ReportParamStatus(s, SQL_PARAM_SUCCESS);
  s.execution = s.batch->Execute(std::move(values));
  s.state = StmtState::kExecuted;
  SQLRETURN rc = NextResult(s, true);
  if (rc == SQL_ERROR && !s.cursor) {
    // The application cannot reach later results after an error: the rest
    // of the batch runs now.
    s.CloseResults();
    s.ReturnToPrepared();
  }
  return rc;
}

SQLRETURN PrepareStatement(Stmt& s, std::string_view text) { return Prepare(s, text, true); }

SQLRETURN ExecutePrepared(Stmt& s) {
  if (!s.batch || !s.prepared) return s.diags.Error("HY010", "Function sequence error");
  if (s.attrs.paramset_size != 1) return s.diags.Error("HYC00", "Arrays of parameters are not supported");
  s.CloseResults();
  s.row_count = -1;
  s.dae = DataAtExec{};
  for (int32_t i = 1; i <= s.batch->ParameterCount(); ++i) {
    auto it = s.params.find(static_cast<SQLUSMALLINT>(i));
    if (it != s.params.end() && it->second.AtExecution()) s.dae.pending.push_back(it->first);
  }
  if (!s.dae.pending.empty()) {
    s.state = StmtState::kNeedData;
    return SQL_NEED_DATA;
  }
  return RunBatch(s);
}

SQLRETURN ExecuteDirect(Stmt& s, std::string_view text) {
  SQLRETURN rc = Prepare(s, text, false);
  if (rc == SQL_ERROR) return rc;
  s.prepared = true;
  SQLRETURN run = ExecutePrepared(s);
  s.prepared = false;
  if (s.state == StmtState::kPrepared) s.state = StmtState::kAllocated;
  return rc == SQL_SUCCESS_WITH_INFO && run == SQL_SUCCESS ? rc : run;
}

SQLRETURN MoreResults(Stmt& s) {
  if (s.state != StmtState::kExecuted || !s.execution) {
    s.CloseResults();
    if (s.state == StmtState::kExecuted) s.ReturnToPrepared();
    return SQL_NO_DATA;
  }
  s.cursor.reset();
  s.getdata = GetDataState{};
  s.current_row = 0;
  s.row_count = -1;
  SQLRETURN rc = NextResult(s, false);
  if (rc == SQL_NO_DATA) s.ReturnToPrepared();
  return rc;
}

void CloseCursor(Stmt& s) {
  s.CloseResults();
  if (s.state == StmtState::kExecuted) s.ReturnToPrepared();
}

SQLRETURN Cancel(Stmt& s) {
  if (s.state == StmtState::kNeedData) {
    s.dae = DataAtExec{};
    s.ReturnToPrepared();
  }
  return SQL_SUCCESS;
}

}  // namespace sqlsim::odbc
