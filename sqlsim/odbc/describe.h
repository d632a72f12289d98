// The server's types as ODBC describes them: the SQL type, sizes and the
// other column attributes SQLDescribeCol and SQLColAttribute report.
#pragma once

#include "sqlsim/engine/engine.h"
#include "sqlsim/odbc/odbc_api.h"

namespace sqlsim::odbc {

struct OdbcType {
  SQLSMALLINT sql_type = SQL_VARCHAR;  // concise type
  SQLULEN column_size = 0;             // 0 for (max) types
  SQLSMALLINT decimal_digits = 0;
  SQLLEN octet_length = 0;
  SQLLEN display_size = 0;
  SQLLEN num_prec_radix = 0;           // 10, 2, or 0 for non-numbers
  bool is_unsigned = false;
  bool is_character = false;           // char, varchar, text
  bool is_binary = false;
  const char* type_name = "varchar";
  const char* literal_prefix = "";
  const char* literal_suffix = "";
};

// odbc_version decides SQL_TYPE_TIMESTAMP (3) or SQL_TIMESTAMP (2).
OdbcType DescribeType(const ColumnDesc& column, SQLINTEGER odbc_version);

// The C type SQL_C_DEFAULT stands for with a column of this SQL type.
SQLSMALLINT DefaultCType(SQLSMALLINT sql_type);

// The server type a parameter's declared SQL type names; kUnknown for
// types the server lacks.
SqlType SqlTypeOfOdbc(SQLSMALLINT sql_type);

}  // namespace sqlsim::odbc
