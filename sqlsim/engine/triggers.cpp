// Data changes and the triggers they fire. SQLite's own row triggers
// (temporary, per connection) copy the rows a statement inserts, updates
// or deletes into capture tables; after the statement each Transact-SQL
// trigger of the table runs once, its INSERTED and DELETED tables filled
// from those captures. The statement and its triggers succeed or fail as
// one.
#include <optional>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/identity.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/sqlite_errors.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

enum class Action { kInsert, kUpdate, kDelete };

Action ActionOf(const CompiledStatement& c) {
  if (c.node && std::holds_alternative<ast::Insert>(c.node->body)) return Action::kInsert;
  if (c.node && std::holds_alternative<ast::Delete>(c.node->body)) return Action::kDelete;
  return Action::kUpdate;
}

bool Fires(const CatalogModule& trigger, Action action) {
  switch (action) {
    case Action::kInsert: return trigger.on_insert;
    case Action::kUpdate: return trigger.on_update;
    case Action::kDelete: return trigger.on_delete;
  }
  return false;
}

std::string CaptureName(const std::string& table, bool new_rows) {
  return QuoteName(std::string(new_rows ? "sqlsim_new$" : "sqlsim_old$") + table);
}

std::string ColumnList(const CatalogTable& table, const char* prefix) {
  std::string sql;
  for (size_t i = 0; i < table.columns.size(); ++i) {
    sql += (i ? ", " : "") + std::string(prefix) + QuoteName(table.columns[i].name);
  }
  return sql;
}

std::string TableColumns(const CatalogTable& table) {
  std::string sql = "(";
  for (size_t i = 0; i < table.columns.size(); ++i) {
    sql += (i ? ", " : "") + QuoteName(table.columns[i].name) + " " + SqliteColumnType(table.columns[i].type);
  }
  return sql + ")";
}

std::string Signature(const CatalogTable& table) {
  std::string s = std::to_string(table.id);
  for (const CatalogColumn& c : table.columns) s += "," + c.name + ":" + std::to_string(static_cast<int>(c.type));
  return s;
}

const char* kActionWords[] = {"INSERT", "UPDATE", "DELETE"};

}  // namespace

std::string CaptureTable(const std::string& table, bool new_rows) { return "temp." + CaptureName(table, new_rows); }

std::string TriggerRowsTable(bool inserted, int32_t trigger_id) {
  return "temp." + QuoteName((inserted ? "sqlsim_inserted$" : "sqlsim_deleted$") + std::to_string(trigger_id));
}

// Makes the capture tables and SQLite triggers of a table for one action,
// again whenever the table's columns changed.
bool EnsureCapture(SessionImpl& session, const CatalogTable& table, int action, Diagnostics* diags) {
  CaptureState& state = session.captures()[table.name];
  std::string signature = Signature(table);
  if (state.signature != signature) {
    std::string drop;
    for (const char* word : kActionWords) {
      drop += "DROP TRIGGER IF EXISTS temp." + QuoteName(std::string("sqlsim_cap_") + word + "$" + table.name) + ";";
    }
    drop += "DROP TABLE IF EXISTS " + CaptureTable(table.name, true) + ";";
    drop += "DROP TABLE IF EXISTS " + CaptureTable(table.name, false) + ";";
    drop += "CREATE TABLE " + CaptureTable(table.name, true) + TableColumns(table) + ";";
    drop += "CREATE TABLE " + CaptureTable(table.name, false) + TableColumns(table) + ";";
    if (!session.Exec(drop.c_str(), diags)) return false;
    state = CaptureState{};
    state.signature = signature;
  }
  if (state.actions[action]) return true;
  std::string body;
  // Trigger bodies take no schema names; the capture tables are found in
  // temp, where the trigger itself lives.
  if (action != 2) body += "INSERT INTO " + CaptureName(table.name, true) + " VALUES (" + ColumnList(table, "NEW.") + ");";
  if (action != 0) body += "INSERT INTO " + CaptureName(table.name, false) + " VALUES (" + ColumnList(table, "OLD.") + ");";
  std::string sql = "CREATE TEMP TRIGGER " + QuoteName(std::string("sqlsim_cap_") + kActionWords[action] + "$" + table.name) +
                    " AFTER " + kActionWords[action] + " ON main." + QuoteName(table.name) + " BEGIN " + body + " END";
  if (!session.Exec(sql.c_str(), diags)) return false;
  state.actions[action] = true;
  return true;
}

void ReleaseCapture(SessionImpl& session, const CatalogTable& table, int action) {
  CaptureState& state = session.captures()[table.name];
  if (!state.actions[action]) return;
  Diagnostics ignored;
  std::string sql =
      "DROP TRIGGER IF EXISTS temp." + QuoteName(std::string("sqlsim_cap_") + kActionWords[action] + "$" + table.name);
  if (session.Exec(sql.c_str(), &ignored)) state.actions[action] = false;
}

// INSERTED and DELETED of one trigger, made once and refilled per firing
// (making tables anew would make every statement of the trigger prepare
// again).
bool FillTriggerRows(SessionImpl& session, const CatalogTable& table, int32_t trigger_id, Diagnostics* diags) {
  if (!ClearTriggerRows(session, table, trigger_id, diags)) return false;
  std::string sql;
  for (bool inserted : {true, false}) {
    sql += "INSERT INTO " + TriggerRowsTable(inserted, trigger_id) + " SELECT * FROM " +
           CaptureTable(table.name, inserted) + ";";
  }
  return session.Exec(sql.c_str(), diags);
}

bool ClearTriggerRows(SessionImpl& session, const CatalogTable& table, int32_t trigger_id, Diagnostics* diags) {
  std::string sql;
  std::string& made = session.captures()["$rows" + std::to_string(trigger_id)].signature;
  std::string signature = Signature(table);
  for (bool inserted : {true, false}) {
    std::string rows = TriggerRowsTable(inserted, trigger_id);
    if (made != signature) sql += "DROP TABLE IF EXISTS " + rows + "; CREATE TABLE " + rows + TableColumns(table) + ";";
    sql += "DELETE FROM " + rows + ";";
  }
  if (!session.Exec(sql.c_str(), diags)) return false;
  made = signature;
  return true;
}

Flow Interpreter::RunDml(CompiledStatement& c, Frame& frame) {
  Diagnostics diags;
  Catalog& catalog = session_.catalog();
  const CatalogTable* table = c.target_table.empty() ? nullptr : catalog.FindTable(c.target_table);
  Action action = ActionOf(c);
  bool has_triggers = false;
  if (table) {
    for (const CatalogModule& trigger : catalog.TriggersOf(table->id)) has_triggers = has_triggers || Fires(trigger, action);
  }
  if (table && action == Action::kInsert && !CheckIdentityInsert(session_, c, *table, &diags)) {
    return Failed(diags, frame);
  }
  const ast::OutputClause* output = OutputClauseOf(c);
  if (output && (!table || table->xtype != "U" || table->name[0] == '#' || table->name[0] == '@')) {
    return Failed({ServerError(50000, "OUTPUT is offered on changes of permanent tables only.")}, frame);
  }
  bool captures = has_triggers || output;
  bool opened_own = false;
  if (!session_.BeginStatement(true, &opened_own, &diags)) return Failed(diags, frame);
  std::optional<SessionImpl::StatementSavePoint> savepoint;
  if (captures) {
    savepoint = session_.NewStatementSavePoint();
    std::string clear = "SAVEPOINT " + savepoint->name + "; DELETE FROM " + CaptureTable(table->name, true) +
                        "; DELETE FROM " + CaptureTable(table->name, false) + ";";
    if (!EnsureCapture(session_, *table, static_cast<int>(action), &diags) || !session_.Exec(clear.c_str(), &diags)) {
      session_.EndStatementSavePoint(*savepoint, false, &diags);
      session_.EndStatement(opened_own, false, &diags);
      return Failed(diags, frame);
    }
  }
  bool ok = Bind(c, frame, &diags);
  int64_t changes = 0;
  if (ok) {
    sqlite3_stmt* stmt = c.prepared.get();
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    ok = rc == SQLITE_DONE;
    if (!ok) diags.push_back(DiagnosticFromSqlite(session_.db(), rc));
    changes = sqlite3_changes64(session_.db());
    sqlite3_reset(stmt);
  }
  if (ok && table && action == Action::kInsert && changes > 0) NoteIdentity(session_, frame, *table);
  if (ok && output) ok = WriteOutput(*table, *output, c, frame, &diags);
  // Without triggers the capture is no longer wanted: it would copy the rows
  // of every later change.
  if (output && !has_triggers) ReleaseCapture(session_, *table, static_cast<int>(action));
  Flow trigger_flow = Flow::kNext;
  if (ok && has_triggers) {
    trigger_flow = FireTriggers(*catalog.FindTable(c.target_table), c, frame, static_cast<int>(action), changes);
    ok = trigger_flow == Flow::kNext;
  }
  if (trigger_flow == Flow::kTransactionEnded) {
    session_.ForgetTempObjects();
    return Flow::kAbort;
  }
  ok = EndDataChange(session_, savepoint ? &*savepoint : nullptr, opened_own, ok, &diags);
  if (!ok) {
    if (trigger_flow != Flow::kNext) {
      // The trigger's error was reported (or caught) where it happened.
      if (trigger_flow == Flow::kCaught) {
        session_.globals().error = last_error_.native;
        if (frame.try_depth > 0) {
          frame.catching.push_back({last_error_, true, frame.module_name});
          return Flow::kCaught;
        }
      }
      return Flow::kAbort;
    }
    return Failed(diags, frame);
  }
  SetRowCount(changes);
  session_.globals().error = 0;
  if (c.counts_rows && !session_.nocount()) {
    Result result;
    result.row_count = changes;
    result.in_procedure = frame.in_procedure;
    Emit(std::move(result));
  }
  return Flow::kNext;
}

namespace {

std::set<std::string> UpdatedColumns(const CompiledStatement& c, const CatalogTable& table, Action action) {
  std::set<std::string> columns;
  if (action == Action::kInsert) {
    for (const CatalogColumn& column : table.columns) columns.insert(ddl::FoldName(column.name));
  } else if (auto* update = std::get_if<ast::Update>(&c.node->body)) {
    for (const ast::Assignment& a : update->set) columns.insert(ddl::FoldName(a.column.back()));
  } else if (auto* merge = std::get_if<ast::Merge>(&c.node->body); merge && action == Action::kUpdate) {
    for (const ast::MergeClause& clause : merge->clauses) {
      for (const ast::Assignment& a : clause.set) columns.insert(ddl::FoldName(a.column.back()));
    }
  }
  return columns;
}

}  // namespace

Flow Interpreter::FireTriggers(const CatalogTable& table, CompiledStatement& c, Frame& frame, int action,
                               int64_t changes) {
  std::vector<CatalogModule> triggers = session_.catalog().TriggersOf(table.id);
  // Errors before a trigger's body runs are reported like errors in it.
  Frame probe;
  probe.try_depth = frame.try_depth;
  // Every trigger sees the statement's rows, not what an earlier trigger of
  // the same statement did to the table: all are filled before any runs.
  std::vector<std::pair<const CatalogModule*, CompiledModule*>> firing;
  for (const CatalogModule& trigger : triggers) {
    if (!Fires(trigger, static_cast<Action>(action)) || active_triggers_.count(trigger.id)) continue;
    Diagnostics diags;
    CompiledModule* module = session_.procedures().Find(trigger, &diags);
    if (!module) return Failed(diags, probe, true);
    if (session_.globals().nest_level >= kMaxModuleNesting) {
      return Failed({ServerError(217, "Maximum stored procedure, function, trigger, or view nesting level exceeded (limit 32).")},
                    probe, true);
    }
    if (!FillTriggerRows(session_, table, trigger.id, &diags)) return Failed(diags, probe, true);
    firing.emplace_back(&trigger, module);
  }
  for (auto [trigger_ptr, module] : firing) {
    const CatalogModule& trigger = *trigger_ptr;
    TriggerContext context;
    context.trigger_id = trigger.id;
    context.is_insert = action == static_cast<int>(Action::kInsert);
    context.updated_columns = UpdatedColumns(c, table, static_cast<Action>(action));
    context.row_count = changes;
    Frame inner;
    inner.scope = &module->scope;
    inner.cache = &module->cache;
    inner.trigger = &context;
    inner.in_procedure = true;
    inner.inside_trigger = true;
    inner.try_depth = frame.try_depth;
    inner.module_name = trigger.name;
    bool nocount = session_.nocount();
    active_triggers_.insert(trigger.id);
    ++session_.globals().nest_level;
    SetRowCount(changes);
    const uint64_t ended_before = session_.transactions_ended();
    Flow flow = RunList(module->node->body, inner);
    --session_.globals().nest_level;
    active_triggers_.erase(trigger.id);
    session_.set_nocount(nocount);
    if (flow == Flow::kCaught || flow == Flow::kAbort) return flow;
    if (session_.transactions_ended() != ended_before) {
      // ROLLBACK or COMMIT in the trigger ended the statement's transaction
      // (whatever the trigger began after it), and the batch ends.
      Emit(Result{nullptr, -1, {ServerError(3609, "The transaction ended in the trigger. The batch has been aborted.")}, true});
      return Flow::kTransactionEnded;
    }
  }
  return Flow::kNext;
}

}  // namespace sqlsim
