// Result columns described to ODBC with the types the server gives them:
// built-in functions, arithmetic, decimal expressions, identity values,
// window functions, derived tables, CTEs and UNION/EXCEPT/INTERSECT chains.
// Each query is described once prepared and again run directly, and where a
// value is given, its first row is read as text.
#include "odbc_support.h"

namespace odbctest {
namespace {

const char* const kTables[] = {
    "CREATE TABLE Betrag (d decimal(10,3), i int, b bigint, g decimal(38,10))",
    "INSERT INTO Betrag VALUES (10.55, 3, 3000000000, 1.5)",
    "CREATE TABLE p (id int NOT NULL, price decimal(10,2) NULL)",
    "INSERT INTO p VALUES (1, 12.34)",
    "CREATE TABLE w (id int NOT NULL PRIMARY KEY, name char(6) NULL, amount int NULL)",
    "INSERT INTO w VALUES (1, 'a', 5)",
    "CREATE TABLE c (n int, s char(3), v varchar(8))",
    "CREATE TABLE idt (Id int IDENTITY(1,1) PRIMARY KEY)"};

TEST_F(OdbcTest, ResultsDescribedAsTheServerTypesThem) {
  const struct {
    const char* query;
    SQLSMALLINT type;
    SQLULEN size;
    SQLSMALLINT digits;
    const char* value = nullptr;  // column 1 of the first row, when given
    const char* name = nullptr;   // the column's name, when given
  } cases[] = {
      // Newer built-in functions.
      {"SELECT DATEADD(day, 1, '2024-01-01')", SQL_TYPE_TIMESTAMP, 23, 3},
      {"SELECT EOMONTH('2024-01-01')", SQL_TYPE_TIMESTAMP, 23, 3},
      {"SELECT DATEDIFF(day, 0, 1)", SQL_INTEGER, 10, 0},
      {"SELECT DATEPART(year, 0)", SQL_INTEGER, 10, 0},
      {"SELECT YEAR(0)", SQL_INTEGER, 10, 0},
      {"SELECT DATENAME(month, 0)", SQL_VARCHAR, 30, 0},
      {"SELECT CONCAT('ab', 'cde')", SQL_VARCHAR, 5, 0},
      {"SELECT CONCAT('ab', 12)", SQL_VARCHAR, 13, 0},
      {"SELECT STUFF('abc', 1, 1, 'xy')", SQL_VARCHAR, 5, 0},
      {"SELECT PATINDEX('%b%', 'abc')", SQL_INTEGER, 10, 0},
      {"SELECT CHAR(65)", SQL_CHAR, 1, 0},
      {"SELECT ASCII('a')", SQL_INTEGER, 10, 0},
      {"SELECT IIF(1 = 1, 1, 2.5)", SQL_NUMERIC, 11, 1},
      {"SELECT IIF(1 = 1, 'a', 'bcd')", SQL_VARCHAR, 3, 0},
      {"SELECT IIF(1 = 1, '2024-01-01', CAST(0 AS datetime))", SQL_TYPE_TIMESTAMP, 23, 3},
      {"SELECT CHOOSE(2, 1, 2.5E0)", SQL_FLOAT, 53, 0},
      {"SELECT TRY_CAST('1' AS int)", SQL_INTEGER, 10, 0},
      {"SELECT TRY_CONVERT(varchar(5), 12)", SQL_VARCHAR, 5, 0},
      {"SELECT FORMAT(1, 'N2')", SQL_VARCHAR, 4000, 0},
      // Arithmetic takes the type of highest precedence among its operands,
      // a decimal its precision and scale by the server's rules, its value
      // rounded to that scale.
      {"SELECT d * 1.5 FROM Betrag", SQL_DECIMAL, 13, 4, "15.8250"},
      {"SELECT d + 1.5 FROM Betrag", SQL_DECIMAL, 11, 3, "12.050"},
      {"SELECT d - 0.001 FROM Betrag", SQL_DECIMAL, 11, 3, "10.549"},
      {"SELECT d * i FROM Betrag", SQL_DECIMAL, 21, 3, "31.650"},
      {"SELECT d / 3 FROM Betrag", SQL_DECIMAL, 21, 14, "3.51666666666667"},
      {"SELECT i % 2.5 FROM Betrag", SQL_NUMERIC, 2, 1, "0.5"},
      {"SELECT 1.5 * 1.5 FROM Betrag", SQL_NUMERIC, 5, 2, "2.25"},
      {"SELECT g * g FROM Betrag", SQL_DECIMAL, 38, 6, "2.250000"},
      {"SELECT g + d + 1 FROM Betrag", SQL_DECIMAL, 38, 8, "13.05000000"},
      {"SELECT i + b FROM Betrag", SQL_BIGINT, 19, 0, "3000000003"},
      {"SELECT i * 2 FROM Betrag", SQL_INTEGER, 10, 0, "6"},
      {"SELECT d * CAST(2 AS float) FROM Betrag", SQL_FLOAT, 53, 0, "21.1"},
      // Decimal expressions keep the precision and scale the server gives
      // them, so that a client reading them as text gets every digit.
      {"SELECT 1.25 FROM p GROUP BY id, price", SQL_NUMERIC, 3, 2, "1.25"},
      {"SELECT -0.5 FROM p GROUP BY id, price", SQL_NUMERIC, 1, 1, "-0.5"},
      {"SELECT CAST(1.255 AS decimal(5,2)) FROM p GROUP BY id, price", SQL_DECIMAL, 5, 2, "1.26"},
      {"SELECT CONVERT(decimal(10,4), '3.14159') FROM p GROUP BY id, price", SQL_DECIMAL, 10, 4, "3.1416"},
      {"SELECT SUM(price) FROM p GROUP BY id, price", SQL_DECIMAL, 38, 2, "12.34"},
      {"SELECT AVG(price) FROM p GROUP BY id, price", SQL_DECIMAL, 38, 6, "12.340000"},
      {"SELECT MAX(price) FROM p GROUP BY id, price", SQL_DECIMAL, 10, 2, "12.34"},
      {"SELECT ISNULL(price, 1.239) FROM p GROUP BY id, price", SQL_DECIMAL, 10, 2, "12.34"},
      {"SELECT CASE WHEN id = 1 THEN price END FROM p GROUP BY id, price", SQL_DECIMAL, 10, 2, "12.34"},
      {"SELECT CASE WHEN id = 2 THEN 1.5 ELSE 123.25 END FROM p GROUP BY id, price", SQL_NUMERIC, 5, 2, "123.25"},
      {"SELECT 1.5 FROM p UNION ALL SELECT 123.25 FROM p GROUP BY id, price", SQL_NUMERIC, 5, 2, "1.50"},
      {"SELECT ROUND(price, 1) FROM p GROUP BY id, price", SQL_DECIMAL, 10, 2, "12.30"},
      // Identity values are numeric(38,0).
      {"SELECT SCOPE_IDENTITY()", SQL_NUMERIC, 38, 0},
      {"SELECT @@IDENTITY", SQL_NUMERIC, 38, 0},
      {"SELECT IDENT_CURRENT('idt')", SQL_NUMERIC, 38, 0},
      // Window functions, derived tables and CTEs.
      {"SELECT ROW_NUMBER() OVER (ORDER BY id) FROM w", SQL_BIGINT, 19, 0},
      {"SELECT NTILE(3) OVER (ORDER BY id) FROM w", SQL_BIGINT, 19, 0},
      {"SELECT COUNT(*) OVER () FROM w", SQL_INTEGER, 10, 0},
      {"SELECT LAG(name) OVER (ORDER BY id) FROM w", SQL_CHAR, 6, 0},
      {"SELECT x.rn FROM (SELECT DENSE_RANK() OVER (ORDER BY id) AS rn FROM w) x", SQL_BIGINT, 19, 0},
      {"SELECT * FROM (SELECT RANK() OVER (ORDER BY id) AS rn, name FROM w) x", SQL_BIGINT, 19, 0},
      {"WITH c AS (SELECT name FROM w) SELECT * FROM c", SQL_CHAR, 6, 0},
      {"SELECT SUM(CAST(amount AS tinyint)) OVER () FROM w", SQL_INTEGER, 10, 0},
      // Through *, a sum keeps its scale (its values were rounded to none).
      {"WITH c AS (SELECT SUM(CAST(amount AS decimal(9,2))) AS s FROM w) SELECT * FROM c", SQL_DECIMAL, 38, 2},
      {"SELECT x.* FROM (SELECT CAST(2.567 AS decimal(10,3)) AS d) x", SQL_DECIMAL, 10, 3},
      // A chain's column is named by the first query, typed by the higher
      // precedence, as large as its largest term.
      {"SELECT n AS first FROM c UNION SELECT 1.5E0", SQL_FLOAT, 53, 0, nullptr, "first"},
      {"SELECT s FROM c EXCEPT SELECT v FROM c", SQL_VARCHAR, 8, 0, nullptr, "s"},
      {"SELECT 'ab' AS t INTERSECT SELECT v AS other FROM c", SQL_VARCHAR, 8, 0, nullptr, "t"},
      {"(SELECT n FROM c UNION SELECT 7) EXCEPT SELECT CAST(1 AS bigint)", SQL_BIGINT, 19, 0, nullptr, "n"},
      {"SELECT CAST(1 AS smallint) AS k UNION ALL SELECT n FROM c ORDER BY k", SQL_INTEGER, 10, 0, nullptr, "k"},
  };
  for (const char* sql : kTables) Exec(sql);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    Statement stmt(dbc());
    ASSERT_STMT_OK(Prepare(stmt, c.query), stmt);
    for (const char* when : {"prepared", "run"}) {
      SCOPED_TRACE(when);
      SQLCHAR name[64] = {0};
      SQLSMALLINT type = 0, digits = -1;
      SQLULEN size = 0;
      ASSERT_STMT_OK(SQLDescribeCol(stmt, 1, name, sizeof name, nullptr, &type, &size, &digits, nullptr), stmt);
      EXPECT_EQ(type, c.type);
      EXPECT_EQ(size, c.size);
      EXPECT_EQ(digits, c.digits);
      if (c.name) {
        EXPECT_STREQ(reinterpret_cast<char*>(name), c.name);
      }
      if (*when == 'p') {
        ASSERT_STMT_OK(ExecDirect(stmt, c.query), stmt);
      }
    }
    if (!c.value) continue;
    char text[64] = {0};
    ASSERT_STMT_OK(SQLFetch(stmt), stmt);
    ASSERT_STMT_OK(SQLGetData(stmt, 1, SQL_C_CHAR, text, sizeof text, nullptr), stmt);
    EXPECT_STREQ(text, c.value);
  }
}

}  // namespace
}  // namespace odbctest
