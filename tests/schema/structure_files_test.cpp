#include <gtest/gtest.h>

#include <string>

#include "include/lerv32.h"
#include "schema/golden.h"
#include "schema/sample_defs.h"

namespace {

constexpr std::size_t kStructSize = 64000;

std::string TableStruct(const TableDef* td) {
  std::string out(kStructSize, '\0');
  const int32_t length = rv_GenCodebaseStruct(td, &out[0]);
  EXPECT_EQ(length, static_cast<int32_t>(std::string(out.c_str()).size()));
  return out.c_str();
}

std::string TriggerStruct(const TableDef* td) {
  std::string out(kStructSize, '\0');
  const int32_t length = rv_GenSqlTriggerStruct(td, &out[0]);
  EXPECT_EQ(length, static_cast<int32_t>(std::string(out.c_str()).size()));
  return out.c_str();
}

TEST(StructureFiles, GoldenTextsOfEverySample) {
  for (const samples::Sample& sample : samples::All()) {
    SCOPED_TRACE(sample.name);
    const auto td = samples::Load(sample);
    golden::Expect("struct_" + std::string(sample.name) + ".txt", TableStruct(td.get()));
    golden::Expect("trigger_struct_" + std::string(sample.name) + ".txt", TriggerStruct(td.get()));
  }
}

const samples::Sample kPerson = {
    "person",
    "",
    {"ALIAS=PERSON", "EXLEVEL=1", "USEKEYTAB=1", "FIELD=NAME,C,30", "FIELD=BETRAG,N,10,2", "FIELD=AKTIV,L",
     "FIELD=GEBDAT,D", "FIELD=KURS,d,0,2", "KEY=NAME_KEY,NAME,GEBDAT", "KEY=AKTIV_KEY,NAME;\\+AKTIV",
     "KEY=WERT_KEY,BETRAG,KURS"},
};

TEST(StructureFiles, TableWithDateNumberAndFilteredKeys) {
  const auto td = samples::Load(kPerson);
  EXPECT_EQ(TableStruct(td.get()),
            "; Strukturdatei fuer Codebase-Datenhaltung\r\n; Tabelle PERSON\r\n; Tab-Nr. 1\r\n"
            "\r\n[Fields]\r\n"
            "NAME=C;30;0;\r\nBETRAG=N;10;2;\r\nAKTIV=L;1;0;\r\nGEBDAT=C;10;0;\r\nKURS=C;8;0;\r\n"
            "\r\n[Keys]\r\n"
            "Key00=UPPER(NAME+SUBSTR(GEBDAT,7,4)+\"-\"+SUBSTR(GEBDAT,4,2)+\"-\"+SUBSTR(GEBDAT,1,2)); .NOT. DELETED();\r\n"
            "Key01=UPPER(NAME);(.NOT.DELETED()).AND.(AKTIV);\r\n"
            "Key02=UPPER(STR(BETRAG,10,2)+KURS); .NOT. DELETED();\r\n");
}

TEST(StructureFiles, TriggerTableKeepsOnlyKeyFieldsOfTextTypes) {
  const auto td = samples::Load(kPerson);
  EXPECT_EQ(TriggerStruct(td.get()),
            "; Strukturdatei fuer SQL-Server-Trigger\r\n; Tabelle PERSON\r\n; Trigger 1\r\n"
            "\r\n[Fields]\r\n__RecId__=C;8;0;\r\n"
            "NAME=C;30;0;\r\nBETRAG=C;10;0;\r\nGEBDAT=C;8;0;\r\n"
            "\r\n[Keys]\r\nERecId=__RecId__; .NOT. DELETED();\r\n"
            "Key00=UPPER(NAME+GEBDAT); .NOT. DELETED();\r\n"
            "Key01=UPPER(NAME); .NOT. DELETED();\r\n"
            "Key02=UPPER(BETRAG+KURS); .NOT. DELETED();\r\n");
}

TEST(StructureFiles, FilterEscapesBecomeTheEnginesOperators) {
  const struct {
    const char* filter;
    const char* expression;
  } cases[] = {
      {"\\!A", ".NOT.A"},
      {"\\-A", ".NOT.A"},
      {"\\$(B,1,2)='X'", "SUBSTR(B,1,2)='X'"},
      {"A \\& B", "A .AND. B"},
      {"\\+A", "A"},
      {"A \\| B", "A .OR. B"},
      {"A\\\\B", "A\\B"},
      {"\\'A\\'", "'A'"},
      {"A = 1\\", "A = 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter);
    const auto td = samples::Load({"f", "", {"ALIAS=F", "USEKEYTAB=1", "FIELD=A,C,1", "FIELD=B,C,5"}});
    ASSERT_EQ(rv_AddKeyDef(td.get(), ("K,A;" + std::string(c.filter)).c_str()), 1);
    const std::string text = TableStruct(td.get());
    const std::string line = "Key00=UPPER(A);(.NOT.DELETED()).AND.(" + std::string(c.expression) + ");\r\n";
    EXPECT_NE(text.find("\r\n[Keys]\r\n" + line), std::string::npos) << text;
  }
}

TEST(StructureFiles, TableWithoutKeys) {
  const auto td = samples::Load({"keine", "", {"ALIAS=KEINE", "FIELD=A,C,4"}});
  const std::string table = TableStruct(td.get());
  EXPECT_EQ(table.substr(table.find("\r\n[Keys]")), "\r\n[Keys]\r\n");
  const std::string trigger = TriggerStruct(td.get());
  EXPECT_EQ(trigger.substr(trigger.find("\r\n[Fields]")),
            "\r\n[Fields]\r\n__RecId__=C;8;0;\r\n\r\n[Keys]\r\nERecId=__RecId__; .NOT. DELETED();\r\n");
}

}  // namespace
