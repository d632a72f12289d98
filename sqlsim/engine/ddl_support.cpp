#include "sqlsim/engine/ddl_support.h"

#include <cstdio>

#include "sqlsim/engine/sqlite_errors.h"
#include "sqlsim/functions/text.h"

namespace sqlsim::ddl {
namespace {

// Names fold as the collation folds text: the Windows-1252 letters too, so
// that #GRÖßE and #größe are one table.
char LowerName(char c) { return static_cast<char>(LowerCp1252(static_cast<unsigned char>(c))); }

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string QuoteId(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

std::string QuoteText(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

std::string QuoteBlob(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string quoted = "X'";
  for (unsigned char c : bytes) {
    quoted += kHex[c >> 4];
    quoted += kHex[c & 0xF];
  }
  return quoted + "'";
}

std::string FoldName(std::string_view name) {
  std::string folded;
  for (char c : TrimTrailingBlanks(name)) folded += LowerName(c);
  return folded;
}

bool SameName(std::string_view a, std::string_view b) {
  a = TrimTrailingBlanks(a);
  b = TrimTrailingBlanks(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerName(a[i]) != LowerName(b[i])) return false;
  }
  return true;
}

std::string HexId(int32_t id) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(id));
  return buffer;
}

Query::Query(sqlite3* db, std::string_view sql) : db_(db) {
  sqlite3_stmt* stmt = nullptr;
  rc_ = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr);
  stmt_.reset(stmt);
  if (rc_ == SQLITE_OK && !stmt_) rc_ = SQLITE_MISUSE;  // empty text
}

Query& Query::Bind(int index, int64_t value) {
  if (rc_ == SQLITE_OK) rc_ = sqlite3_bind_int64(stmt_.get(), index, value);
  return *this;
}

Query& Query::Bind(int index, std::string_view text) {
  if (rc_ == SQLITE_OK) {
    rc_ = sqlite3_bind_text(stmt_.get(), index, text.data(), static_cast<int>(text.size()),
                            SQLITE_TRANSIENT);
  }
  return *this;
}

Query& Query::BindNull(int index) {
  if (rc_ == SQLITE_OK) rc_ = sqlite3_bind_null(stmt_.get(), index);
  return *this;
}

bool Query::Next() {
  if (rc_ != SQLITE_OK && rc_ != SQLITE_ROW) return false;
  rc_ = sqlite3_step(stmt_.get());
  return rc_ == SQLITE_ROW;
}

bool Query::Run(Diagnostics* diags) {
  while (Next()) {
  }
  return Ok(diags);
}

bool Query::Ok(Diagnostics* diags) {
  if (rc_ == SQLITE_OK || rc_ == SQLITE_ROW || rc_ == SQLITE_DONE) return true;
  return Fail(db_, rc_, diags);
}

int64_t Query::Int(int column) const { return sqlite3_column_int64(stmt_.get(), column); }

std::string Query::Text(int column) const {
  const unsigned char* text = sqlite3_column_text(stmt_.get(), column);
  if (!text) return "";
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<size_t>(sqlite3_column_bytes(stmt_.get(), column)));
}

bool Query::IsNull(int column) const {
  return sqlite3_column_type(stmt_.get(), column) == SQLITE_NULL;
}

bool Exec(sqlite3* db, const std::string& sql, Diagnostics* diags) {
  int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  return rc == SQLITE_OK || Fail(db, rc, diags);
}

Savepoint::Savepoint(sqlite3* db, Diagnostics* diags) : db_(db) {
  open_ = Exec(db_, "SAVEPOINT sqlsim_ddl", diags);
}

Savepoint::~Savepoint() {
  if (!open_) return;
  // Fails harmlessly when SQLite already rolled the whole transaction back.
  sqlite3_exec(db_, "ROLLBACK TO sqlsim_ddl", nullptr, nullptr, nullptr);
  sqlite3_exec(db_, "RELEASE sqlsim_ddl", nullptr, nullptr, nullptr);
}

bool Savepoint::Release(Diagnostics* diags) {
  if (!open_) return false;
  if (!Exec(db_, "RELEASE sqlsim_ddl", diags)) return false;
  open_ = false;
  return true;
}

bool HasFunction(sqlite3* db, const char* probe_sql) {
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, probe_sql, -1, &stmt, nullptr);
  sqlite3_finalize(stmt);
  return rc == SQLITE_OK;
}

bool TableIsEmpty(sqlite3* db, std::string_view table, bool* empty, Diagnostics* diags) {
  Query query(db, "SELECT 1 FROM " + QuoteId(table) + " LIMIT 1");
  *empty = !query.Next();
  return query.Ok(diags);
}

std::string DatabaseName(sqlite3* db) {
  const char* file = sqlite3_db_filename(db, "main");
  std::string_view path = file ? file : "";
  size_t slash = path.find_last_of('/');
  if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
  size_t dot = path.rfind('.');
  if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
  return std::string(path.empty() ? "master" : path);
}

bool Fail(sqlite3* db, int rc, Diagnostics* diags) {
  diags->push_back(DiagnosticFromSqlite(db, rc));
  return false;
}

bool Fail(Diagnostics* diags, int32_t number, std::string message, int32_t line) {
  diags->push_back(ServerError(number, std::move(message), line));
  return false;
}

}  // namespace sqlsim::ddl
