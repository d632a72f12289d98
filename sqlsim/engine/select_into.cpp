// SELECT ... INTO table: a new table (temporary or not) with the columns
// of the query's result, then the query's rows inserted into it.
#include "sqlsim/engine/commands.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

ast::TypeName TypeNameOf(const ColumnDesc& column) {
  ast::TypeName type;
  SqlType sql_type = column.type == SqlType::kUnknown ? SqlType::kVarchar : column.type;
  type.name = std::string(CanonicalTypeName(sql_type));
  if (column.type == SqlType::kUnknown) {
    type.length = 8000;
  } else if (sql_type == SqlType::kChar || sql_type == SqlType::kVarchar || sql_type == SqlType::kBinary ||
             sql_type == SqlType::kVarbinary) {
    type.length = column.length > 0 ? column.length : ast::TypeName::kMax;
  } else if (sql_type == SqlType::kDecimal) {
    type.length = column.precision > 0 ? column.precision : 38;
    type.scale = column.scale;
  }
  return type;
}

// The CREATE TABLE of the result's columns; false with error 1038 for a
// column without a name.
bool TableOfColumns(const ast::ObjectName& name, const std::vector<ColumnDesc>& columns, int32_t line,
                    ast::CreateTable* table, Diagnostics* diags) {
  table->table = name;
  for (const ColumnDesc& column : columns) {
    if (column.name.empty()) {
      diags->push_back(ServerError(1038, "An object or column name is missing or empty. For SELECT INTO statements, "
                                         "verify each column has a name. For other statements, look for empty alias "
                                         "names. Aliases defined as \"\" or [] are not allowed. Change the alias to "
                                         "a valid name.", line));
      return false;
    }
    ast::ColumnDef def;
    def.name = column.name;
    def.type = TypeNameOf(column);
    def.not_null = !column.nullable;
    table->columns.push_back(std::move(def));
  }
  return true;
}

}  // namespace

void Translator::SelectInto(const ast::Select& select) {
  into_allowed_ = true;
  Select(select);
}

Flow Interpreter::RunSelectInto(const ast::Statement& s, const ast::Select& select, Frame& frame) {
  Diagnostics diags;
  if (session_.catalog().FindObject(select.into.name)) {
    return Failed({ServerError(2714, "There is already an object named '" + select.into.name + "' in the database.",
                               s.pos.line)},
                  frame);
  }
  CompiledStatement& query = frame.cache->Get(&s, 0, frame.scope);
  if (!TranslateWith(session_, query, [&](Translator& t) { t.SelectInto(select); }, &diags) ||
      !Prepare(query, &diags)) {
    return Failed(diags, frame);
  }
  std::vector<ColumnDesc> columns = DescribeColumns(session_, query.prepared.get(), query.columns);
  ast::StatementBody create(std::in_place_type<ast::CreateTable>);
  if (!TableOfColumns(select.into, columns, s.pos.line, &std::get<ast::CreateTable>(create), &diags) ||
      !RunDefinition(session_, create, "", &diags)) {
    return Failed(diags, frame);
  }
  CompiledStatement insert;
  insert.sqlite_sql = "INSERT INTO " + QuoteName(select.into.name) + " " + query.sqlite_sql;
  insert.param_map = query.param_map;
  insert.scope = frame.scope;
  insert.writes = true;
  insert.counts_rows = true;
  if (!Prepare(insert, &diags)) return Failed(diags, frame);
  return RunDml(insert, frame);
}

}  // namespace sqlsim
