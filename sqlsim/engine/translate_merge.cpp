// MERGE's plan: one query, read before anything changes, that pairs every
// source row with the target rows it matches (and, with WHEN NOT MATCHED BY
// SOURCE, adds the target rows no source row matches), picks the clause
// that acts on each pair and computes the values that clause writes.
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/merge.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/view.h"

namespace sqlsim {

using When = ast::MergeClause::When;
using Action = ast::MergeClause::Action;

size_t MergeValueCount(const ast::MergeClause& clause) {
  if (clause.action == Action::kUpdate) return clause.set.size();
  size_t written = 0;
  // DEFAULT is left to the column's default.
  for (const ast::ExprPtr& value : clause.values) written += value ? 1 : 0;
  if (clause.action == Action::kInsert) return written;
  return 0;
}

size_t MergeValueColumn(const ast::Merge& merge, size_t index, size_t columns) {
  size_t column = kMergeOldRow + columns;
  for (size_t i = 0; i < index; ++i) column += MergeValueCount(merge.clauses[i]);
  return column;
}

namespace {

bool HasClause(const ast::Merge& merge, When when) {
  for (const ast::MergeClause& clause : merge.clauses) {
    if (clause.when == when) return true;
  }
  return false;
}

// 5334: a NOT MATCHED clause sees only the side that has a row.
void RefuseColumnsOf(const ast::Expr* e, const std::string& qualifier, const char* allowed, const char* clause) {
  if (!e || qualifier.empty()) return;
  if (e->kind == ast::ExprKind::kColumn && e->parts.size() >= 2 &&
      IdentifiersEqual(e->parts[e->parts.size() - 2], qualifier)) {
    Fail(5334, "The identifier '" + e->parts[e->parts.size() - 2] + "." + e->parts.back() +
                   "' cannot be bound. Only " + allowed + " columns are allowed in the '" + clause +
                   "' clause of a MERGE statement.",
         e->pos);
  }
  for (const ast::ExprPtr& arg : e->args) RefuseColumnsOf(arg.get(), qualifier, allowed, clause);
}

const CatalogColumn* IdentityOf(const CatalogTable& table) {
  for (const CatalogColumn& column : table.columns) {
    if (column.identity) return &column;
  }
  return nullptr;
}

}  // namespace

class MergePlanBuilder {
 public:
  MergePlanBuilder(Translator& t, const ast::Merge& merge) : t_(t), merge_(merge) {}

  // Resolves the target; fails for what MERGE cannot write.
  const CatalogTable& Target() {
    const ast::ObjectName& name = merge_.target.name;
    ModifyTarget target = ResolveModifyTarget(t_.session_.catalog(), t_.FindTable(name), name);
    if (target.view) Fail(50000, "MERGE into a view is not offered.", name.pos);
    table_ = target.table;
    alias_ = merge_.target.alias.empty() ? name.name : merge_.target.alias;
    t_.out_->target_table = table_->name;
    return *table_;
  }

  // Source rows with the target rows they match (or none, for NOT MATCHED).
  std::string SourcePart() {
    t_.scopes_.emplace_back();
    // The FROM comes after the select list in the text: its markers too.
    const size_t markers = t_.out_->param_map.size();
    t_.FromItemSql(merge_.source);
    AddTarget();
    t_.out_->param_map.resize(markers);
    std::string items = Items(false);
    t_.scopes_.back().clear();
    std::string sql = "SELECT " + items + " FROM " + t_.FromItemSql(merge_.source);
    sql += HasClause(merge_, When::kNotMatchedByTarget) ? " LEFT JOIN " : " JOIN ";
    sql += AddTarget() + " ON " + t_.Expr(*merge_.on).sql;
    t_.scopes_.pop_back();
    return sql;
  }

  // Target rows that no source row matches.
  std::string TargetPart() {
    t_.scopes_.emplace_back();
    std::string target = AddTarget();
    std::string sql = "SELECT " + Items(true) + " FROM " + target + " WHERE NOT EXISTS (SELECT 1 FROM ";
    t_.scopes_.emplace_back();
    sql += t_.FromItemSql(merge_.source) + " WHERE " + t_.Expr(*merge_.on).sql + ")";
    t_.scopes_.pop_back();
    t_.scopes_.pop_back();
    return sql;
  }

  void CheckClauseColumns() const {
    const ast::TableRef& source = merge_.source.table;
    const std::string source_name = merge_.source.joins.empty() && !source.joined
                                        ? (source.alias.empty() ? source.name.name : source.alias)
                                        : "";
    for (const ast::MergeClause& c : merge_.clauses) {
      if (c.when == When::kMatched) continue;
      bool by_source = c.when == When::kNotMatchedBySource;
      const std::string& other = by_source ? source_name : alias_;
      const char* allowed = by_source ? "target" : "source";
      const char* clause = by_source ? "WHEN NOT MATCHED BY SOURCE" : "WHEN NOT MATCHED";
      RefuseColumnsOf(c.condition.get(), other, allowed, clause);
      for (const ast::Assignment& a : c.set) RefuseColumnsOf(a.value.get(), other, allowed, clause);
      for (const ast::ExprPtr& value : c.values) RefuseColumnsOf(value.get(), other, allowed, clause);
    }
  }

  // The columns an INSERT clause fills, checked against its values.
  std::vector<const CatalogColumn*> InsertTargets(const ast::MergeClause& c) const {
    std::vector<const CatalogColumn*> targets;
    const CatalogColumn* identity = IdentityOf(*table_);
    if (c.columns.empty()) {
      for (const CatalogColumn& column : table_->columns) {
        if (!column.identity) targets.push_back(&column);
      }
    } else {
      for (const std::string& name : c.columns) {
        const CatalogColumn* column = table_->FindColumn(name);
        if (!column) Fail(207, "Invalid column name '" + name + "'.", c.pos);
        targets.push_back(column);
      }
    }
    if (c.default_values) return targets;
    if (identity && c.columns.empty() && c.values.size() == targets.size() + 1) {
      Fail(8101, "An explicit value for the identity column in table '" + table_->name +
                     "' can only be specified when a column list is used and IDENTITY_INSERT is ON.",
           c.pos);
    }
    if (c.values.size() != targets.size()) {
      Fail(c.values.size() > targets.size() ? 110 : 109,
           std::string("There are ") + (c.values.size() > targets.size() ? "fewer" : "more") +
               " columns in the INSERT statement than values specified in the VALUES clause. The number of values "
               "in the VALUES clause must match the number of columns specified in the INSERT statement.",
           c.pos);
    }
    return targets;
  }

 private:
  std::string AddTarget() {
    t_.scopes_.back().push_back({alias_, table_});
    return QuoteName(table_->name) + " AS " + QuoteName(alias_);
  }

  std::string TargetColumn(const std::string& column) const { return QuoteName(alias_) + "." + QuoteName(column); }

  // The index of the clause that acts, among those of `whens`, in order.
  std::string ClauseChoice(When when) {
    std::string sql;
    for (size_t i = 0; i < merge_.clauses.size(); ++i) {
      const ast::MergeClause& clause = merge_.clauses[i];
      if (clause.when != when) continue;
      sql += " WHEN " + (clause.condition ? t_.Expr(*clause.condition).sql : std::string("1")) + " THEN " +
             std::to_string(i);
    }
    return sql.empty() ? "NULL" : "CASE" + sql + " END";
  }

  std::string Items(bool by_source) {
    std::string sql = TargetColumn("rowid") + ", ";
    const size_t clause_begin = t_.out_->param_map.size();
    std::string clause;
    if (by_source) {
      clause = ClauseChoice(When::kNotMatchedBySource);
    } else {
      // In the order they stand in the text, for their markers.
      std::string inserted = ClauseChoice(When::kNotMatchedByTarget);
      std::string matched = ClauseChoice(When::kMatched);
      clause = "CASE WHEN " + TargetColumn("rowid") + " IS NULL THEN " + inserted + " ELSE " + matched + " END";
    }
    const size_t clause_end = t_.out_->param_map.size();
    sql += clause;
    for (const CatalogColumn& column : table_->columns) sql += ", " + TargetColumn(column.name);
    for (size_t i = 0; i < merge_.clauses.size(); ++i) {
      const ast::MergeClause& c = merge_.clauses[i];
      bool here = (c.when == When::kNotMatchedBySource) == by_source;
      std::vector<std::string> values = here ? Values(c, clause, clause_begin, clause_end) : std::vector<std::string>();
      for (size_t v = 0; v < MergeValueCount(c); ++v) sql += ", " + (here ? values[v] : std::string("NULL"));
    }
    return sql;
  }

  // A value is computed only for the pairs its clause acts on: the
  // clause's choice stands again before each, with its markers.
  std::vector<std::string> Values(const ast::MergeClause& c, const std::string& clause, size_t begin, size_t end) {
    std::vector<std::string> values;
    size_t index = static_cast<size_t>(&c - merge_.clauses.data());
    if (c.action == Action::kUpdate) {
      for (const ast::Assignment& a : c.set) {
        const CatalogColumn* column = SetColumn(a, c.pos);
        values.push_back(Guarded(clause, begin, end, index, [&] { return t_.StoreValue(t_.Expr(*a.value), column); }));
      }
    } else if (c.action == Action::kInsert) {
      std::vector<const CatalogColumn*> targets = InsertTargets(c);
      for (size_t v = 0; v < c.values.size(); ++v) {
        if (!c.values[v]) continue;
        values.push_back(Guarded(clause, begin, end, index, [&] { return t_.StoreValue(t_.Expr(*c.values[v]), targets[v]); }));
      }
    }
    return values;
  }

  template <typename Value>
  std::string Guarded(const std::string& clause, size_t begin, size_t end, size_t index, Value value) {
    auto& params = t_.out_->param_map;
    for (size_t i = begin; i < end; ++i) {
      ParamSource copy = params[i];
      params.push_back(std::move(copy));
    }
    std::string sql = "CASE WHEN (" + clause + ") = " + std::to_string(index) + " THEN ";
    return sql + value() + " END";
  }

  const CatalogColumn* SetColumn(const ast::Assignment& a, const ast::SourcePos& pos) const {
    const std::string& name = a.column.back();
    if (a.variable) Fail(137, "Must declare the scalar variable \"" + name + "\".", pos);
    const CatalogColumn* column = table_->FindColumn(name);
    if (!column) Fail(207, "Invalid column name '" + name + "'.", pos);
    if (column->identity) Fail(8102, "Cannot update identity column '" + column->name + "'.", pos);
    if (!a.value) Fail(102, "SET ... = DEFAULT is not supported.", pos);
    return column;
  }

  Translator& t_;
  const ast::Merge& merge_;
  const CatalogTable* table_ = nullptr;
  std::string alias_;
};

void Translator::MergePlan(const ast::Merge& merge) {
  MergePlanBuilder builder(*this, merge);
  const CatalogTable& table = builder.Target();
  builder.CheckClauseColumns();
  std::string sql = merge.with ? WithSql(*merge.with) : "";
  bool by_source = HasClause(merge, When::kNotMatchedBySource);
  bool by_pairs = HasClause(merge, When::kMatched) || HasClause(merge, When::kNotMatchedByTarget);
  if (by_pairs) sql += builder.SourcePart();
  if (by_pairs && by_source) sql += " UNION ALL ";
  if (by_source) sql += builder.TargetPart();
  const CatalogColumn* identity = IdentityOf(table);
  for (const ast::MergeClause& clause : merge.clauses) {
    if (clause.action != Action::kInsert) continue;
    out_->identity_target = identity != nullptr;
    out_->column_list = !clause.columns.empty();
    for (const CatalogColumn* column : builder.InsertTargets(clause)) {
      out_->identity_explicit = out_->identity_explicit || column->identity;
    }
  }
  out_->sqlite_sql = sql;
}

namespace {

std::string ReturnedColumns(const CatalogTable& table) {
  std::string sql = " RETURNING ";
  for (size_t i = 0; i < table.columns.size(); ++i) sql += (i ? ", " : "") + QuoteName(table.columns[i].name);
  return sql;
}

// tsql_next_identity for identities SQLite's AUTOINCREMENT cannot number.
std::string NextIdentity(const CatalogTable& table, const CatalogColumn* identity) {
  if (!identity || (identity->identity_increment == 1 && identity->identity_seed >= 1)) return "";
  return "tsql_next_identity(" + QuoteText(table.name) + ", " + std::to_string(identity->identity_seed) + ", " +
         std::to_string(identity->identity_increment) + ")";
}

}  // namespace

void Translator::MergeRowChange(const ast::Merge& merge, size_t index) {
  MergePlanBuilder builder(*this, merge);
  const CatalogTable& table = builder.Target();
  const ast::MergeClause& clause = merge.clauses.at(index);
  const std::string name = QuoteName(table.name);
  std::string sql;
  if (clause.action == Action::kDelete) {
    sql = "DELETE FROM " + name + " WHERE rowid = ?";
  } else if (clause.action == Action::kUpdate) {
    sql = "UPDATE " + name + " SET ";
    for (size_t i = 0; i < clause.set.size(); ++i) {
      const CatalogColumn* column = table.FindColumn(clause.set[i].column.back());
      sql += (i ? ", " : "") + QuoteName(column ? column->name : clause.set[i].column.back()) + " = ?";
    }
    sql += " WHERE rowid = ?";
  } else {
    std::vector<const CatalogColumn*> targets = builder.InsertTargets(clause);
    const CatalogColumn* identity = IdentityOf(table);
    bool explicit_identity = false;
    for (const CatalogColumn* column : targets) explicit_identity = explicit_identity || column->identity;
    std::string next = explicit_identity ? "" : NextIdentity(table, identity);
    std::string columns;
    std::string values;
    for (size_t i = 0; i < clause.values.size(); ++i) {
      if (!clause.values[i]) continue;
      columns += (columns.empty() ? "" : ", ") + QuoteName(targets[i]->name);
      values += values.empty() ? "?" : ", ?";
    }
    if (!next.empty()) {
      columns += (columns.empty() ? "" : ", ") + QuoteName(identity->name);
      values += (values.empty() ? "" : ", ") + next;
    }
    sql = "INSERT INTO " + name + (columns.empty() ? " DEFAULT VALUES" : " (" + columns + ") VALUES (" + values + ")");
  }
  out_->sqlite_sql = sql + ReturnedColumns(table);
  out_->writes = true;
}

}  // namespace sqlsim
