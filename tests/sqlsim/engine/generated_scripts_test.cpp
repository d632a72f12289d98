// The scripts the library generates in their standard form run on sqlsim,
// batch by batch as a client splits them at GO lines, and leave the tables
// and indexes they describe.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sqlsim/engine/engine.h"
#include "support/test_env.h"

namespace sqlsim {
namespace {

std::vector<std::string> SplitAtGo(const std::string& script) {
  std::vector<std::string> batches(1);
  std::istringstream in(script);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == "GO") {
      batches.emplace_back();
    } else {
      batches.back() += line + "\n";
    }
  }
  return batches;
}

std::string Errors(Session& session, const std::string& sql) {
  Diagnostics diags;
  std::string errors;
  auto batch = session.Prepare(sql, &diags);
  if (batch) {
    auto execution = batch->Execute({});
    while (auto result = execution->NextResult()) diags.insert(diags.end(), result->messages.begin(), result->messages.end());
  }
  for (const Diagnostic& d : diags) {
    if (IsError(d)) errors += std::to_string(d.native) + " " + d.message + "\n";
  }
  return errors;
}

int64_t Count(Session& session, const std::string& sql) {
  Diagnostics diags;
  auto batch = session.Prepare(sql, &diags);
  if (!batch) return -1;
  auto execution = batch->Execute({});
  auto result = execution->NextResult();
  if (!result || !result->rows || !result->rows->Next(&diags)) return -1;
  return result->rows->Column(0).integer;
}

class StandardScriptTest : public ::testing::TestWithParam<const char*> {};

TEST_P(StandardScriptTest, RunsAndCreatesWhatItDescribes) {
  testenv::TempDir dir;
  ConnectOptions options;
  options.data_dir = dir.Path().string();
  options.database = "generated";
  options.autocreate = true;
  Diagnostics diags;
  auto session = OpenSession(options, &diags);
  ASSERT_TRUE(session);
  std::ifstream in(std::string(LERV32_GOLDEN_DIR) + "/table_std_" + GetParam() + ".sql", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  int batches = 0;
  for (const std::string& batch : SplitAtGo(text.str())) {
    if (batch.find_first_not_of(" \r\n\t") == std::string::npos) continue;
    ++batches;
    EXPECT_EQ(Errors(*session, batch), "") << batch;
  }
  EXPECT_GE(batches, 2);
  std::string table = GetParam();
  EXPECT_EQ(Count(*session, "SELECT count(*) FROM sysobjects WHERE name = '" + table + "' AND xtype = 'U'"), 1);
  EXPECT_GT(Count(*session, "SELECT count(*) FROM syscolumns WHERE id = OBJECT_ID('" + table + "')"), 0);
  EXPECT_EQ(Count(*session, "SELECT count(*) FROM sysindexes WHERE id = OBJECT_ID('" + table + "') AND name = 'IkRecId'"), 1);
  EXPECT_EQ(Errors(*session, "INSERT INTO " + table + " (RecId) VALUES (1)"), "");
  EXPECT_EQ(Count(*session, "SELECT count(*) FROM " + table + " WHERE RecId = 1"), 1);
}

INSTANTIATE_TEST_SUITE_P(Golden, StandardScriptTest,
                         ::testing::Values("kunde", "artikel", "zahlen", "leer"));

}  // namespace
}  // namespace sqlsim
