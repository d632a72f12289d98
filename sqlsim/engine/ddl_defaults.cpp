// DEFAULT values: constants converted to the column's stored form when
// that is plain (a char(n) default padded to n), otherwise left to the
// server's conversion function at insert time, as the server converts them.
#include <cctype>
#include <limits>
#include <string>

#include "sqlsim/engine/ddl_support.h"
#include "sqlsim/functions/datetime.h"
#include "sqlsim/engine/types.h"

namespace sqlsim::ddl {
namespace {

constexpr int kMaxConstantDepth = 32;

struct Constant {
  ast::LiteralType type = ast::LiteralType::kNull;
  std::string text;  // the value; numbers with their sign
};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool IsDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::string Negate(std::string_view number) {
  if (!number.empty() && number[0] == '-') return std::string(number.substr(1));
  if (!number.empty() && number[0] == '+') number.remove_prefix(1);
  return "-" + std::string(number);
}

bool IsNumber(ast::LiteralType type) {
  return type == ast::LiteralType::kInteger || type == ast::LiteralType::kDecimal ||
         type == ast::LiteralType::kFloat;
}

// A literal, possibly signed (-5, -(5)); false for anything else.
bool AsConstant(const ast::Expr& expr, Constant* out, int depth) {
  if (depth > kMaxConstantDepth) return false;
  if (expr.kind == ast::ExprKind::kLiteral) {
    out->type = expr.literal_type;
    out->text = expr.text;
    return true;
  }
  if (expr.kind == ast::ExprKind::kCast && !expr.args.empty() && expr.type.name == "datetime") {
    // CONVERT(datetime, '1900-01-01', 120): a date written as text stays a
    // constant; the column's conversion reads the text.
    return AsConstant(*expr.args[0], out, depth + 1) && out->type == ast::LiteralType::kString;
  }
  if (expr.kind != ast::ExprKind::kUnary || expr.args.size() != 1 ||
      (expr.op != "-" && expr.op != "+")) {
    return false;
  }
  if (!AsConstant(*expr.args[0], out, depth + 1) || !IsNumber(out->type)) return false;
  if (expr.op == "-") out->text = Negate(out->text);
  return true;
}

std::string ConstantSql(const Constant& constant) {
  switch (constant.type) {
    case ast::LiteralType::kNull: return "NULL";
    case ast::LiteralType::kString: return QuoteText(constant.text);
    case ast::LiteralType::kBinary: return QuoteBlob(constant.text);
    default: return constant.text;
  }
}

std::string_view SourceType(ast::LiteralType type) {
  switch (type) {
    case ast::LiteralType::kInteger: return "int";
    case ast::LiteralType::kDecimal: return "decimal";
    case ast::LiteralType::kFloat: return "float";
    case ast::LiteralType::kBinary: return "varbinary";
    default: return "varchar";
  }
}

// The value converted by the server function when the row is inserted.
std::string StoreCall(const std::string& value_sql, std::string_view source,
                      const ColumnSpec& column) {
  return "(tsql_store(" + value_sql + ", " + QuoteText(source) + ", " +
         QuoteText(CanonicalTypeName(column.type)) + ", " + std::to_string(StoreLength(column)) +
         ", " +
         QuoteText(column.name) + "))";
}

bool FitsInteger(std::string_view digits, SqlType type, std::string* out) {
  bool negative = !digits.empty() && digits[0] == '-';
  if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
  while (digits.size() > 1 && digits[0] == '0') digits.remove_prefix(1);
  if (!IsDigits(digits) || digits.size() > 19) return false;
  unsigned long long magnitude = std::stoull(std::string(digits));
  if (type == SqlType::kBit) {
    *out = magnitude == 0 ? "0" : "1";
    return true;
  }
  long double value = negative ? -static_cast<long double>(magnitude)
                               : static_cast<long double>(magnitude);
  long double low = std::numeric_limits<int64_t>::min();
  long double high = std::numeric_limits<int64_t>::max();
  if (type == SqlType::kInt) { low = -2147483648.0L; high = 2147483647.0L; }
  if (type == SqlType::kSmallint) { low = -32768; high = 32767; }
  if (type == SqlType::kTinyint) { low = 0; high = 255; }
  if (value < low || value > high) return false;
  *out = (negative && magnitude != 0 ? "-" : "") + std::string(digits);
  return true;
}

// Integer columns: integers, decimals cut toward zero, digit strings.
bool IntegerDefault(const Constant& constant, SqlType type, std::string* sql) {
  std::string_view text = constant.text;
  if (constant.type == ast::LiteralType::kDecimal) {
    return FitsInteger(text.substr(0, text.find('.')), type, sql);
  }
  if (constant.type == ast::LiteralType::kString) {
    text = Trim(text);
    if (type == SqlType::kBit) {
      std::string lower;
      for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (lower == "true" || lower == "false") {
        *sql = lower == "true" ? "1" : "0";
        return true;
      }
    }
    return FitsInteger(text, type, sql);
  }
  return constant.type == ast::LiteralType::kInteger && FitsInteger(text, type, sql);
}

// [+-]digits[.digits][e[+-]digits] with at least one digit.
bool IsNumericText(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i >= text.size() || !IsDigits(text.substr(i))) return false;
    i = text.size();
  }
  return i == text.size();
}

bool RealDefault(const Constant& constant, std::string* sql) {
  if (IsNumber(constant.type)) {
    *sql = constant.text;
    return true;
  }
  std::string_view text = Trim(constant.text);
  if (constant.type != ast::LiteralType::kString || !IsNumericText(text)) return false;
  *sql = std::string(text);
  return true;
}

// Fits text into (var)char(n): trailing blanks beyond n may go, as the
// server drops them without complaint; char(n) is padded.
bool TextDefault(const Constant& constant, const ColumnSpec& column, std::string* sql) {
  if (constant.type == ast::LiteralType::kFloat || constant.type == ast::LiteralType::kBinary) {
    return false;
  }
  std::string value = constant.text;
  size_t limit = column.type == SqlType::kText || column.length == 0
                     ? value.size()
                     : static_cast<size_t>(column.length);
  if (value.size() > limit) {
    if (Trim(std::string_view(value).substr(limit)).size() > 0) return false;
    value.resize(limit);
  }
  if (column.type == SqlType::kChar) value.resize(limit, ' ');
  *sql = QuoteText(value);
  return true;
}

bool BinaryDefault(const Constant& constant, const ColumnSpec& column, std::string* sql) {
  if (constant.type != ast::LiteralType::kBinary) return false;
  std::string value = constant.text;
  if (column.type != SqlType::kImage && column.length > 0) {
    size_t limit = static_cast<size_t>(column.length);
    if (value.size() > limit) return false;
    if (column.type == SqlType::kBinary) value.resize(limit, '\0');
  }
  *sql = QuoteBlob(value);
  return true;
}

bool DatetimeDefault(const Constant& constant, std::string* sql) {
  std::string canonical;
  if (constant.type == ast::LiteralType::kInteger && Trim(constant.text) == "0") {
    canonical = "1900-01-01 00:00:00.000";
  } else if (constant.type != ast::LiteralType::kString ||
             !CanonicalDatetime(constant.text, &canonical)) {
    return false;
  }
  *sql = QuoteText(canonical);
  return true;
}

// The stored form of a constant, if it can be had without the server's
// conversion function.
bool PlainDefault(const Constant& constant, const ColumnSpec& column, std::string* sql) {
  if (constant.type == ast::LiteralType::kNull) {
    *sql = "NULL";
    return true;
  }
  if (IsTextType(column.type)) return TextDefault(constant, column, sql);
  if (IsIntegerType(column.type)) return IntegerDefault(constant, column.type, sql);
  if (IsBinaryType(column.type)) return BinaryDefault(constant, column, sql);
  if (column.type == SqlType::kDatetime) return DatetimeDefault(constant, sql);
  return RealDefault(constant, sql);
}

// The definition as the server keeps and shows it (COLUMN_DEFAULT):
// numbers in two pairs of parentheses, other constants in one.
std::string ServerDefinition(const Constant& constant) {
  switch (constant.type) {
    case ast::LiteralType::kNull: return "(NULL)";
    case ast::LiteralType::kString: return "(" + QuoteText(constant.text) + ")";
    case ast::LiteralType::kBinary: {
      static const char kHex[] = "0123456789ABCDEF";
      std::string hex = "0x";
      for (unsigned char c : constant.text) hex += {kHex[c >> 4], kHex[c & 15]};
      return "(" + hex + ")";
    }
    default: return "((" + constant.text + "))";
  }
}

bool IsCurrentTimestamp(const ast::Expr& expr) {
  if (expr.kind == ast::ExprKind::kFunction) {
    return expr.args.empty() && expr.parts.empty() &&
           (expr.function == "getdate" || expr.function == "current_timestamp");
  }
  return expr.kind == ast::ExprKind::kColumn && expr.parts.size() == 1 &&
         SameName(expr.parts[0], "current_timestamp");
}

}  // namespace

bool ResolveDefault(const ast::ColumnDef& def, std::string_view table, ColumnSpec* out,
                    bool* literal, Diagnostics* diags) {
  *literal = true;
  out->default_sql.clear();
  if (!def.default_value) return true;
  const ast::Expr& expr = *def.default_value;
  int32_t line = expr.pos.line;
  if (out->identity) {
    return Fail(diags, 1754, "Defaults cannot be created on columns with an IDENTITY attribute. "
                             "Table '" + std::string(table) + "', column '" + def.name + "'.",
                line);
  }
  if (IsCurrentTimestamp(expr)) {
    *literal = false;
    out->default_text = "(getdate())";
    out->default_sql = out->type == SqlType::kDatetime
                           ? "(tsql_getdate())"
                           : StoreCall("tsql_getdate()", "datetime", *out);
    return true;
  }
  Constant constant;
  if (!AsConstant(expr, &constant, 0)) {
    if (expr.kind == ast::ExprKind::kColumn && !expr.parts.empty()) {
      return Fail(diags, 128, "The name '" + expr.parts.back() +
                                  "' is not permitted in this context. Valid expressions are "
                                  "constants, constant expressions, and (in some contexts) "
                                  "variables. Column names are not permitted.",
                  line);
    }
    return Fail(diags, 1752, "Column '" + def.name + "' in table '" + std::string(table) +
                                 "' is invalid for creating a default constraint: only "
                                 "constants and GETDATE() are supported as defaults.",
                line);
  }
  out->default_text = ServerDefinition(constant);
  if (PlainDefault(constant, *out, &out->default_sql)) return true;
  *literal = false;
  out->default_sql = StoreCall(ConstantSql(constant), SourceType(constant.type), *out);
  return true;
}

void RefitTextDefault(ColumnSpec* column) {
  const std::string& sql = column->default_sql;
  if (!IsTextType(column->type) || sql.size() < 2 || sql.front() != '\'' || sql.back() != '\'') {
    return;
  }
  Constant constant;
  constant.type = ast::LiteralType::kString;
  for (size_t i = 1; i + 1 < sql.size(); ++i) {
    if (sql[i] == '\'') {
      if (sql[i + 1] != '\'' || i + 2 >= sql.size()) return;  // not one literal
      ++i;
    }
    constant.text += sql[i];
  }
  std::string refit;
  column->default_sql = TextDefault(constant, *column, &refit)
                            ? refit
                            : StoreCall(ConstantSql(constant), "varchar", *column);
}

// The storage form of a date written as a default; false for text that is
// not a date the server accepts.
bool CanonicalDatetime(std::string_view text, std::string* out) {
  std::optional<DateTime> parsed = ParseDateTime(text);
  if (!parsed || !IsDateTimeInRange(*parsed)) return false;
  *out = FormatCanonical(*parsed);
  return true;
}

}  // namespace sqlsim::ddl
