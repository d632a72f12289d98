// Names of tables, views, procedures and columns as the statements of record
// access write them: always bracketed, so that any name a definition may
// hold (blanks, dashes, reserved words such as BY) stands as one identifier.
#ifndef LERV32_RECORDS_SQL_NAMES_H
#define LERV32_RECORDS_SQL_NAMES_H

#include <string>

#include "schema/key_fields.h"
#include "tabledef/table_def.h"

namespace lerv32 {

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
