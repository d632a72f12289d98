#include "sqlsim/odbc/transfer.h"

#include <cstring>

#include "sqlsim/odbc/convert.h"
#include "sqlsim/odbc/describe.h"

namespace sqlsim::odbc {

namespace {

struct Slot {
  char* buffer;
  SQLLEN* indicator;
};

// Where row i of a binding lives, column-wise or row-wise.
Slot SlotOf(const Stmt& s, const ColumnBinding& b, SQLSMALLINT c_type, size_t i) {
  SQLULEN offset = s.attrs.row_bind_offset ? *s.attrs.row_bind_offset : 0;
  char* buffer = static_cast<char*>(b.buffer);
  char* indicator = reinterpret_cast<char*>(b.indicator);
  size_t element, ind_element;
  if (s.attrs.row_bind_type == SQL_BIND_BY_COLUMN) {
    size_t fixed = FixedCTypeSize(c_type);
    element = fixed ? fixed : static_cast<size_t>(b.buffer_length);
    ind_element = sizeof(SQLLEN);
  } else {
    element = ind_element = s.attrs.row_bind_type;
  }
  Slot slot{nullptr, nullptr};
  if (buffer) slot.buffer = buffer + offset + i * element;
  if (indicator) slot.indicator = reinterpret_cast<SQLLEN*>(indicator + offset + i * ind_element);
  return slot;
}

SQLUSMALLINT Report(Stmt& s, const std::string& state, const std::string& message,
                   size_t row, SQLUSMALLINT column, bool error) {
  s.diags.AddDriver(state, message, static_cast<SQLLEN>(row + 1), column);
  return error ? SQL_ROW_ERROR : SQL_ROW_SUCCESS_WITH_INFO;
}

}  // namespace

SQLSMALLINT ResolveCType(const Stmt& s, const ColumnDesc& column, SQLSMALLINT c_type) {
  if (c_type != SQL_C_DEFAULT) return c_type;
  return DefaultCType(DescribeType(column, s.odbc_version()).sql_type);
}

bool IsBookmarkCType(SQLSMALLINT c_type) {
  return c_type == SQL_C_ULONG || c_type == SQL_C_UBIGINT || c_type == SQL_C_BINARY ||
         c_type == SQL_C_DEFAULT;
}

SQLRETURN WriteBookmark(Stmt& s, int64_t bookmark, SQLSMALLINT c_type, SQLPOINTER buffer,
                        SQLLEN buffer_length, SQLLEN* indicator) {
  if (!IsBookmarkCType(c_type)) {
    return s.diags.Error("07006", "Restricted data type attribute violation");
  }
  // A variable bookmark holds the 32-bit number SQL_ATTR_FETCH_BOOKMARK_PTR
  // gives back.
  auto narrow = static_cast<SQLUINTEGER>(bookmark);
  auto wide = static_cast<SQLUBIGINT>(bookmark);
  bool is_wide = c_type == SQL_C_UBIGINT;
  const void* value = is_wide ? static_cast<const void*>(&wide) : &narrow;
  size_t size = is_wide ? sizeof wide : sizeof narrow;
  StoreIndicator(indicator, static_cast<SQLLEN>(size));
  if (c_type == SQL_C_BINARY && buffer_length < static_cast<SQLLEN>(size)) {
    if (buffer && buffer_length > 0) std::memcpy(buffer, value, static_cast<size_t>(buffer_length));
    return s.diags.Warning("01004", "String data, right truncated");
  }
  if (buffer) std::memcpy(buffer, value, size);
  return SQL_SUCCESS;
}

SQLUSMALLINT TransferRow(Stmt& s, size_t i) {
  SQLUSMALLINT status = SQL_ROW_SUCCESS;
  if (s.attrs.retrieve_data == SQL_RD_OFF) return status;
  const Cursor& c = *s.cursor;
  const size_t count = c.columns().size();
  for (size_t col = 0; col < s.bindings.size() && col <= count; ++col) {
    const ColumnBinding& b = s.bindings[col];
    if (!b.bound()) continue;
    auto number = static_cast<SQLUSMALLINT>(col);
    if (col == 0) {
      Slot slot = SlotOf(s, b, b.c_type == SQL_C_DEFAULT ? SQL_C_ULONG : b.c_type, i);
      SQLRETURN rc =
          WriteBookmark(s, c.RowNumber(i), b.c_type, slot.buffer, b.buffer_length, slot.indicator);
      if (rc == SQL_ERROR) {
        status = SQL_ROW_ERROR;
      } else if (rc != SQL_SUCCESS && status != SQL_ROW_ERROR) {
        status = SQL_ROW_SUCCESS_WITH_INFO;
      }
      continue;
    }
    const ColumnDesc& desc = c.columns()[col - 1];
    SQLSMALLINT c_type = ResolveCType(s, desc, b.c_type);
    Slot slot = SlotOf(s, b, c_type, i);
    const Value& v = c.RowAt(i)[col - 1];
    if (v.IsNull() && !slot.indicator) {
      status = Report(s, "22002", "Indicator variable required but not supplied", i, number, true);
      continue;
    }
    if (!slot.buffer && !v.IsNull()) {
      StoreIndicator(slot.indicator, SQL_NO_TOTAL);
      continue;
    }
    CellOutcome out = TransferCell(v, desc, c_type, slot.buffer, b.buffer_length);
    if (out.rc != SQL_ERROR) StoreIndicator(slot.indicator, out.length);
    if (!out.sqlstate.empty()) {
      SQLUSMALLINT row_status =
          Report(s, out.sqlstate, out.message, i, number, out.rc == SQL_ERROR);
      if (status != SQL_ROW_ERROR) status = row_status;
    }
  }
  return status;
}

}  // namespace sqlsim::odbc
