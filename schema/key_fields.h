// Walking a definition the way the generators do: only the slots in use, and
// key positions that name no field are left out rather than read.
#ifndef LERV32_SCHEMA_KEY_FIELDS_H
#define LERV32_SCHEMA_KEY_FIELDS_H

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "schema/type_mapping.h"
#include "tabledef/table_def.h"

namespace lerv32 {

// Every object and column name the scripts write stands between brackets,
// and a bracket inside it is doubled: any text a definition may hold (blanks,
// hyphens, keywords, brackets) then reaches the server as one name.
std::string InBrackets(std::string_view name);
// Text inside a string literal, with its single quotes doubled: the names
// that existence guards compare with the catalog.
std::string InQuotes(std::string_view text);
// A name given to OBJECT_ID inside a literal: "[dbo].[name]" quoted both ways.
std::string ObjectIdName(std::string_view name);

// Variables cannot be bracketed: a field whose name is no plain identifier
// gets its variable by its number instead, behind a '$' that no plain name
// holds.
std::string VariableName(const char* prefix, const TableDef* td, const FieldDef& field);

// Base name and physical table name, ready for brackets (base, table) and
// for string literals (base_text, table_text).
struct SqlNames {
  explicit SqlNames(const TableDef* td);
  std::string base, table;
  std::string base_text, table_text;
};

// A field's or key's name between brackets.
inline std::string Column(const FieldDef& field) { return InBrackets(field.Name); }
inline std::string KeyName(const TableDef* td, int32_t key) { return InBrackets(td->Keys[key].Name); }

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
