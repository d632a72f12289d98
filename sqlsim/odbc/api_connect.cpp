// Entry points: connecting, connection attributes, driver information.
#include "sqlsim/odbc/connect.h"
#include "sqlsim/odbc/connection.h"
#include "sqlsim/odbc/entry.h"
#include "sqlsim/odbc/escapes.h"
#include "sqlsim/odbc/info.h"
#include "sqlsim/odbc/out_string.h"

using namespace sqlsim::odbc;

SQLSIM_ODBC_API SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* dsn, SQLSMALLINT dsn_length,
                                             SQLCHAR*, SQLSMALLINT, SQLCHAR*, SQLSMALLINT) {
  return Guarded<Dbc>(handle, "SQLConnect", [&](Dbc& dbc) -> SQLRETURN {
    ConnectionAttributes attrs;
    attrs["DSN"] = std::string(InString(dsn, dsn_length));
    if (attrs["DSN"].empty()) return dbc.diags.Error("IM002", "Data source name not given");
    return Connect(dbc, &attrs);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND, SQLCHAR* in,
                                                   SQLSMALLINT in_length, SQLCHAR* out,
                                                   SQLSMALLINT out_max, SQLSMALLINT* out_length,
                                                   SQLUSMALLINT completion) {
  return Guarded<Dbc>(handle, "SQLDriverConnect", [&](Dbc& dbc) -> SQLRETURN {
    std::string completed;
    SQLRETURN rc = DriverConnect(dbc, InString(in, in_length), out_max, completion, &completed);
    if (rc == SQL_ERROR) return rc;
    if (CopyOutString(completed, out, out_max, out_length)) {
      return dbc.diags.Warning("01004", "String data, right truncated");
    }
    return rc;
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle) {
  return Guarded<Dbc>(handle, "SQLDisconnect", [&](Dbc& dbc) -> SQLRETURN { return Disconnect(dbc); });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attr,
                                                    SQLPOINTER value, SQLINTEGER length) {
  return Guarded<Dbc>(handle, "SQLSetConnectAttr", [&](Dbc& dbc) -> SQLRETURN {
    return SetConnectAttribute(dbc, attr, value, length);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attr,
                                                    SQLPOINTER value, SQLINTEGER buffer_length,
                                                    SQLINTEGER* string_length) {
  return Guarded<Dbc>(handle, "SQLGetConnectAttr", [&](Dbc& dbc) -> SQLRETURN {
    return GetConnectAttribute(dbc, attr, value, buffer_length, string_length);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetInfo(SQLHDBC handle, SQLUSMALLINT type, SQLPOINTER value,
                                             SQLSMALLINT buffer_length,
                                             SQLSMALLINT* string_length) {
  return Guarded<Dbc>(handle, "SQLGetInfo", [&](Dbc& dbc) -> SQLRETURN {
    return GetInfo(dbc, type, value, buffer_length, string_length);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLGetFunctions(SQLHDBC handle, SQLUSMALLINT function,
                                                  SQLUSMALLINT* supported) {
  return Guarded<Dbc>(handle, "SQLGetFunctions", [&](Dbc& dbc) -> SQLRETURN {
    return GetFunctions(dbc, function, supported);
  });
}

SQLSIM_ODBC_API SQLRETURN SQL_API SQLNativeSql(SQLHDBC handle, SQLCHAR* in, SQLINTEGER in_length,
                                               SQLCHAR* out, SQLINTEGER out_max,
                                               SQLINTEGER* out_length) {
  return Guarded<Dbc>(handle, "SQLNativeSql", [&](Dbc& dbc) -> SQLRETURN {
    if (!in) return dbc.diags.Error("HY009", "Invalid use of null pointer");
    if (out_max < 0) return dbc.diags.Error("HY090", "Invalid string or buffer length");
    if (in_length < 0 && in_length != SQL_NTS) return dbc.diags.Error("HY090", "Invalid string or buffer length");
    EscapeTranslation translated = TranslateEscapes(InString(in, in_length));
    if (!translated.ok) {
      dbc.diags.AddServer(translated.error);
      return SQL_ERROR;
    }
    if (CopyOutString(translated.text, out, out_max, out_length)) {
      return dbc.diags.Warning("01004", "String data, right truncated");
    }
    return SQL_SUCCESS;
  });
}
