// Reading records: one row whose columns are a table's fields, decoded into
// the fields of the caller's record buffer.
#ifndef LERV32_RECORDS_READ_RECORD_H
#define LERV32_RECORDS_READ_RECORD_H

#include <cstdint>
#include <string>

#include "include/lerv32.h"
#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

// "SELECT [f1],[f2],... FROM [base] WHERE RecId = n": the plain read.
std::string BuildSelectById(const TableDef* td, int32_t rec_id);

// Reads result column field + 1 of stmt's current row into the field of
// record (as its type letter encodes it). Types without a decoding, and
// binary fields narrower than their type, keep their bytes.
void DecodeColumn(SQLHSTMT stmt, int field, const TableDef* td, char* record);

// Whether record access calls the generated procedures for td.
bool UsesProcedures(const TableDef* td);

}  // namespace lerv32

#endif  // LERV32_RECORDS_READ_RECORD_H
