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
#include "support/worker_process.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace {

using recordtest::CreateScript;
using recordtest::RunScript;
using writetest::Count;
using writetest::QueryText;
using testenv::SpawnWorker;
using testenv::WaitWorker;
using testenv::WorkerHandle;

const std::vector<std::string> kParallelLines = {"ALIAS=PARALLEL", "FIELD=WER,N,4", "FIELD=NR,N,8",
                                                 "FIELD=TEXT,C,20"};
constexpr int kWorkers = 2;
constexpr int kAppendsPerWorker = 120;

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
      workers.push_back(SpawnWorker(args, {"LEBASE32_EVENTLOG=" + logs.back()}));
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
