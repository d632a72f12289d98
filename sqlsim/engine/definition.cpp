// Transactions and data definition as the executor runs them.
#include "sqlsim/engine/commands.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {

bool RunTransaction(SessionImpl& session, const ast::Transaction& tran, Diagnostics* diags) {
  switch (tran.kind) {
    case ast::Transaction::Kind::kBegin:
      return session.BeginExplicitTransaction(diags);
    case ast::Transaction::Kind::kCommit:
      if (!session.InTransaction()) {
        diags->push_back(ServerError(3902, "The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."));
        return false;
      }
      return session.EndExplicitTransaction(true, diags);
    case ast::Transaction::Kind::kRollback:
      if (!session.InTransaction()) {
        diags->push_back(ServerError(3903, "The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."));
        return false;
      }
      return session.EndExplicitTransaction(false, diags);
    case ast::Transaction::Kind::kSave:
      return true;
  }
  return true;
}

bool RunDefinition(SessionImpl&, const ast::StatementBody&, Diagnostics* diags) {
  diags->push_back(ServerError(50000, "Data definition is not available yet."));
  return false;
}

}  // namespace sqlsim
