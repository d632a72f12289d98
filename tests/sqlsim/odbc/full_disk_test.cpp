// A full disk as a client sees it: a child process whose files may not grow
// past a limit (RLIMIT_FSIZE, SIGXFSZ ignored) writes a table until a write
// fails. The server reports error 1105 there; the rows committed before
// stay, and the table takes rows again once there is room.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "odbc_support.h"

namespace odbctest {
namespace {

struct Outcome {
  SQLINTEGER native = 0;
  std::string state;
  long rows = 0;  // committed before the failure
  std::string message;
};

// Runs sql; on failure prints "native\tstate\tmessage" of its first record.
SQLRETURN Run(SQLHDBC dbc, const char* sql) {
  Statement stmt(dbc);
  SQLRETURN rc = ExecDirect(stmt, sql);
  std::vector<Diag> diags = Diags(SQL_HANDLE_STMT, stmt);
  if (rc == SQL_ERROR && !diags.empty()) {
    std::printf("%d\t%s\t%s\n", static_cast<int>(diags[0].native), diags[0].state.c_str(), diags[0].message.c_str());
  }
  return rc;
}

// In the child: doubles a table of 1000-byte rows under a file size limit
// of 2 MB and prints "rows\tnative\tstate\tmessage" of the first failure
// (each statement that passes ends its line with a carriage return).
[[noreturn]] void FillUntilFull(const std::string& connection_string) {
  signal(SIGXFSZ, SIG_IGN);
  long rows = 0;
  {
    Connection c;
    if (!SQL_SUCCEEDED(c.DriverConnect(connection_string)) ||
        !SQL_SUCCEEDED(Run(c.dbc(), "CREATE TABLE t (v varchar(1000)) INSERT INTO t VALUES (REPLICATE('x', 1000))"))) {
      _exit(2);
    }
    rows = 1;
    struct rlimit limit = {2 << 20, 2 << 20};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(3);
    for (int i = 0; i < 16; ++i, rows *= 2) {
      std::printf("%ld\t", rows);
      std::fflush(stdout);
      if (!SQL_SUCCEEDED(Run(c.dbc(), "INSERT INTO t SELECT v FROM t"))) break;
      std::printf("\r");
    }
  }
  std::fflush(stdout);
  _exit(0);
}

Outcome RunChild(const std::string& connection_string) {
  int pipe_ends[2];
  EXPECT_EQ(pipe(pipe_ends), 0);
  std::fflush(stdout);
  pid_t child = fork();
  if (child == 0) {
    dup2(pipe_ends[1], STDOUT_FILENO);
    close(pipe_ends[0]);
    FillUntilFull(connection_string);
  }
  close(pipe_ends[1]);
  std::string output;
  char buffer[512];
  for (ssize_t n; (n = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) output.append(buffer, static_cast<size_t>(n));
  close(pipe_ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  // The last line after the carriage returns of the statements that passed.
  std::string line = output.substr(output.rfind('\r') == std::string::npos ? 0 : output.rfind('\r') + 1);
  Outcome outcome;
  std::istringstream in(line);
  std::string field;
  std::getline(in, field, '\t');
  outcome.rows = std::atol(field.c_str());
  std::getline(in, field, '\t');
  outcome.native = std::atoi(field.c_str());
  std::getline(in, outcome.state, '\t');
  std::getline(in, outcome.message);
  return outcome;
}

TEST(FullDiskTest, WriteBeyondTheRoomFailsWith1105AndKeepsWhatWasCommitted) {
  DataDir dir;
  const std::string connection_string = ConnectionString(dir);
  Outcome outcome = RunChild(connection_string);
  EXPECT_EQ(outcome.native, 1105);
  EXPECT_EQ(outcome.state, "HY000");
  EXPECT_EQ(outcome.message.rfind("[sqlsim][SQL Server]Could not allocate space for object", 0), 0u) << outcome.message;
  EXPECT_NE(outcome.message.find("in database 't' because the 'PRIMARY' filegroup is full."), std::string::npos);
  ASSERT_GT(outcome.rows, 1);

  Connection c;
  ASSERT_ODBC_OK(c.DriverConnect(connection_string), SQL_HANDLE_DBC, c.dbc());
  Statement stmt(c.dbc());
  ASSERT_STMT_OK(ExecDirect(stmt, "INSERT INTO t VALUES ('again') SELECT COUNT(*) FROM t"), stmt);
  SQLSMALLINT columns = 0;
  while (SQLNumResultCols(stmt, &columns) == SQL_SUCCESS && columns == 0) ASSERT_STMT_OK(SQLMoreResults(stmt), stmt);
  ASSERT_STMT_OK(SQLFetch(stmt), stmt);
  SQLINTEGER count = 0;
  ASSERT_STMT_OK(SQLGetData(stmt, 1, SQL_C_SLONG, &count, 0, nullptr), stmt);
  EXPECT_EQ(count, outcome.rows + 1);
}

}  // namespace
}  // namespace odbctest
