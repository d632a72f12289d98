// A statement that fails midway (the link lost as a row is fetched, a
// COMMIT that runs out of time): the call gives its failure value and the
// failure is in the event log, never "no further record", "not found", or an
// id of a record that is not kept.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "support/sqlsim_db.h"
#include "tabledef/definition_file.h"

#include <sqlext.h>

namespace {

using recordtest::Count;
using recordtest::QueryText;
using recordtest::RunScript;

constexpr int kRecords = 5;

class FailureReportTest : public ::testing::Test, public recordtest::RecordDb {
 protected:
  void SetUp() override {
    lerv32::ApplyDefinitionLines(td_.get(),
                                 {"ALIAS=MELDUNG", "FIELD=NR,N,8", "FIELD=NAME,C,10", "KEY=NR_KEY,NR", "KEY=NAME_KEY,NAME"});
    lerv32::ExSQL_Enabled = 1;
    lerv32::Display_Errors = 0;
    plain_ = Open("plain", 0);
    procs_ = Open("tsql", 1);
    for (SQLHDBC dbc : {plain_, procs_}) {
      td_->ExLevel = dbc == plain_ ? 0 : 1;
      for (int nr = 1; nr <= kRecords; ++nr) {
        ASSERT_NE(rv_OdbcAppendRecord(dbc, td_.get(), Record({std::to_string(nr), "n" + std::to_string(nr)}).data()), 0);
      }
    }
  }

  // The connection of level: plain SQL at 0, the procedures above.
  SQLHDBC Use(int32_t level, int32_t append_ex = 0) {
    td_->ExLevel = level;
    td_->AppendEx = append_ex;
    return level == 0 ? plain_ : procs_;
  }
  // The next execution ("execute") or fetch ("fetch") of a statement like
  // pattern fails with state; the event log starts empty.
  void FailNext(SQLHDBC dbc, const std::string& kind, const std::string& pattern, const char* state) {
    ASSERT_TRUE(RunScript(dbc, "EXECUTE sqlsim_fault '" + kind + "', '" + pattern + "', 1, '" + state + "', 10054"));
    testenv::WriteText(events_, "");
  }
  // Manual-commit mode off (true) or on (false): whether the switch took.
  static bool Autocommit(SQLHDBC dbc, bool on) {
    const SQLULEN mode = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    return SQL_SUCCEEDED(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(mode), 0));
  }
  void ClearFaults(SQLHDBC dbc) { ASSERT_TRUE(RunScript(dbc, "EXECUTE sqlsim_fault 'clear'")); }
  bool Reported(const char* state) const { return Count(Events(), std::string("\t1\t") + state + "\t") > 0; }
  int Rows(SQLHDBC dbc) const { return std::stoi(QueryText(dbc, "SELECT count(*) FROM MELDUNG")); }

  SQLHDBC plain_ = nullptr;
  SQLHDBC procs_ = nullptr;
};

struct Lookup {
  const char* what;
  int32_t level;  // 2: through the prepared set
  const char* kind;
  const char* pattern;
  std::function<int32_t(SQLHDBC, const TableDef*)> call;
};

const std::vector<Lookup> kLookups = {
    {"FindFirstRecId, plain", 0, "fetch", "SELECT TOP 1 RecId%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcFindFirstRecId(d, t, 0, "       3", 8); }},
    {"FindLastRecId, plain", 0, "fetch", "SELECT TOP 1 RecId%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcFindLastRecId(d, t, 1, "n3", 2); }},
    {"FindFirstRecId, up_FindF_ fetch", 1, "fetch", "%up_FindF_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcFindFirstRecId(d, t, 1, "n3", 2); }},
    {"FindFirstRecId, up_FindF_ execute", 1, "execute", "%up_FindF_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcFindFirstRecId(d, t, 1, "n3", 2); }},
    {"FindLastRecId, up_FindL_ fetch", 1, "fetch", "%up_FindL_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcFindLastRecId(d, t, 1, "n3", 2); }},
    {"FindLastRecId, up_FindL_ execute", 1, "execute", "%up_FindL_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcFindLastRecId(d, t, 1, "n3", 2); }},
    {"FirstRecIdEx", 2, "fetch", "%up_First_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcFirstRecIdEx(d, t, 0); }},
    {"LastRecIdEx", 2, "fetch", "%up_Last_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcLastRecIdEx(d, t, 0); }},
    {"NextRecIdEx", 2, "fetch", "%up_Next_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcNextRecIdEx(d, t, 0, 2); }},
    {"PriorRecIdEx", 2, "fetch", "%up_Prior_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcPriorRecIdEx(d, t, 0, 2); }},
    {"FindFirstRecIdEx", 2, "fetch", "%up_FindF_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcFindFirstRecIdEx(d, t, 1, "n3", 2); }},
    {"FindLastRecIdEx", 2, "fetch", "%up_FindL_%", [](SQLHDBC d, const TableDef* t) { return rv_OdbcFindLastRecIdEx(d, t, 1, "n3", 2); }},
};

TEST_F(FailureReportTest, AFailedLookupIsReportedNotTakenForNoRecord) {
  for (const Lookup& c : kLookups) {
    SCOPED_TRACE(c.what);
    SQLHDBC dbc = Use(c.level);
    if (c.level == 2) {
      rv_OdbcPrepareAll(td_.get(), dbc);
      ASSERT_NE(rv_GetSqlRecPtr(td_.get()), nullptr);
    }
    ASSERT_NE(c.call(dbc, td_.get()), 0) << "found without a fault";
    FailNext(dbc, c.kind, c.pattern, "08S01");
    EXPECT_EQ(c.call(dbc, td_.get()), 0);
    EXPECT_TRUE(Reported("08S01")) << Events();
    ClearFaults(dbc);
    if (c.level == 2) rv_OdbcUnprepareAll(td_.get());
  }
}

struct Append {
  const char* what;
  int32_t level;
  int32_t append_ex;
  const char* id_statement;  // the statement whose row tells the new id
  bool kept;                 // stored whole by the one statement whose answer is lost
};

// The new id cannot be fetched. A blank record the host was not told of
// goes again; a record stored whole by one statement stays, and the report
// tells the host it may be there.
TEST_F(FailureReportTest, AnAppendWhoseIdIsLostIsReported) {
  const Append cases[] = {
      {"plain SQL", 0, 0, "SELECT TOP 1 RecId%", false},
      {"up_Add_ then up_Upd_", 1, 0, "%up_Add_%", false},
      {"up_Append_", 1, 1, "%up_Append_%", true},
  };
  for (const Append& c : cases) {
    SCOPED_TRACE(c.what);
    SQLHDBC dbc = Use(c.level, c.append_ex);
    const int rows = Rows(dbc);
    FailNext(dbc, "fetch", c.id_statement, "08S01");
    EXPECT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), Record({"77", "neu"}).data()), 0);
    EXPECT_TRUE(Reported("08S01")) << Events();
    ClearFaults(dbc);
    EXPECT_EQ(Rows(dbc), rows + (c.kept ? 1 : 0));
    EXPECT_EQ(QueryText(dbc, "SELECT @@TRANCOUNT"), "0") << "a transaction left open";
  }
}

// The COMMIT of a two-step append runs out of time once: the append gives 0
// and is reported, the transaction it began is gone, and the appends after
// it outlast the connection.
TEST_F(FailureReportTest, AnAppendWhoseCommitFailsLeavesNoTransactionOpen) {
  for (int32_t level : {0, 1}) {
    SCOPED_TRACE(level);
    const std::string database = level == 0 ? "plain" : "tsql";
    void* dbc = rv_OdbcDriverConnect(nullptr, testenv::SqlsimConnectString(temp_.Path(), database).c_str());
    ASSERT_NE(dbc, nullptr);
    Use(level);
    const int rows = Rows(static_cast<SQLHDBC>(dbc));
    FailNext(static_cast<SQLHDBC>(dbc), "execute", "%COMMIT%", "HYT00");
    EXPECT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), Record({"88", "verloren"}).data()), 0);
    EXPECT_TRUE(Reported("S1T00")) << Events() << " (the ODBC 2 name of HYT00)";
    ClearFaults(static_cast<SQLHDBC>(dbc));
    for (int i = 0; i < 3; ++i) EXPECT_NE(rv_OdbcAppendRecord(dbc, td_.get(), Record({"89", "danach"}).data()), 0);
    EXPECT_EQ(QueryText(static_cast<SQLHDBC>(dbc), "SELECT @@TRANCOUNT"), "0");
    rv_OdbcDisconnect(dbc);
    EXPECT_EQ(Rows(Use(level)), rows + 3);
  }
}

// Inside a transaction of the caller's, a failed append takes back only what
// it did (its blank record too, whose id it may never have learnt): the
// caller's transaction stays at its level with its own changes.
TEST_F(FailureReportTest, AFailedAppendInTheCallersTransactionKeepsItsLevel) {
  const struct {
    int32_t level;
    const char* kind;
    const char* pattern;
  } cases[] = {
      {0, "execute", "UPDATE%"},
      {1, "execute", "%up_Upd_%"},
      {0, "fetch", "SELECT TOP 1 RecId%"},
      {1, "fetch", "%up_Add_%"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.level) + " " + c.kind + " " + c.pattern);
    SQLHDBC dbc = Use(c.level);
    const int rows = Rows(dbc);
    ASSERT_TRUE(RunScript(dbc, "BEGIN TRANSACTION"));
    ASSERT_NE(rv_OdbcAppendRecord(dbc, td_.get(), Record({"90", "vorher"}).data()), 0);
    FailNext(dbc, c.kind, c.pattern, "08S01");
    EXPECT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), Record({"91", "nicht"}).data()), 0);
    EXPECT_TRUE(Reported("08S01")) << Events();
    ClearFaults(dbc);
    EXPECT_EQ(QueryText(dbc, "SELECT @@TRANCOUNT"), "1");
    ASSERT_TRUE(RunScript(dbc, "COMMIT TRANSACTION"));
    EXPECT_EQ(Rows(dbc), rows + 1);
  }
}

// On a connection in manual-commit mode an append through the procedures is
// part of the caller's transaction: a failed one takes back only itself, a
// good one goes with the caller's commit or rollback, and the caller's own
// rows with it. (A plain-SQL append switches the connection to autocommit.)
TEST_F(FailureReportTest, AnAppendInManualCommitModeLeavesTheCallersTransactionToTheCaller) {
  const struct {
    bool fails;
    SQLSMALLINT end;
    int kept;  // rows of the caller's and of the append after the caller's end
  } cases[] = {{true, SQL_COMMIT, 1}, {false, SQL_ROLLBACK, 0}, {false, SQL_COMMIT, 1}};
  SQLHDBC dbc = Use(1);
  ASSERT_TRUE(RunScript(dbc, "CREATE TABLE Eigene (N int NOT NULL)"));
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.fails ? "failing" : "good") + (c.end == SQL_COMMIT ? ", commit" : ", rollback"));
    const int rows = Rows(dbc);
    ASSERT_TRUE(Autocommit(dbc, false));
    ASSERT_TRUE(RunScript(dbc, "INSERT INTO Eigene VALUES (1)"));
    if (c.fails) FailNext(dbc, "execute", "%up_Upd_%", "08S01");
    EXPECT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), Record({"92", "neu"}).data()) != 0, !c.fails);
    ClearFaults(dbc);
    SQLEndTran(SQL_HANDLE_DBC, dbc, c.end);
    Autocommit(dbc, true);
    EXPECT_EQ(QueryText(dbc, "SELECT count(*) FROM Eigene"), std::to_string(c.kept)) << "the caller's row";
    EXPECT_EQ(Rows(dbc), rows + (c.fails ? 0 : c.kept)) << "the appended record";
    RunScript(dbc, "DELETE FROM Eigene");
  }
}

// An update or delete that is the first statement of manual-commit mode
// opens the caller's transaction: it succeeds, and the caller's end keeps or
// takes back the change.
TEST_F(FailureReportTest, ChangesOpeningTheManualCommitTransactionFollowTheCallersEnd) {
  for (int32_t level : {0, 1}) {
    for (bool update : {true, false}) {
      for (SQLSMALLINT end : {SQL_ROLLBACK, SQL_COMMIT}) {
        SCOPED_TRACE(std::string(level ? "procedures, " : "plain, ") + (update ? "update, " : "delete, ") +
                     (end == SQL_COMMIT ? "commit" : "rollback"));
        SQLHDBC dbc = Use(level);
        const int rows = Rows(dbc);
        const int32_t rec_id = rv_OdbcFindFirstRecId(dbc, td_.get(), 0, "       3", 8);
        ASSERT_NE(rec_id, 0);
        ASSERT_TRUE(Autocommit(dbc, false));
        EXPECT_EQ(update ? rv_OdbcUpdateRecord(dbc, td_.get(), rec_id, Record({"3", "neu"}).data())
                         : rv_OdbcDeleteRecord(dbc, td_.get(), rec_id),
                  1);
        SQLEndTran(SQL_HANDLE_DBC, dbc, end);
        Autocommit(dbc, true);
        const bool kept = end == SQL_COMMIT;
        if (update) {
          EXPECT_EQ(QueryText(dbc, "SELECT count(*) FROM MELDUNG WHERE NAME = 'neu'"), kept ? "1" : "0");
          RunScript(dbc, "UPDATE MELDUNG SET NAME = 'n3' WHERE NR = 3");
        } else {
          EXPECT_EQ(Rows(dbc), rows - (kept ? 1 : 0));
          if (kept) {
            ASSERT_NE(rv_OdbcAppendRecord(dbc, td_.get(), Record({"3", "n3"}).data()), 0);
          }
        }
      }
    }
  }
}

struct BookmarkCase {
  const char* what;
  int32_t flags;
  const char* passed;  // reads let through before the failing one
};

// A read of the row fails, the bookmark's among them: the fetch fails, the
// buffer and the kept row stay as they were, there is no row to give again,
// and the bookmark given before still leads to its row.
TEST_F(FailureReportTest, ACursorFetchWhoseReadFailsGivesNoRow) {
  const BookmarkCase cases[] = {
      {"bookmark", DB_OPEN_BOOKMARKS, "0"},
      {"value, with bookmarks", DB_OPEN_BOOKMARKS, "1"},
      {"value", 0, "0"},
      {"the second value", 0, "1"},
  };
  for (const BookmarkCase& c : cases) {
    SCOPED_TRACE(c.what);
    void* cursor = rv_StmtOpenSQL(plain_, "SELECT NR, NAME FROM MELDUNG ORDER BY NR", nullptr, c.flags);
    ASSERT_NE(cursor, nullptr);
    std::vector<char> first(static_cast<size_t>(rv_StmtGetRecordSize(cursor)), '#');
    ASSERT_EQ(rv_StmtFetch(cursor, first.data(), DB_GETFIRST), 1);
    const int32_t mark = rv_StmtGetBookmark(cursor);
    ASSERT_TRUE(RunScript(plain_, std::string("EXECUTE sqlsim_fault 'getdata', '") + c.passed + "', 1, '08S01', 10054"));
    std::vector<char> row = first;
    EXPECT_EQ(rv_StmtFetch(cursor, row.data(), DB_GETNEXT), 0);
    EXPECT_EQ(row, first) << "the buffer was written";
    EXPECT_EQ(rv_StmtGetBookmark(cursor), 0) << "on no row";
    char state[10] = {};
    rv_StmtGetErrorCode(cursor, state, nullptr);
    EXPECT_STREQ(state, "08S01");
    EXPECT_EQ(rv_StmtFetch(cursor, row.data(), DB_GETSAME), 0) << "no row to give again";
    EXPECT_EQ(row, first);
    ClearFaults(plain_);
    if (c.flags == DB_OPEN_BOOKMARKS) {
      std::vector<char> again(row.size(), '#');
      EXPECT_EQ(rv_StmtFetch(cursor, again.data(), mark), 1);
      EXPECT_EQ(again, first) << "the first row's bookmark leads elsewhere";
    }
    rv_StmtClose(cursor);
  }
}

}  // namespace
