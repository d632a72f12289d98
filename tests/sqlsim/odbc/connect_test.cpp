// Connecting through the driver manager: connection strings, data sources,
// the driver's library path, failures, and what the driver reports about
// itself.
#include <unistd.h>

#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string CurrentCatalog(SQLHDBC dbc) {
  char name[256] = {0};
  SQLGetConnectAttr(dbc, SQL_ATTR_CURRENT_CATALOG, name, sizeof name, nullptr);
  return name;
}

// An unconnected ODBC 3 connection and a fresh folder.
class ConnectTest : public OdbcTest {
 protected:
  void SetUp() override {}
  std::string dir() const { return dir_.path().string(); }
};

TEST_F(ConnectTest, ConnectionStringsAndTheCompletedString) {
  const struct {
    std::string text;
    const char* catalog;
    std::vector<std::string> completed;  // parts of it
    const char* file;                    // created in the folder
  } cases[] = {
      {ConnectionString(dir_), "t", {"DRIVER={sqlsim};", "DATADIR=" + dir() + ";", "DATABASE=t;"}, "t.db"},
      {"driver={sqlsim}; DataDir={" + dir() + "};database = Orders ;autocreate={1};uid=sa;pwd={x;y}", "Orders",
       {"UID=sa;"}, "orders.db"},
      // Values that read back only braced: a '}', blanks or a tab at an end.
      {ConnectionString(dir_) + ";APP={a}}b};WSID={\tx};X={ y}", "t",
       {"APP={a}}b};", "WSID={\tx};", "X={ y};"}, "t.db"},
      // A client that has not registered the driver names its library.
      {std::string("DRIVER={") + SQLSIM_DRIVER_PATH + "};DATADIR=" + dir() + ";DATABASE=bypath;AUTOCREATE=1",
       "bypath", {"DATABASE=bypath;"}, "bypath.db"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Connection connection;
    std::string completed;
    ASSERT_ODBC_OK(connection.DriverConnect(c.text, &completed), SQL_HANDLE_DBC, connection.dbc());
    EXPECT_EQ(CurrentCatalog(connection.dbc()), c.catalog);
    for (const std::string& part : c.completed) EXPECT_THAT(completed, HasSubstr(part));
    EXPECT_THAT(completed, Not(HasSubstr("PWD")));
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / c.file));
  }
}

TEST_F(ConnectTest, CompletedStringCutToTheBufferWithItsFullLength) {
  SQLCHAR out[12];
  std::memset(out, 'x', sizeof out);
  SQLSMALLINT length = 0;
  SQLRETURN rc = SQLDriverConnect(dbc(), nullptr, Text(ConnectionString(dir_)), SQL_NTS, out, sizeof out, &length,
                                  SQL_DRIVER_NOPROMPT);
  ASSERT_EQ(rc, SQL_SUCCESS_WITH_INFO) << Explain(rc, SQL_HANDLE_DBC, dbc());
  EXPECT_EQ(FirstState(SQL_HANDLE_DBC, dbc()), "01004");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), "DRIVER={sql");
  EXPECT_GT(length, 40);
  SQLDisconnect(dbc());
}

TEST_F(ConnectTest, FailuresGiveAClearDiagnostic) {
  const struct {
    const char* text;  // after DRIVER=sqlsim;
    const char* state;
    const char* message;  // part of the message
  } cases[] = {
      {"DATABASE=t;AUTOCREATE=1", "08001", "DATADIR"}, {"DATADIR=<dir>;AUTOCREATE=1", "08001", "DATABASE"},
      {"DATADIR=<dir>;DATABASE=t;TIMEOUT=soon", "08001", "TIMEOUT"},
      {"DATADIR={<dir>;DATABASE=t", "08001", "'{'"},
      {"DATADIR=<dir>;DATABASE=Nowhere", "42000", "[sqlsim][SQL Server]Cannot open database \"Nowhere\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    Connection connection;
    std::string text = std::string("DRIVER=sqlsim;") + c.text;
    if (text.find("<dir>") != std::string::npos) text.replace(text.find("<dir>"), 5, dir());
    ASSERT_EQ(connection.DriverConnect(text), SQL_ERROR);
    std::vector<Diag> diags = Diags(SQL_HANDLE_DBC, connection.dbc());
    ASSERT_FALSE(diags.empty());
    EXPECT_EQ(diags[0].state, c.state);
    EXPECT_THAT(diags[0].message, HasSubstr(c.message));
  }
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "Nowhere.db"));
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "nowhere.db"));
}

TEST_F(ConnectTest, DataSourceAndWhatOverridesIt) {
  ASSERT_ODBC_OK(SQLConnect(dbc(), Text("sqlsim_test"), SQL_NTS, Text("sa"), SQL_NTS, Text(""), SQL_NTS),
                 SQL_HANDLE_DBC, dbc());
  EXPECT_EQ(CurrentCatalog(dbc()), "sqlsim_test");
  char dsn[64] = {0};
  SQLGetInfo(dbc(), SQL_DATA_SOURCE_NAME, dsn, sizeof dsn, nullptr);
  EXPECT_STREQ(dsn, "sqlsim_test");
  SQLDisconnect(dbc());

  std::string database = "override_" + std::to_string(getpid()), completed;
  Connection c;
  ASSERT_ODBC_OK(c.DriverConnect("DSN=sqlsim_test;DATABASE=" + database, &completed), SQL_HANDLE_DBC, c.dbc());
  EXPECT_EQ(CurrentCatalog(c.dbc()), database);
  EXPECT_THAT(completed, HasSubstr("DSN=sqlsim_test;"));
  EXPECT_THAT(completed, HasSubstr("DATABASE=" + database + ";"));
  SQLDisconnect(c.dbc());
  std::filesystem::path file = std::filesystem::path(SQLSIM_ODBC_DSN_DIR) / (database + ".db");
  EXPECT_TRUE(std::filesystem::exists(file)) << file;
  std::filesystem::remove(file);

  // The current catalog set before connecting picks the database.
  Connection second;
  SQLSetConnectAttr(second.dbc(), SQL_ATTR_CURRENT_CATALOG, Text("Second"), SQL_NTS);
  ASSERT_ODBC_OK(second.DriverConnect(ConnectionString(dir_)), SQL_HANDLE_DBC, second.dbc());
  EXPECT_EQ(CurrentCatalog(second.dbc()), "Second");
}

TEST_F(OdbcTest, InfoAnswers) {
  const std::pair<SQLUSMALLINT, const char*> texts[] = {
      {SQL_DBMS_NAME, "sqlsim"},         {SQL_DRIVER_ODBC_VER, "03.00"},    {SQL_IDENTIFIER_QUOTE_CHAR, "\""},
      {SQL_DATABASE_NAME, "t"},          {SQL_MULT_RESULT_SETS, "Y"},       {SQL_CATALOG_NAME_SEPARATOR, "."},
      {SQL_DESCRIBE_PARAMETER, "Y"},     {SQL_SEARCH_PATTERN_ESCAPE, "\\"}, {SQL_CATALOG_NAME, "Y"},
      {SQL_CATALOG_TERM, "database"},    {SQL_SCHEMA_TERM, "owner"},        {SQL_PROCEDURE_TERM, "stored procedure"},
      {SQL_TABLE_TERM, "table"},         {SQL_PROCEDURES, "Y"},             {SQL_ACCESSIBLE_TABLES, "Y"},
      {SQL_USER_NAME, "dbo"},
  };
  for (const auto& [type, expected] : texts) {
    char value[64] = {0};
    SQLSMALLINT length = 0;
    EXPECT_ODBC_OK(SQLGetInfo(dbc(), type, value, sizeof value, &length), SQL_HANDLE_DBC, dbc());
    EXPECT_STREQ(value, expected) << "info type " << type;
    EXPECT_EQ(length, static_cast<SQLSMALLINT>(std::strlen(expected)));
  }
  SQLUSMALLINT small = 0;
  SQLGetInfo(dbc(), SQL_MAX_COLUMN_NAME_LEN, &small, sizeof small, nullptr);
  EXPECT_EQ(small, 128);
  SQLGetInfo(dbc(), SQL_TXN_CAPABLE, &small, sizeof small, nullptr);
  EXPECT_EQ(small, SQL_TC_ALL);
  const struct {
    SQLUSMALLINT type;
    SQLUINTEGER mask, expected;
  } bits[] = {
      {SQL_GETDATA_EXTENSIONS, SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BLOCK,
       SQL_GD_ANY_COLUMN | SQL_GD_ANY_ORDER | SQL_GD_BLOCK},
      {SQL_SCROLL_OPTIONS, ~0u, SQL_SO_FORWARD_ONLY | SQL_SO_STATIC | SQL_SO_KEYSET_DRIVEN | SQL_SO_DYNAMIC},
      {SQL_STATIC_CURSOR_ATTRIBUTES1, SQL_CA1_ABSOLUTE | SQL_CA1_BOOKMARK, SQL_CA1_ABSOLUTE | SQL_CA1_BOOKMARK},
      {SQL_FORWARD_ONLY_CURSOR_ATTRIBUTES1, SQL_CA1_ABSOLUTE, 0},
      // Parameter arrays: a count per set, a result per set of a SELECT.
      {SQL_PARAM_ARRAY_ROW_COUNTS, ~0u, SQL_PARC_NO_BATCH},
      {SQL_PARAM_ARRAY_SELECTS, ~0u, SQL_PAS_BATCH},
  };
  for (const auto& c : bits) {
    SQLUINTEGER value = 0;
    SQLGetInfo(dbc(), c.type, &value, sizeof value, nullptr);
    EXPECT_EQ(value & c.mask, c.expected) << "info type " << c.type;
  }
  char value[4] = {0};
  SQLSMALLINT length = 0;
  EXPECT_EQ(SQLGetInfo(dbc(), SQL_DBMS_NAME, value, sizeof value, &length), SQL_SUCCESS_WITH_INFO);
  EXPECT_STREQ(value, "sql");
  EXPECT_EQ(length, 6);
  EXPECT_EQ(FirstState(SQL_HANDLE_DBC, dbc()), "01004");
  EXPECT_EQ(SQLGetInfo(dbc(), 31999, value, sizeof value, &length), SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_DBC, dbc()), "HY096");
}

TEST_F(OdbcTest, FunctionsAreThoseTheDriverHas) {
  const std::pair<SQLUSMALLINT, SQLUSMALLINT> cases[] = {{SQL_API_SQLEXTENDEDFETCH, SQL_TRUE}, {SQL_API_SQLFETCHSCROLL, SQL_TRUE},
               {SQL_API_SQLPUTDATA, SQL_TRUE},       {SQL_API_SQLSETPOS, SQL_TRUE},
               {SQL_API_SQLCOLUMNS, SQL_TRUE},       {SQL_API_SQLTABLEPRIVILEGES, SQL_FALSE},
               {SQL_API_SQLBULKOPERATIONS, SQL_FALSE}, {SQL_API_SQLDESCRIBEPARAM, SQL_TRUE}};
  SQLUSMALLINT all[SQL_API_ODBC3_ALL_FUNCTIONS_SIZE] = {0};
  ASSERT_ODBC_OK(SQLGetFunctions(dbc(), SQL_API_ODBC3_ALL_FUNCTIONS, all), SQL_HANDLE_DBC, dbc());
  for (const auto& [function, expected] : cases) {
    SQLUSMALLINT one = 2;
    SQLGetFunctions(dbc(), function, &one);
    EXPECT_EQ(one, expected) << "function " << function;
    EXPECT_EQ(SQL_FUNC_EXISTS(all, function), expected) << "function " << function;
  }
}

TEST_F(OdbcTest, TypeInfoListsTheServersTypesInOrder) {
  Statement stmt(dbc());
  EXPECT_THAT(Results(stmt, SQLGetTypeInfo(stmt, SQL_ALL_TYPES)),
              ::testing::ElementsAre("rows:bit,tinyint,tinyint identity,bigint,bigint identity,image,varbinary,binary,"
                                     "text,char,decimal,int,int identity,smallint,smallint identity,float,real,"
                                     "varchar,datetime,"));
  ASSERT_STMT_OK(SQLGetTypeInfo(stmt, SQL_TYPE_TIMESTAMP), stmt);
  ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
  SQLINTEGER size = 0;
  SQLSMALLINT min_scale = 0, max_scale = 0;
  SQLGetData(stmt, 3, SQL_C_SLONG, &size, 0, nullptr);
  SQLGetData(stmt, 14, SQL_C_SSHORT, &min_scale, 0, nullptr);
  SQLGetData(stmt, 15, SQL_C_SSHORT, &max_scale, 0, nullptr);
  EXPECT_EQ(size, 23);
  EXPECT_EQ(min_scale, 3);
  EXPECT_EQ(max_scale, 3);
  EXPECT_EQ(SQLFetch(stmt), SQL_NO_DATA);
}

}  // namespace
}  // namespace odbctest
