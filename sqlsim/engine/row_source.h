// The rows of a SQLite statement as a result set. The statement belongs to
// its prepared batch; the row source resets it when it is done with it.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <vector>

#include "sqlsim/engine/engine.h"

namespace sqlsim {

class SessionImpl;

// What a read of a batch's SELECT leaves for @@ROWCOUNT and @@ERROR.
struct ReadOutcome {
  int64_t rows = 0;
  int32_t error = 0;
};

class SqliteRowSource : public RowSource {
 public:
  // batch_aborted is set when reading a row hits an error after which the
  // server runs nothing more of the batch.
  SqliteRowSource(sqlite3_stmt* stmt, std::shared_ptr<const std::vector<ColumnDesc>> columns,
                  std::shared_ptr<bool> batch_aborted, SessionImpl* session = nullptr,
                  std::shared_ptr<ReadOutcome> outcome = nullptr);
  ~SqliteRowSource() override;
  const std::vector<ColumnDesc>& Columns() const override { return *columns_; }
  bool Next(Diagnostics* diags) override;
  const Value& Column(size_t index) const override { return values_[index]; }
  void TakeRow(std::vector<Value>* row) override;

 private:
  void Finish();
  sqlite3_stmt* stmt_;
  std::shared_ptr<const std::vector<ColumnDesc>> columns_;
  std::vector<Value> values_;
  std::shared_ptr<bool> batch_aborted_;
  SessionImpl* session_;
  std::shared_ptr<ReadOutcome> outcome_;
};

// The value of column i of the current row of stmt.
Value ReadColumn(sqlite3_stmt* stmt, int i);
// Binds v to marker `index` (1-based) of stmt.
void BindValue(sqlite3_stmt* stmt, int index, const Value& v);

}  // namespace sqlsim
