// tsql_single(x): the aggregate behind a subquery used as a value. One row
// gives its value, none gives NULL, a second row is the server's error 512.
#include <sqlite3.h>

#include <string>

#include "sqlsim/functions/function_error.h"
#include "sqlsim/functions/register.h"

namespace sqlsim {
namespace {

struct SingleState {
  int64_t rows;
  sqlite3_value* value;
};

void SingleStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
  auto* state = static_cast<SingleState*>(sqlite3_aggregate_context(ctx, sizeof(SingleState)));
  if (!state) {
    sqlite3_result_error_nomem(ctx);
    return;
  }
  if (++state->rows > 1) {
    std::string error = EncodeFunctionError(
        512, "Subquery returned more than 1 value. This is not permitted when the subquery follows =, !=, <, <= , >, "
             ">= or when the subquery is used as an expression.");
    sqlite3_result_error(ctx, error.c_str(), static_cast<int>(error.size()));
    return;
  }
  state->value = sqlite3_value_dup(argv[0]);
}

void SingleFinal(sqlite3_context* ctx) {
  auto* state = static_cast<SingleState*>(sqlite3_aggregate_context(ctx, 0));
  if (!state || !state->value) {
    sqlite3_result_null(ctx);
    return;
  }
  if (state->rows == 1) sqlite3_result_value(ctx, state->value);
  sqlite3_value_free(state->value);
  state->value = nullptr;
}

}  // namespace

int RegisterSingleValue(sqlite3* db) {
  return sqlite3_create_function_v2(db, "tsql_single", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr,
                                    SingleStep, SingleFinal, nullptr);
}

}  // namespace sqlsim
