// What the data-definition statements share: SQLite statements and
// savepoints, quoting, column declarations and the catalog rows of columns,
// indexes and key constraints.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/diagnostic.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/sqlite_handles.h"
#include "sqlsim/front/ast.h"

namespace sqlsim::ddl {

std::string QuoteId(std::string_view name);     // "x", with " doubled
std::string QuoteText(std::string_view text);   // 'x', with ' doubled
std::string QuoteBlob(std::string_view bytes);  // X'4142'
// Names compare as the server compares them: ASCII case and trailing blanks
// do not count.
std::string FoldName(std::string_view name);
bool SameName(std::string_view a, std::string_view b);
// "%08X" of an object id, as generated constraint names end.
std::string HexId(int32_t id);

// One SQLite statement. Failures of prepare and step are kept and reported
// by Ok(), so that a loop over Next() needs one check after it.
class Query {
 public:
  Query(sqlite3* db, std::string_view sql);
  Query& Bind(int index, int64_t value);
  Query& Bind(int index, std::string_view text);
  Query& BindNull(int index);
  bool Next();  // true while there is a row
  // Steps to the end; false with a diagnostic on failure.
  bool Run(Diagnostics* diags);
  bool Ok(Diagnostics* diags);
  int64_t Int(int column) const;
  std::string Text(int column) const;
  bool IsNull(int column) const;
  int rc() const { return rc_; }

 private:
  sqlite3* db_;
  SqliteStmt stmt_;
  int rc_ = SQLITE_OK;
};

bool Exec(sqlite3* db, const std::string& sql, Diagnostics* diags);

// A SAVEPOINT that rolls back unless Release() succeeded.
class Savepoint {
 public:
  Savepoint(sqlite3* db, Diagnostics* diags);
  ~Savepoint();
  Savepoint(const Savepoint&) = delete;
  Savepoint& operator=(const Savepoint&) = delete;
  bool ok() const { return open_; }
  bool Release(Diagnostics* diags);

 private:
  sqlite3* db_;
  bool open_ = false;
};

// Clears the catalog's cache when a statement ends, whatever its outcome.
class InvalidateOnExit {
 public:
  explicit InvalidateOnExit(Catalog& catalog) : catalog_(catalog) {}
  ~InvalidateOnExit() { catalog_.Invalidate(); }
  InvalidateOnExit(const InvalidateOnExit&) = delete;
  InvalidateOnExit& operator=(const InvalidateOnExit&) = delete;

 private:
  Catalog& catalog_;
};

// A column as the data-definition statements handle it: its catalog values
// plus what only the SQLite declaration holds.
struct ColumnSpec : CatalogColumn {
  std::string default_sql;   // SQLite DEFAULT expression; empty: none
  std::string default_name;  // name of its default object, when created
  std::string default_text;  // its definition as the server shows it: "((0))"
  bool inline_key = false;   // declared INTEGER PRIMARY KEY in SQLite
  bool output_parameter = false;
};

// syscolumns.prec of a type: decimal precision, digits of numbers, the
// length of character and binary types.
int32_t CatalogPrecision(SqlType type, int32_t declared_length);

// The declared length of a char/varchar/binary/varbinary column as the
// syntax tree writes it (ast::TypeName::kMax for (max)), else kNone.
int32_t DeclaredLength(const CatalogColumn& column);

// The length argument of tsql_store for a target column: the declared
// length of character and binary types (0 for (max)), decimal precision.
int32_t StoreLength(const CatalogColumn& column);

// "c" TEXT COLLATE TSQL NOT NULL DEFAULT 'x' ...
std::string ColumnDeclaration(const ColumnSpec& column);

// Checks a column definition and fills *out with its type, nullability and
// identity; number is its 1-based place in the statement. The default is
// left to ResolveDefault.
bool ResolveColumn(const ast::ColumnDef& def, int number, std::string_view table,
                   ColumnSpec* out, Diagnostics* diags);

// Fills out->default_sql from def.default_value; no default leaves it empty.
// *literal tells whether SQLite's ALTER TABLE ADD COLUMN accepts it.
bool ResolveDefault(const ast::ColumnDef& def, std::string_view table,
                    ColumnSpec* out, bool* literal, Diagnostics* diags);

// A text column's constant default made to fit its new length (padded for
// char(n)), after ALTER COLUMN.
void RefitTextDefault(ColumnSpec* column);

// A date as the server writes datetime text ("yyyy-mm-dd hh:mi:ss.mmm"),
// from '' or 'yyyy-mm-dd[ hh:mi[:ss[.fff]]]' or 'yyyymmdd[ ...]'; false for
// other forms and invalid dates.
bool CanonicalDatetime(std::string_view text, std::string* out);

// syscolumns row of a column, and the default object it names.
bool InsertColumnRow(sqlite3* db, int32_t table_id, const ColumnSpec& column,
                     Diagnostics* diags);
// The type a scalar function returns, kept as syscolumns keeps types.
bool InsertReturnRow(sqlite3* db, int32_t function_id, const ColumnSpec& type, Diagnostics* diags);
bool InsertObjectRow(sqlite3* db, int32_t id, std::string_view name,
                     std::string_view xtype, int32_t parent, Diagnostics* diags);
std::string GeneratedDefaultName(std::string_view table, std::string_view column,
                                 int32_t id);

// Gives a column's default its object id and name (as written, or
// generated); 2714 when the name is taken.
bool NameDefault(Catalog& catalog, const ast::ColumnDef& def, std::string_view table,
                 ColumnSpec* spec, Diagnostics* diags);

// The columns of a table with what SQLite's declaration holds (defaults,
// the INTEGER PRIMARY KEY).
bool LoadColumnSpecs(sqlite3* db, const CatalogTable& table,
                     std::vector<ColumnSpec>* out, Diagnostics* diags);

// Is the table empty? false with a diagnostic on failure.
bool TableIsEmpty(sqlite3* db, std::string_view table, bool* empty,
                  Diagnostics* diags);

// Database name for messages ("Kunden" of /data/Kunden.db).
std::string DatabaseName(sqlite3* db);

// An index of a table, to be created: a plain index, or the one under a
// PRIMARY KEY or UNIQUE constraint.
struct IndexRequest {
  std::string name;
  bool unique = false;
  bool clustered = false;
  int32_t status = 0;  // kIndexPrimaryKey / kIndexUniqueConstraint bits
  std::vector<ast::IndexColumn> columns;
  bool inline_key = false;  // the table's INTEGER PRIMARY KEY: no SQLite index
  int32_t line = 0;
};

// Finds the columns of an index: 1911 for unknown ones, 1909 for repeated
// ones, 1919 for types that cannot be keys.
bool ResolveIndexColumns(const CatalogTable& table,
                         const std::vector<ast::IndexColumn>& columns, int32_t line,
                         std::vector<const CatalogColumn*>* out, Diagnostics* diags);

// Checks the index against the table's other indexes (1913, 1902), creates
// it in SQLite (1505 for duplicates) and writes sysindexes/sysindexkeys.
bool BuildIndex(sqlite3* db, const CatalogTable& table, const IndexRequest& request,
                Diagnostics* diags);

// Removes an index's SQLite index and catalog rows; the table gets back
// its heap row when its clustered index goes.
bool RemoveIndex(sqlite3* db, const CatalogTable& table, int32_t indid,
                 std::string_view name, Diagnostics* diags);

// A PRIMARY KEY or UNIQUE constraint on an existing table, with its
// sysobjects row. clustered: the decision of the caller's defaults.
bool AddKeyConstraint(sqlite3* db, Catalog& catalog, const CatalogTable& table,
                      const ast::TableConstraint& constraint, bool clustered,
                      bool inline_key, Diagnostics* diags);

// The table's index of that name: its indid, 0 if there is none.
bool FindIndex(sqlite3* db, int32_t table_id, std::string_view name, int32_t* indid,
               int32_t* status, Diagnostics* diags);

// Does the table have a clustered index? Its name in *name.
bool FindClusteredIndex(sqlite3* db, int32_t table_id, std::string* name,
                        Diagnostics* diags);

// The table with the columns given, keeping its rows (converted by
// source expressions over the old table), indexes, triggers and identity
// counter. Fails with the server's error when a row does not fit.
struct RebuildColumn {
  ColumnSpec spec;
  std::string source_sql;  // SQL over the old table's columns
};
bool RebuildTable(sqlite3* db, const CatalogTable& table,
                  const std::vector<RebuildColumn>& columns, Diagnostics* diags);

// Runs SQLite's ALTER TABLE without SQLite checking the views and triggers
// that name the table: the server lets a view outlive what it selects, and
// fails only when the view is used.
bool ExecUncheckedAlter(sqlite3* db, const std::string& sql, Diagnostics* diags);

// The old table's columns, unchanged, as RebuildTable takes them.
std::vector<RebuildColumn> KeepColumns(const std::vector<ColumnSpec>& specs);

// Is the SQL function available on the connection?
bool HasFunction(sqlite3* db, const char* probe_sql);

// Error for a SQLite failure, appended to *diags; returns false.
bool Fail(sqlite3* db, int rc, Diagnostics* diags);
bool Fail(Diagnostics* diags, int32_t number, std::string message, int32_t line = 0);

}  // namespace sqlsim::ddl
