// Parameters of every C type into columns of the server's types and back,
// and the errors of values that do not convert.
#include <tuple>

#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

struct Param {
  SQLSMALLINT c_type;
  SQLSMALLINT sql_type;
  std::string data;      // the bytes of the C value
  SQLLEN indicator;      // SQL_NTS, a length, SQL_NULL_DATA
  const char* column;    // the column's type
  const char* expected;  // the column read back as text
};

const Param kParams[] = {
    {SQL_C_CHAR, SQL_VARCHAR, "hello", SQL_NTS, "varchar(20)", "hello"},
    {SQL_C_CHAR, SQL_VARCHAR, "hello world", 5, "varchar(20)", "hello"},
    {SQL_C_CHAR, SQL_INTEGER, "  17 ", SQL_NTS, "int", "17"},
    {SQL_C_WCHAR, SQL_WVARCHAR, Wide(u"h\u00E9\u20AC\u4E2D"), 8, "varchar(20)", "h\xE9\x80?"},
    {SQL_C_WCHAR, SQL_WVARCHAR, Wide(std::u16string(u"nts\0", 4)), SQL_NTS, "varchar(20)", "nts"},
    {SQL_C_SSHORT, SQL_SMALLINT, Bytes<SQLSMALLINT>(-12), 0, "smallint", "-12"},
    {SQL_C_USHORT, SQL_INTEGER, Bytes<SQLUSMALLINT>(65000), 0, "int", "65000"},
    {SQL_C_SHORT, SQL_SMALLINT, Bytes<SQLSMALLINT>(300), 0, "smallint", "300"},
    {SQL_C_SLONG, SQL_INTEGER, Bytes<SQLINTEGER>(-100000), 0, "int", "-100000"},
    {SQL_C_ULONG, SQL_BIGINT, Bytes<SQLUINTEGER>(4000000000u), 0, "bigint", "4000000000"},
    {SQL_C_LONG, SQL_INTEGER, Bytes<SQLINTEGER>(5), 0, "int", "5"},
    {SQL_C_STINYINT, SQL_SMALLINT, Bytes<SQLSCHAR>(-5), 0, "smallint", "-5"},
    {SQL_C_UTINYINT, SQL_TINYINT, Bytes<SQLCHAR>(200), 0, "tinyint", "200"},
    {SQL_C_TINYINT, SQL_TINYINT, Bytes<SQLSCHAR>(100), 0, "tinyint", "100"},
    {SQL_C_SBIGINT, SQL_BIGINT, Bytes<SQLBIGINT>(-9000000000000000000LL), 0, "bigint", "-9000000000000000000"},
    {SQL_C_UBIGINT, SQL_BIGINT, Bytes<SQLUBIGINT>(1ULL << 62), 0, "bigint", "4611686018427387904"},
    {SQL_C_DOUBLE, SQL_DOUBLE, Bytes<SQLDOUBLE>(2.25), 0, "float", "2.25"},
    {SQL_C_FLOAT, SQL_REAL, Bytes<SQLREAL>(0.5f), 0, "real", "0.5"},
    {SQL_C_BIT, SQL_BIT, Bytes<SQLCHAR>(1), 0, "bit", "1"},
    {SQL_C_TYPE_DATE, SQL_TYPE_DATE, Bytes(SQL_DATE_STRUCT{2023, 12, 31}), 0, "datetime", "2023-12-31 00:00:00.000"},
    {SQL_C_DATE, SQL_TIMESTAMP, Bytes(SQL_DATE_STRUCT{1999, 1, 2}), 0, "datetime", "1999-01-02 00:00:00.000"},
    {SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, Bytes(SQL_TIMESTAMP_STRUCT{2023, 1, 2, 3, 4, 5, 250000000}), 0, "datetime", "2023-01-02 03:04:05.250"},
    {SQL_C_TIMESTAMP, SQL_TYPE_TIMESTAMP, Bytes(SQL_TIMESTAMP_STRUCT{2000, 2, 29, 23, 59, 58, 0}), 0, "datetime", "2000-02-29 23:59:58.000"},
    {SQL_C_CHAR, SQL_TYPE_TIMESTAMP, "2001-05-06 07:08:09", SQL_NTS, "datetime", "2001-05-06 07:08:09.000"},
    {SQL_C_BINARY, SQL_VARBINARY, std::string("\x01\x02\xFF", 3), 3, "varbinary(10)", "0102FF"},
    {SQL_C_CHAR, SQL_VARBINARY, "0A0b", SQL_NTS, "varbinary(10)", "0A0B"},
    {SQL_C_DEFAULT, SQL_INTEGER, Bytes<SQLINTEGER>(77), 0, "int", "77"},
    {SQL_C_DEFAULT, SQL_VARCHAR, "dflt", SQL_NTS, "varchar(10)", "dflt"},
    {SQL_C_NUMERIC, SQL_DECIMAL, Bytes(Numeric(Bytes(12345u), 10, 2, true)), 0, "varchar(20)", "-123.45"},
    {SQL_C_NUMERIC, SQL_DECIMAL, Bytes(Numeric(std::string(16, '\xFF'), 38, 0, false)), 0, "varchar(40)", "340282366920938463463374607431768211455"},
    {SQL_C_NUMERIC, SQL_DECIMAL, Bytes(Numeric(Bytes(7u), 10, 3, false)), 0, "varchar(20)", "0.007"},
    {SQL_C_SLONG, SQL_VARCHAR, Bytes<SQLINTEGER>(42), 0, "varchar(10)", "42"},
    {SQL_C_SLONG, SQL_INTEGER, Bytes<SQLINTEGER>(1), SQL_NULL_DATA, "int", "NULL"},
    {SQL_C_CHAR, SQL_VARCHAR, "", SQL_NTS, "varchar(10)", ""}};

// One column per case, all written by one INSERT.
TEST_F(OdbcTest, ParametersRoundTrip) {
  std::string create = "CREATE TABLE p (", insert = "INSERT INTO p VALUES (", select = "SELECT ";
  std::vector<std::string> buffers;
  std::vector<SQLLEN> indicators;
  for (const Param& p : kParams) {
    buffers.push_back(p.data + std::string(4, '\0'));
    indicators.push_back(p.indicator);
  }
  Statement stmt(dbc());
  for (size_t i = 0; i < std::size(kParams); ++i) {
    const Param& p = kParams[i];
    const std::string sep = i ? ", " : "", column = "v" + std::to_string(i);
    create += sep + column + " " + p.column;
    insert += sep + "?";
    select += sep + column;
    ASSERT_STMT_OK(SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, p.c_type, p.sql_type, 40, 3,
                           buffers[i].data(), static_cast<SQLLEN>(p.data.size()), &indicators[i]),
          stmt);
  }
  Exec(create + ")");
  Exec(stmt, insert + ")");
  Exec(stmt, select + " FROM p");
  ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
  for (size_t i = 0; i < std::size(kParams); ++i) {
    char text[64] = {0};
    SQLLEN ind = 0;
    SQLGetData(stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_C_CHAR, text, sizeof text, &ind);
    EXPECT_EQ(ind == SQL_NULL_DATA ? "NULL" : std::string(text), kParams[i].expected)
        << "C type " << kParams[i].c_type << " as SQL type " << kParams[i].sql_type << " into " << kParams[i].column;
  }
}

struct BadParam {
  SQLSMALLINT c_type;
  SQLSMALLINT sql_type;
  std::string data;
  const char* state;
};

const BadParam kBadParams[] = {
    {SQL_C_CHAR, SQL_INTEGER, "abc", "22018"}, {SQL_C_SLONG, SQL_SMALLINT, Bytes<SQLINTEGER>(70000), "22003"},
    {SQL_C_SLONG, SQL_TINYINT, Bytes<SQLINTEGER>(-1), "22003"},
    {SQL_C_DOUBLE, SQL_INTEGER, Bytes<SQLDOUBLE>(1.5), "22001"}, {SQL_C_CHAR, SQL_VARBINARY, "xyz", "22018"},
    {SQL_C_BIT, SQL_BIT, Bytes<SQLCHAR>(2), "22003"},
    {SQL_C_UBIGINT, SQL_BIGINT, Bytes<SQLUBIGINT>(UINT64_MAX), "22003"},
    {SQL_C_TYPE_DATE, SQL_TYPE_TIMESTAMP, Bytes(SQL_DATE_STRUCT{2023, 2, 30}), "22007"},
    {SQL_C_TYPE_TIMESTAMP, SQL_INTEGER, Bytes(SQL_TIMESTAMP_STRUCT{2023, 2, 3, 0, 0, 0, 0}), "07006"}};

TEST_F(OdbcTest, ParametersThatDoNotConvertFailTheExecution) {
  Exec("CREATE TABLE p (v varchar(40))");
  for (const BadParam& p : kBadParams) {
    SCOPED_TRACE("C type " + std::to_string(p.c_type) + " as SQL type " + std::to_string(p.sql_type));
    Statement stmt(dbc());
    std::string buffer = p.data + std::string(4, '\0');
    SQLLEN indicator = static_cast<SQLLEN>(p.data.size());
    ASSERT_STMT_OK(SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, p.c_type, p.sql_type, 40, 0, buffer.data(), 40, &indicator),
                   stmt);
    EXPECT_THAT(Results(stmt, "INSERT INTO p VALUES (?)"),
                ::testing::ElementsAre("error:" + std::string(p.state) + "/0"));
  }
  EXPECT_THAT(Run("SELECT COUNT(*) FROM p"), ::testing::ElementsAre("rows:0,"));
}

TEST_F(OdbcTest, UnknownTypesRefusedWhenBound) {
  Statement stmt(dbc());
  SQLINTEGER value = 0;
  for (const auto& [io, type, state] : {std::tuple{SQL_PARAM_INPUT, SQL_GUID, "HY004"},
                                        {SQL_PARAM_INPUT, SQL_INTEGER + 100, "HY004"},
                                        {SQL_PARAM_OUTPUT + 7, SQL_INTEGER, "HY105"}}) {
    EXPECT_EQ(Failure(SQLBindParameter(stmt, 1, io, SQL_C_SLONG, type, 0, 0, &value, 0, nullptr), stmt), state);
  }
}

}  // namespace
}  // namespace odbctest
