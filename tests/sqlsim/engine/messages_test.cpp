// What a statement sends besides its rows: the notice after a failed
// constraint, and the refusal of a trace that cannot be written.
#include <gtest/gtest.h>

#include "sqlsim/engine/engine.h"
#include "support/test_env.h"

namespace sqlsim {
namespace {

ConnectOptions Options(const testenv::TempDir& dir) {
  ConnectOptions options;
  options.data_dir = dir.Path().string();
  options.database = "messages";
  options.autocreate = true;
  return options;
}

TEST(MessagesTest, ConstraintErrorIsFollowedByTheTerminationNotice) {
  testenv::TempDir dir;
  Diagnostics diags;
  auto session = OpenSession(Options(dir), &diags);
  ASSERT_TRUE(session);
  auto batch = session->Prepare(
      "CREATE TABLE T (A int NOT NULL PRIMARY KEY) INSERT INTO T VALUES (1) INSERT INTO T VALUES (1)", &diags);
  ASSERT_TRUE(batch);
  auto execution = batch->Execute({});
  std::vector<std::pair<int32_t, std::string>> messages;
  while (auto result = execution->NextResult()) {
    for (const Diagnostic& d : result->messages) messages.emplace_back(d.native, d.sqlstate);
  }
  EXPECT_EQ(messages, (std::vector<std::pair<int32_t, std::string>>{{2627, "23000"}, {3621, "01000"}}));
}

TEST(MessagesTest, TraceThatCannotBeWrittenRefusesTheConnection) {
  testenv::TempDir dir;
  ConnectOptions options = Options(dir);
  options.trace_file = dir.File("missing-folder/trace.log");
  Diagnostics diags;
  EXPECT_FALSE(OpenSession(options, &diags));
  ASSERT_EQ(diags.size(), 1u);
  EXPECT_EQ(diags[0].sqlstate, "08001");
  EXPECT_NE(diags[0].message.find("trace.log"), std::string::npos);
}

}  // namespace
}  // namespace sqlsim
