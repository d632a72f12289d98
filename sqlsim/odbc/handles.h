// The driver's handles. Every handle starts with a type tag and carries its
// diagnostic records; the environment owns its connections, a connection
// its statements, a statement its implicit descriptors, so freeing a
// parent frees what it holds.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/engine/engine.h"
#include "sqlsim/odbc/cursor.h"
#include "sqlsim/odbc/diag.h"
#include "sqlsim/odbc/odbc_api.h"
#include "sqlsim/odbc/params.h"

namespace sqlsim::odbc {

enum class HandleKind : uint32_t {
  kFreed = 0,
  kEnv = 0x73456e76,
  kDbc = 0x73446263,
  kStmt = 0x7353746d,
  kDesc = 0x73446573,
};

struct HandleBase {
  explicit HandleBase(HandleKind k) : kind(k) {}
  ~HandleBase() { kind = HandleKind::kFreed; }
  HandleBase(const HandleBase&) = delete;
  HandleBase& operator=(const HandleBase&) = delete;

  HandleKind kind;
  DiagArea diags;
};

// The handle of the given kind, or null when it is not one.
template <class H>
H* FromHandle(SQLHANDLE handle) {
  auto* base = static_cast<HandleBase*>(handle);
  if (!base || base->kind != H::kKind) return nullptr;
  return static_cast<H*>(base);
}

// The cursor types a connection offers (CURSORS= of the connection string),
// to stand for drivers that have fewer than sqlsim: a request for another
// type gets the nearest one offered (01S02).
enum class CursorSupport { kAll, kForwardOnly, kStatic };

class Dbc;
class Stmt;

inline constexpr SQLINTEGER kOdbc2 = static_cast<SQLINTEGER>(SQL_OV_ODBC2);
inline constexpr SQLINTEGER kOdbc3 = static_cast<SQLINTEGER>(SQL_OV_ODBC3);

class Env : public HandleBase {
 public:
  static constexpr HandleKind kKind = HandleKind::kEnv;
  Env();
  ~Env();

  Dbc* AddDbc();
  void RemoveDbc(Dbc* dbc);

  SQLINTEGER odbc_version = kOdbc3;
  std::vector<std::unique_ptr<Dbc>> dbcs;
  // One environment serves every thread of a process: its calls, and the
  // connections it adds and removes, go one at a time.
  std::recursive_mutex mutex;
};

// Statement attributes; a connection keeps the defaults for new statements.
struct StmtAttrs {
  SQLULEN cursor_type = SQL_CURSOR_FORWARD_ONLY;
  SQLULEN concurrency = SQL_CONCUR_READ_ONLY;
  SQLULEN use_bookmarks = SQL_UB_OFF;
  SQLULEN rowset_size = 1;      // SQL_ROWSET_SIZE: SQLExtendedFetch
  SQLULEN row_array_size = 1;   // SQL_ATTR_ROW_ARRAY_SIZE: SQLFetch(Scroll)
  SQLULEN row_bind_type = SQL_BIND_BY_COLUMN;
  SQLULEN* row_bind_offset = nullptr;
  SQLUSMALLINT* row_status = nullptr;
  SQLULEN* rows_fetched = nullptr;
  SQLPOINTER fetch_bookmark = nullptr;
  SQLULEN max_rows = 0;
  SQLULEN max_length = 0;
  SQLULEN query_timeout = 0;
  SQLULEN noscan = SQL_NOSCAN_OFF;
  SQLULEN retrieve_data = SQL_RD_ON;
  SQLULEN simulate_cursor = SQL_SC_UNIQUE;
  SQLULEN cursor_sensitivity = SQL_UNSPECIFIED;
  SQLULEN metadata_id = SQL_FALSE;
  SQLULEN paramset_size = 1;
  SQLULEN param_bind_type = SQL_PARAM_BIND_BY_COLUMN;
  SQLULEN* param_bind_offset = nullptr;
  SQLUSMALLINT* param_operation = nullptr;
  SQLULEN* params_processed = nullptr;
  SQLUSMALLINT* param_status = nullptr;
};

class Dbc : public HandleBase {
 public:
  static constexpr HandleKind kKind = HandleKind::kDbc;
  explicit Dbc(Env* env);
  ~Dbc();

  Stmt* AddStmt();
  void RemoveStmt(Stmt* stmt);
  void DropStatements();

  Env* env;
  std::unique_ptr<Session> session;
  std::vector<std::unique_ptr<Stmt>> stmts;
  bool autocommit = true;
  CursorSupport cursors = CursorSupport::kAll;  // CURSORS=FORWARD or STATIC
  std::string dsn;
  std::string catalog;        // SQL_ATTR_CURRENT_CATALOG set before connecting
  SQLUINTEGER login_timeout = 0;
  SQLUINTEGER connection_timeout = 0;
  SQLUINTEGER access_mode = SQL_MODE_READ_WRITE;
  SQLUINTEGER txn_isolation = SQL_TXN_READ_COMMITTED;
  SQLUINTEGER packet_size = 4096;
  SQLPOINTER quiet_mode = nullptr;
  StmtAttrs stmt_defaults;
  // Threads may share a connection: calls on it and on its statements and
  // descriptors go one at a time, as the server serves one request per
  // connection. Recursive, since a call may run another entry point.
  std::recursive_mutex mutex;
};

class Desc : public HandleBase {
 public:
  static constexpr HandleKind kKind = HandleKind::kDesc;
  explicit Desc(Stmt* owner) : HandleBase(kKind), stmt(owner) {}
  Stmt* stmt;
};

struct ColumnBinding {
  SQLSMALLINT c_type = 0;
  SQLPOINTER buffer = nullptr;
  SQLLEN buffer_length = 0;
  SQLLEN* indicator = nullptr;
  bool bound() const { return buffer != nullptr || indicator != nullptr; }
};

// Where SQLGetData stands in the current column of the current row.
struct GetDataState {
  SQLUSMALLINT column = 0;
  uint64_t row_serial = 0;
  SQLSMALLINT c_type = 0;
  bool active = false;
  bool done = false;
  std::string bytes;
  size_t offset = 0;

  // Back to the state of no column read; most fetches read none.
  void Forget() {
    if (active || done || column != 0 || row_serial != 0 || c_type != 0 || offset != 0 || !bytes.empty()) {
      *this = GetDataState{};
    }
  }
};

// Parameters whose data the application sends with SQLPutData: with an
// array of sets, every such parameter of every set, set by set.
struct DataAtExec {
  struct Slot {
    size_t set;
    SQLUSMALLINT number;
    bool operator<(const Slot& o) const { return set != o.set ? set < o.set : number < o.number; }
  };
  std::vector<Slot> pending;             // in the order asked for
  size_t current = 0;                    // index into pending
  bool started = false;                  // SQLParamData named pending[current]
  bool has_data = false;                 // SQLPutData called for it
  bool array = false;                    // the data of an array of sets
  std::map<Slot, std::optional<std::string>> data;  // nullopt: NULL
};

// An execution with an array of parameter sets (SQL_ATTR_PARAMSET_SIZE
// above 1): the batch runs once per set, each set after the results of the
// one before, as the server runs the sets of one call.
struct ParamSetRun {
  bool active = false;
  SQLULEN size = 0;
  SQLULEN next = 0;                       // the set to start next
  SQLULEN current = 0;                    // the set whose execution runs
  SQLUSMALLINT status = SQL_PARAM_SUCCESS;  // of the current set so far
  SQLULEN run = 0;                        // sets started (not ignored)
  SQLULEN failed = 0;
  SQLLEN rows = -1;                       // the sets' row counts summed
  bool errors = false;                    // since the last return to the application
  bool messages = false;
  // Under a shared commit: the sets that succeeded and wait for it.
  bool shared = false;
  std::vector<std::pair<SQLULEN, SQLLEN>> uncommitted;  // set, its row count
  SQLLEN rows_before = 0;                                // the count before the current set

  // Every array run starts from a fresh state with its size (2 or more)
  // set: a state of size 0 has nothing to forget.
  void Forget() {
    if (size != 0) *this = ParamSetRun{};
  }
};

enum class StmtState { kAllocated, kPrepared, kNeedData, kExecuted };

class Stmt : public HandleBase {
 public:
  static constexpr HandleKind kKind = HandleKind::kStmt;
  explicit Stmt(Dbc* dbc);
  ~Stmt();

  // Drops the cursor and the rest of the batch's results. The statements
  // still to come run to their end (the server does not stop a batch whose
  // results a client discards) unless cancel is set.
  void CloseResults(bool cancel = false);
  // Closes the current result's cursor, keeping it for the next result.
  void DropCursor();
  // The state after the results are gone: prepared or allocated.
  void ReturnToPrepared() { state = prepared ? StmtState::kPrepared : StmtState::kAllocated; }
  SQLINTEGER odbc_version() const { return dbc->env->odbc_version; }

  Dbc* dbc;
  StmtAttrs attrs;
  // Read by SQLCancel from another thread, which never waits for a statement
  // that only waits for data.
  std::atomic<StmtState> state{StmtState::kAllocated};
  std::unique_ptr<PreparedBatch> batch;
  bool prepared = false;  // by SQLPrepare, so SQLExecute may run it again
  std::map<SQLUSMALLINT, ParamBinding> params;
  // The values of the last single execution, kept for their memory.
  std::vector<ParamValue> param_values;
  std::vector<ColumnBinding> bindings;  // [0]: the bookmark column
  std::unique_ptr<Execution> execution;
  std::unique_ptr<Cursor> cursor;
  std::unique_ptr<Cursor> spare_cursor;  // the last one closed, for the next result
  SQLLEN row_count = -1;
  DataAtExec dae;
  ParamSetRun sets;
  GetDataState getdata;
  uint64_t row_serial = 0;  // changes with every fetch and SQLSetPos
  size_t current_row = 0;   // row of the rowset SQLGetData reads
  Desc app_row_desc{this}, app_param_desc{this}, imp_row_desc{this}, imp_param_desc{this};
  // A call that runs the batch is under way: SQLCancel from another thread
  // then only asks the server to stop.
  std::atomic<bool> running{false};
};

// The text of the batch whose results the statement reads; empty for the
// result of a catalog function.
inline std::string_view StatementText(const Stmt& s) {
  return s.batch ? std::string_view(s.batch->Text()) : std::string_view();
}

// The lock that serialises calls on a handle: the environment's own, or
// that of the connection the handle belongs to.
inline std::recursive_mutex& SerialMutex(Env& env) { return env.mutex; }
inline std::recursive_mutex& SerialMutex(Dbc& dbc) { return dbc.mutex; }
inline std::recursive_mutex& SerialMutex(Stmt& stmt) { return stmt.dbc->mutex; }
inline std::recursive_mutex& SerialMutex(Desc& desc) { return desc.stmt->dbc->mutex; }

// Marks a statement as running its batch for the scope of a call.
class RunningScope {
 public:
  explicit RunningScope(Stmt& s) : stmt_(s) { stmt_.running.store(true); }
  ~RunningScope() { stmt_.running.store(false); }
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;

 private:
  Stmt& stmt_;
};

}  // namespace sqlsim::odbc
