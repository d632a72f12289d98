// From batch text to compiled statements.
#include <cstring>

#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {
namespace {

// Until the Transact-SQL front end is wired in, statements go to SQLite as
// written, split at semicolons outside quotes.
void CompilePassThrough(PreparedBatchImpl& batch, const std::string& text) {
  int32_t params = 0;
  std::string current;
  std::vector<int32_t> map;
  char quote = 0;
  auto flush = [&]() {
    if (current.find_first_not_of(" \t\r\n") == std::string::npos) {
      current.clear();
      return;
    }
    CompiledStatement statement;
    statement.source = current;
    statement.sqlite_sql = current;
    statement.param_map = map;
    size_t word = current.find_first_not_of(" \t\r\n");
    auto starts = [&](const char* w) { return strncasecmp(current.c_str() + word, w, std::strlen(w)) == 0; };
    statement.counts_rows = starts("insert") || starts("update") || starts("delete");
    statement.writes = !starts("select");
    batch.statements().push_back(std::move(statement));
    current.clear();
    map.clear();
  };
  for (char c : text) {
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"' || c == '[') {
      quote = c == '[' ? ']' : c;
    } else if (c == '?') {
      map.push_back(params++);
    } else if (c == ';') {
      flush();
      continue;
    }
    current += c;
  }
  flush();
  batch.set_parameter_count(params);
}

}  // namespace

std::unique_ptr<PreparedBatch> PrepareBatch(SessionImpl& session, std::string_view text,
                                            Diagnostics*) {
  auto batch = std::make_unique<PreparedBatchImpl>(session, std::string(text));
  CompilePassThrough(*batch, batch->Text());
  return batch;
}

bool DescribeFromCatalog(SessionImpl&, const char*, const char*, ColumnDesc*) { return false; }

bool RegisterServerFeatures(sqlite3*, Diagnostics*) { return true; }

}  // namespace sqlsim
