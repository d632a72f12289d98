// Transactions and data definition as the executor runs them.
#include "sqlsim/engine/commands.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/modules.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {

bool RunTransaction(SessionImpl& session, const ast::Transaction& tran, Diagnostics* diags) {
  switch (tran.kind) {
    case ast::Transaction::Kind::kBegin:
      return session.BeginExplicitTransaction(tran.name, diags);
    case ast::Transaction::Kind::kCommit:
      if (!session.InTransaction()) {
        diags->push_back(ServerError(3902, "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."));
        return false;
      }
      return session.EndExplicitTransaction(true, diags);
    case ast::Transaction::Kind::kRollback: {
      // A variable names a save point even when its value is empty.
      const bool named = !tran.name.empty() || tran.name_is_variable;
      if (named) {
        bool found = false;
        const bool ok = session.RollbackToSavePoint(tran.name, &found, diags);
        if (found) return ok;
      }
      if (!session.InTransaction() && sqlite3_get_autocommit(session.db())) {
        diags->push_back(ServerError(3903, "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."));
        return false;
      }
      // A name is a save point's or the outermost level's; any other takes
      // nothing back.
      if (named && !session.IsOutermostTransactionName(tran.name)) {
        diags->push_back(ServerError(
            6401, "Cannot roll back " + tran.name + ". No transaction or savepoint of that name was found."));
        return false;
      }
      return session.EndExplicitTransaction(false, diags);
    }
    case ast::Transaction::Kind::kSave:
      return session.SaveTransaction(tran.name, diags);
  }
  return true;
}

namespace {

// Making a table again drops the SQLite triggers this connection had on it,
// those that capture the rows of Transact-SQL triggers among them: they are
// made again on the next change of the table.
bool RunAlterTableOf(SessionImpl& session, const ast::AlterTable& alter, Diagnostics* diags) {
  const CatalogTable* table = session.catalog().FindTable(alter.table.name);
  std::string name = table ? table->name : std::string();
  bool ok = RunAlterTable(session.db(), session.catalog(), alter, diags);
  if (!name.empty()) session.captures().erase(name);
  return ok;
}

bool RunDefinitionBody(SessionImpl& session, const ast::StatementBody& body,
                       std::string_view source, Diagnostics* diags) {
  sqlite3* db = session.db();
  Catalog& catalog = session.catalog();
  if (auto* create = std::get_if<ast::CreateTable>(&body)) return RunCreateTable(db, catalog, *create, diags);
  if (auto* index = std::get_if<ast::CreateIndex>(&body)) return RunCreateIndex(db, catalog, *index, diags);
  if (auto* alter = std::get_if<ast::AlterTable>(&body)) return RunAlterTableOf(session, *alter, diags);
  if (auto* drop = std::get_if<ast::DropObjects>(&body)) return RunDropObjects(db, catalog, *drop, diags);
  if (auto* module = std::get_if<ast::CreateModule>(&body)) {
    return RunCreateModule(session, *module, source, diags);
  }
  diags->push_back(ServerError(102, "Incorrect syntax."));
  return false;
}

}  // namespace

// Data definition takes the write lock like any writer, and every change
// of the schema makes prepared statements translate again.
bool RunDefinition(SessionImpl& session, const ast::StatementBody& body, std::string_view source,
                   Diagnostics* diags) {
  bool opened_own = false;
  session.BeginCatalogChange();
  if (!session.BeginStatement(true, &opened_own, diags)) {
    session.PublishCatalogChange();
    return false;
  }
  bool ok = RunDefinitionBody(session, body, source, diags);
  bool ended = session.EndStatement(opened_own, ok, diags);
  session.InvalidateCatalog();
  return ok && ended;
}

}  // namespace sqlsim
