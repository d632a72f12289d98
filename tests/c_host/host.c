/* A host program in plain C that knows the library only through its public
 * header: it catches declaration and calling-convention mistakes that C++
 * tests would not. Run with an empty settings store. */
#include <stdio.h>
#include <string.h>

#include "lerv32.h"

static int passed = 0;
static int failed = 0;

static void Check(int ok, const char* what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    printf("FAILED: %s\n", what);
  }
}

int main(void) {
  LERV32_HDBC connection;
  char connect[256] = "DRIVER=NoSuchDriver;";

  Check(rv_GetDllInstance() != NULL, "module handle");
  Check(rv_GetEnvHandle() != NULL, "environment");
  Check(rv_GetExtendedLevel() == 1, "default procedure switch");
  Check(rv_GetOemConvert() == 1, "default OEM conversion");
  Check(rv_SetOemConvert(5) == 1, "setter returns the old value");
  Check(rv_GetOemConvert() == 5, "setter stores the new value");
  Check(rv_SetExtendedLevel(0) == 1 && rv_GetExtendedLevel() == 0, "procedure switch");
  Check(rv_GetMemUsage(0) >= 0 && rv_GetMemUsage(1) >= 0, "memory counters");

  connection = rv_OdbcConnect("lerv32_test", "", "");
  Check(connection != NULL, "connect to the test data source");
  if (connection != NULL) Check(rv_OdbcDisconnect(connection) == 0, "disconnect");
  Check(rv_OdbcConnect("no_such_source", "", "") == NULL, "unknown data source");
  Check(rv_OdbcDriverConnectEx(NULL, connect, 2) == NULL, "unknown driver");
  Check(strcmp(connect, "DRIVER=NoSuchDriver;") == 0, "failed connect leaves the string");

  printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
