// What the catalog queries share: result columns named for the shape asked
// for, and the ODBC description of a column's type in catalog rows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/catalog_queries.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

// A column of a catalog result set. odbc2 names the column for ODBC 2 and
// the procedures; null when it is the ODBC 3 name. procedure_only: only the
// sp_ procedures send it.
struct CatalogResultColumn {
  const char* odbc3;
  const char* odbc2;
  SqlType type;
  int32_t length;
  bool procedure_only = false;
};

using CatalogRow = std::vector<Value>;

// Rows of one result set; rows carry every column, the ones the shape
// leaves out are dropped by Finish.
class CatalogResult {
 public:
  CatalogResult(CatalogShape shape, std::vector<CatalogResultColumn> columns)
      : shape_(shape), columns_(std::move(columns)) {}
  void Add(CatalogRow row) { rows_.push_back(std::move(row)); }
  std::unique_ptr<RowSource> Finish();

 private:
  CatalogShape shape_;
  std::vector<CatalogResultColumn> columns_;
  std::vector<CatalogRow> rows_;
};

// Type columns of SQLColumns, SQLProcedureColumns and SQLSpecialColumns,
// as SQLGetTypeInfo and SQLDescribeCol report the same type.
struct CatalogTypeColumns {
  int32_t data_type = 0;
  std::string type_name;
  std::optional<int32_t> column_size, buffer_length, decimal_digits, radix, char_octet_length;
  int32_t sql_data_type = 0;
  std::optional<int32_t> datetime_sub;
  int32_t ss_data_type = 0;  // the procedures' SS_DATA_TYPE
};
CatalogTypeColumns TypeColumnsOf(SqlType type, int32_t length, int32_t precision, int32_t scale, bool identity,
                                 bool odbc3_types);
// The same of a parameter or return value as ast::TypeName writes it.
CatalogTypeColumns TypeColumnsOfDeclared(const ast::TypeName& type, bool odbc3_types);

Value TextValue(const std::string& s);
Value IntValue(int64_t v);
Value OptionalInt(const std::optional<int32_t>& v);

// The catalog column of the result sets (TABLE_CAT): the database name.
std::string CatalogName(SessionImpl& session);
// Does the request's catalog and schema argument admit dbo (or sys, for
// system objects) of the current database?
bool CatalogAndSchemaMatch(SessionImpl& session, const NameArgument& catalog, const NameArgument& schema,
                           const std::string& owner);

// The parts of QueryCatalog, one per group of functions.
std::unique_ptr<RowSource> QueryTables(SessionImpl& session, const CatalogRequest& request, Diagnostics* diags);
std::unique_ptr<RowSource> QueryColumns(SessionImpl& session, const CatalogRequest& request, Diagnostics* diags);
std::unique_ptr<RowSource> QueryPrimaryKeys(SessionImpl& session, const CatalogRequest& request, Diagnostics* diags);
std::unique_ptr<RowSource> QueryForeignKeys(const CatalogRequest& request);
std::unique_ptr<RowSource> QueryStatistics(SessionImpl& session, const CatalogRequest& request, Diagnostics* diags);
std::unique_ptr<RowSource> QuerySpecialColumns(SessionImpl& session, const CatalogRequest& request, Diagnostics* diags);
std::unique_ptr<RowSource> QueryProcedures(SessionImpl& session, const CatalogRequest& request, Diagnostics* diags);
std::unique_ptr<RowSource> QueryProcedureColumns(SessionImpl& session, const CatalogRequest& request,
                                                 Diagnostics* diags);

// The tables and views (xtype U, V, S) the request's catalog, schema and
// object arguments select, ordered by name.
struct CatalogTableRef {
  int32_t id = 0;
  std::string name;
  std::string xtype;
  std::string owner;  // "dbo", or "sys" for system tables
};
bool SelectTables(SessionImpl& session, const CatalogRequest& request, std::vector<CatalogTableRef>* out,
                  Diagnostics* diags);

// The indexes of a table with their key columns, clustered first.
struct CatalogIndex {
  int32_t indid = 0;
  std::string name;
  int32_t status = 0;
  std::vector<std::string> columns;
  std::vector<bool> descending;  // by column, as the SQLite index orders it
  bool unique() const { return (status & kIndexUnique) != 0; }
};
bool LoadIndexes(SessionImpl& session, int32_t table_id, std::vector<CatalogIndex>* out, Diagnostics* diags);

}  // namespace sqlsim
