// The catalog functions as a client calls them: every function over one
// schema, with patterns, null and empty arguments, METADATA_ID and ODBC 2
// names, each call with the rows it must give ("|" between columns, "~"
// for NULL); then the errors ODBC defines and the agreement with
// SQLDescribeCol and SQLGetTypeInfo.
#include <gmock/gmock.h>

#include <functional>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Strings = std::vector<std::string>;
using Call = std::function<SQLRETURN(SQLHSTMT)>;

SQLCHAR* Arg(const char* s) { return reinterpret_cast<SQLCHAR*>(const_cast<char*>(s)); }

// The rows of the open result, one string each.
Strings Rows(SQLHSTMT stmt) {
  Strings rows;
  SQLSMALLINT columns = 0;
  SQLNumResultCols(stmt, &columns);
  while (SQL_SUCCEEDED(SQLFetch(stmt))) {
    std::string row;
    for (SQLUSMALLINT i = 1; i <= columns; ++i) {
      char buffer[512];
      SQLLEN indicator = 0;
      SQLGetData(stmt, i, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
      row += (i > 1 ? "|" : "") + (indicator == SQL_NULL_DATA ? std::string("~") : std::string(buffer));
    }
    rows.push_back(row);
  }
  SQLFreeStmt(stmt, SQL_CLOSE);
  return rows;
}

std::string Header(SQLHSTMT stmt) {
  SQLSMALLINT columns = 0;
  SQLNumResultCols(stmt, &columns);
  std::string header;
  for (SQLUSMALLINT i = 1; i <= columns; ++i) {
    SQLCHAR name[64] = {0};
    SQLDescribeCol(stmt, i, name, sizeof name, nullptr, nullptr, nullptr, nullptr, nullptr);
    header += (i > 1 ? "," : "") + std::string(reinterpret_cast<char*>(name));
  }
  return header;
}

const char* const kSchema[] = {
    "CREATE TABLE Kunde (Nr int IDENTITY(1,1) NOT NULL, Name varchar(30) NOT NULL, "
    "Ort char(10) NULL DEFAULT 'x', Saldo decimal(10,2) NULL DEFAULT 0, Seit datetime NULL, "
    "CONSTRAINT PK_Kunde PRIMARY KEY (Nr))",
    "CREATE UNIQUE INDEX IX_Kunde_Name ON Kunde (Name)",
    "CREATE INDEX IX_Kunde_Ort ON Kunde (Ort, Seit DESC)",
    "CREATE TABLE Notiz (Id int NOT NULL, Text varchar(100) NULL)",
    "CREATE VIEW V_Kunde AS SELECT Nr, Name FROM Kunde",
    "CREATE PROCEDURE Buche @nr int, @betrag decimal(10,2), @neu decimal(10,2) OUTPUT AS SET @neu = @betrag",
    "CREATE FUNCTION Doppelt (@x int) RETURNS int AS BEGIN RETURN @x * 2 END"};

class CatalogTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    for (const char* sql : kSchema) Exec(sql);
  }
};

const Strings kKundeColumns = {
    "t|dbo|Kunde|Nr|4|int identity|10|4|0|10|0|~|~|4|~|~|1|NO",
    "t|dbo|Kunde|Name|12|varchar|30|30|~|~|0|~|~|12|~|30|2|NO",
    "t|dbo|Kunde|Ort|1|char|10|10|~|~|1|~|('x')|1|~|10|3|YES",
    "t|dbo|Kunde|Saldo|3|decimal|10|12|2|10|1|~|((0))|3|~|~|4|YES",
    "t|dbo|Kunde|Seit|93|datetime|23|16|3|~|1|~|~|9|3|~|5|YES",
};

TEST_F(CatalogTest, EachCallGivesTheRowsOfItsResultSet) {
  const struct {
    const char* what;
    Call call;
    Strings rows;
  } cases[] = {
      {"tables by pattern",
       [](SQLHSTMT s) { return SQLTables(s, nullptr, 0, nullptr, 0, Arg("K%"), SQL_NTS, nullptr, 0); },
       {"t|dbo|Kunde|TABLE|~"}},
      {"case does not count",
       [](SQLHSTMT s) { return SQLTables(s, nullptr, 0, nullptr, 0, Arg("kUNDE"), SQL_NTS, nullptr, 0); },
       {"t|dbo|Kunde|TABLE|~"}},
      {"escaped underscore",
       [](SQLHSTMT s) { return SQLTables(s, nullptr, 0, nullptr, 0, Arg("V\\_%"), SQL_NTS, nullptr, 0); },
       {"t|dbo|V_Kunde|VIEW|~"}},
      {"explicit length",
       [](SQLHSTMT s) { return SQLTables(s, Arg("t"), 1, Arg("dbo"), 3, Arg("Notizbuch"), 5, nullptr, 0); },
       {"t|dbo|Notiz|TABLE|~"}},
      {"type list, ordered by type",
       [](SQLHSTMT s) {
         return SQLTables(s, nullptr, 0, nullptr, 0, Arg("%"), SQL_NTS, Arg("'VIEW','TABLE'"), SQL_NTS);
       },
       {"t|dbo|Kunde|TABLE|~", "t|dbo|Notiz|TABLE|~", "t|dbo|V_Kunde|VIEW|~"}},
      {"system tables",
       [](SQLHSTMT s) {
         return SQLTables(s, nullptr, 0, Arg("sys"), SQL_NTS, Arg("sysindex%"), SQL_NTS, Arg("SYSTEM TABLE"), SQL_NTS);
       },
       {"t|sys|sysindexes|SYSTEM TABLE|~", "t|sys|sysindexkeys|SYSTEM TABLE|~"}},
      {"another catalog",
       [](SQLHSTMT s) { return SQLTables(s, Arg("andere"), SQL_NTS, nullptr, 0, Arg("%"), SQL_NTS, nullptr, 0); },
       {}},
      {"empty schema: objects without one",
       [](SQLHSTMT s) { return SQLTables(s, nullptr, 0, Arg(""), SQL_NTS, Arg("%"), SQL_NTS, nullptr, 0); },
       {}},
      {"the catalogs",
       [](SQLHSTMT s) { return SQLTables(s, Arg("%"), SQL_NTS, Arg(""), 0, Arg(""), 0, nullptr, 0); },
       {"t|~|~|~|~"}},
      {"the schemas",
       [](SQLHSTMT s) { return SQLTables(s, Arg(""), 0, Arg("%"), SQL_NTS, Arg(""), 0, nullptr, 0); },
       {"~|dbo|~|~|~", "~|sys|~|~|~"}},
      {"the table types",
       [](SQLHSTMT s) { return SQLTables(s, Arg(""), 0, Arg(""), 0, Arg(""), 0, Arg("%"), SQL_NTS); },
       {"~|~|~|SYSTEM TABLE|~", "~|~|~|TABLE|~", "~|~|~|VIEW|~"}},
      {"columns", [](SQLHSTMT s) { return SQLColumns(s, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, nullptr, 0); },
       kKundeColumns},
      {"columns by pattern",
       [](SQLHSTMT s) {
         return SQLColumns(s, Arg("t"), SQL_NTS, Arg("dbo"), SQL_NTS, Arg("K_nde"), SQL_NTS, Arg("S%"), SQL_NTS);
       },
       {kKundeColumns[3], kKundeColumns[4]}},
      {"view columns",
       [](SQLHSTMT s) { return SQLColumns(s, nullptr, 0, nullptr, 0, Arg("V_Kunde"), SQL_NTS, Arg("Name"), SQL_NTS); },
       {"t|dbo|V_Kunde|Name|12|varchar|30|30|~|~|0|~|~|12|~|30|2|NO"}},
      {"primary key",
       [](SQLHSTMT s) { return SQLPrimaryKeys(s, nullptr, 0, nullptr, 0, Arg("kunde"), SQL_NTS); },
       {"t|dbo|Kunde|Nr|1|PK_Kunde"}},
      {"primary key: no patterns",
       [](SQLHSTMT s) { return SQLPrimaryKeys(s, nullptr, 0, nullptr, 0, Arg("K%"), SQL_NTS); },
       {}},
      {"no foreign keys",
       [](SQLHSTMT s) {
         return SQLForeignKeys(s, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, nullptr, 0, nullptr, 0, nullptr, 0);
       },
       {}},
      {"all indexes",
       [](SQLHSTMT s) {
         return SQLStatistics(s, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, SQL_INDEX_ALL, SQL_QUICK);
       },
       {"t|dbo|Kunde|~|~|~|0|~|~|~|0|~|~", "t|dbo|Kunde|0|Kunde|PK_Kunde|1|1|Nr|A|~|~|~",
        "t|dbo|Kunde|0|Kunde|IX_Kunde_Name|3|1|Name|A|~|~|~", "t|dbo|Kunde|1|Kunde|IX_Kunde_Ort|3|1|Ort|A|~|~|~",
        "t|dbo|Kunde|1|Kunde|IX_Kunde_Ort|3|2|Seit|D|~|~|~"}},
      {"unique indexes",
       [](SQLHSTMT s) {
         return SQLStatistics(s, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, SQL_INDEX_UNIQUE, SQL_ENSURE);
       },
       {"t|dbo|Kunde|~|~|~|0|~|~|~|0|~|~", "t|dbo|Kunde|0|Kunde|PK_Kunde|1|1|Nr|A|~|~|~",
        "t|dbo|Kunde|0|Kunde|IX_Kunde_Name|3|1|Name|A|~|~|~"}},
      {"best row id",
       [](SQLHSTMT s) {
         return SQLSpecialColumns(s, SQL_BEST_ROWID, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS,
                                  SQL_SCOPE_TRANSACTION, SQL_NULLABLE);
       },
       {"1|Nr|4|int identity|10|4|0|1"}},
      {"no row id without a key",
       [](SQLHSTMT s) {
         return SQLSpecialColumns(s, SQL_BEST_ROWID, nullptr, 0, nullptr, 0, Arg("Notiz"), SQL_NTS, SQL_SCOPE_CURROW,
                                  SQL_NO_NULLS);
       },
       {}},
      {"no row version",
       [](SQLHSTMT s) {
         return SQLSpecialColumns(s, SQL_ROWVER, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, SQL_SCOPE_CURROW,
                                  SQL_NULLABLE);
       },
       {}},
      {"procedures",
       [](SQLHSTMT s) { return SQLProcedures(s, nullptr, 0, nullptr, 0, Arg("%"), SQL_NTS); },
       {"t|dbo|Buche;1|-1|-1|-1|~|1", "t|dbo|Doppelt;1|-1|-1|-1|~|2"}},
      {"procedure parameters",
       [](SQLHSTMT s) { return SQLProcedureColumns(s, nullptr, 0, nullptr, 0, Arg("Buche"), SQL_NTS, nullptr, 0); },
       {"t|dbo|Buche;1|@RETURN_VALUE|5|4|int|10|4|0|10|0|~|~|4|~|~|0|NO",
        "t|dbo|Buche;1|@nr|1|4|int|10|4|0|10|1|~|~|4|~|~|1|YES",
        "t|dbo|Buche;1|@betrag|1|3|decimal|10|12|2|10|1|~|~|3|~|~|2|YES",
        "t|dbo|Buche;1|@neu|2|3|decimal|10|12|2|10|1|~|~|3|~|~|3|YES"}},
      {"function parameters by pattern",
       [](SQLHSTMT s) {
         return SQLProcedureColumns(s, nullptr, 0, nullptr, 0, Arg("D%"), SQL_NTS, Arg("@%"), SQL_NTS);
       },
       {"t|dbo|Doppelt;1|@RETURN_VALUE|5|4|int|10|4|0|10|0|~|~|4|~|~|0|NO",
        "t|dbo|Doppelt;1|@x|1|4|int|10|4|0|10|1|~|~|4|~|~|1|YES"}},
  };
  for (const auto& c : cases) {
    Statement stmt(dbc());
    SQLRETURN rc = c.call(stmt);
    ASSERT_STMT_OK(rc, stmt) << c.what;
    EXPECT_THAT(Rows(stmt), ElementsAreArray(c.rows)) << c.what;
  }
}

TEST_F(CatalogTest, MetadataIdMakesEveryArgumentAnIdentifier) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SetAttr(stmt, SQL_ATTR_METADATA_ID, SQL_TRUE), stmt);
  ASSERT_STMT_OK(
      SQLColumns(stmt, Arg("T"), SQL_NTS, Arg("DBO"), SQL_NTS, Arg("\"KUNDE\""), SQL_NTS, Arg("NAME"), SQL_NTS), stmt);
  EXPECT_THAT(Rows(stmt), ElementsAreArray({kKundeColumns[1]}));
  ASSERT_STMT_OK(SQLColumns(stmt, Arg("t"), SQL_NTS, Arg("dbo"), SQL_NTS, Arg("K%"), SQL_NTS, Arg("%"), SQL_NTS), stmt);
  EXPECT_THAT(Rows(stmt), ElementsAreArray(Strings{}));
  EXPECT_EQ(Failure(SQLColumns(stmt, Arg("t"), SQL_NTS, nullptr, 0, Arg("Kunde"), SQL_NTS, Arg("Nr"), SQL_NTS), stmt),
            "HY009");
}

// A name beyond ASCII found however the client spells it: in the code page,
// as UTF-8 through the 8-bit call (as pyodbc sends it), as UTF-16 through
// the wide one.
TEST_F(CatalogTest, NamesBeyondAsciiInEachSpelling) {
  Exec("CREATE TABLE [Gr\xF6\xDF" "e] ([Ma\xDF] int NOT NULL)");
  const std::string expected = "t|dbo|Gr\xF6\xDF" "e|Ma\xDF";
  Statement stmt(dbc());
  for (const char* name : {"Gr\xF6\xDF" "e", "Gr\xC3\xB6\xC3\x9F" "e", "Gr%"}) {
    ASSERT_STMT_OK(SQLColumns(stmt, nullptr, 0, nullptr, 0, Arg(name), SQL_NTS, nullptr, 0), stmt);
    Strings rows = Rows(stmt);
    ASSERT_EQ(rows.size(), 1u) << name;
    EXPECT_EQ(rows[0].substr(0, expected.size()), expected) << name;
  }
  SQLWCHAR wide[] = {'G', 'r', 0xF6, 0xDF, 'e', 'x'};
  ASSERT_STMT_OK(SQLTablesW(stmt, nullptr, 0, nullptr, 0, wide, 5, nullptr, 0), stmt);
  EXPECT_THAT(Rows(stmt), ElementsAre("t|dbo|Gr\xF6\xDF" "e|TABLE|~"));
  EXPECT_EQ(Failure(SQLTablesW(stmt, nullptr, 0, nullptr, 0, wide, -5, nullptr, 0), stmt), "HY090");
}

TEST_F(CatalogTest, WrongCallsGiveOdbcStates) {
  const struct {
    const char* state;
    Call call;
  } cases[] = {
      {"HY009", [](SQLHSTMT s) { return SQLPrimaryKeys(s, nullptr, 0, nullptr, 0, nullptr, 0); }},
      {"HY009",
       [](SQLHSTMT s) { return SQLStatistics(s, nullptr, 0, nullptr, 0, nullptr, 0, SQL_INDEX_ALL, SQL_QUICK); }},
      {"HY009",
       [](SQLHSTMT s) {
         return SQLForeignKeys(s, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0);
       }},
      {"HY090", [](SQLHSTMT s) { return SQLTables(s, nullptr, 0, nullptr, 0, Arg("K%"), -5, nullptr, 0); }},
      {"HY100",
       [](SQLHSTMT s) { return SQLStatistics(s, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, 7, SQL_QUICK); }},
      {"HY101",
       [](SQLHSTMT s) { return SQLStatistics(s, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, SQL_INDEX_ALL, 9); }},
      {"HY097",
       [](SQLHSTMT s) {
         return SQLSpecialColumns(s, 9, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, SQL_SCOPE_CURROW, SQL_NULLABLE);
       }},
      {"HY098",
       [](SQLHSTMT s) {
         return SQLSpecialColumns(s, SQL_BEST_ROWID, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, 9, SQL_NULLABLE);
       }},
  };
  for (const auto& c : cases) {
    Statement stmt(dbc());
    EXPECT_EQ(Failure(c.call(stmt), stmt), c.state);
  }
  Statement open(dbc());
  ASSERT_STMT_OK(SQLTables(open, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), open);
  EXPECT_EQ(Failure(SQLTables(open, nullptr, 0, nullptr, 0, nullptr, 0, nullptr, 0), open), "24000");
}

TEST_F(CatalogTest, ColumnsAgreeWithDescribeColAndTypeInfo) {
  Statement query(dbc()), columns(dbc()), types(dbc());
  ASSERT_STMT_OK(ExecDirect(query, "SELECT * FROM Kunde"), query);
  ASSERT_STMT_OK(SQLColumns(columns, nullptr, 0, nullptr, 0, Arg("Kunde"), SQL_NTS, nullptr, 0), columns);
  for (SQLUSMALLINT i = 1; SQL_SUCCEEDED(SQLFetch(columns)); ++i) {
    SQLSMALLINT described_type = 0, described_digits = 0;
    SQLULEN described_size = 0;
    SQLDescribeCol(query, i, nullptr, 0, nullptr, &described_type, &described_size, &described_digits, nullptr);
    SQLSMALLINT data_type = 0, digits = 0;
    SQLINTEGER size = 0;
    char type_name[64];
    SQLGetData(columns, 5, SQL_C_SSHORT, &data_type, 0, nullptr);
    SQLGetData(columns, 6, SQL_C_CHAR, type_name, sizeof type_name, nullptr);
    SQLGetData(columns, 7, SQL_C_SLONG, &size, 0, nullptr);
    SQLGetData(columns, 9, SQL_C_SSHORT, &digits, 0, nullptr);
    EXPECT_EQ(data_type, described_type) << type_name;
    EXPECT_EQ(static_cast<SQLULEN>(size), described_size) << type_name;
    EXPECT_EQ(digits, described_digits) << type_name;
    // The type name, "int identity" too, is one SQLGetTypeInfo lists.
    ASSERT_STMT_OK(SQLGetTypeInfo(types, data_type), types);
    Strings listed;
    for (const std::string& row : Rows(types)) listed.push_back(row.substr(0, row.find('|')));
    EXPECT_THAT(listed, ::testing::Contains(type_name));
  }
}

TEST_F(CatalogTest, ScrollableWhenTheCursorTypeAsks) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(SetAttr(stmt, SQL_ATTR_CURSOR_TYPE, SQL_CURSOR_STATIC), stmt);
  ASSERT_STMT_OK(SQLTables(stmt, nullptr, 0, Arg("dbo"), SQL_NTS, nullptr, 0, nullptr, 0), stmt);
  ASSERT_STMT_OK(SQLFetchScroll(stmt, SQL_FETCH_LAST, 0), stmt);
  char name[64];
  SQLGetData(stmt, 3, SQL_C_CHAR, name, sizeof name, nullptr);
  EXPECT_STREQ(name, "V_Kunde");
}

TEST_F(OdbcTest, CatalogResultSetsCarryOdbc2NamesAndTypes) {
  Connection connection(SQL_OV_ODBC2);
  Connect(connection);
  Statement stmt(connection.dbc());
  Exec(stmt, "CREATE TABLE K (Nr int NOT NULL PRIMARY KEY, Seit datetime NULL)");
  ASSERT_STMT_OK(SQLTables(stmt, nullptr, 0, nullptr, 0, Arg("K"), SQL_NTS, nullptr, 0), stmt);
  EXPECT_EQ(Header(stmt), "TABLE_QUALIFIER,TABLE_OWNER,TABLE_NAME,TABLE_TYPE,REMARKS");
  SQLFreeStmt(stmt, SQL_CLOSE);
  ASSERT_STMT_OK(SQLColumns(stmt, nullptr, 0, nullptr, 0, Arg("K"), SQL_NTS, Arg("Seit"), SQL_NTS), stmt);
  const std::string odbc2_columns =
      "TABLE_QUALIFIER,TABLE_OWNER,TABLE_NAME,COLUMN_NAME,DATA_TYPE,TYPE_NAME,PRECISION,LENGTH,SCALE,RADIX,NULLABLE,";
  EXPECT_EQ(Header(stmt).substr(0, odbc2_columns.size()), odbc2_columns);
  EXPECT_THAT(Rows(stmt), ElementsAreArray({"t|dbo|K|Seit|11|datetime|23|16|3|~|1|~|~|11|3|~|2|YES"}));
  ASSERT_STMT_OK(SQLStatistics(stmt, nullptr, 0, nullptr, 0, Arg("K"), SQL_NTS, SQL_INDEX_ALL, SQL_QUICK), stmt);
  EXPECT_EQ(Header(stmt),
            "TABLE_QUALIFIER,TABLE_OWNER,TABLE_NAME,NON_UNIQUE,INDEX_QUALIFIER,INDEX_NAME,TYPE,SEQ_IN_INDEX,"
            "COLUMN_NAME,COLLATION,CARDINALITY,PAGES,FILTER_CONDITION");
  SQLFreeStmt(stmt, SQL_CLOSE);
  ASSERT_STMT_OK(SQLProcedures(stmt, nullptr, 0, nullptr, 0, nullptr, 0), stmt);
  EXPECT_EQ(Header(stmt).substr(0, 52), "PROCEDURE_QUALIFIER,PROCEDURE_OWNER,PROCEDURE_NAME,N");
  SQLFreeStmt(stmt, SQL_CLOSE);
  ASSERT_STMT_OK(SQLGetTypeInfo(stmt, SQL_ALL_TYPES), stmt);
  EXPECT_THAT(Header(stmt), ::testing::HasSubstr("TYPE_NAME,DATA_TYPE,PRECISION,"));
  EXPECT_THAT(Header(stmt), ::testing::HasSubstr(",MONEY,AUTO_INCREMENT,"));
}

}  // namespace
}  // namespace odbctest
