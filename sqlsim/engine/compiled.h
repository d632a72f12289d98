// A batch as the executor runs it: one CompiledStatement per statement of
// the source, each knowing how to run on SQLite.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sqlsim/engine/engine.h"
#include "sqlsim/engine/sqlite_handles.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

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
  };
  Kind kind = Kind::kSqlite;
  std::string source;             // the statement's text in the batch
  const ast::Statement* node = nullptr;  // the tree, when the batch was parsed

  // kSqlite
  std::string sqlite_sql;
  std::vector<int32_t> param_map;  // SQLite parameter i+1 <- batch parameter
  bool writes = false;             // changes data: runs under a write lock
  bool counts_rows = false;        // INSERT/UPDATE/DELETE: sends a row count
  std::string target_table;        // INSERT/UPDATE/DELETE: the table written (a view's base)
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
