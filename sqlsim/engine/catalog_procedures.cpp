// SQLProcedures and SQLProcedureColumns (sp_stored_procedures,
// sp_sproc_columns): procedures and scalar functions, their parameters as
// the module cache parses them from the stored definitions.
#include <sqlext.h>

#include "sqlsim/engine/catalog_result.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

constexpr SqlType kName = SqlType::kVarchar;

std::vector<CatalogResultColumn> ProcedureColumns() {
  return {{"PROCEDURE_CAT", "PROCEDURE_QUALIFIER", kName, 128},
          {"PROCEDURE_SCHEM", "PROCEDURE_OWNER", kName, 128},
          {"PROCEDURE_NAME", nullptr, kName, 134},
          {"NUM_INPUT_PARAMS", nullptr, SqlType::kInt, 4},
          {"NUM_OUTPUT_PARAMS", nullptr, SqlType::kInt, 4},
          {"NUM_RESULT_SETS", nullptr, SqlType::kInt, 4},
          {"REMARKS", nullptr, kName, 254},
          {"PROCEDURE_TYPE", nullptr, SqlType::kSmallint, 2}};
}

std::vector<CatalogResultColumn> ParameterColumns() {
  return {{"PROCEDURE_CAT", "PROCEDURE_QUALIFIER", kName, 128},
          {"PROCEDURE_SCHEM", "PROCEDURE_OWNER", kName, 128},
          {"PROCEDURE_NAME", nullptr, kName, 134},
          {"COLUMN_NAME", nullptr, kName, 128},
          {"COLUMN_TYPE", nullptr, SqlType::kSmallint, 2},
          {"DATA_TYPE", nullptr, SqlType::kSmallint, 2},
          {"TYPE_NAME", nullptr, kName, 128},
          {"COLUMN_SIZE", "PRECISION", SqlType::kInt, 4},
          {"BUFFER_LENGTH", "LENGTH", SqlType::kInt, 4},
          {"DECIMAL_DIGITS", "SCALE", SqlType::kSmallint, 2},
          {"NUM_PREC_RADIX", "RADIX", SqlType::kSmallint, 2},
          {"NULLABLE", nullptr, SqlType::kSmallint, 2},
          {"REMARKS", nullptr, kName, 254},
          {"COLUMN_DEF", nullptr, kName, 4000},
          {"SQL_DATA_TYPE", nullptr, SqlType::kSmallint, 2},
          {"SQL_DATETIME_SUB", nullptr, SqlType::kSmallint, 2},
          {"CHAR_OCTET_LENGTH", nullptr, SqlType::kInt, 4},
          {"ORDINAL_POSITION", nullptr, SqlType::kInt, 4},
          {"IS_NULLABLE", nullptr, kName, 254},
          {"SS_DATA_TYPE", nullptr, SqlType::kTinyint, 1, true}};
}

struct ModuleRef {
  std::string name;
  std::string xtype;  // "P" or "FN"
};

bool SelectModules(SessionImpl& session, const CatalogRequest& r, std::vector<ModuleRef>* out, Diagnostics* diags) {
  if (!CatalogAndSchemaMatch(session, r.catalog, r.schema, "dbo")) return true;
  ddl::Query query(session.db(),
                   "SELECT name, xtype FROM sysobjects WHERE xtype IN ('P', 'FN') "
                   "ORDER BY name COLLATE NOCASE, id");
  while (query.Next()) {
    ModuleRef m{query.Text(0), query.Text(1)};
    while (!m.xtype.empty() && m.xtype.back() == ' ') m.xtype.pop_back();
    if (r.object.Matches(m.name)) out->push_back(std::move(m));
  }
  return query.Ok(diags);
}

// The server names a procedure with its group number.
std::string NumberedName(const std::string& name) { return name + ";1"; }


CatalogRow ParameterRow(SessionImpl& session, const std::string& procedure, const std::string& name,
                        int32_t column_type, const CatalogTypeColumns& t, int64_t ordinal, bool nullable) {
  return {TextValue(CatalogName(session)),
          TextValue("dbo"),
          TextValue(NumberedName(procedure)),
          TextValue(name),
          IntValue(column_type),
          IntValue(t.data_type),
          TextValue(t.type_name),
          OptionalInt(t.column_size),
          OptionalInt(t.buffer_length),
          OptionalInt(t.decimal_digits),
          OptionalInt(t.radix),
          IntValue(nullable ? SQL_NULLABLE : SQL_NO_NULLS),
          Value::Null(),
          Value::Null(),
          IntValue(t.sql_data_type),
          OptionalInt(t.datetime_sub),
          OptionalInt(t.char_octet_length),
          IntValue(ordinal),
          TextValue(nullable ? "YES" : "NO"),
          IntValue(t.ss_data_type)};
}

}  // namespace

// The type of a parameter or return value as ast::TypeName writes it.
CatalogTypeColumns TypeColumnsOfDeclared(const ast::TypeName& type, bool odbc3_types) {
  SqlType t = SqlTypeOf(type);
  bool decimal = t == SqlType::kDecimal;
  int32_t length = decimal ? 0 : (type.length == ast::TypeName::kNone ? 1 : type.length);
  int32_t precision = decimal ? (type.length > 0 ? type.length : 18) : 0;
  int32_t scale = decimal && type.scale > 0 ? type.scale : 0;
  return TypeColumnsOf(t, length, precision, scale, false, odbc3_types);
}

std::unique_ptr<RowSource> QueryProcedures(SessionImpl& session, const CatalogRequest& r, Diagnostics* diags) {
  CatalogResult result(r.shape, ProcedureColumns());
  std::vector<ModuleRef> modules;
  if (!SelectModules(session, r, &modules, diags)) return nullptr;
  for (const ModuleRef& m : modules) {
    // sp_stored_procedures reports every module as SQL_PT_FUNCTION, as the
    // server's does; the ODBC function tells procedures from functions.
    int32_t type = r.shape == CatalogShape::kProcedure || m.xtype == "FN" ? SQL_PT_FUNCTION : SQL_PT_PROCEDURE;
    result.Add({TextValue(CatalogName(session)), TextValue("dbo"), TextValue(NumberedName(m.name)), IntValue(-1),
                IntValue(-1), IntValue(-1), Value::Null(), IntValue(type)});
  }
  return result.Finish();
}

std::unique_ptr<RowSource> QueryProcedureColumns(SessionImpl& session, const CatalogRequest& r, Diagnostics* diags) {
  CatalogResult result(r.shape, ParameterColumns());
  std::vector<ModuleRef> modules;
  if (!SelectModules(session, r, &modules, diags)) return nullptr;
  for (const ModuleRef& m : modules) {
    std::optional<CatalogModule> found = session.catalog().FindModule(m.name);
    if (!found) continue;
    CompiledModule* module = session.procedures().Find(*found, diags);
    if (!module) return nullptr;
    if (r.column.Matches("@RETURN_VALUE")) {
      ast::TypeName int_type;
      int_type.name = "int";
      const ast::TypeName& returns = m.xtype == "FN" ? module->node->returns : int_type;
      result.Add(ParameterRow(session, m.name, "@RETURN_VALUE", SQL_RETURN_VALUE,
                              TypeColumnsOfDeclared(returns, r.odbc3_types), 0, false));
    }
    const auto& declared = module->node->parameters;
    for (size_t i = 0; i < module->parameters.size() && i < declared.size(); ++i) {
      const ParameterInfo& p = module->parameters[i];
      if (!r.column.Matches(p.written_name)) continue;
      result.Add(ParameterRow(session, m.name, p.written_name, p.output ? SQL_PARAM_INPUT_OUTPUT : SQL_PARAM_INPUT,
                              TypeColumnsOfDeclared(declared[i].type, r.odbc3_types), static_cast<int64_t>(i + 1),
                              true));
    }
  }
  return result.Finish();
}

}  // namespace sqlsim
