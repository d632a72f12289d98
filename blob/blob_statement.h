// A statement of the blob calls: prepared with one blob or part id bound, as
// every blob procedure takes it.
#ifndef LERV32_BLOB_BLOB_STATEMENT_H
#define LERV32_BLOB_BLOB_STATEMENT_H

#include <cstdint>

#include "frame/odbc_handles.h"

namespace lerv32 {

class BlobStatement {
 public:
  explicit BlobStatement(SQLHDBC dbc) : stmt_(dbc) {}

  // Prepares sql and binds its first parameter to id (kept here, as the
  // driver reads it at execution). kBlobOk, or kBlobCannotPrepare.
  int32_t Prepare(const char* sql, int32_t id);
  // Executes what Prepare made: kBlobOk or kBlobCannotExecute.
  int32_t Execute();
  // Prepare and Execute.
  int32_t Run(const char* sql, int32_t id);
  // The next row: true while there is one.
  bool Fetch();
  // The integer in column 1 of the current row: true with the value (0 for
  // NULL), false when it cannot be read.
  bool ReadInteger(int32_t* value);

  SQLHSTMT get() const { return stmt_.get(); }
  SQLRETURN last() const { return last_; }

 private:
  OdbcStatement stmt_;
  SQLINTEGER id_ = 0;
  SQLRETURN last_ = SQL_SUCCESS;
};

}  // namespace lerv32

#endif  // LERV32_BLOB_BLOB_STATEMENT_H
