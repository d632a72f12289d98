// The generated scripts and structure files against their golden files, and
// what a golden file cannot show.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "include/lerv32.h"
#include "schema/generators.h"
#include "schema/key_fields.h"
#include "schema/golden.h"
#include "schema/sample_defs.h"

namespace {

constexpr int32_t kBig = 400000;
using Bounded = std::function<int32_t(char* out, int32_t capacity)>;

// The whole text of a generator, whose result must be its length.
std::string Text(const Bounded& generate) {
  std::string out(kBig, '\0');
  const int32_t length = generate(&out[0], kBig);
  EXPECT_EQ(length, static_cast<int32_t>(std::strlen(out.c_str())));
  return out.c_str();
}

std::string KeyTable(const TableDef* td) {
  return Text([&](char* out, int32_t size) {
    return lerv32::Generate(out, size, [&](lerv32::ScriptWriter& w) { lerv32::WriteKeyTableScript(w, td); });
  });
}

// The part of text ahead of tail, which must end it: the tail has a golden
// file of its own.
std::string Ahead(const std::string& text, const std::string& tail) {
  const bool ends_with_tail = text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
  EXPECT_TRUE(ends_with_tail) << "text does not end with the other generator's part";
  return ends_with_tail ? text.substr(0, text.size() - tail.size()) : text;
}

// Beyond the shared samples: a date, a number without decimals and a filter
// in keys of a key table, a tenant text the table does not use, keys absent.
const std::vector<samples::Sample> kExtra = {
    {"person", "",
     {"ALIAS=PERSON", "EXLEVEL=1", "USEKEYTAB=1", "FIELD=NAME,C,30", "FIELD=BETRAG,N,10,2", "FIELD=AKTIV,L",
      "FIELD=GEBDAT,D", "FIELD=KURS,d,0,2", "FIELD=PLZ,N,5,0", "KEY=NAME_KEY,NAME,GEBDAT",
      "KEY=AKTIV_KEY,NAME;\\+AKTIV", "KEY=WERT_KEY,BETRAG,KURS", "KEY=PLZ_KEY,NAME,PLZ", "KEY=GEB_KEY,GEBDAT"}},
    {"zahlen_m01", "M01", samples::All()[3].lines},
    {"keine", "", {"ALIAS=KEINE", "FIELD=A,C,4"}},
};

TEST(Generators, GoldenTextsOfEveryDefinition) {
  std::vector<samples::Sample> all = samples::All();
  all.insert(all.end(), kExtra.begin(), kExtra.end());
  for (const samples::Sample& sample : all) {
    SCOPED_TRACE(sample.name);
    const auto holder = samples::Load(sample);
    const TableDef* td = holder.get();
    const std::string key_tables = td->UseKeyTable != 0 ? KeyTable(td) : "";
    if (td->UseKeyTable != 0) golden::Expect("keytable_" + std::string(sample.name) + ".sql", key_tables);
    // A tenant text the table does not use changes only the key table's triggers.
    const std::string name = std::string(sample.name) == "zahlen_m01" ? "zahlen" : sample.name;
    golden::Expect("table_std_" + name + ".sql", Text([&](char* o, int32_t) { return rv_GenSqlTableDef(td, o, 0); }));
    golden::Expect("table_tsql_" + name + ".sql",
                   Ahead(Text([&](char* o, int32_t) { return rv_GenSqlTableDef(td, o, 1); }), key_tables));
    golden::Expect("drop_" + name + ".sql", Text([&](char* o, int32_t) { return rv_GenSqlDropDef(td, o); }));
    golden::Expect("procs_" + name + ".sql", Text([&](char* o, int32_t) { return rv_GenSqlTableBasicProc(td, o, 1); }));
    golden::Expect("struct_" + name + ".txt", Text([&](char* o, int32_t) { return rv_GenCodebaseStruct(td, o); }));
    golden::Expect("trigger_struct_" + name + ".txt",
                   Text([&](char* o, int32_t) { return rv_GenSqlTriggerStruct(td, o); }));
    for (int32_t k = 0; k < td->KeyCnt; ++k) {
      const std::string stem = name + "_" + td->Keys[k].Name + ".sql";
      const std::string procs = Text([&](char* o, int32_t) { return rv_GenSqlTableIndexProc(td, o, k, 1); });
      golden::Expect("keyprocs_" + stem, procs);
      golden::Expect("index_std_" + stem, Text([&](char* o, int32_t) { return rv_GenSqlIndexDef(td, o, k, 0); }));
      golden::Expect("index_tsql_" + stem,
                     Ahead(Text([&](char* o, int32_t) { return rv_GenSqlIndexDef(td, o, k, 1); }), procs));
    }
  }
  rv_SetMandant("");
}

TEST(Generators, BoundedVariantsFitExactlyOrWriteAnEmptyText) {
  const auto td = samples::Load(samples::All()[1]);
  const TableDef* t = td.get();
  const Bounded cases[] = {
      [t](char* o, int32_t n) { return rv_GenSqlTableDefN(t, o, n, 1); },
      [t](char* o, int32_t n) { return rv_GenSqlTableIndexProcN(t, o, n, 1, 1); },
      [t](char* o, int32_t n) { return rv_GenCppTableDefN(t, o, n); },
      [](char* o, int32_t n) {  // longer than the formatter's first try
        return lerv32::Generate(o, static_cast<std::size_t>(n), [](lerv32::ScriptWriter& w) {
          w.Put("CREATE TABLE ");
          w.Format("[%s] (%d)\r\n%s", "ut_KUNDE", 7, std::string(600, 'x').c_str());
        });
      },
  };
  for (const Bounded& generate : cases) {
    const std::string expected = Text(generate);
    const auto size = static_cast<int32_t>(expected.size());
    std::string fits(expected.size() + 2, '#'), short_by_one(expected.size() + 1, '#');
    EXPECT_EQ(generate(&fits[0], size + 1), size);
    EXPECT_EQ(fits, expected + '\0' + '#');
    EXPECT_EQ(generate(&short_by_one[0], size), -1);
    EXPECT_EQ(short_by_one[0], '\0');
    EXPECT_EQ(short_by_one[expected.size()], '#') << "written past the capacity";
  }
  std::string header(kBig, '\0');
  rv_GenCppTableDef(t, &header[0]);
  EXPECT_EQ(Text(cases[2]), header.c_str()) << "the bounded header is the whole one";
  EXPECT_EQ(Text(cases[3]), "CREATE TABLE [ut_KUNDE] (7)\r\n" + std::string(600, 'x'));
  EXPECT_EQ(cases[3](nullptr, 100), -1);
  rv_SetMandant("");
}

// A field or key of the array beyond its count is left out: no column, not
// even a text one, and no key field in the companion structure; so is an
// empty filter.
TEST(Generators, FieldsAndKeysBeyondTheCountAndEmptyFiltersAreLeftOut) {
  const auto td = samples::Load(samples::All()[0]);
  --td->FieldCnt;  // NOTIZ, a text field, stays in the array
  EXPECT_EQ(Text([&](char* o, int32_t) { return rv_GenSqlTableDef(td.get(), o, 1); }).find("NOTIZ"),
            std::string::npos);
  const auto person = samples::Load(kExtra[0]);
  person->KeyCnt -= 2;  // PLZ_KEY, the only key over PLZ, stays in the array
  EXPECT_EQ(Text([&](char* o, int32_t) { return rv_GenSqlTriggerStruct(person.get(), o); }).find("PLZ="),
            std::string::npos);
  // The index over the key table names no filter column for an empty text.
  const auto zahlen = samples::Load(samples::All()[3]);
  char empty[] = "";
  zahlen->KeyFilter[0] = empty;
  const std::string text = KeyTable(zahlen.get());
  zahlen->KeyFilter[0] = nullptr;
  EXPECT_EQ(text.find("_Filter"), std::string::npos);
  EXPECT_EQ(text.find("THEN 1 ELSE 0 END"), std::string::npos);
}

// Every generator in its plain and bounded form, on key 0 where it takes one.
std::vector<Bounded> EveryGenerator(const TableDef* t) {
  return {
      [t](char* o, int32_t n) { return rv_GenSqlTableDefN(t, o, n, 1); },
      [t](char* o, int32_t n) { return rv_GenSqlTableDefN(t, o, n, 0); },
      [t](char* o, int32_t n) { return rv_GenSqlIndexDefN(t, o, n, 0, 1); },
      [t](char* o, int32_t n) { return rv_GenSqlIndexDefN(t, o, n, 0, 0); },
      [t](char* o, int32_t n) { return rv_GenSqlDropDefN(t, o, n); },
      [t](char* o, int32_t n) { return rv_GenSqlTableBasicProcN(t, o, n, 1); },
      [t](char* o, int32_t n) { return rv_GenSqlTableIndexProcN(t, o, n, 0, 1); },
      [t](char* o, int32_t n) { return rv_GenCodebaseStructN(t, o, n); },
      [t](char* o, int32_t n) { return rv_GenSqlTriggerStructN(t, o, n); },
      [t](char* o, int32_t n) { return rv_GenCppTableDefN(t, o, n); },
      [t](char* o, int32_t) { return rv_GenSqlTableDef(t, o, 1); },
      [t](char* o, int32_t) { return rv_GenSqlIndexDef(t, o, 0, 1); },
      [t](char* o, int32_t) { return rv_GenSqlDropDef(t, o); },
      [t](char* o, int32_t) { return rv_GenSqlTableBasicProc(t, o, 1); },
      [t](char* o, int32_t) { return rv_GenSqlTableIndexProc(t, o, 0, 1); },
      [t](char* o, int32_t) { return rv_GenCodebaseStruct(t, o); },
      [t](char* o, int32_t) { return rv_GenSqlTriggerStruct(t, o); },
  };
}

// A host that writes a line break into a name (table, tenant, field or key
// in use) gets no script at all: the script runner would cut a batch at a
// GO of the name's. Slots beyond the counts do not matter.
TEST(Generators, NamesWithControlCharactersGetNoText) {
  const std::vector<std::function<void(TableDef*)>> spoilers = {
      [](TableDef* td) { std::strcpy(td->TableName, "A\r\nGO\r\nDROP TABLE OPFER\r\nGO\r\n"); },
      [](TableDef* td) { td->Fields[2].Name[1] = '\n'; },
      [](TableDef* td) { td->Keys[td->KeyCnt - 1].Name[0] = '\t'; },
      [](TableDef* td) { td->UseMandant = 1; rv_SetMandant("M\n1"); },
  };
  for (size_t i = 0; i < spoilers.size(); ++i) {
    const auto td = samples::Load(samples::All()[1]);
    spoilers[i](td.get());
    const std::vector<Bounded> generators = EveryGenerator(td.get());
    for (size_t g = 0; g < generators.size(); ++g) {
      std::string out(kBig, '#');
      EXPECT_EQ(generators[g](&out[0], kBig), -1) << "spoiler " << i << ", generator " << g;
      EXPECT_EQ(out[0], '\0') << "spoiler " << i << ", generator " << g;
    }
    rv_SetMandant("");
  }
  const auto td = samples::Load(samples::All()[1]);
  td->Fields[td->FieldCnt].Name[0] = '\n';
  td->Keys[td->KeyCnt].Name[0] = '\n';
  for (const Bounded& generate : EveryGenerator(td.get())) EXPECT_GT(Text(generate).size(), 0u);
  rv_SetMandant("");
}

// The structure files carry field names bare: a name that would end its
// field line or key expression gets no structure file, only there; a field
// the companion file leaves out does not matter to it.
TEST(Generators, StructureFilesRefuseNamesTheyCannotCarry) {
  const auto refused = [](const Bounded& generate) {
    std::string out(kBig, '#');
    return generate(&out[0], kBig) == -1 && out[0] == '\0';
  };
  for (const char* name : {"A B", "A=B", "A;B", "A+B", "A(B", "A)B", "A,B", "A\"B", "A-B", "A'B", "A[B]", "A.B",
                           "A$", "A*B", "A/B", "A<B", "1A"}) {
    const auto keyed = samples::Load({"s", "", {"ALIAS=S", "FIELD=X,C,3", "FIELD=N,C,2", "KEY=K,N"}});
    std::strcpy(keyed->Fields[0].Name, name);
    const TableDef* t = keyed.get();
    const Bounded codebase = [t](char* o, int32_t n) { return rv_GenCodebaseStructN(t, o, n); };
    const Bounded trigger = [t](char* o, int32_t) { return rv_GenSqlTriggerStruct(t, o); };
    EXPECT_TRUE(refused(codebase)) << name;
    EXPECT_NE(Text(trigger).find("N=C;2;0;"), std::string::npos) << name << ": not in a key";
    keyed->Keys[0].TokenFieldNo[0] = 0;
    EXPECT_TRUE(refused(trigger)) << name;
    EXPECT_GT(Text([t](char* o, int32_t) { return rv_GenSqlTableDef(t, o, 1); }).size(), 0u) << name;
  }
  const auto plain = samples::Load({"s", "", {"ALIAS=S", "FIELD=A_B1,C,3", "FIELD=\xC4NDERUNG,C,2", "KEY=K,A_B1"}});
  const std::string carried = Text([&](char* o, int32_t) { return rv_GenCodebaseStruct(plain.get(), o); });
  EXPECT_NE(carried.find("A_B1=C;3;0;"), std::string::npos) << carried;
  EXPECT_NE(carried.find("\xC4NDERUNG=C;2;0;"), std::string::npos) << "letters beyond ASCII pass";
}

// Names a host wrote to the end of their members, without a terminator,
// make the definition invalid: no text, nothing of the members behind them.
TEST(Generators, UnterminatedNamesGetNoText) {
  const auto td = samples::Load({"voll", "", {"ALIAS=V", "FIELD=F,C,3", "FIELD=G,l", "KEY=K,F,G", "KEY=L,G"}});
  std::memset(td->TableName, 'T', sizeof td->TableName);
  std::memset(td->Fields[0].Name, 'F', sizeof td->Fields[0].Name);
  std::memset(td->Keys[0].Name, 'K', sizeof td->Keys[0].Name);
  const std::string script = Text([&](char* o, int32_t) { return rv_GenSqlTableDef(td.get(), o, 1); }) +
                             Text([&](char* o, int32_t) { return rv_GenSqlIndexDef(td.get(), o, 0, 1); });
  EXPECT_EQ(script, "");
  for (const Bounded& generate : EveryGenerator(td.get())) {
    const std::string text = Text(generate);
    EXPECT_EQ(text.find_first_of(std::string("\x01\x02\x03\0", 4)), std::string::npos) << text.substr(0, 80);
  }
}

// A name that would close the comment it is written into is broken up there.
TEST(Generators, NamesInCommentsCannotEndThem) {
  EXPECT_EQ(lerv32::InComment("a*/b/*c"), "a* /b/ *c");
  EXPECT_EQ(lerv32::InComment("*/*/"), "* / * /");
  const auto td = samples::Load({"c", "", {"ALIAS=x*/y", "FIELD=a/*,C,3", "KEY=k*/,a/*"}});
  const std::string procs = Text([&](char* o, int32_t) { return rv_GenSqlTableIndexProc(td.get(), o, 0, 1); });
  EXPECT_NE(procs.find("/* ersten Datensatz aus x* /y in Folge k* / ermittln */"), std::string::npos) << procs;
  EXPECT_NE(procs.find("/* naechsten Datensatz in Folge ORDER BY [a/ *],RecId ermitteln */"), std::string::npos);
}

TEST(Generators, FilterEscapesForTheServerAndTheStructureFile) {
  const struct {
    const char* filter;
    const char* sql;  // nullptr: the structure file only
    const char* expression;  // nullptr: the server only
  } cases[] = {
      {"\\!A", "NOTA", ".NOT.A"},
      {"\\-A", "0 = A", ".NOT.A"},
      {"\\+A", "1 = A", "A"},
      {"\\$(B,1,2)='X'", "SUBSTRING(B,1,2)='X'", "SUBSTR(B,1,2)='X'"},
      {"A = 1 \\& B = 2", "A = 1 AND B = 2", "A = 1 .AND. B = 2"},
      {"A \\| B", "A OR B", "A .OR. B"},
      {"NAME <> '' \\& \\+AKTIV", "NAME <> '' AND 1 = AKTIV", nullptr},
      {"\\\\ \\x\\'", "\\ x'", nullptr},
      {"A\\\\B", nullptr, "A\\B"},
      {"\\'A\\'", "'A'", "'A'"},
      {"A = 1\\", "A = 1", "A = 1"},
      {"\\", "", nullptr},
      {"", "", nullptr},
      {nullptr, "", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter != nullptr ? c.filter : "(null)");
    if (c.sql != nullptr) {
      EXPECT_EQ(lerv32::FilterToSql(c.filter), std::string("CASE WHEN ") + c.sql + " THEN 1 ELSE 0 END\r\n");
    }
    if (c.expression == nullptr) continue;
    const auto td = samples::Load({"f", "", {"ALIAS=F", "USEKEYTAB=1", "FIELD=A,C,1", "FIELD=B,C,5"}});
    ASSERT_EQ(rv_AddKeyDef(td.get(), ("K,A;" + std::string(c.filter)).c_str()), 1);
    const std::string line = "\r\n[Keys]\r\nKey00=UPPER(A);(.NOT.DELETED()).AND.(" + std::string(c.expression) + ");\r\n";
    EXPECT_NE(Text([&](char* o, int32_t) { return rv_GenCodebaseStruct(td.get(), o); }).find(line), std::string::npos);
  }
}

}  // namespace
