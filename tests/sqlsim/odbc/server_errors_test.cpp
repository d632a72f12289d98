// Server errors, injected faults and the statement trace as a client sees
// them through the driver manager: SQLSTATE, native code and message text,
// in ODBC 3 and (through SQLError) ODBC 2 terms.
#include <fstream>
#include <iterator>

#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::HasSubstr;

class ServerErrorTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE k (id int NOT NULL PRIMARY KEY, code char(3) NOT NULL, n tinyint NULL)");
    Exec("CREATE UNIQUE INDEX Ik_code ON k (code)");
    Exec("INSERT INTO k VALUES (1, 'abc', 1)");
  }

  // The first diagnostic of running sql on a fresh statement.
  Diag Fail(const std::string& sql, SQLRETURN* rc_out = nullptr) {
    Statement stmt(dbc());
    SQLRETURN rc = SQLExecDirect(stmt, Text(sql), SQL_NTS);
    if (rc_out) *rc_out = rc;
    std::vector<Diag> diags = Diags(SQL_HANDLE_STMT, stmt);
    return diags.empty() ? Diag{} : diags.front();
  }
};

TEST_F(ServerErrorTest, NumbersAndStatesAsTheServersDriverReports) {
  struct Case {
    const char* sql;
    const char* state;
    SQLINTEGER native;
    const char* text;
  } cases[] = {
      {"INSERT INTO k VALUES (1, 'xyz', 1)", "23000", 2627, "Violation of PRIMARY KEY constraint"},
      {"INSERT INTO k VALUES (2, 'ABC ', 1)", "23000", 2601,
       "Cannot insert duplicate key row in object 'dbo.k' with unique index 'Ik_code'."},
      {"INSERT INTO k (id, n) VALUES (3, 1)", "23000", 515, "Cannot insert the value NULL into column 'code'"},
      {"SELECT * FROM missing", "42S02", 208, "Invalid object name 'missing'."},
      {"SELECT nothing FROM k", "42S22", 207, "Invalid column name 'nothing'."},
      {"SELECT * FROM k WHERE id =", "42000", 102, "Incorrect syntax near '='."},
      {"EXECUTE up_Missing 1", "42000", 2812, "Could not find stored procedure 'up_Missing'."},
      {"INSERT INTO k VALUES (4, 'abcd', 1)", "22001", 8152, "String or binary data would be truncated."},
      {"SELECT CONVERT(int, 'zwei')", "22018", 245, "Conversion failed"},
      {"SELECT id / 0 FROM k", "22012", 8134, "Divide by zero error encountered."},
      {"UPDATE k SET n = 256", "22003", 220, "Arithmetic overflow error for data type tinyint"},
  };
  for (const Case& c : cases) {
    SQLRETURN rc = 0;
    Diag d = Fail(c.sql, &rc);
    EXPECT_EQ(rc, SQL_ERROR) << c.sql;
    EXPECT_EQ(d.state, c.state) << c.sql;
    EXPECT_EQ(d.native, c.native) << c.sql;
    EXPECT_THAT(d.message, HasSubstr(std::string("[sqlsim][SQL Server]") + c.text)) << c.sql;
  }
  EXPECT_THAT(Column1("SELECT code FROM k"), ::testing::ElementsAre("abc"));
}

TEST_F(ServerErrorTest, Odbc2ApplicationsSeeOdbc2States) {
  Connection old(SQL_OV_ODBC2);
  ASSERT_ODBC_OK(old.DriverConnect(ConnectionString(dir_)), SQL_HANDLE_DBC, old.dbc());
  struct Case {
    const char* sql;
    const char* state;
    SQLINTEGER native;
  } cases[] = {
      {"SELECT * FROM missing", "S0002", 208},
      {"SELECT * FROM k WHERE", "37000", 156},
      {"SELECT CONVERT(int, 'zwei')", "22005", 245},
      {"INSERT INTO k VALUES (1, 'xyz', 1)", "23000", 2627},
  };
  for (const Case& c : cases) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    ASSERT_EQ(SQLAllocStmt(old.dbc(), &stmt), SQL_SUCCESS);
    EXPECT_EQ(SQLExecDirect(stmt, Text(c.sql), SQL_NTS), SQL_ERROR);
    std::vector<Diag> diags = Odbc2Errors(old.env(), old.dbc(), stmt);
    ASSERT_FALSE(diags.empty()) << c.sql;
    EXPECT_EQ(diags.front().state, c.state) << c.sql;
    EXPECT_EQ(diags.front().native, c.native) << c.sql;
    EXPECT_THAT(diags.front().message, HasSubstr("[sqlsim][SQL Server]")) << c.sql;
    SQLFreeStmt(stmt, SQL_DROP);
  }
}

// The driver manager takes SQL_ERROR as the end of the statement, so the
// statements after the failing one have run by the time the call returns.
TEST_F(ServerErrorTest, StatementErrorLeavesTheBatchRunning) {
  Statement stmt(dbc());
  SQLRETURN rc = SQLExecDirect(
      stmt, Text("INSERT INTO k VALUES (1, 'dup', 1) INSERT INTO k VALUES (2, 'two', 2)"), SQL_NTS);
  EXPECT_EQ(rc, SQL_ERROR);
  EXPECT_EQ(Diags(SQL_HANDLE_STMT, stmt).front().native, 2627);
  EXPECT_THAT(Column1("SELECT code FROM k ORDER BY id"), ::testing::ElementsAre("abc", "two"));
}

TEST_F(ServerErrorTest, InjectedExecutionFaultsCountDown) {
  Exec("EXECUTE sqlsim_fault 'execute', '%INSERT INTO k%', 2, '23000', 2627, 'injected'");
  for (int i = 0; i < 2; ++i) {
    Diag d = Fail("INSERT INTO k VALUES (10, 'new', 1)");
    EXPECT_EQ(d.state, "23000");
    EXPECT_EQ(d.native, 2627);
    EXPECT_THAT(d.message, HasSubstr("injected"));
  }
  // Statements that do not match are untouched; the third matching one runs.
  Exec("SELECT count(*) FROM k");
  Exec("INSERT INTO k VALUES (10, 'new', 1)");
  EXPECT_EQ(Column1("SELECT count(*) FROM k").front(), "2");
}

TEST_F(ServerErrorTest, InjectedInformationArrivesWithSuccess) {
  Exec("EXECUTE sqlsim_fault 'info', '%FROM k%', 1, '01000', 0, 'Hinweis'");
  Statement stmt(dbc());
  EXPECT_EQ(SQLExecDirect(stmt, Text("SELECT id FROM k"), SQL_NTS), SQL_SUCCESS_WITH_INFO);
  std::vector<Diag> diags = Diags(SQL_HANDLE_STMT, stmt);
  ASSERT_EQ(diags.size(), 1u);
  EXPECT_EQ(diags[0].state, "01000");
  EXPECT_THAT(diags[0].message, HasSubstr("Hinweis"));
  ASSERT_STMT_OK(SQLFetch(stmt), stmt);
}

TEST(TraceTest, PreparedStatementsAndTheirParameters) {
  DataDir dir;
  std::filesystem::path trace = dir.path().string() + "/trace.log";
  {
    Connection c;
    ASSERT_ODBC_OK(c.DriverConnect(ConnectionString(dir, "TRACE=" + trace.string())), SQL_HANDLE_DBC, c.dbc());
    Statement stmt(c.dbc());
    ASSERT_STMT_OK(SQLExecDirect(stmt, Text("CREATE TABLE t (a int, b char(5))"), SQL_NTS), stmt);
    ASSERT_STMT_OK(SQLPrepare(stmt, Text("INSERT INTO t VALUES (?, ?)"), SQL_NTS), stmt);
    SQLINTEGER a = 7;
    SQLCHAR b[] = "it's";
    SQLLEN b_length = SQL_NTS, null_indicator = SQL_NULL_DATA;
    SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &a, 0, nullptr);
    SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 5, 0, b, 0, &b_length);
    ASSERT_STMT_OK(SQLExecute(stmt), stmt);
    SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 5, 0, b, 0, &null_indicator);
    ASSERT_STMT_OK(SQLExecute(stmt), stmt);
  }
  std::ifstream in(trace);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_THAT(lines, ::testing::ElementsAre("PREPARE\tCREATE TABLE t (a int, b char(5))",
                                            "EXECUTE\tCREATE TABLE t (a int, b char(5))",
                                            "PREPARE\tINSERT INTO t VALUES (?, ?)",
                                            "EXECUTE\tINSERT INTO t VALUES (?, ?)\t7\t'it''s'",
                                            "EXECUTE\tINSERT INTO t VALUES (?, ?)\t7\tNULL"));
}

}  // namespace
}  // namespace odbctest
