// Arrays of parameter sets: each set runs the statement once; a failing
// set does not stop the others; status array, processed count, row
// numbers of the diagnostics, ignored sets, row-wise binding, and a
// result per set of a SELECT.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "odbc_support.h"

namespace odbctest {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

class ParamArrayTest : public OdbcTest {
 protected:
  void SetUp() override {
    OdbcTest::SetUp();
    Exec("CREATE TABLE T (Id int NOT NULL PRIMARY KEY, Name varchar(10) NULL)");
  }

  // Binds ids and names column-wise and runs the INSERT with them.
  SQLRETURN InsertColumnWise(SQLHSTMT stmt, std::vector<SQLINTEGER>& ids, std::vector<SQLUSMALLINT>* status,
                             SQLULEN* processed) {
    names_.assign(ids.size() * 11, '\0');
    name_ind_.assign(ids.size(), SQL_NTS);
    for (size_t i = 0; i < ids.size(); ++i) names_.replace(i * 11, 4, "n" + std::to_string(ids[i] % 100) + "x");
    status->assign(ids.size(), 99);
    SQLSetStmtAttr(stmt, SQL_ATTR_PARAMSET_SIZE, Value(ids.size()), 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_STATUS_PTR, status->data(), 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_PARAMS_PROCESSED_PTR, processed, 0);
    SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, ids.data(), 0, nullptr);
    SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, names_.data(), 11, name_ind_.data());
    return ExecDirect(stmt, "INSERT INTO T (Id, Name) VALUES (?, ?)");
  }

  std::string names_;
  std::vector<SQLLEN> name_ind_;
};

TEST_F(ParamArrayTest, FailingSetsDoNotStopTheOthers) {
  const struct {
    std::vector<SQLINTEGER> ids;
    SQLRETURN rc;
    std::vector<SQLUSMALLINT> status;
    // SQLRowCount's: SQL_ERROR, no count, once a set failed; after a failed
    // execute the driver manager answers itself (HY010, -1).
    SQLRETURN count_rc;
    SQLLEN rows;
    std::vector<SQLLEN> diag_rows;
  } cases[] = {
      {{1}, SQL_SUCCESS, {SQL_PARAM_SUCCESS}, SQL_SUCCESS, 1, {}},
      {{2, 3, 2, 4, 3}, SQL_SUCCESS_WITH_INFO,
       {SQL_PARAM_SUCCESS, SQL_PARAM_SUCCESS, SQL_PARAM_ERROR, SQL_PARAM_SUCCESS, SQL_PARAM_ERROR}, SQL_ERROR, -7,
       {3, 3, 5, 5}},
      {{1, 2}, SQL_ERROR, {SQL_PARAM_ERROR, SQL_PARAM_ERROR}, SQL_ERROR, -1, {1, 1, 2, 2}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ids.size());
    Statement stmt(dbc());
    std::vector<SQLINTEGER> ids = c.ids;
    std::vector<SQLUSMALLINT> status;
    SQLULEN processed = 0;
    EXPECT_EQ(InsertColumnWise(stmt, ids, &status, &processed), c.rc);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(processed, ids.size());
    std::vector<SQLLEN> diag_rows;
    for (SQLSMALLINT rec = 1;; ++rec) {
      SQLLEN row = 0;
      if (!SQL_SUCCEEDED(SQLGetDiagField(SQL_HANDLE_STMT, stmt, rec, SQL_DIAG_ROW_NUMBER, &row, 0, nullptr))) break;
      diag_rows.push_back(row);
    }
    EXPECT_EQ(diag_rows, c.diag_rows);  // 2627 and 3621 of each failed set
    SQLLEN rows = -7;
    EXPECT_EQ(SQLRowCount(stmt, &rows), c.count_rc);
    EXPECT_EQ(rows, c.rows);
  }
  EXPECT_THAT(Run("SELECT Id FROM T ORDER BY Id"), ElementsAre("rows:1,2,3,4,"));
  EXPECT_THAT(Run("SELECT Name FROM T WHERE Id = 4"), ElementsAre("rows:n4x,"));
}

// Under autocommit a plain INSERT's sets share one commit, a trigger's
// table's do not: either way a failed set (a key, a conversion that ends
// its batch) leaves the others, and no transaction stays open.
TEST_F(ParamArrayTest, FailedSetsKeepTheOthersWithOrWithoutOneCommit) {
  Exec("CREATE TABLE L (Id int NULL)");
  Exec("CREATE TABLE U (Id int NOT NULL PRIMARY KEY)");
  Exec("CREATE TRIGGER TrU ON U FOR INSERT AS INSERT INTO L SELECT Id FROM INSERTED");
  for (std::string table : {"T", "U"}) {
    SCOPED_TRACE(table);
    Statement stmt(dbc());
    char ids[4][4] = {"1", "x", "1", "3"};
    SQLLEN lengths[4] = {SQL_NTS, SQL_NTS, SQL_NTS, SQL_NTS};
    std::vector<SQLUSMALLINT> status(4);
    SetAttr(stmt, SQL_ATTR_PARAMSET_SIZE, 4);
    SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_STATUS_PTR, status.data(), 0);
    SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 3, 0, ids, 4, lengths);
    EXPECT_EQ(ExecDirect(stmt, "INSERT INTO " + table + " (Id) VALUES (?)"), SQL_SUCCESS_WITH_INFO);
    EXPECT_THAT(status, ElementsAre(SQL_PARAM_SUCCESS, SQL_PARAM_ERROR, SQL_PARAM_ERROR, SQL_PARAM_SUCCESS));
    EXPECT_THAT(Run("SELECT Id FROM " + table + " ORDER BY Id"), ElementsAre("rows:1,3,"));
    EXPECT_THAT(Run("SELECT @@TRANCOUNT"), ElementsAre("rows:0,"));
  }
  EXPECT_THAT(Run("SELECT Id FROM L ORDER BY Id"), ElementsAre("rows:1,3,"));
}

#ifndef _WIN32
// When the files may not grow, the shared commit fails (few rows) or SQLite
// rolls the shared transaction back while the sets run (more rows than its
// cache holds): either way exactly the sets reported successful are kept,
// and the connection commits each statement on its own again. A few hundred
// sets fail each way: every failed set is a diagnostic record, which the
// driver manager files one by one.
TEST_F(ParamArrayTest, SetsReportedSuccessfulAreKeptWhenTheDiskIsFull) {
  Exec("CREATE TABLE W (Id int NOT NULL, Pad char(4000) NULL)");
  for (size_t count : {300, 2600}) {
    SCOPED_TRACE(count);
    Exec("DELETE FROM W");
    std::vector<SQLINTEGER> ids(count);
    for (size_t i = 0; i < ids.size(); ++i) ids[i] = static_cast<SQLINTEGER>(i);
    std::vector<SQLUSMALLINT> status(ids.size(), 99);
    Statement stmt(dbc());
    SQLSetStmtAttr(stmt, SQL_ATTR_PARAMSET_SIZE, Value(ids.size()), 0);
    SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_STATUS_PTR, status.data(), 0);
    SQLBindParameter(stmt, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, ids.data(), 0, nullptr);
    uintmax_t largest = 0;
    for (const auto& file : std::filesystem::directory_iterator(dir_.path())) {
      largest = std::max(largest, file.file_size());
    }
    signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = largest + (count < 1000 ? 65536 : 8 << 20);
    setrlimit(RLIMIT_FSIZE, &small);
    SQLRETURN rc = ExecDirect(stmt, "INSERT INTO W (Id, Pad) VALUES (?, 'p')");
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, SIG_DFL);
    EXPECT_NE(rc, SQL_SUCCESS);
    auto kept = std::count(status.begin(), status.end(), SQL_PARAM_SUCCESS);
    EXPECT_LT(kept, static_cast<long>(count));
    EXPECT_THAT(Run("SELECT count(*) FROM W"), ElementsAre("rows:" + std::to_string(kept) + ","));
    Exec("INSERT INTO W (Id) VALUES (-1)");
    Connection other;
    Connect(other);
    EXPECT_THAT(Run("SELECT count(*) FROM W", other.dbc()), ElementsAre("rows:" + std::to_string(kept + 1) + ","));
  }
}
#endif

TEST_F(ParamArrayTest, IgnoredSetsStayUnused) {
  Statement stmt(dbc());
  std::vector<SQLINTEGER> ids = {1, 2, 3};
  std::vector<SQLUSMALLINT> operations = {SQL_PARAM_PROCEED, SQL_PARAM_IGNORE, SQL_PARAM_PROCEED};
  SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_OPERATION_PTR, operations.data(), 0);
  std::vector<SQLUSMALLINT> status;
  SQLULEN processed = 0;
  EXPECT_EQ(InsertColumnWise(stmt, ids, &status, &processed), SQL_SUCCESS);
  EXPECT_THAT(status, ElementsAre(SQL_PARAM_SUCCESS, SQL_PARAM_UNUSED, SQL_PARAM_SUCCESS));
  EXPECT_EQ(processed, 3u);
  EXPECT_THAT(Run("SELECT Id FROM T ORDER BY Id"), ElementsAre("rows:1,3,"));
}

TEST_F(ParamArrayTest, RowWiseWithBindOffset) {
  struct Row {
    SQLINTEGER id;
    SQLLEN id_ind;
    char name[11];
    SQLLEN name_ind;
  };
  Row rows[4] = {{1, 0, "eins", SQL_NTS}, {2, 0, "zwei", SQL_NTS}, {3, 0, "", SQL_NULL_DATA}, {4, 0, "vier", 4}};
  Statement stmt(dbc());
  SQLULEN offset = 2 * sizeof(Row);
  SetAttr(stmt, SQL_ATTR_PARAMSET_SIZE, 2);
  SetAttr(stmt, SQL_ATTR_PARAM_BIND_TYPE, sizeof(Row));
  SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_BIND_OFFSET_PTR, &offset, 0);
  BindInt(stmt, 1, &rows[0].id, &rows[0].id_ind);
  SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 10, 0, rows[0].name, 11, &rows[0].name_ind);
  ASSERT_STMT_OK(Prepare(stmt, "INSERT INTO T VALUES (?, ?)"), stmt);
  EXPECT_STMT_OK(SQLExecute(stmt), stmt);
  offset = 0;
  EXPECT_STMT_OK(SQLExecute(stmt), stmt);
  EXPECT_THAT(Run("SELECT ISNULL(Name, '-') FROM T ORDER BY Id"), ElementsAre("rows:eins,zwei,-,vier,"));
}

// One result per set; ODBC 2's SQLParamOptions reaches the same attributes.
TEST_F(ParamArrayTest, SelectGivesOneResultPerSet) {
  Exec("INSERT INTO T VALUES (1, 'a'), (2, 'b'), (3, 'c')");
  Statement stmt(dbc());
  SQLINTEGER ids[3] = {3, 9, 1};
  SQLULEN processed = 0;
  ASSERT_STMT_OK(SQLParamOptions(stmt, 3, &processed), stmt);
  BindInt(stmt, 1, ids);
  EXPECT_THAT(Results(stmt, "SELECT Name FROM T WHERE Id = ?"), ElementsAre("rows:c,", "rows:", "rows:a,"));
  EXPECT_EQ(processed, 3u);
  EXPECT_THAT(Results(stmt, "SELECT count(*) FROM T"), ElementsAre("rows:3,"));
}

TEST_F(ParamArrayTest, OutputsPerSet) {
  Exec("CREATE PROCEDURE Twice @i int OUTPUT AS SET @i = @i * 2");
  Statement stmt(dbc());
  SQLINTEGER values[3] = {1, 2, 3};
  SQLLEN indicators[3] = {0, 0, 0};
  SetAttr(stmt, SQL_ATTR_PARAMSET_SIZE, 3);
  BindInt(stmt, 1, values, indicators, SQL_PARAM_INPUT_OUTPUT);
  EXPECT_STMT_OK(ExecDirect(stmt, "EXEC Twice ?"), stmt);
  EXPECT_THAT(values, ElementsAre(2, 4, 6));
}

// Data at execution is asked for set by set, the token being the buffer
// address of the parameter in that set; ignored sets are not asked for.
TEST_F(ParamArrayTest, DataAtExecutionSetBySet) {
  Exec("ALTER TABLE T ADD Note varchar(max) NULL");
  Statement stmt(dbc());
  SQLINTEGER ids[4] = {1, 2, 3, 4};
  char notes[4][8] = {"a", "zwei", "c", "d"};
  SQLLEN note_ind[4] = {SQL_LEN_DATA_AT_EXEC(0), SQL_NTS, SQL_DATA_AT_EXEC, SQL_DATA_AT_EXEC};
  SQLUSMALLINT operation[4] = {SQL_PARAM_PROCEED, SQL_PARAM_PROCEED, SQL_PARAM_PROCEED, SQL_PARAM_IGNORE};
  SetAttr(stmt, SQL_ATTR_PARAMSET_SIZE, 4);
  SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_OPERATION_PTR, operation, 0);
  BindInt(stmt, 1, ids);
  SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 0, 0, notes, 8, note_ind);
  ASSERT_EQ(ExecDirect(stmt, "INSERT INTO T (Id, Note) VALUES (?, ?)"), SQL_NEED_DATA);
  std::vector<SQLPOINTER> tokens;
  SQLPOINTER token = nullptr;
  SQLRETURN rc;
  while ((rc = SQLParamData(stmt, &token)) == SQL_NEED_DATA) {
    tokens.push_back(token);
    if (token == notes[0]) {
      SQLPutData(stmt, const_cast<char*>("ei"), 2);
      SQLPutData(stmt, const_cast<char*>("ns"), SQL_NTS);
    } else {
      SQLPutData(stmt, nullptr, SQL_NULL_DATA);
    }
  }
  EXPECT_STMT_OK(rc, stmt);
  EXPECT_THAT(tokens, ElementsAre(notes[0], notes[2]));
  EXPECT_THAT(Run("SELECT CAST(Id AS varchar(9)) + ISNULL(Note, '-') FROM T ORDER BY Id"), ElementsAre("rows:1eins,2zwei,3-,"));
}

// Long values sent at execution reach a procedure's varchar(max)
// parameter whole, set by set, with each set's output and return status.
TEST_F(ParamArrayTest, DataAtExecutionIntoAProcedurePerSet) {
  Exec("CREATE PROCEDURE Laenge @text varchar(max), @len int OUTPUT AS BEGIN SET @len = LEN(@text) RETURN LEN(@text) + 1 END");
  Statement stmt(dbc());
  SQLINTEGER status[2] = {-1, -1}, lengths[2] = {-1, -1};
  SQLLEN status_ind[2] = {0, 0}, length_ind[2] = {0, 0}, text_ind[2] = {SQL_DATA_AT_EXEC, SQL_DATA_AT_EXEC};
  char texts[2][4] = {};
  SetAttr(stmt, SQL_ATTR_PARAMSET_SIZE, 2);
  BindInt(stmt, 1, status, status_ind, SQL_PARAM_OUTPUT);
  SQLBindParameter(stmt, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 0, 0, texts, 4, text_ind);
  BindInt(stmt, 3, lengths, length_ind, SQL_PARAM_OUTPUT);
  ASSERT_EQ(ExecDirect(stmt, "{? = call Laenge(?, ?)}"), SQL_NEED_DATA);
  const std::string piece(1000, 'x');
  SQLPOINTER token = nullptr;
  SQLRETURN rc;
  while ((rc = SQLParamData(stmt, &token)) == SQL_NEED_DATA) {
    int pieces = token == texts[0] ? 9 : 20;
    for (int i = 0; i < pieces; ++i) SQLPutData(stmt, const_cast<char*>(piece.data()), 1000);
  }
  EXPECT_STMT_OK(rc, stmt);
  EXPECT_THAT(lengths, ElementsAre(9000, 20000));
  EXPECT_THAT(status, ElementsAre(9001, 20001));
}

}  // namespace
}  // namespace odbctest
