// The same ODBC work through the driver manager on the SQLite ODBC driver
// (on files in its default journal mode and in WAL mode) and on sqlsim: bulk
// insert, prepared point selects, a full scan.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "bench/bench_tables.h"
#include "bench/odbc_bench.h"

namespace bench {
namespace {

constexpr int kInsertRows = 100000;
constexpr int kSelects = 100000;
constexpr int kScanRows = 100000;

// Reports the time of one operation besides the time of an iteration.
void CountOperations(benchmark::State& state, int per_iteration) {
  state.SetItemsProcessed(state.iterations() * per_iteration);
  state.counters["per_op"] = benchmark::Counter(
      per_iteration, benchmark::Counter::kIsIterationInvariantRate |
                         benchmark::Counter::kInvert);
}

// Runs a benchmark body; a failed ODBC call ends it with the diagnostic.
template <typename Body>
void Guarded(benchmark::State& state, Body body) {
  try {
    body();
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
}

void BM_Insert(benchmark::State& state, Driver driver) {
  Guarded(state, [&] {
    Connection connection(FreshDatabase(driver, "benchinsert"));
    for (auto _ : state) {
      state.PauseTiming();
      CreateTable(connection);
      state.ResumeTiming();
      FillTable(connection, kInsertRows);
    }
    CountOperations(state, kInsertRows);
  });
}

std::vector<SQLINTEGER> RandomIds(int rows, int count) {
  std::mt19937 generator(20261206);
  std::uniform_int_distribution<SQLINTEGER> pick(0, rows - 1);
  std::vector<SQLINTEGER> ids(count);
  for (SQLINTEGER& id : ids) id = pick(generator);
  return ids;
}

void BM_PointSelect(benchmark::State& state, Driver driver) {
  Guarded(state, [&] {
    const int rows = static_cast<int>(state.range(0));
    Connection connection(EnsureTableOf(driver, rows));
    Statement select(connection);
    select.Prepare("SELECT name, value FROM t WHERE id = ?");
    SQLINTEGER id = 0;
    char name[kNameWidth + 1] = {};
    double value = 0;
    SQLLEN name_indicator = 0;
    SQLLEN value_indicator = 0;
    select.BindInt(1, &id);
    select.BindColumn(1, SQL_C_CHAR, name, sizeof name, &name_indicator);
    select.BindColumn(2, SQL_C_DOUBLE, &value, sizeof value, &value_indicator);
    const std::vector<SQLINTEGER> ids = RandomIds(rows, kSelects);
    for (auto _ : state) {
      for (SQLINTEGER next : ids) {
        id = next;
        select.Execute();
        if (!select.Fetch()) throw OdbcError("no row for id " + std::to_string(id));
        select.Close();
      }
    }
    // The last row read proves the binding returned the row asked for.
    if (value != RowValue(id)) throw OdbcError("wrong value for id " + std::to_string(id));
    CountOperations(state, kSelects);
  });
}

void BM_Scan(benchmark::State& state, Driver driver) {
  Guarded(state, [&] {
    Connection connection(EnsureTableOf(driver, kScanRows));
    Statement scan(connection);
    scan.Prepare("SELECT * FROM t");
    SQLINTEGER id = 0;
    char name[kNameWidth + 1] = {};
    double value = 0;
    SQLLEN indicators[3] = {};
    scan.BindColumn(1, SQL_C_LONG, &id, sizeof id, &indicators[0]);
    scan.BindColumn(2, SQL_C_CHAR, name, sizeof name, &indicators[1]);
    scan.BindColumn(3, SQL_C_DOUBLE, &value, sizeof value, &indicators[2]);
    for (auto _ : state) {
      scan.Execute();
      int fetched = 0;
      while (scan.Fetch()) ++fetched;
      scan.Close();
      if (fetched != kScanRows) {
        throw OdbcError("scan read " + std::to_string(fetched) + " rows");
      }
    }
    CountOperations(state, kScanRows);
  });
}

void PointSelectSizes(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(10000)->Arg(100000)->Arg(1000000);
}

BENCHMARK_CAPTURE(BM_Insert, sqlite, Driver::kSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Insert, sqlitewal, Driver::kSqliteWal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Insert, sqlsim, Driver::kSqlsim)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PointSelect, sqlite, Driver::kSqlite)
    ->Apply(PointSelectSizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PointSelect, sqlitewal, Driver::kSqliteWal)
    ->Apply(PointSelectSizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PointSelect, sqlsim, Driver::kSqlsim)
    ->Apply(PointSelectSizes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Scan, sqlite, Driver::kSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Scan, sqlitewal, Driver::kSqliteWal)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Scan, sqlsim, Driver::kSqlsim)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench

BENCHMARK_MAIN();
