// A server that stops answering in the middle: every record call fails with
// its failure value and a report, and no caller's record is half-written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "support/sqlsim_db.h"
#include "support/table_defs.h"
#include "support/test_env.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace {

using testenv::ScopedEnv;

class ServerGoneTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    lerv32::ApplyDefinitionLines(td_.get(), {"ALIAS=WEG", "FIELD=NAME,C,10", "FIELD=BETRAG,N,8,2", "FIELD=DATUM,D",
                                             "KEY=NAME_KEY,NAME"});
    dbc_ = rv_OdbcDriverConnect(
        nullptr, testenv::SqlsimConnectString(temp_.Path().string(), "weg", (temp_.Path() / "t").string()).c_str());
    ASSERT_NE(dbc_, nullptr);
    char errors[512];
    ASSERT_EQ(rv_CallSqlFile(dbc_, nullptr, LERV32_DPXFUNC_SQL, errors, sizeof errors), 1) << errors;
    ASSERT_EQ(rv_CreateTable(dbc_, td_.get(), 1, nullptr), 1);
    lerv32::ExSQL_Enabled = 1;
    td_->ExLevel = GetParam();
    record_.assign(static_cast<size_t>(lerv32::RecordSize(td_.get())), ' ');
    rv_FieldFromString(td_.get(), 0, record_.data(), "Erster");
    rv_FieldFromString(td_.get(), 1, record_.data(), "12.50");
    rv_FieldFromString(td_.get(), 2, record_.data(), "2024-01-31");
    rec_id_ = rv_OdbcAppendRecord(dbc_, td_.get(), record_.data());
    ASSERT_NE(rec_id_, 0);
    lerv32::Display_Errors = 1;
  }
  void TearDown() override {
    rv_CallStatement(dbc_, "EXECUTE sqlsim_fault 'clear'", nullptr, 0);
    if (dbc_) rv_OdbcDisconnect(dbc_);
    lerv32::ExSQL_Enabled = saved_enabled_;
    lerv32::Display_Errors = saved_display_;
  }

  testenv::TempDir temp_;
  const std::string events_ = (temp_.Path() / "events.log").string();
  ScopedEnv event_log_{"LEBASE32_EVENTLOG", events_};
  ScopedEnv boxes_{"LERV32_MSGBOX_LOG", (temp_.Path() / "boxes.log").string()};
  testenv::TableDefPtr td_ = testenv::NewTableDef();
  LERV32_HDBC dbc_ = nullptr;
  std::vector<char> record_;
  int32_t rec_id_ = 0;
  int32_t saved_enabled_ = lerv32::ExSQL_Enabled;
  int32_t saved_display_ = lerv32::Display_Errors;
};

TEST_P(ServerGoneTest, EveryCallFailsReportsAndLeavesTheRecordWhole) {
  // From now on every statement (but sqlsim's own fault commands) fails as a
  // broken link does.
  ASSERT_EQ(rv_CallStatement(dbc_, "EXECUTE sqlsim_fault 'execute', '%', 1000, '08S01', 0, 'Verbindung weg'",
                             nullptr, 0),
            1);
  std::vector<char> read = record_;
  read[0] = '#';
  const std::vector<char> before = read;
  EXPECT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), rec_id_, read.data()), 0);
  EXPECT_EQ(read, before) << "nothing of the record written";
  EXPECT_EQ(rv_OdbcFirstRecId(dbc_, td_.get(), 0), 0);
  EXPECT_EQ(rv_OdbcNextRecId(dbc_, td_.get(), 0, rec_id_), 0);
  EXPECT_EQ(rv_OdbcLastRecId(dbc_, td_.get(), -1), 0);
  EXPECT_EQ(rv_OdbcAppendRecord(dbc_, td_.get(), record_.data()), 0);
  EXPECT_EQ(rv_OdbcDeleteRecord(dbc_, td_.get(), rec_id_), 0);
  rv_OdbcReorg(dbc_, td_.get());
  const std::string events = testenv::ReadText(events_);
  EXPECT_NE(events.find("Verbindung weg"), std::string::npos) << "the failures are in the event log";
  // The link comes back: the record is there as it was written.
  ASSERT_EQ(rv_CallStatement(dbc_, "EXECUTE sqlsim_fault 'clear'", nullptr, 0), 1);
  std::vector<char> again(record_.size(), '#');
  ASSERT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), rec_id_, again.data()), 1);
  EXPECT_EQ(again, record_);
}

INSTANTIATE_TEST_SUITE_P(Paths, ServerGoneTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& param) {
                           return param.param ? std::string("Procedures") : std::string("Plain");
                         });

}  // namespace
