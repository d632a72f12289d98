// Temporary tables (#name): the connection's own, in an in-memory database
// attached to it as tempdb, so that no other connection sees them and they
// go with the connection. The Catalog keeps their descriptions;
// tempdb.sysobjects their names and ids, which a rollback takes back with
// the tables themselves.
#pragma once

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/diagnostic.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

class SessionImpl;
namespace ddl {
struct ColumnSpec;
}

inline constexpr const char* kTempDatabase = "tempdb";
inline constexpr size_t kMaxTempNameLength = 116;

inline bool IsTempTableName(std::string_view name) { return !name.empty() && name[0] == '#'; }
inline bool IsTableVariableName(std::string_view name) { return !name.empty() && name[0] == '@'; }
// tempdb..#t: the connection's temporary table.
bool InTempDatabase(const ast::ObjectName& name);

// Table variables (DECLARE @t TABLE) are tables of tempdb too, one per
// variable and nesting level, found under this key while that level runs.
std::string TableVariableKey(std::string_view variable, int32_t level);

// Attaches tempdb to a newly opened connection.
bool AttachTempDatabase(sqlite3* db, Diagnostics* diags);

// The temporary table of that lower-case name, if it (still) exists.
const CatalogTable* FindTempTable(sqlite3* db, std::map<std::string, CatalogTable>& tables,
                                  const std::string& key);

// CREATE TABLE #t once its columns are resolved: its keys become the SQLite
// table's own constraints.
bool CreateTempTable(sqlite3* db, Catalog& catalog, const ast::CreateTable& stmt,
                     const std::vector<ddl::ColumnSpec>& specs, const std::string& name, Diagnostics* diags);
bool DropTempTable(sqlite3* db, Catalog& catalog, const CatalogTable& table, Diagnostics* diags);

// DECLARE @t TABLE: a new table of the running level (one left by an
// earlier batch at that level goes first).
bool DeclareTableVariable(SessionImpl& session, const ast::CreateTable& table, Diagnostics* diags);
// The table variables of a level, at the end of its batch.
void DropTableVariables(SessionImpl& session, int32_t level);

// What ROLLBACK must not take from table variables: their tables and rows,
// put back after it.
class TableVariableKeeper {
 public:
  explicit TableVariableKeeper(SessionImpl& session);
  void Restore();

 private:
  struct Kept {
    CatalogTable table;
    std::string create_sql;
    std::vector<std::vector<Value>> rows;
  };
  SessionImpl& session_;
  std::vector<Kept> kept_;
};

// Drops at its end the temporary tables made while it lived: those a
// procedure or a text EXECUTE created.
class TempTableScope {
 public:
  explicit TempTableScope(SessionImpl& session);
  ~TempTableScope();
  TempTableScope(const TempTableScope&) = delete;
  TempTableScope& operator=(const TempTableScope&) = delete;

 private:
  SessionImpl& session_;
  std::map<std::string, int32_t> before_;
};

}  // namespace sqlsim
