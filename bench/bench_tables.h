// The two drivers under test and the table t that every benchmark works on:
// t (id int NOT NULL PRIMARY KEY, name varchar(30), value float), row i
// holding (i, "name i", i / 2.0) for i in [0, rows).
#pragma once

#include <string>

#include "bench/odbc_bench.h"

namespace bench {

// kSqliteWal: the SQLite driver on files in WAL mode with synchronous=NORMAL,
// as sqlsim keeps its files.
enum class Driver { kSqlite, kSqliteWal, kSqlsim };

const char* DriverName(Driver driver);

// A connection string of `driver` for the database `name` in the benchmark
// data folder (LERV32_BENCH_DATA, else the folder the build chose).
std::string ConnectionString(Driver driver, const std::string& name);

// The same for a new empty database: removes the files of an earlier one.
std::string FreshDatabase(Driver driver, const std::string& name);

// The name column's width and the text of row `id` in it.
constexpr int kNameWidth = 30;
int RowName(int id, char (&buffer)[kNameWidth + 1]);
inline double RowValue(int id) { return id / 2.0; }

// Drops t if it exists and creates it empty (autocommit on).
void CreateTable(Connection& connection);

// Inserts rows [0, rows) into t through one prepared INSERT in one
// transaction; autocommit is on again afterwards.
void FillTable(Connection& connection, int rows);

// A database holding t with `rows` rows, built once and kept in the data
// folder: a later run reuses it when its row count matches. Returns the
// connection string.
std::string EnsureTableOf(Driver driver, int rows);

}  // namespace bench
