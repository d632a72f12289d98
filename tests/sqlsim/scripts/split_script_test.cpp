#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/sqlsim/scripts/script_runner.h"

namespace scripts {
namespace {

struct SplitCase {
  const char* what;
  std::string script;
  std::vector<std::string> batches;
};

TEST(SplitScript, BatchesAsAClientCutsThem) {
  const std::vector<SplitCase> cases = {
      {"one batch, no GO", "SELECT 1\r\n", {"SELECT 1\r\n"}},
      {"GO CR LF ends a batch and belongs to none", "SELECT 1\r\nGO\r\nSELECT 2\r\n",
       {"SELECT 1\r\n", "SELECT 2\r\n"}},
      {"GO followed by blanks stays", "SELECT 1\r\nGO  \r\nSELECT 2", {"SELECT 1\r\nGO  \r\nSELECT 2"}},
      {"lowercase go stays", "SELECT 1\r\ngo\r\nSELECT 2", {"SELECT 1\r\ngo\r\nSELECT 2"}},
      {"GO with a bare LF stays", "SELECT 1\nGO\nSELECT 2", {"SELECT 1\nGO\nSELECT 2"}},
      {"GO at the end without line end stays", "SELECT 1\r\nGO", {"SELECT 1\r\nGO"}},
      {"GO not at a line start stays", "SELECT 1 GO\r\nSELECT 2", {"SELECT 1 GO\r\nSELECT 2"}},
      {"two GO lines in a row give no empty batch", "SELECT 1\r\nGO\r\nGO\r\nSELECT 2\r\nGO\r\n",
       {"SELECT 1\r\n", "SELECT 2\r\n"}},
      {"only GO lines give no batch", "GO\r\nGO\r\n", {}},
      {"empty script", "", {}},
      {"comment at a line start is dropped, GO after it still ends the batch",
       "/* head\r\nGO\r\n */GO\r\nSELECT 1\r\n", {"SELECT 1\r\n"}},
      {"comment leaves a line start behind it", "SELECT 1\r\n/* x */GO\r\nSELECT 2\r\n",
       {"SELECT 1\r\n", "SELECT 2\r\n"}},
      {"comment later in a line reaches the server", "SELECT 1 /* c */\r\nGO\r\n", {"SELECT 1 /* c */\r\n"}},
      {"dash comment reaches the server", "-- c\r\nSELECT 1\r\nGO\r\n", {"-- c\r\nSELECT 1\r\n"}},
      {"unclosed comment runs to the end", "SELECT 1\r\n/* open\r\nGO\r\n", {"SELECT 1\r\n"}},
      {"slash without asterisk at a line start is text", "/ 2\r\nGO\r\n", {"/ 2\r\n"}},
      {"a bare CR makes a line start", "SELECT 1\rGO\r\nSELECT 2", {"SELECT 1\r", "SELECT 2"}},
      {"literals are not recognised", "SELECT '\r\nGO\r\n'", {"SELECT '\r\n", "'"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(SplitScript(c.script), c.batches) << c.what;
  }
}

}  // namespace
}  // namespace scripts

namespace scripts {
namespace {

TEST_F(ScriptTest, RunScriptStopsAtTheFirstFailingBatch) {
  const ::testing::AssertionResult result =
      RunScript(dbc(), "CREATE TABLE t1 (a int)\r\nGO\r\nINSERT INTO nowhere VALUES (1)\r\nGO\r\nCREATE TABLE t3 (a int)\r\n");
  ASSERT_FALSE(result);
  EXPECT_NE(std::string(result.message()).find("batch 2 of 3"), std::string::npos) << result.message();
  EXPECT_NE(std::string(result.message()).find("42S02"), std::string::npos) << result.message();
  EXPECT_EQ(Int("SELECT count(*) FROM sysobjects WHERE name IN ('t1', 't3')"), 1);
}

TEST_F(ScriptTest, RunScriptSeesErrorsBehindAResultSet) {
  EXPECT_FALSE(RunScript(dbc(), "SELECT 1\r\nSELECT * FROM nowhere\r\n"));
  EXPECT_TRUE(RunScript(dbc(), "SELECT 1\r\nSELECT 2\r\nGO\r\n"));
}

}  // namespace
}  // namespace scripts
