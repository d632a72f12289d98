// Window functions: f(...) OVER (...) becomes SQLite's own window function,
// with the server's rules on where they stand and what OVER they need,
// the server's result types, and its collation for text partitions and
// orders.
#include <algorithm>
#include <map>

#include "sqlsim/engine/translator.h"

namespace sqlsim {
namespace {

enum class WindowKind { kRanking, kAggregate, kOffset, kValue };

struct WindowFunctionInfo {
  WindowKind kind;
  int min_args;
  int max_args;
};

const std::map<std::string, WindowFunctionInfo>& WindowFunctions() {
  static const std::map<std::string, WindowFunctionInfo> kFunctions = {
      {"row_number", {WindowKind::kRanking, 0, 0}}, {"rank", {WindowKind::kRanking, 0, 0}},
      {"dense_rank", {WindowKind::kRanking, 0, 0}}, {"ntile", {WindowKind::kRanking, 1, 1}},
      {"count", {WindowKind::kAggregate, 1, 1}},    {"sum", {WindowKind::kAggregate, 1, 1}},
      {"avg", {WindowKind::kAggregate, 1, 1}},      {"min", {WindowKind::kAggregate, 1, 1}},
      {"max", {WindowKind::kAggregate, 1, 1}},      {"lag", {WindowKind::kOffset, 1, 3}},
      {"lead", {WindowKind::kOffset, 1, 3}},        {"first_value", {WindowKind::kValue, 1, 1}},
      {"last_value", {WindowKind::kValue, 1, 1}},
  };
  return kFunctions;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

// Text sorts and partitions by the server's collation; a bare column
// brings its own.
std::string Collated(const SqlExpr& e) {
  if (e.is_column || !(IsTextType(e.type) || e.type == SqlType::kUnknown)) return e.sql;
  return e.sql + " COLLATE " + kCollation;
}

void CheckOver(const ast::Expr& e, const WindowFunctionInfo& info) {
  const ast::Over& over = *e.over;
  const std::string name = Upper(e.function);
  if (info.kind != WindowKind::kAggregate && over.order_by.empty()) {
    Fail(4112, "The function '" + name + "' must have an OVER clause with ORDER BY.", e.pos);
  }
  if ((info.kind == WindowKind::kRanking || info.kind == WindowKind::kOffset) && !over.frame.empty()) {
    Fail(10752, "The function '" + name + "' may not have a window frame.", e.pos);
  }
  if (e.distinct) Fail(10759, "Use of DISTINCT is not allowed with the OVER clause.", e.pos);
  const int count = e.star ? 1 : static_cast<int>(e.args.size());
  if (count < info.min_args || count > info.max_args || (e.star && e.function != "count")) {
    Fail(174, "The " + e.function + " function requires " + std::to_string(info.min_args) + " argument(s).", e.pos);
  }
}

}  // namespace

std::string Translator::OverSql(const ast::Over& over) {
  std::string sql = "OVER (";
  for (size_t i = 0; i < over.partition_by.size(); ++i) {
    sql += (i ? ", " : "PARTITION BY ") + Collated(Expr(*over.partition_by[i]));
  }
  for (size_t i = 0; i < over.order_by.size(); ++i) {
    const ast::OrderItem& item = over.order_by[i];
    if (item.expr->kind == ast::ExprKind::kLiteral && item.expr->literal_type == ast::LiteralType::kInteger) {
      Fail(5308,
           "Windowed functions, aggregates and NEXT VALUE FOR functions do not support integer indices as ORDER BY "
           "clause expressions.",
           item.expr->pos);
    }
    sql += std::string(i ? ", " : (over.partition_by.empty() ? "ORDER BY " : " ORDER BY ")) + Collated(Expr(*item.expr));
    if (item.descending) sql += " DESC";
  }
  if (!over.frame.empty()) sql += " " + over.frame;
  return sql + ")";
}

SqlExpr Translator::WindowFunction(const ast::Expr& e) {
  if (!windows_allowed_) Fail(4108, "Windowed functions can only appear in the SELECT or ORDER BY clauses.", e.pos);
  auto found = WindowFunctions().find(e.function);
  if (found == WindowFunctions().end() || !e.parts.empty()) {
    Fail(4113, "The function '" + e.function + "' is not a valid windowing function, and cannot be used with the OVER clause.",
         e.pos);
  }
  const WindowFunctionInfo& info = found->second;
  CheckOver(e, info);
  windows_allowed_ = false;
  std::vector<SqlExpr> args;
  for (const ast::ExprPtr& arg : e.args) args.push_back(Expr(*arg));
  // SQLite would look the other way for a negative offset and name its own
  // error for NTILE's count.
  if ((e.function == "lag" || e.function == "lead") && args.size() > 1) {
    args[1].sql = "tsql_lag_offset(" + args[1].sql + ")";
  }
  if (e.function == "ntile") args[0].sql = "tsql_ntile_count(" + args[0].sql + ")";
  std::string sql = e.function + "(";
  if (e.star) sql += "*";
  for (size_t i = 0; i < args.size(); ++i) sql += (i ? ", " : "") + args[i].sql;
  sql += ") " + OverSql(*e.over);
  windows_allowed_ = true;
  if (info.kind == WindowKind::kRanking) return {sql, SqlType::kBigint};
  if (e.function == "count") return {sql, SqlType::kInt};
  SqlExpr result(sql, args[0].type, args[0].length);
  result.precision = args[0].precision;
  result.scale = args[0].scale;
  result.numeric = args[0].numeric;
  if ((e.function == "sum" || e.function == "avg") && IsIntegerType(args[0].type)) {
    // As the grouped ones: int (bigint of bigint), 8115 past it.
    if (args[0].type != SqlType::kBigint) result.type = SqlType::kInt;
    if (e.function == "avg") result.sql = "CAST(" + sql + " AS INTEGER)";
    if (e.function == "sum" && result.type == SqlType::kInt) result.sql = "tsql_convert(" + sql + ", 'bigint', 'int', -1, -1)";
  }
  if (args[0].type == SqlType::kDecimal && args[0].precision > 0 && (e.function == "sum" || e.function == "avg")) {
    // As the grouped aggregates: 38 digits, an average at least 6 decimals.
    result.precision = 38;
    if (e.function == "avg") result.scale = std::max(args[0].scale, 6);
  }
  return result;
}

}  // namespace sqlsim
