#include "frame/unit_transaction.h"

#include <utility>

#include "frame/odbc_errors.h"
#include "frame/odbc_handles.h"
#include "frame/odbc_trace.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

SQLCHAR* Text(const std::string& sql) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())); }

// @@TRANCOUNT, or -1 (reported) when it cannot be read.
int32_t TransactionLevel(SQLHDBC dbc) {
  OdbcStatement stmt(dbc);
  SQLINTEGER level = -1;
  SQLLEN indicator = 0;
  if (!stmt.ok() ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLExecDirect, stmt.get(), Text("SELECT @@TRANCOUNT"), SQL_NTS)) ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLFetch, stmt.get())) ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLGetData, stmt.get(), 1, SQL_C_LONG, &level, sizeof level, &indicator)) ||
      indicator == SQL_NULL_DATA) {
    OdbcReportErrors(dbc, stmt.get(), 0);
    return -1;
  }
  return level;
}

}  // namespace

UnitTransaction::UnitTransaction(SQLHDBC dbc, std::string save_point) : dbc_(dbc), save_point_(std::move(save_point)) {
  const int32_t outer = TransactionLevel(dbc_);
  if (outer < 0 || !Run("BEGIN TRANSACTION")) return;
  if (outer > 0 && !Run("SAVE TRANSACTION " + save_point_)) {
    Run("COMMIT TRANSACTION");
    return;
  }
  outer_ = outer;
}

bool UnitTransaction::Commit() { return begun() && Run("IF @@TRANCOUNT > 0 COMMIT TRANSACTION"); }

void UnitTransaction::TakeBack() {
  if (!begun()) return;
  if (outer_ == 0) {
    Run("IF @@TRANCOUNT > 0 ROLLBACK TRANSACTION");
    return;
  }
  // A failure the server ended the whole transaction for leaves nothing to
  // take back at this level.
  const std::string level = std::to_string(outer_);
  Run("IF @@TRANCOUNT > " + level + " BEGIN ROLLBACK TRANSACTION " + save_point_ + "; COMMIT TRANSACTION END");
}

bool UnitTransaction::Run(const std::string& sql) {
  OdbcStatement stmt(dbc_);
  if (!stmt.ok() || !SQL_SUCCEEDED(ODBC_CALL(SQLExecDirect, stmt.get(), Text(sql), SQL_NTS))) {
    OdbcReportErrors(dbc_, stmt.get(), 0);
    return false;
  }
  return true;
}

}  // namespace lerv32
