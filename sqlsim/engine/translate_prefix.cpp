// Prefix searches over an indexed text column: SUBSTRING(col, 1, n) = p and
// col LIKE p. Neither is a form SQLite can seek on, so a range that holds
// every match is added beside the condition:
//   col >= prefix AND col <= prefix + (the highest byte repeated col's length)
// Under the server's collation (letters folded, trailing blanks ignored)
// every value that starts with the prefix lies in it; the condition itself
// still decides. The range only makes the index usable.
#include "sqlsim/engine/translator.h"
#include "sqlsim/functions/text.h"

namespace sqlsim {
namespace {

bool ContainsColumn(const ast::Expr& e, int depth = 0) {
  if (depth > 200 || e.kind == ast::ExprKind::kColumn || e.subquery) return true;
  for (const ast::ExprPtr& arg : e.args) {
    if (arg && ContainsColumn(*arg, depth + 1)) return true;
  }
  return false;
}

bool IsLiteralOne(const ast::Expr& e) {
  return e.kind == ast::ExprKind::kLiteral && e.literal_type == ast::LiteralType::kInteger && e.text == "1";
}

// SUBSTRING(col, 1, n): the column, else null.
const ast::Expr* SubstringColumn(const ast::Expr& e) {
  if (e.kind != ast::ExprKind::kFunction || !e.parts.empty() || e.args.size() != 3) return nullptr;
  std::string name = e.function;
  for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (name != "substring" || !IsLiteralOne(*e.args[1])) return nullptr;
  return e.args[0]->kind == ast::ExprKind::kColumn ? e.args[0].get() : nullptr;
}

// The byte that orders last under the collation once letters are folded
// (not 0xFF: it folds to 0x9F).
unsigned char HighestByte() {
  static const unsigned char highest = [] {
    unsigned char best = 0;
    for (int c = 1; c < 256; ++c) {
      if (CompareTsql(std::string(1, static_cast<char>(c)), std::string(1, static_cast<char>(best))) > 0) {
        best = static_cast<unsigned char>(c);
      }
    }
    return best;
  }();
  return highest;
}

std::string HighBytes(int32_t count) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string byte = {kHex[HighestByte() >> 4], kHex[HighestByte() & 15]};
  std::string hex = "X'";
  for (int32_t i = 0; i < count; ++i) hex += byte;
  return hex + "'";
}

}  // namespace

std::string Translator::WithPrefixRange(const std::string& condition, const ast::Expr& e, bool like) {
  const ast::Expr* column = nullptr;
  const ast::Expr* prefix = nullptr;
  if (like) {
    if (e.args[0]->kind == ast::ExprKind::kColumn) column = e.args[0].get();
    prefix = e.args[1].get();
  } else if ((column = SubstringColumn(*e.args[0])) != nullptr) {
    prefix = e.args[1].get();
  } else if ((column = SubstringColumn(*e.args[1])) != nullptr) {
    prefix = e.args[0].get();
  }
  if (!column || !prefix || ContainsColumn(*prefix)) return condition;
  SqlExpr target = Expr(*column);
  if (!target.is_column || !IsTextType(target.type) || target.length <= 0 || target.length > 8000) {
    return condition;
  }
  // The prefix is translated again for each bound: its parameters follow the
  // condition's in the text, as they do in param_map.
  std::string low = Expr(*prefix).sql;
  std::string high = Expr(*prefix).sql;
  if (like) {
    low = "tsql_like_prefix(" + low + ")";
    high = "tsql_like_prefix(" + high + ")";
  }
  return "(" + condition + " AND " + target.sql + " >= " + low + " AND " + target.sql + " <= (" + high + " || " +
         HighBytes(target.length) + "))";
}

}  // namespace sqlsim
