// Cursors of procedural code, WAITFOR's time text, DBCC and CREATE of
// modules. A cursor reads its rows when it is opened; a cursor over one
// table keeps each row's rowid for UPDATE/DELETE ... WHERE CURRENT OF.
#include <ctime>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/ddl.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/row_source.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/sqlite_errors.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/types.h"
#include "sqlsim/functions/convert.h"

namespace sqlsim {
Flow Interpreter::RunCursorDeclare(const ast::Statement& s, const ast::DeclareCursor& node, Frame& frame) {
  std::string name = ddl::FoldName(node.name);
  if (frame.cursors.count(name)) {
    return Failed({ServerError(16915, "A cursor with the name '" + node.name + "' already exists.", s.pos.line)}, frame);
  }
  frame.cursors[name].declaration = &node;
  return Flow::kNext;
}

Flow Interpreter::RunCursorCommand(const ast::CursorCommand& node, Frame& frame) {
  std::string name = ddl::FoldName(node.cursor);
  auto it = frame.cursors.find(name);
  if (it == frame.cursors.end()) {
    return Failed({ServerError(16916, "A cursor with the name '" + node.cursor + "' does not exist.")}, frame);
  }
  CursorState& cursor = it->second;
  switch (node.kind) {
    case ast::CursorCommand::Kind::kOpen: {
      if (cursor.open) return Failed({ServerError(16905, "The cursor is already open.")}, frame);
      Diagnostics diags;
      CompiledStatement& c = frame.cache->Get(cursor.declaration, 0, frame.scope);
      bool has_rowid = false;
      if (!TranslateWith(session_, c, [&](Translator& t) { t.CursorSelect(*cursor.declaration->select, &has_rowid); },
                         &diags)) {
        return Failed(diags, frame);
      }
      // The translation is cached: a cursor with a rowid has one column more
      // than its select list.
      if (!Prepare(c, &diags) || !Bind(c, frame, &diags)) return Failed(diags, frame);
      sqlite3_stmt* stmt = c.prepared.get();
      int n = sqlite3_column_count(stmt);
      const char* last = n > 0 ? sqlite3_column_name(stmt, n - 1) : nullptr;
      cursor.has_rowid = last && std::string(last) == kCursorRowidColumn;
      cursor.rows.clear();
      int rc;
      while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<Value> row;
        for (int i = 0; i < n; ++i) row.push_back(ReadColumn(stmt, i));
        cursor.rows.push_back(std::move(row));
      }
      if (rc != SQLITE_DONE) diags.push_back(DiagnosticFromSqlite(session_.db(), rc));
      sqlite3_reset(stmt);
      if (!diags.empty()) return Failed(diags, frame);
      cursor.open = true;
      cursor.next = 0;
      cursor.current_rowid = -1;
      session_.globals().error = 0;
      return Flow::kNext;
    }
    case ast::CursorCommand::Kind::kClose:
      if (!cursor.open) return Failed({ServerError(16917, "Cursor is not open.")}, frame);
      cursor.open = false;
      cursor.rows.clear();
      cursor.current_rowid = -1;
      return Flow::kNext;
    case ast::CursorCommand::Kind::kDeallocate:
      frame.cursors.erase(it);
      return Flow::kNext;
  }
  return Flow::kNext;
}

Flow Interpreter::RunFetch(const ast::Statement& s, const ast::Fetch& node, Frame& frame) {
  std::string name = ddl::FoldName(node.cursor);
  auto it = frame.cursors.find(name);
  if (it == frame.cursors.end()) {
    return Failed({ServerError(16916, "A cursor with the name '" + node.cursor + "' does not exist.", s.pos.line)},
                  frame);
  }
  CursorState& cursor = it->second;
  if (!cursor.open) return Failed({ServerError(16917, "Cursor is not open.", s.pos.line)}, frame);
  int64_t size = static_cast<int64_t>(cursor.rows.size());
  // Positions are 0-based; next is the row after the current one.
  int64_t current = static_cast<int64_t>(cursor.next) - 1;
  int64_t target = current + 1;
  int64_t offset = 0;
  if (node.offset) {
    Diagnostics diags;
    CompiledStatement& c = frame.cache->Get(&s, 1, frame.scope);
    const ast::Expr* value = node.offset.get();
    if (!TranslateWith(session_, c, [&](Translator& t) { t.Values({value}, {{SqlType::kInt, 0}}); }, &diags)) {
      return Failed(diags, frame);
    }
    std::vector<Value> row;
    if (!Evaluate(c, frame, &row, &diags)) return Failed(diags, frame);
    offset = row.empty() ? 0 : row[0].integer;
  }
  if (node.direction == "PRIOR") target = current - 1;
  else if (node.direction == "FIRST") target = 0;
  else if (node.direction == "LAST") target = size - 1;
  else if (node.direction == "ABSOLUTE") target = offset > 0 ? offset - 1 : size + offset;
  else if (node.direction == "RELATIVE") target = current + offset;
  if (target < 0 || target >= size) {
    cursor.next = target < 0 ? 0 : static_cast<size_t>(size) + 1;
    cursor.current_rowid = -1;
    session_.globals().fetch_status = -1;
    return Flow::kNext;
  }
  cursor.next = static_cast<size_t>(target) + 1;
  const std::vector<Value>& row = cursor.rows[static_cast<size_t>(target)];
  size_t columns = row.size() - (cursor.has_rowid ? 1 : 0);
  cursor.current_rowid = cursor.has_rowid ? row.back().integer : -1;
  if (!node.into.empty()) {
    if (node.into.size() != columns) {
      return Failed({ServerError(16924, "Cursorfetch: The number of variables declared in the INTO list must match that of selected columns.",
                                 s.pos.line)},
                    frame);
    }
    for (size_t i = 0; i < columns; ++i) {
      std::string variable = ddl::FoldName(node.into[i]);
      Value value = row[i];
      const VariableType* declared = nullptr;
      if (frame.scope) {
        auto found = frame.scope->variables.find(variable);
        if (found != frame.scope->variables.end()) declared = &found->second;
      }
      if (declared && declared->type != SqlType::kUnknown) {
        const VariableType& t = *declared;
        Outcome converted = ConvertValue(value, "", CanonicalTypeName(t.type), t.AssignedLength(), kNoStyle);
        if (!converted.ok()) {
          return Failed({ServerError(converted.error, converted.message, s.pos.line)}, frame);
        }
        value = converted.value;
      }
      Assign(frame, variable, value);
    }
  } else {
    std::vector<ColumnDesc> descs(columns);
    Result result;
    result.rows = MakeMaterializedRows(descs, {std::vector<Value>(row.begin(), row.begin() + static_cast<long>(columns))});
    result.in_procedure = frame.in_procedure;
    Emit(std::move(result));
  }
  session_.globals().fetch_status = 0;
  session_.globals().error = 0;
  SetRowCount(1);
  return Flow::kNext;
}

std::optional<int64_t> ParseDelay(const std::string& text, bool is_time) {
  int h = 0, m = 0, sec = 0, ms = 0;
  char tail = 0;
  int fields = std::sscanf(text.c_str(), "%d:%d:%d.%d%c", &h, &m, &sec, &ms, &tail);
  if (fields < 2 || fields > 4 || h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec > 59 || ms < 0 || ms > 999) {
    return std::nullopt;
  }
  int64_t total = ((h * 60LL + m) * 60 + sec) * 1000 + ms;
  if (!is_time) return total;
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  int64_t now_ms = ((local.tm_hour * 60LL + local.tm_min) * 60 + local.tm_sec) * 1000;
  int64_t wait = total - now_ms;
  return wait >= 0 ? wait : wait + 24LL * 3600 * 1000;
}

Flow Interpreter::RunDbcc(const ast::Dbcc& node, Frame& frame) {
  Diagnostics diags;
  if (node.command != "DBREINDEX") {
    return Failed({ServerError(2526, "Incorrect DBCC statement. Check the documentation for the correct DBCC syntax and options.")},
                  frame);
  }
  std::string table_name;
  if (!node.args.empty()) {
    const ast::Expr& arg = *node.args[0];
    if (arg.kind == ast::ExprKind::kColumn && !arg.parts.empty()) table_name = arg.parts.back();
    if (arg.kind == ast::ExprKind::kLiteral) table_name = arg.text;
  }
  const CatalogTable* table = session_.catalog().FindTable(table_name);
  if (!table || table->xtype != "U") {
    return Failed({ServerError(2501, "Cannot find a table or object with the name '" + table_name +
                                         "'. Check the system catalog.")},
                  frame);
  }
  bool opened_own = false;
  if (!session_.BeginStatement(true, &opened_own, &diags)) return Failed(diags, frame);
  std::string sql = "REINDEX main." + QuoteName(table->name);
  bool ok = session_.Exec(sql.c_str(), &diags);
  session_.EndStatement(opened_own, ok, &diags);
  if (!ok) return Failed(diags, frame);
  Result result;
  result.messages.push_back(ServerInfo(2528, "DBCC execution completed. If DBCC printed error messages, contact your system administrator."));
  Emit(std::move(result));
  session_.globals().error = 0;
  return Flow::kNext;
}

Flow Interpreter::RunCreateModule(const ast::Statement& s, Frame& frame) {
  Diagnostics diags;
  const auto& module = std::get<ast::CreateModule>(s.body);
  std::string text;
  if (frame.batch_text && s.pos.offset <= frame.batch_text->size()) text = frame.batch_text->substr(s.pos.offset);
  bool opened_own = false;
  session_.BeginCatalogChange();
  if (!session_.BeginStatement(true, &opened_own, &diags)) return Failed(diags, frame);
  bool ok = ::sqlsim::RunCreateModule(session_, module, text, &diags);
  bool ended = session_.EndStatement(opened_own, ok, &diags);
  session_.InvalidateCatalog();
  if (!ok || !ended) return Failed(diags, frame);
  session_.globals().error = 0;
  return Flow::kNext;
}

}  // namespace sqlsim
