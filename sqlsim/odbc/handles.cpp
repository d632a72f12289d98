#include "sqlsim/odbc/handles.h"

#include <algorithm>

namespace sqlsim::odbc {

Env::Env() : HandleBase(kKind) {}
Env::~Env() = default;

Dbc* Env::AddDbc() {
  dbcs.push_back(std::make_unique<Dbc>(this));
  return dbcs.back().get();
}

void Env::RemoveDbc(Dbc* dbc) {
  auto it = std::find_if(dbcs.begin(), dbcs.end(),
                         [dbc](const std::unique_ptr<Dbc>& d) { return d.get() == dbc; });
  if (it != dbcs.end()) dbcs.erase(it);
}

Dbc::Dbc(Env* owner) : HandleBase(kKind), env(owner) {}

Dbc::~Dbc() {
  // Statements hold results of the session: they go first.
  DropStatements();
  session.reset();
}

Stmt* Dbc::AddStmt() {
  stmts.push_back(std::make_unique<Stmt>(this));
  return stmts.back().get();
}

void Dbc::RemoveStmt(Stmt* stmt) {
  auto it = std::find_if(stmts.begin(), stmts.end(),
                         [stmt](const std::unique_ptr<Stmt>& s) { return s.get() == stmt; });
  if (it != stmts.end()) stmts.erase(it);
}

void Dbc::DropStatements() { stmts.clear(); }

Stmt::Stmt(Dbc* owner) : HandleBase(kKind), dbc(owner), attrs(owner->stmt_defaults) {}

Stmt::~Stmt() {
  CloseResults();
  batch.reset();
}

void Stmt::DropCursor() {
  if (!cursor) return;
  cursor->Release();
  spare_cursor = std::move(cursor);
}

void Stmt::CloseResults(bool cancel) {
  // The row source may refer to the execution that produced it.
  DropCursor();
  getdata.Forget();
  current_row = 0;
  sets.Forget();
  if (!execution) return;
  if (cancel) {
    execution->Cancel();
  } else {
    try {
      while (std::optional<Result> r = execution->NextResult()) r->rows.reset();
    } catch (...) {
      execution->Cancel();
    }
  }
  execution.reset();
}

}  // namespace sqlsim::odbc
