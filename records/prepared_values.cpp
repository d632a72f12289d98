// Between a record and the buffers of its table's prepared set: a record's
// fields converted as a write sends them, and the buffers stored into a
// record as a read stores a fetched row.
#include <algorithm>
#include <cstring>

#include "frame/export_guard.h"
#include "records/navigation.h"
#include "records/prepared_set.h"
#include "records/read_record.h"
#include "records/write_record.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

// A value of type T from a buffer that need not be aligned for it.
template <typename T>
T Load(const char* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

// The value of field i in the set's buffer (which a read clears for NULL).
void BoundValue(const SqlRec* rec, int i, ColumnValue* value) {
  const char* p = rec->Value[i];
  switch (rec->CType[i]) {
    case SQL_C_CHAR: {
      const size_t length = std::min(strnlen(p, static_cast<size_t>(rec->ValueSize[i])), sizeof value->text - 1);
      std::memcpy(value->text, p, length);
      value->text[length] = '\0';
      break;
    }
    case SQL_C_UTINYINT:
      value->whole = static_cast<unsigned char>(p[0]);
      break;
    case SQL_C_SHORT:
      value->whole = Load<SQLSMALLINT>(p);
      break;
    case SQL_C_LONG:
      value->whole = Load<SQLINTEGER>(p);
      break;
    case SQL_C_SBIGINT:
      value->whole = Load<SQLBIGINT>(p);
      break;
    case SQL_C_DOUBLE:
      std::memcpy(&value->real, p, sizeof value->real);
      break;
    case SQL_C_TIMESTAMP: {
      TIMESTAMP_STRUCT ts;
      std::memcpy(&ts, p, sizeof ts);
      value->date = DateFromTimestamp(ts);
      break;
    }
    default:
      break;
  }
}

}  // namespace

void FillSet(SqlRec* rec, const TableDef* td, const char* record) {
  for (int i = 0; i < td->FieldCnt; ++i) {
    const FieldDef& f = td->Fields[i];
    WriteFieldValue(f, record + f.Offset, rec->Value[i]);
    rec->Indicator[i] = rec->ValueSize[i];
  }
}

void ScanSet(const SqlRec* rec, const TableDef* td, char* record) {
  for (int i = 0; i < td->FieldCnt; ++i) {
    // The text is converted in a copy: the buffer stays as it came.
    ColumnValue value;
    BoundValue(rec, i, &value);
    StoreColumn(td->Fields[i], &value, record);
  }
}

}  // namespace lerv32

extern "C" {

void LERV32_CALL rv_OdbcPrepareAll(TableDef* td, LERV32_HDBC connection) {
  lerv32::Guarded<int>(0, [&] {
    if (td == nullptr) return 0;
    // A definition no set can describe stays without one, as on a null
    // connection.
    if (!lerv32::Usable(connection, td)) {
      lerv32::ReleaseSet(td);
      return 0;
    }
    lerv32::PrepareSet(td, static_cast<SQLHDBC>(connection));
    return 0;
  });
}

void LERV32_CALL rv_OdbcUnprepareAll(TableDef* td) {
  lerv32::Guarded<int>(0, [&] {
    if (td != nullptr) lerv32::ReleaseSet(td);
    return 0;
  });
}

SqlRec* LERV32_CALL rv_GetSqlRecPtr(const TableDef* td) {
  return lerv32::Guarded<SqlRec*>(nullptr, [&] { return lerv32::ValidTableDef(td) ? lerv32::OwnSet(td) : nullptr; });
}

int32_t LERV32_CALL rv_OdbcFillSqlRec(const TableDef* td, const char* rec) {
  return lerv32::Guarded<int32_t>(0, [&] {
    SqlRec* set = !lerv32::ValidTableDef(td) || rec == nullptr ? nullptr : lerv32::CurrentSet(td);
    if (set == nullptr) return 0;
    lerv32::FillSet(set, td, rec);
    return 1;
  });
}

int32_t LERV32_CALL rv_OdbcScanSqlRec(const TableDef* td, char* rec) {
  return lerv32::Guarded<int32_t>(0, [&] {
    SqlRec* set = !lerv32::ValidTableDef(td) || rec == nullptr ? nullptr : lerv32::CurrentSet(td);
    if (set == nullptr) return 0;
    lerv32::ScanSet(set, td, rec);
    return 1;
  });
}

}  // extern "C"
