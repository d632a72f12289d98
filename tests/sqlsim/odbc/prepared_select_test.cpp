// One prepared SELECT executed again and again, as applications read single
// rows by key: every execute takes the parameter values, parameter and
// column bindings, statement attributes and catalog of its moment.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "odbc_support.h"

namespace odbctest {
namespace {

enum class Do {
  kParamLong,    // parameter 1 bound as SQL_C_LONG: number
  kParamChar,    // parameter 1 bound as SQL_C_CHAR: text
  kParamDouble,  // parameter 1 bound as SQL_C_DOUBLE: number
  kParamNull,    // parameter 1 NULL
  kColumnsChar,  // columns 1 to 4 bound as SQL_C_CHAR of number bytes
  kColumn2Long,  // column 2 bound again as SQL_C_LONG
  kUnbind,       // SQLFreeStmt(SQL_UNBIND)
  kAttr,         // statement attribute number set to text (a number)
  kOther,        // text runs on another connection
  kRun,          // execute, fetch to the end, close: text is the outcome
  kRunLast,      // the same, the first fetch being SQL_FETCH_LAST
  kRunGetData,   // execute, fetch one row, read column 1 in pieces of number bytes, close
};

struct Step {
  Do what;
  const char* text = "";
  SQLLEN number = 0;
};

struct Case {
  const char* name;
  const char* query;
  std::vector<Step> steps;
  SQLULEN cursor_type = SQL_CURSOR_FORWARD_ONLY;  // set before the prepare
};

const Case kCases[] = {
    {"new values each execute", "SELECT name, value FROM t WHERE id = ?",
     {{Do::kParamLong, "", 1}, {Do::kRun, "cols:2 count:-1 one,1.5;"},
      {Do::kParamLong, "", 2}, {Do::kRun, "cols:2 count:-1 two,2.5;"},
      {Do::kParamLong, "", 9}, {Do::kRun, "cols:2 count:-1 "}}},
    {"parameter types change", "SELECT name FROM t WHERE id = ?",
     {{Do::kParamChar, "2"}, {Do::kRun, "cols:1 count:-1 two;"},
      {Do::kParamDouble, "", 3}, {Do::kRun, "cols:1 count:-1 three hundred;"},
      {Do::kParamLong, "", 1}, {Do::kRun, "cols:1 count:-1 one;"},
      {Do::kParamChar, "x"}, {Do::kRun, "error:22018"},
      {Do::kParamChar, "1"}, {Do::kRun, "cols:1 count:-1 one;"}}},
    {"NULL parameter matches nothing", "SELECT name, value FROM t WHERE id = ?",
     {{Do::kParamNull}, {Do::kRun, "cols:2 count:-1 "},
      {Do::kParamLong, "", 4}, {Do::kRun, "cols:2 count:-1 NULL,NULL;"},
      {Do::kParamNull}, {Do::kRun, "cols:2 count:-1 "}}},
    {"a NULL parameter as the value", "SELECT ISNULL(CAST(? AS int), -1) FROM t WHERE id = 1",
     {{Do::kParamNull}, {Do::kRun, "cols:1 count:-1 -1;"},
      {Do::kParamLong, "", 7}, {Do::kRun, "cols:1 count:-1 7;"}}},
    {"column bound again narrower", "SELECT name, value FROM t WHERE id = ?",
     {{Do::kParamLong, "", 3}, {Do::kRun, "cols:2 count:-1 three hundred,3.5;"},
      {Do::kColumnsChar, "", 6}, {Do::kRun, "cols:2 count:-1 three/13,3.5[01004];"},
      {Do::kColumnsChar, "", 40}, {Do::kRun, "cols:2 count:-1 three hundred,3.5;"}}},
    {"column bound again as another type", "SELECT name, value FROM t WHERE id = ?",
     {{Do::kParamLong, "", 2}, {Do::kColumn2Long}, {Do::kRun, "cols:2 count:-1 two,#2[01S07];"},
      {Do::kColumnsChar, "", 40}, {Do::kRun, "cols:2 count:-1 two,2.5;"}}},
    {"table altered by another connection", "SELECT * FROM t WHERE id = ?",
     {{Do::kParamLong, "", 1}, {Do::kRun, "cols:3 count:-1 1,one,1.5;"},
      {Do::kOther, "ALTER TABLE t ADD extra varchar(5) NULL"},
      {Do::kOther, "UPDATE t SET extra = 'x' WHERE id = 1"},
      {Do::kRun, "cols:4 count:-1 1,one,1.5,x;"},
      {Do::kOther, "DROP TABLE t"},
      {Do::kRun, "error:42S02"},
      {Do::kOther, "CREATE TABLE t (id int, name varchar(9)) INSERT INTO t VALUES (1, 'anew')"},
      {Do::kRun, "cols:2 count:-1 1,anew;"}}},
    {"procedure altered by another connection", "EXEC pick ?",
     {{Do::kParamLong, "", 2}, {Do::kRun, "cols:1 count:-1 two;"},
      {Do::kOther, "ALTER PROCEDURE pick @id int AS SELECT value FROM t WHERE id = @id"},
      {Do::kRun, "cols:1 count:-1 2.5;"}}},
    {"a marker left unbound", "SELECT name FROM t WHERE id = ? OR id = ?",
     {{Do::kParamLong, "", 1}, {Do::kRun, "error:07002"}}},
    {"attributes set between executes", "SELECT name FROM t WHERE id <= ? ORDER BY id",
     {{Do::kParamLong, "", 3}, {Do::kRun, "cols:1 count:-1 one;two;three hundred;"},
      {Do::kRunLast, "fetch error:HY106"},
      {Do::kAttr, "2", SQL_ATTR_MAX_ROWS},
      {Do::kRun, "cols:1 count:-1 one;two;"},
      {Do::kAttr, "0", SQL_ATTR_MAX_ROWS},
      {Do::kAttr, "0", SQL_ATTR_RETRIEVE_DATA},  // SQL_RD_OFF
      {Do::kParamLong, "", 1},
      {Do::kRun, "cols:1 count:-1 -;"}}},
    {"columns unbound and bound again", "SELECT name, value FROM t WHERE id = ?",
     {{Do::kParamLong, "", 2}, {Do::kUnbind}, {Do::kRun, "cols:2 count:-1 -;"},
      {Do::kColumnsChar, "", 40}, {Do::kRun, "cols:2 count:-1 two,2.5;"}}},
    {"pieces read again from the start", "SELECT name FROM t WHERE id = ?",
     {{Do::kUnbind}, {Do::kParamLong, "", 3}, {Do::kRunGetData, "thr|ee |hun|dre|d|", 4},
      {Do::kRunGetData, "three| hund|red|", 6},
      {Do::kParamLong, "", 1}, {Do::kRunGetData, "one|", 6},
      {Do::kColumnsChar, "", 40}, {Do::kRun, "cols:1 count:-1 one;"}}},
    {"a static cursor executed again", "SELECT name FROM t WHERE id <= ? ORDER BY id",
     {{Do::kParamLong, "", 3}, {Do::kRunLast, "cols:1 count:-1 three hundred;"},
      {Do::kParamLong, "", 2}, {Do::kRunLast, "cols:1 count:-1 two;"},
      {Do::kRun, "cols:1 count:-1 one;two;"}},
     SQL_CURSOR_STATIC},
};

class PreparedSelectTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Connect(other_);
  }

  // The table and procedure every case starts from.
  void Reset() {
    Exec("IF OBJECT_ID('pick') IS NOT NULL DROP PROCEDURE pick "
         "IF OBJECT_ID('t') IS NOT NULL DROP TABLE t "
         "CREATE TABLE t (id int PRIMARY KEY, name varchar(20) NULL, value float NULL) "
         "INSERT INTO t VALUES (1, 'one', 1.5), (2, 'two', 2.5), (3, 'three hundred', 3.5), (4, NULL, NULL)");
    Exec("CREATE PROCEDURE pick @id int AS SELECT name FROM t WHERE id = @id");
  }

  void BindParam(SQLHSTMT stmt, SQLSMALLINT c_type, SQLSMALLINT sql_type, SQLLEN indicator) {
    param_indicator_ = indicator;
    ASSERT_STMT_OK(SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, c_type, sql_type, 20, 0, param_, sizeof param_,
                                    &param_indicator_),
                   stmt);
  }

  void BindColumns(SQLHSTMT stmt, SQLLEN width) {
    for (SQLUSMALLINT i = 1; i <= kColumns; ++i) {
      ASSERT_STMT_OK(SQLBindCol(stmt, i, SQL_C_CHAR, columns_[i - 1], width, &indicators_[i - 1]), stmt);
      types_[i - 1] = SQL_C_CHAR;
    }
  }

  void Apply(SQLHSTMT stmt, const Step& step) {
    switch (step.what) {
      case Do::kParamLong: {
        auto v = static_cast<SQLINTEGER>(step.number);
        std::memcpy(param_, &v, sizeof v);
        return BindParam(stmt, SQL_C_LONG, SQL_INTEGER, 0);
      }
      case Do::kParamChar:
        std::snprintf(param_, sizeof param_, "%s", step.text);
        return BindParam(stmt, SQL_C_CHAR, SQL_INTEGER, SQL_NTS);
      case Do::kParamDouble: {
        auto v = static_cast<SQLDOUBLE>(step.number);
        std::memcpy(param_, &v, sizeof v);
        return BindParam(stmt, SQL_C_DOUBLE, SQL_DOUBLE, 0);
      }
      case Do::kParamNull:
        return BindParam(stmt, SQL_C_LONG, SQL_INTEGER, SQL_NULL_DATA);
      case Do::kColumnsChar:
        return BindColumns(stmt, step.number);
      case Do::kColumn2Long:
        types_[1] = SQL_C_LONG;
        ASSERT_STMT_OK(SQLBindCol(stmt, 2, SQL_C_LONG, columns_[1], sizeof(SQLINTEGER), &indicators_[1]), stmt);
        return;
      case Do::kUnbind:
        ASSERT_STMT_OK(SQLFreeStmt(stmt, SQL_UNBIND), stmt);
        return;
      case Do::kAttr:
        ASSERT_STMT_OK(SQLSetStmtAttr(stmt, static_cast<SQLINTEGER>(step.number), Value(std::stoul(step.text)), 0),
                       stmt);
        return;
      case Do::kOther: {
        Statement other(other_.dbc());
        return Exec(other, step.text);
      }
      case Do::kRun: case Do::kRunLast:
        EXPECT_EQ(Outcome(stmt, step.what == Do::kRunLast ? SQL_FETCH_LAST : SQL_FETCH_NEXT), step.text);
        return;
      case Do::kRunGetData:
        EXPECT_EQ(Pieces(stmt, step.number), step.text);
        return;
    }
  }

  // Column 1 of the first row as SQLGetData gives it in pieces of `size`
  // bytes (terminator included), each followed by "|".
  std::string Pieces(SQLHSTMT stmt, SQLLEN size) {
    SQLRETURN rc = SQLExecute(stmt);
    if (rc == SQL_ERROR) return "error:" + FirstState(SQL_HANDLE_STMT, stmt);
    std::string out;
    rc = SQLFetch(stmt);
    char piece[40] = {};
    SQLLEN indicator = 0;
    while (rc != SQL_NO_DATA && rc != SQL_ERROR) {
      rc = SQLGetData(stmt, 1, SQL_C_CHAR, piece, size, &indicator);
      if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO) out += std::string(piece) + "|";
      if (rc == SQL_SUCCESS) rc = SQL_NO_DATA;
    }
    if (rc == SQL_ERROR) out += "error:" + FirstState(SQL_HANDLE_STMT, stmt);
    EXPECT_STMT_OK(SQLFreeStmt(stmt, SQL_CLOSE), stmt);
    return out;
  }

  // "cols:n count:c " and each row as its bound columns show it: the text,
  // "/length" when that differs from the text's, "#n" for SQL_C_LONG,
  // "-" for a row fetched with SQL_RD_OFF, "[state]" after a row fetched
  // with a warning.
  std::string Outcome(SQLHSTMT stmt, SQLSMALLINT first_fetch) {
    std::memset(columns_, 0, sizeof columns_);
    SQLRETURN rc = SQLExecute(stmt);
    if (rc == SQL_ERROR) return "error:" + FirstState(SQL_HANDLE_STMT, stmt);
    SQLSMALLINT count = 0;
    SQLLEN row_count = 0;
    SQLNumResultCols(stmt, &count);
    SQLRowCount(stmt, &row_count);
    std::string out = "cols:" + std::to_string(count) + " count:" + std::to_string(row_count) + " ";
    SQLSMALLINT orientation = first_fetch;
    for (;;) {
      std::memset(columns_, 0, sizeof columns_);
      for (SQLLEN& indicator : indicators_) indicator = -7;
      rc = SQLFetchScroll(stmt, orientation, 0);
      orientation = SQL_FETCH_NEXT;
      if (rc == SQL_NO_DATA) break;
      if (rc == SQL_ERROR) {
        out = "fetch error:" + FirstState(SQL_HANDLE_STMT, stmt);
        break;
      }
      out += Row(count);
      if (rc == SQL_SUCCESS_WITH_INFO) out += "[" + FirstState(SQL_HANDLE_STMT, stmt) + "]";
      out += ";";
      if (first_fetch == SQL_FETCH_LAST) break;
    }
    EXPECT_STMT_OK(SQLFreeStmt(stmt, SQL_CLOSE), stmt);
    return out;
  }

  std::string Row(SQLSMALLINT count) {
    if (indicators_[0] == -7) return "-";
    std::string row;
    for (SQLSMALLINT i = 0; i < count && i < kColumns; ++i) {
      if (i > 0) row += ",";
      if (indicators_[i] == SQL_NULL_DATA) {
        row += "NULL";
      } else if (types_[i] == SQL_C_LONG) {
        SQLINTEGER v;
        std::memcpy(&v, columns_[i], sizeof v);
        row += "#" + std::to_string(v);
      } else {
        std::string text = columns_[i];
        row += text;
        if (indicators_[i] != static_cast<SQLLEN>(text.size())) row += "/" + std::to_string(indicators_[i]);
      }
    }
    return row;
  }

  static constexpr SQLUSMALLINT kColumns = 4;
  Connection other_;
  char param_[32] = {};
  SQLLEN param_indicator_ = 0;
  char columns_[kColumns][40] = {};
  SQLLEN indicators_[kColumns] = {};
  SQLSMALLINT types_[kColumns] = {};
};

TEST_F(PreparedSelectTest, EachExecuteTakesWhatHoldsAtItsMoment) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Reset();
    Statement stmt(dbc());
    ASSERT_STMT_OK(SetAttr(stmt, SQL_ATTR_CURSOR_TYPE, c.cursor_type), stmt);
    ASSERT_STMT_OK(Prepare(stmt, c.query), stmt);
    BindColumns(stmt, 40);
    for (const Step& step : c.steps) Apply(stmt, step);
  }
}

}  // namespace
}  // namespace odbctest
