// The server goes away in the middle of a walk, a cursor, a blob transfer
// and a script: every call fails with its failure value, the library gives
// back every statement it took (the driver's trace of SQLSIM_ODBC_TRACE
// balances), the connection can be given back, and once the server is there
// again a new connection does the whole job.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "faults/fault_support.h"
#include "frame/settings.h"
#include "include/lerv32.h"
#include "platform/win_api.h"
#include "records/record_db.h"
#include "support/sqlsim_db.h"
#include "tabledef/definition_file.h"

namespace {

constexpr int kRecords = 120;

// Statements the driver handed out and got back since the trace had offset
// bytes.
long StatementsNotGivenBack(size_t offset) {
  const std::string trace = testenv::ReadText(std::getenv("SQLSIM_ODBC_TRACE"));
  long open = 0;
  for (size_t at = trace.find('\n', offset == 0 ? 0 : offset - 1); at != std::string::npos;
       at = trace.find('\n', at + 1)) {
    const std::string line = trace.substr(at + 1, trace.find('\n', at + 1) - at - 1);
    if (line.find("SQL_SUCCESS") == std::string::npos) continue;
    if (line.rfind("SQLAllocHandle(STMT) ", 0) == 0) ++open;
    if (line.rfind("SQLFreeHandle(STMT) ", 0) == 0) --open;
  }
  return open;
}

size_t TraceSize() { return testenv::ReadText(std::getenv("SQLSIM_ODBC_TRACE")).size(); }

class ConnectionLostTest : public ::testing::TestWithParam<int>, public recordtest::RecordDb {
 protected:
  // The trace of earlier runs goes; the driver opens the file for each line.
  static void SetUpTestSuite() {
    if (const char* trace = std::getenv("SQLSIM_ODBC_TRACE")) std::remove(trace);
  }

  void SetUp() override {
    ASSERT_NE(std::getenv("SQLSIM_ODBC_TRACE"), nullptr);
    lerv32::ApplyDefinitionLines(td_.get(), {"ALIAS=WEG", "FIELD=NR,N,8", "FIELD=NAME,C,20", "KEY=NR_KEY,NR"});
    lerv32::ExSQL_Enabled = 1;
    lerv32::Display_Errors = 0;
    SQLHDBC setup = Open("weg", 1);
    ASSERT_NE(setup, nullptr);
    for (int nr = 1; nr <= kRecords; ++nr) {
      ASSERT_NE(rv_OdbcAppendRecord(setup, td_.get(), Record({std::to_string(nr), "Name"}).data()), 0);
    }
    ASSERT_TRUE(recordtest::RunScript(setup, testenv::ReadText(LERV32_BLOBS_SQL)));
    td_->ExLevel = GetParam();
  }

  void TearDown() override { Clear(); }

  void* NewConnection() {
    return rv_OdbcDriverConnect(nullptr, testenv::SqlsimConnectString(temp_.Path(), "weg").c_str());
  }
  // The link is lost at the next call of kind (execute, fetch, getdata,
  // putdata) that where matches, and count times in all.
  void Lose(void* dbc, const std::string& kind, const std::string& where, const std::string& count = "100000") {
    const std::string rule =
        "EXECUTE sqlsim_fault '" + kind + "', '" + where + "', " + count + ", '08S01', 10054, 'Verbindung weg'";
    ASSERT_EQ(rv_CallStatement(dbc, rule.c_str(), nullptr, 0), 1) << rule;
  }
  // The server is back.
  void Clear() {
    void* dbc = NewConnection();
    rv_CallStatement(dbc, "EXECUTE sqlsim_fault 'clear'", nullptr, 0);
    rv_OdbcDisconnect(dbc);
  }
  // Gives back a connection the server left, then walks the table whole on
  // a new one.
  void GiveBackAndWalkAgain(void* dbc, size_t trace_from) {
    EXPECT_EQ(StatementsNotGivenBack(trace_from), 0) << "statements left behind";
    EXPECT_EQ(rv_OdbcDisconnect(dbc), SQL_SUCCESS);
    Clear();
    void* again = NewConnection();
    ASSERT_NE(again, nullptr);
    int walked = 0;
    for (int32_t id = rv_OdbcFirstRecId(again, td_.get(), 0); id != 0; id = rv_OdbcNextRecId(again, td_.get(), 0, id)) {
      ++walked;
    }
    EXPECT_EQ(walked, kRecords);
    rv_OdbcDisconnect(again);
  }
};

TEST_P(ConnectionLostTest, AWalk) {
  const size_t from = TraceSize();
  void* dbc = NewConnection();
  int32_t id = rv_OdbcFirstRecId(dbc, td_.get(), 0);
  for (int i = 0; i < 10; ++i) id = rv_OdbcNextRecId(dbc, td_.get(), 0, id);
  ASSERT_NE(id, 0);
  Lose(dbc, "execute", "%");
  int32_t page[50] = {};
  std::vector<char> record(64, '#');
  EXPECT_EQ(rv_OdbcNextRecId(dbc, td_.get(), 0, id), 0);
  EXPECT_EQ(rv_OdbcPrevNext50(dbc, td_.get(), id, page, 0, 0), 0);
  EXPECT_EQ(rv_OdbcGetRecord(dbc, td_.get(), id, record.data()), 0);
  EXPECT_EQ(record, std::vector<char>(64, '#')) << "nothing written into the caller's record";
  EXPECT_EQ(rv_OdbcFindFirstRecId(dbc, td_.get(), 0, "       5", 8), 0);
  GiveBackAndWalkAgain(dbc, from);
}

TEST_P(ConnectionLostTest, ACursor) {
  const size_t from = TraceSize();
  void* dbc = NewConnection();
  for (int flags : {DB_OPEN_BOOKMARKS, 0}) {
    SCOPED_TRACE(flags);
    void* cursor = rv_StmtOpenSQL(dbc, "SELECT NR, NAME FROM WEG ORDER BY NR", nullptr, flags);
    ASSERT_NE(cursor, nullptr);
    std::vector<char> row(static_cast<size_t>(rv_StmtGetRecordSize(cursor)));
    for (int i = 0; i < 5; ++i) ASSERT_EQ(rv_StmtFetch(cursor, row.data(), DB_GETNEXT), 1);
    // The next value read from the server fails, as a broken link does.
    Lose(dbc, "fetch", "0");
    int fetched = 0;
    while (rv_StmtFetch(cursor, row.data(), DB_GETNEXT) == 1 && fetched < kRecords) ++fetched;
    char state[10] = {};
    rv_StmtGetErrorCode(cursor, state, nullptr);
    EXPECT_EQ(fetched, 0);
    EXPECT_STREQ(state, "08S01");
    rv_StmtClose(cursor);
    Clear();
  }
  GiveBackAndWalkAgain(dbc, from);
}

// Lost after part of a row or part of a page was read: the call fails with
// its failure value and the caller's buffers keep what they held, never a
// record with blank fields or a short page that looks like the table's end.
// (A cursor's row read in part: FailureReportTest.ACursorFetchWhoseReadFailsGivesNoRow.)
TEST_P(ConnectionLostTest, MidRowOrMidPage) {
  void* dbc = NewConnection();
  const int32_t id = rv_OdbcFirstRecId(dbc, td_.get(), 0);
  ASSERT_NE(id, 0);
  for (const char* passed : {"0", "1"}) {
    SCOPED_TRACE(passed);
    Lose(dbc, "getdata", passed);
    std::vector<char> record(64, '#');
    EXPECT_EQ(rv_OdbcGetRecord(dbc, td_.get(), id, record.data()), 0);
    EXPECT_EQ(record, std::vector<char>(64, '#'));
    Clear();
  }
  // A page stepped record by record (no key table) and one from the key
  // table's procedure, the sixth fetch failing.
  testenv::TableDefPtr keyed = testenv::NewTableDef();
  lerv32::ApplyDefinitionLines(keyed.get(), {"ALIAS=SEITE", "USEKEYTAB=1", "FIELD=NR,N,8", "KEY=NR_KEY,NR"});
  keyed->ExLevel = GetParam();
  ASSERT_EQ(rv_CreateTable(dbc, keyed.get(), 1, nullptr), 1);
  for (int nr = 1; nr <= 60; ++nr) {
    const std::string value = std::to_string(nr);
    std::vector<char> rec(8, ' ');
    std::memcpy(rec.data() + 8 - value.size(), value.data(), value.size());
    ASSERT_NE(rv_OdbcAppendRecord(dbc, keyed.get(), rec.data()), 0);
  }
  for (TableDef* td : {td_.get(), keyed.get()}) {
    SCOPED_TRACE(td->TableName);
    int32_t page[50];
    const int32_t first = rv_OdbcFirstRecId(dbc, td, 0);
    ASSERT_EQ(rv_OdbcPrevNext50(dbc, td, first, page, 0, 0), 50);
    std::fill(std::begin(page), std::end(page), -7);
    Lose(dbc, "fetch", "5");
    EXPECT_EQ(rv_OdbcPrevNext50(dbc, td, first, page, 0, 0), 0);
    EXPECT_EQ(std::count(std::begin(page), std::end(page), -7), 50) << "page entries written";
    Clear();
  }
  rv_OdbcDisconnect(dbc);
}

TEST_P(ConnectionLostTest, ABlobTransfer) {
  const size_t from = TraceSize();
  void* dbc = NewConnection();
  const std::vector<char> first(3 << 20, 'a'), second(3 << 20, 'b');
  const int32_t blob_id = killtest::NewBlob(dbc, first.data(), first.size());
  ASSERT_NE(blob_id, 0);
  // Lost while sending: the blob stays as it was.
  Lose(dbc, "putdata", "", "1");
  HGLOBAL block = killtest::GlobalBlock(second.data(), second.size());
  EXPECT_NE(rv_OdbcUpdateBlobFromHGlobal(dbc, blob_id, block), 0);
  GlobalFree(block);
  Clear();
  HGLOBAL read = nullptr;
  ASSERT_EQ(rv_OdbcSelectBlobToHGlobal(dbc, blob_id, &read), 0);
  EXPECT_EQ(std::memcmp(GlobalLock(read), first.data(), first.size()), 0) << "the blob mixes versions";
  EXPECT_EQ(GlobalSize(read), first.size());
  GlobalUnlock(read);
  GlobalFree(read);
  // Lost while receiving: no block, and a file of that name stays as it was.
  const std::string file = temp_.File("blob.bin");
  testenv::WriteText(file, "vorher");
  Lose(dbc, "getdata", "1");
  EXPECT_NE(rv_OdbcSelectBlobToFile(dbc, blob_id, file.c_str()), 0);
  EXPECT_EQ(testenv::ReadText(file), "vorher");
  EXPECT_NE(rv_OdbcSelectBlobToHGlobal(dbc, blob_id, &read), 0);
  EXPECT_EQ(read, nullptr);
  GiveBackAndWalkAgain(dbc, from);
}

TEST_P(ConnectionLostTest, AScript) {
  const size_t from = TraceSize();
  void* dbc = NewConnection();
  const std::string script = temp_.File("skript.sql");
  testenv::WriteText(script,
                     "CREATE TABLE ERSTER (A int)\r\nGO\r\nCREATE TABLE ZWEITER (A int)\r\nGO\r\n"
                     "CREATE TABLE DRITTER (A int)\r\nGO\r\n");
  Lose(dbc, "execute", "%ZWEITER%");
  char errors[512] = {};
  EXPECT_EQ(rv_CallSqlFile(dbc, nullptr, script.c_str(), errors, sizeof errors), 0);
  EXPECT_NE(std::strstr(errors, "Verbindung weg"), nullptr) << errors;
  Clear();
  EXPECT_NE(recordtest::QueryText(static_cast<SQLHDBC>(dbc), "SELECT OBJECT_ID('ERSTER')"), "<null>");
  EXPECT_EQ(recordtest::QueryText(static_cast<SQLHDBC>(dbc), "SELECT OBJECT_ID('DRITTER')"), "<null>")
      << "the script went on after the failing batch";
  GiveBackAndWalkAgain(dbc, from);
}

INSTANTIATE_TEST_SUITE_P(Paths, ConnectionLostTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return param.param ? std::string("Procedures") : std::string("Plain");
                         });

}  // namespace
