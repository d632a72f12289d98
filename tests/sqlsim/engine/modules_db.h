// A session on a fresh database for the tests of modules: batches run as
// the client runs them, and modules created from syntax trees built here
// (the statement text is what the catalog keeps).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "sqlsim/engine/engine.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/front/ast.h"
#include "support/test_env.h"

namespace sqlsim::testing {

class ModulesDb {
 public:
  ModulesDb();
  // Runs a batch; the number of its first error, 0 if none. Rows of its
  // result sets go to *rows, values joined by '|', text as is, NULL as NULL.
  int32_t Run(const std::string& batch, std::vector<std::string>* rows = nullptr);
  std::vector<std::string> Rows(const std::string& query);
  // RunCreateModule on the tree; the number of the first error, 0 if none.
  int32_t Create(const ast::CreateModule& module, const std::string& text);
  // CREATE VIEW name AS select, the select parsed from its text.
  int32_t CreateView(const std::string& name, const std::string& select,
                     std::vector<std::string> columns = {});
  // Opens the database again (a new connection).
  void Reopen();
  SessionImpl& session() { return *static_cast<SessionImpl*>(session_.get()); }

 private:
  testenv::TempDir dir_;
  std::unique_ptr<Session> session_;
};

// A module node of the kind, named name.
ast::CreateModule Module(ast::ObjectKind kind, const std::string& name);
ast::ParameterDecl Parameter(const std::string& name, const std::string& type,
                             int32_t length = ast::TypeName::kNone);

}  // namespace sqlsim::testing
