// Diagnostic records of one handle, as SQLGetDiagRec and SQLGetDiagField
// report them. The server's messages carry "[sqlsim][SQL Server]", the
// driver's own "[sqlsim]".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/diagnostic.h"
#include "sqlsim/odbc/odbc_api.h"

namespace sqlsim::odbc {

inline constexpr const char* kDriverPrefix = "[sqlsim]";
inline constexpr const char* kServerPrefix = "[sqlsim][SQL Server]";

struct DiagRecord {
  std::string sqlstate;
  SQLINTEGER native = 0;
  std::string message;  // with its prefix
  SQLLEN row = SQL_ROW_NUMBER_UNKNOWN;
  SQLINTEGER column = SQL_COLUMN_NUMBER_UNKNOWN;
};

class DiagArea {
 public:
  void Clear();
  // Driver-made records; Error returns SQL_ERROR and Warning
  // SQL_SUCCESS_WITH_INFO so that callers can return them directly.
  [[gnu::cold]] SQLRETURN Error(std::string_view sqlstate, std::string_view message);
  [[gnu::cold]] SQLRETURN Warning(std::string_view sqlstate, std::string_view message);
  [[gnu::cold]] void AddDriver(std::string_view sqlstate, std::string_view message,
                 SQLLEN row = SQL_ROW_NUMBER_UNKNOWN,
                 SQLINTEGER column = SQL_COLUMN_NUMBER_UNKNOWN);
  // A message of the server; row names the parameter set it came from.
  void AddServer(const Diagnostic& d, SQLLEN row = SQL_ROW_NUMBER_UNKNOWN);
  // Appends every message; true if one of them was an error.
  bool AddServer(const Diagnostics& ds, SQLLEN row = SQL_ROW_NUMBER_UNKNOWN) {
    return !ds.empty() && AddServerRecords(ds, row);
  }
  // A record taken over from another handle.
  void Add(DiagRecord record) { records_.push_back(std::move(record)); }

  const std::vector<DiagRecord>& records() const { return records_; }
  bool empty() const { return records_.empty(); }
  SQLRETURN return_code() const { return return_code_; }
  void set_return_code(SQLRETURN rc) { return_code_ = rc; }
  // Statement header fields.
  SQLLEN row_count = 0;
  SQLLEN cursor_row_count = 0;
  std::string dynamic_function;
  SQLINTEGER dynamic_function_code = SQL_DIAG_UNKNOWN_STATEMENT;
  std::string server_name;

 private:
  bool AddServerRecords(const Diagnostics& ds, SQLLEN row);
  std::vector<DiagRecord> records_;
  SQLRETURN return_code_ = SQL_SUCCESS;
};

// "ISO 9075" for states of the SQL standard, "ODBC 3.0" for those ODBC
// added (class IM, subclasses beginning with S or T, class HY ...).
const char* ClassOrigin(std::string_view sqlstate);
const char* SubclassOrigin(std::string_view sqlstate);

// SQLGetDiagRec and SQLGetDiagField on one handle's area.
SQLRETURN GetDiagRec(const DiagArea& area, SQLSMALLINT rec, SQLCHAR* state,
                     SQLINTEGER* native, SQLCHAR* text, SQLSMALLINT text_max,
                     SQLSMALLINT* text_len);
SQLRETURN GetDiagField(const DiagArea& area, SQLSMALLINT handle_type,
                       SQLSMALLINT rec, SQLSMALLINT field, SQLPOINTER value,
                       SQLSMALLINT value_max, SQLSMALLINT* value_len);

}  // namespace sqlsim::odbc
