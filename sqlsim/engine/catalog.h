// The server's catalog: sysobjects, syscolumns, sysindexes and sysindexkeys
// are real SQLite tables in the database file, so that Transact-SQL queries
// against them just run. Catalog reads them (with a cache) for the binder;
// the data-definition statements (ddl.h) write them.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/diagnostic.h"
#include "sqlsim/engine/engine.h"

namespace sqlsim {

struct CatalogColumn {
  std::string name;
  SqlType type = SqlType::kUnknown;
  // syscolumns.length: the declared length of char/varchar/binary/varbinary
  // (0 for (max), as ColumnDesc has it), the storage bytes of other types.
  int32_t length = 0;
  int32_t scale = 0;
  bool nullable = true;
  int32_t colid = 0;  // 1-based position in the table
  bool has_default = false;
  int32_t precision = 0;  // syscolumns.prec: decimal precision, digits of numbers
  bool identity = false;
  int64_t identity_seed = 1;
  int64_t identity_increment = 1;
  int32_t default_id = 0;  // sysobjects id of its default ('D'), 0 if none
  // Columns of views: the column of the view's base table it shows; empty
  // for a computed item.
  std::string base_column;
};

struct CatalogTable {
  int32_t id = 0;
  std::string name;
  std::string xtype;  // "U" table, "V" view, "S" system
  std::vector<CatalogColumn> columns;
  // Views: the one table a data change through the view reaches, and why
  // none does when view_base is empty (the server's error number). The
  // view's own filter as a SQLite condition on that table ("" for none).
  std::string view_base;
  std::string view_filter;
  int32_t view_problem = 0;
  // Case-insensitive (ASCII); nullptr if the table has no such column.
  const CatalogColumn* FindColumn(std::string_view name) const;
};

struct CatalogObject {
  int32_t id = 0;
  std::string name;
  std::string xtype;  // U V S P FN TR PK UQ D ...
  int32_t parent = 0;  // parent_obj: the table of a constraint or trigger
};

// A procedure, function, view or trigger.
struct CatalogModule {
  int32_t id = 0;
  std::string name;
  std::string xtype;       // "P", "FN", "V", "TR"
  int32_t parent = 0;      // triggers: the table's id
  std::string definition;  // the CREATE text as written
  bool on_insert = false, on_update = false, on_delete = false;  // triggers
  bool instead_of = false;
};

// Bits of sqlsim_triggers.events: what a trigger fires on.
inline constexpr int32_t kTriggerInsert = 0x1;
inline constexpr int32_t kTriggerUpdate = 0x2;
inline constexpr int32_t kTriggerDelete = 0x4;
inline constexpr int32_t kTriggerInsteadOf = 0x8;

// Bits of sysindexes.status, as SQL Server sets them.
inline constexpr int32_t kIndexUnique = 0x2;
inline constexpr int32_t kIndexPrimaryKey = 0x800;
inline constexpr int32_t kIndexUniqueConstraint = 0x1000;

// Bits of syscolumns.status.
inline constexpr int32_t kColumnNullable = 0x08;
inline constexpr int32_t kColumnOutputParameter = 0x40;
inline constexpr int32_t kColumnIdentity = 0x80;

// The first id handed to an object that is not a system table.
inline constexpr int32_t kFirstUserObjectId = 1000;

class Catalog {
 public:
  explicit Catalog(sqlite3* db);

  // Creates the system tables and their own catalog rows in a new database
  // file; does nothing in a file that has them. False with a diagnostic on
  // failure (then nothing of it remains).
  bool EnsureSystemTables(Diagnostics* diags);

  // A table or view (system tables included) by name; nullptr if unknown.
  // Schema and database parts are not part of name. The pointer stays valid
  // until the next Invalidate().
  const CatalogTable* FindTable(std::string_view name);

  // Any object of sysobjects by name (tables, constraints, defaults ...).
  std::optional<CatalogObject> FindObject(std::string_view name);

  // A procedure, function, view or trigger by name (schema ignored);
  // nullopt if there is none.
  std::optional<CatalogModule> FindModule(std::string_view name);

  // The AFTER triggers of a table, in creation order. The reference stays
  // valid until the next Invalidate().
  const std::vector<CatalogModule>& TriggersOf(int32_t table_id);

  // Takes the next object id from the file's counter; ids are never handed
  // out twice in one file (unless the transaction taking one rolls back).
  // 0 on failure.
  int32_t NextObjectId();

  // Forgets what was read: after a rollback or another connection's change.
  void Invalidate();

  // Temporary tables (#name, temp_tables.h) are described here rather than
  // in the system tables; one a rollback took away is not found.
  void AddTempTable(CatalogTable table);
  void ForgetTempTable(std::string_view name);
  // Their ids, by lower-case name.
  std::map<std::string, int32_t> TempTableIds() const;
  bool HasTempTables() const { return !temp_tables_.empty(); }
  // Ids of temporary objects are negative, as the server's are.
  int32_t NextTempId() { return --last_temp_id_; }

  sqlite3* db() const { return db_; }

 private:
  std::unique_ptr<CatalogTable> LoadTable(std::string_view name);

  bool LoadViewBase(CatalogTable* view);

  sqlite3* db_;
  std::map<std::string, std::unique_ptr<CatalogTable>> tables_;
  std::map<int32_t, std::vector<CatalogModule>> triggers_;
  std::map<std::string, std::optional<CatalogModule>> modules_;  // by lower-case name
  std::map<std::string, CatalogTable> temp_tables_;  // by lower-case name
  int32_t last_temp_id_ = -1000;
};

// The SqlType of a syscolumns.xtype; kUnknown for numbers not in the list
// of CatalogXtype.
SqlType SqlTypeOfXtype(int32_t xtype);

}  // namespace sqlsim
