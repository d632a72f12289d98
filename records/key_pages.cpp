// Pages of up to fifty record ids that follow or precede a record in a key's
// order, for list displays. Key tables have a procedure for a page; the
// direct form has none, so its page is walked step by step on the same
// connection, which gives the same ids in the same order.
#include <algorithm>

#include "frame/export_guard.h"
#include "frame/odbc_errors.h"
#include "frame/odbc_trace.h"
#include "records/navigation.h"
#include "frame/odbc_handles.h"

#include <sqlext.h>

namespace lerv32 {
namespace {

constexpr int kPageSize = 50;

// A page is read into page only whole: a failure in its middle (the
// connection lost) is reported and gives 0, never a short page that would
// look like the end of the table.
int32_t PageByProcedure(SQLHDBC dbc, const TableDef* td, int key, int32_t rec_id, int32_t* page, bool prior) {
  std::string sql = "EXECUTE " + KeyProcedureName(prior ? "up_Prior50_" : "up_Next50_", td, key) + " " +
                    std::to_string(rec_id);
  OdbcStatement stmt(dbc);
  if (!stmt.ok()) return 0;
  SQLHSTMT h = stmt.get();
  SQLSMALLINT columns = 0;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLExecDirect, h, reinterpret_cast<SQLCHAR*>(sql.data()), SQL_NTS)) ||
      !SQL_SUCCEEDED(ODBC_CALL(SQLNumResultCols, h, &columns)) || columns != 1) {
    OdbcReportErrors(dbc, h, 0);
    return 0;
  }
  SQLINTEGER id = 0;
  SQLLEN indicator = 0;
  if (!SQL_SUCCEEDED(ODBC_CALL(SQLBindCol, h, 1, SQL_C_LONG, &id, sizeof id, &indicator))) return 0;
  int32_t read[kPageSize];
  int32_t count = 0;
  while (count < kPageSize) {
    const SQLRETURN fetched = ODBC_CALL(SQLFetch, h);
    if (fetched == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(fetched)) {
      OdbcReportErrors(dbc, h, 0);
      return 0;
    }
    if (indicator == SQL_NULL_DATA) break;
    read[count++] = id;
  }
  std::copy(read, read + count, page);
  return count;
}

int32_t PageBySteps(SQLHDBC dbc, const TableDef* td, int key, int32_t rec_id, int32_t* page, bool prior) {
  int32_t read[kPageSize];
  int32_t count = 0;
  for (int32_t id = rec_id; count < kPageSize;) {
    bool failed = false;
    id = NextOrPrior(dbc, td, key, id, prior, &failed);
    if (failed) return 0;
    if (id == 0) break;
    read[count++] = id;
  }
  std::copy(read, read + count, page);
  return count;
}

}  // namespace
}  // namespace lerv32

extern "C" int32_t LERV32_CALL rv_OdbcPrevNext50(LERV32_HDBC connection, const TableDef* td, int32_t rec_id,
                                                 int32_t* page, int32_t prior, int32_t key) {
  return lerv32::GuardedOn<int32_t>(connection, 0, [&] {
    if (!lerv32::Usable(connection, td) || page == nullptr || key < 0 || !lerv32::ValidKey(td, key)) return 0;
    SQLHDBC dbc = static_cast<SQLHDBC>(connection);
    if (td->UseKeyTable != 0) return lerv32::PageByProcedure(dbc, td, key, rec_id, page, prior != 0);
    return lerv32::PageBySteps(dbc, td, key, rec_id, page, prior != 0);
  });
}
