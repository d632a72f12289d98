#include "sqlsim/engine/sqlite_errors.h"

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/disk_room.h"
#include "sqlsim/engine/procedural.h"

#include "sqlsim/functions/function_error.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>
#include <string_view>

namespace sqlsim {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// "t.a, t.b" of "UNIQUE constraint failed: t.a, t.b" -> "t".
std::string TableOfConstraintMessage(std::string_view message) {
  size_t colon = message.find(": ");
  if (colon == std::string_view::npos) return "";
  std::string_view rest = message.substr(colon + 2);
  return std::string(rest.substr(0, rest.find('.')));
}

std::string ColumnOfConstraintMessage(std::string_view message) {
  size_t dot = message.rfind('.');
  return dot == std::string_view::npos ? "" : std::string(message.substr(dot + 1));
}

// Rows of a one-off query, each row's columns as text.
std::vector<std::vector<std::string>> Query(sqlite3* db, const std::string& sql,
                                            const std::vector<std::string>& args = {}) {
  std::vector<std::vector<std::string>> rows;
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) return rows;
  for (size_t i = 0; i < args.size(); ++i) {
    sqlite3_bind_text(raw, static_cast<int>(i + 1), args[i].c_str(), -1, SQLITE_TRANSIENT);
  }
  while (sqlite3_step(raw) == SQLITE_ROW) {
    std::vector<std::string> row;
    for (int i = 0; i < sqlite3_column_count(raw); ++i) {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, i));
      row.push_back(text ? text : "");
    }
    rows.push_back(std::move(row));
  }
  sqlite3_finalize(raw);
  return rows;
}

std::string QuoteSqliteName(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

// A unique violation as the server words it: which key or index of the
// table has exactly the columns SQLite names ("t.a, t.b"), and whether it
// is a primary key, a unique constraint or a unique index.
Diagnostic UniqueViolation(sqlite3* db, std::string_view message) {
  std::string table = TableOfConstraintMessage(message);
  std::vector<std::string> columns;
  size_t colon = message.find(": ");
  std::string_view rest = colon == std::string_view::npos ? "" : message.substr(colon + 2);
  while (!rest.empty()) {
    size_t comma = rest.find(", ");
    std::string_view part = rest.substr(0, comma);
    size_t dot = part.find('.');
    columns.emplace_back(dot == std::string_view::npos ? part : part.substr(dot + 1));
    rest = comma == std::string_view::npos ? "" : rest.substr(comma + 2);
  }
  std::string prefix = table + "$";
  for (const auto& index : Query(db, "PRAGMA index_list(" + QuoteSqliteName(table) + ")")) {
    if (index.size() < 3 || index[2] != "1" || index[1].rfind(prefix, 0) != 0) continue;
    std::vector<std::string> keys;
    for (const auto& info : Query(db, "PRAGMA index_info(" + QuoteSqliteName(index[1]) + ")")) {
      if (info.size() >= 3) keys.push_back(info[2]);
    }
    if (keys != columns) continue;
    std::string name = index[1].substr(prefix.size());
    auto status = Query(db,
                        "SELECT i.status FROM sysindexes i JOIN sysobjects o ON o.id = i.id "
                        "WHERE o.name = ? AND i.name = ?",
                        {table, name});
    int32_t bits = status.empty() ? 0 : std::atoi(status[0][0].c_str());
    if (bits & 0x800) {
      return ServerError(2627, "Violation of PRIMARY KEY constraint '" + name +
                                   "'. Cannot insert duplicate key in object 'dbo." + table + "'.");
    }
    if (bits & 0x1000) {
      return ServerError(2627, "Violation of UNIQUE KEY constraint '" + name +
                                   "'. Cannot insert duplicate key in object 'dbo." + table + "'.");
    }
    return ServerError(2601, "Cannot insert duplicate key row in object 'dbo." + table +
                                 "' with unique index '" + name + "'.");
  }
  // Keys of temporary tables and table variables are the tables' own
  // constraints; a table variable's table is "@name@level".
  if (!table.empty() && (table[0] == '#' || table[0] == '@')) {
    std::string shown = table[0] == '@' ? table.substr(0, table.rfind('@')) : table;
    return ServerError(2627, "Violation of UNIQUE KEY constraint. Cannot insert duplicate key in object 'dbo." +
                                 shown + "'.");
  }
  return ServerError(2601, "Cannot insert duplicate key row in object 'dbo." + table + "'.");
}

// A write the disk refused for want of room: SQLite says SQLITE_FULL for a
// full disk, but an I/O error for a file size limit (and keeps no reliable
// errno of it), so the files themselves are looked at.
bool IsFullDisk(sqlite3* db, int extended) {
  if (!db) return false;
  if ((extended & 0xff) == SQLITE_FULL) return true;
  return (extended & 0xff) == SQLITE_IOERR && !FilesCanGrow(db);
}

// SQLite does not say which table's page it could not write.
Diagnostic FullDisk(sqlite3* db) {
  return ServerError(1105, "Could not allocate space for object in database '" + ddl::DatabaseName(db) +
                               "' because the 'PRIMARY' filegroup is full. Create disk space by deleting "
                               "unneeded files, dropping objects in the filegroup, adding additional files to "
                               "the filegroup, or setting autogrowth on for existing files in the filegroup.");
}

// Does the translated SQL name the object, quoted as the translation quotes
// names (in any case)?
bool NamesObject(const std::string& sql, const std::string& name) {
  std::string quoted = QuoteSqliteName(name);
  auto it = std::search(sql.begin(), sql.end(), quoted.begin(), quoted.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
  return it != sql.end();
}

}  // namespace

void AddBrokenViews(sqlite3* db, const std::string& sqlite_sql, Diagnostics* diags) {
  if (diags->empty() || diags->back().native != 207) return;
  for (const auto& view : Query(db, "SELECT name FROM sysobjects WHERE xtype = 'V' ORDER BY id")) {
    if (view.empty() || !NamesObject(sqlite_sql, view[0])) continue;
    sqlite3_stmt* probe = nullptr;
    std::string sql = "SELECT * FROM main." + QuoteSqliteName(view[0]);
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &probe, nullptr);
    sqlite3_finalize(probe);
    if (rc != SQLITE_OK) {
      diags->push_back(ServerError(4413, "Could not use view or function '" + view[0] + "' because of binding errors."));
    }
  }
}

Diagnostic DiagnosticFromSqlite(sqlite3* db, int rc) {
  std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  int extended = db ? sqlite3_extended_errcode(db) : rc;
  int32_t number = 0;
  std::string function_message;
  if (DecodeFunctionError(message, &number, &function_message)) {
    return ServerError(number, function_message);
  }
  std::string_view text = message;
  if (extended == SQLITE_CONSTRAINT_PRIMARYKEY) {
    return ServerError(2627, "Violation of PRIMARY KEY constraint. Cannot insert duplicate key in object 'dbo." +
                                 TableOfConstraintMessage(text) + "'.");
  }
  if (extended == SQLITE_CONSTRAINT_UNIQUE && db) return UniqueViolation(db, text);
  if (extended == SQLITE_CONSTRAINT_NOTNULL) {
    return ServerError(515, "Cannot insert the value NULL into column '" +
                                ColumnOfConstraintMessage(text) + "', table '" +
                                TableOfConstraintMessage(text) +
                                "'; column does not allow nulls. INSERT fails.");
  }
  if (StartsWith(text, "no such table: ")) {
    std::string name(text.substr(15));
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && name.substr(0, dot) == "main") name = name.substr(dot + 1);
    return ServerError(208, "Invalid object name '" + name + "'.");
  }
  if (StartsWith(text, "no such column: ")) {
    return ServerError(207, "Invalid column name '" + std::string(text.substr(16)) + "'.");
  }
  if (IsFullDisk(db, extended)) return FullDisk(db);
  if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
    return ServerError(1222, "Lock request time out period exceeded.");
  }
  if (StartsWith(text, "near \"")) {
    std::string_view near = text.substr(6);
    return ServerError(102, "Incorrect syntax near '" +
                                std::string(near.substr(0, near.find('"'))) + "'.");
  }
  if (text == "integer overflow") {
    // SQLite's sum() past 64 bits: SUM and AVG of bigint.
    return ServerError(8115, "Arithmetic overflow error converting expression to data type bigint.");
  }
  if (rc == SQLITE_INTERRUPT) {
    // Only the statement time limit interrupts SQLite.
    return QueryTimeoutDiagnostic();
  }
  Diagnostic general = ServerError(50000, message);
  general.sqlstate = "HY000";
  return general;
}

}  // namespace sqlsim
