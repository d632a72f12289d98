// Data sent at execution with SQLPutData, and long data read back in
// pieces with SQLGetData.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;

class DataAtExecTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE d (id int, txt text, bin image)");
  }

  // Binds the three parameters of INSERT INTO d; text and image at execution.
  void BindAtExecution(SQLHSTMT stmt) {
    SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &id_, 0, nullptr);
    SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, 100000, 0,
                     reinterpret_cast<SQLPOINTER>(2), 0, &text_ind_);
    SQLBindParameter(stmt, 3, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY, 100000, 0,
                     reinterpret_cast<SQLPOINTER>(3), 0, &bin_ind_);
  }

  // Reads one column of the single row in pieces of `piece` bytes.
  std::string ReadInPieces(const std::string& sql, SQLSMALLINT c_type, SQLLEN piece,
                           int* pieces_with_info) {
    Statement stmt(dbc());
    Exec(stmt, sql);
    EXPECT_EQ(SQLFetch(stmt), SQL_SUCCESS);
    std::string out, buffer(static_cast<size_t>(piece), '\0');
    SQLLEN terminator = c_type == SQL_C_CHAR ? 1 : 0;
    SQLLEN expected_remaining = -1;
    *pieces_with_info = 0;
    for (;;) {
      SQLLEN ind = 0;
      SQLRETURN rc = SQLGetData(stmt, 1, c_type, buffer.data(), piece, &ind);
      if (rc == SQL_NO_DATA) break;
      EXPECT_TRUE(SQL_SUCCEEDED(rc)) << Explain(rc, SQL_HANDLE_STMT, stmt);
      if (!SQL_SUCCEEDED(rc)) break;
      if (expected_remaining >= 0) {
        EXPECT_EQ(ind, expected_remaining);
      }
      if (rc == SQL_SUCCESS_WITH_INFO) {
        EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "01004");
        ++*pieces_with_info;
        // Text pieces may stop short of the buffer's end (whole hex bytes).
        size_t got = terminator ? std::strlen(buffer.data()) : static_cast<size_t>(piece);
        out.append(buffer.data(), got);
        expected_remaining = ind - static_cast<SQLLEN>(got);
      } else {
        out.append(buffer.data(), static_cast<size_t>(ind));
      }
    }
    return out;
  }

  SQLINTEGER id_ = 1;
  SQLLEN text_ind_ = SQL_LEN_DATA_AT_EXEC(0);
  SQLLEN bin_ind_ = SQL_DATA_AT_EXEC;
};

TEST_F(DataAtExecTest, PiecesAreJoinedInOrder) {
  Statement stmt(dbc());
  BindAtExecution(stmt);
  ASSERT_EQ(SQLExecDirect(stmt, Text("INSERT INTO d VALUES (?, ?, ?)"), SQL_NTS), SQL_NEED_DATA);
  SQLPOINTER token = nullptr;
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  EXPECT_EQ(token, reinterpret_cast<SQLPOINTER>(2));
  ASSERT_STMT_OK(SQLPutData(stmt, Text("first "), SQL_NTS), stmt);
  ASSERT_STMT_OK(SQLPutData(stmt, Text("second and more"), 6), stmt);
  ASSERT_STMT_OK(SQLPutData(stmt, Text(""), 0), stmt);
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  EXPECT_EQ(token, reinterpret_cast<SQLPOINTER>(3));
  ASSERT_STMT_OK(SQLPutData(stmt, Text("\x01\x02"), 2), stmt);
  ASSERT_STMT_OK(SQLPutData(stmt, Text("\x03"), 1), stmt);
  ASSERT_STMT_OK(SQLParamData(stmt, &token), stmt);
  SQLLEN count = 0;
  SQLRowCount(stmt, &count);
  EXPECT_EQ(count, 1);
  EXPECT_THAT(Column1("SELECT txt FROM d"), ElementsAre("first second"));
  EXPECT_THAT(Column1("SELECT bin FROM d"), ElementsAre("010203"));
}

TEST_F(DataAtExecTest, NullSentAtExecution) {
  Statement stmt(dbc());
  BindAtExecution(stmt);
  ASSERT_STMT_OK(SQLPrepare(stmt, Text("INSERT INTO d VALUES (?, ?, ?)"), SQL_NTS), stmt);
  ASSERT_EQ(SQLExecute(stmt), SQL_NEED_DATA);
  SQLPOINTER token = nullptr;
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  ASSERT_STMT_OK(SQLPutData(stmt, nullptr, SQL_NULL_DATA), stmt);
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  ASSERT_STMT_OK(SQLPutData(stmt, Text("\xAA"), 1), stmt);
  ASSERT_STMT_OK(SQLParamData(stmt, &token), stmt);
  EXPECT_THAT(Column1("SELECT txt FROM d"), ElementsAre("NULL"));
}

TEST_F(DataAtExecTest, FixedTypeCannotComeInPieces) {
  Statement stmt(dbc());
  SQLLEN at_exec = SQL_DATA_AT_EXEC;
  SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0,
                   reinterpret_cast<SQLPOINTER>(1), 0, &at_exec);
  ASSERT_EQ(SQLExecDirect(stmt, Text("INSERT INTO d (id) VALUES (?)"), SQL_NTS), SQL_NEED_DATA);
  SQLPOINTER token = nullptr;
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  SQLINTEGER value = 41;
  ASSERT_STMT_OK(SQLPutData(stmt, &value, 0), stmt);
  EXPECT_EQ(SQLPutData(stmt, &value, 0), SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "HY019");
  // The failed put ended the sequence; the statement runs afresh.
  ASSERT_EQ(SQLExecDirect(stmt, Text("INSERT INTO d (id) VALUES (?)"), SQL_NTS), SQL_NEED_DATA);
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  ASSERT_STMT_OK(SQLPutData(stmt, &value, 0), stmt);
  ASSERT_STMT_OK(SQLParamData(stmt, &token), stmt);
  EXPECT_THAT(Column1("SELECT id FROM d"), ElementsAre("41"));
}

TEST_F(DataAtExecTest, CancelEndsTheDataSequence) {
  Statement stmt(dbc());
  BindAtExecution(stmt);
  ASSERT_STMT_OK(SQLPrepare(stmt, Text("INSERT INTO d VALUES (?, ?, ?)"), SQL_NTS), stmt);
  ASSERT_EQ(SQLExecute(stmt), SQL_NEED_DATA);
  SQLPOINTER token = nullptr;
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  ASSERT_STMT_OK(SQLPutData(stmt, Text("dropped"), SQL_NTS), stmt);
  ASSERT_STMT_OK(SQLCancel(stmt), stmt);
  text_ind_ = SQL_NTS;
  bin_ind_ = SQL_NULL_DATA;
  char text[] = "kept";
  SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, 10, 0, text, 0, &text_ind_);
  ASSERT_STMT_OK(SQLExecute(stmt), stmt);
  EXPECT_THAT(Column1("SELECT txt FROM d"), ElementsAre("kept"));
}

TEST_F(DataAtExecTest, InjectedFaultFailsThePutAndLeavesTheStatementPrepared) {
  Exec("EXECUTE sqlsim_fault 'putdata', '', 1, '08S01', 10054, 'Communication link failure'");
  Statement stmt(dbc());
  BindAtExecution(stmt);
  ASSERT_STMT_OK(SQLPrepare(stmt, Text("INSERT INTO d VALUES (?, ?, ?)"), SQL_NTS), stmt);
  ASSERT_EQ(SQLExecute(stmt), SQL_NEED_DATA);
  SQLPOINTER token = nullptr;
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  ASSERT_EQ(SQLPutData(stmt, Text("x"), 1), SQL_ERROR);
  std::vector<Diag> diags = Diags(SQL_HANDLE_STMT, stmt);
  ASSERT_EQ(diags.size(), 1u);
  EXPECT_EQ(diags[0].state, "08S01");
  EXPECT_EQ(diags[0].native, 10054);
  EXPECT_THAT(diags[0].message, ::testing::HasSubstr("[sqlsim][SQL Server]Communication link failure"));
  // The rule is used up: the next run goes through.
  ASSERT_EQ(SQLExecute(stmt), SQL_NEED_DATA);
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  ASSERT_STMT_OK(SQLPutData(stmt, Text("y"), 1), stmt);
  ASSERT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
  ASSERT_STMT_OK(SQLPutData(stmt, Text("\x01"), 1), stmt);
  ASSERT_STMT_OK(SQLParamData(stmt, &token), stmt);
  EXPECT_THAT(Column1("SELECT txt FROM d"), ElementsAre("y"));
}

TEST_F(DataAtExecTest, LongTextAndBinaryReadInPieces) {
  std::string text(100 * 1024, '\0'), blob(100 * 1024, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char>('a' + i % 26);
    blob[i] = static_cast<char>(i * 7 % 256);
  }
  Statement stmt(dbc());
  SQLLEN text_length = static_cast<SQLLEN>(text.size()), blob_length = static_cast<SQLLEN>(blob.size());
  SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &id_, 0, nullptr);
  SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, text.size(), 0,
                   text.data(), 0, &text_length);
  SQLBindParameter(stmt, 3, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY, blob.size(), 0,
                   blob.data(), 0, &blob_length);
  Exec(stmt, "INSERT INTO d VALUES (?, ?, ?)");

  int infos = 0;
  EXPECT_EQ(ReadInPieces("SELECT txt FROM d", SQL_C_CHAR, 4001, &infos), text);
  EXPECT_EQ(infos, 25);  // 25 pieces of 4000 characters, then the last 2400
  EXPECT_EQ(ReadInPieces("SELECT bin FROM d", SQL_C_BINARY, 4096, &infos), blob);
  EXPECT_EQ(infos, 24);
  std::string hex = ReadInPieces("SELECT bin FROM d", SQL_C_CHAR, 65536, &infos);
  ASSERT_EQ(hex.size(), blob.size() * 2);
  EXPECT_EQ(hex.substr(0, 8), "00070E15");
}

TEST_F(DataAtExecTest, EmptyValueIsOnePieceThenNoData) {
  Exec("INSERT INTO d (id, txt) VALUES (1, '')");
  Statement stmt(dbc());
  Exec(stmt, "SELECT txt FROM d");
  ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
  char buffer[8] = "xxxxxxx";
  SQLLEN ind = -1;
  EXPECT_EQ(SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &ind), SQL_SUCCESS);
  EXPECT_EQ(ind, 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &ind), SQL_NO_DATA);
}

}  // namespace
}  // namespace odbctest
