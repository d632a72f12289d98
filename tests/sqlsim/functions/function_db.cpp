#include "function_db.h"

#include <gtest/gtest.h>

#include <charconv>
#include <memory>

#include "sqlsim/functions/function_error.h"
#include "sqlsim/functions/register.h"

namespace sqlsim::testing {

namespace {

struct StmtCloser {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtCloser>;

std::string Hex(const void* data, int size) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (int i = 0; i < size; ++i) {
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  return out;
}

std::string RenderColumn(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER: return "I:" + std::to_string(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT: {
      char buf[64];
      auto r = std::to_chars(buf, buf + sizeof buf, sqlite3_column_double(stmt, column));
      return "R:" + std::string(buf, r.ptr);
    }
    case SQLITE_TEXT: {
      const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
      return "T:" + std::string(p, static_cast<size_t>(sqlite3_column_bytes(stmt, column)));
    }
    case SQLITE_BLOB: {
      const void* p = sqlite3_column_blob(stmt, column);
      return "B:" + Hex(p, sqlite3_column_bytes(stmt, column));
    }
    default: return "NULL";
  }
}

}  // namespace

FunctionDb::FunctionDb() {
  if (sqlite3_open(":memory:", &db_) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open an in-memory database";
    return;
  }
  EXPECT_EQ(RegisterTsqlFunctions(db_), SQLITE_OK);
}

FunctionDb::~FunctionDb() { sqlite3_close(db_); }


std::string FunctionDb::ErrorText() {
  int32_t number = 0;
  std::string message;
  if (DecodeFunctionError(sqlite3_errmsg(db_), &number, &message)) {
    return "E:" + std::to_string(number);
  }
  return std::string("SQLITE:") + sqlite3_errmsg(db_);
}

std::string FunctionDb::Eval(const std::string& expr) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, ("SELECT " + expr).c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    return ErrorText();
  }
  Stmt stmt(raw);
  int rc = sqlite3_step(stmt.get());
  if (rc == SQLITE_ROW) return RenderColumn(stmt.get(), 0);
  return ErrorText();
}

std::string FunctionDb::Exec(const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return "";
  sqlite3_free(error);
  return ErrorText();
}

std::string FunctionDb::Column(const std::string& sql) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) return ErrorText();
  Stmt stmt(raw);
  std::string out;
  int rc = SQLITE_ROW;
  while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
    if (!out.empty()) out += "|";
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0));
    out += p == nullptr ? "NULL" : p;
  }
  return rc == SQLITE_DONE ? out : ErrorText();
}

void ExpectAll(std::initializer_list<Case> cases) {
  FunctionDb db;
  for (const Case& c : cases) EXPECT_EQ(db.Eval(c.expr), c.expected) << c.expr;
}

}  // namespace sqlsim::testing
