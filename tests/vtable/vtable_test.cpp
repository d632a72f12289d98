// Virtual tables on sqlsim through the driver manager: the profile's
// tables and connections, the three ways to name a table, how long shared connections
// live (counted in the library's ODBC trace), and the static object.
#include <gtest/gtest.h>

#include <cstring>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "include/lerv32.h"
#include "support/sqlsim_db.h"
#include "support/test_env.h"

#include <sql.h>
#include <sqlext.h>

namespace {

constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002u);
constexpr size_t kVtEntryLimit = 255;

class VtTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::current_path(temp_.Path());
    SQLHDBC setup = rv_OdbcDriverConnect(nullptr, connect_.c_str());
    ASSERT_NE(setup, nullptr);
    char errors[512];
    EXPECT_EQ(rv_CallStatement(setup, "CREATE TABLE t (a integer, b varchar(10))\r\n"
                                      "INSERT INTO t VALUES (1, 'eins'), (2, 'zwei'), (3, 'drei')\r\n"
                                      "CREATE TABLE [t u'v;--] (a integer)\r\nINSERT INTO [t u'v;--] VALUES (5)",
                               errors, sizeof errors),
              1)
        << errors;
    rv_OdbcDisconnect(setup);
    testenv::WriteText(temp_.File("t.def"), "ALIAS=t\r\nFIELD=a,l\r\nFIELD=b,C,10\r\n");
    trace_start_ = testenv::ReadText(trace_).size();
  }
  void TearDown() override { std::filesystem::current_path(start_dir_); }

  // The profile: [CONNECT] with a shared entry "s", an own entry "own" and
  // the entries given, then the sections given.
  void Profile(const std::string& sections, const std::string& entries = std::string()) {
    testenv::WriteText(temp_.File("RVVTAB.INI"), "[CONNECT]\r\ns=0,!" + connect_ + "\r\nown=1,!" + connect_ +
                                                     "\r\n" + entries + sections);
  }

  // [CONNECT] entries c0, c1, ... of shared connections to the database.
  std::string SharedEntries(int count) const {
    std::string entries;
    for (int i = 0; i < count; ++i) entries += "c" + std::to_string(i) + "=0,!" + connect_ + "\r\n";
    return entries;
  }

  // Calls of name in the library's trace since the test began; -1 without
  // a trace.
  int Calls(const std::string& name) const {
    if (trace_.empty()) return -1;
    const std::string text = testenv::ReadText(trace_).substr(trace_start_);
    int n = 0;
    for (size_t at = text.find(name + " ->"); at != std::string::npos; at = text.find(name + " ->", at + 1)) ++n;
    return n;
  }
  void ExpectConnects(int connects, int disconnects) const {
    if (trace_.empty()) return;
    EXPECT_EQ(Calls("SQLDriverConnect"), connects);
    EXPECT_EQ(Calls("SQLDisconnect"), disconnects);
  }

  // Column a of the record a fetch with code reaches, -1 when it fails.
  static int32_t A(void* table, int32_t code) {
    std::vector<char> record(static_cast<size_t>(_vt_RecSize(table)));
    int32_t a = 0;
    if (_vt_GetRec(table, 0, record.data(), code) != 1) return -1;
    std::memcpy(&a, record.data(), sizeof a);
    return a;
  }
  // Column a of every record, first to last (no record holds -1).
  static std::vector<int32_t> Column_a(void* table) {
    std::vector<int32_t> values;
    for (int32_t a = A(table, DB_GETFIRST); a != -1; a = A(table, DB_GETNEXT)) values.push_back(a);
    return values;
  }

  testenv::TempDir temp_;
  const std::filesystem::path start_dir_ = std::filesystem::current_path();
  const std::string connect_ = testenv::SqlsimConnectString(temp_.Path(), "vt");
  const std::string trace_ = testenv::GetEnv("LERV32_ODBC_TRACE");
  size_t trace_start_ = 0;
};

TEST_F(VtTest, EveryWayToNameATableOpensItsStatement) {
  Profile("[T1]\r\nCONNECT=s\r\nSTATEMENT=SELECT a, b FROM t\r\nKLAUSEL=WHERE a > 1\r\n"
          "[Quoted]\r\n  connect = s \r\nstatement = \"SELECT a FROM t WHERE b = 'eins'\"\r\n"
          "[t]\r\nCONNECT=s\r\n[NoConnection]\r\nSTATEMENT=SELECT a FROM t\r\n"
          "[BadSql]\r\nCONNECT=s\r\nSTATEMENT=SELECT nichts FROM t\r\n[t u'v;--]\r\nCONNECT=s\r\n",
          std::string(49, 'n') + "=0,!" + connect_ + "\r\n" + std::string(50, 'n') + "=0,!" + connect_ + "\r\n");
  const std::string long_name(50, 'n');
  struct Case {
    std::string spec;
    bool opens;
    std::vector<int32_t> a;
  };
  const std::vector<Case> cases = {
      {"T1", true, {2, 3}},
      {"t1", true, {2, 3}},  // sections match without regard to case
      {"quoted", true, {1}},
      {"t", true, {1, 2, 3}},  // SELECT * FROM [t], then a blank
      {"t u'v;--", true, {5}},  // a section name that is no identifier names one table
      {"#s#SELECT a FROM t WHERE a <> 2", true, {1, 3}},
      {"*s#t.def#WHERE a < 3 ORDER BY a DESC", true, {2, 1}},
      {"*s#t.def#", true, {1, 2, 3}},
      {"NoConnection", false, {}},
      {"NoSection", false, {}},
      {"BadSql", false, {}},
      {"#s", false, {}},
      {"#" + long_name.substr(1) + "#SELECT a FROM t", true, {1, 2, 3}},
      {"#" + long_name + "#SELECT a FROM t", false, {}},
      {"*" + long_name + "#t.def#", false, {}},
      {"*s#t.def", false, {}},
      {"*s", false, {}},
      {"#unbekannt#SELECT 1", false, {}},
      {"#own#SELECT nichts FROM t", false, {}},
      {"", false, {}},
  };
  for (const Case& c : cases) {
    void* table = _vt_OpenTable(c.spec.c_str());
    EXPECT_EQ(table != nullptr, c.opens) << c.spec;
    if (table == nullptr) continue;
    EXPECT_EQ(Column_a(table), c.a) << c.spec;
    _vt_CloseTable(table);
  }
  EXPECT_EQ(_vt_OpenTable(nullptr), nullptr);
  // Every table closed, so each shared open connected and disconnected.
  ExpectConnects(11, 11);
}

// Both ways and by record number, whether the driver scrolls or the result
// is spilled; BOOKMARK 0 asks for no bookmarks.
TEST_F(VtTest, TablesStepBothWaysAndByNumber) {
  Profile("[Fwd]\r\nCONNECT=fwd\r\nSTATEMENT=SELECT a FROM t ORDER BY a\r\n"
          "[NoMarks]\r\nCONNECT=s\r\nBOOKMARK=0\r\nSTATEMENT=SELECT a FROM t ORDER BY a\r\n"
          "[Marks]\r\nCONNECT=s\r\nBOOKMARK=1\r\nSTATEMENT=SELECT a FROM t ORDER BY a\r\n",
          "fwd=0,!" + connect_ + ";CURSORS=FORWARD\r\n");
  for (const char* name : {"Fwd", "NoMarks", "Marks"}) {
    void* table = _vt_OpenTable(name);
    ASSERT_NE(table, nullptr) << name;
    EXPECT_EQ(A(table, DB_GETLAST), 3) << name;
    EXPECT_EQ(A(table, DB_GETPRIOR), 2) << name;
    const int32_t number = _vt_GetRecno(table);
    EXPECT_EQ(A(table, DB_GETFIRST), 1) << name;
    if (std::string(name) == "NoMarks") {
      EXPECT_EQ(number, 0) << "no bookmarks asked for";
    } else {
      ASSERT_NE(number, 0) << name;
      EXPECT_EQ(A(table, number), 2) << name;
    }
    std::vector<char> record(static_cast<size_t>(_vt_RecSize(table)));
    EXPECT_EQ(_vt_GetRec(table, 0, record.data(), 0), 0);
    EXPECT_EQ(A(table, DB_GETSAME), number == 0 ? 1 : 2) << "code 0 left the cursor where it was";
    std::vector<char> block(13328);
    EXPECT_EQ(_vt_GetProperties(table, block.data()), 1);
    EXPECT_EQ(block[2], 1) << "one field";
    _vt_CloseTable(table);
  }
}

// A failed connect is not kept: every lookup tries again and no lock counts.
TEST_F(VtTest, FailedConnectsAreNotCached) {
  Profile("[Bad]\r\nCONNECT=bad\r\n", "bad=0,keine_datenquelle,,\r\nnocomma=0\r\n");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(rv_LockVtDsn("bad"), nullptr);
    EXPECT_EQ(_vt_OpenTable("Bad"), nullptr);
    EXPECT_EQ(rv_LockVtDsn("nocomma"), nullptr);
    EXPECT_EQ(rv_LockVtDsn(nullptr), nullptr);
  }
  EXPECT_EQ(Calls("SQLConnect"), trace_.empty() ? -1 : 4);
  void* table = _vt_OpenTable("#s#SELECT a FROM t");
  ASSERT_NE(table, nullptr);
  _vt_CloseTable(table);
  ExpectConnects(1, 1);
}

// Ten shared names fill the cache; the eleventh table connects on its own
// and its connection goes with it.
TEST_F(VtTest, TheEleventhSharedNameGetsItsOwnConnection) {
  Profile("", SharedEntries(11));
  std::vector<void*> tables;
  for (int i = 0; i < 11; ++i) {
    tables.push_back(_vt_OpenTable(("#c" + std::to_string(i) + "#SELECT a FROM t").c_str()));
    ASSERT_NE(tables.back(), nullptr) << i;
  }
  ExpectConnects(11, 0);
  _vt_CloseTable(tables[10]);
  ExpectConnects(11, 1);
  // A lock cannot share what the cache has no room for: it fails unconnected.
  EXPECT_EQ(rv_LockVtDsn("c10"), nullptr);
  EXPECT_NE(rv_LockVtDsn("C3"), nullptr);
  rv_UnlockVtDsn();
  ExpectConnects(11, 1);
  void* again = _vt_OpenTable("#c3#SELECT b FROM t");
  ASSERT_NE(again, nullptr);
  ExpectConnects(11, 1);
  _vt_CloseTable(again);
  for (int i = 0; i < 10; ++i) _vt_CloseTable(tables[static_cast<size_t>(i)]);
  ExpectConnects(11, 11);
}

// Values longer than a profile value, a statement or an entry may be fail
// the open before anything connects, instead of running cut; the longest
// allowed ones work.
TEST_F(VtTest, OverlongValuesFailTheOpen) {
  // text, then more as often as it fits, then fill up to length.
  auto padded = [](std::string text, const std::string& more, char fill, size_t length) {
    while (!more.empty() && text.size() + more.size() <= length) text += more;
    return text + std::string(length - text.size(), fill);
  };
  const std::string clause = padded("AND a > 0", " OR a > 0", '0', 1023);
  const std::string statement = padded("SELECT a FROM t WHERE a > 0", " OR a > 0", '0', 1023);
  const std::string entry = padded("0,!" + connect_, "", ';', kVtEntryLimit);
  ASSERT_EQ(connect_.size() < kVtEntryLimit - 3, true) << "the entry needs room for padding";
  Profile("[Limit]\r\nCONNECT=fits\r\nSTATEMENT=" + statement + "\r\nKLAUSEL=" + clause +
              "\r\n[Over]\r\nCONNECT=s\r\nSTATEMENT=" + statement + "0\r\n[LongClause]\r\nCONNECT=s\r\n"
              "STATEMENT=SELECT a FROM t WHERE a > 0\r\nKLAUSEL=" + clause + "0\r\n[" + std::string(1010, 'T') +
              "]\r\nCONNECT=s\r\n[" + std::string(1010, 'U') + "]\r\nCONNECT=s\r\nSTATEMENT=SELECT a FROM t\r\n",
          "fits=" + entry + "\r\nlong=" + entry + ";\r\nlongpwd=0,sqlsim_test,sa," + std::string(253, 'p') + "\r\n");
  for (const std::string& spec : {std::string("Limit"), std::string(1010, 'U')}) {
    void* table = _vt_OpenTable(spec.c_str());
    EXPECT_NE(table, nullptr) << spec.substr(0, 20);
    _vt_CloseTable(table);
  }
  ExpectConnects(2, 2);
  for (const std::string& spec : {std::string("Over"), std::string("LongClause"), std::string(1010, 'T'),
                                  std::string("#long#SELECT a FROM t")}) {
    EXPECT_EQ(_vt_OpenTable(spec.c_str()), nullptr) << spec.substr(0, 20);
  }
  EXPECT_EQ(rv_LockVtDsn("long"), nullptr);
  EXPECT_EQ(rv_LockVtDsn("longpwd"), nullptr) << "a password cut short is refused, not tried";
  ExpectConnects(2, 2);
  EXPECT_EQ(Calls("SQLConnect"), trace_.empty() ? -1 : 0);
}

TEST_F(VtTest, TheDefaultEntryServesTheQuestionMark) {
  char entry[256];
  rv_vt_GetDefaultDSN(entry);
  EXPECT_STREQ(entry, "1,Default DSN,,");
  rv_vt_SetDefaultDSN(("0,!" + connect_).c_str());
  Profile("[Q]\r\nCONNECT=?\r\nSTATEMENT=SELECT a FROM t\r\n");
  void* q1 = _vt_OpenTable("Q");
  void* q2 = _vt_OpenTable("#?#SELECT b FROM t");
  ASSERT_TRUE(q1 && q2);
  ExpectConnects(1, 0);
  // A new default serves the next "?"; the open tables keep the old one.
  rv_vt_SetDefaultDSN(("0,!" + connect_ + ";").c_str());
  void* q3 = _vt_OpenTable("Q");
  ASSERT_NE(q3, nullptr);
  ExpectConnects(2, 0);
  EXPECT_EQ(Column_a(q1).size(), 3u);
  for (void* q : {q1, q2, q3}) _vt_CloseTable(q);
  ExpectConnects(2, 2);
  rv_vt_SetDefaultDSN(nullptr);
  rv_vt_GetDefaultDSN(entry);
  EXPECT_EQ(entry, "0,!" + connect_ + ";");
  rv_vt_SetDefaultDSN(std::string(300, 'x').c_str());
  rv_vt_GetDefaultDSN(entry);
  EXPECT_EQ(std::string(entry), std::string(255, 'x'));
  rv_vt_SetDefaultDSN("1,Default DSN,,");
}

TEST_F(VtTest, TheObjectForwardsToTheExports) {
  le_vTable* object = _vt_CreateInstance();
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(_vt_CreateInstance(), object);
  const le_vTableVtbl& m = *object->lpVtbl;
  const LERV32_GUID own = {0x3EDB5BF9, 0x7C51, 0x40A7, {0x94, 0x82, 0xDE, 0x08, 0x7D, 0xA0, 0xF9, 0xE0}};
  const LERV32_GUID unknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  const LERV32_GUID other = {0x00020400, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
  void* out = nullptr;
  EXPECT_EQ(m.QueryInterface(object, &own, &out), 0);
  EXPECT_EQ(out, object);
  EXPECT_EQ(m.QueryInterface(object, &unknown, &out), 0);
  EXPECT_EQ(m.QueryInterface(object, &other, &out), kNoInterface);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(m.AddRef(object), 2u);
  EXPECT_EQ(m.Release(object), 1u);

  Profile("");
  void* table = m.OpenTable(object, "#s#SELECT a, b FROM t ORDER BY a");
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(m.RecSize(object, table), 14);
  std::vector<char> record(14);
  EXPECT_EQ(m.GetRec(object, table, 0, record.data(), DB_GETLAST), 1);
  EXPECT_EQ(std::string(record.data() + 4, 4), "drei");
  EXPECT_EQ(m.GetRec(object, table, 0, record.data(), 0), 0);
  EXPECT_NE(m.GetRecno(object, table), 0);
  std::vector<char> block(13328);
  EXPECT_EQ(m.GetProperties(object, table, block.data()), 1);
  EXPECT_EQ(m.NumKeys(object, table), 0);
  EXPECT_EQ(m.FindRecData(object, 1, 2, 3), 0);
  for (auto write : {m.FindKeyN, m.ReservedSlot, m.EvalKey, m.UpdateRec, m.DelRec}) {
    EXPECT_EQ(write(object, 1, 2, 3, 4), 0);
  }
  m.CloseTable(object, table);
  EXPECT_EQ(m.RecSize(object, table), 0) << "a closed table is no table";
  m.CloseTable(object, nullptr);
  ExpectConnects(1, 1);
}

// Entry names match as profile keys do, without regard to case and with
// the blanks the profile reader trims: every spelling of one shared entry,
// in a table's name, a section's CONNECT or a lock, gets its one connection.
TEST_F(VtTest, EverySpellingOfAnEntrySharesItsConnection) {
  Profile("[U]\r\nCONNECT=S\r\nSTATEMENT=SELECT a FROM t\r\n");
  std::vector<void*> tables;
  for (const char* spec : {"#s#SELECT a FROM t", "#S#SELECT b FROM t", "U"}) {
    tables.push_back(_vt_OpenTable(spec));
    EXPECT_NE(tables.back(), nullptr) << spec;
  }
  ExpectConnects(1, 0);
  for (void* table : tables) _vt_CloseTable(table);
  ExpectConnects(1, 1);
  const SQLHDBC first = rv_LockVtDsn("s");
  ASSERT_NE(first, nullptr);
  for (const char* name : {"S", " s", "s\t", "\tS ", "s\r", " S\r\t"}) {
    EXPECT_EQ(rv_LockVtDsn(name), first) << "name '" << name << "'";
  }
  ExpectConnects(2, 1);
  for (int i = 0; i < 7; ++i) rv_UnlockVtDsn();
  ExpectConnects(2, 2);
}

// Each new default entry retires the cached "?" connection; with another
// table open the whole time, retired connections nobody uses must not take
// the room other names need in the cache.
TEST_F(VtTest, RetiredDefaultConnectionsTakeNoRoom) {
  Profile("", "c=0,!" + connect_ + "\r\n");
  void* held = _vt_OpenTable("#s#SELECT a FROM t");
  ASSERT_NE(held, nullptr);
  for (int i = 0; i < 10; ++i) {
    rv_vt_SetDefaultDSN(("0,!" + connect_ + (i % 2 == 0 ? ";" : ";;")).c_str());
    void* q = _vt_OpenTable("#?#SELECT a FROM t");
    EXPECT_NE(q, nullptr) << i;
    _vt_CloseTable(q);
  }
  EXPECT_NE(rv_LockVtDsn("c"), nullptr) << "the cache is full of retired connections";
  rv_UnlockVtDsn();
  _vt_CloseTable(held);
  ExpectConnects(12, 12);
  rv_vt_SetDefaultDSN("1,Default DSN,,");
}

// Shared connections through every order of opens, closes, locks and
// unlocks: connected at the first use, disconnected when the last table
// or lock goes; extra unlocks and failed locks count nothing.
TEST_F(VtTest, SharedConnectionsFollowTablesAndLocksInAnyOrder) {
  Profile("");
  struct Step {
    const char* op;
    int connects;
    int disconnects;
  };
  const std::vector<Step> steps = {
      {"unlock", 0, 0}, {"lock", 1, 0},   {"lock", 1, 0},    {"open", 1, 0},    {"unlock", 1, 0},
      {"close", 1, 0},  {"unlock", 1, 1}, {"unlock", 1, 1},  {"open", 2, 1},    {"lock", 2, 1},
      {"close", 2, 1},  {"open", 2, 1},   {"unlock", 2, 1},  {"lock own", 3, 1}, {"close", 3, 1},
      {"unlock", 3, 2}, {"lock bad", 3, 2}, {"open", 4, 2}, {"unlock", 4, 2},  {"close", 4, 3},
      // An own table counts like any other; a failed open and a second
      // close of a closed table count nothing.
      {"open own", 5, 3}, {"open", 6, 3},   {"open bad", 6, 3}, {"close", 6, 3}, {"close again", 6, 3},
      {"close", 6, 5},
  };
  std::vector<void*> open;
  void* closed = nullptr;
  std::vector<SQLHDBC> mine;
  for (size_t i = 0; i < steps.size(); ++i) {
    const std::string op = steps[i].op;
    SCOPED_TRACE("step " + std::to_string(i) + ": " + op);
    if (op == "lock") {
      EXPECT_NE(rv_LockVtDsn("s"), nullptr);
    } else if (op == "lock own") {
      mine.push_back(rv_LockVtDsn("own"));
      EXPECT_NE(mine.back(), nullptr);
    } else if (op == "lock bad") {
      EXPECT_EQ(rv_LockVtDsn("fehlt"), nullptr);
    } else if (op == "unlock") {
      rv_UnlockVtDsn();
    } else if (op == "open" || op == "open own") {
      open.push_back(_vt_OpenTable(op == "open" ? "#s#SELECT a FROM t" : "#own#SELECT a FROM t"));
      EXPECT_NE(open.back(), nullptr);
    } else if (op == "open bad") {
      EXPECT_EQ(_vt_OpenTable("#s#SELECT nichts"), nullptr);
    } else if (op == "close again") {
      _vt_CloseTable(closed);
    } else {
      closed = open.back();
      _vt_CloseTable(closed);
      open.pop_back();
    }
    ExpectConnects(steps[i].connects, steps[i].disconnects);
  }
  for (SQLHDBC connection : mine) rv_OdbcDisconnect(connection);
}

// Opens that fail after connecting, in every form and on an own, a shared
// and an eleventh shared name, leave no connection behind.
TEST_F(VtTest, FailedOpensLeaveNoConnectionBehind) {
  Profile("[Bad]\r\nCONNECT=own\r\nSTATEMENT=SELECT nichts FROM t\r\n", SharedEntries(11));
  std::vector<void*> full;
  for (int i = 0; i < 10; ++i) {
    full.push_back(_vt_OpenTable(("#c" + std::to_string(i) + "#SELECT a FROM t").c_str()));
    ASSERT_NE(full.back(), nullptr) << i;
  }
  for (const char* spec : {"*own#fehlt.def#", "*own#t.def#WHERE nichts = 1", "Bad", "*c10#fehlt.def#",
                           "*c10#t.def#WHERE nichts = 1", "#c10#SELECT nichts"}) {
    EXPECT_EQ(_vt_OpenTable(spec), nullptr) << spec;
  }
  for (void* table : full) _vt_CloseTable(table);
  for (const char* spec : {"*s#fehlt.def#", "*s#t.def#WHERE nichts = 1"}) {
    EXPECT_EQ(_vt_OpenTable(spec), nullptr) << spec;
  }
  ExpectConnects(18, 18);
  EXPECT_EQ(Calls("SQLAllocConnect"), Calls("SQLFreeConnect"));
}

// Threads opening, reading and closing tables on a shared and on own
// connections while others lock and unlock.
TEST_F(VtTest, ThreadsOpenAndCloseTablesTogether) {
  Profile("[A]\r\nCONNECT=s\r\nSTATEMENT=SELECT a FROM t\r\n[O]\r\nCONNECT=own\r\nSTATEMENT=SELECT a FROM t\r\n");
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int k = 0; k < 4; ++k) {
    threads.emplace_back([&, k] {
      for (int i = 0; i < 25; ++i) {
        void* table = _vt_OpenTable(k % 2 == 0 ? "A" : "O");
        const bool locked = k == 3 && rv_LockVtDsn("s") != nullptr;
        if (table == nullptr || Column_a(table).size() != 3 || (k == 3 && !locked)) ++failures;
        _vt_CloseTable(table);
        if (locked) rv_UnlockVtDsn();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  EXPECT_EQ(Calls("SQLDriverConnect"), Calls("SQLDisconnect"));
}

}  // namespace
