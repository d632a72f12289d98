// NULLIF(a, b): CASE WHEN a = b THEN NULL ELSE a END, as the server expands
// it (a is evaluated twice there too); typed as a.
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

bool IsNumber(SqlType t) {
  return IsIntegerType(t) || t == SqlType::kFloat || t == SqlType::kReal || t == SqlType::kDecimal;
}

std::string ConvertedTo(const SqlExpr& value, SqlType target) {
  return "tsql_convert(" + value.sql + ", " + QuoteText(std::string(CanonicalTypeName(value.type))) + ", " +
         QuoteText(std::string(CanonicalTypeName(target))) + ", -1, -1)";
}

// a = b with the operand of lower precedence converted, as = compares.
std::string Equality(SqlExpr left, SqlExpr right) {
  if (left.type == SqlType::kDatetime && right.type != SqlType::kDatetime) {
    right.sql = ConvertedTo(right, SqlType::kDatetime);
  } else if (right.type == SqlType::kDatetime && left.type != SqlType::kDatetime) {
    left.sql = ConvertedTo(left, SqlType::kDatetime);
  } else if (IsNumber(left.type) && IsTextType(right.type)) {
    right.sql = ConvertedTo(right, left.type == SqlType::kBit || !IsIntegerType(left.type) ? SqlType::kFloat : left.type);
  } else if (IsTextType(left.type) && IsNumber(right.type)) {
    left.sql = ConvertedTo(left, right.type == SqlType::kBit || !IsIntegerType(right.type) ? SqlType::kFloat : right.type);
    left.is_column = false;
  }
  std::string l = left.sql;
  if (!left.is_column && !right.is_column) l += std::string(" COLLATE ") + kCollation;
  return l + " = " + right.sql;
}

}  // namespace

SqlExpr Translator::NullIf(const ast::Expr& e) {
  if (e.args.size() != 2) Fail(174, "The nullif function requires 2 argument(s).", e.pos);
  SqlExpr value = Expr(*e.args[0]);
  if (value.type == SqlType::kUnknown && value.sql == "NULL") {
    Fail(4151, "The type of the first argument to NULLIF cannot be the NULL constant because the type of the "
               "first argument has to be known.", e.pos);
  }
  std::string condition = Equality(value, Expr(*e.args[1]));
  // Translated again for its own place in the text: markers are numbered by it.
  SqlExpr otherwise = Expr(*e.args[0]);
  SqlExpr result("(CASE WHEN " + condition + " THEN NULL ELSE " + otherwise.sql + " END)", value.type, value.length);
  result.precision = value.precision;
  result.scale = value.scale;
  result.numeric = value.numeric;
  return result;
}

}  // namespace sqlsim
