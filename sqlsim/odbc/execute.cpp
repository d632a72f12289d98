#include "sqlsim/odbc/execute.h"

#include "sqlsim/odbc/escapes.h"
#include "sqlsim/odbc/param_sets.h"

namespace sqlsim::odbc {

SQLRETURN OpenRows(Stmt& s, std::unique_ptr<RowSource> rows, SQLLEN diag_row) {
  bool scrollable = s.attrs.cursor_type != SQL_CURSOR_FORWARD_ONLY;
  Diagnostics read;
  s.cursor = Cursor::Open(std::move(rows), scrollable, s.attrs.max_rows, &read, std::move(s.spare_cursor));
  s.diags.AddServer(read, diag_row);
  if (!s.cursor) return SQL_ERROR;
  s.diags.cursor_row_count = s.cursor->known_rows();
  return s.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

namespace {

// What the application sees of one result of the batch: a row set, a row
// count or a failed statement. Nullopt for a result that carries only
// messages (they go to the application with the next one).
std::optional<SQLRETURN> TakeResult(Stmt& s, Result& r, bool first, bool* messages) {
  *messages = *messages || !r.messages.empty();
  s.diags.AddServer(r.messages);
  if (r.rows) return OpenRows(s, std::move(r.rows), SQL_ROW_NUMBER_UNKNOWN);
  if (r.failed) return SQL_ERROR;
  // ODBC 2 applications read a procedure's first row set right after the
  // call: the counts of the statements before it are not results to them.
  if (r.row_count >= 0 && r.in_procedure && s.odbc_version() == kOdbc2) return std::nullopt;
  if (r.row_count < 0) return std::nullopt;
  s.row_count = static_cast<SQLLEN>(r.row_count);
  s.diags.row_count = s.row_count;
  // ODBC 3: a searched statement that changed no rows.
  if (first && r.row_count == 0 && s.odbc_version() != kOdbc2) return SQL_NO_DATA;
  return *messages ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

// The return of a batch whose results are all taken.
SQLRETURN BatchDone(bool first, bool messages) {
  if (messages) return SQL_SUCCESS_WITH_INFO;
  return first ? SQL_SUCCESS : SQL_NO_DATA;
}

// Moves to the batch's next result that the application sees; results
// carrying only messages pass on their messages to it.
SQLRETURN NextResult(Stmt& s, bool first) {
  bool messages = false;
  for (;;) {
    std::optional<Result> r = s.execution->NextResult();
    if (!r) {
      SQLRETURN delivered = DeliverOutputs(s, *s.execution, 0, SQL_ROW_NUMBER_UNKNOWN);
      s.execution.reset();
      if (delivered == SQL_ERROR) return SQL_ERROR;
      return BatchDone(first, messages || delivered == SQL_SUCCESS_WITH_INFO);
    }
    if (std::optional<SQLRETURN> rc = TakeResult(s, *r, first, &messages)) return *rc;
  }
}

// A batch of one SELECT has one result and nothing after it (neither
// statements nor output parameters): no execution is kept for later.
SQLRETURN RunSingleSelect(Stmt& s, const std::vector<ParamValue>& values) {
  Result r = s.batch->ExecuteSingleSelect(values);
  bool messages = false;
  std::optional<SQLRETURN> rc = TakeResult(s, r, true, &messages);
  return rc ? *rc : BatchDone(true, messages);
}

// Forgets the data put at execution; most executes have none to forget.
void ForgetDataAtExec(Stmt& s) {
  const DataAtExec& d = s.dae;
  if (d.pending.empty() && d.data.empty() && d.current == 0 && !d.started && !d.has_data && !d.array) return;
  s.dae = DataAtExec{};
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
  std::vector<ParamValue>& values = s.param_values;
  values.clear();
  bool ok = GatherParams(s, 0, SQL_ROW_NUMBER_UNKNOWN, &values);
  ForgetDataAtExec(s);
  if (!ok) {
    ReportParamStatus(s, SQL_PARAM_ERROR);
    s.ReturnToPrepared();
    return SQL_ERROR;
  }
  ReportParamStatus(s, SQL_PARAM_SUCCESS);
  s.state = StmtState::kExecuted;
  SQLRETURN rc;
  if (s.batch->IsSingleSelect()) {
    rc = RunSingleSelect(s, values);
  } else {
    s.execution = s.batch->Execute(std::move(values));
    rc = NextResult(s, true);
  }
  if (rc == SQL_ERROR && !s.cursor) {
    // The application cannot reach later results after an error: the rest
    // of the batch runs now.
    CloseCursor(s);
  }
  return rc;
}

SQLRETURN PrepareStatement(Stmt& s, std::string_view text) { return Prepare(s, text, true); }

SQLRETURN ExecutePrepared(Stmt& s) {
  if (!s.batch || !s.prepared) return s.diags.Error("HY010", "Function sequence error");
  // A statement without markers runs once whatever the array size.
  if (s.attrs.paramset_size != 1 && s.batch->ParameterCount() > 0) return ExecuteArray(s);
  s.CloseResults();
  s.row_count = -1;
  ForgetDataAtExec(s);
  for (int32_t i = 1; i <= s.batch->ParameterCount(); ++i) {
    auto it = s.params.find(static_cast<SQLUSMALLINT>(i));
    if (it != s.params.end() && BindingAtSet(s, it->second, 0).AtExecution()) s.dae.pending.push_back({0, it->first});
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
  if (s.state == StmtState::kExecuted && s.sets.active) {
    s.DropCursor();
    s.getdata.Forget();
    s.current_row = 0;
    SQLRETURN rc = NextArrayResult(s, false);
    if (rc == SQL_NO_DATA) s.ReturnToPrepared();
    return rc;
  }
  if (s.state != StmtState::kExecuted || !s.execution) {
    s.CloseResults();
    if (s.state == StmtState::kExecuted) s.ReturnToPrepared();
    return SQL_NO_DATA;
  }
  s.DropCursor();
  s.getdata.Forget();
  s.current_row = 0;
  s.row_count = -1;
  SQLRETURN rc = NextResult(s, false);
  if (rc == SQL_NO_DATA) s.ReturnToPrepared();
  return rc;
}

void CloseCursor(Stmt& s) {
  // The rest of the batch runs, so its output parameters arrive as well.
  s.DropCursor();
  while (s.sets.active) {
    NextArrayResult(s, false);
    s.DropCursor();
  }
  if (s.execution) {
    while (std::optional<Result> r = s.execution->NextResult()) r->rows.reset();
    DeliverOutputs(s, *s.execution, 0, SQL_ROW_NUMBER_UNKNOWN);
  }
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
