// The one reporter of failed ODBC calls of record access: every pending
// diagnostic goes to the event log and, when Display_Errors is on, to a
// message box the user may stop.
#ifndef LERV32_FRAME_ODBC_ERRORS_H
#define LERV32_FRAME_ODBC_ERRORS_H

#include <cstdint>

#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

// Drains the diagnostics of dbc and stmt (either may be null). retry_pending
// is 1 when the caller tries again after an integrity violation: those are
// then logged but not shown. Returns 1 when a record had SQLSTATE "23000".
int32_t OdbcReportErrors(SQLHDBC dbc, SQLHSTMT stmt, int32_t retry_pending);

}  // namespace lerv32

#endif  // LERV32_FRAME_ODBC_ERRORS_H
