// SQLGetData: one column of the current row, character and binary data
// in pieces (01004 while more remains, SQL_NO_DATA once all was read).
#include "sqlsim/odbc/convert.h"
#include "sqlsim/odbc/fetch.h"
#include "sqlsim/odbc/transfer.h"

namespace sqlsim::odbc {

namespace {

SQLRETURN FromOutcome(Stmt& s, const CellOutcome& out, SQLUSMALLINT column) {
  if (!out.sqlstate.empty()) {
    s.diags.AddDriver(out.sqlstate, out.message, SQL_ROW_NUMBER_UNKNOWN, column);
  }
  return out.rc;
}

void SetIndicator(SQLLEN* indicator, SQLLEN value) {
  if (indicator) *indicator = value;
}

// The first call for a column of the current row.
SQLRETURN FirstPiece(Stmt& s, const Value& v, const ColumnDesc& desc, SQLUSMALLINT column,
                     SQLSMALLINT c_type, SQLPOINTER buffer, SQLLEN buffer_length,
                     SQLLEN* indicator) {
  GetDataState& g = s.getdata;
  g = GetDataState{column, s.row_serial, c_type, true, true, {}, 0};
  if (v.IsNull()) {
    if (!indicator) return s.diags.Error("22002", "Indicator variable required but not supplied");
    *indicator = SQL_NULL_DATA;
    return SQL_SUCCESS;
  }
  if (!IsVariableCType(c_type)) {
    CellOutcome out = ConvertFixed(v, desc, c_type, buffer);
    if (out.rc != SQL_ERROR) SetIndicator(indicator, out.length);
    return FromOutcome(s, out, column);
  }
  bool numeric = false;
  CellOutcome failure;
  if (!VariableBytes(v, desc, c_type, &g.bytes, &numeric, &failure)) {
    return FromOutcome(s, failure, column);
  }
  if (numeric && !NumberFits(g.bytes, c_type, buffer_length)) {
    return s.diags.Error("22003", "Numeric value out of range");
  }
  g.done = false;
  return SQL_SUCCESS;
}

// Column 0. Only a call that wrote the bookmark makes a second one find
// no data: a refused type leaves it to be read.
SQLRETURN GetBookmark(Stmt& s, SQLSMALLINT c_type, SQLPOINTER buffer, SQLLEN buffer_length,
                      SQLLEN* indicator) {
  if (s.attrs.use_bookmarks == SQL_UB_OFF) return s.diags.Error("07009", "Invalid descriptor index");
  GetDataState& g = s.getdata;
  if (g.active && g.column == 0 && g.row_serial == s.row_serial && g.done) return SQL_NO_DATA;
  SQLRETURN rc = WriteBookmark(s, s.cursor->RowNumber(s.current_row), c_type, buffer,
                               buffer_length, indicator);
  if (rc != SQL_ERROR) g = GetDataState{0, s.row_serial, c_type, true, true, {}, 0};
  return rc;
}

}  // namespace

SQLRETURN GetData(Stmt& s, SQLUSMALLINT column, SQLSMALLINT c_type, SQLPOINTER buffer,
                  SQLLEN buffer_length, SQLLEN* indicator) {
  if (!s.cursor || s.cursor->rowset_rows() == 0 || s.current_row >= s.cursor->rowset_rows()) {
    return s.diags.Error("24000", "Invalid cursor state");
  }
  if (std::optional<Diagnostic> fault = TakeGetDataFault(StatementText(s))) {
    s.diags.AddServer(*fault);
    return SQL_ERROR;
  }
  const Cursor& c = *s.cursor;
  if (column == 0) {
    return GetBookmark(s, c_type, buffer, buffer_length, indicator);
  }
  if (column > c.columns().size()) return s.diags.Error("07009", "Invalid descriptor index");
  const ColumnDesc& desc = c.columns()[column - 1];
  if (c_type == SQL_ARD_TYPE) {
    if (column >= s.bindings.size() || !s.bindings[column].bound()) {
      return s.diags.Error("HY003", "Program type out of range");
    }
    c_type = s.bindings[column].c_type;
  }
  c_type = ResolveCType(s, desc, c_type);
  if (!IsKnownCType(c_type)) return s.diags.Error("HY003", "Program type out of range");
  if (buffer_length < 0) return s.diags.Error("HY090", "Invalid string or buffer length");
  GetDataState& g = s.getdata;
  bool same = g.active && g.column == column && g.row_serial == s.row_serial && g.c_type == c_type;
  if (same && g.done) return SQL_NO_DATA;
  if (!same) {
    SQLRETURN rc = FirstPiece(s, c.RowAt(s.current_row)[column - 1], desc, column, c_type,
                              buffer, buffer_length, indicator);
    if (rc == SQL_ERROR) g.active = false;
    if (g.done || rc == SQL_ERROR) return rc;
  }
  size_t grain = PieceGrain(c.RowAt(s.current_row)[column - 1], c_type);
  CellOutcome out = CopyPiece(g.bytes, &g.offset, c_type, buffer, buffer_length, grain);
  SetIndicator(indicator, out.length);
  if (g.offset >= g.bytes.size()) g.done = true;
  return FromOutcome(s, out, column);
}

}  // namespace sqlsim::odbc
