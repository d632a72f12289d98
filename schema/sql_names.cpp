// Names as the generated scripts write them.
#include <cctype>

#include "schema/key_fields.h"

namespace lerv32 {
namespace {

std::string Doubled(std::string_view text, char mark) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == mark) out += c;
  }
  return out;
}

bool IsPlainIdentifier(const char* name) {
  if (name[0] == '\0') return false;
  for (const char* p = name; *p != '\0'; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c > 0x7f || (std::isalnum(c) == 0 && c != '_')) return false;
  }
  return true;
}

}  // namespace

std::string InBrackets(std::string_view name) { return Doubled(name, ']'); }

std::string InQuotes(std::string_view text) { return Doubled(text, '\''); }

std::string ObjectIdName(std::string_view name) { return InQuotes("[dbo].[" + InBrackets(name) + "]"); }

std::string VariableName(const char* prefix, const TableDef* td, const FieldDef& field) {
  if (IsPlainIdentifier(field.Name)) return std::string(prefix) + field.Name;
  return std::string(prefix) + "$" + std::to_string(&field - td->Fields + 1);
}

SqlNames::SqlNames(const TableDef* td) {
  char name[kSqlNameSize];
  base_text = InQuotes(SqlBaseName(td, name));
  base = InBrackets(name);
  table_text = InQuotes(SqlTableName(td, name));
  table = InBrackets(name);
}

}  // namespace lerv32
