// Data sent at execution with SQLPutData, and long data read back in
// pieces with SQLGetData.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;

const std::string kNull = "<NULL>";
const char* const kInsert = "INSERT INTO d VALUES (?, ?, ?)";

class DataAtExecTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE d (id int, txt text, bin image)");
    SQLAllocHandle(SQL_HANDLE_STMT, dbc(), &stmt_);  // freed by the disconnect
    BindInt(stmt_, 1, &id_);
    SQLBindParameter(stmt_, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, 100000, 0, reinterpret_cast<SQLPOINTER>(2),
                     0, &text_ind_);
    SQLBindParameter(stmt_, 3, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY, 100000, 0,
                     reinterpret_cast<SQLPOINTER>(3), 0, &bin_ind_);
  }

  // Answers each SQLParamData with the pieces of one parameter (kNull for
  // NULL); the last return code.
  SQLRETURN Send(SQLHSTMT stmt, const std::vector<std::vector<std::string>>& params) {
    SQLPOINTER token = nullptr;
    for (const auto& pieces : params) {
      EXPECT_EQ(SQLParamData(stmt, &token), SQL_NEED_DATA);
      for (const std::string& piece : pieces) {
        SQLRETURN rc = piece == kNull ? SQLPutData(stmt, nullptr, SQL_NULL_DATA)
                                      : SQLPutData(stmt, Text(piece), static_cast<SQLLEN>(piece.size()));
        if (!SQL_SUCCEEDED(rc)) return rc;
      }
    }
    return SQLParamData(stmt, &token);
  }

  // Reads column 1 of the single row in pieces of `piece` bytes; all but
  // the last come with 01004.
  std::string ReadInPieces(const std::string& sql, SQLSMALLINT c_type, SQLLEN piece, int* pieces) {
    Statement stmt(dbc());
    Exec(stmt, sql);
    EXPECT_EQ(SQLFetch(stmt), SQL_SUCCESS);
    std::string out, buffer(static_cast<size_t>(piece), '\0');
    SQLLEN expected_remaining = -1, ind = 0;
    *pieces = 0;
    bool last = false;
    for (SQLRETURN rc; (rc = SQLGetData(stmt, 1, c_type, buffer.data(), piece, &ind)) != SQL_NO_DATA;) {
      EXPECT_TRUE(SQL_SUCCEEDED(rc)) << Explain(rc, SQL_HANDLE_STMT, stmt);
      if (!SQL_SUCCEEDED(rc)) break;
      EXPECT_FALSE(last) << "a piece after the last";
      ++*pieces;
      if (expected_remaining >= 0) {
        EXPECT_EQ(ind, expected_remaining);
      }
      if (rc == SQL_SUCCESS) {
        out.append(buffer.data(), static_cast<size_t>(ind));
        last = true;
        continue;
      }
      EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "01004");
      // Text pieces may stop short of the buffer's end (whole hex bytes).
      size_t got = c_type == SQL_C_CHAR ? std::strlen(buffer.data()) : static_cast<size_t>(piece);
      out.append(buffer.data(), got);
      expected_remaining = ind - static_cast<SQLLEN>(got);
    }
    return out;
  }

  SQLHSTMT stmt_ = SQL_NULL_HSTMT;
  SQLINTEGER id_ = 1;
  SQLLEN text_ind_ = SQL_LEN_DATA_AT_EXEC(0);
  SQLLEN bin_ind_ = SQL_DATA_AT_EXEC;
};

TEST_F(DataAtExecTest, PiecesAreJoinedInOrder) {
  ASSERT_EQ(ExecDirect(stmt_, kInsert), SQL_NEED_DATA);
  SQLPOINTER token = nullptr;
  ASSERT_EQ(SQLParamData(stmt_, &token), SQL_NEED_DATA);
  EXPECT_EQ(token, reinterpret_cast<SQLPOINTER>(2));
  ASSERT_STMT_OK(SQLPutData(stmt_, Text("first "), SQL_NTS), stmt_);
  ASSERT_STMT_OK(SQLPutData(stmt_, Text("second and more"), 6), stmt_);
  ASSERT_STMT_OK(SQLPutData(stmt_, Text(""), 0), stmt_);
  ASSERT_EQ(SQLParamData(stmt_, &token), SQL_NEED_DATA);
  EXPECT_EQ(token, reinterpret_cast<SQLPOINTER>(3));
  ASSERT_STMT_OK(SQLPutData(stmt_, Text("\x01\x02"), 2), stmt_);
  ASSERT_STMT_OK(SQLPutData(stmt_, Text("\x03"), 1), stmt_);
  EXPECT_EQ(Results(stmt_, SQLParamData(stmt_, &token)), std::vector<std::string>{"count:1"});
  EXPECT_THAT(Run("SELECT txt FROM d"), ElementsAre("rows:first second,"));
  EXPECT_THAT(Run("SELECT bin FROM d"), ElementsAre("rows:010203,"));
  // NULL sent at execution, by a prepared statement.
  ASSERT_STMT_OK(Prepare(stmt_, kInsert), stmt_);
  ASSERT_EQ(SQLExecute(stmt_), SQL_NEED_DATA);
  ASSERT_STMT_OK(Send(stmt_, {{kNull}, {"\xAA"}}), stmt_);
  EXPECT_THAT(Run("SELECT ISNULL(txt, 'NULL') FROM d"), ElementsAre("rows:first second,NULL,"));
}

TEST_F(DataAtExecTest, FixedTypeCannotComeInPieces) {
  SQLLEN at_exec = SQL_DATA_AT_EXEC;
  SQLBindParameter(stmt_, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, reinterpret_cast<SQLPOINTER>(1), 0,
                   &at_exec);
  ASSERT_EQ(ExecDirect(stmt_, "INSERT INTO d (id) VALUES (?)"), SQL_NEED_DATA);
  EXPECT_EQ(Failure(Send(stmt_, {{Bytes<SQLINTEGER>(41), Bytes<SQLINTEGER>(41)}}), stmt_), "HY019");
  // The failed put ended the sequence; the statement runs afresh.
  ASSERT_EQ(ExecDirect(stmt_, "INSERT INTO d (id) VALUES (?)"), SQL_NEED_DATA);
  ASSERT_STMT_OK(Send(stmt_, {{Bytes<SQLINTEGER>(41)}}), stmt_);
  EXPECT_THAT(Run("SELECT id FROM d"), ElementsAre("rows:41,"));
}

TEST_F(DataAtExecTest, CancelEndsTheDataSequence) {
  ASSERT_STMT_OK(Prepare(stmt_, kInsert), stmt_);
  ASSERT_EQ(SQLExecute(stmt_), SQL_NEED_DATA);
  SQLPOINTER token = nullptr;
  ASSERT_EQ(SQLParamData(stmt_, &token), SQL_NEED_DATA);
  ASSERT_STMT_OK(SQLPutData(stmt_, Text("dropped"), SQL_NTS), stmt_);
  ASSERT_STMT_OK(SQLCancel(stmt_), stmt_);
  text_ind_ = SQL_NTS;
  bin_ind_ = SQL_NULL_DATA;
  char text[] = "kept";
  SQLBindParameter(stmt_, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, 10, 0, text, 0, &text_ind_);
  ASSERT_STMT_OK(SQLExecute(stmt_), stmt_);
  EXPECT_THAT(Run("SELECT txt FROM d"), ElementsAre("rows:kept,"));
}

TEST_F(DataAtExecTest, InjectedFaultFailsThePutAndLeavesTheStatementPrepared) {
  Exec("EXECUTE sqlsim_fault 'putdata', '', 1, '08S01', 10054, 'Communication link failure'");
  ASSERT_STMT_OK(Prepare(stmt_, kInsert), stmt_);
  ASSERT_EQ(SQLExecute(stmt_), SQL_NEED_DATA);
  ASSERT_EQ(Send(stmt_, {{"x"}}), SQL_ERROR);
  std::vector<Diag> diags = Diags(SQL_HANDLE_STMT, stmt_);
  ASSERT_EQ(diags.size(), 1u);
  EXPECT_EQ(diags[0].state, "08S01");
  EXPECT_EQ(diags[0].native, 10054);
  EXPECT_THAT(diags[0].message, ::testing::HasSubstr("[sqlsim][SQL Server]Communication link failure"));
  // The rule is used up: the next run goes through.
  ASSERT_EQ(SQLExecute(stmt_), SQL_NEED_DATA);
  ASSERT_STMT_OK(Send(stmt_, {{"y"}, {"\x01"}}), stmt_);
  EXPECT_THAT(Run("SELECT txt FROM d"), ElementsAre("rows:y,"));
}

TEST_F(DataAtExecTest, LongTextAndBinaryReadInPieces) {
  std::string text(100 * 1024, '\0'), blob(100 * 1024, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char>('a' + i % 26);
    blob[i] = static_cast<char>(i * 7 % 256);
  }
  SQLLEN text_length = static_cast<SQLLEN>(text.size()), blob_length = static_cast<SQLLEN>(blob.size());
  SQLBindParameter(stmt_, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_LONGVARCHAR, text.size(), 0, text.data(), 0,
                   &text_length);
  SQLBindParameter(stmt_, 3, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY, blob.size(), 0, blob.data(), 0,
                   &blob_length);
  Exec(stmt_, kInsert);
  int pieces = 0;
  EXPECT_EQ(ReadInPieces("SELECT txt FROM d", SQL_C_CHAR, 4001, &pieces), text);
  EXPECT_EQ(pieces, 26);  // 25 pieces of 4000 characters, then the last 2400
  EXPECT_EQ(ReadInPieces("SELECT bin FROM d", SQL_C_BINARY, 4096, &pieces), blob);
  EXPECT_EQ(pieces, 25);
  std::string hex = ReadInPieces("SELECT bin FROM d", SQL_C_CHAR, 65536, &pieces);
  ASSERT_EQ(hex.size(), blob.size() * 2);
  EXPECT_EQ(hex.substr(0, 8), "00070E15");
  // An empty value is one piece, then no data.
  Exec("UPDATE d SET txt = ''");
  EXPECT_EQ(ReadInPieces("SELECT txt FROM d", SQL_C_CHAR, 8, &pieces), "");
  EXPECT_EQ(pieces, 1);
}

TEST_F(DataAtExecTest, InjectedGetDataFaultLetsTheGivenCallsPassFirst) {
  Exec("INSERT INTO d (id, txt) VALUES (1, 'abcdefgh')");
  Exec("EXECUTE sqlsim_fault 'getdata', '2', 1, '08S01', 10054");
  ASSERT_STMT_OK(ExecDirect(stmt_, "SELECT txt FROM d"), stmt_);
  ASSERT_STMT_OK(SQLFetch(stmt_), stmt_);
  char piece[4];
  SQLLEN indicator = 0;
  EXPECT_EQ(SQLGetData(stmt_, 1, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(SQLGetData(stmt_, 1, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(SQLGetData(stmt_, 1, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_ERROR);
  EXPECT_EQ(Diags(SQL_HANDLE_STMT, stmt_).at(0).state, "08S01");
  // Used up: the rest of the value still comes.
  EXPECT_EQ(SQLGetData(stmt_, 1, SQL_C_CHAR, piece, sizeof piece, &indicator), SQL_SUCCESS);
  EXPECT_STREQ(piece, "gh");
}

}  // namespace
}  // namespace odbctest
