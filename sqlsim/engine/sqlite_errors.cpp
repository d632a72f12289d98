#include "sqlsim/engine/sqlite_errors.h"

#include <string>
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

// Errors that server functions raise arrive as "sqlsim:<number>:<text>".
bool DecodeServerFunctionError(std::string_view message, Diagnostic* out) {
  constexpr std::string_view kPrefix = "sqlsim:";
  size_t at = message.find(kPrefix);
  if (at == std::string_view::npos) return false;
  std::string_view rest = message.substr(at + kPrefix.size());
  size_t colon = rest.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  int32_t number = 0;
  for (char c : rest.substr(0, colon)) {
    if (c < '0' || c > '9' || number > 100000000) return false;
    number = number * 10 + (c - '0');
  }
  *out = ServerError(number, std::string(rest.substr(colon + 1)));
  return true;
}

}  // namespace

Diagnostic DiagnosticFromSqlite(sqlite3* db, int rc) {
  std::string message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
  int extended = db ? sqlite3_extended_errcode(db) : rc;
  Diagnostic decoded;
  if (DecodeServerFunctionError(message, &decoded)) return decoded;
  std::string_view text = message;
  if (extended == SQLITE_CONSTRAINT_PRIMARYKEY) {
    return ServerError(2627, "Violation of PRIMARY KEY constraint. Cannot insert duplicate key in object 'dbo." +
                                 TableOfConstraintMessage(text) + "'.");
  }
  if (extended == SQLITE_CONSTRAINT_UNIQUE) {
    return ServerError(2601, "Cannot insert duplicate key row in object 'dbo." +
                                 TableOfConstraintMessage(text) + "' with unique index.");
  }
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
  if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
    return ServerError(1222, "Lock request time out period exceeded.");
  }
  if (StartsWith(text, "near \"")) {
    std::string_view near = text.substr(6);
    return ServerError(102, "Incorrect syntax near '" +
                                std::string(near.substr(0, near.find('"'))) + "'.");
  }
  if (rc == SQLITE_INTERRUPT) {
    return ServerError(3617, "The query was cancelled.");
  }
  Diagnostic general = ServerError(50000, message);
  general.sqlstate = "HY000";
  return general;
}

}  // namespace sqlsim
