// A message of the server as the ODBC layer hands it to a client: SQLSTATE,
// the server's error number as native code, and the text without the
// "[sqlsim][SQL Server]" prefix that the driver adds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sqlsim {

struct Diagnostic {
  std::string sqlstate;   // ODBC 3 state, e.g. "23000"
  int32_t native = 0;     // server error number, e.g. 2627
  int32_t severity = 16;  // below 11: informational (SQL_SUCCESS_WITH_INFO)
  std::string message;
  int32_t line = 0;       // line in the batch, 0 if unknown
};

using Diagnostics = std::vector<Diagnostic>;

// The SQLSTATE the server's ODBC driver reports for an error number
// ("42S02" for 208, "23000" for 2627 ...; "HY000" for numbers it does not
// single out; "01000" for informational messages).
std::string SqlStateOfServerError(int32_t number);

// A server error with its SQLSTATE and severity filled in.
Diagnostic ServerError(int32_t number, std::string message, int32_t line = 0);

// An informational message (PRINT, context changes): severity 0, "01000".
Diagnostic ServerInfo(int32_t number, std::string message);

inline bool IsError(const Diagnostic& d) { return d.severity > 10; }

}  // namespace sqlsim
