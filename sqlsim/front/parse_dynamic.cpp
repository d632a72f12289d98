// The parameter list sp_executesql takes beside its text.
#include <utility>

#include "sqlsim/front/lexer.h"
#include "sqlsim/front/parser.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim {

ParameterListOutcome ParseParameterList(std::string_view text) {
  ParameterListOutcome outcome;
  std::vector<Token> tokens = Tokenize(text, &outcome.errors);
  if (!outcome.errors.empty()) return outcome;
  front::Parser parser(text, std::move(tokens));
  try {
    if (parser.AtEnd()) return outcome;
    do outcome.parameters.push_back(front::ParseParameter(parser)); while (parser.AcceptSymbol(","));
    if (!parser.AtEnd()) parser.FailAtCurrent();
  } catch (const front::SyntaxError& error) {
    outcome.parameters.clear();
    outcome.errors.push_back(error.diagnostic);
  }
  return outcome;
}

}  // namespace sqlsim
