// Sessions on one database: writers of several connections and processes
// take turns, nothing is lost, and a writer that cannot get its turn in time
// gets an error instead of waiting forever; what a statement sends besides its
// rows; a trace that cannot be written refuses the connection.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/test_env.h"
#include "tests/sqlsim/engine/engine_support.h"

namespace sqlsim::enginetest {
namespace {

// The first error of a batch, or 0; its rows when asked for.
int32_t FirstError(Session& session, const std::string& sql, std::vector<std::string>* rows = nullptr) {
  Diagnostics errors;
  RunBatch(session, sql, rows, &errors);
  return errors.empty() ? 0 : errors.front().native;
}

TEST(Concurrency, AppendsFromTwoProcessesLoseNothing) {
  testenv::TempDir dir;
  {
    auto setup = Open(dir.Path().string());
    ASSERT_TRUE(setup);
    ASSERT_EQ(FirstError(*setup, "CREATE TABLE T (Id int NOT NULL PRIMARY KEY, Who int NOT NULL)"), 0);
  }
  constexpr int kPerProcess = 150;
  pid_t children[2];
  for (int who = 0; who < 2; ++who) {
    children[who] = fork();
    ASSERT_GE(children[who], 0);
    if (children[who] == 0) {
      auto session = Open(dir.Path().string());
      int failures = session ? 0 : 1;
      for (int i = 0; i < kPerProcess && session; ++i) {
        // Reads the highest id, then writes the next: only correct when the
        // whole statement holds the write lock.
        failures += FirstError(*session, "INSERT INTO T (Id, Who) SELECT ISNULL(MAX(Id), 0) + 1, " +
                                      std::to_string(who) + " FROM T") != 0;
      }
      _exit(failures == 0 ? 0 : 1);
    }
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto check = Open(dir.Path().string());
  std::vector<std::string> rows;
  ASSERT_EQ(FirstError(*check, "SELECT count(*), MAX(Id) FROM T", &rows), 0);
  EXPECT_EQ(rows, std::vector<std::string>{"300|300"});  // 2 * kPerProcess
}

TEST(Concurrency, WriterThatCannotGetItsTurnFailsInTime) {
  testenv::TempDir dir;
  auto holder = Open(dir.Path().string());
  ASSERT_TRUE(holder);
  ASSERT_EQ(FirstError(*holder, "CREATE TABLE T (Id int NULL)"), 0);
  ASSERT_EQ(FirstError(*holder, "BEGIN TRANSACTION INSERT INTO T VALUES (1)"), 0);

  auto waiter = Open(dir.Path().string(), 200);
  ASSERT_TRUE(waiter);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FirstError(*waiter, "INSERT INTO T VALUES (2)"), 1222);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  // Readers are not held up by the writer, and do not see its rows.
  std::vector<std::string> rows;
  EXPECT_EQ(FirstError(*waiter, "SELECT count(*) FROM T", &rows), 0);
  EXPECT_EQ(rows, std::vector<std::string>{"0"});

  ASSERT_EQ(FirstError(*holder, "COMMIT"), 0);
  EXPECT_EQ(FirstError(*waiter, "INSERT INTO T VALUES (2)"), 0);
}

TEST(Messages, ConstraintErrorIsFollowedByTheTerminationNotice) {
  testenv::TempDir dir;
  auto session = Open(dir.Path().string());
  ASSERT_TRUE(session);
  Diagnostics diags;
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

TEST(Messages, TraceThatCannotBeWrittenRefusesTheConnection) {
  testenv::TempDir dir;
  ConnectOptions options = Options(dir.Path().string());
  options.trace_file = dir.File("missing-folder/trace.log");
  Diagnostics diags;
  EXPECT_FALSE(OpenSession(options, &diags));
  ASSERT_EQ(diags.size(), 1u);
  EXPECT_EQ(diags[0].sqlstate, "08001");
  EXPECT_NE(diags[0].message.find("trace.log"), std::string::npos);
}

}  // namespace
}  // namespace sqlsim::enginetest
