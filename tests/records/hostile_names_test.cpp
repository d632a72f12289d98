// Names that are no plain identifiers as table, field and key names, loaded
// from a definition file: every script the generators make runs on sqlsim
// beside a table OPFER that must outlive them, the objects carry exactly the
// names given, and the table works on every path of record access.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "records/record_db.h"
#include "schema/key_fields.h"
#include "support/hostile_names.h"
#include "tabledef/table_def.h"

namespace {

using recordtest::QueryText;
using recordtest::RunScript;

enum Role { kTable, kField, kKey, kEveryName };
const char* const kRoleNames[] = {"table", "field", "key", "every"};

// Direct navigation procedures, or key tables (with a tenant of its own:
// names composed of the tenant text and the table name).
enum Variant { kDirect, kKeyTable, kKeyTableAndTenant };
const char* const kVariantNames[] = {"direct", "keytable", "tenant"};
constexpr char kTenant[] = "M'1]";

struct Case {
  Role role;
  Variant variant;
  size_t name;  // index into hostile::Names
};

// The members' lengths: table, field and key names.
constexpr size_t kTableChars = 31, kFieldChars = 15, kKeyChars = 19;

// The name as a member of length characters holds it.
std::string NameOf(size_t index, size_t length) { return hostile::Names(length)[index].substr(0, length); }

// One record: a hostile text field and a number.
struct Row {
  const char* text;
  int32_t nr;
};

// What a path does with records, plain or through the prepared set.
struct Calls {
  const char* what;
  int32_t(LERV32_CALL* append)(LERV32_HDBC, const TableDef*, const char*);
  int32_t(LERV32_CALL* get)(LERV32_HDBC, const TableDef*, int32_t, char*);
  int32_t(LERV32_CALL* update)(LERV32_HDBC, const TableDef*, int32_t, const char*);
  int32_t(LERV32_CALL* remove)(LERV32_HDBC, const TableDef*, int32_t);
  int32_t(LERV32_CALL* find_first)(LERV32_HDBC, const TableDef*, int32_t, const char*, int32_t);
  int32_t(LERV32_CALL* find_last)(LERV32_HDBC, const TableDef*, int32_t, const char*, int32_t);
  recordtest::WalkCalls walk;
};

const Calls kPlainCalls = {"calls",           rv_OdbcAppendRecord,   rv_OdbcGetRecord,     rv_OdbcUpdateRecord,
                           rv_OdbcDeleteRecord, rv_OdbcFindFirstRecId, rv_OdbcFindLastRecId, recordtest::kPlainWalk};
const Calls kPreparedCalls = {"prepared set",        rv_OdbcAppendRecordEx,   rv_OdbcGetRecordEx,
                              rv_OdbcUpdateRecordEx, rv_OdbcDeleteRecordEx,   rv_OdbcFindFirstRecIdEx,
                              rv_OdbcFindLastRecIdEx, recordtest::kPreparedWalk};

class HostileNamesTest : public ::testing::TestWithParam<Case>, public recordtest::RecordDb {
 protected:
  void SetUp() override {
    const Case& c = GetParam();
    table_ = c.role == kTable || c.role == kEveryName ? NameOf(c.name, kTableChars) : "NAMEN";
    field_ = c.role == kField || c.role == kEveryName ? NameOf(c.name, kFieldChars) : "TEXT";
    key_ = c.role == kKey || c.role == kEveryName ? NameOf(c.name, kKeyChars) : "TEXT_KEY";
    key_table_ = c.variant != kDirect;
    rv_SetMandant(c.variant == kKeyTableAndTenant ? kTenant : "");
    lerv32::ExSQL_Enabled = 1;
    lerv32::OemConvert = 0;
    lerv32::Display_Errors = 1;
    ASSERT_TRUE(Load(td_.get(), 10, true));
  }

  // The definition from a file, with the hostile field (width characters
  // wide) or without it. A field whose name a key line cannot list (it holds
  // a separator) joins the key by its number.
  bool Load(TableDef* td, int width, bool with_field) {
    const std::string fields = with_field ? "FIELD=" + field_ + ",C," + std::to_string(width) + "\r\n" : "";
    const bool listable = field_.find_first_of(",;") == std::string::npos;
    const std::string key_fields = with_field && listable ? field_ + ",NR" : "NR";
    const std::string text = "ALIAS=" + table_ + "\r\nEXLEVEL=2\r\nUSEMANDANT=1\r\nUSEKEYTAB=" +
                             (key_table_ ? "1" : "0") + "\r\nFIELD=NR,l\r\n" + fields + "SQLKEY=" + key_ + "," +
                             key_fields + ";[NR] > 0\r\n";
    const std::string path = temp_.File("namen.def");
    testenv::WriteText(path, text);
    if (rv_LoadTableDef(td, path.c_str()) != 1) return false;
    if (with_field && !listable) {
      td->Keys[0].TokenFieldNo[0] = 1;
      td->Keys[0].TokenFieldNo[1] = 0;
      td->Keys[0].TokenCnt = 2;
    }
    EXPECT_EQ(std::string(lerv32::NameText(td->TableName)), table_);
    EXPECT_EQ(td->KeyCnt, 1);
    EXPECT_EQ(std::string(lerv32::NameText(td->Keys[0].Name)), key_);
    EXPECT_EQ(td->Keys[0].TokenCnt, with_field ? 2 : 1);
    if (with_field) {
      EXPECT_EQ(std::string(lerv32::NameText(td->Fields[1].Name)), field_);
    }
    return true;
  }

  // Runs a generator's text; OPFER must be there afterwards.
  template <typename Generate>
  void Run(SQLHDBC dbc, const char* what, Generate generate) {
    SCOPED_TRACE(what);
    std::vector<char> script(400000, '\0');
    ASSERT_GT(generate(script.data()), 0);
    RunScript(dbc, script.data());
    ExpectOpfer(dbc);
  }

  void ExpectOpfer(SQLHDBC dbc) {
    EXPECT_EQ(QueryText(dbc, "SELECT count(*) FROM sysobjects WHERE name = 'OPFER'"), "1");
    EXPECT_EQ(QueryText(dbc, "SELECT count(*) FROM OPFER"), "1");
  }

  SQLHDBC OpenWithOpfer(const std::string& database) {
    SQLHDBC dbc = Connect(database);
    EXPECT_TRUE(RunScript(dbc, "CREATE TABLE OPFER (a integer)\r\nINSERT INTO OPFER VALUES (1)\r\n"));
    return dbc;
  }

  // The column upgrades: the table without the field, with it narrower, and
  // as defined. On a connection of their own: on the connection that ran an
  // ALTER TABLE, sqlsim's key-table trigger then leaves the key values of an
  // UPDATE unchanged (any table name; a fresh connection is right).
  void Upgrade(const std::string& database) {
    SQLHDBC dbc = Connect(database);
    testenv::TableDefPtr earlier = testenv::NewTableDef();
    ASSERT_TRUE(Load(earlier.get(), 10, false));
    Run(dbc, "table without the field", [&](char* o) { return rv_GenSqlTableDef(earlier.get(), o, 1); });
    ASSERT_TRUE(Load(earlier.get(), 4, true));
    Run(dbc, "table with the field narrower", [&](char* o) { return rv_GenSqlTableDef(earlier.get(), o, 1); });
    Run(dbc, "table", [&](char* o) { return rv_GenSqlTableDef(td_.get(), o, 1); });
  }

  // Every Transact-SQL script, each twice: over what an earlier definition
  // made, and over what they made themselves.
  void CreateTransactSql(SQLHDBC dbc, const std::string& database) {
    EXPECT_TRUE(RunScript(dbc, testenv::ReadText(LERV32_DPXFUNC_SQL)));
    Upgrade(database);
    const TableDef* td = td_.get();
    for (int pass = 0; pass < 2; ++pass) {
      Run(dbc, "table", [&](char* o) { return rv_GenSqlTableDef(td, o, 1); });
      Run(dbc, "procedures", [&](char* o) { return rv_GenSqlTableBasicProc(td, o, 1); });
      Run(dbc, "index", [&](char* o) { return rv_GenSqlIndexDef(td, o, 0, 1); });
      Run(dbc, "key procedures", [&](char* o) { return rv_GenSqlTableIndexProc(td, o, 0, 1); });
    }
    char table[lerv32::kSqlNameSize];
    EXPECT_EQ(QueryText(dbc, "SELECT count(*) FROM sysobjects WHERE xtype = 'U' AND name = '" +
                                 lerv32::InQuotes(lerv32::SqlTableName(td, table)) + "'"),
              "1")
        << "the table under its own name";
    EXPECT_EQ(QueryText(dbc, "SELECT length FROM syscolumns WHERE id = OBJECT_ID('" +
                                 lerv32::ObjectIdName(lerv32::SqlTableName(td, table)) + "') AND name = '" +
                                 lerv32::InQuotes(field_) + "'"),
              "10")
        << "the column added and widened";
  }

  std::vector<char> Make(const Row& row) const {
    std::vector<char> record = Blank('\0');
    EXPECT_EQ(rv_FieldFromString(td_.get(), 0, record.data(), std::to_string(row.nr).c_str()), 1);
    EXPECT_EQ(rv_FieldFromString(td_.get(), 1, record.data(), row.text), 1);
    return record;
  }

  std::vector<int32_t> Walk(SQLHDBC dbc, const Calls& calls, int32_t key, bool backwards) const {
    return recordtest::Walk(dbc, td_.get(), key, backwards, calls.walk);
  }

  // Append, read, update, walk by the key and by RecId, find by a key
  // prefix, delete.
  void Exercise(SQLHDBC dbc, const Calls& calls) {
    SCOPED_TRACE(calls.what);
    const TableDef* td = td_.get();
    ASSERT_EQ(rv_OdbcZap(dbc, td), 1);
    const std::vector<Row> rows = {{"b", 2}, {"a'b]", 3}, {"b", 1}, {"c", 4}};
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(calls.append(dbc, td, Make(rows[i]).data()), static_cast<int32_t>(i + 1));
    }
    auto read = [&](int32_t rec_id) {
      std::vector<char> record = Blank('?');
      EXPECT_EQ(calls.get(dbc, td, rec_id, record.data()), 1) << "record " << rec_id;
      return record;
    };
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(read(static_cast<int32_t>(i + 1)), Make(rows[i]));
    const std::vector<char> changed = Make({"a", 1});
    EXPECT_EQ(calls.update(dbc, td, 4, changed.data()), 1);
    EXPECT_EQ(read(4), changed);
    // By text, then number: (a,1) (a'b],3) (b,1) (b,2).
    EXPECT_EQ(Walk(dbc, calls, 0, false), (std::vector<int32_t>{4, 2, 3, 1}));
    EXPECT_EQ(Walk(dbc, calls, 0, true), (std::vector<int32_t>{1, 3, 2, 4}));
    EXPECT_EQ(Walk(dbc, calls, -1, false), (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(calls.find_first(dbc, td, 0, "b", 1), 3);
    EXPECT_EQ(calls.find_last(dbc, td, 0, "b", 1), 1);
    EXPECT_EQ(calls.find_first(dbc, td, 0, "a'", 2), 2);
    if (key_table_) {
      int32_t page[50] = {};
      EXPECT_EQ(rv_OdbcPrevNext50(dbc, td, 4, page, 0, 0), 3);
      EXPECT_EQ(std::vector<int32_t>(page, page + 3), (std::vector<int32_t>{2, 3, 1}));
    }
    EXPECT_EQ(calls.remove(dbc, td, 2), 1);
    EXPECT_EQ(Walk(dbc, calls, 0, false), (std::vector<int32_t>{4, 3, 1}));
    ExpectOpfer(dbc);
  }

  // Plain statements (level 0) and the procedures (level 1, appending by
  // up_Add_ and up_Upd_ or by up_Append_), then the prepared set.
  void ExerciseEveryPath(SQLHDBC dbc) {
    struct Level {
      const char* what;
      int32_t level, append_ex;
    };
    for (const Level& level : {Level{"plain", 0, 0}, Level{"procedures", 1, 0}, Level{"up_Append_", 1, 1}}) {
      SCOPED_TRACE(level.what);
      td_->ExLevel = level.level;
      td_->AppendEx = level.append_ex;
      Exercise(dbc, kPlainCalls);
    }
    td_->ExLevel = 2;
    rv_OdbcPrepareAll(td_.get(), dbc);
    ASSERT_NE(rv_GetSqlRecPtr(td_.get()), nullptr) << "every statement of the set prepared";
    Exercise(dbc, kPreparedCalls);
    rv_OdbcUnprepareAll(td_.get());
  }

  // A statement cursor over the definition, then Reorg renumbering.
  void ReadByCursorAndReorg(SQLHDBC dbc) {
    char spec[64];
    std::snprintf(spec, sizeof spec, "=0x%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(td_.get())));
    void* cursor = rv_StmtOpen(dbc, spec, nullptr, 0);
    ASSERT_NE(cursor, nullptr);
    int rows = 0;
    std::vector<char> record(static_cast<size_t>(rv_StmtGetRecordSize(cursor)));
    while (rows < 10 && rv_StmtFetch(cursor, record.data(), DB_GETNEXT) == 1) ++rows;
    rv_StmtClose(cursor);
    EXPECT_EQ(rows, 3);
    td_->ExLevel = 1;
    rv_OdbcReorg(dbc, td_.get());
    EXPECT_EQ(Walk(dbc, kPlainCalls, -1, false), (std::vector<int32_t>{1, 2, 3}));
  }

  // After the drop script only OPFER and the server functions are left.
  void Drop(SQLHDBC dbc) {
    Run(dbc, "drop", [&](char* o) { return rv_GenSqlDropDef(td_.get(), o); });
    EXPECT_EQ(QueryText(dbc, "SELECT count(*) FROM sysobjects WHERE xtype IN ('U', 'V', 'P', 'FN', 'TR') "
                             "AND name <> 'OPFER' AND name NOT LIKE 'dpxfunc[_]%'"),
              "0");
    EXPECT_EQ(QueryText(dbc, "SELECT count(*) FROM sysobjects WHERE name LIKE 'dpxfunc[_]NextRecId%'"), "0");
  }

  // The standard form, which names the table by its definition's name alone.
  void CreateStandard(SQLHDBC dbc) {
    const TableDef* td = td_.get();
    Run(dbc, "standard table", [&](char* o) { return rv_GenSqlTableDef(td, o, 0); });
    Run(dbc, "standard index", [&](char* o) { return rv_GenSqlIndexDef(td, o, 0, 0); });
  }

  std::string table_, field_, key_;
  bool key_table_ = false;
};

TEST_P(HostileNamesTest, ScriptsKeepToTheirObjectsAndRecordAccessWorks) {
  SQLHDBC dbc = OpenWithOpfer("tsql");
  ASSERT_NE(dbc, nullptr);
  CreateTransactSql(dbc, "tsql");
  ExerciseEveryPath(dbc);
  ReadByCursorAndReorg(dbc);
  Drop(dbc);
  if (GetParam().variant == kDirect) {
    SQLHDBC standard = OpenWithOpfer("standard");
    CreateStandard(standard);
    td_->ExLevel = 0;
    Exercise(standard, kPlainCalls);
  }
  const std::vector<std::string> boxes = Boxes();
  EXPECT_TRUE(boxes.empty()) << boxes.front();
  EXPECT_EQ(Events(), "");
}

// Each name in each role alone, and in every role at once with each variant.
std::vector<Case> AllCases() {
  std::vector<Case> cases;
  const size_t names = hostile::Names(kTableChars).size();
  for (size_t name = 0; name < names; ++name) {
    for (Role role : {kTable, kField, kKey}) cases.push_back({role, kDirect, name});
    for (Variant variant : {kDirect, kKeyTable, kKeyTableAndTenant}) cases.push_back({kEveryName, variant, name});
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Names, HostileNamesTest, ::testing::ValuesIn(AllCases()),
                         [](const ::testing::TestParamInfo<Case>& param) {
                           return std::string(kRoleNames[param.param.role]) + "_" +
                                  kVariantNames[param.param.variant] + "_" + std::to_string(param.param.name);
                         });

}  // namespace
