// FROM: table references with aliases and hints, derived tables, joins;
// also the target table of INSERT, UPDATE and DELETE.
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

// Hints the old form "t (NOLOCK)" may start with; with WITH any word goes.
constexpr std::string_view kBareHints[] = {
    "FASTFIRSTROW", "HOLDLOCK", "INDEX", "NOLOCK", "NOWAIT", "PAGLOCK", "READCOMMITTED",
    "READPAST", "READUNCOMMITTED", "REPEATABLEREAD", "ROWLOCK", "SERIALIZABLE",
    "TABLOCK", "TABLOCKX", "UPDLOCK", "XLOCK"};

bool AtBareHintList(const Parser& p) {
  if (!p.AtSymbol("(")) return false;
  for (std::string_view hint : kBareHints) {
    if (p.AtKeyword(hint, 1)) return true;
  }
  return false;
}

// INDEX(a, b) or INDEX = a: kept as "INDEX(a,b)".
std::string ParseIndexHint(Parser& p) {
  std::string hint = "INDEX(";
  const bool listed = !p.AcceptSymbol("=");
  if (listed) p.ExpectSymbol("(");
  bool first = true;
  do {
    if (!first) hint += ',';
    first = false;
    if (p.Peek().kind == TokenKind::kInteger) {
      hint += p.Take().text;
    } else {
      hint += p.ExpectName();
    }
  } while (listed && p.AcceptSymbol(","));
  if (listed) p.ExpectSymbol(")");
  return hint + ")";
}

// After the opening parenthesis: hints separated by commas (or blanks, as
// older scripts write them) up to the closing one.
void ParseHintList(Parser& p, std::vector<std::string>* hints) {
  do {
    if (p.Peek().kind != TokenKind::kWord) p.FailAtCurrent();
    std::string name = ToUpper(p.Take().text);
    hints->push_back(name == "INDEX" ? ParseIndexHint(p) : std::move(name));
    p.AcceptSymbol(",");
  } while (!p.AtSymbol(")"));
  p.ExpectSymbol(")");
}

void ParseHints(Parser& p, bool allow_bare, std::vector<std::string>* hints) {
  if (p.AtKeyword("WITH") && p.AtSymbol("(", 1)) {
    p.Take();
    p.Take();
    ParseHintList(p, hints);
  } else if (allow_bare && AtBareHintList(p)) {
    p.Take();
    ParseHintList(p, hints);
  }
}

ast::FromItem ParseJoinedTables(Parser& p);
ast::FromItem ParseJoins(Parser& p, ast::TableRef first);

// ( joined tables ): the tables and joins up to the closing parenthesis.
ast::TableRef JoinedInParens(Parser& p, const ast::SourcePos& pos, ast::FromItem item) {
  ast::TableRef ref;
  ref.pos = pos;
  ref.joined = std::make_unique<ast::FromItem>(std::move(item));
  p.ExpectSymbol(")");
  p.RecordHeight(ref.joined.get(), FromItemHeight(p, *ref.joined) + 1);
  return ref;
}

ast::TableRef ParseTableRef(Parser& p) {
  ast::TableRef ref;
  ref.pos = p.Peek().pos;
  if (p.AcceptSymbol("(")) {
    if (p.AtKeyword("VALUES")) {
      ref.derived = ParseValuesTable(p);
      p.ExpectSymbol(")");
      p.AcceptKeyword("AS");
      ref.alias = p.ExpectName();
      ref.columns = ParseDerivedColumns(p);
      if (ref.columns.empty()) {
        p.Fail(8155, "No column name was specified for column 1 of '" + ref.alias + "'.", ref.pos.line);
      }
      return ref;
    }
    if (!AtQueryStart(p)) {
      Parser::NestingGuard guard(p);
      return JoinedInParens(p, ref.pos, ParseJoinedTables(p));
    }
    const bool query_in_parens = p.AtSymbol("(");
    ref.derived = ParseQuery(p);
    if (query_in_parens && !p.AtSymbol(")")) {
      // ((SELECT ...) AS x JOIN ...): the query was the first table of joins.
      const ast::SourcePos pos = ref.pos;
      p.AcceptKeyword("AS");
      ref.alias = p.ExpectName();
      return JoinedInParens(p, pos, ParseJoins(p, std::move(ref)));
    }
    p.ExpectSymbol(")");
    p.AcceptKeyword("AS");
    ref.alias = p.ExpectName();
    ref.columns = ParseDerivedColumns(p);
    return ref;
  }
  ref.name = p.ParseObjectName();
  if (p.AcceptKeyword("AS")) {
    ref.alias = p.ExpectName();
  } else if (p.AtName()) {
    ref.alias = p.Take().text;
  }
  ParseHints(p, true, &ref.hints);
  return ref;
}

// The join keywords, or false when the next token starts no join.
bool ParseJoinType(Parser& p, ast::JoinType* type) {
  if (p.AcceptKeyword("JOIN")) {
    *type = ast::JoinType::kInner;
    return true;
  }
  if (p.AcceptKeyword("INNER")) {
    *type = ast::JoinType::kInner;
  } else if (p.AcceptKeyword("CROSS")) {
    *type = ast::JoinType::kCross;
  } else if (p.AtKeyword("LEFT") || p.AtKeyword("RIGHT") || p.AtKeyword("FULL")) {
    const std::string side = ToUpper(p.Take().text);
    *type = side == "LEFT" ? ast::JoinType::kLeft
            : side == "RIGHT" ? ast::JoinType::kRight : ast::JoinType::kFull;
    p.AcceptKeyword("OUTER");
  } else {
    return false;
  }
  p.ExpectKeyword("JOIN");
  return true;
}

// A table and the joins hung on it.
ast::FromItem ParseJoinedTables(Parser& p) { return ParseJoins(p, ParseTableRef(p)); }

ast::FromItem ParseJoins(Parser& p, ast::TableRef first) {
  ast::FromItem item;
  item.table = std::move(first);
  ast::JoinType type;
  while (ParseJoinType(p, &type)) {
    ast::Join join;
    join.type = type;
    join.table = ParseTableRef(p);
    if (type != ast::JoinType::kCross) {
      p.ExpectKeyword("ON");
      join.on = ParseExpr(p);
    }
    item.joins.push_back(std::move(join));
  }
  return item;
}

}  // namespace

std::vector<ast::FromItem> ParseFromList(Parser& p) {
  std::vector<ast::FromItem> from;
  do from.push_back(ParseJoinedTables(p)); while (p.AcceptSymbol(","));
  return from;
}

int32_t FromItemHeight(const Parser& p, const ast::FromItem& item) {
  int32_t height = std::max(p.HeightOf(item.table.derived.get()), p.HeightOf(item.table.joined.get()));
  for (const ast::Join& join : item.joins) {
    height = std::max({height, p.HeightOf(join.table.derived.get()), p.HeightOf(join.table.joined.get()),
                       p.HeightOf(join.on.get())});
  }
  return height;
}

ast::TableRef ParseTargetTable(Parser& p) {
  ast::TableRef ref;
  ref.pos = p.Peek().pos;
  ref.name = p.ParseObjectName();
  ParseHints(p, false, &ref.hints);
  return ref;
}

void ParseWhere(Parser& p, ast::ExprPtr* where, std::string* current_of) {
  if (!p.AcceptKeyword("WHERE")) return;
  if (p.AtKeyword("CURRENT") && p.AtKeyword("OF", 1)) {
    p.Take();
    p.Take();
    if (p.AtKeyword("GLOBAL") && (p.AtName(1) || p.Peek(1).kind == TokenKind::kVariable)) {
      p.Take();
    }
    if (p.Peek().kind == TokenKind::kVariable) {
      *current_of = p.Take().text;
    } else {
      *current_of = p.ExpectName();
    }
    return;
  }
  *where = ParseExpr(p);
}

}  // namespace sqlsim::front
