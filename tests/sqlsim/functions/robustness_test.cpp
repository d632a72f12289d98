// Every function answers every kind of argument with a value or a server
// error: never an internal failure, a crash or a hang.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "function_db.h"
#include "sqlsim/functions/function_error.h"

namespace sqlsim {
namespace {

struct Arg {
  enum class Kind { kNull, kInteger, kReal, kText, kBlob } kind;
  int64_t integer = 0;
  double real = 0;
  std::string bytes;
};

Arg Null() { return {Arg::Kind::kNull, 0, 0, ""}; }
Arg Int(int64_t v) { return {Arg::Kind::kInteger, v, 0, ""}; }
Arg Real(double v) { return {Arg::Kind::kReal, 0, v, ""}; }
Arg Text(std::string v) { return {Arg::Kind::kText, 0, 0, std::move(v)}; }
Arg Blob(std::string v) { return {Arg::Kind::kBlob, 0, 0, std::move(v)}; }

const std::vector<Arg>& Values() {
  static const std::vector<Arg> values = {
      Null(), Int(0), Int(-1), Int(7), Int(INT64_MAX), Int(INT64_MIN), Int(2147483648),
      Real(1.5), Real(-0.0), Real(1e308), Text(""), Text("   "), Text("abc"),
      Text("%[^_"), Text("2024-02-29 10:00:00.000"), Text("99999999999999999999"),
      Blob(""), Blob(std::string("\xFF\0", 2)),
  };
  return values;
}

// Fewer for three arguments and more, to keep the run short.
const std::vector<Arg>& FewValues() {
  static const std::vector<Arg> values = {
      Null(), Int(-1), Int(2147483648), Real(1.5), Text(""), Text("a%b"),
      Text("2024-02-29 10:00:00.000"), Blob("\xFF"),
  };
  return values;
}

struct StmtCloser {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtCloser>;

Stmt Prepare(sqlite3* db, const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr), SQLITE_OK) << sql;
  return Stmt(raw);
}

void Bind(sqlite3_stmt* stmt, int index, const Arg& a) {
  switch (a.kind) {
    case Arg::Kind::kNull: sqlite3_bind_null(stmt, index); break;
    case Arg::Kind::kInteger: sqlite3_bind_int64(stmt, index, a.integer); break;
    case Arg::Kind::kReal: sqlite3_bind_double(stmt, index, a.real); break;
    case Arg::Kind::kText:
      sqlite3_bind_text(stmt, index, a.bytes.data(), static_cast<int>(a.bytes.size()), SQLITE_STATIC);
      break;
    case Arg::Kind::kBlob:
      sqlite3_bind_blob(stmt, index, a.bytes.data(), static_cast<int>(a.bytes.size()), SQLITE_STATIC);
      break;
  }
}

// Runs the statement with these arguments: true for a row or a server
// error, false for anything else.
bool AnswersCleanly(sqlite3* db, sqlite3_stmt* stmt, const std::vector<const Arg*>& args) {
  sqlite3_reset(stmt);
  for (size_t i = 0; i < args.size(); ++i) Bind(stmt, static_cast<int>(i) + 1, *args[i]);
  if (sqlite3_step(stmt) == SQLITE_ROW) return true;
  return DecodeFunctionError(sqlite3_errmsg(db), nullptr, nullptr);
}

// Every list of `count` arguments from the pool, by counting in base
// pool.size().
void ForEachArgumentList(const std::vector<Arg>& pool, size_t count,
                         const std::function<void(const std::vector<const Arg*>&)>& call) {
  std::vector<size_t> index(count, 0);
  std::vector<const Arg*> args(count);
  for (;;) {
    for (size_t i = 0; i < count; ++i) args[i] = &pool[index[i]];
    call(args);
    size_t k = 0;
    while (k < count && ++index[k] == pool.size()) index[k++] = 0;
    if (k == count) return;
  }
}

std::string Describe(const std::vector<const Arg*>& args) {
  std::string out;
  for (const Arg* a : args) {
    out += out.empty() ? "" : ", ";
    switch (a->kind) {
      case Arg::Kind::kNull: out += "NULL"; break;
      case Arg::Kind::kInteger: out += std::to_string(a->integer); break;
      case Arg::Kind::kReal: out += std::to_string(a->real); break;
      case Arg::Kind::kText: out += "'" + a->bytes + "'"; break;
      case Arg::Kind::kBlob: out += "blob(" + std::to_string(a->bytes.size()) + ")"; break;
    }
  }
  return out;
}

struct Function {
  const char* name;
  size_t min_args;
  size_t max_args;
};

constexpr Function kFunctions[] = {
    {"tsql_like", 2, 3},      {"tsql_upper", 1, 1},     {"tsql_lower", 1, 1},
    {"tsql_ltrim", 1, 1},     {"tsql_rtrim", 1, 1},     {"tsql_len", 1, 1},
    {"tsql_datalength", 1, 1}, {"tsql_substring", 3, 3}, {"tsql_left", 2, 2},
    {"tsql_right", 2, 2},     {"tsql_replicate", 2, 2}, {"tsql_space", 1, 1},
    {"tsql_charindex", 2, 3}, {"tsql_replace", 3, 3},   {"tsql_abs", 1, 1},
    {"tsql_floor", 1, 1},     {"tsql_ceiling", 1, 1},   {"tsql_round", 2, 3},
    {"tsql_str", 1, 3},       {"tsql_add", 2, 2},       {"tsql_sub", 2, 2},
    {"tsql_mul", 2, 2},       {"tsql_div", 2, 2},       {"tsql_mod", 2, 2},
    {"tsql_neg", 1, 1},       {"tsql_isdate", 1, 1},    {"tsql_isnumeric", 1, 1},
    {"tsql_objname", 1, 1},
};

TEST(RobustnessTest, FunctionsOverAllArgumentKinds) {
  testing::FunctionDb db;
  for (const Function& f : kFunctions) {
    for (size_t n = f.min_args; n <= f.max_args; ++n) {
      std::string sql = std::string("SELECT ") + f.name + "(?";
      for (size_t i = 1; i < n; ++i) sql += ", ?";
      Stmt stmt = Prepare(db.handle(), sql + ")");
      ASSERT_TRUE(stmt);
      ForEachArgumentList(n > 2 ? FewValues() : Values(), n, [&](const std::vector<const Arg*>& args) {
        EXPECT_TRUE(AnswersCleanly(db.handle(), stmt.get(), args))
            << f.name << "(" << Describe(args) << "): " << sqlite3_errmsg(db.handle());
      });
    }
  }
}

TEST(RobustnessTest, ConversionsOverAllTypesLengthsAndStyles) {
  testing::FunctionDb db;
  Stmt convert = Prepare(db.handle(), "SELECT tsql_convert(?, ?, ?, ?, ?)");
  Stmt store = Prepare(db.handle(), "SELECT tsql_store(?, ?, ?, ?, 'c')");
  ASSERT_TRUE(convert && store);
  std::vector<Arg> types;
  for (const char* t : {"", "char", "varchar", "text", "int", "smallint", "tinyint", "bigint",
                        "bit", "float", "real", "decimal", "datetime", "binary", "varbinary",
                        "image", "nonsense"}) {
    types.push_back(Text(t));
  }
  const std::vector<Arg> sources = {Text(""), Text("datetime"), Text("varchar"), Text("int"),
                                    Text("float")};
  const std::vector<Arg> lengths = {Int(-1), Int(0), Int(3), Int(8001), Text("x")};
  const std::vector<Arg> styles = {Int(-1), Int(1), Int(103), Int(126), Int(999)};
  for (const Arg& value : Values()) {
    for (const Arg& source : sources) {
      for (const Arg& target : types) {
        for (const Arg& length : lengths) {
          std::vector<const Arg*> args = {&value, &source, &target, &length};
          EXPECT_TRUE(AnswersCleanly(db.handle(), store.get(), args)) << "store " << Describe(args);
          args.push_back(nullptr);
          for (const Arg& style : styles) {
            args.back() = &style;
            EXPECT_TRUE(AnswersCleanly(db.handle(), convert.get(), args))
                << "convert " << Describe(args) << ": " << sqlite3_errmsg(db.handle());
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace sqlsim
