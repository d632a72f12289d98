// The server's own procedures that sqlsim offers (sp_tables, sp_columns,
// sp_help ...): their parameters, and what each sends back. EXECUTE finds
// them here before it looks in the catalog.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "sqlsim/engine/compiled.h"
#include "sqlsim/engine/engine.h"

namespace sqlsim {

class SessionImpl;

struct SystemParameter {
  const char* name;  // "@table_name", lower case as compared
  VariableType type;
  bool required = false;
};

// The arguments as given, by parameter; nullopt where none was.
using SystemArguments = std::vector<std::optional<Value>>;

struct SystemProcedure {
  const char* name;
  std::vector<SystemParameter> parameters;
  // Appends the procedure's result sets; false with a diagnostic.
  bool (*run)(SessionImpl& session, const SystemArguments& args, std::vector<Result>* results, Diagnostics* diags);
};

// The system procedure of that name (ASCII case ignored); null if none.
const SystemProcedure* FindSystemProcedure(std::string_view name);

// sp_help, in a file of its own.
bool RunSpHelp(SessionImpl& session, const SystemArguments& args, std::vector<Result>* results, Diagnostics* diags);

}  // namespace sqlsim
