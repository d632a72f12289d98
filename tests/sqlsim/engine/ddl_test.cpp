// CREATE TABLE, CREATE INDEX and DROP: the SQLite schema they leave, the
// catalog rows, the server's errors, and nothing left behind on failure.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "ddl_db.h"
#include "sqlsim/engine/ddl.h"

namespace sqlsim::testing {
namespace {

struct TypeCase {
  const char* declared;
  const char* catalog;  // xtype|length|prec|scale
  const char* sqlite;   // declared type in SQLite
};

TEST(CreateTableTest, EveryTypeHasItsCatalogNumbersAndStorage) {
  const TypeCase kCases[] = {
      {"char(10)", "175|10|10|0", "TEXT"},         {"char", "175|1|1|0", "TEXT"},
      {"varchar(50)", "167|50|50|0", "TEXT"},      {"varchar(max)", "167|-1|0|0", "TEXT"},
      {"nvarchar(20)", "167|20|20|0", "TEXT"},     {"text", "35|16|0|0", "TEXT"},
      {"int", "56|4|10|0", "INTEGER"},             {"integer", "56|4|10|0", "INTEGER"},
      {"smallint", "52|2|5|0", "INTEGER"},         {"tinyint", "48|1|3|0", "INTEGER"},
      {"byte", "48|1|3|0", "INTEGER"},             {"bigint", "127|8|19|0", "INTEGER"},
      {"bit", "104|1|1|0", "INTEGER"},             {"float", "62|8|53|0", "REAL"},
      {"float(53)", "62|8|53|0", "REAL"},          {"float(10)", "59|4|24|0", "REAL"},
      {"real", "59|4|24|0", "REAL"},               {"decimal(10,2)", "106|9|10|2", "REAL"},
      {"numeric", "106|9|18|0", "REAL"},           {"money", "106|9|19|4", "REAL"},
      {"datetime", "61|8|23|3", "TEXT"},           {"binary(4)", "173|4|4|0", "BLOB"},
      {"varbinary(100)", "165|100|100|0", "BLOB"}, {"varbinary(max)", "165|-1|0|0", "BLOB"},
      {"image", "34|16|0|0", "BLOB"},
  };
  for (const TypeCase& c : kCases) {
    SCOPED_TRACE(c.declared);
    DdlDb db;
    ASSERT_TRUE(db.Run(std::string("CREATE TABLE t (c ") + c.declared + ")"))
        << db.FirstMessage();
    EXPECT_EQ(db.Rows("SELECT xtype, length, prec, scale FROM syscolumns WHERE name = 'c'"),
              c.catalog);
    EXPECT_EQ(db.Rows("SELECT type FROM pragma_table_info('t')"), c.sqlite);
  }
}

TEST(CreateTableTest, NullabilityFollowsTheServer) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE t (a int, b int NOT NULL, c int NULL, d int PRIMARY KEY, "
                     "e int IDENTITY(1,1), f char(2) UNIQUE)"));
  EXPECT_EQ(db.Rows("SELECT group_concat(name || '=' || isnullable, ' ') FROM "
                    "(SELECT name, isnullable FROM syscolumns WHERE id = "
                    "(SELECT id FROM sysobjects WHERE name = 't') ORDER BY colid)"),
            "a=1 b=0 c=1 d=0 e=0 f=1");
  EXPECT_NE(db.TrySql("INSERT INTO t (b, d) VALUES (NULL, 1)"), "");
  EXPECT_NE(db.TrySql("INSERT INTO t (b, d) VALUES (1, NULL)"), "");
  EXPECT_NE(db.TrySql("INSERT INTO t (b) VALUES (1)"), "");
  EXPECT_EQ(db.TrySql("INSERT INTO t (a, b, c, d, e) VALUES (NULL, 1, NULL, 1, 1)"), "");
  EXPECT_EQ(db.Rows("SELECT status & 0x80 FROM syscolumns WHERE name = 'e'"), "128");
}

struct DefaultCase {
  const char* column;  // definition of column c
  const char* stored;  // typeof(c)|quote(c) of a row inserted without c
};

TEST(CreateTableTest, DefaultsAreStoredAsTheColumnHoldsThem) {
  const DefaultCase kCases[] = {
      {"c char(5) DEFAULT 'ab'", "text|'ab   '"},
      {"c char(3) DEFAULT 'abc   '", "text|'abc'"},
      {"c varchar(5) DEFAULT 'ab'", "text|'ab'"},
      {"c varchar(10) DEFAULT 12", "text|'12'"},
      {"c int DEFAULT ((0))", "integer|0"},
      {"c int DEFAULT -5", "integer|-5"},
      {"c int DEFAULT (-(5))", "integer|-5"},
      {"c int DEFAULT '42'", "integer|42"},
      {"c int DEFAULT 2.9", "integer|2"},
      {"c bit DEFAULT 5", "integer|1"},
      {"c smallint DEFAULT NULL", "null|NULL"},
      {"c float DEFAULT 1.5", "real|1.5"},
      {"c decimal(5,2) DEFAULT -1.25", "real|-1.25"},
      {"c real DEFAULT '2.5'", "real|2.5"},
      {"c datetime DEFAULT '2020-01-02'", "text|'2020-01-02 00:00:00.000'"},
      {"c datetime DEFAULT '20200102 13:14:15.002'", "text|'2020-01-02 13:14:15.003'"},
      {"c datetime DEFAULT 0", "text|'1900-01-01 00:00:00.000'"},
      {"c datetime DEFAULT ''", "text|'1900-01-01 00:00:00.000'"},
      {"c binary(3) DEFAULT 0x41", "blob|X'410000'"},
  };
  for (const DefaultCase& c : kCases) {
    SCOPED_TRACE(c.column);
    DdlDb db;
    ASSERT_TRUE(db.Run(std::string("CREATE TABLE t (k int, ") + c.column + ")"))
        << db.FirstMessage();
    db.Sql("INSERT INTO t (k) VALUES (1)");
    EXPECT_EQ(db.Rows("SELECT typeof(c), quote(c) FROM t"), c.stored);
    EXPECT_EQ(db.Rows("SELECT count(*) FROM sysobjects o JOIN syscolumns c "
                      "ON c.cdefault = o.id WHERE o.xtype = 'D' AND c.name = 'c'"),
              "1");
  }
}

TEST(CreateTableTest, GetdateDefaultIsTakenAtInsert) {
  DdlDb db;
  if (!db.has_server_functions()) GTEST_SKIP() << "needs tsql_getdate";
  ASSERT_TRUE(db.Run("CREATE TABLE t (k int, d datetime NOT NULL DEFAULT GETDATE())"));
  db.Sql("INSERT INTO t (k) VALUES (1)");
  std::string stored = db.Rows("SELECT d FROM t");
  EXPECT_TRUE(std::regex_match(stored, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})")))
      << stored;
}

// Constants the column cannot take as they are are converted when a row is
// inserted, with the server's errors.
TEST(CreateTableTest, DefaultsOutOfRangeFailAtInsert) {
  DdlDb db;
  if (!db.has_server_functions()) GTEST_SKIP() << "needs tsql_store";
  ASSERT_TRUE(db.Run("CREATE TABLE t (k int, c tinyint DEFAULT 300, "
                     "v varchar(2) DEFAULT 'abc', d datetime DEFAULT 'Jan 5 2021')"));
  EXPECT_NE(db.TrySql("INSERT INTO t (k, v, d) VALUES (1, 'x', NULL)"), "");
  EXPECT_NE(db.TrySql("INSERT INTO t (k, c, d) VALUES (1, 1, NULL)"), "");
  EXPECT_EQ(db.TrySql("INSERT INTO t (k, c, v) VALUES (1, 1, 'x')"), "");
  EXPECT_EQ(db.Rows("SELECT d FROM t"), "2021-01-05 00:00:00.000");
}

TEST(CreateTableTest, DefaultNamesAreGeneratedOrKept) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE Kunde (Name char(5) DEFAULT '', "
                     "Ort char(5) CONSTRAINT DF_Ort DEFAULT 'X')"));
  std::string rows = db.Rows("SELECT o.name, o.id FROM sysobjects o WHERE o.xtype = 'D' "
                             "ORDER BY o.id");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(rows, match, std::regex(R"(DF__Kunde__Name__([0-9A-F]{8})\|(\d+)\nDF_Ort\|\d+)")))
      << rows;
  EXPECT_EQ(std::stoul(match[1].str(), nullptr, 16), std::stoul(match[2].str()));
}

// Keys compare as the server compares: case and trailing blanks do not
// count, for keys of the table, unique constraints and unique indexes.
TEST(CreateTableTest, KeysCollideOnCaseAndTrailingBlanks) {
  const char* kTables[] = {
      "CREATE TABLE t (k char(10) PRIMARY KEY)",
      "CREATE TABLE t (k varchar(10) NOT NULL, CONSTRAINT PK_t PRIMARY KEY NONCLUSTERED (k))",
      "CREATE TABLE t (k varchar(10) UNIQUE)",
      "CREATE TABLE t (k varchar(10)) CREATE UNIQUE INDEX ix ON t (k)",
  };
  for (const char* create : kTables) {
    SCOPED_TRACE(create);
    DdlDb db;
    ASSERT_TRUE(db.Run(create)) << db.FirstMessage();
    db.Sql("INSERT INTO t (k) VALUES ('abc')");
    EXPECT_NE(db.TrySql("INSERT INTO t (k) VALUES ('ABC')"), "");
    EXPECT_NE(db.TrySql("INSERT INTO t (k) VALUES ('abc  ')"), "");
    EXPECT_EQ(db.TrySql("INSERT INTO t (k) VALUES ('abd')"), "");
  }
}

TEST(CreateTableTest, KeysGetConstraintIndexAndKeyRows) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE t (a int NOT NULL, b char(4) NOT NULL, c int UNIQUE, "
                     "PRIMARY KEY (b, a))"));
  std::string table_id = db.Rows("SELECT id FROM sysobjects WHERE name = 't'");
  std::string keys = db.Rows("SELECT name, xtype, parent_obj FROM sysobjects "
                             "WHERE parent_obj <> 0 ORDER BY xtype");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(keys, match, std::regex(R"(PK__t__[0-9A-F]{8}\|PK\|(\d+)\nUQ__t__[0-9A-F]{8}\|UQ\|(\d+))")))
      << keys;
  EXPECT_EQ(match[1].str(), table_id);
  EXPECT_EQ(match[2].str(), table_id);
  // The key is clustered (indid 1), so the table has no heap row.
  EXPECT_EQ(db.Rows("SELECT i.indid, i.status & 0x1802 FROM sysindexes i WHERE i.id = " +
                    table_id + " ORDER BY indid"),
            "1|2050\n2|4098");
  EXPECT_EQ(db.Rows("SELECT i.name = o.name FROM sysindexes i JOIN sysobjects o "
                    "ON o.parent_obj = i.id AND o.xtype = 'PK' WHERE i.indid = 1"),
            "1");
  EXPECT_EQ(db.Rows("SELECT indid, colid, keyno FROM sysindexkeys WHERE id = " + table_id +
                    " ORDER BY indid, keyno"),
            "1|2|1\n1|1|2\n2|3|1");
}

TEST(CreateTableTest, HeapRowUnlessClustered) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE h (a int) "
                     "CREATE TABLE n (a int CONSTRAINT PK_n PRIMARY KEY NONCLUSTERED)"));
  EXPECT_EQ(db.Rows("SELECT o.name, i.indid, i.name FROM sysindexes i JOIN sysobjects o "
                    "ON o.id = i.id ORDER BY o.name, i.indid"),
            "h|0|h\nn|0|n\nn|2|PK_n");
}

// An integer key is SQLite's row id; with IDENTITY it counts from the seed.
TEST(CreateTableTest, IdentityKeyCountsFromItsSeed) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE t (id int IDENTITY(100, 1) PRIMARY KEY, v char(1))"));
  db.Sql("INSERT INTO t (v) VALUES ('a'); INSERT INTO t (v) VALUES ('b');"
         "DELETE FROM t WHERE v = 'b'; INSERT INTO t (v) VALUES ('c')");
  EXPECT_EQ(db.Rows("SELECT id, v FROM t ORDER BY id"), "100|a\n102|c");
  EXPECT_EQ(db.Rows("SELECT ident_seed, ident_incr FROM syscolumns WHERE name = 'id' AND "
                    "id = (SELECT id FROM sysobjects WHERE name = 't')"),
            "100|1");
  const CatalogColumn* id = db.catalog().FindTable("t")->FindColumn("id");
  EXPECT_TRUE(id->identity);
  EXPECT_EQ(id->identity_seed, 100);
}

TEST(CreateTableTest, OddNamesAreQuoted) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE [my \"odd\" table] ([a b] char(2) NOT NULL, "
                     "CONSTRAINT [pk 'x'] PRIMARY KEY ([a b])) "
                     "CREATE INDEX [ix \"1\"] ON [my \"odd\" table] ([a b] DESC)"))
      << db.FirstMessage();
  db.Sql("INSERT INTO \"my \"\"odd\"\" table\" VALUES ('x')");
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND "
                    "tbl_name = 'my \"odd\" table'"),
            "2");
  ASSERT_TRUE(db.Run("DROP INDEX [my \"odd\" table].[ix \"1\"] "
                     "ALTER TABLE [my \"odd\" table] DROP CONSTRAINT [pk 'x'] "
                     "DROP TABLE [my \"odd\" table]"))
      << db.FirstMessage();
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sysobjects WHERE xtype <> 'S'"), "0");
}

TEST(CreateIndexTest, IndexesAreNumberedAndKeepDescendingColumns) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE t (a int, b varchar(10), c datetime) "
                     "CREATE INDEX ix_b ON t (b DESC, a) "
                     "CREATE CLUSTERED INDEX ix_c ON t (c) "
                     "CREATE UNIQUE INDEX ix_a ON dbo.t (a)"));
  std::string table_id = db.Rows("SELECT id FROM sysobjects WHERE name = 't'");
  EXPECT_EQ(db.Rows("SELECT indid, name, status FROM sysindexes WHERE id = " + table_id +
                    " ORDER BY indid"),
            "1|ix_c|0\n2|ix_b|0\n3|ix_a|2");
  EXPECT_EQ(db.Rows("SELECT name, desc FROM pragma_index_xinfo('" +
                    SqliteIndexName("t", "ix_b") + "') WHERE cid >= 0 ORDER BY seqno"),
            "b|1\na|0");
  EXPECT_EQ(db.Rows("SELECT indid, colid FROM sysindexkeys WHERE id = " + table_id +
                    " ORDER BY indid, keyno"),
            "1|3\n2|2\n2|1\n3|1");
}

TEST(CreateIndexTest, IndexNamesArePerTable) {
  DdlDb db;
  EXPECT_TRUE(db.Run("CREATE TABLE a (x int) CREATE TABLE b (x int) "
                     "CREATE INDEX ix ON a (x) CREATE INDEX ix ON b (x)"))
      << db.FirstMessage();
}

struct ErrorCase {
  const char* setup;
  const char* statement;
  std::vector<int32_t> numbers;
  const char* message;           // of the first error
  const char* data = nullptr;    // SQLite rows inserted after the setup
};

// Each failing statement reports the server's errors and leaves the file
// exactly as it was (schema, catalog rows and the id counter).
TEST(DdlErrorsTest, ServerErrorsAndNoTrace) {
  const ErrorCase kCases[] = {
      {"CREATE TABLE t (a int)", "CREATE TABLE T (b int)", {2714},
       "There is already an object named 'T' in the database."},
      {"CREATE TABLE t (a int CONSTRAINT PK_x PRIMARY KEY)", "CREATE TABLE pk_x (b int)", {2714},
       "There is already an object named 'pk_x' in the database."},
      {"CREATE TABLE t (a int CONSTRAINT PK_x PRIMARY KEY)",
       "CREATE TABLE u (a int CONSTRAINT PK_x PRIMARY KEY)", {2714, 1750},
       "There is already an object named 'PK_x' in the database."},
      {"", "CREATE TABLE t (a int, b foo)", {2715},
       "Column, parameter, or variable #2: Cannot find data type foo."},
      {"", "CREATE TABLE t (a int, A char(2))", {2705},
       "Column names in each table must be unique. Column name 'A' in table 't' is specified "
       "more than once."},
      {"", "CREATE TABLE t (a char(9000))", {131},
       "The size (9000) given to the column 'a' exceeds the maximum allowed for any data type "
       "(8000)."},
      {"", "CREATE TABLE t (a int(4))", {2716},
       "Column, parameter, or variable #1: Cannot specify a column width on data type int."},
      {"", "CREATE TABLE t (a decimal(40, 2))", {2750},
       "Column or parameter #1: Specified column precision 40 is greater than the maximum "
       "precision of 38."},
      {"", "CREATE TABLE t (a decimal(4, 6))", {2751},
       "Column or parameter #1: Specified column scale 6 is greater than the specified "
       "precision of 4."},
      {"", "CREATE TABLE t (a int PRIMARY KEY, b int PRIMARY KEY)", {8110},
       "Cannot add multiple PRIMARY KEY constraints to table 't'."},
      {"", "CREATE TABLE t (a int NULL PRIMARY KEY)", {8111, 1750},
       "Cannot define PRIMARY KEY constraint on nullable column in table 't'."},
      {"", "CREATE TABLE t (a int, b int, PRIMARY KEY (a), UNIQUE (c))", {1911, 1750},
       "Column name 'c' does not exist in the target table or view."},
      {"", "CREATE TABLE t (a int, UNIQUE CLUSTERED (a), PRIMARY KEY CLUSTERED (a))", {8112},
       "Cannot add more than one clustered index for constraints on table 't'."},
      {"", "CREATE TABLE t (a int IDENTITY, b int IDENTITY)", {2744},
       "Multiple identity columns specified for table 't'. Only one identity column per table "
       "is allowed."},
      {"", "CREATE TABLE t (a char(5) IDENTITY)", {2749}, nullptr},
      {"", "CREATE TABLE t (a int IDENTITY DEFAULT 1)", {1754},
       "Defaults cannot be created on columns with an IDENTITY attribute. Table 't', column "
       "'a'."},
      {"", "CREATE TABLE t (a int, b int DEFAULT a)", {128}, nullptr},
      {"", "CREATE TABLE t (a int, b int DEFAULT (SELECT 1))", {1752}, nullptr},
      {"", "CREATE TABLE t (a text PRIMARY KEY)", {1919, 1750},
       "Column 'a' in table 't' is of a type that is invalid for use as a key column in an "
       "index."},
      {"CREATE TABLE t (a int) CREATE INDEX ix ON t (a)", "CREATE INDEX IX ON t (a)", {1913},
       "The operation failed because an index or statistics with name 'IX' already exists on "
       "table 't'."},
      {"", "CREATE INDEX ix ON nirgends (a)", {1088},
       "Cannot find the object \"nirgends\" because it does not exist or you do not have "
       "permissions."},
      {"CREATE TABLE t (a int)", "CREATE INDEX ix ON t (b)", {1911},
       "Column name 'b' does not exist in the target table or view."},
      {"CREATE TABLE t (a int)", "CREATE INDEX ix ON t (a, A)", {1909}, nullptr},
      {"CREATE TABLE t (a int, b int) CREATE CLUSTERED INDEX c1 ON t (a)",
       "CREATE CLUSTERED INDEX c2 ON t (b)", {1902},
       "Cannot create more than one clustered index on table 't'. Drop the existing clustered "
       "index 'c1' before creating another."},
      {"CREATE TABLE t (a varchar(5))", "CREATE UNIQUE INDEX ux ON t (a)", {1505},
       "The CREATE UNIQUE INDEX statement terminated because a duplicate key was found for the "
       "object name 'dbo.t' and the index name 'ux'.",
       "INSERT INTO t VALUES ('x'); INSERT INTO t VALUES ('X ')"},
      {"", "DROP TABLE nirgends", {3701},
       "Cannot drop the table 'nirgends', because it does not exist or you do not have "
       "permission."},
      {"CREATE TABLE a (x int)", "DROP TABLE a, b", {3701},
       "Cannot drop the table 'b', because it does not exist or you do not have permission."},
      {"", "DROP TABLE sysobjects", {3701}, nullptr},
      {"CREATE TABLE t (a int)", "DROP INDEX t.ix", {3701},
       "Cannot drop the index 't.ix', because it does not exist or you do not have permission."},
      {"CREATE TABLE t (a int)", "DROP INDEX ix ON t", {3701},
       "Cannot drop the index 't.ix', because it does not exist or you do not have permission."},
      {"CREATE TABLE t (a int CONSTRAINT PK_t PRIMARY KEY)", "DROP INDEX t.PK_t", {3723},
       "An explicit DROP INDEX is not allowed on index 't.PK_t'. It is being used for PRIMARY "
       "KEY constraint enforcement."},
      {"", "DROP VIEW v", {3701},
       "Cannot drop the view 'v', because it does not exist or you do not have permission."},
      {"", "DROP PROCEDURE p", {3701}, nullptr},
  };
  for (const ErrorCase& c : kCases) {
    SCOPED_TRACE(c.statement);
    DdlDb db;
    if (c.setup[0] != '\0') {
      ASSERT_TRUE(db.Run(c.setup)) << db.FirstMessage();
    }
    if (c.data) db.Sql(c.data);
    std::string before = db.Snapshot();
    EXPECT_EQ(db.Errors(c.statement), c.numbers);
    if (c.message) {
      EXPECT_EQ(db.FirstMessage(), c.message);
    }
    EXPECT_EQ(db.Snapshot(), before);
    EXPECT_EQ(db.TrySql("SELECT 1"), "");  // the connection is usable
  }
}

// A failure inside the client's transaction undoes only the statement.
TEST(DdlErrorsTest, FailureInsideATransactionKeepsEarlierWork) {
  DdlDb db;
  db.Sql("BEGIN");
  ASSERT_TRUE(db.Run("CREATE TABLE a (x int)"));
  EXPECT_FALSE(db.Run("CREATE TABLE b (x int, UNIQUE (y))"));
  db.Sql("COMMIT");
  EXPECT_EQ(db.Rows("SELECT name FROM sysobjects WHERE xtype = 'U'"), "a");
  EXPECT_EQ(db.Rows("SELECT name FROM sqlite_master WHERE type = 'table' AND name IN ('a','b')"),
            "a");
  EXPECT_NE(db.catalog().FindTable("a"), nullptr);
  EXPECT_EQ(db.catalog().FindTable("b"), nullptr);
}

TEST(DropTest, DropTableRemovesEveryDependentRow) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE keep (a int PRIMARY KEY)"));
  std::string keep = db.Snapshot();
  ASSERT_TRUE(db.Run("CREATE TABLE t (a int NOT NULL CONSTRAINT PK_t PRIMARY KEY, "
                     "b char(2) DEFAULT 'x' UNIQUE, c int) CREATE INDEX ix ON t (c)"));
  std::string id = db.Rows("SELECT id FROM sysobjects WHERE name = 't'");
  // A trigger's row, as the next stage writes it.
  db.Sql("INSERT INTO sysobjects (id, name, xtype, type, parent_obj) "
         "VALUES (9000, 'trg', 'TR', 'TR', " + id + ")");
  ASSERT_TRUE(db.Run("DROP TABLE dbo.T"));
  const std::string where = " WHERE id = " + id + " OR id = 9000";
  for (const char* table : {"sysobjects", "syscolumns", "sysindexes", "sysindexkeys"}) {
    EXPECT_EQ(db.Rows(std::string("SELECT count(*) FROM ") + table + where), "0") << table;
  }
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sysobjects WHERE parent_obj = " + id), "0");
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sqlite_master WHERE tbl_name = 't'"), "0");
  EXPECT_EQ(db.catalog().FindTable("t"), nullptr);
  // What is left is what was there before t, but for the counter of ids.
  std::string now = db.Snapshot();
  EXPECT_EQ(now.substr(0, now.find("next_object_id")), keep.substr(0, keep.find("next_object_id")));
}

TEST(DropTest, IfExistsAndSeveralNames) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE a (x int) CREATE TABLE b (x int)"));
  EXPECT_TRUE(db.Run("DROP TABLE IF EXISTS nirgends"));
  EXPECT_TRUE(db.Run("DROP TABLE IF EXISTS a, b"));
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sysobjects WHERE xtype = 'U'"), "0");
}

TEST(DropTest, DroppingTheClusteredIndexBringsBackTheHeap) {
  DdlDb db;
  ASSERT_TRUE(db.Run("CREATE TABLE t (a int, b int) CREATE CLUSTERED INDEX c ON t (a) "
                     "CREATE INDEX n ON t (b)"));
  ASSERT_TRUE(db.Run("DROP INDEX t.c"));
  EXPECT_EQ(db.Rows("SELECT indid, name FROM sysindexes ORDER BY indid"), "0|t\n2|n");
  ASSERT_TRUE(db.Run("DROP INDEX n ON t"));
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = 't'"),
            "0");
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sysindexkeys"), "0");
}

TEST(DropTest, ModulesLoseTheirCatalogRows) {
  DdlDb db;
  db.Sql("INSERT INTO sysobjects (id, name, xtype, type) VALUES (7000, 'p', 'P', 'P');"
         "INSERT INTO syscolumns (id, name, xtype, length, colid, isnullable) "
         "VALUES (7000, '@x', 56, 4, 1, 1);"
         "CREATE VIEW v AS SELECT 1 AS one;"
         "INSERT INTO sysobjects (id, name, xtype, type) VALUES (7001, 'v', 'V', 'V')");
  EXPECT_EQ(db.Errors("DROP VIEW p"), std::vector<int32_t>{3701});
  ASSERT_TRUE(db.Run("DROP PROCEDURE P DROP VIEW v"));
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sysobjects WHERE id IN (7000, 7001)"), "0");
  EXPECT_EQ(db.Rows("SELECT count(*) FROM syscolumns WHERE id = 7000"), "0");
  EXPECT_EQ(db.Rows("SELECT count(*) FROM sqlite_master WHERE name = 'v'"), "0");
}

}  // namespace
}  // namespace sqlsim::testing
