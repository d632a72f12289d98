// A writer that the kill tests kill at a random moment. Usage:
//   kill_worker MODE CONNECT LOG LEVEL ARG
// MODE append (ARG: the first number), update (ARG: how many records there
// are, ids 1 to ARG), reorg (ARG: the first number), blob (ARG: the blob id
// and the first version, "id:version"), script (ARG: the script file), mix
// (ARG: "seconds:first number": two threads appending, updating and walking
// for that long, then a line of counts each). LEVEL 1 writes through the procedures.
// Writes "ready" to LOG once connected, then a line per finished write, and
// goes on until it is killed.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "platform/win_api.h"
#include "faults/fault_support.h"
#include "support/table_defs.h"
#include "tabledef/definition_file.h"

namespace {

constexpr int kRounds = 1000000;  // a worker nobody kills still ends

class Log {
 public:
  explicit Log(const char* path) : file_(std::fopen(path, "w")) {}
  ~Log() {
    if (file_ != nullptr) std::fclose(file_);
  }
  Log(const Log&) = delete;
  Log& operator=(const Log&) = delete;
  bool ok() const { return file_ != nullptr; }
  // Flushed at once: what the process wrote outlives its kill.
  void Line(const std::string& line) {
    std::fputs((line + "\n").c_str(), file_);
    std::fflush(file_);
  }

 private:
  std::FILE* file_;
};

void Append(void* dbc, TableDef* td, Log& log, int first) {
  for (int i = 0; i < kRounds; ++i) {
    const int32_t id = rv_OdbcAppendRecordEx(dbc, td, killtest::Record(td, first + i, 0).data());
    if (id != 0) log.Line(std::to_string(id) + " " + std::to_string(first + i));
  }
}

void Update(void* dbc, TableDef* td, Log& log, int records) {
  std::mt19937 random(std::random_device{}());
  std::vector<char> record = killtest::Record(td, 0, 0);
  for (int i = 0; i < kRounds; ++i) {
    const int32_t id = static_cast<int32_t>(random() % static_cast<unsigned>(records)) + 1;
    if (rv_OdbcGetRecordEx(dbc, td, id, record.data()) == 0) continue;
    const int nr = static_cast<int>(rv_FieldToDouble(td, 0, record.data()));
    const int version = static_cast<int>(rv_FieldToDouble(td, 2, record.data())) + 1;
    if (rv_OdbcUpdateRecordEx(dbc, td, id, killtest::Record(td, nr, version).data()) != 0) {
      log.Line(std::to_string(id) + " " + std::to_string(version));
    }
  }
}

// A record in, the first one out, the ids renumbered: again and again.
void Reorg(void* dbc, TableDef* td, Log& log, int first) {
  for (int i = 0; i < kRounds; ++i) {
    rv_OdbcAppendRecord(dbc, td, killtest::Record(td, first + i, 0).data());
    rv_OdbcDeleteRecord(dbc, td, rv_OdbcFirstRecId(dbc, td, -1));
    rv_OdbcReorg(dbc, td);
    log.Line(std::to_string(first + i));
  }
}

void ReplaceBlob(void* dbc, Log& log, const std::string& arg) {
  const int blob_id = std::atoi(arg.c_str());
  const size_t colon = arg.find(':');
  const uint32_t first = colon == std::string::npos ? 1 : static_cast<uint32_t>(std::atol(arg.c_str() + colon + 1));
  for (uint32_t version = first; version < first + kRounds; ++version) {
    const std::vector<unsigned char> bytes = killtest::BlobBytes(version);
    HGLOBAL block = killtest::GlobalBlock(bytes.data(), bytes.size());
    if (block == nullptr) return;
    const int32_t result = rv_OdbcUpdateBlobFromHGlobal(dbc, blob_id, block);
    GlobalFree(block);
    if (result == 0) log.Line(std::to_string(version));
  }
}

// One thread of the mix on a connection of its own: appends half the time,
// updates a record it read, or walks a page of fifty by key.
void MixThread(const std::string& connect, TableDef* td, Log& log, std::mutex& log_lock, int seconds, int first) {
  void* dbc = rv_OdbcDriverConnect(nullptr, connect.c_str());
  if (dbc == nullptr) return;
  std::mt19937 random(std::random_device{}());
  long appends = 0, failed_appends = 0, updates = 0, failed_updates = 0, walks = 0;
  std::vector<char> record = killtest::Record(td, 0, 0);
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (int i = 0; std::chrono::steady_clock::now() < end; ++i) {
    const unsigned choice = random() % 10;
    if (choice < 5) {
      const int32_t id = rv_OdbcAppendRecord(dbc, td, killtest::Record(td, first + i, 0).data());
      ++(id != 0 ? appends : failed_appends);
      std::lock_guard<std::mutex> lock(log_lock);
      if (id != 0) log.Line(std::to_string(id) + " " + std::to_string(first + i));
    } else if (choice < 8) {
      const int32_t last = rv_OdbcLastRecId(dbc, td, -1);
      const int32_t id = last > 0 ? static_cast<int32_t>(random() % static_cast<unsigned>(last)) + 1 : 0;
      if (id == 0 || rv_OdbcGetRecord(dbc, td, id, record.data()) == 0) continue;
      const int nr = static_cast<int>(rv_FieldToDouble(td, 0, record.data()));
      const int version = static_cast<int>(rv_FieldToDouble(td, 2, record.data())) + 1;
      ++(rv_OdbcUpdateRecord(dbc, td, id, killtest::Record(td, nr, version).data()) != 0 ? updates : failed_updates);
    } else {
      int32_t page[50];
      rv_OdbcPrevNext50(dbc, td, rv_OdbcFirstRecId(dbc, td, 1), page, 0, 1);
      ++walks;
    }
  }
  rv_OdbcDisconnect(dbc);
  std::lock_guard<std::mutex> lock(log_lock);
  log.Line("counts " + std::to_string(appends) + " " + std::to_string(failed_appends) + " " +
           std::to_string(updates) + " " + std::to_string(failed_updates) + " " + std::to_string(walks));
}

void Mix(const std::string& connect, TableDef* td, Log& log, const std::string& arg) {
  const int seconds = std::atoi(arg.c_str());
  const size_t colon = arg.find(':');
  const int first = colon == std::string::npos ? 1 : std::atoi(arg.c_str() + colon + 1);
  std::mutex log_lock;
  std::thread second(MixThread, connect, td, std::ref(log), std::ref(log_lock), seconds, first + 500000);
  MixThread(connect, td, log, log_lock, seconds, first);
  second.join();
}

void RunScript(void* dbc, Log& log, const char* path) {
  char errors[1024] = {};
  const int32_t result = rv_CallSqlFile(dbc, nullptr, path, errors, sizeof errors);
  log.Line("done " + std::to_string(result) + " " + errors);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6) return 2;
  const std::string mode = argv[1];
  Log log(argv[3]);
  if (!log.ok()) return 3;
  testenv::TableDefPtr td = testenv::NewTableDef();
  lerv32::ApplyDefinitionLines(td.get(), killtest::kTableLines);
  td->ExLevel = std::atoi(argv[4]);
  lerv32::ExSQL_Enabled = 1;
  lerv32::Display_Errors = 0;
  void* dbc = rv_OdbcDriverConnect(nullptr, argv[2]);
  if (dbc == nullptr) return 4;
  // Without the set prepared the Ex calls are the plain ones.
  if (td->ExLevel >= 2) rv_OdbcPrepareAll(td.get(), dbc);
  log.Line("ready");
  const int arg = std::atoi(argv[5]);
  if (mode == "append") Append(dbc, td.get(), log, arg);
  if (mode == "update") Update(dbc, td.get(), log, arg);
  if (mode == "reorg") Reorg(dbc, td.get(), log, arg);
  if (mode == "blob") ReplaceBlob(dbc, log, argv[5]);
  if (mode == "script") RunScript(dbc, log, argv[5]);
  if (mode == "mix") Mix(argv[2], td.get(), log, argv[5]);
  rv_OdbcDisconnect(dbc);
  return 0;
}
