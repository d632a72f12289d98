#include "platform/win_api.h"

#include <sqlext.h>

#include "blob/blob_transfer.h"
#include "frame/odbc_trace.h"

namespace lerv32 {

BlobWriteTransaction::BlobWriteTransaction(SQLHDBC dbc) : dbc_(dbc), work_(dbc) {
  SQLULEN autocommit = SQL_AUTOCOMMIT_OFF;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLGetConnectOption, dbc_, SQL_AUTOCOMMIT, &autocommit)) ||
      autocommit != SQL_AUTOCOMMIT_ON) {
    return;
  }
  own_ = SQL_SUCCEEDED(ODBC_CALL(SQLSetConnectOption, dbc_, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_OFF));
}

int32_t BlobWriteTransaction::Finish(int32_t result) {
  if (!own_ || finished_) return result;
  finished_ = true;
  const SQLSMALLINT end = result == kBlobOk ? SQL_COMMIT : SQL_ROLLBACK;
  const bool ended = SQL_SUCCEEDED(ODBC_CALL(SQLEndTran, SQL_HANDLE_DBC, dbc_, end));
  ODBC_CALL(SQLSetConnectOption, dbc_, SQL_AUTOCOMMIT, SQL_AUTOCOMMIT_ON);
  return result == kBlobOk && !ended ? kBlobCannotExecute : result;
}

BlobWriteTransaction::~BlobWriteTransaction() {
  if (own_ && !finished_) Finish(kBlobUnexpectedResult);
}

}  // namespace lerv32
