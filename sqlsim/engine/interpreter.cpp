// Control of flow: blocks, IF, WHILE, TRY/CATCH, RETURN, variables and the
// statements that only talk to the client (PRINT, RAISERROR).
#include <thread>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/execution.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/system_procedures.h"
#include "sqlsim/engine/temp_tables.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

// Purposes of the compiled forms of one statement (see StatementCache).
enum Purpose : int { kMain = 0, kCondition = 1, kValues = 2 };


bool IsSqlStatement(const ast::StatementBody& body) {
  return std::holds_alternative<ast::Select>(body) || std::holds_alternative<ast::Insert>(body) ||
         std::holds_alternative<ast::Update>(body) || std::holds_alternative<ast::Delete>(body);
}

// RAISERROR's message with %s, %d, %i, %u (flags and widths accepted, not
// applied) filled from the arguments after the state, in order.
std::string FormatRaised(const std::string& format, const std::vector<Value>& args, size_t first) {
  std::string out;
  size_t next = first;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      out += format[i];
      continue;
    }
    if (format[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    size_t j = i + 1;
    while (j < format.size() && std::string_view("-+ #0123456789.*lh").find(format[j]) != std::string_view::npos) ++j;
    if (j >= format.size() || std::string_view("sdiuxXo").find(format[j]) == std::string_view::npos) {
      out += format[i];
      continue;
    }
    if (next < args.size()) {
      const Value& v = args[next++];
      if (v.IsNull()) out += "(null)";
      else if (v.kind == Value::Kind::kInteger) out += std::to_string(v.integer);
      else if (v.kind == Value::Kind::kReal) out += std::to_string(static_cast<int64_t>(v.real));
      else out += v.bytes;
    } else {
      out += "(null)";
    }
    i = j;
  }
  return out;
}

}  // namespace

Flow Interpreter::RunList(const std::vector<ast::Statement>& statements, Frame& frame) {
  for (const ast::Statement& statement : statements) {
    Flow flow = Run(statement, frame);
    if (flow != Flow::kNext) return flow;
  }
  return Flow::kNext;
}

Flow Interpreter::Run(const ast::Statement& statement, Frame& frame) {
  Diagnostics diags;
  if (TimeUp(&diags)) {
    Emit(Result{nullptr, -1, diags, true});
    return Flow::kAbort;
  }
  const ast::StatementBody& body = statement.body;
  if (auto* select = std::get_if<ast::Select>(&body); select && !select->into.name.empty()) {
    return RunSelectInto(statement, *select, frame);
  }
  if (IsSqlStatement(body)) {
    CompiledStatement& compiled = frame.cache->Get(&statement, kMain, frame.scope);
    if (!compiled.node) {
      compiled.node = &statement;
      compiled.kind = CompiledStatement::Kind::kSqlite;
    }
    return RunSql(compiled, frame);
  }
  if (auto* merge = std::get_if<ast::Merge>(&body)) return RunMerge(statement, *merge, frame);
  if (auto* block = std::get_if<ast::Block>(&body)) return RunList(block->statements, frame);
  if (auto* node = std::get_if<ast::If>(&body)) return RunIf(statement, *node, frame);
  if (auto* node = std::get_if<ast::While>(&body)) return RunWhile(statement, *node, frame);
  if (std::holds_alternative<ast::Break>(body)) return Flow::kBreak;
  if (std::holds_alternative<ast::Continue>(body)) return Flow::kContinue;
  if (auto* node = std::get_if<ast::Return>(&body)) return RunReturn(statement, *node, frame);
  if (auto* node = std::get_if<ast::Declare>(&body)) return RunDeclare(statement, *node, frame);
  if (auto* node = std::get_if<ast::SetVariable>(&body)) return RunSet(statement, *node, frame);
  if (auto* node = std::get_if<ast::TryCatch>(&body)) return RunTry(*node, frame);
  if (auto* node = std::get_if<ast::Print>(&body)) return RunPrint(statement, *node, frame);
  if (auto* node = std::get_if<ast::RaiseError>(&body)) return RunRaiseError(statement, *node, frame);
  if (auto* node = std::get_if<ast::WaitFor>(&body)) return RunWaitFor(statement, *node, frame);
  if (auto* node = std::get_if<ast::Dbcc>(&body)) return RunDbcc(*node, frame);
  if (auto* node = std::get_if<ast::DeclareCursor>(&body)) return RunCursorDeclare(statement, *node, frame);
  if (auto* node = std::get_if<ast::CursorCommand>(&body)) return RunCursorCommand(*node, frame);
  if (auto* node = std::get_if<ast::Fetch>(&body)) return RunFetch(statement, *node, frame);
  if (auto* node = std::get_if<ast::Execute>(&body)) {
    if (IsDynamicExecute(*node)) return RunDynamic(statement, *node, frame);
    if (const SystemProcedure* system = FindSystemProcedure(node->procedure.name)) {
      return RunSystemProcedure(statement, *node, *system, frame);
    }
    if (!IdentifiersEqual(node->procedure.name, "sqlsim_fault")) return RunExecute(statement, *node, frame);
  }
  if (std::holds_alternative<ast::CreateModule>(body)) return RunCreateModule(statement, frame);
  CompiledStatement& compiled = frame.cache->Get(&statement, kMain, frame.scope);
  if (!compiled.node) {
    compiled.node = &statement;
    compiled.kind = CompiledStatement::Kind::kDefinition;
  }
  return RunCommand(compiled, frame);
}

Flow Interpreter::Failed(Diagnostics diags, Frame& frame, bool in_trigger, bool raised) {
  session_.NoteTransactionEndedBySqlite();
  Diagnostic error;
  for (const Diagnostic& d : diags) {
    if (IsError(d)) {
      error = d;
      break;
    }
  }
  last_error_ = error;
  session_.globals().error = error.native;
  // A time limit is no error a CATCH block handles; an unknown object in
  // the batch itself is found before its TRY runs.
  bool catchable = error.sqlstate != "HYT00" && !(error.native == 208 && !frame.in_procedure);
  if (frame.try_depth > 0 && error.severity >= 11 && catchable) {
    frame.catching.push_back({error, true, frame.module_name});
    return Flow::kCaught;
  }
  Result result;
  result.failed = true;
  result.messages = std::move(diags);
  bool notice = error.native == 2627 || error.native == 2601 || error.native == 515 ||
                error.native == 8152 || error.native == 547;
  if (notice) result.messages.push_back(ServerInfo(3621, "The statement has been terminated."));
  Emit(std::move(result));
  // Errors inside a trigger end the batch (XACT_ABORT is on there).
  if (in_trigger || (frame.inside_trigger && !raised) || error.sqlstate == "HYT00") return Flow::kAbort;
  // An unknown object ends the procedure it is met in; its caller goes on.
  if (error.native == 208 && frame.in_procedure) return Flow::kReturn;
  if (AbortsBatch(error.native)) return Flow::kAbort;
  return Flow::kNext;
}

void Interpreter::Emit(Result result) { results_->push_back(std::move(result)); }

void Interpreter::SetRowCount(int64_t n) { session_.globals().row_count = n; }

bool Interpreter::TimeUp(Diagnostics* diags) {
  if (!session_.DeadlinePassed()) return false;
  diags->push_back(QueryTimeoutDiagnostic());
  return true;
}

bool Interpreter::EvaluateCondition(const ast::Statement& s, int purpose, const ast::Expr& condition,
                                    Frame& frame, bool* holds, Diagnostics* diags) {
  CompiledStatement& c = frame.cache->Get(&s, purpose, frame.scope);
  if (!TranslateWith(session_, c, [&](Translator& t) { t.Condition(condition); }, diags)) return false;
  std::vector<Value> row;
  if (!Evaluate(c, frame, &row, diags)) return false;
  *holds = !row.empty() && row[0].kind == Value::Kind::kInteger && row[0].integer != 0;
  session_.globals().error = 0;
  return true;
}

Flow Interpreter::RunIf(const ast::Statement& s, const ast::If& node, Frame& frame) {
  Diagnostics diags;
  bool holds = false;
  if (!EvaluateCondition(s, kCondition, *node.condition, frame, &holds, &diags)) return Failed(diags, frame);
  if (holds) return Run(*node.then_branch, frame);
  if (node.else_branch) return Run(*node.else_branch, frame);
  return Flow::kNext;
}

Flow Interpreter::RunWhile(const ast::Statement& s, const ast::While& node, Frame& frame) {
  for (;;) {
    Diagnostics diags;
    if (TimeUp(&diags)) return Failed(diags, frame);
    bool holds = false;
    if (!EvaluateCondition(s, kCondition, *node.condition, frame, &holds, &diags)) return Failed(diags, frame);
    if (!holds) return Flow::kNext;
    Flow flow = Run(*node.body, frame);
    if (flow == Flow::kBreak) return Flow::kNext;
    if (flow == Flow::kContinue || flow == Flow::kNext) continue;
    return flow;
  }
}

Flow Interpreter::RunTry(const ast::TryCatch& node, Frame& frame) {
  size_t outer = frame.catching.size();
  ++frame.try_depth;
  Flow flow = RunList(node.try_statements, frame);
  --frame.try_depth;
  if (flow != Flow::kCaught) return flow;
  // The CATCH block sees this error: the one caught last.
  if (frame.catching.size() > outer + 1) frame.catching.erase(frame.catching.begin() + static_cast<long>(outer), frame.catching.end() - 1);
  flow = RunList(node.catch_statements, frame);
  if (flow == Flow::kCaught) {
    // An error in the CATCH block goes on to an outer TRY.
    frame.catching.erase(frame.catching.begin() + static_cast<long>(outer), frame.catching.end() - 1);
    return flow;
  }
  frame.catching.resize(outer);
  return flow;
}

bool Interpreter::Assign(Frame& frame, const std::string& name, Value value) {
  frame.values[name] = std::move(value);
  return true;
}

Flow Interpreter::RunDeclare(const ast::Statement& s, const ast::Declare& d, Frame& frame) {
  for (size_t i = 0; i < d.variables.size(); ++i) {
    const ast::VariableDecl& v = d.variables[i];
    std::string name = ddl::FoldName(v.name);
    if (v.table) {
      Diagnostics diags;
      // A declaration in a loop makes its table once.
      if (frame.table_variables.insert(name).second && !DeclareTableVariable(session_, *v.table, &diags)) {
        return Failed(diags, frame);
      }
      continue;
    }
    // A declaration is no statement that runs: in a loop it does not reset.
    if (!v.init) {
      frame.values.emplace(name, Value::Null());
      continue;
    }
    Diagnostics diags;
    CompiledStatement& c = frame.cache->Get(&s, kValues + static_cast<int>(i), frame.scope);
    if (!TranslateWith(session_, c, [&](Translator& t) { t.Assign(v.name, "", *v.init); }, &diags)) {
      return Failed(diags, frame);
    }
    std::vector<Value> row;
    if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
    frame.values[name] = row.empty() ? Value::Null() : row[0];
  }
  return Flow::kNext;
}

Flow Interpreter::RunSet(const ast::Statement& s, const ast::SetVariable& set, Frame& frame) {
  Diagnostics diags;
  CompiledStatement& c = frame.cache->Get(&s, kMain, frame.scope);
  if (!TranslateWith(session_, c, [&](Translator& t) { t.Assign(set.name, set.op, *set.value); }, &diags)) {
    return Failed(diags, frame);
  }
  std::vector<Value> row;
  if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
  Assign(frame, ddl::FoldName(set.name), row.empty() ? Value::Null() : row[0]);
  SetRowCount(1);
  session_.globals().error = 0;
  return Flow::kNext;
}

Flow Interpreter::RunReturn(const ast::Statement& s, const ast::Return& node, Frame& frame) {
  if (!node.value) return Flow::kReturn;
  Diagnostics diags;
  CompiledStatement& c = frame.cache->Get(&s, kMain, frame.scope);
  const ast::Expr* value = node.value.get();
  std::vector<VariableType> target;
  if (frame.scope && frame.scope->variables.count("@@sqlsim_returns")) {
    target.push_back(frame.scope->variables.at("@@sqlsim_returns"));
  } else {
    target.push_back({SqlType::kInt, 0});
  }
  if (!TranslateWith(session_, c, [&](Translator& t) { t.Values({value}, target); }, &diags)) {
    return Failed(diags, frame);
  }
  std::vector<Value> row;
  if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
  frame.return_value = row.empty() ? Value::Null() : row[0];
  if (frame.return_value.kind == Value::Kind::kInteger) {
    frame.return_status = static_cast<int32_t>(frame.return_value.integer);
  }
  return Flow::kReturn;
}

Flow Interpreter::RunPrint(const ast::Statement& s, const ast::Print& node, Frame& frame) {
  Diagnostics diags;
  CompiledStatement& c = frame.cache->Get(&s, kMain, frame.scope);
  const ast::Expr* value = node.value.get();
  if (!TranslateWith(session_, c, [&](Translator& t) { t.Values({value}, {{SqlType::kVarchar, 8000}}); },
                     &diags)) {
    return Failed(diags, frame);
  }
  std::vector<Value> row;
  if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
  std::string text = row.empty() || row[0].IsNull() ? "" : row[0].bytes;
  Result result;
  result.messages.push_back(ServerInfo(0, text));
  Emit(std::move(result));
  SetRowCount(0);
  return Flow::kNext;
}

Flow Interpreter::RunRaiseError(const ast::Statement& s, const ast::RaiseError& node, Frame& frame) {
  Diagnostics diags;
  CompiledStatement& c = frame.cache->Get(&s, kMain, frame.scope);
  std::vector<const ast::Expr*> values;
  for (const ast::ExprPtr& arg : node.args) values.push_back(arg.get());
  if (!TranslateWith(session_, c, [&](Translator& t) { t.Values(values, {}); }, &diags)) {
    return Failed(diags, frame);
  }
  std::vector<Value> row;
  if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
  std::string message = row.size() > 0 && !row[0].IsNull() ? FormatRaised(row[0].bytes, row, 3) : "";
  int32_t number = 50000;
  if (row.size() > 0 && row[0].kind == Value::Kind::kInteger) {
    number = static_cast<int32_t>(row[0].integer);
    message = "Error " + std::to_string(number) + " raised.";
  }
  int64_t severity = row.size() > 1 && row[1].kind == Value::Kind::kInteger ? row[1].integer : 16;
  if (severity <= 10) {
    Result result;
    result.messages.push_back(ServerInfo(number, message));
    Emit(std::move(result));
    return Flow::kNext;
  }
  Diagnostic error = ServerError(number, message, s.pos.line);
  error.severity = static_cast<int32_t>(severity > 25 ? 25 : severity);
  return Failed({error}, frame, false, true);
}

Flow Interpreter::RunWaitFor(const ast::Statement& s, const ast::WaitFor& node, Frame& frame) {
  Diagnostics diags;
  CompiledStatement& c = frame.cache->Get(&s, kMain, frame.scope);
  const ast::Expr* value = node.value.get();
  if (!TranslateWith(session_, c, [&](Translator& t) { t.Values({value}, {{SqlType::kVarchar, 30}}); }, &diags)) {
    return Failed(diags, frame);
  }
  std::vector<Value> row;
  if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
  std::optional<int64_t> ms = row.empty() ? std::nullopt : ParseDelay(row[0].bytes, node.is_time);
  if (!ms) {
    return Failed({ServerError(148, "Incorrect time syntax in time string '" +
                                        (row.empty() ? std::string() : row[0].bytes) + "' used with WAITFOR.",
                               s.pos.line)},
                  frame);
  }
  // Sleep in slices so that the statement time limit still applies.
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(*ms);
  while (std::chrono::steady_clock::now() < until) {
    if (TimeUp(&diags)) return Failed(diags, frame);
    auto left = until - std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(left, std::chrono::milliseconds(20)));
  }
  return Flow::kNext;
}

}  // namespace sqlsim
