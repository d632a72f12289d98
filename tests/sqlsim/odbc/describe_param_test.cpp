// SQLDescribeParam: a marker compared with or assigned to a column is
// described as that column (as SQLDescribeCol describes it), one passed to
// a procedure as the parameter, one beside a literal by the literal, an
// untyped one as nvarchar(4000).
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

struct Described {
  SQLSMALLINT type = 0;
  SQLULEN size = 0;
  SQLSMALLINT digits = 0;
  SQLSMALLINT nullable = 0;
  bool operator==(const Described& o) const {
    return type == o.type && size == o.size && digits == o.digits && nullable == o.nullable;
  }
};

std::ostream& operator<<(std::ostream& os, const Described& d) {
  return os << "type " << d.type << " size " << d.size << " digits " << d.digits << " nullable " << d.nullable;
}

const char* const kColumns[] = {"c", "v", "i", "s", "t", "b", "f", "r", "d", "dt", "bi", "bin"};

class DescribeParamTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE D (c char(10) NOT NULL, v varchar(30), i int, s smallint, t tinyint, b bigint, f float,"
         " r real, d decimal(12,3), dt datetime NOT NULL, bi bit, bin varbinary(16))");
    Statement stmt(dbc());
    ASSERT_STMT_OK(Prepare(stmt, "SELECT c, v, i, s, t, b, f, r, d, dt, bi, bin FROM D"), stmt);
    for (SQLUSMALLINT n = 1; n <= 12; ++n) {
      Described d;
      SQLDescribeCol(stmt, n, nullptr, 0, nullptr, &d.type, &d.size, &d.digits, &d.nullable);
      columns_.push_back(d);
    }
  }

  std::vector<Described> Markers(const std::string& sql) {
    Statement stmt(dbc());
    EXPECT_STMT_OK(Prepare(stmt, sql), stmt);
    SQLSMALLINT count = 0;
    SQLNumParams(stmt, &count);
    std::vector<Described> out(static_cast<size_t>(count));
    for (SQLUSMALLINT n = 1; n <= count; ++n) {
      Described& d = out[n - 1u];
      EXPECT_STMT_OK(SQLDescribeParam(stmt, n, &d.type, &d.size, &d.digits, &d.nullable), stmt);
    }
    return out;
  }

  std::vector<Described> columns_;
};

TEST_F(DescribeParamTest, MarkersTakeTheirColumnsTypes) {
  std::string insert = "INSERT INTO D (c, v, i, s, t, b, f, r, d, dt, bi, bin) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
  EXPECT_EQ(Markers(insert), columns_);
  EXPECT_EQ(Markers("INSERT INTO D VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"), columns_);
  for (size_t i = 0; i < columns_.size(); ++i) {
    SCOPED_TRACE(kColumns[i]);
    std::vector<Described> expected = {columns_[i], columns_[i]};
    EXPECT_EQ(Markers(std::string("SELECT * FROM D x WHERE x.") + kColumns[i] + " = ? OR ? > " + kColumns[i]),
              expected);
    EXPECT_EQ(Markers(std::string("UPDATE D SET ") + kColumns[i] + " = ? WHERE " + kColumns[i] + " IN (?)"),
              expected);
  }
  EXPECT_EQ(columns_[0], (Described{SQL_CHAR, 10, 0, SQL_NO_NULLS}));
  EXPECT_EQ(columns_[2], (Described{SQL_INTEGER, 10, 0, SQL_NULLABLE}));
}

TEST_F(DescribeParamTest, ProcedureParametersStatusAndUntypedMarkers) {
  Exec("CREATE PROCEDURE P @a varchar(7), @b datetime OUTPUT AS RETURN 1");
  std::vector<Described> markers = Markers("EXEC ? = P ?, @b = ?");
  ASSERT_EQ(markers.size(), 3u);
  EXPECT_EQ(markers[0], (Described{SQL_INTEGER, 10, 0, SQL_NO_NULLS}));
  EXPECT_EQ(markers[1], (Described{SQL_VARCHAR, 7, 0, SQL_NULLABLE}));
  EXPECT_EQ(markers[2], columns_[9].type == SQL_TYPE_TIMESTAMP ? (Described{SQL_TYPE_TIMESTAMP, 23, 3, SQL_NULLABLE})
                                                                : Described{});
  EXPECT_EQ(Markers("SELECT ?"), (std::vector<Described>{{SQL_WVARCHAR, 4000, 0, SQL_NULLABLE}}));
  Statement stmt(dbc());
  Prepare(stmt, "SELECT ?");
  SQLSMALLINT type = 0;
  EXPECT_EQ(Failure(SQLDescribeParam(stmt, 2, &type, nullptr, nullptr, nullptr), stmt), "07009");
}

TEST_F(DescribeParamTest, RowCountsAreBigint) {
  const Described bigint{SQL_BIGINT, 19, 0, SQL_NULLABLE};
  EXPECT_EQ(Markers("SELECT i FROM D WHERE i = ? ORDER BY i OFFSET ? ROWS FETCH NEXT ? ROWS ONLY"),
            (std::vector<Described>{columns_[2], bigint, bigint}));
  EXPECT_EQ(Markers("SELECT TOP (?) i FROM D"), (std::vector<Described>{bigint}));
}

// A marker beside a literal: in arithmetic the type that needs no
// conversion, compared with = or <> the literal's own; one that INSERT ...
// SELECT puts into a column is that column.
TEST_F(DescribeParamTest, MarkersBesideLiteralsAndInsertedBySelect) {
  const Described integer{SQL_INTEGER, 10, 0, SQL_NULLABLE};
  const Described wide{SQL_WVARCHAR, 4000, 0, SQL_NULLABLE};
  Described nullable_float = columns_[6];
  nullable_float.nullable = SQL_NULLABLE;
  const struct {
    const char* sql;
    std::vector<Described> markers;
  } cases[] = {
      {"SELECT ? + 1", {integer}},
      {"SELECT 2 * ?, ? - 7", {integer, integer}},
      {"SELECT NULL + ?", {integer}},
      {"SELECT ? + 1.5", {{SQL_NUMERIC, 38, 19, SQL_NULLABLE}}},
      {"SELECT ? * 1.5E3", {nullable_float}},
      {"SELECT ? + 'abc'", {{SQL_VARCHAR, 8000, 0, SQL_NULLABLE}}},
      {"SELECT ? + N'abc'", {wide}},
      {"SELECT i FROM D WHERE ? = 'abc' OR 12.50 <> ?", {{SQL_VARCHAR, 3, 0, SQL_NULLABLE}, {SQL_NUMERIC, 4, 2, SQL_NULLABLE}}},
      {"INSERT INTO D (i) SELECT ?", {columns_[2]}},
      {"INSERT INTO D (c, i, dt) SELECT ?, ? + 1, ? FROM D", {columns_[0], integer, columns_[9]}},
      {"INSERT INTO D (v) SELECT ? UNION ALL SELECT ?", {columns_[1], columns_[1]}},
      {"SELECT i FROM D WHERE i + 1 = ? OR ? < s * t", {integer, {SQL_SMALLINT, 5, 0, SQL_NULLABLE}}},
      {"SELECT i FROM D WHERE ? = d + i OR d * 2.5 <> ?", {{SQL_DECIMAL, 14, 3, SQL_NULLABLE}, {SQL_DECIMAL, 15, 4, SQL_NULLABLE}}},
      // Past 38 digits the scale keeps 6 when it had them; 0.5 is numeric(1,1).
      {"SELECT i FROM D WHERE ? = d * 12345678901234567890123456.5 OR 0.5 * 0.5 = ?",
       {{SQL_DECIMAL, 38, 4, SQL_NULLABLE}, {SQL_NUMERIC, 3, 2, SQL_NULLABLE}}},
      {"SELECT i FROM D WHERE b - f = ? OR dt + 1 = ?", {nullable_float, {SQL_TYPE_TIMESTAMP, 23, 3, SQL_NULLABLE}}},
      {"SELECT i FROM D WHERE v + 'x' = ? OR i / 2 = ? OR dt * 2 = ?", {wide, wide, wide}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sql);
    EXPECT_EQ(Markers(c.sql), c.markers);
  }
}

}  // namespace
}  // namespace odbctest
