// What Catalog reads from the system tables of a database file.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <string>
#include <thread>
#include <tuple>

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/types.h"
#include "sqlsim/functions/register.h"
#include "support/test_env.h"
#include "tests/sqlsim/engine/engine_support.h"

namespace sqlsim::enginetest {
namespace {

class CatalogTest : public ::testing::Test {
 protected:
  void SetUp() override { Reopen(); }
  void Reopen() {
    session_.reset();
    session_ = Open(dir_.Path().string());
    ASSERT_TRUE(session_);
  }
  Catalog& catalog() { return static_cast<SessionImpl&>(*session_).catalog(); }
  void Run(const std::string& batch) {
    Diagnostics errors;
    RunBatch(*session_, batch, nullptr, &errors);
    EXPECT_TRUE(errors.empty()) << batch << ": " << errors.front().message;
  }
  // SQLite's SQL on the file: columns joined with '|', rows with '\n'.
  std::string Rows(const std::string& sql) {
    std::vector<std::string> rows;
    Diagnostics errors;
    RunRaw(*session_, sql, &rows, &errors);
    std::string text;
    for (const std::string& row : rows) text += (text.empty() ? "" : "\n") + row;
    return text;
  }
  std::string Snapshot() {
    return Rows("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name") + "\n" +
           Rows("SELECT * FROM sysobjects ORDER BY id") + "\n" + Rows("SELECT * FROM syscolumns ORDER BY id, colid") +
           "\n" + Rows("SELECT * FROM sysindexes ORDER BY id, indid") + "\n" +
           Rows("SELECT * FROM sysindexkeys ORDER BY id, indid, keyno") + "\n" + Rows("SELECT * FROM sqlsim_meta");
  }

  testenv::TempDir dir_;
  std::unique_ptr<Session> session_;
};

TEST_F(CatalogTest, EnsuringAgainChangesNothing) {
  Run("CREATE TABLE Kunde (Nr int PRIMARY KEY, Name char(30))");
  std::string before = Snapshot();
  Diagnostics diags;
  EXPECT_TRUE(catalog().EnsureSystemTables(&diags));
  EXPECT_EQ(Snapshot(), before);
  Reopen();
  EXPECT_EQ(Snapshot(), before);
  for (const char* name : {"sysobjects", "syscolumns", "sysindexes", "sysindexkeys", "syscomments"}) {
    EXPECT_NE(catalog().FindTable(name), nullptr) << name;
  }
}

// A file of an older catalog gets the tables it lacks when opened; its
// objects stay.
TEST_F(CatalogTest, OlderFilesGetTheMissingSystemTables) {
  Run("CREATE TABLE t (a int)");
  ASSERT_EQ(Rows("DROP TABLE syscomments; DELETE FROM sysobjects WHERE name = 'syscomments';"
                 "DELETE FROM syscolumns WHERE id = 9;"
                 "UPDATE sqlsim_meta SET value = 1 WHERE name = 'catalog_version'"),
            "");
  Reopen();
  EXPECT_EQ(Rows("SELECT o.xtype, count(*) FROM sysobjects o JOIN syscolumns c ON c.id = o.id "
                 "WHERE o.name = 'syscomments'"),
            "S|3");
  EXPECT_EQ(Rows("SELECT count(*) FROM syscomments"), "0");
  EXPECT_NE(catalog().FindTable("t"), nullptr);
}

// A file made before the INFORMATION_SCHEMA views gets them when opened.
TEST_F(CatalogTest, OlderFilesGetTheInformationSchemaViews) {
  Run("CREATE TABLE t (a int)");
  std::string drops = Rows("SELECT group_concat('DROP VIEW \"' || name || '\"', ';') FROM sqlite_master "
                           "WHERE type = 'view'");
  ASSERT_EQ(Rows(drops + "; UPDATE sqlsim_meta SET value = 2 WHERE name = 'catalog_version'"), "");
  ASSERT_EQ(Rows("SELECT count(*) FROM sqlite_master WHERE type = 'view'"), "0");
  Reopen();
  std::vector<std::string> rows;
  Diagnostics errors;
  RunBatch(*session_, "SELECT TABLE_NAME, TABLE_TYPE FROM INFORMATION_SCHEMA.TABLES", &rows, &errors);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(rows, std::vector<std::string>{"'t'|'BASE TABLE'"});
}

// Opening an older file waits for another connection's write, as any
// writer does, instead of failing at once.
TEST_F(CatalogTest, OlderFilesWaitForAnotherWriter) {
  std::string current = Rows("SELECT value FROM sqlsim_meta WHERE name = 'catalog_version'");
  ASSERT_EQ(Rows("UPDATE sqlsim_meta SET value = 2 WHERE name = 'catalog_version'"), "");
  session_.reset();
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open((dir_.Path() / "scripts.db").string().c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
  std::thread writer([other] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  });
  Diagnostics diags;
  session_ = OpenSession(Options(dir_.Path().string()), &diags);
  writer.join();
  sqlite3_close(other);
  ASSERT_TRUE(session_) << (diags.empty() ? "" : diags.front().message);
  EXPECT_EQ(Rows("SELECT value FROM sqlsim_meta WHERE name = 'catalog_version'"), current);
}

// Ids are never handed out twice, not even after the object holding the
// highest one was dropped or the file reopened.
TEST_F(CatalogTest, ObjectIdsAreNeverReused) {
  int32_t first = catalog().NextObjectId();
  int32_t second = catalog().NextObjectId();
  EXPECT_GE(first, kFirstUserObjectId);
  EXPECT_GT(second, first);
  Run("CREATE TABLE a (x int)");
  std::string a_id = Rows("SELECT id FROM sysobjects WHERE name = 'a'");
  EXPECT_GT(std::stoi(a_id), second);
  Run("DROP TABLE a");
  Reopen();
  Run("CREATE TABLE a (x int)");
  EXPECT_GT(std::stoi(Rows("SELECT id FROM sysobjects WHERE name = 'a'")), std::stoi(a_id));
}

TEST_F(CatalogTest, FindsTablesAndObjectsAsTheServerComparesNames) {
  Run("CREATE TABLE [dbo].[Kunde] (Nr int NOT NULL CONSTRAINT PK_K PRIMARY KEY, "
      "Name varchar(40) NULL CONSTRAINT DF_K_Name DEFAULT '')");
  for (const char* spelling : {"Kunde", "KUNDE", "kunde", "Kunde  "}) {
    const CatalogTable* table = catalog().FindTable(spelling);
    ASSERT_NE(table, nullptr) << spelling;
    EXPECT_EQ(table->name + ":" + table->xtype, "Kunde:U");  // the spelling of the CREATE
  }
  // PK_K is an object, not a table.
  for (const char* missing : {"Kunden", "PK_K"}) EXPECT_EQ(catalog().FindTable(missing), nullptr) << missing;
  const CatalogTable* table = catalog().FindTable("kunde");
  ASSERT_EQ(table->columns.size(), 2u);
  const CatalogColumn* name = table->FindColumn("NAME");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(std::make_tuple(name->colid, name->type, name->length, name->nullable, name->has_default),
            std::make_tuple(2, SqlType::kVarchar, 40, true, true));
  EXPECT_FALSE(table->FindColumn("Nr")->nullable);
  EXPECT_EQ(table->FindColumn("Vorname"), nullptr);
  std::optional<CatalogObject> key = catalog().FindObject("pk_k");
  std::optional<CatalogObject> def = catalog().FindObject("DF_K_Name");
  ASSERT_TRUE(key.has_value() && def.has_value());
  EXPECT_EQ(std::make_tuple(key->name, key->xtype, key->parent), std::make_tuple("PK_K", "PK", table->id));
  EXPECT_EQ(std::make_tuple(def->xtype, def->parent, def->id),
            std::make_tuple("D", table->id, name->default_id));
  EXPECT_FALSE(catalog().FindObject("PK_u").has_value());
}

// After Invalidate the catalog reads what another connection changed.
TEST_F(CatalogTest, InvalidateRereadsTheFile) {
  Run("CREATE TABLE t (a int)");
  ASSERT_EQ(catalog().FindTable("t")->columns.size(), 1u);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(Rows("SELECT file FROM pragma_database_list WHERE name = 'main'").c_str(), &other),
            SQLITE_OK);
  EXPECT_EQ(RegisterTsqlFunctions(other), SQLITE_OK);
  EXPECT_NE(Catalog(other).FindTable("t"), nullptr);
  EXPECT_EQ(sqlite3_exec(other, "UPDATE syscolumns SET name = 'renamed' WHERE name = 'a'", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(other);
  catalog().Invalidate();
  const CatalogTable* table = catalog().FindTable("t");
  ASSERT_NE(table, nullptr);
  EXPECT_NE(table->FindColumn("renamed"), nullptr);
}

TEST(CatalogXtypeTest, XtypesMapBackToTypes) {
  for (SqlType type : {SqlType::kChar, SqlType::kVarchar, SqlType::kInt, SqlType::kSmallint,
                       SqlType::kTinyint, SqlType::kBigint, SqlType::kBit, SqlType::kFloat,
                       SqlType::kReal, SqlType::kDecimal, SqlType::kDatetime, SqlType::kBinary,
                       SqlType::kVarbinary, SqlType::kImage, SqlType::kText}) {
    EXPECT_EQ(SqlTypeOfXtype(CatalogXtype(type)), type) << CatalogXtype(type);
  }
  EXPECT_EQ(SqlTypeOfXtype(231), SqlType::kUnknown);
}

}  // namespace
}  // namespace sqlsim::enginetest
