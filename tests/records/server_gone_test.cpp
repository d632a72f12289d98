// A server that stops answering in the middle: every record call fails with
// its failure value and a report, and no caller's record is half-written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace {

class ServerGoneTest : public ::testing::TestWithParam<int>, public recordtest::RecordDb {};

TEST_P(ServerGoneTest, EveryCallFailsReportsAndLeavesTheRecordWhole) {
  lerv32::ApplyDefinitionLines(td_.get(), {"ALIAS=WEG", "FIELD=NAME,C,10", "FIELD=BETRAG,N,8,2", "FIELD=DATUM,D",
                                           "KEY=NAME_KEY,NAME"});
  SQLHDBC dbc = Connect("weg");
  char errors[512];
  ASSERT_EQ(rv_CallSqlFile(dbc, nullptr, LERV32_DPXFUNC_SQL, errors, sizeof errors), 1) << errors;
  ASSERT_EQ(rv_CreateTable(dbc, td_.get(), 1, nullptr), 1);
  lerv32::ExSQL_Enabled = 1;
  lerv32::Display_Errors = 1;
  td_->ExLevel = GetParam();
  const std::vector<char> record = Record({"Erster", "12.50", "2024-01-31"});
  const int32_t rec_id = rv_OdbcAppendRecord(dbc, td_.get(), record.data());
  ASSERT_NE(rec_id, 0);
  // From now on every statement (but sqlsim's own fault commands) fails as a
  // broken link does.
  ASSERT_EQ(rv_CallStatement(dbc, "EXECUTE sqlsim_fault 'execute', '%', 1000, '08S01', 0, 'Verbindung weg'", nullptr,
                             0),
            1);
  std::vector<char> read(record.size(), '#');
  EXPECT_EQ(rv_OdbcGetRecord(dbc, td_.get(), rec_id, read.data()), 0);
  EXPECT_EQ(read, std::vector<char>(record.size(), '#')) << "nothing of the record written";
  EXPECT_EQ(rv_OdbcFirstRecId(dbc, td_.get(), 0), 0);
  EXPECT_EQ(rv_OdbcNextRecId(dbc, td_.get(), 0, rec_id), 0);
  EXPECT_EQ(rv_OdbcLastRecId(dbc, td_.get(), -1), 0);
  EXPECT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), record.data()), 0);
  EXPECT_EQ(rv_OdbcDeleteRecord(dbc, td_.get(), rec_id), 0);
  rv_OdbcReorg(dbc, td_.get());
  EXPECT_NE(Events().find("Verbindung weg"), std::string::npos) << "the failures are in the event log";
  // The link comes back: the record is there as it was written.
  ASSERT_EQ(rv_CallStatement(dbc, "EXECUTE sqlsim_fault 'clear'", nullptr, 0), 1);
  EXPECT_EQ(Read(dbc, rec_id), record);
}

INSTANTIATE_TEST_SUITE_P(Paths, ServerGoneTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& p) { return p.param ? "Procedures" : "Plain"; });

}  // namespace
