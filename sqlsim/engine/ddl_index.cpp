// CREATE [UNIQUE] [CLUSTERED] INDEX.
#include <string>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_support.h"

namespace sqlsim {

bool RunCreateIndex(sqlite3* db, Catalog& catalog, const ast::CreateIndex& stmt,
                    Diagnostics* diags) {
  ddl::InvalidateOnExit invalidate(catalog);
  ddl::Savepoint savepoint(db, diags);
  if (!savepoint.ok()) return false;
  const CatalogTable* table = catalog.FindTable(stmt.table.name);
  if (!table || table->xtype != "U") {
    return ddl::Fail(diags, 1088, "Cannot find the object \"" + stmt.table.name +
                                      "\" because it does not exist or you do not have "
                                      "permissions.",
                     stmt.table.pos.line);
  }
  ddl::IndexRequest request;
  request.name = stmt.name;
  request.unique = stmt.unique;
  request.clustered = stmt.clustered;
  request.columns = stmt.columns;
  request.line = stmt.table.pos.line;
  return ddl::BuildIndex(db, *table, request, diags) && savepoint.Release(diags);
}

}  // namespace sqlsim
