// SQLGetFunctions: exactly the entry points the driver exports.
#include <algorithm>
#include <cstring>

#include "sqlsim/odbc/info.h"

namespace sqlsim::odbc {

namespace {

const SQLUSMALLINT kFunctions[] = {
    SQL_API_SQLALLOCHANDLE,     SQL_API_SQLFREEHANDLE,    SQL_API_SQLSETENVATTR,
    SQL_API_SQLGETENVATTR,      SQL_API_SQLCONNECT,       SQL_API_SQLDRIVERCONNECT,
    SQL_API_SQLDISCONNECT,      SQL_API_SQLSETCONNECTATTR, SQL_API_SQLGETCONNECTATTR,
    SQL_API_SQLGETINFO,         SQL_API_SQLGETFUNCTIONS,  SQL_API_SQLPREPARE,
    SQL_API_SQLEXECUTE,         SQL_API_SQLEXECDIRECT,    SQL_API_SQLNUMPARAMS,
    SQL_API_SQLBINDPARAMETER,   SQL_API_SQLPARAMDATA,     SQL_API_SQLPUTDATA,
    SQL_API_SQLNUMRESULTCOLS,   SQL_API_SQLDESCRIBECOL,   SQL_API_SQLCOLATTRIBUTE,
    SQL_API_SQLBINDCOL,         SQL_API_SQLFETCH,         SQL_API_SQLFETCHSCROLL,
    SQL_API_SQLEXTENDEDFETCH,   SQL_API_SQLSETPOS,        SQL_API_SQLGETDATA,
    SQL_API_SQLROWCOUNT,        SQL_API_SQLMORERESULTS,   SQL_API_SQLFREESTMT,
    SQL_API_SQLCLOSECURSOR,     SQL_API_SQLCANCEL,        SQL_API_SQLENDTRAN,
    SQL_API_SQLSETSTMTATTR,     SQL_API_SQLGETSTMTATTR,   SQL_API_SQLGETDIAGREC,
    SQL_API_SQLGETDIAGFIELD,    SQL_API_SQLNATIVESQL,     SQL_API_SQLGETTYPEINFO,
    SQL_API_SQLTABLES,          SQL_API_SQLCOLUMNS,       SQL_API_SQLPRIMARYKEYS,
    SQL_API_SQLFOREIGNKEYS,     SQL_API_SQLSTATISTICS,    SQL_API_SQLSPECIALCOLUMNS,
    SQL_API_SQLPROCEDURES,      SQL_API_SQLPROCEDURECOLUMNS, SQL_API_SQLDESCRIBEPARAM,
};

bool Supported(SQLUSMALLINT id) {
  return std::find(std::begin(kFunctions), std::end(kFunctions), id) != std::end(kFunctions);
}

}  // namespace

SQLRETURN GetFunctions(Dbc& dbc, SQLUSMALLINT function, SQLUSMALLINT* supported) {
  if (!supported) return dbc.diags.Error("HY009", "Invalid use of null pointer");
  if (function == SQL_API_ODBC3_ALL_FUNCTIONS) {
    std::memset(supported, 0, sizeof(SQLUSMALLINT) * SQL_API_ODBC3_ALL_FUNCTIONS_SIZE);
    for (SQLUSMALLINT id : kFunctions) {
      supported[id >> 4] = static_cast<SQLUSMALLINT>(supported[id >> 4] | (1u << (id & 0xF)));
    }
    return SQL_SUCCESS;
  }
  if (function == SQL_API_ALL_FUNCTIONS) {
    for (SQLUSMALLINT id = 0; id < 100; ++id) supported[id] = Supported(id) ? SQL_TRUE : SQL_FALSE;
    return SQL_SUCCESS;
  }
  *supported = Supported(function) ? SQL_TRUE : SQL_FALSE;
  return SQL_SUCCESS;
}

}  // namespace sqlsim::odbc
