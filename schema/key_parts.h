// What the key table, its triggers and both forms of the navigation
// procedures share: the object names, a key's fields and its filter.
#ifndef LERV32_SCHEMA_KEY_PARTS_H
#define LERV32_SCHEMA_KEY_PARTS_H

#include "include/lerv32.h"
#include "schema/key_fields.h"
#include "schema/script_writer.h"
#include "schema/type_mapping.h"
#include "tabledef/table_def.h"

namespace lerv32 {

// Base name and physical table name, held together so that neither
// overwrites the other's library-owned buffer.
struct SqlNames {
  explicit SqlNames(const TableDef* td) {
    SqlBaseName(td, base);
    SqlTableName(td, table);
  }
  char base[kSqlNameSize];
  char table[kSqlNameSize];
};

// Whether key gets a filter column. An empty text filters nothing, and the
// index over the key table leaves the column out for it as well.
inline bool KeyHasFilter(const TableDef* td, int32_t key) {
  return td->KeyFilter[key] != nullptr && td->KeyFilter[key][0] != '\0';
}

// The navigation procedures over the data table itself, for tables without
// key tables.
void WriteDirectKeyProcedures(ScriptWriter& out, const TableDef* td, int32_t key);

}  // namespace lerv32

#endif  // LERV32_SCHEMA_KEY_PARTS_H
