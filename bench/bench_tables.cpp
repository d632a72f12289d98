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
  folder += driver == Driver::kSqlsim ? "/sqlsim" : "/sqlite";
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw OdbcError("cannot create " + folder + ": " + error.message());
  return folder;
}

bool HasRows(Connection& connection, int rows) {
  try {
    return connection.QueryLong("SELECT COUNT(*) FROM t") == rows;
  } catch (const OdbcError&) {
    return false;  // no table yet
  }
}

}  // namespace

const char* DriverName(Driver driver) {
  return driver == Driver::kSqlsim ? "sqlsim" : "sqlite";
}

std::string ConnectionString(Driver driver, const std::string& name) {
  std::string folder = DataFolder(driver);
  if (driver == Driver::kSqlsim) {
    return "DRIVER=sqlsim;DATADIR=" + folder + ";DATABASE=" + name + ";AUTOCREATE=1";
  }
  return "DRIVER=SQLite3;Database=" + folder + "/" + name + ".db";
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
  std::string connection_string =
      ConnectionString(driver, "benchrows" + std::to_string(rows));
  std::lock_guard<std::mutex> lock(mutex);
  if (ready.count({driver, rows}) != 0) return connection_string;
  Connection connection(connection_string);
  if (!HasRows(connection, rows)) {
    std::fprintf(stderr, "building %s table of %d rows\n", DriverName(driver), rows);
    CreateTable(connection);
    FillTable(connection, rows);
    if (!HasRows(connection, rows)) throw OdbcError("table t lacks rows after filling it");
  }
  ready.insert({driver, rows});
  return connection_string;
}

}  // namespace bench
