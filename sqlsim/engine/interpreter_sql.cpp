// Statements of procedural code that run on SQLite: binding variables,
// reading a whole result, assignments, data changes and commands.
#include <algorithm>
#include <cctype>

#include "sqlsim/engine/commands.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/row_source.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/sqlite_errors.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {

CompiledStatement& StatementCache::Get(const void* node, int purpose, const ProgramScope* scope) {
  CompiledStatement& c = statements_[{node, purpose}];
  c.scope = scope;
  return c;
}

bool TranslateWith(SessionImpl& session, CompiledStatement& c, const std::function<void(Translator&)>& translate,
                   Diagnostics* diags) {
  if (c.translated_version != session.catalog_version()) {
    c.prepared.reset();
    c.described_valid = false;
    c.translate_error.reset();
    c.param_map.clear();
    c.assignments.clear();
    c.columns.clear();
    c.target_table.clear();
    c.translated_version = session.catalog_version();
    c.kind = CompiledStatement::Kind::kSqlite;
    try {
      Translator translator(session, &c);
      translate(translator);
    } catch (const TranslateError& error) {
      c.translate_error = error.diagnostic;
    }
  }
  if (c.translate_error) {
    diags->push_back(*c.translate_error);
    return false;
  }
  return true;
}

bool Interpreter::Prepare(CompiledStatement& c, Diagnostics* diags) {
  if (c.node && c.translated_version != session_.catalog_version()) {
    c.prepared.reset();
    c.described_valid = false;
    c.assignments.clear();
    TranslateStatement(session_, c);
  }
  if (c.translate_error) {
    diags->push_back(*c.translate_error);
    return false;
  }
  if (c.prepared && c.prepared_generation == session_.generation()) return true;
  c.prepared.reset();
  c.described_valid = false;
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v3(session_.db(), c.sqlite_sql.c_str(), static_cast<int>(c.sqlite_sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
  c.prepared.reset(raw);
  if (rc != SQLITE_OK || !raw) {
    diags->push_back(DiagnosticFromSqlite(session_.db(), rc));
    AddBrokenViews(session_.db(), c.sqlite_sql, diags);
    c.prepared.reset();
    return false;
  }
  c.prepared_generation = session_.generation();
  return true;
}

Value VariableValue(SessionImpl& session, const Frame& frame, const std::string& name) {
  const ProceduralGlobals& g = session.globals();
  if (name.size() > 2 && name[0] == '@' && name[1] == '@') {
    // DECLARE @@name makes a variable as any other.
    if (const auto declared = frame.values.find(name); declared != frame.values.end()) return declared->second;
    if (name == "@@error") return Value::Integer(g.error);
    if (name == "@@rowcount") return Value::Integer(g.row_count);
    if (name == "@@fetch_status") return Value::Integer(g.fetch_status);
    if (name == "@@trancount") return Value::Integer(session.transaction_count());
    if (name == "@@nestlevel") return Value::Integer(g.nest_level);
    if (name == "@@spid") return Value::Integer(51);
    if (name == "@@version") return Value::Text("sqlsim (Transact-SQL on SQLite)");
    if (name == "@@identity") return g.identity ? Value::Integer(*g.identity) : Value::Null();
    return Value::Null();
  }
  if (name.find('(') != std::string::npos) {
    if (name == "scope_identity()") return frame.scope_identity ? Value::Integer(*frame.scope_identity) : Value::Null();
    if (frame.catching.empty()) return Value::Null();
    const Diagnostic& e = frame.catching.back().diagnostic;
    if (name == "error_number()") return Value::Integer(e.native);
    if (name == "error_message()") return Value::Text(e.message);
    if (name == "error_severity()") return Value::Integer(e.severity);
    if (name == "error_state()") return Value::Integer(1);
    if (name == "error_line()") return Value::Integer(e.line);
    const std::string& procedure = frame.catching.back().procedure;
    if (name == "error_procedure()") return procedure.empty() ? Value::Null() : Value::Text(procedure);
    return Value::Null();
  }
  auto it = frame.values.find(name);
  return it == frame.values.end() ? Value::Null() : it->second;
}

bool Interpreter::Bind(CompiledStatement& c, Frame& frame, Diagnostics* diags) {
  sqlite3_stmt* stmt = c.prepared.get();
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  for (size_t i = 0; i < c.param_map.size(); ++i) {
    const ParamSource& source = c.param_map[i];
    int index = static_cast<int>(i + 1);
    switch (source.kind) {
      case ParamSource::Kind::kBatch: {
        const auto* params = frame.batch_params;
        if (!params || source.index < 0 || static_cast<size_t>(source.index) >= params->size()) {
          diags->push_back(ServerError(8178, "The parameterized query expects a parameter which was not supplied."));
          return false;
        }
        BindValue(stmt, index, (*params)[static_cast<size_t>(source.index)].value);
        break;
      }
      case ParamSource::Kind::kVariable:
        BindValue(stmt, index, VariableValue(session_, frame, source.name));
        break;
      case ParamSource::Kind::kUpdated: {
        bool updated = frame.trigger && frame.trigger->updated_columns.count(source.name) > 0;
        sqlite3_bind_int(stmt, index, updated ? 1 : 0);
        break;
      }
      case ParamSource::Kind::kCursorRow: {
        auto it = frame.cursors.find(source.name);
        if (it == frame.cursors.end() || !it->second.open || it->second.current_rowid < 0) {
          diags->push_back(ServerError(16930, "The requested row is not in the fetch buffer."));
          return false;
        }
        sqlite3_bind_int64(stmt, index, it->second.current_rowid);
        break;
      }
    }
  }
  return true;
}

// Runs a one-row SELECT: the first row's values (none when it has no row),
// and its assignments made.
bool Interpreter::Evaluate(CompiledStatement& c, Frame& frame, std::vector<Value>* row, Diagnostics* diags) {
  if (!Prepare(c, diags) || !Bind(c, frame, diags)) return false;
  sqlite3_stmt* stmt = c.prepared.get();
  int rc = sqlite3_step(stmt);
  row->clear();
  if (rc == SQLITE_ROW) {
    int n = sqlite3_column_count(stmt);
    for (int i = 0; i < n; ++i) row->push_back(ReadColumn(stmt, i));
    rc = SQLITE_DONE;
  }
  if (rc != SQLITE_DONE) {
    diags->push_back(DiagnosticFromSqlite(session_.db(), rc));
    sqlite3_reset(stmt);
    return false;
  }
  sqlite3_reset(stmt);
  return true;
}

namespace {

// Rows read in full: what a SELECT inside procedural code sends.
class MaterializedRows : public RowSource {
 public:
  MaterializedRows(std::vector<ColumnDesc> columns, std::vector<std::vector<Value>> rows)
      : columns_(std::move(columns)), rows_(std::move(rows)) {}
  const std::vector<ColumnDesc>& Columns() const override { return columns_; }
  bool Next(Diagnostics*) override {
    if (next_ >= rows_.size()) return false;
    current_ = next_++;
    return true;
  }
  const Value& Column(size_t index) const override { return rows_[current_][index]; }

 private:
  std::vector<ColumnDesc> columns_;
  std::vector<std::vector<Value>> rows_;
  size_t next_ = 0;
  size_t current_ = 0;
};

}  // namespace

std::unique_ptr<RowSource> MakeMaterializedRows(std::vector<ColumnDesc> columns,
                                                std::vector<std::vector<Value>> rows) {
  return std::make_unique<MaterializedRows>(std::move(columns), std::move(rows));
}

Flow Interpreter::RunSql(CompiledStatement& c, Frame& frame) {
  Diagnostics diags;
  if (!Prepare(c, &diags)) return Failed(diags, frame);
  if (c.writes) return RunDml(c, frame);
  if (!Bind(c, frame, &diags)) return Failed(diags, frame);
  sqlite3_stmt* stmt = c.prepared.get();
  int n = sqlite3_column_count(stmt);
  // Row-wise assignments (tsql_setvar) reach this frame's variables.
  Frame* outer_frame = session_.active_frame();
  session_.set_active_frame(&frame);
  std::vector<std::vector<Value>> rows;
  int64_t assigned_rows = 0;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    std::vector<Value> row;
    row.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) row.push_back(ReadColumn(stmt, i));
    if (!c.assignments.empty()) {
      for (size_t i = 0; i < c.assignments.size() && i < row.size(); ++i) Assign(frame, c.assignments[i], row[i]);
      ++assigned_rows;
    } else {
      rows.push_back(std::move(row));
    }
    if ((rows.size() & 1023) == 0 && TimeUp(&diags)) break;
  }
  session_.set_active_frame(outer_frame);
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) diags.push_back(DiagnosticFromSqlite(session_.db(), rc));
  if (!diags.empty()) {
    sqlite3_reset(stmt);
    return Failed(diags, frame);
  }
  int64_t count = c.assignments.empty() ? static_cast<int64_t>(rows.size()) : assigned_rows;
  if (c.assignments.empty()) {
    if (!c.described_valid) {
      c.described = std::make_shared<const std::vector<ColumnDesc>>(DescribeColumns(session_, stmt, c.columns));
      c.described_valid = true;
    }
    Result result;
    result.rows = MakeMaterializedRows(*c.described, std::move(rows));
    result.in_procedure = frame.in_procedure;
    Emit(std::move(result));
  }
  sqlite3_reset(stmt);
  SetRowCount(count);
  session_.globals().error = 0;
  return Flow::kNext;
}

namespace {

// SAVE/ROLLBACK TRANSACTION @name: the variable's value, of which the
// server uses the first 32 characters; false for a variable never declared.
bool TransactionNameIn(const Frame& frame, const std::string& variable, std::string* name) {
  std::string key = variable;
  for (char& ch : key) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  const auto found = frame.values.find(key);
  if (found == frame.values.end()) return false;
  const Value& value = found->second;
  name->clear();
  if (value.kind == Value::Kind::kText || value.kind == Value::Kind::kBlob) *name = value.bytes;
  if (value.kind == Value::Kind::kInteger) *name = std::to_string(value.integer);
  name->resize(std::min<size_t>(name->size(), 32));
  return true;
}

}  // namespace

Flow Interpreter::RunCommand(CompiledStatement& c, Frame& frame) {
  Diagnostics diags;
  static const std::vector<ParamValue> kNoParams;
  bool ok;
  const auto* tran = c.node ? std::get_if<ast::Transaction>(&c.node->body) : nullptr;
  if (tran && tran->name_is_variable) {
    ast::Transaction named = *tran;
    if (!TransactionNameIn(frame, tran->name, &named.name)) {
      return Failed({ServerError(137, "Must declare the scalar variable \"" + tran->name + "\".")}, frame);
    }
    ok = RunTransaction(session_, named, &diags);
  } else {
    ok = RunServerCommand(session_, c, frame.batch_params ? *frame.batch_params : kNoParams, &diags);
  }
  if (!ok) return Failed(diags, frame);
  session_.globals().error = 0;
  if (!diags.empty()) {
    Result result;
    result.messages = std::move(diags);
    Emit(std::move(result));
  }
  return Flow::kNext;
}

}  // namespace sqlsim
