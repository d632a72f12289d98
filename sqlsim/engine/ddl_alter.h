// The actions of ALTER TABLE, each inside RunAlterTable's savepoint.
#pragma once

#include <sqlite3.h>

#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/diagnostic.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/front/ast.h"

namespace sqlsim::ddl {

// 4902 for a table ALTER TABLE cannot find.
bool NotFoundForAlter(const ast::ObjectName& name, Diagnostics* diags);

// What depends on a column: the indexes holding it, its default.
struct Dependent {
  std::string name;
  bool primary_key = false;
  bool is_default = false;
};
bool FindDependents(sqlite3* db, const CatalogTable& table, const CatalogColumn& column,
                    std::vector<Dependent>* out, Diagnostics* diags);
// 5074 for each dependent, then 4922 "<action> <column> failed ...".
bool DependentsFail(const std::vector<Dependent>& dependents, std::string_view action,
                    std::string_view column, Diagnostics* diags);

bool AlterColumn(sqlite3* db, const CatalogTable& table, const ast::AlterTable& stmt,
                 Diagnostics* diags);
bool DropColumns(sqlite3* db, Catalog& catalog, const ast::AlterTable& stmt,
                 Diagnostics* diags);
bool AddConstraints(sqlite3* db, Catalog& catalog, const ast::AlterTable& stmt,
                    Diagnostics* diags);
bool DropConstraints(sqlite3* db, Catalog& catalog, const ast::AlterTable& stmt,
                     Diagnostics* diags);

}  // namespace sqlsim::ddl
