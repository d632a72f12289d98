// Built-in functions translated outside translate_expr.cpp's table: those
// with a datepart argument, a type decided by data type precedence, or
// arguments converted before the call.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sqlsim/engine/translator.h"

namespace sqlsim {

// TranslateFunctionBeyondTable (translator.h) takes DATEADD, DATEDIFF,
// DATEPART, DATENAME, YEAR, MONTH, DAY, EOMONTH, IIF, CHOOSE, CONCAT,
// PATINDEX, STUFF, CHAR, ASCII, NCHAR, UNICODE and FORMAT; these are its
// parts, one per file.
std::optional<SqlExpr> TranslateDateFunction(Translator& t, const ast::Expr& e, const std::string& name);
std::optional<SqlExpr> TranslateChoiceFunction(Translator& t, const ast::Expr& e, const std::string& name);
std::optional<SqlExpr> TranslateTextFunction(Translator& t, const ast::Expr& e, const std::string& name);

// tsql_convert of value to target(length) (for decimal, length is the scale).
std::string ConvertSql(const SqlExpr& value, SqlType target, int32_t length);

// Error 174 unless min <= the number of arguments <= max.
void CheckArgumentCount(const ast::Expr& e, const std::string& name, size_t min, size_t max);

}  // namespace sqlsim
