#include "modules_db.h"

#include <gtest/gtest.h>

#include "sqlsim/engine/modules.h"
#include "sqlsim/front/parser.h"

namespace sqlsim::testing {
namespace {

std::string Print(const Value& v) {
  switch (v.kind) {
    case Value::Kind::kNull: return "NULL";
    case Value::Kind::kInteger: return std::to_string(v.integer);
    case Value::Kind::kReal: {
      std::string text = std::to_string(v.real);
      while (text.back() == '0') text.pop_back();
      if (text.back() == '.') text.pop_back();
      return text;
    }
    case Value::Kind::kText: case Value::Kind::kBlob: return v.bytes;
  }
  return "?";
}

}  // namespace

ModulesDb::ModulesDb() { Reopen(); }

void ModulesDb::Reopen() {
  session_.reset();
  ConnectOptions options;
  options.data_dir = dir_.Path().string();
  options.database = "modules";
  options.autocreate = true;
  Diagnostics diags;
  session_ = OpenSession(options, &diags);
  if (!session_) ADD_FAILURE() << (diags.empty() ? "no session" : diags.front().message);
}

int32_t ModulesDb::Run(const std::string& batch, std::vector<std::string>* rows) {
  Diagnostics diags;
  auto prepared = session_->Prepare(batch, &diags);
  if (!prepared) return diags.empty() ? -1 : diags.front().native;
  auto execution = prepared->Execute({});
  int32_t error = 0;
  while (auto result = execution->NextResult()) {
    for (const Diagnostic& d : result->messages) {
      if (d.severity > 10 && error == 0) error = d.native;
    }
    if (!result->rows) continue;
    Diagnostics row_diags;
    while (result->rows->Next(&row_diags)) {
      std::string row;
      for (size_t i = 0; i < result->rows->Columns().size(); ++i) {
        row += (i ? "|" : "") + Print(result->rows->Column(i));
      }
      if (rows) rows->push_back(row);
    }
    if (!row_diags.empty() && error == 0) error = row_diags.front().native;
  }
  return error;
}

std::vector<std::string> ModulesDb::Rows(const std::string& query) {
  std::vector<std::string> rows;
  int32_t error = Run(query, &rows);
  EXPECT_EQ(error, 0) << query;
  return rows;
}

int32_t ModulesDb::Create(const ast::CreateModule& module, const std::string& text) {
  Diagnostics diags;
  if (RunCreateModule(session(), module, text, &diags)) return 0;
  return diags.empty() ? -1 : diags.front().native;
}

int32_t ModulesDb::CreateView(const std::string& name, const std::string& select,
                              std::vector<std::string> columns) {
  ParseOutcome parsed = ParseBatch(select);
  if (!parsed.ok() || parsed.batch.statements.empty()) {
    ADD_FAILURE() << "does not parse: " << select;
    return -1;
  }
  auto* tree = std::get_if<ast::Select>(&parsed.batch.statements[0].body);
  if (!tree) {
    ADD_FAILURE() << "not a select: " << select;
    return -1;
  }
  ast::CreateModule module = Module(ast::ObjectKind::kView, name);
  module.view_select = std::make_unique<ast::Select>(std::move(*tree));
  module.view_columns = std::move(columns);
  return Create(module, "CREATE VIEW " + name + " AS " + select);
}

ast::CreateModule Module(ast::ObjectKind kind, const std::string& name) {
  ast::CreateModule module;
  module.kind = kind;
  module.name.name = name;
  return module;
}

ast::ParameterDecl Parameter(const std::string& name, const std::string& type, int32_t length) {
  ast::ParameterDecl parameter;
  parameter.name = name;
  parameter.type.name = type;
  parameter.type.length = length;
  return parameter;
}

}  // namespace sqlsim::testing
