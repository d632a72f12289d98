// A result value converted into an application's buffer of some C type,
// with ODBC's warnings and errors: 01004 cut character or binary data,
// 01S07 fractional truncation, 22003 out of range, 22018 invalid
// character value, 07006 a conversion ODBC does not allow.
#pragma once

#include <string>
#include <string_view>

#include "sqlsim/engine/engine.h"
#include "sqlsim/odbc/odbc_api.h"

namespace sqlsim::odbc {

// ODBC's message of state 22018, in the words of the ODBC reference.
inline constexpr const char* kInvalidCharacterValue =
    "Invalid character value for cast specification";

struct CellOutcome {
  SQLRETURN rc = SQL_SUCCESS;
  SQLLEN length = 0;        // for the length/indicator buffer
  std::string sqlstate;     // of a warning or an error; "" when none
  std::string message;

  static CellOutcome Fail(std::string_view state, std::string_view message);
  void Warn(std::string_view state, std::string_view text);
};

// SQL_C_CHAR, SQL_C_WCHAR and SQL_C_BINARY: read in pieces by SQLGetData.
bool IsVariableCType(SQLSMALLINT c_type);
// Bytes of one value of a fixed-size C type; 0 for variable or unknown.
size_t FixedCTypeSize(SQLSMALLINT c_type);
bool IsKnownCType(SQLSMALLINT c_type);

// What a character or binary buffer receives for a non-null value,
// without terminator. numeric tells that it is a number written as text
// (its whole digits must fit). False with the failure filled in when the
// conversion is not allowed.
bool VariableBytes(const Value& v, const ColumnDesc& column, SQLSMALLINT c_type,
                   std::string* bytes, bool* numeric, CellOutcome* failure);

// 22003 when the whole digits of numeric text do not fit the buffer.
bool NumberFits(std::string_view bytes, SQLSMALLINT c_type, SQLLEN buffer_length);

// Characters a piece keeps together: 2 for binary data read as text (the
// hex digits of one byte), else 1.
size_t PieceGrain(const Value& v, SQLSMALLINT c_type);

// Copies bytes from *offset on (zero-terminated for character types) in
// whole grains of characters, advancing *offset; length is what remained
// before the copy; 01004 when some is left.
CellOutcome CopyPiece(std::string_view bytes, size_t* offset, SQLSMALLINT c_type,
                      void* buffer, SQLLEN buffer_length, size_t grain = 1);

// A non-null value into a fixed-size C type.
CellOutcome ConvertFixed(const Value& v, const ColumnDesc& column,
                         SQLSMALLINT c_type, void* buffer);

// A whole value at once, as bound columns receive it. A null value gives
// length SQL_NULL_DATA and writes nothing.
CellOutcome TransferCell(const Value& v, const ColumnDesc& column,
                         SQLSMALLINT c_type, void* buffer, SQLLEN buffer_length);

}  // namespace sqlsim::odbc
