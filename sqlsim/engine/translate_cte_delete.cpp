// DELETE through a common table expression over one table, as the server
// allows it (WITH d AS (SELECT ..., ROW_NUMBER() OVER (...) AS rn FROM t)
// DELETE FROM d WHERE rn > 1): the CTE carries the row id of its table and
// the rows it selects are deleted from the table.
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

constexpr const char* kRowIdColumn = "\"sqlsim_rowid\"";

const ast::CommonTableExpr* FindCte(const ast::WithClause& with, const std::string& name) {
  for (const ast::CommonTableExpr& cte : with.ctes) {
    if (IdentifiersEqual(cte.name, name)) return &cte;
  }
  return nullptr;
}

// The one table a CTE shows rows of, or null when its rows are not a
// table's (joins, grouping, DISTINCT, UNION, derived tables).
const ast::TableRef* SingleTableOf(const ast::Select& query) {
  if (query.union_next || query.distinct || !query.group_by.empty() || query.having || query.from.size() != 1 ||
      !query.from[0].joins.empty() || query.from[0].table.derived) {
    return nullptr;
  }
  return &query.from[0].table;
}

}  // namespace

bool Translator::DeleteThroughCte(const ast::Delete& del) {
  if (!del.with || !del.table.name.schema.empty() || !del.from.empty() || !del.current_of.empty()) return false;
  const ast::CommonTableExpr* cte = FindCte(*del.with, del.table.name.name);
  if (!cte) return false;
  const ast::TableRef* source = SingleTableOf(*cte->query);
  const CatalogTable* table = source ? FindTable(source->name) : nullptr;
  if (!table || table->xtype != "U") {
    Fail(4405, "View or function '" + cte->name + "' is not updatable because the modification affects multiple base tables.",
         del.table.pos);
  }
  const std::string source_alias = source->alias.empty() ? source->name.name : source->alias;
  extra_items_[cte->query.get()] = QuoteName(source_alias) + ".rowid AS " + kRowIdColumn;
  rowid_ctes_.insert(cte);
  std::string sql = WithSql(*del.with);
  extra_items_.clear();
  scopes_.emplace_back();
  std::string from;
  CteRefSql(del.table, &from);
  std::string inner = "SELECT " + std::string(kRowIdColumn) + " FROM " + from;
  if (del.where) inner += " WHERE " + Expr(*del.where).sql;
  if (del.top) inner += " LIMIT " + Expr(*del.top).sql;
  scopes_.pop_back();
  out_->sqlite_sql = sql + "DELETE FROM " + QuoteName(table->name) + " WHERE rowid IN (" + inner + ")";
  out_->target_table = table->name;
  out_->writes = true;
  out_->counts_rows = true;
  return true;
}

}  // namespace sqlsim
