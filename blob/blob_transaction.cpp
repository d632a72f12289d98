#include "platform/win_api.h"

#include <sqlext.h>

#include "blob/blob_transfer.h"
#include "frame/odbc_trace.h"

namespace lerv32 {

BlobWriteTransaction::BlobWriteTransaction(SQLHDBC dbc) : work_(dbc) {
  SQLULEN autocommit = SQL_AUTOCOMMIT_OFF;
  if (SQL_SUCCEEDED(ODBC_CALL(SQLGetConnectOption, dbc, SQL_AUTOCOMMIT, &autocommit)) &&
      autocommit == SQL_AUTOCOMMIT_ON) {
    unit_.emplace(dbc, "lerv32_blob");
  }
}

int32_t BlobWriteTransaction::Finish(int32_t result) {
  if (!unit_ || finished_) return result;
  finished_ = true;
  if (!unit_->begun()) return kBlobCannotExecute;
  if (result == kBlobOk && unit_->Commit()) return result;
  unit_->TakeBack();
  return result == kBlobOk ? kBlobCannotExecute : result;
}

BlobWriteTransaction::~BlobWriteTransaction() {
  if (unit_ && !finished_) Finish(kBlobUnexpectedResult);
}

}  // namespace lerv32
