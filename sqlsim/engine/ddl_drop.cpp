// DROP TABLE, DROP INDEX, and the catalog side of dropping views,
// procedures, functions and triggers.
#include <string>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/modules.h"
#include "sqlsim/engine/temp_tables.h"

namespace sqlsim {
namespace {

using namespace ddl;

bool CannotDrop(std::string_view what, const std::string& name, int32_t line,
                Diagnostics* diags) {
  return Fail(diags, 3701, "Cannot drop the " + std::string(what) + " '" + name +
                               "', because it does not exist or you do not have permission.",
              line);
}

// The object's rows in every catalog table, with those of the objects that
// hang on it (constraints, defaults, triggers).
bool RemoveObjectRows(sqlite3* db, int32_t id, Diagnostics* diags) {
  if (!RemoveModuleRows(db, id, diags)) return false;
  static const char* const kStatements[] = {
      ("DELETE FROM syscolumns WHERE id = ?1 OR id IN (SELECT id FROM sysobjects "
       "WHERE parent_obj = ?1)"),
      "DELETE FROM sysindexes WHERE id = ?1",
      "DELETE FROM sysindexkeys WHERE id = ?1",
      "DELETE FROM sysobjects WHERE id = ?1 OR parent_obj = ?1",
  };
  for (const char* sql : kStatements) {
    Query query(db, sql);
    if (!query.Bind(1, id).Run(diags)) return false;
  }
  return true;
}

bool DropTable(sqlite3* db, Catalog& catalog, const ast::ObjectName& name, bool if_exists,
               Diagnostics* diags) {
  const CatalogTable* table = catalog.FindTable(name.name);
  if (!table || table->xtype == "S") {
    return if_exists || CannotDrop("table", name.name, name.pos.line, diags);
  }
  if (table->xtype == "V") {
    return Fail(diags, 3705, "Cannot use DROP TABLE with '" + name.name + "' because '" +
                                 name.name + "' is a view. Use DROP VIEW.",
                name.pos.line);
  }
  if (IsTempTableName(table->name)) return DropTempTable(db, catalog, *table, diags);
  int32_t id = table->id;
  if (!Exec(db, "DROP TABLE " + QuoteId(table->name), diags)) return false;
  catalog.Invalidate();
  return RemoveObjectRows(db, id, diags);
}

bool DropIndex(sqlite3* db, Catalog& catalog, const ast::ObjectName& name,
               const ast::ObjectName& table_name, bool if_exists, Diagnostics* diags) {
  if (table_name.name.empty()) {
    return Fail(diags, 159, "Must specify the table name and index name for the DROP INDEX "
                            "statement.", name.pos.line);
  }
  std::string written = table_name.name + "." + name.name;
  const CatalogTable* table = catalog.FindTable(table_name.name);
  int32_t indid = 0;
  int32_t status = 0;
  if (table && table->xtype == "U" && !FindIndex(db, table->id, name.name, &indid, &status, diags)) {
    return false;
  }
  if (indid == 0) return if_exists || CannotDrop("index", written, name.pos.line, diags);
  if ((status & (kIndexPrimaryKey | kIndexUniqueConstraint)) != 0) {
    return Fail(diags, 3723, "An explicit DROP INDEX is not allowed on index '" + written +
                                 "'. It is being used for " +
                                 ((status & kIndexPrimaryKey) != 0 ? "PRIMARY KEY" : "UNIQUE KEY") +
                                 " constraint enforcement.",
                name.pos.line);
  }
  return RemoveIndex(db, *table, indid, name.name, diags);
}

struct ModuleKind {
  const char* word;  // as the messages name it
  std::vector<std::string_view> xtypes;
};

ModuleKind ModuleKindOf(ast::ObjectKind kind) {
  switch (kind) {
    case ast::ObjectKind::kView: return {"view", {"V"}};
    case ast::ObjectKind::kProcedure: return {"procedure", {"P"}};
    case ast::ObjectKind::kFunction: return {"function", {"FN", "IF", "TF"}};
    default: return {"trigger", {"TR"}};
  }
}

// Views, procedures, functions and triggers: their catalog rows and a
// SQLite view of the name. What else they keep is removed by their own
// stage, which hooks in here.
bool DropModule(sqlite3* db, Catalog& catalog, ast::ObjectKind kind, const ast::ObjectName& name,
                bool if_exists, Diagnostics* diags) {
  ModuleKind module = ModuleKindOf(kind);
  std::optional<CatalogObject> object = catalog.FindObject(name.name);
  bool matches = false;
  for (std::string_view xtype : module.xtypes) matches = matches || (object && object->xtype == xtype);
  if (!matches) return if_exists || CannotDrop(module.word, name.name, name.pos.line, diags);
  if (kind == ast::ObjectKind::kView &&
      !Exec(db, "DROP VIEW IF EXISTS " + QuoteId(object->name), diags)) {
    return false;
  }
  return RemoveObjectRows(db, object->id, diags);
}

bool DropOne(sqlite3* db, Catalog& catalog, const ast::DropObjects& stmt, size_t i,
             Diagnostics* diags) {
  const ast::ObjectName& name = stmt.names[i];
  switch (stmt.kind) {
    case ast::ObjectKind::kTable:
      return DropTable(db, catalog, name, stmt.if_exists, diags);
    case ast::ObjectKind::kIndex: {
      ast::ObjectName table = i < stmt.tables.size() ? stmt.tables[i] : ast::ObjectName{};
      return DropIndex(db, catalog, name, table, stmt.if_exists, diags);
    }
    case ast::ObjectKind::kView: case ast::ObjectKind::kProcedure:
    case ast::ObjectKind::kFunction: case ast::ObjectKind::kTrigger:
      return DropModule(db, catalog, stmt.kind, name, stmt.if_exists, diags);
    case ast::ObjectKind::kDatabase:
      break;
  }
  return Fail(diags, 50000, "DROP DATABASE is run by the session, not here.", name.pos.line);
}

}  // namespace

bool RunDropObjects(sqlite3* db, Catalog& catalog, const ast::DropObjects& stmt,
                    Diagnostics* diags) {
  InvalidateOnExit invalidate(catalog);
  Savepoint savepoint(db, diags);
  if (!savepoint.ok()) return false;
  // Every name is tried so that each missing one is reported; a failure
  // still undoes the others.
  bool all = true;
  for (size_t i = 0; i < stmt.names.size(); ++i) {
    catalog.Invalidate();
    all = DropOne(db, catalog, stmt, i, diags) && all;
  }
  return all && savepoint.Release(diags);
}

}  // namespace sqlsim
