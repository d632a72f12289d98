// Sessions on one database: writers of several connections and processes
// take turns, nothing is lost, and a writer that cannot get its turn in time
// gets an error instead of waiting forever; what a statement sends besides its
// rows; a trace that cannot be written refuses the connection.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "sqlsim/engine/engine.h"
#include "support/test_env.h"

namespace sqlsim {
namespace {

ConnectOptions Options(const std::string& dir, int32_t timeout_ms = 10000) {
  ConnectOptions options;
  options.data_dir = dir;
  options.database = "shared";
  options.autocreate = true;
  options.busy_timeout_ms = timeout_ms;
  return options;
}

std::unique_ptr<Session> Open(const std::string& dir, int32_t timeout_ms = 10000) {
  Diagnostics diags;
  return OpenSession(Options(dir, timeout_ms), &diags);
}

// The first error of a batch, or 0.
int32_t RunBatch(Session& session, const std::string& sql, int64_t* value = nullptr) {
  Diagnostics diags;
  auto batch = session.Prepare(sql, &diags);
  if (!batch) return diags.empty() ? -1 : diags.front().native;
  auto execution = batch->Execute({});
  while (auto result = execution->NextResult()) {
    for (const Diagnostic& d : result->messages) {
      if (IsError(d)) return d.native;
    }
    if (result->rows && result->rows->Next(&diags) && value) *value = result->rows->Column(0).integer;
  }
  return 0;
}

TEST(Concurrency, AppendsFromTwoProcessesLoseNothing) {
  testenv::TempDir dir;
  {
    auto setup = Open(dir.Path().string());
    ASSERT_TRUE(setup);
    ASSERT_EQ(RunBatch(*setup, "CREATE TABLE T (Id int NOT NULL PRIMARY KEY, Who int NOT NULL)"), 0);
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
        failures += RunBatch(*session, "INSERT INTO T (Id, Who) SELECT ISNULL(MAX(Id), 0) + 1, " +
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
  int64_t count = 0, highest = 0;
  ASSERT_EQ(RunBatch(*check, "SELECT count(*) FROM T", &count), 0);
  ASSERT_EQ(RunBatch(*check, "SELECT MAX(Id) FROM T", &highest), 0);
  EXPECT_EQ(count, 2 * kPerProcess);
  EXPECT_EQ(highest, 2 * kPerProcess);
}

TEST(Concurrency, WriterThatCannotGetItsTurnFailsInTime) {
  testenv::TempDir dir;
  auto holder = Open(dir.Path().string());
  ASSERT_TRUE(holder);
  ASSERT_EQ(RunBatch(*holder, "CREATE TABLE T (Id int NULL)"), 0);
  ASSERT_EQ(RunBatch(*holder, "BEGIN TRANSACTION INSERT INTO T VALUES (1)"), 0);

  auto waiter = Open(dir.Path().string(), 200);
  ASSERT_TRUE(waiter);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(RunBatch(*waiter, "INSERT INTO T VALUES (2)"), 1222);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  int64_t count = -1;
  // Readers are not held up by the writer, and do not see its rows.
  EXPECT_EQ(RunBatch(*waiter, "SELECT count(*) FROM T", &count), 0);
  EXPECT_EQ(count, 0);

  ASSERT_EQ(RunBatch(*holder, "COMMIT"), 0);
  EXPECT_EQ(RunBatch(*waiter, "INSERT INTO T VALUES (2)"), 0);
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
}  // namespace sqlsim
