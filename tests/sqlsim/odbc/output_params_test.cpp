// Output and input/output parameters and the return status: the values
// reach the application's buffers only after the batch's last result, as
// with SQL Server's driver.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;

class OutputParamTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE PROCEDURE Twice @i int OUTPUT, @note varchar(10) = NULL OUTPUT AS\n"
         "  SELECT @i AS Given\n  SET @i = @i * 2\n  SET @note = 'doubled'\n  RETURN 7");
    Exec("CREATE PROCEDURE Quiet @i int AS SET @i = 1");
  }

  // Runs sql with one output marker of the given C type after an optional
  // integer input; returns SQLExecDirect's code, the buffer and indicator.
  SQLRETURN RunOneOutput(const std::string& sql, SQLSMALLINT c_type, SQLSMALLINT sql_type, SQLLEN buffer_length,
                         std::string* bytes, SQLLEN* indicator) {
    Statement stmt(dbc());
    std::string buffer(64, '\x7f');
    *indicator = 12345;
    EXPECT_STMT_OK(SQLBindParameter(stmt, 1, SQL_PARAM_OUTPUT, c_type, sql_type, 20, 2, buffer.data(),
                                    buffer_length, indicator),
                   stmt);
    SQLRETURN rc = ExecDirect(stmt, sql);
    last_state_ = FirstState(SQL_HANDLE_STMT, stmt);
    *bytes = buffer;
    return rc;
  }

  std::string last_state_;
};

// Written in Transact-SQL or as the ODBC call escape.
TEST_F(OutputParamTest, ValuesArriveOnlyAfterTheLastResult) {
  for (const char* call : {"EXEC ? = Twice ?, @note = ?", "{? = call Twice(?, ?)}"}) {
    SCOPED_TRACE(call);
    Statement stmt(dbc());
    SQLINTEGER status = -1, value = 21;
    char note[16] = "unset";
    SQLLEN status_ind = 0, value_ind = 0, note_ind = 0;
    ASSERT_STMT_OK(BindInt(stmt, 1, &status, &status_ind, SQL_PARAM_OUTPUT), stmt);
    ASSERT_STMT_OK(BindInt(stmt, 2, &value, &value_ind, SQL_PARAM_INPUT_OUTPUT), stmt);
    ASSERT_STMT_OK(SQLBindParameter(stmt, 3, SQL_PARAM_OUTPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, note, sizeof note,
                                    &note_ind),
                   stmt);
    ASSERT_STMT_OK(ExecDirect(stmt, call), stmt);
    SQLINTEGER given = 0;
    ASSERT_STMT_OK(SQLFetch(stmt), stmt);
    SQLGetData(stmt, 1, SQL_C_SLONG, &given, 0, nullptr);
    EXPECT_EQ(given, 21);  // the input half of an input/output marker
    EXPECT_EQ(status, -1);
    EXPECT_EQ(value, 21);
    EXPECT_STREQ(note, "unset");
    EXPECT_EQ(SQLMoreResults(stmt), SQL_NO_DATA);
    EXPECT_EQ(status, 7);
    EXPECT_EQ(value, 42);
    EXPECT_STREQ(note, "doubled");
    EXPECT_EQ(note_ind, 7);
  }
}

TEST_F(OutputParamTest, ClosingTheCursorDeliversThem) {
  Statement stmt(dbc());
  SQLINTEGER value = 5;
  SQLLEN value_ind = 0;
  ASSERT_STMT_OK(BindInt(stmt, 1, &value, &value_ind, SQL_PARAM_INPUT_OUTPUT), stmt);
  ASSERT_STMT_OK(Prepare(stmt, "EXEC Twice ?"), stmt);
  for (SQLINTEGER expected : {10, 20}) {
    ASSERT_STMT_OK(SQLExecute(stmt), stmt);
    ASSERT_STMT_OK(SQLFreeStmt(stmt, SQL_CLOSE), stmt);
    EXPECT_EQ(value, expected);
  }
}

TEST_F(OutputParamTest, EachTypeConvertsToTheBoundCType) {
  SQL_TIMESTAMP_STRUCT ts{2026, 12, 8, 10, 11, 12, 123000000};
  const struct {
    const char* type;
    const char* value;
    SQLSMALLINT c_type, sql_type;
    SQLLEN buffer_length;
    SQLRETURN rc;
    const char* state;
    std::string bytes;
    SQLLEN indicator;
  } cases[] = {
      {"int", "42", SQL_C_SLONG, SQL_INTEGER, 0, SQL_SUCCESS, "", Bytes<SQLINTEGER>(42), 4},
      {"int", "42", SQL_C_CHAR, SQL_INTEGER, 20, SQL_SUCCESS, "", std::string("42\0", 3), 2},
      {"smallint", "-7", SQL_C_DOUBLE, SQL_SMALLINT, 0, SQL_SUCCESS, "", Bytes(-7.0), 8},
      {"varchar(20)", "'hallo welt'", SQL_C_CHAR, SQL_VARCHAR, 20, SQL_SUCCESS, "", std::string("hallo welt\0", 11), 10},
      {"char(6)", "'ab'", SQL_C_CHAR, SQL_CHAR, 20, SQL_SUCCESS, "", std::string("ab    \0", 7), 6},
      {"varchar(20)", "'hallo welt'", SQL_C_CHAR, SQL_VARCHAR, 5, SQL_SUCCESS_WITH_INFO, "01004",
       std::string("hall\0", 5), 10},
      {"float", "2.5", SQL_C_DOUBLE, SQL_FLOAT, 0, SQL_SUCCESS, "", Bytes(2.5), 8},
      {"datetime", "'2026-12-08 10:11:12.123'", SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 0, SQL_SUCCESS, "",
       Bytes(ts), sizeof ts},
      {"decimal(10,2)", "12.5", SQL_C_CHAR, SQL_DECIMAL, 20, SQL_SUCCESS, "", std::string("12.50\0", 6), 5},
      {"bit", "1", SQL_C_BIT, SQL_BIT, 0, SQL_SUCCESS, "", std::string("\1", 1), 1},
      {"int", "NULL", SQL_C_SLONG, SQL_INTEGER, 0, SQL_SUCCESS, "", std::string(4, '\x7f'), SQL_NULL_DATA},
      {"int", "300", SQL_C_UTINYINT, SQL_INTEGER, 0, SQL_ERROR, "22003", std::string(1, '\x7f'), 12345},
      {"int", "123", SQL_C_CHAR, SQL_INTEGER, 2, SQL_ERROR, "22003", std::string(2, '\x7f'), 12345},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + c.value + " buffer " + std::to_string(c.buffer_length));
    Exec("IF OBJECT_ID('Give') IS NOT NULL DROP PROCEDURE Give");
    Exec(std::string("CREATE PROCEDURE Give @v ") + c.type + " OUTPUT AS SET @v = " + c.value);
    std::string bytes;
    SQLLEN indicator = 0;
    EXPECT_EQ(RunOneOutput("EXEC Give ?", c.c_type, c.sql_type, c.buffer_length, &bytes, &indicator), c.rc);
    EXPECT_EQ(last_state_, c.state);
    EXPECT_EQ(bytes.substr(0, c.bytes.size()), c.bytes);
    EXPECT_EQ(indicator, c.indicator);
  }
}

// The status of RETURN n, 0 without RETURN; an error that ends the batch
// sends neither the status nor the outputs, one that ends only its
// statement lets the procedure finish and send them.
TEST_F(OutputParamTest, ReturnStatusAndFailedProcedures) {
  Exec("CREATE PROCEDURE Plain @v int OUTPUT AS SET @v = 3");
  Exec("CREATE PROCEDURE Aborted @v int OUTPUT AS SET @v = 3 SELECT @v = CONVERT(int, 'x') RETURN 9");
  Exec("CREATE PROCEDURE GoesOn @v int OUTPUT AS SET @v = 3 SELECT @v = 1 / 0 RETURN 9");
  const struct {
    const char* sql;
    SQLRETURN rc;
    SQLINTEGER status, value;
  } cases[] = {
      {"EXEC ? = Plain ?", SQL_SUCCESS, 0, 3},
      {"EXECUTE ? = dbo.Plain @v = ?", SQL_SUCCESS, 0, 3},
      {"EXEC ? = Aborted ?", SQL_ERROR, -1, -1},
      {"EXEC ? = GoesOn ?", SQL_ERROR, 9, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    Statement stmt(dbc());
    SQLINTEGER status = -1, value = -1;
    SQLLEN status_ind = 0, value_ind = 0;
    BindInt(stmt, 1, &status, &status_ind, SQL_PARAM_OUTPUT);
    BindInt(stmt, 2, &value, &value_ind, SQL_PARAM_OUTPUT);
    SQLRETURN rc = ExecDirect(stmt, c.sql);
    EXPECT_EQ(rc, c.rc) << Explain(rc, SQL_HANDLE_STMT, stmt);
    while (SQL_SUCCEEDED(rc) || rc == SQL_ERROR) {
      rc = SQLMoreResults(stmt);
    }
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(value, c.value);
  }
}

// A marker bound for output outside an EXECUTE argument is an input of NULL;
// an input marker of EXECUTE leaves its buffer alone.
TEST_F(OutputParamTest, OnlyExecuteArgumentsAreOutputs) {
  Statement stmt(dbc());
  SQLINTEGER value = 8;
  SQLLEN indicator = 0;
  BindInt(stmt, 1, &value, &indicator, SQL_PARAM_OUTPUT);
  EXPECT_THAT(Results(stmt, "SELECT ISNULL(?, 99)"), ElementsAre("rows:99,"));
  EXPECT_EQ(value, 8);
  Statement input(dbc());
  BindInt(input, 1, &value, &indicator);
  EXPECT_STMT_OK(ExecDirect(input, "EXEC Twice ?"), input);
  while (SQLMoreResults(input) != SQL_NO_DATA) {
  }
  EXPECT_EQ(value, 8);
}

}  // namespace
}  // namespace odbctest
