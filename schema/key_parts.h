// What the key table, its triggers and both forms of the navigation
// procedures share beyond the walk over a definition.
#ifndef LERV32_SCHEMA_KEY_PARTS_H
#define LERV32_SCHEMA_KEY_PARTS_H

#include "include/lerv32.h"
#include "schema/key_fields.h"
#include "schema/script_writer.h"
#include "schema/type_mapping.h"
#include "tabledef/table_def.h"

namespace lerv32 {

// The navigation procedures over the data table itself, for tables without
// key tables.
void WriteDirectKeyProcedures(ScriptWriter& out, const TableDef* td, int32_t key);

}  // namespace lerv32

#endif  // LERV32_SCHEMA_KEY_PARTS_H
