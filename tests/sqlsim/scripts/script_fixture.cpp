#include "tests/sqlsim/scripts/script_fixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "tests/schema/sample_defs.h"

namespace scripts {

std::string CreateScript(TableDef* td) {
  std::vector<char> out(1 << 20);
  const auto size = static_cast<int32_t>(out.size());
  rv_GenSqlTableDefN(td, out.data(), size, 1);
  std::string script = out.data();
  rv_GenSqlTableBasicProcN(td, out.data(), size, 1);
  script += out.data();
  for (int32_t k = 0; k < td->KeyCnt; ++k) {
    rv_GenSqlIndexDefN(td, out.data(), size, k, 1);
    script += out.data();
  }
  return script;
}

void ScriptTest::SetUp() {
  OdbcTest::SetUp();
  if (HasFatalFailure()) return;
  std::ifstream in(SQLSIM_DPXFUNC_SQL, std::ios::binary);
  std::ostringstream dpx;
  dpx << in.rdbuf();
  dpxfunc_ = dpx.str();
  ASSERT_FALSE(dpxfunc_.empty()) << SQLSIM_DPXFUNC_SQL;
  ASSERT_TRUE(Run(dpxfunc_));
}

::testing::AssertionResult ScriptTest::Run(const std::string& script) {
  std::vector<std::string> batches(1);
  for (std::size_t at = 0, end = 0; at < script.size(); at = end) {
    end = std::min(script.find('\n', at), script.size() - 1) + 1;
    const std::string line = script.substr(at, end - at);
    if (line == "GO\r\n") batches.emplace_back();
    else batches.back() += line;
  }
  for (const std::string& batch : batches) {
    if (batch.find_first_not_of(" \r\n") == std::string::npos) continue;
    odbctest::Statement stmt(dbc());
    SQLRETURN rc = SQLExecDirect(stmt, odbctest::Text(batch), SQL_NTS);
    while (SQL_SUCCEEDED(rc)) rc = SQLMoreResults(stmt);
    if (rc != SQL_NO_DATA) {
      return ::testing::AssertionFailure() << batch << "\n-> " << odbctest::Explain(rc, SQL_HANDLE_STMT, stmt);
    }
  }
  return ::testing::AssertionSuccess();
}

Rowset ScriptTest::Rows(const std::string& sql, const std::vector<Param>& params) {
  odbctest::Statement stmt(dbc());
  std::vector<SQLLEN> lengths(params.size());
  for (std::size_t i = 0; i < params.size(); ++i) {
    const Param& p = params[i];
    lengths[i] = static_cast<SQLLEN>(p.text.size());
    SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR, p.sql_type, p.size,
                     p.sql_type == SQL_TYPE_TIMESTAMP ? 3 : 0, const_cast<char*>(p.text.c_str()), lengths[i],
                     &lengths[i]);
  }
  Rowset rows;
  SQLRETURN rc = SQLExecDirect(stmt, odbctest::Text(sql), SQL_NTS);
  while (SQL_SUCCEEDED(rc)) {
    SQLSMALLINT columns = 0;
    SQLNumResultCols(stmt, &columns);
    while (columns > 0 && SQL_SUCCEEDED(rc = SQLFetch(stmt))) {
      Row row;
      for (SQLUSMALLINT c = 1; c <= columns; ++c) {
        std::string text(8000, '\0');
        SQLLEN ind = 0;
        rc = SQLGetData(stmt, c, SQL_C_CHAR, &text[0], static_cast<SQLLEN>(text.size()), &ind);
        row.push_back(ind == SQL_NULL_DATA ? "NULL" : text.c_str());
      }
      rows.push_back(row);
    }
    if (columns > 0 && rc != SQL_NO_DATA) break;
    rc = SQLMoreResults(stmt);
  }
  EXPECT_EQ(rc, SQL_NO_DATA) << sql << "\n-> " << odbctest::Explain(rc, SQL_HANDLE_STMT, stmt);
  return rows;
}

Rowset ScriptTest::Call(const std::string& proc, const Row& values) {
  std::string sql = "EXECUTE [" + proc + "]";
  std::vector<Param> params;
  for (const std::string& v : values) {
    sql += params.empty() ? " ?" : ",?";
    params.push_back({v});
  }
  return Rows(sql, params);
}

Ids ScriptTest::Ints(const std::string& sql, const std::vector<Param>& params) {
  Ids ids;
  for (const Row& row : Rows(sql, params)) ids.push_back(std::stoll(row.at(0)));
  return ids;
}

std::string ScriptTest::FailState(const std::string& sql) {
  odbctest::Statement stmt(dbc());
  EXPECT_EQ(SQLExecDirect(stmt, odbctest::Text(sql), SQL_NTS), SQL_ERROR) << sql;
  return odbctest::FirstState(SQL_HANDLE_STMT, stmt);
}

testenv::TableDefPtr ScriptTest::Create(const std::vector<std::string>& lines, const char* mandant) {
  rv_SetMandant(mandant);
  testenv::TableDefPtr td = testenv::NewTableDef();
  lerv32::ApplyDefinitionLines(td.get(), lines);
  EXPECT_TRUE(Run(CreateScript(td.get())));
  return td;
}

testenv::TableDefPtr ScriptTest::CreateSample(const std::string& name) {
  for (const samples::Sample& sample : samples::All()) {
    if (name == sample.name) return Create(sample.lines, sample.mandant);
  }
  ADD_FAILURE() << "no sample " << name;
  return testenv::NewTableDef();
}

}  // namespace scripts
