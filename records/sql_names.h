// Names of tables, views, procedures and columns as the statements of record
// access write them: always bracketed, so that any name a definition may
// hold (blanks, dashes, reserved words such as BY) stands as one identifier.
#ifndef LERV32_RECORDS_SQL_NAMES_H
#define LERV32_RECORDS_SQL_NAMES_H

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "schema/key_fields.h"
#include "tabledef/table_def.h"

namespace lerv32 {

// "[name]" with every "]" of name doubled, as the generated scripts write it.
inline std::string QuoteSqlName(std::string_view name) { return "[" + InBrackets(name) + "]"; }

// The text of a name member, ending at the member's end should a host's
// definition lack the terminator.
template <std::size_t N>
std::string_view NameText(const char (&name)[N]) {
  return std::string_view(name, strnlen(name, N));
}

// The object every plain statement on td names: the base name, which is the
// tenant's view when a tenant is in use, as the procedures work on it.
inline std::string QuotedBaseName(const TableDef* td) { return QuoteSqlName(BaseNameOf(td)); }

// A per-table procedure, "[up_Sel_<base>]" for the prefix "up_Sel_".
inline std::string QuotedProcedureName(const char* prefix, const TableDef* td) {
  return QuoteSqlName(prefix + BaseNameOf(td));
}

inline std::string QuotedFieldName(const TableDef* td, int field) {
  return QuoteSqlName(NameText(td->Fields[field].Name));
}

}  // namespace lerv32

#endif  // LERV32_RECORDS_SQL_NAMES_H
