// Transact-SQL batch → syntax tree. The parser looks at no catalog: names
// are resolved by the binder. The first syntax error ends the parse, since
// the server runs nothing of a batch that does not parse.
#pragma once

#include <string_view>
#include <vector>

#include "sqlsim/diagnostic.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

struct ParseOutcome {
  ast::Batch batch;
  Diagnostics errors;          // empty on success
  bool ok() const { return errors.empty(); }
};

// Parses a whole batch (statements separated by optional semicolons). On
// failure errors holds one diagnostic (102, 156, 105, 113, 103 or 191,
// with its line) and batch holds the statements parsed before it.
ParseOutcome ParseBatch(std::string_view text);

struct ParameterListOutcome {
  std::vector<ast::ParameterDecl> parameters;
  Diagnostics errors;  // empty on success
  bool ok() const { return errors.empty(); }
};

// sp_executesql's parameter list: "@a int, @b varchar(10) OUTPUT".
ParameterListOutcome ParseParameterList(std::string_view text);

}  // namespace sqlsim
