// The system tables as a database file holds them, and what Catalog reads.
#include <gtest/gtest.h>

#include <string>

#include "ddl_db.h"
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/types.h"

namespace sqlsim::testing {
namespace {

// The catalog describes its own tables: syscolumns lists, in colid order,
// exactly the columns SQLite has, and SELECT * works as described.
TEST(CatalogTest, SystemTablesDescribeThemselves) {
  DdlDb db;
  for (const char* name : {"sysobjects", "syscolumns", "sysindexes", "sysindexkeys"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(db.Rows(std::string("SELECT xtype FROM sysobjects WHERE name = '") + name + "'"),
              "S");
    std::string in_sqlite = db.Rows(std::string("SELECT name FROM pragma_table_info('") +
                                    name + "') ORDER BY cid");
    std::string in_catalog = db.Rows(
        std::string("SELECT c.name FROM syscolumns c JOIN sysobjects o ON o.id = c.id "
                    "WHERE o.name = '") + name + "' ORDER BY c.colid");
    EXPECT_EQ(in_catalog, in_sqlite);
    EXPECT_NE(db.catalog().FindTable(name), nullptr);
  }
}

TEST(CatalogTest, EnsuringAgainChangesNothing) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE Kunde (Nr int PRIMARY KEY, Name char(30))"));
  std::string before = db.Snapshot();
  Diagnostics diags;
  EXPECT_TRUE(db.catalog().EnsureSystemTables(&diags));
  EXPECT_EQ(db.Snapshot(), before);
  db.Reopen();
  EXPECT_EQ(db.Snapshot(), before);
  ASSERT_NE(db.catalog().FindTable("kunde"), nullptr);
}

// Ids are never handed out twice, not even after the object holding the
// highest one was dropped or the file reopened.
TEST(CatalogTest, ObjectIdsAreNeverReused) {
  DdlDb db;
  int32_t first = db.catalog().NextObjectId();
  int32_t second = db.catalog().NextObjectId();
  EXPECT_GE(first, kFirstUserObjectId);
  EXPECT_GT(second, first);
  ASSERT_TRUE(db.Run("CREATE TABLE a (x int)"));
  std::string a_id = db.Rows("SELECT id FROM sysobjects WHERE name = 'a'");
  EXPECT_GT(std::stoi(a_id), second);
  ASSERT_TRUE(db.Run("DROP TABLE a"));
  db.Reopen();
  ASSERT_TRUE(db.Run("CREATE TABLE a (x int)"));
  EXPECT_GT(std::stoi(db.Rows("SELECT id FROM sysobjects WHERE name = 'a'")), std::stoi(a_id));
}

TEST(CatalogTest, FindsTablesAsTheServerComparesNames) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE [dbo].[Kunde] (Nr int NOT NULL, Name varchar(40) NULL)"));
  for (const char* name : {"Kunde", "KUNDE", "kunde", "Kunde  "}) {
    const CatalogTable* table = db.catalog().FindTable(name);
    ASSERT_NE(table, nullptr) << name;
    EXPECT_EQ(table->name, "Kunde");  // the spelling of the CREATE
    EXPECT_EQ(table->xtype, "U");
  }
  EXPECT_EQ(db.catalog().FindTable("Kunden"), nullptr);
  const CatalogTable* table = db.catalog().FindTable("kunde");
  ASSERT_EQ(table->columns.size(), 2u);
  const CatalogColumn* name = table->FindColumn("NAME");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->colid, 2);
  EXPECT_EQ(name->type, SqlType::kVarchar);
  EXPECT_EQ(name->length, 40);
  EXPECT_TRUE(name->nullable);
  EXPECT_FALSE(table->FindColumn("Nr")->nullable);
  EXPECT_EQ(table->FindColumn("Vorname"), nullptr);
  // Queries of existing scripts compare names and types the same way.
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sysobjects WHERE name = 'KUNDE ' AND xtype = 'u'"),
            "1");
  EXPECT_EQ(db.Rows("SELECT name FROM syscolumns WHERE id = (SELECT id FROM sysobjects "
                    "WHERE name = 'Kunde') ORDER BY colid"),
            "Nr\nName");
}

TEST(CatalogTest, FindsConstraintsAndDefaultsAsObjects) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE t (a int CONSTRAINT PK_t PRIMARY KEY, "
                     "b int CONSTRAINT DF_t_b DEFAULT 0)"));
  const CatalogTable* table = db.catalog().FindTable("t");
  ASSERT_NE(table, nullptr);
  int32_t table_id = table->id;
  std::optional<CatalogObject> key = db.catalog().FindObject("pk_t");
  ASSERT_TRUE(key.has_value());
  EXPECT_EQ(key->name, "PK_t");
  EXPECT_EQ(key->xtype, "PK");
  EXPECT_EQ(key->parent, table_id);
  std::optional<CatalogObject> def = db.catalog().FindObject("DF_t_b");
  ASSERT_TRUE(def.has_value());
  EXPECT_EQ(def->xtype, "D");
  EXPECT_EQ(def->parent, table_id);
  EXPECT_EQ(db.catalog().FindTable("t")->FindColumn("b")->default_id, def->id);
  EXPECT_TRUE(db.catalog().FindTable("t")->FindColumn("b")->has_default);
  EXPECT_FALSE(db.catalog().FindObject("PK_u").has_value());
  // A constraint is an object but not a table.
  EXPECT_EQ(db.catalog().FindTable("PK_t"), nullptr);
}

// After Invalidate the catalog reads what another connection changed.
TEST(CatalogTest, InvalidateRereadsTheFile) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE t (a int)"));
  ASSERT_EQ(db.catalog().FindTable("t")->columns.size(), 1u);
  sqlite3* other = db.OpenOther();
  ASSERT_NE(other, nullptr);
  Catalog other_catalog(other);
  EXPECT_NE(other_catalog.FindTable("t"), nullptr);
  ASSERT_EQ(sqlite3_exec(other, "UPDATE syscolumns SET name = 'renamed' WHERE name = 'a'",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(other);
  db.catalog().Invalidate();
  const CatalogTable* table = db.catalog().FindTable("t");
  ASSERT_NE(table, nullptr);
  EXPECT_NE(table->FindColumn("renamed"), nullptr);
}

// Views are tables to the binder; the view's stage writes their rows.
TEST(CatalogTest, ViewsAreFoundWithTheirColumns) {
  DdlDb db;
  db.Sql("INSERT INTO sysobjects (id, name, xtype, type) VALUES (5000, 'v', 'V', 'V');"
         "INSERT INTO syscolumns (id, name, xtype, length, colid, isnullable) "
         "VALUES (5000, 'x', 56, 4, 1, 1)");
  const CatalogTable* view = db.catalog().FindTable("V");
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->xtype, "V");
  ASSERT_EQ(view->columns.size(), 1u);
  EXPECT_EQ(view->columns[0].type, SqlType::kInt);
}

TEST(CatalogTest, XtypesMapBackToTypes) {
  for (SqlType type : {SqlType::kChar, SqlType::kVarchar, SqlType::kInt, SqlType::kSmallint,
                       SqlType::kTinyint, SqlType::kBigint, SqlType::kBit, SqlType::kFloat,
                       SqlType::kReal, SqlType::kDecimal, SqlType::kDatetime, SqlType::kBinary,
                       SqlType::kVarbinary, SqlType::kImage, SqlType::kText}) {
    EXPECT_EQ(SqlTypeOfXtype(CatalogXtype(type)), type) << CatalogXtype(type);
  }
  EXPECT_EQ(SqlTypeOfXtype(231), SqlType::kUnknown);
}

}  // namespace
}  // namespace sqlsim::testing
