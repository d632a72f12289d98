#!/usr/bin/env bash
# The driver exports the ODBC entry points the driver manager looks for and
# nothing else (no C++ symbols of the engine inside).
#   check_driver_exports.sh LIBRARY
set -euo pipefail
library=$1
exported=$(nm -D --defined-only "$library" | awk '$2 ~ /^[TWi]$/ {print $3}' | sort -u)
required="SQLAllocHandle SQLBindCol SQLBindParameter SQLColAttribute SQLConnect SQLDescribeCol
SQLDescribeParam SQLDisconnect SQLDriverConnect SQLEndTran SQLExecDirect SQLExecute SQLExtendedFetch SQLFetch
SQLFetchScroll SQLFreeHandle SQLFreeStmt SQLGetConnectAttr SQLGetData SQLGetDiagField
SQLGetDiagRec SQLGetFunctions SQLGetInfo SQLGetStmtAttr SQLMoreResults SQLNumResultCols
SQLParamData SQLPrepare SQLPutData SQLRowCount SQLSetConnectAttr SQLSetEnvAttr SQLSetStmtAttr
SQLTables SQLColumns SQLPrimaryKeys SQLForeignKeys SQLStatistics SQLSpecialColumns SQLProcedures
SQLProcedureColumns SQLTablesW SQLColumnsW SQLPrimaryKeysW SQLForeignKeysW SQLStatisticsW
SQLSpecialColumnsW SQLProceduresW SQLProcedureColumnsW SQLExecDirectW SQLPrepareW SQLNativeSqlW
SQLGetDiagRecW SQLGetDiagFieldW SQLDescribeColW SQLColAttributeW SQLConnectW SQLDriverConnectW SQLGetInfoW
SQLGetConnectAttrW SQLSetConnectAttrW SQLGetStmtAttrW SQLSetStmtAttrW SQLGetTypeInfoW"
status=0
for name in $required; do
  grep -qx "$name" <<<"$exported" || { echo "missing: $name"; status=1; }
done
others=$(grep -v '^SQL' <<<"$exported" || true)
[ -z "$others" ] || { echo "exported besides the ODBC entry points:"; echo "$others"; status=1; }
[ $status -eq 0 ] && echo "$(basename "$library"): $(wc -l <<<"$exported") ODBC entry points"
exit $status
