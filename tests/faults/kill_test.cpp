// Writers killed at random moments (kill -9, TerminateProcess under Wine):
// afterwards the database opens, what was written before reads back whole,
// no record is half-written, the key table is in step with its table, no
// blob mixes two versions and no script batch is half run. The rounds per
// kind come from KILL_ROUNDS, or LERV32_KILL_ROUNDS for a longer soak; the
// seed is printed, and LERV32_KILL_SEED repeats a run.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "faults/fault_support.h"
#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "support/sqlsim_db.h"
#include "support/worker_process.h"
#include "tabledef/definition_file.h"

namespace {

int Rounds() {
  const char* soak = std::getenv("LERV32_KILL_ROUNDS");
  return soak != nullptr ? std::atoi(soak) : KILL_ROUNDS;
}

unsigned RandomSeed() {
  const char* seed = std::getenv("LERV32_KILL_SEED");
  return seed != nullptr ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : std::random_device{}();
}

struct Disconnect {
  void operator()(void* dbc) const { rv_OdbcDisconnect(dbc); }
};
// A connection of its own, given back at the end.
using Connection = std::unique_ptr<void, Disconnect>;

class KillTest : public ::testing::Test, public recordtest::RecordDb {
 protected:
  void SetUp() override {
    lerv32::ApplyDefinitionLines(td_.get(), killtest::kTableLines);
    lerv32::ExSQL_Enabled = 1;
    seed_ = RandomSeed();
    random_.seed(seed_);
    RecordProperty("seed", static_cast<int>(seed_));
    std::printf("LERV32_KILL_SEED=%u\n", seed_);
  }

  std::string ConnectString() const { return testenv::SqlsimConnectString(temp_.Path(), "kill"); }
  Connection Reopen() const { return Connection(rv_OdbcDriverConnect(nullptr, ConnectString().c_str())); }

  // Starts the worker, waits until it is connected, lets it work for a
  // random while up to max_ms and kills it. Its log lines after "ready".
  std::vector<std::string> KillWhileWriting(const std::string& mode, int level, const std::string& arg, int max_ms) {
    const std::string log = temp_.File(mode + ".log");
    testenv::WriteText(log, "");
    const testenv::WorkerHandle worker =
        testenv::SpawnWorker({KILL_WORKER, mode, ConnectString(), log, std::to_string(level), arg});
    EXPECT_GT(worker, 0);
    if (worker <= 0) return {};
    for (int wait = 0; wait < 6000 && testenv::ReadText(log).rfind("ready", 0) != 0; ++wait) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(random_() % static_cast<unsigned>(max_ms)));
    testenv::KillWorker(worker);
    testenv::WaitWorker(worker);
    std::vector<std::string> lines = testenv::ReadLines(log);
    EXPECT_FALSE(lines.empty()) << mode << ": the worker never got connected";
    if (!lines.empty()) lines.erase(lines.begin());
    ++kills_;
    return lines;
  }

  // The rows of the table and of its key table agree, and filling the key
  // table again (setting every RecId to itself) would change nothing.
  void ExpectWholeAndInStep(SQLHDBC dbc) {
    EXPECT_EQ(recordtest::QueryText(dbc, killtest::kBrokenRows), "0") << "a record half-written";
    EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) - count(DISTINCT RecId) FROM ABBRUCH"), "0");
    EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) FROM ABBRUCH"),
              recordtest::QueryText(dbc, "SELECT count(*) FROM ut_ABBRUCH_Keys"));
    ASSERT_TRUE(recordtest::RunScript(dbc, "SELECT * INTO #before FROM ut_ABBRUCH_Keys"));
    ASSERT_TRUE(recordtest::RunScript(dbc, "UPDATE ABBRUCH SET RecId = RecId"));
    EXPECT_EQ(recordtest::QueryText(dbc, "SELECT count(*) FROM (SELECT * FROM #before EXCEPT "
                                         "SELECT * FROM ut_ABBRUCH_Keys) AS changed"),
              "0")
        << "the key table was not in step";
    ASSERT_TRUE(recordtest::RunScript(dbc, "DROP TABLE #before"));
  }

  void Fill(SQLHDBC dbc, int records) {
    for (int nr = 1; nr <= records; ++nr) {
      ASSERT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), killtest::Record(td_.get(), nr, 0).data()), nr);
    }
  }

  void TearDown() override { RecordProperty("kills", kills_); }

  unsigned seed_ = 0;
  std::mt19937 random_;
  int kills_ = 0;
};

TEST_F(KillTest, AppendsKeepEveryRecordWritten) {
  SQLHDBC setup = Open("kill", 1);
  ASSERT_NE(setup, nullptr);
  std::map<int32_t, int> written;  // RecId -> number, as the worker reported
  for (int round = 0; round < Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int first = (round + 1) * 100000;
    for (const std::string& line : KillWhileWriting("append", round % 3, std::to_string(first), 300)) {
      int32_t id = 0;
      int nr = 0;
      std::istringstream(line) >> id >> nr;
      EXPECT_TRUE(written.emplace(id, nr).second) << "RecId " << id << " twice";
    }
    const Connection after = Reopen();
    ASSERT_NE(after.get(), nullptr) << "the database does not open";
    ExpectWholeAndInStep(after.get());
    for (const auto& [id, nr] : written) {
      ASSERT_EQ(Read(after.get(), id), killtest::Record(td_.get(), nr, 0)) << "RecId " << id;
    }
    // At most the append under way when killed went in unreported.
    const int stored = std::atoi(recordtest::QueryText(after.get(), "SELECT count(*) FROM ABBRUCH").c_str());
    EXPECT_GE(stored, static_cast<int>(written.size()));
    EXPECT_LE(stored, static_cast<int>(written.size()) + round + 1);
    if (HasFatalFailure()) return;
  }
}

TEST_F(KillTest, UpdatesLeaveEachRecordAtOneVersion) {
  constexpr int kRecords = 200;
  SQLHDBC setup = Open("kill", 1);
  ASSERT_NE(setup, nullptr);
  Fill(setup, kRecords);
  std::map<int32_t, int> version;  // the last version the worker reported
  for (int round = 0; round < Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    for (const std::string& line : KillWhileWriting("update", round % 3, std::to_string(kRecords), 300)) {
      int32_t id = 0;
      int v = 0;
      std::istringstream(line) >> id >> v;
      version[id] = v;
    }
    const Connection after = Reopen();
    ASSERT_NE(after.get(), nullptr) << "the database does not open";
    ExpectWholeAndInStep(after.get());
    EXPECT_EQ(recordtest::QueryText(after.get(), "SELECT count(*) FROM ABBRUCH"), std::to_string(kRecords));
    for (const auto& [id, v] : version) {
      const auto found = static_cast<int>(rv_FieldToDouble(td_.get(), 2, Read(after.get(), id).data()));
      // The update under way when killed may have gone in unreported.
      EXPECT_TRUE(found == v || found == v + 1) << "RecId " << id << " at " << found << ", reported " << v;
    }
    if (HasFatalFailure()) return;
  }
}

TEST_F(KillTest, ReorganisationsRenumberWholeOrNotAtAll) {
  constexpr int kRecords = 60;
  SQLHDBC setup = Open("kill", 1);
  ASSERT_NE(setup, nullptr);
  Fill(setup, kRecords);
  for (int round = 0; round < Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    KillWhileWriting("reorg", round % 2, std::to_string((round + 1) * 100000), 400);
    const Connection after = Reopen();
    ASSERT_NE(after.get(), nullptr) << "the database does not open";
    ExpectWholeAndInStep(after.get());
    // Each step adds one record and removes one: a kill between the two
    // leaves one more.
    const int stored = std::atoi(recordtest::QueryText(after.get(), "SELECT count(*) FROM ABBRUCH").c_str());
    EXPECT_GE(stored, kRecords);
    EXPECT_LE(stored, kRecords + round + 1);
    if (HasFatalFailure()) return;
  }
}

TEST_F(KillTest, ABlobIsOneVersionOrTheNext) {
  SQLHDBC setup = Connect("kill");
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(recordtest::RunScript(setup, testenv::ReadText(LERV32_BLOBS_SQL)));
  const std::vector<unsigned char> first = killtest::BlobBytes(0);
  const int32_t blob_id = killtest::NewBlob(setup, first.data(), first.size());
  ASSERT_NE(blob_id, 0);
  uint32_t stored = 0;  // the version found after the last round
  for (int round = 0; round < Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    uint32_t reported = stored;
    const std::string arg = std::to_string(blob_id) + ":" + std::to_string(stored + 1);
    for (const std::string& line : KillWhileWriting("blob", 0, arg, 1500)) {
      reported = static_cast<uint32_t>(std::strtoul(line.c_str(), nullptr, 10));
    }
    const Connection after = Reopen();
    ASSERT_NE(after.get(), nullptr) << "the database does not open";
    HGLOBAL read = nullptr;
    ASSERT_EQ(rv_OdbcSelectBlobToHGlobal(after.get(), blob_id, &read), 0);
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(read));
    const std::vector<unsigned char> found(bytes, bytes + GlobalSize(read));
    GlobalUnlock(read);
    GlobalFree(read);
    const uint32_t version = killtest::BlobVersion(found);
    ASSERT_TRUE(found == killtest::BlobBytes(version)) << "the blob mixes versions (" << found.size() << " bytes)";
    // What the worker reported last, or one more if killed after a write
    // and before its report.
    EXPECT_TRUE(version == reported || version == reported + 1) << version << " after " << reported;
    stored = version;
  }
}

// Batch b puts kScriptRows rows of b into SKRIPT: odd ones in one
// statement, even ones in several inside a transaction.
std::string Script(int first, int batches) {
  std::string script;
  for (int b = first; b < first + batches; ++b) {
    const std::string number = std::to_string(b);
    if (b % 2 != 0) {
      script += "INSERT INTO SKRIPT (B, N) VALUES ";
      for (int n = 1; n <= killtest::kScriptRows; ++n) {
        script += (n > 1 ? ", (" : "(") + number + ", " + std::to_string(n) + ")";
      }
      script += "\r\nGO\r\n";
      continue;
    }
    script += "BEGIN TRANSACTION\r\n";
    for (int n = 1; n <= killtest::kScriptRows; ++n) {
      script += "INSERT INTO SKRIPT (B, N) VALUES (" + number + ", " + std::to_string(n) + ")\r\n";
    }
    script += "COMMIT TRANSACTION\r\nGO\r\n";
  }
  return script;
}

TEST_F(KillTest, AScriptStopsBetweenBatches) {
  constexpr int kBatches = 400;
  SQLHDBC setup = Connect("kill");
  ASSERT_NE(setup, nullptr);
  ASSERT_TRUE(recordtest::RunScript(setup, "CREATE TABLE SKRIPT (B int NOT NULL, N int NOT NULL)"));
  for (int round = 0; round < Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const int first = (round + 1) * 1000;
    const std::string path = temp_.File("skript.sql");
    testenv::WriteText(path, Script(first, kBatches));
    KillWhileWriting("script", 0, path, 600);
    const Connection after = Reopen();
    ASSERT_NE(after.get(), nullptr) << "the database does not open";
    EXPECT_EQ(recordtest::QueryText(after.get(), "SELECT count(*) FROM (SELECT B FROM SKRIPT GROUP BY B HAVING "
                                                 "count(*) <> " + std::to_string(killtest::kScriptRows) + ") AS half"),
              "0")
        << "a batch half run";
    // The batches run in order: those of this round that ran are the first.
    const std::string range = " FROM SKRIPT WHERE B >= " + std::to_string(first) + " AND B < " +
                              std::to_string(first + kBatches);
    const std::string ran = recordtest::QueryText(after.get(), "SELECT count(DISTINCT B)" + range);
    const std::string last = recordtest::QueryText(after.get(), "SELECT ISNULL(max(B) - " + std::to_string(first - 1) +
                                                                    ", 0)" + range);
    EXPECT_EQ(ran, last) << "a batch left out";
  }
}

}  // namespace
