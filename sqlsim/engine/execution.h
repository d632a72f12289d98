// Running a prepared batch: statement after statement, stopping at each
// result for the client to read.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "sqlsim/engine/compiled.h"
#include "sqlsim/engine/engine.h"

namespace sqlsim {

class PreparedBatchImpl;

class ExecutionImpl : public Execution {
 public:
  ExecutionImpl(PreparedBatchImpl& batch, std::vector<ParamValue> params);
  std::optional<Result> NextResult() override;
  void Cancel() override { done_ = true; }

 private:
  // The result of one statement, or nullopt when it sent nothing to the
  // client (its messages wait in pending_ for the next result).
  std::optional<Result> Run(CompiledStatement& statement);
  std::optional<Result> RunSqlite(CompiledStatement& statement);
  std::optional<Result> RunCommand(CompiledStatement& statement);
  bool Bind(CompiledStatement& statement, Diagnostics* diags);
  Result Failed(Diagnostic diagnostic);

  PreparedBatchImpl& batch_;
  std::vector<ParamValue> params_;
  size_t next_ = 0;
  bool done_ = false;
  // Set by the row sources of this execution (see SqliteRowSource).
  std::shared_ptr<bool> batch_aborted_ = std::make_shared<bool>(false);
  Diagnostics pending_;
};

// Errors after which SQL Server runs nothing more of the batch.
bool AbortsBatch(int32_t number);

}  // namespace sqlsim
