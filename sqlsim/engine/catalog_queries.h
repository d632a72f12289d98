// The catalog as result sets: what ODBC's catalog functions (SQLTables,
// SQLColumns ...) and the server's catalog procedures (sp_tables,
// sp_columns ...) return, read from the system tables. Both take their
// rows from here; they differ only in the shape asked for.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/engine/engine.h"

namespace sqlsim {

class SessionImpl;

// One name argument: absent (matches everything), a search pattern (`%`,
// `_`, `\` escaping the next character) or a plain name. Names compare
// without regard to ASCII case, as the server's default collation does.
struct NameArgument {
  enum class Mode { kAny, kPattern, kExact };
  Mode mode = Mode::kAny;
  std::string text;

  static NameArgument Any() { return {}; }
  static NameArgument Pattern(std::string t) { return {Mode::kPattern, std::move(t)}; }
  static NameArgument Exact(std::string t) { return {Mode::kExact, std::move(t)}; }
  bool Matches(std::string_view name) const;
};

// `%`/`_` wildcards and `\` escapes, case-insensitive (ASCII).
bool MatchesSearchPattern(std::string_view pattern, std::string_view name);

// The types of an SQLTables TableType argument ("'TABLE','VIEW'" or
// "TABLE, VIEW"), upper case, quotes and blanks removed.
std::vector<std::string> SplitTableTypes(std::string_view list);

enum class CatalogFunction {
  kTables,
  kColumns,
  kPrimaryKeys,
  kForeignKeys,
  kStatistics,
  kSpecialColumns,
  kProcedures,
  kProcedureColumns,
};

// The result set's column names and extra columns.
enum class CatalogShape {
  kOdbc3,      // ODBC 3 names
  kOdbc2,      // ODBC 2 names (TABLE_QUALIFIER ...), SQL_TIMESTAMP
  kProcedure,  // the sp_ procedures: ODBC 2 names plus the server's extras
};

struct CatalogRequest {
  CatalogFunction function = CatalogFunction::kTables;
  CatalogShape shape = CatalogShape::kOdbc3;
  // The procedures' @ODBCVer: 3 reports datetime as SQL_TYPE_TIMESTAMP.
  bool odbc3_types = true;
  NameArgument catalog, schema, object, column;  // object: table or procedure
  // SQLForeignKeys: the foreign key table (object is the primary key table).
  NameArgument fk_catalog, fk_schema, fk_object;
  // SQLTables: the list of types; absent means every type.
  bool table_types_given = false;
  std::string table_types;
  bool unique_only = false;  // SQLStatistics SQL_INDEX_UNIQUE
  bool row_version = false;  // SQLSpecialColumns SQL_ROWVER
  bool no_nulls = false;     // SQLSpecialColumns SQL_NO_NULLS
  NameArgument index_name;   // sp_statistics @index_name
};

// The result set of a request, over the session's current database. Null
// with a diagnostic when the catalog cannot be read.
std::unique_ptr<RowSource> QueryCatalog(SessionImpl& session, const CatalogRequest& request, Diagnostics* diags);

}  // namespace sqlsim
