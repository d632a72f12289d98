// A batch as the executor runs it: one CompiledStatement per statement of
// the source, each knowing how to run on SQLite.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sqlsim/engine/engine.h"
#include "sqlsim/engine/sqlite_handles.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

// The type a variable was declared with.
struct VariableType {
  SqlType type = SqlType::kUnknown;
  int32_t length = 0;  // char/varchar/binary length (0: (max)), decimal scale
  int32_t precision = 0;  // decimal precision

  // The length a value assigned to the variable is cut to, as the
  // conversions take it: 0 (no limit) for (max), -1 where there is none.
  int32_t AssignedLength() const {
    bool sized = type == SqlType::kChar || type == SqlType::kVarchar ||
                 type == SqlType::kBinary || type == SqlType::kVarbinary;
    return length > 0 || sized ? length : -1;
  }
};

// What the statements of one program (a batch, a procedure, a function or a
// trigger) are translated against: its variables and, in triggers, the
// table whose INSERTED and DELETED rows it sees.
struct ProgramScope {
  std::map<std::string, VariableType> variables;  // lower-case "@name"
  std::string trigger_table;  // the table a trigger is on, "" elsewhere
  int32_t trigger_id = 0;     // names the trigger's INSERTED/DELETED tables
};

// Where a SQLite parameter's value comes from when the statement runs.
struct ParamSource {
  enum class Kind {
    kBatch,      // the client's ? marker number `index`
    kVariable,   // the variable `name` ("@x", "@@ERROR" ...)
    kUpdated,    // in a trigger: 1 if column `name` was in the SET list
    kCursorRow,  // WHERE CURRENT OF: the rowid of cursor `name`'s current row
  };
  Kind kind = Kind::kBatch;
  int32_t index = -1;
  std::string name;
};

struct CompiledStatement {
  enum class Kind {
    kSqlite,          // one SQLite statement: sqlite_sql
    kDefinition,      // CREATE/ALTER/DROP TABLE and INDEX: run through the catalog
    kUse,             // USE database
    kCreateDatabase,
    kFault,           // EXECUTE sqlsim_fault ...
    kSetOption,
    kTransaction,
    kFailure,         // translation failed: raises `failure` when reached
    kProcedural,      // run by the interpreter (variables, control of flow, EXECUTE ...)
  };
  Kind kind = Kind::kSqlite;
  std::string source;             // the statement's text in the batch
  const ast::Statement* node = nullptr;  // the tree, when the batch was parsed

  // kSqlite
  std::string sqlite_sql;
  std::vector<ParamSource> param_map;  // SQLite parameter i+1 <- its source
  // SELECT @a = x, @b = y: the variable each column is assigned to.
  std::vector<std::string> assignments;
  const ProgramScope* scope = nullptr;  // variables; null for none
  bool writes = false;             // changes data: runs under a write lock
  bool counts_rows = false;        // INSERT/UPDATE/DELETE: sends a row count
  std::string target_table;        // INSERT/UPDATE/DELETE: the table written (a view's base)
  // INSERT into a table with an IDENTITY column, checked against the
  // connection's IDENTITY_INSERT when it runs.
  bool identity_target = false;
  bool identity_explicit = false;  // the column list names the IDENTITY column
  bool column_list = false;        // INSERT INTO t (columns) ...
  std::vector<ColumnDesc> columns; // known result columns (else derived)
  // Columns as last described, shared with the row sources reading them.
  std::shared_ptr<const std::vector<ColumnDesc>> described;
  bool described_valid = false;     // until the statement is made again
  SqliteStmt prepared;             // made on first run
  uint64_t prepared_generation = 0;
  uint64_t translated_version = 0; // catalog version of the translation, 0: none
  std::optional<Diagnostic> translate_error;

  // kFailure
  std::optional<Diagnostic> failure;
};

}  // namespace sqlsim
