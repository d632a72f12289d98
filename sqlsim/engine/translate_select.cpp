// SELECT: FROM first (it opens the scope the rest resolves in), then the
// items, filters, grouping, unions, order and TOP as LIMIT.
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/temp_tables.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

// Text results whose length the binder cannot tell are described as
// varchar(8000), as the server describes most text expressions.
constexpr int32_t kUnknownTextLength = 8000;

ColumnDesc DescribeExpr(const SqlExpr& e, const std::string& alias) {
  ColumnDesc d;
  d.name = alias.empty() ? (e.is_column ? e.name : "") : alias;
  d.type = e.type;
  d.length = e.length;
  if (e.precision > 0) {
    d.precision = e.precision;
    d.scale = e.scale;
    d.numeric = e.numeric;
  }
  if (!e.is_column && (e.type == SqlType::kVarchar || e.type == SqlType::kChar) && d.length <= 0) {
    d.length = kUnknownTextLength;
  }
  return d;
}

}  // namespace

Translator::Translator(SessionImpl& session, CompiledStatement* out)
    : session_(session), out_(out) {}

std::string Translator::Subquery(const ast::Select& select) {
  std::vector<const CatalogColumn*> saved;
  saved.swap(store_targets_);
  std::string sql = SelectSql(select, nullptr);
  saved.swap(store_targets_);
  return sql;
}

namespace {

std::string ColumnNamesSql(const CatalogTable& shape) {
  std::string sql;
  for (size_t i = 0; i < shape.columns.size(); ++i) sql += (i ? ", " : "(") + QuoteName(shape.columns[i].name);
  return sql + ")";
}

}  // namespace

std::string Translator::TableRefSql(const ast::TableRef& ref) {
  // SQLite drops the alias of a lone table in parentheses.
  if (ref.joined && ref.joined->joins.empty()) return TableRefSql(ref.joined->table);
  if (ref.joined) return "(" + FromItemSql(*ref.joined) + ")";
  ScopeTable entry;
  std::string sql;
  if (ref.derived) {
    sql = "(" + DerivedSql(*ref.derived, ref.alias, ref.columns, &entry.table) + ")";
    entry.alias = ref.alias;
    // SQLite names the columns of a CTE, not those of a derived table.
    if (!ref.columns.empty() && entry.table) sql = "(WITH " + QuoteName(ref.alias) + ColumnNamesSql(*entry.table) +
                                                   " AS " + sql + " SELECT * FROM " + QuoteName(ref.alias) + ")";
  } else {
    if (CteRefSql(ref, &sql)) return sql;
    if (!ref.name.database.empty() && !IdentifiersEqual(ref.name.database, session_.CurrentDatabase()) &&
        !InTempDatabase(ref.name)) {
      Fail(208, "Invalid object name '" + ref.name.database + "." +
                    (ref.name.schema.empty() ? "dbo" : ref.name.schema) + "." + ref.name.name + "'.",
           ref.pos);
    }
    std::string rows_table;
    if (const CatalogTable* rows = TriggerTable(ref.name, &rows_table)) {
      entry.table = rows;
      entry.alias = ref.alias.empty() ? ref.name.name : ref.alias;
      scopes_.back().push_back(entry);
      return rows_table + " AS " + QuoteName(entry.alias);
    }
    sql = QuoteName(ref.name.name);
    entry.table = FindTable(ref.name);
    if (entry.table) sql = QuoteName(entry.table->name);
    entry.alias = ref.alias.empty() ? ref.name.name : ref.alias;
    // INFORMATION_SCHEMA.TABLES is known to SQLite by another name, and
    // SQLite matches names without regard to the case of ASCII letters only.
    if (ref.alias.empty() && entry.table && entry.table->name != ref.name.name) {
      sql += " AS " + QuoteName(ref.name.name);
    }
  }
  if (!ref.alias.empty()) sql += " AS " + QuoteName(ref.alias);
  scopes_.back().push_back(entry);
  return sql;
}

std::string Translator::FromSql(const std::vector<ast::FromItem>& from) {
  std::string sql;
  for (size_t i = 0; i < from.size(); ++i) sql += (i ? ", " : "") + FromSql(from, i);
  return sql;
}

std::string Translator::FromSql(const std::vector<ast::FromItem>& from, size_t i) {
  return FromItemSql(from[i]);
}

std::string Translator::FromItemSql(const ast::FromItem& item) {
  std::string sql = TableRefSql(item.table);
  for (const ast::Join& join : item.joins) {
    switch (join.type) {
      case ast::JoinType::kInner: sql += " JOIN "; break;
      case ast::JoinType::kLeft: sql += " LEFT JOIN "; break;
      case ast::JoinType::kRight: sql += " RIGHT JOIN "; break;
      case ast::JoinType::kFull: sql += " FULL JOIN "; break;
      case ast::JoinType::kCross: sql += " CROSS JOIN "; break;
    }
    sql += TableRefSql(join.table);
    if (join.on) sql += " ON " + Expr(*join.on).sql;
  }
  return sql;
}

// The items of a select list; * and t.* are spelled out from the catalog so
// that every column can be described (and stored, for INSERT ... SELECT).
std::vector<SqlExpr> Translator::SelectItems(const ast::Select& select) {
  std::vector<SqlExpr> items;
  for (const ast::SelectItem& item : select.items) {
    if (!item.assign_to.empty()) {
      items.push_back(AssignedItem(item));
      continue;
    }
    if (!item.star) {
      SqlExpr e = Expr(*item.expr);
      e.alias = item.alias;
      items.push_back(std::move(e));
      continue;
    }
    bool matched = false;
    for (const ScopeTable& entry : scopes_.back()) {
      if (!item.star_qualifier.empty() &&
          !IdentifiersEqual(entry.alias, item.star_qualifier)) continue;
      matched = true;
      if (!entry.table) {
        // A table the catalog does not know: SQLite spells it out.
        SqlExpr star((item.star_qualifier.empty() ? "" : QuoteName(entry.alias) + ".") + "*");
        star.name = "*";
        items.push_back(star);
        continue;
      }
      for (const CatalogColumn& column : entry.table->columns) {
        SqlExpr e(QuoteName(entry.alias) + "." + QuoteName(column.name), column.type, column.length);
        e.is_column = true;
        e.name = column.name;
        if (column.type == SqlType::kDecimal) {
          // As a named column: a derived table's or view's sum keeps its scale.
          e.precision = column.precision;
          e.scale = column.scale;
        }
        items.push_back(std::move(e));
      }
    }
    if (!matched && !item.star_qualifier.empty()) {
      Fail(4104, "The multi-part identifier \"" + item.star_qualifier + "\" could not be bound.", item.pos);
    }
    if (!matched) Fail(263, "Must specify table to select from.", item.pos);
  }
  return items;
}

std::string Translator::SelectSql(const ast::Select& select, std::vector<ColumnDesc>* columns) {
  // A chain and its ORDER BY need the first SELECT's columns.
  std::vector<ColumnDesc> own_columns;
  if (!columns && (select.union_next || !select.order_by.empty())) columns = &own_columns;
  // Window functions are allowed again where the enclosing query allows them.
  const bool windows_allowed = windows_allowed_;
  std::vector<ScopeTable> from_scope;
  std::string sql = TermSql(select, columns, &from_scope);
  if (!select.union_next) {
    sql += OrderBySql(select, std::move(from_scope), columns) + LimitSql(select, true);
  } else {
    sql = SetOperationSql(select, std::move(sql), columns);
    sql += OrderBySql(select, std::move(from_scope), columns) + LimitSql(select, false);
  }
  windows_allowed_ = windows_allowed;
  return sql;
}

std::string Translator::SelectCoreSql(const ast::Select& select, std::vector<ColumnDesc>* columns,
                                      std::vector<ScopeTable>* from_scope) {
  if (select.top_percent) Fail(102, "TOP ... PERCENT is not supported.", select.pos);
  if (!select.into.name.empty() && !into_allowed_) Fail(102, "SELECT ... INTO is not supported here.", select.pos);
  scopes_.emplace_back();
  std::vector<const CatalogColumn*> targets;
  targets.swap(store_targets_);
  bool single = single_value_;
  single_value_ = false;
  const bool collate = collate_items_;
  collate_items_ = false;
  windows_allowed_ = false;
  std::string from = FromSql(select.from);
  windows_allowed_ = true;
  std::vector<SqlExpr> items = SelectItems(select);
  windows_allowed_ = false;
  // A subquery used as a value must find one row at most (error 512).
  if (single && items.size() == 1) items[0].sql = "tsql_single(" + items[0].sql + ")";
  if (!targets.empty() && targets.size() != items.size()) {
    Fail(120, "The select list for the INSERT statement contains " +
                  std::string(items.size() < targets.size() ? "fewer" : "more") +
                  " items than the insert list. The number of SELECT values must match the number of INSERT columns.",
         select.pos);
  }
  std::string sql = select.distinct ? "SELECT DISTINCT " : "SELECT ";
  bool describable = true;
  for (size_t i = 0; i < items.size(); ++i) {
    const SqlExpr& e = items[i];
    if (i) sql += ", ";
    if (!targets.empty()) {
      sql += StoreValue(e, targets[i]);
    } else {
      // The first SELECT of a chain gives the collation its operators
      // compare by; a derived table's text carries it out.
      bool collated = !e.is_column && ((select.union_next && IsTextType(e.type)) ||
                                       (collate && (IsTextType(e.type) || e.type == SqlType::kUnknown)));
      sql += collated ? "(" + e.sql + ") COLLATE " + kCollation : e.sql;
      if (!e.alias.empty()) sql += " AS " + QuoteName(e.alias);
    }
    if (e.name == "*") describable = false;
    if (columns && describable) columns->push_back(DescribeExpr(e, e.alias));
  }
  if (columns && !describable) columns->clear();
  if (auto extra = extra_items_.find(&select); extra != extra_items_.end()) sql += ", " + extra->second;
  if (!from.empty()) sql += " FROM " + from;
  if (select.where) sql += " WHERE " + Expr(*select.where).sql;
  if (!select.group_by.empty()) {
    sql += " GROUP BY ";
    for (size_t i = 0; i < select.group_by.size(); ++i) sql += (i ? ", " : "") + Expr(*select.group_by[i]).sql;
  }
  if (select.having) sql += " HAVING " + Expr(*select.having).sql;
  *from_scope = std::move(scopes_.back());
  scopes_.pop_back();
  return sql;
}

std::string Translator::OrderBySql(const ast::Select& select, std::vector<ScopeTable> from_scope,
                                   const std::vector<ColumnDesc>* columns) {
  std::string sql;
  if (!select.order_by.empty()) {
    // ORDER BY sees the tables of the (first) FROM again.
    scopes_.push_back(std::move(from_scope));
    windows_allowed_ = true;
    sql += " ORDER BY ";
    for (size_t i = 0; i < select.order_by.size(); ++i) {
      const ast::OrderItem& item = select.order_by[i];
      if (std::string ordinal = ResultColumnOrdinal(select, *item.expr, columns); !ordinal.empty()) {
        sql += (i ? ", " : "") + ordinal + (item.descending ? " DESC" : "");
        continue;
      }
      SqlExpr e = Expr(*item.expr);
      bool position = item.expr->kind == ast::ExprKind::kLiteral;
      sql += (i ? ", " : "") + e.sql;
      if (!e.is_column && !position) sql += std::string(" COLLATE ") + kCollation;
      if (item.descending) sql += " DESC";
    }
    windows_allowed_ = false;
    scopes_.pop_back();
  }
  return sql;
}

void Translator::Select(const ast::Select& select) {
  out_->columns.clear();
  if (!select.with && scopes_.empty() && RowWiseAssignment(select)) return;
  std::string with = select.with ? WithSql(*select.with) : "";
  out_->sqlite_sql = with + SelectSql(select, &out_->columns);
  out_->writes = false;
  out_->counts_rows = false;
}

}  // namespace sqlsim

namespace sqlsim {
namespace {

bool ContainsAggregate(const ast::Expr& e, int depth = 0) {
  if (depth > 200) return true;
  if (e.kind == ast::ExprKind::kFunction) {
    std::string name = e.function;
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (name == "count" || name == "max" || name == "min" || name == "sum" || name == "avg") return true;
  }
  for (const ast::ExprPtr& arg : e.args) {
    if (arg && ContainsAggregate(*arg, depth + 1)) return true;
  }
  return false;
}

}  // namespace

bool Translator::NeedsSingleValueCheck(const ast::Select& select) {
  if (select.top || select.distinct || !select.group_by.empty() || select.having || select.union_next ||
      select.items.size() != 1 || select.items[0].star || !select.items[0].expr) {
    return false;
  }
  return !ContainsAggregate(*select.items[0].expr);
}

}  // namespace sqlsim
