// NULLIF(a, b): a, or NULL where a equals b; typed as a.
#include "sqlsim/engine/translator.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

bool IsNumber(SqlType t) {
  return IsIntegerType(t) || t == SqlType::kFloat || t == SqlType::kReal || t == SqlType::kDecimal;
}

// Values of one kind compare as they are; text meeting a number or a date
// is compared as the first argument's type.
bool NeedsConversion(SqlType to, SqlType from) {
  if (to == SqlType::kUnknown || from == SqlType::kUnknown || to == from) return false;
  if (IsNumber(to) && IsNumber(from)) return false;
  if (IsTextType(to) && IsTextType(from)) return false;
  return true;
}

}  // namespace

SqlExpr Translator::NullIf(const ast::Expr& e) {
  if (e.args.size() != 2) Fail(174, "The nullif function requires 2 argument(s).", e.pos);
  SqlExpr value = Expr(*e.args[0]);
  SqlExpr other = Expr(*e.args[1]);
  if (value.type == SqlType::kUnknown && value.sql == "NULL") {
    Fail(4151, "The type of the first argument to NULLIF cannot be the NULL constant because the type of the "
               "first argument has to be known.", e.pos);
  }
  std::string right = other.sql;
  if (NeedsConversion(value.type, other.type)) {
    right = "tsql_convert(" + other.sql + ", " + QuoteText(std::string(CanonicalTypeName(other.type))) + ", " +
            QuoteText(std::string(CanonicalTypeName(value.type))) + ", -1, -1)";
  }
  // SQLite's nullif compares by the first collation it finds among its arguments.
  std::string left = value.sql;
  if (IsTextType(value.type) && !value.is_column) left = "(" + left + ") COLLATE " + kCollation;
  SqlExpr result("nullif(" + left + ", " + right + ")", value.type, value.length);
  result.precision = value.precision;
  result.scale = value.scale;
  result.numeric = value.numeric;
  return result;
}

}  // namespace sqlsim
