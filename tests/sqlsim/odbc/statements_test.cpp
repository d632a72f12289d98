// Statements: results one after the other, row counts, transactions,
// prepared statements, cancel, result descriptions and statement attributes.
#include <gmock/gmock.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

class StatementTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE t (id int NOT NULL PRIMARY KEY, name varchar(20))");
    Exec("INSERT INTO t VALUES (1, 'one'), (2, 'two')");
  }
};

TEST_F(StatementTest, ResultsAndRowCountsInOrder) {
  const struct {
    const char* sql;
    Strings results;
  } cases[] = {
      {"UPDATE t SET name = name WHERE id > 0", {"count:2"}}, {"DELETE FROM t WHERE id = 99", {"nodata:0"}},
      {"SELECT id FROM t ORDER BY id", {"rows:1,2,"}},
      {"INSERT INTO t VALUES (5, 'five'); SELECT id FROM t WHERE id = 5; SELECT name FROM t WHERE id = 1",
       {"count:1", "rows:5,", "rows:one,"}},
      {"INSERT INTO t VALUES (1, 'again')", {"error:23000/2627", "error:01000/3621"}},
      {"SELECT name FROM t WHERE id = ?", {"error:07002/0"}},
      {"MERGE t USING (VALUES (2, 'zwei'), (3, 'drei')) AS s (id, name) ON t.id = s.id "
       "WHEN MATCHED THEN UPDATE SET name = s.name WHEN NOT MATCHED THEN INSERT VALUES (s.id, s.name);",
       {"count:2"}},
      {"MERGE t USING (VALUES (9, 'x')) AS s (id, name) ON t.id = s.id "
       "WHEN NOT MATCHED THEN INSERT VALUES (s.id, s.name) OUTPUT $action, inserted.id;",
       {"rows:INSERT,", "count:1"}},
      {"MERGE t USING (VALUES (1), (1)) AS s (id) ON t.id = s.id WHEN MATCHED THEN DELETE;",
       {"error:HY000/8672"}},
      {"MERGE t USING t AS s ON 1 = 0 WHEN MATCHED THEN DELETE", {"error:42000/10713"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.sql), c.results) << c.sql;
}

// One handle stays usable after a constraint error, and a prepared statement
// runs again with new parameters.
TEST_F(StatementTest, OneHandleRunsAgainAfterAnErrorAndWithNewParameters) {
  Statement stmt(dbc());
  EXPECT_EQ(ExecDirect(stmt, "INSERT INTO t VALUES (1, 'again')"), SQL_ERROR);
  EXPECT_THAT(Results(stmt, "INSERT INTO t VALUES (3, 'three')"), ElementsAre("count:1"));
  ASSERT_STMT_OK(Prepare(stmt, "SELECT name FROM t WHERE id = ?"), stmt);
  SQLSMALLINT params = 0;
  SQLNumParams(stmt, &params);
  EXPECT_EQ(params, 1);
  SQLINTEGER id = 0;
  BindInt(stmt, 1, &id);
  for (const auto& [value, rows] : {std::pair{1, "rows:one,"}, std::pair{3, "rows:three,"}}) {
    id = value;
    EXPECT_THAT(Results(stmt, SQLExecute(stmt)), ElementsAre(rows)) << value;
  }
}

// SQLCancel from another thread stops the running batch with HY008: the
// statement after the wait never runs, and the handle serves again. A
// cancel while nothing runs stops nothing later.
TEST_F(StatementTest, CancelFromAnotherThreadStopsTheBatch) {
  Statement stmt(dbc());
  EXPECT_EQ(SQLCancel(stmt), SQL_SUCCESS);
  EXPECT_THAT(Results(stmt, "SELECT name FROM t WHERE id = 1"), ElementsAre("rows:one,"));
  Run("CREATE TABLE ten (i int); INSERT INTO ten VALUES (0),(1),(2),(3),(4),(5),(6),(7),(8),(9)");
  // A wait of the interpreter, and a query SQLite steps row by row.
  for (const char* slow : {"WAITFOR DELAY '00:00:10'",
                           "SELECT COUNT(*) FROM ten a, ten b, ten c, ten d, ten e, ten f, ten g, ten h, ten i"}) {
    std::thread canceler([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      SQLCancel(stmt);
    });
    std::string batch = std::string(slow) + "; INSERT INTO t VALUES (7, 'seven')";
    SQLRETURN rc = ExecDirect(stmt, batch);
    canceler.join();
    EXPECT_EQ(Failure(rc, stmt), "HY008") << slow;
    EXPECT_THAT(Run("SELECT COUNT(*) FROM t WHERE id = 7"), ElementsAre("rows:0,")) << slow;
    SQLFreeStmt(stmt, SQL_CLOSE);
  }
  EXPECT_THAT(Results(stmt, "SELECT name FROM t WHERE id = 2"), ElementsAre("rows:two,"));
}

// Cancelling an idle statement while another statement of the connection
// runs neither waits for that one nor stops it.
TEST_F(StatementTest, CancelOfAnIdleStatementLeavesTheRunningOneAlone) {
  Statement running(dbc()), idle(dbc());
  std::atomic<bool> finished{false};
  SQLRETURN rc = SQL_ERROR;
  std::thread runner([&] {
    rc = ExecDirect(running, "WAITFOR DELAY '00:00:02'");
    finished = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(SQLCancel(idle), SQL_SUCCESS);
  EXPECT_FALSE(finished.load()) << "the cancel waited for the other statement";
  runner.join();
  EXPECT_TRUE(SQL_SUCCEEDED(rc)) << "the running statement was stopped";
}

TEST_F(StatementTest, ClosingTheCursorRunsTheRestOfTheBatch) {
  Statement stmt(dbc());
  Exec(stmt, "SELECT id FROM t; INSERT INTO t VALUES (9, 'nine')");
  ASSERT_STMT_OK(SQLCloseCursor(stmt), stmt);
  EXPECT_THAT(Run("SELECT name FROM t WHERE id = 9"), ElementsAre("rows:nine,"));
}

TEST_F(StatementTest, SeveralStatementsOnOneConnection) {
  Statement reader(dbc()), writer(dbc());
  Exec(reader, "SELECT id FROM t ORDER BY id");
  SQLINTEGER id = 0;
  SQLBindCol(reader, 1, SQL_C_SLONG, &id, 0, nullptr);
  ASSERT_EQ(SQLFetch(reader), SQL_SUCCESS);
  EXPECT_EQ(id, 1);
  Exec(writer, "INSERT INTO t VALUES (7, 'seven')");
  SQLFreeStmt(reader, SQL_UNBIND);
  ASSERT_EQ(SQLFetch(reader), SQL_SUCCESS);
  EXPECT_EQ(id, 1);
  SQLGetData(reader, 1, SQL_C_SLONG, &id, 0, nullptr);
  EXPECT_EQ(id, 2);
  SQLCloseCursor(reader);
  EXPECT_THAT(Run("SELECT COUNT(*) FROM t"), ElementsAre("rows:3,"));
}

// Threads sharing one connection, each with its own statement: the calls
// go one at a time, so every transaction of each thread ends and its row is
// there. Each thread also reads its statement's diagnostics.
TEST_F(StatementTest, ThreadsShareOneConnection) {
  constexpr int kThreads = 4;
  constexpr int kRowsEach = 250;
  std::atomic<int> failures{0};
  auto insert_rows = [&](int first_id) {
    Statement stmt(dbc());
    for (int id = first_id; id < first_id + kRowsEach; ++id) {
      const std::string batch = "BEGIN TRANSACTION; INSERT INTO t VALUES (" + std::to_string(id) +
                                ", 'x'); IF @@TRANCOUNT > 0 COMMIT";
      SQLRETURN rc = ExecDirect(stmt, batch);
      if (!SQL_SUCCEEDED(rc) || FirstState(SQL_HANDLE_STMT, stmt) != "") ++failures;
      SQLFreeStmt(stmt, SQL_CLOSE);
    }
  };
  std::vector<std::thread> threads;
  for (int t = 1; t <= kThreads; ++t) threads.emplace_back(insert_rows, t * 1000);
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_THAT(Run("SELECT COUNT(*) FROM t"), ElementsAre("rows:" + std::to_string(2 + kThreads * kRowsEach) + ","));
  EXPECT_THAT(Run("SELECT @@TRANCOUNT"), ElementsAre("rows:0,"));
}

TEST_F(StatementTest, AutocommitOffThenRollbackAndCommit) {
  ASSERT_ODBC_OK(SQLSetConnectAttr(dbc(), SQL_ATTR_AUTOCOMMIT, Value(SQL_AUTOCOMMIT_OFF), 0), SQL_HANDLE_DBC, dbc());
  Exec("INSERT INTO t VALUES (3, 'three')");
  ASSERT_ODBC_OK(SQLEndTran(SQL_HANDLE_DBC, dbc(), SQL_ROLLBACK), SQL_HANDLE_DBC, dbc());
  EXPECT_THAT(Run("SELECT COUNT(*) FROM t"), ElementsAre("rows:2,"));
  Exec("INSERT INTO t VALUES (4, 'four')");
  ASSERT_ODBC_OK(SQLEndTran(SQL_HANDLE_ENV, connection_.env(), SQL_COMMIT), SQL_HANDLE_ENV, connection_.env());
  Exec("DELETE FROM t WHERE id = 1");
  ASSERT_ODBC_OK(SQLEndTran(SQL_HANDLE_DBC, dbc(), SQL_ROLLBACK), SQL_HANDLE_DBC, dbc());
  EXPECT_THAT(Run("SELECT id FROM t ORDER BY id"), ElementsAre("rows:1,2,4,"));
  // A named BEGIN inside the implicit transaction is no outermost level:
  // a rollback to its name fails and keeps both levels.
  Exec("INSERT INTO t VALUES (5, 'five')");
  Exec("BEGIN TRANSACTION innen");
  {
    Statement stmt(dbc());
    EXPECT_EQ(ExecDirect(stmt, "ROLLBACK TRANSACTION innen"), SQL_ERROR);
  }
  EXPECT_THAT(Run("SELECT @@TRANCOUNT"), ElementsAre("rows:2,"));
  EXPECT_THAT(Run("SELECT COUNT(*) FROM t"), ElementsAre("rows:4,"));
  ASSERT_ODBC_OK(SQLEndTran(SQL_HANDLE_DBC, dbc(), SQL_ROLLBACK), SQL_HANDLE_DBC, dbc());
}

TEST_F(StatementTest, DescribedBeforeExecutionWithNullability) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(Prepare(stmt, "SELECT id, name FROM t"), stmt);
  SQLSMALLINT columns = 0, type = 0, nullable = 0;
  ASSERT_STMT_OK(SQLNumResultCols(stmt, &columns), stmt);
  EXPECT_EQ(columns, 2);
  SQLDescribeCol(stmt, 1, nullptr, 0, nullptr, &type, nullptr, nullptr, &nullable);
  EXPECT_EQ(type, SQL_INTEGER);
  EXPECT_EQ(nullable, SQL_NO_NULLS);
  EXPECT_EQ(Failure(SQLDescribeCol(stmt, 3, nullptr, 0, nullptr, &type, nullptr, nullptr, &nullable), stmt),
            "07009");
}

// Each column of one table as SQL Server describes it; nullable all.
TEST_F(OdbcTest, TypesAsSqlServerDescribesThem) {
  const struct {
    const char* declared;
    SQLSMALLINT type;
    SQLULEN size;
    SQLSMALLINT digits;
    SQLLEN display;
  } cases[] = {{"char(8)", SQL_CHAR, 8, 0, 8},
               {"varchar(30)", SQL_VARCHAR, 30, 0, 30}, {"varchar(max)", SQL_VARCHAR, 0, 0, 0},
               {"int", SQL_INTEGER, 10, 0, 11}, {"smallint", SQL_SMALLINT, 5, 0, 6},
               {"tinyint", SQL_TINYINT, 3, 0, 3}, {"bigint", SQL_BIGINT, 19, 0, 20},
               {"bit", SQL_BIT, 1, 0, 1}, {"float", SQL_FLOAT, 53, 0, 24}, {"real", SQL_REAL, 24, 0, 14},
               {"decimal(9,2)", SQL_DECIMAL, 9, 2, 11}, {"datetime", SQL_TYPE_TIMESTAMP, 23, 3, 23},
               {"binary(4)", SQL_BINARY, 4, 0, 8}, {"varbinary(6)", SQL_VARBINARY, 6, 0, 12},
               {"varbinary(max)", SQL_VARBINARY, 0, 0, 0},
               {"image", SQL_LONGVARBINARY, 2147483647, 0, 2147483647},
               {"text", SQL_LONGVARCHAR, 2147483647, 0, 2147483647}};
  std::string create = "CREATE TABLE d (c1 char(8)";
  for (size_t i = 1; i < std::size(cases); ++i) create += ", c" + std::to_string(i + 1) + " " + cases[i].declared;
  Exec(create + ")");
  Statement stmt(dbc());
  ASSERT_STMT_OK(Prepare(stmt, "SELECT * FROM d"), stmt);
  SQLUSMALLINT column = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.declared);
    const std::string column_name = "c" + std::to_string(++column);
    SQLCHAR name[32];
    SQLSMALLINT name_length = 0, type = 0, digits = 0, nullable = 0;
    SQLULEN size = 0;
    ASSERT_STMT_OK(SQLDescribeCol(stmt, column, name, sizeof name, &name_length, &type, &size, &digits, &nullable),
                   stmt);
    EXPECT_EQ(reinterpret_cast<char*>(name), column_name);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(digits, c.digits);
    EXPECT_EQ(nullable, SQL_NULLABLE);
    SQLLEN number = 0;
    SQLColAttribute(stmt, column, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr, &number);
    EXPECT_EQ(number, c.display);
    SQLColAttribute(stmt, column, SQL_DESC_NULLABLE, nullptr, 0, nullptr, &number);
    EXPECT_EQ(number, SQL_NULLABLE);
    char text[64] = {0};
    SQLColAttribute(stmt, column, SQL_DESC_TYPE_NAME, text, sizeof text, nullptr, nullptr);
    EXPECT_EQ(std::string(text), std::string(c.declared).substr(0, std::string(c.declared).find('(')));
    SQLColAttribute(stmt, column, SQL_DESC_BASE_TABLE_NAME, text, sizeof text, nullptr, nullptr);
    EXPECT_STREQ(text, "d");
    SQLColAttribute(stmt, column, SQL_DESC_BASE_COLUMN_NAME, text, sizeof text, nullptr, nullptr);
    EXPECT_EQ(text, column_name);
  }
  // ODBC 2 applications see SQL_TIMESTAMP for datetime.
  Connection odbc2(SQL_OV_ODBC2);
  Connect(odbc2);
  Statement old(odbc2.dbc());
  Exec(old, "SELECT c12 FROM d");
  SQLSMALLINT type = 0;
  SQLDescribeCol(old, 1, nullptr, 0, nullptr, &type, nullptr, nullptr, nullptr);
  EXPECT_EQ(type, SQL_TIMESTAMP);
}

TEST_F(OdbcTest, StatementAttributesSetThenRead) {
  const struct {
    SQLINTEGER attr;
    SQLULEN value;
    SQLRETURN rc;
    const char* state;
    SQLULEN read_back;
  } cases[] = {
      {SQL_ATTR_CONCURRENCY, SQL_CONCUR_ROWVER, SQL_SUCCESS, "", SQL_CONCUR_ROWVER},
      {SQL_ATTR_CONCURRENCY, SQL_CONCUR_LOCK, SQL_SUCCESS_WITH_INFO, "01S02", SQL_CONCUR_ROWVER},
      {SQL_ATTR_ROW_ARRAY_SIZE, 0, SQL_ERROR, "HY024", 1}, {SQL_ATTR_QUERY_TIMEOUT, 30, SQL_SUCCESS, "", 30},
      {SQL_ATTR_ASYNC_ENABLE, SQL_ASYNC_ENABLE_ON, SQL_SUCCESS_WITH_INFO, "01S02", SQL_ASYNC_ENABLE_OFF},
      {SQL_ATTR_PARAMSET_SIZE, 3, SQL_SUCCESS, "", 3}, {SQL_ATTR_PARAMSET_SIZE, 0, SQL_ERROR, "HY024", 1},
      {SQL_ATTR_PARAM_BIND_TYPE, SQL_PARAM_BIND_BY_COLUMN, SQL_SUCCESS, "", SQL_PARAM_BIND_BY_COLUMN},
      {SQL_ATTR_PARAM_BIND_TYPE, 16, SQL_SUCCESS, "", 16},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("attribute " + std::to_string(c.attr) + " = " + std::to_string(c.value));
    Statement stmt(dbc());
    EXPECT_EQ(SQLSetStmtAttr(stmt, c.attr, Value(c.value), 0), c.rc);
    EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), c.state);
    SQLULEN value = 12345;
    EXPECT_STMT_OK(SQLGetStmtAttr(stmt, c.attr, &value, 0, nullptr), stmt);
    EXPECT_EQ(value, c.read_back);
  }
}

TEST_F(StatementTest, MaxRowsLimitsTheResult) {
  Statement stmt(dbc());
  SetAttr(stmt, SQL_ATTR_MAX_ROWS, 1);
  EXPECT_THAT(Results(stmt, "SELECT id FROM t ORDER BY id"), ElementsAre("rows:1,"));
}

TEST_F(OdbcTest, StatementDefaultsSetOnTheConnection) {
  ASSERT_ODBC_OK(SQLSetConnectAttr(dbc(), SQL_ATTR_CURSOR_TYPE, Value(SQL_CURSOR_STATIC), 0), SQL_HANDLE_DBC, dbc());
  Statement stmt(dbc());
  SQLULEN type = 0;
  SQLGetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, &type, 0, nullptr);
  EXPECT_EQ(type, static_cast<SQLULEN>(SQL_CURSOR_STATIC));
}

}  // namespace
}  // namespace odbctest
