#include "sqlsim/engine/types.h"

#include <map>

namespace sqlsim {

SqlType SqlTypeOf(const ast::TypeName& type) {
  static const std::map<std::string_view, SqlType> kNames = {
      {"char", SqlType::kChar},         {"character", SqlType::kChar},
      {"nchar", SqlType::kChar},        {"varchar", SqlType::kVarchar},
      {"nvarchar", SqlType::kVarchar},  {"sysname", SqlType::kVarchar},
      {"int", SqlType::kInt},           {"integer", SqlType::kInt},
      {"smallint", SqlType::kSmallint}, {"tinyint", SqlType::kTinyint},
      {"byte", SqlType::kTinyint},      {"bigint", SqlType::kBigint},
      {"bit", SqlType::kBit},           {"float", SqlType::kFloat},
      {"double", SqlType::kFloat},      {"real", SqlType::kReal},
      {"decimal", SqlType::kDecimal},   {"numeric", SqlType::kDecimal},
      {"money", SqlType::kDecimal},     {"datetime", SqlType::kDatetime},
      {"smalldatetime", SqlType::kDatetime}, {"date", SqlType::kDatetime},
      {"binary", SqlType::kBinary},     {"varbinary", SqlType::kVarbinary},
      {"image", SqlType::kImage},       {"text", SqlType::kText},
      {"ntext", SqlType::kText},
  };
  auto it = kNames.find(type.name);
  return it == kNames.end() ? SqlType::kUnknown : it->second;
}

std::string_view CanonicalTypeName(SqlType type) {
  switch (type) {
    case SqlType::kChar: return "char";
    case SqlType::kVarchar: return "varchar";
    case SqlType::kInt: return "int";
    case SqlType::kSmallint: return "smallint";
    case SqlType::kTinyint: return "tinyint";
    case SqlType::kBigint: return "bigint";
    case SqlType::kBit: return "bit";
    case SqlType::kFloat: return "float";
    case SqlType::kReal: return "real";
    case SqlType::kDecimal: return "decimal";
    case SqlType::kDatetime: return "datetime";
    case SqlType::kBinary: return "binary";
    case SqlType::kVarbinary: return "varbinary";
    case SqlType::kImage: return "image";
    case SqlType::kText: return "text";
    case SqlType::kUnknown: break;
  }
  return "";
}

int32_t CatalogXtype(SqlType type) {
  switch (type) {
    case SqlType::kChar: return 175;
    case SqlType::kVarchar: return 167;
    case SqlType::kInt: return 56;
    case SqlType::kSmallint: return 52;
    case SqlType::kTinyint: return 48;
    case SqlType::kBigint: return 127;
    case SqlType::kBit: return 104;
    case SqlType::kFloat: return 62;
    case SqlType::kReal: return 59;
    case SqlType::kDecimal: return 106;
    case SqlType::kDatetime: return 61;
    case SqlType::kBinary: return 173;
    case SqlType::kVarbinary: return 165;
    case SqlType::kImage: return 34;
    case SqlType::kText: return 35;
    case SqlType::kUnknown: break;
  }
  return 0;
}

int32_t CatalogLength(SqlType type, int32_t declared_length) {
  switch (type) {
    case SqlType::kChar: case SqlType::kVarchar: case SqlType::kBinary:
    case SqlType::kVarbinary:
      if (declared_length == ast::TypeName::kMax) return -1;
      return declared_length == ast::TypeName::kNone ? 1 : declared_length;
    case SqlType::kInt: case SqlType::kReal: return 4;
    case SqlType::kSmallint: return 2;
    case SqlType::kTinyint: case SqlType::kBit: return 1;
    case SqlType::kBigint: case SqlType::kFloat: case SqlType::kDatetime: return 8;
    case SqlType::kDecimal: return 9;
    case SqlType::kImage: case SqlType::kText: return 16;
    case SqlType::kUnknown: break;
  }
  return 0;
}

std::string SqliteColumnType(SqlType type) {
  if (IsTextType(type)) return std::string("TEXT COLLATE ") + kCollation;
  if (IsIntegerType(type)) return "INTEGER";
  if (type == SqlType::kFloat || type == SqlType::kReal || type == SqlType::kDecimal)
    return "REAL";
  if (IsBinaryType(type)) return "BLOB";
  // datetime is kept as text "yyyy-mm-dd hh:mi:ss.mmm", ordered by bytes.
  return "TEXT";
}

}  // namespace sqlsim
