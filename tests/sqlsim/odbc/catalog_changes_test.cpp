// Tables, views, triggers and procedures changed by another connection or
// another process take effect on this connection's next execute of a
// statement it prepared before; changes rolled back or not yet committed
// do not. (A connection of sqlsim only holds a transaction with the write
// lock, so no other connection commits a change while it is in one.)
#include "odbc_support.h"

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace odbctest {
namespace {

// Every row of every result, columns joined by '|', rows ended by ';'.
std::string AllRows(SQLHSTMT stmt, SQLRETURN rc) {
  std::string out;
  while (SQL_SUCCEEDED(rc)) {
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt, &columns);
    while (columns > 0 && SQL_SUCCEEDED(SQLFetch(stmt))) {
      for (SQLUSMALLINT i = 1; i <= columns; ++i) {
        char value[64] = {};
        SQLLEN length = 0;
        SQLGetData(stmt, i, SQL_C_CHAR, value, sizeof value, &length);
        out += std::string(i > 1 ? "|" : "") + (length == SQL_NULL_DATA ? "NULL" : value);
      }
      out += ";";
    }
    rc = SQLMoreResults(stmt);
  }
  return rc == SQL_NO_DATA ? out : out + Explain(rc, SQL_HANDLE_STMT, stmt);
}

#if !defined(_WIN32)
// Runs sql in a child process on its own connection: its exit status.
int RunInChildProcess(const std::string& connection_string, const std::string& sql) {
  pid_t child = ::fork();
  if (child == 0) {
    Connection c;
    bool ok = SQL_SUCCEEDED(c.DriverConnect(connection_string));
    if (ok) {
      Statement stmt(c.dbc());
      ok = SQL_SUCCEEDED(ExecDirect(stmt, sql));
    }
    ::_exit(ok ? 0 : 1);
  }
  int status = -1;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

enum class By {
  kOther,         // text runs on the other connection
  kOtherProcess,  // text runs in another process
  kOurs,          // our prepared statement runs: text is its rows
};

struct Step {
  By by;
  const char* text;
};

struct Case {
  const char* name;
  std::vector<const char*> setup;
  const char* query;
  std::vector<Step> steps;
};

TEST_F(OdbcTest, CatalogChangesOfOthersReachPreparedStatements) {
  const Case cases[] = {
      {"table altered", {"CREATE TABLE A1 (x int NULL) INSERT INTO A1 VALUES (1)"}, "SELECT * FROM A1",
       {{By::kOurs, "1;"}, {By::kOther, "ALTER TABLE A1 ADD y varchar(5) NULL"}, {By::kOurs, "1|NULL;"}}},
      {"table dropped and made anew", {"CREATE TABLE A2 (x int NULL) INSERT INTO A2 VALUES (1)"}, "SELECT * FROM A2",
       {{By::kOurs, "1;"}, {By::kOther, "DROP TABLE A2"},
        {By::kOther, "CREATE TABLE A2 (w varchar(5) NULL, x int NULL) INSERT INTO A2 VALUES ('neu', 5)"},
        {By::kOurs, "neu|5;"}}},
      {"procedure dropped and made anew", {"CREATE PROCEDURE P3 AS SELECT 1"}, "EXECUTE P3",
       {{By::kOurs, "1;"}, {By::kOther, "DROP PROCEDURE P3"}, {By::kOther, "CREATE PROCEDURE P3 AS SELECT 2"},
        {By::kOurs, "2;"}}},
      {"view altered", {"CREATE TABLE A4 (x int NULL) INSERT INTO A4 VALUES (1)", "CREATE VIEW V4 AS SELECT x FROM A4"},
       "SELECT * FROM V4",
       {{By::kOurs, "1;"}, {By::kOther, "ALTER VIEW V4 AS SELECT x, x + 1 AS z FROM A4"}, {By::kOurs, "1|2;"}}},
      {"trigger created", {"CREATE TABLE A5 (x int NULL) CREATE TABLE L5 (n int NULL)"},
       "SET NOCOUNT ON INSERT INTO A5 VALUES (1) SELECT count(*) FROM L5",
       {{By::kOurs, "0;"}, {By::kOther, "CREATE TRIGGER T5 ON A5 FOR INSERT AS INSERT INTO L5 VALUES (1)"},
        {By::kOurs, "1;"}, {By::kOther, "DROP TRIGGER T5"}, {By::kOurs, "1;"}}},
#if !defined(_WIN32)  // the Windows build runs under Wine, where sqlsim is the same Linux library
      {"procedure altered by another process", {"CREATE PROCEDURE P6 AS SELECT 1"}, "EXECUTE P6",
       {{By::kOurs, "1;"}, {By::kOtherProcess, "ALTER PROCEDURE P6 AS SELECT 2"}, {By::kOurs, "2;"}}},
#endif
      {"change rolled back, then one committed", {"CREATE PROCEDURE P7 AS SELECT 1"}, "EXECUTE P7",
       {{By::kOurs, "1;"}, {By::kOther, "BEGIN TRANSACTION"}, {By::kOther, "ALTER PROCEDURE P7 AS SELECT 2"},
        {By::kOurs, "1;"}, {By::kOther, "ROLLBACK"}, {By::kOurs, "1;"},
        {By::kOther, "ALTER PROCEDURE P7 AS SELECT 3"}, {By::kOurs, "3;"}}},
      {"change committed later", {"CREATE PROCEDURE P8 AS SELECT 1"}, "EXECUTE P8",
       {{By::kOurs, "1;"}, {By::kOther, "BEGIN TRANSACTION"}, {By::kOther, "ALTER PROCEDURE P8 AS SELECT 2"},
        {By::kOurs, "1;"}, {By::kOther, "COMMIT"}, {By::kOurs, "2;"}}},
  };
  Connection other;
  Connect(other);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* sql : c.setup) Exec(sql);
    Statement stmt(dbc());
    ASSERT_STMT_OK(Prepare(stmt, c.query), stmt);
    for (const Step& step : c.steps) {
      SCOPED_TRACE(step.text);
      if (step.by == By::kOther) {
        Statement change(other.dbc());
        EXPECT_EQ(AllRows(change, ExecDirect(change, step.text)), "");
#if !defined(_WIN32)
      } else if (step.by == By::kOtherProcess) {
        EXPECT_EQ(RunInChildProcess(ConnectionString(dir_), step.text), 0);
#endif
      } else {
        EXPECT_EQ(AllRows(stmt, SQLExecute(stmt)), step.text);
      }
    }
  }
}

}  // namespace
}  // namespace odbctest
