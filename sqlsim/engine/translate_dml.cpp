// INSERT, UPDATE, DELETE: every value written into a column goes through
// tsql_store, which pads char columns, refuses values that do not fit and
// converts to the column's type as the server does.
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

const CatalogColumn* RequireColumn(const CatalogTable& table, const std::string& name,
                                   const ast::SourcePos& pos) {
  const CatalogColumn* column = table.FindColumn(name);
  if (!column) Fail(207, "Invalid column name '" + name + "'.", pos);
  return column;
}

void RequireTable(const CatalogTable* table, const ast::ObjectName& name) {
  if (!table) Fail(208, "Invalid object name '" + name.name + "'.", name.pos);
}

}  // namespace

std::string Translator::StoreValue(const SqlExpr& value, const CatalogColumn* column) {
  if (!column) return value.sql;
  int32_t length = column->type == SqlType::kDecimal ? column->scale : column->length;
  return "tsql_store(" + value.sql + ", " + QuoteText(std::string(CanonicalTypeName(value.type))) +
         ", " + QuoteText(std::string(CanonicalTypeName(column->type))) + ", " +
         std::to_string(length) + ", " + QuoteText(column->name) + ")";
}

void Translator::Insert(const ast::Insert& insert) {
  if (insert.execute) Fail(102, "INSERT ... EXECUTE is not supported.", insert.table.pos);
  const CatalogTable* table = FindTable(insert.table);
  RequireTable(table, insert.table);
  std::vector<const CatalogColumn*> targets;
  if (insert.columns.empty()) {
    for (const CatalogColumn& column : table->columns) targets.push_back(&column);
  } else {
    for (const std::string& name : insert.columns) {
      targets.push_back(RequireColumn(*table, name, insert.table.pos));
    }
  }
  std::string sql = "INSERT INTO " + QuoteName(table->name);
  if (insert.default_values) {
    out_->sqlite_sql = sql + " DEFAULT VALUES";
  } else {
    sql += " (";
    for (size_t i = 0; i < targets.size(); ++i) sql += (i ? ", " : "") + QuoteName(targets[i]->name);
    sql += ") ";
    if (insert.select) {
      store_targets_ = targets;
      scopes_.emplace_back();
      sql += SelectSql(*insert.select, nullptr);
      scopes_.pop_back();
      store_targets_.clear();
    } else {
      sql += "VALUES ";
      for (size_t row = 0; row < insert.values.size(); ++row) {
        const auto& values = insert.values[row];
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
          sql += (i ? ", " : "") + StoreValue(Expr(*values[i]), targets[i]);
        }
        sql += ")";
      }
    }
    out_->sqlite_sql = sql;
  }
  out_->writes = true;
  out_->counts_rows = true;
}

void Translator::Update(const ast::Update& update) {
  if (!update.from.empty()) Fail(102, "UPDATE ... FROM is not supported.", update.table.pos);
  const CatalogTable* table = FindTable(update.table.name);
  RequireTable(table, update.table.name);
  scopes_.emplace_back();
  std::string alias = update.table.alias.empty() ? table->name : update.table.alias;
  scopes_.back().push_back({alias, table});
  std::string sql = "UPDATE " + QuoteName(table->name);
  if (!update.table.alias.empty()) sql += " AS " + QuoteName(update.table.alias);
  sql += " SET ";
  for (size_t i = 0; i < update.set.size(); ++i) {
    const ast::Assignment& a = update.set[i];
    const std::string& name = a.column.back();
    if (!name.empty() && name[0] == '@') {
      Fail(137, "Must declare the scalar variable \"" + name + "\".", update.table.pos);
    }
    const CatalogColumn* column = RequireColumn(*table, name, update.table.pos);
    if (!a.value) Fail(102, "SET ... = DEFAULT is not supported.", update.table.pos);
    sql += (i ? ", " : "") + QuoteName(column->name) + " = " + StoreValue(Expr(*a.value), column);
  }
  std::string where = update.where ? Expr(*update.where).sql : "";
  if (!update.current_of.empty()) where = CurrentOf(update.current_of);
  if (update.top) {
    std::string inner = "SELECT rowid FROM " + QuoteName(table->name);
    if (!update.table.alias.empty()) inner += " AS " + QuoteName(update.table.alias);
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
  const CatalogTable* table = FindTable(del.table.name);
  RequireTable(table, del.table.name);
  scopes_.emplace_back();
  std::string alias = del.table.alias.empty() ? table->name : del.table.alias;
  scopes_.back().push_back({alias, table});
  std::string sql = "DELETE FROM " + QuoteName(table->name);
  if (!del.table.alias.empty()) sql += " AS " + QuoteName(del.table.alias);
  std::string where = del.where ? Expr(*del.where).sql : "";
  if (!del.current_of.empty()) where = CurrentOf(del.current_of);
  if (del.top) {
    where = "rowid IN (SELECT rowid FROM " + QuoteName(table->name) +
            (where.empty() ? "" : " WHERE " + where) + " LIMIT " + Expr(*del.top).sql + ")";
  }
  if (!where.empty()) sql += " WHERE " + where;
  scopes_.pop_back();
  out_->sqlite_sql = sql;
  out_->writes = true;
  out_->counts_rows = true;
}

}  // namespace sqlsim
