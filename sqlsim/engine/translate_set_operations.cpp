// UNION, EXCEPT and INTERSECT: the chain in SQLite's terms, its columns
// typed by the server's precedence, ORDER BY over the result's columns, and
// OFFSET/FETCH.
#include <algorithm>
#include <utility>

#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

// The server's data type precedence, higher wins; 0 for types it does not
// rank here.
int Precedence(SqlType type) {
  switch (type) {
    case SqlType::kDatetime: return 12;
    case SqlType::kFloat: return 11;
    case SqlType::kReal: return 10;
    case SqlType::kDecimal: return 9;
    case SqlType::kBigint: return 8;
    case SqlType::kInt: return 7;
    case SqlType::kSmallint: return 6;
    case SqlType::kTinyint: return 5;
    case SqlType::kBit: return 4;
    case SqlType::kText: return 3;
    case SqlType::kVarchar: return 2;
    case SqlType::kChar: return 1;
    default: return 0;
  }
}

// Digits an integer type takes as a decimal.
int32_t IntegerDigits(SqlType type) {
  switch (type) {
    case SqlType::kBigint: return 19;
    case SqlType::kInt: return 10;
    case SqlType::kSmallint: return 5;
    case SqlType::kTinyint: return 3;
    case SqlType::kBit: return 1;
    default: return 0;
  }
}

void MergeDecimal(ColumnDesc& to, const ColumnDesc& other) {
  ColumnDesc from = other;
  if (IntegerDigits(from.type) > 0) {
    from.precision = IntegerDigits(from.type);
    from.scale = 0;
  } else if (from.type != SqlType::kDecimal || from.precision <= 0) {
    return;
  }
  if (to.precision <= 0) return;
  int32_t scale = std::max(to.scale, from.scale);
  int32_t integer_digits = std::max(to.precision - to.scale, from.precision - from.scale);
  to.precision = std::min(integer_digits + scale, 38);
  to.scale = std::min(scale, to.precision);
}

// One result column of a chain from two of its branches: the name stays
// the first's, type and size come from both.
void MergeColumn(ColumnDesc& to, const ColumnDesc& from) {
  if (from.type == SqlType::kUnknown) return;
  if (to.type == SqlType::kUnknown || Precedence(from.type) > Precedence(to.type)) {
    ColumnDesc merged = from;
    merged.name = to.name;
    std::swap(merged, to);
    MergeDecimal(to, merged);
    return;
  }
  if (to.type == SqlType::kDecimal) MergeDecimal(to, from);
  if (IsTextType(to.type) && IsTextType(from.type)) {
    to.length = to.length == 0 || from.length == 0 ? 0 : std::max(to.length, from.length);
  }
  to.base_table.clear();
  to.base_column.clear();
}

// Kinds of value that SQLite keeps apart: 1 text, 2 numbers, 3 dates;
// 0 for the rest.
int Family(SqlType type) {
  if (IsTextType(type)) return 1;
  if (type == SqlType::kDatetime) return 3;
  return Precedence(type) > 0 ? 2 : 0;
}

bool SameDescription(const ColumnDesc& a, const ColumnDesc& b) {
  return a.type == b.type && a.length == b.length && a.precision == b.precision && a.scale == b.scale;
}

const char* OperatorSql(const ast::Select& select) {
  switch (select.set_operator) {
    case ast::SetOperator::kExcept: return " EXCEPT ";
    case ast::SetOperator::kIntersect: return " INTERSECT ";
    case ast::SetOperator::kUnion: break;
  }
  return select.union_all ? " UNION ALL " : " UNION ";
}

}  // namespace

// TOP kept to its term, as SQLite puts LIMIT on the whole chain. Translated
// right after the term, so that markers stay in the order of the text.
std::string Translator::WithTermTop(const ast::Select& term, std::string sql) {
  if (!term.top) return sql;
  return "SELECT * FROM (" + sql + " LIMIT " + Expr(*term.top).sql + ")";
}

// The values of a term whose column has another kind than the chain's
// (text beside numbers or dates) converted to the chain's type.
std::string Translator::ConvertedTerm(const ChainTerm& term, const std::vector<ColumnDesc>& columns, bool first) {
  const std::string& sql = term.sql;
  if (term.columns.size() != columns.size()) return sql;
  bool converts = false;
  std::string names;
  std::string items;
  for (size_t i = 0; i < columns.size(); ++i) {
    const std::string name = "c" + std::to_string(i + 1);
    names += (i ? ", " : "") + name;
    std::string item = name;
    SqlType from = term.columns[i].type;
    SqlType to = columns[i].type;
    if (Family(from) != Family(to) && Family(from) != 0 && Family(to) != 0) {
      converts = true;
      int32_t length = to == SqlType::kDecimal ? columns[i].scale : -1;
      item = "tsql_convert(" + name + ", " + QuoteText(std::string(CanonicalTypeName(from))) + ", " +
             QuoteText(std::string(CanonicalTypeName(to))) + ", " + std::to_string(length) + ", -1)";
    } else if (first && !SameDescription(term.columns[i], columns[i])) {
      // A table column typed otherwise by the chain must not be described
      // from its table: + hides where it comes from and keeps its collation.
      converts = true;
      item = "+" + name;
    }
    if (first && !columns[i].name.empty()) item += " AS " + QuoteName(columns[i].name);
    items += (i ? ", " : "") + item;
  }
  if (!converts) return sql;
  if (recursive_cte_ && extra_items_.count(term.select)) RecursiveTypesDiffer(term, columns);
  return "SELECT " + items + " FROM (WITH term(" + names + ") AS (" + sql + ") SELECT * FROM term)";
}

// A recursive CTE cannot convert its members' columns: the server wants
// the anchor's types from the recursive part as they are.
void Translator::RecursiveTypesDiffer(const ChainTerm& term, const std::vector<ColumnDesc>& columns) {
  size_t i = 0;
  while (i + 1 < columns.size() && SameDescription(term.columns[i], columns[i])) ++i;
  const std::vector<std::string>& names = recursive_cte_->columns;
  const std::string& column = i < names.size() ? names[i] : columns[i].name;
  Fail(240, "Types don't match between the anchor and the recursive part in column \"" + column +
                "\" of recursive query \"" + recursive_cte_->name + "\".",
       recursive_cte_->pos);
}

std::string Translator::TermSql(const ast::Select& select, std::vector<ColumnDesc>* columns,
                                std::vector<ScopeTable>* from_scope) {
  if (!select.nested) return SelectCoreSql(select, columns, from_scope);
  std::vector<ColumnDesc> own_columns;
  std::vector<const CatalogColumn*> saved;
  saved.swap(store_targets_);
  std::string sql = "SELECT * FROM (" + SelectSql(*select.nested, columns ? columns : &own_columns) + ")";
  saved.swap(store_targets_);
  return sql;
}

std::string Translator::SetOperationSql(const ast::Select& select, std::string first_sql,
                                        std::vector<ColumnDesc>* columns) {
  std::vector<ChainTerm> terms;
  terms.push_back({&select, WithTermTop(select, std::move(first_sql)), *columns});
  std::vector<const CatalogColumn*> saved;
  saved.swap(store_targets_);
  for (const ast::Select* node = select.union_next.get(); node != nullptr; node = node->union_next.get()) {
    ChainTerm term{node, "", {}};
    std::vector<ScopeTable> unused;
    term.sql = WithTermTop(*node, TermSql(*node, &term.columns, &unused));
    terms.push_back(std::move(term));
  }
  saved.swap(store_targets_);
  for (const ChainTerm& term : terms) {
    if (columns->empty() || term.columns.empty()) continue;
    if (term.columns.size() != columns->size()) {
      Fail(205, "All queries combined using a UNION, INTERSECT or EXCEPT operator must have an equal number "
                "of expressions in their target lists.", term.select->pos);
    }
    for (size_t i = 0; i < columns->size(); ++i) MergeColumn((*columns)[i], term.columns[i]);
  }
  std::string sql;
  for (size_t i = 0; i < terms.size(); ++i) {
    if (i > 0) sql += OperatorSql(*terms[i - 1].select);
    sql += ConvertedTerm(terms[i], *columns, i == 0);
  }
  return sql;
}

std::string Translator::ResultColumnOrdinal(const ast::Select& select, const ast::Expr& item,
                                            const std::vector<ColumnDesc>* columns) {
  if (!columns || columns->empty() || (!select.union_next && !select.nested)) return "";
  if (item.kind == ast::ExprKind::kLiteral) return "";
  if (item.kind == ast::ExprKind::kColumn && !item.parts.empty()) {
    for (size_t i = 0; i < columns->size(); ++i) {
      if (IdentifiersEqual((*columns)[i].name, item.parts.back())) return std::to_string(i + 1);
    }
  }
  Fail(104, "ORDER BY items must appear in the select list if the statement contains a UNION, INTERSECT or "
            "EXCEPT operator.", select.pos);
}

std::string Translator::LimitSql(const ast::Select& select, bool with_top) {
  if (select.top && with_top) return " LIMIT " + Expr(*select.top).sql;
  if (!select.offset) return "";
  SqlExpr offset = Expr(*select.offset);
  if (offset.type != SqlType::kUnknown && !IsIntegerType(offset.type)) {
    Fail(10743, "The number of rows provided for a OFFSET clause must be an integer.", select.offset->pos);
  }
  // LIMIT offset, count: the markers stay in the order they were written.
  std::string sql = " LIMIT tsql_offset_rows(" + offset.sql + "), ";
  if (!select.fetch) return sql + "-1";
  SqlExpr fetch = Expr(*select.fetch);
  if (fetch.type != SqlType::kUnknown && !IsIntegerType(fetch.type)) {
    Fail(10745, "The number of rows provided for a FETCH clause must be an integer.", select.fetch->pos);
  }
  return sql + "tsql_fetch_rows(" + fetch.sql + ")";
}

}  // namespace sqlsim
