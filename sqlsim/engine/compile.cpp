// From batch text to compiled statements: parse the whole batch (a syntax
// error runs nothing of it), then one compiled statement per statement.
// Statements that become SQLite SQL are translated when they first run, so
// that a batch may create a table and use it.
#include "sqlsim/engine/execution.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/front/parser.h"

namespace sqlsim {
namespace {

CompiledStatement::Kind KindOf(const ast::StatementBody& body) {
  if (std::holds_alternative<ast::Select>(body) || std::holds_alternative<ast::Insert>(body) ||
      std::holds_alternative<ast::Update>(body) || std::holds_alternative<ast::Delete>(body)) {
    return CompiledStatement::Kind::kSqlite;
  }
  if (std::holds_alternative<ast::UseDatabase>(body)) return CompiledStatement::Kind::kUse;
  if (std::holds_alternative<ast::CreateDatabase>(body)) return CompiledStatement::Kind::kCreateDatabase;
  if (std::holds_alternative<ast::SetOption>(body)) return CompiledStatement::Kind::kSetOption;
  if (std::holds_alternative<ast::Transaction>(body)) return CompiledStatement::Kind::kTransaction;
  if (std::holds_alternative<ast::Execute>(body)) return CompiledStatement::Kind::kFault;
  if (std::holds_alternative<ast::CreateTable>(body) || std::holds_alternative<ast::CreateIndex>(body) ||
      std::holds_alternative<ast::AlterTable>(body) || std::holds_alternative<ast::DropObjects>(body)) {
    return CompiledStatement::Kind::kDefinition;
  }
  return CompiledStatement::Kind::kProcedural;
}

// A data change with common table expressions: they come first in SQLite too.
template <typename Body>
void WithPrefix(Translator& translator, const std::unique_ptr<ast::WithClause>& with, CompiledStatement& statement,
                Body body) {
  std::string prefix = with ? translator.WithSql(*with) : "";
  body();
  statement.sqlite_sql = prefix + statement.sqlite_sql;
}

bool IsFaultCommand(const ast::Execute& exec) {
  return IdentifiersEqual(exec.procedure.name, "sqlsim_fault");
}

}  // namespace

void TranslateStatement(SessionImpl& session, CompiledStatement& statement) {
  statement.translate_error.reset();
  statement.param_map.clear();
  statement.columns.clear();
  statement.translated_version = session.catalog_version();
  try {
    Translator translator(session, &statement);
    const ast::StatementBody& body = statement.node->body;
    if (auto* select = std::get_if<ast::Select>(&body)) translator.Select(*select);
    else if (auto* insert = std::get_if<ast::Insert>(&body)) WithPrefix(translator, insert->with, statement, [&] { translator.Insert(*insert); });
    else if (auto* update = std::get_if<ast::Update>(&body)) WithPrefix(translator, update->with, statement, [&] { translator.Update(*update); });
    else if (auto* del = std::get_if<ast::Delete>(&body)) {
      if (!translator.DeleteThroughCte(*del)) WithPrefix(translator, del->with, statement, [&] { translator.Delete(*del); });
    }
  } catch (const TranslateError& error) {
    statement.translate_error = error.diagnostic;
  }
}

std::unique_ptr<PreparedBatch> PrepareBatch(SessionImpl& session, std::string_view text,
                                            Diagnostics* diags) {
  ParseOutcome parsed = ParseBatch(text);
  if (!parsed.ok()) {
    diags->insert(diags->end(), parsed.errors.begin(), parsed.errors.end());
    return nullptr;
  }
  session.RefreshCatalog();
  auto batch = std::make_unique<PreparedBatchImpl>(session, std::string(text));
  batch->tree() = std::move(parsed.batch);
  batch->set_parameter_count(batch->tree().parameter_count);
  for (const ast::Statement& node : batch->tree().statements) {
    CompiledStatement statement;
    statement.node = &node;
    size_t end = std::min(node.end_offset, batch->Text().size());
    if (node.pos.offset < end) statement.source = batch->Text().substr(node.pos.offset, end - node.pos.offset);
    statement.kind = KindOf(node.body);
    if (auto* exec = std::get_if<ast::Execute>(&node.body); exec && !IsFaultCommand(*exec)) {
      statement.kind = CompiledStatement::Kind::kProcedural;
    }
    statement.scope = &batch->scope();
    batch->statements().push_back(std::move(statement));
  }
  CollectDeclarations(batch->tree().statements, &batch->scope());
  const std::vector<CompiledStatement>& compiled = batch->statements();
  batch->set_single_select(compiled.size() == 1 && IsPlainSelect(compiled[0]));
  return batch;
}

}  // namespace sqlsim
