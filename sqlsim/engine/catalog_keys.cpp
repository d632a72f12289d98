// SQLPrimaryKeys, SQLForeignKeys, SQLStatistics and SQLSpecialColumns
// (sp_pkeys, sp_fkeys, sp_statistics, sp_special_columns): keys and
// indexes from sysindexes and sysindexkeys.
#include <sqlext.h>

#include <algorithm>

#include "sqlsim/engine/catalog_result.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {
namespace {

constexpr SqlType kName = SqlType::kVarchar;

std::vector<CatalogResultColumn> PrimaryKeyColumns() {
  return {{"TABLE_CAT", "TABLE_QUALIFIER", kName, 128}, {"TABLE_SCHEM", "TABLE_OWNER", kName, 128},
          {"TABLE_NAME", nullptr, kName, 128},          {"COLUMN_NAME", nullptr, kName, 128},
          {"KEY_SEQ", nullptr, SqlType::kSmallint, 2},  {"PK_NAME", nullptr, kName, 128}};
}

std::vector<CatalogResultColumn> ForeignKeyColumns() {
  return {{"PKTABLE_CAT", "PKTABLE_QUALIFIER", kName, 128},
          {"PKTABLE_SCHEM", "PKTABLE_OWNER", kName, 128},
          {"PKTABLE_NAME", nullptr, kName, 128},
          {"PKCOLUMN_NAME", nullptr, kName, 128},
          {"FKTABLE_CAT", "FKTABLE_QUALIFIER", kName, 128},
          {"FKTABLE_SCHEM", "FKTABLE_OWNER", kName, 128},
          {"FKTABLE_NAME", nullptr, kName, 128},
          {"FKCOLUMN_NAME", nullptr, kName, 128},
          {"KEY_SEQ", nullptr, SqlType::kSmallint, 2},
          {"UPDATE_RULE", nullptr, SqlType::kSmallint, 2},
          {"DELETE_RULE", nullptr, SqlType::kSmallint, 2},
          {"FK_NAME", nullptr, kName, 128},
          {"PK_NAME", nullptr, kName, 128},
          {"DEFERRABILITY", nullptr, SqlType::kSmallint, 2}};
}

std::vector<CatalogResultColumn> StatisticsColumns() {
  return {{"TABLE_CAT", "TABLE_QUALIFIER", kName, 128}, {"TABLE_SCHEM", "TABLE_OWNER", kName, 128},
          {"TABLE_NAME", nullptr, kName, 128},          {"NON_UNIQUE", nullptr, SqlType::kSmallint, 2},
          {"INDEX_QUALIFIER", nullptr, kName, 128},     {"INDEX_NAME", nullptr, kName, 128},
          {"TYPE", nullptr, SqlType::kSmallint, 2},     {"ORDINAL_POSITION", "SEQ_IN_INDEX", SqlType::kSmallint, 2},
          {"COLUMN_NAME", nullptr, kName, 128},         {"ASC_OR_DESC", "COLLATION", SqlType::kChar, 1},
          {"CARDINALITY", nullptr, SqlType::kInt, 4},   {"PAGES", nullptr, SqlType::kInt, 4},
          {"FILTER_CONDITION", nullptr, kName, 128}};
}

std::vector<CatalogResultColumn> SpecialColumnColumns() {
  return {{"SCOPE", nullptr, SqlType::kSmallint, 2},          {"COLUMN_NAME", nullptr, kName, 128},
          {"DATA_TYPE", nullptr, SqlType::kSmallint, 2},      {"TYPE_NAME", nullptr, kName, 128},
          {"COLUMN_SIZE", "PRECISION", SqlType::kInt, 4},     {"BUFFER_LENGTH", "LENGTH", SqlType::kInt, 4},
          {"DECIMAL_DIGITS", "SCALE", SqlType::kSmallint, 2}, {"PSEUDO_COLUMN", nullptr, SqlType::kSmallint, 2}};
}

// The one table a plain (not pattern) table argument names.
bool FindNamedTable(SessionImpl& session, const CatalogRequest& r, std::optional<CatalogTableRef>* out,
                    Diagnostics* diags) {
  std::vector<CatalogTableRef> tables;
  if (!SelectTables(session, r, &tables, diags)) return false;
  if (!tables.empty()) *out = tables.front();
  return true;
}

int64_t RowCount(SessionImpl& session, const std::string& table) {
  ddl::Query count(session.db(), "SELECT count(*) FROM " + ddl::QuoteId(table));
  return count.Next() ? count.Int(0) : 0;
}

// The columns that identify a row: the primary key, else the first unique
// index (without nullable columns when nulls are not wanted).
const CatalogIndex* BestRowId(const std::vector<CatalogIndex>& indexes, const CatalogTable& table, bool no_nulls) {
  for (const CatalogIndex& index : indexes) {
    if (index.status & kIndexPrimaryKey) return &index;
  }
  for (const CatalogIndex& index : indexes) {
    if (!index.unique()) continue;
    bool nullable = std::any_of(index.columns.begin(), index.columns.end(), [&](const std::string& name) {
      const CatalogColumn* c = table.FindColumn(name);
      return c && c->nullable;
    });
    if (!no_nulls || !nullable) return &index;
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<RowSource> QueryPrimaryKeys(SessionImpl& session, const CatalogRequest& r, Diagnostics* diags) {
  CatalogResult result(r.shape, PrimaryKeyColumns());
  std::optional<CatalogTableRef> table;
  if (!FindNamedTable(session, r, &table, diags)) return nullptr;
  std::vector<CatalogIndex> indexes;
  if (table && !LoadIndexes(session, table->id, &indexes, diags)) return nullptr;
  for (const CatalogIndex& index : indexes) {
    if (!(index.status & kIndexPrimaryKey)) continue;
    for (size_t i = 0; i < index.columns.size(); ++i) {
      result.Add({TextValue(CatalogName(session)), TextValue(table->owner), TextValue(table->name),
                  TextValue(index.columns[i]), IntValue(static_cast<int64_t>(i + 1)), TextValue(index.name)});
    }
  }
  return result.Finish();
}

// sqlsim has no foreign keys: the result set has its columns and no rows.
std::unique_ptr<RowSource> QueryForeignKeys(const CatalogRequest& r) {
  CatalogResult result(r.shape, ForeignKeyColumns());
  return result.Finish();
}

std::unique_ptr<RowSource> QueryStatistics(SessionImpl& session, const CatalogRequest& r, Diagnostics* diags) {
  CatalogResult result(r.shape, StatisticsColumns());
  std::optional<CatalogTableRef> table;
  if (!FindNamedTable(session, r, &table, diags)) return nullptr;
  if (!table) return result.Finish();
  std::string catalog = CatalogName(session);
  Value cardinality = table->xtype == "V" ? Value::Null() : IntValue(RowCount(session, table->name));
  result.Add({TextValue(catalog), TextValue(table->owner), TextValue(table->name), Value::Null(), Value::Null(),
              Value::Null(), IntValue(SQL_TABLE_STAT), Value::Null(), Value::Null(), Value::Null(), cardinality,
              Value::Null(), Value::Null()});
  std::vector<CatalogIndex> indexes;
  if (!LoadIndexes(session, table->id, &indexes, diags)) return nullptr;
  // Unique before non-unique, clustered before the others, then by name.
  std::stable_sort(indexes.begin(), indexes.end(), [](const CatalogIndex& a, const CatalogIndex& b) {
    if (a.unique() != b.unique()) return a.unique();
    if ((a.indid == 1) != (b.indid == 1)) return a.indid == 1;
    return ddl::FoldName(a.name) < ddl::FoldName(b.name);
  });
  for (const CatalogIndex& index : indexes) {
    if (r.unique_only && !index.unique()) continue;
    if (!r.index_name.Matches(index.name)) continue;
    for (size_t i = 0; i < index.columns.size(); ++i) {
      result.Add({TextValue(catalog), TextValue(table->owner), TextValue(table->name),
                  IntValue(index.unique() ? SQL_FALSE : SQL_TRUE), TextValue(table->name), TextValue(index.name),
                  IntValue(index.indid == 1 ? SQL_INDEX_CLUSTERED : SQL_INDEX_OTHER),
                  IntValue(static_cast<int64_t>(i + 1)), TextValue(index.columns[i]), TextValue(index.descending[i] ? "D" : "A"), Value::Null(),
                  Value::Null(), Value::Null()});
    }
  }
  return result.Finish();
}

std::unique_ptr<RowSource> QuerySpecialColumns(SessionImpl& session, const CatalogRequest& r, Diagnostics* diags) {
  CatalogResult result(r.shape, SpecialColumnColumns());
  std::optional<CatalogTableRef> ref;
  if (!FindNamedTable(session, r, &ref, diags)) return nullptr;
  // No column changes by itself when a row changes (no timestamp type).
  if (!ref || r.row_version) return result.Finish();
  const CatalogTable* table = session.catalog().FindTable(ref->name);
  std::vector<CatalogIndex> indexes;
  if (!table || !LoadIndexes(session, ref->id, &indexes, diags)) return table ? nullptr : result.Finish();
  const CatalogIndex* best = BestRowId(indexes, *table, r.no_nulls);
  if (!best) return result.Finish();
  for (const std::string& name : best->columns) {
    const CatalogColumn* c = table->FindColumn(name);
    if (!c) continue;
    CatalogTypeColumns t = TypeColumnsOf(c->type, c->length, c->precision, c->scale, c->identity, r.odbc3_types);
    result.Add({IntValue(SQL_SCOPE_TRANSACTION), TextValue(c->name), IntValue(t.data_type), TextValue(t.type_name),
                OptionalInt(t.column_size), OptionalInt(t.buffer_length), OptionalInt(t.decimal_digits),
                IntValue(SQL_PC_NOT_PSEUDO)});
  }
  return result.Finish();
}

}  // namespace sqlsim
