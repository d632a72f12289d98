// Appends from two processes at once (the worker is a program of its own):
// through up_Append_ every call gets its record; plain appends that lose the
// race for a RecId fail and say so, and nothing is left without its caller.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "records/write_test_util.h"
#include "support/sqlsim_db.h"
#include "support/table_defs.h"
#include "support/test_env.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

#if defined(_WIN32)
#include <process.h>
#define LERV32_ENVIRON _environ
using WorkerHandle = intptr_t;
#else
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#define LERV32_ENVIRON environ
using WorkerHandle = pid_t;
#endif

namespace {

using recordtest::CreateScript;
using recordtest::RunScript;
using writetest::Count;
using writetest::QueryText;

const std::vector<std::string> kParallelLines = {"ALIAS=PARALLEL", "FIELD=WER,N,4", "FIELD=NR,N,8",
                                                 "FIELD=TEXT,C,20"};
constexpr int kWorkers = 2;
constexpr int kAppendsPerWorker = 120;

#if defined(_WIN32)
// One argument as the C runtime reads it back from the command line, which
// the runtime joins from the arguments without quoting them.
std::string CommandLineArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, '\\');
  return out + "\"";
}
#endif

// Starts the worker with its own event log; -1 when it cannot start.
WorkerHandle SpawnWorker(const std::vector<std::string>& args, const std::string& event_log) {
  std::vector<std::string> env_text = {"LEBASE32_EVENTLOG=" + event_log};
  for (char** e = LERV32_ENVIRON; *e != nullptr; ++e) {
    if (std::string(*e).rfind("LEBASE32_EVENTLOG=", 0) != 0) env_text.push_back(*e);
  }
  std::vector<std::string> command = args;
#if defined(_WIN32)
  for (std::string& arg : command) arg = CommandLineArgument(arg);
#endif
  std::vector<char*> argv;
  std::vector<char*> envp;
  for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
  for (const std::string& e : env_text) envp.push_back(const_cast<char*>(e.c_str()));
  argv.push_back(nullptr);
  envp.push_back(nullptr);
#if defined(_WIN32)
  return _spawnve(_P_NOWAIT, args[0].c_str(), argv.data(), envp.data());
#else
  pid_t pid = -1;
  return posix_spawn(&pid, args[0].c_str(), nullptr, nullptr, argv.data(), envp.data()) == 0 ? pid : -1;
#endif
}

// The worker's exit code; -1 when it could not be waited for or was killed.
int WaitWorker(WorkerHandle worker) {
  int status = 0;
#if defined(_WIN32)
  return _cwait(&status, worker, _WAIT_CHILD) == -1 ? -1 : status;
#else
  if (waitpid(worker, &status, 0) != worker) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

struct Parallel {
  const char* what;
  int level;
  bool may_fail;  // the plain append is not retried
};

TEST(WriteRecordParallelTest, TwoProcessesAppendingLoseNothing) {
  testenv::TempDir temp;
  testenv::TableDefPtr td = testenv::NewTableDef();
  lerv32::ApplyDefinitionLines(td.get(), kParallelLines);
  const int32_t saved_enabled = lerv32::ExSQL_Enabled;
  lerv32::ExSQL_Enabled = 1;
  // Both on the Transact-SQL form: the standard form has no unique RecId, so
  // there two plain appends could take the same id unnoticed.
  const Parallel cases[] = {{"up_Append_", 1, false}, {"plain SQL", 0, true}};
  for (const Parallel& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string database = c.level ? "par_proc" : "par_plain";
    const std::string connect = testenv::SqlsimConnectString(temp.Path(), database);
    auto dbc = static_cast<SQLHDBC>(rv_OdbcDriverConnect(nullptr, connect.c_str()));
    ASSERT_NE(dbc, nullptr);
    ASSERT_TRUE(RunScript(dbc, testenv::ReadText(LERV32_DPXFUNC_SQL)));
    ASSERT_TRUE(RunScript(dbc, CreateScript(td.get(), 1)));
    const std::string start = (temp.Path() / (database + ".start")).string();
    std::vector<WorkerHandle> workers;
    std::vector<std::string> outputs, logs;
    for (int w = 1; w <= kWorkers; ++w) {
      const std::string name = database + std::to_string(w);
      outputs.push_back((temp.Path() / (name + ".txt")).string());
      logs.push_back((temp.Path() / (name + ".log")).string());
      std::vector<std::string> args = {WRITE_APPEND_WORKER, connect, std::to_string(c.level),
                                       std::to_string(kAppendsPerWorker), start, outputs.back(), std::to_string(w)};
      args.insert(args.end(), kParallelLines.begin(), kParallelLines.end());
      workers.push_back(SpawnWorker(args, logs.back()));
      ASSERT_GT(workers.back(), 0);
    }
    testenv::WriteText(start, "\n");
    for (WorkerHandle worker : workers) EXPECT_EQ(WaitWorker(worker), 0);
    td->ExLevel = c.level;
    std::set<int32_t> ids;
    size_t calls = 0;
    for (int w = 1; w <= kWorkers; ++w) {
      size_t failed = 0;
      for (const std::string& line : testenv::ReadLines(outputs[static_cast<size_t>(w - 1)])) {
        ++calls;
        int nr = 0;
        int32_t rec_id = 0;
        std::istringstream(line) >> nr >> rec_id;
        if (rec_id == 0) {
          ++failed;
          continue;
        }
        EXPECT_TRUE(ids.insert(rec_id).second) << "id " << rec_id << " handed out twice";
        std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td.get())), ' ');
        ASSERT_EQ(rv_OdbcGetRecord(dbc, td.get(), rec_id, record.data()), 1) << rec_id;
        EXPECT_EQ(rv_FieldToLong(td.get(), 0, record.data()), w) << rec_id;
        EXPECT_EQ(rv_FieldToLong(td.get(), 1, record.data()), nr) << rec_id;
      }
      // Every failure was reported, none silent.
      const std::string events = testenv::ReadText(logs[static_cast<size_t>(w - 1)]);
      EXPECT_GE(Count(events, "\t1\t"), failed) << events;
      if (!c.may_fail) {
        EXPECT_EQ(failed, 0u) << events;
      }
      RecordProperty(std::string(c.what) + " failed appends of worker " + std::to_string(w), static_cast<int>(failed));
    }
    EXPECT_EQ(calls, static_cast<size_t>(kWorkers * kAppendsPerWorker));
    EXPECT_EQ(QueryText(dbc, "SELECT count(*) FROM PARALLEL"), std::to_string(ids.size())) << "no record without its caller";
    rv_OdbcDisconnect(dbc);
  }
  lerv32::ExSQL_Enabled = saved_enabled;
}

}  // namespace
