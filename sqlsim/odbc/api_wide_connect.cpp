// Entry points for applications that speak UTF-16: connecting, connection
// attributes, driver information and SQLNativeSql.
#include <optional>
#include <string>

#include "sqlsim/odbc/connect.h"
#include "sqlsim/odbc/entry.h"
#include "sqlsim/odbc/info.h"
#include "sqlsim/odbc/out_string.h"
#include "sqlsim/odbc/wide_text.h"

using namespace sqlsim::odbc;

namespace {

SQLRETURN Truncated(Dbc& dbc) { return dbc.diags.Warning("01004", "String data, right truncated"); }

}  // namespace

SQLSIM_ODBC_API SQLRETURN SQL_API SQLConnectW(SQLHDBC handle, SQLWCHAR* dsn, SQLSMALLINT dsn_length,
                                              SQLWCHAR* user, SQLSMALLINT user_length, SQLWCHAR* password,
                                              SQLSMALLINT password_length) {
  return Guarded<Dbc>(handle, "SQLConnectW", [&](Dbc&) -> SQLRETURN {
    NarrowText d(dsn, dsn_length, Narrow::kUtf8), u(user, user_length, Narrow::kUtf8),
        p(password, password_length, Narrow::kUtf8);
    return SQLConnect(handle, d.text(), d.length(), u.text(), u.length(), p.text(), p.length());
  });
}

// Both connection strings count characters. They hold paths, which are
// UTF-8 here.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC handle, SQLHWND, SQLWCHAR* in, SQLSMALLINT in_length,
                                                    SQLWCHAR* out, SQLSMALLINT out_max, SQLSMALLINT* out_length,
                                                    SQLUSMALLINT completion) {
  return Guarded<Dbc>(handle, "SQLDriverConnectW", [&](Dbc& dbc) -> SQLRETURN {
    NarrowText text(in, in_length, Narrow::kUtf8);
    std::string completed;
    SQLRETURN rc = DriverConnect(dbc, InString(text.text(), text.length()), out_max, completion, &completed);
    if (rc == SQL_ERROR) return rc;
    return CopyOutWideChars(completed, out, out_max, out_length, Narrow::kUtf8) ? Truncated(dbc) : rc;
  });
}

// A string attribute's value and lengths count bytes; the only one is the
// current catalog, the others pass as they come.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLSetConnectAttrW(SQLHDBC handle, SQLINTEGER attr, SQLPOINTER value,
                                                     SQLINTEGER length) {
  return Guarded<Dbc>(handle, "SQLSetConnectAttrW", [&](Dbc&) -> SQLRETURN {
    if (attr != SQL_ATTR_CURRENT_CATALOG) return SQLSetConnectAttr(handle, attr, value, length);
    SQLINTEGER chars = length >= 0 ? length / static_cast<SQLINTEGER>(sizeof(SQLWCHAR)) : length;
    NarrowText name(static_cast<const SQLWCHAR*>(value), chars);
    return SQLSetConnectAttr(handle, attr, name.text(), name.length());
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetConnectAttrW(SQLHDBC handle, SQLINTEGER attr, SQLPOINTER value,
                                                     SQLINTEGER buffer_length, SQLINTEGER* string_length) {
  return Guarded<Dbc>(handle, "SQLGetConnectAttrW", [&](Dbc& dbc) -> SQLRETURN {
    if (attr != SQL_ATTR_CURRENT_CATALOG) {
      return SQLGetConnectAttr(handle, attr, value, buffer_length, string_length);
    }
    std::string narrow;
    SQLRETURN rc = ReadNarrow<SQLINTEGER>(&narrow, [&](SQLCHAR* b, SQLINTEGER n, SQLINTEGER* l) {
      return SQLGetConnectAttr(handle, attr, b, n, l);
    });
    if (!SQL_SUCCEEDED(rc)) return rc;
    return CopyOutWideBytes(narrow, value, buffer_length, string_length) ? Truncated(dbc) : rc;
  });
}

// A string answer and its lengths count bytes.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetInfoW(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value,
                                              SQLSMALLINT buffer_length, SQLSMALLINT* string_length) {
  return Guarded<Dbc>(handle, "SQLGetInfoW", [&](Dbc& dbc) -> SQLRETURN {
    std::optional<std::string> text = InfoText(dbc, type);
    if (!text) return SQLGetInfo(handle, type, value, buffer_length, string_length);
    if (buffer_length < 0) return dbc.diags.Error("HY090", "Invalid string or buffer length");
    return CopyOutWideBytes(*text, value, buffer_length, string_length) ? Truncated(dbc) : SQL_SUCCESS;
  });
}

// Both statements count characters.
SQLSIM_ODBC_API SQLRETURN SQL_API SQLNativeSqlW(SQLHDBC handle, SQLWCHAR* in, SQLINTEGER in_length, SQLWCHAR* out,
                                                SQLINTEGER out_max, SQLINTEGER* out_length) {
  return Guarded<Dbc>(handle, "SQLNativeSqlW", [&](Dbc& dbc) -> SQLRETURN {
    if (in && out_max < 0) return dbc.diags.Error("HY090", "Invalid string or buffer length");
    NarrowText sql(in, in_length);
    std::string narrow;
    SQLRETURN rc = ReadNarrow<SQLINTEGER>(&narrow, [&](SQLCHAR* b, SQLINTEGER n, SQLINTEGER* l) {
      return SQLNativeSql(handle, sql.text(), sql.length(), b, n, l);
    });
    if (!SQL_SUCCEEDED(rc)) return rc;
    return CopyOutWideChars(narrow, out, out_max, out_length) ? Truncated(dbc) : rc;
  });
}
