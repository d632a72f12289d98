// A statement handle of record access, freed (SQL_DROP) when it goes.
#ifndef LERV32_RECORDS_ODBC_STATEMENT_H
#define LERV32_RECORDS_ODBC_STATEMENT_H

#include "frame/odbc_trace.h"
#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

class OdbcStatement {
 public:
  // Allocates on dbc; ok() tells whether that worked.
  explicit OdbcStatement(SQLHDBC dbc) {
    if (!SQL_SUCCEEDED(ODBC_CALL(SQLAllocStmt, dbc, &stmt_))) stmt_ = SQL_NULL_HSTMT;
  }
  ~OdbcStatement() {
    if (stmt_ != SQL_NULL_HSTMT) ODBC_CALL(SQLFreeStmt, stmt_, SQL_DROP);
  }
  OdbcStatement(const OdbcStatement&) = delete;
  OdbcStatement& operator=(const OdbcStatement&) = delete;

  bool ok() const { return stmt_ != SQL_NULL_HSTMT; }
  SQLHSTMT get() const { return stmt_; }

 private:
  SQLHSTMT stmt_ = SQL_NULL_HSTMT;
};

}  // namespace lerv32

#endif  // LERV32_RECORDS_ODBC_STATEMENT_H
