// Arrays of parameter sets. Each set runs the prepared batch once, after
// the one before has sent all its results; a set that fails does not stop
// the others. Row counts add up (SQL_PARC_NO_BATCH); every row set of every
// set is a result of its own (SQL_PAS_BATCH).
#include <algorithm>

#include "sqlsim/odbc/execute.h"
#include "sqlsim/odbc/param_sets.h"

namespace sqlsim::odbc {

namespace {

void SetStatus(Stmt& s, SQLULEN set, SQLUSMALLINT status) {
  if (s.attrs.param_status) s.attrs.param_status[set] = status;
}

// Lowers the current set's status to `status` if that is worse.
void Mark(Stmt& s, SQLUSMALLINT status) {
  ParamSetRun& run = s.sets;
  if (run.status == SQL_PARAM_ERROR) return;
  if (status == SQL_PARAM_ERROR || run.status == SQL_PARAM_SUCCESS) run.status = status;
  SetStatus(s, run.current, run.status);
}

// The sets that waited for a shared transaction now lost are failed.
void FailUncommitted(Stmt& s) {
  for (auto [set, rows] : s.sets.uncommitted) {
    SetStatus(s, set, SQL_PARAM_ERROR);
    ++s.sets.failed;
    s.sets.rows -= rows;
    s.diags.AddDriver("HY000", "The transaction of the parameter sets was rolled back", static_cast<SQLLEN>(set + 1));
  }
  if (!s.sets.uncommitted.empty()) s.sets.errors = true;
  s.sets.uncommitted.clear();
}

void EndSet(Stmt& s) {
  ParamSetRun& run = s.sets;
  if (run.status == SQL_PARAM_ERROR) ++run.failed;
  if (!run.shared) return;
  Session& session = *s.dbc->session;
  if (!session.TransactionOpen() && (session.InTransaction() || !run.uncommitted.empty())) {
    // An I/O error made SQLite roll back what the earlier sets did; the
    // sets to come share a new transaction.
    Diagnostics ignored;
    session.EndTransaction(false, &ignored);
    FailUncommitted(s);
  }
  if (run.status != SQL_PARAM_ERROR) {
    run.uncommitted.emplace_back(run.current, std::max<SQLLEN>(run.rows, 0) - run.rows_before);
  }
}

bool Ignored(const Stmt& s, SQLULEN set) {
  return s.attrs.param_operation && s.attrs.param_operation[set] == SQL_PARAM_IGNORE;
}

// The parameters of the sets to run whose data the application sends at
// execution, set by set.
std::vector<DataAtExec::Slot> AtExecution(const Stmt& s) {
  std::vector<DataAtExec::Slot> pending;
  auto count = static_cast<SQLUSMALLINT>(s.batch->ParameterCount());
  for (SQLULEN set = 0; set < s.attrs.paramset_size; ++set) {
    if (Ignored(s, set)) continue;
    for (auto it = s.params.begin(); it != s.params.end() && it->first <= count; ++it) {
      if (BindingAtSet(s, it->second, set).AtExecution()) pending.push_back({set, it->first});
    }
  }
  return pending;
}

// A set's data at execution is not needed once its values are read.
void DropSetData(Stmt& s, SQLULEN set) {
  auto& data = s.dae.data;
  data.erase(data.lower_bound({set, 0}), data.lower_bound({set + 1, 0}));
}

// Starts the next set that is not ignored; false when none is left.
bool StartNextSet(Stmt& s) {
  ParamSetRun& run = s.sets;
  while (run.next < run.size) {
    SQLULEN set = run.next++;
    run.current = set;
    if (s.attrs.params_processed) *s.attrs.params_processed = set + 1;
    if (Ignored(s, set)) continue;
    ++run.run;
    run.rows_before = std::max<SQLLEN>(run.rows, 0);
    run.status = SQL_PARAM_SUCCESS;
    SetStatus(s, set, SQL_PARAM_SUCCESS);
    std::vector<ParamValue> values;
    bool gathered = GatherParams(s, set, static_cast<SQLLEN>(set + 1), &values);
    DropSetData(s, set);
    if (!gathered) {
      Mark(s, SQL_PARAM_ERROR);
      run.errors = true;
      EndSet(s);
      continue;
    }
    s.execution = s.batch->Execute(std::move(values));
    return true;
  }
  return false;
}

SQLRETURN EndArray(Stmt& s, bool first) {
  ParamSetRun& run = s.sets;
  run.active = false;
  s.row_count = run.rows;
  s.diags.row_count = run.rows;
  bool errors = run.errors;
  bool messages = run.messages;
  if (first) {
    if (run.run > 0 && run.failed == run.run) return SQL_ERROR;
    return errors || messages ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
  }
  if (errors) return SQL_ERROR;
  return messages ? SQL_SUCCESS_WITH_INFO : SQL_NO_DATA;
}

// A result of the current set: true when it is one the application sees
// now (a row set), with *rc set.
bool TakeResult(Stmt& s, Result& r, SQLRETURN* rc) {
  ParamSetRun& run = s.sets;
  auto row = static_cast<SQLLEN>(run.current + 1);
  bool error = s.diags.AddServer(r.messages, row);
  if (!r.messages.empty()) {
    run.messages = true;
    Mark(s, SQL_PARAM_SUCCESS_WITH_INFO);
  }
  if (error || r.failed) {
    run.errors = true;
    Mark(s, SQL_PARAM_ERROR);
  }
  if (r.rows) {
    *rc = OpenRows(s, std::move(r.rows), row);
    if (*rc == SQL_ERROR) Mark(s, SQL_PARAM_ERROR);
    if (*rc == SQL_SUCCESS && (run.errors || run.messages)) *rc = SQL_SUCCESS_WITH_INFO;
    run.errors = run.messages = false;
    return true;
  }
  bool hidden = r.in_procedure && s.odbc_version() == kOdbc2;
  if (r.row_count >= 0 && !hidden) run.rows = (run.rows < 0 ? 0 : run.rows) + r.row_count;
  return false;
}

// Under autocommit each set commits on its own. A plain INSERT of markers
// into a table without triggers gives the same outcome, set by set, when
// the sets share one commit, which saves a commit per row.
bool SharesTransaction(Stmt& s) {
  Session& session = *s.dbc->session;
  return s.dbc->autocommit && !session.InTransaction() && s.batch->SetsMayShareTransaction();
}

// Autocommit off for the time of the sets; back on (committing) however
// the run ends.
class SharedCommit {
 public:
  explicit SharedCommit(Session& session) : session_(session) { ok_ = session_.SetAutocommit(false, &diags_); }
  ~SharedCommit() {
    if (ok_) session_.SetAutocommit(true, &diags_);
  }
  SharedCommit(const SharedCommit&) = delete;
  SharedCommit& operator=(const SharedCommit&) = delete;

  bool started() const { return ok_; }
  // Commits; false with the server's diagnostics on failure, the sets'
  // work rolled back and autocommit on again all the same.
  bool Commit(Diagnostics* diags) {
    ok_ = false;
    bool committed = session_.SetAutocommit(true, &diags_);
    *diags = diags_;
    if (!committed) {
      Diagnostics ignored;
      session_.EndTransaction(false, &ignored);
      session_.SetAutocommit(true, &ignored);
    }
    return committed;
  }
  const Diagnostics& diags() const { return diags_; }

 private:
  Session& session_;
  Diagnostics diags_;
  bool ok_ = false;
};

SQLRETURN RunInOneTransaction(Stmt& s) {
  SharedCommit commit(*s.dbc->session);
  if (!commit.started()) {
    s.diags.AddServer(commit.diags());
    return SQL_ERROR;
  }
  s.sets.shared = true;
  SQLRETURN rc = NextArrayResult(s, true);
  while (s.sets.active) NextArrayResult(s, false);  // REQUIRES: no row sets
  Diagnostics diags;
  bool committed = commit.Commit(&diags);
  if (!committed) {
    s.diags.AddServer(diags);
    FailUncommitted(s);
    s.row_count = s.diags.row_count = s.sets.rows;
  }
  s.sets.uncommitted.clear();
  if (s.sets.run > 0 && s.sets.failed == s.sets.run) return SQL_ERROR;
  if (!committed) return SQL_SUCCESS_WITH_INFO;
  return rc;
}

}  // namespace

SQLRETURN ExecuteArray(Stmt& s) {
  s.CloseResults();
  s.row_count = -1;
  s.dae = DataAtExec{};
  s.dae.pending = AtExecution(s);
  if (!s.dae.pending.empty()) {
    s.dae.array = true;
    s.state = StmtState::kNeedData;
    return SQL_NEED_DATA;
  }
  return RunArray(s);
}

SQLRETURN RunArray(Stmt& s) {
  if (s.attrs.params_processed) *s.attrs.params_processed = 0;
  for (SQLULEN set = 0; set < s.attrs.paramset_size; ++set) SetStatus(s, set, SQL_PARAM_UNUSED);
  s.sets = ParamSetRun{};
  s.sets.active = true;
  s.sets.size = s.attrs.paramset_size;
  s.state = StmtState::kExecuted;
  SQLRETURN rc = SharesTransaction(s) ? RunInOneTransaction(s) : NextArrayResult(s, true);
  if (!s.sets.active) s.dae = DataAtExec{};
  if (rc == SQL_ERROR && !s.cursor) s.ReturnToPrepared();
  return rc;
}

SQLRETURN NextArrayResult(Stmt& s, bool first) {
  ParamSetRun& run = s.sets;
  for (;;) {
    if (!s.execution) {
      if (StartNextSet(s)) continue;
      return EndArray(s, first);
    }
    std::optional<Result> r = s.execution->NextResult();
    if (r) {
      SQLRETURN rc = SQL_SUCCESS;
      if (TakeResult(s, *r, &rc)) return rc;
      continue;
    }
    SQLRETURN delivered = DeliverOutputs(s, *s.execution, run.current, static_cast<SQLLEN>(run.current + 1));
    s.execution.reset();
    if (delivered == SQL_ERROR) {
      run.errors = true;
      Mark(s, SQL_PARAM_ERROR);
    } else if (delivered == SQL_SUCCESS_WITH_INFO) {
      run.messages = true;
      Mark(s, SQL_PARAM_SUCCESS_WITH_INFO);
    }
    EndSet(s);
  }
}

}  // namespace sqlsim::odbc
