// What the behaviour files cannot show of UNION, EXCEPT and INTERSECT, of
// OFFSET/FETCH and NULLIF: the result's description and markers in any clause.
#include <string>

#include <gtest/gtest.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

// Each column named by the first query, typed by the higher precedence, as
// large as its largest term.
TEST_F(OdbcTest, ChainDescribesItsColumnsFromAllTerms) {
  Exec("CREATE TABLE c (n int, s char(3), v varchar(8))");
  const struct {
    const char* query;
    const char* name;
    SQLSMALLINT type;
    SQLULEN size;
  } cases[] = {{"SELECT n AS first FROM c UNION SELECT 1.5E0", "first", SQL_FLOAT, 53},
               {"SELECT s FROM c EXCEPT SELECT v FROM c", "s", SQL_VARCHAR, 8},
               {"SELECT 'ab' AS t INTERSECT SELECT v AS other FROM c", "t", SQL_VARCHAR, 8},
               {"(SELECT n FROM c UNION SELECT 7) EXCEPT SELECT CAST(1 AS bigint)", "n", SQL_BIGINT, 19},
               {"SELECT CAST(1 AS smallint) AS k UNION ALL SELECT n FROM c ORDER BY k", "k", SQL_INTEGER, 10}};
  Statement stmt(dbc());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    Exec(stmt, c.query);
    SQLCHAR name[64] = {0};
    SQLSMALLINT type = 0;
    SQLULEN size = 0;
    ASSERT_STMT_OK(SQLDescribeCol(stmt, 1, name, sizeof name, nullptr, &type, &size, nullptr, nullptr), stmt);
    EXPECT_STREQ(reinterpret_cast<const char*>(name), c.name);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.size);
    SQLFreeStmt(stmt, SQL_CLOSE);
  }
}

// Markers keep their order through terms with TOP and through OFFSET/FETCH.
TEST_F(OdbcTest, MarkersInTopOffsetAndFetch) {
  Exec("CREATE TABLE m (n int)");
  Exec("INSERT INTO m VALUES (1), (2), (3), (4), (5)");
  Statement stmt(dbc());
  SQLINTEGER values[] = {2, 3, 40, 1, 2};
  for (SQLUSMALLINT i = 0; i < 5; ++i) {
    ASSERT_STMT_OK(SQLBindParameter(stmt, i + 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &values[i], 0, nullptr),
                   stmt);
  }
  EXPECT_EQ(Results(stmt, SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(
                "SELECT TOP (?) n FROM m WHERE n > ? UNION SELECT n * 10 FROM m WHERE n * 10 < ? "
                "ORDER BY n OFFSET ? ROWS FETCH NEXT ? ROWS ONLY")), SQL_NTS)),
            (std::vector<std::string>{"rows:5,10,"}));
}

// NULLIF names its first argument twice in SQLite's text: a marker there
// is bound in both places.
TEST_F(OdbcTest, NullIfOfMarkers) {
  Exec("CREATE TABLE z (n int)");
  Exec("INSERT INTO z VALUES (1), (2), (3)");
  Statement stmt(dbc());
  SQLINTEGER values[] = {2, 3};
  for (SQLUSMALLINT i = 0; i < 2; ++i) {
    ASSERT_STMT_OK(SQLBindParameter(stmt, i + 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, &values[i], 0, nullptr),
                   stmt);
  }
  EXPECT_EQ(Results(stmt, SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(
                "SELECT NULLIF(?, n) FROM z WHERE n < ? ORDER BY n")), SQL_NTS)),
            (std::vector<std::string>{"rows:2,NULL,"}));
}

}  // namespace
}  // namespace odbctest
