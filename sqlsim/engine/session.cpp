#include "sqlsim/engine/session.h"

#include <sys/stat.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <utility>

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/catalog_watch.h"
#include "sqlsim/engine/identity.h"
#include "sqlsim/engine/temp_tables.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/functions/register.h"

namespace sqlsim {
namespace {

bool IsPlainName(const std::string& name) {
  if (name.empty() || name.size() > 128) return false;
  for (unsigned char c : name) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
              (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '$' ||
              c == '#' || c == '@';
    if (!ok) return false;
  }
  return true;
}

bool FileExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

// The time limit is whole seconds, and every execute and every row starts
// it anew: the coarse clock (a few ms) costs a fraction of the exact one.
std::chrono::steady_clock::time_point CoarseNow() {
  struct timespec now;
  if (::clock_gettime(CLOCK_MONOTONIC_COARSE, &now) != 0) return std::chrono::steady_clock::now();
  return std::chrono::steady_clock::time_point(std::chrono::seconds(now.tv_sec) +
                                               std::chrono::nanoseconds(now.tv_nsec));
}

int64_t SchemaVersion(sqlite3* db) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, "PRAGMA schema_version", -1, &raw, nullptr) != SQLITE_OK) return -1;
  SqliteStmt query(raw);
  return sqlite3_step(raw) == SQLITE_ROW ? sqlite3_column_int64(raw, 0) : -1;
}

Diagnostic CannotOpenDatabase(const std::string& name) {
  Diagnostic d = ServerError(4060, "Cannot open database \"" + name +
                                       "\" requested by the login. The login failed.");
  d.sqlstate = "42000";
  return d;
}

}  // namespace

bool RegisterServerFeatures(sqlite3* db, Diagnostics* diags) {
  if (RegisterTsqlFunctions(db) != SQLITE_OK) {
    diags->push_back(ServerError(50000, "The server functions could not be registered."));
    return false;
  }
  Catalog catalog(db);
  return catalog.EnsureSystemTables(diags);
}

SessionImpl::SessionImpl(ConnectOptions options)
    : options_(std::move(options)), trace_(options_.trace_file) {}

SessionImpl::~SessionImpl() {
  if (in_transaction_ && db_) sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  // The watch's destructor publishes a change left under way.
}

void SessionImpl::InvalidateCatalog() {
  if (catalog_) catalog_->Invalidate();
  ++catalog_version_;
}

void SessionImpl::RefreshCatalog() {
  PublishCatalogChange();
  switch (catalog_watch_->Check(!sqlite3_get_autocommit(db_.get()))) {
    case CatalogCheck::kUnchanged:
      return;
    case CatalogCheck::kChanged:
      InvalidateCatalog();
      return;
    case CatalogCheck::kAskSqlite:
      CompareSchemaVersion();
      return;
  }
}

void SessionImpl::CompareSchemaVersion() {
  if (!schema_version_query_) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v3(db_.get(), "PRAGMA schema_version", -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr) !=
        SQLITE_OK) {
      return;
    }
    schema_version_query_.reset(raw);
  }
  sqlite3_stmt* raw = schema_version_query_.get();
  int rc = sqlite3_step(raw);
  int64_t version = rc == SQLITE_ROW ? sqlite3_column_int64(raw, 0) : schema_version_;
  sqlite3_reset(raw);
  if (version != schema_version_) {
    schema_version_ = version;
    InvalidateCatalog();
  }
}

void SessionImpl::BeginCatalogChange() { catalog_watch_->BeginChange(); }

void SessionImpl::PublishCatalogChange() {
  if (catalog_watch_ && catalog_watch_->changing() && sqlite3_get_autocommit(db_.get())) catalog_watch_->Publish();
}

std::string SessionImpl::DatabasePath(const std::string& name) const {
  if (!IsPlainName(name)) return "";
  std::string file;
  for (unsigned char c : name) file += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return options_.data_dir + "/" + file + ".db";
}

bool SessionImpl::OpenDatabase(const std::string& name, bool create, Diagnostics* diags) {
  std::string path = DatabasePath(name);
  if (path.empty() || (!create && !FileExists(path))) {
    diags->push_back(CannotOpenDatabase(name));
    return false;
  }
  sqlite3* raw = nullptr;
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
  SqliteDb db(raw);
  if (rc != SQLITE_OK) {
    Diagnostic d = CannotOpenDatabase(name);
    d.message += " (" + std::string(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)) + ")";
    diags->push_back(d);
    return false;
  }
  // "name" is always a name here, never a string as SQLite's legacy
  // reading would have it.
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
  sqlite3_busy_timeout(db.get(), options_.busy_timeout_ms);
  sqlite3_extended_result_codes(db.get(), 1);
  // WAL lets readers go on while one writer writes; writers queue on the
  // busy timeout.
  // A large page cache and memory-mapped reads keep a point select on a
  // big table about as cheap as on a small one.
  sqlite3_exec(db.get(), "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                         "PRAGMA foreign_keys=OFF; PRAGMA cache_size=-32768;"
                         "PRAGMA mmap_size=1073741824;", nullptr, nullptr, nullptr);
  // Creating or upgrading the system tables changes the catalog of the
  // connections already there.
  auto watch = std::make_unique<CatalogWatch>(path);
  watch->BeginChange();
  int64_t version_before = SchemaVersion(db.get());
  if (!RegisterServerFeatures(db.get(), diags) || !AttachTempDatabase(db.get(), diags)) return false;
  watch->Publish(SchemaVersion(db.get()) != version_before);
  if (in_transaction_ && db_) {
    sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    in_transaction_ = false;
    save_points_.clear();
    outermost_name_.clear();
    open_statement_points_.clear();
  }
  catalog_.reset();
  schema_version_query_.reset();
  schema_version_ = -1;
  catalog_watch_ = std::move(watch);
  db_ = std::move(db);
  catalog_ = std::make_unique<Catalog>(db_.get());
  captures_.clear();
  if (!procedures_) procedures_ = std::make_unique<ModuleCache>();
  procedures_->Clear();
  if (!RegisterUserFunctions(*this, diags)) return false;
  database_ = name;
  ++generation_;
  InvalidateCatalog();
  return true;
}

std::unique_ptr<PreparedBatch> SessionImpl::Prepare(std::string_view text,
                                                    Diagnostics* diags) {
  trace_.Prepared(text);
  return PrepareBatch(*this, text, diags);
}

bool SessionImpl::Exec(const char* sql, Diagnostics* diags) {
  int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) return true;
  diags->push_back(DiagnosticFromSqlite(db_.get(), rc));
  return false;
}

bool SessionImpl::SetAutocommit(bool on, Diagnostics* diags) {
  if (on && in_transaction_ && !EndTransaction(true, diags)) return false;
  autocommit_ = on;
  return true;
}

bool SessionImpl::EndTransaction(bool commit, Diagnostics* diags) {
  // A ROLLBACK inside a trigger also ends the transaction of the statement
  // that fired it.
  if (!in_transaction_ && (commit || sqlite3_get_autocommit(db_.get()))) return true;
  std::optional<TableVariableKeeper> table_variables;
  if (!commit) table_variables.emplace(*this);
  bool ok = Exec(commit ? "COMMIT" : "ROLLBACK", diags);
  PublishCatalogChange();
  if (!commit) {
    InvalidateCatalog();
    table_variables->Restore();
    ForgetTempObjects();
    KeepIdentityCounters(*this);
    ForgetIssuedIdentities(*this);
  }
  if (ok || sqlite3_get_autocommit(db_.get())) ForgetTransaction();
  return ok;
}

void SessionImpl::ForgetTransaction() {
  ++transactions_ended_;
  in_transaction_ = false;
  implicit_ = false;
  statement_own_ = false;
  transaction_count_ = 0;
  save_points_.clear();
  outermost_name_.clear();
  open_statement_points_.clear();
}

void SessionImpl::NoteTransactionEndedBySqlite() {
  if (!in_transaction_ || !sqlite3_get_autocommit(db_.get())) return;
  // What the rollback took back: tables made in it, identity values.
  InvalidateCatalog();
  ForgetTempObjects();
  KeepIdentityCounters(*this);
  ForgetIssuedIdentities(*this);
  ForgetTransaction();
}

bool SessionImpl::BeginStatement(bool writes, bool* opened_own, Diagnostics* diags) {
  *opened_own = false;
  // Statements of a trigger or function run inside the statement that
  // called them, in its transaction.
  if (in_transaction_ || !sqlite3_get_autocommit(db_.get())) return true;
  if (autocommit_) {
    if (!writes) return true;
    // A statement that reads before it writes (INSERT ... SELECT MAX(..)+1)
    // must hold the write lock from its start, or WAL makes it fail instead
    // of waiting for the other writer.
    if (!Exec("BEGIN IMMEDIATE", diags)) return false;
    // The statement's own transaction is a level like any other to its
    // triggers: @@TRANCOUNT 1, save points, BEGIN and COMMIT inside.
    in_transaction_ = true;
    statement_own_ = true;
    *opened_own = true;
    return true;
  }
  if (!Exec(writes ? "BEGIN IMMEDIATE" : "BEGIN", diags)) return false;
  in_transaction_ = true;
  implicit_ = true;
  return true;
}

bool SessionImpl::EndStatement(bool opened_own, bool success, Diagnostics* diags) {
  bool ended = true;
  // Levels a trigger began and did not commit stay open, as on the server:
  // the statement's own level ends, the transaction goes on.
  const bool levels_left = opened_own && success && statement_own_ && transaction_count_ > 0;
  if (levels_left) statement_own_ = false;
  if (opened_own && !levels_left && !sqlite3_get_autocommit(db_.get())) {
    if (!success) ForgetTempObjects();
    ended = Exec(success ? "COMMIT" : "ROLLBACK", diags);
    // A commit that failed leaves nothing behind for later statements.
    if (!ended && !sqlite3_get_autocommit(db_.get())) {
      ForgetTempObjects();
      Diagnostics ignored;
      Exec("ROLLBACK", &ignored);
    }
  }
  if (opened_own && sqlite3_get_autocommit(db_.get())) ForgetTransaction();
  PublishCatalogChange();
  return ended;
}

void SessionImpl::StartDeadline() {
  running_ = true;
  if (options_.statement_timeout_ms <= 0) {
    deadline_ = std::chrono::steady_clock::time_point::max();
    return;
  }
  deadline_ = CoarseNow() + std::chrono::milliseconds(options_.statement_timeout_ms);
}

bool SessionImpl::DeadlinePassed() const { return Canceled() || CoarseNow() > deadline_; }

bool SessionImpl::BeginExplicitTransaction(const std::string& name, Diagnostics* diags) {
  if (!in_transaction_) {
    // The write lock is taken at once: a transaction that reads, then
    // writes would otherwise fail under WAL when another writer got there
    // first, instead of waiting for it.
    if (!Exec("BEGIN IMMEDIATE", diags)) return false;
    in_transaction_ = true;
    // In manual-commit mode BEGIN TRANSACTION opens the implicit
    // transaction too: @@TRANCOUNT is 2.
    implicit_ = !autocommit_;
    // In manual-commit mode the implicit transaction is the outermost level,
    // and it has no name.
    outermost_name_ = implicit_ ? std::string() : name;
  }
  ++transaction_count_;
  return true;
}

bool SessionImpl::EndExplicitTransaction(bool commit, Diagnostics* diags) {
  if (commit && transaction_count() > 1) {
    if (transaction_count_ > 0) --transaction_count_;
    return true;
  }
  transaction_count_ = 0;
  return EndTransaction(commit, diags);
}

namespace {

// SQLite's name of a save point: its savepoint names ignore case, the
// server's do not, so the name goes in as hex digits.
std::string SqliteSavePoint(const std::string& name) {
  static const char kDigits[] = "0123456789abcdef";
  std::string sql = "tsql_save_";
  for (unsigned char c : name) {
    sql += kDigits[c >> 4];
    sql += kDigits[c & 15];
  }
  return sql;
}

}  // namespace

bool SessionImpl::SaveTransaction(const std::string& name, Diagnostics* diags) {
  if (!in_transaction_) {
    diags->push_back(ServerError(628, "Cannot issue SAVE TRANSACTION when there is no active transaction."));
    return false;
  }
  const std::string sqlite_name = SqliteSavePoint(name);
  if (SavePointOnTop(name)) {
    // A rollback to the name goes to the newest save point of that name, so
    // the one below it could never be reached again: it is released, which
    // keeps a unit that saves the same name again and again (each append
    // inside the caller's transaction) from piling up save points that
    // SQLite checks on every page it writes.
    std::string sql = "RELEASE " + sqlite_name + "; SAVEPOINT " + sqlite_name;
    if (!Exec(sql.c_str(), diags)) return false;
    save_points_.back().serial = ++save_points_made_;
    return true;
  }
  if (!Exec(("SAVEPOINT " + sqlite_name).c_str(), diags)) return false;
  save_points_.push_back({name, ++save_points_made_});
  return true;
}

bool SessionImpl::SavePointOnTop(const std::string& name) const {
  if (save_points_.empty() || save_points_.back().name != name) return false;
  // A statement savepoint opened since lies above it in SQLite's stack.
  const uint64_t serial = save_points_.back().serial;
  return std::none_of(open_statement_points_.begin(), open_statement_points_.end(),
                      [&](const OpenStatementPoint& p) { return p.saves_before >= serial; });
}

bool SessionImpl::RollbackToSavePoint(const std::string& name, bool* found, Diagnostics* diags) {
  auto point = std::find_if(save_points_.rbegin(), save_points_.rend(),
                            [&](const SavePoint& p) { return p.name == name; });
  *found = in_transaction_ && point != save_points_.rend();
  if (!*found) return false;
  // What the rollback keeps of this session's own state, as a whole
  // rollback keeps it: table variables, identity values handed out.
  TableVariableKeeper table_variables(*this);
  const bool ok = Exec(("ROLLBACK TO " + SqliteSavePoint(name)).c_str(), diags);
  // The savepoints of statements still running that began after it went
  // with it.
  for (OpenStatementPoint& open : open_statement_points_) open.gone |= open.saves_before >= point->serial;
  InvalidateCatalog();
  table_variables.Restore();
  ForgetTempObjects();
  KeepIdentityCounters(*this);
  // The save point itself stays; those made after it are gone.
  save_points_.erase(point.base(), save_points_.end());
  return ok;
}

SessionImpl::StatementSavePoint SessionImpl::NewStatementSavePoint() {
  StatementSavePoint point{"sqlsim_stmt_" + std::to_string(++statement_save_points_made_), save_points_made_};
  open_statement_points_.push_back({point.name, point.saves_before, false});
  return point;
}

bool SessionImpl::EndStatementSavePoint(const StatementSavePoint& point, bool ok, Diagnostics* diags) {
  auto open = std::find_if(open_statement_points_.rbegin(), open_statement_points_.rend(),
                           [&](const OpenStatementPoint& p) { return p.name == point.name; });
  // Not open any more: the transaction ended, or a rollback took it.
  const bool gone = open == open_statement_points_.rend() || open->gone;
  if (open != open_statement_points_.rend()) open_statement_points_.erase(std::next(open).base());
  if (gone) return true;
  if (ok) {
    if (save_points_made_ != point.saves_before) return true;
    return Exec(("RELEASE " + point.name).c_str(), diags);
  }
  Diagnostics ignored;
  Exec(("ROLLBACK TO " + point.name + "; RELEASE " + point.name).c_str(), &ignored);
  while (!save_points_.empty() && save_points_.back().serial > point.saves_before) save_points_.pop_back();
  return true;
}

std::unique_ptr<Session> OpenSession(const ConnectOptions& options, Diagnostics* diags) {
  if (options.data_dir.empty() || options.database.empty()) {
    Diagnostic d = ServerError(4060, "No database named: the connection needs DATADIR and DATABASE.");
    d.sqlstate = "08001";
    diags->push_back(d);
    return nullptr;
  }
  if (!options.trace_file.empty()) {
    // A trace that cannot be written would leave a client's test blind.
    FILE* trace = std::fopen(options.trace_file.c_str(), "a");
    if (!trace) {
      Diagnostic d = ServerError(50000, "The trace file '" + options.trace_file + "' cannot be written.");
      d.sqlstate = "08001";
      diags->push_back(d);
      return nullptr;
    }
    std::fclose(trace);
  }
  auto session = std::make_unique<SessionImpl>(options);
  if (!session->OpenDatabase(options.database, options.autocreate, diags)) return nullptr;
  return session;
}

}  // namespace sqlsim
