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

bool IsPlainIdentifier(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x7f || (std::isalnum(byte) == 0 && byte != '_')) return false;
  }
  return true;
}

}  // namespace

std::string InBrackets(std::string_view name) { return Doubled(name, ']'); }

std::string QuoteSqlName(std::string_view name) { return "[" + InBrackets(name) + "]"; }

std::string InQuotes(std::string_view text) { return Doubled(text, '\''); }

std::string ObjectIdName(std::string_view name) { return InQuotes("[dbo].[" + InBrackets(name) + "]"); }

std::string InComment(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const bool opens_or_closes = !out.empty() && ((out.back() == '/' && c == '*') || (out.back() == '*' && c == '/'));
    if (opens_or_closes) out += ' ';
    out += c;
  }
  return out;
}

std::string VariableName(const char* prefix, const TableDef* td, const FieldDef& field) {
  const std::string_view name = NameText(field.Name);
  if (IsPlainIdentifier(name)) return prefix + std::string(name);
  return std::string(prefix) + "$" + std::to_string(&field - td->Fields + 1);
}

bool WritableNames(const TableDef* td) {
  char name[kSqlNameSize];
  if (HasControlCharacters(SqlBaseName(td, name)) || HasControlCharacters(SqlTableName(td, name))) return false;
  for (int i = 0; i < FieldsInUse(td); ++i) {
    if (HasControlCharacters(NameText(td->Fields[i].Name))) return false;
  }
  for (int k = 0; k < KeysInUse(td); ++k) {
    if (HasControlCharacters(NameText(td->Keys[k].Name))) return false;
  }
  return true;
}

SqlNames::SqlNames(const TableDef* td) {
  char name[kSqlNameSize];
  base_text = InQuotes(SqlBaseName(td, name));
  base = InBrackets(name);
  table_text = InQuotes(SqlTableName(td, name));
  table = InBrackets(name);
}

std::string MarkedText(const std::string& text_sql) { return "REPLACE(" + text_sql + ", ']]', CHAR(1))"; }

std::string MarkedLiteral(const std::string& written) {
  const std::string literal = "'" + InQuotes(written) + "'";
  return written.find("]]") == std::string::npos ? literal : MarkedText(literal);
}

std::string SqlNames::BaseObjectIsThisTables(const std::string& object_id_name) const {
  const std::string text = "OBJECT_DEFINITION(ISNULL(OBJECT_ID('" + InQuotes("[dbo].[" + base + "]") + "', 'V'), OBJECT_ID('" +
                           object_id_name + "')))";
  return "ISNULL(CHARINDEX(" + MarkedLiteral("[dbo].[" + table + "]") + ", " + MarkedText(text) + "), 1) > 0";
}

}  // namespace lerv32
