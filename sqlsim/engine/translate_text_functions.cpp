// CONCAT, PATINDEX, STUFF and the character functions.
#include <algorithm>

#include "sqlsim/engine/translate_functions.h"
#include "sqlsim/engine/types.h"

namespace sqlsim {
namespace {

constexpr int32_t kLongestText = 8000;

// The length of a value as text: its own for text, the widest form of a
// number or date; 0 when unknown.
int32_t TextLength(const SqlExpr& value) {
  switch (value.type) {
    case SqlType::kChar: case SqlType::kVarchar: case SqlType::kBinary: case SqlType::kVarbinary:
      return value.length;
    case SqlType::kBit: return 1;
    case SqlType::kTinyint: return 3;
    case SqlType::kSmallint: return 6;
    case SqlType::kInt: return 11;
    case SqlType::kBigint: return 20;
    case SqlType::kDecimal: return value.precision > 0 ? value.precision + 2 : 0;
    case SqlType::kFloat: case SqlType::kReal: return 23;
    case SqlType::kDatetime: return 19;  // style 0: "Jan  1 2025 12:00AM"
    default: return value.sql == "NULL" ? 1 : 0;
  }
}

// A text of (max) type or of a length not known here: the string
// functions do not cut their results of it at 8000 bytes. ", 0" tells them.
bool LongText(const SqlExpr& value) {
  if (value.type == SqlType::kUnknown) return value.sql != "NULL";
  return (IsTextType(value.type) || IsBinaryType(value.type)) && value.length <= 0;
}

std::string UncutSql(bool uncut) { return uncut ? ", 0" : ""; }

// REPLICATE and REPLACE: varchar, as long as the first argument allows.
SqlExpr Repeating(Translator& t, const ast::Expr& e, const std::string& name, size_t args) {
  CheckArgumentCount(e, name, args, args);
  std::string sql = "tsql_" + name + "(";
  bool uncut = false;
  for (size_t i = 0; i < args; ++i) {
    SqlExpr arg = t.Expr(*e.args[i]);
    uncut = uncut || (i == 0 && LongText(arg));
    sql += (i ? ", " : "") + arg.sql;
  }
  return SqlExpr(sql + UncutSql(uncut) + ")", SqlType::kVarchar, uncut ? 0 : kLongestText);
}

// NULL as '', numbers and dates as the text CONVERT gives them.
SqlExpr Concat(Translator& t, const ast::Expr& e) {
  if (e.args.size() < 2 || e.args.size() > 254) {
    Fail(189, "The concat function requires 2 to 254 arguments.", e.pos);
  }
  std::string sql;
  int64_t length = 0;
  bool sized = true;
  bool uncut = false;
  for (size_t i = 0; i < e.args.size(); ++i) {
    SqlExpr arg = t.Expr(*e.args[i]);
    int32_t arg_length = TextLength(arg);
    sized = sized && arg_length > 0;
    length += arg_length;
    bool as_text = arg.type == SqlType::kUnknown || IsTextType(arg.type) || IsBinaryType(arg.type);
    uncut = uncut || (as_text && LongText(arg));
    sql += (i ? ", " : "") + (as_text ? arg.sql : ConvertSql(arg, SqlType::kVarchar, kLongestText));
  }
  sql = (uncut ? "tsql_concat_max(" : "tsql_concat(") + sql;
  return SqlExpr(sql + ")", SqlType::kVarchar,
                 sized ? static_cast<int32_t>(std::min<int64_t>(length, kLongestText)) : 0);
}

SqlExpr Stuff(Translator& t, const ast::Expr& e) {
  CheckArgumentCount(e, "stuff", 4, 4);
  std::vector<SqlExpr> args;
  for (const ast::ExprPtr& arg : e.args) args.push_back(t.Expr(*arg));
  int32_t length = args[0].length > 0 && args[3].length > 0
                       ? std::min(args[0].length + args[3].length, kLongestText)
                       : 0;
  return SqlExpr("tsql_stuff(" + args[0].sql + ", " + args[1].sql + ", " + args[2].sql + ", " +
                     args[3].sql + UncutSql(LongText(args[0]) || LongText(args[3])) + ")",
                 SqlType::kVarchar, length);
}

// The value goes with its type: datetime text is formatted as a date.
SqlExpr Format(Translator& t, const ast::Expr& e) {
  CheckArgumentCount(e, "format", 2, 3);
  SqlExpr value = t.Expr(*e.args[0]);
  if (IsTextType(value.type) || IsBinaryType(value.type)) {
    Fail(8116, "Argument data type " + std::string(CanonicalTypeName(value.type)) +
                   " is invalid for argument 1 of format function.", e.args[0]->pos);
  }
  std::string pattern = t.Expr(*e.args[1]).sql;
  std::string culture = e.args.size() > 2 ? t.Expr(*e.args[2]).sql : QuoteText("en-US");
  return SqlExpr("tsql_format(" + value.sql + ", " + QuoteText(std::string(CanonicalTypeName(value.type))) + ", " +
                     pattern + ", " + culture + ")",
                 SqlType::kVarchar, 4000);
}

struct SimpleTextFunction {
  const char* name;
  size_t arg_count;
  SqlType type;
  int32_t length;
};

constexpr SimpleTextFunction kSimpleFunctions[] = {
    {"patindex", 2, SqlType::kInt, 0}, {"char", 1, SqlType::kChar, 1},
    {"nchar", 1, SqlType::kChar, 1},   {"ascii", 1, SqlType::kInt, 0},
    {"unicode", 1, SqlType::kInt, 0},
};

}  // namespace

std::optional<SqlExpr> TranslateTextFunction(Translator& t, const ast::Expr& e, const std::string& name) {
  if (name == "concat") return Concat(t, e);
  if (name == "stuff") return Stuff(t, e);
  if (name == "replicate") return Repeating(t, e, name, 2);
  if (name == "replace") return Repeating(t, e, name, 3);
  if (name == "format") return Format(t, e);
  for (const SimpleTextFunction& f : kSimpleFunctions) {
    if (name != f.name) continue;
    CheckArgumentCount(e, name, f.arg_count, f.arg_count);
    std::string sql = "tsql_" + name + "(";
    for (size_t i = 0; i < e.args.size(); ++i) sql += (i ? ", " : "") + t.Expr(*e.args[i]).sql;
    return SqlExpr(sql + ")", f.type, f.length);
  }
  return std::nullopt;
}

}  // namespace sqlsim
