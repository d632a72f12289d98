// USE, EXECUTE, SET options, transactions.
#include <string>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

bool IsNumberToken(const Token& token) {
  return token.kind == TokenKind::kInteger || token.kind == TokenKind::kDecimal ||
         token.kind == TokenKind::kFloat;
}

bool AtExecuteArgument(const Parser& p) {
  const Token& token = p.Peek();
  switch (token.kind) {
    case TokenKind::kVariable: case TokenKind::kParameter: case TokenKind::kString:
    case TokenKind::kInteger: case TokenKind::kDecimal: case TokenKind::kFloat:
    case TokenKind::kBinary: case TokenKind::kQuotedName:
      return true;
    case TokenKind::kWord:
      return p.AtName() || p.AtKeyword("NULL") || p.AtKeyword("DEFAULT");
    case TokenKind::kSymbol:
      return (p.AtSymbol("-") || p.AtSymbol("+")) && IsNumberToken(p.Peek(1));
    case TokenKind::kEnd:
      break;
  }
  return false;
}

// Arguments are constants, variables and markers, not expressions; a bare
// name passes as a string, as the server takes it.
ast::ExprPtr ParseExecuteValue(Parser& p) {
  if (p.AtName()) {
    const Token& token = p.Take();
    ast::ExprPtr literal = NewExpr(ast::ExprKind::kLiteral, token.pos);
    literal->literal_type = ast::LiteralType::kString;
    literal->text = token.text;
    return literal;
  }
  if (p.AtSymbol("-") || p.AtSymbol("+")) {
    const Token& sign = p.Take();
    if (!IsNumberToken(p.Peek())) p.FailAtCurrent();
    ast::ExprPtr number = ParsePrimary(p);
    if (sign.text == "-") number->text.insert(0, "-");
    number->pos = sign.pos;
    return number;
  }
  return ParsePrimary(p);
}

ast::ExecuteArg ParseExecuteArg(Parser& p) {
  ast::ExecuteArg arg;
  if (p.Peek().kind == TokenKind::kVariable && p.AtSymbol("=", 1)) {
    arg.name = p.Take().text;
    p.Take();
  }
  if (!p.AcceptKeyword("DEFAULT")) {
    if (!AtExecuteArgument(p)) p.FailAtCurrent();
    arg.value = ParseExecuteValue(p);
  }
  arg.output = p.AcceptKeyword("OUTPUT") || p.AcceptKeyword("OUT");
  return arg;
}

// ON/OFF in upper case, anything else as written.
std::string ParseOptionValue(Parser& p) {
  if (p.AtKeyword("ON") || p.AtKeyword("OFF")) return ToUpper(p.Take().text);
  const Token& token = p.Peek();
  if (p.AtSymbol("-") && token.kind == TokenKind::kSymbol && p.Peek(1).kind == TokenKind::kInteger) {
    p.Take();
    return "-" + p.Take().text;
  }
  switch (token.kind) {
    case TokenKind::kInteger: case TokenKind::kWord: case TokenKind::kQuotedName:
    case TokenKind::kString: case TokenKind::kVariable:
      return p.Take().text;
    default:
      p.FailAtCurrent();
  }
}

// READ UNCOMMITTED, REPEATABLE READ, SNAPSHOT, SERIALIZABLE ...
std::string ParseIsolationLevel(Parser& p) {
  p.ExpectKeyword("ISOLATION");
  p.ExpectKeyword("LEVEL");
  if (p.AcceptKeyword("READ")) {
    if (!p.AtKeyword("UNCOMMITTED") && !p.AtKeyword("COMMITTED")) p.FailAtCurrent();
    return "READ " + ToUpper(p.Take().text);
  }
  if (p.AcceptKeyword("REPEATABLE")) {
    p.ExpectKeyword("READ");
    return "REPEATABLE READ";
  }
  if (p.AtKeyword("SNAPSHOT") || p.AtKeyword("SERIALIZABLE")) return ToUpper(p.Take().text);
  p.FailAtCurrent();
}

bool AcceptTranKeyword(Parser& p) {
  return p.AcceptKeyword("TRAN") || p.AcceptKeyword("TRANSACTION");
}

void ParseOptionalTranName(Parser& p, ast::Transaction* tran) {
  if (!p.AtName() && p.Peek().kind != TokenKind::kVariable) return;
  tran->name_is_variable = p.Peek().kind == TokenKind::kVariable;
  tran->name = p.Take().text;
}

}  // namespace

ast::Execute ParseExecuteBody(Parser& p) {
  ast::Execute execute;
  if (p.Peek().kind == TokenKind::kVariable && p.AtSymbol("=", 1)) {
    execute.status_variable = p.Take().text;
    p.Take();
  } else if (p.Peek().kind == TokenKind::kParameter && p.AtSymbol("=", 1)) {
    execute.status_param = p.Take().param_index;
    p.Take();
  }
  execute.procedure = p.ParseObjectName();
  if (AtExecuteArgument(p)) {
    do execute.args.push_back(ParseExecuteArg(p)); while (p.AcceptSymbol(","));
  }
  return execute;
}

ast::StatementBody ParseExecuteStatement(Parser& p) {
  p.Take();  // EXEC or EXECUTE
  if (p.AtSymbol("(")) {
    p.Take();
    ast::Execute execute;
    execute.text = ParseExpr(p);
    p.ExpectSymbol(")");
    return ast::StatementBody(std::in_place_type<ast::Execute>, std::move(execute));
  }
  return ast::StatementBody(std::in_place_type<ast::Execute>, ParseExecuteBody(p));
}

ast::StatementBody ParseImplicitExecute(Parser& p) {
  ast::Execute execute;
  execute.procedure = p.ParseObjectName();
  if (AtExecuteArgument(p)) {
    do execute.args.push_back(ParseExecuteArg(p)); while (p.AcceptSymbol(","));
  }
  return ast::StatementBody(std::in_place_type<ast::Execute>, std::move(execute));
}

ast::StatementBody ParseUse(Parser& p) {
  ast::UseDatabase use;
  p.ExpectKeyword("USE");
  use.name = p.ExpectName();
  return ast::StatementBody(std::in_place_type<ast::UseDatabase>, std::move(use));
}

ast::StatementBody ParseSetOption(Parser& p) {
  ast::SetOption set;
  p.ExpectKeyword("SET");
  // Option names include reserved words (ROWCOUNT, TEXTSIZE, IDENTITY_INSERT).
  if (p.Peek().kind != TokenKind::kWord) p.FailAtCurrent();
  set.option = ToUpper(p.Take().text);
  if (set.option == "TRANSACTION") {
    set.option = "TRANSACTION ISOLATION LEVEL";
    set.value = ParseIsolationLevel(p);
  } else if (set.option == "IDENTITY_INSERT") {
    set.table = p.ParseObjectName();
    if (!p.AtKeyword("ON") && !p.AtKeyword("OFF")) p.FailAtCurrent();
    set.value = ToUpper(p.Take().text);
  } else {
    if (set.option == "STATISTICS") set.option += " " + ToUpper(p.ExpectName());
    set.value = ParseOptionValue(p);
  }
  return ast::StatementBody(std::in_place_type<ast::SetOption>, std::move(set));
}

ast::StatementBody ParseTransaction(Parser& p) {
  ast::Transaction tran;
  using Kind = ast::Transaction::Kind;
  const std::string verb = ToUpper(p.Take().text);
  if (verb == "BEGIN") {
    tran.kind = Kind::kBegin;
    p.AcceptKeyword("DISTRIBUTED");
    if (!AcceptTranKeyword(p)) p.FailAtCurrent();
    ParseOptionalTranName(p, &tran);
  } else if (verb == "SAVE") {
    tran.kind = Kind::kSave;
    if (!AcceptTranKeyword(p)) p.FailAtCurrent();
    if (!p.AtName() && p.Peek().kind != TokenKind::kVariable) p.FailAtCurrent();
    ParseOptionalTranName(p, &tran);
  } else {
    tran.kind = verb == "COMMIT" ? Kind::kCommit : Kind::kRollback;
    if (AcceptTranKeyword(p)) {
      ParseOptionalTranName(p, &tran);
    } else {
      p.AcceptKeyword("WORK");
    }
  }
  return ast::StatementBody(std::in_place_type<ast::Transaction>, std::move(tran));
}

}  // namespace sqlsim::front
