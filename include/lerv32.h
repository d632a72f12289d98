/*
 * LERV32 - record access for ISAM-style applications on SQL Server over ODBC.
 *
 * Rules that hold for every export below:
 * - Exports use the standard Windows calling convention on 32-bit Windows
 *   (LERV32_CALL) and carry their plain names.
 * - Integers are signed 32-bit unless a declaration says otherwise.
 * - Results: 1 (or a handle) for success, 0 (or null) for failure.
 * - Strings are zero-terminated 8-bit text. Handles and buffers passed in stay
 *   the caller's; the library keeps no pointer to them after the call.
 * - No export throws, and none leaves the process in a half-changed state
 *   when it fails.
 */
#ifndef LERV32_H
#define LERV32_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define LERV32_CALL __stdcall
#else
#define LERV32_CALL
#endif

#if defined(_WIN32)
#define LERV32_API
#else
#define LERV32_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void* LERV32_HENV;      /* ODBC environment handle (SQLHENV) */
typedef void* LERV32_HDBC;      /* ODBC connection handle (SQLHDBC) */
typedef void* LERV32_HWND;      /* window handle (HWND) */
typedef void* LERV32_HINSTANCE; /* module handle of the library (HINSTANCE) */

/* ---- Library, environment and switches */

/* Module handle of the loaded library; owned by the system. */
LERV32_API LERV32_HINSTANCE LERV32_CALL rv_GetDllInstance(void);
/* The process's one ODBC environment; owned by the library, never free it. */
LERV32_API LERV32_HENV LERV32_CALL rv_GetEnvHandle(void);
/* Whether record access may call the generated procedures (ExSQL_Enabled). */
LERV32_API int32_t LERV32_CALL rv_GetExtendedLevel(void);
/* Sets ExSQL_Enabled for this process (not stored); returns the old value. */
LERV32_API int32_t LERV32_CALL rv_SetExtendedLevel(int32_t level);
/* Whether record text is converted between OEM and ANSI (OemConvert). */
LERV32_API int32_t LERV32_CALL rv_GetOemConvert(void);
/* Sets OemConvert for this process (not stored); returns the old value. */
LERV32_API int32_t LERV32_CALL rv_SetOemConvert(int32_t convert);
/* Memory held through the support library: selector 0 the bytes, any other
 * selector the blocks currently allocated. */
LERV32_API int32_t LERV32_CALL rv_GetMemUsage(int32_t selector);

/* ---- Connections. The caller owns every handle returned and gives it back
 * through rv_OdbcDisconnect. */

/* Connects to a data source; null (and nothing left allocated) on failure. A
 * null user id or password is passed as an empty text. */
LERV32_API LERV32_HDBC LERV32_CALL rv_OdbcConnect(const char* dsn, const char* uid, const char* pwd);
/* rv_OdbcDriverConnectEx with mode 0. */
LERV32_API LERV32_HDBC LERV32_CALL rv_OdbcDriverConnect(LERV32_HWND window, const char* connect);
/* Connects with a connection string. Mode 0 never asks the user; any other
 * mode lets the driver complete the string (on Windows in its dialog). With
 * mode 2 the completed string is copied back into connect, which must then
 * hold 256 bytes. Null on failure. */
LERV32_API LERV32_HDBC LERV32_CALL rv_OdbcDriverConnectEx(LERV32_HWND window, char* connect, int32_t mode);
/* Disconnects and frees the handle; the ODBC return code of freeing it. */
LERV32_API int16_t LERV32_CALL rv_OdbcDisconnect(LERV32_HDBC connection);

#ifdef __cplusplus
}
#endif

#endif /* LERV32_H */
