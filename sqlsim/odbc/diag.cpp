#include "sqlsim/odbc/diag.h"

#include <cstring>

#include "sqlsim/odbc/out_string.h"

namespace sqlsim::odbc {

void DiagArea::Clear() {
  records_.clear();
  return_code_ = SQL_SUCCESS;
}

SQLRETURN DiagArea::Error(std::string_view sqlstate, std::string_view message) {
  AddDriver(sqlstate, message);
  return SQL_ERROR;
}

SQLRETURN DiagArea::Warning(std::string_view sqlstate, std::string_view message) {
  AddDriver(sqlstate, message);
  return SQL_SUCCESS_WITH_INFO;
}

void DiagArea::AddDriver(std::string_view sqlstate, std::string_view message,
                         SQLLEN row, SQLINTEGER column) {
  DiagRecord r;
  r.sqlstate = std::string(sqlstate);
  r.message = std::string(kDriverPrefix) + std::string(message);
  r.row = row;
  r.column = column;
  records_.push_back(std::move(r));
}

void DiagArea::AddServer(const Diagnostic& d, SQLLEN row) {
  DiagRecord r;
  r.row = row;
  r.sqlstate = d.sqlstate.size() == 5 ? d.sqlstate : (IsError(d) ? "HY000" : "01000");
  r.native = d.native;
  r.message = kServerPrefix + d.message;
  records_.push_back(std::move(r));
}

bool DiagArea::AddServerRecords(const Diagnostics& ds, SQLLEN row) {
  bool error = false;
  for (const Diagnostic& d : ds) {
    AddServer(d, row);
    error = error || IsError(d);
  }
  return error;
}

const char* ClassOrigin(std::string_view sqlstate) {
  if (sqlstate.size() < 2) return "ISO 9075";
  std::string_view cls = sqlstate.substr(0, 2);
  return (cls == "IM" || cls == "HY") ? "ODBC 3.0" : "ISO 9075";
}

const char* SubclassOrigin(std::string_view sqlstate) {
  static const char* const kOdbcStates[] = {
      "01S00", "01S01", "01S02", "01S06", "01S07", "07S01", "08S01", "21S01",
      "21S02", "25S01", "25S02", "25S03", "42S01", "42S02", "42S11", "42S12",
      "42S21", "42S22"};
  if (std::string_view(ClassOrigin(sqlstate)) == "ODBC 3.0") return "ODBC 3.0";
  for (const char* s : kOdbcStates) {
    if (sqlstate == s) return "ODBC 3.0";
  }
  return "ISO 9075";
}

SQLRETURN GetDiagRec(const DiagArea& area, SQLSMALLINT rec, SQLCHAR* state,
                     SQLINTEGER* native, SQLCHAR* text, SQLSMALLINT text_max,
                     SQLSMALLINT* text_len) {
  if (rec < 1 || text_max < 0) return SQL_ERROR;
  if (static_cast<size_t>(rec) > area.records().size()) return SQL_NO_DATA;
  const DiagRecord& r = area.records()[static_cast<size_t>(rec - 1)];
  if (state) CopyOutString<SQLSMALLINT>(r.sqlstate, state, 6, nullptr);
  if (native) *native = r.native;
  bool cut = CopyOutString(r.message, text, text_max, text_len);
  return cut ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

namespace {

SQLRETURN StringField(std::string_view s, SQLPOINTER value, SQLSMALLINT max,
                      SQLSMALLINT* len) {
  if (max < 0 && value) return SQL_ERROR;
  return CopyOutString(s, value, max, len) ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

template <class T>
SQLRETURN FixedField(T v, SQLPOINTER value) {
  if (value) std::memcpy(value, &v, sizeof v);
  return SQL_SUCCESS;
}

SQLRETURN HeaderField(const DiagArea& area, SQLSMALLINT handle_type,
                      SQLSMALLINT field, SQLPOINTER value, SQLSMALLINT max,
                      SQLSMALLINT* len) {
  bool stmt = handle_type == SQL_HANDLE_STMT;
  switch (field) {
    case SQL_DIAG_NUMBER:
      return FixedField(static_cast<SQLINTEGER>(area.records().size()), value);
    case SQL_DIAG_RETURNCODE:
      return FixedField(static_cast<SQLRETURN>(area.return_code()), value);
    case SQL_DIAG_ROW_COUNT:
      return stmt ? FixedField(area.row_count, value) : SQL_ERROR;
    case SQL_DIAG_CURSOR_ROW_COUNT:
      return stmt ? FixedField(area.cursor_row_count, value) : SQL_ERROR;
    case SQL_DIAG_DYNAMIC_FUNCTION:
      return stmt ? StringField(area.dynamic_function, value, max, len) : SQL_ERROR;
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
      return stmt ? FixedField(area.dynamic_function_code, value) : SQL_ERROR;
    default:
      return SQL_ERROR;
  }
}

}  // namespace

SQLRETURN GetDiagField(const DiagArea& area, SQLSMALLINT handle_type,
                       SQLSMALLINT rec, SQLSMALLINT field, SQLPOINTER value,
                       SQLSMALLINT max, SQLSMALLINT* len) {
  switch (field) {
    case SQL_DIAG_NUMBER: case SQL_DIAG_RETURNCODE: case SQL_DIAG_ROW_COUNT:
    case SQL_DIAG_CURSOR_ROW_COUNT: case SQL_DIAG_DYNAMIC_FUNCTION:
    case SQL_DIAG_DYNAMIC_FUNCTION_CODE:
      return HeaderField(area, handle_type, field, value, max, len);
    default:
      break;
  }
  if (rec < 1) return SQL_ERROR;
  if (static_cast<size_t>(rec) > area.records().size()) return SQL_NO_DATA;
  const DiagRecord& r = area.records()[static_cast<size_t>(rec - 1)];
  switch (field) {
    case SQL_DIAG_SQLSTATE: return StringField(r.sqlstate, value, max, len);
    case SQL_DIAG_NATIVE: return FixedField(r.native, value);
    case SQL_DIAG_MESSAGE_TEXT: return StringField(r.message, value, max, len);
    case SQL_DIAG_CLASS_ORIGIN: return StringField(ClassOrigin(r.sqlstate), value, max, len);
    case SQL_DIAG_SUBCLASS_ORIGIN:
      return StringField(SubclassOrigin(r.sqlstate), value, max, len);
    case SQL_DIAG_CONNECTION_NAME: return StringField("", value, max, len);
    case SQL_DIAG_SERVER_NAME: return StringField(area.server_name, value, max, len);
    case SQL_DIAG_ROW_NUMBER:
      return handle_type == SQL_HANDLE_STMT ? FixedField(r.row, value) : SQL_ERROR;
    case SQL_DIAG_COLUMN_NUMBER:
      return handle_type == SQL_HANDLE_STMT ? FixedField(r.column, value) : SQL_ERROR;
    default:
      return SQL_ERROR;
  }
}

}  // namespace sqlsim::odbc
