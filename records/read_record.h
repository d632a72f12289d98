// Reading records: one row whose columns are a table's fields, decoded into
// the fields of the caller's record buffer.
#ifndef LERV32_RECORDS_READ_RECORD_H
#define LERV32_RECORDS_READ_RECORD_H

#include <cstdint>
#include <string>

#include "include/lerv32.h"
#include "platform/win_api.h"

#include <sql.h>
#include <sqltypes.h>

namespace lerv32 {

// "SELECT [f1],[f2],... FROM [base] WHERE RecId = n": the plain read.
std::string BuildSelectById(const TableDef* td, int32_t rec_id);

// A column's value as record access reads it: text up to a field's width
// and its zero byte, integers, floating point, a date as yyyymmdd (0 for
// the empty date). What a NULL leaves is the zero value.
struct ColumnValue {
  char text[256 + 1];  // set by whoever gives a text value: no need to clear it
  int64_t whole = 0;
  double real = 0.0;
  int32_t date = 0;
};

// Reads result column field + 1 of stmt's current row as the field's type
// letter reads it; false when the driver could not give the value (its
// diagnostic is on stmt). REQUIRES: the field's Len is at most 256.
bool FetchColumn(SQLHSTMT stmt, int field, const TableDef* td, ColumnValue* value);

// Stores a value into the field f of record as its type letter encodes it
// (text through FieldFromSqlText, which may convert value->text in place).
// Types without a decoding, and binary fields narrower than their type,
// keep their bytes.
void StoreColumn(const FieldDef& f, ColumnValue* value, char* record);

// FetchColumn then StoreColumn; false (field untouched) when the value
// could not be read.
bool DecodeColumn(SQLHSTMT stmt, int field, const TableDef* td, char* record);
// Every field of td from stmt's current row; false at the first value that
// could not be read, the fields before it stored.
bool DecodeColumns(SQLHSTMT stmt, const TableDef* td, char* record);

// yyyymmdd of a timestamp, 0 for dates up to 1900-01-01.
int32_t DateFromTimestamp(const TIMESTAMP_STRUCT& ts);

// Whether record access calls the generated procedures for td.
bool UsesProcedures(const TableDef* td);

}  // namespace lerv32

#endif  // LERV32_RECORDS_READ_RECORD_H
