// Procedural code as a client sees it: the time limit around TRY, batches
// prepared once and run with changing markers, procedures changed by
// another connection, and messages in order with the results.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "sqlsim/odbc/odbc_support.h"

namespace odbctest {
namespace {

// What a statement delivers, in order: "rows:v1,v2," for a row set (column
// 1), "count:n" for a row count, "msg:text" for each message, "error:n"
// for a failed result.
std::vector<std::string> Drain(SQLHSTMT stmt, SQLRETURN rc) {
  std::vector<std::string> out;
  while (rc != SQL_NO_DATA && rc != SQL_INVALID_HANDLE) {
    for (const Diag& d : Diags(SQL_HANDLE_STMT, stmt)) {
      out.push_back((rc == SQL_ERROR ? "error:" : "msg:") +
                    (rc == SQL_ERROR ? std::to_string(d.native) : d.message.substr(d.message.rfind(']') + 1)));
    }
    if (rc != SQL_ERROR) {
      SQLSMALLINT columns = 0;
      SQLNumResultCols(stmt, &columns);
      if (columns > 0) {
        std::string rows = "rows:";
        while (SQL_SUCCEEDED(SQLFetch(stmt))) {
          char text[64] = {};
          SQLLEN len = 0;
          SQLGetData(stmt, 1, SQL_C_CHAR, text, sizeof text, &len);
          rows += (len == SQL_NULL_DATA ? std::string("NULL") : std::string(text)) + ",";
        }
        out.push_back(rows);
      } else {
        SQLLEN count = -1;
        SQLRowCount(stmt, &count);
        if (count >= 0) out.push_back("count:" + std::to_string(count));
      }
    }
    rc = SQLMoreResults(stmt);
  }
  return out;
}

class ReviewTest : public OdbcTest {};

// A query timeout is the client's attention: it ends the batch and is no
// error a CATCH block can handle.
TEST(ReviewTimeLimitTest, TimeoutInsideTryStillEndsTheBatch) {
  DataDir dir;
  Connection connection;
  ASSERT_ODBC_OK(connection.DriverConnect(ConnectionString(dir, "QUERYTIMEOUT=1;")), SQL_HANDLE_DBC,
                 connection.dbc());
  const char* batches[] = {
      "BEGIN TRY WAITFOR DELAY '00:00:03' END TRY BEGIN CATCH END CATCH",
      "BEGIN TRY WAITFOR DELAY '00:00:03' END TRY BEGIN CATCH SELECT ERROR_NUMBER() END CATCH",
      "DECLARE @i int = 0 BEGIN TRY WHILE 1 = 1 SET @i = @i + 1 END TRY BEGIN CATCH END CATCH",
  };
  for (const char* batch : batches) {
    SCOPED_TRACE(batch);
    Statement stmt(connection.dbc());
    auto start = std::chrono::steady_clock::now();
    SQLRETURN rc = SQLExecDirect(stmt, Text(batch), SQL_NTS);
    std::vector<std::string> got;
    if (rc != SQL_ERROR) got = Drain(stmt, rc);
    EXPECT_EQ(rc, SQL_ERROR) << ::testing::PrintToString(got);
    if (rc == SQL_ERROR) {
      EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "HYT00");
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  }
}

// A batch prepared once keeps no value from one execution to the next.
TEST_F(ReviewTest, PreparedBatchTakesEachExecutionsMarkers) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLPrepare(stmt, Text("DECLARE @x int = ?, @s varchar(10)\n"
                                       "IF @x > 5 SET @s = 'gross' + CONVERT(varchar(5), @x)\n"
                                       "SELECT ISNULL(@s, 'leer')"),
                            SQL_NTS),
                 stmt);
  SQLINTEGER x = 0;
  SQLLEN x_len = 0;
  SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &x, 0, &x_len);
  struct Case {
    SQLINTEGER value;
    bool null;
    const char* expected;
  } cases[] = {{10, false, "rows:gross10,"}, {1, false, "rows:leer,"}, {7, false, "rows:gross7,"},
               {0, true, "rows:leer,"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    x = c.value;
    x_len = c.null ? SQL_NULL_DATA : 0;
    SQLRETURN rc = SQLExecute(stmt);
    ASSERT_STMT_OK(rc, stmt);
    EXPECT_EQ(Drain(stmt, rc), std::vector<std::string>{c.expected});
  }
}

// Markers and variables side by side in a procedure call, prepared once.
TEST_F(ReviewTest, MarkersAndVariablesInOneCall) {
  Exec("CREATE PROCEDURE Add3 @a int, @b int, @c int, @sum int OUTPUT AS SET @sum = @a + 10 * @b + 100 * @c");
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLPrepare(stmt, Text("DECLARE @b int = 5, @s int\n"
                                       "EXECUTE Add3 ?, @b, ?, @s OUTPUT\n"
                                       "SELECT @s"),
                            SQL_NTS),
                 stmt);
  SQLINTEGER a = 0, c = 0;
  SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &a, 0, nullptr);
  SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &c, 0, nullptr);
  for (SQLINTEGER i : {1, 2}) {
    a = i;
    c = i + 1;
    SQLRETURN rc = SQLExecute(stmt);
    ASSERT_STMT_OK(rc, stmt);
    EXPECT_EQ(Drain(stmt, rc), std::vector<std::string>{"rows:" + std::to_string(i + 50 + 100 * (i + 1)) + ","});
  }
}

// A procedure changed by another connection runs in its new form, also
// from a statement prepared before the change.
TEST_F(ReviewTest, ProcedureAlteredOnAnotherConnection) {
  Exec("CREATE PROCEDURE Ver @x int AS SELECT @x + 1");
  Connection other;
  ASSERT_ODBC_OK(other.DriverConnect(ConnectionString(dir_)), SQL_HANDLE_DBC, other.dbc());
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLPrepare(stmt, Text("EXECUTE Ver 10"), SQL_NTS), stmt);
  SQLRETURN rc = SQLExecute(stmt);
  ASSERT_STMT_OK(rc, stmt);
  EXPECT_EQ(Drain(stmt, rc), std::vector<std::string>{"rows:11,"});
  {
    Statement alter(other.dbc());
    ASSERT_STMT_OK(SQLExecDirect(alter, Text("ALTER PROCEDURE Ver @x int, @y int = 5 AS SELECT @x + @y"), SQL_NTS),
                   alter);
  }
  rc = SQLExecute(stmt);
  ASSERT_STMT_OK(rc, stmt);
  EXPECT_EQ(Drain(stmt, rc), std::vector<std::string>{"rows:15,"});
  Statement direct(dbc());
  rc = SQLExecDirect(direct, Text("EXECUTE Ver 1, 1"), SQL_NTS);
  ASSERT_STMT_OK(rc, direct);
  EXPECT_EQ(Drain(direct, rc), std::vector<std::string>{"rows:2,"});
}

// PRINT and RAISERROR arrive between the result sets where they were sent;
// an error of severity 16 ends only its statement.
TEST_F(ReviewTest, MessagesArriveInOrderWithTheResults) {
  Statement stmt(dbc());
  SQLRETURN rc = SQLExecDirect(stmt,
                               Text("PRINT 'a'\nSELECT 1\nPRINT 'b'\nRAISERROR ('c', 10, 1)\nSELECT 2\n"
                                    "RAISERROR ('d', 16, 1)\nSELECT 3"),
                               SQL_NTS);
  EXPECT_EQ(Drain(stmt, rc), (std::vector<std::string>{"msg:a", "rows:1,", "msg:b", "msg:c", "rows:2,", "error:50000",
                                                       "rows:3,"}));
}

// Messages sent from inside a procedure keep their places too.
TEST_F(ReviewTest, MessagesOfAProcedureInOrder) {
  Exec("CREATE PROCEDURE Rede AS\n"
       "  SET NOCOUNT ON\n"
       "  PRINT 'eins'\n"
       "  SELECT 1\n"
       "  PRINT 'zwei'\n"
       "  SELECT 2");
  Statement stmt(dbc());
  SQLRETURN rc = SQLExecDirect(stmt, Text("EXECUTE Rede"), SQL_NTS);
  EXPECT_EQ(Drain(stmt, rc), (std::vector<std::string>{"msg:eins", "rows:1,", "msg:zwei", "rows:2,"}));
}

// A trigger's own row counts are not sent when it says SET NOCOUNT ON; the
// statement's count is.
TEST_F(ReviewTest, TriggerCountsStayInsideTheTrigger) {
  Exec("CREATE TABLE T (Id int NOT NULL PRIMARY KEY)");
  Exec("CREATE TABLE Log (Id int NULL)");
  Exec("CREATE TRIGGER TrT ON T FOR INSERT AS\n"
       "  SET NOCOUNT ON\n"
       "  INSERT INTO Log SELECT Id FROM INSERTED");
  Statement stmt(dbc());
  SQLRETURN rc = SQLExecDirect(stmt, Text("INSERT INTO T VALUES (1), (2)"), SQL_NTS);
  EXPECT_EQ(Drain(stmt, rc), std::vector<std::string>{"count:2"});
  EXPECT_EQ(Column1("SELECT count(*) FROM Log"), std::vector<std::string>{"2"});
}

}  // namespace
}  // namespace odbctest
