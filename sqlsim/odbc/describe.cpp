#include "sqlsim/odbc/describe.h"

namespace sqlsim::odbc {

namespace {

constexpr SQLULEN kLongSize = 2147483647;

OdbcType Number(SQLSMALLINT sql_type, SQLULEN size, SQLLEN octets,
                SQLLEN display, SQLLEN radix, const char* name) {
  OdbcType t;
  t.sql_type = sql_type;
  t.column_size = size;
  t.octet_length = octets;
  t.display_size = display;
  t.num_prec_radix = radix;
  t.type_name = name;
  return t;
}

OdbcType Character(SQLSMALLINT sql_type, SQLULEN size, const char* name) {
  OdbcType t;
  t.sql_type = sql_type;
  t.column_size = size;
  t.octet_length = static_cast<SQLLEN>(size);
  t.display_size = static_cast<SQLLEN>(size);
  t.is_character = true;
  t.type_name = name;
  t.literal_prefix = "'";
  t.literal_suffix = "'";
  return t;
}

OdbcType Binary(SQLSMALLINT sql_type, SQLULEN size, const char* name) {
  OdbcType t;
  t.sql_type = sql_type;
  t.column_size = size;
  t.octet_length = static_cast<SQLLEN>(size);
  t.display_size = size >= kLongSize ? static_cast<SQLLEN>(kLongSize)
                                     : static_cast<SQLLEN>(size * 2);
  t.is_binary = true;
  t.type_name = name;
  t.literal_prefix = "0x";
  return t;
}

SQLULEN Length(const ColumnDesc& c) {
  return c.length > 0 ? static_cast<SQLULEN>(c.length) : 0;
}

}  // namespace

OdbcType DescribeType(const ColumnDesc& c, SQLINTEGER odbc_version) {
  switch (c.type) {
    case SqlType::kChar: return Character(SQL_CHAR, Length(c), "char");
    case SqlType::kText: return Character(SQL_LONGVARCHAR, kLongSize, "text");
    case SqlType::kInt: return Number(SQL_INTEGER, 10, 4, 11, 10, "int");
    case SqlType::kSmallint: return Number(SQL_SMALLINT, 5, 2, 6, 10, "smallint");
    case SqlType::kTinyint: {
      OdbcType t = Number(SQL_TINYINT, 3, 1, 3, 10, "tinyint");
      t.is_unsigned = true;
      return t;
    }
    case SqlType::kBigint: return Number(SQL_BIGINT, 19, 8, 20, 10, "bigint");
    case SqlType::kBit: return Number(SQL_BIT, 1, 1, 1, 0, "bit");
    case SqlType::kFloat: return Number(SQL_FLOAT, 53, 8, 24, 2, "float");
    case SqlType::kReal: return Number(SQL_REAL, 24, 4, 14, 2, "real");
    case SqlType::kDecimal: {
      SQLULEN p = c.precision > 0 ? static_cast<SQLULEN>(c.precision) : 18;
      OdbcType t = Number(c.numeric ? SQL_NUMERIC : SQL_DECIMAL, p, static_cast<SQLLEN>(p + 2),
                          static_cast<SQLLEN>(p + 2), 10, c.numeric ? "numeric" : "decimal");
      t.decimal_digits = static_cast<SQLSMALLINT>(c.scale > 0 ? c.scale : 0);
      return t;
    }
    case SqlType::kDatetime: {
      OdbcType t = Number(odbc_version == static_cast<SQLINTEGER>(SQL_OV_ODBC2) ? SQL_TIMESTAMP : SQL_TYPE_TIMESTAMP,
                          23, 16, 23, 0, "datetime");
      t.decimal_digits = 3;
      t.literal_prefix = "'";
      t.literal_suffix = "'";
      return t;
    }
    case SqlType::kBinary: return Binary(SQL_BINARY, Length(c), "binary");
    case SqlType::kVarbinary: return Binary(SQL_VARBINARY, Length(c), "varbinary");
    case SqlType::kImage: return Binary(SQL_LONGVARBINARY, kLongSize, "image");
    case SqlType::kVarchar:
    case SqlType::kUnknown:
      break;
  }
  return Character(SQL_VARCHAR, Length(c), "varchar");
}

SQLSMALLINT DefaultCType(SQLSMALLINT sql_type) {
  switch (sql_type) {
    case SQL_WCHAR: case SQL_WVARCHAR: case SQL_WLONGVARCHAR: return SQL_C_WCHAR;
    case SQL_BIT: return SQL_C_BIT;
    case SQL_TINYINT: return SQL_C_UTINYINT;
    case SQL_SMALLINT: return SQL_C_SSHORT;
    case SQL_INTEGER: return SQL_C_SLONG;
    case SQL_BIGINT: return SQL_C_SBIGINT;
    case SQL_REAL: return SQL_C_FLOAT;
    case SQL_FLOAT: case SQL_DOUBLE: return SQL_C_DOUBLE;
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY: return SQL_C_BINARY;
    case SQL_TYPE_TIMESTAMP: return SQL_C_TYPE_TIMESTAMP;
    case SQL_TIMESTAMP: return SQL_C_TIMESTAMP;
    case SQL_TYPE_DATE: case SQL_DATE: return SQL_C_TYPE_DATE;
    case SQL_TYPE_TIME: case SQL_TIME: return SQL_C_TYPE_TIME;
    default: return SQL_C_CHAR;
  }
}

SqlType SqlTypeOfOdbc(SQLSMALLINT sql_type) {
  switch (sql_type) {
    case SQL_CHAR: case SQL_WCHAR: return SqlType::kChar;
    case SQL_VARCHAR: case SQL_WVARCHAR: return SqlType::kVarchar;
    case SQL_LONGVARCHAR: case SQL_WLONGVARCHAR: return SqlType::kText;
    case SQL_INTEGER: return SqlType::kInt;
    case SQL_SMALLINT: return SqlType::kSmallint;
    case SQL_TINYINT: return SqlType::kTinyint;
    case SQL_BIGINT: return SqlType::kBigint;
    case SQL_BIT: return SqlType::kBit;
    case SQL_FLOAT: case SQL_DOUBLE: return SqlType::kFloat;
    case SQL_REAL: return SqlType::kReal;
    case SQL_DECIMAL: case SQL_NUMERIC: return SqlType::kDecimal;
    case SQL_TYPE_TIMESTAMP: case SQL_TIMESTAMP: case SQL_TYPE_DATE:
    case SQL_DATE: case SQL_TYPE_TIME: case SQL_TIME:
      return SqlType::kDatetime;
    case SQL_BINARY: return SqlType::kBinary;
    case SQL_VARBINARY: return SqlType::kVarbinary;
    case SQL_LONGVARBINARY: return SqlType::kImage;
    default: return SqlType::kUnknown;
  }
}

}  // namespace sqlsim::odbc
