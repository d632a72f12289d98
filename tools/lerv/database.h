// The database a command works on: a connection string (or DSN=...) given
// by the user, or the embedded sqlsim database in a folder.
#pragma once

#include <string>
#include <string_view>

#include <CLI/CLI.hpp>

#include "include/lerv32.h"

namespace lerv {

struct DatabaseOptions {
  std::string connect;
  std::string data = ".";
  std::string database = "lerv";
  std::string driver;
  // Whether a database missing from the folder is made (create and run);
  // the other commands only read or fill what is there.
  bool create_missing = false;
};

void AddDatabaseOptions(CLI::App* command, DatabaseOptions* options);

// The connection string the options stand for.
std::string ConnectionString(const DatabaseOptions& options);

class Database {
 public:
  // Throws Failure when the connection cannot be made.
  explicit Database(const DatabaseOptions& options);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  LERV32_HDBC handle() const { return handle_; }
  // Runs a script batch by batch; throws Failure naming source, batch
  // number, line and the server's messages at the first that fails.
  // Returns how many batches ran (GO n counts n).
  long RunScript(std::string_view script, const std::string& source) const;
  // Throws Failure unless the table of td is there, as record access
  // reaches it (its view in the Transact-SQL form, else the table).
  void RequireTable(const TableDef* td) const;
  // A script whose failure changes nothing for the caller (a rollback on
  // the way out); true when it ran.
  bool RunScriptQuietly(const std::string& script) const noexcept;

 private:
  LERV32_HDBC handle_ = nullptr;
};

}  // namespace lerv
