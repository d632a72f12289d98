// A compact S-expression form of the syntax tree, for table-driven parser
// tests: "SELECT a + 1 FROM t" prints as (select (+ a 1) (from t)).
#pragma once

#include <string>
#include <string_view>

#include "sqlsim/front/ast.h"

namespace sqlsim::testing {

std::string PrintExpr(const ast::Expr& expr);
std::string PrintSelect(const ast::Select& select);
std::string PrintStatement(const ast::Statement& statement);
// Statements one per line.
std::string PrintBatch(const ast::Batch& batch);

// Parses text and prints the batch, or on failure its first error as
// "error <number> line <line>: <message>".
std::string ParseAndPrint(std::string_view text);

// A table of statements and the trees they must print as.
struct SqlCase {
  const char* sql;
  const char* printed;
};

void ExpectPrinted(const SqlCase* begin, const SqlCase* end);

}  // namespace sqlsim::testing
