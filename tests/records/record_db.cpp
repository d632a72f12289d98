#include "records/record_db.h"

#include <gtest/gtest.h>

#include <vector>

#include <sqlext.h>

namespace recordtest {

bool RunScript(SQLHDBC dbc, const std::string& script) {
  std::vector<std::string> batches(1);
  size_t start = 0;
  while (start < script.size()) {
    size_t end = script.find('\n', start);
    std::string line = script.substr(start, end == std::string::npos ? std::string::npos : end - start + 1);
    start = end == std::string::npos ? script.size() : end + 1;
    if (line == "GO\r\n") batches.emplace_back();
    else batches.back() += line;
  }
  for (const std::string& batch : batches) {
    if (batch.find_first_not_of(" \r\n") == std::string::npos) continue;
    SQLHSTMT stmt = SQL_NULL_HSTMT;
    SQLAllocStmt(dbc, &stmt);
    SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(batch.c_str())), SQL_NTS);
    while (SQL_SUCCEEDED(rc) && SQLMoreResults(stmt) != SQL_NO_DATA) {
    }
    SQLFreeStmt(stmt, SQL_DROP);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
      ADD_FAILURE() << "batch failed:\n" << batch;
      return false;
    }
  }
  return true;
}

std::string CreateScript(TableDef* td, int transact_sql) {
  std::vector<char> buffer(1 << 20);
  std::string script;
  rv_GenSqlTableDefN(td, buffer.data(), static_cast<int32_t>(buffer.size()), transact_sql);
  script += buffer.data();
  if (transact_sql) {
    rv_GenSqlTableBasicProcN(td, buffer.data(), static_cast<int32_t>(buffer.size()), 1);
    script += buffer.data();
  }
  for (int32_t k = 0; k < td->KeyCnt; ++k) {
    rv_GenSqlIndexDefN(td, buffer.data(), static_cast<int32_t>(buffer.size()), k, transact_sql);
    script += buffer.data();
  }
  return script;
}

}  // namespace recordtest
