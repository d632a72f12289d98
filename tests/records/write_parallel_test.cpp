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
#include "support/sqlsim_db.h"
#include "support/worker_process.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace {

const std::vector<std::string> kParallelLines = {"ALIAS=PARALLEL", "USEKEYTAB=1", "FIELD=WER,N,4", "FIELD=NR,N,8",
                                                 "FIELD=TEXT,C,20",      "KEY=NR_KEY,NR"};
constexpr int kWorkers = 2;
constexpr int kAppendsPerWorker = 120;

class WriteRecordParallelTest : public ::testing::Test, public recordtest::RecordDb {};

TEST_F(WriteRecordParallelTest, TwoProcessesAppendingLoseNothing) {
  lerv32::ApplyDefinitionLines(td_.get(), kParallelLines);
  lerv32::ExSQL_Enabled = 1;
  // Both on the Transact-SQL form: the standard form has no unique RecId, so
  // there two plain appends could take the same id unnoticed. The plain
  // append is not retried: it may fail.
  const char* const kNames[] = {"plain", "up_Append_", "prepared"};
  for (int level : {2, 1, 0}) {
    SCOPED_TRACE(kNames[level]);
    const std::string database = std::string("par_") + kNames[level];
    SQLHDBC dbc = Open(database, 1);
    const std::string start = temp_.File(database + ".start");
    std::vector<testenv::WorkerHandle> workers;
    for (int w = 1; w <= kWorkers; ++w) {
      const std::string name = temp_.File(database + std::to_string(w));
      std::vector<std::string> args = {WRITE_APPEND_WORKER, testenv::SqlsimConnectString(temp_.Path(), database),
                                       std::to_string(level), std::to_string(kAppendsPerWorker), start, name + ".txt",
                                       std::to_string(w)};
      args.insert(args.end(), kParallelLines.begin(), kParallelLines.end());
      workers.push_back(testenv::SpawnWorker(args, {"LEBASE32_EVENTLOG=" + name + ".log"}));
      ASSERT_GT(workers.back(), 0);
    }
    testenv::WriteText(start, "\n");
    for (testenv::WorkerHandle worker : workers) EXPECT_EQ(testenv::WaitWorker(worker), 0);
    td_->ExLevel = level;
    std::set<int32_t> ids;
    size_t calls = 0;
    for (int w = 1; w <= kWorkers; ++w) {
      const std::string name = temp_.File(database + std::to_string(w));
      size_t failed = 0;
      for (const std::string& line : testenv::ReadLines(name + ".txt")) {
        ++calls;
        int nr = 0;
        int32_t rec_id = 0;
        std::istringstream(line) >> nr >> rec_id;
        failed += rec_id == 0 ? 1 : 0;
        if (rec_id == 0) continue;
        EXPECT_TRUE(ids.insert(rec_id).second) << "id " << rec_id << " handed out twice";
        const std::vector<char> record = Read(dbc, rec_id);
        EXPECT_EQ(rv_FieldToLong(td_.get(), 0, record.data()), w) << rec_id;
        EXPECT_EQ(rv_FieldToLong(td_.get(), 1, record.data()), nr) << rec_id;
      }
      // Every failure was reported, none silent.
      const std::string events = testenv::ReadText(name + ".log");
      EXPECT_GE(recordtest::Count(events, "\t1\t"), failed) << events;
      EXPECT_TRUE(level == 0 || failed == 0) << events;
      RecordProperty(std::string(kNames[level]) + " failed appends of worker " + std::to_string(w),
                     static_cast<int>(failed));
    }
    EXPECT_EQ(calls, static_cast<size_t>(kWorkers * kAppendsPerWorker));
    EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) FROM PARALLEL"), std::to_string(ids.size()))
        << "no record without its caller";
    EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) FROM ut_PARALLEL_Keys"), std::to_string(ids.size()))
        << "every record has its key row";
  }
}

}  // namespace
