// Arbitrary bytes as a Transact-SQL batch: the parser answers with a tree or
// with one syntax error, and no tree is higher than later stages may walk
// recursively.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "sqlsim/front/parser.h"
#include "sqlsim/front/parser_core.h"

namespace {

using namespace sqlsim;

// The walk below counts a little differently from the parser; a fault
// would go far past this.
constexpr int32_t kDeepest = front::kMaxTreeHeight + 16;

int32_t Height(const ast::Select& s, int32_t depth);

int32_t Height(const ast::Expr* e, int32_t depth) {
  if (e == nullptr) return 0;
  if (depth > kDeepest) std::abort();
  int32_t below = e->subquery ? Height(*e->subquery, depth + 1) : 0;
  for (const ast::ExprPtr& arg : e->args) below = std::max(below, Height(arg.get(), depth + 1));
  if (e->over) {
    for (const ast::ExprPtr& p : e->over->partition_by) below = std::max(below, Height(p.get(), depth + 1));
    for (const ast::OrderItem& o : e->over->order_by) below = std::max(below, Height(o.expr.get(), depth + 1));
  }
  return below + 1;
}

int32_t Height(const ast::FromItem& item, int32_t depth) {
  if (depth > kDeepest) std::abort();
  int32_t h = item.table.derived ? Height(*item.table.derived, depth) : 0;
  if (item.table.joined) h = std::max(h, Height(*item.table.joined, depth + 1));
  for (const ast::Join& join : item.joins) {
    if (join.table.joined) h = std::max(h, Height(*join.table.joined, depth + 1));
    h = std::max(h, Height(join.on.get(), depth));
    if (join.table.derived) h = std::max(h, Height(*join.table.derived, depth));
  }
  return h;
}

int32_t Height(const ast::Select& s, int32_t depth) {
  if (depth > kDeepest) std::abort();
  int32_t h = std::max({Height(s.top.get(), depth + 1), Height(s.where.get(), depth + 1),
                        Height(s.having.get(), depth + 1)});
  for (const ast::SelectItem& item : s.items) h = std::max(h, Height(item.expr.get(), depth + 1));
  for (const ast::FromItem& item : s.from) h = std::max(h, Height(item, depth + 1));
  for (const ast::ExprPtr& e : s.group_by) h = std::max(h, Height(e.get(), depth + 1));
  for (const ast::OrderItem& o : s.order_by) h = std::max(h, Height(o.expr.get(), depth + 1));
  h = std::max({h, Height(s.offset.get(), depth + 1), Height(s.fetch.get(), depth + 1)});
  if (s.nested) h = std::max(h, Height(*s.nested, depth + 1));
  if (s.union_next) h = std::max(h, Height(*s.union_next, depth + 1));
  if (s.with) {
    for (const ast::CommonTableExpr& cte : s.with->ctes) h = std::max(h, Height(*cte.query, depth + 1));
  }
  return h + 1;
}

struct StatementHeight {
  int32_t operator()(const ast::Select& s) const { return Height(s, 1); }
  int32_t operator()(const ast::Insert& i) const {
    int32_t h = i.select ? Height(*i.select, 1) : 0;
    for (const auto& row : i.values) {
      for (const ast::ExprPtr& e : row) h = std::max(h, Height(e.get(), 1));
    }
    return h;
  }
  int32_t operator()(const ast::Update& u) const {
    int32_t h = Height(u.where.get(), 1);
    for (const ast::Assignment& a : u.set) h = std::max(h, Height(a.value.get(), 1));
    for (const ast::FromItem& item : u.from) h = std::max(h, Height(item, 1));
    return h;
  }
  int32_t operator()(const ast::Delete& d) const {
    int32_t h = Height(d.where.get(), 1);
    for (const ast::FromItem& item : d.from) h = std::max(h, Height(item, 1));
    return h;
  }
  int32_t operator()(const ast::Merge& m) const {
    int32_t h = std::max(Height(m.on.get(), 1), Height(m.source, 1));
    for (const ast::MergeClause& clause : m.clauses) {
      h = std::max(h, Height(clause.condition.get(), 1));
      for (const ast::Assignment& a : clause.set) h = std::max(h, Height(a.value.get(), 1));
      for (const ast::ExprPtr& e : clause.values) h = std::max(h, Height(e.get(), 1));
    }
    if (m.output && m.output->rows) h = std::max(h, Height(*m.output->rows, 1));
    if (m.output && m.output->into) h = std::max(h, Height(*m.output->into->select, 1));
    return h;
  }
  int32_t operator()(const ast::CreateTable& c) const {
    int32_t h = 0;
    for (const ast::ColumnDef& col : c.columns) h = std::max(h, Height(col.default_value.get(), 1));
    return h;
  }
  int32_t operator()(const ast::If& i) const {
    return std::max({Height(i.condition.get(), 1), Nested(i.then_branch.get()), Nested(i.else_branch.get())});
  }
  int32_t operator()(const ast::While& w) const {
    return std::max(Height(w.condition.get(), 1), Nested(w.body.get()));
  }
  int32_t operator()(const ast::Block& b) const { return Nested(b.statements); }
  int32_t operator()(const ast::TryCatch& t) const {
    return std::max(Nested(t.try_statements), Nested(t.catch_statements));
  }
  int32_t operator()(const ast::CreateModule& m) const {
    return std::max(m.view_select ? Height(*m.view_select, 1) : 0, Nested(m.body));
  }
  int32_t operator()(const ast::SetVariable& s) const { return Height(s.value.get(), 1); }
  int32_t operator()(const ast::Return& r) const { return Height(r.value.get(), 1); }
  int32_t operator()(const ast::DeclareCursor& d) const { return Height(*d.select, 1); }
  int32_t operator()(const ast::Execute& e) const { return Height(e.text.get(), 1); }
  int32_t operator()(const ast::Declare& d) const {
    int32_t h = 0;
    for (const ast::VariableDecl& v : d.variables) {
      h = std::max(h, Height(v.init.get(), 1));
      if (v.table) h = std::max(h, (*this)(*v.table));
    }
    return h;
  }
  template <typename Other>
  int32_t operator()(const Other&) const { return 0; }

  // Statements nest at most kMaxNesting deep, each below the height cap.
  int32_t Nested(const ast::Statement* s) const;
  int32_t Nested(const std::vector<ast::Statement>& list) const {
    int32_t h = 0;
    for (const ast::Statement& s : list) h = std::max(h, Nested(&s));
    return h;
  }
  int depth = 0;
};

int32_t StatementHeight::Nested(const ast::Statement* s) const {
  if (s == nullptr) return 0;
  if (depth > front::kMaxNesting) std::abort();
  return std::visit(StatementHeight{depth + 1}, s->body);
}

bool IsSyntaxError(int32_t number) {
  // 111 and 455: a module out of place or a function not ending in RETURN;
  // 1038: an empty bracketed or quoted name.
  // 319: WITH after an unterminated statement; 310, 4194, 10756: a
  // MAXRECURSION or window frame out of range. 10709-10714: a VALUES row of
  // another width, a MERGE clause out of place, no closing semicolon; 8155:
  // a VALUES table without column names.
  return number == 102 || number == 156 || number == 105 || number == 113 || number == 103 ||
         number == 191 || number == 111 || number == 455 || number == 1038 || number == 319 ||
         number == 310 || number == 4194 || number == 10756 || number == 10709 || number == 10710 ||
         number == 10713 || number == 10714 || number == 8155;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ParseOutcome outcome = ParseBatch(text);
  if (!outcome.ok()) {
    if (outcome.errors.size() != 1) std::abort();
    const Diagnostic& error = outcome.errors[0];
    if (!IsSyntaxError(error.native) || error.line < 1 || error.message.empty()) std::abort();
  }
  size_t previous_end = 0;
  for (const ast::Statement& statement : outcome.batch.statements) {
    if (statement.pos.offset < previous_end || statement.end_offset <= statement.pos.offset ||
        statement.end_offset > size) {
      std::abort();
    }
    previous_end = statement.end_offset;
    std::visit(StatementHeight{}, statement.body);
  }
  // The same bytes as sp_executesql's parameter list.
  ParameterListOutcome list = ParseParameterList(text);
  if (!list.ok() && (list.errors.size() != 1 || !IsSyntaxError(list.errors[0].native) || !list.parameters.empty())) {
    std::abort();
  }
  for (const ast::ParameterDecl& p : list.parameters) Height(p.default_value.get(), 1);
  return 0;
}
