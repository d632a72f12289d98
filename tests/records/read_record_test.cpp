// Reading records through the library from sqlsim, on tables made by the
// generated scripts: both paths (plain SELECT and up_Sel_), every field type,
// the statement texts as the trace shows them, and the cases that read
// nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "records/record_db.h"
#include "include/lerv32.h"
#include "support/sqlsim_db.h"
#include "support/table_defs.h"
#include "support/test_env.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

#include <sql.h>
#include <sqlext.h>

namespace {

using recordtest::CreateScript;
using recordtest::RunScript;
using testenv::ScopedEnv;

const std::vector<std::string> kLines = {
    "ALIAS=LESEN", "EXLEVEL=1",     "FIELD=NAME,C,10", "FIELD=GROSS,u,8", "FIELD=NOTIZ,c,12", "FIELD=DATUM,D",
    "FIELD=ALT,o",  "FIELD=AKTIV,L", "FIELD=MENGE,N,8", "FIELD=BETRAG,N,10,2", "FIELD=STUFE,b", "FIELD=KURS,d,0,2",
    "FIELD=NR,l",   "FIELD=ANZ,s",   "FIELD=GEPACKT,n,5,2", "FIELD=BIN,x,3", "KEY=NAME_KEY,NAME"};

class ReadRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lerv32::ApplyDefinitionLines(td_.get(), kLines);
    std::string connect = testenv::SqlsimConnectString(temp_.Path().string(), "lesen", trace_);
    dbc_ = static_cast<SQLHDBC>(rv_OdbcDriverConnect(nullptr, connect.c_str()));
    ASSERT_NE(dbc_, nullptr);
    ASSERT_TRUE(RunScript(dbc_, testenv::ReadText(LERV32_DPXFUNC_SQL)));
    ASSERT_TRUE(RunScript(dbc_, CreateScript(td_.get(), 1)));
    ASSERT_TRUE(RunScript(dbc_, "INSERT INTO LESEN (RecId, NAME, GROSS, NOTIZ, DATUM, ALT, AKTIV, MENGE, BETRAG, STUFE, "
                                "KURS, NR, ANZ, GEPACKT, BIN) VALUES (7, 'M\xfcller', 'GROSS', 'exakt 12 Zei', "
                                "'2024-02-29', '1999-12-31', 1, 12345678, -1234.56, 200, 2.5, -7, -300, 123.45, 4660)\r\n"
                                "INSERT INTO LESEN (RecId, DATUM, ALT) VALUES (8, '1900-01-01', '1899-12-31')\r\n"));
    lerv32::ExSQL_Enabled = 1;
  }
  void TearDown() override {
    if (dbc_) rv_OdbcDisconnect(dbc_);
    lerv32::ExSQL_Enabled = saved_enabled_;
    lerv32::OemConvert = saved_oem_;
  }

  std::vector<std::string> Texts(const std::vector<char>& record) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < td_->FieldCnt; ++i) {
      char text[300] = {};
      rv_FieldToString(td_.get(), i, record.data(), text);
      out.push_back(text);
    }
    return out;
  }
  std::vector<char> NewRecord(char fill) { return std::vector<char>(static_cast<size_t>(lerv32::RecordSize(td_.get())), fill); }

  testenv::TempDir temp_;
  const std::string trace_ = (temp_.Path() / "trace.txt").string();
  ScopedEnv event_log_{"LEBASE32_EVENTLOG", (temp_.Path() / "events.log").string()};
  testenv::TableDefPtr td_ = testenv::NewTableDef();
  SQLHDBC dbc_ = nullptr;
  int32_t saved_enabled_ = lerv32::ExSQL_Enabled;
  int32_t saved_oem_ = lerv32::OemConvert;
};

TEST_F(ReadRecordTest, EveryTypeReadsOnBothPaths) {
  lerv32::OemConvert = 0;
  for (int32_t level : {0, 1}) {
    SCOPED_TRACE(level ? "up_Sel_" : "plain SELECT");
    td_->ExLevel = level;
    std::vector<char> record = NewRecord('?');
    ASSERT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), 7, record.data()), 1);
    EXPECT_EQ(Texts(record), (std::vector<std::string>{"M\xfcller", "GROSS", "exakt 12 Zei", "2024-02-29", "1999-12-31",
                                                      "1", "12345678", "-1234.56", "200", "2.50", "-7", "-300", "123.45",
                                                      "4660"}));
    // Text is blank-padded to the field and never terminated.
    EXPECT_EQ(std::string(record.data(), 10), "M\xfcller    ");
    EXPECT_EQ(std::string(record.data() + td_->Fields[2].Offset, 12), "exakt 12 Zei");
    // The stored empty date and anything before it read as the empty date.
    ASSERT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), 8, record.data()), 1);
    EXPECT_EQ(rv_FieldToLong(td_.get(), 3, record.data()), 0);
    EXPECT_EQ(rv_FieldToLong(td_.get(), 4, record.data()), 0);
  }
  std::string trace = testenv::ReadText(trace_);
  EXPECT_NE(trace.find("EXECUTE\tSELECT [NAME],[GROSS],[NOTIZ],[DATUM],[ALT],[AKTIV],[MENGE],[BETRAG],[STUFE],[KURS],"
                       "[NR],[ANZ],[GEPACKT],[BIN] FROM [LESEN] WHERE RecId = 7"),
            std::string::npos);
  EXPECT_NE(trace.find("EXECUTE\tEXECUTE [up_Sel_LESEN] 7"), std::string::npos);
}

TEST_F(ReadRecordTest, OemConvertGivesTheHostsCodePage) {
  lerv32::OemConvert = 1;
  td_->ExLevel = 0;
  std::vector<char> record = NewRecord(' ');
  ASSERT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), 7, record.data()), 1);
  EXPECT_EQ(std::string(record.data(), 10), "M\x81ller    ") << "u umlaut is 0x81 in code page 850";
}

TEST_F(ReadRecordTest, NothingReadLeavesTheRecordAsItWas) {
  const std::vector<char> before = NewRecord('\xAB');
  struct Case {
    const char* what;
    int32_t level;
    int32_t rec_id;
    bool reported;
  } cases[] = {
      {"no such record, plain", 0, 99, false},
      {"no such record, procedure", 1, 99, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    td_->ExLevel = c.level;
    std::vector<char> record = before;
    EXPECT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), c.rec_id, record.data()), 0);
    EXPECT_EQ(record, before);
  }
  // A definition with a field more than the table: the column count differs.
  td_->ExLevel = 0;
  ASSERT_GE(rv_AddFieldDef(td_.get(), "FEHLT,C,5"), 0);
  std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td_.get())), '\xAB');
  const std::vector<char> wider = record;
  EXPECT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), 7, record.data()), 0) << "plain: the SELECT names a missing column";
  EXPECT_EQ(record, wider);
  td_->ExLevel = 1;
  EXPECT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), 7, record.data()), 0) << "up_Sel_ has one column less";
  EXPECT_EQ(record, wider);
  // Null arguments.
  EXPECT_EQ(rv_OdbcGetRecord(nullptr, td_.get(), 7, record.data()), 0);
  EXPECT_EQ(rv_OdbcGetRecord(dbc_, nullptr, 7, record.data()), 0);
  EXPECT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), 7, nullptr), 0);
}

TEST_F(ReadRecordTest, MissingProcedureIsReported) {
  lerv32::Display_Errors = 0;
  td_->ExLevel = 1;
  ASSERT_TRUE(RunScript(dbc_, "DROP PROCEDURE up_Sel_LESEN\r\n"));
  std::vector<char> record = NewRecord(' ');
  EXPECT_EQ(rv_OdbcGetRecord(dbc_, td_.get(), 7, record.data()), 0);
  std::string events = testenv::ReadText((temp_.Path() / "events.log").string());
  EXPECT_NE(events.find("Could not find stored procedure 'up_Sel_LESEN'"), std::string::npos) << events;
}

}  // namespace

namespace {

// An x field wider than 4 bytes over a bigint column of a table made by
// hand: the record gets the whole value back, as it was written.
TEST(WideBinaryReadTest, ABigintColumnGivesBackWhatItHolds) {
  testenv::TempDir temp;
  testenv::TableDefPtr td = testenv::NewTableDef();
  std::strcpy(td->TableName, "WEIT");
  td->ExLevel = 0;
  ASSERT_EQ(rv_AddFieldDef(td.get(), "WERT,x,8"), 1);
  SQLHDBC dbc = static_cast<SQLHDBC>(
      rv_OdbcDriverConnect(nullptr, testenv::SqlsimConnectString(temp.Path().string(), "weit").c_str()));
  ASSERT_NE(dbc, nullptr);
  ASSERT_TRUE(RunScript(dbc, "CREATE TABLE WEIT (RecId integer NOT NULL PRIMARY KEY, WERT bigint)\r\n"));
  const std::string values[] = {std::string("\0\0\0\x01\x2A\x05\xF2\0", 8),         // 5e9
                                std::string("\xFF\xFF\xFF\xFE\xD5\xFA\x0E\0", 8),  // -5e9
                                std::string("\xFF\xFF\xFF\xFF\x80\0\0\0", 8)};     // -2^31
  for (const std::string& value : values) {
    const int32_t rec_id = rv_OdbcAppendRecord(dbc, td.get(), value.data());
    ASSERT_GT(rec_id, 0);
    std::string back(8, '#');
    EXPECT_EQ(rv_OdbcGetRecord(dbc, td.get(), rec_id, back.data()), 1);
    EXPECT_EQ(back, value);
  }
  rv_OdbcDisconnect(dbc);
}

}  // namespace
