// Statements the executor runs itself rather than as one SQLite statement:
// database switching and creation, options, transactions, data definition,
// and the driver's own sqlsim_fault.
#pragma once

#include <string_view>
#include <vector>

#include "sqlsim/engine/compiled.h"

namespace sqlsim {

class SessionImpl;

// False with diagnostics when the statement failed; informational messages
// of a successful statement are appended to *diags as well.
bool RunServerCommand(SessionImpl& session, const CompiledStatement& statement,
                      const std::vector<ParamValue>& params, Diagnostics* diags);

}  // namespace sqlsim

namespace sqlsim {

bool RunTransaction(SessionImpl& session, const ast::Transaction& tran, Diagnostics* diags);
// CREATE/ALTER/DROP of tables and indexes, CREATE/ALTER of modules;
// source is the statement's text (what a module keeps as its definition).
bool RunDefinition(SessionImpl& session, const ast::StatementBody& body, std::string_view source,
                   Diagnostics* diags);

}  // namespace sqlsim
