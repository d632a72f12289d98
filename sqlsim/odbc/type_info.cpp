#include "sqlsim/odbc/type_info.h"

#include <algorithm>
#include <string>

namespace sqlsim::odbc {

namespace {

// Rows the driver holds itself, read as the engine's are.
class FixedRows : public RowSource {
 public:
  FixedRows(std::vector<ColumnDesc> columns, std::vector<Row> rows)
      : columns_(std::move(columns)), rows_(std::move(rows)) {}
  const std::vector<ColumnDesc>& Columns() const override { return columns_; }
  bool Next(Diagnostics*) override { return ++next_ <= rows_.size(); }
  const Value& Column(size_t index) const override { return rows_[next_ - 1][index]; }

 private:
  std::vector<ColumnDesc> columns_;
  std::vector<Row> rows_;
  size_t next_ = 0;
};

struct TypeRow {
  const char* name;
  SQLSMALLINT data_type;
  int32_t size;
  const char* prefix;      // null: NULL
  const char* create_params;
  int searchable;
  int is_unsigned;         // -1: not a number
  int min_scale, max_scale;  // -1: NULL
  int radix;               // 0: NULL
};

const TypeRow kTypes[] = {
    {"bit", SQL_BIT, 1, nullptr, nullptr, SQL_SEARCHABLE, 0, 0, 0, 0},
    {"tinyint", SQL_TINYINT, 3, nullptr, nullptr, SQL_SEARCHABLE, 1, 0, 0, 10},
    {"bigint", SQL_BIGINT, 19, nullptr, nullptr, SQL_SEARCHABLE, 0, 0, 0, 10},
    {"image", SQL_LONGVARBINARY, 2147483647, "0x", nullptr, SQL_UNSEARCHABLE, -1, -1, -1, 0},
    {"varbinary", SQL_VARBINARY, 8000, "0x", "max length", SQL_SEARCHABLE, -1, -1, -1, 0},
    {"binary", SQL_BINARY, 8000, "0x", "length", SQL_SEARCHABLE, -1, -1, -1, 0},
    {"text", SQL_LONGVARCHAR, 2147483647, "'", nullptr, SQL_LIKE_ONLY, -1, -1, -1, 0},
    {"char", SQL_CHAR, 8000, "'", "length", SQL_SEARCHABLE, -1, -1, -1, 0},
    {"decimal", SQL_DECIMAL, 38, nullptr, "precision,scale", SQL_SEARCHABLE, 0, 0, 38, 10},
    {"int", SQL_INTEGER, 10, nullptr, nullptr, SQL_SEARCHABLE, 0, 0, 0, 10},
    {"smallint", SQL_SMALLINT, 5, nullptr, nullptr, SQL_SEARCHABLE, 0, 0, 0, 10},
    {"float", SQL_FLOAT, 53, nullptr, nullptr, SQL_SEARCHABLE, 0, -1, -1, 2},
    {"real", SQL_REAL, 24, nullptr, nullptr, SQL_SEARCHABLE, 0, -1, -1, 2},
    {"varchar", SQL_VARCHAR, 8000, "'", "max length", SQL_SEARCHABLE, -1, -1, -1, 0},
    {"datetime", SQL_TYPE_TIMESTAMP, 23, "'", nullptr, SQL_SEARCHABLE, -1, 3, 3, 0},
};

ColumnDesc Column(const char* name, SqlType type, int32_t length = 0) {
  ColumnDesc c;
  c.name = name;
  c.type = type;
  c.length = length;
  return c;
}

// ODBC 2 applications see the names of their version.
std::vector<ColumnDesc> Columns(bool odbc2) {
  return {Column("TYPE_NAME", SqlType::kVarchar, 128), Column("DATA_TYPE", SqlType::kSmallint),
          Column(odbc2 ? "PRECISION" : "COLUMN_SIZE", SqlType::kInt), Column("LITERAL_PREFIX", SqlType::kVarchar, 128),
          Column("LITERAL_SUFFIX", SqlType::kVarchar, 128),
          Column("CREATE_PARAMS", SqlType::kVarchar, 128), Column("NULLABLE", SqlType::kSmallint),
          Column("CASE_SENSITIVE", SqlType::kSmallint), Column("SEARCHABLE", SqlType::kSmallint),
          Column("UNSIGNED_ATTRIBUTE", SqlType::kSmallint),
          Column(odbc2 ? "MONEY" : "FIXED_PREC_SCALE", SqlType::kSmallint),
          Column(odbc2 ? "AUTO_INCREMENT" : "AUTO_UNIQUE_VALUE", SqlType::kSmallint),
          Column("LOCAL_TYPE_NAME", SqlType::kVarchar, 128),
          Column("MINIMUM_SCALE", SqlType::kSmallint), Column("MAXIMUM_SCALE", SqlType::kSmallint),
          Column("SQL_DATA_TYPE", SqlType::kSmallint), Column("SQL_DATETIME_SUB", SqlType::kSmallint),
          Column("NUM_PREC_RADIX", SqlType::kInt), Column("INTERVAL_PRECISION", SqlType::kSmallint)};
}

Value TextOrNull(const char* s) { return s ? Value::Text(s) : Value::Null(); }
Value NumberOrNull(bool present, int64_t v) { return present ? Value::Integer(v) : Value::Null(); }

// The integer types also as "int identity" ..., the names SQLColumns gives
// identity columns.
bool HasIdentityForm(const TypeRow& t) {
  return t.data_type == SQL_INTEGER || t.data_type == SQL_SMALLINT || t.data_type == SQL_TINYINT ||
         t.data_type == SQL_BIGINT;
}

Row IdentityRowOf(const TypeRow& t, Row row) {
  row[0] = Value::Text(std::string(t.name) + " identity");
  row[6] = Value::Integer(SQL_NO_NULLS);
  row[11] = Value::Integer(SQL_TRUE);
  row[12] = row[0];
  return row;
}

Row RowOf(const TypeRow& t, SQLSMALLINT data_type) {
  bool datetime = t.data_type == SQL_TYPE_TIMESTAMP;
  bool number = t.is_unsigned >= 0;
  return {Value::Text(t.name),
          Value::Integer(data_type),
          Value::Integer(t.size),
          TextOrNull(t.prefix),
          TextOrNull(t.prefix && t.prefix[0] == '\'' ? "'" : nullptr),
          TextOrNull(t.create_params),
          Value::Integer(SQL_NULLABLE),
          Value::Integer(SQL_FALSE),
          Value::Integer(t.searchable),
          NumberOrNull(number, t.is_unsigned),
          Value::Integer(SQL_FALSE),
          NumberOrNull(number, SQL_FALSE),
          Value::Text(t.name),
          NumberOrNull(t.min_scale >= 0, t.min_scale),
          NumberOrNull(t.max_scale >= 0, t.max_scale),
          Value::Integer(datetime ? SQL_DATETIME : data_type),
          NumberOrNull(datetime, SQL_CODE_TIMESTAMP),
          NumberOrNull(t.radix != 0, t.radix),
          Value::Null()};
}

}  // namespace

SQLRETURN GetTypeInfo(Stmt& s, SQLSMALLINT data_type) {
  s.CloseResults();
  s.batch.reset();
  s.prepared = false;
  bool odbc2 = s.odbc_version() == kOdbc2;
  if (data_type == SQL_TIMESTAMP) data_type = SQL_TYPE_TIMESTAMP;
  std::vector<std::pair<SQLSMALLINT, Row>> rows;
  for (const TypeRow& t : kTypes) {
    if (data_type != SQL_ALL_TYPES && t.data_type != data_type) continue;
    SQLSMALLINT reported = odbc2 && t.data_type == SQL_TYPE_TIMESTAMP ? SQL_TIMESTAMP : t.data_type;
    rows.emplace_back(reported, RowOf(t, reported));
    if (HasIdentityForm(t)) rows.emplace_back(reported, IdentityRowOf(t, rows.back().second));
  }
  std::stable_sort(rows.begin(), rows.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Row> ordered;
  for (auto& r : rows) ordered.push_back(std::move(r.second));
  Diagnostics diags;
  s.cursor = Cursor::Open(std::make_unique<FixedRows>(Columns(odbc2), std::move(ordered)),
                          s.attrs.cursor_type != SQL_CURSOR_FORWARD_ONLY, s.attrs.max_rows, &diags);
  s.row_count = -1;
  s.state = StmtState::kExecuted;
  return SQL_SUCCESS;
}

}  // namespace sqlsim::odbc
