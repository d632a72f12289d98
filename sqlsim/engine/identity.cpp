#include "sqlsim/engine/identity.h"

#include <algorithm>
#include <optional>
#include <string>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/session.h"

namespace sqlsim {
namespace {

using ddl::Query;

const CatalogColumn* IdentityColumn(const CatalogTable& table) {
  for (const CatalogColumn& column : table.columns) {
    if (column.identity) return &column;
  }
  return nullptr;
}

bool IsRowidIdentity(sqlite3* db, const CatalogTable& table, const CatalogColumn& column) {
  int primary = 0, autoincrement = 0;
  int rc = sqlite3_table_column_metadata(db, nullptr, table.name.c_str(), column.name.c_str(), nullptr, nullptr,
                                         nullptr, &primary, &autoincrement);
  return rc == SQLITE_OK && autoincrement != 0;
}

// 'dbo.Kunde', '[Kunde]', 'db..Kunde': the table's own name.
std::string TableNamePart(std::string name) {
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name = name.substr(dot + 1);
  if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
  return name;
}

std::optional<int64_t> Counter(sqlite3* db, const std::string& table) {
  Query query(db, "SELECT seq FROM sqlite_sequence WHERE name = ?1 COLLATE NOCASE");
  query.Bind(1, table);
  if (!query.Next()) return std::nullopt;  // no row, or no AUTOINCREMENT table in the file yet
  return query.Int(0);
}

bool TableExists(sqlite3* db, const std::string& table) {
  Query query(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
  query.Bind(1, table);
  return query.Next();
}

// SQLite's counter only rises: a falling identity is as low as its rows.
int64_t LowestIdentity(sqlite3* db, const std::string& table, int64_t seed) {
  Query rows(db, "SELECT min(rowid) FROM " + ddl::QuoteId(table));
  return rows.Next() && !rows.IsNull(0) ? std::min(rows.Int(0), seed) : seed;
}

void IdentCurrent(sqlite3_context* context, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(context);
  sqlite3* db = sqlite3_context_db_handle(context);
  std::string name = TableNamePart(reinterpret_cast<const char*>(sqlite3_value_text(argv[0])));
  Query query(db, "SELECT o.name, c.ident_seed, c.ident_incr FROM sysobjects o JOIN syscolumns c ON c.id = o.id "
                  "WHERE o.name = ?1 AND o.xtype = 'U' AND (c.status & ?2) <> 0");
  query.Bind(1, name).Bind(2, kColumnIdentity);
  if (!query.Next()) return sqlite3_result_null(context);
  int64_t seed = query.Int(1);
  if (query.Int(2) < 0) return sqlite3_result_int64(context, LowestIdentity(db, query.Text(0), seed));
  std::optional<int64_t> counter = Counter(db, query.Text(0));
  // The counter of a new table stands one below its seed.
  sqlite3_result_int64(context, counter ? std::max(*counter, seed) : seed);
}

}  // namespace

void NoteIdentity(SessionImpl& session, Frame& frame, const CatalogTable& table) {
  ProceduralGlobals& globals = session.globals();
  const CatalogColumn* column = IdentityColumn(table);
  if (!column || !IsRowidIdentity(session.db(), table, *column)) {
    // A statement that made no identity value leaves @@IDENTITY NULL; a
    // trigger's insert into such a table leaves its statement's value.
    if (!frame.inside_trigger) globals.identity.reset();
    return;
  }
  int64_t value = sqlite3_last_insert_rowid(session.db());
  frame.scope_identity = value;
  globals.identity = value;
  int64_t& issued = globals.identity_issued[table.name];
  issued = std::max(issued, value);
}

void KeepIdentityCounters(SessionImpl& session) {
  for (const auto& [table, value] : session.globals().identity_issued) {
    std::optional<int64_t> counter = Counter(session.db(), table);
    if (counter && *counter >= value) continue;
    if (!counter && !TableExists(session.db(), table)) continue;  // its CREATE was rolled back too
    Query keep(session.db(), counter ? "UPDATE sqlite_sequence SET seq = ?2 WHERE name = ?1 COLLATE NOCASE"
                                     : "INSERT INTO sqlite_sequence (name, seq) VALUES (?1, ?2)");
    Diagnostics ignored;
    keep.Bind(1, table).Bind(2, value).Run(&ignored);
  }
}

void ForgetIssuedIdentities(SessionImpl& session) { session.globals().identity_issued.clear(); }

int RegisterIdentCurrent(sqlite3* db) {
  return sqlite3_create_function_v2(db, "tsql_ident_current", 1, SQLITE_UTF8, nullptr, IdentCurrent, nullptr,
                                    nullptr, nullptr);
}

bool EndDataChange(SessionImpl& session, const SessionImpl::StatementSavePoint* savepoint, bool opened_own, bool ok,
                   Diagnostics* diags) {
  if (savepoint) {
    if (!session.EndStatementSavePoint(*savepoint, ok, diags)) ok = false;
    // Temp tables made after the savepoint are gone again.
    if (!ok) session.ForgetTempObjects();
  }
  Diagnostics end_diags;
  if (!session.EndStatement(opened_own, ok, &end_diags) && ok) {
    diags->insert(diags->end(), end_diags.begin(), end_diags.end());
    ok = false;
  }
  if (!ok) KeepIdentityCounters(session);
  if (sqlite3_get_autocommit(session.db())) ForgetIssuedIdentities(session);
  return ok;
}

}  // namespace sqlsim
