// Window functions, derived tables and CTEs described through the driver
// manager with the types the server gives them.
#include <gtest/gtest.h>

#include <string>

#include "odbc_support.h"

namespace odbctest {
namespace {

TEST_F(OdbcTest, WindowResultsAreDescribedWithTheServersTypes) {
  Exec("CREATE TABLE w (id int NOT NULL PRIMARY KEY, name char(6) NULL, amount int NULL)");
  Exec("INSERT INTO w VALUES (1, 'a', 5)");
  const struct {
    const char* query;
    SQLSMALLINT type;
    SQLULEN size;
    SQLSMALLINT digits = 0;
  } cases[] = {
      {"SELECT ROW_NUMBER() OVER (ORDER BY id) FROM w", SQL_BIGINT, 19},
      {"SELECT NTILE(3) OVER (ORDER BY id) FROM w", SQL_BIGINT, 19},
      {"SELECT COUNT(*) OVER () FROM w", SQL_INTEGER, 10},
      {"SELECT LAG(name) OVER (ORDER BY id) FROM w", SQL_CHAR, 6},
      {"SELECT x.rn FROM (SELECT DENSE_RANK() OVER (ORDER BY id) AS rn FROM w) x", SQL_BIGINT, 19},
      {"SELECT * FROM (SELECT RANK() OVER (ORDER BY id) AS rn, name FROM w) x", SQL_BIGINT, 19},
      {"WITH c AS (SELECT name FROM w) SELECT * FROM c", SQL_CHAR, 6},
      {"SELECT SUM(CAST(amount AS tinyint)) OVER () FROM w", SQL_INTEGER, 10},
      // Through *, a sum keeps its scale (its values were rounded to none).
      {"WITH c AS (SELECT SUM(CAST(amount AS decimal(9,2))) AS s FROM w) SELECT * FROM c", SQL_DECIMAL, 38, 2},
      {"SELECT x.* FROM (SELECT CAST(2.567 AS decimal(10,3)) AS d) x", SQL_DECIMAL, 10, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    Statement stmt(dbc());
    ASSERT_STMT_OK(SQLPrepare(stmt, Text(c.query), SQL_NTS), stmt);
    SQLSMALLINT type = 0;
    SQLULEN size = 0;
    SQLSMALLINT digits = -1;
    ASSERT_STMT_OK(SQLDescribeCol(stmt, 1, nullptr, 0, nullptr, &type, &size, &digits, nullptr), stmt);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(digits, c.digits);
  }
}

}  // namespace
}  // namespace odbctest
