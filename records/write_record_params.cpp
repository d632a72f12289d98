#include <algorithm>
#include <cstring>

#include "fields/field_values.h"
#include "frame/odbc_trace.h"
#include "include/lebase32.h"
#include "records/write_record.h"
#include "schema/type_mapping.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

// Every slot starts on this boundary: the driver reads the bound values
// through typed pointers.
constexpr size_t kSlotAlign = 8;

// A slot holds the value and the zero byte that text puts behind itself.
constexpr size_t SlotSize(size_t value_size) { return (value_size + 1 + kSlotAlign - 1) / kSlotAlign * kSlotAlign; }

// A binary field narrower than its type is sent as 0, as it is never read.
template <typename T>
T Binary(const FieldDef& f, const char* v) {
  T value{};
  if (FitsWidth(f.Type, f.Len)) std::memcpy(&value, v, sizeof value);
  return value;
}

TIMESTAMP_STRUCT DateValue(const FieldDef& f, const char* v) {
  int32_t d = FitsWidth(f.Type, f.Len) ? DateFromField(f.Type, v) : 0;
  if (d == 0) d = 19000101;
  // A date from garbage bytes is sent as the server will refuse it, never
  // cut to another valid date.
  if (d < 10101 || d > 99991231) d = 0;
  TIMESTAMP_STRUCT ts{};
  ts.year = static_cast<SQLSMALLINT>(d / 10000);
  ts.month = static_cast<SQLUSMALLINT>(d / 100 % 100);
  ts.day = static_cast<SQLUSMALLINT>(d % 100);
  return ts;
}

}  // namespace

FieldBinding BindingOf(const FieldDef& f) {
  switch (SqlFieldType(f)) {
    // Unsigned: a byte above 127 is a valid tinyint, not a negative value.
    case SQL_TINYINT: return {SQL_C_UTINYINT, SQL_TINYINT, 1};
    // An x field wider than 4 bytes is sent whole: the server refuses a
    // value beyond the column, never cut.
    case SQL_INTEGER:
      return f.Type == 'x' && f.Len > 4 ? FieldBinding{SQL_C_SBIGINT, SQL_BIGINT, 8}
                                        : FieldBinding{SQL_C_LONG, SQL_INTEGER, 4};
    case SQL_SMALLINT: return {SQL_C_SHORT, SQL_SMALLINT, 2};
    case SQL_DOUBLE: return {SQL_C_DOUBLE, SQL_DOUBLE, 8};
    case SQL_TYPE_DATE: case SQL_DATE: return {SQL_C_TIMESTAMP, SQL_TIMESTAMP, sizeof(TIMESTAMP_STRUCT)};
    default: return {SQL_C_CHAR, SQL_CHAR, static_cast<size_t>(std::max<int>(f.Len, 1))};
  }
}

void WriteFieldValue(const FieldDef& f, const char* v, char* p) {
  const int w = f.Len;
  switch (SqlFieldType(f)) {
    case SQL_TINYINT: {
      unsigned char b = 0;
      if (w >= 1) b = f.Type == 'b' ? static_cast<unsigned char>(v[0]) : (v[0] == 'T' ? 1 : 0);
      *p = static_cast<char>(b);
      break;
    }
    case SQL_INTEGER: {
      if (f.Type == 'x' && w > 4) {
        const SQLBIGINT wide = CobolXValue(v, w);
        std::memcpy(p, &wide, sizeof wide);
        break;
      }
      SQLINTEGER n = 0;
      if (f.Type == 'N') n = CharNToLong(v, w);
      else if (f.Type == 'l') n = Binary<SQLINTEGER>(f, v);
      else if (f.Type == 'x') n = CobolXToLong(v, w);
      std::memcpy(p, &n, sizeof n);
      break;
    }
    case SQL_SMALLINT: {
      SQLSMALLINT n = Binary<SQLSMALLINT>(f, v);
      std::memcpy(p, &n, sizeof n);
      break;
    }
    case SQL_DOUBLE: {
      double x = 0.0;
      if (f.Type == 'N') x = CharNToDouble(v, w, f.Dec);
      else if (f.Type == 'd') x = Binary<double>(f, v);
      else if (f.Type == 'n') x = CobolNToDouble(v, w, f.Dec);
      std::memcpy(p, &x, sizeof x);
      break;
    }
    case SQL_TYPE_DATE: case SQL_DATE: {
      TIMESTAMP_STRUCT ts = DateValue(f, v);
      std::memcpy(p, &ts, sizeof ts);
      break;
    }
    default:
      if (w > 0) FieldToSqlText(p, v, w);
      else std::memcpy(p, " ", 2);
      break;
  }
}

size_t FieldSlotSize(const FieldDef& f) { return SlotSize(BindingOf(f).value_size); }

bool BindFieldParam(SQLHSTMT stmt, SQLUSMALLINT number, const FieldDef& f, char* p, SQLLEN* length) {
  const FieldBinding binding = BindingOf(f);
  *length = static_cast<SQLLEN>(binding.value_size);
  return SQL_SUCCEEDED(ODBC_CALL(SQLBindParameter, stmt, number, SQL_PARAM_INPUT, binding.c_type, binding.sql_type,
                                 static_cast<SQLULEN>(binding.value_size),
                                 static_cast<SQLSMALLINT>(SqlFieldScale(f)), p, *length, length));
}

bool FieldCountValid(const TableDef* td) { return td->FieldCnt >= 0 && td->FieldCnt <= LERV32_MAX_FIELDS; }

void PrepareRecordParams(const TableDef* td, RecordParams* params) {
  size_t total = 0;
  for (int32_t i = 0; i < td->FieldCnt; ++i) total += FieldSlotSize(td->Fields[i]);
  params->buffer.assign(total + 1, '\0');
  params->lengths.assign(static_cast<size_t>(td->FieldCnt), 0);
}

bool BindRecordParams(SQLHSTMT stmt, RecordParams* params, const TableDef* td, const char* record) {
  char* p = params->buffer.data();
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    const FieldDef& f = td->Fields[i];
    WriteFieldValue(f, record + f.Offset, p);
    if (!BindFieldParam(stmt, static_cast<SQLUSMALLINT>(i + 1), f, p, &params->lengths[static_cast<size_t>(i)])) {
      return false;
    }
    p += FieldSlotSize(f);
  }
  return true;
}

}  // namespace lerv32
