// Expressions: server semantics through the tsql_ functions and the TSQL
// collation wherever SQLite's own differ.
#include <algorithm>
#include <map>
#include <vector>

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/information_schema.h"
#include "sqlsim/engine/procedural.h"
#include "sqlsim/engine/session.h"
#include "sqlsim/engine/temp_tables.h"
#include "sqlsim/engine/translator.h"
#include "sqlsim/functions/text.h"

namespace sqlsim {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return text;
}


std::string TypeArg(SqlType type) { return QuoteText(std::string(CanonicalTypeName(type))); }

std::string Convert(const SqlExpr& value, SqlType target, int32_t length, int32_t style,
                    const char* function = "tsql_convert") {
  return std::string(function) + "(" + value.sql + ", " + TypeArg(value.type) + ", " + TypeArg(target) +
         ", " + std::to_string(length) + ", " + std::to_string(style) + ")";
}

bool IsNumeric(SqlType t) {
  return IsIntegerType(t) || t == SqlType::kFloat || t == SqlType::kReal || t == SqlType::kDecimal;
}

// The type text is converted to when it is compared with a number.
SqlType ComparisonTarget(SqlType numeric) {
  return IsIntegerType(numeric) && numeric != SqlType::kBit ? numeric : SqlType::kFloat;
}

// Simple functions: server name -> (SQLite function, result type).
struct SimpleFunction {
  const char* sqlite_name;
  SqlType type;  // kUnknown: type of the first argument
  int min_args;
  int max_args;
};

const std::map<std::string, SimpleFunction>& SimpleFunctions() {
  static const std::map<std::string, SimpleFunction> kFunctions = {
      {"upper", {"tsql_upper", SqlType::kVarchar, 1, 1}},
      {"lower", {"tsql_lower", SqlType::kVarchar, 1, 1}},
      {"ltrim", {"tsql_ltrim", SqlType::kVarchar, 1, 1}},
      {"rtrim", {"tsql_rtrim", SqlType::kVarchar, 1, 1}},
      {"len", {"tsql_len", SqlType::kInt, 1, 1}},
      {"datalength", {"tsql_datalength", SqlType::kInt, 1, 1}},
      {"substring", {"tsql_substring", SqlType::kVarchar, 3, 3}},
      {"left", {"tsql_left", SqlType::kVarchar, 2, 2}},
      {"right", {"tsql_right", SqlType::kVarchar, 2, 2}},
      {"space", {"tsql_space", SqlType::kVarchar, 1, 1}},
      {"charindex", {"tsql_charindex", SqlType::kInt, 2, 3}},
      {"abs", {"tsql_abs", SqlType::kUnknown, 1, 1}},
      {"floor", {"tsql_floor", SqlType::kUnknown, 1, 1}},
      {"ceiling", {"tsql_ceiling", SqlType::kUnknown, 1, 1}},
      {"round", {"tsql_round", SqlType::kUnknown, 2, 3}},
      {"str", {"tsql_str", SqlType::kVarchar, 1, 3}},
      {"getdate", {"tsql_getdate", SqlType::kDatetime, 0, 0}},
      {"current_timestamp", {"tsql_getdate", SqlType::kDatetime, 0, 0}},
      {"isdate", {"tsql_isdate", SqlType::kInt, 1, 1}},
      {"isnumeric", {"tsql_isnumeric", SqlType::kInt, 1, 1}},
      {"coalesce", {"coalesce", SqlType::kUnknown, 2, 64}},
      {"max", {"max", SqlType::kUnknown, 1, 1}},
      {"min", {"min", SqlType::kUnknown, 1, 1}},
      {"sum", {"sum", SqlType::kUnknown, 1, 1}},
      {"avg", {"avg", SqlType::kUnknown, 1, 1}},
  };
  return kFunctions;
}

bool IsAggregate(const std::string& name) {
  return name == "count" || name == "sum" || name == "avg" || name == "min" || name == "max";
}

// The argument of an aggregate: DISTINCT passed on (MIN and MAX need none),
// and text compared under the server's collation, so that DISTINCT takes
// 'a' and 'A ' for one value and MIN/MAX order as the server does.
std::string AggregateArgument(const ast::Expr& call, const SqlExpr& arg) {
  const std::string name = Lower(call.function);
  std::string sql = arg.sql;
  if (IsTextType(arg.type) && !arg.is_column) sql = "(" + sql + ") COLLATE " + kCollation;
  bool keeps_distinct = call.distinct && name != "min" && name != "max";
  return (keeps_distinct ? "DISTINCT " : "") + sql;
}

void CheckSummable(const std::string& name, const SqlExpr& arg, const ast::SourcePos& pos) {
  std::string type;
  if (arg.type == SqlType::kUnknown && arg.sql == "NULL") {
    type = "NULL";
  } else if (IsTextType(arg.type) || IsBinaryType(arg.type) || arg.type == SqlType::kBit ||
             arg.type == SqlType::kDatetime) {
    type = std::string(CanonicalTypeName(arg.type));
  }
  if (!type.empty()) Fail(8117, "Operand data type " + type + " is invalid for " + name + " operator.", pos);
}

// SUM and AVG of whole numbers are int (bigint of bigint) and overflow past
// it; AVG truncates the sum divided by the count, as the server does.
std::string IntegerSumSql(const std::string& sum, SqlType type) {
  if (type == SqlType::kBigint) return sum;
  return "tsql_convert(" + sum + ", 'bigint', 'int', -1, -1)";
}

}  // namespace

bool IdentifiersEqual(const std::string& a, const std::string& b) { return LowerText(a) == LowerText(b); }

[[noreturn]] void Fail(int32_t number, std::string message, const ast::SourcePos& pos) {
  throw TranslateError{ServerError(number, std::move(message), pos.line)};
}

std::string QuoteName(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    out += c;
    if (c == '"') out += '"';
  }
  return out + "\"";
}

std::string QuoteText(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

SqlExpr Translator::Expr(const ast::Expr& e) {
  switch (e.kind) {
    case ast::ExprKind::kLiteral: {
      switch (e.literal_type) {
        case ast::LiteralType::kNull: return {"NULL"};
        case ast::LiteralType::kInteger: {
          bool big = e.text.size() > 10 || (e.text.size() == 10 && e.text > "2147483647");
          return {e.text, big ? SqlType::kBigint : SqlType::kInt};
        }
        case ast::LiteralType::kDecimal: return DecimalLiteral(e.text);
        case ast::LiteralType::kFloat: return {e.text, SqlType::kFloat};
        case ast::LiteralType::kString:
          return {QuoteText(e.text), SqlType::kVarchar, static_cast<int32_t>(e.text.size())};
        case ast::LiteralType::kBinary: {
          static const char kHex[] = "0123456789ABCDEF";
          std::string hex = "X'";
          for (unsigned char c : e.text) {
            hex += kHex[c >> 4];
            hex += kHex[c & 15];
          }
          return {hex + "'", SqlType::kVarbinary, static_cast<int32_t>(e.text.size())};
        }
      }
      return {"NULL"};
    }
    case ast::ExprKind::kColumn: return Column(e);
    case ast::ExprKind::kVariable: return Variable(e);
    case ast::ExprKind::kParameter:
      out_->param_map.push_back({ParamSource::Kind::kBatch, e.param_index, ""});
      return {"?"};
    case ast::ExprKind::kUnary: {
      SqlExpr operand = Expr(*e.args.at(0));
      if (e.op == "NOT") return {"(NOT " + operand.sql + ")", SqlType::kBit};
      if (e.op == "~") return {"(~" + operand.sql + ")", operand.type};
      if (e.op == "-") return {"tsql_neg(" + operand.sql + ")", operand.type};
      return operand;
    }
    case ast::ExprKind::kBinary: return Binary(e);
    case ast::ExprKind::kFunction: return Function(e);
    case ast::ExprKind::kCast: return Cast(e);
    case ast::ExprKind::kCase: return Case(e);
    case ast::ExprKind::kSubquery: {
      single_value_ = NeedsSingleValueCheck(*e.subquery);
      std::string sql = Subquery(*e.subquery);
      single_value_ = false;
      return {"(" + sql + ")"};
    }
    default: return Predicate(e);
  }
}

// A number with a point is numeric(p,s) of its digits, as the server
// types it: 1.25 is numeric(3,2), 0.5 numeric(1,1).
SqlExpr DecimalLiteral(const std::string& text) {
  SqlExpr value(text, SqlType::kDecimal, 0);
  size_t point = text.find('.');
  std::string whole = text.substr(0, point);
  size_t first = whole.find_first_not_of("+-0");
  int32_t integer_digits = first == std::string::npos ? 0 : static_cast<int32_t>(whole.size() - first);
  int32_t scale = point == std::string::npos ? 0 : static_cast<int32_t>(text.size() - point - 1);
  value.scale = std::min(scale, 38);
  value.precision = std::min(std::max(integer_digits + scale, 1), 38);
  value.numeric = true;
  return value;
}

SqlExpr IdentityValue(std::string sql) {
  SqlExpr value(std::move(sql), SqlType::kDecimal, 0);
  value.precision = 38;
  value.numeric = true;
  return value;
}

const CatalogTable* Translator::FindTable(const ast::ObjectName& name) {
  // Only the current database is open: another's name must not reach this
  // one's table of the same name.
  if (!name.database.empty() && !IdentifiersEqual(name.database, session_.CurrentDatabase()) &&
      !InTempDatabase(name)) {
    Fail(208, "Invalid object name '" + name.database + "." + (name.schema.empty() ? "dbo" : name.schema) + "." +
                  name.name + "'.",
         name.pos);
  }
  if (IdentifiersEqual(name.schema, std::string(kInformationSchema))) {
    const CatalogTable* view = FindInformationSchemaView(name.name);
    if (!view) Fail(208, "Invalid object name '" + name.schema + "." + name.name + "'.", name.pos);
    return view;
  }
  if (IsTableVariableName(name.name)) {
    const CatalogTable* table = session_.catalog().FindTable(TableVariableKey(name.name, session_.globals().nest_level));
    if (!table) Fail(1087, "Must declare the table variable \"" + name.name + "\".", name.pos);
    return table;
  }
  return session_.catalog().FindTable(name.name);
}

SqlExpr Translator::Column(const ast::Expr& e) {
  const std::string& column = e.parts.back();
  std::string qualifier = e.parts.size() >= 2 ? e.parts[e.parts.size() - 2] : "";
  SqlExpr result;
  result.is_column = true;
  result.name = column;
  result.sql = (qualifier.empty() ? "" : QuoteName(qualifier) + ".") + QuoteName(column);
  for (auto scope = scopes_.rbegin(); scope != scopes_.rend(); ++scope) {
    for (const ScopeTable& entry : *scope) {
      if (!qualifier.empty() && !IdentifiersEqual(entry.alias, qualifier)) continue;
      if (!entry.table) continue;
      if (const CatalogColumn* c = entry.table->FindColumn(column)) {
        // Spelled as SQLite knows them: it matches only ASCII letters in
        // another case.
        result.sql = (qualifier.empty() ? "" : QuoteName(entry.alias) + ".") + QuoteName(c->name);
        result.type = c->type;
        result.length = c->length;
        if (c->type == SqlType::kDecimal) {
          result.precision = c->precision;
          result.scale = c->scale;
        }
        return result;
      }
    }
  }
  return result;
}

namespace {

// The operands of a left-deep chain of one operator (a + b + c), in order,
// so that a long chain becomes one flat call instead of nested ones.
std::vector<const ast::Expr*> ChainOperands(const ast::Expr& e) {
  std::vector<const ast::Expr*> operands;
  const ast::Expr* node = &e;
  while (node->kind == ast::ExprKind::kBinary && node->op == e.op) {
    operands.push_back(node->args.at(1).get());
    node = node->args.at(0).get();
  }
  operands.push_back(node);
  return {operands.rbegin(), operands.rend()};
}

}  // namespace

// An operand as a decimal: whole numbers by the digits their type holds.
void DecimalShape(SqlType type, int32_t decimal_precision, int32_t decimal_scale, int32_t* precision,
                  int32_t* scale) {
  *scale = 0;
  switch (type) {
    case SqlType::kDecimal:
      *precision = decimal_precision > 0 ? decimal_precision : 18;
      *scale = decimal_scale;
      return;
    case SqlType::kBigint: *precision = 19; return;
    case SqlType::kSmallint: *precision = 5; return;
    case SqlType::kTinyint: *precision = 3; return;
    case SqlType::kBit: *precision = 1; return;
    default: *precision = 10; return;
  }
}

// The server's precision and scale of a decimal result: past 38 digits the
// scale gives way, to no less than 6 when the whole part needs the room.
void DecimalResult(const std::string& op, int32_t p1, int32_t s1, int32_t p2, int32_t s2, int32_t* p, int32_t* s) {
  if (op == "*") {
    *p = p1 + p2 + 1;
    *s = s1 + s2;
  } else if (op == "/") {
    *s = std::max(6, s1 + p2 + 1);
    *p = p1 - s1 + s2 + *s;
  } else if (op == "%") {
    *s = std::max(s1, s2);
    *p = std::min(p1 - s1, p2 - s2) + *s;
  } else {
    *s = std::max(s1, s2);
    *p = std::max(p1 - s1, p2 - s2) + *s + 1;
  }
  if (*p <= 38) return;
  const int32_t whole = *p - *s;
  *s = whole < 32 ? std::min(*s, 38 - whole) : std::min(*s, 6);
  *p = 38;
}

// Arithmetic on numbers takes the type of highest precedence among its
// operands: float, then decimal (its precision and scale by the server's
// rules, the value rounded to that scale), then bigint, then int.
void Translator::TypeArithmetic(const std::string& op, const std::vector<SqlExpr>& operands, SqlExpr* result) {
  bool any_float = false, any_decimal = false, any_bigint = false, all_numeric = true;
  for (const SqlExpr& operand : operands) {
    any_float = any_float || operand.type == SqlType::kFloat || operand.type == SqlType::kReal;
    any_decimal = any_decimal || operand.type == SqlType::kDecimal;
    any_bigint = any_bigint || operand.type == SqlType::kBigint;
    // numeric(p,s), as literals are, unless a decimal takes part.
    all_numeric = all_numeric && (operand.type != SqlType::kDecimal || operand.numeric);
  }
  if (any_float) {
    result->type = SqlType::kFloat;
  } else if (any_decimal) {
    int32_t p = 0, s = 0;
    DecimalShape(operands.front().type, operands.front().precision, operands.front().scale, &p, &s);
    for (size_t i = 1; i < operands.size(); ++i) {
      int32_t p2 = 0, s2 = 0;
      DecimalShape(operands[i].type, operands[i].precision, operands[i].scale, &p2, &s2);
      DecimalResult(op, p, s, p2, s2, &p, &s);
    }
    result->sql = Convert(SqlExpr(result->sql, SqlType::kFloat), SqlType::kDecimal, s, -1);
    result->type = SqlType::kDecimal;
    result->precision = p;
    result->scale = s;
    result->numeric = all_numeric;
  } else {
    result->type = any_bigint ? SqlType::kBigint : SqlType::kInt;
  }
}

SqlExpr Translator::Binary(const ast::Expr& e) {
  const std::string& op = e.op;
  if (op == "=" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=") {
    return Comparison(e);
  }
  static const std::map<std::string, const char*> kArithmetic = {
      {"+", "tsql_add"}, {"-", "tsql_sub"}, {"*", "tsql_mul"}, {"/", "tsql_div"}, {"%", "tsql_mod"}};
  bool chained = op == "AND" || op == "OR" || op == "+" || op == "-" || op == "*";
  std::vector<const ast::Expr*> operand_nodes =
      chained ? ChainOperands(e) : std::vector<const ast::Expr*>{e.args.at(0).get(), e.args.at(1).get()};
  std::vector<SqlExpr> operands;
  for (const ast::Expr* node : operand_nodes) operands.push_back(Expr(*node));
  auto joined = [&](const std::string& separator) {
    std::string sql;
    for (size_t i = 0; i < operands.size(); ++i) sql += (i ? separator : "") + operands[i].sql;
    return sql;
  };
  const SqlExpr& left = operands.front();
  const SqlExpr& right = operands.back();
  if (op == "AND" || op == "OR") return {"(" + joined(" " + op + " ") + ")", SqlType::kBit};
  if (op == "&" || op == "|") return {"(" + left.sql + " " + op + " " + right.sql + ")", SqlType::kInt};
  if (op == "^") {
    return {"((" + left.sql + " | " + right.sql + ") - (" + left.sql + " & " + right.sql + "))",
            SqlType::kInt};
  }
  auto it = kArithmetic.find(op);
  if (it == kArithmetic.end()) Fail(102, "Incorrect syntax near '" + op + "'.", e.pos);
  SqlExpr result{std::string(it->second) + "(" + joined(", ") + ")"};
  bool all_text = true, all_numeric = true, all_integer = true;
  for (const SqlExpr& operand : operands) {
    all_text = all_text && IsTextType(operand.type);
    all_numeric = all_numeric && IsNumeric(operand.type);
    all_integer = all_integer && IsIntegerType(operand.type);
  }
  if (op == "+" && all_text) {
    result.type = SqlType::kVarchar;
  } else if (all_numeric) {
    TypeArithmetic(op, operands, &result);
  }
  return result;
}

// Text compares by the server's collation. A bare column brings its own
// (so SQLite can use its index); other operands get it explicitly. A
// datetime column compared with text compares dates, not spellings.
SqlExpr Translator::Comparison(const ast::Expr& e) {
  SqlExpr left = Expr(*e.args.at(0));
  SqlExpr right = Expr(*e.args.at(1));
  if (left.type == SqlType::kDatetime && right.type != SqlType::kDatetime) {
    right.sql = Convert(right, SqlType::kDatetime, -1, -1);
  } else if (right.type == SqlType::kDatetime && left.type != SqlType::kDatetime) {
    left.sql = Convert(left, SqlType::kDatetime, -1, -1);
  } else if (IsNumeric(left.type) && IsTextType(right.type)) {
    // Text meets a number as a number, and text that is none is an error.
    right.sql = Convert(right, ComparisonTarget(left.type), -1, -1);
  } else if (IsTextType(left.type) && IsNumeric(right.type)) {
    left.sql = Convert(left, ComparisonTarget(right.type), -1, -1);
    left.is_column = false;
  }
  std::string l = left.sql;
  if (!left.is_column && !right.is_column) l += std::string(" COLLATE ") + kCollation;
  std::string sql = "(" + l + " " + e.op + " " + right.sql + ")";
  if (e.op == "=") sql = WithPrefixRange(sql, e, false);
  return {sql, SqlType::kBit};
}

SqlExpr Translator::Predicate(const ast::Expr& e) {
  std::string neg = e.negated ? "NOT " : "";
  switch (e.kind) {
    case ast::ExprKind::kIsNull:
      return {"(" + Expr(*e.args.at(0)).sql + (e.negated ? " IS NOT NULL)" : " IS NULL)"), SqlType::kBit};
    case ast::ExprKind::kExists:
      return {"(" + neg + "EXISTS (" + Subquery(*e.subquery) + "))", SqlType::kBit};
    case ast::ExprKind::kInSubquery: {
      SqlExpr value = Expr(*e.args.at(0));
      return {"(" + value.sql + " " + neg + "IN (" + Subquery(*e.subquery) + "))", SqlType::kBit};
    }
    case ast::ExprKind::kInList: {
      SqlExpr value = Expr(*e.args.at(0));
      std::string sql = "(" + value.sql;
      if (!value.is_column) sql += std::string(" COLLATE ") + kCollation;
      sql += " " + neg + "IN (";
      for (size_t i = 1; i < e.args.size(); ++i) sql += (i > 1 ? ", " : "") + Expr(*e.args[i]).sql;
      return {sql + "))", SqlType::kBit};
    }
    case ast::ExprKind::kBetween: {
      SqlExpr value = Expr(*e.args.at(0));
      std::string v = value.sql;
      if (!value.is_column) v += std::string(" COLLATE ") + kCollation;
      // One statement per operand: their markers are numbered in the order
      // they are translated.
      std::string low = Expr(*e.args.at(1)).sql;
      std::string high = Expr(*e.args.at(2)).sql;
      return {"(" + v + " " + neg + "BETWEEN " + low + " AND " + high + ")", SqlType::kBit};
    }
    case ast::ExprKind::kLike: {
      std::string sql = "tsql_like(" + Expr(*e.args.at(0)).sql;
      sql += ", " + Expr(*e.args.at(1)).sql;
      if (e.args.size() > 2) sql += ", " + Expr(*e.args[2]).sql;
      sql = "(" + neg + sql + "))";
      if (!e.negated && e.args.size() == 2) sql = WithPrefixRange(sql, e, true);
      return {sql, SqlType::kBit};
    }
    default:
      Fail(102, "Incorrect syntax.", e.pos);
  }
}

SqlExpr Translator::Cast(const ast::Expr& e) {
  SqlExpr value = Expr(*e.args.at(0));
  SqlType target = SqlTypeOf(e.type);
  if (target == SqlType::kUnknown) {
    Fail(243, "Type " + e.type.name + " is not a defined system type.", e.pos);
  }
  int32_t style = -1;
  if (e.args.size() > 1) {
    const ast::Expr& s = *e.args[1];
    if (s.kind != ast::ExprKind::kLiteral || s.literal_type != ast::LiteralType::kInteger) {
      Fail(8116, "The style of CONVERT must be a number.", s.pos);
    }
    style = std::atoi(s.text.c_str());
  }
  if (e.type.name == "date" && IsNumeric(value.type)) {
    Fail(529, "Explicit conversion from data type " + std::string(CanonicalTypeName(value.type)) +
                  " to date is not allowed.", e.pos);
  }
  int32_t length = e.type.length;
  if (target == SqlType::kDecimal) length = e.type.scale < 0 ? 0 : e.type.scale;
  SqlExpr result{Convert(value, target, length, style, e.is_try ? "tsql_try_convert" : "tsql_convert"), target,
                 length > 0 ? length : 0};
  if (target == SqlType::kDecimal) {
    result.precision = e.type.length > 0 ? e.type.length : 18;
    result.scale = length;
  }
  return result;
}

SqlExpr Translator::Case(const ast::Expr& e) {
  std::string sql = "(CASE";
  size_t i = 0;
  if (e.has_operand) sql += " " + Expr(*e.args.at(i++)).sql;
  size_t end = e.args.size() - (e.has_else ? 1 : 0);
  SqlExpr result;
  bool first = true;
  // The first branch's type; a length could be too short for the others.
  // Decimal branches widen to hold every branch's integer digits and
  // decimals, as the server types them; any other branch leaves them unknown.
  auto merge = [&](const SqlExpr& branch) {
    if (branch.type == SqlType::kUnknown) return;
    if (first) {
      first = false;
      result.type = branch.type;
      result.precision = branch.precision;
      result.scale = branch.scale;
      result.numeric = branch.numeric;
      return;
    }
    if (result.precision <= 0) return;
    if (branch.type != SqlType::kDecimal || branch.precision <= 0) {
      result.precision = 0;
      return;
    }
    int32_t scale = std::max(result.scale, branch.scale);
    int32_t integer_digits = std::max(result.precision - result.scale, branch.precision - branch.scale);
    result.precision = std::min(integer_digits + scale, 38);
    result.scale = std::min(scale, result.precision);
  };
  for (; i + 1 < end; i += 2) {
    sql += " WHEN " + Expr(*e.args[i]).sql;
    SqlExpr then = Expr(*e.args[i + 1]);
    merge(then);
    sql += " THEN " + then.sql;
  }
  if (e.has_else) {
    SqlExpr otherwise = Expr(*e.args.back());
    merge(otherwise);
    sql += " ELSE " + otherwise.sql;
  }
  result.sql = sql + " END)";
  return result;
}

SqlExpr Translator::Function(const ast::Expr& e) {
  if (e.over) return WindowFunction(e);
  const std::string name = Lower(e.function);
  if (!e.parts.empty() && !IdentifiersEqual(e.parts.back(), "dbo")) {
    Fail(4121, "Cannot find either column \"" + e.parts.back() + "\" or the user-defined function or aggregate \"" +
                   e.parts.back() + "." + e.function + "\", or the name is ambiguous.", e.pos);
  }
  if (!e.parts.empty()) return UserFunction(e);
  if (name == "ident_current") {
    if (e.args.size() != 1) Fail(174, "The ident_current function requires 1 argument(s).", e.pos);
    return IdentityValue("tsql_ident_current(" + Expr(*e.args[0]).sql + ")");
  }
  if ((name.rfind("error_", 0) == 0 || name == "scope_identity") && e.args.empty()) {
    // ERROR_NUMBER() and its kind: values of the CATCH block being run;
    // SCOPE_IDENTITY(): the frame's.
    ast::Expr global;
    global.kind = ast::ExprKind::kVariable;
    global.text = name + "()";
    global.pos = e.pos;
    if (GlobalVariableType(global.text)) return Variable(global);
  }
  if (name == "update") return ColumnUpdated(e);
  if (name == "nullif") return NullIf(e);
  if (name == "count") {
    if (e.star) return {"count(*)", SqlType::kInt};
    return {"count(" + AggregateArgument(e, Expr(*e.args.at(0))) + ")", SqlType::kInt};
  }
  if (name == "isnull") {
    if (e.args.size() != 2) Fail(174, "The isnull function requires 2 argument(s).", e.pos);
    SqlExpr first = Expr(*e.args[0]);
    SqlExpr second = Expr(*e.args[1]);
    // A decimal's length here is its scale, which the replacement is rounded to.
    bool decimal = first.type == SqlType::kDecimal && first.precision > 0;
    int32_t length = decimal ? first.scale : first.length;
    if (first.type != SqlType::kUnknown) {
      second.sql = Convert(second, first.type, decimal || length > 0 ? length : -1, -1);
    }
    SqlExpr result("coalesce(" + first.sql + ", " + second.sql + ")", first.type, first.length);
    result.precision = first.precision;
    result.scale = first.scale;
    result.numeric = first.numeric;
    return result;
  }
  if (SqlExpr translated; TranslateFunctionBeyondTable(*this, e, name, &translated)) return translated;
  if (name == "object_id") {
    if (e.args.empty() || e.args.size() > 2) Fail(174, "The object_id function requires 1 to 2 arguments.", e.pos);
    std::string type = e.args.size() == 2 ? " AND xtype = " + Expr(*e.args[1]).sql : "";
    std::string sql = "coalesce((SELECT id FROM sysobjects WHERE name = tsql_objname(" + Expr(*e.args[0]).sql + ")" +
                      type + " LIMIT 1), ";
    // tempdb..#t: the connection's temporary table.
    std::string written = Expr(*e.args[0]).sql;
    sql += "(SELECT id FROM tempdb.sysobjects WHERE " + written + " LIKE 'tempdb.%' AND name = tsql_objname(" + written +
           ")" + (e.args.size() == 2 ? " AND xtype = " + Expr(*e.args[1]).sql : "") + " LIMIT 1))";
    return {sql, SqlType::kInt};
  }
  if (name == "object_definition") {
    // The text a module, default or check was created with; NULL for others.
    if (e.args.size() != 1) Fail(174, "The object_definition function requires 1 argument(s).", e.pos);
    return {"(SELECT text FROM syscomments WHERE id = " + Expr(*e.args[0]).sql + " AND colid = 1)", SqlType::kVarchar,
            0};
  }
  auto it = SimpleFunctions().find(name);
  if (it == SimpleFunctions().end()) {
    Fail(195, "'" + e.function + "' is not a recognized built-in function name.", e.pos);
  }
  const SimpleFunction& f = it->second;
  int count = static_cast<int>(e.args.size());
  if (count < f.min_args || count > f.max_args) {
    Fail(174, "The " + name + " function requires " + std::to_string(f.min_args) + " argument(s).", e.pos);
  }
  if (e.distinct && !IsAggregate(name)) Fail(156, "Incorrect syntax near the keyword 'DISTINCT'.", e.pos);
  std::vector<SqlExpr> args;
  for (const ast::ExprPtr& arg : e.args) args.push_back(Expr(*arg));
  if (IsAggregate(name)) {
    if (name == "sum" || name == "avg") CheckSummable(name, args[0], e.pos);
    args[0].sql = AggregateArgument(e, args[0]);
  }
  if (name == "datalength" && args[0].type != SqlType::kUnknown && !IsTextType(args[0].type) &&
      !IsBinaryType(args[0].type)) {
    // Numbers and dates have the size of their type, not of SQLite's value.
    return {"(CASE WHEN " + args[0].sql + " IS NULL THEN NULL ELSE " +
                std::to_string(CatalogLength(args[0].type, args[0].length)) + " END)",
            SqlType::kInt};
  }
  std::string sql = std::string(f.sqlite_name) + "(";
  SqlType type = f.type;
  for (size_t i = 0; i < args.size(); ++i) {
    if (i == 0 && type == SqlType::kUnknown) type = args[i].type;
    sql += (i ? ", " : "") + args[i].sql;
  }
  if ((name == "sum" || name == "avg") && IsIntegerType(type)) return IntegerSum(e, sql + ")", type);
  SqlExpr result(sql + ")", type);
  if (type == SqlType::kDecimal && !args.empty() && args[0].precision > 0) {
    // The server widens sums and averages of decimals to 38 digits, and an
    // average keeps at least 6 decimals.
    bool widened = name == "sum" || name == "avg";
    result.precision = widened ? 38 : args[0].precision;
    result.scale = name == "avg" ? std::max(args[0].scale, 6) : args[0].scale;
    result.numeric = args[0].numeric;
  }
  return result;
}

SqlExpr Translator::IntegerSum(const ast::Expr& e, const std::string& call, SqlType type) {
  const SqlType result = type == SqlType::kBigint ? SqlType::kBigint : SqlType::kInt;
  if (Lower(e.function) == "sum") return {IntegerSumSql(call, type), result};
  // The count reads the argument again, translated anew for its markers.
  SqlExpr again = Expr(*e.args[0]);
  std::string count = "count(" + AggregateArgument(e, again) + ")";
  std::string sum = "sum" + call.substr(call.find('('));
  return {"(" + IntegerSumSql(sum, type) + " / " + count + ")", result};
}

}  // namespace sqlsim
