// Runs generated server scripts on sqlsim as a host does: split at GO lines,
// one batch per call, through the unixODBC driver manager.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "include/lerv32.h"
#include "tests/schema/sample_defs.h"
#include "tests/sqlsim/odbc/odbc_support.h"

namespace scripts {

// Splits a script into batches as a client does: only "GO" CR LF at a line
// start ends a batch, a block comment at a line start is dropped, empty
// batches are left out.
std::vector<std::string> SplitScript(const std::string& script);

// Runs each batch on a fresh statement, draining every result; stops at the
// first failing batch and reports it with its diagnostics.
::testing::AssertionResult RunScript(SQLHDBC dbc, const std::string& script);

// As RunScript, but only SQL_SUCCESS and SQL_SUCCESS_WITH_INFO count as
// success, as the library's own runner decides.
::testing::AssertionResult RunScriptAsHost(SQLHDBC dbc, const std::string& script);
::testing::AssertionResult RunBatches(SQLHDBC dbc, const std::string& script, bool no_data_fails);

// Table script, basic procedures and every key's index script, Transact-SQL
// form, concatenated as a host does when it creates a table.
std::string CreateScript(TableDef* td);

// First column of the first row of the first result set; nullopt when there
// is no row, the value is null or the statement fails (the failure is
// reported as a test failure).
std::optional<int64_t> QueryInt(SQLHDBC dbc, const std::string& sql);
std::optional<std::string> QueryText(SQLHDBC dbc, const std::string& sql);
// First column of every row of the first result set (nulls skipped).
std::vector<int64_t> QueryInts(SQLHDBC dbc, const std::string& sql);
// Every column of every row of the first result set as text, "NULL" for null.
std::vector<std::vector<std::string>> QueryRows(SQLHDBC dbc, const std::string& sql);

// An input parameter given as text, converted by the driver to sql_type.
struct Param {
  std::string text;
  SQLSMALLINT sql_type = SQL_VARCHAR;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
  bool null = false;
};
// As QueryRows, with parameter markers bound to params in order.
std::vector<std::vector<std::string>> QueryRows(SQLHDBC dbc, const std::string& sql,
                                               const std::vector<Param>& params);

// Runs one statement (drained); the failure with its diagnostics otherwise.
::testing::AssertionResult Execute(SQLHDBC dbc, const std::string& sql);

// The text of sql/dpxfunc.sql.
std::string DpxFunctionScript();

// A fresh sqlsim database with the dpxfunc functions in it.
class ScriptTest : public odbctest::OdbcTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The sample definition of that name (tests/schema/sample_defs.h); sets
  // the tenant text the sample wants.
  testenv::TableDefPtr LoadSample(const std::string& name);
  // Loads the sample and runs its create script; fails the test when it
  // does not run.
  testenv::TableDefPtr CreateSample(const std::string& name);

  std::optional<int64_t> Int(const std::string& sql) { return QueryInt(dbc(), sql); }
  std::optional<std::string> Str(const std::string& sql) { return QueryText(dbc(), sql); }
  std::vector<int64_t> Ints(const std::string& sql) { return QueryInts(dbc(), sql); }
  std::vector<std::vector<std::string>> Rows(const std::string& sql) { return QueryRows(dbc(), sql); }
};

}  // namespace scripts
