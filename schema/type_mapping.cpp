// Column type, size and default of a field in generated SQL.
#include "schema/type_mapping.h"

#include <cstdio>

#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

struct SqlColumn {
  int32_t type;
  uint32_t len;
  uint32_t scale;
  const char* transact_name;  // null: "char(n)" or "varchar(n)" of the width
  const char* standard_name;
};

SqlColumn ColumnOf(const FieldDef& field) {
  const uint32_t len = field.Len;
  const uint32_t dec = field.Dec;
  switch (field.Type) {
    case 'D':
    case 'o':
      return {kSqlDateTime, 6, 0, "datetime", "datetime"};
    case 'L':
    case 'b':
      return {kSqlTinyInt, 1, 0, "tinyint", "byte"};
    case 'N':
      if (dec != 0) return {kSqlDouble, 8, dec, "float", "float"};
      // Nine digits and more may leave the long range: exchanged as a double.
      if (len > 8) return {kSqlDouble, 8, 0, "integer", "integer"};
      return {kSqlInteger, 4, 0, "integer", "integer"};
    case 'd':
    case 'n':
      return {kSqlDouble, 8, dec, "float", "float"};
    case 'l':
    case 'x':
      return {kSqlInteger, 4, 0, "integer", "integer"};
    case 's':
      return {kSqlSmallInt, 2, 0, "smallint", "smallint"};
    default:
      return {kSqlChar, len, 0, nullptr, nullptr};
  }
}

const char* TextTypeName(const FieldDef& field) {
  static char name[24];  // "varchar(65535)" at the most
  const int len = field.Len;
  if (field.Type == 'c') {
    std::snprintf(name, sizeof name, "varchar(%d)", len);
  } else {
    std::snprintf(name, sizeof name, "char(%d)", len);
  }
  return name;
}

}  // namespace

const FieldDef* CheckedField(const TableDef* td, int field) {
  return ValidTableDef(td) ? FieldAt(td, field) : nullptr;
}

int32_t SqlFieldType(const FieldDef& field) { return ColumnOf(field).type; }

uint32_t SqlFieldLen(const FieldDef& field) { return ColumnOf(field).len; }

uint32_t SqlFieldScale(const FieldDef& field) { return ColumnOf(field).scale; }

const char* SqlFieldTypeName(const FieldDef& field, bool transact_sql) {
  const SqlColumn column = ColumnOf(field);
  if (column.transact_name == nullptr) return TextTypeName(field);
  return transact_sql ? column.transact_name : column.standard_name;
}

const char* SqlFieldDefault(const FieldDef& field) {
  switch (SqlFieldType(field)) {
    case kSqlChar:
      return "' '";
    case kSqlDateTime:
      return "CONVERT(datetime,'1900-01-01',120)";
    default:
      return "0";
  }
}

ValueClass ValueClassOf(int32_t sql_type) {
  switch (sql_type) {
    case kSqlInteger:
    case kSqlSmallInt:
    case kSqlTinyInt:
      return kInteger;
    case kSqlDouble:
      return kDouble;
    case kSqlDateTime:
      return kDate;
    default:
      return kText;
  }
}

}  // namespace lerv32

using lerv32::CheckedField;

// A number that names no field, or a definition that is not valid, gives type 0, size 0, scale 0 and empty texts.
extern "C" {

int32_t LERV32_CALL rv_SqlFieldType(const TableDef* td, int32_t field) {
  const FieldDef* f = CheckedField(td, field);
  return f == nullptr ? 0 : lerv32::SqlFieldType(*f);
}

uint32_t LERV32_CALL rv_SqlFieldLen(const TableDef* td, int32_t field) {
  const FieldDef* f = CheckedField(td, field);
  return f == nullptr ? 0 : lerv32::SqlFieldLen(*f);
}

uint32_t LERV32_CALL rv_SqlFieldScale(const TableDef* td, int32_t field) {
  const FieldDef* f = CheckedField(td, field);
  return f == nullptr ? 0 : lerv32::SqlFieldScale(*f);
}

const char* LERV32_CALL rv_SqlFieldTypeNameEx(const TableDef* td, int32_t field, int32_t transactSql) {
  const FieldDef* f = CheckedField(td, field);
  return f == nullptr ? "" : lerv32::SqlFieldTypeName(*f, transactSql != 0);
}

const char* LERV32_CALL rv_SqlFieldTypeName(const TableDef* td, int32_t field) {
  return rv_SqlFieldTypeNameEx(td, field, 1);
}

const char* LERV32_CALL rv_SqlFieldDefault(const TableDef* td, int32_t field) {
  const FieldDef* f = CheckedField(td, field);
  return f == nullptr ? "" : lerv32::SqlFieldDefault(*f);
}

}  // extern "C"
