// The reporter of failed ODBC calls against real diagnostics: sqlsim through
// the driver manager, on the library's own (ODBC 2) environment. What reached
// the event log and which message boxes were shown are read back from their
// files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/odbc_errors.h"
#include "frame/settings.h"
#include "include/lerv32.h"
#include "support/sqlsim_db.h"
#include "support/test_env.h"

namespace {

using testenv::ScopedEnv;

// The lines of a log, split at its tabs.
std::vector<std::vector<std::string>> Rows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : testenv::ReadLines(path)) {
    rows.emplace_back(1);
    for (char c : line) {
      if (c == '\t') rows.back().emplace_back();
      else rows.back().back() += c;
    }
  }
  return rows;
}

class OdbcErrorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string connect = testenv::SqlsimConnectString(temp_.Path(), "fehler");
    dbc_ = static_cast<SQLHDBC>(rv_OdbcDriverConnect(nullptr, connect.c_str()));
    ASSERT_NE(dbc_, nullptr);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocStmt(dbc_, &stmt_)));
    Run("CREATE TABLE T (Id int NOT NULL PRIMARY KEY)");
    Run("INSERT INTO T VALUES (1)");
    Run("EXECUTE sqlsim_fault 'clear'");
  }
  void TearDown() override {
    if (stmt_) SQLFreeStmt(stmt_, SQL_DROP);
    if (dbc_) rv_OdbcDisconnect(dbc_);
    lerv32::Display_Errors = saved_display_;
  }

  SQLRETURN Run(const std::string& sql) {
    SQLFreeStmt(stmt_, SQL_CLOSE);
    return SQLExecDirect(stmt_, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS);
  }

  testenv::TempDir temp_;
  // Entries as (time, level, source, text); boxes as (caption, text, buttons, answer).
  const std::string events_ = (temp_.Path() / "events.log").string();
  const std::string boxes_ = (temp_.Path() / "boxes.log").string();
  ScopedEnv event_log_{"LEBASE32_EVENTLOG", events_};
  ScopedEnv box_log_{"LERV32_MSGBOX_LOG", boxes_};
  ScopedEnv answers_{"LERV32_MSGBOX_ANSWERS", std::string()};
  int32_t saved_display_ = lerv32::Display_Errors;
  SQLHDBC dbc_ = nullptr;
  SQLHSTMT stmt_ = nullptr;
};

// Nothing pending reports nothing; a general error is logged, never shown.
TEST_F(OdbcErrorsTest, NothingPendingReportsNothingAndAGeneralErrorIsOnlyLogged) {
  lerv32::Display_Errors = 1;
  ASSERT_TRUE(SQL_SUCCEEDED(Run("SELECT 1")));
  EXPECT_EQ(lerv32::OdbcReportErrors(dbc_, stmt_, 0), 0);
  EXPECT_TRUE(Rows(events_).empty());
  EXPECT_TRUE(Rows(boxes_).empty());
  ASSERT_TRUE(SQL_SUCCEEDED(Run("EXECUTE sqlsim_fault 'execute', 'SELECT 2%', 1, 'HY000', 50000, 'kaputt'")));
  ASSERT_EQ(Run("SELECT 2"), SQL_ERROR);
  EXPECT_EQ(lerv32::OdbcReportErrors(dbc_, stmt_, 0), 0);
  std::vector<std::vector<std::string>> events = Rows(events_);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0][2], "S1000") << "the library is an ODBC 2 application";
  EXPECT_TRUE(Rows(boxes_).empty());
}

// A failed insert with a note: the driver manager hands out the error first,
// then the note and the server's "statement terminated": three records, the
// integrity flag set from the first on and sticky.
struct Case {
  const char* what;
  int32_t display;
  int32_t retry_pending;
  const char* answers;
  std::vector<std::string> shown;  // captions of the boxes
  std::vector<bool> key_line;      // box i carries the invalid-keys line
};

TEST_F(OdbcErrorsTest, BoxesFollowTheSettingTheRetryAndTheUsersAnswer) {
  const Case cases[] = {
      {"all shown", 1, 0, "", {"23000", "01000", "01000"}, {true, true, true}},
      {"retry pending: the violation and what follows are not shown", 1, 1, "", {}, {}},
      {"No on the first box stops the boxes", 1, 0, "N", {"23000"}, {true}},
      {"Yes goes on", 1, 0, "YY", {"23000", "01000", "01000"}, {true, true, true}},
      {"Display_Errors 0: log only", 0, 0, "", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testenv::WriteText(events_, "");
    testenv::WriteText(boxes_, "");
    ScopedEnv answers("LERV32_MSGBOX_ANSWERS", c.answers);
    lerv32::Display_Errors = c.display;
    ASSERT_TRUE(SQL_SUCCEEDED(Run("EXECUTE sqlsim_fault 'info', 'INSERT%', 1, '01000', 0, 'Hinweis'")));
    ASSERT_EQ(Run("INSERT INTO T VALUES (1)"), SQL_ERROR);
    EXPECT_EQ(lerv32::OdbcReportErrors(dbc_, stmt_, c.retry_pending), 1);
    std::vector<std::vector<std::string>> events = Rows(events_);
    ASSERT_EQ(events.size(), 3u) << "every record is logged";
    for (auto& event : events) event.erase(event.begin());  // the time
    EXPECT_EQ(events[0][0] + " " + events[0][1], "1 23000");
    EXPECT_NE(events[0][2].find("Violation of PRIMARY KEY constraint"), std::string::npos);
    EXPECT_EQ(events[1], (std::vector<std::string>{"1", "01000", "[sqlsim][SQL Server]Hinweis"}));
    EXPECT_EQ(events[2][1], "01000");
    std::vector<std::vector<std::string>> boxes = Rows(boxes_);
    ASSERT_EQ(boxes.size(), c.shown.size());
    for (size_t i = 0; i < boxes.size(); ++i) {
      ASSERT_EQ(boxes[i].size(), 4u);
      EXPECT_EQ(boxes[i][0], c.shown[i]);
      EXPECT_EQ(boxes[i][2], "Yes/No");
      const std::string& text = boxes[i][1];
      EXPECT_EQ(text.find("\\r\\nEs wurden ung\xc3\xbcltige Schl\xc3\xbcsselwerte \xc3\xbc" "bergeben") !=
                    std::string::npos,
                c.key_line[i]);
      const std::string more = "\\r\\nWeitere Folgemeldungen anzeigen ?";
      ASSERT_GE(text.size(), more.size());
      EXPECT_EQ(text.substr(text.size() - more.size()), more);
    }
    // The diagnostics are consumed.
    EXPECT_EQ(lerv32::OdbcReportErrors(dbc_, stmt_, 0), 0);
  }
}

}  // namespace
