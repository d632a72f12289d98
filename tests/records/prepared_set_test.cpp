// Prepared statement sets on sqlsim: every field type travels through the
// set exactly as through the unprepared calls, and a set is used only while
// it is its definition's own, current and on the connection it was prepared
// on; everything it holds goes back when it goes.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "support/sqlsim_db.h"
#include "support/test_env.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace {

using recordtest::Count;
using recordtest::RunScript;

// Every type letter, values at their limits (b above 127, x wider than four
// bytes, dates before 1900), and a row whose every non-key column is NULL.
const std::vector<std::string> kTypeLines = {
    "ALIAS=TYP",      "EXLEVEL=2",      "FIELD=T,C,10",   "FIELD=U,u,6",    "FIELD=V,c,8",
    "FIELD=DA,D",     "FIELD=O,o",      "FIELD=L,L",      "FIELD=ND,N,9,2", "FIELD=NI,N,6,0",
    "FIELD=NW,N,10,0", "FIELD=B,b",     "FIELD=S,s",      "FIELD=LL,l",     "FIELD=X,x,4",
    "FIELD=XW,x,6",   "FIELD=NC,n,7,2", "FIELD=D,d",      "KEY=K_T,T",      "KEY=K_TL,T,LL"};

const char* const kTypeRows =
    "INSERT INTO TYP (RecId, T, U, V, DA, O, L, ND, NI, NW, B, S, LL, X, XW, NC, D) VALUES\r\n"
    " (1, 'abc', 'ABC', 'x y', '2020-05-01', '2020-05-01', 1, -12.5, -9999, 1234567890, 0, -32768, -2147483648, -5,"
    " -2147483648, -123.45, -1e70),\r\n"
    " (2, 'M\xfcller', 'M\xdc', 'x', '1850-01-01', '1900-01-01', 0, 99999.99, 99999, -999999999, 128, 32767,"
    " 2147483647, 123456, 2147483647, 123.45, 1.4),\r\n"
    " (3, 'Zz', 'Z', '', '9999-12-31', '2049-12-31', 1, 0.01, 0, 0, 255, 0, 0, 0, 0, 0.05, 1e-300),\r\n"
    " (4, 'null', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 7, NULL, NULL, NULL, NULL)\r\n";

class PreparedSetTest : public ::testing::TestWithParam<int>, public recordtest::RecordDb {
 protected:
  SQLHDBC Make(const std::string& database) {
    std::vector<std::string> lines = kTypeLines;
    if (GetParam()) lines.push_back("USEKEYTAB=1");
    td_ = testenv::NewTableDef();
    lerv32::ApplyDefinitionLines(td_.get(), lines);
    lerv32::ExSQL_Enabled = 1;
    SQLHDBC dbc = Connect(database);
    EXPECT_EQ(rv_CreateTable(dbc, td_.get(), 1, nullptr), 1);
    EXPECT_TRUE(RunScript(dbc, kTypeRows));
    return dbc;
  }
  std::vector<char> ReadEx(SQLHDBC dbc, int32_t rec_id, std::vector<char> record) const {
    EXPECT_EQ(rv_OdbcGetRecordEx(dbc, td_.get(), rec_id, record.data()), 1) << rec_id;
    return record;
  }
  // Calls of the library's own ODBC trace since MarkTrace.
  void MarkTrace() {
    trace_start_ = std::filesystem::exists(library_trace_) ? std::filesystem::file_size(library_trace_) : 0;
  }
  size_t Calls(const char* call) const {
    std::ifstream in(library_trace_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(trace_start_));
    return Count(std::string(std::istreambuf_iterator<char>(in), {}), call);
  }
  const std::string library_trace_ = testenv::GetEnv("LERV32_ODBC_TRACE");
  uintmax_t trace_start_ = 0;
};

TEST_P(PreparedSetTest, EveryTypeTravelsAsThroughTheUnpreparedCalls) {
  SQLHDBC dbc = Make("types");
  rv_OdbcPrepareAll(td_.get(), dbc);
  ASSERT_NE(rv_GetSqlRecPtr(td_.get()), nullptr);
  for (int32_t oem : {0, 1}) {
    lerv32::OemConvert = oem;
    for (int32_t r = 1; r <= 4; ++r) {
      SCOPED_TRACE("row " + std::to_string(r) + (oem ? " OEM" : ""));
      const std::vector<char> expected = Read(dbc, r);
      // Over the values of another record: a NULL leaves none of them.
      EXPECT_EQ(ReadEx(dbc, r, ReadEx(dbc, 1, Blank('?'))), expected);
      // Into the buffers only, then scanned twice.
      ASSERT_EQ(rv_OdbcGetRecordEx(dbc, td_.get(), r, nullptr), 1);
      std::vector<char> first = Blank('?'), second = Blank('?');
      EXPECT_EQ(rv_OdbcScanSqlRec(td_.get(), first.data()), 1);
      EXPECT_EQ(rv_OdbcScanSqlRec(td_.get(), second.data()), 1);
      EXPECT_EQ(first, expected);
      EXPECT_EQ(second, expected);
      // Written back through the set: appended, updated to another row,
      // deleted.
      const int32_t id = rv_OdbcAppendRecordEx(dbc, td_.get(), expected.data());
      ASSERT_GT(id, 4);
      EXPECT_EQ(Read(dbc, id), expected);
      const std::vector<char> other = Read(dbc, r % 3 + 1);
      EXPECT_EQ(rv_OdbcUpdateRecordEx(dbc, td_.get(), id, other.data()), 1);
      EXPECT_EQ(Read(dbc, id), other);
      EXPECT_EQ(rv_OdbcDeleteRecordEx(dbc, td_.get(), id), 1);
      std::vector<char> gone = Blank('?');
      EXPECT_EQ(rv_OdbcGetRecordEx(dbc, td_.get(), id, gone.data()), 0);
      EXPECT_EQ(gone, Blank('?'));
    }
  }
  // The set's own statements ran, with their parameters.
  const std::string trace = Trace();
  EXPECT_EQ(Count(trace, "EXECUTE\tEXECUTE [up_Sel_TYP] ?\t4\n"), 4u);
  EXPECT_EQ(Count(trace, "EXECUTE\tEXECUTE [up_Del_TYP] ?\t"), 8u);
  EXPECT_EQ(Count(trace, "PREPARE\tEXECUTE [up_Append_TYP] ?,?"), 1u);
  EXPECT_EQ(Boxes(), std::vector<std::string>{});
}

// The switches and the connection decide, per call, whether the set is used.
TEST_P(PreparedSetTest, SetUsedOnlyWhereItMayBe) {
  SQLHDBC dbc = Make("use");
  struct Case { const char* what; int32_t level, enabled; bool prepared; const char* read; } cases[] = {
      {"level 2", 2, 1, true, "EXECUTE\tEXECUTE [up_Sel_TYP] ?\t2\n"},
      {"level 1", 1, 1, false, "PREPARE\tEXECUTE [up_Sel_TYP] 2\nEXECUTE\tEXECUTE [up_Sel_TYP] 2\n"},
      {"level 0", 0, 1, false, "PREPARE\tSELECT [T],"},
      {"switched off", 2, 0, true, "PREPARE\tSELECT [T],"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    td_->ExLevel = c.level;
    lerv32::ExSQL_Enabled = c.enabled;
    rv_OdbcPrepareAll(td_.get(), dbc);
    EXPECT_EQ(rv_GetSqlRecPtr(td_.get()) != nullptr, c.prepared);
    const std::string before = Trace();
    const std::vector<char> record = ReadEx(dbc, 2, Blank('?'));
    EXPECT_EQ(Trace().substr(before.size()).rfind(c.read, 0), 0u);
    EXPECT_EQ(record, Read(dbc, 2));
  }
  // Prepared on one database, given another's connection: that one's record.
  td_->ExLevel = 2;
  lerv32::ExSQL_Enabled = 1;
  rv_OdbcPrepareAll(td_.get(), dbc);
  SQLHDBC other = Connect("other");
  ASSERT_EQ(rv_CreateTable(other, td_.get(), 1, nullptr), 1);
  ASSERT_TRUE(RunScript(other, "INSERT INTO TYP (RecId, T, LL) VALUES (2, 'anderer', 1)\r\n"));
  EXPECT_EQ(ReadEx(other, 2, Blank('?')), Read(other, 2));
  EXPECT_EQ(rv_OdbcFirstRecIdEx(other, td_.get(), 0), 2);
  EXPECT_EQ(rv_OdbcFirstRecIdEx(dbc, td_.get(), 0), 1);
  // A key number beyond the keys gives 0; a negative one is RecId order.
  EXPECT_EQ(rv_OdbcFirstRecIdEx(dbc, td_.get(), 2), 0);
  EXPECT_EQ(rv_OdbcLastRecIdEx(dbc, td_.get(), -1), 4);
  EXPECT_EQ(rv_OdbcNextRecIdEx(dbc, td_.get(), -1, 2), 3);
}

// A definition changed after preparing no longer matches its set's
// statements and buffers; a server whose read procedure changed meanwhile
// gives a read with other columns.
TEST_P(PreparedSetTest, StaleSetIsNeverUsed) {
  SQLHDBC dbc = Make("stale");
  rv_OdbcPrepareAll(td_.get(), dbc);
  ASSERT_NE(rv_GetSqlRecPtr(td_.get()), nullptr);
  std::vector<char> record = Read(dbc, 1);
  EXPECT_EQ(rv_OdbcFillSqlRec(td_.get(), record.data()), 1);
  ASSERT_EQ(rv_AddKeyDef(td_.get(), "K_S,S"), 1);
  EXPECT_EQ(rv_OdbcFillSqlRec(td_.get(), record.data()), 0);
  EXPECT_EQ(rv_OdbcScanSqlRec(td_.get(), record.data()), 0);
  const std::string before = Trace();
  EXPECT_EQ(rv_OdbcLastRecIdEx(dbc, td_.get(), 2), 0) << "the new key has no procedures yet";
  EXPECT_EQ(ReadEx(dbc, 1, Blank('?')), record);
  EXPECT_NE(Trace().find("EXECUTE\tEXECUTE [up_Sel_TYP] 1", before.size()), std::string::npos);
  td_->KeyCnt = 2;
  ASSERT_EQ(rv_OdbcFillSqlRec(td_.get(), record.data()), 1);
  ASSERT_TRUE(RunScript(dbc, "DROP PROCEDURE up_Sel_TYP\r\nGO\r\nCREATE PROCEDURE up_Sel_TYP @RI integer AS\r\n"
                             "SELECT T, U FROM TYP WHERE RecId = @RI\r\nGO\r\n"));
  std::vector<char> untouched = Blank('?');
  EXPECT_EQ(rv_OdbcGetRecordEx(dbc, td_.get(), 1, untouched.data()), 0);
  EXPECT_EQ(untouched, Blank('?'));
}

TEST_P(PreparedSetTest, EverythingGoesBackWithTheSet) {
  SQLHDBC dbc = Make("life");
  const std::string file = temp_.File("typ.def");
  ASSERT_EQ(rv_SaveTableDef(td_.get(), file.c_str()), 1);
  const int32_t blocks = rv_GetMemUsage(1);
  MarkTrace();
  rv_OdbcPrepareAll(td_.get(), dbc);
  rv_OdbcPrepareAll(td_.get(), dbc);
  EXPECT_EQ(rv_GetMemUsage(1), blocks + 1);
  EXPECT_EQ(Calls("SQLAllocStmt"), 2 * (4 + 6 * 2u));
  rv_OdbcUnprepareAll(td_.get());
  EXPECT_EQ(rv_GetSqlRecPtr(td_.get()), nullptr);
  rv_OdbcUnprepareAll(td_.get());
  rv_OdbcPrepareAll(td_.get(), dbc);
  ASSERT_EQ(rv_LoadTableDef(td_.get(), file.c_str()), 1);
  EXPECT_EQ(rv_GetSqlRecPtr(td_.get()), nullptr);
  // A copy carries the original's pointer but not its set: used nowhere,
  // freed with the copy without touching the original's.
  rv_OdbcPrepareAll(td_.get(), dbc);
  TableDef* copy = rv_AllocTableDef();
  std::memcpy(copy, td_.get(), sizeof *copy);
  std::vector<char> record = Read(dbc, 1);
  EXPECT_EQ(rv_OdbcFillSqlRec(copy, record.data()), 0);
  EXPECT_EQ(rv_GetSqlRecPtr(copy), nullptr);
  rv_FreeTableDef(copy);
  EXPECT_EQ(rv_OdbcFillSqlRec(td_.get(), record.data()), 1);
  // Freed with its definition, and with its connection.
  TableDef* loaded = rv_AllocTableDef();
  ASSERT_EQ(rv_LoadTableDef(loaded, file.c_str()), 1);
  rv_OdbcPrepareAll(loaded, dbc);
  ASSERT_NE(rv_GetSqlRecPtr(loaded), nullptr);
  rv_FreeTableDef(loaded);
  SQLHDBC second = static_cast<SQLHDBC>(
      rv_OdbcDriverConnect(nullptr, testenv::SqlsimConnectString(temp_.Path(), "life").c_str()));
  ASSERT_NE(second, nullptr);
  rv_OdbcPrepareAll(td_.get(), second);
  ASSERT_NE(rv_GetSqlRecPtr(td_.get()), nullptr);
  rv_OdbcDisconnect(second);
  EXPECT_EQ(rv_GetSqlRecPtr(td_.get()), nullptr);
  EXPECT_EQ(ReadEx(dbc, 1, Blank('?')), record);
  EXPECT_EQ(rv_GetMemUsage(1), blocks);
  EXPECT_EQ(Calls("SQLAllocStmt"), Calls("SQLFreeStmt")) << "statements left";
}

INSTANTIATE_TEST_SUITE_P(Forms, PreparedSetTest, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& p) { return p.param ? "KeyTables" : "Direct"; });

}  // namespace
