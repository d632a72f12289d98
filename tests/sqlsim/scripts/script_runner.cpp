#include "tests/sqlsim/scripts/script_runner.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace scripts {
namespace {

// Room for the largest generated script; the generators stop at capacity.
constexpr int32_t kScriptCapacity = 1 << 20;
constexpr std::size_t kTextColumn = 8000;

bool StartsWith(const std::string& s, std::size_t at, const char* what) {
  return s.compare(at, std::char_traits<char>::length(what), what) == 0;
}

template <class Generate>
std::string Generated(Generate generate) {
  std::string out(kScriptCapacity, '\0');
  generate(&out[0], kScriptCapacity);
  return out.c_str();
}

std::string Describe(const std::string& batch, SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle) {
  return "batch:\n" + batch + "\n-> " + odbctest::Explain(rc, type, handle);
}

// Executes sql and reads every result; an error anywhere fails.
::testing::AssertionResult ExecuteDrained(SQLHDBC dbc, const std::string& sql, bool no_data_fails = false) {
  odbctest::Statement stmt(dbc);
  SQLRETURN rc = SQLExecDirect(stmt, odbctest::Text(sql), SQL_NTS);
  if (!SQL_SUCCEEDED(rc) && (rc != SQL_NO_DATA || no_data_fails)) {
    return ::testing::AssertionFailure() << Describe(sql, rc, SQL_HANDLE_STMT, stmt);
  }
  for (int results = 0;; ++results) {
    rc = SQLMoreResults(stmt);
    if (rc == SQL_NO_DATA) break;
    if (!SQL_SUCCEEDED(rc)) {
      return ::testing::AssertionFailure()
             << "result " << results + 2 << " of " << Describe(sql, rc, SQL_HANDLE_STMT, stmt);
    }
  }
  return ::testing::AssertionSuccess();
}

// Runs a query and hands each row to on_row; false when it failed.
template <class OnRow>
bool ForEachRow(SQLHDBC dbc, const std::string& sql, const std::vector<Param>& params, OnRow on_row) {
  odbctest::Statement stmt(dbc);
  std::vector<SQLLEN> lengths(params.size());
  for (std::size_t i = 0; i < params.size(); ++i) {
    const Param& p = params[i];
    lengths[i] = p.null ? SQL_NULL_DATA : static_cast<SQLLEN>(p.text.size());
    SQLRETURN bound = SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR,
                                       p.sql_type, p.size, p.digits, const_cast<char*>(p.text.c_str()),
                                       static_cast<SQLLEN>(p.text.size()), &lengths[i]);
    if (!SQL_SUCCEEDED(bound)) {
      ADD_FAILURE() << sql << "\n-> parameter " << i + 1 << " " << odbctest::Explain(bound, SQL_HANDLE_STMT, stmt);
      return false;
    }
  }
  SQLRETURN rc = SQLExecDirect(stmt, odbctest::Text(sql), SQL_NTS);
  if (!SQL_SUCCEEDED(rc)) {
    ADD_FAILURE() << sql << "\n-> " << odbctest::Explain(rc, SQL_HANDLE_STMT, stmt);
    return false;
  }
  SQLSMALLINT columns = 0;
  SQLNumResultCols(stmt, &columns);
  // A procedure may send row counts ahead of its result set.
  while (columns == 0) {
    rc = SQLMoreResults(stmt);
    if (rc == SQL_NO_DATA) return true;
    if (!SQL_SUCCEEDED(rc)) {
      ADD_FAILURE() << sql << "\n-> " << odbctest::Explain(rc, SQL_HANDLE_STMT, stmt);
      return false;
    }
    SQLNumResultCols(stmt, &columns);
  }
  while ((rc = SQLFetch(stmt)) != SQL_NO_DATA) {
    if (!SQL_SUCCEEDED(rc)) {
      ADD_FAILURE() << sql << "\n-> fetch " << odbctest::Explain(rc, SQL_HANDLE_STMT, stmt);
      return false;
    }
    std::vector<std::optional<std::string>> row;
    for (SQLUSMALLINT c = 1; c <= columns; ++c) {
      std::string text(kTextColumn, '\0');
      SQLLEN ind = 0;
      rc = SQLGetData(stmt, c, SQL_C_CHAR, &text[0], static_cast<SQLLEN>(text.size()), &ind);
      if (!SQL_SUCCEEDED(rc)) {
        ADD_FAILURE() << sql << "\n-> column " << c << " " << odbctest::Explain(rc, SQL_HANDLE_STMT, stmt);
        return false;
      }
      row.push_back(ind == SQL_NULL_DATA ? std::nullopt : std::optional<std::string>(text.c_str()));
    }
    on_row(row);
  }
  // Errors raised after the rows (a procedure's later statements) count too.
  while ((rc = SQLMoreResults(stmt)) != SQL_NO_DATA) {
    if (!SQL_SUCCEEDED(rc)) {
      ADD_FAILURE() << sql << "\n-> later result " << odbctest::Explain(rc, SQL_HANDLE_STMT, stmt);
      return false;
    }
  }
  return true;
}

std::optional<int64_t> ParseInt(const std::string& text) {
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || errno != 0 || *end != '\0') {
    ADD_FAILURE() << "not an integer: '" << text << "'";
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::vector<std::string> SplitScript(const std::string& script) {
  std::vector<std::string> batches;
  std::string batch;
  bool line_start = true;
  std::size_t at = 0;
  const auto end_batch = [&] {
    if (!batch.empty()) batches.push_back(batch);
    batch.clear();
  };
  while (at < script.size()) {
    const char c = script[at];
    if (line_start && StartsWith(script, at, "GO\r\n")) {
      end_batch();
      at += 4;
    } else if (line_start && StartsWith(script, at, "/*")) {
      const std::size_t close = script.find("*/", at + 2);
      at = close == std::string::npos ? script.size() : close + 2;
    } else {
      batch += c;
      line_start = c == '\r' || c == '\n';
      ++at;
    }
  }
  end_batch();
  return batches;
}

::testing::AssertionResult RunScript(SQLHDBC dbc, const std::string& script) {
  return RunBatches(dbc, script, false);
}

::testing::AssertionResult RunScriptAsHost(SQLHDBC dbc, const std::string& script) {
  return RunBatches(dbc, script, true);
}

::testing::AssertionResult RunBatches(SQLHDBC dbc, const std::string& script, bool no_data_fails) {
  const std::vector<std::string> batches = SplitScript(script);
  for (std::size_t i = 0; i < batches.size(); ++i) {
    ::testing::AssertionResult result = ExecuteDrained(dbc, batches[i], no_data_fails);
    if (!result) {
      return ::testing::AssertionFailure() << "batch " << i + 1 << " of " << batches.size() << " failed, "
                                           << result.message();
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult Execute(SQLHDBC dbc, const std::string& sql) { return ExecuteDrained(dbc, sql); }

std::string CreateScript(TableDef* td) {
  std::string script = Generated([&](char* out, int32_t capacity) { rv_GenSqlTableDefN(td, out, capacity, 1); });
  script += Generated([&](char* out, int32_t capacity) { rv_GenSqlTableBasicProcN(td, out, capacity, 1); });
  for (int32_t k = 0; k < td->KeyCnt; ++k) {
    script += Generated([&](char* out, int32_t capacity) { rv_GenSqlIndexDefN(td, out, capacity, k, 1); });
  }
  return script;
}

std::optional<int64_t> QueryInt(SQLHDBC dbc, const std::string& sql) {
  const std::optional<std::string> text = QueryText(dbc, sql);
  if (!text) return std::nullopt;
  return ParseInt(*text);
}

std::optional<std::string> QueryText(SQLHDBC dbc, const std::string& sql) {
  std::optional<std::string> first;
  bool seen = false;
  ForEachRow(dbc, sql, {}, [&](const std::vector<std::optional<std::string>>& row) {
    if (!seen) first = row[0];
    seen = true;
  });
  return first;
}

std::vector<int64_t> QueryInts(SQLHDBC dbc, const std::string& sql) {
  std::vector<int64_t> values;
  ForEachRow(dbc, sql, {}, [&](const std::vector<std::optional<std::string>>& row) {
    if (!row[0]) return;
    if (const std::optional<int64_t> value = ParseInt(*row[0])) values.push_back(*value);
  });
  return values;
}

std::vector<std::vector<std::string>> QueryRows(SQLHDBC dbc, const std::string& sql) {
  return QueryRows(dbc, sql, {});
}

std::vector<std::vector<std::string>> QueryRows(SQLHDBC dbc, const std::string& sql,
                                               const std::vector<Param>& params) {
  std::vector<std::vector<std::string>> rows;
  ForEachRow(dbc, sql, params, [&](const std::vector<std::optional<std::string>>& row) {
    std::vector<std::string> texts;
    for (const auto& value : row) texts.push_back(value ? *value : "NULL");
    rows.push_back(texts);
  });
  return rows;
}

std::string DpxFunctionScript() {
  std::ifstream in(SQLSIM_DPXFUNC_SQL, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void ScriptTest::SetUp() {
  OdbcTest::SetUp();
  if (HasFatalFailure()) return;
  const std::string dpx = DpxFunctionScript();
  ASSERT_FALSE(dpx.empty()) << "cannot read " << SQLSIM_DPXFUNC_SQL;
  ASSERT_TRUE(RunScript(dbc(), dpx));
}

void ScriptTest::TearDown() { rv_SetMandant(""); }

testenv::TableDefPtr ScriptTest::LoadSample(const std::string& name) {
  for (const samples::Sample& sample : samples::All()) {
    if (name == sample.name) return samples::Load(sample);
  }
  ADD_FAILURE() << "no sample " << name;
  return testenv::NewTableDef();
}

testenv::TableDefPtr ScriptTest::CreateSample(const std::string& name) {
  testenv::TableDefPtr td = LoadSample(name);
  EXPECT_TRUE(RunScript(dbc(), CreateScript(td.get()))) << name;
  return td;
}

}  // namespace scripts
