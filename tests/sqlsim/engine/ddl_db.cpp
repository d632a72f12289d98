#include "ddl_db.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cstdio>
#include <type_traits>
#include <variant>

#include "sqlsim/engine/ddl.h"
#include "sqlsim/front/parser.h"

#if __has_include("sqlsim/functions/register.h") && !defined(SQLSIM_TEST_WITHOUT_FUNCTIONS)
#include "sqlsim/functions/register.h"
#define SQLSIM_TEST_HAS_FUNCTIONS 1
#else
#define SQLSIM_TEST_HAS_FUNCTIONS 0
#endif

namespace sqlsim::testing {
namespace {

#if !SQLSIM_TEST_HAS_FUNCTIONS
// The server's comparison until the functions register theirs: ASCII case
// and trailing blanks do not count.
int CompareTsql(void*, int left_size, const void* left, int right_size, const void* right) {
  auto l = static_cast<const unsigned char*>(left);
  auto r = static_cast<const unsigned char*>(right);
  while (left_size > 0 && l[left_size - 1] == ' ') --left_size;
  while (right_size > 0 && r[right_size - 1] == ' ') --right_size;
  for (int i = 0; i < left_size && i < right_size; ++i) {
    int a = std::tolower(l[i]);
    int b = std::tolower(r[i]);
    if (a != b) return a < b ? -1 : 1;
  }
  return left_size == right_size ? 0 : (left_size < right_size ? -1 : 1);
}
#endif

std::string NewPath() {
  static std::atomic<int> counter{0};
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = test ? std::string(test->test_suite_name()) + "." + test->name() : "ddl";
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return ::testing::TempDir() + "sqlsim_ddl_" + std::to_string(getpid()) + "_" +
         std::to_string(counter++) + "_" + name + ".db";
}

bool RunStatement(sqlite3* db, Catalog& catalog, const ast::StatementBody& body,
                  Diagnostics* diags) {
  return std::visit(
      [&](const auto& stmt) {
        using T = std::decay_t<decltype(stmt)>;
        if constexpr (std::is_same_v<T, ast::CreateTable>) {
          return RunCreateTable(db, catalog, stmt, diags);
        } else if constexpr (std::is_same_v<T, ast::CreateIndex>) {
          return RunCreateIndex(db, catalog, stmt, diags);
        } else if constexpr (std::is_same_v<T, ast::AlterTable>) {
          return RunAlterTable(db, catalog, stmt, diags);
        } else if constexpr (std::is_same_v<T, ast::DropObjects>) {
          return RunDropObjects(db, catalog, stmt, diags);
        } else {
          ADD_FAILURE() << "not a data-definition statement";
          return false;
        }
      },
      body);
}

}  // namespace

DdlDb::DdlDb() : path_(NewPath()) {
  std::remove(path_.c_str());
  Open();
}

DdlDb::~DdlDb() {
  Close();
  std::remove(path_.c_str());
}

sqlite3* DdlDb::OpenOther() {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    ADD_FAILURE() << "cannot open " << path_;
    sqlite3_close(db);
    return nullptr;
  }
#if SQLSIM_TEST_HAS_FUNCTIONS
  EXPECT_EQ(RegisterTsqlFunctions(db), SQLITE_OK);
#else
  sqlite3_create_collation(db, "TSQL", SQLITE_UTF8, nullptr, CompareTsql);
#endif
  // The tests make many small files; they need not survive a power cut.
  sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
  return db;
}

void DdlDb::Open() {
  db_ = OpenOther();
  if (!db_) return;
  catalog_ = std::make_unique<Catalog>(db_);
  Diagnostics diags;
  EXPECT_TRUE(catalog_->EnsureSystemTables(&diags))
      << (diags.empty() ? "" : diags[0].message);
}

void DdlDb::Close() {
  catalog_.reset();
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

void DdlDb::Reopen() {
  Close();
  Open();
}

bool DdlDb::has_server_functions() const { return SQLSIM_TEST_HAS_FUNCTIONS != 0; }

bool DdlDb::Run(std::string_view batch) {
  diags_.clear();
  ParseOutcome parsed = ParseBatch(batch);
  if (!parsed.ok()) {
    ADD_FAILURE() << "does not parse: " << batch << ": " << parsed.errors[0].message;
    diags_ = parsed.errors;
    return false;
  }
  for (const ast::Statement& statement : parsed.batch.statements) {
    if (!RunStatement(db_, *catalog_, statement.body, &diags_)) return false;
  }
  return true;
}

std::vector<int32_t> DdlDb::Errors(std::string_view batch) {
  std::vector<int32_t> numbers;
  EXPECT_FALSE(Run(batch)) << batch;
  for (const Diagnostic& d : diags_) numbers.push_back(d.native);
  return numbers;
}

std::string DdlDb::FirstMessage() const { return diags_.empty() ? "" : diags_[0].message; }

void DdlDb::Sql(const std::string& sql) {
  std::string error = TrySql(sql);
  EXPECT_EQ(error, "") << sql;
}

std::string DdlDb::TrySql(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return "";
  std::string error = message ? message : "error";
  sqlite3_free(message);
  return error;
}

std::string DdlDb::Rows(const std::string& sql) {
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db_);
    return "<error>";
  }
  std::string rows;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    if (!rows.empty()) rows += "\n";
    for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
      if (i > 0) rows += "|";
      const unsigned char* text = sqlite3_column_text(stmt, i);
      rows += text ? std::string(reinterpret_cast<const char*>(text),
                                 static_cast<size_t>(sqlite3_column_bytes(stmt, i)))
                   : "NULL";
    }
  }
  sqlite3_finalize(stmt);
  return rows;
}

std::string DdlDb::Snapshot() {
  return Rows("SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY name") + "\n--\n" +
         Rows("SELECT * FROM sysobjects ORDER BY id") + "\n--\n" +
         Rows("SELECT * FROM syscolumns ORDER BY id, colid") + "\n--\n" +
         Rows("SELECT * FROM sysindexes ORDER BY id, indid") + "\n--\n" +
         Rows("SELECT * FROM sysindexkeys ORDER BY id, indid, keyno") + "\n--\n" +
         Rows("SELECT * FROM sqlsim_meta ORDER BY name");
}

}  // namespace sqlsim::testing
