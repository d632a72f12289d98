// Reading and writing records through the library on sqlsim, on tables made
// by the generated scripts, on each path: every field type, the statement
// texts as the trace shows them, the append retry, failures and what they
// report.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace {

using recordtest::Count;
using recordtest::QueryText;
using recordtest::RunScript;

const std::vector<std::string> kLines = {
    "ALIAS=LESEN",     "EXLEVEL=1",         "FIELD=NAME,C,10", "FIELD=GROSS,u,8",   "FIELD=NOTIZ,c,12",
    "FIELD=DATUM,D",   "FIELD=ALT,o",       "FIELD=AKTIV,L",   "FIELD=MENGE,N,8",   "FIELD=BETRAG,N,10,2",
    "FIELD=STUFE,b",   "FIELD=KURS,d,0,2",  "FIELD=NR,l",      "FIELD=ANZ,s",       "FIELD=GEPACKT,n,5,2",
    "FIELD=BIN,x,3"};
const std::vector<std::string> kValuesA = {"M\xfcller", "GROSS", "exakt 12 Zei", "2024-02-29", "1999-12-31", "1",
                                           "12345678", "-1234.56", "200", "2.50", "-7", "-300", "123.45", "4660"};
const std::vector<std::string> kValuesB = {"", "klein", "x", "", "", "0", "-5", "0.01", "0", "-1.25",
                                           "2147483647", "32767", "-999.99", "-1"};
// kValuesA as the server holds them (Windows-1252), then the empty dates.
const char kInsertA[] = "INSERT INTO LESEN (RecId, NAME, GROSS, NOTIZ, DATUM, ALT, AKTIV, MENGE, BETRAG, STUFE, KURS, "
                        "NR, ANZ, GEPACKT, BIN) VALUES (7, 'M\xfcller', 'GROSS', 'exakt 12 Zei', '2024-02-29', "
                        "'1999-12-31', 1, 12345678, -1234.56, 200, 2.5, -7, -300, 123.45, 4660)\r\n"
                        "INSERT INTO LESEN (RecId, DATUM, ALT) VALUES (8, '1900-01-01', '1899-12-31')\r\n";
const char kMarkers[] = "?,?,?,?,?,?,?,?,?,?,?,?,?,?";  // one per field
const char kColumns[] = "[NAME]=?,[GROSS]=?,[NOTIZ]=?,[DATUM]=?,[ALT]=?,[AKTIV]=?,[MENGE]=?,[BETRAG]=?,[STUFE]=?,"
                        "[KURS]=?,[NR]=?,[ANZ]=?,[GEPACKT]=?,[BIN]=?";
const char kSelect[] = "[NAME],[GROSS],[NOTIZ],[DATUM],[ALT],[AKTIV],[MENGE],[BETRAG],[STUFE],[KURS],[NR],[ANZ],"
                       "[GEPACKT],[BIN] FROM [LESEN] WHERE RecId = ";

struct Path {
  const char* what;
  int32_t level;
  int32_t append_ex;
  std::vector<std::string> statements;  // as the trace shows them
};

const Path kPaths[] = {
    {"plain SQL",
     0,
     1,
     {"SELECT TOP 1 RecId FROM [LESEN] ORDER BY RecId DESC", "INSERT INTO [LESEN] (RecId) VALUES (1)",
      std::string("UPDATE [LESEN] SET ") + kColumns + " WHERE RecId = 1", std::string("SELECT ") + kSelect + "7"}},
    {"up_Add_ then up_Upd_",
     1,
     0,
     {"EXECUTE [up_Add_LESEN]", std::string("EXECUTE [up_Upd_LESEN] 1,") + kMarkers, "EXECUTE [up_Sel_LESEN] 7"}},
    {"up_Append_", 1, 1, {std::string("EXECUTE [up_Append_LESEN] ") + kMarkers}},
};

class RecordAccessTest : public ::testing::Test, public recordtest::RecordDb {
 protected:
  void SetUp() override {
    lerv32::ApplyDefinitionLines(td_.get(), kLines);
    lerv32::ExSQL_Enabled = 1;
    lerv32::OemConvert = 0;
    lerv32::Display_Errors = 1;
    plain_ = Open("standard", 0);
    procs_ = Open("tsql", 1);
  }
  // Procedures with ExLevel 1, plain SQL with 0.
  SQLHDBC Use(int32_t level, int32_t append_ex) {
    td_->ExLevel = level;
    td_->AppendEx = append_ex;
    return level ? procs_ : plain_;
  }
  // Fields of read that differ from expected: dates by value (the empty date
  // has more than one form), the others byte by byte.
  std::vector<std::string> Differences(const std::vector<char>& read, const std::vector<char>& expected) const {
    std::vector<std::string> out;
    for (int32_t i = 0; i < td_->FieldCnt; ++i) {
      const FieldDef& f = td_->Fields[i];
      const bool same = f.Type == 'D' || f.Type == 'o'
                            ? rv_FieldToLong(td_.get(), i, read.data()) == rv_FieldToLong(td_.get(), i, expected.data())
                            : std::memcmp(read.data() + f.Offset, expected.data() + f.Offset, f.Len) == 0;
      if (!same) out.push_back(f.Name);
    }
    return out;
  }
  int Rows(SQLHDBC dbc) { return std::stoi(QueryText(dbc, "SELECT count(*) FROM LESEN")); }
  // The record read is neither found nor changed.
  void ExpectNothingRead(SQLHDBC dbc, int32_t rec_id) {
    std::vector<char> record = Blank('\xAB');
    EXPECT_EQ(rv_OdbcGetRecord(dbc, td_.get(), rec_id, record.data()), 0) << rec_id;
    EXPECT_EQ(record, Blank('\xAB'));
  }

  SQLHDBC plain_ = nullptr;
  SQLHDBC procs_ = nullptr;
};

// Also: text ends at a zero byte and travels in the server's code page.
TEST_F(RecordAccessTest, EveryTypeSurvivesAppendUpdateAndRead) {
  const int name = rv_FieldNo(td_.get(), "NAME");
  for (const Path& path : kPaths) {
    SCOPED_TRACE(path.what);
    SQLHDBC dbc = Use(path.level, path.append_ex);
    lerv32::OemConvert = 0;
    ASSERT_EQ(rv_OdbcZap(dbc, td_.get()), 1);
    const std::vector<char> a = Record(kValuesA);
    ASSERT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), a.data()), 1) << "an empty table starts at 1";
    EXPECT_EQ(Texts(Read(dbc, 1)), kValuesA);
    EXPECT_EQ(Read(dbc, 1), a) << "every byte back as it was, text blank-padded";
    EXPECT_EQ(QueryText(dbc, "SELECT NOTIZ + '|' FROM LESEN WHERE RecId = 1"), "exakt 12 Zei|");
    EXPECT_EQ(QueryText(dbc, "SELECT STUFE FROM LESEN WHERE RecId = 1"), "200");

    const std::vector<char> b = Record(kValuesB);
    ASSERT_EQ(rv_OdbcUpdateRecord(dbc, td_.get(), 1, b.data()), 1);
    EXPECT_EQ(Differences(Read(dbc, 1), b), std::vector<std::string>{});
    EXPECT_EQ(QueryText(dbc, "SELECT CONVERT(varchar(10), DATUM, 120) FROM LESEN WHERE RecId = 1"), "1900-01-01")
        << "the empty date is stored as 1900-01-01";
    EXPECT_EQ(QueryText(dbc, "SELECT CONVERT(varchar(10), ALT, 120) FROM LESEN WHERE RecId = 1"), "1900-01-01");

    // What another program wrote; the stored empty date and any before it
    // read as the empty date.
    ASSERT_TRUE(RunScript(dbc, kInsertA));
    EXPECT_EQ(Read(dbc, 7), a);
    td_->Fields[td_->FieldCnt] = td_->Fields[0];  // beyond the count: no column, nothing read into it
    EXPECT_EQ(Read(dbc, 7), a);
    td_->Fields[td_->FieldCnt] = FieldDef{};
    const std::vector<char> dates = Read(dbc, 8);
    EXPECT_EQ(rv_FieldToLong(td_.get(), 3, dates.data()) + rv_FieldToLong(td_.get(), 4, dates.data()), 0);
    for (const std::string& statement : path.statements) EXPECT_TRUE(Traced(statement)) << statement;
    testenv::WriteText(trace_, "");

    std::vector<char> record = Record(kValuesA);
    std::memcpy(record.data() + td_->Fields[name].Offset, "AB\0xyz\x81", 7);
    const int32_t cut = rv_OdbcAppendRecord(dbc, td_.get(), record.data());
    ASSERT_GT(cut, 0);
    EXPECT_EQ(QueryText(dbc, "SELECT RTRIM(NAME) + '|' FROM LESEN WHERE RecId = " + std::to_string(cut)), "AB|");
    std::memcpy(record.data() + td_->Fields[name].Offset, "M\x81ller    ", 10);
    lerv32::OemConvert = 1;
    const int32_t converted = rv_OdbcAppendRecord(dbc, td_.get(), record.data());
    ASSERT_GT(converted, 0);
    EXPECT_EQ(QueryText(dbc, "SELECT RTRIM(NAME) FROM LESEN WHERE RecId = " + std::to_string(converted)), "M\xfcller")
        << "0x81 in code page 850 is 0xFC in 1252";
    EXPECT_EQ(std::string(Read(dbc, converted).data(), 10), "M\x81ller    ");
  }
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(RecordAccessTest, DeleteZapAndMissingRecords) {
  for (const Path& path : kPaths) {
    SCOPED_TRACE(path.what);
    SQLHDBC dbc = Use(path.level, path.append_ex);
    ASSERT_EQ(rv_OdbcZap(dbc, td_.get()), 1);
    const std::vector<char> a = Record(kValuesA);
    for (int32_t expected : {1, 2, 3}) EXPECT_EQ(rv_OdbcAppendBlank(dbc, td_.get()), expected);
    EXPECT_EQ(rv_OdbcUpdateRecord(dbc, td_.get(), 99, a.data()), 1) << "a missing record is no failure";
    EXPECT_EQ(rv_OdbcDeleteRecord(dbc, td_.get(), 99), 1);
    ExpectNothingRead(dbc, 99);
    EXPECT_EQ(rv_OdbcDeleteRecord(dbc, td_.get(), 2), 1);
    EXPECT_EQ(Rows(dbc), 2);
    EXPECT_EQ(QueryText(dbc, "SELECT count(*) FROM LESEN WHERE RecId = 2"), "0");
    EXPECT_TRUE(Traced(path.level ? "EXECUTE [up_Del_LESEN] 2" : "DELETE FROM [LESEN] WHERE RecId = 2"));
    EXPECT_EQ(rv_OdbcZap(dbc, td_.get()), 1);
    EXPECT_EQ(Rows(dbc), 0);
    EXPECT_TRUE(Traced("DELETE FROM [LESEN]"));
  }
  EXPECT_TRUE(Events().empty()) << Events();
}

// With a tenant every call on either path works on the tenant's objects (the
// view M01_LESEN over M01$LESEN); the record of no tenant stays as it was.
TEST_F(RecordAccessTest, ATenantReachesOnlyItsOwnRecords) {
  const std::vector<char> a = Record(kValuesA);
  const std::vector<char> b = Record(kValuesB);
  std::vector<char> c = Record(kValuesA);
  rv_FieldFromString(td_.get(), 0, c.data(), "Mittel");
  ASSERT_EQ(rv_OdbcAppendRecord(Use(1, 1), td_.get(), a.data()), 1);
  rv_SetMandant("M01");
  td_->UseMandant = 1;
  ASSERT_EQ(rv_CreateTable(procs_, td_.get(), 1, nullptr), 1);
  for (const Path& path : kPaths) {
    SCOPED_TRACE(path.what);
    Use(path.level, path.append_ex);
    EXPECT_EQ(rv_OdbcZap(procs_, td_.get()), 1);
    EXPECT_EQ(rv_OdbcAppendRecord(procs_, td_.get(), b.data()), 1);
    EXPECT_EQ(Differences(Read(procs_, 1), b), std::vector<std::string>{});
    EXPECT_EQ(rv_OdbcUpdateRecord(procs_, td_.get(), 1, c.data()), 1);
    EXPECT_EQ(QueryText(procs_, "SELECT RTRIM(NAME) FROM [M01$LESEN] WHERE RecId = 1"), "Mittel");
    EXPECT_EQ(rv_OdbcDeleteRecord(procs_, td_.get(), 1), 1);
    EXPECT_EQ(QueryText(procs_, "SELECT count(*) FROM [M01$LESEN]"), "0");
    EXPECT_EQ(QueryText(procs_, "SELECT count(*) FROM ut_LESEN"), "1");
    EXPECT_EQ(QueryText(procs_, "SELECT RTRIM(NAME) FROM ut_LESEN WHERE RecId = 1"), "M\xfcller");
  }
}

// Every plain statement takes names that are no plain identifiers: a tenant
// with a blank, a table with a dash and a bracket, a field named BY. The
// table is made by hand: only the statements of record access are tested.
TEST_F(RecordAccessTest, PlainStatementsTakeAnyName) {
  testenv::TableDefPtr td = testenv::NewTableDef();
  lerv32::ApplyDefinitionLines(td.get(), {"ALIAS=ART-STAMM]", "EXLEVEL=0", "USEMANDANT=1", "FIELD=BY,C,1",
                                          "FIELD=VON-BIS],C,1", "KEY=BY_KEY,BY,VON-BIS]"});
  rv_SetMandant("Firma 1");
  ASSERT_TRUE(
      RunScript(plain_, "CREATE TABLE [Firma 1_ART-STAMM]]] (RecId integer, [BY] char(1), [VON-BIS]]] char(1))\r\n"));
  std::vector<char> record(2, ' ');
  auto with = [&](const char* values) {
    std::memcpy(record.data(), values, 2);
    return record.data();
  };
  const std::vector<int32_t> results = {
      rv_OdbcAppendRecord(plain_, td.get(), with("b1")),
      rv_OdbcAppendRecord(plain_, td.get(), with("a1")),
      rv_OdbcAppendRecord(plain_, td.get(), with("b0")),
      rv_OdbcFirstRecId(plain_, td.get(), 0),
      rv_OdbcNextRecId(plain_, td.get(), 0, 2),
      rv_OdbcNextRecId(plain_, td.get(), 0, 3),
      rv_OdbcPriorRecId(plain_, td.get(), 0, 1),
      rv_OdbcUpdateRecord(plain_, td.get(), 2, with("z9")),
      rv_OdbcLastRecId(plain_, td.get(), 0),
      rv_OdbcGetRecord(plain_, td.get(), 1, with("??")),
      rv_OdbcDeleteRecord(plain_, td.get(), 2),
      rv_OdbcLastRecId(plain_, td.get(), 0),
      rv_OdbcZap(plain_, td.get()),
      rv_OdbcFirstRecId(plain_, td.get(), -1)};
  EXPECT_EQ(results, (std::vector<int32_t>{1, 2, 3, 2, 3, 1, 3, 1, 2, 1, 1, 1, 1, 0}));
  EXPECT_EQ(std::string(record.data(), 2), "b1") << "record 1 as read";
  EXPECT_TRUE(Boxes().empty());
}

// Reorg renumbers in order; without the procedures (the standard form) a
// call through them fails with the server's message in the event log.
TEST_F(RecordAccessTest, ReorgRenumbersInOrderAndMissingProceduresAreReported) {
  SQLHDBC dbc = Use(1, 1);
  std::vector<char> record = Record(kValuesA);
  for (const char* name : {"eins", "zwei", "drei"}) {
    rv_FieldFromString(td_.get(), 0, record.data(), name);
    ASSERT_GT(rv_OdbcAppendRecord(dbc, td_.get(), record.data()), 0);
  }
  ASSERT_EQ(rv_OdbcDeleteRecord(dbc, td_.get(), 1), 1);
  td_->ExLevel = 0;  // reorg has no plain form: the level does not matter
  rv_OdbcReorg(dbc, td_.get());
  EXPECT_EQ(QueryText(dbc, "SELECT RTRIM(NAME) FROM LESEN WHERE RecId = 1"), "zwei");
  EXPECT_EQ(QueryText(dbc, "SELECT RTRIM(NAME) FROM LESEN WHERE RecId = 2"), "drei");
  EXPECT_TRUE(Traced("EXECUTE [up_Reorg_LESEN] 1,1"));
  lerv32::Display_Errors = 0;
  rv_OdbcReorg(plain_, td_.get());
  EXPECT_NE(Events().find("up_Reorg_LESEN"), std::string::npos) << Events();
  ASSERT_EQ(rv_OdbcAppendRecord(Use(0, 0), td_.get(), record.data()), 1);
  td_->ExLevel = 1;
  ExpectNothingRead(plain_, 1);
  EXPECT_NE(Events().find("Could not find stored procedure 'up_Sel_LESEN'"), std::string::npos) << Events();
}

struct Failure {
  const char* what;
  int32_t level;
  int32_t append_ex;  // 0 on the procedure path: a blank record through up_Add_
  const char* pattern;
  const char* state;
  int faults;
  bool appends;
  bool box;
};

// Integrity violations of a procedure append are retried 29 times, 40 ms
// apart, each attempt logged; only the last attempt's failure may be shown.
// Other failures are reported once and not retried.
TEST_F(RecordAccessTest, AppendFailuresAreRetriedOnlyWhenTheRecIdWasTaken) {
  const Failure cases[] = {
      {"up_Add_, every attempt fails", 1, 0, "%up_Add_%", "23000", 30, false, true},
      {"up_Add_, the last attempt works", 1, 0, "%up_Add_%", "23000", 29, true, false},
      {"up_Append_, every attempt fails", 1, 1, "%up_Append_%", "23000", 30, false, true},
      {"up_Append_, the last attempt works", 1, 1, "%up_Append_%", "23000", 29, true, false},
      {"up_Append_, deadlock victim", 1, 1, "%up_Append_%", "40001", 1, false, true},
      {"up_Append_, general error: logged, not shown", 1, 1, "%up_Append_%", "S1000", 1, false, false},
      {"up_Add_, deadlock victim", 1, 0, "%up_Add_%", "40001", 1, false, true},
      {"plain insert, a RecId taken meanwhile", 0, 0, "INSERT INTO [LESEN] (RecId)%", "23000", 1, false, true},
      {"prepared up_Append_, every attempt fails", 2, 1, "%up_Append_%", "23000", 30, false, true},
      {"prepared up_Append_, the last attempt works", 2, 1, "%up_Append_%", "23000", 29, true, false},
      {"prepared up_Append_, deadlock victim", 2, 1, "%up_Append_%", "40001", 1, false, true},
  };
  const std::vector<char> a = Record(kValuesA);
  for (const Failure& c : cases) {
    SCOPED_TRACE(c.what);
    SQLHDBC dbc = Use(c.level, c.append_ex);
    testenv::WriteText(events_, "");
    testenv::WriteText(boxes_, "");
    const int rows = Rows(dbc);
    ASSERT_TRUE(RunScript(dbc, "EXECUTE sqlsim_fault 'execute', '" + std::string(c.pattern) + "', " +
                                   std::to_string(c.faults) + ", '" + c.state + "', 50000, 'eingespielt'\r\n"));
    const bool retried = c.level != 0 && std::string(c.state) == "23000";
    // Level 2 appends through the prepared set: the same parameters each time.
    rv_OdbcPrepareAll(td_.get(), dbc);
    const auto start = std::chrono::steady_clock::now();
    const int32_t rec_id = c.level == 2                             ? rv_OdbcAppendRecordEx(dbc, td_.get(), a.data())
                           : c.level == 0 || c.append_ex || !retried ? rv_OdbcAppendRecord(dbc, td_.get(), a.data())
                                                                     : rv_OdbcAppendBlank(dbc, td_.get());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(retried ? 29 * 40 : 0));
    EXPECT_EQ(rec_id > 0, c.appends) << rec_id;
    EXPECT_EQ(Rows(dbc), rows + (c.appends ? 1 : 0));
    const std::string events = Events();
    const std::string note = c.level == 2   ? "REPEAT xExec::rv_OdbcAppendRecordEx()"
                             : c.append_ex ? "REPEAT odbcUpda::AppenWithProcedureEx()"
                                           : "REPEAT odbcAppe::AppenWithProcedure()";
    EXPECT_EQ(Count(events, "\t0\tLESEN\t" + note), retried ? 29u : 0u) << events;
    EXPECT_EQ(Count(events, "REPEAT"), retried ? 29u : 0u);
    EXPECT_EQ(Count(events, "\t" + std::string(c.state) + "\t"), static_cast<size_t>(c.faults)) << events;
    EXPECT_NE(events.find("eingespielt"), std::string::npos);
    const std::vector<std::string> boxes = Boxes();
    ASSERT_EQ(boxes.size(), c.box ? 1u : 0u);
    const std::string shown = std::string(c.state) + "\t";
    EXPECT_EQ(boxes.empty() ? shown : boxes[0].substr(0, 6), shown);
    // The fault is used up: a retry would have appended.
    EXPECT_GT(rv_OdbcAppendRecord(dbc, td_.get(), a.data()), 0);
  }
}

TEST_F(RecordAccessTest, PlainUpdateThatCannotBePreparedShowsItsStatement) {
  lerv32::Display_Errors = 0;
  SQLHDBC dbc = Use(0, 0);
  const std::vector<char> a = Record(kValuesA);
  ASSERT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), a.data()), 1);
  // An empty name, which the definition calls refuse and a host can still
  // write, and the server refuses however it is quoted: the statement fails
  // as it is prepared.
  ASSERT_EQ(rv_AddFieldDef(td_.get(), ",C,5"), 0);
  ASSERT_EQ(rv_AddFieldDef(td_.get(), "LEER,C,5"), 1);
  td_->Fields[td_->FieldCnt - 1].Name[0] = '\0';
  std::vector<char> wider = Blank();
  std::memcpy(wider.data(), a.data(), a.size());
  EXPECT_EQ(rv_OdbcUpdateRecord(dbc, td_.get(), 1, wider.data()), 0);
  const std::vector<std::string> boxes = Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("Prepare\tUPDATE [LESEN] SET " + std::string(kColumns) + ",[]=? WHERE RecId = 1\t", 0), 0u)
      << boxes[0];
  EXPECT_EQ(Events(), "") << "nothing else is reported";
}

// An x field wider than the integer column: what the column holds is
// stored and read back exactly, a value beyond it is refused, never cut. Over
// a bigint column (a table made by hand) the whole value comes back.
TEST_F(RecordAccessTest, WideBinaryKeepsToItsColumn) {
  lerv32::Display_Errors = 0;
  ASSERT_GE(rv_AddFieldDef(td_.get(), "WEIT,x,8"), 0);
  std::vector<std::string> values = kValuesA;
  values.push_back("-2147483648");
  const char* const kBeyond[] = {"\0\0\0\x01\x2A\x05\xF2\0", "\xFF\xFF\xFF\xFE\xD5\xFA\x0E\0"};  // 5e9, -5e9
  const size_t at = static_cast<size_t>(td_->Fields[td_->FieldCnt - 1].Offset);
  for (const Path& path : kPaths) {
    SCOPED_TRACE(path.what);
    SQLHDBC dbc = Use(path.level, path.append_ex);
    ASSERT_TRUE(path.level || RunScript(dbc, "DROP TABLE LESEN"));  // the plain script creates
    ASSERT_EQ(rv_CreateTable(dbc, td_.get(), path.level, nullptr), 1);
    std::vector<char> record = Record(values);
    const int32_t rec_id = rv_OdbcAppendRecord(dbc, td_.get(), record.data());
    ASSERT_GT(rec_id, 0);
    EXPECT_EQ(Read(dbc, rec_id), record);
    std::memcpy(record.data() + at, kBeyond[0], 8);
    testenv::WriteText(events_, "");
    const int rows = Rows(dbc);
    EXPECT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), record.data()), 0);
    EXPECT_EQ(rv_OdbcUpdateRecord(dbc, td_.get(), rec_id, record.data()), 0);
    EXPECT_EQ(Rows(dbc), rows);
    EXPECT_EQ(Read(dbc, rec_id), Record(values));
    EXPECT_NE(Events(), "") << "the server's refusal is reported";
  }
  testenv::TableDefPtr weit = testenv::NewTableDef();
  std::strcpy(weit->TableName, "WEIT");
  weit->ExLevel = 0;
  ASSERT_EQ(rv_AddFieldDef(weit.get(), "WERT,x,8"), 1);
  ASSERT_TRUE(RunScript(plain_, "CREATE TABLE WEIT (RecId integer NOT NULL PRIMARY KEY, WERT bigint)\r\n"));
  for (const std::string& value :
       {std::string(kBeyond[0], 8), std::string(kBeyond[1], 8), std::string("\xFF\xFF\xFF\xFF\x80\0\0\0", 8)}) {
    const int32_t rec_id = rv_OdbcAppendRecord(plain_, weit.get(), value.data());
    std::string back(8, '#');
    EXPECT_EQ(rv_OdbcGetRecord(plain_, weit.get(), rec_id, &back[0]), 1);
    EXPECT_EQ(back, value) << rec_id;
  }
}

// Whatever bytes a record holds, a write either fails or stores what is
// read. A definition that does not match the table stores and reads nothing,
// whichever path: a blank record the caller would never learn of is removed
// again.
TEST_F(RecordAccessTest, GarbageAndMismatchedDefinitionsStoreNothingUnread) {
  lerv32::Display_Errors = 0;
  std::vector<std::vector<char>> records = {Blank('\xff'), Blank('\0'), Blank()};
  for (size_t i = 0; i < records[2].size(); ++i) records[2][i] = static_cast<char>(i * 37 + 11);
  for (const Path& path : kPaths) {
    SCOPED_TRACE(path.what);
    SQLHDBC dbc = Use(path.level, path.append_ex);
    for (const std::vector<char>& record : records) {
      const int rows = Rows(dbc);
      const int32_t rec_id = rv_OdbcAppendRecord(dbc, td_.get(), record.data());
      EXPECT_EQ(Rows(dbc), rows + (rec_id > 0 ? 1 : 0));
      if (rec_id > 0) Read(dbc, rec_id);
      const int32_t updated = rv_OdbcUpdateRecord(dbc, td_.get(), rec_id, record.data());
      EXPECT_TRUE(updated == 0 || updated == 1);
    }
  }
  for (SQLHDBC dbc : {plain_, procs_}) ASSERT_TRUE(RunScript(dbc, kInsertA));
  ASSERT_GE(rv_AddFieldDef(td_.get(), "FEHLT,N,5"), 0);
  const std::vector<char> record = Blank();
  for (const Path& path : kPaths) {
    SCOPED_TRACE(path.what);
    SQLHDBC dbc = Use(path.level, path.append_ex);
    const int rows = Rows(dbc);
    EXPECT_EQ(rv_OdbcAppendRecord(dbc, td_.get(), record.data()), 0);
    EXPECT_EQ(Rows(dbc), rows);
    EXPECT_EQ(rv_OdbcUpdateRecord(dbc, td_.get(), 7, record.data()), 0);
    ExpectNothingRead(dbc, 7);
  }
}

TEST_F(RecordAccessTest, NullArgumentsAndImpossibleDefinitionsFail) {
  std::vector<char> a = Record(kValuesA);
  EXPECT_EQ(rv_OdbcAppendRecord(nullptr, td_.get(), a.data()), 0);
  EXPECT_EQ(rv_OdbcAppendRecord(plain_, nullptr, a.data()), 0);
  EXPECT_EQ(rv_OdbcAppendRecord(plain_, td_.get(), nullptr), 0);
  EXPECT_EQ(rv_OdbcUpdateRecord(plain_, td_.get(), 1, nullptr), 0);
  EXPECT_EQ(rv_OdbcAppendBlank(nullptr, td_.get()), 0);
  EXPECT_EQ(rv_OdbcDeleteRecord(plain_, nullptr, 1), 0);
  EXPECT_EQ(rv_OdbcZap(nullptr, td_.get()), 0);
  rv_OdbcReorg(nullptr, nullptr);
  ASSERT_TRUE(RunScript(Use(0, 0), kInsertA));
  EXPECT_EQ(rv_OdbcGetRecord(nullptr, td_.get(), 7, a.data()), 0);
  EXPECT_EQ(rv_OdbcGetRecord(plain_, nullptr, 7, a.data()), 0);
  EXPECT_EQ(rv_OdbcGetRecord(plain_, td_.get(), 7, nullptr), 0);
  td_->FieldCnt = LERV32_MAX_FIELDS + 1;
  EXPECT_EQ(rv_OdbcAppendRecord(plain_, td_.get(), a.data()), 0);
  EXPECT_EQ(rv_OdbcUpdateRecord(plain_, td_.get(), 1, a.data()), 0);
  td_->FieldCnt = -1;
  EXPECT_EQ(rv_OdbcAppendBlank(plain_, td_.get()), 0);
  EXPECT_EQ(Rows(plain_), 2);
}

}  // namespace
