// Statement cursors on sqlsim through the driver manager, against a driver
// that scrolls, one with forward-only cursors only and one with static
// cursors only: the same rows whichever way the result is kept, the
// forward-only rules, message cursors, saved results and the spill file.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "include/lerv32.h"
#include "support/sqlsim_db.h"
#include "support/table_defs.h"
#include "support/test_env.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

#include <sql.h>
#include <sqlext.h>

namespace {

struct Mode {
  const char* name;
  const char* option;
  bool scrolls;
  bool executes_whole;  // the driver reads the whole result when it executes
};

struct CursorCloser {
  void operator()(void* cursor) const { rv_StmtClose(cursor); }
};
using Cursor = std::unique_ptr<void, CursorCloser>;

// "Kein Treffer" stands for a fetch that failed.
constexpr int32_t kNone = 0;

std::string CbText(void* cursor, size_t at) {
  std::vector<char> block(13328, '\x55');
  EXPECT_EQ(rv_StmtGetCbStru(cursor, block.data()), 1);
  return std::string(block.data() + at);
}

// "state|native code|message".
std::string ErrorOf(void* cursor) {
  char state[10] = "?";
  char message[128] = "?";
  const int32_t native = rv_StmtGetErrorCode(cursor, state, message);
  return std::string(state) + "|" + std::to_string(native) + "|" + message;
}

// A caller's own connection, of an ODBC 3 environment.
struct Odbc3Connection {
  explicit Odbc3Connection(std::string connect) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    connected = SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(connect.data()), SQL_NTS,
                                               nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT));
  }
  ~Odbc3Connection() {
    if (connected) SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
  }
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  bool connected = false;
};

class CursorTest : public ::testing::TestWithParam<Mode> {
 protected:
  void SetUp() override {
    connect_ = testenv::SqlsimConnectString(temp_.Path(), "cursor") + GetParam().option;
    dbc_ = rv_OdbcDriverConnect(nullptr, connect_.c_str());
    ASSERT_NE(dbc_, nullptr);
    ASSERT_TRUE(Run("CREATE TABLE T (Nr int NOT NULL, Name varchar(10) NULL)\r\n"
                    "INSERT INTO T VALUES (1, 'eins'), (2, 'zwei'), (3, 'drei'), (4, 'vier'), (5, NULL)"));
  }
  void TearDown() override {
    if (dbc_ != nullptr) rv_OdbcDisconnect(dbc_);
  }
  bool Run(const std::string& sql) {
    char errors[512];
    const bool ran = rv_CallStatement(dbc_, sql.c_str(), errors, sizeof errors) == 1;
    if (!ran) ADD_FAILURE() << errors;
    return ran;
  }
  // The Nr of the row fetched, kNone when the fetch failed (-1 when it
  // succeeded without writing the record).
  static int32_t Fetch(void* cursor, int32_t code) {
    std::vector<char> record(static_cast<size_t>(rv_StmtGetRecordSize(cursor)), '\xFF');
    if (rv_StmtFetch(cursor, record.data(), code) != 1) return kNone;
    int32_t nr = 0;
    std::memcpy(&nr, record.data(), sizeof nr);
    return nr;
  }
  // A statement of the caller's, executed.
  SQLHSTMT Executed(const char* sql) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    EXPECT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &stmt)));
    EXPECT_TRUE(SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS))) << sql;
    return stmt;
  }

  testenv::TempDir temp_;
  std::string connect_;
  LERV32_HDBC dbc_ = nullptr;
};

// Every column of a result is a field, in its place: unnamed columns and
// names given twice (RecId too) included.
TEST_P(CursorTest, EveryColumnIsAFieldInItsPlace) {
  Cursor cursor(rv_StmtOpenSQL(dbc_, "SELECT Nr, 7, Nr AS Nr, Name, RecId = Nr FROM T WHERE Nr = 3", nullptr, 0));
  ASSERT_TRUE(cursor);
  const TableDef* td = rv_StmtGetStructure(cursor.get());
  ASSERT_EQ(td->FieldCnt, 5);
  std::vector<char> record(static_cast<size_t>(rv_StmtGetRecordSize(cursor.get())));
  ASSERT_EQ(rv_StmtFetch(cursor.get(), record.data(), DB_GETNEXT), 1);
  std::vector<std::string> values;
  for (int32_t i = 0; i < td->FieldCnt; ++i) {
    char text[300] = {};
    rv_FieldToString(td, i, record.data(), text);
    values.push_back(std::string(td->Fields[i].Name) + "=" + text);
  }
  EXPECT_EQ(values, (std::vector<std::string>{"Nr=3", "=7", "Nr=3", "Name=drei", "RecId=3"}));
}

// Fetches of a result kept by the driver (with bookmarks) and of the same
// result in a spill file give the same rows, step for step.
TEST_P(CursorTest, ScrollsAlikeByDriverOrSpillFile) {
  Cursor cursor(rv_StmtOpenSQL(dbc_, "SELECT Nr, Name FROM T", "ORDER BY Nr", 1 | 8));
  ASSERT_TRUE(cursor);
  const std::string name = CbText(cursor.get(), 12560).substr(0, 12);
  EXPECT_EQ(name.substr(0, 4), "SQL_");
  EXPECT_EQ(CbText(cursor.get(), 12560), name + (GetParam().scrolls ? " use bookmarks" : " forward only"));
  constexpr int32_t kSecond = 1000;  // the bookmark the second row had
  // Jumps that find no row (0, INT32_MAX) do not move; steps out at either
  // end leave no current row.
  struct Step { int32_t code; int32_t nr; bool on_row; } steps[] = {
      {DB_GETSAME, kNone, false}, {DB_GETFIRST, 1, true},     {DB_GETNEXT, 2, true},   {DB_GETLAST, 5, true},
      {DB_GETNEXT, kNone, false}, {DB_GETSAME, kNone, false}, {INT32_MAX, kNone, false}, {DB_GETPRIOR, 5, true},
      {DB_GETPRIOR, 4, true},     {kSecond, 2, true},         {0, kNone, true},        {DB_GETSAME, 2, true},
      {INT32_MAX, kNone, true},   {DB_GETNEXT, 3, true},      {DB_GETFIRST, 1, true},  {DB_GETPRIOR, kNone, false},
      {0, kNone, false},          {DB_GETNEXT, 1, true},
  };
  int32_t second = 0;
  for (const Step& s : steps) {
    const int32_t code = s.code == kSecond ? second : s.code;
    EXPECT_EQ(Fetch(cursor.get(), code), s.nr) << code;
    if (s.nr == 2 && s.code == DB_GETNEXT) second = rv_StmtGetBookmark(cursor.get());
    const int32_t bookmark = rv_StmtGetBookmark(cursor.get());
    EXPECT_EQ(bookmark != 0, s.on_row) << code;
    if (s.code == kSecond || (s.nr == kNone && s.on_row)) {
      EXPECT_EQ(bookmark, second) << code;
    }
  }
  if (!GetParam().scrolls) {
    EXPECT_EQ(second, 2) << "in the spill file the bookmark is the record's number";
    for (int32_t number : {0, 6}) EXPECT_EQ(Fetch(cursor.get(), number), kNone) << number;
    EXPECT_EQ(rv_StmtGetBookmark(cursor.get()), 1) << "a number out of range does not move";
  }
  // The row reaches the internal buffer only when there is one.
  Cursor buffered(rv_StmtOpenSQL(dbc_, "SELECT Nr, Name FROM T ORDER BY Nr", nullptr, 1 | 2 | 8));
  ASSERT_TRUE(buffered);
  EXPECT_EQ(rv_StmtGetRecordPtr(cursor.get()), nullptr);
  ASSERT_EQ(rv_StmtFetch(buffered.get(), nullptr, DB_GETLAST), 1);
  EXPECT_EQ(std::string(static_cast<const char*>(rv_StmtGetRecordPtr(buffered.get())), 14),
            std::string("\x05\0\0\0          ", 14))
      << "NULL text is blank";
}

// Without bookmarks a scrolling cursor moves but cannot jump; a
// forward-only one reads its first row whatever is asked and then only
// steps on, and at its end no earlier failure is left.
TEST_P(CursorTest, WithoutBookmarksOrSpillFile) {
  Cursor cursor(rv_StmtOpenSQL(dbc_, "SELECT Nr FROM T ORDER BY Nr", nullptr, 0));
  ASSERT_TRUE(cursor);
  if (GetParam().scrolls) {
    EXPECT_TRUE(CbText(cursor.get(), 12560).find(" no bookmarks") != std::string::npos);
    EXPECT_EQ(Fetch(cursor.get(), DB_GETLAST), 5);
    EXPECT_EQ(Fetch(cursor.get(), DB_GETPRIOR), 4);
    EXPECT_EQ(Fetch(cursor.get(), 2), kNone);
    EXPECT_EQ(ErrorOf(cursor.get()), "ERV32|0|kein Bookmark fuer diesen Anweisungshandle");
    EXPECT_EQ(rv_StmtGetBookmark(cursor.get()), 0);
    return;
  }
  EXPECT_TRUE(CbText(cursor.get(), 12560).find(" forward only") != std::string::npos);
  EXPECT_EQ(Fetch(cursor.get(), DB_GETLAST), 1);
  EXPECT_EQ(Fetch(cursor.get(), DB_GETNEXT), 2);
  EXPECT_EQ(Fetch(cursor.get(), DB_GETSAME), 2);
  for (int32_t code : {DB_GETPRIOR, DB_GETFIRST, DB_GETLAST, 2}) {
    EXPECT_EQ(Fetch(cursor.get(), code), kNone) << code;
    EXPECT_EQ(ErrorOf(cursor.get()), "C1C00|793600|DB_GETNEXT or DB_GETSAME expected only");
  }
  for (int32_t nr : {3, 4, 5, kNone}) EXPECT_EQ(Fetch(cursor.get(), DB_GETNEXT), nr);
  EXPECT_EQ(ErrorOf(cursor.get()), "ERV32|0|");
  EXPECT_EQ(Fetch(cursor.get(), DB_GETSAME), kNone) << "past the end";
}

// A statement without columns gives one message record; a server message
// of a statement that succeeded is kept as the record.
TEST_P(CursorTest, StatementsWithoutColumnsGiveAMessageRecord) {
  Cursor cursor(rv_StmtOpenSQL(dbc_, "UPDATE T SET Name = 'x'", "WHERE Nr = 1", 1 | 2 | 8));
  ASSERT_TRUE(cursor);
  EXPECT_EQ(rv_StmtGetNumCols(cursor.get()), 3);
  EXPECT_EQ(rv_StmtGetRecordSize(cursor.get()), 142);
  EXPECT_EQ(rv_StmtGetBookmark(cursor.get()), 1);
  EXPECT_EQ(ErrorOf(cursor.get()), "ERV32|0|SQLExecute() == SQL_SUCCESS");
  std::string expected(142, '\0');
  expected.replace(4, 5, "COK32");
  expected.replace(14, 27, "SQLExecute() == SQL_SUCCESS");
  for (int32_t code : {DB_GETFIRST, DB_GETSAME, DB_GETLAST, 1, DB_GETNEXT, DB_GETPRIOR, 0, 2}) {
    std::string record(142, '?');
    const bool one = code == DB_GETFIRST || code == DB_GETSAME || code == DB_GETLAST || code == 1;
    EXPECT_EQ(rv_StmtFetch(cursor.get(), record.data(), code), one ? 1 : 0) << code;
    EXPECT_EQ(record, one ? expected : std::string(142, '?')) << code;
  }
  EXPECT_EQ(std::string(static_cast<const char*>(rv_StmtGetRecordPtr(cursor.get())), 142), expected);
  EXPECT_EQ(rv_StmtFetch(cursor.get(), static_cast<char*>(rv_StmtGetRecordPtr(cursor.get())), DB_GETFIRST), 1);
  EXPECT_EQ(CbText(cursor.get(), 12560).substr(0, 4), "SQL_");
  EXPECT_NE(CbText(cursor.get(), 12560).find(" message-record(s)"), std::string::npos);
  std::vector<unsigned char> block(13328);
  ASSERT_EQ(rv_StmtGetCbStru(cursor.get(), block.data()), 1);
  auto word = [&](size_t at) { return block[at] | block[at + 1] << 8; };
  EXPECT_EQ(word(0), 48);
  EXPECT_EQ(word(2), 3);
  EXPECT_EQ(word(8), 142);
  EXPECT_EQ(word(10), 142);
  const char* names[] = {"Code", "State", "Message"};
  const int types[] = {'l', 'c', 'c'}, widths[] = {4, 10, 128};
  for (size_t i = 0; i < 3; ++i) {
    const size_t at = 9744 + 20 * i;
    EXPECT_EQ(word(at), types[i]);
    EXPECT_EQ(word(at + 2), widths[i]);
    EXPECT_EQ(word(at + 4), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(&block[at + 6]), names[i]);
  }
  EXPECT_EQ(CbText(cursor.get(), 12304), "ODBC");
  EXPECT_EQ(CbText(cursor.get(), 12816), "V1.0 (05/2000)");
  Cursor printed(rv_StmtOpenSQL(dbc_, "PRINT 'Hallo'", nullptr, 0));
  ASSERT_TRUE(printed);
  EXPECT_EQ(ErrorOf(printed.get()), "01000|0|[sqlsim][SQL Server]Hallo");
  // With rows, the message lasts until the first fetch, spilled or not.
  for (int32_t flags : {0, 8}) {
    Cursor hinted(rv_StmtOpenSQL(dbc_, "PRINT 'Hinweis' SELECT Nr FROM T", nullptr, flags));
    ASSERT_TRUE(hinted);
    EXPECT_EQ(ErrorOf(hinted.get()), "01000|0|[sqlsim][SQL Server]Hinweis");
    for (int32_t nr : {1, 2, 3, 4, 5, kNone}) EXPECT_EQ(Fetch(hinted.get(), DB_GETNEXT), nr);
    EXPECT_EQ(ErrorOf(hinted.get()), "ERV32|0|") << flags;
  }
}

// A saved result is the caller's statement's rows in a spill file: the
// statement and connection stay the caller's, usable again.
TEST_P(CursorTest, SavedResultsLeaveTheCallersStatement) {
  SQLHSTMT stmt = Executed("SELECT Nr, Name FROM T ORDER BY Nr");
  Cursor saved(rv_StmtSaveResult(dbc_, stmt));
  ASSERT_TRUE(saved);
  EXPECT_EQ(CbText(saved.get(), 12560).substr(0, 7), "SQLTMP_");
  EXPECT_NE(CbText(saved.get(), 12560).find(" forward only"), std::string::npos);
  ASSERT_EQ(rv_StmtFetch(saved.get(), nullptr, DB_GETLAST), 1);
  EXPECT_EQ(std::string(static_cast<const char*>(rv_StmtGetRecordPtr(saved.get())), 4), std::string("\x05\0\0\0", 4));
  EXPECT_EQ(Fetch(saved.get(), DB_GETPRIOR), 4);
  saved.reset();
  for (const char* sql : {"UPDATE T SET Name = 'y' WHERE Nr = 2", "SELECT Nr FROM T WHERE Nr = 2"}) {
    ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql)), SQL_NTS)))
        << sql;
    Cursor again(rv_StmtSaveResult(dbc_, stmt));
    ASSERT_TRUE(again);
    EXPECT_EQ(rv_StmtGetRecordSize(again.get()), sql[0] == 'U' ? 142 : 4);
    EXPECT_EQ(Fetch(again.get(), DB_GETFIRST), sql[0] == 'U' ? 0 : 2);
    again.reset();
  }
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  // Statements without a result to save, and a caller's rowset sizes: every
  // row is saved, one per fetch.
  struct Setup { const char* sql; bool execute; SQLULEN rowset; int32_t rows; } setups[] = {
      {nullptr, false, 1, -1},
      {"UPDATE T SET Nr = 9", false, 1, -1},
      {"UPDATE T SET Nr = 1 / 0", true, 1, -1},
      {"SELECT Nr FROM T ORDER BY Nr", true, 2, 5},
      {"SELECT Nr FROM T ORDER BY Nr", true, 10, 5},
  };
  for (const Setup& setup : setups) {
    SQLHSTMT caller = SQL_NULL_HSTMT;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &caller)));
    SQLSetStmtAttr(caller, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(setup.rowset), 0);
    if (setup.sql != nullptr) SQLPrepare(caller, reinterpret_cast<SQLCHAR*>(const_cast<char*>(setup.sql)), SQL_NTS);
    if (setup.execute) SQLExecute(caller);
    Cursor result(rv_StmtSaveResult(dbc_, caller));
    EXPECT_EQ(result != nullptr, setup.rows >= 0) << (setup.sql ? setup.sql : "never prepared");
    for (int32_t nr = 1; result && nr <= setup.rows + 1; ++nr) {
      EXPECT_EQ(Fetch(result.get(), DB_GETNEXT), nr <= setup.rows ? nr : kNone) << setup.rowset;
    }
    SQLULEN rowset = 0;
    SQLGetStmtAttr(caller, SQL_ATTR_ROW_ARRAY_SIZE, &rowset, 0, nullptr);
    EXPECT_EQ(rowset, setup.rowset) << "the caller's size is put back";
    SQLFreeHandle(SQL_HANDLE_STMT, caller);
  }
  // A failure in the middle of the rows: no cursor with half a result.
  const char* failing = "SELECT Nr, 10 / (Nr - 3) FROM T";
  SQLHSTMT broken = Executed(failing);
  EXPECT_EQ(rv_StmtSaveResult(dbc_, broken), nullptr);
  SQLFreeHandle(SQL_HANDLE_STMT, broken);
  // Opened with spill it fails too (or the driver fails the execution);
  // without spill the failure comes with its row.
  EXPECT_EQ(rv_StmtOpenSQL(dbc_, failing, nullptr, 8), nullptr);
  if (GetParam().executes_whole) return;
  Cursor opened(rv_StmtOpenSQL(dbc_, failing, nullptr, 0));
  ASSERT_TRUE(opened);
  EXPECT_EQ(Fetch(opened.get(), DB_GETFIRST), 1);
  EXPECT_EQ(Fetch(opened.get(), DB_GETNEXT), 2);
  EXPECT_EQ(Fetch(opened.get(), DB_GETNEXT), kNone);
  EXPECT_NE(ErrorOf(opened.get()).find("|8134|[sqlsim][SQL Server]Divide by zero"), std::string::npos);
}

// Each column type as its field, with its value and with NULL.
TEST_P(CursorTest, ColumnsBecomeFieldsByTheirType) {
  ASSERT_TRUE(Run("CREATE TABLE M (Schalter bit NULL, Klein tinyint NULL, Lang char(300) NULL, Frei varchar(max) NULL, "
                  "Betrag decimal(10,3) NULL, Datum datetime NULL, Gross bigint NULL, Roh varbinary(4) NULL, "
                  "Kurz smallint NULL, EinSehrLangerSpaltenname int NULL)\r\n"
                  "INSERT INTO M VALUES (1, 200, 'abc', REPLICATE('x', 300), 12.345, '2026-12-08 13:45', "
                  "9000000000, 0x0A0B, -7, 42)\r\n"
                  "INSERT INTO M VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"));
  for (int32_t decimals : {300, -1}) {
    rv_StmtSetDoublePrecision(decimals);
    Cursor numbers(rv_StmtOpenSQL(dbc_, "SELECT Betrag FROM M", nullptr, 0));
    ASSERT_TRUE(numbers);
    EXPECT_EQ(rv_FieldDec(rv_StmtGetStructure(numbers.get()), 0), decimals < 0 ? 0 : 255) << decimals;
  }
  // Opened on the library's connection, and saved from a caller's of an
  // ODBC 3 environment, whose date types have other codes.
  char sql[] = "SELECT *, CAST(Datum AS date) AS Tag FROM M";
  Odbc3Connection odbc3(connect_);
  ASSERT_TRUE(odbc3.connected);
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, odbc3.dbc, &stmt)));
  ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql), SQL_NTS)));
  EXPECT_EQ(rv_StmtSetDoublePrecision(2), -1);
  Cursor cursors[] = {Cursor(rv_StmtOpenSQL(dbc_, sql, nullptr, 2 | 8)), Cursor(rv_StmtSaveResult(odbc3.dbc, stmt))};
  EXPECT_EQ(rv_StmtSetDoublePrecision(4), 2);
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  const std::vector<std::string> shapes = {"Schalter b 1 0", "Klein b 1 0",  "Lang C 255 0",   "Frei C 255 0",
                                           "Betrag d 8 2",   "Datum D 10 0", "Type--5 C 20 0", "Type--3 C 20 0",
                                           "Kurz s 2 0",     "EinSehrLangerSp l 4 0",          "Tag D 10 0"};
  for (const Cursor& cursor : cursors) {
    ASSERT_TRUE(cursor);
    const TableDef* td = rv_StmtGetStructure(cursor.get());
    ASSERT_EQ(rv_StmtGetNumCols(cursor.get()), 11);
    int32_t size = 0;
    for (int32_t i = 0; i < 11; ++i) {
      EXPECT_EQ(std::string(rv_FieldName(td, i)) + " " + static_cast<char>(rv_FieldType(td, i)) + " " +
                    std::to_string(rv_FieldLen(td, i)) + " " + std::to_string(rv_FieldDec(td, i)),
                shapes[static_cast<size_t>(i)]);
      size += rv_FieldLen(td, i);
    }
    EXPECT_EQ(rv_StmtGetRecordSize(cursor.get()), size);
    auto texts = [&]() {
      std::vector<std::string> out;
      const char* record = static_cast<const char*>(rv_StmtGetRecordPtr(cursor.get()));
      for (int32_t i = 0; i < 11; ++i) {
        char text[300];
        out.push_back(rv_FieldToString(td, i, record, text));
      }
      return out;
    };
    ASSERT_EQ(rv_StmtFetch(cursor.get(), nullptr, DB_GETNEXT), 1);
    EXPECT_EQ(texts(), (std::vector<std::string>{"1", "200", "abc", std::string(255, 'x'), "12.35", "2026-12-08",
                                                 "9000000000", "0A0B", "-7", "42", "2026-12-08"}));
    ASSERT_EQ(rv_StmtFetch(cursor.get(), nullptr, DB_GETNEXT), 1);
    EXPECT_EQ(texts(), (std::vector<std::string>{"0", "0", "", "", "0.00", "0000-00-00", "", "", "0", "0",
                                                 "0000-00-00"}));
  }
}

// A table read through its definition: a caller's TableDef by its address
// or a definition file, the clause after the statement, texts of any
// length, and names that need quoting.
TEST_P(CursorTest, TablesReadThroughTheirDefinition) {
  ASSERT_TRUE(Run("CREATE TABLE [Q\"R] ([A\"B] int NULL)\r\nINSERT INTO [Q\"R] VALUES (7)"));
  testenv::TableDefPtr td = testenv::NewTableDef();
  rv_AddFieldDef(td.get(), "Nr,l");
  rv_AddFieldDef(td.get(), "Name,C,10");
  std::snprintf(td->TableName, sizeof td->TableName, "T");
  char spec[64];
  const auto address = static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(td.get()));
  std::snprintf(spec, sizeof spec, "=0x%llx", address);
  std::string clause = "WHERE Nr > 2";
  while (clause.size() < 5000) clause += " AND Nr > 2";
  clause += " ORDER BY Nr DESC";
  Cursor cursor(rv_StmtOpen(dbc_, spec, clause.c_str(), 1 | 8));
  ASSERT_TRUE(cursor);
  EXPECT_EQ(rv_StmtGetStructure(cursor.get())->Fields[1].Len, 10);
  EXPECT_EQ(Fetch(cursor.get(), DB_GETNEXT), 5);
  EXPECT_NE(rv_StmtGetBookmark(cursor.get()), 0) << "bookmarks, or numbers in the spill file";
  for (int32_t nr : {4, 3, kNone}) EXPECT_EQ(Fetch(cursor.get(), DB_GETNEXT), nr);
  std::snprintf(spec, sizeof spec, "=%llu", address);
  cursor.reset(rv_StmtOpen(dbc_, spec, nullptr, 0));
  ASSERT_TRUE(cursor) << spec;
  EXPECT_EQ(Fetch(cursor.get(), DB_GETNEXT), 1);
  EXPECT_EQ(rv_StmtGetBookmark(cursor.get()), 0);
  const std::string path = temp_.File("quoted.def");
  testenv::WriteText(path, "ALIAS=Q\"R\r\nFIELD=A\"B,l\r\n");
  cursor.reset(rv_StmtOpen(dbc_, path.c_str(), "WHERE \"A\"\"B\" = 7", 0));
  ASSERT_TRUE(cursor);
  EXPECT_STREQ(rv_StmtGetStructure(cursor.get())->TableName, "Q\"R");
  EXPECT_EQ(Fetch(cursor.get(), DB_GETNEXT), 7);
  const std::string missing = temp_.File("fehlt.def");
  for (const char* bad : {"=", "=0", "=x1", "=12ab", missing.c_str()}) {
    EXPECT_EQ(rv_StmtOpen(dbc_, bad, nullptr, 0), nullptr) << bad;
  }
  // Addresses of memory that cannot be read: a page without access, and a
  // definition whose end lies in it.
  constexpr size_t kPage = 4096;
#if defined(_WIN32)
  auto* pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  DWORD old_protection = 0;
  ASSERT_TRUE(pages != nullptr && VirtualProtect(pages + kPage, kPage, PAGE_NOACCESS, &old_protection));
#else
  auto* pages = static_cast<char*>(mmap(nullptr, 2 * kPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
  ASSERT_TRUE(pages != MAP_FAILED && mprotect(pages + kPage, kPage, PROT_NONE) == 0);
#endif
  std::memcpy(pages + kPage - 64, td.get(), 64);
  for (const char* unreadable : {pages + kPage, pages + kPage - 64}) {
    std::snprintf(spec, sizeof spec, "=0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(unreadable)));
    EXPECT_EQ(rv_StmtOpen(dbc_, spec, nullptr, 0), nullptr) << spec;
  }
#if defined(_WIN32)
  VirtualFree(pages, 0, MEM_RELEASE);
#else
  munmap(pages, 2 * kPage);
#endif
  std::snprintf(spec, sizeof spec, "=%llu", address);
  // Definitions the calls cannot build are refused, not read past.
  const TableDef good = *td;
  for (auto spoil : std::vector<void (*)(TableDef*)>{
           [](TableDef* bad) { bad->FieldCnt = LERV32_MAX_FIELDS + 1; },
           [](TableDef* bad) { bad->Fields[1].Len = 300; },
           [](TableDef* bad) { bad->Fields[0].Offset = 200; bad->Fields[1].Offset = 0; },
       }) {
    spoil(td.get());
    EXPECT_EQ(rv_StmtOpen(dbc_, spec, nullptr, 8), nullptr);
    *td = good;
  }
  cursor.reset(rv_StmtOpen(dbc_, spec, "WHERE Fehlt = 1", 0));
  EXPECT_FALSE(cursor) << "a statement the server refuses";
  // A long SQL text runs whole.
  std::string sql = "SELECT Nr FROM T WHERE Nr = 4";
  while (sql.size() < 5000) sql += " OR Nr = 4";
  cursor.reset(rv_StmtOpenSQL(dbc_, sql.c_str(), "", 0));
  ASSERT_TRUE(cursor);
  EXPECT_EQ(Fetch(cursor.get(), DB_GETNEXT), 4);
}

// A cursor given its connection disconnects it when it closes and when
// its open fails; every statement it made is freed.
TEST_P(CursorTest, OwnedConnectionsAndHandlesGoWithTheCursor) {
  const std::string trace = testenv::GetEnv("LERV32_ODBC_TRACE");
  if (trace.empty()) GTEST_SKIP() << "no trace of the library's calls";
  const size_t start = testenv::ReadText(trace).size();
  auto count = [&](const std::string& call) {
    const std::string text = testenv::ReadText(trace).substr(start);
    size_t n = 0;
    for (size_t at = text.find(call + " "); at != std::string::npos; at = text.find(call + " ", at + 1)) ++n;
    return n;
  };
  struct Case { const char* sql; int32_t flags; bool opens; } cases[] = {
      {"SELECT Nr FROM T", 4 | 8, true}, {"SELECT Nr FROM Fehlt", 4, false},
      {"UPDATE T SET Nr = Nr", 4, true}, {nullptr, 4, false},
  };
  for (const Case& c : cases) {
    LERV32_HDBC own = rv_OdbcDriverConnect(nullptr, connect_.c_str());
    ASSERT_NE(own, nullptr);
    const size_t freed = count("SQLFreeConnect");
    void* cursor = rv_StmtOpenSQL(own, c.sql, nullptr, c.flags);
    EXPECT_EQ(cursor != nullptr, c.opens) << (c.sql ? c.sql : "null");
    if (cursor != nullptr) {
      EXPECT_EQ(Fetch(cursor, DB_GETFIRST), c.sql[0] == 'S' ? 1 : 0);
      EXPECT_EQ(count("SQLFreeConnect"), freed) << "still in use";
      rv_StmtClose(cursor);
    }
    EXPECT_EQ(count("SQLFreeConnect"), freed + 1) << (c.sql ? c.sql : "null");
  }
  EXPECT_EQ(rv_StmtOpen(rv_OdbcDriverConnect(nullptr, connect_.c_str()), "=0", nullptr, 4), nullptr);
  EXPECT_EQ(count("SQLAllocConnect"), count("SQLFreeConnect"));
  EXPECT_EQ(count("SQLAllocStmt"), count("SQLFreeStmt"));
}

TEST(CursorNullsTest, NoCursorNoAnswer) {
  char block[13328];
  rv_StmtClose(nullptr);
  EXPECT_EQ(rv_StmtFetch(nullptr, block, DB_GETFIRST), 0);
  EXPECT_EQ(rv_StmtGetBookmark(nullptr), 0);
  EXPECT_EQ(rv_StmtGetCbStru(nullptr, block), 0);
  EXPECT_EQ(rv_StmtGetErrorCode(nullptr, block, block), 0);
  EXPECT_EQ(rv_StmtGetNumCols(nullptr), 0);
  EXPECT_EQ(rv_StmtGetRecordPtr(nullptr), nullptr);
  EXPECT_EQ(rv_StmtGetRecordSize(nullptr), 0);
  EXPECT_EQ(rv_StmtGetStructure(nullptr), nullptr);
  EXPECT_EQ(rv_StmtSaveResult(nullptr, nullptr), nullptr);
}

// The spill file's edges, through saved results and spilled opens alike.
TEST_P(CursorTest, SpillFileEdges) {
  testenv::TempDir temp_folder;
  testenv::ScopedEnv tmp(
#if defined(_WIN32)
      "TMP",
#else
      "TMPDIR",
#endif
      temp_folder.Path().string());
  ASSERT_TRUE(Run("CREATE TABLE B (Nr int NOT NULL, Text char(96) NOT NULL)\r\n"
                  "DECLARE @i int = 1\r\nWHILE @i <= 1000 BEGIN\r\n"
                  "INSERT INTO B VALUES (@i, REPLICATE(SUBSTRING('ABCDEFGHIJKLMNOPQRSTUVWXYZ', @i % 26 + 1, 1), @i % 97)) SET @i = @i + 1 END"));
  SQLHSTMT stmt = Executed("SELECT Nr, Text FROM B ORDER BY Nr");
  Cursor big(rv_StmtSaveResult(dbc_, stmt));
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  ASSERT_TRUE(big);
  ASSERT_EQ(rv_StmtGetRecordSize(big.get()), 100);
  Cursor small(rv_StmtOpenSQL(dbc_, "SELECT Nr FROM T WHERE Nr = 3", nullptr, 1 | 8));
  ASSERT_TRUE(small);
  // Out at either end however often, and one step back in.
  struct Step { int32_t code; int32_t nr; } steps[] = {
      {DB_GETPRIOR, kNone}, {DB_GETPRIOR, kNone}, {DB_GETNEXT, 3},     {DB_GETNEXT, kNone}, {DB_GETNEXT, kNone},
      {DB_GETPRIOR, 3},     {DB_GETPRIOR, kNone}, {DB_GETPRIOR, kNone}, {DB_GETNEXT, 3},     {DB_GETLAST, 3},
  };
  for (const Step& s : steps) EXPECT_EQ(Fetch(small.get(), s.code), s.nr) << s.code;
  for (int32_t number : {1000, 1, 999}) {
    std::string expected(100, ' ');
    std::memcpy(&expected[0], &number, 4);
    std::fill_n(&expected[4], number % 97, static_cast<char>('A' + number % 26));
    std::string record(100, '?');
    ASSERT_EQ(rv_StmtFetch(big.get(), record.data(), number), 1) << number;
    EXPECT_EQ(record, expected) << number;
  }
  EXPECT_EQ(Fetch(big.get(), 1001), kNone);
  EXPECT_EQ(rv_StmtGetBookmark(big.get()), 999);
  Cursor empty(rv_StmtOpenSQL(dbc_, "SELECT Nr FROM T WHERE Nr > 9", nullptr, 8));
  ASSERT_TRUE(empty);
  for (int32_t code : {DB_GETFIRST, DB_GETLAST, DB_GETNEXT, 1}) EXPECT_EQ(Fetch(empty.get(), code), kNone) << code;
  big.reset();
  small.reset();
  empty.reset();
  EXPECT_TRUE(std::filesystem::is_empty(temp_folder.Path())) << "the spill files go with their cursors";
}

INSTANTIATE_TEST_SUITE_P(Drivers, CursorTest,
                         ::testing::Values(Mode{"Scrolling", "", true, true}, Mode{"Forward", ";CURSORS=FORWARD", false, false},
                                           Mode{"Static", ";CURSORS=STATIC", false, true}),
                         [](const ::testing::TestParamInfo<Mode>& mode) { return std::string(mode.param.name); });

}  // namespace
