// Running a prepared batch: statement after statement, stopping at each
// result for the client to read.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "sqlsim/engine/compiled.h"
#include "sqlsim/engine/engine.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/row_source.h"

namespace sqlsim {

class PreparedBatchImpl;

class ExecutionImpl : public Execution {
 public:
  ExecutionImpl(PreparedBatchImpl& batch, std::vector<ParamValue> params);
  std::optional<Result> NextResult() override;
  void Cancel() override { done_ = true; }
  const std::vector<std::optional<Value>>& OutputValues() const override { return outputs_; }

 private:
  // The result of one statement, or nullopt when it sent nothing to the
  // client (its messages wait in pending_ for the next result).
  std::optional<Result> Run(CompiledStatement& statement);
  // A SELECT of the batch itself, read as the client fetches.
  std::optional<Result> RunSelect(CompiledStatement& statement);
  [[gnu::cold]] Result Failed(Diagnostic diagnostic);
  [[gnu::cold]] Result Failed(Diagnostics diagnostics);
  std::optional<Result> TakeQueued();

  PreparedBatchImpl& batch_;
  std::vector<ParamValue> params_;
  std::vector<std::optional<Value>> outputs_;
  size_t next_ = 0;
  bool done_ = false;
  // Set by the row sources of this execution (see SqliteRowSource); made
  // only for a SELECT that has statements after it.
  std::shared_ptr<bool> batch_aborted_;
  Diagnostics pending_;
  // Results of statements run by the interpreter, waiting for the client
  // from queued_next_ on. A vector, unlike a deque, allocates nothing for
  // the batches (most) that queue nothing.
  std::vector<Result> queued_;
  size_t queued_next_ = 0;
  Interpreter interpreter_;
  Frame frame_;
  std::shared_ptr<ReadOutcome> last_read_;  // of the SELECT read last
};

// Errors after which SQL Server runs nothing more of the batch.
bool AbortsBatch(int32_t number);

// A SELECT whose rows go to the client (no INTO, no assignments).
bool IsPlainSelect(const CompiledStatement& statement);

// Runs a batch of one such SELECT as an execution would run it to its first
// result, without the state an execution keeps for statements after it.
Result RunSingleSelect(PreparedBatchImpl& batch, const std::vector<ParamValue>& params);

}  // namespace sqlsim
