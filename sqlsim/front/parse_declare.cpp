// DECLARE of variables and cursors, the cursor commands, WAITFOR and DBCC.
#include <string>
#include <string_view>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

constexpr std::string_view kCursorOptions[] = {
    "LOCAL",    "GLOBAL",       "FORWARD_ONLY", "SCROLL",     "STATIC",       "KEYSET",
    "DYNAMIC",  "FAST_FORWARD", "READ_ONLY",    "SCROLL_LOCKS", "OPTIMISTIC", "TYPE_WARNING",
    "INSENSITIVE"};

constexpr std::string_view kFetchDirections[] = {"NEXT", "PRIOR", "FIRST", "LAST", "ABSOLUTE",
                                                 "RELATIVE"};

bool AtCursorOption(const Parser& p) {
  for (std::string_view option : kCursorOptions) {
    if (p.AtKeyword(option)) return true;
  }
  return false;
}

void ParseCursorOptions(Parser& p, std::vector<std::string>* options) {
  while (AtCursorOption(p)) options->push_back(ToUpper(p.Take().text));
}

ast::VariableDecl ParseVariableDecl(Parser& p) {
  ast::VariableDecl decl;
  decl.pos = p.Peek().pos;
  if (p.Peek().kind != TokenKind::kVariable) p.FailAtCurrent();
  decl.name = p.Take().text;
  p.AcceptKeyword("AS");
  if (p.AcceptKeyword("TABLE")) {
    decl.table = std::make_unique<ast::CreateTable>();
    decl.table->table.name = decl.name;
    decl.table->table.pos = decl.pos;
    ParseTableElements(p, decl.table.get());
    return decl;
  }
  decl.type = p.ParseTypeName();
  if (p.AcceptSymbol("=")) decl.init = ParseExpr(p);
  return decl;
}

// FOR UPDATE [OF c, ...] or FOR READ ONLY after the query.
void ParseCursorUse(Parser& p, std::vector<std::string>* options) {
  if (!p.AcceptKeyword("FOR")) return;
  if (p.AcceptKeyword("READ")) {
    p.ExpectKeyword("ONLY");
    options->push_back("READ_ONLY");
    return;
  }
  p.ExpectKeyword("UPDATE");
  options->push_back("FOR UPDATE");
  // Every column may be changed here; the list only narrows that.
  if (p.AcceptKeyword("OF")) {
    do p.ParseNameParts(4, false); while (p.AcceptSymbol(","));
  }
}

// [GLOBAL] name: the scope word is dropped, a cursor is found by name.
std::string ParseCursorName(Parser& p) {
  if (p.AtKeyword("GLOBAL") && p.AtName(1)) p.Take();
  return p.ExpectName();
}

bool AtFetchDirection(const Parser& p) {
  for (std::string_view direction : kFetchDirections) {
    if (p.AtKeyword(direction)) return true;
  }
  return false;
}

}  // namespace

ast::StatementBody ParseDeclareVariables(Parser& p) {
  ast::Declare declare;
  p.ExpectKeyword("DECLARE");
  do declare.variables.push_back(ParseVariableDecl(p)); while (p.AcceptSymbol(","));
  return ast::StatementBody(std::in_place_type<ast::Declare>, std::move(declare));
}

ast::StatementBody ParseDeclareCursor(Parser& p) {
  ast::DeclareCursor cursor;
  p.ExpectKeyword("DECLARE");
  cursor.name = p.ExpectName();
  ParseCursorOptions(p, &cursor.options);
  p.ExpectKeyword("CURSOR");
  ParseCursorOptions(p, &cursor.options);
  p.ExpectKeyword("FOR");
  cursor.select = ParseQuery(p);
  ParseCursorUse(p, &cursor.options);
  return ast::StatementBody(std::in_place_type<ast::DeclareCursor>, std::move(cursor));
}

ast::StatementBody ParseCursorCommand(Parser& p) {
  ast::CursorCommand command;
  using Kind = ast::CursorCommand::Kind;
  const std::string verb = ToUpper(p.Take().text);
  command.kind = verb == "OPEN" ? Kind::kOpen : verb == "CLOSE" ? Kind::kClose : Kind::kDeallocate;
  command.cursor = ParseCursorName(p);
  return ast::StatementBody(std::in_place_type<ast::CursorCommand>, std::move(command));
}

ast::StatementBody ParseFetch(Parser& p) {
  ast::Fetch fetch;
  p.ExpectKeyword("FETCH");
  // FETCH next: a cursor named like a direction, fetched forward.
  const bool directed = AtFetchDirection(p) && !p.AtKeyword("INTO", 1) && !p.AtSymbol(";", 1) &&
                        p.Peek(1).kind != TokenKind::kEnd;
  if (directed) {
    fetch.direction = ToUpper(p.Take().text);
    if (fetch.direction == "ABSOLUTE" || fetch.direction == "RELATIVE") fetch.offset = ParseExpr(p);
  }
  p.AcceptKeyword("FROM");
  fetch.cursor = ParseCursorName(p);
  if (p.AcceptKeyword("INTO")) {
    do {
      if (p.Peek().kind != TokenKind::kVariable) p.FailAtCurrent();
      fetch.into.push_back(p.Take().text);
    } while (p.AcceptSymbol(","));
  }
  return ast::StatementBody(std::in_place_type<ast::Fetch>, std::move(fetch));
}

ast::StatementBody ParseWaitFor(Parser& p) {
  ast::WaitFor wait;
  p.ExpectKeyword("WAITFOR");
  if (p.AcceptKeyword("TIME")) {
    wait.is_time = true;
  } else {
    p.ExpectKeyword("DELAY");
  }
  wait.value = ParseExpr(p);
  return ast::StatementBody(std::in_place_type<ast::WaitFor>, std::move(wait));
}

ast::StatementBody ParseDbcc(Parser& p) {
  ast::Dbcc dbcc;
  p.ExpectKeyword("DBCC");
  if (p.Peek().kind != TokenKind::kWord) p.FailAtCurrent();
  dbcc.command = ToUpper(p.Take().text);
  if (p.AcceptSymbol("(")) {
    if (!p.AtSymbol(")")) {
      do dbcc.args.push_back(ParseExpr(p)); while (p.AcceptSymbol(","));
    }
    p.ExpectSymbol(")");
  }
  if (p.AcceptKeyword("WITH")) {
    do {
      if (p.Peek().kind != TokenKind::kWord) p.FailAtCurrent();
      dbcc.options.push_back(ToUpper(p.Take().text));
    } while (p.AcceptSymbol(","));
  }
  return ast::StatementBody(std::in_place_type<ast::Dbcc>, std::move(dbcc));
}

}  // namespace sqlsim::front
