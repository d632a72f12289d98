#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "support/planted_links.h"
#include "support/table_defs.h"
#include "support/test_env.h"
#include "tabledef/table_def.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using testenv::NewTableDef;

// Type, width, decimals and offset of a field.
using Layout = std::tuple<char, int32_t, int32_t, int32_t>;

std::vector<Layout> LayoutOf(const TableDef* td) {
  std::vector<Layout> layout;
  for (int32_t i = 0; i < rv_FieldCnt(td); ++i) {
    layout.emplace_back(static_cast<char>(rv_FieldType(td, i)), rv_FieldLen(td, i), rv_FieldDec(td, i),
                        rv_FieldOffset(td, i));
  }
  return layout;
}

TEST(TableDef, FieldDefinitionsNormaliseWidthsAndLayFieldsEndToEnd) {
  struct Case { const char* definition; Layout expected; };
  // Each case adds one field behind the previous ones.
  const Case cases[] = {
      {"A,C,5", {'C', 5, 0, 0}},          {"B,l", {'l', 4, 0, 5}},
      {"C,D", {'D', 10, 0, 9}},           {"AMOUNT,N,5,4", {'N', 5, 0, 19}},
      {"AMOUNT2,N,6,4", {'N', 6, 4, 24}}, {"PRICE,n,2,1", {'n', 3, 0, 30}},
      {"PRICE2,n,8,3", {'n', 8, 3, 33}},  {"NAME", {'C', 10, 0, 41}},
      {"NAME2,CHAR,20", {'C', 20, 0, 51}}, {"V,c,7", {'C', 7, 0, 71}},
      {"F,L,9", {'L', 1, 0, 78}},          {"G,b", {'b', 1, 0, 79}},
      {"H,d,3,2", {'d', 8, 2, 80}},        {"I,s", {'s', 2, 0, 88}},
      {"J,o", {'o', 4, 0, 90}},            {"K,x,2", {'x', 2, 0, 94}},
      {"U,u,6,1", {'u', 6, 1, 96}},        {"W,C,300", {'C', 44, 0, 102}},
      {"  X, C ,3,-2", {'C', 3, 0, 146}},  {"Y,", {'C', 10, 0, 149}},
  };
  auto td = NewTableDef();
  std::vector<Layout> expected;
  for (const Case& c : cases) {
    ASSERT_EQ(rv_AddFieldDef(td.get(), c.definition), 1) << c.definition;
    expected.push_back(c.expected);
    EXPECT_EQ(LayoutOf(td.get()), expected) << c.definition;
  }
  EXPECT_EQ(lerv32::RecordSize(td.get()), 159);
  EXPECT_STREQ(rv_FieldName(td.get(), 18), "X");
}

TEST(TableDef, NamesAreCutToTheirMembersAndLookedUpExactly) {
  auto td = NewTableDef();
  ASSERT_EQ(rv_AddField(td.get(), "ABCDEFGHIJKLMNOPQRST", 'C', 3, 0), 1);
  ASSERT_EQ(rv_AddField(td.get(), "  A ", 'C', 3, 0), 1);
  EXPECT_STREQ(rv_FieldName(td.get(), 0), "ABCDEFGHIJKLMNO");
  EXPECT_STREQ(rv_FieldName(td.get(), 1), "A");
  EXPECT_EQ(rv_FieldNo(td.get(), "ABCDEFGHIJKLMNO"), 0);
  EXPECT_EQ(rv_FieldNo(td.get(), "ABCDEFGHIJKLMNOP"), -1);
  EXPECT_EQ(rv_FieldNo(td.get(), "a"), -1);
  EXPECT_EQ(rv_FieldNoEx(td.get(), "  A  ", 0), -1);
  EXPECT_EQ(rv_FieldNoEx(td.get(), "  A  ", 1), 1);
  EXPECT_EQ(rv_FieldName(td.get(), 2), nullptr);
  EXPECT_EQ(rv_FieldName(td.get(), -1), nullptr);

  ASSERT_EQ(rv_AddKeyDef(td.get(), "KEYNAME_LONGER_THAN_19,A"), 1);
  EXPECT_STREQ(rv_KeyName(td.get(), 0), "KEYNAME_LONGER_THAN");
  EXPECT_EQ(rv_KeyNo(td.get(), "KEYNAME_LONGER_THAN"), 0);
  EXPECT_EQ(rv_KeyNo(td.get(), "KEYNAME"), -1);
  EXPECT_EQ(rv_KeyName(td.get(), 1), nullptr);
}

// Printable names of every kind are kept; an empty name, or one with a
// control character, is refused by every call that builds a definition.
TEST(TableDef, EmptyNamesAndNamesWithControlCharactersAreRefused) {
  struct Case { const char* name; int32_t result; };
  const Case cases[] = {
      {"EVIL2];DROP TABLE OPFER;--", 1}, {"a'b", 1}, {"a b", 1},        {"M\x81ller", 1},  {"[x]", 1},
      {"", 0},                           {"   ", 0}, {"A\tB", 0},       {"A\nB", 0},      {"\x1f", 0},
      {"A\r", 0},
  };
  for (const Case& c : cases) {
    auto td = NewTableDef();
    ASSERT_EQ(rv_AddField(td.get(), "A", 'C', 2, 0), 1);
    EXPECT_EQ(rv_AddField(td.get(), c.name, 'C', 3, 0), c.result) << c.name;
    EXPECT_EQ(rv_FieldCnt(td.get()), 1 + c.result) << c.name;
    auto by_text = NewTableDef();  // the same name once more would be refused
    EXPECT_EQ(rv_AddFieldDef(by_text.get(), (std::string(c.name) + ",l").c_str()), c.result) << c.name;
    EXPECT_EQ(rv_AddKeyDef(td.get(), (std::string(c.name) + ",A").c_str()), c.result) << c.name;
    EXPECT_EQ(rv_KeyCnt(td.get()), c.result) << c.name;
  }
}

// The server compares column and object names without case: a name that
// is one already there to it, after the cut to the member, is refused.
TEST(TableDef, NamesTheServerTakesForOneAlreadyThereAreRefused) {
  struct Case { const char* first; const char* second; int32_t result; };
  const Case fields[] = {
      {"a", "A", 0},           {"a", "a", 0},           {"A", " a ", 0},
      {"LONGFIELDNAME_01", "LONGFIELDNAME_02", 0},      {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMN", 1},
      {"\xC4RGER", "\xE4rger", 0},  // Ä ä
      {"\x8A", "\x9A", 0},          // Š š
      {"\x9F", "\xFF", 0},          // Ÿ ÿ
      {"\xD7", "\xF7", 1},          // × ÷ are no letters
      {"SS", "\xDF", 1},             // ß has no upper case of its own
      {"A", "B", 1},
  };
  for (const Case& c : fields) {
    SCOPED_TRACE(std::string(c.first) + " / " + c.second);
    auto td = NewTableDef();
    ASSERT_EQ(rv_AddField(td.get(), c.first, 'C', 2, 0), 1);
    EXPECT_EQ(rv_AddField(td.get(), c.second, 'C', 3, 0), c.result);
    EXPECT_EQ(rv_AddFieldDef(td.get(), (std::string(c.second) + ",N,4").c_str()), 0) << "always one too many";
    EXPECT_EQ(rv_FieldCnt(td.get()), 1 + c.result);
  }
  for (const char* own_column : {"RecId", "RECID", " recid ", "MandId", "mandid"}) {
    auto td = NewTableDef();
    EXPECT_EQ(rv_AddField(td.get(), own_column, 'l', 4, 0), 0) << "the table's own column " << own_column;
  }
  const Case keys[] = {
      {"K", "k", 0},  {"K", " K", 0}, {"KEYNAME_LONGER_THAN_19", "keyname_longer_than_20", 0},
      {"\xC4", "\xE4", 0}, {"K1", "K2", 1},
  };
  for (const Case& c : keys) {
    SCOPED_TRACE(std::string(c.first) + " / " + c.second);
    auto td = NewTableDef();
    ASSERT_EQ(rv_AddField(td.get(), "A", 'C', 2, 0), 1);
    ASSERT_EQ(rv_AddKeyDef(td.get(), (std::string(c.first) + ",A").c_str()), 1);
    EXPECT_EQ(rv_AddKeyDef(td.get(), (std::string(c.second) + ",A").c_str()), c.result);
    EXPECT_EQ(rv_KeyCnt(td.get()), 1 + c.result);
  }
}

TEST(TableDef, FieldsAndKeysStopAtTheirLimits) {
  auto td = NewTableDef();
  for (int i = 0; i < 128; ++i) ASSERT_EQ(rv_AddField(td.get(), ("F" + std::to_string(i)).c_str(), 'C', 1, 0), 1);
  EXPECT_EQ(rv_AddField(td.get(), "F128", 'C', 1, 0), 0);
  EXPECT_EQ(rv_FieldCnt(td.get()), 128);
  // A key of more than 11 fields keeps the first 11.
  std::string many = "BIG";
  for (int i = 0; i < 14; ++i) many += ",F" + std::to_string(i);
  ASSERT_EQ(rv_AddKeyDef(td.get(), many.c_str()), 1);
  EXPECT_EQ(rv_KeyTokenCnt(td.get(), 0), 11);
  EXPECT_EQ(rv_KeyTokenFieldNo(td.get(), 0, 10), 10);
  for (int k = 1; k < 16; ++k) ASSERT_EQ(rv_AddKeyDef(td.get(), ("K" + std::to_string(k) + ",F1").c_str()), 1);
  EXPECT_EQ(rv_AddKeyDef(td.get(), "K16,F1"), 0);
  EXPECT_EQ(rv_KeyCnt(td.get()), 16);
}

TEST(TableDef, KeyDefinitionsTakeKnownFieldsAndFiltersOnlyWithKeyTables) {
  struct Case { int32_t use_key_table; const char* definition; int32_t result; std::vector<int> fields; const char* filter; };
  const Case cases[] = {
      {0, "K1,A,XYZ,B", 1, {0, 1}, nullptr},     {0, "K2,XYZ", 0, {}, nullptr},
      {0, "K3", 0, {}, nullptr},                 {0, "K4,", 0, {}, nullptr},
      {1, "K5,A;STATUS=1", 1, {0}, "STATUS=1"},  {0, "K6,A;STATUS=1", 1, {0}, nullptr},
      {0, "K7,A;B", 1, {0, 1}, nullptr},         {1, "K8,A;", 1, {0}, nullptr},
      {1, "K9,;A", 1, {0}, nullptr},  // no field before the semicolon: names go on
      {0, "  K10 ,  A , B", 1, {1}, nullptr},  // "A " is no field name
  };
  for (const Case& c : cases) {
    auto td = NewTableDef();
    rv_AddFieldDef(td.get(), "A,C,2");
    rv_AddFieldDef(td.get(), "B,C,2");
    td->UseKeyTable = c.use_key_table;
    ASSERT_EQ(rv_AddKeyDef(td.get(), c.definition), c.result) << c.definition;
    if (c.result == 0) {
      EXPECT_EQ(rv_KeyCnt(td.get()), 0);
      continue;
    }
    std::vector<int> fields;
    for (int t = 0; t < rv_KeyTokenCnt(td.get(), 0); ++t) fields.push_back(rv_KeyTokenFieldNo(td.get(), 0, t));
    EXPECT_EQ(fields, c.fields) << c.definition;
    EXPECT_STREQ(td->KeyFilter[0] ? td->KeyFilter[0] : "(none)", c.filter ? c.filter : "(none)");
  }
}

// Copies of definitions whose filters were freed through the copies stay
// refused when later definitions get filters of the same size: a freed
// filter's address is not handed to a new filter.
TEST(TableDef, AFilterFreedThroughACopyIsNeverTakenForAnothersFilter) {
  constexpr int kDefinitions = 20;
  auto with_filter = [](const std::string& filter) {
    auto td = NewTableDef();
    td->UseKeyTable = 1;
    rv_AddFieldDef(td.get(), "NR,N,8");
    rv_AddKeyDef(td.get(), ("K,NR;" + filter).c_str());
    return td;
  };
  std::vector<testenv::TableDefPtr> stale;
  for (int i = 0; i < kDefinitions; ++i) {
    stale.push_back(with_filter("NR > 5 AND NR <> " + std::string(80, '1')));
    TableDef* copy = rv_AllocTableDef();
    std::memcpy(copy, stale.back().get(), sizeof(TableDef));
    rv_FreeTableDef(copy);
  }
  std::vector<testenv::TableDefPtr> fresh;
  for (int i = 0; i < kDefinitions; ++i) fresh.push_back(with_filter("NR < 9 AND NR <> " + std::string(80, '2')));
  for (int i = 0; i < kDefinitions; ++i) {
    EXPECT_EQ(rv_KeyCnt(stale[static_cast<size_t>(i)].get()), 0) << "stale definition " << i;
    EXPECT_EQ(rv_KeyCnt(fresh[static_cast<size_t>(i)].get()), 1) << "fresh definition " << i;
  }
  for (testenv::TableDefPtr& td : stale) td->KeyFilter[0] = nullptr;  // no longer the library's to free
}

TEST(TableDef, DeletingAFieldClosesTheGapAndRenumbersKeys) {
  auto td = NewTableDef();
  for (const char* f : {"A,C,5", "B,C,4", "C,C,10"}) rv_AddFieldDef(td.get(), f);
  rv_AddKeyDef(td.get(), "AC,A,C");
  rv_AddKeyDef(td.get(), "ONLY_A,A");
  rv_DelField(td.get(), 0);
  EXPECT_EQ(LayoutOf(td.get()), (std::vector<Layout>{{'C', 4, 0, 0}, {'C', 10, 0, 4}}));
  EXPECT_EQ(rv_KeyTokenCnt(td.get(), 0), 1);
  EXPECT_EQ(rv_KeyTokenFieldNo(td.get(), 0, 0), 1);
  EXPECT_EQ(rv_KeyTokenCnt(td.get(), 1), 0);  // stays in place, empty
  EXPECT_EQ(rv_KeyCnt(td.get()), 2);
  rv_DelField(td.get(), 5);  // no such field: nothing happens
  EXPECT_EQ(rv_FieldCnt(td.get()), 2);
  // The primary key must name an existing key.
  EXPECT_EQ(rv_SetPrimaryKey(td.get(), 1), 1);
  EXPECT_EQ(rv_GetPrimaryKey(td.get()), 1);
  EXPECT_EQ(rv_SetPrimaryKey(td.get(), 2), 0);
  EXPECT_EQ(rv_GetPrimaryKey(td.get()), 0);
}

TEST(TableDef, SqlNamesCarryTheTenantOnlyWhereTheTableWantsItAndBelongToTheirThread) {
  auto td = NewTableDef();
  std::snprintf(td->TableName, sizeof td->TableName, "Kunden");
  struct Case { const char* mandant; int32_t use; const char* base; const char* table; };
  const Case cases[] = {
      {"", 1, "Kunden", "ut_Kunden"},          {"M01", 0, "Kunden", "ut_Kunden"},
      {"M01", 1, "M01_Kunden", "M01$Kunden"},
  };
  for (const Case& c : cases) {
    rv_SetMandant(c.mandant);
    td->UseMandant = c.use;
    char base[lerv32::kSqlNameSize];
    EXPECT_STREQ(lerv32::SqlBaseName(td.get(), base), c.base);
    EXPECT_STREQ(lerv32::SqlTableName(td.get(), nullptr), c.table);
  }
  // Tenant text: cut to 63 characters, copied into a buffer by its size.
  const std::string long_mandant(80, 'm');
  EXPECT_EQ(std::string(rv_SetMandant(long_mandant.c_str())), std::string(63, 'm'));
  char small[5] = "####";
  EXPECT_STREQ(rv_GetMandant(small, 4), "mmm");
  EXPECT_STREQ(rv_SetMandant(nullptr), "");
  EXPECT_STREQ(rv_GetMandant(nullptr, 0), "");

  // Record access builds its statements from these names while other threads
  // do the same for their tables: a thread's name is never another's.
  auto theirs = NewTableDef();
  std::snprintf(td->TableName, sizeof td->TableName, "A");
  std::snprintf(theirs->TableName, sizeof theirs->TableName, "BBBBBBBB");
  const char* base = lerv32::SqlBaseName(td.get(), nullptr);
  const char* table = lerv32::SqlTableName(td.get(), nullptr);
  std::thread([&] {
    lerv32::SqlBaseName(theirs.get(), nullptr);
    lerv32::SqlTableName(theirs.get(), nullptr);
  }).join();
  EXPECT_STREQ(base, "A");
  EXPECT_STREQ(table, "ut_A");
  EXPECT_EQ(lerv32::BaseNameOf(theirs.get()), "BBBBBBBB");
}

// A host switches the tenant between two texts while other threads generate
// scripts of a tenant table: each script is the one of either tenant, whole.
TEST(TableDef, ScriptsNameOneTenantWhileAnotherThreadSwitchesIt) {
  auto td = NewTableDef();
  std::snprintf(td->TableName, sizeof td->TableName, "T");
  td->UseMandant = 1;
  ASSERT_GT(rv_AddField(td.get(), "A", 'C', 4, 0), 0);
  ASSERT_EQ(rv_AddKeyDef(td.get(), "K_A,A"), 1);
  using Generator = int32_t (*)(const TableDef*, char*, int32_t);
  struct Case { const char* name; Generator generate; };
  const Case cases[] = {
      {"drop", [](const TableDef* t, char* out, int32_t n) { return rv_GenSqlDropDefN(t, out, n); }},
      {"table", [](const TableDef* t, char* out, int32_t n) { return rv_GenSqlTableDefN(t, out, n, 1); }},
      {"procedures", [](const TableDef* t, char* out, int32_t n) { return rv_GenSqlTableBasicProcN(t, out, n, 0); }},
  };
  const char* const tenants[] = {"KUNDE_ALPHA_0001", "LIEFERANT_BETA_2"};
  constexpr int kScripts = 400;
  std::vector<char> out(1 << 17);
  const auto script = [&](const Case& c) {
    EXPECT_GT(c.generate(td.get(), out.data(), static_cast<int32_t>(out.size())), 0) << c.name;
    return std::string(out.data());
  };
  for (const Case& c : cases) {
    std::vector<std::string> whole;
    for (const char* tenant : tenants) {
      rv_SetMandant(tenant);
      whole.push_back(script(c));
    }
    std::atomic<bool> stop{false};
    std::thread switcher([&] {
      while (!stop) {
        for (const char* tenant : tenants) rv_SetMandant(tenant);
      }
    });
    int mixed = 0;
    for (int i = 0; i < kScripts; ++i) {
      const std::string text = script(c);
      if (text != whole[0] && text != whole[1]) ++mixed;
    }
    stop = true;
    switcher.join();
    EXPECT_EQ(mixed, 0) << c.name << ": scripts not one tenant's whole of " << kScripts;
  }
  rv_SetMandant("");
}


class DefinitionFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lerv32::ExSQL_Maximum = 2;
    lerv32::ExSQL_Append = 1;
  }
  void TearDown() override { SetUp(); }

  // Whether the event log tells text; each case empties it first.
  bool Logged(const char* text) const { return testenv::ReadText(log_).find(text) != std::string::npos; }

  // Writes the lines to a file and loads it into a fresh definition.
  testenv::TableDefPtr Load(const std::string& lines) {
    std::ofstream(path_, std::ios::binary) << lines;
    auto td = NewTableDef();
    EXPECT_EQ(rv_LoadTableDef(td.get(), path_.c_str()), 1);
    return td;
  }

  testenv::TempDir dir_;
  std::string path_ = dir_.File("table.def");
  const std::string log_ = dir_.File("events.log");
  const testenv::ScopedEnv log_env_{"LEBASE32_EVENTLOG", log_};
};

TEST_F(DefinitionFileTest, LevelsComeFromTheSettingsAndAreCappedByThem) {
  struct Case { const char* lines; int32_t ex_level; int32_t append_ex; };
  const Case cases[] = {
      {"", 2, 1},  // no lines: the settings
      {"EXLEVEL=5\nAPPENDEX=3\n", 2, 1},  {"EXLEVEL=0\nAPPENDEX=0\n", 0, 0},
      {"EXLEVEL= -1\nAPPENDEX=x\n", -1, 1},  // no number: the member keeps its value
      {"EXLEVEL=99999999999\n", 2, 1},
  };
  for (const Case& c : cases) {
    auto td = Load(c.lines);
    EXPECT_EQ(td->ExLevel, c.ex_level) << c.lines;
    EXPECT_EQ(td->AppendEx, c.append_ex) << c.lines;
  }
}

TEST_F(DefinitionFileTest, OrderOfLinesDecidesWhatKeysGet) {
  auto td = Load(
      "ALIAS=Kunden_mit_einem_sehr_langen_Namen\n"
      "FIELD=NAME,C,20\n"
      "KEY=K1,NAME;X=1\n"
      "KEY=K2,NAME,LATER\n"
      "USEKEYTAB=1\n"
      "KEY=K3,NAME;X=1\n"
      "FIELD=LATER,l\n"
      " FIELD=IGNORED,C,1\n"
      "field=IGNORED,C,1\n"
      "# a comment\n"
      "SKEY=K4,LATER\n"
      "SQLKEY=K5,NAME\n"
      "PKEY=REFUSED\n"
      "USEMANDANT=1\n");
  EXPECT_STREQ(td->TableName, "Kunden_mit_einem_sehr_langen_Na");
  EXPECT_EQ(rv_FieldCnt(td.get()), 2);
  ASSERT_EQ(rv_KeyCnt(td.get()), 5);
  EXPECT_EQ(td->KeyFilter[0], nullptr);
  EXPECT_EQ(rv_KeyTokenCnt(td.get(), 1), 1);  // LATER was not defined yet
  EXPECT_STREQ(td->KeyFilter[2], "X=1");
  EXPECT_EQ(rv_KeyTokenFieldNo(td.get(), 3, 0), 1);
  EXPECT_EQ(td->SqlKeyMask, 1u << 4);
  EXPECT_EQ(rv_GetPrimaryKey(td.get()), 5);  // taken even though the key was refused
  EXPECT_EQ(td->UseMandant, 1);
}

// A refused name leaves the line without effect: an ALIAS keeps the name
// before it, a field or key line adds nothing.
TEST_F(DefinitionFileTest, NamesThatCannotBeNamesAreRefused) {
  auto td = Load("ALIAS=\nALIAS=Gut\nALIAS=B\x01se\nALIAS=\nALIAS=Tab\tulator\n"
                 "FIELD=A\tB,C,5\nFIELD=,C,5\nFIELD=OK,C,5\nFIELD=a b,l\n"
                 "KEY=\x02K,OK\nKEY=,OK\nKEY=K,OK\n");
  EXPECT_STREQ(td->TableName, "Gut");
  ASSERT_EQ(rv_FieldCnt(td.get()), 2);
  EXPECT_STREQ(rv_FieldName(td.get(), 1), "a b");
  ASSERT_EQ(rv_KeyCnt(td.get()), 1);
  EXPECT_STREQ(rv_KeyName(td.get(), 0), "K");
  EXPECT_STREQ(Load("ALIAS=\n")->TableName, "neue_Tabelle");
}

// A second field or key of one name is skipped as other refused lines are;
// the fields after it are laid out without it.
TEST_F(DefinitionFileTest, ASecondFieldOrKeyOfOneNameIsSkipped) {
  auto td = Load("FIELD=Nr,N,5\nFIELD=NR,C,6\nFIELD=LONGFIELDNAME_01,C,2\nFIELD=LONGFIELDNAME_02,C,3\n"
                 "FIELD=B,C,4\nKEY=K,Nr\nKEY=k,B\nKEY=K2,B\n");
  ASSERT_EQ(rv_FieldCnt(td.get()), 3);
  EXPECT_STREQ(rv_FieldName(td.get(), 1), "LONGFIELDNAME_0");
  EXPECT_EQ(rv_FieldLen(td.get(), 1), 2);
  EXPECT_STREQ(rv_FieldName(td.get(), 2), "B");
  EXPECT_EQ(rv_FieldOffset(td.get(), 2), 7);
  ASSERT_EQ(rv_KeyCnt(td.get()), 2);
  EXPECT_STREQ(rv_KeyName(td.get(), 1), "K2");
}

TEST_F(DefinitionFileTest, AnUnreadableFileLeavesAnEmptyDefinition) {
  auto td = Load("FIELD=A\nKEY=K,A\nSQLKEY=S,A\nUSEKEYTAB=1\nKEY=F,A;X\n");
  EXPECT_EQ(rv_LoadTableDef(td.get(), dir_.File("missing.def").c_str()), 0);
  EXPECT_EQ(rv_FieldCnt(td.get()), 0);
  EXPECT_EQ(rv_KeyCnt(td.get()), 0);
  EXPECT_EQ(td->SqlKeyMask, 0u);  // a reload forgets the old SQL keys too
  EXPECT_EQ(td->KeyFilter[2], nullptr);
  EXPECT_STREQ(td->TableName, "neue_Tabelle");
  EXPECT_EQ(rv_LoadTableDef(td.get(), nullptr), 0);
  EXPECT_EQ(rv_LoadTableDef(td.get(), dir_.Path().string().c_str()), 0) << "a folder";
  EXPECT_EQ(rv_LoadTableDef(nullptr, path_.c_str()), 0);
}

TEST_F(DefinitionFileTest, SavedDefinitionsLoadAgainUnchanged) {
  const char* files[] = {
      "ALIAS=Artikel\nEXLEVEL=1\nAPPENDEX=0\nUSEMANDANT=1\nUSEKEYTAB=1\n"
      "FIELD=NR,l\nFIELD=NAME,C,30\nFIELD=PREIS,N,9,2\nFIELD=MENGE,n,5,3\nFIELD=DATUM,D\n"
      "FIELD=ALT,o\nFIELD=AKTIV,L\nFIELD=KZ,u,3\nFIELD=D,d,0,4\nFIELD=S,s\nFIELD=X,x,3\nFIELD=B,b\n"
      "KEY=NR,NR\nSQLKEY=NAME,NAME,NR;AKTIV='T'\nPKEY=DATUM,DATUM,NR\n",
      // Primary and SQL key at once, and markers after the last key.
      "ALIAS=\nFIELD=A\nKEY=K0,A\nPKEY=\nSQLKEY=K1,A\nSQLKEY=\n",
      "FIELD=ONLY,C,1\nPKEY=P,ONLY\nPKEY=\n",
      "",
  };
  for (const char* file : files) {
    auto original = Load(file);
    const std::string saved = dir_.File("saved.def");
    ASSERT_EQ(rv_SaveTableDef(original.get(), saved.c_str()), 1) << file;
    auto loaded = NewTableDef();
    ASSERT_EQ(rv_LoadTableDef(loaded.get(), saved.c_str()), 1);
    // Byte for byte up to the filters (slots beyond the counts are zero in
    // both), then the filter texts and the last member.
    EXPECT_EQ(std::memcmp(original.get(), loaded.get(), offsetof(TableDef, KeyFilter)), 0) << file;
    for (int k = 0; k < LERV32_MAX_KEYS; ++k) {
      EXPECT_STREQ(original->KeyFilter[k] ? original->KeyFilter[k] : "", loaded->KeyFilter[k] ? loaded->KeyFilter[k] : "");
    }
    EXPECT_EQ(original->UseMandant, loaded->UseMandant);
  }
}

#if !defined(_WIN32)
// How many names a folder holds: a file left beside a saved one shows.
size_t EntriesIn(const std::filesystem::path& folder) {
  const std::filesystem::directory_iterator entries(folder);
  return static_cast<size_t>(std::distance(begin(entries), end(entries)));
}

// Saving writes the file the path names: a symbolic link stays a link to
// the file it shares, the permissions stay, no new file is left beside it.
// A file with a second name stays one file that both names show; a file
// nobody may write is not replaced; links somebody put beside the file are
// never written through.
TEST_F(DefinitionFileTest, SavingKeepsLinksAndPermissions) {
  enum Extra { kNone, kSecondName, kPlantedLinks };
  struct Case { const char* name; bool link; mode_t mode; Extra extra; };  // mode 0: no file yet
  const Case cases[] = {
      {"plain file", false, 0644, kNone},          {"mode 640", false, 0640, kNone},
      {"link", true, 0640, kNone},                 {"missing file", false, 0, kNone},
      {"link to a missing file", true, 0, kNone},  {"second name", false, 0640, kSecondName},
      {"link to a second name", true, 0600, kSecondName},
      {"links planted beside", false, 0644, kPlantedLinks},
      {"read-only", false, 0444, kNone},           {"link to a read-only file", true, 0440, kNone},
  };
  auto td = NewTableDef();
  ASSERT_EQ(rv_AddFieldDef(td.get(), "NEU,C,6"), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const testenv::TempDir folder;
    testenv::WriteText(log_, "");
    const std::string shared = folder.File("shared.def"), second = folder.File("second.def");
    const std::string victim = dir_.File("victim.def");
    const std::string path = c.link ? folder.File("mine.def") : shared;
    const std::string old_content = "FIELD=ALT,C,4\r\n";
    if (c.mode != 0) {
      std::ofstream(shared, std::ios::binary) << old_content;
      ASSERT_EQ(chmod(shared.c_str(), c.mode), 0);
    }
    if (c.link) {
      ASSERT_EQ(symlink("shared.def", path.c_str()), 0);
    }
    if (c.extra == kSecondName) {
      ASSERT_EQ(link(shared.c_str(), second.c_str()), 0);
    }
    testenv::WriteText(victim, "victim");
    const int planted = c.extra == kPlantedLinks ? testenv::PlantLinksUnderPredictableNames(folder.Path().string(), victim) : 0;
    const mode_t umask_now = umask(0);
    umask(umask_now);
    const mode_t expected_mode = c.mode != 0 ? c.mode : (0666 & ~umask_now);
    const bool writable = (c.mode == 0 || (c.mode & 0222) != 0);

    ASSERT_EQ(rv_SaveTableDef(td.get(), path.c_str()), writable ? 1 : 0);
    struct stat info {};
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_EQ(S_ISLNK(info.st_mode), c.link);
    ASSERT_EQ(stat(shared.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, expected_mode);
    EXPECT_EQ(info.st_nlink, c.extra == kSecondName ? 2u : 1u);
    auto loaded = NewTableDef();
    ASSERT_EQ(rv_LoadTableDef(loaded.get(), shared.c_str()), 1);
    EXPECT_STREQ(rv_FieldName(loaded.get(), 0), writable ? "NEU" : "ALT");
    if (c.extra == kSecondName) {
      EXPECT_EQ(testenv::ReadText(second), testenv::ReadText(shared));
    }
    EXPECT_EQ(testenv::ReadText(victim), "victim");
    EXPECT_EQ(EntriesIn(folder.Path()), 1u + c.link + (c.extra == kSecondName) + static_cast<size_t>(planted));
    EXPECT_EQ(Logged("may not be written"), !writable) << "a refusal says why in the event log";
  }
}

// A folder, a pipe or a link leading to one is no definition file: saving
// there fails, says why, and leaves it what it was, with nothing beside it.
TEST_F(DefinitionFileTest, TargetsThatAreNoFilesAreNotReplaced) {
  struct Case { const char* name; const char* why; std::function<void(const std::string&)> make; };
  const Case cases[] = {
      {"folder", "no plain file", [](const std::string& p) { std::filesystem::create_directory(p); }},
      {"pipe", "no plain file", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }},
      {"link to a pipe", "no plain file", [](const std::string& p) {
         ASSERT_EQ(mkfifo((p + ".fifo").c_str(), 0644), 0);
         ASSERT_EQ(symlink((p + ".fifo").c_str(), p.c_str()), 0);
       }},
      {"links in a circle", "circle", [](const std::string& p) { ASSERT_EQ(symlink(p.c_str(), p.c_str()), 0); }},
  };
  auto td = NewTableDef();
  ASSERT_EQ(rv_AddFieldDef(td.get(), "NEU,C,6"), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const testenv::TempDir folder;
    testenv::WriteText(log_, "");
    const std::string path = folder.File("ziel.def");
    c.make(path);
    const size_t before = EntriesIn(folder.Path());
    struct stat was {};
    ASSERT_EQ(lstat(path.c_str(), &was), 0);
    EXPECT_EQ(rv_SaveTableDef(td.get(), path.c_str()), 0);
    struct stat is {};
    ASSERT_EQ(lstat(path.c_str(), &is), 0);
    EXPECT_EQ(is.st_mode, was.st_mode);
    EXPECT_EQ(is.st_ino, was.st_ino);
    EXPECT_EQ(EntriesIn(folder.Path()), before);
    EXPECT_TRUE(Logged(c.why));
  }
}
#endif

TEST_F(DefinitionFileTest, WhatTheFormatCannotHoldIsNotWritten) {
  const std::string saved = dir_.File("saved.def");
  testenv::WriteText(saved, "old content");
  auto td = NewTableDef();
  rv_AddField(td.get(), "A,B", 'C', 1, 0);  // a comma cannot stand in a name
  EXPECT_EQ(rv_SaveTableDef(td.get(), saved.c_str()), 0);
  EXPECT_TRUE(Logged("would not read back"));
  // Without a name there is nothing to write, and the log says so.
  auto plain = NewTableDef();
  rv_AddFieldDef(plain.get(), "A");
  for (const char* name : {static_cast<const char*>(nullptr), ""}) {
    testenv::WriteText(log_, "");
    EXPECT_EQ(rv_SaveTableDef(plain.get(), name), 0);
    EXPECT_TRUE(Logged("no file named"));
  }
  EXPECT_EQ(rv_SaveTableDef(plain.get(), dir_.File("no/such/folder.def").c_str()), 0);

  auto emptied = NewTableDef();
  rv_AddFieldDef(emptied.get(), "A");
  rv_AddKeyDef(emptied.get(), "K,A");
  rv_DelField(emptied.get(), 0);  // leaves a key without fields
  EXPECT_EQ(rv_SaveTableDef(emptied.get(), saved.c_str()), 0);

  auto duplicate = NewTableDef();
  rv_AddFieldDef(duplicate.get(), "A");
  rv_AddFieldDef(duplicate.get(), "B");
  std::strcpy(duplicate->Fields[1].Name, "A");  // as a host may write it
  duplicate->Keys[0] = KeyDef{1, {1}, "K"};  // names the second A, which a file cannot
  duplicate->KeyCnt = 1;
  EXPECT_EQ(rv_SaveTableDef(duplicate.get(), saved.c_str()), 0);

  // Names with control characters, which the loader refuses.
  std::strcpy(plain->TableName, "T\t1");
  EXPECT_EQ(rv_SaveTableDef(plain.get(), saved.c_str()), 0);
  std::strcpy(plain->TableName, "T");
  plain->Fields[0].Name[0] = '\x1b';
  EXPECT_EQ(rv_SaveTableDef(plain.get(), saved.c_str()), 0);
  EXPECT_EQ(testenv::ReadText(saved), "old content");
}

}  // namespace
