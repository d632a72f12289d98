// The parts of lerv that read outside text or shape what a person reads:
// the split of scripts, the objects a generated script creates, the
// connection string of an embedded database, the progress line, the checks
// of imported lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "include/lerv32.h"
#include "support/table_defs.h"
#include "tools/lerv/database.h"
#include "tools/lerv/expected_objects.h"
#include "tools/lerv/failure.h"
#include "tools/lerv/progress.h"
#include "tools/lerv/record_lines.h"
#include "tools/lerv/script_batches.h"
#include "tools/lerv/terminal_text.h"

namespace lerv {
namespace {

struct SplitCase {
  const char* script;
  std::vector<std::string> first_lines;  // of each batch
  std::vector<int> lines;
  std::vector<int> repeats;
};

std::string FirstLine(const std::string& text) { return text.substr(0, text.find("\r\n")); }

TEST(SplitScript, EndsBatchesWhereAPersonWritesGo) {
  const SplitCase cases[] = {
      {"A\r\nGO\r\nB\r\n", {"A", "B"}, {1, 3}, {1, 1}},
      {"A\ngo\nB", {"A", "B"}, {1, 3}, {1, 1}},
      {"A\n  Go  \t\nB\n", {"A", "B"}, {1, 3}, {1, 1}},
      {"A\nGO -- fertig\nB\n", {"A", "B"}, {1, 3}, {1, 1}},
      {"A\nGO 3\nB\n", {"A", "B"}, {1, 3}, {3, 1}},
      // Not GO lines: the text goes to the server.
      {"A\nGOTO x\nGO3\nGO x\n", {"A"}, {1}, {1}},
      // Blank batches are left out; a batch starts at its first line with text.
      {"\n\nGO\n\n  \nA\nGO\nGO\n", {"A"}, {6}, {1}},
      // A comment at a line start hides a GO line; a byte order mark is no text.
      {"\xEF\xBB\xBF" "A\n/* GO\nGO */ B\nGO\nC\n", {"A", "C"}, {1, 5}, {1, 1}},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(c.script);
    const std::vector<ScriptBatch> batches = SplitScript(c.script);
    std::vector<std::string> first_lines;
    std::vector<int> lines, repeats;
    for (const ScriptBatch& b : batches) {
      first_lines.push_back(FirstLine(b.text.substr(b.text.find_first_not_of(" \r\n"))));
      lines.push_back(b.line);
      repeats.push_back(b.repeat);
    }
    EXPECT_EQ(first_lines, c.first_lines);
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(repeats, c.repeats);
  }
}

TEST(SplitScript, ACommentLeftOpenFailsWithItsLine) {
  try {
    SplitScript("A\nGO\n\n/* offen\nB\n");
    FAIL() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_STREQ(failure.what(), "Kommentar ab Zeile 4 nicht geschlossen");
  }
}

TEST(ExpectedObjects, ReadsWhatAGeneratedScriptCreates) {
  const std::string script =
      "IF 0 = (SELECT count(*) from [sysobjects] where [name] = 'ut_T')\r\nBEGIN\r\n"
      "CREATE TABLE [dbo].[ut_T]\r\n(\r\n   [RecId]  integer NOT NULL\r\n  ,[NAME] char(30) DEFAULT ' '\r\n"
      "  ,Betrag decimal(10,2)\r\n  CONSTRAINT [Pk_T]  PRIMARY KEY NONCLUSTERED ( [RecId] )\r\n)\r\nEND\r\nGO\r\n"
      "CREATE VIEW [dbo].[T] AS\r\n  SELECT RecId FROM [dbo].[ut_T]\r\nGO\r\n"
      "\r\ncreate procedure [dbo].[up_Sel_T] @RI integer\r\nAS\r\n  SELECT 1\r\n\r\nGO\r\n"
      "CREATE TRIGGER [dbo].[tr_T] ON [dbo].[ut_T]\r\nFOR DELETE\r\nAS\r\n  SET NOCOUNT ON\r\nGO\r\n"
      "IF 0 = (select 1)\r\nCREATE INDEX [Ik_K] ON [dbo].[ut_T_Keys]\r\n( [K_Value] )\r\nGO\r\n";
  const std::vector<ExpectedObject> objects = ExpectedObjects(script);
  ASSERT_EQ(objects.size(), 5u);
  EXPECT_EQ(objects[0].kind, ExpectedObject::Kind::kTable);
  EXPECT_EQ(objects[0].name, "ut_T");
  std::vector<std::string> columns;
  for (const auto& column : objects[0].columns) columns.push_back(column.name + " " + column.type);
  EXPECT_EQ(columns, (std::vector<std::string>{"RecId integer", "NAME char(30)", "Betrag decimal(10,2)"}));
  EXPECT_EQ(objects[1].name, "T");
  EXPECT_EQ(objects[1].text, "CREATE VIEW [dbo].[T] AS\r\n  SELECT RecId FROM [dbo].[ut_T]");
  EXPECT_EQ(objects[2].kind, ExpectedObject::Kind::kProcedure);
  EXPECT_EQ(objects[2].text, "create procedure [dbo].[up_Sel_T] @RI integer\r\nAS\r\n  SELECT 1");
  EXPECT_EQ(objects[3].kind, ExpectedObject::Kind::kTrigger);
  EXPECT_EQ(objects[3].table, "ut_T");
  EXPECT_EQ(objects[4].kind, ExpectedObject::Kind::kIndex);
  EXPECT_EQ(objects[4].name + " on " + objects[4].table, "Ik_K on ut_T_Keys");
}

TEST(ConnectionString, BracesWhatWouldEndAValue) {
  DatabaseOptions options;
  options.data = "/srv/daten;alt";
  options.database = "Lager {1}";
  options.driver = "/opt/sqlsim.so";
  EXPECT_EQ(ConnectionString(options),
            "DRIVER=/opt/sqlsim.so;DATADIR={/srv/daten;alt};DATABASE={Lager {1}}};AUTOCREATE=0");
  options.create_missing = true;
  options.data = " x";
  EXPECT_EQ(ConnectionString(options), "DRIVER=/opt/sqlsim.so;DATADIR={ x};DATABASE={Lager {1}}};AUTOCREATE=1");
  options.connect = "DSN=Lager;PWD=x";
  EXPECT_EQ(ConnectionString(options), "DSN=Lager;PWD=x");
}

TEST(ProgressLine, ShowsCountRateAndTimeLeft) {
  EXPECT_EQ(Progress::Line("Import", 250, 1000, 5.0),
            "Import [#######-----------------------] 250/1000  50/s  noch 0:15");
  EXPECT_EQ(Progress::Line("Import", 0, 1000, 0.0), "Import [------------------------------] 0/1000  0/s  noch ?");
  const std::string long_one = Progress::Line("Import", 1, 100000, 1.0);
  EXPECT_EQ(long_one.substr(long_one.find("1/100000")), "1/100000  1/s  noch 27:46:39");
  EXPECT_EQ(Progress::Line("Export", 1234, 0, 2.0), "Export 1234  617/s");
}

// One field of each kind the checks treat apart.
testenv::TableDefPtr Kinds() {
  testenv::TableDefPtr td = testenv::NewTableDef();
  for (const char* field : {"T,C,5", "U,u,5", "L,l", "N,N,6,2", "D,d,0,2", "DA,D", "B,L"}) rv_AddFieldDef(td.get(), field);
  return td;
}

TEST(ImportLine, RefusesWhatAFieldWouldNotKeep) {
  const auto td = Kinds();
  struct Case {
    const char* line;
    const char* problem;  // "" when it converts
  };
  const Case cases[] = {
      {"abc\txyz\t-7\t123.5\t0.125\t2024-02-29\t1", ""},
      {"\t\t\t\t\t\t", ""},
      {"abcdef\tx\t1\t1\t1\t\t0", "Feld T: Text länger als 5 Zeichen"},
      {"a\tabcdef\t1\t1\t1\t\t0", "Feld U: Text länger als 5 Zeichen"},
      {"a\tb\t2147483648\t1\t1\t\t0", "Feld L: 2147483648 passt nicht (Breite 4, 0 Nachkommastellen)"},
      {"a\tb\t1.5\t1\t1\t\t0", "Feld L: keine ganze Zahl: \"1.5\""},
      {"a\tb\t1\t1000.005\t1\t\t0", "Feld N: 1000.005 passt nicht (Breite 6, 2 Nachkommastellen)"},
      {"a\tb\t1\t12345\t1\t\t0", "Feld N: 12345 passt nicht (Breite 6, 2 Nachkommastellen)"},
      {"a\tb\t1\tx\t1\t\t0", "Feld N: keine Zahl: \"x\""},
      {"a\tb\t1\t1\t1\t2023-02-29\t0", "Feld DA: kein Datum (JJJJ-MM-TT): \"2023-02-29\""},
      {"a\tb\t1\t1\t1\t2024-1-01\t0", "Feld DA: kein Datum (JJJJ-MM-TT): \"2024-1-01\""},
      {"a\tb\t1\t1\t1\t\t2", "Feld B: weder 0 noch 1: \"2\""},
      {"a\tb\t1", "3 Felder statt 7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<char> rec = RecordBuffer(td.get());
    EXPECT_EQ(ImportLine(td.get(), c.line, rec.data()), c.problem);
  }
}

TEST(ImportLine, WhatConvertsExportsAsItCame) {
  const auto td = Kinds();
  std::vector<char> rec = RecordBuffer(td.get());
  ASSERT_EQ(ImportLine(td.get(), "abc\tXYZ\t-7\t123.50\t0.13\t2024-02-29\t1", rec.data()), "");
  EXPECT_EQ(ExportLine(td.get(), rec.data()), "abc\tXYZ\t-7\t123.50\t0.13\t2024-02-29\t1");
}

}  // namespace
}  // namespace lerv

TEST(LooksLikeUtf8, OnlyWholeSequencesOfSeveralBytes) {
  const struct {
    std::string text;
    bool utf8;
  } cases[] = {
      {"M\xC3\xBCller", true},          // ü
      {"\xE2\x82\xAC 5", true},        // €
      {"\xF0\x9F\x98\x80", true},      // four bytes
      {"plain ASCII", false},            // nothing of several bytes
      {"M\x81ller", false},              // OEM ü: a continuation without lead
      {"M\xFCller", false},              // ANSI ü: a lead without continuation
      {"\xC3", false},                   // cut at the end
      {"\xC3" "A", false},               // a lead whose next byte is no continuation
      {"\xE2\x82", false},
      {"\xC3\xBC\xFC", false},          // UTF-8, then a byte that is not
      {"\xF8\x88\x80\x80\x80", false},  // five-byte lead
  };
  for (const auto& c : cases) EXPECT_EQ(lerv::LooksLikeUtf8(c.text), c.utf8) << c.text;
}
