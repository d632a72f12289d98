// Result sets of the catalog queries, and the ODBC description of types in
// their rows. The numbers are ODBC's, as the server's procedures send them.
#include "sqlsim/engine/catalog_result.h"

#include <sqlext.h>

#include <algorithm>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {
namespace {

constexpr int32_t kLongSize = 2147483647;

// SS_DATA_TYPE of sp_columns: the server's old type codes.
int32_t ServerTypeCode(SqlType type, bool nullable_form) {
  switch (type) {
    case SqlType::kChar:
      return 47;
    case SqlType::kVarchar:
      return 39;
    case SqlType::kInt:
    case SqlType::kSmallint:
    case SqlType::kTinyint:
    case SqlType::kBigint:
      return nullable_form ? 38 : 56;
    case SqlType::kBit:
      return 50;
    case SqlType::kFloat:
    case SqlType::kReal:
      return nullable_form ? 109 : 62;
    case SqlType::kDecimal:
      return 55;
    case SqlType::kDatetime:
      return nullable_form ? 111 : 61;
    case SqlType::kBinary:
      return 45;
    case SqlType::kVarbinary:
      return 37;
    case SqlType::kImage:
      return 34;
    case SqlType::kText:
      return 35;
    case SqlType::kUnknown:
      break;
  }
  return 39;
}

CatalogTypeColumns Fixed(int32_t data_type, const char* name, int32_t size, int32_t bytes,
                         std::optional<int32_t> digits, std::optional<int32_t> radix) {
  CatalogTypeColumns t;
  t.data_type = data_type;
  t.sql_data_type = data_type;
  t.type_name = name;
  t.column_size = size;
  t.buffer_length = bytes;
  t.decimal_digits = digits;
  t.radix = radix;
  return t;
}

CatalogTypeColumns Sized(int32_t data_type, const char* name, int32_t size) {
  CatalogTypeColumns t = Fixed(data_type, name, size, size, std::nullopt, std::nullopt);
  t.char_octet_length = size;
  return t;
}

// DESC of the index's columns; an index SQLite does not have (the table's
// INTEGER PRIMARY KEY) is ascending.
void LoadKeyOrder(SessionImpl& session, int32_t table_id, CatalogIndex* index) {
  index->descending.assign(index->columns.size(), false);
  ddl::Query table(session.db(), "SELECT name FROM sysobjects WHERE id = ?1");
  table.Bind(1, table_id);
  if (!table.Next()) return;
  ddl::Query keys(session.db(), "SELECT desc FROM pragma_index_xinfo(?1) WHERE key = 1 ORDER BY seqno");
  keys.Bind(1, SqliteIndexName(table.Text(0), index->name));
  for (size_t i = 0; i < index->descending.size() && keys.Next(); ++i) index->descending[i] = keys.Int(0) != 0;
}

}  // namespace

CatalogTypeColumns TypeColumnsOf(SqlType type, int32_t length, int32_t precision, int32_t scale, bool identity,
                                 bool odbc3_types) {
  CatalogTypeColumns t;
  int32_t declared = length > 0 ? length : 0;  // 0: (max)
  switch (type) {
    case SqlType::kChar:
      t = Sized(SQL_CHAR, "char", declared);
      break;
    case SqlType::kText:
      t = Sized(SQL_LONGVARCHAR, "text", kLongSize);
      break;
    case SqlType::kBinary:
      t = Sized(SQL_BINARY, "binary", declared);
      break;
    case SqlType::kVarbinary:
      t = Sized(SQL_VARBINARY, "varbinary", declared);
      break;
    case SqlType::kImage:
      t = Sized(SQL_LONGVARBINARY, "image", kLongSize);
      break;
    case SqlType::kInt:
      t = Fixed(SQL_INTEGER, "int", 10, 4, 0, 10);
      break;
    case SqlType::kSmallint:
      t = Fixed(SQL_SMALLINT, "smallint", 5, 2, 0, 10);
      break;
    case SqlType::kTinyint:
      t = Fixed(SQL_TINYINT, "tinyint", 3, 1, 0, 10);
      break;
    case SqlType::kBigint:
      t = Fixed(SQL_BIGINT, "bigint", 19, 8, 0, 10);
      break;
    case SqlType::kBit:
      t = Fixed(SQL_BIT, "bit", 1, 1, 0, std::nullopt);
      break;
    case SqlType::kFloat:
      t = Fixed(SQL_FLOAT, "float", 53, 8, std::nullopt, 2);
      break;
    case SqlType::kReal:
      t = Fixed(SQL_REAL, "real", 24, 4, std::nullopt, 2);
      break;
    case SqlType::kDecimal: {
      int32_t p = precision > 0 ? precision : 18;
      t = Fixed(SQL_DECIMAL, "decimal", p, p + 2, std::max(scale, 0), 10);
      break;
    }
    case SqlType::kDatetime:
      t = Fixed(odbc3_types ? SQL_TYPE_TIMESTAMP : SQL_TIMESTAMP, "datetime", 23, 16, 3, std::nullopt);
      t.sql_data_type = odbc3_types ? SQL_DATETIME : SQL_TIMESTAMP;
      t.datetime_sub = SQL_CODE_TIMESTAMP;
      break;
    case SqlType::kVarchar:
    case SqlType::kUnknown:
      t = Sized(SQL_VARCHAR, "varchar", declared);
      break;
  }
  if (identity) t.type_name += " identity";
  t.ss_data_type = ServerTypeCode(type, false);
  return t;
}

Value TextValue(const std::string& s) { return Value::Text(s); }
Value IntValue(int64_t v) { return Value::Integer(v); }
Value OptionalInt(const std::optional<int32_t>& v) { return v ? Value::Integer(*v) : Value::Null(); }

std::unique_ptr<RowSource> CatalogResult::Finish() {
  std::vector<ColumnDesc> descs;
  std::vector<size_t> kept;
  for (size_t i = 0; i < columns_.size(); ++i) {
    const CatalogResultColumn& c = columns_[i];
    if (c.procedure_only && shape_ != CatalogShape::kProcedure) continue;
    ColumnDesc d;
    d.name = shape_ != CatalogShape::kOdbc3 && c.odbc2 ? c.odbc2 : c.odbc3;
    d.type = c.type;
    d.length = c.length;
    d.nullable = true;
    descs.push_back(std::move(d));
    kept.push_back(i);
  }
  std::vector<std::vector<Value>> rows;
  for (CatalogRow& row : rows_) {
    std::vector<Value> out;
    for (size_t i : kept) out.push_back(i < row.size() ? std::move(row[i]) : Value::Null());
    rows.push_back(std::move(out));
  }
  return MakeMaterializedRows(std::move(descs), std::move(rows));
}

std::string CatalogName(SessionImpl& session) { return session.CurrentDatabase(); }

bool CatalogAndSchemaMatch(SessionImpl& session, const NameArgument& catalog, const NameArgument& schema,
                           const std::string& owner) {
  return catalog.Matches(CatalogName(session)) && schema.Matches(owner);
}

std::unique_ptr<RowSource> SessionImpl::QueryCatalog(const CatalogRequest& request, Diagnostics* diags) {
  return sqlsim::QueryCatalog(*this, request, diags);
}

std::unique_ptr<RowSource> QueryCatalog(SessionImpl& session, const CatalogRequest& request, Diagnostics* diags) {
  session.RefreshCatalog();
  switch (request.function) {
    case CatalogFunction::kTables:
      return QueryTables(session, request, diags);
    case CatalogFunction::kColumns:
      return QueryColumns(session, request, diags);
    case CatalogFunction::kPrimaryKeys:
      return QueryPrimaryKeys(session, request, diags);
    case CatalogFunction::kForeignKeys:
      return QueryForeignKeys(request);
    case CatalogFunction::kStatistics:
      return QueryStatistics(session, request, diags);
    case CatalogFunction::kSpecialColumns:
      return QuerySpecialColumns(session, request, diags);
    case CatalogFunction::kProcedures:
      return QueryProcedures(session, request, diags);
    case CatalogFunction::kProcedureColumns:
      return QueryProcedureColumns(session, request, diags);
  }
  return nullptr;
}

bool SelectTables(SessionImpl& session, const CatalogRequest& request, std::vector<CatalogTableRef>* out,
                  Diagnostics* diags) {
  ddl::Query query(session.db(),
                   "SELECT id, name, xtype FROM sysobjects "
                   "WHERE xtype IN ('U', 'V', 'S') ORDER BY name COLLATE NOCASE, id");
  while (query.Next()) {
    CatalogTableRef t;
    t.id = static_cast<int32_t>(query.Int(0));
    t.name = query.Text(1);
    t.xtype = query.Text(2);
    while (!t.xtype.empty() && t.xtype.back() == ' ') t.xtype.pop_back();
    t.owner = t.xtype == "S" ? "sys" : "dbo";
    if (!CatalogAndSchemaMatch(session, request.catalog, request.schema, t.owner)) continue;
    if (!request.object.Matches(t.name)) continue;
    out->push_back(std::move(t));
  }
  return query.Ok(diags);
}

bool LoadIndexes(SessionImpl& session, int32_t table_id, std::vector<CatalogIndex>* out, Diagnostics* diags) {
  ddl::Query query(session.db(),
                   "SELECT i.indid, i.name, i.status, c.name FROM sysindexes AS i "
                   "JOIN sysindexkeys AS k ON k.id = i.id AND k.indid = i.indid "
                   "JOIN syscolumns AS c ON c.id = k.id AND c.colid = k.colid "
                   "WHERE i.id = ?1 AND i.indid > 0 ORDER BY i.indid, k.keyno");
  query.Bind(1, table_id);
  while (query.Next()) {
    auto indid = static_cast<int32_t>(query.Int(0));
    if (out->empty() || out->back().indid != indid) {
      CatalogIndex index;
      index.indid = indid;
      index.name = query.Text(1);
      index.status = static_cast<int32_t>(query.Int(2));
      out->push_back(std::move(index));
    }
    out->back().columns.push_back(query.Text(3));
  }
  if (!query.Ok(diags)) return false;
  for (CatalogIndex& index : *out) LoadKeyOrder(session, table_id, &index);
  return true;
}

}  // namespace sqlsim
