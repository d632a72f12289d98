// The engine's side of one connection: the SQLite connection to the current
// database, the transaction state and the statement trace.
#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "sqlsim/engine/compiled.h"
#include "sqlsim/engine/engine.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/sqlite_handles.h"
#include "sqlsim/engine/sqlite_errors.h"
#include "sqlsim/engine/trace.h"

namespace sqlsim {

class Catalog;
class CatalogWatch;

class SessionImpl : public Session {
 public:
  explicit SessionImpl(ConnectOptions options);
  ~SessionImpl() override;

  // Opens the database named; keeps the current one on failure.
  bool OpenDatabase(const std::string& name, bool create, Diagnostics* diags);

  std::unique_ptr<PreparedBatch> Prepare(std::string_view text,
                                         Diagnostics* diags) override;
  bool SetAutocommit(bool on, Diagnostics* diags) override;
  bool EndTransaction(bool commit, Diagnostics* diags) override;
  bool InTransaction() const override { return in_transaction_; }
  bool TransactionOpen() const override { return db_ && !sqlite3_get_autocommit(db_.get()); }
  void Cancel() override { cancel_requested_.store(true, std::memory_order_relaxed); }
  // A new batch starts: a cancel asked for while nothing ran stops nothing.
  // Not per statement or row: a cancel between two of them must still stop
  // the batch.
  void ForgetCancel() { cancel_requested_.store(false, std::memory_order_relaxed); }
  // A cancel arrived while the batch ran.
  bool Canceled() const { return running_ && cancel_requested_.load(std::memory_order_relaxed); }
  std::string CurrentDatabase() const override { return database_; }
  std::unique_ptr<RowSource> QueryCatalog(const CatalogRequest& request, Diagnostics* diags) override;

  sqlite3* db() const { return db_.get(); }
  Catalog& catalog() { return *catalog_; }
  // Counts the times the catalog was forgotten: statements translated under
  // an older count are translated again.
  uint64_t catalog_version() const { return catalog_version_; }
  void InvalidateCatalog();
  // Forgets the catalog if another connection changed the schema.
  void RefreshCatalog();
  // Before a statement changes the catalog: the other connections check
  // SQLite's schema version until the change is published.
  void BeginCatalogChange();
  // Tells the other connections once this connection's transaction ended.
  void PublishCatalogChange();
  // Changes whenever the connection moves to another database, so that
  // statements prepared on the old one are made again.
  uint64_t generation() const { return generation_; }
  const StatementTrace& trace() const { return trace_; }
  const ConnectOptions& options() const { return options_; }
  // SET NOCOUNT ON: INSERT, UPDATE and DELETE send no row counts.
  bool nocount() const { return nocount_; }
  void set_nocount(bool on) { nocount_ = on; }
  // SET IDENTITY_INSERT: the one table it is ON for, empty for none.
  const std::string& identity_insert() const { return identity_insert_; }
  void set_identity_insert(std::string table) { identity_insert_ = std::move(table); }

  // Called before a statement runs: opens the transaction the statement
  // needs (a write lock for writers). False with a diagnostic when the lock
  // cannot be had in time.
  bool BeginStatement(bool writes, bool* opened_own, Diagnostics* diags);
  // Ends the transaction BeginStatement opened for this statement alone.
  bool EndStatement(bool opened_own, bool success, Diagnostics* diags);

  // BEGIN TRANSACTION / COMMIT / ROLLBACK written in a batch: they nest,
  // and only the outermost COMMIT commits.
  // The name of the outermost level is the one ROLLBACK TRANSACTION name
  // takes back whole.
  bool BeginExplicitTransaction(const std::string& name, Diagnostics* diags);
  bool EndExplicitTransaction(bool commit, Diagnostics* diags);
  // @@TRANCOUNT: the levels begun, and the transaction a statement opened
  // in manual-commit mode (implicit transactions), or for itself alone in
  // autocommit mode while it and its triggers run, as one more, as the
  // server counts it.
  int32_t transaction_count() const {
    return transaction_count_ + (in_transaction_ && (implicit_ || statement_own_) ? 1 : 0);
  }
  // Whether the one level there is, is a transaction a statement opened in
  // manual-commit mode.
  bool OnlyImplicitTransaction() const { return in_transaction_ && implicit_ && transaction_count_ == 0; }
  // SAVE TRANSACTION name inside a transaction; ROLLBACK TRANSACTION name
  // back to the latest save point of that name (case counts, as on the
  // server), which stays, while the transaction goes on. *found is false when
  // no save point has the name.
  bool SaveTransaction(const std::string& name, Diagnostics* diags);
  // SQLite rolls back the whole transaction itself when a write is
  // interrupted (time limit, cancel) or its file fails: the session then
  // forgets it as well, so that @@TRANCOUNT, COMMIT and the writes after it
  // see that it is gone, as after an error under XACT_ABORT.
  void NoteTransactionEndedBySqlite();
  // How many transactions ended so far: a trigger that ended its
  // statement's one is told by the count, whatever it began after.
  uint64_t transactions_ended() const { return transactions_ended_; }
  bool RollbackToSavePoint(const std::string& name, bool* found, Diagnostics* diags);
  bool IsOutermostTransactionName(const std::string& name) const {
    return in_transaction_ && !name.empty() && name == outermost_name_;
  }

  // A statement that changes rows runs inside a SQLite savepoint of its own,
  // so that its failure takes back only its own changes. Each has a name of
  // its own: the savepoint of a statement whose triggers made save points
  // stays open until the transaction ends (releasing it would release
  // theirs), and a later statement's must not be taken for it.
  struct StatementSavePoint {
    std::string name;
    uint64_t saves_before = 0;  // save points made before it began
  };
  // The savepoint's name: SAVEPOINT it before the statement changes rows,
  // and end it with EndStatementSavePoint on every path.
  StatementSavePoint NewStatementSavePoint();
  // Released, or on failure rolled back to (with the save points made
  // inside it) and released; kept when save points were made inside it;
  // left alone when a trigger rolled back to a save point older than it,
  // which took it with it.
  bool EndStatementSavePoint(const StatementSavePoint& point, bool ok, Diagnostics* diags);

  // Runs SQL without results (BEGIN, COMMIT ...); false with a diagnostic.
  bool Exec(const char* sql, Diagnostics* diags);

  // The path of a database's file; empty for names that are not plain.
  std::string DatabasePath(const std::string& name) const;

  ProceduralGlobals& globals() { return globals_; }
  ModuleCache& procedures() { return *procedures_; }
  std::map<std::string, CaptureState>& captures() { return captures_; }
  // After a rollback: the temp objects made in it are gone, so they are made
  // again when next needed.
  void ForgetTempObjects() { captures_.clear(); }
  // The frame whose variables tsql_getvar and tsql_setvar reach while a
  // statement of it steps; null otherwise.
  Frame* active_frame() const { return active_frame_; }
  void set_active_frame(Frame* frame) { active_frame_ = frame; }
  // The time limit of the batch being run, counted from now.
  void StartDeadline();
  void StopDeadline() {
    deadline_ = std::chrono::steady_clock::time_point::max();
    running_ = false;
  }
  bool DeadlinePassed() const;

 private:
  void CompareSchemaVersion();

  ConnectOptions options_;
  StatementTrace trace_;
  SqliteDb db_;
  std::unique_ptr<Catalog> catalog_;
  uint64_t catalog_version_ = 1;
  int64_t schema_version_ = -1;
  std::string database_;
  uint64_t generation_ = 0;
  bool autocommit_ = true;
  bool in_transaction_ = false;
  bool nocount_ = false;
  std::string identity_insert_;
  int32_t transaction_count_ = 0;
  bool implicit_ = false;  // the transaction under way was opened in manual-commit mode
  uint64_t transactions_ended_ = 0;
  bool statement_own_ = false;  // the transaction under way is one statement's, in autocommit mode
  struct SavePoint {
    std::string name;
    uint64_t serial = 0;  // save points made in this session up to this one
  };
  std::vector<SavePoint> save_points_;  // of the transaction under way, oldest first
  uint64_t save_points_made_ = 0;
  uint64_t statement_save_points_made_ = 0;
  struct OpenStatementPoint {
    std::string name;
    uint64_t saves_before = 0;
    bool gone = false;  // taken by a rollback to an older save point
  };
  std::vector<OpenStatementPoint> open_statement_points_;
  // Forgets the transaction under way: level, name, save points.
  void ForgetTransaction();
  // The newest save point is `name`, with nothing of SQLite's above it.
  bool SavePointOnTop(const std::string& name) const;
  std::string outermost_name_;  // of the transaction under way
  ProceduralGlobals globals_;
  Frame* active_frame_ = nullptr;
  SqliteStmt schema_version_query_;
  std::unique_ptr<CatalogWatch> catalog_watch_;
  std::unique_ptr<ModuleCache> procedures_;
  std::map<std::string, CaptureState> captures_;
  std::chrono::steady_clock::time_point deadline_ = std::chrono::steady_clock::time_point::max();
  bool running_ = false;  // between StartDeadline and StopDeadline
  std::atomic<bool> cancel_requested_{false};
};


}  // namespace sqlsim
