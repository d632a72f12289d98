// INSERT, UPDATE, DELETE: every value written into a column goes through
// tsql_store, which pads char columns, refuses values that do not fit and
// converts to the column's type as the server does.
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/view.h"

namespace sqlsim {
namespace {

// An expression of UPDATE or DELETE through a view that renames columns
// is read with the base columns' names.
class TargetExprs {
 public:
  TargetExprs(Translator& translator, const ModifyTarget& target, std::string alias)
      : translator_(translator), target_(target), alias_(std::move(alias)),
        renames_(target.Renames()) {}
  SqlExpr operator()(const ast::Expr& e) {
    if (!renames_) return translator_.Expr(e);
    ast::ExprPtr renamed = RenameViewColumns(e, target_, alias_);
    return translator_.Expr(*renamed);
  }

 private:
  Translator& translator_;
  const ModifyTarget& target_;
  std::string alias_;
  bool renames_;
};

// Through a view only the rows the view shows are changed.
std::string WithViewFilter(const ModifyTarget& target, const std::string& where) {
  if (!target.view || target.view->view_filter.empty()) return where;
  if (where.empty()) return target.view->view_filter;
  return target.view->view_filter + " AND (" + where + ")";
}

const CatalogColumn* IdentityColumnOf(const CatalogTable& table) {
  for (const CatalogColumn& column : table.columns) {
    if (column.identity) return &column;
  }
  return nullptr;
}

// SQLite's AUTOINCREMENT numbers an identity of increment 1 from a seed of
// 1 or more; any other gets its values from tsql_next_identity.
std::string NextIdentitySql(const CatalogTable& table, const CatalogColumn* identity) {
  if (!identity || (identity->identity_increment == 1 && identity->identity_seed >= 1)) return "";
  return "tsql_next_identity(" + QuoteText(table.name) + ", " + std::to_string(identity->identity_seed) + ", " +
         std::to_string(identity->identity_increment) + ")";
}

}  // namespace

std::string Translator::StoreValue(const SqlExpr& value, const CatalogColumn* column) {
  if (!column) return value.sql;
  int32_t length = column->type == SqlType::kDecimal ? column->scale : column->length;
  std::string stored = "tsql_store(" + value.sql + ", " + QuoteText(std::string(CanonicalTypeName(value.type))) +
                       ", " + QuoteText(std::string(CanonicalTypeName(column->type))) + ", " +
                       std::to_string(length) + ", " + QuoteText(column->name) + ")";
  // SQLite would number a NULL row id; the server refuses it.
  if (column->identity) {
    stored = "tsql_explicit_identity(" + stored + ", " + QuoteText(column->name) + ", " +
             QuoteText(out_->target_table) + ")";
  }
  return stored;
}

void Translator::Insert(const ast::Insert& insert) {
  if (insert.execute) Fail(102, "INSERT ... EXECUTE is not supported.", insert.table.pos);
  ModifyTarget target = ResolveModifyTarget(session_.catalog(), FindTable(insert.table), insert.table);
  const CatalogTable* table = target.table;
  out_->target_table = table->name;
  const CatalogColumn* identity = IdentityColumnOf(*table);
  out_->identity_target = identity != nullptr;
  out_->column_list = !insert.columns.empty();
  std::vector<const CatalogColumn*> targets;
  if (insert.columns.empty()) {
    const CatalogTable* shown = target.view ? target.view : table;
    for (const CatalogColumn& column : shown->columns) {
      const CatalogColumn* base = target.Column(column.name, insert.table.pos);
      if (!base->identity) targets.push_back(base);
    }
  } else {
    for (const std::string& name : insert.columns) {
      targets.push_back(target.Column(name, insert.table.pos));
      out_->identity_explicit = out_->identity_explicit || targets.back()->identity;
    }
  }
  std::string next_identity = out_->identity_explicit ? "" : NextIdentitySql(*table, identity);
  std::string sql = "INSERT INTO " + QuoteName(table->name);
  if (insert.default_values) {
    out_->sqlite_sql = next_identity.empty()
                           ? sql + " DEFAULT VALUES"
                           : sql + " (" + QuoteName(identity->name) + ") VALUES (" + next_identity + ")";
  } else {
    sql += " (";
    for (size_t i = 0; i < targets.size(); ++i) sql += (i ? ", " : "") + QuoteName(targets[i]->name);
    if (!next_identity.empty()) sql += (targets.empty() ? "" : ", ") + QuoteName(identity->name);
    sql += ") ";
    if (insert.select) {
      store_targets_ = targets;
      scopes_.emplace_back();
      std::string select = SelectSql(*insert.select, nullptr);
      scopes_.pop_back();
      store_targets_.clear();
      sql += next_identity.empty() ? select : "SELECT *, " + next_identity + " FROM (" + select + ")";
    } else {
      sql += "VALUES ";
      for (size_t row = 0; row < insert.values.size(); ++row) {
        const auto& values = insert.values[row];
        if (identity && insert.columns.empty() && values.size() == targets.size() + 1) {
          Fail(8101, "An explicit value for the identity column in table '" + table->name +
                         "' can only be specified when a column list is used and IDENTITY_INSERT is ON.",
               insert.table.pos);
        }
        if (values.size() != targets.size()) {
          Fail(values.size() > targets.size() ? 110 : 109,
               std::string("There are ") + (values.size() > targets.size() ? "fewer" : "more") +
                   " columns in the INSERT statement than values specified in the VALUES clause. "
                   "The number of values in the VALUES clause must match the number of columns "
                   "specified in the INSERT statement.",
               insert.table.pos);
        }
        sql += row ? ", (" : "(";
        for (size_t i = 0; i < values.size(); ++i) {
          // The parser keeps DEFAULT as no expression; SQLite has no such value.
          if (!values[i]) Fail(102, "DEFAULT in the VALUES of INSERT is not supported.", insert.table.pos);
          sql += (i ? ", " : "") + StoreValue(Expr(*values[i]), targets[i]);
        }
        if (!next_identity.empty()) sql += (values.empty() ? "" : ", ") + next_identity;
        sql += ")";
      }
    }
    out_->sqlite_sql = sql;
  }
  out_->writes = true;
  out_->counts_rows = true;
}

namespace {

// UPDATE a SET ... FROM T a ...: the target named by an alias of the FROM
// list, whose item then is the target rather than a table joined to it.
size_t TargetInFrom(const ast::Update& update) {
  if (!update.table.name.schema.empty()) return std::string::npos;
  for (size_t i = 0; i < update.from.size(); ++i) {
    const ast::TableRef& ref = update.from[i].table;
    if (ref.derived || ref.joined || !update.from[i].joins.empty()) continue;
    const std::string& name = ref.alias.empty() ? ref.name.name : ref.alias;
    if (IdentifiersEqual(name, update.table.name.name)) return i;
  }
  return std::string::npos;
}

}  // namespace

// UPDATE t SET ... FROM others WHERE ...: SQLite joins the others to the
// target as the server does, as long as the target is not listed again.
std::string Translator::UpdateFromSql(const ast::Update& update, const CatalogTable& table, const std::string& alias,
                                      size_t skip) {
  std::string sql;
  for (size_t i = 0; i < update.from.size(); ++i) {
    if (i == skip) continue;
    const ast::FromItem& item = update.from[i];
    const std::string& name = item.table.alias.empty() ? item.table.name.name : item.table.alias;
    if (IdentifiersEqual(item.table.name.name, table.name) || IdentifiersEqual(name, alias)) {
      Fail(102, "UPDATE ... FROM naming the target table again is not supported.", item.table.pos);
    }
    sql += (sql.empty() ? " FROM " : ", ") + FromSql(update.from, i);
  }
  return sql;
}

void Translator::Update(const ast::Update& update) {
  size_t in_from = TargetInFrom(update);
  const ast::TableRef& ref = in_from == std::string::npos ? update.table : update.from[in_from].table;
  ModifyTarget target = ResolveModifyTarget(session_.catalog(), FindTable(ref.name), ref.name);
  const CatalogTable* table = target.table;
  out_->target_table = table->name;
  scopes_.emplace_back();
  const CatalogTable* named = target.view ? target.view : table;
  bool aliased = !ref.alias.empty() || target.view;
  std::string alias = ref.alias.empty() ? named->name : ref.alias;
  scopes_.back().push_back({alias, table});
  TargetExprs expr(*this, target, alias);
  std::string from = UpdateFromSql(update, *table, alias, in_from);
  std::string sql = "UPDATE " + QuoteName(table->name);
  if (aliased) sql += " AS " + QuoteName(alias);
  sql += " SET ";
  for (size_t i = 0; i < update.set.size(); ++i) {
    const ast::Assignment& a = update.set[i];
    const std::string& name = a.column.back();
    if (a.variable) {
      Fail(137, "Must declare the scalar variable \"" + name + "\".", update.table.pos);
    }
    const CatalogColumn* column = target.Column(name, update.table.pos);
    if (column->identity) Fail(8102, "Cannot update identity column '" + column->name + "'.", update.table.pos);
    if (!a.value) Fail(102, "SET ... = DEFAULT is not supported.", update.table.pos);
    sql += (i ? ", " : "") + QuoteName(column->name) + " = " + StoreValue(expr(*a.value), column);
  }
  sql += from;
  std::string where = WithViewFilter(target, update.where ? expr(*update.where).sql : "");
  if (!update.current_of.empty()) where = CurrentOf(update.current_of);
  if (update.top) {
    std::string inner = "SELECT rowid FROM " + QuoteName(table->name);
    if (aliased) inner += " AS " + QuoteName(alias);
    if (!where.empty()) inner += " WHERE " + where;
    where = "rowid IN (" + inner + " LIMIT " + Expr(*update.top).sql + ")";
  }
  if (!where.empty()) sql += " WHERE " + where;
  scopes_.pop_back();
  out_->sqlite_sql = sql;
  out_->writes = true;
  out_->counts_rows = true;
}

void Translator::Delete(const ast::Delete& del) {
  if (!del.from.empty()) Fail(102, "DELETE ... FROM with a join is not supported.", del.table.pos);
  ModifyTarget target = ResolveModifyTarget(session_.catalog(), FindTable(del.table.name),
                                            del.table.name);
  const CatalogTable* table = target.table;
  out_->target_table = table->name;
  scopes_.emplace_back();
  const CatalogTable* named = target.view ? target.view : table;
  bool aliased = !del.table.alias.empty() || target.view;
  std::string alias = del.table.alias.empty() ? named->name : del.table.alias;
  scopes_.back().push_back({alias, table});
  TargetExprs expr(*this, target, alias);
  std::string sql = "DELETE FROM " + QuoteName(table->name);
  if (aliased) sql += " AS " + QuoteName(alias);
  std::string where = WithViewFilter(target, del.where ? expr(*del.where).sql : "");
  if (!del.current_of.empty()) where = CurrentOf(del.current_of);
  if (del.top) {
    std::string inner = "SELECT rowid FROM " + QuoteName(table->name);
    if (aliased) inner += " AS " + QuoteName(alias);
    where = "rowid IN (" + inner +
            (where.empty() ? "" : " WHERE " + where) + " LIMIT " + Expr(*del.top).sql + ")";
  }
  if (!where.empty()) sql += " WHERE " + where;
  scopes_.pop_back();
  out_->sqlite_sql = sql;
  out_->writes = true;
  out_->counts_rows = true;
}

}  // namespace sqlsim
