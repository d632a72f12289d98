// What the key table, its triggers and both forms of the navigation
// procedures share: the object names, a key's fields and its filter.
#ifndef LERV32_SCHEMA_KEY_PARTS_H
#define LERV32_SCHEMA_KEY_PARTS_H

#include <algorithm>
#include <vector>

#include "include/lerv32.h"
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

// The keys in use, never more than there are slots.
inline int32_t UsedKeyCount(const TableDef* td) { return std::min<int32_t>(td->KeyCnt, LERV32_MAX_KEYS); }

using KeyFieldList = std::vector<const FieldDef*>;

// The fields of key in key order; a number that names no field is left out
// rather than read past the fields in use.
inline KeyFieldList FieldsOfKey(const TableDef* td, int32_t key) {
  const KeyDef& def = td->Keys[key];
  const int count = std::min<int>(def.TokenCnt, LERV32_MAX_KEY_FIELDS);
  KeyFieldList fields;
  for (int i = 0; i < count; ++i) {
    const FieldDef* field = FieldAt(td, def.TokenFieldNo[i]);
    if (field != nullptr) fields.push_back(field);
  }
  return fields;
}

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
