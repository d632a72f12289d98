// Procedures, functions, views and triggers in the catalog: their
// sysobjects rows, the text they were created with (syscomments), the
// columns of views and the parameters of procedures and functions
// (syscolumns).
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string_view>

#include "sqlsim/diagnostic.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

class SessionImpl;

// CREATE, ALTER and CREATE OR ALTER of a module. definition_text is the
// statement as written, kept in syscomments. Runs in a savepoint: on
// failure nothing of it remains. The catalog is invalidated.
bool RunCreateModule(SessionImpl& session, const ast::CreateModule& module,
                     std::string_view definition_text, Diagnostics* diags);

// The rows only modules have (text, trigger events, view columns) of the
// object id and of the objects hanging on it.
bool RemoveModuleRows(sqlite3* db, int32_t id, Diagnostics* diags);

// Makes the change of a module visible to the other connections' catalogs.
bool MarkSchemaChanged(sqlite3* db, Diagnostics* diags);

}  // namespace sqlsim
