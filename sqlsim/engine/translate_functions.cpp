#include "sqlsim/engine/translate_functions.h"

#include <utility>

#include "sqlsim/engine/types.h"

namespace sqlsim {

bool TranslateFunctionBeyondTable(Translator& t, const ast::Expr& e, const std::string& name, SqlExpr* out) {
  std::optional<SqlExpr> translated = TranslateDateFunction(t, e, name);
  if (!translated) translated = TranslateChoiceFunction(t, e, name);
  if (!translated) translated = TranslateTextFunction(t, e, name);
  if (translated) *out = std::move(*translated);
  return translated.has_value();
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
