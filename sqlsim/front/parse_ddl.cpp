// CREATE INDEX, DROP, CREATE DATABASE, and the index column lists and
// options that key constraints share.
#include <string>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

struct DropKind {
  std::string_view keyword;
  ast::ObjectKind kind;
};

constexpr DropKind kDropKinds[] = {
    {"TABLE", ast::ObjectKind::kTable},         {"VIEW", ast::ObjectKind::kView},
    {"PROCEDURE", ast::ObjectKind::kProcedure}, {"PROC", ast::ObjectKind::kProcedure},
    {"FUNCTION", ast::ObjectKind::kFunction},   {"TRIGGER", ast::ObjectKind::kTrigger},
    {"DATABASE", ast::ObjectKind::kDatabase},   {"INDEX", ast::ObjectKind::kIndex},
};

ast::IndexOption ParseIndexOption(Parser& p) {
  ast::IndexOption option;
  // Option names include reserved words (FILLFACTOR).
  if (p.Peek().kind != TokenKind::kWord) p.FailAtCurrent();
  option.name = ToUpper(p.Take().text);
  if (!p.AcceptSymbol("=")) return option;
  const Token& value = p.Peek();
  if (p.AtKeyword("ON") || p.AtKeyword("OFF")) {
    option.value = ToUpper(p.Take().text);
  } else if (value.kind == TokenKind::kInteger || value.kind == TokenKind::kWord ||
             value.kind == TokenKind::kQuotedName || value.kind == TokenKind::kString) {
    option.value = p.Take().text;
  } else {
    p.FailAtCurrent();
  }
  return option;
}

// t.i, or i ON t: DROP INDEX's two ways of naming an index.
void ParseDropIndexName(Parser& p, ast::DropObjects* drop) {
  const ast::SourcePos pos = p.Peek().pos;
  std::vector<std::string> parts = p.ParseNameParts(4, false);
  ast::ObjectName index;
  index.pos = pos;
  index.name = std::move(parts.back());
  parts.pop_back();
  ast::ObjectName table;
  if (p.AcceptKeyword("ON")) {
    if (!parts.empty()) p.FailAtCurrent();
    table = p.ParseObjectName();
  } else {
    if (parts.empty()) p.FailAtCurrent();
    table.pos = pos;
    table.name = std::move(parts.back());
    parts.pop_back();
    if (!parts.empty()) { table.schema = std::move(parts.back()); parts.pop_back(); }
    if (!parts.empty()) table.database = std::move(parts.back());
  }
  drop->names.push_back(std::move(index));
  drop->tables.push_back(std::move(table));
}

}  // namespace

std::vector<ast::IndexColumn> ParseIndexColumns(Parser& p) {
  std::vector<ast::IndexColumn> columns;
  p.ExpectSymbol("(");
  do {
    ast::IndexColumn column;
    column.name = p.ExpectName();
    if (p.AcceptKeyword("DESC")) {
      column.descending = true;
    } else {
      p.AcceptKeyword("ASC");
    }
    columns.push_back(std::move(column));
  } while (p.AcceptSymbol(","));
  p.ExpectSymbol(")");
  return columns;
}

void ParseIndexOptions(Parser& p, std::vector<ast::IndexOption>* options) {
  if (!p.AcceptKeyword("WITH")) return;
  const bool listed = p.AcceptSymbol("(");
  do options->push_back(ParseIndexOption(p)); while (p.AcceptSymbol(","));
  if (listed) p.ExpectSymbol(")");
}

void ParseFilegroup(Parser& p) {
  if (!p.AcceptKeyword("ON")) return;
  if (!p.AcceptKeyword("PRIMARY")) p.ExpectName();
}

ast::StatementBody ParseCreateIndex(Parser& p) {
  ast::CreateIndex create;
  p.ExpectKeyword("CREATE");
  create.unique = p.AcceptKeyword("UNIQUE");
  if (p.AcceptKeyword("CLUSTERED")) {
    create.clustered = true;
  } else {
    create.nonclustered = p.AcceptKeyword("NONCLUSTERED");
  }
  p.ExpectKeyword("INDEX");
  create.name = p.ExpectName();
  p.ExpectKeyword("ON");
  create.table = p.ParseObjectName();
  create.columns = ParseIndexColumns(p);
  ParseIndexOptions(p, &create.options);
  ParseFilegroup(p);
  return ast::StatementBody(std::in_place_type<ast::CreateIndex>, std::move(create));
}

ast::StatementBody ParseDrop(Parser& p) {
  ast::DropObjects drop;
  p.ExpectKeyword("DROP");
  const DropKind* kind = nullptr;
  for (const DropKind& k : kDropKinds) {
    if (p.AtKeyword(k.keyword)) kind = &k;
  }
  if (kind == nullptr) p.FailAtCurrent();
  p.Take();
  drop.kind = kind->kind;
  if (p.AtKeyword("IF") && p.AtKeyword("EXISTS", 1)) {
    p.Take();
    p.Take();
    drop.if_exists = true;
  }
  do {
    if (drop.kind == ast::ObjectKind::kIndex) {
      ParseDropIndexName(p, &drop);
    } else {
      drop.names.push_back(p.ParseObjectName());
    }
  } while (p.AcceptSymbol(","));
  return ast::StatementBody(std::in_place_type<ast::DropObjects>, std::move(drop));
}

ast::StatementBody ParseCreateDatabase(Parser& p) {
  ast::CreateDatabase create;
  p.ExpectKeyword("CREATE");
  p.ExpectKeyword("DATABASE");
  create.name = p.ExpectName();
  return ast::StatementBody(std::in_place_type<ast::CreateDatabase>, std::move(create));
}

}  // namespace sqlsim::front
