// An in-memory SQLite database with the server's functions registered, and
// a compact rendering of a result for table-driven expectations.
#pragma once

#include <sqlite3.h>

#include <initializer_list>
#include <string>

namespace sqlsim::testing {

class FunctionDb {
 public:
  FunctionDb();
  ~FunctionDb();
  FunctionDb(const FunctionDb&) = delete;
  FunctionDb& operator=(const FunctionDb&) = delete;

  // The value of SELECT <expr>: "NULL", "I:5", "R:1.5", "T:abc", "B:4142"
  // (hex), or "E:<server error number>" for a function error; "SQLITE:..."
  // for any other failure.
  std::string Eval(const std::string& expr);
  // Runs statements; "" on success, else the error as Eval renders it.
  std::string Exec(const std::string& sql);
  // The rows of a one-column query joined with "|", e.g. "a|B|c".
  std::string Column(const std::string& sql);
  // The last error text exactly as sqlite3_errmsg gives it.
  std::string LastMessage() const { return sqlite3_errmsg(db_); }
  sqlite3* handle() const { return db_; }

 private:
  std::string ErrorText();
  sqlite3* db_ = nullptr;
};

// A table of expressions and the values Eval must render for them.
struct Case {
  const char* expr;
  const char* expected;
};

// Evaluates every case on a fresh database.
void ExpectAll(std::initializer_list<Case> cases);

}  // namespace sqlsim::testing
