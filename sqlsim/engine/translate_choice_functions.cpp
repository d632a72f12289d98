// IIF and CHOOSE: CASE expressions whose type is the branches' highest by
// data type precedence; branches of another kind are converted to it, so
// that text meeting a number fails as on the server when it is chosen.
#include <algorithm>

#include "sqlsim/engine/translate_functions.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

// Higher wins; -1 for unknown types (NULL), which take any type.
int Precedence(SqlType type) {
  switch (type) {
    case SqlType::kDatetime: return 14;
    case SqlType::kFloat: return 13;
    case SqlType::kReal: return 12;
    case SqlType::kDecimal: return 11;
    case SqlType::kBigint: return 10;
    case SqlType::kInt: return 9;
    case SqlType::kSmallint: return 8;
    case SqlType::kTinyint: return 7;
    case SqlType::kBit: return 6;
    case SqlType::kText: return 5;
    case SqlType::kImage: return 4;
    case SqlType::kVarchar: return 3;
    case SqlType::kChar: return 2;
    case SqlType::kVarbinary: return 1;
    case SqlType::kBinary: return 0;
    case SqlType::kUnknown: break;
  }
  return -1;
}

bool IsNumber(SqlType t) {
  return IsIntegerType(t) || t == SqlType::kFloat || t == SqlType::kReal || t == SqlType::kDecimal;
}

// Digits of an integer type as a decimal(p, 0).
int32_t IntegerDigits(SqlType t) {
  switch (t) {
    case SqlType::kBigint: return 19;
    case SqlType::kInt: return 10;
    case SqlType::kSmallint: return 5;
    case SqlType::kTinyint: return 3;
    default: return 1;
  }
}

// The branches' common type; each branch converted where its kind differs.
SqlExpr MergeBranches(std::vector<SqlExpr>* branches) {
  SqlExpr result;
  for (const SqlExpr& b : *branches) {
    if (Precedence(b.type) > Precedence(result.type)) result.type = b.type;
  }
  int32_t integer_digits = 0, scale = 0;
  bool sized = true;
  for (const SqlExpr& b : *branches) {
    if (b.type == SqlType::kUnknown) continue;
    sized = sized && b.length > 0;
    result.length = std::max(result.length, b.length);
    bool decimal = b.type == SqlType::kDecimal && b.precision > 0;
    integer_digits = std::max(integer_digits, decimal ? b.precision - b.scale : IntegerDigits(b.type));
    scale = std::max(scale, decimal ? b.scale : 0);
    result.numeric = result.numeric || b.numeric;
  }
  if (!sized) result.length = 0;
  if (result.type == SqlType::kDecimal) {
    result.precision = std::min(integer_digits + scale, 38);
    result.scale = std::min(scale, result.precision);
  }
  for (SqlExpr& b : *branches) {
    if (b.type == SqlType::kUnknown || b.type == result.type) continue;
    bool same_kind = (IsTextType(b.type) && IsTextType(result.type)) ||
                     (IsBinaryType(b.type) && IsBinaryType(result.type)) ||
                     (IsNumber(b.type) && IsNumber(result.type) && result.type != SqlType::kDecimal);
    if (same_kind) continue;
    b.sql = ConvertSql(b, result.type, result.type == SqlType::kDecimal ? result.scale : -1);
  }
  if (IsTextType(result.type) || IsBinaryType(result.type)) {
    result.precision = result.scale = 0;
  } else {
    result.length = 0;
  }
  return result;
}

bool IsCondition(const ast::Expr& e) {
  switch (e.kind) {
    case ast::ExprKind::kBinary:
      return e.op == "=" || e.op == "<>" || e.op == "<" || e.op == ">" || e.op == "<=" ||
             e.op == ">=" || e.op == "AND" || e.op == "OR";
    case ast::ExprKind::kUnary: return e.op == "NOT";
    case ast::ExprKind::kExists: case ast::ExprKind::kInList: case ast::ExprKind::kInSubquery:
    case ast::ExprKind::kBetween: case ast::ExprKind::kLike: case ast::ExprKind::kIsNull:
      return true;
    default: return false;
  }
}

SqlExpr Iif(Translator& t, const ast::Expr& e) {
  CheckArgumentCount(e, "iif", 3, 3);
  if (!IsCondition(*e.args[0])) {
    Fail(4145, "An expression of non-boolean type specified in a context where a condition is expected, near ','.",
         e.args[0]->pos);
  }
  std::string condition = t.Expr(*e.args[0]).sql;
  std::vector<SqlExpr> branches{t.Expr(*e.args[1]), t.Expr(*e.args[2])};
  SqlExpr result = MergeBranches(&branches);
  result.sql = "(CASE WHEN " + condition + " THEN " + branches[0].sql + " ELSE " + branches[1].sql + " END)";
  return result;
}

SqlExpr Choose(Translator& t, const ast::Expr& e) {
  if (e.args.size() < 2) Fail(174, "The choose function requires 2 or more argument(s).", e.pos);
  SqlExpr index = t.Expr(*e.args[0]);
  if (!IsIntegerType(index.type)) index.sql = ConvertSql(index, SqlType::kInt, -1);
  std::vector<SqlExpr> branches;
  for (size_t i = 1; i < e.args.size(); ++i) branches.push_back(t.Expr(*e.args[i]));
  SqlExpr result = MergeBranches(&branches);
  result.sql = "(CASE " + index.sql;
  for (size_t i = 0; i < branches.size(); ++i) {
    result.sql += " WHEN " + std::to_string(i + 1) + " THEN " + branches[i].sql;
  }
  result.sql += " END)";
  return result;
}

}  // namespace

std::optional<SqlExpr> TranslateChoiceFunction(Translator& t, const ast::Expr& e, const std::string& name) {
  if (name == "iif") return Iif(t, e);
  if (name == "choose") return Choose(t, e);
  return std::nullopt;
}

}  // namespace sqlsim
