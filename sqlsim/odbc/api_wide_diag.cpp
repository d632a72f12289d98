// Entry points for applications that speak UTF-16: diagnostics. Like their
// 8-bit forms they leave the records of the handle as they are.
#include <string>

#include "sqlsim/odbc/entry.h"
#include "sqlsim/odbc/wide_text.h"

using namespace sqlsim::odbc;

namespace {

// The fields of a diagnostic record or header that are character strings.
bool IsTextField(SQLSMALLINT field) {
  switch (field) {
    case SQL_DIAG_SQLSTATE: case SQL_DIAG_MESSAGE_TEXT: case SQL_DIAG_CLASS_ORIGIN:
    case SQL_DIAG_SUBCLASS_ORIGIN: case SQL_DIAG_CONNECTION_NAME: case SQL_DIAG_SERVER_NAME:
    case SQL_DIAG_DYNAMIC_FUNCTION:
      return true;
    default:
      return false;
  }
}

}  // namespace

// The message's buffer and length count characters.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetDiagRecW(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT rec,
                                                 SQLWCHAR* state, SQLINTEGER* native, SQLWCHAR* text,
                                                 SQLSMALLINT text_max, SQLSMALLINT* text_length) {
  // The 8-bit function refuses the handle or the length alike.
  if (text_max < 0) return SQLGetDiagRec(type, handle, rec, nullptr, nullptr, nullptr, text_max, nullptr);
  try {
    SQLCHAR narrow_state[6] = {};
    std::string message;
    SQLRETURN rc = ReadNarrow<SQLSMALLINT>(&message, [&](SQLCHAR* b, SQLSMALLINT n, SQLSMALLINT* l) {
      return SQLGetDiagRec(type, handle, rec, narrow_state, native, b, n, l);
    });
    if (!SQL_SUCCEEDED(rc)) return rc;
    if (state) CopyOutWideChars<SQLSMALLINT>(reinterpret_cast<const char*>(narrow_state), state, 6, nullptr);
    return CopyOutWideChars(message, text, text_max, text_length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
  } catch (...) {
    return SQL_ERROR;
  }
}

// A text field's buffer and length count bytes; the numbers pass unchanged.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetDiagFieldW(SQLSMALLINT type, SQLHANDLE handle, SQLSMALLINT rec,
                                                   SQLSMALLINT field, SQLPOINTER value, SQLSMALLINT value_max,
                                                   SQLSMALLINT* value_length) {
  if (!IsTextField(field) || (value && value_max < 0)) {
    return SQLGetDiagField(type, handle, rec, field, value, value_max, value_length);
  }
  try {
    std::string narrow;
    SQLRETURN rc = ReadNarrow<SQLSMALLINT>(&narrow, [&](SQLCHAR* b, SQLSMALLINT n, SQLSMALLINT* l) {
      return SQLGetDiagField(type, handle, rec, field, b, n, l);
    });
    if (!SQL_SUCCEEDED(rc)) return rc;
    return CopyOutWideBytes(narrow, value, value_max, value_length) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
  } catch (...) {
    return SQL_ERROR;
  }
}
