#include "sqlsim/engine/translate_functions.h"

#include "sqlsim/engine/types.h"

namespace sqlsim {

std::optional<SqlExpr> TranslateFunctionBeyondTable(Translator& t, const ast::Expr& e,
                                                    const std::string& name) {
  if (std::optional<SqlExpr> date = TranslateDateFunction(t, e, name)) return date;
  if (std::optional<SqlExpr> choice = TranslateChoiceFunction(t, e, name)) return choice;
  return TranslateTextFunction(t, e, name);
}

std::string ConvertSql(const SqlExpr& value, SqlType target, int32_t length) {
  return "tsql_convert(" + value.sql + ", " + QuoteText(std::string(CanonicalTypeName(value.type))) + ", " +
         QuoteText(std::string(CanonicalTypeName(target))) + ", " + std::to_string(length) + ", -1)";
}

void CheckArgumentCount(const ast::Expr& e, const std::string& name, size_t min, size_t max) {
  if (e.args.size() >= min && e.args.size() <= max) return;
  std::string count = std::to_string(min);
  if (max != min) count += " to " + std::to_string(max);
  Fail(174, "The " + name + " function requires " + count + " argument(s).", e.pos);
}

}  // namespace sqlsim
