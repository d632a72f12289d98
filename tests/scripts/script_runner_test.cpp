// Scripts split at GO lines and run on sqlsim through the library: the
// splitting rules, the first failing batch ending the script with the
// server's messages, script files, and tables created from a definition.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "include/lerv32.h"
#include "schema/sample_defs.h"
#include "scripts/script_runner.h"
#include "support/table_defs.h"
#include "support/sqlsim_db.h"
#include "support/test_env.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

#include <sql.h>
#include <sqlext.h>

namespace {

struct SplitCase { const char* what; const char* script; std::vector<std::string> batches; };

TEST(SplitBatchesTest, FollowsTheRunnersRules) {
  const SplitCase cases[] = {
      {"no GO: one batch", "SELECT 1\r\nSELECT 2", {"SELECT 1\r\nSELECT 2"}},
      {"GO CR LF separates", "A\r\nGO\r\nB\r\n", {"A\r\n", "B\r\n"}},
      {"two GO lines: no empty batch", "A\r\nGO\r\nGO\r\nB", {"A\r\n", "B"}},
      {"lower-case go stays", "A\r\ngo\r\nB", {"A\r\ngo\r\nB"}},
      {"GO with blanks stays", "A\r\nGO \r\nB", {"A\r\nGO \r\nB"}},
      {"GO with a bare LF stays", "A\nGO\nB", {"A\nGO\nB"}},
      {"GO at the end without a line end stays", "A\r\nGO", {"A\r\nGO"}},
      {"GO inside a line stays", "SELECT 'GO'\r\n", {"SELECT 'GO'\r\n"}},
      {"line-start comment skipped, GO after it separates", "A\r\n/* x\r\ny */GO\r\nB", {"A\r\n", "B"}},
      {"comment later in a line stays", "A /* x */\r\nGO\r\n", {"A /* x */\r\n"}},
      {"unclosed comment ends the batch", "A\r\n/* x", {"A\r\n"}},
      {"a slash at a line start is text", "/ 2\r\n", {"/ 2\r\n"}},
      {"only GO lines", "GO\r\nGO\r\n", {}},
  };
  for (const SplitCase& c : cases) {
    bool too_long = true;
    EXPECT_EQ(lerv32::SplitBatches(c.script, &too_long), c.batches) << c.what;
    EXPECT_FALSE(too_long) << c.what;
  }
  std::string huge = "SELECT 1\r\nGO\r\nSELECT '" + std::string(lerv32::kBatchBufferSize, 'x') + "'\r\nGO\r\nSELECT 2";
  bool too_long = false;
  EXPECT_TRUE(lerv32::SplitBatches(huge.c_str(), &too_long).empty());
  EXPECT_TRUE(too_long);
}

class ScriptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string connect = testenv::SqlsimConnectString(temp_.Path(), "skript");
    dbc_ = rv_OdbcDriverConnect(nullptr, connect.c_str());
    ASSERT_NE(dbc_, nullptr);
  }
  void TearDown() override {
    if (dbc_) rv_OdbcDisconnect(dbc_);
  }
  // The script run on the library's connection; the server's messages are
  // kept in errors_ and named when it fails.
  ::testing::AssertionResult Runs(const std::string& script) {
    if (rv_CallStatement(dbc_, script.c_str(), errors_, sizeof errors_) == 1) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << errors_;
  }
  // The script file run on the library's connection in database (nullptr:
  // the current one), as Runs.
  ::testing::AssertionResult RunsFile(const char* database, const std::string& path) {
    if (rv_CallSqlFile(dbc_, database, path.c_str(), errors_, sizeof errors_) == 1) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << errors_;
  }
  bool ErrorsHave(const char* text) const { return std::string(errors_).find(text) != std::string::npos; }
  // The drop script of td, run.
  ::testing::AssertionResult Drops(const TableDef* td) {
    std::vector<char> script(400000);
    rv_GenSqlDropDefN(td, script.data(), static_cast<int32_t>(script.size()));
    return Runs(script.data());
  }
  int Count(const std::string& table) {
    std::string sql = "IF (SELECT count(*) FROM " + table + ") <> 0 RAISERROR('not empty', 16, 1)";
    return rv_CallStatement(dbc_, sql.c_str(), nullptr, 0);
  }

  // The record id a navigation procedure answers, -1 for none.
  SQLINTEGER LastOf(const char* procedure) {
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, static_cast<SQLHDBC>(dbc_), &stmt))) return -1;
    SQLINTEGER id = -1;
    SQLLEN indicator = 0;
    const std::string call = std::string("EXECUTE ") + procedure;
    const bool read = SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(call.c_str())),
                                                  SQL_NTS)) &&
                      SQLFetch(stmt) == SQL_SUCCESS &&
                      SQL_SUCCEEDED(SQLGetData(stmt, 1, SQL_C_SLONG, &id, 0, &indicator));
    if (!read || indicator == SQL_NULL_DATA) id = -1;
    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    return id;
  }

  testenv::TempDir temp_;
  LERV32_HDBC dbc_ = nullptr;
  char errors_[1024] = "";
  std::vector<char> script_ = std::vector<char>(400000);  // for a generated script
  const int32_t size_ = 400000;
};

// The generated scripts need the library's functions on the server.
class GeneratedScriptsTest : public ScriptsTest {
 protected:
  void SetUp() override {
    ScriptsTest::SetUp();
    ASSERT_TRUE(RunsFile(nullptr, LERV32_DPXFUNC_SQL));
  }
};

TEST_F(ScriptsTest, FirstFailingBatchEndsTheScriptWithTheServersMessages) {
  EXPECT_FALSE(Runs("CREATE TABLE A (I int NULL)\r\nGO\r\nINSERT INTO Fehlt VALUES (1)\r\nGO\r\n"
                    "CREATE TABLE B (I int NULL)\r\n"));
  EXPECT_TRUE(ErrorsHave("Invalid object name 'Fehlt'")) << errors_;
  EXPECT_EQ(rv_CallStatement(dbc_, "SELECT * FROM B", nullptr, 0), 0) << "the batch after the failure did not run";
  EXPECT_EQ(rv_CallStatement(dbc_, "SELECT * FROM A", nullptr, 0), 1) << "the batch before it stays done";
  char small[20] = "unverändert";
  EXPECT_EQ(rv_CallStatement(dbc_, "SELECT * FROM Fehlt", small, sizeof small), 0);
  EXPECT_STREQ(small, "") << "a buffer of 20 bytes or less gets no message";
  EXPECT_EQ(rv_CallStatement(dbc_, "CREATE TABLE C (I int NULL)\r\nGO", nullptr, 0), 0)
      << "a last GO without line end reaches the server";
}

// A batch's later statements fail on their own result; an UPDATE that meets
// no row is no failure to an ODBC 3 application; a batch longer than the
// buffer stops the script before anything of it runs.
TEST_F(ScriptsTest, EveryStatementOfABatchCountsAndTooLongRunsNothing) {
  EXPECT_FALSE(Runs("CREATE TABLE T (I int NULL)\r\nINSERT INTO T VALUES (1)\r\n"
                    "INSERT INTO Fehlt VALUES (1)\r\nGO\r\nCREATE TABLE Danach (I int NULL)\r\n"));
  EXPECT_TRUE(ErrorsHave("Invalid object name 'Fehlt'")) << errors_;
  EXPECT_EQ(rv_CallStatement(dbc_, "SELECT * FROM Danach", nullptr, 0), 0) << "the next batch did not run";
  EXPECT_FALSE(Runs("SELECT 1\r\nSELECT 1/0\r\n"));
  EXPECT_TRUE(ErrorsHave("Divide by zero")) << errors_;
  // 31999 characters fit the buffer with its terminator; 32000 do not.
  for (size_t size : {lerv32::kBatchBufferSize - 1, lerv32::kBatchBufferSize}) {
    const std::string insert = "INSERT INTO T VALUES (2)\r\n";
    const std::string select = "SELECT '" + std::string(size - 16, 'x') + "' AS A\r\n";
    ASSERT_EQ(select.size(), size);
    const std::string script = insert + "GO\r\n" + select + "GO\r\n" + insert;
    const bool fits = size < lerv32::kBatchBufferSize;
    EXPECT_EQ(static_cast<bool>(Runs(script)), fits) << size;
    EXPECT_STREQ(errors_, fits ? "" : "batch too long");
  }
  EXPECT_TRUE(Runs("IF (SELECT count(*) FROM T WHERE I = 2) <> 2 RAISERROR('runs', 16, 1)"))
      << "both inserts of the fitting script, none of the other";
  // A connection the caller opened for ODBC 3.
  SQLHENV env = SQL_NULL_HENV;
  SQLHDBC dbc = SQL_NULL_HDBC;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)));
  SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)));
  std::string connect = testenv::SqlsimConnectString(temp_.Path(), "skript");
  ASSERT_TRUE(SQL_SUCCEEDED(SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(connect.data()), SQL_NTS,
                                             nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT)));
  EXPECT_EQ(rv_CallStatement(dbc, "UPDATE T SET I = 3 WHERE I = 4\r\nGO\r\nDELETE FROM T WHERE I = 4", errors_,
                             sizeof errors_),
            1)
      << errors_;
  EXPECT_EQ(rv_CallStatement(dbc, "INSERT INTO Fehlt VALUES (1)", errors_, sizeof errors_), 0);
  EXPECT_TRUE(ErrorsHave("Invalid object name 'Fehlt'")) << errors_;
  SQLDisconnect(dbc);
  SQLFreeHandle(SQL_HANDLE_DBC, dbc);
  SQLFreeHandle(SQL_HANDLE_ENV, env);
}

TEST_F(ScriptsTest, ScriptFilesAndTheirDatabase) {
  EXPECT_FALSE(RunsFile(nullptr, (temp_.Path() / "fehlt.sql").string()));
  EXPECT_STREQ(errors_, "file not open");
  const std::string path = (temp_.Path() / "skript.sql").string();
  testenv::WriteText(path, "CREATE TABLE F (I int NULL)\r\nGO\r\nINSERT INTO F VALUES (1)\r\n");
  EXPECT_FALSE(RunsFile("nirgends", path));
  EXPECT_EQ(rv_CallStatement(dbc_, "SELECT * FROM F", nullptr, 0), 0) << "nothing of the file ran";
  EXPECT_TRUE(RunsFile("skript", path));
  EXPECT_STREQ(errors_, "");
  EXPECT_EQ(rv_CallStatement(dbc_, "SELECT * FROM F", nullptr, 0), 1);
  // A database name holding the closing bracket reaches the server whole
  // (sqlsim has no such database: it says so, by that name).
  EXPECT_FALSE(RunsFile("a]b", path));
  EXPECT_TRUE(ErrorsHave("Database 'a]b' does not exist")) << errors_;
  // So does the database a table is created in, a keyword here.
  ASSERT_TRUE(Runs("CREATE DATABASE [Order]"));
  const testenv::TableDefPtr td = samples::Load({"in_db", "", {"ALIAS=IN_DB", "FIELD=A,C,5"}});
  EXPECT_EQ(rv_CreateTable(dbc_, td.get(), 0, "Order"), 1);
  EXPECT_EQ(Count("[Order].dbo.IN_DB"), 1);
  EXPECT_TRUE(Runs("USE skript"));
  // Files without a size from seeking: a folder is refused; a pipe and a file
  // over 2 GiB (zeros after the script, which end it) run as read.
  EXPECT_FALSE(RunsFile(nullptr, temp_.Path().string()));
  EXPECT_STREQ(errors_, "file not open");
#if !defined(_WIN32)
  const std::string pipe = (temp_.Path() / "pipe.sql").string();
  const std::string huge = (temp_.Path() / "huge.sql").string();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::thread writer([&] { testenv::WriteText(pipe, "CREATE TABLE P (I int NULL)\r\n"); });
  EXPECT_TRUE(RunsFile(nullptr, pipe));
  writer.join();
  testenv::WriteText(huge, "CREATE TABLE H (I int NULL)\r\n");
  std::filesystem::resize_file(huge, (uintmax_t{1} << 31) + 1);
  EXPECT_TRUE(RunsFile(nullptr, huge));
  EXPECT_EQ(rv_CallStatement(dbc_, "SELECT * FROM P\r\nGO\r\nSELECT * FROM H", nullptr, 0), 1);
#endif
}

// Every Transact-SQL script, run twice over what it made the first time (the
// second time after USE of the database), the procedures usable after, and
// the drop script leaving nothing: for the samples, key tables without keys,
// and names that are no plain identifiers. The standard form makes the table.
TEST_F(GeneratedScriptsTest, GeneratedScriptsRunTwice) {
  std::vector<samples::Sample> cases = samples::All();
  cases.push_back({"keine Schluessel", "", {"ALIAS=OHNE", "USEKEYTAB=1", "FIELD=A,C,5"}});
  for (const char* keytab : {"USEKEYTAB=0", "USEKEYTAB=1"}) {
    cases.push_back({keytab[10] == '1' ? "Namen, Schluesseltabelle" : "Namen", "Firma 1",
                     {"ALIAS=ART-STAMM", "USEMANDANT=1", keytab, "FIELD=BY,C,5", "FIELD=O'NEIL,l", "FIELD=A]B,D",
                      "FIELD=_2,C,1", "KEY=K-1,BY,O'NEIL,_2;[O'NEIL] > 0", "KEY=K]2,A]B"}});
  }
  for (const samples::Sample& sample : cases) {
    SCOPED_TRACE(sample.name);
    const testenv::TableDefPtr td = samples::Load(sample);
    EXPECT_EQ(rv_CreateTable(dbc_, td.get(), 1, nullptr), 1);
    EXPECT_EQ(rv_CreateTable(dbc_, td.get(), 1, "skript"), 1) << "again over the existing objects";
    std::vector<std::string> calls = {"up_Add_" + lerv32::BaseNameOf(td.get())};
    if (td->KeyCnt > 0)
      calls.push_back("up_First_" + lerv32::BaseNameOf(td.get()) + "_" + td->Keys[td->KeyCnt - 1].Name);
    for (std::string call : calls) {
      for (std::size_t at = 0; (at = call.find(']', at)) != std::string::npos; at += 2) call.insert(at, "]");
      EXPECT_TRUE(Runs("EXECUTE [" + call + "]"));
    }
    for (int run = 1; run <= 2; ++run) EXPECT_TRUE(Drops(td.get())) << "drop " << run;
    EXPECT_EQ(Count("sysobjects WHERE xtype IN ('U','V','P','FN','TR') AND name NOT IN "
                    "('dpxfunc_integer','dpxfunc_datetime','dpxfunc_float')"),
              1)
        << "not dropped";
  }
  rv_SetMandant("");
  const testenv::TableDefPtr td = samples::Load(
      {"standard", "", {"ALIAS=STANDARD", "FIELD=NAME,C,20", "FIELD=DATUM,D", "KEY=NAME_KEY,NAME", "USEKEYTAB=1"}});
  EXPECT_EQ(rv_CreateTable(dbc_, td.get(), 0, nullptr), 1);
  EXPECT_EQ(Count("STANDARD"), 1);
  EXPECT_EQ(rv_DropTable(1, 2, 3), 0);
}

// Table T with key A_B and table T_A with key B compose the same navigation
// procedure names. The second table is refused before anything of it is
// made, its scripts never replace or drop the first table's procedures, and
// a table may still replace its own procedures of the other form.
TEST_F(GeneratedScriptsTest, NavigationProceduresOfAnotherTableAreNeverReplaced) {
  for (const char* first_form : {"USEKEYTAB=0", "USEKEYTAB=1"}) {
    for (const char* second_form : {"USEKEYTAB=0", "USEKEYTAB=1"}) {
      SCOPED_TRACE(std::string(first_form) + " then " + second_form);
      const testenv::TableDefPtr first =
          samples::Load({"T", "", {"ALIAS=T", first_form, "FIELD=A_B,C,5", "KEY=A_B,A_B"}});
      const testenv::TableDefPtr second =
          samples::Load({"T_A", "", {"ALIAS=T_A", second_form, "FIELD=B,C,5", "KEY=B,B"}});
      ASSERT_EQ(rv_CreateTable(dbc_, first.get(), 1, nullptr), 1);
      ASSERT_EQ(rv_CallStatement(dbc_, "INSERT INTO ut_T (RecId, A_B) VALUES (7, 'x')", nullptr, 0), 1);
      EXPECT_EQ(rv_CreateTable(dbc_, second.get(), 1, nullptr), 0);
      EXPECT_EQ(Count("sysobjects WHERE name = 'ut_T_A'"), 1) << "nothing of the second table is made";

      const std::function<int32_t()> scripts[] = {
          [&] { return rv_GenSqlTableDefN(second.get(), script_.data(), size_, 1); },
          [&] { return rv_GenSqlTableIndexProcN(second.get(), script_.data(), size_, 0, 1); }};
      for (const auto& generate : scripts) {
        ASSERT_GT(generate(), 0);
        EXPECT_FALSE(Runs(script_.data()));
        // Wine hands the server's messages to the program in UTF-8: the
        // umlaut is left out of the comparison.
        EXPECT_TRUE(ErrorsHave("Prozedur up_First_T_A_B geh")) << errors_;
        EXPECT_TRUE(ErrorsHave("rt zu einer anderen Tabelle")) << errors_;
      }
      EXPECT_EQ(Count("sysobjects WHERE name = 'ut_T_A'"), 1) << "the table script stopped before the table";
      EXPECT_TRUE(Drops(second.get()));
      EXPECT_EQ(LastOf("up_Last_T_A_B"), 7) << "the first table's procedure still walks the first table";
      EXPECT_EQ(Count("sysobjects WHERE name = 'ut_T_A'"), 1) << "the second table's drop script ran through";

      const testenv::TableDefPtr other_form = samples::Load(
          {"T", "", {"ALIAS=T", first_form[10] == '1' ? "USEKEYTAB=0" : "USEKEYTAB=1", "FIELD=A_B,C,5", "KEY=A_B,A_B"}});
      EXPECT_EQ(rv_CreateTable(dbc_, other_form.get(), 1, nullptr), 1) << "its own procedures are replaced";
      ASSERT_TRUE(Drops(other_form.get()));
    }
  }
}

// Table T with key Keys_K walks its key table ut_T_Keys, table T_Keys with
// key K its data table ut_T_Keys, and both compose up_Last_T_Keys_K; T with
// key Keys]_K and T_Keys] with key K compose up_Last_T_Keys]_K, and T's key
// table [ut_T_Keys] begins the other's [ut_T_Keys]]_Keys] as written. The
// drop script of either, made or not, leaves the other's procedures, and
// neither's table script takes them.
TEST_F(GeneratedScriptsTest, ProceduresOnAKeyTableAndADataTableOfOneNameStayApart) {
  const testenv::TableDefPtr keyed =
      samples::Load({"T", "", {"ALIAS=T", "USEKEYTAB=1", "FIELD=NR,N,8", "KEY=Keys_K,NR"}});
  // Fields named like the key table's columns change nothing.
  const testenv::TableDefPtr direct = samples::Load(
      {"T_Keys", "", {"ALIAS=T_Keys", "FIELD=DataRecId,N,8", "FIELD=Old_Value,C,4", "KEY=K,DataRecId,Old_Value"}});
  const testenv::TableDefPtr bracket_key =
      samples::Load({"T", "", {"ALIAS=T", "USEKEYTAB=1", "FIELD=NR,N,8", "KEY=Keys]_K,NR"}});
  const testenv::TableDefPtr bracket_table =
      samples::Load({"T_Keys]", "", {"ALIAS=T_Keys]", "USEKEYTAB=1", "FIELD=NR,N,8", "KEY=K,NR"}});
  const struct {
    TableDef* made;
    TableDef* other;
    const char* insert;
    const char* last;
  } orders[] = {
      {direct.get(), keyed.get(), "INSERT INTO ut_T_Keys (RecId, DataRecId) VALUES (7, 7)", "up_Last_T_Keys_K"},
      {keyed.get(), direct.get(), "INSERT INTO ut_T (RecId, NR) VALUES (7, 7)", "up_Last_T_Keys_K"},
      {bracket_table.get(), bracket_key.get(), "INSERT INTO [ut_T_Keys]]] (RecId, NR) VALUES (7, 7)",
       "[up_Last_T_Keys]]_K]"},
      {bracket_key.get(), bracket_table.get(), "INSERT INTO ut_T (RecId, NR) VALUES (7, 7)", "[up_Last_T_Keys]]_K]"},
  };
  for (const auto& order : orders) {
    SCOPED_TRACE(order.insert);
    ASSERT_EQ(rv_CreateTable(dbc_, order.made, 1, nullptr), 1);
    ASSERT_EQ(rv_CreateTable(dbc_, order.made, 1, nullptr), 1) << "its own procedures are replaced";
    ASSERT_EQ(rv_CallStatement(dbc_, order.insert, nullptr, 0), 1);
    ASSERT_GT(rv_GenSqlTableIndexProcN(order.other, script_.data(), size_, 0, 1), 0);
    EXPECT_FALSE(Runs(script_.data())) << "the other's procedures are kept";
    EXPECT_TRUE(Drops(order.other));
    EXPECT_EQ(LastOf(order.last), 7) << "the made table's procedure is there and walks its table";
    ASSERT_TRUE(Drops(order.made));
    EXPECT_EQ(LastOf(order.last), -1) << "its own drop script drops it";
  }
}

// The shared table M1_T and tenant M1's table T share the base name M1_T
// (their data tables are ut_M1_T and M1$T): the drop script of the tenant's
// table, never made, leaves the shared table's view, triggers, procedures
// and function, and the shared table still appends and walks.
TEST_F(GeneratedScriptsTest, ATenantTableLeavesTheObjectsOfASharedTableOfItsBaseName) {
  for (const char* form : {"USEKEYTAB=0", "USEKEYTAB=1"}) {
    SCOPED_TRACE(form);
    const testenv::TableDefPtr shared = samples::Load({"M1_T", "", {"ALIAS=M1_T", form, "FIELD=NR,N,8", "KEY=K,NR"}});
    const testenv::TableDefPtr tenant =
        samples::Load({"T", "", {"ALIAS=T", "USEMANDANT=1", form, "FIELD=NR,N,8", "KEY=K,NR"}});
    ASSERT_EQ(rv_CreateTable(dbc_, shared.get(), 1, nullptr), 1);
    ASSERT_TRUE(Runs("EXECUTE up_Add_M1_T"));
    rv_SetMandant("M1");
    rv_GenSqlDropDefN(tenant.get(), script_.data(), size_);
    rv_SetMandant("");
    EXPECT_TRUE(Runs(script_.data()));
    EXPECT_EQ(Count("sysobjects WHERE name IN ('M1_T', 'up_Add_M1_T', 'up_Append_M1_T', 'dpxfunc_NextRecId_M1_T')"), 0);
    EXPECT_TRUE(Runs("EXECUTE up_Add_M1_T"));
    EXPECT_TRUE(Runs("SELECT count(*) FROM M1_T"));
    EXPECT_EQ(LastOf("up_Last_M1_T_K"), 2);
    // Without its view the shared table's objects are known by the data
    // table they name.
    ASSERT_TRUE(Runs("DROP VIEW M1_T"));
    EXPECT_TRUE(Runs(script_.data()));
    for (const char* name : {"up_Add_M1_T", "up_Sel2_M1_T", "dpxfunc_NextRecId_M1_T"}) {
      EXPECT_EQ(Count(std::string("sysobjects WHERE name = '") + name + "'"), 0) << name << " is kept";
    }
    EXPECT_TRUE(Runs("EXECUTE up_Add_M1_T"));
    ASSERT_TRUE(Drops(shared.get()));
    EXPECT_EQ(Count("sysobjects WHERE name LIKE '%M1[_]T%' AND xtype IN ('U', 'V', 'P', 'FN', 'TR')"), 1)
        << "its own script drops them all, those reading the view dropped by hand among them";
  }
}

// Table T's key table and the data table of a table named T_Keys are both
// ut_T_Keys: neither table's scripts drop or take the other's.
TEST_F(GeneratedScriptsTest, AKeyTableNeverTakesTheDataTableOfTheSameName) {
  const testenv::TableDefPtr plain = samples::Load({"T_Keys", "", {"ALIAS=T_Keys", "FIELD=NR,N,8", "KEY=K,NR"}});
  const testenv::TableDefPtr keyed =
      samples::Load({"T", "", {"ALIAS=T", "USEKEYTAB=1", "FIELD=NR,N,8", "KEY=K,NR"}});

  ASSERT_EQ(rv_CreateTable(dbc_, plain.get(), 1, nullptr), 1);
  ASSERT_EQ(rv_CallStatement(dbc_, "INSERT INTO ut_T_Keys (RecId, NR) VALUES (5, 5)", nullptr, 0), 1);
  EXPECT_EQ(rv_CreateTable(dbc_, keyed.get(), 1, nullptr), 0);
  ASSERT_GT(rv_GenSqlTableDefN(keyed.get(), script_.data(), size_, 1), 0);
  EXPECT_FALSE(Runs(script_.data()));
  EXPECT_TRUE(ErrorsHave("Tabelle ut_T_Keys ist keine Schl")) << errors_;
  EXPECT_EQ(Count("sysobjects WHERE name = 'ut_T'"), 1) << "nothing of T is made";
  EXPECT_TRUE(Drops(keyed.get()));
  EXPECT_EQ(Count("ut_T_Keys WHERE RecId = 5"), 0) << "T_Keys keeps its record";
  const testenv::TableDefPtr direct = samples::Load({"T", "", {"ALIAS=T", "FIELD=NR,N,8", "KEY=K,NR"}});
  EXPECT_EQ(rv_CreateTable(dbc_, direct.get(), 1, nullptr), 1) << "a T without a key table has none to clash";
  EXPECT_TRUE(Drops(direct.get()));
  EXPECT_EQ(Count("ut_T_Keys WHERE RecId = 5"), 0) << "T_Keys keeps its record";

  ASSERT_TRUE(Drops(plain.get()));
  ASSERT_EQ(rv_CreateTable(dbc_, keyed.get(), 1, nullptr), 1);
  EXPECT_TRUE(Drops(plain.get()));
  EXPECT_EQ(rv_CallStatement(dbc_, "SELECT DataRecId FROM ut_T_Keys", nullptr, 0), 1)
      << "T_Keys's drop script leaves T's key table";
}

}  // namespace
