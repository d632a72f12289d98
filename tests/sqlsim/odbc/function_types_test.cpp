// The newer built-in functions are described to ODBC with the types the
// server gives them.
#include "odbc_support.h"

namespace odbctest {
namespace {

void ExpectFirstColumn(SQLHSTMT stmt, SQLSMALLINT want_type, SQLULEN want_size, SQLSMALLINT want_digits) {
  SQLSMALLINT type = 0, digits = -1;
  SQLULEN size = 0;
  ASSERT_STMT_OK(SQLDescribeCol(stmt, 1, nullptr, 0, nullptr, &type, &size, &digits, nullptr), stmt);
  EXPECT_EQ(type, want_type);
  EXPECT_EQ(size, want_size);
  EXPECT_EQ(digits, want_digits);
}

TEST_F(OdbcTest, FunctionResultsDescribedAsTheServerTypesThem) {
  const struct {
    const char* expression;
    SQLSMALLINT type;
    SQLULEN size;
    SQLSMALLINT digits;
  } cases[] = {
      {"DATEADD(day, 1, '2024-01-01')", SQL_TYPE_TIMESTAMP, 23, 3},
      {"EOMONTH('2024-01-01')", SQL_TYPE_TIMESTAMP, 23, 3},
      {"DATEDIFF(day, 0, 1)", SQL_INTEGER, 10, 0},
      {"DATEPART(year, 0)", SQL_INTEGER, 10, 0},
      {"YEAR(0)", SQL_INTEGER, 10, 0},
      {"DATENAME(month, 0)", SQL_VARCHAR, 30, 0},
      {"CONCAT('ab', 'cde')", SQL_VARCHAR, 5, 0},
      {"CONCAT('ab', 12)", SQL_VARCHAR, 13, 0},
      {"STUFF('abc', 1, 1, 'xy')", SQL_VARCHAR, 5, 0},
      {"PATINDEX('%b%', 'abc')", SQL_INTEGER, 10, 0},
      {"CHAR(65)", SQL_CHAR, 1, 0},
      {"ASCII('a')", SQL_INTEGER, 10, 0},
      {"IIF(1 = 1, 1, 2.5)", SQL_NUMERIC, 11, 1},
      {"IIF(1 = 1, 'a', 'bcd')", SQL_VARCHAR, 3, 0},
      {"IIF(1 = 1, '2024-01-01', CAST(0 AS datetime))", SQL_TYPE_TIMESTAMP, 23, 3},
      {"CHOOSE(2, 1, 2.5E0)", SQL_FLOAT, 53, 0},
      {"TRY_CAST('1' AS int)", SQL_INTEGER, 10, 0},
      {"TRY_CONVERT(varchar(5), 12)", SQL_VARCHAR, 5, 0},
      {"FORMAT(1, 'N2')", SQL_VARCHAR, 4000, 0},
  };
  Statement stmt(dbc());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expression);
    Exec(stmt, std::string("SELECT ") + c.expression);
    ExpectFirstColumn(stmt, c.type, c.size, c.digits);
    SQLFreeStmt(stmt, SQL_CLOSE);
  }
}

// Arithmetic takes the type of highest precedence among its operands, a
// decimal its precision and scale by the server's rules, its value rounded
// to that scale.
TEST_F(OdbcTest, ArithmeticTypedAsTheServerTypesIt) {
  Exec("CREATE TABLE Betrag (d decimal(10,3), i int, b bigint, g decimal(38,10))");
  Exec("INSERT INTO Betrag VALUES (10.55, 3, 3000000000, 1.5)");
  const struct {
    const char* expression;
    SQLSMALLINT type;
    SQLULEN size;
    SQLSMALLINT digits;
    const char* value;
  } cases[] = {
      {"d * 1.5", SQL_DECIMAL, 13, 4, "15.8250"},
      {"d + 1.5", SQL_DECIMAL, 11, 3, "12.050"},
      {"d - 0.001", SQL_DECIMAL, 11, 3, "10.549"},
      {"d * i", SQL_DECIMAL, 21, 3, "31.650"},
      {"d / 3", SQL_DECIMAL, 21, 14, "3.51666666666667"},
      {"i % 2.5", SQL_NUMERIC, 2, 1, "0.5"},
      {"1.5 * 1.5", SQL_NUMERIC, 5, 2, "2.25"},
      {"g * g", SQL_DECIMAL, 38, 6, "2.250000"},
      {"g + d + 1", SQL_DECIMAL, 38, 8, "13.05000000"},
      {"i + b", SQL_BIGINT, 19, 0, "3000000003"},
      {"i * 2", SQL_INTEGER, 10, 0, "6"},
      {"d * CAST(2 AS float)", SQL_FLOAT, 53, 0, "21.1"},
  };
  Statement stmt(dbc());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expression);
    Exec(stmt, std::string("SELECT ") + c.expression + " FROM Betrag");
    ExpectFirstColumn(stmt, c.type, c.size, c.digits);
    char text[64] = {};
    SQLLEN length = 0;
    ASSERT_STMT_OK(SQLFetch(stmt), stmt);
    ASSERT_STMT_OK(SQLGetData(stmt, 1, SQL_C_CHAR, text, sizeof text, &length), stmt);
    EXPECT_STREQ(text, c.value);
    SQLFreeStmt(stmt, SQL_CLOSE);
  }
}

}  // namespace
}  // namespace odbctest
