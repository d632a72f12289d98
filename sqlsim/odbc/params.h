// Parameter values out of the application's buffers: the C data read as a
// Value, then converted to the SQL type the application declared, with
// ODBC's states (22001, 22003, 22007, 22018, 07006, HY090).
#pragma once

#include <cstring>
#include <string>

#include "sqlsim/engine/engine.h"
#include "sqlsim/odbc/odbc_api.h"

namespace sqlsim::odbc {

// An indicator in the application's memory. Row-wise arrays of packed
// structures may place it on any byte, so it is copied, never dereferenced.
inline SQLLEN LoadIndicator(const SQLLEN* indicator) {
  SQLLEN value;
  std::memcpy(&value, indicator, sizeof value);
  return value;
}
// A null indicator is left alone.
inline void StoreIndicator(SQLLEN* indicator, SQLLEN value) {
  if (indicator) std::memcpy(indicator, &value, sizeof value);
}

struct ParamBinding {
  SQLSMALLINT io_type = SQL_PARAM_INPUT;
  SQLSMALLINT c_type = SQL_C_DEFAULT;
  SQLSMALLINT sql_type = SQL_VARCHAR;
  SQLULEN column_size = 0;
  SQLSMALLINT decimal_digits = 0;
  SQLPOINTER buffer = nullptr;
  SQLLEN buffer_length = 0;
  SQLLEN* indicator = nullptr;

  // SQL_C_DEFAULT resolved against the SQL type.
  SQLSMALLINT EffectiveCType() const;
  // SQL_DATA_AT_EXEC or SQL_LEN_DATA_AT_EXEC(n) in the indicator of an
  // input parameter.
  bool AtExecution() const;
  bool IsOutput() const { return io_type != SQL_PARAM_INPUT; }
  // The binding of one set of a parameter array: column-wise (bind_type
  // SQL_PARAM_BIND_BY_COLUMN) or row-wise (bind_type = size of the
  // application's struct), shifted by the bind offset.
  ParamBinding AtSet(size_t set, SQLULEN bind_type, SQLULEN offset) const;
};

struct ParamFailure {
  std::string sqlstate;
  std::string message;
};

// Parameter types the driver takes: false for an unknown C type (HY003)
// or SQL type (HY004), with the failure filled in.
bool CheckParamTypes(SQLSMALLINT c_type, SQLSMALLINT sql_type, ParamFailure* failure);

// A parameter bound with its data in the application's buffer.
// An output parameter sends NULL; input/output ones their value.
bool ReadParam(const ParamBinding& b, ParamValue* out, ParamFailure* failure);

// A data-at-execution parameter from what SQLPutData collected: the C
// type's bytes, or null when SQL_NULL_DATA was put.
bool ParamFromPutData(const ParamBinding& b, const std::string* data,
                      ParamValue* out, ParamFailure* failure);

}  // namespace sqlsim::odbc
