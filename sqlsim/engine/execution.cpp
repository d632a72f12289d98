#include "sqlsim/engine/execution.h"

#include "sqlsim/engine/commands.h"
#include "sqlsim/engine/faults.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/row_source.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {

bool AbortsBatch(int32_t number) {
  switch (number) {
    case 245: case 241: case 8114: case 911: case 4060: case 1222:
      return true;
    default:
      return false;
  }
}

ExecutionImpl::ExecutionImpl(PreparedBatchImpl& batch, std::vector<ParamValue> params)
    : batch_(batch), params_(std::move(params)) {}

std::optional<Result> ExecutionImpl::NextResult() {
  auto& statements = batch_.statements();
  if (*batch_aborted_) done_ = true;
  while (!done_ && next_ < statements.size()) {
    CompiledStatement& statement = statements[next_++];
    std::optional<Result> result = Run(statement);
    if (!result) continue;
    for (const Diagnostic& d : result->messages) {
      if (IsError(d) && AbortsBatch(d.native)) done_ = true;
    }
    result->messages.insert(result->messages.begin(), pending_.begin(), pending_.end());
    pending_.clear();
    return result;
  }
  done_ = true;
  if (pending_.empty()) return std::nullopt;
  Result tail;
  tail.messages = std::move(pending_);
  pending_.clear();
  return tail;
}

namespace {

// After a constraint or truncation error the server adds that the statement
// was ended.
bool EndsWithTerminationNotice(int32_t number) {
  return number == 2627 || number == 2601 || number == 515 || number == 8152 || number == 547;
}

}  // namespace

Result ExecutionImpl::Failed(Diagnostic diagnostic) {
  Result result;
  result.failed = true;
  bool notice = EndsWithTerminationNotice(diagnostic.native);
  result.messages.push_back(std::move(diagnostic));
  if (notice) result.messages.push_back(ServerInfo(3621, "The statement has been terminated."));
  return result;
}

std::optional<Result> ExecutionImpl::Run(CompiledStatement& statement) {
  if (statement.kind != CompiledStatement::Kind::kFault) {
    if (auto fault = TakeFault(FaultRule::Kind::kExecute, statement.source)) {
      return Failed(*fault);
    }
    if (auto info = TakeFault(FaultRule::Kind::kInfo, statement.source)) {
      pending_.push_back(*info);
    }
  }
  switch (statement.kind) {
    case CompiledStatement::Kind::kSqlite:
      return RunSqlite(statement);
    case CompiledStatement::Kind::kFailure:
      return Failed(*statement.failure);
    default:
      return RunCommand(statement);
  }
}

bool ExecutionImpl::Bind(CompiledStatement& statement, Diagnostics* diags) {
  sqlite3_stmt* stmt = statement.prepared.get();
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  // Values are copied: a row source may be read after its execution is gone.
  for (size_t i = 0; i < statement.param_map.size(); ++i) {
    int32_t source = statement.param_map[i];
    if (source < 0 || static_cast<size_t>(source) >= params_.size()) {
      diags->push_back(ServerError(8178, "The parameterized query expects a parameter which was not supplied."));
      return false;
    }
    const Value& v = params_[source].value;
    int index = static_cast<int>(i + 1);
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
  return true;
}

std::optional<Result> ExecutionImpl::RunSqlite(CompiledStatement& statement) {
  SessionImpl& session = batch_.session();
  Diagnostics diags;
  if (!batch_.EnsurePrepared(statement, &diags) || !Bind(statement, &diags)) {
    return Failed(diags.front());
  }
  sqlite3_stmt* stmt = statement.prepared.get();
  if (sqlite3_column_count(stmt) > 0 && !statement.writes) {
    if (!statement.described_valid) {
      statement.described = std::make_shared<const std::vector<ColumnDesc>>(
          DescribeColumns(session, stmt, statement.columns));
      statement.described_valid = true;
    }
    Result result;
    result.rows = std::make_unique<SqliteRowSource>(stmt, statement.described, batch_aborted_);
    return result;
  }
  bool opened_own = false;
  if (!session.BeginStatement(statement.writes, &opened_own, &diags)) return Failed(diags.front());
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
  }
  bool ok = rc == SQLITE_DONE;
  Diagnostic error;
  if (!ok) error = DiagnosticFromSqlite(session.db(), rc);
  int64_t changes = sqlite3_changes64(session.db());
  sqlite3_reset(stmt);
  if (!session.EndStatement(opened_own, ok, &diags) && ok) return Failed(diags.front());
  if (!ok) return Failed(error);
  if (!statement.counts_rows || session.nocount()) return std::nullopt;
  Result result;
  result.row_count = changes;
  return result;
}

std::optional<Result> ExecutionImpl::RunCommand(CompiledStatement& statement) {
  Diagnostics diags;
  bool ok = RunServerCommand(batch_.session(), statement, params_, &diags);
  if (!ok) {
    Result result;
    result.failed = true;
    result.messages = std::move(diags);
    return result;
  }
  pending_.insert(pending_.end(), diags.begin(), diags.end());
  return std::nullopt;
}

}  // namespace sqlsim
