// Common table expressions and derived tables: SQLite's own WITH and
// subqueries, with their columns known to the binder as a table's are, so
// that * spells them out and each is described with the server's type.
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

// The server's default MAXRECURSION.
constexpr int32_t kDefaultMaxRecursion = 100;

bool ReferencesName(const ast::Select& select, const std::string& name, int depth);

bool ExprReferences(const ast::Expr* e, const std::string& name, int depth) {
  if (e == nullptr || depth > 2000) return false;
  if (e->subquery && ReferencesName(*e->subquery, name, depth + 1)) return true;
  for (const ast::ExprPtr& arg : e->args) {
    if (ExprReferences(arg.get(), name, depth + 1)) return true;
  }
  return false;
}

bool TableReferences(const ast::TableRef& ref, const std::string& name, int depth) {
  if (ref.derived) return ReferencesName(*ref.derived, name, depth + 1);
  return ref.name.schema.empty() && ref.name.database.empty() && IdentifiersEqual(ref.name.name, name);
}

// Whether any part of the query chain reads a table called `name`.
bool ReferencesName(const ast::Select& select, const std::string& name, int depth) {
  for (const ast::Select* s = &select; s != nullptr; s = s->union_next.get()) {
    for (const ast::FromItem& item : s->from) {
      if (TableReferences(item.table, name, depth)) return true;
      for (const ast::Join& join : item.joins) {
        if (TableReferences(join.table, name, depth) || ExprReferences(join.on.get(), name, depth)) return true;
      }
    }
    for (const ast::SelectItem& item : s->items) {
      if (ExprReferences(item.expr.get(), name, depth)) return true;
    }
    if (ExprReferences(s->where.get(), name, depth) || ExprReferences(s->having.get(), name, depth)) return true;
  }
  return false;
}

}  // namespace

std::string Translator::WithSql(const ast::WithClause& with) {
  const int32_t max_recursion = with.max_recursion < 0 ? kDefaultMaxRecursion : with.max_recursion;
  std::string sql;
  bool recursive = false;
  for (size_t i = 0; i < with.ctes.size(); ++i) {
    const ast::CommonTableExpr& cte = with.ctes[i];
    for (size_t j = 0; j < i; ++j) {
      if (IdentifiersEqual(with.ctes[j].name, cte.name)) {
        Fail(239, "Duplicate common table expression name '" + cte.name + "' was specified.", cte.pos);
      }
    }
    if (!cte.query->order_by.empty() && !cte.query->top && !cte.query->offset) {
      Fail(1033,
           "The ORDER BY clause is invalid in views, inline functions, derived tables, subqueries, and common "
           "table expressions, unless TOP, OFFSET or FOR XML is also specified.",
           cte.pos);
    }
    const bool self = ReferencesName(*cte.query, cte.name, 0);
    recursive = recursive || self;
    sql += (i ? ", " : "") + (self ? RecursiveCteSql(cte, max_recursion) : CteSql(cte));
  }
  return std::string(recursive ? "WITH RECURSIVE " : "WITH ") + sql + " ";
}

std::string Translator::CteSql(const ast::CommonTableExpr& cte) {
  const CatalogTable* shape = nullptr;
  std::string body = DerivedSql(*cte.query, cte.name, cte.columns, &shape);
  ctes_.push_back({cte.name, shape});
  std::string sql = QuoteName(cte.name);
  if (shape) {
    for (size_t i = 0; i < shape->columns.size(); ++i) {
      sql += (i ? ", " : "(") + QuoteName(shape->columns[i].name);
    }
    if (rowid_ctes_.count(&cte)) sql += ", \"sqlsim_rowid\"";
    sql += ")";
  }
  return sql + " AS (" + body + ")";
}

bool Translator::CteRefSql(const ast::TableRef& ref, std::string* sql) {
  if (!ref.name.schema.empty() || !ref.name.database.empty()) return false;
  for (auto cte = ctes_.rbegin(); cte != ctes_.rend(); ++cte) {
    if (!IdentifiersEqual(cte->name, ref.name.name)) continue;
    ScopeTable entry;
    entry.table = cte->shape;
    entry.alias = ref.alias.empty() ? cte->name : ref.alias;
    *sql = QuoteName(cte->name) + (ref.alias.empty() ? "" : " AS " + QuoteName(ref.alias));
    scopes_.back().push_back(entry);
    return true;
  }
  return false;
}

std::string Translator::DerivedSql(const ast::Select& select, const std::string& name,
                                   const std::vector<std::string>& names, const CatalogTable** shape) {
  std::vector<const CatalogColumn*> saved;
  saved.swap(store_targets_);
  std::vector<ColumnDesc> columns;
  collate_items_ = true;
  std::string sql = SelectSql(select, &columns);
  saved.swap(store_targets_);
  *shape = ShapeOf(name, columns, names, select.pos);
  return sql;
}

// The columns of a derived table or CTE as a table of the catalog; null
// when neither its query nor a column list tells them.
const CatalogTable* Translator::ShapeOf(const std::string& name, const std::vector<ColumnDesc>& columns,
                                        const std::vector<std::string>& names, const ast::SourcePos& pos) {
  if (columns.empty() && names.empty()) return nullptr;
  if (!columns.empty() && !names.empty() && columns.size() != names.size()) {
    Fail(columns.size() > names.size() ? 8158 : 8159,
         "'" + name + "' has " + (columns.size() > names.size() ? "more" : "fewer") +
             " columns than were specified in the column list.",
         pos);
  }
  auto table = std::make_unique<CatalogTable>();
  table->name = name;
  const size_t count = names.empty() ? columns.size() : names.size();
  for (size_t i = 0; i < count; ++i) {
    CatalogColumn column;
    column.name = names.empty() ? columns[i].name : names[i];
    if (column.name.empty()) {
      Fail(8155, "No column name was specified for column " + std::to_string(i + 1) + " of '" + name + "'.", pos);
    }
    if (table->FindColumn(column.name)) {
      Fail(8156, "The column '" + column.name + "' was specified multiple times for '" + name + "'.", pos);
    }
    if (!columns.empty()) {
      column.type = columns[i].type;
      column.length = columns[i].length;
      column.precision = columns[i].precision;
      column.scale = columns[i].scale;
    }
    column.colid = static_cast<int32_t>(i + 1);
    table->columns.push_back(std::move(column));
  }
  shapes_.push_back(std::move(table));
  return shapes_.back().get();
}

}  // namespace sqlsim
