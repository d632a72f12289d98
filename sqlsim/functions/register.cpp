#include "sqlsim/functions/register.h"

#include <new>
#include <string_view>

#include "sqlsim/engine/types.h"
#include "sqlsim/functions/builtins.h"
#include "sqlsim/functions/function_error.h"
#include "sqlsim/functions/text.h"

namespace sqlsim {

namespace {

using Builtin = Outcome (*)(const builtins::Args&);

Value ArgumentValue(sqlite3_value* v) {
  switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER: return Value::Integer(sqlite3_value_int64(v));
    case SQLITE_FLOAT: return Value::Real(sqlite3_value_double(v));
    case SQLITE_TEXT: {
      const unsigned char* p = sqlite3_value_text(v);
      auto n = static_cast<size_t>(sqlite3_value_bytes(v));
      return Value::Text(p == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(p), n));
    }
    case SQLITE_BLOB: {
      const void* p = sqlite3_value_blob(v);
      auto n = static_cast<size_t>(sqlite3_value_bytes(v));
      return Value::Blob(p == nullptr ? std::string() : std::string(static_cast<const char*>(p), n));
    }
    default: return Value::Null();
  }
}

void SetResult(sqlite3_context* ctx, const Outcome& out) {
  if (!out.ok()) {
    sqlite3_result_error(ctx, EncodeFunctionError(out.error, out.message).c_str(), -1);
    return;
  }
  const Value& v = out.value;
  switch (v.kind) {
    case Value::Kind::kNull: sqlite3_result_null(ctx); break;
    case Value::Kind::kInteger: sqlite3_result_int64(ctx, v.integer); break;
    case Value::Kind::kReal: sqlite3_result_double(ctx, v.real); break;
    case Value::Kind::kText:
      sqlite3_result_text64(ctx, v.bytes.data(), v.bytes.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
      break;
    case Value::Kind::kBlob:
      sqlite3_result_blob64(ctx, v.bytes.data(), v.bytes.size(), SQLITE_TRANSIENT);
      break;
  }
}

// Chains of one operator take any number of operands.
constexpr int kAnyCount = -1;

struct Registration {
  const char* name;
  int min_args;
  int max_args;  // kAnyCount: registered once for every count
  Builtin fn;
};

// The one entry from SQLite: no exception may cross back into C.
void Call(sqlite3_context* ctx, int argc, sqlite3_value** argv) noexcept {
  Builtin fn = static_cast<const Registration*>(sqlite3_user_data(ctx))->fn;
  try {
    builtins::Args args;
    args.reserve(static_cast<size_t>(argc));
    for (int i = 0; i < argc; ++i) args.push_back(ArgumentValue(argv[i]));
    SetResult(ctx, fn(args));
  } catch (const std::bad_alloc&) {
    sqlite3_result_error_nomem(ctx);
  } catch (...) {
    sqlite3_result_error(ctx, "sqlsim: internal error in a function", -1);
  }
}

int Collate(void*, int size_a, const void* a, int size_b, const void* b) {
  return CompareTsql(std::string_view(static_cast<const char*>(a), static_cast<size_t>(size_a)),
                     std::string_view(static_cast<const char*>(b), static_cast<size_t>(size_b)));
}

constexpr Registration kFunctions[] = {
    {"tsql_like", 2, 3, builtins::Like},
    {"tsql_like_prefix", 1, 1, builtins::LikePrefix},
    {"tsql_upper", 1, 1, builtins::Upper},
    {"tsql_lower", 1, 1, builtins::Lower},
    {"tsql_ltrim", 1, 1, builtins::Ltrim},
    {"tsql_rtrim", 1, 1, builtins::Rtrim},
    {"tsql_len", 1, 1, builtins::Len},
    {"tsql_datalength", 1, 1, builtins::Datalength},
    {"tsql_substring", 3, 3, builtins::Substring},
    {"tsql_left", 2, 2, builtins::Left},
    {"tsql_right", 2, 2, builtins::Right},
    {"tsql_replicate", 2, 3, builtins::Replicate},
    {"tsql_space", 1, 1, builtins::Space},
    {"tsql_charindex", 2, 3, builtins::Charindex},
    {"tsql_replace", 3, 4, builtins::Replace},
    {"tsql_dateadd", 3, 3, builtins::Dateadd},
    {"tsql_datediff", 3, 3, builtins::Datediff},
    {"tsql_datepart", 2, 2, builtins::Datepart},
    {"tsql_datename", 2, 2, builtins::Datename},
    {"tsql_eomonth", 1, 2, builtins::Eomonth},
    {"tsql_concat", 2, kAnyCount, builtins::Concat},
    {"tsql_concat_max", 2, kAnyCount, builtins::ConcatMax},
    {"tsql_patindex", 2, 2, builtins::Patindex},
    {"tsql_stuff", 4, 5, builtins::Stuff},
    {"tsql_char", 1, 1, builtins::Char},
    {"tsql_ascii", 1, 1, builtins::Ascii},
    {"tsql_nchar", 1, 1, builtins::Nchar},
    {"tsql_unicode", 1, 1, builtins::Unicode},
    {"tsql_format", 4, 4, builtins::Format},
    {"tsql_try_convert", 5, 5, builtins::TryConvert},
    {"tsql_abs", 1, 1, builtins::Abs},
    {"tsql_floor", 1, 1, builtins::Floor},
    {"tsql_ceiling", 1, 1, builtins::Ceiling},
    {"tsql_round", 2, 3, builtins::Round},
    {"tsql_str", 1, 3, builtins::Str},
    {"tsql_convert", 5, 5, builtins::Convert},
    {"tsql_store", 5, 5, builtins::Store},
    {"tsql_add", 2, kAnyCount, builtins::Add},
    {"tsql_sub", 2, kAnyCount, builtins::Subtract},
    {"tsql_mul", 2, kAnyCount, builtins::Multiply},
    {"tsql_div", 2, 2, builtins::Divide},
    {"tsql_mod", 2, 2, builtins::Modulo},
    {"tsql_neg", 1, 1, builtins::Negative},
    {"tsql_isdate", 1, 1, builtins::Isdate},
    {"tsql_isnumeric", 1, 1, builtins::Isnumeric},
    {"tsql_objname", 1, 1, builtins::Objname},
    {"tsql_offset_rows", 1, 1, builtins::OffsetRows},
    {"tsql_fetch_rows", 1, 1, builtins::FetchRows},
    {"tsql_lag_offset", 1, 1, builtins::LagOffset},
    {"tsql_ntile_count", 1, 1, builtins::NtileCount},
};
constexpr Registration kGetdate = {"tsql_getdate", 0, 0, builtins::Getdate};

void* UserData(const Registration& r) { return const_cast<Registration*>(&r); }

}  // namespace

int RegisterTsqlFunctions(sqlite3* db) {
  int rc = sqlite3_create_collation_v2(db, kCollation, SQLITE_UTF8, nullptr, Collate, nullptr);
  if (rc != SQLITE_OK) return rc;
  constexpr int kDeterministic = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  for (const Registration& r : kFunctions) {
    if (r.max_args == kAnyCount) {
      rc = sqlite3_create_function_v2(db, r.name, -1, kDeterministic, UserData(r), Call,
                                      nullptr, nullptr, nullptr);
      if (rc != SQLITE_OK) return rc;
      continue;
    }
    for (int n = r.min_args; n <= r.max_args; ++n) {
      rc = sqlite3_create_function_v2(db, r.name, n, kDeterministic,
                                      UserData(r), Call, nullptr,
                                      nullptr, nullptr);
      if (rc != SQLITE_OK) return rc;
    }
  }
  rc = RegisterSingleValue(db);
  if (rc != SQLITE_OK) return rc;
  rc = RegisterRecursionLevel(db);
  if (rc != SQLITE_OK) return rc;
  // Not deterministic: SQLite must call it again for each statement.
  return sqlite3_create_function_v2(db, kGetdate.name, 0, SQLITE_UTF8, UserData(kGetdate),
                                    Call, nullptr, nullptr, nullptr);
}

}  // namespace sqlsim
