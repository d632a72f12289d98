// Walking a definition the way the generators do: only the slots in use, and
// key positions that name no field are left out rather than read.
#ifndef LERV32_SCHEMA_KEY_FIELDS_H
#define LERV32_SCHEMA_KEY_FIELDS_H

#include <algorithm>
#include <vector>

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

// Text fields, stored right-trimmed and widened when they grow.
inline bool IsTextField(const FieldDef& field) {
  return field.Type == 'C' || field.Type == 'c' || field.Type == 'u';
}

// Whether key gets a filter column. An empty text filters nothing, and the
// index over the key table leaves the column out for it as well.
inline bool KeyHasFilter(const TableDef* td, int32_t key) {
  return td->KeyFilter[key] != nullptr && td->KeyFilter[key][0] != '\0';
}

inline int FieldsInUse(const TableDef* td) { return std::clamp<int>(td->FieldCnt, 0, LERV32_MAX_FIELDS); }

inline int KeysInUse(const TableDef* td) { return std::clamp<int>(td->KeyCnt, 0, LERV32_MAX_KEYS); }

using KeyFieldList = std::vector<const FieldDef*>;

// The fields of key in key order.
inline KeyFieldList KeyFields(const TableDef* td, int key) {
  const KeyDef& key_def = td->Keys[key];
  KeyFieldList fields;
  const int count = std::min<int>(key_def.TokenCnt, LERV32_MAX_KEY_FIELDS);
  for (int t = 0; t < count; ++t) {
    if (const FieldDef* field = FieldAt(td, key_def.TokenFieldNo[t])) fields.push_back(field);
  }
  return fields;
}

}  // namespace lerv32

#endif  // LERV32_SCHEMA_KEY_FIELDS_H
