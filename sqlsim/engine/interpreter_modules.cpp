// Procedures and scalar functions: parsed from their stored definitions,
// called with arguments converted to their parameters' types.
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/identity.h"
#include "sqlsim/engine/information_schema.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/temp_tables.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/types.h"
#include "sqlsim/front/parser.h"
#include "sqlsim/functions/function_error.h"

namespace sqlsim {
namespace {


void CollectFrom(const ast::Statement& statement, ProgramScope* scope);

void CollectList(const std::vector<ast::Statement>& statements, ProgramScope* scope) {
  for (const ast::Statement& s : statements) CollectFrom(s, scope);
}

void CollectFrom(const ast::Statement& statement, ProgramScope* scope) {
  const ast::StatementBody& body = statement.body;
  if (auto* d = std::get_if<ast::Declare>(&body)) {
    for (const ast::VariableDecl& v : d->variables) {
      if (!v.table) scope->variables[ddl::FoldName(v.name)] = VariableTypeOf(v.type);
    }
  } else if (auto* b = std::get_if<ast::Block>(&body)) {
    CollectList(b->statements, scope);
  } else if (auto* i = std::get_if<ast::If>(&body)) {
    if (i->then_branch) CollectFrom(*i->then_branch, scope);
    if (i->else_branch) CollectFrom(*i->else_branch, scope);
  } else if (auto* w = std::get_if<ast::While>(&body)) {
    if (w->body) CollectFrom(*w->body, scope);
  } else if (auto* t = std::get_if<ast::TryCatch>(&body)) {
    CollectList(t->try_statements, scope);
    CollectList(t->catch_statements, scope);
  }
}

// A bare marker the client bound for output: an OUTPUT argument whose
// final value goes back to the client.
bool IsOutputMarker(const ast::ExecuteArg& arg, const Frame& frame) {
  if (!arg.value || arg.value->kind != ast::ExprKind::kParameter || !frame.batch_params) return false;
  if (!frame.batch_outputs || arg.value->param_index < 0) return false;
  auto index = static_cast<size_t>(arg.value->param_index);
  return index < frame.batch_params->size() && (*frame.batch_params)[index].output;
}

}  // namespace

std::optional<VariableType> GlobalVariableType(const std::string& name) {
  static const std::map<std::string, VariableType> kGlobals = {
      {"@@error", {SqlType::kInt, 0}},          {"@@rowcount", {SqlType::kInt, 0}},
      {"@@fetch_status", {SqlType::kInt, 0}},   {"@@trancount", {SqlType::kInt, 0}},
      {"@@nestlevel", {SqlType::kInt, 0}},      {"@@spid", {SqlType::kSmallint, 0}},
      {"@@version", {SqlType::kVarchar, 255}},  {"error_number()", {SqlType::kInt, 0}},
      {"error_message()", {SqlType::kVarchar, 2048}}, {"error_severity()", {SqlType::kInt, 0}},
      {"error_state()", {SqlType::kInt, 0}},    {"error_line()", {SqlType::kInt, 0}},
      {"error_procedure()", {SqlType::kVarchar, 128}},
      {"@@identity", {SqlType::kDecimal, 0}},   {"scope_identity()", {SqlType::kDecimal, 0}},
  };
  auto it = kGlobals.find(name);
  if (it == kGlobals.end()) return std::nullopt;
  return it->second;
}

VariableType VariableTypeOf(const ast::TypeName& type) {
  VariableType v;
  v.type = SqlTypeOf(type);
  if (v.type == SqlType::kDecimal) {
    v.length = type.scale < 0 ? 0 : type.scale;
    v.precision = type.length > 0 ? type.length : 18;
  } else if (type.length > 0) {
    v.length = type.length;
  } else if (type.length == ast::TypeName::kNone &&
             (v.type == SqlType::kChar || v.type == SqlType::kVarchar || v.type == SqlType::kBinary ||
              v.type == SqlType::kVarbinary)) {
    v.length = 1;  // char without a length is char(1)
  }
  return v;
}

void CollectDeclarations(const std::vector<ast::Statement>& statements, ProgramScope* scope) {
  CollectList(statements, scope);
}

CompiledModule* ModuleCache::Find(const CatalogModule& module, Diagnostics* diags) {
  auto it = modules_.find(module.id);
  if (it != modules_.end() && it->second->module.definition == module.definition) return it->second.get();
  auto compiled = std::make_unique<CompiledModule>();
  compiled->module = module;
  ParseOutcome parsed = ParseBatch(compiled->module.definition);
  const ast::CreateModule* node = nullptr;
  if (parsed.ok() && !parsed.batch.statements.empty()) {
    node = std::get_if<ast::CreateModule>(&parsed.batch.statements[0].body);
  }
  if (!node) {
    diags->push_back(ServerError(50000, "The definition of '" + module.name + "' cannot be read."));
    return nullptr;
  }
  compiled->tree = std::move(parsed.batch);
  compiled->node = std::get_if<ast::CreateModule>(&compiled->tree.statements[0].body);
  for (const ast::ParameterDecl& p : compiled->node->parameters) {
    ParameterInfo info;
    info.name = ddl::FoldName(p.name);
    info.written_name = p.name;
    info.type = VariableTypeOf(p.type);
    info.default_value = p.default_value.get();
    info.has_default = p.default_value != nullptr;
    info.output = p.output;
    compiled->parameters.push_back(info);
    compiled->scope.variables[info.name] = info.type;
  }
  if (compiled->node->kind == ast::ObjectKind::kFunction) {
    compiled->returns = VariableTypeOf(compiled->node->returns);
    compiled->scope.variables["@@sqlsim_returns"] = compiled->returns;
  }
  if (compiled->node->kind == ast::ObjectKind::kTrigger) {
    compiled->scope.trigger_table = compiled->node->trigger_table.name;
    compiled->scope.trigger_id = module.id;
  }
  CollectDeclarations(compiled->node->body, &compiled->scope);
  CompiledModule* result = compiled.get();
  modules_[module.id] = std::move(compiled);
  return result;
}

Flow Interpreter::RunExecute(const ast::Statement& s, const ast::Execute& node, Frame& frame) {
  Diagnostics diags;
  std::optional<CatalogModule> found = session_.catalog().FindModule(node.procedure.name);
  if (!found || found->xtype != "P") {
    return Failed({ServerError(2812, "Could not find stored procedure '" + node.procedure.name + "'.", s.pos.line)},
                  frame);
  }
  CompiledModule* module = session_.procedures().Find(*found, &diags);
  if (!module) return Failed(diags, frame);
  // Arguments by position, then by name.
  const std::vector<ParameterInfo>& params = module->parameters;
  std::vector<const ast::Expr*> values(params.size(), nullptr);
  std::vector<bool> given(params.size(), false);
  std::vector<std::string> output_targets(params.size());
  std::vector<int32_t> marker_targets(params.size(), -1);
  std::vector<bool> supplied(params.size(), false);
  size_t position = 0;
  for (const ast::ExecuteArg& arg : node.args) {
    size_t index = position;
    if (!arg.name.empty()) {
      index = params.size();
      for (size_t i = 0; i < params.size(); ++i) {
        if (params[i].name == ddl::FoldName(arg.name)) index = i;
      }
      if (index == params.size()) {
        return Failed({ServerError(8145, arg.name + " is not a parameter for procedure " + found->name + ".", s.pos.line)},
                      frame);
      }
    } else {
      ++position;
    }
    if (index >= params.size()) {
      return Failed({ServerError(8144, "Procedure or function " + found->name + " has too many arguments specified.",
                                 s.pos.line)},
                    frame);
    }
    if (supplied[index]) {
      return Failed({ServerError(8143, "Parameter '" + params[index].written_name + "' was supplied multiple times.",
                                 s.pos.line)},
                    frame);
    }
    supplied[index] = true;
    values[index] = arg.value ? arg.value.get() : params[index].default_value;
    given[index] = arg.value != nullptr || params[index].has_default;
    if (arg.output && arg.value && arg.value->kind == ast::ExprKind::kVariable) {
      output_targets[index] = ddl::FoldName(arg.value->text);
    }
    if (IsOutputMarker(arg, frame)) marker_targets[index] = arg.value->param_index;
  }
  for (size_t i = 0; i < params.size(); ++i) {
    if (given[i]) continue;
    if (!params[i].has_default) {
      return Failed({ServerError(201, "Procedure or function '" + found->name + "' expects parameter '" +
                                          params[i].written_name + "', which was not supplied.",
                                 s.pos.line)},
                    frame);
    }
    values[i] = params[i].default_value;
  }
  std::vector<VariableType> targets;
  for (const ParameterInfo& p : params) targets.push_back(p.type);
  CompiledStatement& c = frame.cache->Get(&s, 0, frame.scope);
  // The arguments' translation depends on the procedure's parameters; a
  // changed procedure changes the catalog version, which translates again.
  if (!TranslateWith(session_, c, [&](Translator& t) { t.Values(values, targets); }, &diags)) {
    return Failed(diags, frame);
  }
  std::vector<Value> row;
  if (!Evaluate(c, frame, &row, &diags)) {
    for (Diagnostic& d : diags) {
      if (d.native == 245 || d.native == 8114 || d.native == 241 || d.native == 8115) {
        d = ServerError(8114, "Error converting data type varchar to " +
                                  std::string(d.native == 241 ? "datetime" : "int") + ".", s.pos.line);
      }
    }
    return Failed(diags, frame);
  }
  std::vector<std::optional<Value>> args;
  for (size_t i = 0; i < params.size(); ++i) args.push_back(i < row.size() ? std::optional<Value>(row[i]) : std::nullopt);
  int32_t status = 0;
  Flow flow = CallProcedure(*module, args, frame, &status);
  for (size_t i = 0; i < params.size(); ++i) {
    if (!output_targets[i].empty() && params[i].output && args[i]) Assign(frame, output_targets[i], *args[i]);
  }
  if (!node.status_variable.empty()) Assign(frame, ddl::FoldName(node.status_variable), Value::Integer(status));
  // The client gets its output markers only from a call that ended normally:
  // an error that ends the batch sends neither them nor the status.
  if (flow == Flow::kNext && frame.batch_outputs) {
    std::vector<std::optional<Value>>& outputs = *frame.batch_outputs;
    for (size_t i = 0; i < params.size(); ++i) {
      if (marker_targets[i] >= 0 && args[i]) outputs[static_cast<size_t>(marker_targets[i])] = *args[i];
    }
    if (node.status_param >= 0 && static_cast<size_t>(node.status_param) < outputs.size()) {
      outputs[static_cast<size_t>(node.status_param)] = Value::Integer(status);
    }
  }
  return flow;
}

Flow Interpreter::CallProcedure(CompiledModule& module, std::vector<std::optional<Value>>& args, Frame& caller,
                                int32_t* status) {
  if (session_.globals().nest_level >= kMaxModuleNesting) {
    return Failed({ServerError(217, "Maximum stored procedure, function, trigger, or view nesting level exceeded (limit 32).")},
                  caller);
  }
  Frame inner;
  EnterNested(caller, &inner);
  inner.scope = &module.scope;
  inner.cache = &module.cache;
  inner.module_name = module.module.name;
  for (size_t i = 0; i < module.parameters.size() && i < args.size(); ++i) {
    inner.values[module.parameters[i].name] = args[i] ? *args[i] : Value::Null();
  }
  int32_t transactions = session_.transaction_count();
  bool nocount = session_.nocount();
  ++session_.globals().nest_level;
  Flow flow;
  {
    TempTableScope temp_tables(session_);
    flow = RunList(module.node->body, inner);
  }
  --session_.globals().nest_level;
  session_.set_nocount(nocount);
  for (size_t i = 0; i < module.parameters.size() && i < args.size(); ++i) {
    if (module.parameters[i].output) args[i] = inner.values[module.parameters[i].name];
  }
  *status = inner.return_status;
  return LeaveNested(flow, inner, caller, transactions);
}

void Interpreter::EnterNested(const Frame& caller, Frame* inner) {
  inner->in_procedure = true;
  inner->inside_trigger = caller.inside_trigger;
  inner->try_depth = caller.try_depth;
  // ERROR_NUMBER() ... of a CATCH block reach the procedures it calls.
  if (!caller.catching.empty()) inner->catching.push_back(caller.catching.back());
}

Flow Interpreter::LeaveNested(Flow flow, Frame& inner, Frame& caller, int32_t transactions) {
  if (flow == Flow::kCaught) {
    caller.catching.push_back(inner.catching.back());
    return Flow::kCaught;
  }
  if (flow == Flow::kAbort) return Flow::kAbort;
  // A statement of the module that opened the transaction of manual-commit
  // mode leaves no level unbalanced: the caller's commit ends it.
  const bool opened_implicitly = transactions == 0 && session_.OnlyImplicitTransaction();
  if (session_.transaction_count() != transactions && !opened_implicitly) {
    return Failed({ServerError(266, "Transaction count after EXECUTE indicates a mismatching number of BEGIN and COMMIT "
                                    "statements. Previous count = " + std::to_string(transactions) +
                                    ", current count = " + std::to_string(session_.transaction_count()) + ".")},
                  caller);
  }
  return Flow::kNext;
}

bool Interpreter::CallFunction(CompiledModule& module, const std::vector<Value>& args, Value* result,
                               Diagnostic* error) {
  if (session_.globals().nest_level >= kMaxModuleNesting) {
    *error = ServerError(217, "Maximum stored procedure, function, trigger, or view nesting level exceeded (limit 32).");
    return false;
  }
  Frame inner;
  inner.scope = &module.scope;
  // A function calling itself runs while its caller's statement is still
  // stepping: the inner call must not reuse (and reset) those statements.
  StatementCache own_cache;
  inner.cache = module.active > 0 ? &own_cache : &module.cache;
  inner.module_name = module.module.name;
  for (size_t i = 0; i < module.parameters.size(); ++i) {
    inner.values[module.parameters[i].name] = i < args.size() ? args[i] : Value::Null();
  }
  ++session_.globals().nest_level;
  ++module.active;
  size_t results_before = results_->size();
  Flow flow = RunList(module.node->body, inner);
  --module.active;
  --session_.globals().nest_level;
  for (size_t i = results_before; i < results_->size(); ++i) {
    for (const Diagnostic& d : (*results_)[i].messages) {
      if (IsError(d)) {
        *error = d;
        return false;
      }
    }
  }
  if (flow == Flow::kAbort || flow == Flow::kCaught) {
    *error = last_error_;
    return false;
  }
  *result = inner.return_value;
  return true;
}

namespace {

struct UdfContext {
  SessionImpl* session;
};

Value ArgumentValue(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return Value::Integer(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return Value::Real(sqlite3_value_double(v));
    case SQLITE_TEXT:
      return Value::Text(std::string(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                     static_cast<size_t>(sqlite3_value_bytes(v))));
    case SQLITE_BLOB: {
      const char* data = static_cast<const char*>(sqlite3_value_blob(v));
      return Value::Blob(data ? std::string(data, static_cast<size_t>(sqlite3_value_bytes(v))) : std::string());
    }
    default: return Value::Null();
  }
}

void ResultValue(sqlite3_context* context, const Value& v) {
  switch (v.kind) {
    case Value::Kind::kNull: sqlite3_result_null(context); break;
    case Value::Kind::kInteger: sqlite3_result_int64(context, v.integer); break;
    case Value::Kind::kReal: sqlite3_result_double(context, v.real); break;
    case Value::Kind::kText:
      sqlite3_result_text64(context, v.bytes.data(), v.bytes.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
      break;
    case Value::Kind::kBlob: sqlite3_result_blob64(context, v.bytes.data(), v.bytes.size(), SQLITE_TRANSIENT); break;
  }
}

void ResultError(sqlite3_context* context, const Diagnostic& d) {
  std::string text = EncodeFunctionError(d.native, d.message);
  sqlite3_result_error(context, text.c_str(), static_cast<int>(text.size()));
}

void CallUserFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
  auto* udf = static_cast<UdfContext*>(sqlite3_user_data(context));
  SessionImpl& session = *udf->session;
  std::string name(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
  std::optional<CatalogModule> found = session.catalog().FindModule(name);
  Diagnostics diags;
  CompiledModule* module = found && found->xtype == "FN" ? session.procedures().Find(*found, &diags) : nullptr;
  if (!module) {
    ResultError(context, diags.empty() ? ServerError(4121, "Cannot find the user-defined function \"dbo." + name + "\".")
                                       : diags.front());
    return;
  }
  std::vector<Value> args;
  for (int i = 1; i < argc; ++i) args.push_back(ArgumentValue(argv[i]));
  std::vector<Result> ignored;
  Interpreter interpreter(session, &ignored);
  Value result;
  Diagnostic error;
  if (!interpreter.CallFunction(*module, args, &result, &error)) {
    ResultError(context, error);
    return;
  }
  ResultValue(context, result);
}

// tsql_getvar(name) and tsql_setvar(name, value): the variables of the
// frame whose statement is stepping.
void GetVariable(sqlite3_context* context, int, sqlite3_value** argv) {
  auto* udf = static_cast<UdfContext*>(sqlite3_user_data(context));
  Frame* frame = udf->session->active_frame();
  if (!frame) {
    sqlite3_result_null(context);
    return;
  }
  std::string name(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
  ResultValue(context, VariableValue(*udf->session, *frame, name));
}

void SetVariable(sqlite3_context* context, int, sqlite3_value** argv) {
  auto* udf = static_cast<UdfContext*>(sqlite3_user_data(context));
  Frame* frame = udf->session->active_frame();
  Value value = ArgumentValue(argv[1]);
  if (frame) {
    std::string name(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
    frame->values[name] = value;
  }
  ResultValue(context, value);
}

int ProgressHandler(void* data) {
  return static_cast<SessionImpl*>(data)->DeadlinePassed() ? 1 : 0;
}

}  // namespace

bool RegisterUserFunctions(SessionImpl& session, Diagnostics* diags) {
  auto* context = new UdfContext{&session};
  int rc = sqlite3_create_function_v2(session.db(), "tsql_udf", -1, SQLITE_UTF8, context, CallUserFunction, nullptr,
                                      nullptr, [](void* p) { delete static_cast<UdfContext*>(p); });
  if (rc == SQLITE_OK) {
    rc = sqlite3_create_function_v2(session.db(), "tsql_getvar", 1, SQLITE_UTF8, context, GetVariable, nullptr,
                                    nullptr, nullptr);
  }
  if (rc == SQLITE_OK) {
    rc = sqlite3_create_function_v2(session.db(), "tsql_setvar", 2, SQLITE_UTF8, context, SetVariable, nullptr,
                                    nullptr, nullptr);
  }
  if (rc == SQLITE_OK) rc = RegisterDatabaseName(session.db(), &session);
  if (rc == SQLITE_OK) rc = RegisterIdentCurrent(session.db());
  if (rc == SQLITE_OK) rc = RegisterIdentityValues(session.db());
  if (rc != SQLITE_OK) {
    diags->push_back(ServerError(50000, "The user function bridge could not be registered."));
    return false;
  }
  sqlite3_progress_handler(session.db(), 4000, ProgressHandler, &session);
  return true;
}

Diagnostic CanceledDiagnostic() {
  Diagnostic d;
  d.sqlstate = "HY008";
  d.native = 0;
  d.severity = 16;
  d.message = "Operation canceled";
  return d;
}

Diagnostic QueryTimeoutDiagnostic() {
  Diagnostic d;
  d.sqlstate = "HYT00";
  d.native = 0;
  d.severity = 16;
  d.message = "Query timeout expired";
  return d;
}

}  // namespace sqlsim
