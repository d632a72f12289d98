// Ad-hoc queries through the library's statement cursors: every row's
// columns as display text.
#pragma once

#include <string>
#include <vector>

namespace lerv {

class Database;

using Rows = std::vector<std::vector<std::string>>;

// Throws Failure with the server's message when the query fails.
Rows Query(const Database& database, const std::string& sql);

// A name as a Transact-SQL string literal.
std::string Literal(const std::string& text);
// A name as OBJECT_ID takes it: "[dbo].[name]", brackets doubled, as a literal.
std::string ObjectIdLiteral(const std::string& name);

}  // namespace lerv
