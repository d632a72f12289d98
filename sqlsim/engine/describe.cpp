// Result descriptions: what SQLDescribeCol reports for each column.
#include <cctype>
#include <string>

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

// A declared type such as "char(10)" or "varchar(max)" as SQLite keeps it
// for tables made outside the catalog.
void TypeFromDeclaration(const char* declared, ColumnDesc* column) {
  if (!declared) return;
  std::string text(declared);
  ast::TypeName type;
  size_t paren = text.find('(');
  for (char c : text.substr(0, paren)) {
    if (!std::isspace(static_cast<unsigned char>(c)))
      type.name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (paren != std::string::npos) {
    std::string inside = text.substr(paren + 1);
    type.length = std::isdigit(static_cast<unsigned char>(inside[0])) ? std::atoi(inside.c_str())
                                                                      : ast::TypeName::kMax;
  }
  column->type = SqlTypeOf(type);
  if (column->type == SqlType::kUnknown && type.name == "text") column->type = SqlType::kVarchar;
  column->length = type.length > 0 ? type.length : 0;
}

}  // namespace

bool DescribeFromCatalog(SessionImpl& session, const char* table, const char* column,
                         ColumnDesc* out) {
  const CatalogTable* t = session.catalog().FindTable(table);
  const CatalogColumn* c = t ? t->FindColumn(column) : nullptr;
  if (!c) return false;
  out->type = c->type;
  out->length = c->length;
  out->scale = c->scale;
  out->precision = c->precision;
  out->nullable = c->nullable;
  out->base_table = t->name;
  out->base_column = c->name;
  return true;
}

std::vector<ColumnDesc> DescribeColumns(SessionImpl& session, sqlite3_stmt* stmt,
                                        const std::vector<ColumnDesc>& known) {
  int count = sqlite3_column_count(stmt);
  std::vector<ColumnDesc> columns(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    ColumnDesc& column = columns[static_cast<size_t>(i)];
    bool translated = static_cast<size_t>(i) < known.size();
    if (translated) {
      column = known[static_cast<size_t>(i)];
    } else {
      const char* name = sqlite3_column_name(stmt, i);
      column.name = name ? name : "";
    }
    // A column straight from a table is described as the table has it.
    const char* table = sqlite3_column_table_name(stmt, i);
    const char* origin = sqlite3_column_origin_name(stmt, i);
    if (table && origin) {
      column.base_table = table;
      column.base_column = origin;
      if (DescribeFromCatalog(session, table, origin, &column)) continue;
    }
    if (column.type == SqlType::kUnknown) TypeFromDeclaration(sqlite3_column_decltype(stmt, i), &column);
  }
  return columns;
}

}  // namespace sqlsim
