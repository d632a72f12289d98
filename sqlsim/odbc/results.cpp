#include "sqlsim/odbc/results.h"

#include "sqlsim/odbc/describe.h"
#include "sqlsim/odbc/out_string.h"

namespace sqlsim::odbc {

namespace {

const std::vector<ColumnDesc>& Columns(const Stmt& s) {
  static const std::vector<ColumnDesc> kNone;
  if (s.cursor) return s.cursor->columns();
  if (s.state == StmtState::kPrepared && s.batch) return s.batch->FirstResultColumns();
  return kNone;
}

// The column, or the bookmark column 0; null with 07009 when there is none.
const ColumnDesc* ColumnOf(Stmt& s, SQLUSMALLINT column, ColumnDesc* bookmark) {
  const std::vector<ColumnDesc>& columns = Columns(s);
  if (column == 0) {
    if (s.attrs.use_bookmarks == SQL_UB_OFF) {
      s.diags.AddDriver("07009", "Invalid descriptor index");
      return nullptr;
    }
    bookmark->type = s.attrs.use_bookmarks == SQL_UB_VARIABLE ? SqlType::kVarbinary : SqlType::kInt;
    bookmark->length = 4;
    bookmark->nullable = false;
    return bookmark;
  }
  if (column > columns.size()) {
    s.diags.AddDriver("07009", "Invalid descriptor index");
    return nullptr;
  }
  return &columns[column - 1];
}

SQLRETURN Text(Stmt& s, const std::string& value, SQLPOINTER text, SQLSMALLINT max,
               SQLSMALLINT* length) {
  if (CopyOutString(value, text, max, length)) {
    return s.diags.Warning("01004", "String data, right truncated");
  }
  return SQL_SUCCESS;
}

SQLLEN Searchable(const ColumnDesc& c) {
  if (c.type == SqlType::kText) return SQL_PRED_CHAR;
  if (c.type == SqlType::kImage) return SQL_PRED_NONE;
  return SQL_PRED_SEARCHABLE;
}

// Numeric attributes; false for fields that are not numbers.
bool NumberField(const ColumnDesc& c, const OdbcType& t, SQLUSMALLINT field,
                 SQLLEN* out) {
  bool sized = t.is_character || t.is_binary;
  switch (field) {
    case SQL_DESC_CONCISE_TYPE: *out = t.sql_type; return true;
    case SQL_DESC_TYPE:
      *out = t.sql_type == SQL_TYPE_TIMESTAMP ? SQL_DATETIME
                                                                                   : t.sql_type;
      return true;
    case SQL_DESC_LENGTH:
      *out = sized ? static_cast<SQLLEN>(t.column_size) : t.octet_length;
      return true;
    case SQL_COLUMN_LENGTH: case SQL_DESC_OCTET_LENGTH: *out = t.octet_length; return true;
    case SQL_DESC_PRECISION:
      *out = c.type == SqlType::kDatetime ? t.decimal_digits : static_cast<SQLLEN>(t.column_size);
      return true;
    case SQL_COLUMN_PRECISION: *out = static_cast<SQLLEN>(t.column_size); return true;
    case SQL_DESC_SCALE: case SQL_COLUMN_SCALE: *out = t.decimal_digits; return true;
    case SQL_DESC_DISPLAY_SIZE: *out = t.display_size; return true;
    case SQL_DESC_NULLABLE: case SQL_COLUMN_NULLABLE:
      *out = c.nullable ? SQL_NULLABLE : SQL_NO_NULLS;
      return true;
    case SQL_DESC_UNSIGNED: *out = t.is_unsigned || t.num_prec_radix == 0; return true;
    case SQL_DESC_FIXED_PREC_SCALE: case SQL_DESC_AUTO_UNIQUE_VALUE:
    case SQL_DESC_CASE_SENSITIVE: case SQL_DESC_DATETIME_INTERVAL_PRECISION:
      *out = SQL_FALSE;
      return true;
    case SQL_DESC_SEARCHABLE: *out = Searchable(c); return true;
    case SQL_DESC_UPDATABLE: *out = SQL_ATTR_READWRITE_UNKNOWN; return true;
    case SQL_DESC_NUM_PREC_RADIX: *out = t.num_prec_radix; return true;
    case SQL_DESC_UNNAMED: *out = c.name.empty() ? SQL_UNNAMED : SQL_NAMED; return true;
    case SQL_DESC_DATETIME_INTERVAL_CODE:
      *out = c.type == SqlType::kDatetime ? SQL_CODE_TIMESTAMP : 0;
      return true;
    default:
      return false;
  }
}

// Text attributes; false for fields that are not text.
bool TextField(const Stmt& s, const ColumnDesc& c, const OdbcType& t, SQLUSMALLINT field,
               std::string* out) {
  bool based = !c.base_table.empty();
  switch (field) {
    case SQL_DESC_NAME: case SQL_COLUMN_NAME: case SQL_DESC_LABEL: *out = c.name; return true;
    case SQL_DESC_BASE_COLUMN_NAME: *out = c.base_column; return true;
    case SQL_DESC_TABLE_NAME: case SQL_DESC_BASE_TABLE_NAME: *out = c.base_table; return true;
    case SQL_DESC_SCHEMA_NAME: *out = based ? "dbo" : ""; return true;
    case SQL_DESC_CATALOG_NAME:
      *out = based && s.dbc->session ? s.dbc->session->CurrentDatabase() : "";
      return true;
    case SQL_DESC_TYPE_NAME: case SQL_DESC_LOCAL_TYPE_NAME: *out = t.type_name; return true;
    case SQL_DESC_LITERAL_PREFIX: *out = t.literal_prefix; return true;
    case SQL_DESC_LITERAL_SUFFIX: *out = t.literal_suffix; return true;
    default:
      return false;
  }
}

}  // namespace

SQLRETURN NumResultCols(Stmt& s, SQLSMALLINT* count) {
  size_t n = Columns(s).size();
  if (count) *count = static_cast<SQLSMALLINT>(n > 32767 ? 32767 : n);
  return SQL_SUCCESS;
}

SQLRETURN DescribeColumn(Stmt& s, SQLUSMALLINT column, SQLCHAR* name, SQLSMALLINT name_max,
                         SQLSMALLINT* name_length, SQLSMALLINT* sql_type, SQLULEN* size,
                         SQLSMALLINT* digits, SQLSMALLINT* nullable) {
  if (name_max < 0) return s.diags.Error("HY090", "Invalid string or buffer length");
  ColumnDesc bookmark;
  const ColumnDesc* c = ColumnOf(s, column, &bookmark);
  if (!c) return SQL_ERROR;
  OdbcType t = DescribeType(*c, s.odbc_version());
  if (sql_type) *sql_type = t.sql_type;
  if (size) *size = t.column_size;
  if (digits) *digits = t.decimal_digits;
  if (nullable) *nullable = c->nullable ? SQL_NULLABLE : SQL_NO_NULLS;
  return Text(s, c->name, name, name_max, name_length);
}

SQLRETURN ColumnAttribute(Stmt& s, SQLUSMALLINT column, SQLUSMALLINT field, SQLPOINTER text,
                          SQLSMALLINT text_max, SQLSMALLINT* text_length, SQLLEN* number) {
  if (field == SQL_DESC_COUNT || field == SQL_COLUMN_COUNT) {
    if (number) *number = static_cast<SQLLEN>(Columns(s).size());
    return SQL_SUCCESS;
  }
  ColumnDesc bookmark;
  const ColumnDesc* c = ColumnOf(s, column, &bookmark);
  if (!c) return SQL_ERROR;
  OdbcType t = DescribeType(*c, s.odbc_version());
  SQLLEN n = 0;
  if (NumberField(*c, t, field, &n)) {
    if (number) *number = n;
    return SQL_SUCCESS;
  }
  std::string value;
  if (TextField(s, *c, t, field, &value)) {
    if (text_max < 0) return s.diags.Error("HY090", "Invalid string or buffer length");
    return Text(s, value, text, text_max, text_length);
  }
  return s.diags.Error("HY091", "Invalid descriptor field identifier");
}

}  // namespace sqlsim::odbc
