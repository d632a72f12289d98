// Cursors: scrolling a snapshot in rowsets of 1 and 3, with SQLFetchScroll
// and (for ODBC 2 applications) SQLExtendedFetch, the row status array at
// the edges, bookmarks, row-wise binding, forward-only cursors and the
// CURSORS=FORWARD downgrade.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;

struct Step {
  SQLSMALLINT orientation;
  SQLLEN offset;
  const char* rows;  // the ids of the rowset, "-" for SQL_ROW_NOROW; "" for SQL_NO_DATA
  const char* state = "";
};

class ScrollTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE s (id int)");
    Exec("INSERT INTO s VALUES (1), (2), (3), (4), (5), (6), (7), (8), (9), (10)");
  }

  // Opens "SELECT id FROM s ORDER BY id" with the cursor type and rowset
  // size given, ids bound column-wise.
  void Open(SQLHSTMT stmt, SQLULEN cursor_type, SQLULEN rowset) {
    ASSERT_STMT_OK(SetAttr(stmt, SQL_ATTR_CURSOR_TYPE, cursor_type), stmt);
    ASSERT_STMT_OK(SetAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, rowset), stmt);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_STATUS_PTR, status_, 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched_, 0);
    SQLBindCol(stmt, 1, SQL_C_SLONG, ids_, 0, ind_);
    Exec(stmt, "SELECT id FROM s ORDER BY id");
  }

  // "1 2 3": the ids of the rowset, "-" where the status says no row.
  std::string Rowset(size_t size) const {
    std::string out;
    for (size_t i = 0; i < size; ++i) {
      out += (i ? " " : "") + (status_[i] == SQL_ROW_NOROW     ? std::string("-")
                               : status_[i] == SQL_ROW_SUCCESS ? std::to_string(ids_[i])
                                                               : "status " + std::to_string(status_[i]));
    }
    return out;
  }

  // Runs the steps: return code, state, the rowset with its status array,
  // and the count of rows fetched.
  void Scroll(SQLHSTMT stmt, size_t rowset, const std::vector<Step>& steps, bool extended = false) {
    for (size_t i = 0; i < steps.size(); ++i) {
      const Step& s = steps[i];
      SCOPED_TRACE("step " + std::to_string(i + 1) + ": orientation " + std::to_string(s.orientation) + " offset " +
                   std::to_string(s.offset));
      SQLRETURN rc = extended ? SQLExtendedFetch(stmt, s.orientation, s.offset, &fetched_, status_)
                              : SQLFetchScroll(stmt, s.orientation, s.offset);
      ASSERT_EQ(rc, !*s.rows ? SQL_NO_DATA : *s.state ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS)
          << Explain(rc, SQL_HANDLE_STMT, stmt);
      EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), s.state);
      if (rc == SQL_NO_DATA) {
        EXPECT_EQ(fetched_, 0u);
        continue;
      }
      EXPECT_EQ(Rowset(rowset), s.rows);
      std::string rows = s.rows;
      EXPECT_EQ(fetched_, rowset - std::count(rows.begin(), rows.end(), '-'));
    }
  }

  SQLINTEGER ids_[3] = {0};
  SQLLEN ind_[3] = {0};
  SQLUSMALLINT status_[3] = {0};
  SQLULEN fetched_ = 0;
};

TEST_F(ScrollTest, RowsetsOfThree) {
  Statement stmt(dbc());
  Open(stmt, SQL_CURSOR_STATIC, 3);
  Scroll(stmt, 3,
         {{SQL_FETCH_NEXT, 0, "1 2 3"},       {SQL_FETCH_NEXT, 0, "4 5 6"},       {SQL_FETCH_NEXT, 0, "7 8 9"},
          {SQL_FETCH_NEXT, 0, "10 - -"},      {SQL_FETCH_NEXT, 0, ""},            {SQL_FETCH_PRIOR, 0, "8 9 10"},
          {SQL_FETCH_PRIOR, 0, "5 6 7"},      {SQL_FETCH_FIRST, 0, "1 2 3"},      {SQL_FETCH_PRIOR, 0, ""},
          {SQL_FETCH_NEXT, 0, "1 2 3"},       {SQL_FETCH_ABSOLUTE, 9, "9 10 -"},  {SQL_FETCH_ABSOLUTE, -2, "9 10 -"},
          {SQL_FETCH_ABSOLUTE, 0, ""},        {SQL_FETCH_RELATIVE, 2, "2 3 4"},   {SQL_FETCH_RELATIVE, -1, "1 2 3"},
          {SQL_FETCH_RELATIVE, -1, ""},       {SQL_FETCH_ABSOLUTE, 2, "2 3 4"},   {SQL_FETCH_PRIOR, 0, "1 2 3", "01S06"},
          {SQL_FETCH_LAST, 0, "8 9 10"},      {SQL_FETCH_RELATIVE, 5, ""},        {SQL_FETCH_RELATIVE, -3, "8 9 10"},
          {SQL_FETCH_ABSOLUTE, -11, ""},      {SQL_FETCH_ABSOLUTE, -10, "1 2 3"}, {SQL_FETCH_ABSOLUTE, 11, ""}});
}

TEST_F(ScrollTest, RowsetsOfOne) {
  Statement stmt(dbc());
  Open(stmt, SQL_CURSOR_KEYSET_DRIVEN, 1);
  Scroll(stmt, 1,
         {{SQL_FETCH_NEXT, 0, "1"},       {SQL_FETCH_LAST, 0, "10"},       {SQL_FETCH_NEXT, 0, ""},
          {SQL_FETCH_PRIOR, 0, "10"},     {SQL_FETCH_PRIOR, 0, "9"},       {SQL_FETCH_ABSOLUTE, 5, "5"},
          {SQL_FETCH_RELATIVE, 3, "8"},   {SQL_FETCH_RELATIVE, 3, ""},     {SQL_FETCH_RELATIVE, -1, "10"},
          {SQL_FETCH_FIRST, 0, "1"},      {SQL_FETCH_PRIOR, 0, ""},        {SQL_FETCH_RELATIVE, 1, "1"},
          {SQL_FETCH_RELATIVE, 0, "1"},   {SQL_FETCH_ABSOLUTE, -1, "10"}});
}

// A dynamic cursor is a snapshot too; each scrollable type reads back as asked.
TEST_F(ScrollTest, ScrollableTypesKeepTheRowsOfTheExecution) {
  for (SQLULEN type : {SQL_CURSOR_STATIC, SQL_CURSOR_KEYSET_DRIVEN, SQL_CURSOR_DYNAMIC}) {
    Statement stmt(dbc());
    Open(stmt, type, 3);
    SQLULEN reported = 99;
    SQLGetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, &reported, 0, nullptr);
    EXPECT_EQ(reported, type);
    Exec("DELETE FROM s WHERE id > 2");
    Scroll(stmt, 3, {{SQL_FETCH_LAST, 0, "8 9 10"}});
    Exec("INSERT INTO s VALUES (3), (4), (5), (6), (7), (8), (9), (10)");
  }
}

TEST_F(ScrollTest, ForwardOnlyStreamsAndRefusesScrolling) {
  Statement stmt(dbc());
  Open(stmt, SQL_CURSOR_FORWARD_ONLY, 3);
  std::string seen;
  SQLRETURN rc;
  while ((rc = SQLFetch(stmt)) == SQL_SUCCESS) seen += Rowset(3) + " ";
  EXPECT_EQ(rc, SQL_NO_DATA);
  EXPECT_EQ(seen, "1 2 3 4 5 6 7 8 9 10 - - ");
  for (SQLSMALLINT o : {SQL_FETCH_PRIOR, SQL_FETCH_FIRST, SQL_FETCH_ABSOLUTE}) {
    EXPECT_EQ(Failure(SQLFetchScroll(stmt, o, 1), stmt), "HY106");
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
  SetAttr(stmt, SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_STATIC);
  SetAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, 3);
  SetAttr(stmt, SQL_ATTR_ROW_BIND_TYPE, sizeof(Row));
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
  ASSERT_STMT_OK(SQLGetData(stmt, 1, SQL_C_SLONG, &id, 0, nullptr), stmt);
  EXPECT_EQ(id, 2);
  EXPECT_EQ(Failure(SQLSetPos(stmt, 4, SQL_POSITION, SQL_LOCK_NO_CHANGE), stmt), "HY107");
  EXPECT_EQ(Failure(SQLSetPos(stmt, 1, SQL_DELETE, SQL_LOCK_NO_CHANGE), stmt), "HYC00");
  // Column 0 needs bookmarks switched on.
  EXPECT_EQ(Failure(SQLGetData(stmt, 0, SQL_C_BOOKMARK, &id, 0, nullptr), stmt), "07009");
}

TEST_F(ScrollTest, VariableBookmarks) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SetAttr(stmt, SQL_ATTR_USE_BOOKMARKS, SQL_UB_VARIABLE), stmt);
  Open(stmt, SQL_CURSOR_STATIC, 1);
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_ABSOLUTE, 4), SQL_SUCCESS);
  SQLUINTEGER bookmark = 0;
  SQLLEN length = 0;
  ASSERT_STMT_OK(SQLGetData(stmt, 0, SQL_C_VARBOOKMARK, &bookmark, sizeof bookmark, &length), stmt);
  EXPECT_EQ(length, 4);
  SQLSetStmtAttr(stmt, SQL_ATTR_FETCH_BOOKMARK_PTR, &bookmark, 0);
  Scroll(stmt, 1, {{SQL_FETCH_LAST, 0, "10"}, {SQL_FETCH_BOOKMARK, 0, "4"}, {SQL_FETCH_BOOKMARK, 2, "6"},
                   {SQL_FETCH_BOOKMARK, 7, ""}});
}

TEST_F(ScrollTest, RowsetSizeOfExtendedFetchIsNotTheRowArraySize) {
  Statement stmt(dbc());
  SetAttr(stmt, SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_STATIC);
  ASSERT_STMT_OK(SetAttr(stmt, SQL_ROWSET_SIZE, 3), stmt);
  SQLULEN array_size = 0;
  SQLGetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, &array_size, 0, nullptr);
  EXPECT_EQ(array_size, 1u);
  SQLBindCol(stmt, 1, SQL_C_SLONG, ids_, 0, ind_);
  Exec(stmt, "SELECT id FROM s ORDER BY id");
  Scroll(stmt, 3, {{SQL_FETCH_ABSOLUTE, 9, "9 10 -"}}, true);
  // The driver manager keeps SQLExtendedFetch and SQLFetchScroll apart.
  Exec(stmt, "SELECT id FROM s ORDER BY id");
  ASSERT_EQ(SQLFetchScroll(stmt, SQL_FETCH_FIRST, 0), SQL_SUCCESS);
  EXPECT_THAT(ids_, ElementsAre(1, 10, 0));  // one row: the rest of the array is untouched
}

TEST_F(ScrollTest, Odbc2ExtendedFetchWithFixedBookmarks) {
  Connection c(SQL_OV_ODBC2);
  Connect(c);
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  ASSERT_ODBC_OK(SQLAllocStmt(c.dbc(), &stmt), SQL_HANDLE_DBC, c.dbc());
  ASSERT_STMT_OK(SQLSetStmtOption(stmt, SQL_CURSOR_TYPE, SQL_CURSOR_KEYSET_DRIVEN), stmt);
  ASSERT_STMT_OK(SQLSetStmtOption(stmt, SQL_ROWSET_SIZE, 3), stmt);
  ASSERT_STMT_OK(SQLSetStmtOption(stmt, SQL_USE_BOOKMARKS, SQL_UB_ON), stmt);
  Exec(stmt, "SELECT id FROM s ORDER BY id");
  SQLBindCol(stmt, 1, SQL_C_SLONG, ids_, 0, ind_);
  Scroll(stmt, 3,
         {{SQL_FETCH_NEXT, 0, "1 2 3"}, {SQL_FETCH_LAST, 0, "8 9 10"}, {SQL_FETCH_RELATIVE, 2, "10 - -"},
          {SQL_FETCH_NEXT, 0, ""}, {SQL_FETCH_PRIOR, 0, "8 9 10"}, {SQL_FETCH_BOOKMARK, 5, "5 6 7"}},
         true);
  SQLUINTEGER bookmark = 0;
  // SQL_C_BOOKMARK as an ODBC 2 application's header defines it.
  ASSERT_STMT_OK(SQLGetData(stmt, 0, SQL_C_ULONG, &bookmark, 0, nullptr), stmt);
  EXPECT_EQ(bookmark, 5u);
  ASSERT_STMT_OK(SQLSetPos(stmt, 3, SQL_POSITION, SQL_LOCK_NO_CHANGE), stmt);
  ASSERT_STMT_OK(SQLGetData(stmt, 0, SQL_C_ULONG, &bookmark, 0, nullptr), stmt);
  EXPECT_EQ(bookmark, 7u);
  SQLULEN type = 0;
  SQLGetStmtOption(stmt, SQL_CURSOR_TYPE, &type);
  EXPECT_EQ(type, static_cast<SQLULEN>(SQL_CURSOR_KEYSET_DRIVEN));
  SQLFreeStmt(stmt, SQL_DROP);
}

// Column 0 bound column-wise for a rowset of three, then read with
// SQLGetData, in each C type either ODBC version may use for it.
TEST_F(ScrollTest, BookmarkTypesBoundAndRead) {
  const struct {
    SQLINTEGER odbc_version;
    SQLSMALLINT c_type;
    SQLLEN size;  // bytes of one bookmark
  } cases[] = {{SQL_OV_ODBC2, SQL_C_ULONG, 4},       {SQL_OV_ODBC2, SQL_C_BINARY, 4},
               {SQL_OV_ODBC3, SQL_C_ULONG, 4},       {SQL_OV_ODBC2, SQL_C_UBIGINT, 8},
               {SQL_OV_ODBC3, SQL_C_VARBOOKMARK, 4}, {SQL_OV_ODBC3, SQL_C_BOOKMARK, sizeof(BOOKMARK)}};
  for (const auto& c : cases) {
    SCOPED_TRACE("ODBC " + std::to_string(c.odbc_version) + ", C type " + std::to_string(c.c_type));
    auto bytes = [&](SQLUBIGINT value) { return c.size == 4 ? Bytes(static_cast<SQLUINTEGER>(value)) : Bytes(value); };
    Connection conn(c.odbc_version);
    Connect(conn);
    Statement stmt(conn.dbc());
    bool odbc2 = c.odbc_version == SQL_OV_ODBC2;
    ASSERT_STMT_OK(SQLSetStmtAttr(stmt, SQL_ATTR_USE_BOOKMARKS, Value(odbc2 ? SQL_UB_ON : SQL_UB_VARIABLE), 0), stmt);
    ASSERT_STMT_OK(SetAttr(stmt, SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_STATIC), stmt);
    ASSERT_STMT_OK(SQLSetStmtAttr(stmt, odbc2 ? SQL_ROWSET_SIZE : SQL_ATTR_ROW_ARRAY_SIZE, Value(3), 0), stmt);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_STATUS_PTR, status_, 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &fetched_, 0);
    char bound[3 * 8 + 1];
    std::memset(bound, 0x5A, sizeof bound);
    SQLLEN lengths[3] = {0};
    ASSERT_STMT_OK(SQLBindCol(stmt, 0, c.c_type, bound, c.size, lengths), stmt);
    Exec(stmt, "SELECT id FROM s ORDER BY id");
    Scroll(stmt, 3, {{SQL_FETCH_ABSOLUTE, 5, "0 0 0"}}, odbc2);
    for (size_t r = 0; r < 3; ++r) {
      EXPECT_EQ(std::string(bound + r * c.size, c.size), bytes(5 + r)) << r;
      EXPECT_EQ(lengths[r], c.size) << r;
    }
    EXPECT_EQ(bound[3 * c.size], 0x5A);
    ASSERT_STMT_OK(SQLSetPos(stmt, 2, SQL_POSITION, SQL_LOCK_NO_CHANGE), stmt);
    char read[8] = {0};
    SQLLEN length = 0;
    // A refused type leaves the bookmark to be read; once read, it is done.
    EXPECT_EQ(Failure(SQLGetData(stmt, 0, SQL_C_SLONG, read, 4, &length), stmt), "07006");
    ASSERT_STMT_OK(SQLGetData(stmt, 0, c.c_type, read, c.size, &length), stmt);
    EXPECT_EQ(std::string(read, c.size), bytes(6));
    EXPECT_EQ(length, c.size);
    EXPECT_EQ(SQLGetData(stmt, 0, c.c_type, read, c.size, &length), SQL_NO_DATA);
  }
}

// CURSORS=STATIC stands for a driver with static cursors only, no cursors
// option for one with all of them; SQLGetInfo says what each offers. A type
// the option rules out is changed with 01S02; forward-only refuses to scroll.
TEST_F(OdbcTest, CursorsOptionDecidesTheTypesAndWhatInfoSays) {
  struct Case {
    const char* option;
    SQLULEN given[4];  // for forward-only, static, keyset-driven, dynamic
    SQLUINTEGER scroll_options, fetch_direction;
  } cases[] = {
      {"", {SQL_CURSOR_FORWARD_ONLY, SQL_CURSOR_STATIC, SQL_CURSOR_KEYSET_DRIVEN, SQL_CURSOR_DYNAMIC},
       SQL_SO_FORWARD_ONLY | SQL_SO_STATIC | SQL_SO_KEYSET_DRIVEN | SQL_SO_DYNAMIC, SQL_FD_FETCH_BOOKMARK},
      {"CURSORS=STATIC", {SQL_CURSOR_FORWARD_ONLY, SQL_CURSOR_STATIC, SQL_CURSOR_STATIC, SQL_CURSOR_STATIC},
       SQL_SO_FORWARD_ONLY | SQL_SO_STATIC, SQL_FD_FETCH_BOOKMARK},
      {"CURSORS=FORWARD",
       {SQL_CURSOR_FORWARD_ONLY, SQL_CURSOR_FORWARD_ONLY, SQL_CURSOR_FORWARD_ONLY, SQL_CURSOR_FORWARD_ONLY},
       SQL_SO_FORWARD_ONLY, 0},
  };
  const SQLULEN asked[4] = {SQL_CURSOR_FORWARD_ONLY, SQL_CURSOR_STATIC, SQL_CURSOR_KEYSET_DRIVEN,
                            SQL_CURSOR_DYNAMIC};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option);
    Connection connection;
    Connect(connection, c.option);
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(asked[i]);
      Statement stmt(connection.dbc());
      const bool changed = c.given[i] != asked[i];
      EXPECT_EQ(SQLSetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, Value(asked[i]), 0),
                changed ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS);
      std::vector<Diag> diags = Diags(SQL_HANDLE_STMT, stmt);
      ASSERT_EQ(diags.size(), changed ? 1u : 0u);
      if (changed) {
        EXPECT_EQ(diags[0].state, "01S02");
        EXPECT_THAT(diags[0].message, ::testing::HasSubstr("[sqlsim]Option value changed"));
      }
      SQLULEN type = 99;
      SQLGetStmtAttr(stmt, SQL_ATTR_CURSOR_TYPE, &type, 0, nullptr);
      EXPECT_EQ(type, c.given[i]);
      Exec(stmt, "SELECT 1 UNION ALL SELECT 2");
      SQLRETURN rc = SQLFetchScroll(stmt, SQL_FETCH_LAST, 0);
      if (type == SQL_CURSOR_FORWARD_ONLY) {
        EXPECT_EQ(Failure(rc, stmt), "HY106");
      } else {
        EXPECT_STMT_OK(rc, stmt);
      }
      // Once the cursor is closed, the handle takes the type as a new one does.
      SQLCloseCursor(stmt);
      EXPECT_EQ(SetAttr(stmt, SQL_ATTR_CURSOR_TYPE, asked[i]), changed ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS);
    }
    SQLUINTEGER scroll = 0, fetch = 0;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLGetInfo(connection.dbc(), SQL_SCROLL_OPTIONS, &scroll, sizeof scroll, nullptr)));
    ASSERT_TRUE(SQL_SUCCEEDED(SQLGetInfo(connection.dbc(), SQL_FETCH_DIRECTION, &fetch, sizeof fetch, nullptr)));
    EXPECT_EQ(scroll, c.scroll_options);
    EXPECT_EQ(fetch & SQL_FD_FETCH_BOOKMARK, c.fetch_direction);
    EXPECT_NE(fetch & SQL_FD_FETCH_NEXT, 0u);
  }
}

}  // namespace
}  // namespace odbctest
