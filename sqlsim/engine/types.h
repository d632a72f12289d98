// The server's column types: how a written type name maps to SqlType, how
// it is declared in SQLite underneath, and the numbers the catalog shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sqlsim/engine/engine.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

// kUnknown for a name the server does not know.
SqlType SqlTypeOf(const ast::TypeName& type);

// "char", "varchar", "int" ...: the canonical lower-case name (int for
// integer, tinyint for byte), as the conversion functions take it.
std::string_view CanonicalTypeName(SqlType type);

// syscolumns.xtype: 175 char, 167 varchar, 56 int, 52 smallint, 48 tinyint,
// 127 bigint, 104 bit, 62 float, 59 real, 106 decimal, 61 datetime,
// 173 binary, 165 varbinary, 34 image, 35 text.
int32_t CatalogXtype(SqlType type);

// syscolumns.length: bytes of storage (char(n) n, int 4, datetime 8,
// varbinary(max) -1 ...).
int32_t CatalogLength(SqlType type, int32_t declared_length);

// The type written in SQLite's CREATE TABLE for a column: it fixes the
// storage affinity, and text columns get the server's collation.
std::string SqliteColumnType(SqlType type);

inline bool IsTextType(SqlType t) {
  return t == SqlType::kChar || t == SqlType::kVarchar || t == SqlType::kText;
}
inline bool IsIntegerType(SqlType t) {
  return t == SqlType::kInt || t == SqlType::kSmallint ||
         t == SqlType::kTinyint || t == SqlType::kBigint || t == SqlType::kBit;
}
inline bool IsBinaryType(SqlType t) {
  return t == SqlType::kBinary || t == SqlType::kVarbinary || t == SqlType::kImage;
}

// Name of the collation registered on every connection: case-insensitive,
// trailing blanks ignored.
inline constexpr const char* kCollation = "TSQL";

}  // namespace sqlsim
