// CREATE [OR ALTER] / ALTER of procedures, scalar functions, views and
// triggers. Each is a batch of its own: a procedure's or trigger's body runs
// to the end of the text.
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

using ast::ObjectKind;

struct ModuleKind {
  std::string_view keyword;
  ObjectKind kind;
  std::string_view spelled;  // as error messages name it
};

constexpr ModuleKind kModuleKinds[] = {
    {"PROC", ObjectKind::kProcedure, "PROCEDURE"},
    {"PROCEDURE", ObjectKind::kProcedure, "PROCEDURE"},
    {"FUNCTION", ObjectKind::kFunction, "FUNCTION"},
    {"VIEW", ObjectKind::kView, "VIEW"},
    {"TRIGGER", ObjectKind::kTrigger, "TRIGGER"},
};

std::string FirstInBatchMessage(const ast::CreateModule& module, std::string_view kind) {
  std::string verb = module.create_or_alter ? "CREATE OR ALTER" : module.alter ? "ALTER" : "CREATE";
  return "'" + verb + " " + std::string(kind) + "' must be the first statement in a query batch.";
}

// Anything after a view's query or a function's END belongs to no module.
void ExpectBatchEnd(Parser& p, const ast::CreateModule& module, std::string_view kind) {
  while (p.AcceptSymbol(";")) {}
  if (!p.AtEnd()) p.Fail(111, FirstInBatchMessage(module, kind), p.Peek().pos.line);
}

}  // namespace

ast::ParameterDecl ParseParameter(Parser& p) {
  ast::ParameterDecl param;
  param.pos = p.Peek().pos;
  if (p.Peek().kind != TokenKind::kVariable) p.FailAtCurrent();
  param.name = p.Take().text;
  p.AcceptKeyword("AS");
  param.type = p.ParseTypeName();
  p.AcceptKeyword("VARYING");
  if (p.AcceptSymbol("=")) param.default_value = ParseExpr(p);
  param.output = p.AcceptKeyword("OUTPUT") || p.AcceptKeyword("OUT");
  p.AcceptKeyword("READONLY");
  return param;
}

namespace {

// EXECUTE AS CALLER, RETURNS NULL ON NULL INPUT ...: words in upper case.
std::string ParseModuleOption(Parser& p) {
  if (p.AcceptKeyword("EXECUTE") || p.AcceptKeyword("EXEC")) {
    p.ExpectKeyword("AS");
    const Token& who = p.Peek();
    if (who.kind == TokenKind::kString) return "EXECUTE AS '" + p.Take().text + "'";
    if (who.kind != TokenKind::kWord) p.FailAtCurrent();
    return "EXECUTE AS " + ToUpper(p.Take().text);
  }
  if (p.AtKeyword("RETURNS") || p.AtKeyword("CALLED")) {
    std::string option = ToUpper(p.Take().text);
    if (option == "RETURNS") {
      p.ExpectKeyword("NULL");
      option += " NULL";
    }
    p.ExpectKeyword("ON");
    p.ExpectKeyword("NULL");
    p.ExpectKeyword("INPUT");
    return option + " ON NULL INPUT";
  }
  if (p.Peek().kind != TokenKind::kWord) p.FailAtCurrent();
  return ToUpper(p.Take().text);
}

void ParseModuleOptions(Parser& p, std::vector<std::string>* options) {
  if (!p.AcceptKeyword("WITH")) return;
  do options->push_back(ParseModuleOption(p)); while (p.AcceptSymbol(","));
}

// The statements up to the end of the batch; at least one.
void ParseBatchBody(Parser& p, ast::CreateModule* module) {
  p.ExpectKeyword("AS");
  module->body_offset = p.Peek().pos.offset;
  do {
    module->body.push_back(ParseStatement(p));
    while (p.AcceptSymbol(";")) {}
  } while (!p.AtEnd());
}

void ParseProcedure(Parser& p, ast::CreateModule* module) {
  // A numbered procedure (p;2) is stored under its name alone.
  if (p.AcceptSymbol(";")) p.ExpectInteger();
  const bool listed = p.AcceptSymbol("(");
  if (p.Peek().kind == TokenKind::kVariable) {
    do module->parameters.push_back(ParseParameter(p)); while (p.AcceptSymbol(","));
  }
  if (listed) p.ExpectSymbol(")");
  ParseModuleOptions(p, &module->options);
  if (p.AtKeyword("FOR") && p.AtKeyword("REPLICATION", 1)) {
    p.Take();
    p.Take();
    module->options.push_back("FOR REPLICATION");
  }
  ParseBatchBody(p, module);
}

void ParseFunction(Parser& p, ast::CreateModule* module) {
  p.ExpectSymbol("(");
  if (!p.AtSymbol(")")) {
    do module->parameters.push_back(ParseParameter(p)); while (p.AcceptSymbol(","));
  }
  p.ExpectSymbol(")");
  p.ExpectKeyword("RETURNS");
  if (p.AtKeyword("TABLE") || p.Peek().kind == TokenKind::kVariable) {
    p.Fail(102, "Table-valued functions are not supported.", p.Peek().pos.line);
  }
  module->returns = p.ParseTypeName();
  ParseModuleOptions(p, &module->options);
  p.AcceptKeyword("AS");
  module->body_offset = p.Peek().pos.offset;
  p.ExpectKeyword("BEGIN");
  module->body = ParseStatementsToEnd(p, false);
  const ast::Statement& last = module->body.back();
  if (!std::holds_alternative<ast::Return>(last.body)) {
    p.Fail(455, "The last statement included within a function must be a return statement.",
           p.Peek().pos.line);
  }
  p.ExpectKeyword("END");
  ExpectBatchEnd(p, *module, "FUNCTION");
}

void ParseView(Parser& p, ast::CreateModule* module) {
  if (p.AcceptSymbol("(")) {
    do module->view_columns.push_back(p.ExpectName()); while (p.AcceptSymbol(","));
    p.ExpectSymbol(")");
  }
  ParseModuleOptions(p, &module->options);
  p.ExpectKeyword("AS");
  module->body_offset = p.Peek().pos.offset;
  module->view_select = ParseQueryWithCtes(p);
  if (p.AtKeyword("WITH") && p.AtKeyword("CHECK", 1)) {
    p.Take();
    p.Take();
    p.ExpectKeyword("OPTION");
    module->options.push_back("CHECK OPTION");
  }
  ExpectBatchEnd(p, *module, "VIEW");
}

// FOR | AFTER | INSTEAD OF, then INSERT, UPDATE, DELETE in any order.
void ParseTriggerEvents(Parser& p, ast::CreateModule* module) {
  if (p.AcceptKeyword("INSTEAD")) {
    p.ExpectKeyword("OF");
    module->instead_of = true;
  } else if (!p.AcceptKeyword("FOR")) {
    p.ExpectKeyword("AFTER");
  }
  do {
    if (p.AcceptKeyword("INSERT")) {
      module->on_insert = true;
    } else if (p.AcceptKeyword("UPDATE")) {
      module->on_update = true;
    } else {
      p.ExpectKeyword("DELETE");
      module->on_delete = true;
    }
  } while (p.AcceptSymbol(","));
}

void ParseTrigger(Parser& p, ast::CreateModule* module) {
  p.ExpectKeyword("ON");
  module->trigger_table = p.ParseObjectName();
  ParseModuleOptions(p, &module->options);
  ParseTriggerEvents(p, module);
  if (p.AtKeyword("WITH") && p.AtKeyword("APPEND", 1)) {
    p.Take();
    p.Take();
    module->options.push_back("APPEND");
  }
  if (p.AtKeyword("NOT") && p.AtKeyword("FOR", 1)) {
    p.Take();
    p.Take();
    p.ExpectKeyword("REPLICATION");
    module->options.push_back("NOT FOR REPLICATION");
  }
  ParseBatchBody(p, module);
}

}  // namespace

ast::StatementBody ParseModule(Parser& p) {
  ast::CreateModule module;
  const Token& verb = p.Take();
  module.alter = EqualsIgnoreCase(verb.text, "ALTER");
  if (!module.alter && p.AcceptKeyword("OR")) {
    p.ExpectKeyword("ALTER");
    module.alter = true;
    module.create_or_alter = true;
  }
  const ModuleKind* kind = nullptr;
  for (const ModuleKind& k : kModuleKinds) {
    if (p.AtKeyword(k.keyword)) kind = &k;
  }
  if (kind == nullptr) p.FailAtCurrent();
  if (!p.StatementStartsBatch()) p.Fail(111, FirstInBatchMessage(module, kind->spelled), verb.pos.line);
  p.Take();
  module.kind = kind->kind;
  module.name = p.ParseObjectName();
  switch (module.kind) {
    case ObjectKind::kProcedure: ParseProcedure(p, &module); break;
    case ObjectKind::kFunction: ParseFunction(p, &module); break;
    case ObjectKind::kView: ParseView(p, &module); break;
    default: ParseTrigger(p, &module); break;
  }
  return ast::StatementBody(std::in_place_type<ast::CreateModule>, std::move(module));
}

}  // namespace sqlsim::front
