#include "sqlsim/engine/execution.h"

#include "sqlsim/engine/faults.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/row_source.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/temp_tables.h"

namespace sqlsim {
namespace {

bool AnyOutput(const std::vector<ParamValue>& params) {
  for (const ParamValue& p : params) {
    if (p.output) return true;
  }
  return false;
}

// The frame the statements of a batch run in.
void EnterBatch(PreparedBatchImpl& batch, const std::vector<ParamValue>* params,
                std::vector<std::optional<Value>>* outputs, Frame* frame) {
  frame->scope = &batch.scope();
  frame->cache = &batch.cache();
  frame->batch_params = params;
  frame->batch_outputs = outputs;
  frame->batch_text = &batch.Text();
  batch.session().ForgetCancel();
  batch.session().NoteTransactionEndedBySqlite();
  // The table variables of the batch before this one.
  DropTableVariables(batch.session(), 0);
}

[[gnu::cold]] Result FailedResult(Diagnostic diagnostic) {
  Result result;
  result.failed = true;
  result.messages.push_back(std::move(diagnostic));
  return result;
}

// A cancel that arrived while a statement ran is what the client hears of
// it; the batch ends there.
[[gnu::cold]] void ReportCancel(std::optional<Result>* result) {
  if (!*result) *result = FailedResult(CanceledDiagnostic());
  for (Diagnostic& d : (*result)->messages) {
    if (d.sqlstate == "HYT00") d = CanceledDiagnostic();
  }
}

// The faults the tests set on a statement: a failure in place of running
// it, or a message that goes with its result (into *pending).
std::optional<Result> StatementFault(const CompiledStatement& statement, Diagnostics* pending) {
  if (statement.kind == CompiledStatement::Kind::kFault) return std::nullopt;
  if (auto fault = TakeFault(FaultRule::Kind::kExecute, statement.source)) return FailedResult(*fault);
  if (auto info = TakeFault(FaultRule::Kind::kInfo, statement.source)) pending->push_back(*info);
  return std::nullopt;
}

// Makes a SELECT of the batch ready to read: prepared on the current
// catalog, its markers bound, its columns described.
bool PrepareSelect(PreparedBatchImpl& batch, CompiledStatement& statement, Interpreter& interpreter,
                   Frame& frame, Diagnostics* diags) {
  statement.scope = &batch.scope();
  if (!batch.EnsurePrepared(statement, diags) || !interpreter.Bind(statement, frame, diags)) return false;
  if (!statement.described_valid) {
    statement.described = std::make_shared<const std::vector<ColumnDesc>>(
        DescribeColumns(batch.session(), statement.prepared.get(), statement.columns));
    statement.described_valid = true;
  }
  return true;
}

}  // namespace

bool AbortsBatch(int32_t number) {
  switch (number) {
    case 245: case 241: case 8114: case 911: case 4060: case 1222: case 208:
      return true;
    default:
      return false;
  }
}

ExecutionImpl::ExecutionImpl(PreparedBatchImpl& batch, std::vector<ParamValue> params)
    : batch_(batch),
      params_(std::move(params)),
      outputs_(AnyOutput(params_) ? params_.size() : 0),
      interpreter_(batch.session(), &queued_) {
  EnterBatch(batch_, &params_, &outputs_, &frame_);
}

std::optional<Result> ExecutionImpl::TakeQueued() {
  Result result = std::move(queued_[queued_next_++]);
  if (queued_next_ == queued_.size()) {
    queued_.clear();
    queued_next_ = 0;
  }
  result.messages.insert(result.messages.begin(), pending_.begin(), pending_.end());
  pending_.clear();
  return result;
}

namespace {

// The time limit counts while the server works, not while the client reads.
class DeadlineScope {
 public:
  explicit DeadlineScope(SessionImpl& session) : session_(session) { session_.StartDeadline(); }
  ~DeadlineScope() { session_.StopDeadline(); }
  DeadlineScope(const DeadlineScope&) = delete;
  DeadlineScope& operator=(const DeadlineScope&) = delete;

 private:
  SessionImpl& session_;
};

}  // namespace

std::optional<Result> ExecutionImpl::NextResult() {
  DeadlineScope deadline(batch_.session());
  auto& statements = batch_.statements();
  if (batch_aborted_ && *batch_aborted_) done_ = true;
  for (;;) {
    if (queued_next_ < queued_.size()) return TakeQueued();
    if (done_ || next_ >= statements.size()) break;
    CompiledStatement& statement = statements[next_++];
    if (last_read_) {
      // The SELECT the client read before this statement sets @@ROWCOUNT.
      batch_.session().globals().row_count = last_read_->rows;
      batch_.session().globals().error = last_read_->error;
      last_read_.reset();
    }
    std::optional<Result> result = Run(statement);
    if (batch_.session().Canceled()) {
      // The client stopped the batch: what the time limit reported is the
      // cancel, and nothing after it runs.
      done_ = true;
      ReportCancel(&result);
    }
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

Result ExecutionImpl::Failed(Diagnostic diagnostic) { return FailedResult(std::move(diagnostic)); }

Result ExecutionImpl::Failed(Diagnostics diagnostics) {
  Result result;
  result.failed = true;
  result.messages = std::move(diagnostics);
  return result;
}

bool IsPlainSelect(const CompiledStatement& statement) {
  if (statement.kind != CompiledStatement::Kind::kSqlite || !statement.node) return false;
  const auto* select = std::get_if<ast::Select>(&statement.node->body);
  if (!select || !select->into.name.empty()) return false;
  for (const ast::SelectItem& item : select->items) {
    if (!item.assign_to.empty()) return false;
  }
  return true;
}

std::optional<Result> ExecutionImpl::Run(CompiledStatement& statement) {
  if (std::optional<Result> fault = StatementFault(statement, &pending_)) return fault;
  if (statement.kind == CompiledStatement::Kind::kFailure) return Failed(*statement.failure);
  if (IsPlainSelect(statement)) return RunSelect(statement);
  if (!statement.node) return std::nullopt;
  Flow flow = interpreter_.Run(*statement.node, frame_);
  if (flow == Flow::kAbort || flow == Flow::kReturn) done_ = true;
  return std::nullopt;
}

std::optional<Result> ExecutionImpl::RunSelect(CompiledStatement& statement) {
  SessionImpl& session = batch_.session();
  Diagnostics diags;
  if (!PrepareSelect(batch_, statement, interpreter_, frame_, &diags)) return Failed(std::move(diags));
  sqlite3_stmt* stmt = statement.prepared.get();
  // What reading the rows did matters only to the statements after it.
  if (next_ < batch_.statements().size()) {
    if (!batch_aborted_) batch_aborted_ = std::make_shared<bool>(false);
    last_read_ = std::make_shared<ReadOutcome>();
  }
  Result result;
  result.rows = std::make_unique<SqliteRowSource>(stmt, statement.described, batch_aborted_, &session, last_read_);
  return result;
}

Result RunSingleSelect(PreparedBatchImpl& batch, const std::vector<ParamValue>& params) {
  SessionImpl& session = batch.session();
  Frame& frame = batch.single_select_frame();
  EnterBatch(batch, &params, nullptr, &frame);
  DeadlineScope deadline(session);
  CompiledStatement& statement = batch.statements().front();
  Diagnostics pending;
  std::optional<Result> result = StatementFault(statement, &pending);
  if (!result) {
    Diagnostics diags;
    if (PrepareSelect(batch, statement, batch.single_select_interpreter(), frame, &diags)) {
      result.emplace();
      // Nothing runs after it: neither @@ROWCOUNT nor an abort to pass on.
      result->rows = std::make_unique<SqliteRowSource>(statement.prepared.get(), statement.described, nullptr,
                                                       &session, nullptr);
    } else {
      // Every message of a failing SELECT reaches the client (207, then 4413).
      result.emplace();
      result->failed = true;
      result->messages = std::move(diags);
    }
  }
  frame.batch_params = nullptr;  // the values are this call's
  if (session.Canceled()) ReportCancel(&result);
  if (!pending.empty()) result->messages.insert(result->messages.begin(), pending.begin(), pending.end());
  return std::move(*result);
}

}  // namespace sqlsim
