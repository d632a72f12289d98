// Runs the SQL behaviour files in sql/: each is a list of records
//   statement ok | statement error <n>[,<n>...] [message]   followed by one batch
//   (the first errors' numbers in order, and the first one's message if given)
//   query                                     followed by a batch, a line
//                                             "----" and the rows expected
//   ... raw (after any of them)                the same in SQLite's own SQL on
//                                             the session's file (rows as is)
// separated by blank lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_env.h"
#include "tests/sqlsim/engine/engine_support.h"

namespace sqlsim::enginetest {
namespace {

struct Record {
  std::string kind;  // "ok", "error", "query"
  bool raw = false;
  std::vector<int32_t> errors;
  std::string message;
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
      r.raw = line.size() > 4 && line.substr(line.size() - 4) == " raw";
      if (r.raw) line.resize(line.size() - 4);
      if (line == "query") r.kind = "query";
      else if (line == "statement ok") r.kind = "ok";
      else if (line.rfind("statement error ", 0) == 0) {
        r.kind = "error";
        std::istringstream spec(line.substr(16));
        std::string numbers;
        spec >> numbers >> std::ws;
        std::getline(spec, r.message);
        std::istringstream list(numbers);
        for (std::string n; std::getline(list, n, ',');) r.errors.push_back(std::stoi(n));
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

class SqlScriptTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SqlScriptTest, BehavesAsWritten) {
  testenv::TempDir dir;
  auto session = Open(dir.Path().string());
  ASSERT_TRUE(session);
  const std::string path = std::string(SQLSIM_SCRIPT_DIR) + "/" + GetParam();
  for (const Record& record : ReadRecords(path)) {
    std::vector<std::string> rows;
    Diagnostics errors;
    (record.raw ? RunRaw : RunBatch)(*session, record.sql, &rows, &errors);
    std::string where = GetParam() + ":" + std::to_string(record.line) + ": " + record.sql;
    std::vector<int32_t> got;
    for (const Diagnostic& d : errors) {
      if (got.size() < std::max<size_t>(record.errors.size(), 1)) got.push_back(d.native);
    }
    const std::string first = errors.empty() ? "" : errors.front().message;
    EXPECT_EQ(got, record.errors) << where << "\n  got: " << first;
    if (!record.message.empty()) {
      EXPECT_EQ(first, record.message) << where;
    }
    if (record.kind == "query") {
      EXPECT_EQ(rows, record.rows) << where;
    }
  }
}

// The table scripts the library generates run batch by batch, split at GO
// lines as a client splits them, and make the table with its index.
class StandardScriptTest : public ::testing::TestWithParam<std::string> {};

TEST_P(StandardScriptTest, RunsAndCreatesWhatItDescribes) {
  testenv::TempDir dir;
  auto session = Open(dir.Path().string());
  ASSERT_TRUE(session);
  const std::string& table = GetParam();
  std::ifstream in(std::string(LERV32_GOLDEN_DIR) + "/table_std_" + table + ".sql");
  std::string line, batch;
  int batches = 0;
  auto run = [&](const std::string& sql, std::vector<std::string>* rows) {
    Diagnostics errors;
    RunBatch(*session, sql, rows, &errors);
    EXPECT_TRUE(errors.empty()) << sql << "\n  " << errors.front().message;
  };
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line != "GO") {
      batch += line + "\n";
    } else if (batch.find_first_not_of(" \n\t") != std::string::npos) {
      run(batch, nullptr);
      batch.clear();
      ++batches;
    }
  }
  EXPECT_GE(batches, 2);
  std::vector<std::string> rows;
  run("INSERT INTO " + table + " (RecId) VALUES (1) SELECT count(*) FROM " + table +
          " WHERE RecId = 1 SELECT xtype FROM sysobjects WHERE name = '" + table +
          "' SELECT count(*) FROM sysindexes WHERE id = OBJECT_ID('" + table +
          "') AND name = 'IkRecId' SELECT CASE WHEN count(*) > 0 THEN 1 END FROM syscolumns WHERE id = OBJECT_ID('" +
          table + "')",
      &rows);
  EXPECT_EQ(rows, (std::vector<std::string>{"1", "'U'", "1", "1"}));
}

INSTANTIATE_TEST_SUITE_P(Golden, StandardScriptTest,
                         ::testing::Values("kunde", "artikel", "zahlen", "leer"));

std::vector<std::string> ScriptFiles() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(SQLSIM_SCRIPT_DIR)) {
    if (entry.path().extension() == ".test") files.push_back(entry.path().filename().string());
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
}  // namespace sqlsim::enginetest
