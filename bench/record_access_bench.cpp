// Record access through the library against the same statements written out
// by hand (record_hand_loops.h, prepared_hand_loops.h), per call, on one
// sqlsim table of 10,000 records built at the start of the run: read by
// RecId, next by key, update and append, each by plain SQL, by the generated
// procedures and through the prepared set, and the prepared find. Both sides
// use the one connection the library opened. Then a whole walk of the table
// by pages of fifty against next by next, with and without key tables.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_tables.h"
#include "bench/prepared_hand_loops.h"
#include "bench/record_hand_loops.h"
#include "frame/settings.h"
#include "include/lerv32.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace bench {
namespace {

constexpr int kRecords = 10000;

enum class Path { kPlain, kProcedure, kPrepared };

// The i-th RecId of a walk that visits every record once, out of order.
int32_t Id(long i) { return static_cast<int32_t>(i * 7919 % kRecords + 1); }

class Setup {
 public:
  Setup() : td_(rv_AllocTableDef()), key_tables_(rv_AllocTableDef()) {
    if (td_ == nullptr || key_tables_ == nullptr) throw std::runtime_error("no table definition");
    rv_SetMandant("");
    rv_SetExtendedLevel(1);
    lerv32::ApplyDefinitionLines(td_, RecordDefinitionLines());
    std::string connect = FreshDatabase(Driver::kSqlsim, "records");
    // BENCH_RECORDS_TRACE=<file>: the statements both sides send, for comparing.
    if (const char* trace = std::getenv("BENCH_RECORDS_TRACE")) connect += std::string(";TRACE=") + trace;
    dbc_ = rv_OdbcDriverConnect(nullptr, connect.c_str());
    if (dbc_ == nullptr) throw std::runtime_error("no connection: " + connect);
    char errors[2048] = {};
    if (!rv_CallSqlFile(dbc_, nullptr, LERV32_DPXFUNC_SQL, errors, sizeof errors) ||
        !rv_CreateTable(dbc_, td_, 1, nullptr)) {
      throw std::runtime_error(std::string("table not created: ") + errors);
    }
    char base[128] = {};
    lerv32::SqlBaseName(td_, base);
    hand_ = std::make_unique<HandLoops>(static_cast<SQLHDBC>(dbc_), td_->TableName, base);
    for (int i = 1; i <= kRecords; ++i) {
      records_.push_back(Record(i, 1));
      hand_records_.push_back(SampleHandRecord(i, 1));
    }
    Use(Path::kProcedure);
    for (int i = 1; i <= kRecords; ++i) {
      if (rv_OdbcAppendRecord(dbc_, td_, Record(i, 0).data()) != i) throw std::runtime_error("fill failed");
    }
    prepared_ = std::make_unique<PreparedHandLoops>(static_cast<SQLHDBC>(dbc_), base);
    if (!prepared_->ok()) throw std::runtime_error("hand-written statements not prepared");
    // The same records in a table with key tables, for the walks by pages.
    std::vector<std::string> lines = RecordDefinitionLines();
    lines[0] = "ALIAS=RECK";
    lines.push_back("USEKEYTAB=1");
    lerv32::ApplyDefinitionLines(key_tables_, lines);
    const std::string copy = std::string("INSERT INTO RECK SELECT * FROM ") + td_->TableName;
    if (!rv_CreateTable(dbc_, key_tables_, 1, nullptr) || !rv_CallStatement(dbc_, copy.c_str(), errors, sizeof errors)) {
      throw std::runtime_error(std::string("key table copy failed: ") + errors);
    }
  }
  ~Setup() {
    hand_.reset();
    prepared_.reset();
    if (dbc_ != nullptr) rv_OdbcDisconnect(dbc_);
    rv_FreeTableDef(td_);
    rv_FreeTableDef(key_tables_);
  }
  Setup(const Setup&) = delete;
  Setup& operator=(const Setup&) = delete;

  LERV32_HDBC dbc() const { return dbc_; }
  const TableDef* td() const { return td_; }
  const TableDef* key_tables() const { return key_tables_; }
  HandLoops& hand() { return *hand_; }
  PreparedHandLoops& prepared() { return *prepared_; }
  const std::vector<char>& record(int32_t id) const { return records_[static_cast<size_t>(id - 1)]; }
  const HandRecord& hand_record(int32_t id) const { return hand_records_[static_cast<size_t>(id - 1)]; }

  // Procedures with ExLevel 1 and the optimised append, plain SQL with 0,
  // the prepared set with 2.
  void Use(Path path) {
    td_->ExLevel = path == Path::kPlain ? 0 : path == Path::kProcedure ? 1 : 2;
    td_->AppendEx = path == Path::kPlain ? 0 : 1;
    if (path == Path::kPrepared && rv_GetSqlRecPtr(td_) == nullptr) rv_OdbcPrepareAll(td_, dbc_);
    if (path == Path::kPrepared && rv_GetSqlRecPtr(td_) == nullptr) throw std::runtime_error("set not prepared");
  }
  std::vector<char> Record(int i, int variant) const {
    std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td_)) + 1, ' ');
    const std::vector<std::string> texts = SampleTexts(i, variant);
    for (int32_t f = 0; f < td_->FieldCnt; ++f) rv_FieldFromString(td_, f, record.data(), texts[f].c_str());
    return record;
  }
  std::vector<char> LibraryRead(int32_t id) const {
    std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td_)) + 1, ' ');
    if (rv_OdbcGetRecord(dbc_, td_, id, record.data()) != 1) throw std::runtime_error("no record");
    return record;
  }
  // Drops what the append benchmarks added.
  void RemoveAppended() {
    const std::string sql = std::string("DELETE FROM ") + td_->TableName + " WHERE RecId > " + std::to_string(kRecords);
    char errors[512] = {};
    if (!rv_CallStatement(dbc_, sql.c_str(), errors, sizeof errors)) throw std::runtime_error(errors);
  }

 private:
  TableDef* td_ = nullptr;
  TableDef* key_tables_ = nullptr;
  LERV32_HDBC dbc_ = nullptr;
  std::unique_ptr<HandLoops> hand_;
  std::unique_ptr<PreparedHandLoops> prepared_;
  std::vector<std::vector<char>> records_;  // variant 1 of every record, by RecId
  std::vector<HandRecord> hand_records_;
};

template <Path path, bool library>
void Read(benchmark::State& state, Setup& s) {
  s.Use(path);
  std::vector<char> record(s.record(1));
  HandRecord row{};
  long i = 0;
  for (auto _ : state) {
    const int32_t id = Id(i++);
    const bool ok = library ? (path == Path::kPrepared ? rv_OdbcGetRecordEx(s.dbc(), s.td(), id, record.data())
                                                       : rv_OdbcGetRecord(s.dbc(), s.td(), id, record.data())) == 1
                    : path == Path::kPlain     ? s.hand().ReadPlain(id, &row)
                    : path == Path::kProcedure ? s.hand().ReadProcedure(id, &row)
                                               : s.prepared().Read(id, &row);
    if (!ok) return state.SkipWithError("read failed");
  }
}

// Walks NAME_KEY from its first record, starting over at the end.
template <Path path, bool library>
void Next(benchmark::State& state, Setup& s) {
  s.Use(path);
  const int32_t first = rv_OdbcFirstRecId(s.dbc(), s.td(), 0);
  if (first == 0) return state.SkipWithError("no first record");
  int32_t current = first;
  for (auto _ : state) {
    const int32_t next = library ? (path == Path::kPrepared ? rv_OdbcNextRecIdEx(s.dbc(), s.td(), 0, current)
                                                            : rv_OdbcNextRecId(s.dbc(), s.td(), 0, current))
                         : path == Path::kPlain     ? s.hand().NextPlain(current)
                         : path == Path::kProcedure ? s.hand().NextProcedure(current)
                                                    : s.prepared().Next(current);
    current = next != 0 ? next : first;
  }
}

// Every field rewritten; the key stays, so the walk above stays the same.
template <Path path, bool library>
void Update(benchmark::State& state, Setup& s) {
  s.Use(path);
  long i = 0;
  for (auto _ : state) {
    const int32_t id = Id(i++);
    const char* record = s.record(id).data();
    const bool ok = library ? (path == Path::kPrepared ? rv_OdbcUpdateRecordEx(s.dbc(), s.td(), id, record)
                                                       : rv_OdbcUpdateRecord(s.dbc(), s.td(), id, record)) == 1
                    : path == Path::kPlain     ? s.hand().UpdatePlain(id, s.hand_record(id))
                    : path == Path::kProcedure ? s.hand().UpdateProcedure(id, s.hand_record(id))
                                               : s.prepared().Update(id, s.hand_record(id));
    if (!ok) return state.SkipWithError("update failed");
  }
}

template <Path path, bool library>
void Append(benchmark::State& state, Setup& s) {
  s.Use(path);
  long i = 0;
  for (auto _ : state) {
    const int32_t id = Id(i++);
    const char* record = s.record(id).data();
    const int32_t added = library ? (path == Path::kPrepared ? rv_OdbcAppendRecordEx(s.dbc(), s.td(), record)
                                                             : rv_OdbcAppendRecord(s.dbc(), s.td(), record))
                          : path == Path::kPlain     ? s.hand().AppendPlain(s.hand_record(id))
                          : path == Path::kProcedure ? s.hand().AppendProcedure(s.hand_record(id))
                                                     : s.prepared().Append(s.hand_record(id));
    if (added == 0) return state.SkipWithError("append failed");
  }
  s.RemoveAppended();
}

// The first record whose NAME starts with the first eight characters of a
// record's name, through the prepared set.
template <bool library>
void Find(benchmark::State& state, Setup& s) {
  s.Use(Path::kPrepared);
  constexpr int kLength = 8;
  long i = 0;
  for (auto _ : state) {
    const int32_t id = Id(i++);
    const int32_t found = library ? rv_OdbcFindFirstRecIdEx(s.dbc(), s.td(), 0, s.record(id).data(), kLength)
                                  : s.prepared().FindFirst(s.hand_record(id).name, kLength);
    if (found == 0) return state.SkipWithError("find failed");
  }
}

// A whole walk of NAME_KEY per iteration: by pages of fifty or next by next,
// on the table with key tables (a procedure per page) or without (a page is
// walked step by step); statements per walk as a counter.
template <bool key_tables, bool pages>
void Walk(benchmark::State& state, Setup& s) {
  s.Use(Path::kProcedure);
  const TableDef* td = key_tables ? s.key_tables() : s.td();
  long statements = 0;
  for (auto _ : state) {
    int32_t current = rv_OdbcFirstRecId(s.dbc(), td, 0);
    long visited = current != 0 ? 1 : 0;
    ++statements;
    while (current != 0) {
      if (pages) {
        int32_t page[50];
        const int32_t count = rv_OdbcPrevNext50(s.dbc(), td, current, page, 0, 0);
        statements += key_tables ? 1 : count + (count < 50 ? 1 : 0);
        visited += count;
        current = count > 0 ? page[count - 1] : 0;
      } else {
        current = rv_OdbcNextRecId(s.dbc(), td, 0, current);
        ++statements;
        visited += current != 0 ? 1 : 0;
      }
    }
    if (visited != kRecords) return state.SkipWithError("the walk missed records");
  }
  state.counters["statements"] = benchmark::Counter(static_cast<double>(statements), benchmark::Counter::kAvgIterations);
}

// Both sides must do the same: the same walk, and records written by one
// read back equal to those written by the other.
void CheckSameWork(Setup& s) {
  for (Path path : {Path::kPlain, Path::kProcedure}) {
    s.Use(path);
    int32_t current = rv_OdbcFirstRecId(s.dbc(), s.td(), 0);
    for (int step = 0; step < 300 && current != 0; ++step) {
      const int32_t hand = path == Path::kPlain ? s.hand().NextPlain(current) : s.hand().NextProcedure(current);
      current = rv_OdbcNextRecId(s.dbc(), s.td(), 0, current);
      if (hand != current) throw std::runtime_error("the walks differ");
    }
    const int32_t by_library = rv_OdbcAppendRecord(s.dbc(), s.td(), s.record(17).data());
    const int32_t by_hand = path == Path::kPlain ? s.hand().AppendPlain(s.hand_record(17))
                                                 : s.hand().AppendProcedure(s.hand_record(17));
    HandRecord row{};
    const bool read = path == Path::kPlain ? s.hand().ReadPlain(by_hand, &row) : s.hand().ReadProcedure(by_hand, &row);
    if (by_library == 0 || by_hand == 0 || s.LibraryRead(by_library) != s.LibraryRead(by_hand) || !read ||
        !SameValues(row, s.hand_record(17))) {
      throw std::runtime_error("the appends differ");
    }
    if (!(path == Path::kPlain ? s.hand().UpdatePlain(by_library, s.hand_record(18))
                               : s.hand().UpdateProcedure(by_library, s.hand_record(18))) ||
        rv_OdbcUpdateRecord(s.dbc(), s.td(), by_hand, s.record(18).data()) != 1 ||
        s.LibraryRead(by_library) != s.LibraryRead(by_hand)) {
      throw std::runtime_error("the updates differ");
    }
    s.RemoveAppended();
  }
  s.Use(Path::kPrepared);
  HandRecord row{};
  const int32_t by_library = rv_OdbcAppendRecordEx(s.dbc(), s.td(), s.record(19).data());
  const int32_t by_hand = s.prepared().Append(s.hand_record(19));
  if (by_library == 0 || by_hand == 0 || s.LibraryRead(by_library) != s.LibraryRead(by_hand) ||
      !s.prepared().Read(by_library, &row) || !SameValues(row, s.hand_record(19)) ||
      rv_OdbcFindFirstRecIdEx(s.dbc(), s.td(), 0, s.record(19).data(), 8) !=
          s.prepared().FindFirst(s.hand_record(19).name, 8) ||
      rv_OdbcNextRecIdEx(s.dbc(), s.td(), 0, 19) != s.prepared().Next(19)) {
    throw std::runtime_error("the prepared calls differ");
  }
  s.RemoveAppended();
}

// One instance per benchmark, so that a profile tells them apart.
using Body = void (*)(benchmark::State&, Setup&);
constexpr Path kPlain = Path::kPlain;
constexpr Path kProcedure = Path::kProcedure;
constexpr Path kPrepared = Path::kPrepared;
const std::pair<const char*, Body> kBenchmarks[] = {
    {"Read/plain/library", Read<kPlain, true>},         {"Read/plain/hand", Read<kPlain, false>},
    {"Read/procedure/library", Read<kProcedure, true>}, {"Read/procedure/hand", Read<kProcedure, false>},
    {"Next/plain/library", Next<kPlain, true>},         {"Next/plain/hand", Next<kPlain, false>},
    {"Next/procedure/library", Next<kProcedure, true>}, {"Next/procedure/hand", Next<kProcedure, false>},
    {"Update/plain/library", Update<kPlain, true>},     {"Update/plain/hand", Update<kPlain, false>},
    {"Update/procedure/library", Update<kProcedure, true>}, {"Update/procedure/hand", Update<kProcedure, false>},
    {"Append/plain/library", Append<kPlain, true>},     {"Append/plain/hand", Append<kPlain, false>},
    {"Append/procedure/library", Append<kProcedure, true>}, {"Append/procedure/hand", Append<kProcedure, false>},
    {"Read/prepared/library", Read<kPrepared, true>},   {"Read/prepared/hand", Read<kPrepared, false>},
    {"Next/prepared/library", Next<kPrepared, true>},   {"Next/prepared/hand", Next<kPrepared, false>},
    {"Find/prepared/library", Find<true>},              {"Find/prepared/hand", Find<false>},
    {"Update/prepared/library", Update<kPrepared, true>}, {"Update/prepared/hand", Update<kPrepared, false>},
    {"Append/prepared/library", Append<kPrepared, true>}, {"Append/prepared/hand", Append<kPrepared, false>}};

// The walks, each a benchmark of its own: no hand-written side.
const std::pair<const char*, Body> kWalks[] = {{"Walk/key tables/pages", Walk<true, true>},
                                               {"Walk/key tables/next", Walk<true, false>},
                                               {"Walk/direct/pages", Walk<false, true>},
                                               {"Walk/direct/next", Walk<false, false>}};

void Register(Setup& s) {
  for (const auto& [label, body] : kBenchmarks) {
    benchmark::RegisterBenchmark(label, [&s, body = body](benchmark::State& state) { body(state, s); })
        ->Unit(benchmark::kMicrosecond);
  }
  for (const auto& [label, body] : kWalks) {
    benchmark::RegisterBenchmark(label, [&s, body = body](benchmark::State& state) { body(state, s); })
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  try {
    bench::Setup setup;
    bench::CheckSameWork(setup);
    bench::Register(setup);
    benchmark::RunSpecifiedBenchmarks();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "record access benchmark: %s\n", error.what());
    return 1;
  }
  benchmark::Shutdown();
  return 0;
}
