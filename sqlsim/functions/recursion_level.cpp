// tsql_cte_level(level, max): the level of a row a recursive member makes
// from a row of the given level, or the server's error 530 once it passes
// MAXRECURSION (0: no limit). Called once per row: no Value copies.
#include <string>

#include "sqlsim/functions/function_error.h"
#include "sqlsim/functions/register.h"

namespace sqlsim {
namespace {

void NextLevel(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const sqlite3_int64 level = sqlite3_value_int64(argv[0]) + 1;
  const sqlite3_int64 max = sqlite3_value_int64(argv[1]);
  if (max > 0 && level > max) {
    const std::string error = EncodeFunctionError(
        530, "The statement terminated. The maximum recursion " + std::to_string(max) +
                 " has been exhausted before statement completion.");
    sqlite3_result_error(ctx, error.c_str(), -1);
    return;
  }
  sqlite3_result_int64(ctx, level);
}

}  // namespace

int RegisterRecursionLevel(sqlite3* db) {
  return sqlite3_create_function_v2(db, "tsql_cte_level", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                    NextLevel, nullptr, nullptr, nullptr);
}

}  // namespace sqlsim
