// The parser's token cursor and the helpers every statement family shares.
// Grammar functions are free functions over a Parser, one file per family
// (parse_expr, parse_select, parse_dml, parse_ddl, parse_misc); a new
// statement is one more function and one more entry in the dispatch table
// of parser.cpp. Errors unwind as SyntaxError to ParseBatch.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "sqlsim/diagnostic.h"
#include "sqlsim/front/ast.h"
#include "sqlsim/front/lexer.h"

namespace sqlsim::front {

// Recursion of the grammar (parentheses, subqueries, unary chains, nested
// statements) stops here with error 191.
inline constexpr int kMaxNesting = 128;
// No tree gets higher than this, so that later stages may walk it
// recursively; long operator chains count too.
inline constexpr int32_t kMaxTreeHeight = 1000;

struct SyntaxError {
  Diagnostic diagnostic;
};

class Parser {
 public:
  // REQUIRES: tokens ends with a kEnd token.
  Parser(std::string_view text, std::vector<Token> tokens);

  // ---- cursor
  const Token& Peek(size_t ahead = 0) const;
  const Token& Take();
  bool AtEnd() const { return Peek().kind == TokenKind::kEnd; }
  // Offset just past the last token taken (the end of a statement).
  size_t ConsumedEnd() const;
  // Whether the token taken last is the keyword or symbol `text`.
  bool AfterToken(std::string_view text) const;

  bool AtKeyword(std::string_view keyword, size_t ahead = 0) const;
  bool AcceptKeyword(std::string_view keyword);
  void ExpectKeyword(std::string_view keyword);
  bool AtSymbol(std::string_view symbol, size_t ahead = 0) const;
  bool AcceptSymbol(std::string_view symbol);
  void ExpectSymbol(std::string_view symbol);

  // A name: a plain word that is not reserved, or a quoted name.
  bool AtName(size_t ahead = 0) const;
  std::string ExpectName();
  // name[.name...]: at most max_parts parts; an empty part (db..t) is kept
  // as "" when allow_empty.
  std::vector<std::string> ParseNameParts(size_t max_parts, bool allow_empty);
  // [[[server.]database.]schema.]name, also @table and #temp names.
  ast::ObjectName ParseObjectName();
  ast::TypeName ParseTypeName();
  // A whole number as written, with an optional sign.
  int64_t ExpectInteger();

  // ---- errors
  [[noreturn]] void FailAtCurrent() const;
  [[noreturn]] void FailAt(const Token& token) const;
  [[noreturn]] void Fail(int32_t number, std::string message, int32_t line) const;

  // ---- nesting
  class NestingGuard {
   public:
    explicit NestingGuard(Parser& parser);
    ~NestingGuard() { --parser_.depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

   private:
    Parser& parser_;
  };
  // Heights of the nodes built so far, kept beside the tree. A node not
  // recorded is a leaf (height 1).
  int32_t HeightOf(const void* node) const;
  void RecordHeight(const void* node, int32_t height);
  // Error 191 if height passes kMaxTreeHeight.
  void CheckHeight(int32_t height) const;
  // Nodes of a finished statement are not looked at again; their addresses
  // may be reused.
  void ForgetHeights() { heights_.clear(); }
  // Records the height of a node whose children are complete and returns it.
  ast::ExprPtr Finish(ast::ExprPtr expr);

  // Whether the statement being parsed is the first of its batch (modules
  // must be).
  bool StatementStartsBatch() const { return statement_starts_batch_; }
  void MarkStatementStart(bool starts_batch) { statement_starts_batch_ = starts_batch; }

 private:
  std::string_view text_;
  std::vector<Token> tokens_;
  size_t next_ = 0;
  int depth_ = 0;
  bool statement_starts_batch_ = false;
  std::unordered_map<const void*, int32_t> heights_;
};

// ---- grammar shared between files
ast::ExprPtr NewExpr(ast::ExprKind kind, const ast::SourcePos& pos);
ast::ExprPtr ParseExpr(Parser& p);
// Literals, names, calls, CASE, CAST, CONVERT, (expr), (subquery).
ast::ExprPtr ParsePrimary(Parser& p);
// Whether the current token may start an operand (or a signed one).
bool AtOperandStart(const Parser& p);
// ( query ) as the subquery of a new node of the given kind.
ast::ExprPtr ParseSubqueryInParens(Parser& p, ast::ExprKind kind, const ast::SourcePos& pos);
// SELECT ... [UNION [ALL] SELECT ...] [ORDER BY ...], or the same in
// parentheses.
std::unique_ptr<ast::Select> ParseQuery(Parser& p);
// One SELECT's clauses up to HAVING.
std::unique_ptr<ast::Select> ParseSelectCore(Parser& p);
// SELECTs and ( queries ) joined by UNION [ALL], EXCEPT and INTERSECT;
// links counts the joins for the height of the tree.
std::unique_ptr<ast::Select> ParseQueryExpression(Parser& p, int32_t* links);
// OFFSET n ROWS [FETCH NEXT m ROWS ONLY] after an ORDER BY.
void ParseOffsetFetch(Parser& p, ast::Select* select);
// Height of one SELECT of a chain, not counting the SELECTs after it.
int32_t SelectHeight(const Parser& p, const ast::Select& select);
bool AtQueryStart(const Parser& p);
// TOP (expr) [PERCENT]; parentheses optional when allow_bare (SELECT).
ast::ExprPtr ParseTop(Parser& p, bool allow_bare, bool* percent);
std::vector<ast::FromItem> ParseFromList(Parser& p);
// Height of the subqueries, joined tables and conditions of one FROM item.
int32_t FromItemHeight(const Parser& p, const ast::FromItem& item);
// After "(": VALUES (row), (row) ... as SELECTs joined by UNION ALL.
std::unique_ptr<ast::Select> ParseValuesTable(Parser& p);
// (c1, c2) after a derived table's alias; empty when none is written.
std::vector<std::string> ParseDerivedColumns(Parser& p);
// Target of INSERT, UPDATE, DELETE: a name and its table hints.
ast::TableRef ParseTargetTable(Parser& p);
// WHERE expr | WHERE CURRENT OF cursor; nothing when WHERE is absent.
void ParseWhere(Parser& p, ast::ExprPtr* where, std::string* current_of);
ast::Statement ParseStatement(Parser& p);
// Whether the current word starts a statement (RETURN takes no value then).
bool AtStatementKeyword(const Parser& p);
// Statements up to END (not taken); none is an error unless allow_empty.
std::vector<ast::Statement> ParseStatementsToEnd(Parser& p, bool allow_empty);
// ( c [ASC|DESC], ... ) of indexes and keys.
std::vector<ast::IndexColumn> ParseIndexColumns(Parser& p);
// WITH (name = value, ...) or the older WITH name = value, ... form.
void ParseIndexOptions(Parser& p, std::vector<ast::IndexOption>* options);
// ON filegroup, which storage here has no use for.
void ParseFilegroup(Parser& p);
int32_t SelectHeight(const Parser& p, const ast::Select& select);

// ---- statements, as the dispatch table calls them
ast::StatementBody ParseSelectStatement(Parser& p);
ast::StatementBody ParseInsert(Parser& p);
ast::StatementBody ParseUpdate(Parser& p);
ast::StatementBody ParseDelete(Parser& p);
ast::StatementBody ParseMerge(Parser& p);
ast::StatementBody ParseCreateTable(Parser& p);
ast::StatementBody ParseCreateIndex(Parser& p);
ast::StatementBody ParseCreateDatabase(Parser& p);
ast::StatementBody ParseAlterTable(Parser& p);
ast::StatementBody ParseDrop(Parser& p);
ast::StatementBody ParseUse(Parser& p);
ast::StatementBody ParseExecuteStatement(Parser& p);
// A procedure name alone as the first statement of a batch.
ast::StatementBody ParseImplicitExecute(Parser& p);
ast::StatementBody ParseSetOption(Parser& p);
ast::StatementBody ParseTransaction(Parser& p);
ast::StatementBody ParseBlock(Parser& p);
ast::StatementBody ParseTryCatch(Parser& p);
ast::StatementBody ParseIf(Parser& p);
ast::StatementBody ParseWhile(Parser& p);
ast::StatementBody ParseBreak(Parser& p);
ast::StatementBody ParseContinue(Parser& p);
ast::StatementBody ParseReturn(Parser& p);
ast::StatementBody ParsePrint(Parser& p);
ast::StatementBody ParseRaiseError(Parser& p);
ast::StatementBody ParseDeclareVariables(Parser& p);
ast::StatementBody ParseDeclareCursor(Parser& p);
ast::StatementBody ParseSetVariable(Parser& p);
ast::StatementBody ParseCursorCommand(Parser& p);
ast::StatementBody ParseFetch(Parser& p);
ast::StatementBody ParseWaitFor(Parser& p);
ast::StatementBody ParseDbcc(Parser& p);
// CREATE [OR ALTER] / ALTER PROCEDURE, FUNCTION, VIEW, TRIGGER: the rest of
// the batch.
ast::StatementBody ParseModule(Parser& p);
// WITH name AS (query), ... before SELECT, INSERT, UPDATE or DELETE.
ast::StatementBody ParseWithStatement(Parser& p);
// OPTION (MAXRECURSION n, ...) after a query or data change.
void ParseQueryOptions(Parser& p, ast::StatementBody* body);
// A query that may start with WITH (views, cursors).
std::unique_ptr<ast::Select> ParseQueryWithCtes(Parser& p);
// OVER (...) after a function call.
std::unique_ptr<ast::Over> ParseOver(Parser& p);

// column = value | @v = value of UPDATE's SET list.
ast::Assignment ParseAssignment(Parser& p);

// EXECUTE's part after the keyword, also used by INSERT ... EXECUTE.
ast::Execute ParseExecuteBody(Parser& p);

// ( columns and constraints ) of CREATE TABLE and DECLARE @t TABLE.
void ParseTableElements(Parser& p, ast::CreateTable* create);

// OUTPUT ... [INTO ...] of a data change, when it follows; null when not.
// kMerge: INSERTED and DELETED joined in full, and $action.
enum class OutputRows { kInserted, kDeleted, kBoth, kMerge };
std::unique_ptr<ast::OutputClause> ParseOutputClause(Parser& p, OutputRows rows);

// One parameter of a procedure or function: @p [AS] type [= value] [OUTPUT].
ast::ParameterDecl ParseParameter(Parser& p);

}  // namespace sqlsim::front
