// SQLGetData and SQLBindCol: every C type from every kind of value, with
// ODBC's states for cut, truncated, out-of-range and invalid data.
#include <gmock/gmock.h>

#include "odbc_support.h"

namespace odbctest {
namespace {

// One row holding each kind of value; written through parameters.
class ConvertTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE c (i int, neg int, bi bigint, f float, r real, bt bit, vc varchar(40), "
         "vx varchar(40), vf varchar(40), vd varchar(40), vw varchar(40), dt datetime, "
         "vb varbinary(20), n int, n38 varchar(40), n39 varchar(40), w1 varchar(30), w2 varchar(30))");
    Statement stmt(dbc());
    std::string sql = "INSERT INTO c VALUES (42, -7, ?, 3.75, ?, 1, '123', 'abc', '1.5', "
                      "'2024-02-29', ?, ?, ?, NULL, '99999999999999999999999999999999999999', "
                      "'100000000000000000000000000000000000000', '-9223372036854775809', ' 18446744073709551615 ')";
    ASSERT_STMT_OK(Prepare(stmt, sql), stmt);
    SQLBIGINT big = 5000000000LL;
    SQLREAL half = 0.5f;
    char wide[] = "\xE9\x80";
    SQL_TIMESTAMP_STRUCT ts = SQL_TIMESTAMP_STRUCT{2024, 2, 29, 13, 14, 15, 250000000};
    unsigned char blob[] = {0x0A, 0x0B, 0xFF};
    SQLLEN blob_length = sizeof blob;
    SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &big, 0, nullptr);
    SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_FLOAT, SQL_REAL, 0, 0, &half, 0, nullptr);
    SQLBindParameter(stmt, 3, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 40, 0, wide, 0, nullptr);
    SQLBindParameter(stmt, 4, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23, 3, &ts, 0, nullptr);
    SQLBindParameter(stmt, 5, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_VARBINARY, 20, 0, blob, 0, &blob_length);
    ASSERT_STMT_OK(SQLExecute(stmt), stmt);
  }
};

struct Case {
  const char* column;
  SQLSMALLINT c_type;
  SQLLEN buffer_length;
  SQLRETURN rc;
  const char* state;       // "" for none
  std::string bytes;       // the start of the buffer; "" to skip
  SQLLEN indicator;        // checked unless the call failed
};

const SQLRETURN kOk = SQL_SUCCESS, kInfo = SQL_SUCCESS_WITH_INFO, kError = SQL_ERROR;

Case Fails(const char* column, SQLSMALLINT c_type, const char* state) {
  return {column, c_type, 0, kError, state, "", 0};
}

const Case kCases[] = {
    // Integers, and the bounds of the C types.
    {"i", SQL_C_CHAR, 0, kOk, "", std::string("42\0", 3), 2}, {"i", SQL_C_CHAR, 2, kError, "22003", "", 0},
    {"i", SQL_C_WCHAR, 0, kOk, "", Wide(std::u16string(u"42\0", 3)), 4},
    {"i", SQL_C_SLONG, 0, kOk, "", Bytes<SQLINTEGER>(42), 4},
    {"i", SQL_C_STINYINT, 0, kOk, "", Bytes<SQLSCHAR>(42), 1},
    {"i", SQL_C_USHORT, 0, kOk, "", Bytes<SQLUSMALLINT>(42), 2},
    {"i", SQL_C_DOUBLE, 0, kOk, "", Bytes<SQLDOUBLE>(42.0), 8}, Fails("i", SQL_C_BIT, "22003"),
    Fails("i", SQL_C_TYPE_TIMESTAMP, "07006"), {"i", SQL_C_BINARY, 0, kOk, "", Bytes<SQLINTEGER>(42), 4},
    {"i", SQL_C_NUMERIC, 0, kOk, "", Bytes(Numeric(Bytes(42u), 38, 0, false)), sizeof(SQL_NUMERIC_STRUCT)},
    {"i", SQL_C_DEFAULT, 0, kOk, "", Bytes<SQLINTEGER>(42), 4},
    {"127", SQL_C_STINYINT, 0, kOk, "", Bytes<SQLSCHAR>(127), 1}, Fails("128", SQL_C_STINYINT, "22003"),
    {"-128", SQL_C_STINYINT, 0, kOk, "", Bytes<SQLSCHAR>(-128), 1}, Fails("-129", SQL_C_STINYINT, "22003"),
    {"65535", SQL_C_USHORT, 0, kOk, "", Bytes<SQLUSMALLINT>(65535), 2}, Fails("65536", SQL_C_USHORT, "22003"),
    {"CONVERT(float, 127.75)", SQL_C_STINYINT, 0, kInfo, "01S07", Bytes<SQLSCHAR>(127), 1},
    Fails("CONVERT(float, 128)", SQL_C_STINYINT, "22003"), Fails("neg", SQL_C_ULONG, "22003"),
    {"neg", SQL_C_SSHORT, 0, kOk, "", Bytes<SQLSMALLINT>(-7), 2},
    {"neg", SQL_C_NUMERIC, 0, kOk, "", Bytes(Numeric(Bytes(7u), 38, 0, true)), sizeof(SQL_NUMERIC_STRUCT)},
    Fails("bi", SQL_C_SLONG, "22003"), Fails("bi", SQL_C_UTINYINT, "22003"),
    {"bi", SQL_C_SBIGINT, 0, kOk, "", Bytes<SQLBIGINT>(5000000000LL), 8},
    {"bi", SQL_C_CHAR, 0, kOk, "", std::string("5000000000\0", 11), 10},
    {"bi", SQL_C_UBIGINT, 0, kOk, "", Bytes<SQLUBIGINT>(5000000000ULL), 8},
    Fails("neg", SQL_C_UBIGINT, "22003"), {"neg", SQL_C_SBIGINT, 0, kOk, "", Bytes<SQLBIGINT>(-7), 8},
    // 10^38 - 1, the largest numeric, and one more.
    {"n38", SQL_C_NUMERIC, 0, kOk, "",
     Bytes(Numeric(std::string("\xFF\xFF\xFF\xFF\x3F\x22\x8A\x09\x7A\xC4\x86\x5A\xA8\x4C\x3B\x4B", 16), 38, 0, false)),
     sizeof(SQL_NUMERIC_STRUCT)},
    Fails("n39", SQL_C_NUMERIC, "22003"),
    // Integer text beyond int64, which a double would round into range.
    Fails("w1", SQL_C_SBIGINT, "22003"), {"w2", SQL_C_UBIGINT, 0, kOk, "", Bytes<SQLUBIGINT>(UINT64_MAX), 8},
    Fails("w2", SQL_C_SBIGINT, "22003"), {"bt", SQL_C_BIT, 0, kOk, "", Bytes<unsigned char>(1), 1},
    {"bt", SQL_C_CHAR, 0, kOk, "", std::string("1\0", 2), 1},
    // Floating point.
    {"f", SQL_C_SLONG, 0, kInfo, "01S07", Bytes<SQLINTEGER>(3), 4},
    {"f", SQL_C_CHAR, 0, kOk, "", std::string("3.75\0", 5), 4},
    {"f", SQL_C_CHAR, 2, kInfo, "01004", std::string("3\0", 2), 4},
    {"f", SQL_C_FLOAT, 0, kOk, "", Bytes<SQLREAL>(3.75f), 4}, Fails("f", SQL_C_BIT, "22003"),
    Fails("f", SQL_C_DATE, "07006"), {"r", SQL_C_FLOAT, 0, kOk, "", Bytes<SQLREAL>(0.5f), 4},
    {"r", SQL_C_CHAR, 0, kOk, "", std::string("0.5\0", 4), 3},
    {"r", SQL_C_BIT, 0, kInfo, "01S07", Bytes<unsigned char>(0), 1},
    // Text.
    {"vc", SQL_C_SLONG, 0, kOk, "", Bytes<SQLINTEGER>(123), 4},
    {"vc", SQL_C_DOUBLE, 0, kOk, "", Bytes<SQLDOUBLE>(123.0), 8},
    {"vc", SQL_C_CHAR, 3, kInfo, "01004", std::string("12\0", 3), 3},
    {"vc", SQL_C_WCHAR, 6, kInfo, "01004", Wide(std::u16string(u"12\0", 3)), 6},
    Fails("vx", SQL_C_SLONG, "22018"), Fails("vx", SQL_C_TYPE_DATE, "22018"),
    {"vx", SQL_C_BINARY, 0, kOk, "", "abc", 3},
    {"vf", SQL_C_SSHORT, 0, kInfo, "01S07", Bytes<SQLSMALLINT>(1), 2},
    {"vd", SQL_C_TYPE_DATE, 0, kOk, "", Bytes(SQL_DATE_STRUCT{2024, 2, 29}), 6},
    {"vw", SQL_C_CHAR, 0, kOk, "", std::string("\xE9\x80\0", 3), 2},
    {"vw", SQL_C_WCHAR, 0, kOk, "", Wide(std::u16string(u"\u00E9\u20AC\0", 3)), 4},
    // Datetimes.
    {"dt", SQL_C_CHAR, 0, kOk, "", std::string("2024-02-29 13:14:15.250\0", 24), 23},
    {"dt", SQL_C_TYPE_TIMESTAMP, 0, kOk, "", Bytes(SQL_TIMESTAMP_STRUCT{2024, 2, 29, 13, 14, 15, 250000000}), 16},
    {"dt", SQL_C_TIMESTAMP, 0, kOk, "", Bytes(SQL_TIMESTAMP_STRUCT{2024, 2, 29, 13, 14, 15, 250000000}), 16},
    {"dt", SQL_C_TYPE_DATE, 0, kInfo, "01S07", Bytes(SQL_DATE_STRUCT{2024, 2, 29}), 6},
    {"dt", SQL_C_TYPE_TIME, 0, kInfo, "01S07", Bytes(SQL_TIME_STRUCT{13, 14, 15}), 6},
    Fails("dt", SQL_C_SLONG, "07006"),
    // Binary and NULL.
    {"vb", SQL_C_CHAR, 0, kOk, "", std::string("0A0BFF\0", 7), 6},
    {"vb", SQL_C_WCHAR, 0, kOk, "", Wide(std::u16string(u"0A0BFF\0", 7)), 12},
    {"vb", SQL_C_WCHAR, 8, kInfo, "01004", Wide(std::u16string(u"0A\0", 3)), 12},
    {"vb", SQL_C_BINARY, 0, kOk, "", "\x0A\x0B\xFF", 3},
    {"vb", SQL_C_BINARY, 2, kInfo, "01004", "\x0A\x0B", 3}, Fails("vb", SQL_C_SLONG, "07006"),
    {"n", SQL_C_SLONG, 0, kOk, "", "", SQL_NULL_DATA}, {"n", SQL_C_CHAR, 0, kOk, "", "", SQL_NULL_DATA}};

TEST_F(ConvertTest, GetDataConverts) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.column) + " as C type " + std::to_string(c.c_type) + " in " +
                 std::to_string(c.buffer_length) + " bytes");
    Statement stmt(dbc());
    Exec(stmt, std::string("SELECT ") + c.column + " FROM c");
    ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
    char buffer[64];
    std::memset(buffer, 0x5A, sizeof buffer);
    SQLLEN indicator = -12345;
    SQLLEN length = c.buffer_length ? c.buffer_length : static_cast<SQLLEN>(sizeof buffer);
    SQLRETURN rc = SQLGetData(stmt, 1, c.c_type, buffer, length, &indicator);
    EXPECT_EQ(rc, c.rc) << Explain(rc, SQL_HANDLE_STMT, stmt);
    EXPECT_EQ(FirstState(SQL_HANDLE_STMT, stmt), c.state);
    if (rc == SQL_ERROR) continue;
    EXPECT_EQ(indicator, c.indicator);
    EXPECT_EQ(std::string(buffer, c.bytes.size()), c.bytes);
  }
}

TEST_F(ConvertTest, FixedValueReadTwiceGivesNoData) {
  Statement stmt(dbc());
  Exec(stmt, "SELECT i, n FROM c");
  ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
  SQLINTEGER value = 0;
  SQLLEN ind = 0;
  EXPECT_EQ(SQLGetData(stmt, 1, SQL_C_SLONG, &value, 0, &ind), SQL_SUCCESS);
  EXPECT_EQ(SQLGetData(stmt, 1, SQL_C_SLONG, &value, 0, &ind), SQL_NO_DATA);
  // NULL without an indicator is an error.
  EXPECT_EQ(Failure(SQLGetData(stmt, 2, SQL_C_SLONG, &value, 0, nullptr), stmt), "22002");
  EXPECT_EQ(SQLGetData(stmt, 2, SQL_C_SLONG, &value, 0, &ind), SQL_SUCCESS);
  EXPECT_EQ(ind, SQL_NULL_DATA);
  EXPECT_EQ(SQLGetData(stmt, 2, SQL_C_SLONG, &value, 0, &ind), SQL_NO_DATA);
  // Any order: back to the first column.
  EXPECT_EQ(SQLGetData(stmt, 1, SQL_C_CHAR, &value, sizeof value, &ind), SQL_SUCCESS);
  EXPECT_EQ(ind, 2);
}

TEST_F(ConvertTest, BinaryAsTextComesInWholeBytes) {
  Statement stmt(dbc());
  Exec(stmt, "SELECT vb FROM c");
  ASSERT_EQ(SQLFetch(stmt), SQL_SUCCESS);
  char buffer[4];
  SQLLEN ind = 0;
  std::vector<std::string> pieces;
  std::vector<SQLLEN> lengths;
  while (pieces.size() < 5 &&
         SQL_SUCCEEDED(SQLGetData(stmt, 1, SQL_C_CHAR, buffer, sizeof buffer, &ind))) {
    pieces.push_back(buffer);
    lengths.push_back(ind);
  }
  EXPECT_THAT(pieces, ::testing::ElementsAre("0A", "0B", "FF"));
  EXPECT_THAT(lengths, ::testing::ElementsAre(6, 4, 2));
}

// Bound columns: every problem of the row is reported; warnings alone give
// SQL_SUCCESS_WITH_INFO and mark the row so.
TEST_F(ConvertTest, BoundColumnsReportEachProblemOfTheRow) {
  for (const char* last : {"f", "bi"}) {
    Statement stmt(dbc());
    Exec(stmt, std::string("SELECT vc, n, ") + last + " FROM c");
    char text[3];
    SQLLEN text_ind = 0, n_ind = 0, last_ind = 0;
    SQLINTEGER n = 0, value = 0;
    SQLUSMALLINT status = 99;
    SQLSetStmtAttr(stmt, SQL_ATTR_ROW_STATUS_PTR, &status, 0);
    SQLBindCol(stmt, 1, SQL_C_CHAR, text, sizeof text, &text_ind);
    SQLBindCol(stmt, 2, SQL_C_SLONG, &n, 0, *last == 'f' ? &n_ind : nullptr);
    SQLBindCol(stmt, 3, SQL_C_SLONG, &value, 0, &last_ind);
    bool warnings_only = *last == 'f';
    ASSERT_EQ(SQLFetch(stmt), warnings_only ? SQL_SUCCESS_WITH_INFO : SQL_ERROR);
    std::string states;
    for (const Diag& d : Diags(SQL_HANDLE_STMT, stmt)) states += d.state + " ";
    EXPECT_EQ(states, warnings_only ? "01004 01S07 " : "01004 22002 22003 ");
    EXPECT_STREQ(text, "12");
    EXPECT_EQ(text_ind, 3);
    if (warnings_only) {
      EXPECT_EQ(status, SQL_ROW_SUCCESS_WITH_INFO);
      EXPECT_EQ(n_ind, SQL_NULL_DATA);
      EXPECT_EQ(value, 3);
      EXPECT_EQ(last_ind, 4);
    }
  }
}

}  // namespace
}  // namespace odbctest
