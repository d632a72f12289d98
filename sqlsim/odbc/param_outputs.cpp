#include <algorithm>

#include "sqlsim/odbc/convert.h"
#include "sqlsim/odbc/describe.h"
#include "sqlsim/odbc/param_sets.h"
#include "sqlsim/odbc/results.h"

namespace sqlsim::odbc {

namespace {

// The parameter as the application declared it: how its output converts.
ColumnDesc DeclaredColumn(const ParamBinding& b) {
  ColumnDesc column;
  column.type = SqlTypeOfOdbc(b.sql_type);
  column.length = b.column_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(b.column_size);
  column.precision = column.length;
  column.scale = b.decimal_digits;
  return column;
}

SQLRETURN Worse(SQLRETURN a, SQLRETURN b) {
  if (a == SQL_ERROR || b == SQL_ERROR) return SQL_ERROR;
  return a == SQL_SUCCESS_WITH_INFO || b == SQL_SUCCESS_WITH_INFO ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS;
}

}  // namespace

ParamBinding BindingAtSet(const Stmt& s, const ParamBinding& b, size_t set) {
  SQLULEN offset = s.attrs.param_bind_offset ? *s.attrs.param_bind_offset : 0;
  // The first set without an offset is the binding as it stands.
  if (set == 0 && offset == 0) return b;
  return b.AtSet(set, s.attrs.param_bind_type, offset);
}

bool GatherParams(Stmt& s, size_t set, SQLLEN diag_row, std::vector<ParamValue>* values) {
  int32_t count = s.batch->ParameterCount();
  values->reserve(static_cast<size_t>(count));
  for (int32_t i = 1; i <= count; ++i) {
    auto n = static_cast<SQLUSMALLINT>(i);
    auto bound = s.params.find(n);
    if (bound == s.params.end()) {
      s.diags.AddDriver("07002", "COUNT field incorrect: parameter " + std::to_string(i) +
                                     " of " + std::to_string(count) + " is not bound", diag_row);
      return false;
    }
    ParamValue value;
    ParamFailure failure;
    auto put = s.dae.data.empty() ? s.dae.data.end() : s.dae.data.find(DataAtExec::Slot{set, n});
    bool ok = put != s.dae.data.end()
                  ? ParamFromPutData(bound->second, put->second ? &*put->second : nullptr,
                                     &value, &failure)
                  : ReadParam(BindingAtSet(s, bound->second, set), &value, &failure);
    if (!ok) {
      s.diags.AddDriver(failure.sqlstate,
                        failure.message + " (parameter " + std::to_string(i) + ")", diag_row);
      return false;
    }
    values->push_back(std::move(value));
  }
  return true;
}

SQLRETURN DeliverOutputs(Stmt& s, const Execution& execution, size_t set, SQLLEN diag_row) {
  const std::vector<std::optional<Value>>& outputs = execution.OutputValues();
  if (outputs.empty()) return SQL_SUCCESS;
  SQLRETURN rc = SQL_SUCCESS;
  for (const auto& [number, bound] : s.params) {
    size_t index = number - 1u;
    if (!bound.IsOutput() || index >= outputs.size() || !outputs[index]) continue;
    ParamBinding b = BindingAtSet(s, bound, set);
    const Value& value = *outputs[index];
    if (value.IsNull() && !b.indicator) {
      s.diags.AddDriver("22002", "Indicator variable required but not supplied", diag_row);
      rc = SQL_ERROR;
      continue;
    }
    if (!b.buffer && !value.IsNull()) continue;
    CellOutcome o = TransferCell(value, DeclaredColumn(b), b.EffectiveCType(), b.buffer, b.buffer_length);
    if (o.rc != SQL_ERROR && b.indicator) StoreIndicator(b.indicator, o.length);
    if (!o.sqlstate.empty()) s.diags.AddDriver(o.sqlstate, o.message, diag_row);
    rc = Worse(rc, o.rc);
  }
  return rc;
}

SQLRETURN DescribeParameter(Stmt& s, SQLUSMALLINT number, SQLSMALLINT* sql_type,
                            SQLULEN* size, SQLSMALLINT* digits, SQLSMALLINT* nullable) {
  if (!s.batch) return s.diags.Error("HY010", "Function sequence error");
  if (number == 0 || number > s.batch->ParameterCount()) {
    return s.diags.Error("07009", "Invalid descriptor index");
  }
  ColumnDesc marker = s.batch->ParameterTypes()[number - 1u];
  OdbcType t;
  if (marker.type == SqlType::kUnknown) {
    // What the server's sp_describe_undeclared_parameters answers for a
    // marker nothing types: nvarchar(4000).
    t.sql_type = SQL_WVARCHAR;
    t.column_size = 4000;
    marker.nullable = true;
  } else {
    t = DescribeType(marker, s.odbc_version());
  }
  if (sql_type) *sql_type = t.sql_type;
  if (size) *size = t.column_size;
  if (digits) *digits = t.decimal_digits;
  if (nullable) *nullable = marker.nullable ? SQL_NULLABLE : SQL_NO_NULLS;
  return SQL_SUCCESS;
}

}  // namespace sqlsim::odbc
