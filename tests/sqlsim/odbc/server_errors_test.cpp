// Server errors, injected faults and the statement trace as a client sees
// them: SQLSTATE, native code and message text, in ODBC 3 and (through
// SQLError) ODBC 2 terms.
#include <fstream>

#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;
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
  Diag Fail(const std::string& sql, SQLRETURN expected_rc = SQL_ERROR) {
    Statement stmt(dbc());
    EXPECT_EQ(ExecDirect(stmt, sql), expected_rc) << sql;
    std::vector<Diag> diags = Diags(SQL_HANDLE_STMT, stmt);
    return diags.empty() ? Diag{} : diags.front();
  }
};

TEST_F(ServerErrorTest, NumbersAndStatesAsTheServersDriverReports) {
  const struct {
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
  for (const auto& c : cases) {
    Diag d = Fail(c.sql);
    EXPECT_EQ(d.state, c.state) << c.sql;
    EXPECT_EQ(d.native, c.native) << c.sql;
    EXPECT_THAT(d.message, HasSubstr(std::string("[sqlsim][SQL Server]") + c.text)) << c.sql;
  }
  EXPECT_THAT(Run("SELECT code FROM k"), ElementsAre("rows:abc,"));
}

TEST_F(ServerErrorTest, DiagnosticFieldsOfAServerError) {
  Statement stmt(dbc());
  ASSERT_EQ(ExecDirect(stmt, "SELECT * FROM nosuch"), SQL_ERROR);
  SQLINTEGER native = 0, count = 0;
  SQLCHAR state[6] = {0};
  SQLGetDiagField(SQL_HANDLE_STMT, stmt, 0, SQL_DIAG_NUMBER, &count, 0, nullptr);
  SQLGetDiagField(SQL_HANDLE_STMT, stmt, 1, SQL_DIAG_NATIVE, &native, 0, nullptr);
  SQLGetDiagField(SQL_HANDLE_STMT, stmt, 1, SQL_DIAG_SQLSTATE, state, sizeof state, nullptr);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(native, 208);
  EXPECT_STREQ(reinterpret_cast<char*>(state), "42S02");
}

TEST_F(ServerErrorTest, Odbc2ApplicationsSeeOdbc2States) {
  Connection old(SQL_OV_ODBC2);
  Connect(old);
  const struct {
    const char* sql;
    const char* state;
    SQLINTEGER native;
  } cases[] = {
      {"SELECT * FROM missing", "S0002", 208}, {"SELECT * FROM k WHERE", "37000", 156},
      {"SELECT CONVERT(int, 'zwei')", "22005", 245}, {"INSERT INTO k VALUES (1, 'xyz', 1)", "23000", 2627},
      {"SELECT {fn UCASE('a')", "37000", 102},  // an escape left open
  };
  for (const auto& c : cases) {
    Statement stmt(old.dbc());
    EXPECT_EQ(ExecDirect(stmt, c.sql), SQL_ERROR);
    SQLCHAR state[6] = {0}, text[512] = {0};
    SQLINTEGER native = 0;
    EXPECT_EQ(SQLError(old.env(), old.dbc(), stmt, state, &native, text, sizeof text, nullptr), SQL_SUCCESS);
    EXPECT_STREQ(reinterpret_cast<char*>(state), c.state) << c.sql;
    EXPECT_EQ(native, c.native) << c.sql;
    EXPECT_THAT(reinterpret_cast<char*>(text), HasSubstr("[sqlsim][SQL Server]")) << c.sql;
  }
}

// The driver manager takes SQL_ERROR as the end of the statement, so the
// statements after the failing one have run by the time the call returns.
TEST_F(ServerErrorTest, StatementErrorLeavesTheBatchRunning) {
  EXPECT_EQ(Fail("INSERT INTO k VALUES (1, 'dup', 1) INSERT INTO k VALUES (2, 'two', 2)").native, 2627);
  EXPECT_THAT(Run("SELECT code FROM k ORDER BY id"), ElementsAre("rows:abc,two,"));
}

TEST_F(ServerErrorTest, InjectedFaultsCountDown) {
  Exec("EXECUTE sqlsim_fault 'execute', '%INSERT INTO k%', 2, '23000', 2627, 'injected'");
  for (int i = 0; i < 2; ++i) {
    Diag d = Fail("INSERT INTO k VALUES (10, 'new', 1)");
    EXPECT_EQ(d.state, "23000");
    EXPECT_EQ(d.native, 2627);
    EXPECT_THAT(d.message, HasSubstr("[sqlsim][SQL Server]injected"));
  }
  // Statements that do not match are untouched; the third matching one runs.
  Exec("SELECT count(*) FROM k");
  Exec("INSERT INTO k VALUES (10, 'new', 1)");
  EXPECT_THAT(Run("SELECT count(*) FROM k"), ElementsAre("rows:2,"));
  // Information arrives with success.
  Exec("EXECUTE sqlsim_fault 'info', '%FROM k%', 1, '01000', 0, 'Hinweis'");
  EXPECT_THAT(Run("SELECT id FROM k WHERE id = 1"), ElementsAre("msg:Hinweis", "rows:1,"));
}

// A fetch fault given a pattern waits for a statement of that text; one
// given a number counts every fetch.
TEST_F(ServerErrorTest, FetchFaultsFindTheirStatementByItsText) {
  Exec("EXECUTE sqlsim_fault 'fetch', '%WHERE id = 1%', 1, '08S01', 10054, 'weg'");
  EXPECT_THAT(Run("SELECT code FROM k"), ElementsAre("rows:abc,"));
  EXPECT_THAT(Run("SELECT code FROM k WHERE id = 1"), ElementsAre("rows:")) << "the first fetch failed";
  EXPECT_THAT(Run("SELECT code FROM k WHERE id = 1"), ElementsAre("rows:abc,"));
  // A row and the end of the result.
  Exec("EXECUTE sqlsim_fault 'fetch', '2', 1, '08S01', 10054, 'weg'");
  EXPECT_THAT(Run("SELECT code FROM k WHERE id = 1"), ElementsAre("rows:abc,"));
  EXPECT_THAT(Run("SELECT code FROM k"), ElementsAre("rows:"));
}

TEST_F(OdbcTest, TraceOfPreparedStatementsAndTheirParameters) {
  std::string trace = dir_.path().string() + "/trace.log";
  {
    Connection c;
    Connect(c, "TRACE=" + trace);
    Statement stmt(c.dbc());
    Exec(stmt, "CREATE TABLE t (a int, b char(5))");
    ASSERT_STMT_OK(Prepare(stmt, "INSERT INTO t VALUES (?, ?)"), stmt);
    SQLINTEGER a = 7;
    SQLCHAR b[] = "it's";
    SQLLEN b_length = SQL_NTS, null_indicator = SQL_NULL_DATA;
    BindInt(stmt, 1, &a);
    SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 5, 0, b, 0, &b_length);
    ASSERT_STMT_OK(SQLExecute(stmt), stmt);
    SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 5, 0, b, 0, &null_indicator);
    ASSERT_STMT_OK(SQLExecute(stmt), stmt);
  }
  std::ifstream in(trace);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  EXPECT_THAT(lines, ElementsAre("PREPARE\tCREATE TABLE t (a int, b char(5))", "EXECUTE\tCREATE TABLE t (a int, b char(5))",
                                 "PREPARE\tINSERT INTO t VALUES (?, ?)",
                                 "EXECUTE\tINSERT INTO t VALUES (?, ?)\t7\t'it''s'",
                                 "EXECUTE\tINSERT INTO t VALUES (?, ?)\t7\tNULL"));
}

}  // namespace
}  // namespace odbctest
