#include "sqlsim/engine/commands.h"

#include <sys/stat.h>

#include "sqlsim/engine/faults.h"
#include "sqlsim/engine/identity.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {
namespace {

bool RunUse(SessionImpl& session, const ast::UseDatabase& use, Diagnostics* diags) {
  Diagnostics ignored;
  if (!session.OpenDatabase(use.name, false, &ignored)) {
    diags->push_back(ServerError(911, "Database '" + use.name +
                                          "' does not exist. Make sure that the name is entered correctly."));
    return false;
  }
  diags->push_back(ServerInfo(5701, "Changed database context to '" + use.name + "'."));
  return true;
}

bool RunCreateDatabase(SessionImpl& session, const ast::CreateDatabase& create,
                       Diagnostics* diags) {
  std::string path = session.DatabasePath(create.name);
  struct stat info;
  if (path.empty()) {
    diags->push_back(ServerError(102, "Incorrect syntax near '" + create.name + "'."));
    return false;
  }
  if (::stat(path.c_str(), &info) == 0) {
    diags->push_back(ServerError(1801, "Database '" + create.name +
                                           "' already exists. Choose a different database name."));
    return false;
  }
  sqlite3* raw = nullptr;
  int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  SqliteDb db(raw);
  if (rc != SQLITE_OK || !RegisterServerFeatures(db.get(), diags)) {
    diags->push_back(ServerError(1802, "CREATE DATABASE failed for '" + create.name + "'."));
    return false;
  }
  sqlite3_exec(db.get(), "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
  return true;
}

// The literal or ? value of an argument of sqlsim_fault.
std::optional<Value> ArgumentValue(const ast::ExecuteArg& arg,
                                   const std::vector<ParamValue>& params) {
  if (!arg.value) return std::nullopt;
  const ast::Expr& e = *arg.value;
  if (e.kind == ast::ExprKind::kParameter && e.param_index >= 0 &&
      static_cast<size_t>(e.param_index) < params.size()) {
    return params[static_cast<size_t>(e.param_index)].value;
  }
  bool negative = e.kind == ast::ExprKind::kUnary && e.op == "-" && !e.args.empty();
  const ast::Expr& literal = negative ? *e.args[0] : e;
  if (literal.kind != ast::ExprKind::kLiteral) return std::nullopt;
  if (literal.literal_type == ast::LiteralType::kInteger) {
    int64_t v = std::strtoll(literal.text.c_str(), nullptr, 10);
    return Value::Integer(negative ? -v : v);
  }
  if (literal.literal_type == ast::LiteralType::kString) return Value::Text(literal.text);
  return std::nullopt;
}

bool RunFault(const ast::Execute& exec, const std::vector<ParamValue>& params,
              Diagnostics* diags) {
  std::vector<Value> args;
  for (const ast::ExecuteArg& arg : exec.args) {
    std::optional<Value> v = ArgumentValue(arg, params);
    if (!v) {
      diags->push_back(ServerError(8144, "sqlsim_fault takes literal arguments only."));
      return false;
    }
    args.push_back(*v);
  }
  auto text = [&](size_t i) { return i < args.size() ? args[i].bytes : std::string(); };
  auto number = [&](size_t i) { return i < args.size() ? args[i].integer : 0; };
  std::string kind = text(0);
  if (kind == "clear") {
    ClearFaults();
    return true;
  }
  FaultRule rule;
  if (kind == "execute") rule.kind = FaultRule::Kind::kExecute;
  else if (kind == "info") rule.kind = FaultRule::Kind::kInfo;
  else if (kind == "putdata") rule.kind = FaultRule::Kind::kPutData;
  else if (kind == "getdata") rule.kind = FaultRule::Kind::kGetData;
  else if (kind == "fetch") rule.kind = FaultRule::Kind::kFetch;
  else {
    diags->push_back(
        ServerError(8144, "sqlsim_fault: the kind is 'execute', 'info', 'putdata', 'getdata', 'fetch' or 'clear'."));
    return false;
  }
  if (args.size() < 5) {
    diags->push_back(ServerError(201, "sqlsim_fault expects kind, pattern, count, sqlstate, native [, message]."));
    return false;
  }
  rule.pattern = text(1).empty() ? "%" : text(1);
  const bool counted = text(1).find_first_not_of("0123456789") == std::string::npos;
  if ((rule.kind == FaultRule::Kind::kGetData || rule.kind == FaultRule::Kind::kFetch) && counted) {
    // A number counts the calls to let through; every call matches.
    rule.pass_first = std::strtoll(text(1).c_str(), nullptr, 10);
    rule.pattern = "%";
  }
  rule.remaining = static_cast<int32_t>(number(2));
  rule.diagnostic.sqlstate = text(3);
  rule.diagnostic.native = static_cast<int32_t>(number(4));
  rule.diagnostic.severity = rule.kind == FaultRule::Kind::kInfo ? 0 : 16;
  rule.diagnostic.message = args.size() > 5 ? text(5) : "Injected fault.";
  if (rule.remaining > 0) AddFault(rule);
  return true;
}

}  // namespace

bool RunServerCommand(SessionImpl& session, const CompiledStatement& statement,
                      const std::vector<ParamValue>& params, Diagnostics* diags) {
  if (!statement.node) return true;
  const ast::StatementBody& body = statement.node->body;
  if (auto* use = std::get_if<ast::UseDatabase>(&body)) return RunUse(session, *use, diags);
  if (auto* create = std::get_if<ast::CreateDatabase>(&body)) {
    return RunCreateDatabase(session, *create, diags);
  }
  if (auto* exec = std::get_if<ast::Execute>(&body)) return RunFault(*exec, params, diags);
  if (auto* option = std::get_if<ast::SetOption>(&body)) {
    if (option->option == "IDENTITY_INSERT") return SetIdentityInsert(session, *option, diags);
    if (option->option == "NOCOUNT") session.set_nocount(option->value == "ON");
    return true;
  }
  if (auto* tran = std::get_if<ast::Transaction>(&body)) {
    return RunTransaction(session, *tran, diags);
  }
  return RunDefinition(session, body, statement.source, diags);
}

}  // namespace sqlsim
