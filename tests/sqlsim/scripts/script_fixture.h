// A fresh sqlsim database holding sql/dpxfunc.sql, reached through the
// driver manager, on which the generated scripts of a definition run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "include/lerv32.h"
#include "support/table_defs.h"
#include "tests/sqlsim/odbc/odbc_support.h"

namespace scripts {

using Row = std::vector<std::string>;
using Rowset = std::vector<Row>;
using Ids = std::vector<int64_t>;

// An input parameter given as text, converted by the driver to sql_type.
struct Param {
  std::string text;
  SQLSMALLINT sql_type = SQL_VARCHAR;
  SQLULEN size = 255;
};

// Table script, basic procedures and every key's index script (Transact-SQL
// form), concatenated as a host does when it creates a table.
std::string CreateScript(TableDef* td);

class ScriptTest : public odbctest::OdbcTest {
 protected:
  void SetUp() override;
  void TearDown() override { rv_SetMandant(""); }
  // Splits at "GO" CR LF lines and runs each batch, reading every result;
  // the first failing batch ends the script and is the failure.
  ::testing::AssertionResult Run(const std::string& script);
  // Every column (as text, "NULL" for null) of every row of every result
  // set; a failure anywhere is a test failure.
  Rowset Rows(const std::string& sql, const std::vector<Param>& params = {});
  // Rows of "EXECUTE [proc] ?,?,..." with the values bound as text.
  Rowset Call(const std::string& proc, const Row& values);
  // Column 1 of Rows as integers.
  Ids Ints(const std::string& sql, const std::vector<Param>& params = {});
  // The SQLSTATE of a statement that must fail.
  std::string FailState(const std::string& sql);
  // Runs the create script of the definition lines under the tenant given.
  testenv::TableDefPtr Create(const std::vector<std::string>& lines, const char* mandant = "");
  // The same for a sample of tests/schema/sample_defs.h.
  testenv::TableDefPtr CreateSample(const std::string& name);

  std::string dpxfunc_;  // the text of sql/dpxfunc.sql
};

}  // namespace scripts
