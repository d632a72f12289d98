// Entry points for applications that speak UTF-16: statements and the
// description of their results. SQL text and names cross in the server's
// code page; a character it lacks arrives as '?'.
#include <string>

#include "sqlsim/odbc/entry.h"
#include "sqlsim/odbc/wide_text.h"

using namespace sqlsim::odbc;

namespace {

// The fields of SQLColAttribute that are character strings; the others
// are numbers and pass unchanged.
bool IsTextField(SQLUSMALLINT field) {
  switch (field) {
    case SQL_COLUMN_NAME:
    case SQL_DESC_NAME: case SQL_DESC_LABEL: case SQL_DESC_BASE_COLUMN_NAME:
    case SQL_DESC_TABLE_NAME: case SQL_DESC_BASE_TABLE_NAME: case SQL_DESC_SCHEMA_NAME:
    case SQL_DESC_CATALOG_NAME: case SQL_DESC_TYPE_NAME: case SQL_DESC_LOCAL_TYPE_NAME:
    case SQL_DESC_LITERAL_PREFIX: case SQL_DESC_LITERAL_SUFFIX:
      return true;
    default:
      return false;
  }
}

SQLRETURN Truncated(Stmt& s) { return s.diags.Warning("01004", "String data, right truncated"); }

}  // namespace

SQLSIM_ODBC_API SQLRETURN SQL_API SQLExecDirectW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length) {
  return Guarded<Stmt>(handle, "SQLExecDirectW", [&](Stmt&) -> SQLRETURN {
    NarrowText sql(text, length);
    return SQLExecDirect(handle, sql.text(), sql.length());
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLPrepareW(SQLHSTMT handle, SQLWCHAR* text, SQLINTEGER length) {
  return Guarded<Stmt>(handle, "SQLPrepareW", [&](Stmt&) -> SQLRETURN {
    NarrowText sql(text, length);
    return SQLPrepare(handle, sql.text(), sql.length());
  });
}

// The name's buffer and length count characters.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLDescribeColW(SQLHSTMT handle, SQLUSMALLINT column, SQLWCHAR* name,
                                                  SQLSMALLINT name_max, SQLSMALLINT* name_length,
                                                  SQLSMALLINT* sql_type, SQLULEN* size, SQLSMALLINT* digits,
                                                  SQLSMALLINT* nullable) {
  return Guarded<Stmt>(handle, "SQLDescribeColW", [&](Stmt& s) -> SQLRETURN {
    if (name_max < 0) return s.diags.Error("HY090", "Invalid string or buffer length");
    std::string narrow;
    SQLRETURN rc = ReadNarrow<SQLSMALLINT>(&narrow, [&](SQLCHAR* b, SQLSMALLINT n, SQLSMALLINT* l) {
      return SQLDescribeCol(handle, column, b, n, l, sql_type, size, digits, nullable);
    });
    if (!SQL_SUCCEEDED(rc)) return rc;
    return CopyOutWideChars(narrow, name, name_max, name_length) ? Truncated(s) : rc;
  });
}

// A text field's buffer and length count bytes.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLColAttributeW(SQLHSTMT handle, SQLUSMALLINT column, SQLUSMALLINT field,
                                                   SQLPOINTER text, SQLSMALLINT text_max,
                                                   SQLSMALLINT* text_length, SQLLEN* number) {
  return Guarded<Stmt>(handle, "SQLColAttributeW", [&](Stmt& s) -> SQLRETURN {
    if (!IsTextField(field)) return SQLColAttribute(handle, column, field, text, text_max, text_length, number);
    std::string narrow;
    SQLRETURN rc = ReadNarrow<SQLSMALLINT>(&narrow, [&](SQLCHAR* b, SQLSMALLINT n, SQLSMALLINT* l) {
      return SQLColAttribute(handle, column, field, b, n, l, number);
    });
    if (!SQL_SUCCEEDED(rc)) return rc;
    if (text_max < 0) return s.diags.Error("HY090", "Invalid string or buffer length");
    return CopyOutWideBytes(narrow, text, text_max, text_length) ? Truncated(s) : rc;
  });
}

// No statement attribute is a string: they pass as they come.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLSetStmtAttrW(SQLHSTMT handle, SQLINTEGER attr, SQLPOINTER value,
                                                  SQLINTEGER length) {
  return Guarded<Stmt>(handle, "SQLSetStmtAttrW", [&](Stmt&) -> SQLRETURN {
    return SQLSetStmtAttr(handle, attr, value, length);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetStmtAttrW(SQLHSTMT handle, SQLINTEGER attr, SQLPOINTER value,
                                                  SQLINTEGER buffer_length, SQLINTEGER* string_length) {
  return Guarded<Stmt>(handle, "SQLGetStmtAttrW", [&](Stmt&) -> SQLRETURN {
    return SQLGetStmtAttr(handle, attr, value, buffer_length, string_length);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetTypeInfoW(SQLHSTMT handle, SQLSMALLINT data_type) {
  return Guarded<Stmt>(handle, "SQLGetTypeInfoW", [&](Stmt&) -> SQLRETURN {
    return SQLGetTypeInfo(handle, data_type);
  });
}
