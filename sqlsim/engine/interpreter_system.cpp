// EXECUTE of a system procedure: arguments by position or name, converted
// to the parameters' types, then the procedure's result sets.
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/system_procedures.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

// The parameter each argument goes to; false with the server's error.
bool PlaceArguments(const SystemProcedure& procedure, const ast::Execute& node, int32_t line,
                    std::vector<const ast::Expr*>* values, Diagnostics* diags) {
  const auto& params = procedure.parameters;
  values->assign(params.size(), nullptr);
  size_t position = 0;
  for (const ast::ExecuteArg& arg : node.args) {
    size_t index = arg.name.empty() ? position++ : params.size();
    for (size_t i = 0; i < params.size() && !arg.name.empty(); ++i) {
      if (ddl::FoldName(arg.name) == params[i].name) index = i;
    }
    if (index >= params.size()) {
      diags->push_back(
          arg.name.empty()
              ? ServerError(
                    8144, "Procedure or function " + std::string(procedure.name) + " has too many arguments specified.",
                    line)
              : ServerError(8145, arg.name + " is not a parameter for procedure " + procedure.name + ".", line));
      return false;
    }
    (*values)[index] = arg.value.get();
  }
  for (size_t i = 0; i < params.size(); ++i) {
    if (params[i].required && !(*values)[i]) {
      diags->push_back(ServerError(201,
                                   "Procedure or function '" + std::string(procedure.name) + "' expects parameter '" +
                                       params[i].name + "', which was not supplied.",
                                   line));
      return false;
    }
  }
  return true;
}

}  // namespace

Flow Interpreter::RunSystemProcedure(const ast::Statement& s, const ast::Execute& node,
                                     const SystemProcedure& procedure, Frame& frame) {
  Diagnostics diags;
  std::vector<const ast::Expr*> placed;
  if (!PlaceArguments(procedure, node, s.pos.line, &placed, &diags)) return Failed(diags, frame);
  std::vector<const ast::Expr*> given;
  std::vector<VariableType> targets;
  for (size_t i = 0; i < placed.size(); ++i) {
    if (!placed[i]) continue;
    given.push_back(placed[i]);
    targets.push_back(procedure.parameters[i].type);
  }
  SystemArguments args(placed.size());
  if (!given.empty()) {
    CompiledStatement& c = frame.cache->Get(&s, 0, frame.scope);
    if (!TranslateWith(
            session_, c, [&](Translator& t) { t.Values(given, targets); }, &diags)) {
      return Failed(diags, frame);
    }
    std::vector<Value> row;
    if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
    for (size_t i = 0, next = 0; i < placed.size(); ++i) {
      if (placed[i] && next < row.size()) args[i] = row[next++];
    }
  }
  std::vector<Result> results;
  if (!procedure.run(session_, args, &results, &diags)) return Failed(diags, frame);
  for (Result& r : results) {
    r.in_procedure = true;
    Emit(std::move(r));
  }
  if (!node.status_variable.empty()) Assign(frame, ddl::FoldName(node.status_variable), Value::Integer(0));
  return Flow::kNext;
}

}  // namespace sqlsim
