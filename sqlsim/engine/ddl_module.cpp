// CREATE / ALTER of procedures, functions, views and triggers: the catalog
// rows that name them and keep their text. Running them is not done here.
#include <string>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/modules.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/view.h"

namespace sqlsim {
namespace {

using namespace ddl;

const char* XtypeOf(ast::ObjectKind kind) {
  switch (kind) {
    case ast::ObjectKind::kView: return "V";
    case ast::ObjectKind::kFunction: return "FN";
    case ast::ObjectKind::kTrigger: return "TR";
    default: return "P";
  }
}

int32_t TriggerEvents(const ast::CreateModule& module) {
  return (module.on_insert ? kTriggerInsert : 0) | (module.on_update ? kTriggerUpdate : 0) |
         (module.on_delete ? kTriggerDelete : 0) | (module.instead_of ? kTriggerInsteadOf : 0);
}

// The parameters of procedures and functions as syscolumns rows, typed as
// columns are.
bool WriteParameters(sqlite3* db, int32_t id, const ast::CreateModule& module,
                     Diagnostics* diags) {
  int number = 0;
  for (const ast::ParameterDecl& parameter : module.parameters) {
    ++number;
    for (int earlier = 0; earlier + 1 < number; ++earlier) {
      if (SameName(module.parameters[static_cast<size_t>(earlier)].name, parameter.name)) {
        return Fail(diags, 134, "The variable name '" + parameter.name +
                                    "' has already been declared. Variable names must be unique "
                                    "within a query batch or stored procedure.",
                    parameter.type.pos.line);
      }
    }
    ast::ColumnDef def;
    def.name = parameter.name;
    def.type = parameter.type;
    def.pos = parameter.type.pos;
    ColumnSpec spec;
    if (!ResolveColumn(def, number, module.name.name, &spec, diags)) return false;
    spec.nullable = true;
    spec.output_parameter = parameter.output;
    spec.colid = number;
    if (!InsertColumnRow(db, id, spec, diags)) return false;
  }
  if (module.kind != ast::ObjectKind::kFunction) return true;
  ast::ColumnDef result;
  result.type = module.returns;
  result.pos = module.returns.pos;
  ColumnSpec spec;
  return ResolveColumn(result, number + 1, module.name.name, &spec, diags) &&
         InsertReturnRow(db, id, spec, diags);
}

// The object the statement replaces, or the id a new one gets.
bool TakeName(Catalog& catalog, const ast::CreateModule& module, int32_t* id,
              Diagnostics* diags) {
  const std::string& name = module.name.name;
  std::optional<CatalogObject> existing = catalog.FindObject(name);
  if (existing) {
    std::string xtype = existing->xtype;
    while (!xtype.empty() && xtype.back() == ' ') xtype.pop_back();
    if (!module.alter || xtype != XtypeOf(module.kind)) {
      if (module.alter && !module.create_or_alter) {
        return Fail(diags, 208, "Invalid object name '" + name + "'.", module.name.pos.line);
      }
      return Fail(diags, 2714, "There is already an object named '" + name + "' in the database.",
                  module.name.pos.line);
    }
    *id = existing->id;
    return true;
  }
  if (module.alter && !module.create_or_alter) {
    return Fail(diags, 208, "Invalid object name '" + name + "'.", module.name.pos.line);
  }
  *id = catalog.NextObjectId();
  if (*id == 0) return Fail(diags, 1105, "Could not allocate a new object id.", module.name.pos.line);
  return true;
}

// What an ALTER replaces goes first; the id stays.
bool RemoveOld(sqlite3* db, int32_t id, Diagnostics* diags) {
  std::string view_name;
  {
    Query view(db, "SELECT name FROM sysobjects WHERE id = ?1 AND xtype = 'V'");
    view.Bind(1, id);
    if (view.Next()) view_name = view.Text(0);
    if (!view.Ok(diags)) return false;
  }
  if (!view_name.empty() && !Exec(db, "DROP VIEW IF EXISTS " + QuoteId(view_name), diags)) {
    return false;
  }
  if (!RemoveModuleRows(db, id, diags)) return false;
  Query columns(db, "DELETE FROM syscolumns WHERE id = ?1");
  if (!columns.Bind(1, id).Run(diags)) return false;
  Query object(db, "DELETE FROM sysobjects WHERE id = ?1");
  return object.Bind(1, id).Run(diags);
}

bool WriteModule(SessionImpl& session, const ast::CreateModule& module,
                 std::string_view definition_text, int32_t id, Diagnostics* diags) {
  sqlite3* db = session.db();
  Catalog& catalog = session.catalog();
  int32_t parent = 0;
  if (module.kind == ast::ObjectKind::kTrigger) {
    // Accepting one that never fires would lose what it was meant to do.
    if (module.instead_of) {
      return Fail(diags, 50000, "INSTEAD OF triggers are not supported; use an AFTER trigger.",
                  module.trigger_table.pos.line);
    }
    const CatalogTable* table = catalog.FindTable(module.trigger_table.name);
    bool fits = table && (table->xtype == "U" || (table->xtype == "V" && module.instead_of));
    if (!fits) {
      return Fail(diags, 8197, "The object '" + module.trigger_table.name +
                                   "' does not exist or is invalid for this operation.",
                  module.trigger_table.pos.line);
    }
    parent = table->id;
  }
  if (!InsertObjectRow(db, id, module.name.name, XtypeOf(module.kind), parent, diags)) return false;
  Query text(db, "INSERT INTO syscomments (id, colid, text) VALUES (?1, 1, ?2)");
  if (!text.Bind(1, id).Bind(2, definition_text).Run(diags)) return false;
  switch (module.kind) {
    case ast::ObjectKind::kTrigger: {
      Query events(db, "INSERT INTO sqlsim_triggers (id, events) VALUES (?1, ?2)");
      return events.Bind(1, id).Bind(2, TriggerEvents(module)).Run(diags);
    }
    case ast::ObjectKind::kView:
      return CreateView(session, id, module, diags);
    default:
      return WriteParameters(db, id, module, diags);
  }
}

}  // namespace

bool RunCreateModule(SessionImpl& session, const ast::CreateModule& module,
                     std::string_view definition_text, Diagnostics* diags) {
  sqlite3* db = session.db();
  Catalog& catalog = session.catalog();
  InvalidateOnExit invalidate(catalog);
  Savepoint savepoint(db, diags);
  if (!savepoint.ok()) return false;
  catalog.Invalidate();
  int32_t id = 0;
  if (!TakeName(catalog, module, &id, diags)) return false;
  if (module.alter && !RemoveOld(db, id, diags)) return false;
  catalog.Invalidate();
  if (!WriteModule(session, module, definition_text, id, diags)) return false;
  if (!MarkSchemaChanged(db, diags)) return false;
  return savepoint.Release(diags);
}

}  // namespace sqlsim
