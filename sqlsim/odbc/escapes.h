// ODBC escape sequences ({d '...'}, {fn ...}, {oj ...}, {call ...} ...)
// rewritten into the Transact-SQL the engine runs. Braces inside string
// literals, quoted names and comments are text, not escapes.
#pragma once

#include <string>
#include <string_view>

#include "sqlsim/diagnostic.h"

namespace sqlsim::odbc {

struct EscapeTranslation {
  bool ok = true;
  std::string text;  // the statement as the engine gets it, when ok
  Diagnostic error;  // the server's syntax error (42000, 102) otherwise
};

// Text without any '{' comes back unchanged.
EscapeTranslation TranslateEscapes(std::string_view text);

}  // namespace sqlsim::odbc
