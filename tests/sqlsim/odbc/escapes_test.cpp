// ODBC escape sequences through the driver manager: statements that use
// them, SQL_NOSCAN, SQLNativeSql and what SQLGetInfo offers.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;
using Strings = std::vector<std::string>;

constexpr SQLUINTEGER kTexts = SQL_CVT_CHAR | SQL_CVT_VARCHAR;

bool ReturnsOneRow(const Strings& results) {
  return results.size() == 1 && results[0].rfind("rows:", 0) == 0 && results[0].find(',') == results[0].size() - 1;
}

class EscapeTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE T (Id int NOT NULL PRIMARY KEY, Name varchar(20) NULL, Born datetime NULL)");
    Exec("INSERT INTO T VALUES (1, 'anna', '1990-05-17'), (2, 'b_rt', '1985-01-02 08:30:00'), (3, 'bert', NULL)");
    Exec("CREATE TABLE U (Id int NOT NULL, Note varchar(10) NULL)");
    Exec("INSERT INTO U VALUES (1, 'x'), (4, 'y')");
    Exec("CREATE PROCEDURE ListFrom @from int, @to int = 99 AS\n"
         "  SELECT Id FROM T WHERE Id >= @from AND Id <= @to ORDER BY Id");
  }

  SQLUINTEGER InfoMask(SQLUSMALLINT type) {
    SQLUINTEGER mask = 0;
    EXPECT_ODBC_OK(SQLGetInfo(dbc(), type, &mask, sizeof mask, nullptr), SQL_HANDLE_DBC, dbc());
    return mask;
  }
};

TEST_F(EscapeTest, StatementsRunWithTheirEscapesTranslated) {
  const struct {
    const char* sql;
    Strings results;
  } cases[] = {
      {"SELECT {fn UCASE(Name)} FROM T WHERE Id = 1", {"rows:ANNA,"}},
      {"SELECT Id FROM T WHERE Born = {d '1990-05-17'}", {"rows:1,"}},
      {"SELECT Id FROM T WHERE Born = {ts '1985-01-02 08:30:00.000'}", {"rows:2,"}},
      {"SELECT Id FROM T WHERE Id = 1 AND CONVERT(char(19), {t '08:30:00'}, 120) ="
       " CONVERT(char(10), GETDATE(), 120) + ' 08:30:00'",
       {"rows:1,"}},
      {"SELECT T.Id FROM {oj T LEFT OUTER JOIN U ON T.Id = U.Id} WHERE U.Note IS NULL ORDER BY T.Id",
       {"rows:2,3,"}},
      {"SELECT U.Id FROM {oj T RIGHT OUTER JOIN U ON T.Id = U.Id} WHERE T.Id IS NULL", {"rows:4,"}},
      {"SELECT count(*) FROM {oj T FULL OUTER JOIN U ON T.Id = U.Id}", {"rows:4,"}},
      {"SELECT Id FROM T WHERE Name LIKE 'b!_%' {escape '!'}", {"rows:2,"}},
      {"{call ListFrom(2)}", {"rows:2,3,"}},
      {"{CALL ListFrom(1, 2)}", {"rows:1,2,"}},
      {"{call ListFrom(2, )}", {"rows:2,3,"}},
      {"SELECT {fn IFNULL(Born, {d '2000-01-01'})} FROM T WHERE Id = 3", {"rows:2000-01-01 00:00:00.000,"}},
      {"SELECT {x}", {"error:42000/102"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Run(c.sql), c.results) << c.sql;
}

TEST_F(EscapeTest, PreparedStatementsAreTranslatedToo) {
  Statement stmt(dbc());
  ASSERT_STMT_OK(Prepare(stmt, "SELECT {fn LCASE('AbC')}"), stmt);
  EXPECT_THAT(Results(stmt, SQLExecute(stmt)), ElementsAre("rows:abc,"));
  // A malformed escape fails as the engine's syntax errors do: the
  // statement prepared before is gone.
  EXPECT_EQ(Prepare(stmt, "SELECT {fn LCASE('a')"), SQL_ERROR);
  EXPECT_THAT(Diags(SQL_HANDLE_STMT, stmt), ::testing::SizeIs(1));
  EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), "42000");
  EXPECT_EQ(Failure(SQLExecute(stmt), stmt), "HY010");
}

// SQL_NOSCAN_ON sends the text as written, so the engine sees the braces;
// a connection's setting is the default of its new statements.
TEST_F(EscapeTest, NoScanSendsTheTextAsWritten) {
  const std::string sql = "SELECT {fn UCASE('a')}";
  {
    Statement stmt(dbc());
    ASSERT_STMT_OK(SetAttr(stmt, SQL_ATTR_NOSCAN, SQL_NOSCAN_ON), stmt);
    EXPECT_THAT(Results(stmt, sql), ElementsAre("error:42000/102"));
    ASSERT_STMT_OK(SetAttr(stmt, SQL_ATTR_NOSCAN, SQL_NOSCAN_OFF), stmt);
    EXPECT_THAT(Results(stmt, sql), ElementsAre("rows:A,"));
  }
  ASSERT_ODBC_OK(SQLSetConnectAttr(dbc(), SQL_ATTR_NOSCAN, Value(SQL_NOSCAN_ON), 0), SQL_HANDLE_DBC, dbc());
  Statement stmt(dbc());
  SQLULEN noscan = 0;
  ASSERT_STMT_OK(SQLGetStmtAttr(stmt, SQL_ATTR_NOSCAN, &noscan, 0, nullptr), stmt);
  EXPECT_EQ(noscan, static_cast<SQLULEN>(SQL_NOSCAN_ON));
  EXPECT_EQ(Prepare(stmt, sql), SQL_ERROR);
}

TEST_F(EscapeTest, NativeSqlReturnsTheTranslation) {
  const std::string sql = "SELECT {fn UCASE(Name)} FROM T";
  const std::string native = "SELECT UPPER(Name) FROM T";
  SQLCHAR out[64];
  SQLINTEGER length = 0;
  ASSERT_ODBC_OK(SQLNativeSql(dbc(), Text(sql), SQL_NTS, out, sizeof out, &length), SQL_HANDLE_DBC, dbc());
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), native);
  EXPECT_EQ(length, static_cast<SQLINTEGER>(native.size()));
  // Cut to the buffer with its terminating zero; the length of the whole.
  EXPECT_EQ(SQLNativeSql(dbc(), Text(sql), SQL_NTS, out, 10, &length), SQL_SUCCESS_WITH_INFO);
  EXPECT_EQ(FirstState(SQL_HANDLE_DBC, dbc()), "01004");
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out)), native.substr(0, 9));
  EXPECT_EQ(length, static_cast<SQLINTEGER>(native.size()));
  EXPECT_EQ(SQLNativeSql(dbc(), Text(sql), 17, out, sizeof out, &length), SQL_ERROR);  // cut inside the escape
  EXPECT_EQ(FirstState(SQL_HANDLE_DBC, dbc()), "42000");
}

// Every function and conversion SQLGetInfo offers runs; the table names a
// call for each bit, so a bit offered without a call here fails too.
TEST_F(EscapeTest, EveryAdvertisedFunctionRuns) {
  const struct {
    SQLUSMALLINT type;
    SQLUINTEGER bit;
    const char* call;
  } calls[] = {
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_CONCAT, "{fn CONCAT('a', 'b')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_LCASE, "{fn LCASE('A')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_UCASE, "{fn UCASE('a')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_LEFT, "{fn LEFT('abc', 2)}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_RIGHT, "{fn RIGHT('abc', 2)}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_LENGTH, "{fn LENGTH('abc')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_CHAR_LENGTH, "{fn CHAR_LENGTH('abc')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_CHARACTER_LENGTH, "{fn CHARACTER_LENGTH('abc')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_OCTET_LENGTH, "{fn OCTET_LENGTH('abc')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_BIT_LENGTH, "{fn BIT_LENGTH('abc')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_LOCATE, "{fn LOCATE('b', 'abc')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_LOCATE_2, "{fn LOCATE('b', 'abcb', 3)}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_LTRIM, "{fn LTRIM('  a')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_RTRIM, "{fn RTRIM('a  ')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_REPEAT, "{fn REPEAT('ab', 2)}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_REPLACE, "{fn REPLACE('abc', 'b', 'x')}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_SPACE, "{fn SPACE(2)}"},
      {SQL_STRING_FUNCTIONS, SQL_FN_STR_SUBSTRING, "{fn SUBSTRING('abc', 2, 1)}"},
      {SQL_NUMERIC_FUNCTIONS, SQL_FN_NUM_ABS, "{fn ABS(-1)}"},
      {SQL_NUMERIC_FUNCTIONS, SQL_FN_NUM_CEILING, "{fn CEILING(1.5)}"},
      {SQL_NUMERIC_FUNCTIONS, SQL_FN_NUM_FLOOR, "{fn FLOOR(1.5)}"},
      {SQL_NUMERIC_FUNCTIONS, SQL_FN_NUM_ROUND, "{fn ROUND(1.55, 1)}"},
      {SQL_NUMERIC_FUNCTIONS, SQL_FN_NUM_TRUNCATE, "{fn TRUNCATE(1.55, 1)}"},
      {SQL_NUMERIC_FUNCTIONS, SQL_FN_NUM_MOD, "{fn MOD(7, 3)}"},
      {SQL_TIMEDATE_FUNCTIONS, SQL_FN_TD_NOW, "{fn NOW()}"},
      {SQL_TIMEDATE_FUNCTIONS, SQL_FN_TD_CURRENT_TIMESTAMP, "{fn CURRENT_TIMESTAMP()}"},
      {SQL_TIMEDATE_FUNCTIONS, SQL_FN_TD_CURTIME, "{fn CURTIME()}"},
      {SQL_TIMEDATE_FUNCTIONS, SQL_FN_TD_CURRENT_TIME, "{fn CURRENT_TIME()}"},
      {SQL_TIMEDATE_FUNCTIONS, SQL_FN_TD_CURDATE, "{fn CURDATE()}"},
      {SQL_TIMEDATE_FUNCTIONS, SQL_FN_TD_CURRENT_DATE, "{fn CURRENT_DATE()}"},
      {SQL_SYSTEM_FUNCTIONS, SQL_FN_SYS_IFNULL, "{fn IFNULL(NULL, 1)}"},
  };
  std::map<SQLUSMALLINT, SQLUINTEGER> unchecked;
  for (SQLUSMALLINT type :
       {SQL_STRING_FUNCTIONS, SQL_NUMERIC_FUNCTIONS, SQL_TIMEDATE_FUNCTIONS, SQL_SYSTEM_FUNCTIONS}) {
    unchecked[type] = InfoMask(type);
  }
  for (const auto& c : calls) {
    if (!(unchecked[c.type] & c.bit)) continue;
    unchecked[c.type] &= ~c.bit;
    EXPECT_TRUE(ReturnsOneRow(Run(std::string("SELECT ") + c.call))) << c.call;
  }
  for (const auto& [type, mask] : unchecked) EXPECT_EQ(mask, 0u) << "info type " << type;
}

TEST_F(EscapeTest, EveryAdvertisedConversionRuns) {
  const struct {
    SQLUSMALLINT type;
    SQLUINTEGER bit;
    const char* name;
    const char* value;
  } types[] = {
      {SQL_CONVERT_BIGINT, SQL_CVT_BIGINT, "SQL_BIGINT", "CONVERT(bigint, 1)"},
      {SQL_CONVERT_BIT, SQL_CVT_BIT, "SQL_BIT", "CONVERT(bit, 1)"},
      {SQL_CONVERT_CHAR, SQL_CVT_CHAR, "SQL_CHAR", "CONVERT(char(19), '2001-02-03 04:05:06')"},
      {SQL_CONVERT_DECIMAL, SQL_CVT_DECIMAL, "SQL_DECIMAL", "CONVERT(decimal(5, 2), 1)"},
      {SQL_CONVERT_DOUBLE, SQL_CVT_DOUBLE, "SQL_DOUBLE", "CONVERT(float, 1)"},
      {SQL_CONVERT_FLOAT, SQL_CVT_FLOAT, "SQL_FLOAT", "CONVERT(float, 1)"},
      {SQL_CONVERT_INTEGER, SQL_CVT_INTEGER, "SQL_INTEGER", "CONVERT(int, 1)"},
      {SQL_CONVERT_NUMERIC, SQL_CVT_NUMERIC, "SQL_NUMERIC", "CONVERT(numeric(5, 2), 1)"},
      {SQL_CONVERT_REAL, SQL_CVT_REAL, "SQL_REAL", "CONVERT(real, 1)"},
      {SQL_CONVERT_SMALLINT, SQL_CVT_SMALLINT, "SQL_SMALLINT", "CONVERT(smallint, 1)"},
      {SQL_CONVERT_TINYINT, SQL_CVT_TINYINT, "SQL_TINYINT", "CONVERT(tinyint, 1)"},
      {SQL_CONVERT_VARCHAR, SQL_CVT_VARCHAR, "SQL_VARCHAR", "CONVERT(varchar(19), '2001-02-03 04:05:06')"},
      {SQL_CONVERT_TIMESTAMP, SQL_CVT_TIMESTAMP, "SQL_TIMESTAMP", "CONVERT(datetime, '2001-02-03', 120)"},
      {SQL_CONVERT_DATE, SQL_CVT_DATE, "SQL_DATE", ""},
      {SQL_CONVERT_BINARY, SQL_CVT_BINARY, "SQL_BINARY", ""},
  };
  for (const auto& from : types) {
    SQLUINTEGER targets = InfoMask(from.type);
    for (const auto& to : types) {
      if (!(targets & to.bit)) continue;
      targets &= ~to.bit;
      // The text sample is a date; one that is a number goes to numbers.
      const bool text_to_number = (from.bit & kTexts) && !(to.bit & (kTexts | SQL_CVT_TIMESTAMP));
      const std::string call =
          "SELECT {fn CONVERT(" + std::string(text_to_number ? "'1'" : from.value) + ", " + to.name + ")}";
      EXPECT_TRUE(ReturnsOneRow(Run(call))) << call;
    }
    EXPECT_EQ(targets, 0u) << from.name;
  }
}

TEST_F(EscapeTest, OuterJoinsAsAdvertised) {
  // Not SQL_OJ_NESTED: the engine does not take an outer join as the
  // right operand of another.
  EXPECT_EQ(InfoMask(SQL_OJ_CAPABILITIES),
            static_cast<SQLUINTEGER>(SQL_OJ_LEFT | SQL_OJ_RIGHT | SQL_OJ_FULL | SQL_OJ_NOT_ORDERED | SQL_OJ_INNER |
                                     SQL_OJ_ALL_COMPARISON_OPS));
  // One on the left of another, conditions of any operator.
  EXPECT_THAT(Run("SELECT count(*) FROM {oj {oj T LEFT OUTER JOIN U ON T.Id = U.Id} FULL OUTER JOIN T AS T2"
                  " ON U.Id < T2.Id}"),
              ElementsAre("rows:5,"));
}

}  // namespace
}  // namespace odbctest
