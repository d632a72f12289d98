// MERGE [INTO] target [AS alias] USING source ON condition WHEN ... ;
#include <string>
#include <utility>

#include "sqlsim/front/keywords.h"
#include "sqlsim/front/parser_core.h"

namespace sqlsim::front {
namespace {

using When = ast::MergeClause::When;
using Action = ast::MergeClause::Action;

const char* WhenName(When when) {
  switch (when) {
    case When::kMatched: return "WHEN MATCHED";
    case When::kNotMatchedByTarget: return "WHEN NOT MATCHED";
    case When::kNotMatchedBySource: return "WHEN NOT MATCHED BY SOURCE";
  }
  return "";
}

const char* ActionName(Action action) {
  switch (action) {
    case Action::kUpdate: return "UPDATE";
    case Action::kDelete: return "DELETE";
    case Action::kInsert: return "INSERT";
  }
  return "";
}

When ParseWhen(Parser& p) {
  p.ExpectKeyword("WHEN");
  if (p.AcceptKeyword("MATCHED")) return When::kMatched;
  p.ExpectKeyword("NOT");
  p.ExpectKeyword("MATCHED");
  if (!p.AcceptKeyword("BY")) return When::kNotMatchedByTarget;
  if (p.AcceptKeyword("SOURCE")) return When::kNotMatchedBySource;
  p.ExpectKeyword("TARGET");
  return When::kNotMatchedByTarget;
}

void ParseInsertAction(Parser& p, ast::MergeClause* clause) {
  if (p.AcceptSymbol("(")) {
    do clause->columns.push_back(p.ParseNameParts(4, false).back()); while (p.AcceptSymbol(","));
    p.ExpectSymbol(")");
  }
  if (p.AcceptKeyword("DEFAULT")) {
    p.ExpectKeyword("VALUES");
    clause->default_values = true;
    return;
  }
  p.ExpectKeyword("VALUES");
  p.ExpectSymbol("(");
  do clause->values.push_back(p.AcceptKeyword("DEFAULT") ? nullptr : ParseExpr(p)); while (p.AcceptSymbol(","));
  p.ExpectSymbol(")");
}

ast::MergeClause ParseClause(Parser& p) {
  ast::MergeClause clause;
  clause.pos = p.Peek().pos;
  clause.when = ParseWhen(p);
  if (p.AcceptKeyword("AND")) clause.condition = ParseExpr(p);
  p.ExpectKeyword("THEN");
  const Token& word = p.Peek();
  if (p.AcceptKeyword("UPDATE")) {
    clause.action = Action::kUpdate;
    p.ExpectKeyword("SET");
    do clause.set.push_back(ParseAssignment(p)); while (p.AcceptSymbol(","));
  } else if (p.AcceptKeyword("DELETE")) {
    clause.action = Action::kDelete;
  } else if (p.AcceptKeyword("INSERT")) {
    clause.action = Action::kInsert;
    ParseInsertAction(p, &clause);
  } else {
    p.FailAtCurrent();
  }
  if ((clause.action == Action::kInsert) != (clause.when == When::kNotMatchedByTarget)) {
    p.Fail(10710, std::string("An action of type '") + ActionName(clause.action) + "' is not allowed in the '" +
                      WhenName(clause.when) + "' clause of a MERGE statement.",
           word.pos.line);
  }
  return clause;
}

// Each kind of clause may stand twice, once per action, the first with a
// condition.
void CheckClauseOrder(const Parser& p, const std::vector<ast::MergeClause>& clauses) {
  for (size_t i = 0; i < clauses.size(); ++i) {
    for (size_t j = 0; j < i; ++j) {
      if (clauses[j].when != clauses[i].when) continue;
      if (clauses[j].action == clauses[i].action) {
        p.Fail(10714, std::string("An action of type '") + WhenName(clauses[i].when) +
                          "' cannot appear more than once in a '" + ActionName(clauses[i].action) +
                          "' clause of a MERGE statement.",
               clauses[i].pos.line);
      }
      if (!clauses[j].condition) {
        p.Fail(156, "Incorrect syntax near the keyword 'WHEN'.", clauses[i].pos.line);
      }
    }
  }
}

}  // namespace

ast::StatementBody ParseMerge(Parser& p) {
  ast::StatementBody body(std::in_place_type<ast::Merge>);
  ast::Merge& merge = std::get<ast::Merge>(body);
  p.ExpectKeyword("MERGE");
  p.AcceptKeyword("INTO");
  merge.target = ParseTargetTable(p);
  if (p.AcceptKeyword("AS")) {
    merge.target.alias = p.ExpectName();
  } else if (p.AtName() && !p.AtKeyword("USING")) {
    merge.target.alias = p.Take().text;
  }
  p.ExpectKeyword("USING");
  std::vector<ast::FromItem> source = ParseFromList(p);
  if (source.size() != 1) p.FailAtCurrent();
  merge.source = std::move(source.front());
  p.ExpectKeyword("ON");
  merge.on = ParseExpr(p);
  do merge.clauses.push_back(ParseClause(p)); while (p.AtKeyword("WHEN"));
  CheckClauseOrder(p, merge.clauses);
  merge.output = ParseOutputClause(p, OutputRows::kMerge);
  ParseQueryOptions(p, &body);
  if (!p.AtSymbol(";")) p.Fail(10713, "A MERGE statement must be terminated by a semi-colon (;).", p.Peek().pos.line);
  return body;
}

}  // namespace sqlsim::front
