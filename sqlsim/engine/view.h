// Views: CREATE VIEW makes a SQLite view of the translated select, and data
// changes through an updatable view are written against its base table.
#pragma once

#include <cstdint>
#include <string>

#include "sqlsim/diagnostic.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

class SessionImpl;

// The SQLite view and the catalog rows of its columns, for the sysobjects
// row id already written.
bool CreateView(SessionImpl& session, int32_t id, const ast::CreateModule& module,
                Diagnostics* diags);

// The table an INSERT, UPDATE or DELETE writes: the table itself, or the
// base table of a view.
struct ModifyTarget {
  const CatalogTable* table = nullptr;  // what is written into
  const CatalogTable* view = nullptr;   // the view named, if one was
  // The column of table that a column named in the statement stands for;
  // fails with 207 for unknown names and 4406 for computed view columns.
  const CatalogColumn* Column(const std::string& name, const ast::SourcePos& pos) const;
  // Does some view column show a base column under another name?
  bool Renames() const;
};

// The target of the table or view found for name (null: unknown, 208);
// 4405 and 4403 for views that do not reach exactly one table's rows.
ModifyTarget ResolveModifyTarget(Catalog& catalog, const CatalogTable* found,
                                 const ast::ObjectName& name);

// A copy of an expression in which the view's column names become its
// base columns; qualifiers naming the view become the base table.
// Names qualified by anything else stay. Throws TranslateError.
ast::ExprPtr RenameViewColumns(const ast::Expr& e, const ModifyTarget& target,
                               const std::string& qualifier);

}  // namespace sqlsim
