// The ODBC headers as the driver includes them, and the macro that exports
// an entry point from the otherwise hidden library.
#pragma once

#include <sql.h>
#include <sqlext.h>

#define SQLSIM_ODBC_API extern "C" __attribute__((visibility("default")))
