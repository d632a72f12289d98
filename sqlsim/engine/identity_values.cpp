// The SQLite functions that give identity values SQLite's AUTOINCREMENT
// does not: another increment than 1, a seed below 1, and the server's
// refusal of an explicit NULL.
#include <sqlite3.h>

#include <algorithm>
#include <optional>
#include <string>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/identity.h"
#include "sqlsim/functions/function_error.h"

namespace sqlsim {
namespace {

using ddl::Query;

std::optional<int64_t> OptionalInt(Query& query) {
  if (!query.Next() || query.IsNull(0)) return std::nullopt;
  return query.Int(0);
}

void Raise(sqlite3_context* context, int32_t number, const std::string& message) {
  std::string text = EncodeFunctionError(number, message);
  sqlite3_result_error(context, text.c_str(), static_cast<int>(text.size()));
}

// tsql_next_identity(table, seed, increment): the table's current value
// moved by the increment. The current value is the furthest of the
// counter (set a step before the seed when the table was made), the rows
// in the table (the rows this statement inserted so far among them) and
// the value this statement last handed out.
void NextIdentity(sqlite3_context* context, int, sqlite3_value** argv) {
  sqlite3* db = sqlite3_context_db_handle(context);
  std::string table = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
  int64_t seed = sqlite3_value_int64(argv[1]);
  int64_t increment = sqlite3_value_int64(argv[2]);
  bool up = increment > 0;
  auto further = [up](int64_t a, int64_t b) { return up ? std::max(a, b) : std::min(a, b); };
  int64_t current = seed;
  if (__builtin_sub_overflow(seed, increment, &current)) current = seed;
  Query counter(db, "SELECT seq FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE");
  counter.Bind(1, table);
  if (std::optional<int64_t> seq = OptionalInt(counter)) current = further(current, *seq);
  Query rows(db, std::string("SELECT ") + (up ? "max" : "min") + "(rowid) FROM " + ddl::QuoteId(table));
  if (std::optional<int64_t> row = OptionalInt(rows)) current = further(current, *row);
  if (auto* last = static_cast<int64_t*>(sqlite3_get_auxdata(context, 0))) current = further(current, *last);
  int64_t next = 0;
  if (__builtin_add_overflow(current, increment, &next)) {
    return Raise(context, 8115, "Arithmetic overflow error converting IDENTITY to data type bigint.");
  }
  sqlite3_set_auxdata(context, 0, new int64_t(next), [](void* p) { delete static_cast<int64_t*>(p); });
  sqlite3_result_int64(context, next);
}

// tsql_explicit_identity(value, column, table): the value given with
// IDENTITY_INSERT ON; SQLite would number a NULL row id.
void ExplicitIdentity(sqlite3_context* context, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_NULL) return sqlite3_result_value(context, argv[0]);
  sqlite3* db = sqlite3_context_db_handle(context);
  std::string column = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
  std::string table = reinterpret_cast<const char*>(sqlite3_value_text(argv[2]));
  Raise(context, 515, "Cannot insert the value NULL into column '" + column + "', table '" + ddl::DatabaseName(db) +
                          ".dbo." + table + "'; column does not allow nulls. INSERT fails.");
}

}  // namespace

int RegisterIdentityValues(sqlite3* db) {
  int rc = sqlite3_create_function_v2(db, "tsql_next_identity", 3, SQLITE_UTF8, nullptr, NextIdentity, nullptr,
                                      nullptr, nullptr);
  if (rc != SQLITE_OK) return rc;
  return sqlite3_create_function_v2(db, "tsql_explicit_identity", 3, SQLITE_UTF8, nullptr, ExplicitIdentity,
                                    nullptr, nullptr, nullptr);
}

}  // namespace sqlsim
