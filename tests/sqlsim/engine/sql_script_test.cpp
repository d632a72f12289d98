// Runs the SQL behaviour files in sql/: each is a list of records
//   statement ok | statement error <number>   followed by one batch
//   query                                     followed by a batch, a line
//                                             "----" and the rows expected
// separated by blank lines. Rows print their values joined by '|', text in
// quotes (trailing blanks stay visible), NULL as NULL.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sqlsim/engine/engine.h"
#include "support/test_env.h"

namespace sqlsim {
namespace {

struct Record {
  std::string kind;  // "ok", "error", "query"
  int32_t error = 0;
  std::string sql;
  std::vector<std::string> rows;
  int line = 0;
};

std::vector<Record> ReadRecords(const std::string& path) {
  std::ifstream in(path);
  std::vector<Record> records;
  std::string line;
  int number = 0;
  Record* current = nullptr;
  bool in_rows = false;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      current = nullptr;
      continue;
    }
    if (!current) {
      if (line[0] == '#') continue;
      Record r;
      r.line = number;
      if (line == "query") r.kind = "query";
      else if (line == "statement ok") r.kind = "ok";
      else if (line.rfind("statement error ", 0) == 0) {
        r.kind = "error";
        r.error = std::stoi(line.substr(16));
      } else {
        ADD_FAILURE() << path << ":" << number << ": unknown record " << line;
        continue;
      }
      records.push_back(r);
      current = &records.back();
      in_rows = false;
      continue;
    }
    if (line == "----") {
      in_rows = true;
    } else if (in_rows) {
      current->rows.push_back(line);
    } else {
      current->sql += (current->sql.empty() ? "" : "\n") + line;
    }
  }
  return records;
}

std::string Print(const Value& v) {
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

// Runs a whole batch; collects rows of every result set and the first error.
void RunBatch(Session& session, const std::string& sql, std::vector<std::string>* rows,
              Diagnostic* first_error) {
  Diagnostics diags;
  auto batch = session.Prepare(sql, &diags);
  if (!batch) {
    if (!diags.empty()) *first_error = diags.front();
    return;
  }
  auto execution = batch->Execute({});
  while (auto result = execution->NextResult()) {
    for (const Diagnostic& d : result->messages) {
      if (IsError(d) && first_error->native == 0) *first_error = d;
    }
    if (!result->rows) continue;
    Diagnostics row_diags;
    while (result->rows->Next(&row_diags)) {
      std::string row;
      for (size_t i = 0; i < result->rows->Columns().size(); ++i) {
        row += (i ? "|" : "") + Print(result->rows->Column(i));
      }
      rows->push_back(row);
    }
    for (const Diagnostic& d : row_diags) {
      if (first_error->native == 0) *first_error = d;
    }
  }
}

class SqlScriptTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SqlScriptTest, BehavesAsWritten) {
  testenv::TempDir dir;
  ConnectOptions options;
  options.data_dir = dir.Path().string();
  options.database = "scripts";
  options.autocreate = true;
  Diagnostics diags;
  auto session = OpenSession(options, &diags);
  ASSERT_TRUE(session) << (diags.empty() ? "" : diags.front().message);
  const std::string path = std::string(SQLSIM_SCRIPT_DIR) + "/" + GetParam();
  for (const Record& record : ReadRecords(path)) {
    std::vector<std::string> rows;
    Diagnostic error;
    RunBatch(*session, record.sql, &rows, &error);
    std::string where = GetParam() + ":" + std::to_string(record.line) + ": " + record.sql;
    if (record.kind == "error") {
      EXPECT_EQ(error.native, record.error) << where << "\n  got: " << error.message;
    } else {
      EXPECT_EQ(error.native, 0) << where << "\n  error: " << error.message;
    }
    if (record.kind == "query") {
      EXPECT_EQ(rows, record.rows) << where;
    }
  }
}

std::vector<std::string> ScriptFiles() {
  std::vector<std::string> files;
  if (DIR* dir = opendir(SQLSIM_SCRIPT_DIR)) {
    while (dirent* entry = readdir(dir)) {
      std::string name = entry->d_name;
      if (name.size() > 5 && name.substr(name.size() - 5) == ".test") files.push_back(name);
    }
    closedir(dir);
  }
  std::sort(files.begin(), files.end());
  return files;
}

INSTANTIATE_TEST_SUITE_P(Files, SqlScriptTest, ::testing::ValuesIn(ScriptFiles()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           std::string name = param.param.substr(0, param.param.size() - 5);
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace sqlsim
