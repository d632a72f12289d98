// What the behaviour files cannot show of UNION, OFFSET/FETCH and NULLIF:
// integer markers in any clause, bound in the order they appear. (How a
// chain's result is described: function_types_test.cpp.)
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

TEST_F(OdbcTest, MarkersInEveryClauseKeepTheirOrder) {
  Exec("CREATE TABLE m (n int)");
  Exec("INSERT INTO m VALUES (1), (2), (3), (4), (5)");
  const struct {
    const char* sql;
    std::vector<SQLINTEGER> values;
    const char* rows;
  } cases[] = {
      // Through terms with TOP and through OFFSET/FETCH.
      {"SELECT TOP (?) n FROM m WHERE n > ? UNION SELECT n * 10 FROM m WHERE n * 10 < ? "
       "ORDER BY n OFFSET ? ROWS FETCH NEXT ? ROWS ONLY",
       {2, 3, 40, 1, 2}, "rows:5,10,"},
      // NULLIF names its first argument twice in SQLite's text: a marker
      // there is bound in both places.
      {"SELECT NULLIF(?, n) FROM m WHERE n < ? ORDER BY n", {2, 3}, "rows:2,NULL,"},
  };
  for (auto c : cases) {
    SCOPED_TRACE(c.sql);
    Statement stmt(dbc());
    for (size_t i = 0; i < c.values.size(); ++i) {
      ASSERT_STMT_OK(SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER,
                                      0, 0, &c.values[i], 0, nullptr),
                     stmt);
    }
    EXPECT_EQ(Results(stmt, c.sql), std::vector<std::string>{c.rows});
  }
}

}  // namespace
}  // namespace odbctest
