// Recursive common table expressions: anchor members, then recursive
// members joined by UNION ALL, run as SQLite's WITH RECURSIVE. A hidden
// column counts the level of each row, and tsql_cte_level ends the
// statement with error 530 when a row passes MAXRECURSION.
#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

constexpr const char* kLevelColumn = "\"sqlsim_level\"";

// How one member of the chain reads the CTE.
struct MemberReferences {
  int direct = 0;          // in its own FROM
  bool nested = false;     // in a subquery or derived table
  bool outer_join = false; // the CTE on either side of an outer join
  std::string alias;       // of the direct reference
};

bool NamesCte(const ast::TableRef& ref, const std::string& name) {
  return !ref.derived && ref.name.schema.empty() && ref.name.database.empty() &&
         IdentifiersEqual(ref.name.name, name);
}

bool ExprNests(const ast::Expr* e, const std::string& name, int depth);

bool QueryNests(const ast::Select& select, const std::string& name, int depth) {
  if (depth > 2000) return false;
  for (const ast::Select* s = &select; s != nullptr; s = s->union_next.get()) {
    for (const ast::FromItem& item : s->from) {
      if (NamesCte(item.table, name)) return true;
      if (item.table.derived && QueryNests(*item.table.derived, name, depth + 1)) return true;
      for (const ast::Join& join : item.joins) {
        if (NamesCte(join.table, name) || ExprNests(join.on.get(), name, depth + 1)) return true;
        if (join.table.derived && QueryNests(*join.table.derived, name, depth + 1)) return true;
      }
    }
    for (const ast::SelectItem& item : s->items) {
      if (ExprNests(item.expr.get(), name, depth + 1)) return true;
    }
    if (ExprNests(s->where.get(), name, depth + 1) || ExprNests(s->having.get(), name, depth + 1)) return true;
  }
  return false;
}

bool ExprNests(const ast::Expr* e, const std::string& name, int depth) {
  if (e == nullptr || depth > 2000) return false;
  if (e->subquery && QueryNests(*e->subquery, name, depth + 1)) return true;
  for (const ast::ExprPtr& arg : e->args) {
    if (ExprNests(arg.get(), name, depth + 1)) return true;
  }
  return false;
}

void CountDirect(const ast::TableRef& ref, const std::string& name, MemberReferences* refs) {
  if (NamesCte(ref, name)) {
    ++refs->direct;
    refs->alias = ref.alias.empty() ? ref.name.name : ref.alias;
  } else if (ref.derived) {
    refs->nested = refs->nested || QueryNests(*ref.derived, name, 0);
  }
}

MemberReferences ReferencesOf(const ast::Select& member, const std::string& name) {
  MemberReferences refs;
  for (const ast::FromItem& item : member.from) {
    CountDirect(item.table, name, &refs);
    bool cte_before = NamesCte(item.table, name);
    for (const ast::Join& join : item.joins) {
      CountDirect(join.table, name, &refs);
      const bool outer = join.type == ast::JoinType::kLeft || join.type == ast::JoinType::kRight ||
                         join.type == ast::JoinType::kFull;
      cte_before = cte_before || NamesCte(join.table, name);
      if (outer && cte_before) refs.outer_join = true;
      refs.nested = refs.nested || ExprNests(join.on.get(), name, 0);
    }
  }
  for (const ast::SelectItem& item : member.items) refs.nested = refs.nested || ExprNests(item.expr.get(), name, 0);
  refs.nested = refs.nested || ExprNests(member.where.get(), name, 0) || ExprNests(member.having.get(), name, 0);
  return refs;
}

bool HasAggregate(const ast::Expr* e, int depth) {
  if (e == nullptr || depth > 2000) return false;
  if (e->kind == ast::ExprKind::kFunction && !e->over &&
      (e->function == "count" || e->function == "sum" || e->function == "avg" || e->function == "min" ||
       e->function == "max")) {
    return true;
  }
  for (const ast::ExprPtr& arg : e->args) {
    if (HasAggregate(arg.get(), depth + 1)) return true;
  }
  return false;
}

// The server's rules for a recursive member, in the order it checks them.
void CheckRecursiveMember(const ast::Select& member, const MemberReferences& refs, const std::string& name,
                          const ast::SourcePos& pos) {
  const std::string quoted = "'" + name + "'.";
  if (refs.direct > 1) {
    Fail(253, "Recursive member of a common table expression '" + name + "' has multiple recursive references.", pos);
  }
  if (refs.nested) Fail(465, "Recursive references are not allowed in subqueries.", pos);
  if (refs.outer_join) {
    Fail(462, "Outer join is not allowed in the recursive part of a recursive common table expression " + quoted, pos);
  }
  if (member.distinct) {
    Fail(460, "DISTINCT operator is not allowed in the recursive part of a recursive common table expression " + quoted,
         pos);
  }
  if (member.top) {
    Fail(461, "TOP operator is not allowed in the recursive part of a recursive common table expression " + quoted, pos);
  }
  bool aggregate = !member.group_by.empty() || member.having;
  for (const ast::SelectItem& item : member.items) aggregate = aggregate || HasAggregate(item.expr.get(), 0);
  if (aggregate) {
    Fail(467,
         "GROUP BY, HAVING, or aggregate functions are not allowed in the recursive part of a recursive common "
         "table expression " + quoted,
         pos);
  }
}

}  // namespace

std::string Translator::RecursiveCteSql(const ast::CommonTableExpr& cte, int32_t max_recursion) {
  std::vector<const ast::Select*> members;
  for (const ast::Select* s = cte.query.get(); s != nullptr; s = s->union_next.get()) members.push_back(s);
  std::vector<MemberReferences> refs;
  size_t first_recursive = members.size();
  for (size_t i = 0; i < members.size(); ++i) {
    refs.push_back(ReferencesOf(*members[i], cte.name));
    const bool recursive = refs[i].direct > 0 || refs[i].nested;
    if (recursive && first_recursive == members.size()) first_recursive = i;
  }
  if (first_recursive == 0 || (first_recursive == members.size())) {
    Fail(246, "No anchor member was specified for recursive query \"" + cte.name + "\".", cte.pos);
  }
  for (size_t i = first_recursive; i < members.size(); ++i) {
    if (!members[i - 1]->union_all || refs[i].direct == 0) {
      Fail(252, "Recursive common table expression '" + cte.name + "' does not contain a top-level UNION ALL operator.",
           cte.pos);
    }
    CheckRecursiveMember(*members[i], refs[i], cte.name, cte.pos);
  }
  // The anchors tell the columns; a first translation learns them with
  // the CTE itself not yet known.
  const size_t markers = out_->param_map.size();
  ctes_.push_back({cte.name, nullptr});
  const size_t entry = ctes_.size() - 1;
  const CatalogTable* shape = nullptr;
  DerivedSql(*cte.query, cte.name, cte.columns, &shape);
  out_->param_map.resize(markers);
  if (!shape) Fail(8155, "No column name was specified for column 1 of '" + cte.name + "'.", cte.pos);
  ctes_[entry].shape = shape;
  for (size_t i = 0; i < members.size(); ++i) {
    extra_items_[members[i]] = i < first_recursive ? "0"
                                                   : "tsql_cte_level(" + QuoteName(refs[i].alias) + "." + kLevelColumn +
                                                         ", " + std::to_string(max_recursion) + ")";
  }
  const CatalogTable* ignored = nullptr;
  struct Unset {
    const ast::CommonTableExpr*& cte;
    ~Unset() { cte = nullptr; }
  } unset{recursive_cte_ = &cte};
  std::string body = DerivedSql(*cte.query, cte.name, cte.columns, &ignored);
  for (const ast::Select* member : members) extra_items_.erase(member);
  std::string sql = QuoteName(cte.name);
  for (size_t i = 0; i < shape->columns.size(); ++i) sql += (i ? ", " : "(") + QuoteName(shape->columns[i].name);
  return sql + ", " + kLevelColumn + ") AS (" + body + ")";
}

}  // namespace sqlsim
