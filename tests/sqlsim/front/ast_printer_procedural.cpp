// Printed forms of the procedural statements and modules.
#include <string>
#include <vector>

#include "sqlsim/front/ast_printer.h"
#include "sqlsim/front/ast_printer_parts.h"

namespace sqlsim::testing {
namespace {

std::string Opt(const ast::ExprPtr& e) { return e ? PrintExpr(*e) : ""; }

std::string Statements(const char* head, const std::vector<ast::Statement>& statements) {
  std::vector<std::string> printed = {head};
  for (const ast::Statement& s : statements) printed.push_back(PrintStatement(s));
  return "(" + Join(printed, " ") + ")";
}

std::string Words(const char* head, const std::vector<std::string>& words) {
  if (words.empty()) return "";
  return "(" + std::string(head) + " " + Join(words, " ") + ")";
}

std::string ModuleVerb(const ast::CreateModule& m) {
  if (m.create_or_alter) return "create-or-alter";
  return m.alter ? "alter" : "create";
}

std::string ModuleKind(ast::ObjectKind kind) {
  switch (kind) {
    case ast::ObjectKind::kProcedure: return "procedure";
    case ast::ObjectKind::kFunction: return "function";
    case ast::ObjectKind::kView: return "view";
    case ast::ObjectKind::kTrigger: return "trigger";
    default: return "?";
  }
}

std::string Parameters(const std::vector<ast::ParameterDecl>& parameters) {
  if (parameters.empty()) return "";
  std::vector<std::string> printed = {"params"};
  for (const ast::ParameterDecl& p : parameters) {
    printed.push_back(List({p.name, Type(p.type), Opt(p.default_value), p.output ? "output" : ""}));
  }
  return "(" + Join(printed, " ") + ")";
}

std::string TriggerEvents(const ast::CreateModule& m) {
  return List({m.instead_of ? "instead-of" : "after", m.on_insert ? "insert" : "",
               m.on_update ? "update" : "", m.on_delete ? "delete" : ""});
}

}  // namespace

std::string PrintProcedural(const ast::Declare& d) {
  std::vector<std::string> printed = {"declare"};
  for (const ast::VariableDecl& v : d.variables) printed.push_back(List({v.name, Type(v.type), Opt(v.init)}));
  return "(" + Join(printed, " ") + ")";
}

std::string PrintProcedural(const ast::DeclareCursor& d) {
  return List({"declare-cursor", Parts({d.name}), Words("options", d.options), PrintSelect(*d.select)});
}

std::string PrintProcedural(const ast::SetVariable& s) {
  return List({"set", s.name, s.op + "=", PrintExpr(*s.value)});
}

std::string PrintProcedural(const ast::Block& b) { return Statements("block", b.statements); }

std::string PrintProcedural(const ast::If& i) {
  return List({"if", PrintExpr(*i.condition), PrintStatement(*i.then_branch),
               i.else_branch ? List({"else", PrintStatement(*i.else_branch)}) : ""});
}

std::string PrintProcedural(const ast::While& w) {
  return List({"while", PrintExpr(*w.condition), PrintStatement(*w.body)});
}

std::string PrintProcedural(const ast::Break&) { return "(break)"; }
std::string PrintProcedural(const ast::Continue&) { return "(continue)"; }
std::string PrintProcedural(const ast::Return& r) { return List({"return", Opt(r.value)}); }
std::string PrintProcedural(const ast::Print& p) { return List({"print", PrintExpr(*p.value)}); }

std::string PrintProcedural(const ast::RaiseError& r) {
  std::vector<std::string> printed = {"raiserror"};
  for (const ast::ExprPtr& e : r.args) printed.push_back(PrintExpr(*e));
  if (!r.options.empty()) printed.push_back(Words("with", r.options));
  return "(" + Join(printed, " ") + ")";
}

std::string PrintProcedural(const ast::TryCatch& t) {
  return List({"try", Statements("do", t.try_statements), Statements("catch", t.catch_statements)});
}

std::string PrintProcedural(const ast::CursorCommand& c) {
  static const char* const kNames[] = {"open", "close", "deallocate"};
  return List({kNames[static_cast<int>(c.kind)], Parts({c.cursor})});
}

std::string PrintProcedural(const ast::Fetch& f) {
  return List({"fetch", f.direction, Opt(f.offset), Parts({f.cursor}), Words("into", f.into)});
}

std::string PrintProcedural(const ast::WaitFor& w) {
  return List({"waitfor", w.is_time ? "time" : "delay", PrintExpr(*w.value)});
}

std::string PrintProcedural(const ast::Dbcc& d) {
  std::vector<std::string> printed = {"dbcc", d.command};
  for (const ast::ExprPtr& e : d.args) printed.push_back(PrintExpr(*e));
  if (!d.options.empty()) printed.push_back(Words("with", d.options));
  return "(" + Join(printed, " ") + ")";
}

std::string PrintProcedural(const ast::CreateModule& m) {
  std::string head = ModuleVerb(m) + "-" + ModuleKind(m.kind);
  std::string detail;
  if (m.kind == ast::ObjectKind::kTrigger) {
    detail = List({"on", Name(m.trigger_table)}) + " " + TriggerEvents(m);
  } else if (m.kind == ast::ObjectKind::kFunction) {
    detail = List({"returns", Type(m.returns)});
  }
  std::vector<std::string> columns;
  for (const std::string& c : m.view_columns) columns.push_back(Parts({c}));
  const std::string body = m.view_select ? PrintSelect(*m.view_select) : Statements("body", m.body);
  return List({head, Name(m.name), Words("cols", columns), Parameters(m.parameters), detail,
               Words("with", m.options), body});
}

}  // namespace sqlsim::testing
