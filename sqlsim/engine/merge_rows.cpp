// The rows a MERGE changed, written where its OUTPUT clause and its
// triggers read them.
#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/merge.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/row_source.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/sqlite_errors.h"
#include "sqlsim/engine/translator.h"

namespace sqlsim {

bool AppendRows(SessionImpl& session, const std::string& sqlite_table, const CatalogTable& table,
                const std::vector<RowValues>& rows, int64_t first_rowid, Diagnostics* diags) {
  if (rows.empty()) return true;
  std::string columns = first_rowid > 0 ? "rowid" : "";
  std::string markers = first_rowid > 0 ? "?" : "";
  for (const CatalogColumn& column : table.columns) {
    columns += (columns.empty() ? "" : ", ") + QuoteName(column.name);
    markers += markers.empty() ? "?" : ", ?";
  }
  std::string sql = "INSERT INTO " + sqlite_table + " (" + columns + ") VALUES (" + markers + ")";
  sqlite3_stmt* raw = nullptr;
  int rc = sqlite3_prepare_v2(session.db(), sql.c_str(), -1, &raw, nullptr);
  SqliteStmt stmt(raw);
  if (rc != SQLITE_OK) {
    diags->push_back(DiagnosticFromSqlite(session.db(), rc));
    return false;
  }
  int64_t rowid = first_rowid;
  for (const RowValues& row : rows) {
    sqlite3_reset(raw);
    int index = 1;
    if (first_rowid > 0) sqlite3_bind_int64(raw, index++, rowid++);
    for (size_t i = 0; i < table.columns.size(); ++i) {
      BindValue(raw, index++, i < row.size() ? row[i] : Value::Null());
    }
    rc = sqlite3_step(raw);
    if (rc != SQLITE_DONE) {
      diags->push_back(DiagnosticFromSqlite(session.db(), rc));
      return false;
    }
  }
  return true;
}

// Rowids pair an update's two rows; the OUTPUT query joins on them.
bool FillMergeOutputRows(SessionImpl& session, const CatalogTable& table, const MergeRows& rows,
                         Diagnostics* diags) {
  if (!ClearTriggerRows(session, table, kOutputRowsId, diags)) return false;
  const std::string inserted = TriggerRowsTable(true, kOutputRowsId);
  const std::string deleted = TriggerRowsTable(false, kOutputRowsId);
  const int64_t updates = static_cast<int64_t>(rows.inserted[1].size());
  const int64_t inserts = static_cast<int64_t>(rows.inserted[0].size());
  return AppendRows(session, inserted, table, rows.inserted[1], 1, diags) &&
         AppendRows(session, deleted, table, rows.deleted[1], 1, diags) &&
         AppendRows(session, inserted, table, rows.inserted[0], updates + 1, diags) &&
         AppendRows(session, deleted, table, rows.deleted[2], updates + inserts + 1, diags);
}

bool FillMergeCaptures(SessionImpl& session, const CatalogTable& table, const MergeRows& rows, int action,
                       Diagnostics* diags) {
  const std::string inserted = CaptureTable(table.name, true);
  const std::string deleted = CaptureTable(table.name, false);
  const std::string clear = "DELETE FROM " + inserted + "; DELETE FROM " + deleted + ";";
  return EnsureCapture(session, table, action, diags) && session.Exec(clear.c_str(), diags) &&
         AppendRows(session, inserted, table, rows.inserted[action], 0, diags) &&
         AppendRows(session, deleted, table, rows.deleted[action], 0, diags);
}

}  // namespace sqlsim
