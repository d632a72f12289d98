// Temporary tables belong to their connection: another one using the same
// name has a table of its own, and a table goes when its connection closes.
// Text EXECUTE sends its results and counts as part of the calling batch;
// a table variable lives for one execute of its batch.
#include "odbc_support.h"

namespace odbctest {
namespace {

class TempTableTest : public OdbcTest {};

TEST_F(TempTableTest, EachConnectionHasItsOwn) {
  Connection other;
  Connect(other);
  Exec("CREATE TABLE #t (x int) INSERT INTO #t VALUES (1)");
  EXPECT_EQ(Run("SELECT COUNT(*) FROM #t", other.dbc()), (std::vector<std::string>{"error:42S02/208"}));
  ASSERT_EQ(Run("CREATE TABLE #t (x int) INSERT INTO #t VALUES (2) INSERT INTO #t VALUES (3)", other.dbc()),
            (std::vector<std::string>{"count:1", "count:1"}));
  EXPECT_EQ(Run("SELECT SUM(x) FROM #t", other.dbc()), (std::vector<std::string>{"rows:5,"}));
  EXPECT_EQ(Run("SELECT SUM(x) FROM #t"), (std::vector<std::string>{"rows:1,"}));
}

TEST_F(TempTableTest, GoesWithItsConnection) {
  {
    Connection first;
    Connect(first);
    Statement stmt(first.dbc());
    Exec(stmt, "CREATE TABLE #t (x int)");
  }
  Connection second;
  Connect(second);
  EXPECT_EQ(Run("SELECT OBJECT_ID('tempdb..#t')", second.dbc()), (std::vector<std::string>{"rows:NULL,"}));
  EXPECT_EQ(Run("CREATE TABLE #t (x int) SELECT COUNT(*) FROM #t", second.dbc()), (std::vector<std::string>{"rows:0,"}));
}

TEST_F(TempTableTest, TextExecuteResultsArePartOfTheBatch) {
  Exec("CREATE TABLE T (x int)");
  EXPECT_EQ(Run("EXEC ('INSERT INTO T VALUES (1) SELECT x FROM T') SELECT 2"),
            (std::vector<std::string>{"count:1", "rows:1,", "rows:2,"}));
  EXPECT_EQ(Run("EXEC sp_executesql N'SELECT @a', N'@a int', 4"), (std::vector<std::string>{"rows:4,"}));
}

TEST_F(TempTableTest, TableVariableIsNewForEachExecute) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLPrepare(stmt, Text("DECLARE @t TABLE (x int) INSERT INTO @t VALUES (1) SELECT COUNT(*) FROM @t"),
                            SQL_NTS),
                 stmt);
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(Results(stmt, SQLExecute(stmt)), (std::vector<std::string>{"count:1", "rows:1,"})) << run;
  }
}

}  // namespace
}  // namespace odbctest
