// Sessions of the engine on a temporary folder and batches run on them, for
// the engine's tests. Rows print their values joined by '|', text in quotes
// (trailing blanks stay visible), NULL as NULL.
#pragma once

#include <charconv>
#include <memory>
#include <string>
#include <vector>

#include "sqlsim/engine/engine.h"
#include "sqlsim/engine/session.h"

namespace sqlsim::enginetest {

inline ConnectOptions Options(const std::string& dir, int32_t busy_timeout_ms = 10000) {
  ConnectOptions options;
  options.data_dir = dir;
  options.database = "scripts";
  options.autocreate = true;
  options.busy_timeout_ms = busy_timeout_ms;
  return options;
}

inline std::unique_ptr<Session> Open(const std::string& dir, int32_t busy_timeout_ms = 10000) {
  Diagnostics diags;
  return OpenSession(Options(dir, busy_timeout_ms), &diags);
}

inline std::string Print(const Value& v) {
  switch (v.kind) {
    case Value::Kind::kNull: return "NULL";
    case Value::Kind::kInteger: return std::to_string(v.integer);
    case Value::Kind::kReal: {
      char buffer[32];
      auto r = std::to_chars(buffer, buffer + sizeof buffer, v.real);
      return std::string(buffer, r.ptr);
    }
    case Value::Kind::kText: return "'" + v.bytes + "'";
    case Value::Kind::kBlob: return "0x" + std::to_string(v.bytes.size());
  }
  return "?";
}

// Runs a whole batch; collects rows of every result set (when rows is given)
// and the errors.
inline void RunBatch(Session& session, const std::string& sql, std::vector<std::string>* rows,
                     Diagnostics* errors) {
  auto batch = session.Prepare(sql, errors);
  if (!batch) {
    if (errors->empty()) errors->push_back({"", -1, 16, "prepared nothing and said nothing", 0});
    return;
  }
  auto execution = batch->Execute({});
  while (auto result = execution->NextResult()) {
    for (const Diagnostic& d : result->messages) {
      if (IsError(d)) errors->push_back(d);
    }
    if (!result->rows) continue;
    Diagnostics row_diags;
    while (result->rows->Next(&row_diags)) {
      std::string row;
      for (size_t i = 0; i < result->rows->Columns().size(); ++i) {
        row += (i ? "|" : "") + Print(result->rows->Column(i));
      }
      if (rows) rows->push_back(row);
    }
    errors->insert(errors->end(), row_diags.begin(), row_diags.end());
  }
}

// SQLite's SQL on the session's file: values as SQLite's text, NULL as NULL.
inline void RunRaw(Session& session, const std::string& sql, std::vector<std::string>* rows,
                   Diagnostics* errors) {
  auto add_row = [](void* out, int n, char** values, char**) {
    std::string row;
    for (int i = 0; i < n; ++i) row += (i ? "|" : "") + std::string(values[i] ? values[i] : "NULL");
    static_cast<std::vector<std::string>*>(out)->push_back(row);
    return 0;
  };
  char* message = nullptr;
  if (sqlite3_exec(static_cast<SessionImpl&>(session).db(), sql.c_str(), add_row, rows, &message) !=
      SQLITE_OK) {
    errors->push_back({"", -1, 16, message ? message : "error", 0});
  }
  sqlite3_free(message);
}

}  // namespace sqlsim::enginetest
