// MERGE: its plan is read in full before any row changes, then deletes,
// updates and inserts are made row by row (each statement returning the
// row it wrote), its OUTPUT sent and the target's triggers fired once per
// action the statement names; all of it succeeds or fails as one.
#include <map>

#include "sqlsim/engine/identity.h"
#include "sqlsim/engine/merge.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/row_source.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/sqlite_errors.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

using When = ast::MergeClause::When;
using Action = ast::MergeClause::Action;

// Purposes of the compiled forms: the plan, then one per clause.
constexpr int kPlanPurpose = 0;
constexpr int kRowChangePurpose = 1;

// The action number triggers and captures use.
int TriggerAction(Action action) {
  switch (action) {
    case Action::kInsert: return 0;
    case Action::kUpdate: return 1;
    case Action::kDelete: return 2;
  }
  return 1;
}

bool NamesAction(const ast::Merge& merge, int action) {
  for (const ast::MergeClause& clause : merge.clauses) {
    if (TriggerAction(clause.action) == action) return true;
  }
  return false;
}

bool HasTriggerFor(Catalog& catalog, const CatalogTable& table, int action) {
  for (const CatalogModule& trigger : catalog.TriggersOf(table.id)) {
    if ((action == 0 && trigger.on_insert) || (action == 1 && trigger.on_update) ||
        (action == 2 && trigger.on_delete)) {
      return true;
    }
  }
  return false;
}

Diagnostic MatchedTwice() {
  return ServerError(8672,
                     "The MERGE statement attempted to UPDATE or DELETE the same row more than once. This happens "
                     "when a target row matches more than one source row. A MERGE statement cannot UPDATE/DELETE the "
                     "same row of the target table multiple times. Refine the ON clause to ensure a target row "
                     "matches at most one source row, or use the GROUP BY clause to group the source rows.");
}

}  // namespace

class MergeRunner {
 public:
  MergeRunner(Interpreter& interpreter, const ast::Statement& s, const ast::Merge& merge, Frame& frame)
      : in_(interpreter), session_(interpreter.session_), s_(s), merge_(merge), frame_(frame) {}

  Flow Run() {
    Diagnostics diags;
    CompiledStatement& plan = frame_.cache->Get(&s_, kPlanPurpose, frame_.scope);
    plan.node = &s_;
    if (!TranslateWith(session_, plan, [&](Translator& t) { t.MergePlan(merge_); }, &diags) ||
        !TranslateChanges(&diags)) {
      return in_.Failed(diags, frame_);
    }
    const CatalogTable* table = session_.catalog().FindTable(plan.target_table);
    if (!table) return in_.Failed({ServerError(208, "Invalid object name '" + plan.target_table + "'.")}, frame_);
    if (merge_.output && (table->xtype != "U" || table->name[0] == '#' || table->name[0] == '@')) {
      return in_.Failed({ServerError(50000, "OUTPUT is offered on changes of permanent tables only.")}, frame_);
    }
    if (!CheckIdentityInsert(session_, plan, *table, &diags)) return in_.Failed(diags, frame_);
    bool opened_own = false;
    if (!session_.BeginStatement(true, &opened_own, &diags)) return in_.Failed(diags, frame_);
    savepoint_ = session_.NewStatementSavePoint();
    if (!session_.Exec(("SAVEPOINT " + savepoint_.name).c_str(), &diags)) {
      session_.EndStatementSavePoint(savepoint_, false, &diags);
      session_.EndStatement(opened_own, false, &diags);
      return in_.Failed(diags, frame_);
    }
    const std::string name = table->name;
    bool ok = Change(plan, *table, &diags);
    if (ok && merge_.output) {
      ok = FillMergeOutputRows(session_, *table, rows_, &diags) &&
           in_.SendOutput(*table, *merge_.output, plan, frame_, &diags);
    }
    Flow trigger_flow = ok ? FireTriggers(plan, name, &diags) : Flow::kNext;
    if (trigger_flow != Flow::kNext) ok = false;
    return Finish(ok, opened_own, trigger_flow, std::move(diags));
  }

 private:
  bool TranslateChanges(Diagnostics* diags) {
    changes_.clear();
    for (size_t i = 0; i < merge_.clauses.size(); ++i) {
      CompiledStatement& change =
          frame_.cache->Get(&merge_.clauses[i], kRowChangePurpose, frame_.scope);
      if (!TranslateWith(session_, change, [&](Translator& t) { t.MergeRowChange(merge_, i); }, diags) ||
          !in_.Prepare(change, diags)) {
        return false;
      }
      changes_.push_back(&change);
    }
    return true;
  }

  bool Change(CompiledStatement& plan, const CatalogTable& table, Diagnostics* diags) {
    std::vector<RowValues> pairs;
    if (!ReadPlan(plan, &pairs, diags) || !MatchedOnce(pairs, diags)) return false;
    for (Action action : {Action::kDelete, Action::kUpdate, Action::kInsert}) {
      for (const RowValues& pair : pairs) {
        if (pair[kMergeClause].kind != Value::Kind::kInteger) continue;
        size_t index = static_cast<size_t>(pair[kMergeClause].integer);
        if (index >= merge_.clauses.size() || merge_.clauses[index].action != action) continue;
        if (!ChangeRow(index, pair, table.columns.size(), diags)) return false;
      }
    }
    if (!rows_.inserted[0].empty()) NoteIdentity(session_, frame_, table);
    return true;
  }

  bool ReadPlan(CompiledStatement& plan, std::vector<RowValues>* pairs, Diagnostics* diags) {
    if (!in_.Prepare(plan, diags) || !in_.Bind(plan, frame_, diags)) return false;
    sqlite3_stmt* stmt = plan.prepared.get();
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      RowValues row;
      for (int i = 0; i < sqlite3_column_count(stmt); ++i) row.push_back(ReadColumn(stmt, i));
      pairs->push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) diags->push_back(DiagnosticFromSqlite(session_.db(), rc));
    sqlite3_reset(stmt);
    return rc == SQLITE_DONE;
  }

  // A target row may be updated or deleted once only (8672).
  bool MatchedOnce(const std::vector<RowValues>& pairs, Diagnostics* diags) {
    std::map<int64_t, int> seen;
    for (const RowValues& pair : pairs) {
      if (pair[kMergeClause].kind != Value::Kind::kInteger) continue;
      if (merge_.clauses.at(static_cast<size_t>(pair[kMergeClause].integer)).when != When::kMatched) continue;
      if (++seen[pair[kMergeTargetRowid].integer] > 1) {
        diags->push_back(MatchedTwice());
        return false;
      }
    }
    return true;
  }

  bool ChangeRow(size_t index, const RowValues& pair, size_t columns, Diagnostics* diags) {
    const ast::MergeClause& clause = merge_.clauses[index];
    sqlite3_stmt* stmt = changes_[index]->prepared.get();
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    int marker = 1;
    const size_t first = MergeValueColumn(merge_, index, columns);
    for (size_t v = 0; v < MergeValueCount(clause); ++v) BindValue(stmt, marker++, pair[first + v]);
    if (clause.action != Action::kInsert) BindValue(stmt, marker, pair[kMergeTargetRowid]);
    RowValues written;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      for (size_t i = 0; i < columns; ++i) written.push_back(ReadColumn(stmt, static_cast<int>(i)));
    }
    if (rc != SQLITE_DONE) diags->push_back(DiagnosticFromSqlite(session_.db(), rc));
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) return false;
    RowValues before(pair.begin() + kMergeOldRow, pair.begin() + static_cast<long>(kMergeOldRow + columns));
    int action = TriggerAction(clause.action);
    if (clause.action != Action::kDelete) rows_.inserted[action].push_back(std::move(written));
    if (clause.action != Action::kInsert) rows_.deleted[action].push_back(std::move(before));
    return true;
  }

  Flow FireTriggers(CompiledStatement& plan, const std::string& name, Diagnostics* diags) {
    for (int action = 0; action < 3; ++action) {
      // A trigger may have changed the catalog: the table is looked up anew.
      const CatalogTable* table = session_.catalog().FindTable(name);
      if (!table || !NamesAction(merge_, action) || !HasTriggerFor(session_.catalog(), *table, action)) continue;
      if (!FillMergeCaptures(session_, *table, rows_, action, diags)) return Flow::kAbort;
      int64_t count = static_cast<int64_t>(action == 2 ? rows_.deleted[2].size() : rows_.inserted[action].size());
      Flow flow = in_.FireTriggers(*table, plan, frame_, action, count);
      if (flow != Flow::kNext) return flow;
    }
    return Flow::kNext;
  }

  Flow Finish(bool ok, bool opened_own, Flow trigger_flow, Diagnostics diags) {
    if (trigger_flow == Flow::kTransactionEnded) {
      session_.ForgetTempObjects();
      return Flow::kAbort;
    }
    ok = EndDataChange(session_, &savepoint_, opened_own, ok, &diags);
    if (!ok) return Failure(trigger_flow, std::move(diags));
    const int64_t count = rows_.Count();
    in_.SetRowCount(count);
    session_.globals().error = 0;
    if (!session_.nocount()) {
      Result result;
      result.row_count = count;
      result.in_procedure = frame_.in_procedure;
      in_.Emit(std::move(result));
    }
    return Flow::kNext;
  }

  Flow Failure(Flow trigger_flow, Diagnostics diags) {
    // A trigger's error was reported (or caught) where it happened.
    if (trigger_flow == Flow::kCaught) {
      session_.globals().error = in_.last_error_.native;
      if (frame_.try_depth > 0) {
        frame_.catching.push_back({in_.last_error_, true, frame_.module_name});
        return Flow::kCaught;
      }
    }
    if (trigger_flow != Flow::kNext && diags.empty()) return Flow::kAbort;
    return in_.Failed(std::move(diags), frame_);
  }

  Interpreter& in_;
  SessionImpl& session_;
  const ast::Statement& s_;
  const ast::Merge& merge_;
  Frame& frame_;
  std::vector<CompiledStatement*> changes_;
  MergeRows rows_;
  SessionImpl::StatementSavePoint savepoint_;
};

Flow Interpreter::RunMerge(const ast::Statement& s, const ast::Merge& merge, Frame& frame) {
  return MergeRunner(*this, s, merge, frame).Run();
}

}  // namespace sqlsim
