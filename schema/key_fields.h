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

// Every object and column name the scripts and statements write stands
// between brackets, and a bracket inside it is doubled: any text a definition
// may hold (blanks, hyphens, quotes, keywords, brackets) then reaches the
// server as one name. A name composed of others (up_First_<base>_<key>) is
// doubled part by part and bracketed whole.
std::string InBrackets(std::string_view name);
// "[name]", ready to stand as an identifier of its own.
std::string QuoteSqlName(std::string_view name);
// Text inside a string literal, with its single quotes doubled: the names
// that existence guards compare with the catalog.
std::string InQuotes(std::string_view text);
// A name given to OBJECT_ID inside a literal: "[dbo].[name]" quoted both ways.
std::string ObjectIdName(std::string_view name);
// Text inside a /* */ comment: "/*" and "*/" are broken up, since the server
// nests comments and the script runner ends one at the first "*/".
std::string InComment(std::string_view text);

// Variables cannot be bracketed: a field whose name is no plain identifier
// gets its variable by its number instead, behind a '$' that no plain name
// holds.
std::string VariableName(const char* prefix, const TableDef* td, const FieldDef& field);

// Whether every name the scripts of td would write (table, tenant, fields and
// keys in use) is free of control characters. A host may write any bytes into
// the definition; a line break inside a name would let the script runner cut
// a batch at a "GO" or a comment of the name's, so such a definition gets no
// script.
bool WritableNames(const TableDef* td);

// Module texts are searched for bracketed names with each doubled bracket
// read as one mark (CHAR(1)): [dbo].[ut_T] is then not found in
// [dbo].[ut_T]]x]. MarkedText is the SQL of a text so read, MarkedLiteral
// the literal of text written as a script has it ([dbo].[ut_T]]x]).
std::string MarkedText(const std::string& text_sql);
std::string MarkedLiteral(const std::string& written);

// Base name and physical table name, ready for brackets (base, table) and
// for string literals (base_text, table_text).
struct SqlNames {
  explicit SqlNames(const TableDef* td);
  std::string base, table;
  std::string base_text, table_text;
  // A condition, true unless the object named after the base name (given
  // ready for OBJECT_ID inside a literal) is another table's. A shared table
  // A_B_C and tenant A's table B_C share the base name A_B_C (their data
  // tables ut_A_B_C and A$B_C differ): the view, triggers, procedures and
  // function named after it are the table's whose view reads it, or, without
  // a view, whose data table the object itself names; the other table's
  // scripts leave them.
  std::string BaseObjectIsThisTables(const std::string& object_id_name) const;
};

// A field's or key's name, ready for brackets.
inline std::string Column(const FieldDef& field) { return InBrackets(NameText(field.Name)); }
inline std::string KeyName(const TableDef* td, int32_t key) { return InBrackets(NameText(td->Keys[key].Name)); }
// The same names ready for a string literal.
inline std::string ColumnText(const FieldDef& field) { return InQuotes(NameText(field.Name)); }
inline std::string KeyText(const TableDef* td, int32_t key) { return InQuotes(NameText(td->Keys[key].Name)); }

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
