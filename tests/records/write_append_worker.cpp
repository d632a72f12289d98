// One of several processes appending records to one table through the
// library. Usage: write_append_worker <connection string> <ExLevel>
// <appends> <start file> <output file> <worker number> <definition line>...
// Waits for the start file, then appends records whose field WER holds the
// worker number and NR the call's number, and writes one line per append:
// the call's number and the RecId the library returned.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "support/table_defs.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

int main(int argc, char** argv) {
  if (argc < 8) return 2;
  const std::string connect = argv[1];
  const int level = std::atoi(argv[2]);
  const int appends = std::atoi(argv[3]);
  const std::filesystem::path start = argv[4];
  std::ofstream out(argv[5]);
  const std::string worker = argv[6];
  testenv::TableDefPtr td = testenv::NewTableDef();
  lerv32::ApplyDefinitionLines(td.get(), std::vector<std::string>(argv + 7, argv + argc));
  td->ExLevel = level;
  td->AppendEx = 1;
  lerv32::ExSQL_Enabled = 1;
  lerv32::Display_Errors = 0;
  void* dbc = rv_OdbcDriverConnect(nullptr, connect.c_str());
  if (dbc == nullptr) return 3;
  // Level 2 appends through the prepared set.
  if (level >= 2) rv_OdbcPrepareAll(td.get(), dbc);
  if (level >= 2 && rv_GetSqlRecPtr(td.get()) == nullptr) return 5;
  for (int wait = 0; !std::filesystem::exists(start) && wait < 3000; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td.get())), ' ');
  for (int i = 1; i <= appends; ++i) {
    rv_FieldFromString(td.get(), rv_FieldNo(td.get(), "WER"), record.data(), worker.c_str());
    rv_FieldFromString(td.get(), rv_FieldNo(td.get(), "NR"), record.data(), std::to_string(i).c_str());
    const int32_t rec_id = level >= 2 ? rv_OdbcAppendRecordEx(dbc, td.get(), record.data())
                                      : rv_OdbcAppendRecord(dbc, td.get(), record.data());
    out << i << ' ' << rec_id << '\n';
  }
  rv_OdbcDisconnect(dbc);
  return out.good() ? 0 : 4;
}
