#include "records/record_db.h"

#include <gtest/gtest.h>

#include "frame/settings.h"
#include "support/sqlsim_db.h"
#include "tabledef/table_def.h"

#include <sqlext.h>

namespace recordtest {

bool RunScript(SQLHDBC dbc, const std::string& script) {
  char errors[2048];
  const bool ok = rv_CallStatement(dbc, script.c_str(), errors, sizeof errors) == 1;
  if (!ok) ADD_FAILURE() << errors << "\n" << script.substr(0, 500);
  return ok;
}

namespace {

// Runs sql and hands each row's statement handle to row.
template <typename Row>
void Query(SQLHDBC dbc, const std::string& sql, Row row) {
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  SQLAllocStmt(dbc, &stmt);
  if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS))) {
    while (SQL_SUCCEEDED(SQLFetch(stmt)) && row(stmt)) {
    }
  }
  SQLFreeStmt(stmt, SQL_DROP);
}

}  // namespace

std::string QueryText(SQLHDBC dbc, const std::string& sql) {
  std::string out = "<none>";
  Query(dbc, sql, [&](SQLHSTMT stmt) {
    char text[512] = {};
    SQLLEN indicator = 0;
    SQLGetData(stmt, 1, SQL_C_CHAR, text, sizeof text, &indicator);
    out = indicator == SQL_NULL_DATA ? "<null>" : text;
    return false;
  });
  return out;
}

std::vector<int32_t> QueryIds(SQLHDBC dbc, const std::string& sql) {
  std::vector<int32_t> ids;
  Query(dbc, sql, [&](SQLHSTMT stmt) {
    SQLINTEGER id = 0;
    SQLGetData(stmt, 1, SQL_C_LONG, &id, 0, nullptr);
    ids.push_back(id);
    return true;
  });
  return ids;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::vector<int32_t> Walk(SQLHDBC dbc, const TableDef* td, int32_t key, bool backward, const WalkCalls& calls) {
  std::vector<int32_t> ids;
  for (int32_t id = backward ? calls.last(dbc, td, key) : calls.first(dbc, td, key); id != 0 && ids.size() < 100;
       id = backward ? calls.prior(dbc, td, key, id) : calls.next(dbc, td, key, id)) {
    ids.push_back(id);
  }
  return ids;
}

std::vector<int32_t> WalkBothWays(SQLHDBC dbc, const TableDef* td, int32_t key, const WalkCalls& calls) {
  std::vector<int32_t> ids = Walk(dbc, td, key, false, calls);
  const std::vector<int32_t> back = Walk(dbc, td, key, true, calls);
  ids.insert(ids.end(), back.begin(), back.end());
  return ids;
}

RecordDb::RecordDb() : saved_{lerv32::ExSQL_Enabled, lerv32::OemConvert, lerv32::Display_Errors} {}

RecordDb::~RecordDb() {
  for (SQLHDBC dbc : connections_) rv_OdbcDisconnect(dbc);
  lerv32::ExSQL_Enabled = saved_[0];
  lerv32::OemConvert = saved_[1];
  lerv32::Display_Errors = saved_[2];
  rv_SetMandant("");
}

SQLHDBC RecordDb::Connect(const std::string& database) {
  auto dbc = static_cast<SQLHDBC>(
      rv_OdbcDriverConnect(nullptr, testenv::SqlsimConnectString(temp_.Path(), database, trace_).c_str()));
  EXPECT_NE(dbc, nullptr) << database;
  if (dbc != nullptr) connections_.push_back(dbc);
  return dbc;
}

SQLHDBC RecordDb::Open(const std::string& database, int transact_sql) {
  SQLHDBC dbc = Connect(database);
  const bool functions = dbc != nullptr && (!transact_sql || RunScript(dbc, testenv::ReadText(LERV32_DPXFUNC_SQL)));
  EXPECT_TRUE(functions && rv_CreateTable(dbc, td_.get(), transact_sql, nullptr) == 1) << database;
  return dbc;
}

std::vector<char> RecordDb::Blank(char fill) const {
  return std::vector<char>(static_cast<size_t>(lerv32::RecordSize(td_.get())), fill);
}

std::vector<char> RecordDb::Record(const std::vector<std::string>& values) const {
  std::vector<char> record = Blank('\0');
  for (int32_t i = 0; i < td_->FieldCnt; ++i) {
    EXPECT_EQ(rv_FieldFromString(td_.get(), i, record.data(), values[static_cast<size_t>(i)].c_str()), 1) << i;
  }
  return record;
}

std::vector<std::string> RecordDb::Texts(const std::vector<char>& record) const {
  std::vector<std::string> out;
  for (int32_t i = 0; i < td_->FieldCnt; ++i) {
    char text[300] = {};
    out.push_back(rv_FieldToString(td_.get(), i, record.data(), text));
  }
  return out;
}

std::vector<char> RecordDb::Read(SQLHDBC dbc, int32_t rec_id) const {
  std::vector<char> record = Blank('?');
  EXPECT_EQ(rv_OdbcGetRecord(dbc, td_.get(), rec_id, record.data()), 1) << "record " << rec_id;
  return record;
}

bool RecordDb::Traced(const std::string& statement) const {
  const std::string trace = Trace();
  return trace.find("\t" + statement + "\t") != std::string::npos ||
         trace.find("\t" + statement + "\n") != std::string::npos;
}

}  // namespace recordtest
