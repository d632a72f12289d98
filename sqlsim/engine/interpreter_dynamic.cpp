// EXECUTE (text) and sp_executesql: text run as a batch of its own, with
// its own variables (the caller's are not seen), its results going to the
// client as part of the calling batch, and its errors behaving as those of
// a called procedure.
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/temp_tables.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/front/parser.h"

namespace sqlsim {
namespace {

// Purposes of the compiled forms of an EXECUTE statement.
enum Purpose : int { kText = 0, kArguments = 1 };

std::string TextOf(const Value& value) {
  if (value.kind == Value::Kind::kInteger) return std::to_string(value.integer);
  return value.bytes;
}

bool IsPlainCharacterLiteral(const ast::Expr* e) {
  return e && e->kind == ast::ExprKind::kLiteral && e->literal_type == ast::LiteralType::kString && !e->national;
}

Diagnostic WrongTextType(const char* parameter, int32_t line) {
  return ServerError(214, std::string("Procedure expects parameter '") + parameter +
                              "' of type 'ntext/nchar/nvarchar'.", line);
}

// sp_executesql's own two arguments and those meant for the text's
// parameters, as written.
struct ExecuteSqlArgs {
  const ast::Expr* statement = nullptr;
  const ast::Expr* parameters = nullptr;
  std::vector<const ast::ExecuteArg*> rest;
};

ExecuteSqlArgs SplitArguments(const ast::Execute& node) {
  ExecuteSqlArgs split;
  size_t position = 0;
  for (const ast::ExecuteArg& arg : node.args) {
    std::string name = ddl::FoldName(arg.name);
    if (name == "@stmt" || name == "@statement" || (name.empty() && position == 0)) {
      split.statement = arg.value.get();
    } else if (name == "@params" || (name.empty() && position == 1)) {
      split.parameters = arg.value.get();
    } else {
      split.rest.push_back(&arg);
    }
    if (name.empty()) ++position;
  }
  return split;
}

// Where each remaining argument goes among the declared parameters; false
// with the server's error.
bool PlaceParameters(const std::vector<ParameterInfo>& params, const ExecuteSqlArgs& split,
                     const std::string& query, int32_t line, std::vector<const ast::ExecuteArg*>* placed,
                     Diagnostics* diags) {
  placed->assign(params.size(), nullptr);
  size_t position = 0;
  for (const ast::ExecuteArg* arg : split.rest) {
    size_t index = arg->name.empty() ? position++ : params.size();
    for (size_t i = 0; !arg->name.empty() && i < params.size(); ++i) {
      if (params[i].name == ddl::FoldName(arg->name)) index = i;
    }
    if (index >= params.size()) {
      diags->push_back(arg->name.empty()
                           ? ServerError(8144, "Procedure or function has too many arguments specified.", line)
                           : ServerError(8145, arg->name + " is not a parameter for procedure .", line));
      return false;
    }
    if ((*placed)[index]) {
      diags->push_back(ServerError(8143, "Parameter '" + params[index].written_name + "' was supplied multiple times.",
                                   line));
      return false;
    }
    if (arg->output && !params[index].output) {
      diags->push_back(ServerError(8162, "The formal parameter \"" + params[index].written_name +
                                             "\" was not declared as an OUTPUT parameter, but the actual parameter "
                                             "passed in requested output.", line));
      return false;
    }
    (*placed)[index] = arg;
  }
  for (size_t i = 0; i < params.size(); ++i) {
    if ((*placed)[i]) continue;
    diags->push_back(ServerError(8178, "The parameterized query '" + query + "' expects the parameter '" +
                                           params[i].written_name + "', which was not supplied.", line));
    return false;
  }
  return true;
}

}  // namespace

bool IsDynamicExecute(const ast::Execute& node) {
  return node.text || IdentifiersEqual(node.procedure.name, "sp_executesql");
}

Flow Interpreter::RunDynamic(const ast::Statement& s, const ast::Execute& node, Frame& frame) {
  if (node.text) {
    Diagnostics diags;
    CompiledStatement& c = frame.cache->Get(&s, kText, frame.scope);
    const ast::Expr* text = node.text.get();
    if (!TranslateWith(session_, c, [&](Translator& t) { t.Values({text}, {}); }, &diags)) {
      return Failed(diags, frame);
    }
    std::vector<Value> row;
    if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
    if (row.empty() || row[0].IsNull()) return Flow::kNext;
    DynamicBatch batch;
    batch.text = TextOf(row[0]);
    return RunDynamicBatch(batch, 1, frame);
  }
  return RunExecuteSql(s, node, frame);
}

Flow Interpreter::RunExecuteSql(const ast::Statement& s, const ast::Execute& node, Frame& frame) {
  ExecuteSqlArgs split = SplitArguments(node);
  if (!split.statement) {
    return Failed({ServerError(201, "Procedure or function 'sp_executesql' expects parameter '@statement', which was "
                                    "not supplied.", s.pos.line)},
                  frame);
  }
  if (IsPlainCharacterLiteral(split.statement)) return Failed({WrongTextType("@statement", s.pos.line)}, frame);
  if (IsPlainCharacterLiteral(split.parameters)) return Failed({WrongTextType("@params", s.pos.line)}, frame);
  Diagnostics diags;
  CompiledStatement& c = frame.cache->Get(&s, kText, frame.scope);
  std::vector<const ast::Expr*> texts = {split.statement, split.parameters};
  if (!TranslateWith(session_, c, [&](Translator& t) { t.Values(texts, {}); }, &diags)) return Failed(diags, frame);
  std::vector<Value> row;
  if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
  if (row.size() < 2 || row[0].IsNull()) return Flow::kNext;
  DynamicBatch batch;
  batch.text = TextOf(row[0]);
  std::string declared = row[1].IsNull() ? "" : TextOf(row[1]);
  ParameterListOutcome list = ParseParameterList(declared);
  if (!list.ok()) return Failed(list.errors, frame);
  for (const ast::ParameterDecl& p : list.parameters) {
    ParameterInfo info;
    info.name = ddl::FoldName(p.name);
    info.written_name = p.name;
    info.type = VariableTypeOf(p.type);
    info.output = p.output;
    batch.parameters.push_back(info);
  }
  std::vector<const ast::ExecuteArg*> placed;
  std::string query = declared.empty() ? batch.text : "(" + declared + ")" + batch.text;
  if (!PlaceParameters(batch.parameters, split, query, s.pos.line, &placed, &diags)) return Failed(diags, frame);
  if (!EvaluateArguments(s, batch, placed, frame)) return Flow::kNext;
  Flow flow = RunDynamicBatch(batch, 2, frame);
  for (size_t i = 0; i < placed.size(); ++i) {
    const ast::ExecuteArg& arg = *placed[i];
    if (arg.output && arg.value && arg.value->kind == ast::ExprKind::kVariable) {
      Assign(frame, ddl::FoldName(arg.value->text), batch.values[i]);
    }
  }
  return flow;
}

bool Interpreter::EvaluateArguments(const ast::Statement& s, DynamicBatch& batch,
                                    const std::vector<const ast::ExecuteArg*>& placed, Frame& frame) {
  std::vector<const ast::Expr*> values;
  std::vector<VariableType> targets;
  for (size_t i = 0; i < placed.size(); ++i) {
    values.push_back(placed[i]->value.get());
    targets.push_back(batch.parameters[i].type);
  }
  batch.values.assign(placed.size(), Value::Null());
  if (values.empty()) return true;
  Diagnostics diags;
  CompiledStatement& c = frame.cache->Get(&s, kArguments, frame.scope);
  // The declared types change from call to call: translate every time.
  c.translated_version = 0;
  std::vector<Value> row;
  if (!TranslateWith(session_, c, [&](Translator& t) { t.Values(values, targets); }, &diags) ||
      !Evaluate(c, frame, &row, &diags)) {
    // As for a procedure's arguments: the server names the conversion.
    for (Diagnostic& d : diags) {
      if (d.native == 245 || d.native == 241) {
        d = ServerError(8114, "Error converting data type varchar to " +
                                  std::string(d.native == 241 ? "datetime" : "int") + ".", s.pos.line);
      }
    }
    Failed(diags, frame);
    return false;
  }
  for (size_t i = 0; i < row.size() && i < batch.values.size(); ++i) batch.values[i] = row[i];
  return true;
}

Flow Interpreter::RunDynamicBatch(DynamicBatch& batch, int32_t levels, Frame& caller) {
  if (session_.globals().nest_level + levels > kMaxModuleNesting) {
    return Failed({ServerError(217, "Maximum stored procedure, function, trigger, or view nesting level exceeded (limit 32).")},
                  caller);
  }
  ParseOutcome parsed = ParseBatch(batch.text);
  if (!parsed.ok()) return Failed(parsed.errors, caller);
  ProgramScope scope;
  for (const ParameterInfo& p : batch.parameters) scope.variables[p.name] = p.type;
  CollectDeclarations(parsed.batch.statements, &scope);
  StatementCache cache;
  Frame inner;
  EnterNested(caller, &inner);
  inner.scope = &scope;
  inner.cache = &cache;
  inner.batch_text = &batch.text;
  for (size_t i = 0; i < batch.parameters.size() && i < batch.values.size(); ++i) {
    inner.values[batch.parameters[i].name] = batch.values[i];
  }
  int32_t transactions = session_.transaction_count();
  bool nocount = session_.nocount();
  session_.globals().nest_level += levels;
  Flow flow;
  {
    TempTableScope temp_tables(session_);
    flow = RunList(parsed.batch.statements, inner);
  }
  session_.globals().nest_level -= levels;
  session_.set_nocount(nocount);
  for (size_t i = 0; i < batch.parameters.size() && i < batch.values.size(); ++i) {
    if (batch.parameters[i].output) batch.values[i] = inner.values[batch.parameters[i].name];
  }
  return LeaveNested(flow, inner, caller, transactions);
}

}  // namespace sqlsim
