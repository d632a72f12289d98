#include <gtest/gtest.h>

#include "sqlsim/front/ast_printer.h"

#include <vector>

#include "sqlsim/front/ast_printer_parts.h"

namespace sqlsim::testing {

// "(a b c)" of the non-empty parts.
std::string List(std::initializer_list<std::string> parts) {
  std::string out = "(";
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (out.size() > 1) out += ' ';
    out += part;
  }
  return out + ")";
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += separator;
    out += parts[i];
  }
  return out;
}

namespace {
std::string Part(const std::string& part) {
  for (char c : part) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                       (c >= '0' && c <= '9') || c == '_' || c == '@' || c == '#' || c == '$';
    if (!plain) return "[" + part + "]";
  }
  return part;
}
}  // namespace

std::string Parts(const std::vector<std::string>& parts) {
  std::vector<std::string> printed;
  for (const std::string& part : parts) printed.push_back(Part(part));
  return Join(printed, ".");
}

std::string Name(const ast::ObjectName& name) {
  std::vector<std::string> parts = {name.server, name.database, name.schema, name.name};
  size_t first = 0;
  while (first + 1 < parts.size() && parts[first].empty()) ++first;
  return Parts(std::vector<std::string>(parts.begin() + static_cast<long>(first), parts.end()));
}

std::string Type(const ast::TypeName& type) {
  if (type.length == ast::TypeName::kNone) return type.name;
  std::string out = type.name + "(";
  out += type.length == ast::TypeName::kMax ? "max" : std::to_string(type.length);
  if (type.scale != ast::TypeName::kNone) out += "," + std::to_string(type.scale);
  return out + ")";
}

namespace {

using ast::ExprKind;

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out = "0x";
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::string Literal(const ast::Expr& e) {
  switch (e.literal_type) {
    case ast::LiteralType::kNull: return "NULL";
    case ast::LiteralType::kInteger: return e.text;
    case ast::LiteralType::kDecimal: return "dec:" + e.text;
    case ast::LiteralType::kFloat: return "float:" + e.text;
    case ast::LiteralType::kBinary: return Hex(e.text);
    case ast::LiteralType::kString: {
      std::string out = e.national ? "N'" : "'";
      for (char c : e.text) out += c == '\'' ? std::string("''") : std::string(1, c);
      return out + "'";
    }
  }
  return "?";
}

std::string Args(const ast::Expr& e, size_t from) {
  std::vector<std::string> printed;
  for (size_t i = from; i < e.args.size(); ++i) printed.push_back(PrintExpr(*e.args[i]));
  return Join(printed, " ");
}

std::string Negatable(const ast::Expr& e, const char* name) {
  return e.negated ? std::string("not-") + name : std::string(name);
}

std::string Case(const ast::Expr& e) {
  std::string out = "(case";
  size_t i = 0;
  if (e.has_operand) out += " " + PrintExpr(*e.args[i++]);
  const size_t whens_end = e.has_else ? e.args.size() - 1 : e.args.size();
  for (; i + 1 < whens_end; i += 2) {
    out += " " + List({"when", PrintExpr(*e.args[i]), PrintExpr(*e.args[i + 1])});
  }
  if (e.has_else) out += " " + List({"else", PrintExpr(*e.args.back())});
  return out + ")";
}

std::string Function(const ast::Expr& e) {
  std::vector<std::string> name = e.parts;
  name.push_back(e.function);
  return List({"call", Parts(name), e.distinct ? "DISTINCT" : "", e.star ? "*" : "", Args(e, 0)});
}

}  // namespace

std::string PrintExpr(const ast::Expr& e) {
  switch (e.kind) {
    case ExprKind::kLiteral: return Literal(e);
    case ExprKind::kColumn: return Parts(e.parts);
    case ExprKind::kVariable: return e.text;
    case ExprKind::kParameter: return "?" + std::to_string(e.param_index);
    case ExprKind::kUnary:
    case ExprKind::kBinary: return List({e.op, Args(e, 0)});
    case ExprKind::kFunction: return Function(e);
    case ExprKind::kCast: return List({e.is_convert ? "convert" : "cast", Type(e.type), Args(e, 0)});
    case ExprKind::kCase: return Case(e);
    case ExprKind::kSubquery: return List({"subquery", PrintSelect(*e.subquery)});
    case ExprKind::kExists: return List({Negatable(e, "exists"), PrintSelect(*e.subquery)});
    case ExprKind::kInList: return List({Negatable(e, "in"), Args(e, 0)});
    case ExprKind::kInSubquery:
      return List({Negatable(e, "in"), PrintExpr(*e.args[0]), PrintSelect(*e.subquery)});
    case ExprKind::kBetween: return List({Negatable(e, "between"), Args(e, 0)});
    case ExprKind::kLike: return List({Negatable(e, "like"), Args(e, 0)});
    case ExprKind::kIsNull:
      return List({e.negated ? "is-not-null" : "is-null", Args(e, 0)});
  }
  return "?";
}

void ExpectPrinted(const SqlCase* begin, const SqlCase* end) {
  for (const SqlCase* c = begin; c != end; ++c) EXPECT_EQ(ParseAndPrint(c->sql), c->printed) << c->sql;
}

}  // namespace sqlsim::testing
