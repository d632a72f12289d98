// The batch loop and the statement dispatch table.
#include "sqlsim/front/parser.h"

#include <string_view>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/lexer.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim {
namespace front {
namespace {

// A statement starts with `first`; `second` narrows the choice by the next
// token: a keyword, kAnyToken, or kVariableToken for an @name. The first
// rule that fits wins, so narrower rules stand before wider ones.
constexpr std::string_view kAnyToken = "";
constexpr std::string_view kVariableToken = "@";

struct StatementRule {
  std::string_view first;
  std::string_view second;
  ast::StatementBody (*parse)(Parser& p);
};

constexpr StatementRule kStatementRules[] = {
    {"SELECT", kAnyToken, ParseSelectStatement},
    {"INSERT", kAnyToken, ParseInsert},
    {"UPDATE", kAnyToken, ParseUpdate},
    {"DELETE", kAnyToken, ParseDelete},
    {"MERGE", kAnyToken, ParseMerge},
    {"CREATE", "TABLE", ParseCreateTable},
    {"CREATE", "INDEX", ParseCreateIndex},
    {"CREATE", "UNIQUE", ParseCreateIndex},
    {"CREATE", "CLUSTERED", ParseCreateIndex},
    {"CREATE", "NONCLUSTERED", ParseCreateIndex},
    {"CREATE", "DATABASE", ParseCreateDatabase},
    {"CREATE", "PROC", ParseModule},
    {"CREATE", "PROCEDURE", ParseModule},
    {"CREATE", "FUNCTION", ParseModule},
    {"CREATE", "VIEW", ParseModule},
    {"CREATE", "TRIGGER", ParseModule},
    {"CREATE", "OR", ParseModule},
    {"ALTER", "TABLE", ParseAlterTable},
    {"ALTER", "PROC", ParseModule},
    {"ALTER", "PROCEDURE", ParseModule},
    {"ALTER", "FUNCTION", ParseModule},
    {"ALTER", "VIEW", ParseModule},
    {"ALTER", "TRIGGER", ParseModule},
    {"DROP", kAnyToken, ParseDrop},
    {"USE", kAnyToken, ParseUse},
    {"EXEC", kAnyToken, ParseExecuteStatement},
    {"EXECUTE", kAnyToken, ParseExecuteStatement},
    {"SET", kVariableToken, ParseSetVariable},
    {"SET", kAnyToken, ParseSetOption},
    {"BEGIN", "TRAN", ParseTransaction},
    {"BEGIN", "TRANSACTION", ParseTransaction},
    {"BEGIN", "DISTRIBUTED", ParseTransaction},
    {"BEGIN", "TRY", ParseTryCatch},
    {"BEGIN", kAnyToken, ParseBlock},
    {"COMMIT", kAnyToken, ParseTransaction},
    {"ROLLBACK", kAnyToken, ParseTransaction},
    {"SAVE", kAnyToken, ParseTransaction},
    {"IF", kAnyToken, ParseIf},
    {"WHILE", kAnyToken, ParseWhile},
    {"BREAK", kAnyToken, ParseBreak},
    {"CONTINUE", kAnyToken, ParseContinue},
    {"RETURN", kAnyToken, ParseReturn},
    {"PRINT", kAnyToken, ParsePrint},
    {"RAISERROR", kAnyToken, ParseRaiseError},
    {"DECLARE", kVariableToken, ParseDeclareVariables},
    {"DECLARE", kAnyToken, ParseDeclareCursor},
    {"OPEN", kAnyToken, ParseCursorCommand},
    {"CLOSE", kAnyToken, ParseCursorCommand},
    {"DEALLOCATE", kAnyToken, ParseCursorCommand},
    {"FETCH", kAnyToken, ParseFetch},
    {"WAITFOR", kAnyToken, ParseWaitFor},
    {"DBCC", kAnyToken, ParseDbcc},
    {"WITH", kAnyToken, ParseWithStatement},
};

bool Fits(const Parser& p, const StatementRule& rule) {
  if (!p.AtKeyword(rule.first)) return false;
  if (rule.second == kAnyToken) return true;
  if (rule.second == kVariableToken) return p.Peek(1).kind == TokenKind::kVariable;
  return p.AtKeyword(rule.second, 1);
}

bool StartsAnyRule(const Parser& p) {
  for (const StatementRule& rule : kStatementRules) {
    if (p.AtKeyword(rule.first)) return true;
  }
  return false;
}

ast::Statement ParseStatementAt(Parser& p, bool batch_start) {
  ast::Statement statement;
  statement.pos = p.Peek().pos;
  p.MarkStatementStart(batch_start);
  const StatementRule* found = nullptr;
  for (const StatementRule& rule : kStatementRules) {
    if (Fits(p, rule)) {
      found = &rule;
      break;
    }
  }
  if (found != nullptr) {
    statement.body = found->parse(p);
  } else if (p.AtSymbol("(") && AtQueryStart(p)) {
    statement.body = ParseSelectStatement(p);
  } else if (batch_start && p.AtName()) {
    // The server runs a procedure named alone at the start of a batch.
    statement.body = ParseImplicitExecute(p);
  } else if (StartsAnyRule(p)) {
    // The first word was right; what follows it is not (yet) a statement.
    p.FailAt(p.Peek(1));
  } else {
    p.FailAtCurrent();
  }
  ParseQueryOptions(p, &statement.body);
  statement.end_offset = p.ConsumedEnd();
  p.ForgetHeights();
  return statement;
}

}  // namespace

bool AtStatementKeyword(const Parser& p) { return StartsAnyRule(p); }

ast::Statement ParseStatement(Parser& p) {
  Parser::NestingGuard guard(p);
  return ParseStatementAt(p, false);
}

}  // namespace front

ParseOutcome ParseBatch(std::string_view text) {
  ParseOutcome outcome;
  std::vector<Token> tokens = Tokenize(text, &outcome.errors);
  if (!outcome.errors.empty()) return outcome;
  outcome.batch.parameter_count = 0;
  for (const Token& token : tokens) {
    if (token.kind == TokenKind::kParameter) ++outcome.batch.parameter_count;
  }
  front::Parser parser(text, std::move(tokens));
  try {
    while (!parser.AtEnd()) {
      if (parser.AcceptSymbol(";")) continue;
      outcome.batch.statements.push_back(
          front::ParseStatementAt(parser, outcome.batch.statements.empty()));
    }
  } catch (const front::SyntaxError& error) {
    outcome.errors.push_back(error.diagnostic);
  }
  return outcome;
}

}  // namespace sqlsim
