#include "sqlsim/odbc/stmt_attrs.h"

#include <cstring>

namespace sqlsim::odbc {

namespace {

SQLULEN Number(SQLPOINTER value) {
  return static_cast<SQLULEN>(reinterpret_cast<uintptr_t>(value));
}

SQLRETURN Changed(DiagArea& diags) {
  return diags.Warning("01S02", "Option value changed");
}

SQLRETURN BadValue(DiagArea& diags) {
  return diags.Error("HY024", "Invalid attribute value");
}

// The type the connection gives for a request of type v.
SQLULEN OfferedCursorType(CursorSupport cursors, SQLULEN v) {
  if (cursors == CursorSupport::kForwardOnly) return SQL_CURSOR_FORWARD_ONLY;
  if (cursors == CursorSupport::kStatic && v != SQL_CURSOR_FORWARD_ONLY) return SQL_CURSOR_STATIC;
  return v;
}

SQLRETURN SetCursorType(StmtAttrs& a, DiagArea& diags, CursorSupport cursors, SQLULEN v) {
  if (v != SQL_CURSOR_FORWARD_ONLY && v != SQL_CURSOR_STATIC &&
      v != SQL_CURSOR_KEYSET_DRIVEN && v != SQL_CURSOR_DYNAMIC) {
    return BadValue(diags);
  }
  a.cursor_type = OfferedCursorType(cursors, v);
  return a.cursor_type == v ? SQL_SUCCESS : Changed(diags);
}

SQLRETURN SetConcurrency(StmtAttrs& a, DiagArea& diags, SQLULEN v) {
  switch (v) {
    case SQL_CONCUR_READ_ONLY: case SQL_CONCUR_ROWVER:
      a.concurrency = v;
      return SQL_SUCCESS;
    case SQL_CONCUR_LOCK: case SQL_CONCUR_VALUES:
      a.concurrency = SQL_CONCUR_ROWVER;
      return Changed(diags);
    default:
      return BadValue(diags);
  }
}

// Attributes the driver takes only with one value.
SQLRETURN OnlyValue(SQLULEN* slot, SQLULEN v, SQLULEN allowed, DiagArea& diags) {
  if (v != allowed) {
    *slot = allowed;
    return Changed(diags);
  }
  *slot = v;
  return SQL_SUCCESS;
}

SQLRETURN SetPointerAttr(StmtAttrs& a, DiagArea& diags, SQLINTEGER attr, SQLPOINTER value) {
  switch (attr) {
    case SQL_ATTR_ROW_BIND_OFFSET_PTR: a.row_bind_offset = static_cast<SQLULEN*>(value); break;
    case SQL_ATTR_ROW_STATUS_PTR: a.row_status = static_cast<SQLUSMALLINT*>(value); break;
    case SQL_ATTR_ROWS_FETCHED_PTR: a.rows_fetched = static_cast<SQLULEN*>(value); break;
    case SQL_ATTR_FETCH_BOOKMARK_PTR: a.fetch_bookmark = value; break;
    case SQL_ATTR_PARAMS_PROCESSED_PTR: a.params_processed = static_cast<SQLULEN*>(value); break;
    case SQL_ATTR_PARAM_STATUS_PTR: a.param_status = static_cast<SQLUSMALLINT*>(value); break;
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR: a.param_bind_offset = static_cast<SQLULEN*>(value); break;
    case SQL_ATTR_PARAM_OPERATION_PTR: a.param_operation = static_cast<SQLUSMALLINT*>(value); break;
    case SQL_ATTR_ROW_OPERATION_PTR:
      if (value) return diags.Error("HYC00", "Optional feature not implemented");
      break;
    default:
      return diags.Error("HY092", "Invalid attribute/option identifier");
  }
  return SQL_SUCCESS;
}

}  // namespace

bool IsStmtAttribute(SQLINTEGER attr) {
  switch (attr) {
    case SQL_ATTR_QUERY_TIMEOUT: case SQL_ATTR_MAX_ROWS: case SQL_ATTR_NOSCAN:
    case SQL_ATTR_MAX_LENGTH: case SQL_ATTR_ASYNC_ENABLE: case SQL_ATTR_ROW_BIND_TYPE:
    case SQL_ATTR_CURSOR_TYPE: case SQL_ATTR_CONCURRENCY: case SQL_ATTR_KEYSET_SIZE:
    case SQL_ROWSET_SIZE: case SQL_ATTR_SIMULATE_CURSOR: case SQL_ATTR_RETRIEVE_DATA:
    case SQL_ATTR_USE_BOOKMARKS: case SQL_ATTR_ROW_ARRAY_SIZE:
    case SQL_ATTR_ROW_BIND_OFFSET_PTR: case SQL_ATTR_ROW_STATUS_PTR:
    case SQL_ATTR_ROWS_FETCHED_PTR: case SQL_ATTR_FETCH_BOOKMARK_PTR:
    case SQL_ATTR_PARAMSET_SIZE: case SQL_ATTR_PARAM_BIND_TYPE:
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR: case SQL_ATTR_PARAM_OPERATION_PTR:
    case SQL_ATTR_PARAM_STATUS_PTR: case SQL_ATTR_PARAMS_PROCESSED_PTR:
    case SQL_ATTR_ROW_OPERATION_PTR: case SQL_ATTR_CURSOR_SCROLLABLE:
    case SQL_ATTR_CURSOR_SENSITIVITY: case SQL_ATTR_METADATA_ID:
    case SQL_ATTR_ENABLE_AUTO_IPD:
      return true;
    default:
      return false;
  }
}

SQLRETURN SetStmtAttribute(StmtAttrs& a, DiagArea& diags, CursorSupport cursors,
                           SQLINTEGER attr, SQLPOINTER value) {
  SQLULEN v = Number(value);
  switch (attr) {
    case SQL_ATTR_CURSOR_TYPE: return SetCursorType(a, diags, cursors, v);
    case SQL_ATTR_CURSOR_SCROLLABLE:
      if (v == SQL_NONSCROLLABLE) return SetCursorType(a, diags, cursors, SQL_CURSOR_FORWARD_ONLY);
      if (v != SQL_SCROLLABLE) return BadValue(diags);
      if (a.cursor_type != SQL_CURSOR_FORWARD_ONLY) return SQL_SUCCESS;
      return SetCursorType(a, diags, cursors, SQL_CURSOR_STATIC);
    case SQL_ATTR_CONCURRENCY: return SetConcurrency(a, diags, v);
    case SQL_ATTR_USE_BOOKMARKS:
      if (v != SQL_UB_OFF && v != SQL_UB_ON && v != SQL_UB_VARIABLE) return BadValue(diags);
      a.use_bookmarks = v;
      return SQL_SUCCESS;
    case SQL_ROWSET_SIZE: case SQL_ATTR_ROW_ARRAY_SIZE:
      if (v == 0) return BadValue(diags);
      (attr == SQL_ROWSET_SIZE ? a.rowset_size : a.row_array_size) = v;
      return SQL_SUCCESS;
    case SQL_ATTR_ROW_BIND_TYPE: a.row_bind_type = v; return SQL_SUCCESS;
    case SQL_ATTR_MAX_ROWS: a.max_rows = v; return SQL_SUCCESS;
    case SQL_ATTR_MAX_LENGTH: a.max_length = v; return SQL_SUCCESS;
    case SQL_ATTR_QUERY_TIMEOUT: a.query_timeout = v; return SQL_SUCCESS;
    case SQL_ATTR_NOSCAN: a.noscan = v; return SQL_SUCCESS;
    case SQL_ATTR_RETRIEVE_DATA:
      if (v != SQL_RD_ON && v != SQL_RD_OFF) return BadValue(diags);
      a.retrieve_data = v;
      return SQL_SUCCESS;
    case SQL_ATTR_SIMULATE_CURSOR: a.simulate_cursor = v; return SQL_SUCCESS;
    case SQL_ATTR_METADATA_ID: a.metadata_id = v; return SQL_SUCCESS;
    case SQL_ATTR_KEYSET_SIZE: return v == 0 ? SQL_SUCCESS : Changed(diags);
    case SQL_ATTR_ASYNC_ENABLE: {
      SQLULEN slot;
      return OnlyValue(&slot, v, SQL_ASYNC_ENABLE_OFF, diags);
    }
    case SQL_ATTR_CURSOR_SENSITIVITY:
      if (v == SQL_SENSITIVE) {
        a.cursor_sensitivity = SQL_INSENSITIVE;
        return Changed(diags);
      }
      a.cursor_sensitivity = v;
      return SQL_SUCCESS;
    case SQL_ATTR_ENABLE_AUTO_IPD: {
      SQLULEN slot;
      return OnlyValue(&slot, v, SQL_FALSE, diags);
    }
    case SQL_ATTR_PARAMSET_SIZE:
      if (v == 0) return BadValue(diags);
      a.paramset_size = v;
      return SQL_SUCCESS;
    case SQL_ATTR_PARAM_BIND_TYPE:
      a.param_bind_type = v;
      return SQL_SUCCESS;
    default:
      return SetPointerAttr(a, diags, attr, value);
  }
}

SQLRETURN GetStmtAttribute(const StmtAttrs& a, DiagArea& diags, SQLINTEGER attr,
                           SQLPOINTER value) {
  SQLULEN n = 0;
  SQLPOINTER p = nullptr;
  bool pointer = false;
  switch (attr) {
    case SQL_ATTR_CURSOR_TYPE: n = a.cursor_type; break;
    case SQL_ATTR_CURSOR_SCROLLABLE:
      n = a.cursor_type == SQL_CURSOR_FORWARD_ONLY ? SQL_NONSCROLLABLE : SQL_SCROLLABLE;
      break;
    case SQL_ATTR_CONCURRENCY: n = a.concurrency; break;
    case SQL_ATTR_USE_BOOKMARKS: n = a.use_bookmarks; break;
    case SQL_ROWSET_SIZE: n = a.rowset_size; break;
    case SQL_ATTR_ROW_ARRAY_SIZE: n = a.row_array_size; break;
    case SQL_ATTR_ROW_BIND_TYPE: n = a.row_bind_type; break;
    case SQL_ATTR_MAX_ROWS: n = a.max_rows; break;
    case SQL_ATTR_MAX_LENGTH: n = a.max_length; break;
    case SQL_ATTR_QUERY_TIMEOUT: n = a.query_timeout; break;
    case SQL_ATTR_NOSCAN: n = a.noscan; break;
    case SQL_ATTR_RETRIEVE_DATA: n = a.retrieve_data; break;
    case SQL_ATTR_SIMULATE_CURSOR: n = a.simulate_cursor; break;
    case SQL_ATTR_METADATA_ID: n = a.metadata_id; break;
    case SQL_ATTR_CURSOR_SENSITIVITY: n = a.cursor_sensitivity; break;
    case SQL_ATTR_KEYSET_SIZE: case SQL_ATTR_ENABLE_AUTO_IPD: n = 0; break;
    case SQL_ATTR_ASYNC_ENABLE: n = SQL_ASYNC_ENABLE_OFF; break;
    case SQL_ATTR_PARAMSET_SIZE: n = a.paramset_size; break;
    case SQL_ATTR_PARAM_BIND_TYPE: n = a.param_bind_type; break;
    case SQL_ATTR_ROW_BIND_OFFSET_PTR: pointer = true; p = a.row_bind_offset; break;
    case SQL_ATTR_ROW_STATUS_PTR: pointer = true; p = a.row_status; break;
    case SQL_ATTR_ROWS_FETCHED_PTR: pointer = true; p = a.rows_fetched; break;
    case SQL_ATTR_FETCH_BOOKMARK_PTR: pointer = true; p = a.fetch_bookmark; break;
    case SQL_ATTR_PARAMS_PROCESSED_PTR: pointer = true; p = a.params_processed; break;
    case SQL_ATTR_PARAM_STATUS_PTR: pointer = true; p = a.param_status; break;
    case SQL_ATTR_PARAM_BIND_OFFSET_PTR: pointer = true; p = a.param_bind_offset; break;
    case SQL_ATTR_PARAM_OPERATION_PTR: pointer = true; p = a.param_operation; break;
    case SQL_ATTR_ROW_OPERATION_PTR:
      pointer = true;
      break;
    default:
      return diags.Error("HY092", "Invalid attribute/option identifier");
  }
  if (!value) return SQL_SUCCESS;
  if (pointer) {
    std::memcpy(value, &p, sizeof p);
  } else {
    std::memcpy(value, &n, sizeof n);
  }
  return SQL_SUCCESS;
}

SQLRETURN SetStatementAttr(Stmt& stmt, SQLINTEGER attr, SQLPOINTER value) {
  switch (attr) {
    case SQL_ATTR_APP_ROW_DESC:
    case SQL_ATTR_APP_PARAM_DESC: {
      Desc* own = attr == SQL_ATTR_APP_ROW_DESC ? &stmt.app_row_desc : &stmt.app_param_desc;
      if (value && value != own) {
        return stmt.diags.Error("HYC00", "Explicitly allocated descriptors are not supported");
      }
      return SQL_SUCCESS;
    }
    case SQL_ATTR_IMP_ROW_DESC: case SQL_ATTR_IMP_PARAM_DESC:
      return stmt.diags.Error("HY017", "Invalid use of an automatically allocated descriptor handle");
    case SQL_ATTR_ROW_NUMBER:
      return stmt.diags.Error("HY092", "Invalid attribute/option identifier");
    default:
      return SetStmtAttribute(stmt.attrs, stmt.diags, stmt.dbc->cursors, attr, value);
  }
}

SQLRETURN GetStatementAttr(Stmt& stmt, SQLINTEGER attr, SQLPOINTER value) {
  SQLPOINTER desc = nullptr;
  switch (attr) {
    case SQL_ATTR_APP_ROW_DESC: desc = &stmt.app_row_desc; break;
    case SQL_ATTR_APP_PARAM_DESC: desc = &stmt.app_param_desc; break;
    case SQL_ATTR_IMP_ROW_DESC: desc = &stmt.imp_row_desc; break;
    case SQL_ATTR_IMP_PARAM_DESC: desc = &stmt.imp_param_desc; break;
    case SQL_ATTR_ROW_NUMBER: {
      SQLULEN row = 0;
      if (stmt.cursor && !stmt.cursor->before_start() && !stmt.cursor->after_end()) {
        row = static_cast<SQLULEN>(stmt.cursor->RowNumber(stmt.current_row));
      }
      if (value) std::memcpy(value, &row, sizeof row);
      return SQL_SUCCESS;
    }
    default:
      return GetStmtAttribute(stmt.attrs, stmt.diags, attr, value);
  }
  if (value) std::memcpy(value, &desc, sizeof desc);
  return SQL_SUCCESS;
}

}  // namespace sqlsim::odbc
