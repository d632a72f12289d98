#include "records/read_record.h"

#include <cstring>
#include <vector>

#include "fields/field_values.h"
#include "frame/export_guard.h"
#include "frame/odbc_errors.h"
#include "frame/odbc_handles.h"
#include "frame/odbc_trace.h"
#include "frame/settings.h"
#include "include/lebase32.h"
#include "frame/odbc_handles.h"
#include "records/sql_names.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

// Dates up to 1900-01-01 (the stored empty date) read as 0.
int32_t DateNumber(int year, int month, int day) {
  const int32_t value = (static_cast<int32_t>(year) * 100 + month) * 100 + day;
  return value <= 19000101 ? 0 : value;
}

// Fixed-size C types are fetched into a value of the type: SQLGetData
// writes the whole type whatever buffer length says. NULL leaves it 0.
template <typename T, typename Target>
bool FetchFixed(SQLHSTMT stmt, SQLUSMALLINT column, SQLSMALLINT c_type, Target* target) {
  T value{};
  SQLLEN indicator = 0;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLGetData, stmt, column, c_type, &value, sizeof value, &indicator))) return false;
  *target = static_cast<Target>(value);
  return true;
}

}  // namespace

bool UsesProcedures(const TableDef* td) { return ExSQL_Enabled != 0 && td->ExLevel != 0; }

std::string BuildSelectById(const TableDef* td, int32_t rec_id) {
  std::string sql = "SELECT";
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    sql += i == 0 ? " " : ",";
    sql += QuotedFieldName(td, i);
  }
  return sql + " FROM " + QuotedBaseName(td) + " WHERE RecId = " + std::to_string(rec_id);
}

int32_t DateFromTimestamp(const TIMESTAMP_STRUCT& ts) { return DateNumber(ts.year, ts.month, ts.day); }

bool FetchColumn(SQLHSTMT stmt, int field, const TableDef* td, ColumnValue* value) {
  const FieldDef& f = td->Fields[field];
  const auto column = static_cast<SQLUSMALLINT>(field + 1);
  switch (f.Type) {
    case 'C': case 'c': case 'u': {
      SQLLEN indicator = 0;
      value->text[0] = '\0';
      // More text than the field holds (01004) is cut to the field.
      return SQL_SUCCEEDED(
          ODBC_CALL(SQLGetData, stmt, column, SQL_C_CHAR, value->text, static_cast<SQLLEN>(f.Len) + 1, &indicator));
    }
    case 'D': case 'o': {
      unsigned char scratch[16] = {};
      SQLLEN indicator = 0;
      if (!SQL_SUCCEEDED(ODBC_CALL(SQLGetData, stmt, column, SQL_C_DATE, scratch, sizeof scratch, &indicator))) {
        return false;
      }
      DATE_STRUCT date;
      std::memcpy(&date, scratch, sizeof date);
      value->date = DateNumber(date.year, date.month, date.day);
      return true;
    }
    case 'L': case 'b':
      // A byte is 0 to 255, as the tinyint column holds it: fetched as a
      // signed tinyint, values above 127 would fail to convert.
      return FetchFixed<unsigned char>(stmt, column, SQL_C_UTINYINT, &value->whole);
    case 'N':
      if (f.Dec == 0 && f.Len <= 8) return FetchFixed<SQLINTEGER>(stmt, column, SQL_C_LONG, &value->whole);
      return FetchFixed<double>(stmt, column, SQL_C_DOUBLE, &value->real);
    case 'd': case 'n':
      return FetchFixed<double>(stmt, column, SQL_C_DOUBLE, &value->real);
    case 'l':
      return FetchFixed<SQLINTEGER>(stmt, column, SQL_C_LONG, &value->whole);
    case 's':
      return FetchFixed<SQLSMALLINT>(stmt, column, SQL_C_SHORT, &value->whole);
    case 'x':
      // Wider than 4 bytes, read as written: whole, as a 64-bit value.
      if (f.Len > 4) return FetchFixed<SQLBIGINT>(stmt, column, SQL_C_SBIGINT, &value->whole);
      return FetchFixed<SQLINTEGER>(stmt, column, SQL_C_LONG, &value->whole);
    default:
      return true;
  }
}

void StoreColumn(const FieldDef& f, ColumnValue* value, char* record) {
  char* p = record + f.Offset;
  const int w = f.Len;
  switch (f.Type) {
    case 'C': case 'c': case 'u':
      FieldFromSqlText(value->text, p, w);
      break;
    case 'D': {
      char text[16] = {};
      ld_ToStringEx(text, value->date);
      std::memcpy(p, text, static_cast<size_t>(w < 10 ? w : 10));
      break;
    }
    case 'o': {
      const int32_t v = value->date;
      const int32_t ddmmyy = (v % 100) * 10000 + (v / 100 % 100) * 100 + (v / 10000 % 100);
      char bytes[4] = {};
      LongToCobolX(bytes, 4, ddmmyy);
      std::memcpy(p, bytes, static_cast<size_t>(w < 4 ? w : 4));
      break;
    }
    case 'L':
      if (w >= 1) p[0] = value->whole != 0 ? 'T' : 'F';
      break;
    case 'N':
      if (f.Dec == 0 && w <= 8) LongToCharN(p, w, static_cast<int32_t>(value->whole));
      else DoubleToCharN(p, w, f.Dec, value->real);
      break;
    case 'b': {
      const auto v = static_cast<unsigned char>(value->whole);
      if (FitsWidth(f.Type, w)) std::memcpy(p, &v, 1);
      break;
    }
    case 'd':
      if (FitsWidth(f.Type, w)) std::memcpy(p, &value->real, sizeof value->real);
      break;
    case 'l': {
      const auto v = static_cast<SQLINTEGER>(value->whole);
      if (FitsWidth(f.Type, w)) std::memcpy(p, &v, 4);
      break;
    }
    case 's': {
      const auto v = static_cast<SQLSMALLINT>(value->whole);
      if (FitsWidth(f.Type, w)) std::memcpy(p, &v, 2);
      break;
    }
    case 'n':
      DoubleToCobolN(p, w, f.Dec, value->real);
      break;
    case 'x':
      if (w > 4) CobolXFromValue(p, w, value->whole);
      else LongToCobolX(p, w, static_cast<int32_t>(value->whole));
      break;
    default:
      break;
  }
}

bool DecodeColumn(SQLHSTMT stmt, int field, const TableDef* td, char* record) {
  ColumnValue value;
  if (!FetchColumn(stmt, field, td, &value)) return false;
  StoreColumn(td->Fields[field], &value, record);
  return true;
}

bool DecodeColumns(SQLHSTMT stmt, const TableDef* td, char* record) {
  for (int i = 0; i < td->FieldCnt; ++i) {
    if (!DecodeColumn(stmt, i, td, record)) return false;
  }
  return true;
}

namespace {

int32_t GetRecord(SQLHDBC dbc, const TableDef* td, int32_t rec_id, char* record) {
  std::string sql;
  if (UsesProcedures(td)) {
    sql = "EXECUTE " + QuotedProcedureName("up_Sel_", td) + " " + std::to_string(rec_id);
  } else {
    sql = BuildSelectById(td, rec_id);
  }
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) {
    OdbcReportErrors(dbc, SQL_NULL_HSTMT, 0);
    return 0;
  }
  SQLHSTMT h = stmt.get();
  bool ran = SQL_SUCCEEDED(ODBC_CALL(SQLPrepare, h, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS));
  if (ran) {
    ODBC_CALL(SQLSetStmtOption, h, SQL_BIND_TYPE, SQL_BIND_BY_COLUMN);
    ran = SQL_SUCCEEDED(ODBC_CALL(SQLExecute, h));
  }
  if (!ran) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  SQLSMALLINT columns = 0;
  ODBC_CALL(SQLNumResultCols, h, &columns);
  if (columns != td->FieldCnt) return 0;
  const SQLRETURN fetched = ODBC_CALL(SQLFetch, h);
  if (!SQL_SUCCEEDED(fetched)) {
    // No row is a record that is not there; anything else is reported.
    if (fetched != SQL_NO_DATA) OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  // The fields are decoded into a copy: the caller's record changes whole,
  // or not at all when a value cannot be read.
  const int size = RecordSize(td);
  std::vector<char> work(record, record + size);
  if (!DecodeColumns(h, td, work.data())) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  std::memcpy(record, work.data(), static_cast<size_t>(size));
  return 1;
}

}  // namespace
}  // namespace lerv32

extern "C" {

int32_t LERV32_CALL rv_OdbcGetRecord(LERV32_HDBC connection, const TableDef* td, int32_t rec_id, char* record) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (!lerv32::PlausibleHandle(connection) || !lerv32::ValidTableDef(td) || record == nullptr) return 0;
    return lerv32::GetRecord(static_cast<SQLHDBC>(connection), td, rec_id, record);
  });
}

}  // extern "C"
