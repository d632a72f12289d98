// SQLTables and SQLColumns (sp_tables, sp_columns).
#include <sqlext.h>

#include <algorithm>

#include "sqlsim/engine/catalog_result.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {
namespace {

constexpr SqlType kName = SqlType::kVarchar;

const char* TableTypeOf(const std::string& xtype) {
  if (xtype == "V") return "VIEW";
  if (xtype == "S") return "SYSTEM TABLE";
  return "TABLE";
}

std::vector<CatalogResultColumn> TableColumns() {
  return {{"TABLE_CAT", "TABLE_QUALIFIER", kName, 128},
          {"TABLE_SCHEM", "TABLE_OWNER", kName, 128},
          {"TABLE_NAME", nullptr, kName, 128},
          {"TABLE_TYPE", nullptr, kName, 32},
          {"REMARKS", nullptr, kName, 254}};
}

bool IsEmptyArgument(const NameArgument& a) { return a.mode != NameArgument::Mode::kAny && a.text.empty(); }
bool IsAllArgument(const NameArgument& a) { return a.mode != NameArgument::Mode::kAny && a.text == "%"; }

// The enumerations of SQLTables: catalogs, schemas or table types alone.
bool Enumeration(SessionImpl& session, const CatalogRequest& r, CatalogResult* result) {
  bool rest_empty = IsEmptyArgument(r.object);
  if (IsAllArgument(r.catalog) && IsEmptyArgument(r.schema) && rest_empty) {
    result->Add({TextValue(CatalogName(session)), Value::Null(), Value::Null(), Value::Null(), Value::Null()});
    return true;
  }
  if (IsEmptyArgument(r.catalog) && IsAllArgument(r.schema) && rest_empty) {
    for (const char* schema : {"dbo", "sys"}) {
      result->Add({Value::Null(), TextValue(schema), Value::Null(), Value::Null(), Value::Null()});
    }
    return true;
  }
  if (IsEmptyArgument(r.catalog) && IsEmptyArgument(r.schema) && rest_empty && r.table_types_given &&
      r.table_types == "%") {
    for (const char* type : {"SYSTEM TABLE", "TABLE", "VIEW"}) {
      result->Add({Value::Null(), Value::Null(), Value::Null(), TextValue(type), Value::Null()});
    }
    return true;
  }
  return false;
}

// SQL Server shows a default as written, in parentheses, numbers in two:
// ((0)), ('x'), (getdate()). A char column's text default is kept padded;
// the padding was not written.
std::string ServerDefaultText(std::string sql) {
  if (sql.empty()) return sql;
  if (sql.size() >= 2 && sql.front() == '\'' && sql.back() == '\'') {
    sql.pop_back();
    while (sql.size() > 1 && sql.back() == ' ') sql.pop_back();
    sql += '\'';
  }
  bool number = sql.find_first_not_of("0123456789.-+") == std::string::npos;
  return number ? "((" + sql + "))" : "(" + sql + ")";
}

std::vector<CatalogResultColumn> ColumnColumns() {
  return {{"TABLE_CAT", "TABLE_QUALIFIER", kName, 128},
          {"TABLE_SCHEM", "TABLE_OWNER", kName, 128},
          {"TABLE_NAME", nullptr, kName, 128},
          {"COLUMN_NAME", nullptr, kName, 128},
          {"DATA_TYPE", nullptr, SqlType::kSmallint, 2},
          {"TYPE_NAME", nullptr, kName, 128},
          {"COLUMN_SIZE", "PRECISION", SqlType::kInt, 4},
          {"BUFFER_LENGTH", "LENGTH", SqlType::kInt, 4},
          {"DECIMAL_DIGITS", "SCALE", SqlType::kSmallint, 2},
          {"NUM_PREC_RADIX", "RADIX", SqlType::kSmallint, 2},
          {"NULLABLE", nullptr, SqlType::kSmallint, 2},
          {"REMARKS", nullptr, kName, 254},
          {"COLUMN_DEF", nullptr, kName, 4000},
          {"SQL_DATA_TYPE", nullptr, SqlType::kSmallint, 2},
          {"SQL_DATETIME_SUB", nullptr, SqlType::kSmallint, 2},
          {"CHAR_OCTET_LENGTH", nullptr, SqlType::kInt, 4},
          {"ORDINAL_POSITION", nullptr, SqlType::kInt, 4},
          {"IS_NULLABLE", nullptr, kName, 254},
          {"SS_DATA_TYPE", nullptr, SqlType::kTinyint, 1, true}};
}

bool OwnerOrder(const CatalogTableRef& a, const CatalogTableRef& b) { return a.owner < b.owner; }

}  // namespace

std::unique_ptr<RowSource> QueryTables(SessionImpl& session, const CatalogRequest& r, Diagnostics* diags) {
  CatalogResult result(r.shape, TableColumns());
  if (Enumeration(session, r, &result)) return result.Finish();
  std::vector<CatalogTableRef> tables;
  if (!SelectTables(session, r, &tables, diags)) return nullptr;
  std::vector<std::string> wanted = SplitTableTypes(r.table_types);
  std::vector<std::pair<std::string, CatalogTableRef>> typed;
  for (CatalogTableRef& t : tables) {
    std::string type = TableTypeOf(t.xtype);
    bool listed = wanted.empty() || std::find(wanted.begin(), wanted.end(), type) != wanted.end();
    if (listed) typed.emplace_back(type, std::move(t));
  }
  std::stable_sort(typed.begin(), typed.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : OwnerOrder(a.second, b.second);
  });
  for (const auto& [type, t] : typed) {
    result.Add(
        {TextValue(CatalogName(session)), TextValue(t.owner), TextValue(t.name), TextValue(type), Value::Null()});
  }
  return result.Finish();
}

std::unique_ptr<RowSource> QueryColumns(SessionImpl& session, const CatalogRequest& r, Diagnostics* diags) {
  CatalogResult result(r.shape, ColumnColumns());
  std::vector<CatalogTableRef> tables;
  if (!SelectTables(session, r, &tables, diags)) return nullptr;
  std::stable_sort(tables.begin(), tables.end(), OwnerOrder);
  for (const CatalogTableRef& ref : tables) {
    const CatalogTable* table = session.catalog().FindTable(ref.name);
    if (!table) continue;
    std::vector<ddl::ColumnSpec> specs;
    if (!ddl::LoadColumnSpecs(session.db(), *table, &specs, diags)) return nullptr;
    for (const ddl::ColumnSpec& c : specs) {
      if (!r.column.Matches(c.name)) continue;
      CatalogTypeColumns t = TypeColumnsOf(c.type, c.length, c.precision, c.scale, c.identity, r.odbc3_types);
      result.Add({TextValue(CatalogName(session)), TextValue(ref.owner), TextValue(table->name), TextValue(c.name),
                  IntValue(t.data_type), TextValue(t.type_name), OptionalInt(t.column_size),
                  OptionalInt(t.buffer_length), OptionalInt(t.decimal_digits), OptionalInt(t.radix),
                  IntValue(c.nullable ? SQL_NULLABLE : SQL_NO_NULLS), Value::Null(),
                  !c.default_sql.empty() ? TextValue(ServerDefaultText(c.default_sql)) : Value::Null(),
                  IntValue(t.sql_data_type), OptionalInt(t.datetime_sub), OptionalInt(t.char_octet_length),
                  IntValue(c.colid), TextValue(c.nullable ? "YES" : "NO"), IntValue(t.ss_data_type)});
    }
  }
  return result.Finish();
}

}  // namespace sqlsim
