// What INFORMATION_SCHEMA shows of a column's or parameter's type, as SQL
// expressions over its syscolumns row.
#include "sqlsim/engine/information_schema_sql.h"

namespace sqlsim::infoschema {
namespace {

constexpr const char* kLargeObjectLength = "2147483647";

std::string IsCharacter(const std::string& c) { return c + ".xtype IN (175, 167, 35)"; }

}  // namespace

std::string DataType(const std::string& c) {
  return "CASE " + c + ".xtype WHEN 175 THEN 'char' WHEN 167 THEN 'varchar' WHEN 35 THEN 'text' "
         "WHEN 56 THEN 'int' WHEN 52 THEN 'smallint' WHEN 48 THEN 'tinyint' WHEN 127 THEN 'bigint' "
         "WHEN 104 THEN 'bit' WHEN 62 THEN 'float' WHEN 59 THEN 'real' WHEN 106 THEN 'decimal' "
         "WHEN 61 THEN 'datetime' WHEN 173 THEN 'binary' WHEN 165 THEN 'varbinary' "
         "WHEN 34 THEN 'image' END";
}

// Single-byte characters: the octet length is the character length.
std::string MaximumLength(const std::string& c) {
  return "CASE WHEN " + c + ".xtype IN (35, 34) THEN " + kLargeObjectLength + " WHEN " + c +
         ".xtype IN (175, 167, 173, 165) THEN " + c + ".length END";
}

std::string NumericPrecision(const std::string& c) {
  return "CASE " + c + ".xtype WHEN 56 THEN 10 WHEN 52 THEN 5 WHEN 48 THEN 3 WHEN 127 THEN 19 "
         "WHEN 62 THEN 53 WHEN 59 THEN 24 WHEN 106 THEN " + c + ".prec END";
}

std::string NumericRadix(const std::string& c) {
  return "CASE WHEN " + c + ".xtype IN (56, 52, 48, 127, 106) THEN 10 WHEN " + c +
         ".xtype IN (62, 59) THEN 2 END";
}

std::string NumericScale(const std::string& c) {
  return "CASE WHEN " + c + ".xtype IN (56, 52, 48, 127) THEN 0 WHEN " + c + ".xtype = 106 THEN " +
         c + ".scale END";
}

std::string DatetimePrecision(const std::string& c) {
  return "CASE WHEN " + c + ".xtype = 61 THEN 3 END";
}

std::string CharacterSet(const std::string& c) {
  return "CASE WHEN " + IsCharacter(c) + " THEN 'iso_1' END";
}

std::string Collation(const std::string& c) {
  return "CASE WHEN " + IsCharacter(c) + " THEN 'SQL_Latin1_General_CP1_CI_AS' END";
}

}  // namespace sqlsim::infoschema
