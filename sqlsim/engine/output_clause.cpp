// OUTPUT of INSERT, UPDATE and DELETE: a query over the statement's
// INSERTED and DELETED rows (the captures triggers use), its rows sent to
// the client or inserted into the table named by INTO.
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/row_source.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

// The compiled form's purpose beside the statement's own.
constexpr int kOutputPurpose = 90;

}  // namespace

const ast::OutputClause* OutputClauseOf(const CompiledStatement& c) {
  if (!c.node) return nullptr;
  if (auto* insert = std::get_if<ast::Insert>(&c.node->body)) return insert->output.get();
  if (auto* update = std::get_if<ast::Update>(&c.node->body)) return update->output.get();
  if (auto* del = std::get_if<ast::Delete>(&c.node->body)) return del->output.get();
  if (auto* merge = std::get_if<ast::Merge>(&c.node->body)) return merge->output.get();
  return nullptr;
}

bool Interpreter::WriteOutput(const CatalogTable& table, const ast::OutputClause& output, CompiledStatement& c,
                              Frame& frame, Diagnostics* diags) {
  return FillTriggerRows(session_, table, kOutputRowsId, diags) && SendOutput(table, output, c, frame, diags);
}

bool Interpreter::SendOutput(const CatalogTable& table, const ast::OutputClause& output, CompiledStatement& c,
                             Frame& frame, Diagnostics* diags) {
  ProgramScope scope;
  if (frame.scope) scope = *frame.scope;
  scope.trigger_table = table.name;
  scope.trigger_id = kOutputRowsId;
  CompiledStatement& out = frame.cache->Get(c.node, kOutputPurpose, &scope);
  auto translate = [&](Translator& t) {
    if (output.rows) t.Select(*output.rows);
    else t.Insert(*output.into);
  };
  if (!TranslateWith(session_, out, translate, diags) || !Prepare(out, diags) || !Bind(out, frame, diags)) return false;
  sqlite3_stmt* stmt = out.prepared.get();
  std::vector<std::vector<Value>> rows;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    std::vector<Value> row;
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) row.push_back(ReadColumn(stmt, i));
    rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) {
    diags->push_back(DiagnosticFromSqlite(session_.db(), rc));
    sqlite3_reset(stmt);
    return false;
  }
  if (output.rows) {
    Result result;
    result.rows = MakeMaterializedRows(DescribeColumns(session_, stmt, out.columns), std::move(rows));
    result.in_procedure = frame.in_procedure;
    Emit(std::move(result));
  }
  sqlite3_reset(stmt);
  return true;
}

}  // namespace sqlsim
