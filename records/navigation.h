// Walking a table in the order of a key (or of RecId): first, last, next and
// prior record id, through the key's generated procedures or plain SQL.
#ifndef LERV32_RECORDS_NAVIGATION_H
#define LERV32_RECORDS_NAVIGATION_H

#include <cstdint>
#include <string>

#include "include/lerv32.h"
#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

// Column 1 of the first row of an executed statement as a RecId; 0 when the
// result has another number of columns, no row, or NULL. failed, when given,
// tells whether the driver failed to give the row (not: there is none).
int32_t ReadSingleRecId(SQLHSTMT stmt, bool* failed = nullptr);

// Runs sql and returns column 1 of its first row as a RecId; 0 when there is
// no row, the result has another number of columns, or the value is NULL.
// Failed allocation, execution or fetch is reported, and set in failed when
// given.
int32_t FetchSingleRecId(SQLHDBC dbc, const std::string& sql, bool* failed = nullptr);

// Appends " ORDER BY [f1][ DESC],[f2][ DESC],...,RecId[ DESC]" of key.
void BuildKeyOrderBy(std::string* out, const TableDef* td, int key, bool descending);

// Whether record access on td may go ahead: a connection handle that can be
// one (PlausibleHandle) and a valid definition (ValidTableDef).
bool Usable(LERV32_HDBC connection, const TableDef* td);

// Whether key is RecId order (negative) or a key of td whose fields all
// exist (a definition may be garbage).
bool ValidKey(const TableDef* td, int key);

// What a plain statement selects the rows of key from, named alias: the
// table, or with a key filter only the rows that pass it, the rows the key's
// procedures see.
std::string KeyRows(const TableDef* td, int key, const char* alias);

// "[up_Next_<base>_<key>]" for the prefix "up_Next_".
std::string KeyProcedureName(const char* prefix, const TableDef* td, int key);

// The w bytes of text at p up to a zero byte as an SQL literal: quotes
// doubled, trailing blanks cut but one, in ANSI when OemConvert is on.
std::string TextLiteral(const char* p, int w);

// The value of a field (its bytes at p) as an SQL literal.
std::string FieldSqlLiteral(const TableDef* td, int field, const char* p);

// The next (prior) record id from rec_id in the order of key (RecId order
// when negative), through the key's procedure or plain SQL; 0 when there is
// none or a statement failed (reported; set in failed when given).
int32_t NextOrPrior(SQLHDBC dbc, const TableDef* td, int key, int32_t rec_id, bool prior, bool* failed = nullptr);

// The plain-SQL step to the next (prior) record in key order from rec_id,
// comparing with the values the server holds for rec_id; 0 when there is
// none or rec_id is gone, or a statement failed (reported; set in failed).
int32_t StepByKeySql(SQLHDBC dbc, const TableDef* td, int key, int32_t rec_id, bool prior, bool* failed = nullptr);

}  // namespace lerv32

#endif  // LERV32_RECORDS_NAVIGATION_H
