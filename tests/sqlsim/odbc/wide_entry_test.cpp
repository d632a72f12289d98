// The UTF-16 entry points as a Unicode client reaches them, on a connection
// made with SQLDriverConnectW: names beyond ASCII created and read back, a
// character the server's code page lacks, and each string output with
// buffers that hold it, cut it or have no room, counted in characters or in
// bytes as ODBC has it for the function.
#include <algorithm>
#include <functional>

#include "odbc_support.h"

namespace odbctest {
namespace {

SQLWCHAR* W(const std::u16string& s) { return reinterpret_cast<SQLWCHAR*>(const_cast<char16_t*>(s.c_str())); }

std::u16string FromW(const SQLWCHAR* p) {
  std::u16string s;
  while (*p) s.push_back(static_cast<char16_t>(*p++));
  return s;
}

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class WideTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::u16string text = Widen(ConnectionString(dir_));
    SQLRETURN rc = SQLDriverConnectW(dbc(), nullptr, W(text), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    ASSERT_ODBC_OK(rc, SQL_HANDLE_DBC, dbc());
  }
  void TearDown() override { SQLDisconnect(dbc()); }
  void ExecW(SQLHSTMT stmt, const std::u16string& sql) {
    SQLFreeStmt(stmt, SQL_CLOSE);
    ASSERT_STMT_OK(SQLExecDirectW(stmt, W(sql), SQL_NTS), stmt);
  }
  SQLHDBC dbc() const { return connection_.dbc(); }

  DataDir dir_;
  Connection connection_;
};

struct Names {
  std::u16string table, column, table_as_written, column_as_written;
};

TEST_F(WideTest, NamesBeyondAsciiAreCreatedAndFoundInAnyCase) {
  const Names cases[] = {
      {u"Größe", u"Ärger", u"größe", u"ärger"},
      {u"Preis€", u"€Wert", u"PREIS€", u"€WERT"},
  };
  for (const Names& n : cases) {
    SCOPED_TRACE(&n - cases);
    Statement stmt(dbc());
    ExecW(stmt, u"CREATE TABLE " + n.table + u" (" + n.column + u" int)");
    ExecW(stmt, u"INSERT INTO " + n.table_as_written + u" (" + n.column_as_written + u") VALUES (1)");
    const std::u16string select = u"SELECT * FROM " + n.table_as_written;
    SQLFreeStmt(stmt, SQL_CLOSE);
    ASSERT_STMT_OK(SQLPrepareW(stmt, W(select), static_cast<SQLINTEGER>(select.size())), stmt);
    ASSERT_STMT_OK(SQLExecute(stmt), stmt);
    SQLWCHAR name[32] = {0};
    SQLSMALLINT chars = 0, bytes = 0;
    ASSERT_STMT_OK(SQLDescribeColW(stmt, 1, name, 32, &chars, nullptr, nullptr, nullptr, nullptr), stmt);
    EXPECT_EQ(FromW(name), n.column);
    EXPECT_EQ(chars, static_cast<SQLSMALLINT>(n.column.size()));
    ASSERT_STMT_OK(SQLColAttributeW(stmt, 1, SQL_DESC_BASE_TABLE_NAME, name, sizeof name, &bytes, nullptr), stmt);
    EXPECT_EQ(FromW(name), n.table);
    EXPECT_EQ(bytes, static_cast<SQLSMALLINT>(2 * n.table.size()));
    SQLFreeStmt(stmt, SQL_CLOSE);
    ASSERT_STMT_OK(SQLTablesW(stmt, nullptr, 0, nullptr, 0, W(n.table), SQL_NTS, nullptr, 0), stmt);
    ASSERT_STMT_OK(SQLFetch(stmt), stmt);
    SQLLEN indicator = 0;
    ASSERT_STMT_OK(SQLGetData(stmt, 3, SQL_C_WCHAR, name, sizeof name, &indicator), stmt);
    EXPECT_EQ(FromW(name), n.table);
  }
}

TEST_F(WideTest, CharacterOutsideTheCodePageBecomesQuestionMark) {
  Statement stmt(dbc());
  ExecW(stmt, u"SELECT 1 AS [a中b]");
  SQLWCHAR name[16] = {0};
  ASSERT_STMT_OK(SQLDescribeColW(stmt, 1, name, 16, nullptr, nullptr, nullptr, nullptr, nullptr), stmt);
  EXPECT_EQ(FromW(name), u"a?b");
}

// One string output: a call into a buffer of `size` units of the function
// (bytes or characters) that reports the full length in the same unit.
using Sized = std::function<SQLRETURN(SQLPOINTER buffer, SQLSMALLINT size, SQLLEN* length)>;

struct Output {
  const char* function;
  bool counts_bytes;
  std::u16string text;
  // Where 01004 is recorded; null for the diagnostic functions, which add
  // no record of their own.
  SQLSMALLINT handle_type;
  SQLHANDLE handle;
  Sized call;
};

// A call reporting its length as Len, as a Sized call.
template <class Len, class F>
Sized Reporting(F f) {
  return [f](SQLPOINTER buffer, SQLSMALLINT size, SQLLEN* length) {
    Len reported = 0;
    SQLRETURN rc = f(buffer, size, &reported);
    *length = reported;
    return rc;
  };
}

// Fills a buffer with a canary, calls, and checks what ODBC promises: the
// full length, as much as fits with a terminator, nothing past the room.
void CheckSizes(const Output& out) {
  SCOPED_TRACE(out.function);
  const size_t unit = out.counts_bytes ? 1 : 2;
  const size_t full = out.text.size();
  std::vector<SQLSMALLINT> sizes;
  if (out.counts_bytes) {
    sizes = {SQLSMALLINT(2 * full + 2), SQLSMALLINT(2 * full + 1), SQLSMALLINT(2 * full), 3, 2, 1, 0};
  } else {
    sizes = {SQLSMALLINT(full + 1), SQLSMALLINT(full), 2, 1, 0};
  }
  for (SQLSMALLINT size : sizes) {
    SCOPED_TRACE(size);
    std::vector<char16_t> buffer(full + 4, u'\xABAB');
    SQLLEN length = -1;
    SQLRETURN rc = out.call(buffer.data(), size, &length);
    size_t room = size * unit / 2;  // whole UTF-16 units
    size_t kept = room == 0 ? 0 : std::min(full, room - 1);
    bool cut = kept < full;
    EXPECT_EQ(rc, cut ? SQL_SUCCESS_WITH_INFO : SQL_SUCCESS);
    EXPECT_EQ(length, static_cast<SQLLEN>(out.counts_bytes ? 2 * full : full));
    if (room > 0) {
      EXPECT_EQ(std::u16string(buffer.data(), kept), out.text.substr(0, kept));
      EXPECT_EQ(buffer[kept], u'\0');
    }
    for (size_t i = room == 0 ? 0 : kept + 1; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], u'\xABAB') << i;
    if (out.handle && cut) {
      EXPECT_EQ(FirstState(out.handle_type, out.handle), "01004");
    }
  }
}

TEST_F(WideTest, StringOutputsAreCountedAndCutTheOdbcWay) {
  Statement stmt(dbc()), failed(dbc());
  ExecW(stmt, u"CREATE TABLE Größe (Ärger int)");
  ExecW(stmt, u"SELECT Ärger FROM Größe");
  EXPECT_EQ(SQLExecDirectW(failed, W(u"SELECT * FROM Größe_fehlt"), SQL_NTS), SQL_ERROR);
  const std::u16string message = u"[sqlsim][SQL Server]Invalid object name 'Größe_fehlt'.";
  const std::u16string escaped = u"SELECT {fn UCASE('Ä')}";
  SQLHSTMT s = stmt, f = failed;
  SQLHDBC c = dbc();
  const Output outputs[] = {
      {"SQLDescribeColW", false, u"Ärger", SQL_HANDLE_STMT, s, Reporting<SQLSMALLINT>([&](auto b, auto n, auto l) {
         return SQLDescribeColW(s, 1, static_cast<SQLWCHAR*>(b), n, l, nullptr, nullptr, nullptr, nullptr);
       })},
      {"SQLColAttributeW", true, u"Größe", SQL_HANDLE_STMT, s, Reporting<SQLSMALLINT>([&](auto b, auto n, auto l) {
         return SQLColAttributeW(s, 1, SQL_DESC_BASE_TABLE_NAME, b, n, l, nullptr);
       })},
      {"SQLGetDiagRecW", false, message, 0, nullptr, Reporting<SQLSMALLINT>([&](auto b, auto n, auto l) {
         SQLWCHAR state[6];
         SQLRETURN rc = SQLGetDiagRecW(SQL_HANDLE_STMT, f, 1, state, nullptr, static_cast<SQLWCHAR*>(b), n, l);
         EXPECT_EQ(FromW(state), u"42S02");
         return rc;
       })},
      {"SQLGetDiagFieldW", true, message, 0, nullptr, Reporting<SQLSMALLINT>([&](auto b, auto n, auto l) {
         return SQLGetDiagFieldW(SQL_HANDLE_STMT, f, 1, SQL_DIAG_MESSAGE_TEXT, b, n, l);
       })},
      {"SQLGetInfoW", true, u"sqlsim", SQL_HANDLE_DBC, c, Reporting<SQLSMALLINT>([&](auto b, auto n, auto l) {
         return SQLGetInfoW(c, SQL_DBMS_NAME, b, n, l);
       })},
      {"SQLGetConnectAttrW", true, u"t", SQL_HANDLE_DBC, c, Reporting<SQLINTEGER>([&](auto b, auto n, auto l) {
         return SQLGetConnectAttrW(c, SQL_ATTR_CURRENT_CATALOG, b, n, l);
       })},
      {"SQLNativeSqlW", false, u"SELECT UPPER('Ä')", SQL_HANDLE_DBC, c,
       Reporting<SQLINTEGER>([&](auto b, auto n, auto l) {
         return SQLNativeSqlW(c, W(escaped), SQL_NTS, static_cast<SQLWCHAR*>(b), n, l);
       })},
  };
  for (const Output& out : outputs) CheckSizes(out);
}

TEST_F(WideTest, DriverConnectHandsBackTheCompletedStringInCharacters) {
  const std::u16string in = Widen(ConnectionString(dir_)) + u";APP=Größe";
  Connection probe;
  std::u16string completed;
  SQLWCHAR out[512];
  SQLSMALLINT length = 0;
  ASSERT_ODBC_OK(SQLDriverConnectW(probe.dbc(), nullptr, W(in), SQL_NTS, out, 512, &length, SQL_DRIVER_NOPROMPT),
                 SQL_HANDLE_DBC, probe.dbc());
  completed = FromW(out);
  EXPECT_NE(completed.find(u"APP=Größe"), std::u16string::npos);
  EXPECT_EQ(length, static_cast<SQLSMALLINT>(completed.size()));
  SQLDisconnect(probe.dbc());
  SQLWCHAR small[6];
  ASSERT_EQ(SQLDriverConnectW(probe.dbc(), nullptr, W(in), SQL_NTS, small, 6, &length, SQL_DRIVER_NOPROMPT),
            SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(FromW(small), completed.substr(0, 5));
  EXPECT_EQ(length, static_cast<SQLSMALLINT>(completed.size()));
  SQLDisconnect(probe.dbc());
}

// A folder is UTF-8 bytes on Linux: one named with a letter the code page
// lacks (Ω) and one it has (ö, ß) is found from the UTF-16 connection
// string, the database made there is found again by a second connection,
// and the completed string gives the name back as it came.
TEST(WideConnectTest, DataDirBeyondTheCodePageIsFoundAndHandedBack) {
  DataDir root;
  const std::u16string folder = u"Ω-Größe";
  const std::filesystem::path data = root.path() / std::filesystem::path(folder);
  ASSERT_TRUE(std::filesystem::create_directory(data));
  const std::u16string in = u"DRIVER=sqlsim;DATADIR=" + Widen(root.path().string()) + u"/" + folder + u";DATABASE=t";
  std::u16string create = in + u";AUTOCREATE=1";
  Connection first, second;
  // Connected here, not by Connection: disconnected after the statements.
  struct Disconnect {
    SQLHDBC dbc;
    ~Disconnect() { SQLDisconnect(dbc); }
  } first_ends{first.dbc()}, second_ends{second.dbc()};
  SQLWCHAR out[1024];
  SQLSMALLINT length = 0;
  ASSERT_ODBC_OK(SQLDriverConnectW(first.dbc(), nullptr, W(create), SQL_NTS, out, 1024, &length, SQL_DRIVER_NOPROMPT),
                 SQL_HANDLE_DBC, first.dbc());
  const std::u16string completed = FromW(out);
  EXPECT_NE(completed.find(u"/" + folder + u";"), std::u16string::npos);
  EXPECT_EQ(length, static_cast<SQLSMALLINT>(completed.size()));
  {
    Statement stmt(first.dbc());
    ASSERT_STMT_OK(ExecDirect(stmt, "CREATE TABLE gefunden (n int) INSERT INTO gefunden VALUES (7)"), stmt);
  }
  EXPECT_TRUE(std::filesystem::exists(data / "t.db"));
  ASSERT_ODBC_OK(SQLDriverConnectW(second.dbc(), nullptr, W(in), SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT),
                 SQL_HANDLE_DBC, second.dbc());
  Statement select(second.dbc());
  ASSERT_STMT_OK(ExecDirect(select, "SELECT n FROM gefunden"), select);
  ASSERT_STMT_OK(SQLFetch(select), select);
  SQLINTEGER n = 0;
  ASSERT_STMT_OK(SQLGetData(select, 1, SQL_C_SLONG, &n, 0, nullptr), select);
  EXPECT_EQ(n, 7);
}

}  // namespace
}  // namespace odbctest
