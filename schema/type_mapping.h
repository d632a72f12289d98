// How a field's type letter maps to an SQL column, and the value class the
// field conversions derive from it.
#ifndef LERV32_SCHEMA_TYPE_MAPPING_H
#define LERV32_SCHEMA_TYPE_MAPPING_H

#include <cstdint>

#include "include/lerv32.h"

namespace lerv32 {

// ODBC SQL type codes of the columns we create.
constexpr int32_t kSqlChar = 1;
constexpr int32_t kSqlInteger = 4;
constexpr int32_t kSqlSmallInt = 5;
constexpr int32_t kSqlDouble = 8;
constexpr int32_t kSqlDateTime = 9;
constexpr int32_t kSqlTinyInt = -6;

enum ValueClass { kInteger, kDouble, kDate, kText };

// The definition of field, or null for a null td or a number outside the
// fields in use.
inline const FieldDef* FieldAt(const TableDef* td, int field) {
  if (td == nullptr || field < 0 || field >= td->FieldCnt || field >= LERV32_MAX_FIELDS) {
    return nullptr;
  }
  return &td->Fields[field];
}

// FieldAt for the exports: null as well when td is no valid definition
// (ValidTableDef), whose offsets and widths would lead outside the record.
const FieldDef* CheckedField(const TableDef* td, int field);

int32_t SqlFieldType(const FieldDef& field);
uint32_t SqlFieldLen(const FieldDef& field);
uint32_t SqlFieldScale(const FieldDef& field);
// "char(n)" and "varchar(n)" are written into one library-owned buffer.
const char* SqlFieldTypeName(const FieldDef& field, bool transact_sql);
const char* SqlFieldDefault(const FieldDef& field);

ValueClass ValueClassOf(int32_t sql_type);
inline ValueClass ValueClassOf(const FieldDef& field) { return ValueClassOf(SqlFieldType(field)); }

}  // namespace lerv32

#endif  // LERV32_SCHEMA_TYPE_MAPPING_H
