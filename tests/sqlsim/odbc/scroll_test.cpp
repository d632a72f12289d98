// Cursors: scrolling a snapshot in rowsets of 1 and 3, the row status
// array at the edges, bookmarks, SQLExtendedFetch for ODBC 2
// applications, forward-only cursors and the CURSORS=FORWARD downgrade.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

SQLPOINTER Value(SQLULEN v) { return reinterpret_cast<SQLPOINTER>(v); }

constexpr int kRows = 10;

struct Step {
  SQLSMALLINT orientation;
  SQLLEN offset;
  SQLRETURN rc;
  std::vector<std::string> rows;  // ids, "-" for SQL_ROW_NOROW; empty for SQL_NO_DATA
  const char* state;
};

class ScrollTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE s (id int)");
    Statement stmt(dbc());
    SQLINTEGER id = 0;
    SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &id, 0, nullptr);
    ASSERT_STMT_OK(SQLPrepare(stmt, Text("INSERT INTO s VALUES (?)"), SQL_NTS), stmt);
    for (id = 1; id <= kRows; ++id) ASSERT_STMT_OK(SQLExecute(stmt), stmt);
  }

  // Opens "SELECT id FROM s ORDER BY id" with the cursor type and rowset
  // size given, ids bound column-wise.
  void Open(SQLHSTMT stmt, SQLULEN cursor_type, SQLULEN rowset) {
    ASSERT_STMT_OK(SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, Value(cursor_type), 0), stmt);
    ASSERT_STMT_OK(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, Value(rowset), 0), stmt);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_STATUS_PTR, status_, 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched_, 0);
    SQLBindCol(stmt, 1, SQL_C_SLONG, ids_, 0, ind_);
    Exec(stmt, "SELECT id FROM s ORDER BY id");
  }

  // The ids of the rows fetched, with "-" for rows the status marks as
  // missing.
  std::vector<std::string> Rowset(size_t size) const {
    std::vector<std::string> out;
    for (size_t i = 0; i < size; ++i) {
      out.push_back(status_[i] == SQL_ROW_NOROW ? "-" : std::to_string(ids_[i]));
    }
    return out;
  }

  // Runs the steps on a fresh cursor: return code, state, the rowset with
  // its status array, and the count of rows fetched.
  void Scroll(SQLULEN cursor_type, size_t rowset, const std::vector<Step>& steps);

  SQLINTEGER ids_[3] = {0};
  SQLLEN ind_[3] = {0};
  SQLUSMALLINT status_[3] = {0};
  SQLULEN fetched_ = 0;
};

const SQLRETURN kOk = SQL_SUCCESS, kNoData = SQL_NO_DATA, kInfo = SQL_SUCCESS_WITH_INFO;

void ScrollTest::Scroll(SQLULEN cursor_type, size_t rowset, const std::vector<Step>& steps) {
  Statement stmt(dbc());
  Open(stmt, cursor_type, rowset);
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& s = steps[i];
    // Steps count from 1; the orientation is SQL_FETCH_* by number.
    SCOPED_TRACE("step " + std::to_string(i + 1) + ": orientation " +
                 std::to_string(s.orientation) + " offset " + std::to_string(s.offset));
    SQLRETURN rc = SQLFetchScroll(stmt, s.orientation, s.offset);
    ASSERT_EQ(rc, s.rc) << Explain(rc, SQL_HANDLE_STMT, stmt);
    EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), s.state);
    if (rc == SQL_NO_DATA) {
      EXPECT_EQ(fetched_, 0u);
      continue;
    }
    EXPECT_THAT(Rowset(rowset), ElementsAreArray(s.rows));
    size_t present = 0;
    for (size_t r = 0; r < rowset; ++r) {
      present += s.rows[r] != "-";
      EXPECT_EQ(status_[r], s.rows[r] == "-" ? SQL_ROW_NOROW : SQL_ROW_SUCCESS);
    }
    EXPECT_EQ(fetched_, present);
  }
}

TEST_F(ScrollTest, RowsetsOfThree) {
  const std::vector<Step> steps = {
      {SQL_FETCH_NEXT, 0, kOk, {"1", "2", "3"}, ""},
      {SQL_FETCH_NEXT, 0, kOk, {"4", "5", "6"}, ""},
      {SQL_FETCH_NEXT, 0, kOk, {"7", "8", "9"}, ""},
      {SQL_FETCH_NEXT, 0, kOk, {"10", "-", "-"}, ""},
      {SQL_FETCH_NEXT, 0, kNoData, {}, ""},
      {SQL_FETCH_PRIOR, 0, kOk, {"8", "9", "10"}, ""},
      {SQL_FETCH_PRIOR, 0, kOk, {"5", "6", "7"}, ""},
      {SQL_FETCH_FIRST, 0, kOk, {"1", "2", "3"}, ""},
      {SQL_FETCH_PRIOR, 0, kNoData, {}, ""},
      {SQL_FETCH_NEXT, 0, kOk, {"1", "2", "3"}, ""},
      {SQL_FETCH_ABSOLUTE, 9, kOk, {"9", "10", "-"}, ""},
      {SQL_FETCH_ABSOLUTE, -2, kOk, {"9", "10", "-"}, ""},
      {SQL_FETCH_ABSOLUTE, 0, kNoData, {}, ""},
      {SQL_FETCH_RELATIVE, 2, kOk, {"2", "3", "4"}, ""},
      {SQL_FETCH_RELATIVE, -1, kOk, {"1", "2", "3"}, ""},
      {SQL_FETCH_RELATIVE, -1, kNoData, {}, ""},
      {SQL_FETCH_ABSOLUTE, 2, kOk, {"2", "3", "4"}, ""},
      {SQL_FETCH_PRIOR, 0, kInfo, {"1", "2", "3"}, "01S06"},
      {SQL_FETCH_LAST, 0, kOk, {"8", "9", "10"}, ""},
      {SQL_FETCH_RELATIVE, 5, kNoData, {}, ""},
      {SQL_FETCH_RELATIVE, -3, kOk, {"8", "9", "10"}, ""},
      {SQL_FETCH_ABSOLUTE, -11, kNoData, {}, ""},
      {SQL_FETCH_ABSOLUTE, -10, kOk, {"1", "2", "3"}, ""},
      {SQL_FETCH_ABSOLUTE, 11, kNoData, {}, ""},
  };
  Scroll(SQL_CURSOR_STATIC, 3, steps);
}

TEST_F(ScrollTest, RowsetsOfOne) {
  const std::vector<Step> steps = {
      {SQL_FETCH_NEXT, 0, kOk, {"1"}, ""},       {SQL_FETCH_LAST, 0, kOk, {"10"}, ""},
      {SQL_FETCH_NEXT, 0, kNoData, {}, ""},      {SQL_FETCH_PRIOR, 0, kOk, {"10"}, ""},
      {SQL_FETCH_PRIOR, 0, kOk, {"9"}, ""},      {SQL_FETCH_ABSOLUTE, 5, kOk, {"5"}, ""},
      {SQL_FETCH_RELATIVE, 3, kOk, {"8"}, ""},   {SQL_FETCH_RELATIVE, 3, kNoData, {}, ""},
      {SQL_FETCH_RELATIVE, -1, kOk, {"10"}, ""}, {SQL_FETCH_FIRST, 0, kOk, {"1"}, ""},
      {SQL_FETCH_PRIOR, 0, kNoData, {}, ""},     {SQL_FETCH_RELATIVE, 1, kOk, {"1"}, ""},
      {SQL_FETCH_RELATIVE, 0, kOk, {"1"}, ""},   {SQL_FETCH_ABSOLUTE, -1, kOk, {"10"}, ""},
  };
  Scroll(SQL_CURSOR_KEYSET_DRIVEN, 1, steps);
}

TEST_F(ScrollTest, ScrollableTypesAreReportedAsAsked) {
  for (SQLULEN type : {SQL_CURSOR_STATIC, SQL_CURSOR_KEYSET_DRIVEN, SQL_CURSOR_DYNAMIC}) {
    Statement stmt(dbc());
    EXPECT_EQ(SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, Value(type), 0), SQL_SUCCESS);
    Exec(stmt, "SELECT id FROM s");
    SQLULEN reported = 99;
    SQLGetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, &reported, 0, nullptr);
    EXPECT_EQ(reported, type);
    EXPECT_EQ(SQLFetchScroll(stmt, SQL_FETCH_LAST, 0), SQL_SUCCESS);
  }
}

TEST_F(ScrollTest, SnapshotKeepsTheRowsOfTheExecution) {
  Statement stmt(dbc());
  Open(stmt, SQL_CURSOR_DYNAMIC, 3);
  Exec("DELETE FROM s WHERE id > 2");
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_LAST, 0), SQL_SUCCESS);
  EXPECT_THAT(Rowset(3), ElementsAre("8", "9", "10"));
}

TEST_F(ScrollTest, ForwardOnlyStreamsAndRefusesScrolling) {
  Statement stmt(dbc());
  Open(stmt, SQL_CURSOR_FORWARD_ONLY, 3);
  std::vector<std::string> seen;
  SQLRETURN rc;
  while ((rc = SQLFetch(stmt)) == SQL_SUCCESS) {
    for (const std::string& id : Rowset(3)) seen.push_back(id);
  }
  EXPECT_EQ(rc, SQL_NO_DATA);
  EXPECT_THAT(seen, ElementsAre("1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "-", "-"));
  for (SQLSMALLINT o : {SQL_FETCH_PRIOR, SQL_FETCH_FIRST, SQL_FETCH_ABSOLUTE}) {
    EXPECT_EQ(SQLFetchScroll(stmt, o, 1), SQL_ERROR);
    EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "HY106");
  }
}

TEST_F(ScrollTest, RowWiseBinding) {
  struct Row {
    SQLINTEGER id;
    SQLLEN ind;
    char text[8];
    SQLLEN text_ind;
  } rows[3] = {};
  Statement stmt(dbc());
  SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, Value(SQL_CURSOR_STATIC), 0);
  SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, Value(3), 0);
  SQLSetStmtAttr(stmt, SQL_ATTR_ROW_BIND_TYPE, Value(sizeof(Row)), 0);
  SQLBindCol(stmt, 1, SQL_C_SLONG, &rows[0].id, 0, &rows[0].ind);
  SQLBindCol(stmt, 2, SQL_C_CHAR, rows[0].text, sizeof rows[0].text, &rows[0].text_ind);
  Exec(stmt, "SELECT id, id * 100 FROM s ORDER BY id");
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_ABSOLUTE, 4), SQL_SUCCESS);
  EXPECT_EQ(rows[0].id, 4);
  EXPECT_EQ(rows[2].id, 6);
  EXPECT_EQ(rows[1].ind, 4);
  EXPECT_STREQ(rows[2].text, "600");
  EXPECT_EQ(rows[2].text_ind, 3);
}

TEST_F(ScrollTest, SetPosChoosesTheRowSqlGetDataReads) {
  Statement stmt(dbc());
  Open(stmt, SQL_CURSOR_STATIC, 3);
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_NEXT, 0), SQL_SUCCESS);
  ASSERT_STMT_OK(SQLSetPos(stmt, 2, SQL_POSITION, SQL_LOCK_NO_CHANGE), stmt);
  SQLINTEGER id = 0;
  SQLLEN ind = 0;
  ASSERT_STMT_OK(SQLGetData(stmt, 1, SQL_C_SLONG, &id, 0, &ind), stmt);
  EXPECT_EQ(id, 2);
  EXPECT_EQ(SQLSetPos(stmt, 4, SQL_POSITION, SQL_LOCK_NO_CHANGE), SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "HY107");
  EXPECT_EQ(SQLSetPos(stmt, 1, SQL_DELETE, SQL_LOCK_NO_CHANGE), SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "HYC00");
}

TEST_F(ScrollTest, VariableBookmarks) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SQLSetStmtAttr(stmt, SQL_ATTR_USE_BOOKMARKS, Value(SQL_UB_VARIABLE), 0), stmt);
  Open(stmt, SQL_CURSOR_STATIC, 1);
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_ABSOLUTE, 4), SQL_SUCCESS);
  SQLUINTEGER bookmark = 0;
  SQLLEN length = 0;
  ASSERT_STMT_OK(SQLGetData(stmt, 0, SQL_C_VARBOOKMARK, &bookmark, sizeof bookmark, &length), stmt);
  EXPECT_EQ(length, 4);
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_LAST, 0), SQL_SUCCESS);
  SQLSetStmtAttr(stmt, SQL_ATTR_FETCH_BOOKMARK_PTR, &bookmark, 0);
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_BOOKMARK, 0), SQL_SUCCESS);
  EXPECT_EQ(ids_[0], 4);
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_BOOKMARK, 2), SQL_SUCCESS);
  EXPECT_EQ(ids_[0], 6);
  EXPECT_EQ(SQLFetchScroll(stmt, SQL_FETCH_BOOKMARK, 7), SQL_NO_DATA);
}

TEST_F(ScrollTest, BookmarkColumnBoundForTheRowset) {
  Statement stmt(dbc());
  SQLSetStmtAttr(stmt, SQL_ATTR_USE_BOOKMARKS, Value(SQL_UB_VARIABLE), 0);
  SQLUINTEGER bookmarks[3] = {0};
  SQLLEN lengths[3] = {0};
  ASSERT_STMT_OK(SQLBindCol(stmt, 0, SQL_C_VARBOOKMARK, bookmarks, sizeof bookmarks[0], lengths),
                 stmt);
  Open(stmt, SQL_CURSOR_STATIC, 3);
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_ABSOLUTE, 5), SQL_SUCCESS);
  EXPECT_THAT(bookmarks, ElementsAre(5u, 6u, 7u));
  EXPECT_THAT(lengths, ElementsAre(4, 4, 4));
}

TEST_F(ScrollTest, BookmarkColumnNeedsBookmarks) {
  Statement stmt(dbc());
  Open(stmt, SQL_CURSOR_STATIC, 1);
  ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
  SQLUINTEGER bookmark = 0;
  SQLLEN length = 0;
  EXPECT_EQ(SQLGetData(stmt, 0, SQL_C_BOOKMARK, &bookmark, 0, &length), SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "07009");
}

TEST_F(ScrollTest, RowsetSizeOfExtendedFetchIsNotTheRowArraySize) {
  Statement stmt(dbc());
  SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, Value(SQL_CURSOR_STATIC), 0);
  ASSERT_STMT_OK(SQLSetStmtAttr(stmt, SQL_ROWSET_SIZE, Value(3), 0), stmt);
  SQLULEN array_size = 0;
  SQLGetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, &array_size, 0, nullptr);
  EXPECT_EQ(array_size, 1u);
  SQLINTEGER ids[3] = {0};
  SQLBindCol(stmt, 1, SQL_C_SLONG, ids, 0, nullptr);
  Exec(stmt, "SELECT id FROM s ORDER BY id");
  SQLULEN fetched = 0;
  SQLUSMALLINT status[3] = {9, 9, 9};
  ASSERT_EQ(SQLExtendedFetch(stmt, SQL_FETCH_ABSOLUTE, 9, &fetched, status), SQL_SUCCESS);
  EXPECT_EQ(fetched, 2u);
  EXPECT_THAT(status, ElementsAre(SQL_ROW_SUCCESS, SQL_ROW_SUCCESS, SQL_ROW_NOROW));
  // The driver manager keeps SQLExtendedFetch and SQLFetchScroll apart.
  Exec(stmt, "SELECT id FROM s ORDER BY id");
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_FIRST, 0), SQL_SUCCESS);
  EXPECT_EQ(ids[0], 1);
  EXPECT_EQ(ids[1], 10);  // one row: the rest of the array is untouched
}

TEST(Odbc2ScrollTest, ExtendedFetchWithFixedBookmarks) {
  DataDir dir;
  Connection c(SQL_OV_ODBC2);
  ASSERT_ODBC_OK(c.DriverConnect(ConnectionString(dir)), SQL_HANDLE_DBC, c.dbc());
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  ASSERT_ODBC_OK(SQLAllocStmt(c.dbc(), &stmt), SQL_HANDLE_DBC, c.dbc());
  ASSERT_STMT_OK(SQLExecDirect(stmt, Text("CREATE TABLE s (id int)"), SQL_NTS), stmt);
  for (int i = 1; i <= kRows; ++i) {
    std::string sql = "INSERT INTO s VALUES (" + std::to_string(i) + ")";
    ASSERT_STMT_OK(SQLExecDirect(stmt, Text(sql), SQL_NTS), stmt);
  }
  SQLFreeStmt(stmt, SQL_CLOSE);
  ASSERT_STMT_OK(SQLSetStmtOption(stmt, SQL_CURSOR_TYPE, SQL_CURSOR_KEYSET_DRIVEN), stmt);
  ASSERT_STMT_OK(SQLSetStmtOption(stmt, SQL_ROWSET_SIZE, 3), stmt);
  ASSERT_STMT_OK(SQLSetStmtOption(stmt, SQL_USE_BOOKMARKS, SQL_UB_ON), stmt);
  ASSERT_STMT_OK(SQLExecDirect(stmt, Text("SELECT id FROM s ORDER BY id"), SQL_NTS), stmt);
  SQLINTEGER ids[3] = {0};
  SQLLEN ind[3] = {0};
  SQLBindCol(stmt, 1, SQL_C_SLONG, ids, 0, ind);
  SQLULEN fetched = 0;
  SQLUSMALLINT status[3] = {0};

  ASSERT_EQ(SQLExtendedFetch(stmt, SQL_FETCH_NEXT, 0, &fetched, status), SQL_SUCCESS);
  EXPECT_EQ(fetched, 3u);
  EXPECT_THAT(ids, ElementsAre(1, 2, 3));
  ASSERT_EQ(SQLExtendedFetch(stmt, SQL_FETCH_BOOKMARK, 5, &fetched, status), SQL_SUCCESS);
  EXPECT_THAT(ids, ElementsAre(5, 6, 7));
  SQLUINTEGER bookmark = 0;
  SQLLEN length = 0;
  // SQL_C_BOOKMARK as an ODBC 2 application's header defines it.
  ASSERT_STMT_OK(SQLGetData(stmt, 0, SQL_C_ULONG, &bookmark, 0, &length), stmt);
  EXPECT_EQ(bookmark, 5u);
  ASSERT_STMT_OK(SQLSetPos(stmt, 3, SQL_POSITION, SQL_LOCK_NO_CHANGE), stmt);
  ASSERT_STMT_OK(SQLGetData(stmt, 0, SQL_C_ULONG, &bookmark, 0, &length), stmt);
  EXPECT_EQ(bookmark, 7u);
  ASSERT_EQ(SQLExtendedFetch(stmt, SQL_FETCH_LAST, 0, &fetched, status), SQL_SUCCESS);
  EXPECT_THAT(ids, ElementsAre(8, 9, 10));
  ASSERT_EQ(SQLExtendedFetch(stmt, SQL_FETCH_RELATIVE, 2, &fetched, status), SQL_SUCCESS);
  EXPECT_EQ(fetched, 1u);
  EXPECT_THAT(status, ElementsAre(SQL_ROW_SUCCESS, SQL_ROW_NOROW, SQL_ROW_NOROW));
  EXPECT_EQ(SQLExtendedFetch(stmt, SQL_FETCH_NEXT, 0, &fetched, status), SQL_NO_DATA);
  EXPECT_EQ(fetched, 0u);
  ASSERT_EQ(SQLExtendedFetch(stmt, SQL_FETCH_PRIOR, 0, &fetched, status), SQL_SUCCESS);
  EXPECT_THAT(ids, ElementsAre(8, 9, 10));
  SQLULEN type = 0;
  SQLGetStmtOption(stmt, SQL_CURSOR_TYPE, &type);
  EXPECT_EQ(type, static_cast<SQLULEN>(SQL_CURSOR_KEYSET_DRIVEN));
  SQLFreeStmt(stmt, SQL_DROP);
}

struct BookmarkCase {
  SQLINTEGER odbc_version;
  SQLSMALLINT c_type;
  size_t size;  // bytes of one bookmark
};

void PrintTo(const BookmarkCase& c, std::ostream* out) {
  *out << "ODBC " << c.odbc_version << ", C type " << c.c_type;
}

std::string BookmarkBytes(SQLUBIGINT value, size_t size) {
  return size == 4 ? Bytes(static_cast<SQLUINTEGER>(value)) : Bytes(value);
}

class BookmarkTypeTest : public ::testing::TestWithParam<BookmarkCase> {};

// Column 0 bound column-wise for a rowset of three, then read with
// SQLGetData, in each C type either ODBC version may use for it.
TEST_P(BookmarkTypeTest, BoundAndRead) {
  const BookmarkCase& c = GetParam();
  DataDir dir;
  Connection conn(c.odbc_version);
  ASSERT_ODBC_OK(conn.DriverConnect(ConnectionString(dir)), SQL_HANDLE_DBC, conn.dbc());
  {
    Statement fill(conn.dbc());
    ASSERT_STMT_OK(SQLExecDirect(fill, Text("CREATE TABLE s (id int)"), SQL_NTS), fill);
    for (int i = 1; i <= kRows; ++i) {
      std::string sql = "INSERT INTO s VALUES (" + std::to_string(i) + ")";
      ASSERT_STMT_OK(SQLExecDirect(fill, Text(sql), SQL_NTS), fill);
    }
  }
  Statement stmt(conn.dbc());
  SQLULEN use = c.odbc_version == SQL_OV_ODBC2 ? SQL_UB_ON : SQL_UB_VARIABLE;
  ASSERT_STMT_OK(SQLSetStmtAttr(stmt, SQL_ATTR_USE_BOOKMARKS, Value(use), 0), stmt);
  ASSERT_STMT_OK(SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, Value(SQL_CURSOR_STATIC), 0), stmt);
  ASSERT_STMT_OK(SQLSetStmtAttr(stmt, SQL_ROWSET_SIZE, Value(3), 0), stmt);
  char bound[3 * 8 + 1];
  std::memset(bound, 0x5A, sizeof bound);
  SQLLEN lengths[3] = {0};
  auto size = static_cast<SQLLEN>(c.size);
  ASSERT_STMT_OK(SQLBindCol(stmt, 0, c.c_type, bound, size, lengths), stmt);
  ASSERT_STMT_OK(SQLExecDirect(stmt, Text("SELECT id FROM s ORDER BY id"), SQL_NTS), stmt);
  SQLULEN fetched = 0;
  SQLUSMALLINT status[3] = {0};
  SQLRETURN rc = SQLExtendedFetch(stmt, SQL_FETCH_ABSOLUTE, 5, &fetched, status);
  ASSERT_EQ(rc, SQL_SUCCESS) << Explain(rc, SQL_HANDLE_STMT, stmt);
  for (size_t r = 0; r < 3; ++r) {
    EXPECT_EQ(std::string(bound + r * c.size, c.size), BookmarkBytes(5 + r, c.size)) << r;
    EXPECT_EQ(lengths[r], size) << r;
  }
  EXPECT_EQ(bound[3 * c.size], 0x5A);
  ASSERT_STMT_OK(SQLSetPos(stmt, 2, SQL_POSITION, SQL_LOCK_NO_CHANGE), stmt);
  char read[8] = {0};
  SQLLEN length = 0;
  // A refused type leaves the bookmark to be read; once read, it is done.
  EXPECT_EQ(SQLGetData(stmt, 0, SQL_C_SLONG, read, 4, &length), SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "07006");
  ASSERT_STMT_OK(SQLGetData(stmt, 0, c.c_type, read, size, &length), stmt);
  EXPECT_EQ(std::string(read, c.size), BookmarkBytes(6, c.size));
  EXPECT_EQ(length, size);
  EXPECT_EQ(SQLGetData(stmt, 0, c.c_type, read, size, &length), SQL_NO_DATA);
}

INSTANTIATE_TEST_SUITE_P(
    Types, BookmarkTypeTest,
    ::testing::Values(BookmarkCase{SQL_OV_ODBC2, SQL_C_ULONG, 4},
                      BookmarkCase{SQL_OV_ODBC2, SQL_C_BINARY, 4},
                      BookmarkCase{SQL_OV_ODBC3, SQL_C_ULONG, 4},
                      BookmarkCase{SQL_OV_ODBC2, SQL_C_UBIGINT, 8},
                      BookmarkCase{SQL_OV_ODBC3, SQL_C_VARBOOKMARK, 4},
                      BookmarkCase{SQL_OV_ODBC3, SQL_C_BOOKMARK, sizeof(BOOKMARK)}));  // 4 bytes on 32-bit builds

TEST(CursorsForwardTest, ScrollableTypesBecomeForwardOnly) {
  DataDir dir;
  Connection c;
  ASSERT_ODBC_OK(c.DriverConnect(ConnectionString(dir, "CURSORS=FORWARD")), SQL_HANDLE_DBC,
                 c.dbc());
  Statement stmt(c.dbc());
  EXPECT_EQ(SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, Value(SQL_CURSOR_STATIC), 0),
            SQL_SUCCESS_WITH_INFO);
  std::vector<Diag> diags = Diags(SQL_HANDLE_STMT, stmt);
  ASSERT_EQ(diags.size(), 1u);
  EXPECT_EQ(diags[0].state, "01S02");
  EXPECT_THAT(diags[0].message, ::testing::HasSubstr("[sqlsim]Option value changed"));
  SQLULEN type = 99;
  SQLGetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, &type, 0, nullptr);
  EXPECT_EQ(type, static_cast<SQLULEN>(SQL_CURSOR_FORWARD_ONLY));
  ASSERT_STMT_OK(SQLExecDirect(stmt, Text("CREATE TABLE s (id int)"), SQL_NTS), stmt);
  ASSERT_STMT_OK(SQLExecDirect(stmt, Text("SELECT id FROM s"), SQL_NTS), stmt);
  EXPECT_EQ(SQLFetchScroll(stmt, SQL_FETCH_LAST, 0), SQL_ERROR);
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "HY106");
  SQLCloseCursor(stmt);
  EXPECT_EQ(SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, Value(SQL_CURSOR_FORWARD_ONLY), 0),
            SQL_SUCCESS);
}

}  // namespace
}  // namespace odbctest
