// Every ODBC call of the library goes through ODBC_CALL, so that a run can
// be traced: with LERV32_ODBC_TRACE naming a file, each call appends a line
// with its name and return code.
#ifndef LERV32_FRAME_ODBC_TRACE_H
#define LERV32_FRAME_ODBC_TRACE_H

#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

bool OdbcTraceEnabled();
void OdbcTraceWrite(const char* call, SQLRETURN rc);

inline SQLRETURN OdbcTraced(const char* call, SQLRETURN rc) {
  if (OdbcTraceEnabled()) OdbcTraceWrite(call, rc);
  return rc;
}

}  // namespace lerv32

#define ODBC_CALL(function, ...) ::lerv32::OdbcTraced(#function, function(__VA_ARGS__))

#endif  // LERV32_FRAME_ODBC_TRACE_H
