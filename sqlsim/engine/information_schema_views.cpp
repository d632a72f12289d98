// The columns of each INFORMATION_SCHEMA view, in the server's order and
// with its types (sysname as varchar(128)), over the system tables.
#include "sqlsim/engine/information_schema_sql.h"

namespace sqlsim::infoschema {
namespace {

constexpr const char* kCatalog = "tsql_db_name()";
constexpr const char* kSchema = "'dbo'";
constexpr int32_t kSysname = 128;
constexpr int32_t kDefinitionLength = 4000;

ViewColumn Name(const char* name, std::string sql) { return {name, SqlType::kVarchar, kSysname, std::move(sql)}; }
ViewColumn Text(const char* name, int32_t length, std::string sql) {
  return {name, SqlType::kVarchar, length, std::move(sql)};
}
ViewColumn Int(const char* name, std::string sql) { return {name, SqlType::kInt, 0, std::move(sql)}; }
ViewColumn Small(const char* name, std::string sql) { return {name, SqlType::kSmallint, 0, std::move(sql)}; }
ViewColumn Tiny(const char* name, std::string sql) { return {name, SqlType::kTinyint, 0, std::move(sql)}; }

std::string Definition(const std::string& text) {
  return "substr(" + text + ", 1, " + std::to_string(kDefinitionLength) + ")";
}

std::vector<ViewColumn> TypeOf(const char* c) {
  return {Name("DATA_TYPE", DataType(c)),
          Int("CHARACTER_MAXIMUM_LENGTH", MaximumLength(c)),
          Int("CHARACTER_OCTET_LENGTH", MaximumLength(c)),
          Tiny("NUMERIC_PRECISION", NumericPrecision(c)),
          Small("NUMERIC_PRECISION_RADIX", NumericRadix(c)),
          Int("NUMERIC_SCALE", NumericScale(c)),
          Small("DATETIME_PRECISION", DatetimePrecision(c))};
}

std::vector<ViewColumn> Join(std::vector<std::vector<ViewColumn>> parts) {
  std::vector<ViewColumn> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

ViewDef Schemata() {
  return {"SCHEMATA",
          {Name("CATALOG_NAME", kCatalog), Name("SCHEMA_NAME", "s.name"), Name("SCHEMA_OWNER", "s.name"),
           Text("DEFAULT_CHARACTER_SET_CATALOG", 6, "NULL"), Text("DEFAULT_CHARACTER_SET_SCHEMA", 3, "NULL"),
           Name("DEFAULT_CHARACTER_SET_NAME", "'iso_1'")},
          "FROM (SELECT 'dbo' AS name UNION ALL SELECT 'guest' UNION ALL SELECT 'INFORMATION_SCHEMA' "
          "UNION ALL SELECT 'sys') s"};
}

ViewDef Tables() {
  return {"TABLES",
          {Name("TABLE_CATALOG", kCatalog), Name("TABLE_SCHEMA", kSchema), Name("TABLE_NAME", "o.name"),
           Text("TABLE_TYPE", 10, "CASE WHEN o.xtype = 'V' THEN 'VIEW' ELSE 'BASE TABLE' END")},
          "FROM sysobjects o WHERE o.xtype IN ('U', 'V')"};
}

ViewDef Columns() {
  std::vector<ViewColumn> head = {
      Name("TABLE_CATALOG", kCatalog), Name("TABLE_SCHEMA", kSchema), Name("TABLE_NAME", "o.name"),
      Name("COLUMN_NAME", "c.name"), Int("ORDINAL_POSITION", "c.colid"),
      Text("COLUMN_DEFAULT", kDefinitionLength,
           "(SELECT d.text FROM syscomments d WHERE d.id = c.cdefault AND c.cdefault <> 0 AND d.colid = 1)"),
      Text("IS_NULLABLE", 3, "CASE WHEN c.isnullable <> 0 THEN 'YES' ELSE 'NO' END")};
  std::vector<ViewColumn> tail = {
      Name("CHARACTER_SET_CATALOG", "NULL"), Name("CHARACTER_SET_SCHEMA", "NULL"),
      Name("CHARACTER_SET_NAME", CharacterSet("c")), Name("COLLATION_CATALOG", "NULL"),
      Name("COLLATION_SCHEMA", "NULL"), Name("COLLATION_NAME", Collation("c")),
      Name("DOMAIN_CATALOG", "NULL"), Name("DOMAIN_SCHEMA", "NULL"), Name("DOMAIN_NAME", "NULL")};
  return {"COLUMNS", Join({head, TypeOf("c"), tail}),
          "FROM sysobjects o JOIN syscolumns c ON c.id = o.id WHERE o.xtype IN ('U', 'V')"};
}

ViewDef Views() {
  return {"VIEWS",
          {Name("TABLE_CATALOG", kCatalog), Name("TABLE_SCHEMA", kSchema), Name("TABLE_NAME", "o.name"),
           Text("VIEW_DEFINITION", kDefinitionLength, Definition("m.text")), Text("CHECK_OPTION", 7, "'NONE'"),
           Text("IS_UPDATABLE", 2, "'NO'")},
          "FROM sysobjects o LEFT JOIN syscomments m ON m.id = o.id AND m.colid = 1 WHERE o.xtype = 'V'"};
}

ViewDef Routines() {
  std::vector<ViewColumn> head = {
      Name("SPECIFIC_CATALOG", kCatalog), Name("SPECIFIC_SCHEMA", kSchema), Name("SPECIFIC_NAME", "o.name"),
      Name("ROUTINE_CATALOG", kCatalog), Name("ROUTINE_SCHEMA", kSchema), Name("ROUTINE_NAME", "o.name"),
      Text("ROUTINE_TYPE", 20, "CASE WHEN o.xtype = 'P' THEN 'PROCEDURE' ELSE 'FUNCTION' END"),
      Name("MODULE_CATALOG", "NULL"), Name("MODULE_SCHEMA", "NULL"), Name("MODULE_NAME", "NULL"),
      Name("UDT_CATALOG", "NULL"), Name("UDT_SCHEMA", "NULL"), Name("UDT_NAME", "NULL"),
      // The type a function returns; NULL for procedures.
      Name("DATA_TYPE", DataType("r")), Int("CHARACTER_MAXIMUM_LENGTH", MaximumLength("r")),
      Int("CHARACTER_OCTET_LENGTH", MaximumLength("r")), Name("COLLATION_CATALOG", "NULL"),
      Name("COLLATION_SCHEMA", "NULL"), Name("COLLATION_NAME", Collation("r")),
      Name("CHARACTER_SET_CATALOG", "NULL"), Name("CHARACTER_SET_SCHEMA", "NULL"),
      Name("CHARACTER_SET_NAME", CharacterSet("r")), Tiny("NUMERIC_PRECISION", NumericPrecision("r")),
      Small("NUMERIC_PRECISION_RADIX", NumericRadix("r")), Int("NUMERIC_SCALE", NumericScale("r")),
      Small("DATETIME_PRECISION", DatetimePrecision("r")), Text("INTERVAL_TYPE", 30, "NULL"),
      Small("INTERVAL_PRECISION", "NULL"), Name("TYPE_UDT_CATALOG", "NULL"), Name("TYPE_UDT_SCHEMA", "NULL"),
      Name("TYPE_UDT_NAME", "NULL"), Name("SCOPE_CATALOG", "NULL"), Name("SCOPE_SCHEMA", "NULL"),
      Name("SCOPE_NAME", "NULL"), {"MAXIMUM_CARDINALITY", SqlType::kBigint, 0, "NULL"},
      Name("DTD_IDENTIFIER", "NULL"), Text("ROUTINE_BODY", 30, "'SQL'"),
      Text("ROUTINE_DEFINITION", kDefinitionLength, Definition("m.text"))};
  std::vector<ViewColumn> tail = {
      Name("EXTERNAL_NAME", "NULL"), Text("EXTERNAL_LANGUAGE", 30, "NULL"), Text("PARAMETER_STYLE", 30, "NULL"),
      Text("IS_DETERMINISTIC", 10, "'NO'"),
      Text("SQL_DATA_ACCESS", 30, "CASE WHEN o.xtype = 'P' THEN 'MODIFIES' ELSE 'READS' END"),
      Text("IS_NULL_CALL", 10, "CASE WHEN o.xtype = 'P' THEN NULL ELSE 'YES' END"), Name("SQL_PATH", "NULL"),
      Text("SCHEMA_LEVEL_ROUTINE", 10, "'YES'"),
      Small("MAX_DYNAMIC_RESULT_SETS", "CASE WHEN o.xtype = 'P' THEN -1 ELSE 0 END"),
      Text("IS_USER_DEFINED_CAST", 10, "'NO'"), Text("IS_IMPLICITLY_INVOCABLE", 10, "'NO'"),
      {"CREATED", SqlType::kDatetime, 0, "o.crdate"}, {"LAST_ALTERED", SqlType::kDatetime, 0, "o.crdate"}};
  return {"ROUTINES", Join({head, tail}),
          "FROM sysobjects o LEFT JOIN syscomments m ON m.id = o.id AND m.colid = 1 "
          "LEFT JOIN sqlsim_returns r ON r.id = o.id WHERE o.xtype IN ('P', 'FN')"};
}

ViewDef Parameters() {
  std::vector<ViewColumn> head = {
      Name("SPECIFIC_CATALOG", kCatalog), Name("SPECIFIC_SCHEMA", kSchema), Name("SPECIFIC_NAME", "o.name"),
      Int("ORDINAL_POSITION", "c.colid"),
      Text("PARAMETER_MODE", 10,
           "CASE WHEN c.colid = 0 THEN 'OUT' WHEN c.status & 64 <> 0 THEN 'INOUT' ELSE 'IN' END"),
      Text("IS_RESULT", 10, "CASE WHEN c.colid = 0 THEN 'YES' ELSE 'NO' END"), Text("AS_LOCATOR", 10, "'NO'"), Name("PARAMETER_NAME", "c.name"),
      Name("DATA_TYPE", DataType("c")), Int("CHARACTER_MAXIMUM_LENGTH", MaximumLength("c")),
      Int("CHARACTER_OCTET_LENGTH", MaximumLength("c")), Name("COLLATION_CATALOG", "NULL"),
      Name("COLLATION_SCHEMA", "NULL"), Name("COLLATION_NAME", Collation("c")),
      Name("CHARACTER_SET_CATALOG", "NULL"), Name("CHARACTER_SET_SCHEMA", "NULL"),
      Name("CHARACTER_SET_NAME", CharacterSet("c")), Tiny("NUMERIC_PRECISION", NumericPrecision("c")),
      Small("NUMERIC_PRECISION_RADIX", NumericRadix("c")), Int("NUMERIC_SCALE", NumericScale("c")),
      Small("DATETIME_PRECISION", DatetimePrecision("c")), Text("INTERVAL_TYPE", 30, "NULL"),
      Small("INTERVAL_PRECISION", "NULL"), Name("USER_DEFINED_TYPE_CATALOG", "NULL"),
      Name("USER_DEFINED_TYPE_SCHEMA", "NULL"), Name("USER_DEFINED_TYPE_NAME", "NULL"),
      Name("SCOPE_CATALOG", "NULL"), Name("SCOPE_SCHEMA", "NULL"), Name("SCOPE_NAME", "NULL")};
  // A function's result is its parameter 0, without a name.
  return {"PARAMETERS", head,
          "FROM sysobjects o JOIN (SELECT id, name, xtype, length, colid, prec, scale, status FROM syscolumns "
          "UNION ALL SELECT id, '', xtype, length, 0, prec, scale, 0 FROM sqlsim_returns) c ON c.id = o.id "
          "WHERE o.xtype IN ('P', 'FN')"};
}

constexpr const char* kKeyColumns =
    "FROM sysobjects k JOIN sysobjects t ON t.id = k.parent_obj "
    "JOIN sysindexes i ON i.id = t.id AND i.name = k.name "
    "JOIN sysindexkeys x ON x.id = i.id AND x.indid = i.indid "
    "JOIN syscolumns c ON c.id = t.id AND c.colid = x.colid WHERE k.xtype IN ('PK', 'UQ')";

ViewDef TableConstraints() {
  return {"TABLE_CONSTRAINTS",
          {Name("CONSTRAINT_CATALOG", kCatalog), Name("CONSTRAINT_SCHEMA", kSchema),
           Name("CONSTRAINT_NAME", "k.name"), Name("TABLE_CATALOG", kCatalog), Name("TABLE_SCHEMA", kSchema),
           Name("TABLE_NAME", "t.name"),
           Text("CONSTRAINT_TYPE", 11, "CASE WHEN k.xtype = 'PK' THEN 'PRIMARY KEY' ELSE 'UNIQUE' END"),
           Text("IS_DEFERRABLE", 2, "'NO'"), Text("INITIALLY_DEFERRED", 2, "'NO'")},
          "FROM sysobjects k JOIN sysobjects t ON t.id = k.parent_obj WHERE k.xtype IN ('PK', 'UQ')"};
}

ViewDef KeyColumnUsage() {
  return {"KEY_COLUMN_USAGE",
          {Name("CONSTRAINT_CATALOG", kCatalog), Name("CONSTRAINT_SCHEMA", kSchema),
           Name("CONSTRAINT_NAME", "k.name"), Name("TABLE_CATALOG", kCatalog), Name("TABLE_SCHEMA", kSchema),
           Name("TABLE_NAME", "t.name"), Name("COLUMN_NAME", "c.name"), Int("ORDINAL_POSITION", "x.keyno")},
          kKeyColumns};
}

ViewDef ConstraintColumnUsage() {
  return {"CONSTRAINT_COLUMN_USAGE",
          {Name("TABLE_CATALOG", kCatalog), Name("TABLE_SCHEMA", kSchema), Name("TABLE_NAME", "t.name"),
           Name("COLUMN_NAME", "c.name"), Name("CONSTRAINT_CATALOG", kCatalog),
           Name("CONSTRAINT_SCHEMA", kSchema), Name("CONSTRAINT_NAME", "k.name")},
          kKeyColumns};
}

// sqlsim has neither CHECK nor FOREIGN KEY constraints: these stay empty,
// so that scripts asking for them run.
ViewDef CheckConstraints() {
  return {"CHECK_CONSTRAINTS",
          {Name("CONSTRAINT_CATALOG", "NULL"), Name("CONSTRAINT_SCHEMA", "NULL"),
           Name("CONSTRAINT_NAME", "NULL"), Text("CHECK_CLAUSE", kDefinitionLength, "NULL")},
          "FROM sysobjects WHERE 0"};
}

ViewDef ReferentialConstraints() {
  return {"REFERENTIAL_CONSTRAINTS",
          {Name("CONSTRAINT_CATALOG", "NULL"), Name("CONSTRAINT_SCHEMA", "NULL"),
           Name("CONSTRAINT_NAME", "NULL"), Name("UNIQUE_CONSTRAINT_CATALOG", "NULL"),
           Name("UNIQUE_CONSTRAINT_SCHEMA", "NULL"), Name("UNIQUE_CONSTRAINT_NAME", "NULL"),
           Text("MATCH_OPTION", 7, "NULL"), Text("UPDATE_RULE", 11, "NULL"), Text("DELETE_RULE", 11, "NULL")},
          "FROM sysobjects WHERE 0"};
}

}  // namespace

const std::vector<ViewDef>& ViewDefs() {
  static const std::vector<ViewDef> kViews = {
      Schemata(), Tables(), Columns(), Views(), Routines(), Parameters(), TableConstraints(),
      KeyColumnUsage(), ConstraintColumnUsage(), CheckConstraints(), ReferentialConstraints()};
  return kViews;
}

std::string SqliteViewName(const std::string& name) { return "sqlsim_information_schema_" + name; }

}  // namespace sqlsim::infoschema
