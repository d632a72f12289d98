#include "sqlsim/odbc/escape_functions.h"

#include "sqlsim/odbc/escape_scan.h"

namespace sqlsim::odbc {

namespace {

// `form`: $1 .. $9 stand for the arguments, $* for all of them.
// `runs`: the engine has what the form needs, so SQLGetInfo may offer it.
struct ScalarFunction {
  std::string_view odbc_name;
  std::string_view form;
  size_t min_args, max_args;
  SQLUSMALLINT info_type;
  SQLUINTEGER bit;
  bool runs;
};

constexpr SQLUSMALLINT kStr = SQL_STRING_FUNCTIONS;
constexpr SQLUSMALLINT kNum = SQL_NUMERIC_FUNCTIONS;
constexpr SQLUSMALLINT kDate = SQL_TIMEDATE_FUNCTIONS;
constexpr SQLUSMALLINT kSys = SQL_SYSTEM_FUNCTIONS;

constexpr std::string_view kToday = "CONVERT(datetime, CONVERT(char(10), GETDATE(), 120), 120)";

// Names whose Transact-SQL function has the same name and arguments pass
// through as written: only those that run are listed, for SQLGetInfo.
constexpr ScalarFunction kFunctions[] = {
    {"CONCAT", "($1 + $2)", 2, 2, kStr, SQL_FN_STR_CONCAT, true},
    {"LCASE", "LOWER($1)", 1, 1, kStr, SQL_FN_STR_LCASE, true},
    {"UCASE", "UPPER($1)", 1, 1, kStr, SQL_FN_STR_UCASE, true},
    {"LEFT", "LEFT($1, $2)", 2, 2, kStr, SQL_FN_STR_LEFT, true},
    {"RIGHT", "RIGHT($1, $2)", 2, 2, kStr, SQL_FN_STR_RIGHT, true},
    {"LENGTH", "LEN($1)", 1, 1, kStr, SQL_FN_STR_LENGTH, true},
    {"CHAR_LENGTH", "LEN($1)", 1, 1, kStr, SQL_FN_STR_CHAR_LENGTH, true},
    {"CHARACTER_LENGTH", "LEN($1)", 1, 1, kStr, SQL_FN_STR_CHARACTER_LENGTH, true},
    {"OCTET_LENGTH", "DATALENGTH($1)", 1, 1, kStr, SQL_FN_STR_OCTET_LENGTH, true},
    {"BIT_LENGTH", "(DATALENGTH($1) * 8)", 1, 1, kStr, SQL_FN_STR_BIT_LENGTH, true},
    {"LOCATE", "CHARINDEX($*)", 2, 3, kStr, SQL_FN_STR_LOCATE | SQL_FN_STR_LOCATE_2, true},
    {"LTRIM", "LTRIM($1)", 1, 1, kStr, SQL_FN_STR_LTRIM, true},
    {"RTRIM", "RTRIM($1)", 1, 1, kStr, SQL_FN_STR_RTRIM, true},
    {"REPEAT", "REPLICATE($1, $2)", 2, 2, kStr, SQL_FN_STR_REPEAT, true},
    {"REPLACE", "REPLACE($1, $2, $3)", 3, 3, kStr, SQL_FN_STR_REPLACE, true},
    {"SPACE", "SPACE($1)", 1, 1, kStr, SQL_FN_STR_SPACE, true},
    {"SUBSTRING", "SUBSTRING($1, $2, $3)", 3, 3, kStr, SQL_FN_STR_SUBSTRING, true},
    {"INSERT", "STUFF($*)", 4, 4, kStr, SQL_FN_STR_INSERT, false},
    {"ABS", "ABS($1)", 1, 1, kNum, SQL_FN_NUM_ABS, true},
    {"CEILING", "CEILING($1)", 1, 1, kNum, SQL_FN_NUM_CEILING, true},
    {"FLOOR", "FLOOR($1)", 1, 1, kNum, SQL_FN_NUM_FLOOR, true},
    {"ROUND", "ROUND($1, $2)", 2, 2, kNum, SQL_FN_NUM_ROUND, true},
    {"TRUNCATE", "ROUND($1, $2, 1)", 2, 2, kNum, SQL_FN_NUM_TRUNCATE, true},
    {"MOD", "($1 % $2)", 2, 2, kNum, SQL_FN_NUM_MOD, true},
    {"NOW", "GETDATE()", 0, 0, kDate, SQL_FN_TD_NOW, true},
    {"CURRENT_TIMESTAMP", "GETDATE()", 0, 1, kDate, SQL_FN_TD_CURRENT_TIMESTAMP, true},
    // Without a time type a time is a datetime of today, as {t '...'} is.
    {"CURTIME", "GETDATE()", 0, 0, kDate, SQL_FN_TD_CURTIME, true},
    {"CURRENT_TIME", "GETDATE()", 0, 1, kDate, SQL_FN_TD_CURRENT_TIME, true},
    {"CURDATE", kToday, 0, 0, kDate, SQL_FN_TD_CURDATE, true},
    {"CURRENT_DATE", kToday, 0, 0, kDate, SQL_FN_TD_CURRENT_DATE, true},
    {"YEAR", "DATEPART(yy, $1)", 1, 1, kDate, SQL_FN_TD_YEAR, false},
    {"QUARTER", "DATEPART(qq, $1)", 1, 1, kDate, SQL_FN_TD_QUARTER, false},
    {"MONTH", "DATEPART(mm, $1)", 1, 1, kDate, SQL_FN_TD_MONTH, false},
    {"WEEK", "DATEPART(wk, $1)", 1, 1, kDate, SQL_FN_TD_WEEK, false},
    {"DAYOFYEAR", "DATEPART(dy, $1)", 1, 1, kDate, SQL_FN_TD_DAYOFYEAR, false},
    {"DAYOFMONTH", "DATEPART(dd, $1)", 1, 1, kDate, SQL_FN_TD_DAYOFMONTH, false},
    {"DAYOFWEEK", "DATEPART(dw, $1)", 1, 1, kDate, SQL_FN_TD_DAYOFWEEK, false},
    {"HOUR", "DATEPART(hh, $1)", 1, 1, kDate, SQL_FN_TD_HOUR, false},
    {"MINUTE", "DATEPART(mi, $1)", 1, 1, kDate, SQL_FN_TD_MINUTE, false},
    {"SECOND", "DATEPART(ss, $1)", 1, 1, kDate, SQL_FN_TD_SECOND, false},
    {"DAYNAME", "DATENAME(dw, $1)", 1, 1, kDate, SQL_FN_TD_DAYNAME, false},
    {"MONTHNAME", "DATENAME(mm, $1)", 1, 1, kDate, SQL_FN_TD_MONTHNAME, false},
    {"IFNULL", "ISNULL($1, $2)", 2, 2, kSys, SQL_FN_SYS_IFNULL, true},
    {"DATABASE", "DB_NAME()", 0, 0, kSys, SQL_FN_SYS_DBNAME, false},
    {"USER", "USER_NAME()", 0, 0, kSys, SQL_FN_SYS_USERNAME, false},
};

// The SQL_CONVERT_<type> information type and the SQL_CVT_ bit of each ODBC
// type that {fn CONVERT(value, SQL_<type>)} takes.
struct ConvertType {
  std::string_view odbc_name;
  std::string_view tsql_type;
  SQLUSMALLINT info_type;
  SQLUINTEGER bit;
};

constexpr ConvertType kConvertTypes[] = {
    {"SQL_BIGINT", "bigint", SQL_CONVERT_BIGINT, SQL_CVT_BIGINT},
    {"SQL_BIT", "bit", SQL_CONVERT_BIT, SQL_CVT_BIT},
    {"SQL_CHAR", "char", SQL_CONVERT_CHAR, SQL_CVT_CHAR},
    {"SQL_DECIMAL", "decimal", SQL_CONVERT_DECIMAL, SQL_CVT_DECIMAL},
    {"SQL_DOUBLE", "float", SQL_CONVERT_DOUBLE, SQL_CVT_DOUBLE},
    {"SQL_FLOAT", "float", SQL_CONVERT_FLOAT, SQL_CVT_FLOAT},
    {"SQL_INTEGER", "int", SQL_CONVERT_INTEGER, SQL_CVT_INTEGER},
    {"SQL_NUMERIC", "numeric", SQL_CONVERT_NUMERIC, SQL_CVT_NUMERIC},
    {"SQL_REAL", "real", SQL_CONVERT_REAL, SQL_CVT_REAL},
    {"SQL_SMALLINT", "smallint", SQL_CONVERT_SMALLINT, SQL_CVT_SMALLINT},
    {"SQL_TINYINT", "tinyint", SQL_CONVERT_TINYINT, SQL_CVT_TINYINT},
    {"SQL_VARCHAR", "varchar", SQL_CONVERT_VARCHAR, SQL_CVT_VARCHAR},
    {"SQL_TIMESTAMP", "datetime", SQL_CONVERT_TIMESTAMP, SQL_CVT_TIMESTAMP},
    {"SQL_TYPE_TIMESTAMP", "datetime", SQL_CONVERT_TIMESTAMP, SQL_CVT_TIMESTAMP},
};

constexpr SQLUINTEGER kNumbers = SQL_CVT_BIGINT | SQL_CVT_BIT | SQL_CVT_DECIMAL | SQL_CVT_DOUBLE |
                                 SQL_CVT_FLOAT | SQL_CVT_INTEGER | SQL_CVT_NUMERIC | SQL_CVT_REAL |
                                 SQL_CVT_SMALLINT | SQL_CVT_TINYINT;
constexpr SQLUINTEGER kTexts = SQL_CVT_CHAR | SQL_CVT_VARCHAR;

// The targets each source type converts to.
SQLUINTEGER ConvertTargets(SQLUINTEGER source_bit) {
  if (source_bit & kTexts) return kNumbers | kTexts | SQL_CVT_TIMESTAMP;
  if (source_bit == SQL_CVT_TIMESTAMP) return kTexts | SQL_CVT_TIMESTAMP;
  return kNumbers | kTexts;
}

std::string Expand(std::string_view form, const std::vector<std::string>& args) {
  std::string out;
  for (size_t i = 0; i < form.size(); ++i) {
    if (form[i] != '$' || i + 1 == form.size()) {
      out += form[i];
      continue;
    }
    const char which = form[++i];
    if (which == '*') {
      for (size_t a = 0; a < args.size(); ++a) out += (a ? ", " : "") + args[a];
    } else {
      out += args.at(static_cast<size_t>(which - '1'));
    }
  }
  return out;
}

std::string AsWritten(std::string_view name, const std::vector<std::string>& args) {
  return std::string(name) + "(" + Expand("$*", args) + ")";
}

std::string ConvertCall(const std::vector<std::string>& args) {
  if (args.size() == 2) {
    for (const ConvertType& t : kConvertTypes) {
      if (EqualsNoCase(args[1], t.odbc_name)) return "CONVERT(" + std::string(t.tsql_type) + ", " + args[0] + ")";
    }
  }
  return AsWritten("CONVERT", args);
}

}  // namespace

std::string ScalarFunctionCall(std::string_view name, const std::vector<std::string>& args) {
  if (EqualsNoCase(name, "CONVERT")) return ConvertCall(args);
  for (const ScalarFunction& f : kFunctions) {
    if (!EqualsNoCase(name, f.odbc_name)) continue;
    if (args.size() < f.min_args || args.size() > f.max_args) break;
    return Expand(f.form, args);
  }
  return AsWritten(name, args);
}

std::optional<SQLUINTEGER> ScalarFunctionInfo(SQLUSMALLINT info_type) {
  if (info_type == kStr || info_type == kNum || info_type == kDate || info_type == kSys) {
    SQLUINTEGER mask = 0;
    for (const ScalarFunction& f : kFunctions) {
      if (f.runs && f.info_type == info_type) mask |= f.bit;
    }
    return mask;
  }
  for (const ConvertType& t : kConvertTypes) {
    if (t.info_type == info_type) return ConvertTargets(t.bit);
  }
  return std::nullopt;
}

}  // namespace sqlsim::odbc
