// The types of a batch's ? markers, inferred as the server's
// sp_describe_undeclared_parameters does: a marker compared with or
// assigned to a column takes the column's type (also as a value INSERT ...
// SELECT puts in one), one passed to a procedure the parameter's type, the
// status target of EXEC ? = p int, one beside a literal the literal's.
#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/engine/prepared_batch.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {
namespace {

bool IsArithmetic(const std::string& op) { return op == "+" || op == "-" || op == "*" || op == "/" || op == "%"; }

bool IsComparison(const std::string& op) {
  return op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=" || IsArithmetic(op);
}

ColumnDesc Described(SqlType type, int32_t length, int32_t precision = 0, int32_t scale = 0) {
  ColumnDesc d;
  d.type = type;
  d.length = length;
  d.precision = precision;
  d.scale = scale;
  d.numeric = type == SqlType::kDecimal;
  return d;
}

// numeric(p,s) of a literal by its digits, as the engine types it.
ColumnDesc NumericOfLiteral(const std::string& text) {
  const SqlExpr literal = DecimalLiteral(text);
  return Described(SqlType::kDecimal, 0, literal.precision, literal.scale);
}

// The type a marker takes from a literal it meets: compared with = or <>
// the literal's own type; in arithmetic (no target type) the candidate of
// the server's general deduction that needs no conversion: int, float,
// numeric(38,19) for decimals, varchar(8000) for text, int beside NULL.
// Unicode text leaves the marker nvarchar(4000).
std::optional<ColumnDesc> TypeFromLiteral(const ast::Expr& literal, bool arithmetic) {
  switch (literal.literal_type) {
    case ast::LiteralType::kNull:
      if (arithmetic) return Described(SqlType::kInt, 0);
      return std::nullopt;
    case ast::LiteralType::kInteger:
      if (literal.text.size() < 10 || (literal.text.size() == 10 && literal.text <= "2147483647")) {
        return Described(SqlType::kInt, 0);
      }
      [[fallthrough]];  // beyond int: the server reads a numeric
    case ast::LiteralType::kDecimal:
      if (arithmetic) return Described(SqlType::kDecimal, 0, 38, 19);
      return NumericOfLiteral(literal.text);
    case ast::LiteralType::kFloat:
      return Described(SqlType::kFloat, 0);
    case ast::LiteralType::kString:
      if (literal.national) return std::nullopt;
      if (arithmetic) return Described(SqlType::kVarchar, 8000);
      return Described(SqlType::kVarchar, std::max<int32_t>(static_cast<int32_t>(literal.text.size()), 1));
    default:
      return std::nullopt;
  }
}

class MarkerTypes {
 public:
  MarkerTypes(SessionImpl& session, std::vector<ColumnDesc>* out) : session_(session), out_(*out) {}

  void Statements(const std::vector<ast::Statement>& statements) {
    for (const ast::Statement& s : statements) Statement(s);
  }

 private:
  struct InScope {
    std::string alias;
    const CatalogTable* table;
  };

  void Statement(const ast::Statement& s) { std::visit([this](const auto& body) { Body(body); }, s.body); }

  template <class T>
  void Body(const T&) {}
  void Body(const ast::Select& select) { Select(select); }
  void Body(const ast::Insert& insert) {
    const CatalogTable* table = session_.catalog().FindTable(insert.table.name);
    if (table) {
      std::vector<const CatalogColumn*> columns;
      if (insert.columns.empty()) {
        for (const CatalogColumn& c : table->columns) {
          if (!c.identity) columns.push_back(&c);
        }
      } else {
        for (const std::string& name : insert.columns) columns.push_back(table->FindColumn(name));
      }
      for (const std::vector<ast::ExprPtr>& row : insert.values) {
        for (size_t i = 0; i < row.size() && i < columns.size(); ++i) {
          if (row[i] && columns[i]) Assign(*row[i], *columns[i]);
        }
      }
      if (insert.select) AssignSelected(*insert.select, columns);
    }
    for (const std::vector<ast::ExprPtr>& row : insert.values) {
      for (const ast::ExprPtr& e : row) Walk(e.get());
    }
    if (insert.select) Select(*insert.select);
  }
  // INSERT ... SELECT ?: the marker is the value of its column.
  void AssignSelected(const ast::Select& select, const std::vector<const CatalogColumn*>& columns) {
    for (const ast::Select* term = &select; term; term = term->union_next.get()) {
      if (term->nested) AssignSelected(*term->nested, columns);
      for (size_t i = 0; i < term->items.size() && i < columns.size(); ++i) {
        if (term->items[i].expr && columns[i]) Assign(*term->items[i].expr, *columns[i]);
      }
    }
  }
  void Body(const ast::Update& update) {
    size_t mark = scope_.size();
    AddTable(update.table);
    AddFrom(update.from);
    for (const ast::Assignment& a : update.set) {
      if (!a.value) continue;
      if (const CatalogColumn* column = ResolveColumn(a.column)) Assign(*a.value, *column);
      Walk(a.value.get());
    }
    Walk(update.where.get());
    scope_.resize(mark);
  }
  void Body(const ast::Delete& del) {
    size_t mark = scope_.size();
    AddTable(del.table);
    AddFrom(del.from);
    Walk(del.where.get());
    scope_.resize(mark);
  }
  void Body(const ast::Execute& execute) {
    if (execute.status_param >= 0) Set(execute.status_param, SqlType::kInt, 0, false);
    std::optional<CatalogModule> found = session_.catalog().FindModule(execute.procedure.name);
    if (!found || found->xtype != "P") return;
    Diagnostics ignored;
    CompiledModule* module = session_.procedures().Find(*found, &ignored);
    if (!module) return;
    size_t position = 0;
    for (const ast::ExecuteArg& arg : execute.args) {
      size_t index = arg.name.empty() ? position++ : module->parameters.size();
      for (size_t i = 0; !arg.name.empty() && i < module->parameters.size(); ++i) {
        if (module->parameters[i].name == ddl::FoldName(arg.name)) index = i;
      }
      if (index >= module->parameters.size() || !arg.value) continue;
      if (arg.value->kind != ast::ExprKind::kParameter) continue;
      const VariableType& type = module->parameters[index].type;
      Set(arg.value->param_index, type.type, type.length, true);
    }
  }
  void Body(const ast::Block& block) { Statements(block.statements); }
  void Body(const ast::If& node) {
    Walk(node.condition.get());
    if (node.then_branch) Statement(*node.then_branch);
    if (node.else_branch) Statement(*node.else_branch);
  }
  void Body(const ast::While& node) {
    Walk(node.condition.get());
    if (node.body) Statement(*node.body);
  }
  void Body(const ast::TryCatch& node) {
    Statements(node.try_statements);
    Statements(node.catch_statements);
  }

  void Select(const ast::Select& select) {
    size_t mark = scope_.size();
    AddFrom(select.from);
    for (const ast::SelectItem& item : select.items) Walk(item.expr.get());
    Walk(select.where.get());
    Walk(select.having.get());
    // Row counts are bigint, as the server suggests for them.
    for (const ast::Expr* rows : {select.top.get(), select.offset.get(), select.fetch.get()}) {
      if (rows && rows->kind == ast::ExprKind::kParameter) Set(rows->param_index, SqlType::kBigint, 0, true);
    }
    scope_.resize(mark);
    if (select.nested) Select(*select.nested);
    if (select.union_next) Select(*select.union_next);
  }

  void AddTable(const ast::TableRef& ref) {
    if (ref.joined) {
      AddTable(ref.joined->table);
      for (const ast::Join& join : ref.joined->joins) AddTable(join.table);
      for (const ast::Join& join : ref.joined->joins) Walk(join.on.get());
      return;
    }
    if (ref.derived) {
      Select(*ref.derived);
      return;
    }
    if (const CatalogTable* t = session_.catalog().FindTable(ref.name.name)) {
      scope_.push_back({ref.alias.empty() ? ref.name.name : ref.alias, t});
    }
  }
  void AddFrom(const std::vector<ast::FromItem>& from) {
    for (const ast::FromItem& item : from) {
      AddTable(item.table);
      for (const ast::Join& join : item.joins) AddTable(join.table);
    }
    for (const ast::FromItem& item : from) {
      for (const ast::Join& join : item.joins) Walk(join.on.get());
    }
  }

  const CatalogColumn* ResolveColumn(const std::vector<std::string>& parts) {
    if (parts.empty()) return nullptr;
    const std::string& name = parts.back();
    for (auto it = scope_.rbegin(); it != scope_.rend(); ++it) {
      if (parts.size() >= 2 && ddl::FoldName(parts[parts.size() - 2]) != ddl::FoldName(it->alias)) continue;
      if (const CatalogColumn* c = it->table->FindColumn(name)) return c;
    }
    return nullptr;
  }

  void Set(int32_t index, SqlType type, int32_t length, bool nullable) {
    if (index < 0 || static_cast<size_t>(index) >= out_.size()) return;
    ColumnDesc& d = out_[static_cast<size_t>(index)];
    if (d.type != SqlType::kUnknown) return;  // the first use decides
    d.type = type;
    d.length = length;
    d.nullable = nullable;
  }

  void Assign(const ast::Expr& value, const CatalogColumn& column) {
    if (value.kind != ast::ExprKind::kParameter || value.param_index < 0) return;
    if (static_cast<size_t>(value.param_index) >= out_.size()) return;
    ColumnDesc& d = out_[static_cast<size_t>(value.param_index)];
    if (d.type != SqlType::kUnknown) return;
    d.type = column.type;
    d.length = column.length;
    d.precision = column.precision;
    d.scale = column.scale;
    d.nullable = column.nullable;
  }

  // Markers meeting columns in an expression: a = ?, ? < b, a IN (?, ?),
  // a BETWEEN ? AND ?, a LIKE ?.
  void Walk(const ast::Expr* e) {
    if (!e) return;
    bool pairs = (e->kind == ast::ExprKind::kBinary && IsComparison(e->op)) ||
                 e->kind == ast::ExprKind::kInList || e->kind == ast::ExprKind::kBetween ||
                 e->kind == ast::ExprKind::kLike;
    if (pairs && !e->args.empty()) {
      const ast::Expr* column = nullptr;
      for (const ast::ExprPtr& a : e->args) {
        if (a && a->kind == ast::ExprKind::kColumn) column = a.get();
      }
      const CatalogColumn* c = column ? ResolveColumn(column->parts) : nullptr;
      for (const ast::ExprPtr& a : e->args) {
        if (c && a) Assign(*a, *c);
      }
      if (!c && e->kind == ast::ExprKind::kBinary) {
        BesideLiteral(*e);
        BesideArithmetic(*e);
      }
    }
    for (const ast::ExprPtr& a : e->args) Walk(a.get());
    if (e->subquery) Select(*e->subquery);
  }

  // ? + 1, ? = 'abc': a marker paired with a literal.
  void BesideLiteral(const ast::Expr& binary) {
    if (binary.args.size() != 2 || !binary.args[0] || !binary.args[1]) return;
    bool arithmetic = IsArithmetic(binary.op);
    if (!arithmetic && binary.op != "=" && binary.op != "<>") return;
    for (int i = 0; i < 2; ++i) {
      const ast::Expr& marker = *binary.args[i];
      const ast::Expr& other = *binary.args[1 - i];
      if (marker.kind != ast::ExprKind::kParameter || other.kind != ast::ExprKind::kLiteral) continue;
      std::optional<ColumnDesc> type = TypeFromLiteral(other, arithmetic);
      if (type) Describe(marker.param_index, *type);
    }
  }

  // ? = i + 1: a marker compared with arithmetic takes the arithmetic's type.
  void BesideArithmetic(const ast::Expr& binary) {
    if (binary.args.size() != 2 || !binary.args[0] || !binary.args[1] || IsArithmetic(binary.op)) return;
    for (int i = 0; i < 2; ++i) {
      const ast::Expr& marker = *binary.args[i];
      const ast::Expr& other = *binary.args[1 - i];
      if (marker.kind != ast::ExprKind::kParameter || other.kind != ast::ExprKind::kBinary) continue;
      if (std::optional<ColumnDesc> type = TypeOf(other)) Describe(marker.param_index, *type);
    }
  }

  // The type of columns and literals joined by + - * (i + 1, a * 2.5), by
  // the server's precedence of types and the engine's precision of decimal
  // results (numeric unless a decimal column takes part); nothing for text,
  // functions, division and what the server refuses (a date multiplied).
  std::optional<ColumnDesc> TypeOf(const ast::Expr& e) {
    if (e.kind == ast::ExprKind::kLiteral) return TypeFromLiteral(e, false);
    if (e.kind == ast::ExprKind::kColumn) {
      const CatalogColumn* c = ResolveColumn(e.parts);
      if (!c || NumericRank(c->type) == 0) return std::nullopt;
      ColumnDesc column = Described(c->type, c->length, c->precision, c->scale);
      column.numeric = false;
      return column;
    }
    if (e.kind != ast::ExprKind::kBinary || e.args.size() != 2 || !e.args[0] || !e.args[1]) return std::nullopt;
    if (e.op != "+" && e.op != "-" && e.op != "*") return std::nullopt;
    std::optional<ColumnDesc> left = TypeOf(*e.args[0]);
    std::optional<ColumnDesc> right = left ? TypeOf(*e.args[1]) : std::nullopt;
    if (!left || !right || NumericRank(left->type) == 0 || NumericRank(right->type) == 0) return std::nullopt;
    const ColumnDesc& wider = NumericRank(left->type) >= NumericRank(right->type) ? *left : *right;
    if (wider.type == SqlType::kDatetime && e.op == "*") return std::nullopt;
    if (wider.type != SqlType::kDecimal) return wider;
    int32_t p1 = 0, s1 = 0, p2 = 0, s2 = 0, precision = 0, scale = 0;
    DecimalShape(left->type, left->precision, left->scale, &p1, &s1);
    DecimalShape(right->type, right->precision, right->scale, &p2, &s2);
    DecimalResult(e.op, p1, s1, p2, s2, &precision, &scale);
    ColumnDesc result = Described(SqlType::kDecimal, 0, precision, scale);
    result.numeric = (left->type != SqlType::kDecimal || left->numeric) &&
                     (right->type != SqlType::kDecimal || right->numeric);
    return result;
  }

  // Higher wins; 0 for types arithmetic does not combine here.
  static int NumericRank(SqlType type) {
    switch (type) {
      case SqlType::kBit: return 1;
      case SqlType::kTinyint: return 2;
      case SqlType::kSmallint: return 3;
      case SqlType::kInt: return 4;
      case SqlType::kBigint: return 5;
      case SqlType::kDecimal: return 6;
      case SqlType::kReal: return 7;
      case SqlType::kFloat: return 8;
      case SqlType::kDatetime: return 9;
      default: return 0;
    }
  }

  void Describe(int32_t index, const ColumnDesc& type) {
    if (index < 0 || static_cast<size_t>(index) >= out_.size()) return;
    ColumnDesc& d = out_[static_cast<size_t>(index)];
    if (d.type == SqlType::kUnknown) d = type;
  }

  SessionImpl& session_;
  std::vector<ColumnDesc>& out_;
  std::vector<InScope> scope_;
};

}  // namespace

std::vector<ColumnDesc> PreparedBatchImpl::ParameterTypes() {
  std::vector<ColumnDesc> types(static_cast<size_t>(parameter_count_));
  session_.RefreshCatalog();
  MarkerTypes(session_, &types).Statements(tree_.statements);
  return types;
}

}  // namespace sqlsim
