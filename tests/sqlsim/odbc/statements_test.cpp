// Statements: diagnostics, results one after the other, row counts,
// transactions, result descriptions.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class StatementTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE t (id int NOT NULL PRIMARY KEY, name varchar(20))");
    Exec("INSERT INTO t VALUES (1, 'one')");
    Exec("INSERT INTO t VALUES (2, 'two')");
  }

  SQLLEN RowCount(SQLHSTMT stmt) {
    SQLLEN count = -7;
    EXPECT_STMT_OK(SQLRowCount(stmt, &count), stmt);
    return count;
  }
};

TEST_F(StatementTest, DiagnosticFieldsOfAServerError) {
  Statement stmt(dbc());
  ASSERT_EQ(SQLExecDirect(stmt, Text("SELECT * FROM nosuch"), SQL_NTS), SQL_ERROR);
  SQLINTEGER native = 0, count = 0;
  SQLCHAR state[6] = {0};
  SQLGetDiagField(SQL_HANDLE_STMT, stmt, 0, SQL_DIAG_NUMBER, &count, 0, nullptr);
  SQLGetDiagField(SQL_HANDLE_STMT, stmt, 1, SQL_DIAG_NATIVE, &native, 0, nullptr);
  SQLGetDiagField(SQL_HANDLE_STMT, stmt, 1, SQL_DIAG_SQLSTATE, state, sizeof state, nullptr);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(native, 208);
  EXPECT_STREQ(reinterpret_cast<char*>(state), "42S02");
}

TEST_F(StatementTest, ConstraintViolationKeepsTheStatementUsable) {
  Statement stmt(dbc());
  ASSERT_EQ(SQLExecDirect(stmt, Text("INSERT INTO t VALUES (1, 'again')"), SQL_NTS), SQL_ERROR);
  Exec(stmt, "INSERT INTO t VALUES (3, 'three')");
  EXPECT_EQ(RowCount(stmt), 1);
}

TEST_F(StatementTest, RowCountsAndNoDataForUnchangedRows) {
  Statement stmt(dbc());
  EXPECT_EQ(SQLExecDirect(stmt, Text("UPDATE t SET name = 'x' WHERE id > 0"), SQL_NTS), SQL_SUCCESS);
  EXPECT_EQ(RowCount(stmt), 2);
  EXPECT_EQ(SQLExecDirect(stmt, Text("DELETE FROM t WHERE id = 99"), SQL_NTS), SQL_NO_DATA);
  EXPECT_EQ(RowCount(stmt), 0);
  EXPECT_EQ(SQLExecDirect(stmt, Text("SELECT id FROM t"), SQL_NTS), SQL_SUCCESS);
  EXPECT_EQ(RowCount(stmt), -1);
}

TEST_F(StatementTest, ResultsOfABatchOneAfterTheOther) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLExecDirect(stmt,
                               Text("INSERT INTO t VALUES (5, 'five'); "
                                    "SELECT id FROM t WHERE id = 5; "
                                    "SELECT name FROM t WHERE id = 1"),
                               SQL_NTS),
                 stmt);
  SQLSMALLINT columns = -1;
  SQLNumResultCols(stmt, &columns);
  EXPECT_EQ(columns, 0);
  EXPECT_EQ(RowCount(stmt), 1);
  ASSERT_EQ(SQLMoreResults(stmt), SQL_SUCCESS);
  SQLINTEGER id = 0;
  SQLBindCol(stmt, 1, SQL_C_SLONG, &id, 0, nullptr);
  ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
  EXPECT_EQ(id, 5);
  ASSERT_EQ(SQLMoreResults(stmt), SQL_SUCCESS);
  SQLFreeStmt(stmt, SQL_UNBIND);
  char name[20] = {0};
  SQLLEN ind = 0;
  ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
  SQLGetData(stmt, 1, SQL_C_CHAR, name, sizeof name, &ind);
  EXPECT_STREQ(name, "one");
  EXPECT_EQ(SQLFetch(stmt), SQL_NO_DATA);
  EXPECT_EQ(SQLMoreResults(stmt), SQL_NO_DATA);
}

TEST_F(StatementTest, ClosingTheCursorRunsTheRestOfTheBatch) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLExecDirect(stmt, Text("SELECT id FROM t; INSERT INTO t VALUES (9, 'nine')"),
                               SQL_NTS),
                 stmt);
  ASSERT_STMT_OK(SQLCloseCursor(stmt), stmt);
  EXPECT_THAT(Column1("SELECT name FROM t WHERE id = 9"), ElementsAre("nine"));
}

TEST_F(StatementTest, SeveralStatementsOnOneConnection) {
  Statement reader(dbc());
  Statement writer(dbc());
  ASSERT_STMT_OK(SQLExecDirect(reader, Text("SELECT id FROM t ORDER BY id"), SQL_NTS), reader);
  SQLINTEGER id = 0;
  SQLBindCol(reader, 1, SQL_C_SLONG, &id, 0, nullptr);
  ASSERT_EQ(SQLFetch(reader), SQL_SUCCESS);
  EXPECT_EQ(id, 1);
  Exec(writer, "INSERT INTO t VALUES (7, 'seven')");
  ASSERT_EQ(SQLFetch(reader), SQL_SUCCESS);
  EXPECT_EQ(id, 2);
  SQLCloseCursor(reader);
  EXPECT_THAT(Column1("SELECT COUNT(*) FROM t"), ElementsAre("3"));
}

TEST_F(StatementTest, AutocommitOffThenRollbackAndCommit) {
  ASSERT_ODBC_OK(SQLSetConnectAttr(dbc(), SQL_ATTR_AUTOCOMMIT,
                                   reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
                 SQL_HANDLE_DBC, dbc());
  Exec("INSERT INTO t VALUES (3, 'three')");
  ASSERT_ODBC_OK(SQLEndTran(SQL_HANDLE_DBC, dbc(), SQL_ROLLBACK), SQL_HANDLE_DBC, dbc());
  EXPECT_THAT(Column1("SELECT COUNT(*) FROM t"), ElementsAre("2"));
  Exec("INSERT INTO t VALUES (4, 'four')");
  ASSERT_ODBC_OK(SQLEndTran(SQL_HANDLE_ENV, connection_.env(), SQL_COMMIT), SQL_HANDLE_ENV,
                 connection_.env());
  Exec("DELETE FROM t WHERE id = 1");
  ASSERT_ODBC_OK(SQLEndTran(SQL_HANDLE_DBC, dbc(), SQL_ROLLBACK), SQL_HANDLE_DBC, dbc());
  EXPECT_THAT(Column1("SELECT id FROM t ORDER BY id"), ElementsAre("1", "2", "4"));
}

TEST_F(StatementTest, PreparedOnceExecutedWithNewParameters) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLPrepare(stmt, Text("SELECT name FROM t WHERE id = ?"), SQL_NTS), stmt);
  SQLSMALLINT params = 0;
  SQLNumParams(stmt, &params);
  EXPECT_EQ(params, 1);
  SQLINTEGER id = 0;
  SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &id, 0, nullptr);
  std::vector<std::string> names;
  for (id = 1; id <= 2; ++id) {
    ASSERT_STMT_OK(SQLExecute(stmt), stmt);
    char name[20] = {0};
    SQLLEN ind = 0;
    ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
    SQLGetData(stmt, 1, SQL_C_CHAR, name, sizeof name, &ind);
    names.push_back(name);
    SQLCloseCursor(stmt);
  }
  EXPECT_THAT(names, ElementsAre("one", "two"));
}

TEST_F(StatementTest, UnboundParameterIsReported) {
  Statement stmt(dbc());
  ASSERT_EQ(SQLExecDirect(stmt, Text("SELECT name FROM t WHERE id = ?"), SQL_NTS), SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "07002");
}

TEST_F(StatementTest, DescribedBeforeExecutionWithNullability) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLPrepare(stmt, Text("SELECT id, name FROM t"), SQL_NTS), stmt);
  SQLSMALLINT columns = 0;
  ASSERT_STMT_OK(SQLNumResultCols(stmt, &columns), stmt);
  EXPECT_EQ(columns, 2);
  SQLCHAR name[32];
  SQLSMALLINT name_length = 0, type = 0, digits = 0, nullable = 0;
  SQLULEN size = 0;
  ASSERT_STMT_OK(SQLDescribeCol(stmt, 2, name, sizeof name, &name_length, &type, &size, &digits,
                                &nullable),
                 stmt);
  EXPECT_STREQ(reinterpret_cast<char*>(name), "name");
  EXPECT_EQ(type, SQL_VARCHAR);
  EXPECT_EQ(size, 20u);
  EXPECT_EQ(nullable, SQL_NULLABLE);
  SQLDescribeCol(stmt, 1, nullptr, 0, nullptr, nullptr, nullptr, nullptr, &nullable);
  EXPECT_EQ(nullable, SQL_NO_NULLS);
  SQLLEN attribute = -1;
  SQLColAttribute(stmt, 2, SQL_DESC_NULLABLE, nullptr, 0, nullptr, &attribute);
  EXPECT_EQ(attribute, SQL_NULLABLE);
  EXPECT_EQ(SQLDescribeCol(stmt, 3, name, sizeof name, &name_length, &type, &size, &digits,
                           &nullable),
            SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "07009");
}

struct Described {
  const char* declared;
  SQLSMALLINT type;
  SQLULEN size;
  SQLSMALLINT digits;
  SQLLEN display;
  const char* type_name;
};

void PrintTo(const Described& d, std::ostream* out) { *out << d.declared; }

class DescribeTest : public OdbcTest, public ::testing::WithParamInterface<Described> {};

TEST_P(DescribeTest, TypesAsSqlServerDescribesThem) {
  const Described& d = GetParam();
  Exec(std::string("CREATE TABLE d (c ") + d.declared + ")");
  Statement stmt(dbc());
  Exec(stmt, "SELECT c FROM d");
  SQLCHAR name[32];
  SQLSMALLINT name_length = 0, type = 0, digits = 0, nullable = 0;
  SQLULEN size = 0;
  ASSERT_STMT_OK(SQLDescribeCol(stmt, 1, name, sizeof name, &name_length, &type, &size, &digits,
                                &nullable),
                 stmt);
  EXPECT_EQ(type, d.type);
  EXPECT_EQ(size, d.size);
  EXPECT_EQ(digits, d.digits);
  EXPECT_EQ(nullable, SQL_NULLABLE);
  SQLLEN display = 0;
  SQLColAttribute(stmt, 1, SQL_DESC_DISPLAY_SIZE, nullptr, 0, nullptr, &display);
  EXPECT_EQ(display, d.display);
  char text[64] = {0};
  SQLColAttribute(stmt, 1, SQL_DESC_TYPE_NAME, text, sizeof text, nullptr, nullptr);
  EXPECT_STREQ(text, d.type_name);
  SQLColAttribute(stmt, 1, SQL_DESC_BASE_TABLE_NAME, text, sizeof text, nullptr, nullptr);
  EXPECT_STREQ(text, "d");
  SQLColAttribute(stmt, 1, SQL_DESC_BASE_COLUMN_NAME, text, sizeof text, nullptr, nullptr);
  EXPECT_STREQ(text, "c");
}

INSTANTIATE_TEST_SUITE_P(
    Types, DescribeTest,
    ::testing::Values(Described{"char(8)", SQL_CHAR, 8, 0, 8, "char"},
                      Described{"varchar(30)", SQL_VARCHAR, 30, 0, 30, "varchar"},
                      Described{"varchar(max)", SQL_VARCHAR, 0, 0, 0, "varchar"},
                      Described{"int", SQL_INTEGER, 10, 0, 11, "int"},
                      Described{"smallint", SQL_SMALLINT, 5, 0, 6, "smallint"},
                      Described{"tinyint", SQL_TINYINT, 3, 0, 3, "tinyint"},
                      Described{"bigint", SQL_BIGINT, 19, 0, 20, "bigint"},
                      Described{"bit", SQL_BIT, 1, 0, 1, "bit"},
                      Described{"float", SQL_FLOAT, 53, 0, 24, "float"},
                      Described{"real", SQL_REAL, 24, 0, 14, "real"},
                      Described{"decimal(9,2)", SQL_DECIMAL, 9, 2, 11, "decimal"},
                      Described{"datetime", SQL_TYPE_TIMESTAMP, 23, 3, 23, "datetime"},
                      Described{"binary(4)", SQL_BINARY, 4, 0, 8, "binary"},
                      Described{"varbinary(6)", SQL_VARBINARY, 6, 0, 12, "varbinary"},
                      Described{"varbinary(max)", SQL_VARBINARY, 0, 0, 0, "varbinary"},
                      Described{"image", SQL_LONGVARBINARY, 2147483647, 0, 2147483647, "image"},
                      Described{"text", SQL_LONGVARCHAR, 2147483647, 0, 2147483647, "text"}));

TEST(Odbc2DescribeTest, DatetimeIsTimestampForOdbc2) {
  DataDir dir;
  Connection c(SQL_OV_ODBC2);
  ASSERT_ODBC_OK(c.DriverConnect(ConnectionString(dir)), SQL_HANDLE_DBC, c.dbc());
  Statement stmt(c.dbc());
  ASSERT_STMT_OK(SQLExecDirect(stmt, Text("CREATE TABLE d (c datetime)"), SQL_NTS), stmt);
  ASSERT_STMT_OK(SQLExecDirect(stmt, Text("SELECT c FROM d"), SQL_NTS), stmt);
  SQLSMALLINT type = 0;
  SQLULEN size = 0;
  SQLDescribeCol(stmt, 1, nullptr, 0, nullptr, &type, &size, nullptr, nullptr);
  EXPECT_EQ(type, SQL_TIMESTAMP);
  EXPECT_EQ(size, 23u);
}

TEST_F(StatementTest, NativeSqlLeavesTheTextAsItIs) {
  std::string sql = "SELECT {fn UCASE(name)} FROM t";
  SQLCHAR out[64];
  SQLINTEGER length = 0;
  ASSERT_ODBC_OK(SQLNativeSql(dbc(), Text(sql), SQL_NTS, out, sizeof out, &length), SQL_HANDLE_DBC,
                 dbc());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), sql);
  EXPECT_EQ(length, static_cast<SQLINTEGER>(sql.size()));
}

}  // namespace
}  // namespace odbctest

namespace odbctest {
namespace {

struct AttrCase {
  SQLINTEGER attr;
  SQLULEN value;
  SQLRETURN rc;
  const char* state;
  SQLULEN read_back;  // what SQLGetStmtAttr reports afterwards
};

void PrintTo(const AttrCase& c, std::ostream* out) {
  *out << "attribute " << c.attr << " = " << c.value;
}

class StmtAttrTest : public OdbcTest, public ::testing::WithParamInterface<AttrCase> {};

TEST_P(StmtAttrTest, SetThenRead) {
  const AttrCase& c = GetParam();
  Statement stmt(dbc());
  SQLRETURN rc = SQLSetStmtAttr(stmt, c.attr, reinterpret_cast<SQLPOINTER>(c.value), 0);
  EXPECT_EQ(rc, c.rc) << Explain(rc, SQL_HANDLE_STMT, stmt);
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), c.state);
  SQLULEN value = 12345;
  EXPECT_STMT_OK(SQLGetStmtAttr(stmt, c.attr, &value, 0, nullptr), stmt);
  EXPECT_EQ(value, c.read_back);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StmtAttrTest,
    ::testing::Values(
        AttrCase{SQL_ATTR_CONCURRENCY, SQL_CONCUR_ROWVER, SQL_SUCCESS, "", SQL_CONCUR_ROWVER},
        AttrCase{SQL_ATTR_CONCURRENCY, SQL_CONCUR_LOCK, SQL_SUCCESS_WITH_INFO, "01S02",
                 SQL_CONCUR_ROWVER},
        AttrCase{SQL_ATTR_ROW_ARRAY_SIZE, 0, SQL_ERROR, "HY024", 1},
        AttrCase{SQL_ATTR_QUERY_TIMEOUT, 30, SQL_SUCCESS, "", 30},
        AttrCase{SQL_ATTR_ASYNC_ENABLE, SQL_ASYNC_ENABLE_ON, SQL_SUCCESS_WITH_INFO, "01S02",
                 SQL_ASYNC_ENABLE_OFF}));

TEST_F(OdbcTest, MaxRowsLimitsTheResult) {
  Exec("CREATE TABLE m (id int)");
  Exec("INSERT INTO m VALUES (1); INSERT INTO m VALUES (2); INSERT INTO m VALUES (3)");
  Statement stmt(dbc());
  SQLSetStmtAttr(stmt, SQL_ATTR_MAX_ROWS, reinterpret_cast<SQLPOINTER>(2), 0);
  Exec(stmt, "SELECT id FROM m ORDER BY id");
  int rows = 0;
  while (SQLFetch(stmt) == SQL_SUCCESS) ++rows;
  EXPECT_EQ(rows, 2);
}

TEST_F(OdbcTest, StatementDefaultsSetOnTheConnection) {
  ASSERT_ODBC_OK(SQLSetConnectAttr(dbc(), SQL_ATTR_CURSOR_TYPE,
                                   reinterpret_cast<SQLPOINTER>(SQL_CURSOR_STATIC), 0),
                 SQL_HANDLE_DBC, dbc());
  Statement stmt(dbc());
  SQLULEN type = 0;
  SQLGetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, &type, 0, nullptr);
  EXPECT_EQ(type, static_cast<SQLULEN>(SQL_CURSOR_STATIC));
}

}  // namespace
}  // namespace odbctest
