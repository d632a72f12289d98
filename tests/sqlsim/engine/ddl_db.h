// A database file for the catalog and data-definition tests: the server's
// collation and functions registered, the system tables made, and batches
// of Transact-SQL run through the parser and the Run* functions.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/diagnostic.h"
#include "sqlsim/engine/catalog.h"

namespace sqlsim::testing {

class DdlDb {
 public:
  DdlDb();
  ~DdlDb();
  DdlDb(const DdlDb&) = delete;
  DdlDb& operator=(const DdlDb&) = delete;

  // Parses the batch and runs its data-definition statements; stops at the
  // first failure. diags() holds what the last call reported.
  bool Run(std::string_view batch);
  // Run, expecting a failure: the numbers of the errors, in order.
  std::vector<int32_t> Errors(std::string_view batch);
  const Diagnostics& diags() const { return diags_; }
  // The first error's text, "" if none.
  std::string FirstMessage() const;

  // Plain SQLite SQL (data for the tests); fails the test on error.
  void Sql(const std::string& sql);
  // Plain SQLite SQL; "" on success, else SQLite's message.
  std::string TrySql(const std::string& sql);
  // Rows of a query, columns joined with "|", rows with "\n"; NULL as "NULL".
  std::string Rows(const std::string& sql);
  // A dump of everything: schema and catalog rows, to compare states.
  std::string Snapshot();

  // Closes and opens the file again (a new connection).
  void Reopen();
  // A second connection to the file, set up as the first; the caller closes it.
  sqlite3* OpenOther();

  sqlite3* db() const { return db_; }
  Catalog& catalog() { return *catalog_; }
  bool has_server_functions() const;

 private:
  void Open();
  void Close();

  std::string path_;
  sqlite3* db_ = nullptr;
  std::unique_ptr<Catalog> catalog_;
  Diagnostics diags_;
};

}  // namespace sqlsim::testing
