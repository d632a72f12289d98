// SET IDENTITY_INSERT and the checks it makes on INSERT.
#include <string>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/identity.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

bool Refuse(Diagnostics* diags, int32_t number, const std::string& message) {
  diags->push_back(ServerError(number, message));
  return false;
}

bool HasIdentity(const CatalogTable& table) {
  for (const CatalogColumn& column : table.columns) {
    if (column.identity) return true;
  }
  return false;
}

}  // namespace

bool SetIdentityInsert(SessionImpl& session, const ast::SetOption& option, Diagnostics* diags) {
  const CatalogTable* table = session.catalog().FindTable(option.table.name);
  if (!table) {
    return Refuse(diags, 1088, "Cannot find the object \"" + option.table.name +
                                   "\" because it does not exist or you do not have permissions.");
  }
  if (!HasIdentity(*table)) {
    return Refuse(diags, 8106, "Table '" + table->name +
                                   "' does not have the identity property. Cannot perform SET operation.");
  }
  const std::string& on = session.identity_insert();
  bool same = IdentifiersEqual(on, table->name);
  if (option.value == "OFF") {
    if (same) session.set_identity_insert("");
    return true;
  }
  if (!on.empty() && !same) {
    return Refuse(diags, 8107, "IDENTITY_INSERT is already ON for table '" + ddl::DatabaseName(session.db()) +
                                   ".dbo." + on + "'. Cannot perform SET operation for table '" + table->name + "'.");
  }
  session.set_identity_insert(table->name);
  return true;
}

bool CheckIdentityInsert(SessionImpl& session, const CompiledStatement& insert, const CatalogTable& table,
                         Diagnostics* diags) {
  if (!insert.identity_target) return true;
  bool on = IdentifiersEqual(session.identity_insert(), table.name);
  if (on && !insert.column_list) {
    return Refuse(diags, 8101, "An explicit value for the identity column in table '" + table.name +
                                   "' can only be specified when a column list is used and IDENTITY_INSERT is ON.");
  }
  if (on && !insert.identity_explicit) {
    return Refuse(diags, 545, "Explicit value must be specified for identity column in table '" + table.name +
                                  "' either when IDENTITY_INSERT is set to ON or when a replication user is "
                                  "inserting into a NOT FOR REPLICATION identity column.");
  }
  if (!on && insert.identity_explicit) {
    return Refuse(diags, 544, "Cannot insert explicit value for identity column in table '" + table.name +
                                  "' when IDENTITY_INSERT is set to OFF.");
  }
  return true;
}

}  // namespace sqlsim
