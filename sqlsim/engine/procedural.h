// Procedural Transact-SQL: variables, control of flow, cursors, procedures,
// scalar functions and triggers, run statement by statement over SQLite.
// Every SELECT inside such code sends its rows as a result of its own; they
// are read in full when the statement runs (procedures return few rows).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/compiled.h"
#include "sqlsim/engine/engine.h"
#include "sqlsim/engine/modules.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

class SessionImpl;
struct SystemProcedure;

// @@ERROR, @@ROWCOUNT ... and ERROR_NUMBER() ...: their types, nullopt for
// names that are no such global.
std::optional<VariableType> GlobalVariableType(const std::string& lower_name);

// The temp table that holds a trigger's INSERTED (or DELETED) rows.
std::string TriggerRowsTable(bool inserted, int32_t trigger_id);
// The SQLite triggers that copy a table's changed rows for one action
// (0 insert, 1 update, 2 delete), made when missing, and dropped again.
bool EnsureCapture(SessionImpl& session, const CatalogTable& table, int action, Diagnostics* diags);
void ReleaseCapture(SessionImpl& session, const CatalogTable& table, int action);
// Fills the INSERTED and DELETED tables of `trigger_id` from the captures.
bool FillTriggerRows(SessionImpl& session, const CatalogTable& table, int32_t trigger_id, Diagnostics* diags);
// The INSERTED and DELETED tables of `trigger_id`, made when missing, empty.
bool ClearTriggerRows(SessionImpl& session, const CatalogTable& table, int32_t trigger_id, Diagnostics* diags);
// The capture table of a table's new (or old) rows.
std::string CaptureTable(const std::string& table, bool new_rows);
// The rows of an OUTPUT clause are kept as those of a trigger with this id.
inline constexpr int32_t kOutputRowsId = -1;
// The OUTPUT clause of a data change; null for none.
const ast::OutputClause* OutputClauseOf(const CompiledStatement& c);

// The variable types of a program: parameters, then every DECLARE in it.
void CollectDeclarations(const std::vector<ast::Statement>& statements, ProgramScope* scope);
VariableType VariableTypeOf(const ast::TypeName& type);

// Compiled forms of a program's statements, made when first run. A
// statement may need several (an IF's condition, a DECLARE's values), told
// apart by `purpose`.
class StatementCache {
 public:
  CompiledStatement& Get(const void* node, int purpose, const ProgramScope* scope);

 private:
  std::map<std::pair<const void*, int>, CompiledStatement> statements_;
};

struct ParameterInfo {
  std::string name;  // lower case "@p"
  std::string written_name;
  VariableType type;
  const ast::Expr* default_value = nullptr;
  bool has_default = false;
  bool output = false;
};

// A procedure, function or trigger parsed from its stored definition.
struct CompiledModule {
  CatalogModule module;
  ast::Batch tree;
  const ast::CreateModule* node = nullptr;
  std::vector<ParameterInfo> parameters;
  VariableType returns;  // functions
  ProgramScope scope;
  StatementCache cache;
  int32_t active = 0;  // calls of it running now (functions calling themselves)
};

// The modules a session has used, parsed once and kept while their
// definitions stay the same.
class ModuleCache {
 public:
  ModuleCache() = default;
  // Null with a diagnostic when the stored definition does not parse.
  CompiledModule* Find(const CatalogModule& module, Diagnostics* diags);
  void Clear() { modules_.clear(); }

 private:
  std::map<int32_t, std::unique_ptr<CompiledModule>> modules_;
};

struct CursorState {
  const ast::DeclareCursor* declaration = nullptr;
  bool open = false;
  bool has_rowid = false;  // last column: the rowid of the row in its table
  std::vector<std::vector<Value>> rows;
  size_t next = 0;          // index of the row FETCH NEXT reads
  int64_t current_rowid = -1;
};

// What a trigger sees of the statement that fired it.
struct TriggerContext {
  int32_t trigger_id = 0;
  bool is_insert = false;
  std::set<std::string> updated_columns;  // lower case; every column for INSERT
  int64_t row_count = 0;
};

// The error a CATCH block is handling.
struct CaughtError {
  Diagnostic diagnostic;
  bool set = false;
  std::string procedure;  // the module the error happened in, "" for the batch
};

// The variables and cursors of one running program.
struct Frame {
  const ProgramScope* scope = nullptr;
  StatementCache* cache = nullptr;
  const std::vector<ParamValue>* batch_params = nullptr;
  std::vector<std::optional<Value>>* batch_outputs = nullptr;  // one per marker
  std::map<std::string, Value> values;  // lower-case name -> value
  std::map<std::string, CursorState> cursors;
  const TriggerContext* trigger = nullptr;
  std::vector<CaughtError> catching;  // innermost CATCH last
  int32_t try_depth = 0;
  bool in_procedure = false;          // row counts are sent from inside a module
  bool inside_trigger = false;        // errors end the batch (XACT_ABORT is on in triggers)
  int32_t return_status = 0;
  Value return_value;                 // functions
  std::string module_name;
  const std::string* batch_text = nullptr;  // the batch the statements come from
  std::optional<int64_t> scope_identity;     // SCOPE_IDENTITY(): this module's or batch's own
  std::set<std::string> table_variables;     // DECLARE @t TABLE run here (lower case)
};

// The hidden last column of a cursor's rows: the rowid in its table.
inline constexpr const char* kCursorRowidColumn = "sqlsim$rowid";

// How control leaves a statement.
enum class Flow {
  kNext,      // on with the next statement
  kBreak,
  kContinue,
  kReturn,
  kCaught,    // an error inside TRY: on to its CATCH
  kAbort,     // the batch ends
  kTransactionEnded,  // a trigger rolled the transaction back: the batch ends
};

// Text EXECUTE runs as a batch of its own, and what it gets from the caller.
struct DynamicBatch {
  std::string text;
  std::vector<ParameterInfo> parameters;  // sp_executesql's declared ones
  std::vector<Value> values;              // one per parameter; OUTPUT ones come back
};

// EXECUTE (text) or sp_executesql.
bool IsDynamicExecute(const ast::Execute& node);

// Runs statements of a program, sending results to the queue.
class Interpreter {
 public:
  Interpreter(SessionImpl& session, std::vector<Result>* results) : session_(session), results_(results) {}

  Flow RunList(const std::vector<ast::Statement>& statements, Frame& frame);
  Flow Run(const ast::Statement& statement, Frame& frame);

  // Runs a procedure with its arguments already evaluated; outputs are
  // written back into `args` for OUTPUT parameters.
  Flow CallProcedure(CompiledModule& module, std::vector<std::optional<Value>>& args, Frame& caller,
                     int32_t* status);
  // Runs a scalar function; false with a diagnostic on error.
  bool CallFunction(CompiledModule& module, const std::vector<Value>& args, Value* result, Diagnostic* error);

  // A statement that changes rows, with the triggers it fires.
  Flow RunDml(CompiledStatement& statement, Frame& frame);
  // Binds a statement's parameters from the frame (variables, the client's
  // markers, cursor rows); false with a diagnostic.
  bool Bind(CompiledStatement& statement, Frame& frame, Diagnostics* diags);
  // The last error, for @@ERROR and the CATCH block.
  const Diagnostic& last_error() const { return last_error_; }

 private:
  friend class StatementRunner;
  friend class MergeRunner;
  // Reports a failed statement: to the CATCH block inside TRY, else to the
  // client; the flow tells whether the batch goes on.
  // `raised`: from RAISERROR, which does not end a trigger's batch.
  Flow Failed(Diagnostics diags, Frame& frame, bool in_trigger = false, bool raised = false);
  Flow RunSql(CompiledStatement& statement, Frame& frame);
  Flow RunCommand(CompiledStatement& statement, Frame& frame);
  bool Evaluate(CompiledStatement& statement, Frame& frame, std::vector<Value>* row, Diagnostics* diags);
  bool Prepare(CompiledStatement& statement, Diagnostics* diags);
  bool Assign(Frame& frame, const std::string& name, Value value);

  Flow RunDeclare(const ast::Statement& s, const ast::Declare& d, Frame& frame);
  Flow RunSet(const ast::Statement& s, const ast::SetVariable& set, Frame& frame);
  Flow RunIf(const ast::Statement& s, const ast::If& node, Frame& frame);
  Flow RunWhile(const ast::Statement& s, const ast::While& node, Frame& frame);
  Flow RunTry(const ast::TryCatch& node, Frame& frame);
  Flow RunReturn(const ast::Statement& s, const ast::Return& node, Frame& frame);
  Flow RunPrint(const ast::Statement& s, const ast::Print& node, Frame& frame);
  Flow RunRaiseError(const ast::Statement& s, const ast::RaiseError& node, Frame& frame);
  Flow RunWaitFor(const ast::Statement& s, const ast::WaitFor& node, Frame& frame);
  Flow RunDbcc(const ast::Dbcc& node, Frame& frame);
  Flow RunExecute(const ast::Statement& s, const ast::Execute& node, Frame& frame);
  // OUTPUT: its rows to the client or into its table; false with the error.
  bool WriteOutput(const CatalogTable& table, const ast::OutputClause& output, CompiledStatement& c, Frame& frame,
                   Diagnostics* diags);
  // The OUTPUT query over INSERTED and DELETED as filled (kOutputRowsId).
  bool SendOutput(const CatalogTable& table, const ast::OutputClause& output, CompiledStatement& c, Frame& frame,
                  Diagnostics* diags);
  Flow RunMerge(const ast::Statement& s, const ast::Merge& merge, Frame& frame);
  Flow RunSelectInto(const ast::Statement& s, const ast::Select& select, Frame& frame);
  Flow RunDynamic(const ast::Statement& s, const ast::Execute& node, Frame& frame);
  Flow RunExecuteSql(const ast::Statement& s, const ast::Execute& node, Frame& frame);
  bool EvaluateArguments(const ast::Statement& s, DynamicBatch& batch,
                         const std::vector<const ast::ExecuteArg*>& placed, Frame& frame);
  // `levels`: how far it raises @@NESTLEVEL (sp_executesql is a procedure too).
  Flow RunDynamicBatch(DynamicBatch& batch, int32_t levels, Frame& caller);
  // The frame of a procedure or dynamic batch called from `caller`.
  static void EnterNested(const Frame& caller, Frame* inner);
  // How the caller goes on after a nested call that ended with `flow`;
  // `transactions`: @@TRANCOUNT when the call began (266 when it differs).
  Flow LeaveNested(Flow flow, Frame& inner, Frame& caller, int32_t transactions);
  Flow RunSystemProcedure(const ast::Statement& s, const ast::Execute& node,
                          const SystemProcedure& procedure, Frame& frame);
  Flow RunCreateModule(const ast::Statement& s, Frame& frame);
  Flow RunCursorDeclare(const ast::Statement& s, const ast::DeclareCursor& node, Frame& frame);
  Flow RunCursorCommand(const ast::CursorCommand& node, Frame& frame);
  Flow RunFetch(const ast::Statement& s, const ast::Fetch& node, Frame& frame);
  Flow FireTriggers(const CatalogTable& table, CompiledStatement& statement, Frame& frame, int action,
                    int64_t changes);
  bool EvaluateCondition(const ast::Statement& s, int purpose, const ast::Expr& condition, Frame& frame,
                         bool* holds, Diagnostics* diags);
  void Emit(Result result);
  void SetRowCount(int64_t n);
  bool TimeUp(Diagnostics* diags);

  SessionImpl& session_;
  std::vector<Result>* results_;
  Diagnostic last_error_;
  std::set<int32_t> active_triggers_;  // a trigger does not fire itself again
};

// The values of @@ERROR, @@ROWCOUNT and @@FETCH_STATUS: the connection's.
struct ProceduralGlobals {
  int32_t error = 0;
  int64_t row_count = 0;
  int32_t fetch_status = -1;
  int32_t nest_level = 0;
  std::optional<int64_t> identity;  // @@IDENTITY
  // The highest identity value handed out per table since the last commit,
  // kept over a rollback (identity.h).
  std::map<std::string, int64_t> identity_issued;
};

// The SQLite capture objects made on a connection for one table.
struct CaptureState {
  std::string signature;      // the table's columns when they were made
  bool actions[3] = {false, false, false};  // insert, update, delete
};

// Translates a compiled statement with `translate` when the catalog changed
// since it was last translated; false with the translation error.
bool TranslateWith(SessionImpl& session, CompiledStatement& c, const std::function<void(class Translator&)>& translate,
                   Diagnostics* diags);

// A variable's (or global's) current value.
Value VariableValue(SessionImpl& session, const Frame& frame, const std::string& name);

std::unique_ptr<RowSource> MakeMaterializedRows(std::vector<ColumnDesc> columns,
                                                std::vector<std::vector<Value>> rows);

// 'hh:mm[:ss[.mmm]]' in milliseconds: the delay itself, or for WAITFOR TIME
// the time until that time of day. nullopt for text of another form.
std::optional<int64_t> ParseDelay(const std::string& text, bool is_time);

// The error of a statement that ran past the connection's time limit.
Diagnostic QueryTimeoutDiagnostic();
// The error of a batch the client canceled.
Diagnostic CanceledDiagnostic();

// Registers tsql_udf, through which SQL calls the session's scalar functions.
bool RegisterUserFunctions(SessionImpl& session, Diagnostics* diags);

// Maximum depth of procedures, functions and triggers calling each other.
inline constexpr int32_t kMaxModuleNesting = 32;

}  // namespace sqlsim
