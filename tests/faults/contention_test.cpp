// Eight processes of two threads each append, update and walk one table at
// once: every append a caller was told of is there, no RecId twice, every
// record whole, the key table in step, and no worker hangs. Prints the
// throughput and the retries (CONTENTION_SECONDS long; longer with
// LERV32_CONTENTION_SECONDS).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "faults/fault_support.h"
#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "support/sqlsim_db.h"
#include "support/worker_process.h"
#include "tabledef/definition_file.h"

namespace {

int Seconds() {
  const char* soak = std::getenv("LERV32_CONTENTION_SECONDS");
  return soak != nullptr ? std::atoi(soak) : CONTENTION_SECONDS;
}

class ContentionTest : public ::testing::TestWithParam<int>, public recordtest::RecordDb {};

TEST_P(ContentionTest, ManyWritersLoseNothingTheyWereTold) {
  lerv32::ApplyDefinitionLines(td_.get(), killtest::kTableLines);
  lerv32::ExSQL_Enabled = 1;
  const std::string database = "viele" + std::to_string(GetParam());
  SQLHDBC dbc = Open(database, 1);
  ASSERT_NE(dbc, nullptr);
  for (int nr = 1; nr <= 200; ++nr) ASSERT_NE(rv_OdbcAppendRecord(dbc, td_.get(), killtest::Record(td_.get(), nr, 0).data()), 0);
  std::vector<testenv::WorkerHandle> workers;
  for (int w = 1; w <= CONTENTION_WORKERS; ++w) {
    const std::string name = temp_.File(database + "-" + std::to_string(w));
    workers.push_back(testenv::SpawnWorker(
        {KILL_WORKER, "mix", testenv::SqlsimConnectString(temp_.Path(), database), name + ".txt",
         std::to_string(GetParam()), std::to_string(Seconds()) + ":" + std::to_string(w * 1000000)},
        {"LEBASE32_EVENTLOG=" + name + ".log"}));
    ASSERT_GT(workers.back(), 0);
  }
  for (testenv::WorkerHandle worker : workers) EXPECT_EQ(testenv::WaitWorker(worker), 0);
  long counts[5] = {};
  size_t retries = 0;
  std::set<int32_t> ids;
  td_->ExLevel = GetParam();
  for (int w = 1; w <= CONTENTION_WORKERS; ++w) {
    const std::string name = temp_.File(database + "-" + std::to_string(w));
    for (const std::string& line : testenv::ReadLines(name + ".txt")) {
      std::istringstream in(line);
      if (line.rfind("ready", 0) == 0) continue;
      if (line.rfind("counts", 0) == 0) {
        std::string word;
        in >> word;
        for (long& count : counts) {
          long value = 0;
          in >> value;
          count += value;
        }
        continue;
      }
      int32_t id = 0;
      int nr = 0;
      in >> id >> nr;
      EXPECT_TRUE(ids.insert(id).second) << "RecId " << id << " handed out twice";
      EXPECT_EQ(static_cast<int>(rv_FieldToDouble(td_.get(), 0, Read(dbc, id).data())), nr) << "RecId " << id;
    }
    retries += recordtest::Count(testenv::ReadText(name + ".log"), "REPEAT");
  }
  EXPECT_EQ(recordtest::QueryText(dbc, killtest::kBrokenRows), "0") << "a record half-written";
  EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) FROM ABBRUCH"), std::to_string(200 + ids.size()));
  EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) FROM ut_ABBRUCH_Keys"), std::to_string(200 + ids.size()));
  EXPECT_GT(counts[0], 0);
  EXPECT_GT(counts[2], 0);
  const double seconds = Seconds();
  std::printf("%s, %d processes of 2 threads, %d s: %.0f appends/s (%ld failed), %.0f updates/s (%ld failed), "
              "%.0f walks/s, %zu retries\n",
              GetParam() ? "procedures" : "plain", CONTENTION_WORKERS, Seconds(), counts[0] / seconds, counts[1],
              counts[2] / seconds, counts[3], counts[4] / seconds, retries);
}

INSTANTIATE_TEST_SUITE_P(Paths, ContentionTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return param.param ? std::string("Procedures") : std::string("Plain");
                         });

}  // namespace
