// CREATE VIEW: the select is translated like any other, checked by SQLite
// (unknown tables and columns fail here, as on the server), described, and
// kept as a SQLite view with the view's column names.
#include <sqlite3.h>

#include <string>
#include <vector>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/types.h"
#include "sqlsim/engine/view.h"

namespace sqlsim {
namespace {

using namespace ddl;

// The column names of the view: the list written, else the select's.
bool ViewColumnNames(const ast::CreateModule& module, const std::vector<ColumnDesc>& columns,
                     std::vector<std::string>* names, Diagnostics* diags) {
  const std::string& view = module.name.name;
  int32_t line = module.name.pos.line;
  if (!module.view_columns.empty() && module.view_columns.size() != columns.size()) {
    bool more = columns.size() > module.view_columns.size();
    return Fail(diags, more ? 8158 : 8159,
                "'" + view + "' has " + (more ? "more" : "fewer") +
                    " columns than were specified in the column list.",
                line);
  }
  for (size_t i = 0; i < columns.size(); ++i) {
    std::string name = module.view_columns.empty() ? columns[i].name : module.view_columns[i];
    if (name.empty()) {
      return Fail(diags, 4511, "Create View or Function failed because no column name was "
                               "specified for column " + std::to_string(i + 1) + ".", line);
    }
    for (const std::string& earlier : *names) {
      if (SameName(earlier, name)) {
        return Fail(diags, 4506, "Column names in each view or function must be unique. Column "
                                 "name '" + name + "' in view or function '" + view +
                                     "' is specified more than once.", line);
      }
    }
    names->push_back(std::move(name));
  }
  return true;
}

ColumnSpec ViewColumnSpec(const ColumnDesc& desc, const std::string& name, int32_t colid) {
  ColumnSpec spec;
  spec.name = name;
  spec.colid = colid;
  spec.nullable = desc.nullable;
  spec.type = desc.type == SqlType::kUnknown ? SqlType::kVarchar : desc.type;
  if (spec.type == SqlType::kDecimal) {
    spec.precision = desc.precision > 0 ? desc.precision : 18;
    spec.scale = desc.scale;
    spec.length = CatalogLength(SqlType::kDecimal, spec.precision);
    return spec;
  }
  bool sized = spec.type == SqlType::kChar || spec.type == SqlType::kVarchar ||
               spec.type == SqlType::kBinary || spec.type == SqlType::kVarbinary;
  if (sized) {
    spec.length = desc.type == SqlType::kUnknown ? 8000 : desc.length;
  } else {
    spec.length = CatalogLength(spec.type, ast::TypeName::kNone);
  }
  spec.precision = CatalogPrecision(spec.type, spec.length);
  if (spec.type == SqlType::kDatetime) spec.scale = 3;
  return spec;
}

// Why data changes cannot go through the view (0: they can), and the one
// table they reach.
int32_t ViewProblem(const ast::Select& select, std::string* base) {
  if (select.from.size() != 1 || !select.from[0].joins.empty() || select.from[0].table.derived || select.from[0].table.joined ||
      select.union_next || select.nested) {
    return 4405;
  }
  if (select.distinct || !select.group_by.empty() || select.having || select.top || select.offset) return 4403;
  *base = select.from[0].table.name.name;
  return 0;
}

// The view's WHERE as a condition on its base table: the FROM and WHERE of
// the translated select, whose items are plain column names.
std::string FilterOf(const std::string& select_sql) {
  bool quoted = false;
  for (size_t i = 0; i + 6 <= select_sql.size(); ++i) {
    if (select_sql[i] == '"') quoted = !quoted;
    if (!quoted && select_sql.compare(i, 6, " FROM ") == 0) {
      return "rowid IN (SELECT rowid" + select_sql.substr(i) + ")";
    }
  }
  return "";
}

// What data changes through the view need: the base table, the view's
// filter on it, and the base column of each column that shows one plainly.
bool RecordBase(SessionImpl& session, int32_t id, const ast::Select& select,
                const std::string& select_sql, const std::vector<ColumnDesc>& columns,
                Diagnostics* diags) {
  sqlite3* db = session.db();
  std::string written;
  int32_t problem = ViewProblem(select, &written);
  const CatalogTable* table = problem == 0 ? session.catalog().FindTable(written) : nullptr;
  if (problem == 0 && (!table || table->xtype != "U")) problem = 4405;
  Query view(db, "INSERT INTO sqlsim_views (id, base_table, filter, problem) VALUES (?1, ?2, ?3, ?4)");
  view.Bind(1, id).Bind(3, select.where ? FilterOf(select_sql) : "").Bind(4, problem);
  if (problem == 0) view.Bind(2, table->name);
  else view.BindNull(2);
  if (!view.Run(diags)) return false;
  if (problem != 0) return true;
  for (size_t i = 0; i < columns.size(); ++i) {
    // SQLite knows the origin of a result column only when it is the plain column.
    if (columns[i].base_column.empty() || !SameName(columns[i].base_table, table->name)) continue;
    Query column(db, "INSERT INTO sqlsim_view_columns (id, colid, base_column) VALUES (?1, ?2, ?3)");
    column.Bind(1, id).Bind(2, static_cast<int64_t>(i + 1)).Bind(3, columns[i].base_column);
    if (!column.Run(diags)) return false;
  }
  return true;
}

}  // namespace

bool CreateView(SessionImpl& session, int32_t id, const ast::CreateModule& module,
                Diagnostics* diags) {
  sqlite3* db = session.db();
  int32_t line = module.name.pos.line;
  if (!module.view_select) return Fail(diags, 102, "Incorrect syntax near 'AS'.", line);
  if (!module.view_select->order_by.empty() && !module.view_select->top && !module.view_select->offset) {
    return Fail(diags, 1033, "The ORDER BY clause is invalid in views, inline functions, derived "
                             "tables, subqueries, and common table expressions, unless TOP, "
                             "OFFSET or FOR XML is also specified.", line);
  }
  CompiledStatement statement;
  try {
    Translator translator(session, &statement);
    translator.Select(*module.view_select);
  } catch (const TranslateError& error) {
    diags->push_back(error.diagnostic);
    return false;
  }
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v2(db, statement.sqlite_sql.c_str(), -1, &raw, nullptr);
  SqliteStmt prepared(raw);
  if (rc != SQLITE_OK) {
    Diagnostic error = DiagnosticFromSqlite(db, rc);
    error.line = line;
    diags->push_back(std::move(error));
    return false;
  }
  if (sqlite3_bind_parameter_count(raw) > 0) {
    return Fail(diags, 1004, "Views or functions cannot reference parameters.", line);
  }
  std::vector<ColumnDesc> columns = DescribeColumns(session, raw, statement.columns);
  prepared.reset();
  std::vector<std::string> names;
  if (!ViewColumnNames(module, columns, &names, diags)) return false;
  std::string sql = "CREATE VIEW " + QuoteId(module.name.name) + " (";
  for (size_t i = 0; i < names.size(); ++i) sql += (i ? ", " : "") + QuoteId(names[i]);
  if (!Exec(db, sql + ") AS " + statement.sqlite_sql, diags)) return false;
  for (size_t i = 0; i < columns.size(); ++i) {
    ColumnSpec spec = ViewColumnSpec(columns[i], names[i], static_cast<int32_t>(i + 1));
    if (!InsertColumnRow(db, id, spec, diags)) return false;
  }
  return RecordBase(session, id, *module.view_select, statement.sqlite_sql, columns, diags);
}

}  // namespace sqlsim
