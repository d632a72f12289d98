#include "blob/blob_statement.h"

#include <sqlext.h>

#include "blob/blob_transfer.h"

namespace lerv32 {

int32_t BlobStatement::Prepare(const char* sql, int32_t id) {
  if (!stmt_.ok()) return kBlobCannotPrepare;
  id_ = id;
  last_ = ODBC_CALL(SQLPrepare, stmt_.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS);
  if (!SQL_SUCCEEDED(last_)) return kBlobCannotPrepare;
  // Signed: an id that no blob can have (a negative one) finds nothing
  // rather than overflowing the integer parameter.
  last_ = ODBC_CALL(SQLBindParameter, stmt_.get(), 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &id_, 0,
                    nullptr);
  return SQL_SUCCEEDED(last_) ? kBlobOk : kBlobCannotPrepare;
}

int32_t BlobStatement::Execute() {
  last_ = ODBC_CALL(SQLExecute, stmt_.get());
  return SQL_SUCCEEDED(last_) ? kBlobOk : kBlobCannotExecute;
}

int32_t BlobStatement::Run(const char* sql, int32_t id) {
  const int32_t prepared = Prepare(sql, id);
  return prepared != kBlobOk ? prepared : Execute();
}

bool BlobStatement::Fetch() {
  last_ = ODBC_CALL(SQLFetch, stmt_.get());
  return SQL_SUCCEEDED(last_);
}

bool BlobStatement::ReadInteger(int32_t* value) {
  SQLINTEGER number = 0;
  SQLLEN indicator = 0;
  last_ = ODBC_CALL(SQLGetData, stmt_.get(), 1, SQL_C_LONG, &number, sizeof number, &indicator);
  if (!SQL_SUCCEEDED(last_)) return false;
  *value = indicator == SQL_NULL_DATA ? 0 : number;
  return true;
}

}  // namespace lerv32
