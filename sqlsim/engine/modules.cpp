// The catalog's side of modules: reading them back by name, the triggers
// of a table, and the base table behind a view.
#include "sqlsim/engine/modules.h"

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/ddl_support.h"

namespace sqlsim {
namespace {

using ddl::Query;

constexpr const char* kModuleColumns =
    "SELECT o.id, o.name, o.xtype, o.parent_obj, c.text, t.events FROM sysobjects o "
    "LEFT JOIN syscomments c ON c.id = o.id AND c.colid = 1 "
    "LEFT JOIN sqlsim_triggers t ON t.id = o.id ";

CatalogModule ReadModule(const Query& query) {
  CatalogModule module;
  module.id = static_cast<int32_t>(query.Int(0));
  module.name = query.Text(1);
  module.xtype = query.Text(2);
  // char(2) keeps its padding: "P " is "P".
  while (!module.xtype.empty() && module.xtype.back() == ' ') module.xtype.pop_back();
  module.parent = static_cast<int32_t>(query.Int(3));
  module.definition = query.Text(4);
  int64_t events = query.IsNull(5) ? 0 : query.Int(5);
  module.on_insert = (events & kTriggerInsert) != 0;
  module.on_update = (events & kTriggerUpdate) != 0;
  module.on_delete = (events & kTriggerDelete) != 0;
  module.instead_of = (events & kTriggerInsteadOf) != 0;
  return module;
}

}  // namespace

// Procedures, functions and triggers live in rows only; other connections
// notice catalog changes by SQLite's schema version, so a change of them
// makes one.
bool MarkSchemaChanged(sqlite3* db, Diagnostics* diags) {
  return ddl::Exec(db, "CREATE TABLE sqlsim_schema_mark (x); DROP TABLE sqlsim_schema_mark", diags);
}

bool RemoveModuleRows(sqlite3* db, int32_t id, Diagnostics* diags) {
  if (!MarkSchemaChanged(db, diags)) return false;
  static const char* const kStatements[] = {
      "DELETE FROM syscomments WHERE id = ?1 OR id IN (SELECT id FROM sysobjects "
      "WHERE parent_obj = ?1)",
      "DELETE FROM sqlsim_triggers WHERE id = ?1 OR id IN (SELECT id FROM sysobjects "
      "WHERE parent_obj = ?1)",
      "DELETE FROM sqlsim_views WHERE id = ?1",
      "DELETE FROM sqlsim_returns WHERE id = ?1",
      "DELETE FROM sqlsim_view_columns WHERE id = ?1",
  };
  for (const char* sql : kStatements) {
    Query query(db, sql);
    if (!query.Bind(1, id).Run(diags)) return false;
  }
  return true;
}

std::optional<CatalogModule> Catalog::FindModule(std::string_view name) {
  // Every EXECUTE asks: the answer is kept until the catalog changes.
  std::string key = ddl::FoldName(name);
  auto cached = modules_.find(key);
  if (cached != modules_.end()) return cached->second;
  Query query(db_, std::string(kModuleColumns) +
                       "WHERE o.name = ?1 AND o.xtype IN ('P', 'FN', 'V', 'TR') "
                       "ORDER BY o.id LIMIT 1");
  query.Bind(1, name);
  std::optional<CatalogModule> found;
  if (query.Next()) found = ReadModule(query);
  return modules_[key] = found;
}

const std::vector<CatalogModule>& Catalog::TriggersOf(int32_t table_id) {
  auto it = triggers_.find(table_id);
  if (it != triggers_.end()) return it->second;
  std::vector<CatalogModule> triggers;
  Query query(db_, std::string(kModuleColumns) +
                       "WHERE o.parent_obj = ?1 AND o.xtype = 'TR' ORDER BY o.id");
  query.Bind(1, table_id);
  while (query.Next()) {
    CatalogModule trigger = ReadModule(query);
    if (!trigger.instead_of) triggers.push_back(std::move(trigger));
  }
  return triggers_[table_id] = std::move(triggers);
}

// A view reaches one base table when its select reads one table and shows
// its columns; CREATE VIEW recorded which.
bool Catalog::LoadViewBase(CatalogTable* view) {
  Query base(db_, "SELECT base_table, filter, problem FROM sqlsim_views WHERE id = ?1");
  base.Bind(1, view->id);
  view->view_problem = 4405;
  if (base.Next()) {
    view->view_base = base.IsNull(0) ? "" : base.Text(0);
    view->view_filter = base.IsNull(1) ? "" : base.Text(1);
    view->view_problem = static_cast<int32_t>(base.Int(2));
  }
  if (base.rc() != SQLITE_DONE && base.rc() != SQLITE_ROW) return false;
  Query columns(db_, "SELECT colid, base_column FROM sqlsim_view_columns WHERE id = ?1");
  columns.Bind(1, view->id);
  while (columns.Next()) {
    int64_t colid = columns.Int(0);
    for (CatalogColumn& column : view->columns) {
      if (column.colid == colid) column.base_column = columns.Text(1);
    }
  }
  return columns.rc() == SQLITE_DONE;
}

}  // namespace sqlsim
