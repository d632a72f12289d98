// Two processes append to one table at the same time through up_Append_:
// every call gets its own id and every record arrives.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/sqlsim/scripts/script_runner.h"

extern char** environ;

namespace scripts {
namespace {

constexpr int kWorkers = 2;
constexpr int kAppendsPerWorker = 300;

pid_t Spawn(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

TEST_F(ScriptTest, TwoProcessesAppendingGetDistinctIdsAndKeepEveryRecord) {
  CreateSample("zahlen");
  ASSERT_FALSE(HasFailure());
  const std::string start = (dir_.path() / "start").string();
  std::vector<pid_t> workers;
  std::vector<std::string> outputs;
  for (int w = 1; w <= kWorkers; ++w) {
    outputs.push_back((dir_.path() / ("worker" + std::to_string(w) + ".txt")).string());
    workers.push_back(Spawn({SQLSIM_APPEND_WORKER, odbctest::ConnectionString(dir_), std::to_string(w),
                             std::to_string(kAppendsPerWorker), start, outputs.back()}));
    ASSERT_GT(workers.back(), 0) << "cannot start " << SQLSIM_APPEND_WORKER;
  }
  std::ofstream(start).put('\n');
  for (pid_t pid : workers) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "worker status " << status;
  }

  std::map<int64_t, int64_t> a_by_id;
  int calls = 0;
  for (const std::string& output : outputs) {
    std::ifstream in(output);
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream fields(line);
      int64_t a = 0;
      std::string id;
      fields >> a >> id;
      ++calls;
      if (id == "error" || id.empty() || id == "0") {
        ADD_FAILURE() << "append failed: " << line;
        continue;
      }
      EXPECT_TRUE(a_by_id.emplace(std::stoll(id), a).second) << "id " << id << " handed out twice";
    }
  }
  EXPECT_EQ(calls, kWorkers * kAppendsPerWorker);
  // Ids in order alternate between the workers when their appends overlapped.
  int switches = 0;
  int64_t last_worker = 0;
  for (const auto& [id, a] : a_by_id) {
    if (last_worker != 0 && a / 100000 != last_worker) ++switches;
    last_worker = a / 100000;
  }
  RecordProperty("worker_switches", switches);

  std::map<int64_t, int64_t> stored;
  for (const auto& row : Rows("SELECT RecId, A FROM [dbo].[ut_ZAHLEN]")) stored[std::stoll(row[0])] = std::stoll(row[1]);
  EXPECT_EQ(stored, a_by_id);
  EXPECT_EQ(Int("SELECT count(*) FROM [dbo].[ut_ZAHLEN_Keys]"), kWorkers * kAppendsPerWorker);
}

}  // namespace
}  // namespace scripts
