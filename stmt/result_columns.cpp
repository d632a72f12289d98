// Result columns as fields: each column's ODBC SQL type gives the field's
// type letter, width and decimals, so that result rows are read with the
// field model of ordinary records.
#include <algorithm>
#include <atomic>
#include <cstdio>

#include "frame/export_guard.h"
#include "frame/odbc_trace.h"
#include "stmt/statement_cursor.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

std::atomic<int32_t> double_precision{4};

// Text columns wider than a field can be are cut to 255; a column of no
// declared size (varchar(max)) gets the full 255 rather than nothing.
constexpr SQLULEN kWidestText = 255;

struct FieldShape {
  char type;
  int32_t width;
  int32_t dec;
  bool named_by_type;  // a column of no mapped type: its field says which type
};

FieldShape ShapeOf(SQLSMALLINT sql_type, SQLULEN size, bool wide_as_char) {
  switch (sql_type) {
    case SQL_BIT: case SQL_TINYINT: return {'b', 1, 0, false};
    case SQL_WVARCHAR:
      if (!wide_as_char) break;
      [[fallthrough]];
    case SQL_CHAR: case SQL_VARCHAR:
      return {'C', static_cast<int32_t>(size == 0 || size > kWidestText ? kWidestText : size), 0, false};
    case SQL_NUMERIC: case SQL_DECIMAL: case SQL_FLOAT: case SQL_REAL: case SQL_DOUBLE:
      return {'d', 8, std::clamp(double_precision.load(), 0, 255), false};  // what a field's decimals hold
    case SQL_INTEGER: return {'l', 4, 0, false};
    case SQL_SMALLINT: return {'s', 2, 0, false};
    // Dates as a connection of either ODBC version names them.
    case SQL_DATE: case SQL_TIMESTAMP: case SQL_TYPE_DATE: case SQL_TYPE_TIMESTAMP: return {'D', 10, 0, false};
    default: break;
  }
  return {'C', 20, 0, true};
}

}  // namespace

bool DescribeResult(StatementCursor* cursor, SQLSMALLINT columns, bool wide_as_char) {
  const int described = columns < LERV32_MAX_FIELDS ? columns : LERV32_MAX_FIELDS;
  for (int i = 1; i <= described; ++i) {
    SQLCHAR name[16] = {};
    SQLSMALLINT name_length = 0, sql_type = 0, decimals = 0, nullable = 0;
    SQLULEN size = 0;
    const SQLRETURN rc = ODBC_CALL(SQLDescribeCol, cursor->stmt, static_cast<SQLUSMALLINT>(i), name, sizeof name,
                                   &name_length, &sql_type, &size, &decimals, &nullable);
    if (!SQL_SUCCEEDED(rc)) return false;
    const FieldShape shape = ShapeOf(sql_type, size, wide_as_char);
    char type_name[16];
    std::snprintf(type_name, sizeof type_name, "Type-%d", sql_type);
    const char* field_name = shape.named_by_type ? type_name : reinterpret_cast<const char*>(name);
    if (AddResultField(&cursor->result, field_name, shape.type, shape.width, shape.dec) == 0) return false;
  }
  cursor->record_size = RecordSize(&cursor->result);
  return true;
}

}  // namespace lerv32

extern "C" int32_t LERV32_CALL rv_StmtSetDoublePrecision(int32_t decimals) {
  return lerv32::double_precision.exchange(decimals);
}
