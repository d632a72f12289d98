#include "sqlsim/odbc/fetch.h"

#include <cstring>

#include "sqlsim/odbc/convert.h"
#include "sqlsim/odbc/transfer.h"

namespace sqlsim::odbc {

namespace {

bool KnownOrientation(SQLSMALLINT o) {
  return o == SQL_FETCH_NEXT || o == SQL_FETCH_PRIOR || o == SQL_FETCH_FIRST ||
         o == SQL_FETCH_LAST || o == SQL_FETCH_ABSOLUTE || o == SQL_FETCH_RELATIVE ||
         o == SQL_FETCH_BOOKMARK;
}

// The bookmark a BOOKMARK fetch starts from: SQLExtendedFetch passes it as
// its row argument, SQLFetchScroll through SQL_ATTR_FETCH_BOOKMARK_PTR.
bool BookmarkOf(Stmt& s, const FetchRequest& r, int64_t* bookmark, int64_t* offset) {
  if (s.attrs.use_bookmarks == SQL_UB_OFF) {
    s.diags.AddDriver("HY106", "Fetch type out of range: bookmarks are off");
    return false;
  }
  if (r.extended) {
    *bookmark = r.offset;
    *offset = 0;
    return true;
  }
  if (!s.attrs.fetch_bookmark) {
    s.diags.AddDriver("HY111", "Invalid bookmark value");
    return false;
  }
  SQLUINTEGER value;
  std::memcpy(&value, s.attrs.fetch_bookmark, sizeof value);
  *bookmark = value;
  *offset = r.offset;
  return true;
}

bool Position(Stmt& s, const FetchRequest& r, size_t size, bool* warn_first) {
  Cursor& c = *s.cursor;
  ScrollRequest q;
  q.orientation = r.orientation;
  q.offset = r.offset;
  q.current_start = c.rowset_start();
  q.previous_size = c.requested_size();
  q.rowset_size = static_cast<int64_t>(size);
  q.last_row = c.known_rows();
  if (r.orientation == SQL_FETCH_BOOKMARK && !BookmarkOf(s, r, &q.bookmark, &q.offset)) {
    return false;
  }
  c.PlaceRowset(ScrollTarget(q, warn_first), size);
  return true;
}

}  // namespace

SQLRETURN BindColumn(Stmt& s, SQLUSMALLINT column, SQLSMALLINT c_type,
                     SQLPOINTER buffer, SQLLEN buffer_length, SQLLEN* indicator) {
  if (column == 0) {
    if (s.attrs.use_bookmarks == SQL_UB_OFF) return s.diags.Error("07009", "Invalid descriptor index");
    if (buffer && !IsBookmarkCType(c_type)) {
      return s.diags.Error("HY003", "Program type out of range");
    }
  } else if (buffer && c_type != SQL_C_DEFAULT && !IsKnownCType(c_type)) {
    return s.diags.Error("HY003", "Program type out of range");
  }
  if (buffer_length < 0) return s.diags.Error("HY090", "Invalid string or buffer length");
  if (s.bindings.size() <= column) {
    if (!buffer && !indicator) return SQL_SUCCESS;
    s.bindings.resize(static_cast<size_t>(column) + 1);
  }
  s.bindings[column] = ColumnBinding{c_type, buffer, buffer_length, indicator};
  return SQL_SUCCESS;
}

SQLRETURN FetchRows(Stmt& s, const FetchRequest& r) {
  if (!s.cursor) return s.diags.Error("24000", "Invalid cursor state");
  if (std::optional<Diagnostic> fault = TakeFetchFault(StatementText(s))) {
    s.diags.AddServer(*fault);
    return SQL_ERROR;
  }
  Cursor& c = *s.cursor;
  if (!KnownOrientation(r.orientation) || (!c.scrollable() && r.orientation != SQL_FETCH_NEXT)) {
    return s.diags.Error("HY106", "Fetch type out of range");
  }
  size_t size = static_cast<size_t>(r.extended ? s.attrs.rowset_size : s.attrs.row_array_size);
  SQLUSMALLINT* status = r.extended ? r.row_status : s.attrs.row_status;
  SQLULEN* fetched = r.extended ? r.rows_fetched : s.attrs.rows_fetched;
  bool warn_first = false;
  Diagnostics read;
  bool ok = c.scrollable() ? Position(s, r, size, &warn_first) : c.FetchForward(size, &read);
  s.diags.AddServer(read);
  s.row_serial++;
  s.current_row = 0;
  s.getdata.Forget();
  if (!ok) return SQL_ERROR;
  if (warn_first) {
    s.diags.AddDriver("01S06", "Attempt to fetch before the result set returned the first rowset");
  }
  size_t rows = c.rowset_rows();
  if (fetched) *fetched = rows;
  bool info = warn_first || !read.empty(), errors = false;
  for (size_t i = 0; i < size; ++i) {
    SQLUSMALLINT row_status = i < rows ? TransferRow(s, i) : SQL_ROW_NOROW;
    info = info || row_status == SQL_ROW_SUCCESS_WITH_INFO;
    errors = errors || row_status == SQL_ROW_ERROR;
    if (status) status[i] = row_status;
  }
  if (rows == 0) return SQL_NO_DATA;
  if (errors) return size == 1 ? SQL_ERROR : SQL_SUCCESS_WITH_INFO;
  return info ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

SQLRETURN SetPosition(Stmt& s, SQLSETPOSIROW row, SQLUSMALLINT operation) {
  if (!s.cursor || s.cursor->rowset_rows() == 0) {
    return s.diags.Error("24000", "Invalid cursor state");
  }
  if (operation != SQL_POSITION) {
    return s.diags.Error("HYC00", "Only SQL_POSITION is supported: the cursor is read-only");
  }
  if (row == 0) return s.diags.Error("HY109", "Invalid cursor position");
  if (row > s.cursor->rowset_rows()) return s.diags.Error("HY107", "Row value out of range");
  s.current_row = static_cast<size_t>(row - 1);
  s.row_serial++;
  s.getdata.Forget();
  return SQL_SUCCESS;
}

}  // namespace sqlsim::odbc
