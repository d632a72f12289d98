// 1,000 rows inserted through one execute of a parameter array against
// 1,000 executes of one row each, on the SQLite ODBC driver and on sqlsim,
// with autocommit on (each row its own transaction) and off (one commit).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_tables.h"
#include "bench/odbc_bench.h"

namespace bench {
namespace {

constexpr int kRows = 1000;

// The rows as column-wise parameter arrays.
struct Columns {
  std::vector<SQLINTEGER> ids = std::vector<SQLINTEGER>(kRows);
  std::vector<char> names = std::vector<char>(kRows * (kNameWidth + 1));
  std::vector<SQLLEN> name_lengths = std::vector<SQLLEN>(kRows);
  std::vector<double> values = std::vector<double>(kRows);

  Columns() {
    char name[kNameWidth + 1];
    for (int i = 0; i < kRows; ++i) {
      ids[i] = i;
      name_lengths[i] = RowName(i, name);
      std::copy(name, name + kNameWidth + 1, names.begin() + i * (kNameWidth + 1));
      values[i] = RowValue(i);
    }
  }
  char* name(int i) { return names.data() + i * (kNameWidth + 1); }
};

void Bind(Statement& insert, Columns& rows, int i) {
  insert.BindInt(1, &rows.ids[i]);
  insert.BindText(2, rows.name(i), kNameWidth, &rows.name_lengths[i]);
  insert.BindDouble(3, &rows.values[i]);
}

void InsertOneByOne(Statement& insert, Columns& rows) {
  for (int i = 0; i < kRows; ++i) {
    Bind(insert, rows, i);
    insert.Execute();
  }
}

void InsertArray(Statement& insert, Columns& rows) {
  Check(SQLSetStmtAttr(insert.get(), SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(kRows), 0),
        SQL_HANDLE_STMT, insert.get(), "SQLSetStmtAttr(SQL_ATTR_PARAMSET_SIZE)");
  Bind(insert, rows, 0);
  insert.Execute();
}

void BM_InsertRows(benchmark::State& state, Driver driver, bool array, bool autocommit) {
  try {
    Connection connection(FreshDatabase(driver, "benchparams"));
    Columns rows;
    for (auto _ : state) {
      state.PauseTiming();
      CreateTable(connection);
      Statement insert(connection);
      insert.Prepare("INSERT INTO t (id, name, value) VALUES (?, ?, ?)");
      if (!autocommit) connection.SetAutocommit(false);
      state.ResumeTiming();
      array ? InsertArray(insert, rows) : InsertOneByOne(insert, rows);
      if (!autocommit) connection.Commit();
      state.PauseTiming();
      if (!autocommit) connection.SetAutocommit(true);
      if (connection.QueryLong("SELECT COUNT(*) FROM t") != kRows) throw OdbcError("rows missing after the insert");
      state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
}

#define ARRAY_BENCHMARK(driver_name, driver, kind, array, autocommit)                          \
  BENCHMARK_CAPTURE(BM_InsertRows, driver_name##_##kind, driver, array, autocommit)             \
      ->Unit(benchmark::kMillisecond)
#define ARRAY_BENCHMARKS(driver_name, driver)                                                    \
  ARRAY_BENCHMARK(driver_name, driver, single_autocommit, false, true);                         \
  ARRAY_BENCHMARK(driver_name, driver, array_autocommit, true, true);                           \
  ARRAY_BENCHMARK(driver_name, driver, single_transaction, false, false);                       \
  ARRAY_BENCHMARK(driver_name, driver, array_transaction, true, false)

ARRAY_BENCHMARKS(sqlite, Driver::kSqlite);
ARRAY_BENCHMARKS(sqlitewal, Driver::kSqliteWal);
ARRAY_BENCHMARKS(sqlsim, Driver::kSqlsim);

}  // namespace
}  // namespace bench

BENCHMARK_MAIN();
