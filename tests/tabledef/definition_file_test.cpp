#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "frame/settings.h"
#include "include/lerv32.h"
#include "support/table_defs.h"
#include "support/test_env.h"

namespace {

using testenv::NewTableDef;

class DefinitionFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lerv32::ExSQL_Maximum = 2;
    lerv32::ExSQL_Append = 1;
  }
  void TearDown() override { SetUp(); }

  // Writes the lines to a file and loads it into a fresh definition.
  testenv::TableDefPtr Load(const std::string& lines) {
    std::ofstream(path_, std::ios::binary) << lines;
    auto td = NewTableDef();
    EXPECT_EQ(rv_LoadTableDef(td.get(), path_.c_str()), 1);
    return td;
  }

  testenv::TempDir dir_;
  std::string path_ = dir_.File("table.def");
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
  ASSERT_NE(td->KeyFilter[2], nullptr);
  EXPECT_STREQ(td->KeyFilter[2], "X=1");
  EXPECT_EQ(rv_KeyTokenFieldNo(td.get(), 3, 0), 1);
  EXPECT_EQ(td->SqlKeyMask, 1u << 4);
  EXPECT_EQ(rv_GetPrimaryKey(td.get()), 5);  // taken even though the key was refused
  EXPECT_EQ(td->UseMandant, 1);
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

TEST_F(DefinitionFileTest, WhatTheFormatCannotHoldIsNotWritten) {
  const std::string saved = dir_.File("saved.def");
  std::ofstream(saved, std::ios::binary) << "old content";
  auto td = NewTableDef();
  rv_AddField(td.get(), "A,B", 'C', 1, 0);  // a comma cannot stand in a name
  EXPECT_EQ(rv_SaveTableDef(td.get(), saved.c_str()), 0);

  auto emptied = NewTableDef();
  rv_AddFieldDef(emptied.get(), "A");
  rv_AddKeyDef(emptied.get(), "K,A");
  rv_DelField(emptied.get(), 0);  // leaves a key without fields
  EXPECT_EQ(rv_SaveTableDef(emptied.get(), saved.c_str()), 0);

  auto duplicate = NewTableDef();
  rv_AddFieldDef(duplicate.get(), "A");
  rv_AddFieldDef(duplicate.get(), "A");
  duplicate->Keys[0] = KeyDef{1, {1}, "K"};  // names the second A, which a file cannot
  duplicate->KeyCnt = 1;
  EXPECT_EQ(rv_SaveTableDef(duplicate.get(), saved.c_str()), 0);

  std::ifstream in(saved, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old content");
  EXPECT_EQ(rv_SaveTableDef(td.get(), dir_.File("no/such/folder.def").c_str()), 0);
}

}  // namespace
