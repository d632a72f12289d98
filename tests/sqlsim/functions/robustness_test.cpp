// Every function answers every kind of argument with a value or a server
// error: never an internal failure, a crash or a hang.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <string>
#include <vector>

#include "sqlsim/functions/function_error.h"
#include "sqlsim/functions/register.h"

namespace sqlsim {
namespace {

// SQL literals of every storage class and some edges.
const std::vector<std::string> kValues = {
    "NULL", "0", "-1", "7", "9223372036854775807", "-9223372036854775808", "2147483648", "1.5", "-0.0",
    "1e308", "''", "'   '", "'abc'", "'%[^_'", "'2024-02-29 10:00:00.000'", "'99999999999999999999'",
    "x''", "x'FF00'"};
// Fewer for three arguments and more, to keep the run short.
const std::vector<std::string> kFewValues = {
    "NULL", "-1", "2147483648", "1.5", "''", "'a%b'", "'2024-02-29 10:00:00.000'", "x'FF'"};

// Every list of `count` arguments from the pools, by counting in base pool.size().
void ForEachArgumentList(const std::vector<const std::vector<std::string>*>& pools,
                         const std::function<void(const std::string&)>& call) {
  std::vector<size_t> index(pools.size(), 0);
  for (;;) {
    std::string args;
    for (size_t i = 0; i < pools.size(); ++i) args += (i ? ", " : "") + (*pools[i])[index[i]];
    call(args);
    size_t k = 0;
    while (k < pools.size() && ++index[k] == pools[k]->size()) index[k++] = 0;
    if (k == pools.size()) return;
  }
}

class RobustnessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sqlite3_open(":memory:", &db_), SQLITE_OK);
    ASSERT_EQ(RegisterTsqlFunctions(db_), SQLITE_OK);
  }
  void TearDown() override { sqlite3_close(db_); }
  // A row or a server error; anything else fails.
  void ExpectClean(const std::string& call) {
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db_, ("SELECT " + call).c_str(), -1, &stmt, nullptr), SQLITE_OK) << call;
    bool clean = sqlite3_step(stmt) == SQLITE_ROW || DecodeFunctionError(sqlite3_errmsg(db_), nullptr, nullptr);
    EXPECT_TRUE(clean) << call << ": " << sqlite3_errmsg(db_);
    sqlite3_finalize(stmt);
  }
  sqlite3* db_ = nullptr;
};

TEST_F(RobustnessTest, FunctionsOverAllArgumentKinds) {
  const struct {
    const char* name;
    size_t min_args;
    size_t max_args;
  } functions[] = {
      {"tsql_like", 2, 3},       {"tsql_upper", 1, 1},     {"tsql_lower", 1, 1},
      {"tsql_ltrim", 1, 1},      {"tsql_rtrim", 1, 1},     {"tsql_len", 1, 1},
      {"tsql_datalength", 1, 1}, {"tsql_substring", 3, 3}, {"tsql_left", 2, 2},
      {"tsql_right", 2, 2},      {"tsql_replicate", 2, 2}, {"tsql_space", 1, 1},
      {"tsql_charindex", 2, 3},  {"tsql_replace", 3, 3},   {"tsql_abs", 1, 1},
      {"tsql_floor", 1, 1},      {"tsql_ceiling", 1, 1},   {"tsql_round", 2, 3},
      {"tsql_str", 1, 3},        {"tsql_add", 2, 2},       {"tsql_sub", 2, 2},
      {"tsql_mul", 2, 2},        {"tsql_div", 2, 2},       {"tsql_mod", 2, 2},
      {"tsql_neg", 1, 1},        {"tsql_isdate", 1, 1},    {"tsql_isnumeric", 1, 1}, {"tsql_objname", 1, 1},
  };
  for (const auto& f : functions) {
    for (size_t n = f.min_args; n <= f.max_args; ++n) {
      std::vector<const std::vector<std::string>*> pools(n, n > 2 ? &kFewValues : &kValues);
      ForEachArgumentList(pools, [&](const std::string& args) { ExpectClean(f.name + ("(" + args + ")")); });
    }
  }
}

TEST_F(RobustnessTest, ConversionsOverAllTypesLengthsAndStyles) {
  const std::vector<std::string> types = {
      "''",      "'char'", "'varchar'", "'text'",     "'int'",      "'smallint'", "'tinyint'",
      "'bigint'", "'bit'", "'float'",   "'real'",     "'decimal'",  "'datetime'", "'binary'",
      "'varbinary'", "'image'", "'nonsense'"};
  const std::vector<std::string> sources = {"''", "'datetime'", "'varchar'", "'int'", "'float'"};
  const std::vector<std::string> lengths = {"-1", "0", "3", "8001", "'x'"};
  const std::vector<std::string> styles = {"-1", "1", "103", "126", "999"};
  ForEachArgumentList({&kValues, &sources, &types, &lengths}, [&](const std::string& args) {
    ExpectClean("tsql_store(" + args + ", 'c')");
  });
  ForEachArgumentList({&kValues, &sources, &types, &lengths, &styles},
                      [&](const std::string& args) { ExpectClean("tsql_convert(" + args + ")"); });
}

}  // namespace
}  // namespace sqlsim
