// Connecting through the driver manager: connection strings, data sources,
// failures, and what the driver reports about itself.
#include <unistd.h>

#include <cstring>

#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::HasSubstr;

std::string CurrentCatalog(SQLHDBC dbc) {
  char name[256] = {0};
  SQLINTEGER length = 0;
  SQLGetConnectAttr(dbc, SQL_ATTR_CURRENT_CATALOG, name, sizeof name, &length);
  return name;
}

// A fresh folder and an unconnected ODBC 3 connection.
class ConnectTest : public ::testing::Test {
 protected:
  DataDir dir_;
  Connection c_;
};

TEST_F(ConnectTest, ConnectionStringGivesCompletedString) {
  std::string completed;
  SQLRETURN rc = c_.DriverConnect(ConnectionString(dir_), &completed);
  ASSERT_ODBC_OK(rc, SQL_HANDLE_DBC, c_.dbc());
  EXPECT_THAT(completed, HasSubstr("DRIVER={sqlsim};"));
  EXPECT_THAT(completed, HasSubstr("DATADIR=" + dir_.path().string() + ";"));
  EXPECT_THAT(completed, HasSubstr("DATABASE=t;"));
  EXPECT_EQ(CurrentCatalog(c_.dbc()), "t");
}

TEST_F(ConnectTest, KeysAnyCaseAndBracedValues) {
  std::string text = "driver={sqlsim}; DataDir={" + dir_.path().string() +
                     "};database = Orders ;autocreate={1};uid=sa;pwd={x;y}";
  std::string completed;
  ASSERT_ODBC_OK(c_.DriverConnect(text, &completed), SQL_HANDLE_DBC, c_.dbc());
  EXPECT_EQ(CurrentCatalog(c_.dbc()), "Orders");
  EXPECT_THAT(completed, HasSubstr("UID=sa;"));
  EXPECT_THAT(completed, ::testing::Not(HasSubstr("PWD")));
  EXPECT_TRUE(std::filesystem::exists(dir_.path() / "orders.db"));
}

TEST_F(ConnectTest, CompletedStringCutToTheBufferWithItsFullLength) {
  std::string text = ConnectionString(dir_);
  SQLCHAR out[12];
  std::memset(out, 'x', sizeof out);
  SQLSMALLINT length = 0;
  SQLRETURN rc = SQLDriverConnect(c_.dbc(), nullptr, Text(text), SQL_NTS, out, sizeof out, &length,
                                  SQL_DRIVER_NOPROMPT);
  ASSERT_EQ(rc, SQL_SUCCESS_WITH_INFO) << Explain(rc, SQL_HANDLE_DBC, c_.dbc());
  EXPECT_EQ(FirstState(SQL_HANDLE_DBC, c_.dbc()), "01004");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), "DRIVER={sql");
  EXPECT_GT(length, 40);
  SQLDisconnect(c_.dbc());
}

struct Failure {
  const char* text;       // after DRIVER=sqlsim;
  const char* state;
  const char* message;    // part of the message
};

class ConnectFailureTest : public ConnectTest, public ::testing::WithParamInterface<Failure> {};

TEST_P(ConnectFailureTest, FailsWithClearDiagnostic) {
  std::string text = "DRIVER=sqlsim;" + std::string(GetParam().text);
  std::string::size_type at = text.find("<dir>");
  if (at != std::string::npos) text.replace(at, 5, dir_.path().string());
  SQLRETURN rc = c_.DriverConnect(text);
  ASSERT_EQ(rc, SQL_ERROR);
  std::vector<Diag> diags = Diags(SQL_HANDLE_DBC, c_.dbc());
  ASSERT_FALSE(diags.empty());
  EXPECT_EQ(diags[0].state, GetParam().state);
  EXPECT_THAT(diags[0].message, HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectFailureTest,
    ::testing::Values(Failure{"DATABASE=t;AUTOCREATE=1", "08001", "DATADIR"},
                      Failure{"DATADIR=<dir>;AUTOCREATE=1", "08001", "DATABASE"},
                      Failure{"DATADIR=<dir>;DATABASE=t;TIMEOUT=soon", "08001", "TIMEOUT"},
                      Failure{"DATADIR={<dir>;DATABASE=t", "08001", "'{'"}));

TEST_F(ConnectTest, MissingDatabaseWithoutAutocreateNamesTheDatabase) {
  ASSERT_EQ(c_.DriverConnect("DRIVER=sqlsim;DATADIR=" + dir_.path().string() + ";DATABASE=Nowhere"),
            SQL_ERROR);
  std::vector<Diag> diags = Diags(SQL_HANDLE_DBC, c_.dbc());
  ASSERT_FALSE(diags.empty());
  EXPECT_EQ(diags[0].native, 4060);
  EXPECT_THAT(diags[0].message, HasSubstr("[sqlsim][SQL Server]Cannot open database"));
  EXPECT_THAT(diags[0].message, HasSubstr("Nowhere"));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "Nowhere.db"));
}

TEST_F(ConnectTest, DataSourceThroughSqlConnect) {
  SQLRETURN rc = SQLConnect(c_.dbc(), Text("sqlsim_test"), SQL_NTS, Text("sa"), SQL_NTS,
                            Text(""), SQL_NTS);
  ASSERT_ODBC_OK(rc, SQL_HANDLE_DBC, c_.dbc());
  EXPECT_EQ(CurrentCatalog(c_.dbc()), "sqlsim_test");
  char dsn[64] = {0};
  SQLGetInfo(c_.dbc(), SQL_DATA_SOURCE_NAME, dsn, sizeof dsn, nullptr);
  EXPECT_STREQ(dsn, "sqlsim_test");
  SQLDisconnect(c_.dbc());
}

TEST_F(ConnectTest, ConnectionStringOverridesTheDataSource) {
  std::string database = "override_" + std::to_string(getpid());
  std::string completed;
  ASSERT_ODBC_OK(c_.DriverConnect("DSN=sqlsim_test;DATABASE=" + database, &completed),
                 SQL_HANDLE_DBC, c_.dbc());
  EXPECT_EQ(CurrentCatalog(c_.dbc()), database);
  EXPECT_THAT(completed, HasSubstr("DSN=sqlsim_test;"));
  EXPECT_THAT(completed, HasSubstr("DATABASE=" + database + ";"));
  SQLDisconnect(c_.dbc());
  std::filesystem::path file = std::filesystem::path(SQLSIM_ODBC_DSN_DIR) / (database + ".db");
  EXPECT_TRUE(std::filesystem::exists(file)) << file;
  std::filesystem::remove(file);
}

TEST_F(ConnectTest, CurrentCatalogSetBeforeConnectingPicksTheDatabase) {
  SQLSetConnectAttr(c_.dbc(), SQL_ATTR_CURRENT_CATALOG, Text("Second"), SQL_NTS);
  ASSERT_ODBC_OK(c_.DriverConnect(ConnectionString(dir_)), SQL_HANDLE_DBC, c_.dbc());
  EXPECT_EQ(CurrentCatalog(c_.dbc()), "Second");
}

class InfoTest : public OdbcTest {};

TEST_F(InfoTest, TextAnswers) {
  struct Case {
    SQLUSMALLINT type;
    const char* expected;
  } cases[] = {
      {SQL_DBMS_NAME, "sqlsim"},          {SQL_DRIVER_ODBC_VER, "03.00"},
      {SQL_IDENTIFIER_QUOTE_CHAR, "\""},  {SQL_DATABASE_NAME, "t"},
      {SQL_MULT_RESULT_SETS, "Y"},        {SQL_CATALOG_NAME_SEPARATOR, "."},
  };
  for (const Case& c : cases) {
    char value[64] = {0};
    SQLSMALLINT length = 0;
    EXPECT_ODBC_OK(SQLGetInfo(dbc(), c.type, value, sizeof value, &length), SQL_HANDLE_DBC, dbc());
    EXPECT_STREQ(value, c.expected) << "info type " << c.type;
    EXPECT_EQ(length, static_cast<SQLSMALLINT>(std::strlen(c.expected)));
  }
}

TEST_F(InfoTest, NumberAnswersMatchWhatTheDriverDoes) {
  SQLUSMALLINT small = 0;
  SQLGetInfo(dbc(), SQL_MAX_COLUMN_NAME_LEN, &small, sizeof small, nullptr);
  EXPECT_EQ(small, 128);
  SQLGetInfo(dbc(), SQL_TXN_CAPABLE, &small, sizeof small, nullptr);
  EXPECT_EQ(small, SQL_TC_ALL);
  SQLUINTEGER bits = 0;
  SQLGetInfo(dbc(), SQL_GETDATA_EXTENSIONS, &bits, sizeof bits, nullptr);
  EXPECT_EQ(bits & (SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BLOCK),
            static_cast<SQLUINTEGER>(SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BLOCK));
  SQLGetInfo(dbc(), SQL_SCROLL_OPTIONS, &bits, sizeof bits, nullptr);
  EXPECT_EQ(bits, static_cast<SQLUINTEGER>(SQL_SO_FORWARD_ONLY | SQL_SO_STATIC |
                                           SQL_SO_KEYSET_DRIVEN | SQL_SO_DYNAMIC));
  SQLGetInfo(dbc(), SQL_STATIC_CURSOR_ATTRIBUTES1, &bits, sizeof bits, nullptr);
  EXPECT_TRUE(bits & SQL_CA1_ABSOLUTE);
  EXPECT_TRUE(bits & SQL_CA1_BOOKMARK);
  SQLGetInfo(dbc(), SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1, &bits, sizeof bits, nullptr);
  EXPECT_FALSE(bits & SQL_CA1_ABSOLUTE);
}

TEST_F(InfoTest, CutTextAndUnknownTypes) {
  char value[4] = {0};
  SQLSMALLINT length = 0;
  EXPECT_EQ(SQLGetInfo(dbc(), SQL_DBMS_NAME, value, sizeof value, &length), SQL_SUCCESS_WITH_INFO);
  EXPECT_STREQ(value, "sql");
  EXPECT_EQ(length, 6);
  EXPECT_EQ(FirstState(SQL_HANDLE_DBC, dbc()), "01004");
  EXPECT_EQ(SQLGetInfo(dbc(), 31999, value, sizeof value, &length), SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_DBC, dbc()), "HY096");
}

TEST_F(InfoTest, FunctionsAreThoseTheDriverHas) {
  struct Case {
    SQLUSMALLINT function;
    SQLUSMALLINT expected;
  } cases[] = {{SQL_API_SQLEXTENDEDFETCH, SQL_TRUE}, {SQL_API_SQLFETCHSCROLL, SQL_TRUE},
               {SQL_API_SQLPUTDATA, SQL_TRUE},       {SQL_API_SQLSETPOS, SQL_TRUE},
               {SQL_API_SQLCOLUMNS, SQL_FALSE},      {SQL_API_SQLTABLES, SQL_FALSE},
               {SQL_API_SQLBULKOPERATIONS, SQL_FALSE}};
  SQLUSMALLINT all[SQL_API_ODBC3_ALL_FUNCTIONS_SIZE] = {0};
  ASSERT_ODBC_OK(SQLGetFunctions(dbc(), SQL_API_ODBC3_ALL_FUNCTIONS, all), SQL_HANDLE_DBC, dbc());
  for (const Case& c : cases) {
    SQLUSMALLINT one = 2;
    SQLGetFunctions(dbc(), c.function, &one);
    EXPECT_EQ(one, c.expected) << "function " << c.function;
    EXPECT_EQ(SQL_FUNC_EXISTS(all, c.function), c.expected) << "function " << c.function;
  }
}

TEST_F(InfoTest, TypeInfoListsTheServersTypesInOrder) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLGetTypeInfo(stmt, SQL_ALL_TYPES), stmt);
  std::vector<std::string> names;
  SQLSMALLINT previous = -32768;
  while (SQLFetch(stmt) == SQL_SUCCESS) {
    char name[32] = {0};
    SQLSMALLINT type = 0;
    SQLLEN ind = 0;
    SQLGetData(stmt, 1, SQL_C_CHAR, name, sizeof name, &ind);
    SQLGetData(stmt, 2, SQL_C_SSHORT, &type, 0, &ind);
    EXPECT_GE(type, previous) << name;
    previous = type;
    names.push_back(name);
  }
  EXPECT_EQ(names.size(), 15u);
  EXPECT_EQ(names.front(), "bit");
  EXPECT_EQ(names.back(), "datetime");
  SQLCloseCursor(stmt);

  ASSERT_STMT_OK(SQLGetTypeInfo(stmt, SQL_TYPE_TIMESTAMP), stmt);
  ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
  SQLINTEGER size = 0;
  SQLSMALLINT min_scale = 0, max_scale = 0;
  SQLLEN ind = 0;
  SQLGetData(stmt, 3, SQL_C_SLONG, &size, 0, &ind);
  SQLGetData(stmt, 14, SQL_C_SSHORT, &min_scale, 0, &ind);
  SQLGetData(stmt, 15, SQL_C_SSHORT, &max_scale, 0, &ind);
  EXPECT_EQ(size, 23);
  EXPECT_EQ(min_scale, 3);
  EXPECT_EQ(max_scale, 3);
  EXPECT_EQ(SQLFetch(stmt), SQL_NO_DATA);
}

}  // namespace
}  // namespace odbctest
