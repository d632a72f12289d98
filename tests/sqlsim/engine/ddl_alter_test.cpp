// ALTER TABLE: rows, indexes and catalog rows survive each action; the
// server's errors leave the table as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ddl_db.h"
#include "sqlsim/engine/ddl.h"

namespace sqlsim::testing {
namespace {

std::string Columns(DdlDb& db, const std::string& table) {
  return db.Rows("SELECT group_concat(name || ':' || xtype || ':' || length || ':' || "
                 "isnullable || ':' || colid, ' ') FROM (SELECT * FROM syscolumns WHERE id = "
                 "(SELECT id FROM sysobjects WHERE name = '" + table + "') ORDER BY colid)");
}

class AlterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db_.Run("CREATE TABLE t (id int IDENTITY PRIMARY KEY, name varchar(10) NOT NULL, "
                        "code char(3) NULL, n int NULL) "
                        "CREATE UNIQUE INDEX ux_name ON t (name) "
                        "CREATE INDEX ix_code ON t (code DESC)"))
        << db_.FirstMessage();
    db_.Sql("INSERT INTO t (name, code, n) VALUES ('anna', 'a  ', 1);"
            "INSERT INTO t (name, code, n) VALUES ('bert', 'bb ', 300);"
            "INSERT INTO t (name, code, n) VALUES ('cleo', NULL, NULL);"
            "DELETE FROM t WHERE name = 'cleo'");
  }

  std::string Indexes() {
    return db_.Rows("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND "
                    "tbl_name = 't' ORDER BY name");
  }

  DdlDb db_;
};

TEST_F(AlterTest, AlterColumnKeepsRowsIndexesAndIdentity) {
  // A view and a trigger on the table, as later stages make them in SQLite.
  db_.Sql("CREATE VIEW v AS SELECT name FROM t;"
          "CREATE TRIGGER tr AFTER INSERT ON t BEGIN UPDATE t SET n = 9 WHERE id = new.id; END");
  std::string indexes = Indexes();
  ASSERT_TRUE(db_.Run("ALTER TABLE t ALTER COLUMN name varchar(20) NOT NULL"))
      << db_.FirstMessage();
  EXPECT_EQ(db_.Rows("SELECT name FROM v ORDER BY name"), "anna\nbert");
  EXPECT_EQ(db_.Rows("SELECT id, name, code, n FROM t ORDER BY id"), "1|anna|a  |1\n2|bert|bb |300");
  EXPECT_EQ(Indexes(), indexes);
  EXPECT_EQ(Columns(db_, "t"), "id:56:4:0:1 name:167:20:0:2 code:175:3:1:3 n:56:4:1:4");
  EXPECT_EQ(db_.catalog().FindTable("t")->FindColumn("name")->length, 20);
  // The unique index still compares as the server does.
  EXPECT_NE(db_.TrySql("INSERT INTO t (name) VALUES ('ANNA ')"), "");
  // Identity values are not handed out again after the rebuild.
  db_.Sql("INSERT INTO t (name) VALUES ('dora')");
  EXPECT_EQ(db_.Rows("SELECT id, n FROM t WHERE name = 'dora'"), "4|9");
}

TEST_F(AlterTest, AlterColumnPadsAndCutsText) {
  ASSERT_TRUE(db_.Run("ALTER TABLE t ALTER COLUMN code char(5)")) << db_.FirstMessage();
  EXPECT_EQ(db_.Rows("SELECT quote(code) FROM t ORDER BY id"), "'a    '\n'bb   '");
  // Only trailing blanks go when the column gets shorter.
  ASSERT_TRUE(db_.Run("ALTER TABLE t ALTER COLUMN code char(2)")) << db_.FirstMessage();
  EXPECT_EQ(db_.Rows("SELECT quote(code) FROM t ORDER BY id"), "'a '\n'bb'");
  ASSERT_TRUE(db_.Run("ALTER TABLE t ALTER COLUMN code varchar(8)")) << db_.FirstMessage();
  EXPECT_EQ(db_.Rows("SELECT quote(code) FROM t ORDER BY id"), "'a '\n'bb'");
}

TEST_F(AlterTest, AlterColumnRefitsItsDefault) {
  ASSERT_TRUE(db_.Run("ALTER TABLE t ADD tag char(4) NOT NULL DEFAULT 'it''s'"))
      << db_.FirstMessage();
  ASSERT_TRUE(db_.Run("ALTER TABLE t ALTER COLUMN tag char(6) NOT NULL")) << db_.FirstMessage();
  db_.Sql("INSERT INTO t (name) VALUES ('neu')");
  EXPECT_EQ(db_.Rows("SELECT quote(tag) FROM t WHERE name = 'neu'"), "'it''s  '");
  EXPECT_EQ(db_.Errors("ALTER TABLE t ALTER COLUMN tag int"), (std::vector<int32_t>{5074, 4922}));
}

TEST_F(AlterTest, AlterColumnNullability) {
  ASSERT_TRUE(db_.Run("ALTER TABLE t ALTER COLUMN n bigint NOT NULL")) << db_.FirstMessage();
  EXPECT_EQ(db_.Rows("SELECT isnullable, xtype FROM syscolumns WHERE name = 'n'"), "0|127");
  EXPECT_NE(db_.TrySql("INSERT INTO t (name, n) VALUES ('x', NULL)"), "");
  // Without NULL or NOT NULL the column may hold NULL again, as on the server.
  ASSERT_TRUE(db_.Run("ALTER TABLE t ALTER COLUMN n bigint")) << db_.FirstMessage();
  EXPECT_EQ(db_.TrySql("INSERT INTO t (name, n) VALUES ('x', NULL)"), "");
}

TEST_F(AlterTest, NotNullOverNullsFails) {
  db_.Sql("INSERT INTO t (name, code) VALUES ('leer', NULL)");
  std::string before = db_.Snapshot() + db_.Rows("SELECT * FROM t");
  EXPECT_EQ(db_.Errors("ALTER TABLE t ALTER COLUMN code char(3) NOT NULL"),
            std::vector<int32_t>{515});
  EXPECT_NE(db_.FirstMessage().find("Cannot insert the value NULL into column 'code'"),
            std::string::npos)
      << db_.FirstMessage();
  EXPECT_EQ(db_.Snapshot() + db_.Rows("SELECT * FROM t"), before);
}

TEST_F(AlterTest, AddColumnsAsTheServerFillsThem) {
  ASSERT_TRUE(db_.Run("ALTER TABLE t ADD a int NULL DEFAULT 7, b char(2) NOT NULL DEFAULT 'z', "
                      "c varchar(5) NULL"))
      << db_.FirstMessage();
  // A nullable column stays NULL in existing rows; NOT NULL takes the default.
  EXPECT_EQ(db_.Rows("SELECT quote(a), quote(b), quote(c) FROM t ORDER BY id"),
            "NULL|'z '|NULL\nNULL|'z '|NULL");
  db_.Sql("INSERT INTO t (name) VALUES ('neu')");
  EXPECT_EQ(db_.Rows("SELECT a, quote(b) FROM t WHERE name = 'neu'"), "7|'z '");
  EXPECT_EQ(Columns(db_, "t"), "id:56:4:0:1 name:167:10:0:2 code:175:3:1:3 n:56:4:1:4 "
                               "a:56:4:1:5 b:175:2:0:6 c:167:5:1:7");
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM sysobjects WHERE xtype = 'D'"), "2");
}

TEST_F(AlterTest, AddColumnsThatNeedTheTableMadeAgain) {
  std::string indexes = Indexes();
  ASSERT_TRUE(db_.Run("CREATE TABLE u (x char(1))"));
  db_.Sql("INSERT INTO u VALUES ('p'); INSERT INTO u VALUES ('q')");
  ASSERT_TRUE(db_.Run("ALTER TABLE u ADD nr int IDENTITY(10, 5)")) << db_.FirstMessage();
  EXPECT_EQ(db_.Rows("SELECT x, nr FROM u ORDER BY nr"), "p|10\nq|15");
  // NOT NULL without a default is fine while the table is empty.
  ASSERT_TRUE(db_.Run("CREATE TABLE e (x int) ALTER TABLE e ADD y int NOT NULL"))
      << db_.FirstMessage();
  EXPECT_EQ(db_.Rows("SELECT isnullable FROM syscolumns WHERE name = 'y'"), "0");
  EXPECT_EQ(Indexes(), indexes);
}

TEST_F(AlterTest, AddColumnWithGetdateDefault) {
  if (!db_.has_server_functions()) GTEST_SKIP() << "needs tsql_getdate";
  ASSERT_TRUE(db_.Run("ALTER TABLE t ADD stamp datetime NOT NULL DEFAULT GETDATE()"))
      << db_.FirstMessage();
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM t WHERE stamp LIKE '____-__-__ __:__:__.___'"), "2");
}

TEST_F(AlterTest, DropColumnRenumbersTheRest) {
  ASSERT_TRUE(db_.Run("ALTER TABLE t DROP COLUMN n")) << db_.FirstMessage();
  ASSERT_TRUE(db_.Run("CREATE INDEX ix_n2 ON t (code, name)"));
  std::string id = db_.Rows("SELECT id FROM sysobjects WHERE name = 't'");
  ASSERT_TRUE(db_.Run("DROP INDEX t.ix_code ALTER TABLE t ADD extra int "
                      "CREATE INDEX ix_extra ON t (extra) DROP INDEX t.ix_n2 "
                      "ALTER TABLE t DROP COLUMN code"))
      << db_.FirstMessage();
  EXPECT_EQ(Columns(db_, "t"), "id:56:4:0:1 name:167:10:0:2 extra:56:4:1:3");
  EXPECT_EQ(db_.Rows("SELECT name FROM pragma_table_info('t') ORDER BY cid"), "id\nname\nextra");
  // Keys follow their column to its new place.
  EXPECT_EQ(db_.Rows("SELECT i.name, k.colid FROM sysindexkeys k JOIN sysindexes i ON "
                     "i.id = k.id AND i.indid = k.indid WHERE k.id = " + id + " ORDER BY i.indid"),
            "PK__t__" + db_.Rows("SELECT printf('%08X', id) FROM sysobjects WHERE xtype = 'PK'") +
                "|1\nux_name|2\nix_extra|3");
  EXPECT_EQ(db_.Rows("SELECT name FROM t ORDER BY id"), "anna\nbert");
}

TEST_F(AlterTest, AddAndDropConstraints) {
  ASSERT_TRUE(db_.Run("ALTER TABLE t ADD CONSTRAINT uq_code UNIQUE (code)")) << db_.FirstMessage();
  EXPECT_NE(db_.TrySql("INSERT INTO t (name, code) VALUES ('x', 'A')"), "");
  EXPECT_EQ(db_.Rows("SELECT xtype FROM sysobjects WHERE name = 'uq_code'"), "UQ");
  ASSERT_TRUE(db_.Run("ALTER TABLE t DROP CONSTRAINT uq_code")) << db_.FirstMessage();
  EXPECT_EQ(db_.TrySql("INSERT INTO t (name, code) VALUES ('x', 'A')"), "");
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM sysindexes WHERE name = 'uq_code'"), "0");
  EXPECT_EQ(db_.Rows("SELECT count(*) FROM sysobjects WHERE name = 'uq_code'"), "0");
}

// The integer key lives in SQLite's declaration: dropping it makes the
// table again without it, and duplicates are allowed afterwards.
TEST_F(AlterTest, DropThePrimaryKey) {
  std::string key = db_.Rows("SELECT name FROM sysobjects WHERE xtype = 'PK'");
  ASSERT_TRUE(db_.Run("ALTER TABLE t DROP CONSTRAINT " + key)) << db_.FirstMessage();
  EXPECT_EQ(db_.TrySql("INSERT INTO t (id, name) VALUES (1, 'again')"), "");
  EXPECT_EQ(db_.Rows("SELECT indid, name FROM sysindexes WHERE id = "
                     "(SELECT id FROM sysobjects WHERE name = 't') ORDER BY indid"),
            "0|t\n2|ux_name\n3|ix_code");
  db_.Sql("DELETE FROM t WHERE name = 'again'");
  ASSERT_TRUE(db_.Run("ALTER TABLE t ADD CONSTRAINT PK_t PRIMARY KEY NONCLUSTERED (id)"))
      << db_.FirstMessage();
  EXPECT_EQ(db_.Rows("SELECT indid FROM sysindexes WHERE name = 'PK_t'"), "4");
}

TEST_F(AlterTest, DropDefault) {
  ASSERT_TRUE(db_.Run("ALTER TABLE t ADD flag bit CONSTRAINT DF_flag DEFAULT 1"));
  ASSERT_TRUE(db_.Run("ALTER TABLE t DROP CONSTRAINT DF_flag")) << db_.FirstMessage();
  db_.Sql("INSERT INTO t (name) VALUES ('neu')");
  EXPECT_EQ(db_.Rows("SELECT quote(flag) FROM t WHERE name = 'neu'"), "NULL");
  EXPECT_EQ(db_.Rows("SELECT cdefault FROM syscolumns WHERE name = 'flag'"), "0");
  EXPECT_FALSE(db_.catalog().FindTable("t")->FindColumn("flag")->has_default);
}

struct AlterError {
  const char* statement;
  std::vector<int32_t> numbers;
  const char* message;
};

TEST_F(AlterTest, ErrorsLeaveTheTableAsItWas) {
  const AlterError kCases[] = {
      {"ALTER TABLE nirgends ADD x int", {4902},
       "Cannot find the object \"nirgends\" because it does not exist or you do not have "
       "permissions."},
      {"ALTER TABLE t ADD x int NOT NULL", {4901}, nullptr},
      {"ALTER TABLE t ADD NAME int", {2705},
       "Column names in each table must be unique. Column name 'NAME' in table 't' is "
       "specified more than once."},
      {"ALTER TABLE t ADD x int, y foo", {2715}, nullptr},
      {"ALTER TABLE t ADD x int IDENTITY", {2744}, nullptr},
      {"ALTER TABLE t ALTER COLUMN name varchar(3) NOT NULL", {8152},
       "String or binary data would be truncated."},
      {"ALTER TABLE t ALTER COLUMN n tinyint", {220},
       "Arithmetic overflow error for data type tinyint, value = 300."},
      {"ALTER TABLE t ALTER COLUMN nirgends int", {4924},
       "ALTER TABLE ALTER COLUMN failed because column 'nirgends' does not exist in table 't'."},
      {"ALTER TABLE t ALTER COLUMN id bigint", {4928}, nullptr},
      {"ALTER TABLE t DROP COLUMN nirgends", {4924}, nullptr},
      {"ALTER TABLE t DROP COLUMN name", {5074, 4922},
       "The object 'ux_name' is dependent on column 'name'."},
      {"ALTER TABLE t DROP COLUMN n, code", {5074, 4922}, nullptr},
      {"ALTER TABLE t ADD CONSTRAINT pk2 PRIMARY KEY (name)", {1779, 1750},
       "Table 't' already has a primary key defined on it."},
      {"ALTER TABLE t ADD CONSTRAINT uq UNIQUE (nirgends)", {1911, 1750}, nullptr},
      {"ALTER TABLE t ADD CONSTRAINT ux_name UNIQUE (n)", {1913, 1750}, nullptr},
      {"ALTER TABLE t ADD CONSTRAINT uq UNIQUE CLUSTERED (n)", {1902, 1750}, nullptr},
      {"ALTER TABLE t DROP CONSTRAINT ux_name", {3728, 3727}, "'ux_name' is not a constraint."},
  };
  for (const AlterError& c : kCases) {
    SCOPED_TRACE(c.statement);
    std::string before = db_.Snapshot() + db_.Rows("SELECT * FROM t");
    EXPECT_EQ(db_.Errors(c.statement), c.numbers);
    if (c.message) {
      EXPECT_EQ(db_.FirstMessage(), c.message);
    }
    EXPECT_EQ(db_.Snapshot() + db_.Rows("SELECT * FROM t"), before);
  }
}

TEST(AlterEmptyTableTest, PrimaryKeyAddedWithTheColumn) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE t (a int) ALTER TABLE t ADD k char(4) CONSTRAINT PK_k "
                     "PRIMARY KEY"))
      << db.FirstMessage();
  EXPECT_EQ(db.Rows("SELECT isnullable FROM syscolumns WHERE name = 'k'"), "0");
  EXPECT_EQ(db.Rows("SELECT indid, status & 0x800 FROM sysindexes WHERE name = 'PK_k'"),
            "1|2048");
  db.Sql("INSERT INTO t (k) VALUES ('ab')");
  EXPECT_NE(db.TrySql("INSERT INTO t (k) VALUES ('AB')"), "");
}

}  // namespace
}  // namespace sqlsim::testing
