#include "sqlsim/engine/information_schema.h"

#include <map>
#include <memory>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/information_schema_sql.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

using infoschema::ViewColumn;
using infoschema::ViewDef;

std::string ViewSql(const ViewDef& view) {
  std::string sql = "CREATE VIEW " + ddl::QuoteId(infoschema::SqliteViewName(view.name)) + " AS SELECT ";
  for (size_t i = 0; i < view.columns.size(); ++i) {
    const ViewColumn& column = view.columns[i];
    if (i > 0) sql += ", ";
    // Text compares as the server's text does, computed or not; every
    // value is an expression, so that results are described by the view's
    // types, not by the system table a value comes from.
    if (IsTextType(column.type)) {
      sql += "(" + column.sql + ") COLLATE " + kCollation;
    } else if (IsIntegerType(column.type)) {
      sql += "CAST((" + column.sql + ") AS INTEGER)";
    } else {
      sql += "(" + column.sql + ") || ''";
    }
    sql += " AS " + ddl::QuoteId(column.name);
  }
  return sql + " " + view.from;
}

std::unique_ptr<CatalogTable> Describe(const ViewDef& view) {
  auto table = std::make_unique<CatalogTable>();
  table->name = infoschema::SqliteViewName(view.name);
  table->xtype = "V";
  int32_t colid = 0;
  for (const ViewColumn& view_column : view.columns) {
    CatalogColumn column;
    column.name = view_column.name;
    column.type = view_column.type;
    column.length = view_column.length;
    column.colid = ++colid;
    table->columns.push_back(std::move(column));
  }
  return table;
}

void DatabaseName(sqlite3_context* context, int, sqlite3_value**) {
  const auto* session = static_cast<const Session*>(sqlite3_user_data(context));
  std::string name = session->CurrentDatabase();
  sqlite3_result_text(context, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
}

}  // namespace

bool CreateInformationSchemaViews(sqlite3* db, Diagnostics* diags) {
  for (const ViewDef& view : infoschema::ViewDefs()) {
    std::string name = ddl::QuoteId(infoschema::SqliteViewName(view.name));
    if (!ddl::Exec(db, "DROP VIEW IF EXISTS " + name, diags) || !ddl::Exec(db, ViewSql(view), diags)) {
      return false;
    }
  }
  return true;
}

const CatalogTable* FindInformationSchemaView(std::string_view name) {
  static const auto* const kViews = [] {
    auto* views = new std::map<std::string, std::unique_ptr<CatalogTable>>();
    for (const ViewDef& view : infoschema::ViewDefs()) (*views)[ddl::FoldName(view.name)] = Describe(view);
    return views;
  }();
  auto it = kViews->find(ddl::FoldName(name));
  return it == kViews->end() ? nullptr : it->second.get();
}

int RegisterDatabaseName(sqlite3* db, const Session* session) {
  return sqlite3_create_function_v2(db, "tsql_db_name", 0, SQLITE_UTF8, const_cast<Session*>(session),
                                    DatabaseName, nullptr, nullptr, nullptr);
}

}  // namespace sqlsim
