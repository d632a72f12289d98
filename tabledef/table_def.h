// The table definition model inside the library: the names every SQL object
// of a table is built from, and the tenant text.
#ifndef LERV32_TABLEDEF_TABLE_DEF_H
#define LERV32_TABLEDEF_TABLE_DEF_H

#include <cstddef>

#include "include/lerv32.h"

namespace lerv32 {

constexpr std::size_t kMandantSize = 64;    // 63 characters and the zero
constexpr std::size_t kSqlNameSize = 100;   // tenant, separator, table name, zero

// The process-wide tenant text, empty when no tenant is in use.
extern char Mandant[kMandantSize];

// Mandant_TableName with a tenant in use for the table, else TableName. Writes
// into out (kSqlNameSize bytes) or, when out is null, into a library-owned
// buffer that the next such call overwrites; returns the text.
char* SqlBaseName(const TableDef* td, char* out);
// Mandant$TableName with a tenant in use for the table, else ut_TableName.
char* SqlTableName(const TableDef* td, char* out);

// Bytes of a record: the end of the last field.
int RecordSize(const TableDef* td);

// Resets td to an empty definition, freeing its key filters.
void ClearTableDef(TableDef* td);

}  // namespace lerv32

#endif  // LERV32_TABLEDEF_TABLE_DEF_H
