#include "bench/bench_tables.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>
#include <utility>

namespace bench {
namespace {

std::string DataFolder(Driver driver) {
  const char* root = std::getenv("LERV32_BENCH_DATA");
  std::string folder = root != nullptr && *root != '\0' ? root : LERV32_BENCH_DATA_DIR;
  folder += std::string("/") + DriverName(driver);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw OdbcError("cannot create " + folder + ": " + error.message());
  return folder;
}

// sqlsim keeps database `name` in <DATADIR>/<name in lower case>.db; the
// names here are lower case, so both drivers' files are found alike.
std::string DatabaseFile(Driver driver, const std::string& name) {
  return DataFolder(driver) + "/" + name + ".db";
}

bool HasRows(const std::string& connection_string, int rows) {
  try {
    Connection connection(connection_string);
    return connection.QueryLong("SELECT COUNT(*) FROM t") == rows;
  } catch (const OdbcError&) {
    return false;  // no table yet, or a database of another build
  }
}

}  // namespace

const char* DriverName(Driver driver) {
  switch (driver) {
    case Driver::kSqlite: return "sqlite";
    case Driver::kSqliteWal: return "sqlitewal";
    case Driver::kSqlsim: return "sqlsim";
  }
  return "?";
}

std::string ConnectionString(Driver driver, const std::string& name) {
  std::string folder = DataFolder(driver);
  if (driver == Driver::kSqlsim) {
    return "DRIVER=sqlsim;DATADIR=" + folder + ";DATABASE=" + name + ";AUTOCREATE=1";
  }
  std::string text = "DRIVER=SQLite3;Database=" + DatabaseFile(driver, name);
  // The journal and sync modes sqlsim sets on its own files.
  if (driver == Driver::kSqliteWal) text += ";JournalMode=WAL;SyncPragma=NORMAL";
  return text;
}

std::string FreshDatabase(Driver driver, const std::string& name) {
  std::string file = DatabaseFile(driver, name);
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    std::error_code error;
    std::filesystem::remove(file + suffix, error);
    if (error) throw OdbcError("cannot remove " + file + suffix + ": " + error.message());
  }
  return ConnectionString(driver, name);
}

int RowName(int id, char (&buffer)[kNameWidth + 1]) {
  return std::snprintf(buffer, sizeof buffer, "name %d", id);
}

void CreateTable(Connection& connection) {
  try {
    connection.Execute("DROP TABLE t");
  } catch (const OdbcError&) {
    // Not there yet; CREATE reports anything else.
  }
  connection.Execute(
      "CREATE TABLE t (id int NOT NULL PRIMARY KEY, name varchar(30), value float)");
}

void FillTable(Connection& connection, int rows) {
  connection.SetAutocommit(false);
  Statement insert(connection);
  insert.Prepare("INSERT INTO t (id, name, value) VALUES (?, ?, ?)");
  SQLINTEGER id = 0;
  char name[kNameWidth + 1] = {};
  SQLLEN name_length = 0;
  double value = 0;
  insert.BindInt(1, &id);
  insert.BindText(2, name, kNameWidth, &name_length);
  insert.BindDouble(3, &value);
  for (int i = 0; i < rows; ++i) {
    id = i;
    name_length = RowName(i, name);
    value = RowValue(i);
    insert.Execute();
  }
  connection.Commit();
  connection.SetAutocommit(true);
}

std::string EnsureTableOf(Driver driver, int rows) {
  static std::mutex mutex;
  static std::set<std::pair<Driver, int>> ready;
  const std::string name = "benchrows" + std::to_string(rows);
  std::string connection_string = ConnectionString(driver, name);
  std::lock_guard<std::mutex> lock(mutex);
  if (ready.count({driver, rows}) != 0) return connection_string;
  if (!HasRows(connection_string, rows)) {
    std::fprintf(stderr, "building %s table of %d rows\n", DriverName(driver), rows);
    Connection connection(FreshDatabase(driver, name));
    CreateTable(connection);
    FillTable(connection, rows);
    if (connection.QueryLong("SELECT COUNT(*) FROM t") != rows) {
      throw OdbcError("table t lacks rows after filling it");
    }
  }
  ready.insert({driver, rows});
  return connection_string;
}

}  // namespace bench
