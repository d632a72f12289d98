#include "sqlsim/engine/prepared_batch.h"

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/execution.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/sqlite_errors.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {

namespace {

bool IsMarkerOrConstant(const ast::ExprPtr& e) {
  return !e || e->kind == ast::ExprKind::kParameter || e->kind == ast::ExprKind::kLiteral;
}

}  // namespace

PreparedBatchImpl::PreparedBatchImpl(SessionImpl& session, std::string text)
    : session_(session), text_(std::move(text)), single_select_interpreter_(session, nullptr) {}

PreparedBatchImpl::~PreparedBatchImpl() = default;

bool PreparedBatchImpl::EnsurePrepared(CompiledStatement& statement, Diagnostics* diags) {
  if (statement.node && statement.translated_version != session_.catalog_version()) {
    statement.prepared.reset();
    statement.described_valid = false;
    TranslateStatement(session_, statement);
  }
  if (statement.translate_error) {
    diags->push_back(*statement.translate_error);
    return false;
  }
  if (statement.prepared && statement.prepared_generation == session_.generation()) return true;
  statement.prepared.reset();
  statement.described_valid = false;
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v3(session_.db(), statement.sqlite_sql.c_str(),
                              static_cast<int>(statement.sqlite_sql.size()),
                              SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
  statement.prepared.reset(raw);
  if (rc != SQLITE_OK || !raw) {
    diags->push_back(DiagnosticFromSqlite(session_.db(), rc));
    AddBrokenViews(session_.db(), statement.sqlite_sql, diags);
    statement.prepared.reset();
    return false;
  }
  statement.prepared_generation = session_.generation();
  return true;
}

const std::vector<ColumnDesc>& PreparedBatchImpl::FirstResultColumns() const {
  if (first_columns_known_) return first_columns_;
  first_columns_known_ = true;
  auto* self = const_cast<PreparedBatchImpl*>(this);
  for (CompiledStatement& statement : self->statements_) {
    if (statement.kind != CompiledStatement::Kind::kSqlite) break;
    Diagnostics ignored;
    if (!self->EnsurePrepared(statement, &ignored)) break;
    if (sqlite3_column_count(statement.prepared.get()) > 0) {
      first_columns_ = DescribeColumns(session_, statement.prepared.get(), statement.columns);
    }
    break;
  }
  return first_columns_;
}

std::unique_ptr<Execution> PreparedBatchImpl::Execute(std::vector<ParamValue> params) {
  session_.trace().Executed(text_, params);
  // Another connection may have changed a table or procedure since.
  session_.RefreshCatalog();
  return std::make_unique<ExecutionImpl>(*this, std::move(params));
}

Result PreparedBatchImpl::ExecuteSingleSelect(const std::vector<ParamValue>& params) {
  session_.trace().Executed(text_, params);
  session_.RefreshCatalog();
  return RunSingleSelect(*this, params);
}

bool PreparedBatchImpl::SetsMayShareTransaction() {
  if (tree_.statements.size() != 1) return false;
  const auto* insert = std::get_if<ast::Insert>(&tree_.statements[0].body);
  if (!insert || insert->select || insert->execute || insert->values.empty()) return false;
  for (const std::vector<ast::ExprPtr>& row : insert->values) {
    for (const ast::ExprPtr& e : row) {
      if (!IsMarkerOrConstant(e)) return false;
    }
  }
  session_.RefreshCatalog();
  const CatalogTable* table = session_.catalog().FindTable(insert->table.name);
  return table && table->xtype == "U" && session_.catalog().TriggersOf(table->id).empty();
}

}  // namespace sqlsim
