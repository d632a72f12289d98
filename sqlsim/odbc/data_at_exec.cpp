// Parameter binding and the data the application sends at execution.
#include <cstring>

#include "sqlsim/odbc/convert.h"
#include "sqlsim/odbc/execute.h"
#include "sqlsim/odbc/param_sets.h"

namespace sqlsim::odbc {

namespace {

SQLRETURN AbortDataAtExec(Stmt& s) {
  s.dae = DataAtExec{};
  s.ReturnToPrepared();
  return SQL_ERROR;
}

size_t WideLength(const void* data) {
  size_t n = 0;
  for (const char* p = static_cast<const char*>(data);; p += 2, ++n) {
    char16_t u;
    std::memcpy(&u, p, 2);
    if (u == 0) return n * 2;
  }
}

SQLRETURN PutPiece(Stmt& s, SQLPOINTER data, SQLLEN length) {
  DataAtExec& d = s.dae;
  if (s.state != StmtState::kNeedData || !d.started || d.current >= d.pending.size()) {
    return s.diags.Error("HY010", "Function sequence error");
  }
  if (std::optional<Diagnostic> fault = TakePutDataFault()) {
    s.diags.AddServer(*fault);
    return SQL_ERROR;
  }
  const DataAtExec::Slot& pending = d.pending[d.current];
  SQLSMALLINT c_type = s.params[pending.number].EffectiveCType();
  std::optional<std::string>& slot = d.data[pending];
  if (length == SQL_NULL_DATA) {
    if (d.has_data) return s.diags.Error("HY011", "Attribute cannot be set now: data already sent");
    slot.reset();
    d.has_data = true;
    return SQL_SUCCESS;
  }
  if (!data && length != 0) return s.diags.Error("HY009", "Invalid use of null pointer");
  if (d.has_data && !slot) return s.diags.Error("HY011", "Attribute cannot be set now: NULL already sent");
  size_t n;
  if (!IsVariableCType(c_type)) {
    if (d.has_data) return s.diags.Error("HY019", "Non-character and non-binary data sent in pieces");
    n = FixedCTypeSize(c_type);
  } else if (length == SQL_NTS) {
    n = c_type == SQL_C_WCHAR ? WideLength(data) : std::strlen(static_cast<const char*>(data));
  } else if (length < 0) {
    return s.diags.Error("HY090", "Invalid string or buffer length");
  } else {
    n = static_cast<size_t>(length);
  }
  if (!d.has_data) slot = std::string();
  if (n > 0) slot->append(static_cast<const char*>(data), n);
  d.has_data = true;
  return SQL_SUCCESS;
}

}  // namespace

SQLRETURN BindParameter(Stmt& s, SQLUSMALLINT number, SQLSMALLINT io_type,
                        const ParamBinding& binding) {
  if (number == 0) return s.diags.Error("07009", "Invalid descriptor index");
  if (io_type != SQL_PARAM_INPUT && io_type != SQL_PARAM_OUTPUT && io_type != SQL_PARAM_INPUT_OUTPUT) {
    return s.diags.Error("HY105", "Invalid parameter type");
  }
  if (binding.buffer_length < 0) return s.diags.Error("HY090", "Invalid string or buffer length");
  ParamFailure failure;
  if (!CheckParamTypes(binding.c_type, binding.sql_type, &failure)) {
    return s.diags.Error(failure.sqlstate, failure.message);
  }
  s.params[number] = binding;
  s.params[number].io_type = io_type;
  return SQL_SUCCESS;
}

SQLRETURN ParamData(Stmt& s, SQLPOINTER* token) {
  DataAtExec& d = s.dae;
  if (s.state != StmtState::kNeedData) return s.diags.Error("HY010", "Function sequence error");
  if (d.started) {
    // A parameter named but never sent: empty data.
    if (!d.has_data) d.data[d.pending[d.current]] = std::string();
    ++d.current;
  }
  d.started = true;
  d.has_data = false;
  if (d.current < d.pending.size()) {
    // The token is the parameter's buffer address as the set addresses it.
    const DataAtExec::Slot& pending = d.pending[d.current];
    if (token) *token = BindingAtSet(s, s.params[pending.number], pending.set).buffer;
    return SQL_NEED_DATA;
  }
  return d.array ? RunArray(s) : RunBatch(s);
}

// Any failure ends the data-at-execution sequence: the statement is back
// to prepared (or allocated), as the driver manager also assumes.
SQLRETURN PutData(Stmt& s, SQLPOINTER data, SQLLEN length) {
  if (s.state != StmtState::kNeedData) return s.diags.Error("HY010", "Function sequence error");
  SQLRETURN rc = PutPiece(s, data, length);
  if (rc == SQL_ERROR) AbortDataAtExec(s);
  return rc;
}

}  // namespace sqlsim::odbc
