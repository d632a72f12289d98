// Control of flow: BEGIN ... END, TRY ... CATCH, IF, WHILE, BREAK, CONTINUE,
// RETURN; also PRINT, RAISERROR and SET @variable.
#include <string>
#include <string_view>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

// Compound assignments, written without a blank before "=".
constexpr std::string_view kCompoundOperators[] = {"+", "-", "*", "/", "%", "&", "|", "^"};

// Words after RETURN that start the next statement rather than a value.
constexpr std::string_view kNotAValue[] = {"THROW", "GOTO", "TRUNCATE", "WITH", "MERGE"};

bool AtReturnValue(const Parser& p) {
  if (!AtOperandStart(p) || AtStatementKeyword(p)) return false;
  for (std::string_view word : kNotAValue) {
    if (p.AtKeyword(word)) return false;
  }
  return true;
}

// Semicolons may stand between a statement and the ELSE that follows it.
bool AcceptElse(Parser& p) {
  size_t ahead = 0;
  while (p.AtSymbol(";", ahead)) ++ahead;
  if (!p.AtKeyword("ELSE", ahead)) return false;
  for (size_t i = 0; i <= ahead; ++i) p.Take();
  return true;
}

std::string ParseRaiseErrorOption(Parser& p) {
  if (!p.AtKeyword("NOWAIT") && !p.AtKeyword("LOG") && !p.AtKeyword("SETERROR")) {
    p.FailAtCurrent();
  }
  return ToUpper(p.Take().text);
}

}  // namespace

std::vector<ast::Statement> ParseStatementsToEnd(Parser& p, bool allow_empty) {
  std::vector<ast::Statement> statements;
  for (;;) {
    if (p.AcceptSymbol(";")) continue;
    if (p.AtKeyword("END") && (allow_empty || !statements.empty())) break;
    // At the end of the text the server names the last token it read.
    statements.push_back(ParseStatement(p));
  }
  return statements;
}

ast::StatementBody ParseBlock(Parser& p) {
  ast::Block block;
  p.ExpectKeyword("BEGIN");
  block.statements = ParseStatementsToEnd(p, false);
  p.ExpectKeyword("END");
  return ast::StatementBody(std::in_place_type<ast::Block>, std::move(block));
}

ast::StatementBody ParseTryCatch(Parser& p) {
  ast::TryCatch try_catch;
  p.ExpectKeyword("BEGIN");
  p.ExpectKeyword("TRY");
  try_catch.try_statements = ParseStatementsToEnd(p, false);
  p.ExpectKeyword("END");
  p.ExpectKeyword("TRY");
  while (p.AcceptSymbol(";")) {}
  p.ExpectKeyword("BEGIN");
  p.ExpectKeyword("CATCH");
  try_catch.catch_statements = ParseStatementsToEnd(p, true);
  p.ExpectKeyword("END");
  p.ExpectKeyword("CATCH");
  return ast::StatementBody(std::in_place_type<ast::TryCatch>, std::move(try_catch));
}

ast::StatementBody ParseIf(Parser& p) {
  ast::If branch;
  p.ExpectKeyword("IF");
  branch.condition = ParseExpr(p);
  branch.then_branch = std::make_unique<ast::Statement>(ParseStatement(p));
  if (AcceptElse(p)) branch.else_branch = std::make_unique<ast::Statement>(ParseStatement(p));
  return ast::StatementBody(std::in_place_type<ast::If>, std::move(branch));
}

ast::StatementBody ParseWhile(Parser& p) {
  ast::While loop;
  p.ExpectKeyword("WHILE");
  loop.condition = ParseExpr(p);
  loop.body = std::make_unique<ast::Statement>(ParseStatement(p));
  return ast::StatementBody(std::in_place_type<ast::While>, std::move(loop));
}

ast::StatementBody ParseBreak(Parser& p) {
  p.ExpectKeyword("BREAK");
  return ast::StatementBody(std::in_place_type<ast::Break>);
}

ast::StatementBody ParseContinue(Parser& p) {
  p.ExpectKeyword("CONTINUE");
  return ast::StatementBody(std::in_place_type<ast::Continue>);
}

ast::StatementBody ParseReturn(Parser& p) {
  ast::Return ret;
  p.ExpectKeyword("RETURN");
  if (AtReturnValue(p)) ret.value = ParseExpr(p);
  return ast::StatementBody(std::in_place_type<ast::Return>, std::move(ret));
}

ast::StatementBody ParsePrint(Parser& p) {
  ast::Print print;
  p.ExpectKeyword("PRINT");
  print.value = ParseExpr(p);
  return ast::StatementBody(std::in_place_type<ast::Print>, std::move(print));
}

ast::StatementBody ParseRaiseError(Parser& p) {
  ast::RaiseError raise;
  p.ExpectKeyword("RAISERROR");
  p.ExpectSymbol("(");
  do raise.args.push_back(ParseExpr(p)); while (p.AcceptSymbol(","));
  // Message, severity and state are required.
  if (raise.args.size() < 3) p.FailAtCurrent();
  p.ExpectSymbol(")");
  if (p.AcceptKeyword("WITH")) {
    do raise.options.push_back(ParseRaiseErrorOption(p)); while (p.AcceptSymbol(","));
  }
  return ast::StatementBody(std::in_place_type<ast::RaiseError>, std::move(raise));
}

ast::StatementBody ParseSetVariable(Parser& p) {
  ast::SetVariable set;
  p.ExpectKeyword("SET");
  set.name = p.Take().text;
  for (std::string_view op : kCompoundOperators) {
    if (p.AtSymbol(op) && p.AtSymbol("=", 1) && p.Peek().end == p.Peek(1).pos.offset) {
      set.op = p.Take().text;
      break;
    }
  }
  p.ExpectSymbol("=");
  set.value = ParseExpr(p);
  return ast::StatementBody(std::in_place_type<ast::SetVariable>, std::move(set));
}

}  // namespace sqlsim::front
