// A batch prepared on a session, and its executions.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/engine/compiled.h"
#include "sqlsim/engine/engine.h"
#include "sqlsim/engine/procedural.h"

namespace sqlsim {

class SessionImpl;

class PreparedBatchImpl : public PreparedBatch {
 public:
  PreparedBatchImpl(SessionImpl& session, std::string text);
  ~PreparedBatchImpl() override;

  int32_t ParameterCount() const override { return parameter_count_; }
  const std::vector<ColumnDesc>& FirstResultColumns() const override;
  const std::string& Text() const override { return text_; }
  std::vector<ColumnDesc> ParameterTypes() override;
  bool SetsMayShareTransaction() override;
  std::unique_ptr<Execution> Execute(std::vector<ParamValue> params) override;
  bool IsSingleSelect() const override { return single_select_; }
  Result ExecuteSingleSelect(const std::vector<ParamValue>& params) override;
  // Set once the statements are compiled.
  void set_single_select(bool single) { single_select_ = single; }
  // The frame a batch of one SELECT binds its markers in: binding only
  // reads it, so it is kept from one execute to the next.
  Frame& single_select_frame() { return single_select_frame_; }
  // And the interpreter that binds them, which binding leaves as it was.
  Interpreter& single_select_interpreter() { return single_select_interpreter_; }

  SessionImpl& session() { return session_; }
  std::vector<CompiledStatement>& statements() { return statements_; }
  void set_parameter_count(int32_t n) { parameter_count_ = n; }
  ast::Batch& tree() { return tree_; }
  // The batch's variables, and the compiled forms of its statements as the
  // interpreter runs them.
  ProgramScope& scope() { return scope_; }
  StatementCache& cache() { return cache_; }

  // Makes the SQLite statement of a compiled statement if it is missing or
  // was made on another database. False with a diagnostic on failure.
  bool EnsurePrepared(CompiledStatement& statement, Diagnostics* diags);

 private:
  SessionImpl& session_;
  std::string text_;
  ast::Batch tree_;
  std::vector<CompiledStatement> statements_;
  ProgramScope scope_;
  StatementCache cache_;
  int32_t parameter_count_ = 0;
  bool single_select_ = false;
  Frame single_select_frame_;
  Interpreter single_select_interpreter_;
  mutable std::vector<ColumnDesc> first_columns_;
  mutable bool first_columns_known_ = false;
};

// Parses and compiles text into a prepared batch. Null with diagnostics for
// a batch that does not parse.
std::unique_ptr<PreparedBatch> PrepareBatch(SessionImpl& session, std::string_view text,
                                            Diagnostics* diags);

// The result columns of a prepared SQLite statement, typed from the catalog
// where they come straight from a table column.
std::vector<ColumnDesc> DescribeColumns(SessionImpl& session, sqlite3_stmt* stmt,
                                        const std::vector<ColumnDesc>& known);

// Fills type, length and nullability of a column that comes straight from
// a table column known to the catalog. False when the catalog does not know it.
bool DescribeFromCatalog(SessionImpl& session, const char* table, const char* column,
                         ColumnDesc* out);

// Functions, collation and system tables on a newly opened database.
bool RegisterServerFeatures(sqlite3* db, Diagnostics* diags);

}  // namespace sqlsim
