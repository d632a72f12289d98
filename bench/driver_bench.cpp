// The same ODBC work through the driver manager on the SQLite ODBC driver
// (on files in its default journal mode and in WAL mode) and on sqlsim: bulk
// insert, prepared point selects, a full scan, a page of rows numbered by
// ROW_NUMBER(); on sqlsim alone, units saving a save point in one
// long transaction.
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
constexpr int kPagingRows = 1000000;
constexpr int kPageSize = 50;

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

// The paging query of applications that number rows: a page of fifty from
// the middle of the table, as a derived table and as a CTE.
const char* const kPagingQueries[] = {
    "SELECT * FROM (SELECT ROW_NUMBER() OVER (ORDER BY id) AS rn, id, name, value FROM t) x "
    "WHERE rn BETWEEN ? AND ?",
    "WITH x AS (SELECT ROW_NUMBER() OVER (ORDER BY id) AS rn, id, name, value FROM t) "
    "SELECT * FROM x WHERE rn BETWEEN ? AND ?",
};

void BM_Paging(benchmark::State& state, Driver driver) {
  Guarded(state, [&] {
    Connection connection(EnsureTableOf(driver, kPagingRows));
    Statement page(connection);
    page.Prepare(kPagingQueries[state.range(0)]);
    SQLINTEGER first = kPagingRows / 2 + 1;
    SQLINTEGER last = first + kPageSize - 1;
    page.BindInt(1, &first);
    page.BindInt(2, &last);
    SQLINTEGER rn = 0, id = 0;
    char name[kNameWidth + 1] = {};
    double value = 0;
    SQLLEN indicators[4] = {};
    page.BindColumn(1, SQL_C_LONG, &rn, sizeof rn, &indicators[0]);
    page.BindColumn(2, SQL_C_LONG, &id, sizeof id, &indicators[1]);
    page.BindColumn(3, SQL_C_CHAR, name, sizeof name, &indicators[2]);
    page.BindColumn(4, SQL_C_DOUBLE, &value, sizeof value, &indicators[3]);
    for (auto _ : state) {
      page.Execute();
      int fetched = 0;
      while (page.Fetch()) ++fetched;
      page.Close();
      // Ids run from 0: row number n is id n - 1.
      if (fetched != kPageSize || rn != last || id != last - 1) {
        throw OdbcError("page read " + std::to_string(fetched) + " rows, last " + std::to_string(rn));
      }
    }
    CountOperations(state, 1);
  });
}

// Units of work inside one long transaction of the caller, each saving the
// same save point before its insert, as the library's appends and blob
// writes do there: the time per unit after 0 and after 20,000 earlier
// units. SQL Server keeps it flat; so must sqlsim (SQLite driver: no T-SQL).
constexpr int kSavedUnits = 1000;

void BM_SavedUnits(benchmark::State& state, Driver driver) {
  Guarded(state, [&] {
    Connection connection(FreshDatabase(driver, "benchsaves"));
    CreateTable(connection);
    connection.Execute("BEGIN TRANSACTION");
    Statement save(connection);
    save.Prepare("SAVE TRANSACTION unit");
    Statement insert(connection);
    insert.Prepare("INSERT INTO t (id, name, value) VALUES (?, 'unit', 0)");
    SQLINTEGER id = 0;
    insert.BindInt(1, &id);
    auto unit = [&] {
      save.Execute();
      insert.Execute();
      ++id;
    };
    for (int64_t earlier = 0; earlier < state.range(0); ++earlier) unit();
    for (auto _ : state) {
      for (int i = 0; i < kSavedUnits; ++i) unit();
    }
    connection.Execute("ROLLBACK TRANSACTION");
    CountOperations(state, kSavedUnits);
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
BENCHMARK_CAPTURE(BM_SavedUnits, sqlsim, Driver::kSqlsim)->Arg(0)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Paging, sqlitewal, Driver::kSqliteWal)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Paging, sqlsim, Driver::kSqlsim)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench

BENCHMARK_MAIN();
