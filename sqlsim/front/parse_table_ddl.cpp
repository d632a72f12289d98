// CREATE TABLE and ALTER TABLE: column definitions and key constraints.
#include <string>
#include <utility>

#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

void ParseClustering(Parser& p, bool* clustered, bool* nonclustered) {
  if (p.AcceptKeyword("CLUSTERED")) {
    *clustered = true;
  } else if (p.AcceptKeyword("NONCLUSTERED")) {
    *nonclustered = true;
  }
}

// PRIMARY KEY | UNIQUE, with the clustering written after it.
ast::TableConstraint ParseKeyKind(Parser& p) {
  ast::TableConstraint key;
  key.pos = p.Peek().pos;
  if (p.AcceptKeyword("PRIMARY")) {
    p.ExpectKeyword("KEY");
    key.kind = ast::TableConstraint::Kind::kPrimaryKey;
  } else {
    p.ExpectKeyword("UNIQUE");
    key.kind = ast::TableConstraint::Kind::kUnique;
  }
  ParseClustering(p, &key.clustered, &key.nonclustered);
  return key;
}

// The columns of a key and what may follow them (index options, the
// filegroup), which the server's storage does not need.
void ParseKeyColumns(Parser& p, ast::TableConstraint* key) {
  key->columns = ParseIndexColumns(p);
  std::vector<ast::IndexOption> ignored;
  ParseIndexOptions(p, &ignored);
  ParseFilegroup(p);
}

ast::TableConstraint ParseTableConstraint(Parser& p) {
  std::string name;
  const ast::SourcePos pos = p.Peek().pos;
  if (p.AcceptKeyword("CONSTRAINT")) name = p.ExpectName();
  if (!p.AtKeyword("PRIMARY") && !p.AtKeyword("UNIQUE")) p.FailAtCurrent();
  ast::TableConstraint key = ParseKeyKind(p);
  key.name = std::move(name);
  key.pos = pos;
  ParseKeyColumns(p, &key);
  return key;
}

void ParseIdentity(Parser& p, ast::ColumnDef* column) {
  column->identity = true;
  if (!p.AcceptSymbol("(")) return;
  column->identity_seed = p.ExpectInteger();
  p.ExpectSymbol(",");
  column->identity_increment = p.ExpectInteger();
  p.ExpectSymbol(")");
}

// PRIMARY KEY or UNIQUE after a column: its own key, or with a column list
// a table constraint written without the separating comma (scripts do so).
void ParseColumnKey(Parser& p, std::string name, ast::ColumnDef* column,
                    std::vector<ast::TableConstraint>* constraints) {
  ast::TableConstraint key = ParseKeyKind(p);
  key.name = std::move(name);
  if (p.AtSymbol("(")) {
    ParseKeyColumns(p, &key);
    constraints->push_back(std::move(key));
    return;
  }
  if (key.kind == ast::TableConstraint::Kind::kPrimaryKey) {
    column->primary_key = true;
  } else {
    column->unique = true;
  }
  column->key_name = std::move(key.name);
  column->key_clustered = key.clustered;
  column->key_nonclustered = key.nonclustered;
}

// One option of a column definition; false when none follows.
bool ParseColumnOption(Parser& p, std::string* constraint_name, ast::ColumnDef* column,
                       std::vector<ast::TableConstraint>* constraints) {
  if (p.AcceptKeyword("NULL")) {
    column->null_written = true;
  } else if (p.AtKeyword("NOT") && p.AtKeyword("NULL", 1)) {
    p.Take();
    p.Take();
    column->not_null = true;
  } else if (p.AcceptKeyword("DEFAULT")) {
    column->default_value = ParseExpr(p);
    column->default_name = std::move(*constraint_name);
    constraint_name->clear();
  } else if (p.AcceptKeyword("IDENTITY")) {
    ParseIdentity(p, column);
  } else if (p.AtKeyword("PRIMARY") || p.AtKeyword("UNIQUE")) {
    ParseColumnKey(p, std::move(*constraint_name), column, constraints);
    constraint_name->clear();
  } else if (p.AcceptKeyword("COLLATE")) {
    column->collation = p.ExpectName();
  } else {
    return false;
  }
  return true;
}

// A column definition; a CONSTRAINT name binds to the DEFAULT or key after it.
ast::ColumnDef ParseColumnDef(Parser& p, std::vector<ast::TableConstraint>* constraints) {
  ast::ColumnDef column;
  column.pos = p.Peek().pos;
  column.name = p.ExpectName();
  column.type = p.ParseTypeName();
  std::string constraint_name;
  for (;;) {
    if (p.AcceptKeyword("CONSTRAINT")) {
      if (!constraint_name.empty()) p.FailAtCurrent();
      constraint_name = p.ExpectName();
      if (!p.AtKeyword("DEFAULT") && !p.AtKeyword("PRIMARY") && !p.AtKeyword("UNIQUE")) {
        p.FailAtCurrent();
      }
    }
    if (!ParseColumnOption(p, &constraint_name, &column, constraints)) break;
  }
  return column;
}

// Column definitions and table constraints, as CREATE TABLE and ALTER TABLE
// ADD list them.
void ParseTableElement(Parser& p, std::vector<ast::ColumnDef>* columns,
                       std::vector<ast::TableConstraint>* constraints) {
  if (p.AtKeyword("CONSTRAINT") || p.AtKeyword("PRIMARY") || p.AtKeyword("UNIQUE")) {
    constraints->push_back(ParseTableConstraint(p));
  } else {
    columns->push_back(ParseColumnDef(p, constraints));
  }
}

ast::ColumnDef ParseAlterColumn(Parser& p) {
  ast::ColumnDef column;
  column.pos = p.Peek().pos;
  column.name = p.ExpectName();
  column.type = p.ParseTypeName();
  if (p.AcceptKeyword("COLLATE")) column.collation = p.ExpectName();
  if (p.AcceptKeyword("NULL")) {
    column.null_written = true;
  } else if (p.AcceptKeyword("NOT")) {
    p.ExpectKeyword("NULL");
    column.not_null = true;
  }
  return column;
}

std::vector<std::string> ParseNameList(Parser& p) {
  std::vector<std::string> names;
  do names.push_back(p.ExpectName()); while (p.AcceptSymbol(","));
  return names;
}

}  // namespace

void ParseTableElements(Parser& p, ast::CreateTable* create) {
  p.ExpectSymbol("(");
  do {
    // The server lets a comma stand before the closing parenthesis.
    if (!create->columns.empty() && p.AtSymbol(")")) break;
    ParseTableElement(p, &create->columns, &create->constraints);
  } while (p.AcceptSymbol(","));
  p.ExpectSymbol(")");
}

ast::StatementBody ParseCreateTable(Parser& p) {
  ast::CreateTable create;
  p.ExpectKeyword("CREATE");
  p.ExpectKeyword("TABLE");
  create.table = p.ParseObjectName();
  ParseTableElements(p, &create);
  ParseFilegroup(p);
  if (p.AcceptKeyword("TEXTIMAGE_ON")) p.ExpectName();
  return ast::StatementBody(std::in_place_type<ast::CreateTable>, std::move(create));
}

ast::StatementBody ParseAlterTable(Parser& p) {
  ast::AlterTable alter;
  p.ExpectKeyword("ALTER");
  p.ExpectKeyword("TABLE");
  alter.table = p.ParseObjectName();
  using Action = ast::AlterTable::Action;
  if (p.AcceptKeyword("ADD")) {
    do ParseTableElement(p, &alter.columns, &alter.constraints); while (p.AcceptSymbol(","));
    alter.action = alter.columns.empty() ? Action::kAddConstraint : Action::kAddColumns;
  } else if (p.AtKeyword("ALTER") && p.AtKeyword("COLUMN", 1)) {
    p.Take();
    p.Take();
    alter.action = Action::kAlterColumn;
    alter.columns.push_back(ParseAlterColumn(p));
  } else if (p.AcceptKeyword("DROP")) {
    alter.action = p.AcceptKeyword("COLUMN") ? Action::kDropColumn : Action::kDropConstraint;
    if (alter.action == Action::kDropConstraint) p.AcceptKeyword("CONSTRAINT");
    alter.names = ParseNameList(p);
  } else {
    p.FailAtCurrent();
  }
  return ast::StatementBody(std::in_place_type<ast::AlterTable>, std::move(alter));
}

}  // namespace sqlsim::front
