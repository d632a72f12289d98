// Procedures, functions, views and triggers in the catalog, and data
// changes through views.
#include <gtest/gtest.h>

#include <functional>

#include "modules_db.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim::testing {
namespace {

using Rows = std::vector<std::string>;

class ModulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(db_.Run("CREATE TABLE ut_KUNDE (RecId int NOT NULL PRIMARY KEY, "
                      "MandId int DEFAULT 1, NAME char(30) DEFAULT '', PLZ float DEFAULT 0)"), 0);
  }

  int32_t Procedure(const std::string& name, bool alter = false, bool create_or_alter = false) {
    ast::CreateModule module = Module(ast::ObjectKind::kProcedure, name);
    module.alter = alter || create_or_alter;
    module.create_or_alter = create_or_alter;
    module.parameters.push_back(Parameter("@nr", "int"));
    module.parameters.push_back(Parameter("@name", "char", 10));
    return db_.Create(module, "CREATE PROCEDURE " + name + " @nr int, @name char(10) AS RETURN");
  }

  int32_t Trigger(const std::string& name, const std::string& table, bool insert, bool update,
                  bool del, bool instead_of = false) {
    ast::CreateModule module = Module(ast::ObjectKind::kTrigger, name);
    module.trigger_table.name = table;
    module.on_insert = insert;
    module.on_update = update;
    module.on_delete = del;
    module.instead_of = instead_of;
    return db_.Create(module, "CREATE TRIGGER " + name + " ON " + table + " FOR INSERT AS RETURN");
  }

  int32_t KundeView() {
    return db_.CreateView("KUNDE", "SELECT RecId\n ,[NAME]\n ,[PLZ]\n FROM [dbo].[ut_KUNDE]");
  }

  int32_t ObjectCount() {
    return std::stoi(db_.Rows("SELECT count(*) FROM sysobjects").at(0));
  }

  ModulesDb db_;
};

TEST_F(ModulesTest, ProcedureKeepsTextAndParameters) {
  ASSERT_EQ(Procedure("Buche"), 0);
  EXPECT_EQ(db_.Rows("SELECT xtype, parent_obj FROM sysobjects WHERE name = 'Buche'"),
            (Rows{"P|0"}));
  EXPECT_EQ(db_.Rows("SELECT c.colid, c.text FROM syscomments c JOIN sysobjects o "
                     "ON o.id = c.id WHERE o.name = 'Buche'"),
            (Rows{"1|CREATE PROCEDURE Buche @nr int, @name char(10) AS RETURN"}));
  EXPECT_EQ(db_.Rows("SELECT name, xtype, length, colid FROM syscolumns "
                     "WHERE id = OBJECT_ID('Buche') ORDER BY colid"),
            (Rows{"@nr|56|4|1", "@name|175|10|2"}));
  std::optional<CatalogModule> module = db_.session().catalog().FindModule("BUCHE");
  ASSERT_TRUE(module);
  EXPECT_EQ(module->xtype, "P");
  EXPECT_EQ(module->definition, "CREATE PROCEDURE Buche @nr int, @name char(10) AS RETURN");
}

TEST_F(ModulesTest, CreateOrAlterReplacesUnderTheSameId) {
  ASSERT_EQ(Procedure("Buche"), 0);
  std::string id = db_.Rows("SELECT OBJECT_ID('Buche')").at(0);
  ast::CreateModule module = Module(ast::ObjectKind::kProcedure, "Buche");
  module.alter = module.create_or_alter = true;
  module.parameters.push_back(Parameter("@only", "varchar", 5));
  ASSERT_EQ(db_.Create(module, "CREATE OR ALTER PROCEDURE Buche @only varchar(5) AS RETURN"), 0);
  EXPECT_EQ(db_.Rows("SELECT OBJECT_ID('Buche')").at(0), id);
  EXPECT_EQ(db_.Rows("SELECT name, xtype, length FROM syscolumns WHERE id = " + id),
            (Rows{"@only|167|5"}));
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM syscomments WHERE id = " + id), (Rows{"1"}));
  EXPECT_EQ(db_.session().catalog().FindModule("Buche")->definition,
            "CREATE OR ALTER PROCEDURE Buche @only varchar(5) AS RETURN");
}

TEST_F(ModulesTest, RefusedDefinitionsLeaveNothing) {
  ASSERT_EQ(Procedure("Buche"), 0);
  int32_t objects = ObjectCount();
  struct Case {
    const char* what;
    std::function<int32_t()> create;
    int32_t error;
  };
  const Case cases[] = {
      {"name of a procedure", [&] { return Procedure("buche"); }, 2714},
      {"name of a table", [&] { return Procedure("ut_KUNDE"); }, 2714},
      {"ALTER of a missing one", [&] { return Procedure("Fehlt", true); }, 208},
      {"trigger on a missing table", [&] { return Trigger("tr", "Fehlt", true, false, false); }, 8197},
      {"view on a missing table", [&] { return db_.CreateView("V", "SELECT a FROM Fehlt"); }, 208},
      {"view of a missing column", [&] { return db_.CreateView("V", "SELECT Fehlt FROM ut_KUNDE"); }, 207},
      {"view column without a name", [&] { return db_.CreateView("V", "SELECT RecId + 1 FROM ut_KUNDE"); }, 4511},
      {"view columns named twice", [&] { return db_.CreateView("V", "SELECT RecId, RecId FROM ut_KUNDE"); }, 4506},
      {"view ordered without TOP", [&] { return db_.CreateView("V", "SELECT RecId FROM ut_KUNDE ORDER BY 1"); }, 1033},
      {"view column list too short", [&] { return db_.CreateView("V", "SELECT RecId, PLZ FROM ut_KUNDE", {"a"}); }, 8158},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.create(), c.error) << c.what;
    EXPECT_EQ(ObjectCount(), objects) << c.what;
  }
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM sqlite_master WHERE type = 'view'"), (Rows{"0"}));
}

TEST_F(ModulesTest, TriggersKnowTheirEventsAndTable) {
  ASSERT_EQ(Trigger("tr_b", "ut_KUNDE", false, true, true), 0);
  ASSERT_EQ(Trigger("tr_a", "ut_KUNDE", true, false, false), 0);
  // INSTEAD OF triggers would never fire: refused.
  ASSERT_EQ(Trigger("tr_instead", "ut_KUNDE", true, false, false, true), 50000);
  Catalog& catalog = db_.session().catalog();
  const CatalogTable* table = catalog.FindTable("ut_KUNDE");
  ASSERT_TRUE(table);
  const std::vector<CatalogModule>& triggers = catalog.TriggersOf(table->id);
  ASSERT_EQ(triggers.size(), 2u);
  EXPECT_EQ(triggers[0].name, "tr_b");
  EXPECT_TRUE(!triggers[0].on_insert && triggers[0].on_update && triggers[0].on_delete);
  EXPECT_EQ(triggers[1].name, "tr_a");
  EXPECT_TRUE(triggers[1].on_insert && !triggers[1].on_update && !triggers[1].on_delete);
  EXPECT_EQ(triggers[1].parent, table->id);
  EXPECT_FALSE(catalog.FindModule("tr_instead"));
  EXPECT_EQ(catalog.TriggersOf(table->id + 1000).size(), 0u);
}

TEST_F(ModulesTest, DropTableTakesItsTriggers) {
  ASSERT_EQ(Trigger("tr_a", "ut_KUNDE", true, false, false), 0);
  ASSERT_EQ(db_.Run("DROP TABLE ut_KUNDE"), 0);
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM sysobjects WHERE name = 'tr_a'"), (Rows{"0"}));
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM syscomments"), (Rows{"0"}));
  EXPECT_FALSE(db_.session().catalog().FindModule("tr_a"));
}

TEST_F(ModulesTest, DropOfEachKind) {
  ast::CreateModule function = Module(ast::ObjectKind::kFunction, "Fn1");
  function.parameters.push_back(Parameter("@x", "int"));
  function.returns.name = "int";
  ASSERT_EQ(db_.Create(function, "CREATE FUNCTION Fn1 (@x int) RETURNS int AS BEGIN RETURN 1 END"), 0);
  ASSERT_EQ(Procedure("Pr1"), 0);
  ASSERT_EQ(Trigger("Tr1", "ut_KUNDE", true, false, false), 0);
  ASSERT_EQ(KundeView(), 0);
  EXPECT_EQ(db_.Rows("SELECT name, xtype FROM sysobjects WHERE name IN ('Fn1', 'Pr1', 'Tr1', 'KUNDE') "
                     "ORDER BY name"),
            (Rows{"Fn1|FN", "KUNDE|V", "Pr1|P", "Tr1|TR"}));
  const char* const drops[] = {"DROP FUNCTION Fn1", "DROP PROCEDURE Pr1", "DROP TRIGGER Tr1",
                               "DROP VIEW [dbo].[KUNDE]"};
  for (const char* drop : drops) {
    EXPECT_EQ(db_.Run(drop), 0) << drop;
    EXPECT_EQ(db_.Run(drop), 3701) << drop;
  }
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM sysobjects WHERE id >= 1000 AND parent_obj = 0 "
                     "AND name <> 'ut_KUNDE'"), (Rows{"0"}));
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM syscomments"), (Rows{"0"}));
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM syscolumns WHERE id NOT IN (SELECT id FROM sysobjects)"),
            (Rows{"0"}));
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM sqlite_master WHERE type = 'view'"), (Rows{"0"}));
}

TEST_F(ModulesTest, ViewColumnsAreTypedFromTheSelect) {
  ASSERT_EQ(KundeView(), 0);
  EXPECT_EQ(db_.Rows("SELECT name, xtype, length, colid FROM syscolumns "
                     "WHERE id = OBJECT_ID('KUNDE') ORDER BY colid"),
            (Rows{"RecId|56|4|1", "NAME|175|30|2", "PLZ|62|8|3"}));
  EXPECT_EQ(db_.CreateView("Renamed", "SELECT RecId AS Nr, NAME FROM ut_KUNDE", {"A", "B"}), 0);
  EXPECT_EQ(db_.Rows("SELECT name FROM syscolumns WHERE id = OBJECT_ID('Renamed') ORDER BY colid"),
            (Rows{"A", "B"}));
}

TEST_F(ModulesTest, RecordAccessWritesThroughTheView) {
  ASSERT_EQ(KundeView(), 0);
  ASSERT_EQ(db_.Run("INSERT INTO KUNDE (RecId, NAME, PLZ) VALUES (1, 'Mueller', 12345)"), 0);
  ASSERT_EQ(db_.Run("INSERT INTO KUNDE VALUES (2, 'Albers', 1)"), 0);
  EXPECT_EQ(db_.Rows("SELECT RecId, MandId, NAME FROM ut_KUNDE ORDER BY RecId"),
            (Rows{"1|1|Mueller                       ", "2|1|Albers                        "}));
  EXPECT_EQ(db_.Rows("SELECT * FROM KUNDE ORDER BY NAME"),
            (Rows{"2|Albers                        |1", "1|Mueller                       |12345"}));
  ASSERT_EQ(db_.Run("UPDATE KUNDE SET NAME = 'X' WHERE RecId = 1"), 0);
  EXPECT_EQ(db_.Rows("SELECT RecId, NAME FROM KUNDE WHERE RecId = 1"),
            (Rows{"1|X                             "}));
  ASSERT_EQ(db_.Run("UPDATE k SET PLZ = k.PLZ + 1 FROM KUNDE k WHERE k.RecId = 2"), 0);
  EXPECT_EQ(db_.Rows("SELECT PLZ FROM ut_KUNDE WHERE RecId = 2"), (Rows{"2"}));
  ASSERT_EQ(db_.Run("DELETE FROM KUNDE WHERE RecId = 1"), 0);
  EXPECT_EQ(db_.Rows("SELECT RecId FROM ut_KUNDE"), (Rows{"2"}));
}

TEST_F(ModulesTest, RenamedAndFilteredViewsReachTheirRows) {
  ASSERT_EQ(db_.Run("INSERT INTO ut_KUNDE (RecId, MandId, NAME) VALUES (1, 1, 'a'), (2, 2, 'b'), "
                    "(3, 1, 'c')"), 0);
  ASSERT_EQ(db_.CreateView("Mand1", "SELECT RecId AS Nr, NAME AS Nm FROM ut_KUNDE k "
                                    "WHERE k.MandId = 1"), 0);
  ASSERT_EQ(db_.Run("UPDATE Mand1 SET Nm = RTRIM(Nm) + 'x' WHERE Nr >= 2"), 0);
  EXPECT_EQ(db_.Rows("SELECT RTRIM(NAME) FROM ut_KUNDE ORDER BY RecId"), (Rows{"a", "b", "cx"}));
  ASSERT_EQ(db_.Run("UPDATE m SET m.Nm = 'y' FROM Mand1 m"), 0);
  EXPECT_EQ(db_.Rows("SELECT RTRIM(NAME) FROM ut_KUNDE ORDER BY RecId"), (Rows{"y", "b", "y"}));
  ASSERT_EQ(db_.Run("DELETE FROM Mand1"), 0);
  EXPECT_EQ(db_.Rows("SELECT RecId FROM ut_KUNDE"), (Rows{"2"}));
  ASSERT_EQ(db_.Run("INSERT INTO Mand1 (Nr, Nm) VALUES (4, 'd')"), 0);
  EXPECT_EQ(db_.Rows("SELECT RecId, MandId FROM ut_KUNDE ORDER BY RecId"), (Rows{"2|2", "4|1"}));
}

TEST_F(ModulesTest, ViewsThatCannotBeWritten) {
  ASSERT_EQ(db_.Run("CREATE TABLE Ort (PLZ float, Ort char(20))"), 0);
  ASSERT_EQ(db_.CreateView("Joined", "SELECT k.RecId, o.Ort FROM ut_KUNDE k JOIN Ort o ON o.PLZ = k.PLZ"), 0);
  ASSERT_EQ(db_.CreateView("Computed", "SELECT RecId, PLZ * 2 AS Doppelt FROM ut_KUNDE"), 0);
  ASSERT_EQ(db_.CreateView("DistView", "SELECT DISTINCT NAME FROM ut_KUNDE"), 0);
  ASSERT_EQ(db_.CreateView("OverView", "SELECT RecId FROM Computed"), 0);
  ASSERT_EQ(db_.CreateView("Constant", "SELECT RecId, 'x' AS Fest FROM ut_KUNDE"), 0);
  struct Case {
    const char* sql;
    int32_t error;
  };
  const Case cases[] = {
      {"INSERT INTO Joined (RecId) VALUES (1)", 4405},
      {"UPDATE Joined SET Ort = 'x'", 4405},
      {"DELETE FROM Joined", 4405},
      {"INSERT INTO Computed (RecId, Doppelt) VALUES (1, 2)", 4406},
      {"INSERT INTO Computed VALUES (1, 2)", 4406},
      {"UPDATE Computed SET Doppelt = 2", 4406},
      {"UPDATE Constant SET Fest = 'y'", 4406},
      {"DELETE FROM DistView", 4403},
      {"INSERT INTO Computed (RecId) VALUES (7)", 0},
      {"UPDATE Computed SET RecId = 8 WHERE RecId = 7", 0},
      {"INSERT INTO Computed (Fehlt) VALUES (1)", 207},
      {"UPDATE OverView SET RecId = 9", 4405},
  };
  for (const Case& c : cases) EXPECT_EQ(db_.Run(c.sql), c.error) << c.sql;
  EXPECT_EQ(db_.Rows("SELECT RecId, Doppelt FROM Computed"), (Rows{"8|0"}));
  EXPECT_EQ(db_.Rows("SELECT RecId FROM OverView"), (Rows{"8"}));
}

TEST_F(ModulesTest, ScriptsRecreateTheViewAndItSurvivesANewColumn) {
  const std::string exists =
      "SELECT count(*) from [sysobjects] where [xtype] = 'V' and [name] = 'KUNDE'";
  for (int round = 0; round < 2; ++round) {
    if (db_.Rows(exists) == Rows{"1"}) {
      EXPECT_EQ(db_.Run("DROP VIEW [dbo].[KUNDE]"), 0);
    }
    ASSERT_EQ(KundeView(), 0) << round;
  }
  ASSERT_EQ(db_.Run("INSERT INTO KUNDE (RecId, NAME, PLZ) VALUES (1, 'a', 5)"), 0);
  ASSERT_EQ(db_.Run("ALTER TABLE ut_KUNDE ADD Neu int NULL"), 0);
  ASSERT_EQ(db_.Run("ALTER TABLE ut_KUNDE ADD Zweit char(4) NOT NULL DEFAULT 'z'"), 0);
  EXPECT_EQ(db_.Rows("SELECT * FROM KUNDE"), (Rows{"1|a                             |5"}));
  ASSERT_EQ(db_.Run("UPDATE KUNDE SET PLZ = 6"), 0);
  EXPECT_EQ(db_.Rows("SELECT PLZ, Zweit FROM ut_KUNDE"), (Rows{"6|z   "}));
  // ALTER COLUMN makes the table again underneath the view.
  ASSERT_EQ(db_.Run("ALTER TABLE ut_KUNDE ALTER COLUMN Neu bigint NULL"), 0);
  EXPECT_EQ(db_.Rows("SELECT RecId, PLZ FROM KUNDE"), (Rows{"1|6"}));
  ASSERT_EQ(db_.Run("DELETE FROM KUNDE WHERE PLZ = 6"), 0);
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM ut_KUNDE"), (Rows{"0"}));
}

TEST_F(ModulesTest, DataChangesNameTheTableTheyWrite) {
  ASSERT_EQ(KundeView(), 0);
  const std::pair<const char*, const char*> cases[] = {
      {"INSERT INTO KUNDE (RecId) VALUES (1)", "ut_KUNDE"},
      {"UPDATE kunde SET NAME = 'x'", "ut_KUNDE"},
      {"DELETE FROM UT_KUNDE", "ut_KUNDE"},
  };
  for (const auto& [sql, table] : cases) {
    Diagnostics diags;
    std::unique_ptr<PreparedBatch> batch = PrepareBatch(db_.session(), sql, &diags);
    ASSERT_TRUE(batch) << sql;
    CompiledStatement& statement = static_cast<PreparedBatchImpl&>(*batch).statements().at(0);
    TranslateStatement(db_.session(), statement);
    EXPECT_FALSE(statement.translate_error) << sql;
    EXPECT_EQ(statement.target_table, table) << sql;
  }
}

TEST_F(ModulesTest, FilesWithoutTheTextTableGetIt) {
  ASSERT_EQ(Procedure("Alt"), 0);
  sqlite3* db = db_.session().db();
  ASSERT_EQ(sqlite3_exec(db, "DROP TABLE syscomments; DELETE FROM sysobjects WHERE name = 'syscomments'; "
                             "DELETE FROM syscolumns WHERE id = 9; "
                             "UPDATE sqlsim_meta SET value = 1 WHERE name = 'catalog_version'",
                         nullptr, nullptr, nullptr), SQLITE_OK);
  db_.Reopen();
  EXPECT_EQ(db_.Rows("SELECT xtype FROM sysobjects WHERE name = 'syscomments'"), (Rows{"S"}));
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM syscolumns WHERE id = OBJECT_ID('syscomments')"), (Rows{"3"}));
  EXPECT_EQ(db_.Rows("SELECT name FROM sysobjects WHERE name = 'Alt'"), (Rows{"Alt"}));
  ASSERT_EQ(Procedure("Neu"), 0);
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM syscomments"), (Rows{"1"}));
}

}  // namespace
}  // namespace sqlsim::testing
