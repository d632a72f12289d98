// Writing records: appends, updates, deletes, emptying and reorganising a
// table, with plain SQL or the generated per-table procedures.
#ifndef LERV32_RECORDS_WRITE_RECORD_H
#define LERV32_RECORDS_WRITE_RECORD_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "include/lerv32.h"
#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

// Executions of a procedure append while the server reports "23000", and
// the pause between two of them.
constexpr int kAppendRetryLimit = 30;
constexpr DWORD kAppendRetryPauseMs = 40;

// What an append attempt gives after an integrity violation that is not
// the last attempt's.
constexpr int64_t kAppendTryAgain = -1;

// Runs attempt (told whether it is the last) until it gives a RecId or 0,
// at most kAppendRetryLimit times, pausing and writing note to the event
// log before each repetition.
int32_t RetryAppend(const TableDef* td, const char* note, const std::function<int64_t(bool last)>& attempt);

// The values of a record as statement parameters: one slot per field in
// field order, each aligned for the driver's typed reads, and a length per
// field. Must outlive the execution of the statement they are bound to.
struct RecordParams {
  std::vector<char> buffer;
  std::vector<SQLLEN> lengths;
};

// How a field travels as a parameter or a bound column: its C and SQL
// types and the bytes of its value (text without its zero byte).
struct FieldBinding {
  SQLSMALLINT c_type;
  SQLSMALLINT sql_type;
  size_t value_size;
};
FieldBinding BindingOf(const FieldDef& f);

// Writes the value of field f (its bytes v in a record) at p as BindingOf
// describes it; text gets a zero byte behind it.
void WriteFieldValue(const FieldDef& f, const char* v, char* p);

// The room a field's value takes in a parameter buffer: the value, the zero
// byte of text, rounded up so that the next value is aligned for the
// driver's typed reads.
size_t FieldSlotSize(const FieldDef& f);

// Binds the value at p (as WriteFieldValue writes it) as input parameter
// number, its length set into length; false when the bind failed.
bool BindFieldParam(SQLHSTMT stmt, SQLUSMALLINT number, const FieldDef& f, char* p, SQLLEN* length);

// Sizes params for td (FieldCnt 0 to 128).
void PrepareRecordParams(const TableDef* td, RecordParams* params);

// Binds the fields of record as parameters 1 to FieldCnt of stmt, converted
// to their SQL types; params must come from PrepareRecordParams for td.
// false when a bind failed.
bool BindRecordParams(SQLHSTMT stmt, RecordParams* params, const TableDef* td, const char* record);

// Whether td can describe a record at all: 0 to 128 fields.
bool FieldCountValid(const TableDef* td);

// The operations behind the exports (arguments not null, FieldCnt valid),
// for the calls that fall back to them.
int32_t AppendBlank(SQLHDBC dbc, const TableDef* td);
int32_t AppendRecord(SQLHDBC dbc, const TableDef* td, const char* record);
// report_execute: a failed execution of the plain UPDATE is reported too.
int32_t UpdateRecord(SQLHDBC dbc, const TableDef* td, int32_t rec_id, const char* record, bool report_execute);
int32_t DeleteRecord(SQLHDBC dbc, const TableDef* td, int32_t rec_id);

}  // namespace lerv32

#endif  // LERV32_RECORDS_WRITE_RECORD_H
