// SQLGetInfo: the answers match what the driver implements (cursor types
// and their fetch directions, SQLGetData extensions, transactions).
#include <cstring>
#include <optional>
#include <string>

#include "sqlsim/odbc/escape_functions.h"
#include "sqlsim/odbc/info.h"
#include "sqlsim/odbc/out_string.h"

namespace sqlsim::odbc {

namespace {

struct InfoValue {
  enum class Kind { kText, kSmall, kInt } kind;
  std::string text;
  SQLUINTEGER number = 0;
};

InfoValue Text(std::string s) { return {InfoValue::Kind::kText, std::move(s), 0}; }
InfoValue Small(SQLUINTEGER n) { return {InfoValue::Kind::kSmall, {}, n}; }
InfoValue Int(SQLUINTEGER n) { return {InfoValue::Kind::kInt, {}, n}; }

constexpr SQLUINTEGER kScrollCa1 = SQL_CA1_NEXT | SQL_CA1_ABSOLUTE | SQL_CA1_RELATIVE |
                                   SQL_CA1_BOOKMARK | SQL_CA1_POS_POSITION;
constexpr SQLUINTEGER kScrollCa2 = SQL_CA2_READ_ONLY_CONCURRENCY | SQL_CA2_OPT_ROWVER_CONCURRENCY |
                                   SQL_CA2_MAX_ROWS_SELECT | SQL_CA2_CRC_EXACT;

std::optional<InfoValue> DriverInfo(const Dbc& dbc, SQLUSMALLINT type) {
  switch (type) {
    case SQL_DRIVER_NAME: return Text("libsqlsimodbc.so");
    case SQL_DRIVER_VER: return Text("01.00.0000");
    case SQL_DRIVER_ODBC_VER: return Text("03.00");
    case SQL_DBMS_NAME: return Text("sqlsim");
    case SQL_DBMS_VER: return Text("01.00.0000");
    case SQL_SERVER_NAME: return Text("sqlsim");
    case SQL_DATA_SOURCE_NAME: return Text(dbc.dsn);
    case SQL_DATABASE_NAME:
      return Text(dbc.session ? dbc.session->CurrentDatabase() : dbc.catalog);
    case SQL_USER_NAME: return Text("dbo");
    case SQL_XOPEN_CLI_YEAR: return Text("1995");
    case SQL_ODBC_INTERFACE_CONFORMANCE: return Int(SQL_OIC_CORE);
    case SQL_ODBC_API_CONFORMANCE: return Small(SQL_OAC_LEVEL1);
    case SQL_ODBC_SQL_CONFORMANCE: return Small(SQL_OSC_CORE);
    case SQL_ODBC_SAG_CLI_CONFORMANCE: return Small(SQL_OSCC_COMPLIANT);
    case SQL_SQL_CONFORMANCE: return Int(SQL_SC_SQL92_ENTRY);
    case SQL_DATA_SOURCE_READ_ONLY: return Text("N");
    case SQL_ACCESSIBLE_TABLES: case SQL_ACCESSIBLE_PROCEDURES: return Text("Y");
    case SQL_ACTIVE_ENVIRONMENTS: case SQL_MAX_DRIVER_CONNECTIONS:
    case SQL_MAX_CONCURRENT_ACTIVITIES:
      return Small(0);
    case SQL_ASYNC_MODE: return Int(SQL_AM_NONE);
    case SQL_MAX_ASYNC_CONCURRENT_STATEMENTS: return Int(0);
    case SQL_FILE_USAGE: return Small(SQL_FILE_NOT_SUPPORTED);
    case SQL_DESCRIBE_PARAMETER: return Text("Y");
    case SQL_NEED_LONG_DATA_LEN: return Text("N");
    case SQL_ROW_UPDATES: return Text("N");
    case SQL_MULT_RESULT_SETS: case SQL_MULTIPLE_ACTIVE_TXN: return Text("Y");
    case SQL_PROCEDURES: return Text("Y");
    default: return std::nullopt;
  }
}

// What the cursor types the connection offers can do.
std::optional<InfoValue> CursorInfo(CursorSupport cursors, SQLUSMALLINT type) {
  const bool scrolling = cursors != CursorSupport::kForwardOnly;
  const bool all = cursors == CursorSupport::kAll;
  switch (type) {
    case SQL_SCROLL_OPTIONS:
      return Int(SQL_SO_FORWARD_ONLY | (scrolling ? SQL_SO_STATIC : 0) |
                 (all ? SQL_SO_KEYSET_DRIVEN | SQL_SO_DYNAMIC : 0));
    case SQL_FETCH_DIRECTION:
      return Int(SQL_FD_FETCH_NEXT | (scrolling ? SQL_FD_FETCH_FIRST | SQL_FD_FETCH_LAST | SQL_FD_FETCH_PRIOR |
                                                      SQL_FD_FETCH_ABSOLUTE | SQL_FD_FETCH_RELATIVE |
                                                      SQL_FD_FETCH_BOOKMARK
                                                : 0));
    case SQL_SCROLL_CONCURRENCY: return Int(SQL_SCCO_READ_ONLY | SQL_SCCO_OPT_ROWVER);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1: return Int(SQL_CA1_NEXT | SQL_CA1_POS_POSITION);
    case SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES2: return Int(kScrollCa2);
    case SQL_STATIC_CURSOR_ATTRIBUTES1: return Int(scrolling ? kScrollCa1 : 0);
    case SQL_STATIC_CURSOR_ATTRIBUTES2: return Int(scrolling ? kScrollCa2 : 0);
    case SQL_KEYSET_CURSOR_ATTRIBUTES1: case SQL_DYNAMIC_CURSOR_ATTRIBUTES1: return Int(all ? kScrollCa1 : 0);
    case SQL_KEYSET_CURSOR_ATTRIBUTES2: case SQL_DYNAMIC_CURSOR_ATTRIBUTES2: return Int(all ? kScrollCa2 : 0);
    case SQL_POS_OPERATIONS: return Int(SQL_POS_POSITION);
    case SQL_POSITIONED_STATEMENTS: case SQL_LOCK_TYPES: case SQL_STATIC_SENSITIVITY:
      return Int(0);
    case SQL_BOOKMARK_PERSISTENCE: return Int(scrolling ? SQL_BP_SCROLL : 0);
    case SQL_CURSOR_SENSITIVITY: return Int(SQL_INSENSITIVE);
    case SQL_GETDATA_EXTENSIONS:
      return Int(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BLOCK | SQL_GD_BOUND);
    case SQL_CURSOR_COMMIT_BEHAVIOR: case SQL_CURSOR_ROLLBACK_BEHAVIOR:
      return Small(SQL_CB_PRESERVE);
    case SQL_TXN_CAPABLE: return Small(SQL_TC_ALL);
    case SQL_DEFAULT_TXN_ISOLATION: return Int(SQL_TXN_READ_COMMITTED);
    case SQL_TXN_ISOLATION_OPTION: return Int(SQL_TXN_READ_COMMITTED | SQL_TXN_SERIALIZABLE);
    case SQL_PARAM_ARRAY_ROW_COUNTS: return Int(SQL_PARC_NO_BATCH);
    case SQL_PARAM_ARRAY_SELECTS: return Int(SQL_PAS_BATCH);
    case SQL_BATCH_SUPPORT:
      return Int(SQL_BS_SELECT_EXPLICIT | SQL_BS_ROW_COUNT_EXPLICIT | SQL_BS_SELECT_PROC |
                 SQL_BS_ROW_COUNT_PROC);
    case SQL_BATCH_ROW_COUNT: return Int(SQL_BRC_EXPLICIT | SQL_BRC_PROCEDURES);
    default: return std::nullopt;
  }
}

std::optional<InfoValue> SqlInfo(SQLUSMALLINT type) {
  switch (type) {
    case SQL_IDENTIFIER_QUOTE_CHAR: return Text("\"");
    case SQL_SEARCH_PATTERN_ESCAPE: return Text("\\");
    case SQL_CATALOG_NAME_SEPARATOR: return Text(".");
    case SQL_CATALOG_TERM: return Text("database");
    case SQL_SCHEMA_TERM: return Text("owner");
    case SQL_PROCEDURE_TERM: return Text("stored procedure");
    case SQL_TABLE_TERM: return Text("table");
    case SQL_CATALOG_NAME: case SQL_COLUMN_ALIAS: case SQL_EXPRESSIONS_IN_ORDERBY:
    case SQL_LIKE_ESCAPE_CLAUSE: case SQL_OUTER_JOINS: case SQL_INTEGRITY:
      return Text("Y");
    case SQL_ORDER_BY_COLUMNS_IN_SELECT: case SQL_MAX_ROW_SIZE_INCLUDES_LONG: return Text("N");
    case SQL_SPECIAL_CHARACTERS: return Text("#$@");
    case SQL_KEYWORDS: case SQL_COLLATION_SEQ: return Text("");
    case SQL_IDENTIFIER_CASE: case SQL_QUOTED_IDENTIFIER_CASE: return Small(SQL_IC_MIXED);
    case SQL_CONCAT_NULL_BEHAVIOR: return Small(SQL_CB_NULL);
    case SQL_CORRELATION_NAME: return Small(SQL_CN_ANY);
    case SQL_NON_NULLABLE_COLUMNS: return Small(SQL_NNC_NON_NULL);
    case SQL_NULL_COLLATION: return Small(SQL_NC_LOW);
    case SQL_GROUP_BY: return Small(SQL_GB_GROUP_BY_CONTAINS_SELECT);
    case SQL_CATALOG_LOCATION: return Small(SQL_CL_START);
    case SQL_MAX_COLUMN_NAME_LEN: case SQL_MAX_TABLE_NAME_LEN: case SQL_MAX_SCHEMA_NAME_LEN:
    case SQL_MAX_CATALOG_NAME_LEN: case SQL_MAX_CURSOR_NAME_LEN: case SQL_MAX_IDENTIFIER_LEN:
    case SQL_MAX_PROCEDURE_NAME_LEN: case SQL_MAX_USER_NAME_LEN:
      return Small(128);
    case SQL_MAX_COLUMNS_IN_SELECT: return Small(4096);
    case SQL_MAX_COLUMNS_IN_TABLE: return Small(1024);
    case SQL_MAX_COLUMNS_IN_INDEX: return Small(16);
    case SQL_MAX_COLUMNS_IN_GROUP_BY: case SQL_MAX_COLUMNS_IN_ORDER_BY: return Small(0);
    case SQL_MAX_TABLES_IN_SELECT: return Small(256);
    case SQL_MAX_INDEX_SIZE: return Int(900);
    case SQL_MAX_ROW_SIZE: return Int(8060);
    case SQL_MAX_STATEMENT_LEN: case SQL_MAX_BINARY_LITERAL_LEN:
    case SQL_MAX_CHAR_LITERAL_LEN:
      return Int(0);
    case SQL_UNION: return Int(SQL_U_UNION | SQL_U_UNION_ALL);
    case SQL_SUBQUERIES:
      return Int(SQL_SQ_COMPARISON | SQL_SQ_EXISTS | SQL_SQ_IN | SQL_SQ_QUANTIFIED |
                 SQL_SQ_CORRELATED_SUBQUERIES);
    case SQL_SCHEMA_USAGE: case SQL_CATALOG_USAGE:
      return Int(SQL_SU_DML_STATEMENTS | SQL_SU_TABLE_DEFINITION | SQL_SU_INDEX_DEFINITION |
                 SQL_SU_PROCEDURE_INVOCATION);
    case SQL_AGGREGATE_FUNCTIONS:
      return Int(SQL_AF_ALL | SQL_AF_AVG | SQL_AF_COUNT | SQL_AF_DISTINCT | SQL_AF_MAX |
                 SQL_AF_MIN | SQL_AF_SUM);
    case SQL_ALTER_TABLE:
      return Int(SQL_AT_ADD_COLUMN | SQL_AT_DROP_COLUMN | SQL_AT_ADD_CONSTRAINT |
                 SQL_AT_DROP_TABLE_CONSTRAINT_CASCADE);
    case SQL_CONVERT_FUNCTIONS: return Int(SQL_FN_CVT_CONVERT | SQL_FN_CVT_CAST);
    // No TIMESTAMPADD/TIMESTAMPDIFF, no SQL-92 datetime literals (the ODBC
    // escapes {d} {t} {ts} are translated), no conversions of the types
    // that escape_functions.cpp does not list.
    case SQL_TIMEDATE_ADD_INTERVALS: case SQL_TIMEDATE_DIFF_INTERVALS:
    case SQL_DATETIME_LITERALS: case SQL_INFO_SCHEMA_VIEWS:
    case SQL_CONVERT_BINARY: case SQL_CONVERT_DATE: case SQL_CONVERT_LONGVARBINARY:
    case SQL_CONVERT_LONGVARCHAR: case SQL_CONVERT_TIME: case SQL_CONVERT_VARBINARY:
      return Int(0);
    default: return std::nullopt;
  }
}

// What the translation of escape sequences ({fn}, {oj}) offers.
std::optional<InfoValue> EscapeInfo(SQLUSMALLINT type) {
  // Not SQL_OJ_NESTED: the engine takes no outer join as the right operand
  // of another ("A LEFT JOIN B LEFT JOIN C ON .. ON ..").
  if (type == SQL_OJ_CAPABILITIES) {
    return Int(SQL_OJ_LEFT | SQL_OJ_RIGHT | SQL_OJ_FULL | SQL_OJ_NOT_ORDERED | SQL_OJ_INNER |
               SQL_OJ_ALL_COMPARISON_OPS);
  }
  if (std::optional<SQLUINTEGER> mask = ScalarFunctionInfo(type)) return Int(*mask);
  return std::nullopt;
}

std::optional<InfoValue> Info(const Dbc& dbc, SQLUSMALLINT type) {
  std::optional<InfoValue> info = DriverInfo(dbc, type);
  if (!info) info = CursorInfo(dbc.cursors, type);
  if (!info) info = EscapeInfo(type);
  if (!info) info = SqlInfo(type);
  return info;
}

}  // namespace

std::optional<std::string> InfoText(const Dbc& dbc, SQLUSMALLINT info_type) {
  std::optional<InfoValue> info = Info(dbc, info_type);
  if (!info || info->kind != InfoValue::Kind::kText) return std::nullopt;
  return std::move(info->text);
}

SQLRETURN GetInfo(Dbc& dbc, SQLUSMALLINT info_type, SQLPOINTER value,
                  SQLSMALLINT buffer_length, SQLSMALLINT* string_length) {
  std::optional<InfoValue> info = Info(dbc, info_type);
  if (!info) return dbc.diags.Error("HY096", "Information type out of range");
  switch (info->kind) {
    case InfoValue::Kind::kText:
      if (buffer_length < 0) return dbc.diags.Error("HY090", "Invalid string or buffer length");
      if (CopyOutString(info->text, value, buffer_length, string_length)) {
        return dbc.diags.Warning("01004", "String data, right truncated");
      }
      return SQL_SUCCESS;
    case InfoValue::Kind::kSmall: {
      auto n = static_cast<SQLUSMALLINT>(info->number);
      if (value) std::memcpy(value, &n, sizeof n);
      if (string_length) *string_length = sizeof n;
      return SQL_SUCCESS;
    }
    case InfoValue::Kind::kInt:
      if (value) std::memcpy(value, &info->number, sizeof info->number);
      if (string_length) *string_length = sizeof info->number;
      return SQL_SUCCESS;
  }
  return SQL_SUCCESS;
}

}  // namespace sqlsim::odbc
