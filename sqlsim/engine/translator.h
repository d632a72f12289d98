// The binder: turns parsed statements into SQLite SQL with the server's
// semantics. Names are resolved against the catalog where it knows them
// (column types decide padding, collation and conversions); what it does
// not know is left to SQLite, whose errors become the server's.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sqlsim/engine/catalog.h"
#include "sqlsim/engine/compiled.h"
#include "sqlsim/engine/types.h"
#include "sqlsim/front/ast.h"

namespace sqlsim {

class SessionImpl;
struct CatalogTable;
struct CatalogColumn;

// A translation error: the statement fails with it when it runs.
struct TranslateError {
  Diagnostic diagnostic;
};

// An expression as SQLite text with the server type it has, when known.
struct SqlExpr {
  SqlExpr() = default;
  SqlExpr(std::string text, SqlType t = SqlType::kUnknown, int32_t len = 0)
      : sql(std::move(text)), type(t), length(len) {}

  std::string sql;
  SqlType type = SqlType::kUnknown;
  int32_t length = 0;
  int32_t precision = 0;   // decimal precision, when known
  int32_t scale = 0;       // decimal scale, with the precision
  bool numeric = false;    // numeric(p,s) rather than decimal
  bool is_column = false;  // a bare column reference: carries its collation
  std::string name;        // column name, for result descriptions
  std::string alias;       // AS alias of a select item
};

// One table of a FROM clause, as the binder sees it.
struct ScopeTable {
  std::string alias;                  // alias or table name
  const CatalogTable* table = nullptr;  // null for derived or unknown tables
};

class Translator {
 public:
  Translator(SessionImpl& session, CompiledStatement* out);

  // Each fills out->sqlite_sql and the other fields, or throws TranslateError.
  void Select(const ast::Select& select);
  void Insert(const ast::Insert& insert);
  void Update(const ast::Update& update);
  void Delete(const ast::Delete& del);
  // SELECT ... INTO: the query alone; the table is made by the caller.
  void SelectInto(const ast::Select& select);

  SqlExpr Expr(const ast::Expr& e);

  // Procedural statements evaluate their expressions as one-row SELECTs.
  // SET @v = value, DECLARE @v type = value: the value as @v's type, to be
  // assigned to @v (op "+" ... for SET @v += value).
  void Assign(const std::string& variable, const std::string& op, const ast::Expr& value);
  // "SELECT v1, v2 ...": each value converted to its target (kUnknown: as
  // it is); a null value pointer stands for NULL.
  void Values(const std::vector<const ast::Expr*>& values, const std::vector<VariableType>& targets);
  // IF and WHILE: 1 when the condition holds, else 0 or NULL.
  void Condition(const ast::Expr& condition);
  // DECLARE c CURSOR FOR select: when the select reads one table, its rowid
  // rides along as a last, hidden column for WHERE CURRENT OF.
  void CursorSelect(const ast::Select& select, bool* has_rowid);
  // "WITH ... " for the common table expressions of a statement; they are
  // known to the rest of its translation (translate_with.cpp).
  std::string WithSql(const ast::WithClause& with);
  // DELETE FROM cte ...: false when the target is no CTE of the statement
  // (translate_cte_delete.cpp).
  bool DeleteThroughCte(const ast::Delete& del);
  // MERGE (translate_merge.cpp): the plan query that pairs source and
  // target rows and computes what each clause writes (merge.h).
  void MergePlan(const ast::Merge& merge);
  // The statement that applies clause `index` to one row: its values bound
  // by position, then the target's rowid; it returns the row written.
  void MergeRowChange(const ast::Merge& merge, size_t index);

 private:
  SqlExpr Variable(const ast::Expr& e);
  // SELECT @s = @s + col ...: when an assignment reads a variable the
  // statement assigns, every row must see what the row before gave it.
  // Translates such a statement and returns true; false for any other.
  bool RowWiseAssignment(const ast::Select& select);
  // Whether a subquery used as a value needs the check that it finds one
  // row at most: not when TOP, grouping or an aggregate already assure it.
  static bool NeedsSingleValueCheck(const ast::Select& select);
  // `condition` (SUBSTRING(col, 1, n) = p, or col LIKE p) with a range on
  // col added that its index can serve; the condition alone when it has no
  // such form.
  std::string WithPrefixRange(const std::string& condition, const ast::Expr& e, bool like);
  std::string UpdateFromSql(const ast::Update& update, const CatalogTable& table, const std::string& alias,
                            size_t skip);
  // SELECT @v = expr: the value as @v's type; records the assignment.
  SqlExpr AssignedItem(const ast::SelectItem& item);
  SqlExpr UserFunction(const ast::Expr& e);
  SqlExpr NullIf(const ast::Expr& e);
  // UPDATE(column) inside a trigger.
  SqlExpr ColumnUpdated(const ast::Expr& e);
  // INSERTED and DELETED inside a trigger: the table holding those rows.
  const CatalogTable* TriggerTable(const ast::ObjectName& name, std::string* sqlite_name);
  // WHERE CURRENT OF cursor: the condition on the cursor's current row.
  std::string CurrentOf(const std::string& cursor);
  friend class SelectBuilder;
  friend class MergePlanBuilder;
  std::string SelectSql(const ast::Select& select, std::vector<ColumnDesc>* columns);
  // One SELECT's clauses up to HAVING; *from_scope gets its FROM's tables.
  std::string SelectCoreSql(const ast::Select& select, std::vector<ColumnDesc>* columns,
                            std::vector<ScopeTable>* from_scope);
  // One SELECT of a chain (with its TOP), or a ( query ) standing as one.
  std::string TermSql(const ast::Select& select, std::vector<ColumnDesc>* columns,
                      std::vector<ScopeTable>* from_scope);
  // The chain from its first term's SQL on: UNION, EXCEPT, INTERSECT; the
  // columns merged into the first term's.
  std::string SetOperationSql(const ast::Select& select, std::string first_sql, std::vector<ColumnDesc>* columns);
  struct ChainTerm {
    const ast::Select* select;
    std::string sql;
    std::vector<ColumnDesc> columns;
  };
  std::string WithTermTop(const ast::Select& term, std::string sql);
  std::string ConvertedTerm(const ChainTerm& term, const std::vector<ColumnDesc>& columns, bool first);
  [[noreturn]] void RecursiveTypesDiffer(const ChainTerm& term, const std::vector<ColumnDesc>& columns);
  std::string OrderBySql(const ast::Select& select, std::vector<ScopeTable> from_scope,
                         const std::vector<ColumnDesc>* columns);
  // ORDER BY of a chain: an item naming a result column as its ordinal, ""
  // for a position; any other item is error 104.
  std::string ResultColumnOrdinal(const ast::Select& select, const ast::Expr& item,
                                  const std::vector<ColumnDesc>* columns);
  // TOP (when with_top), or OFFSET and FETCH, as LIMIT.
  std::string LimitSql(const ast::Select& select, bool with_top);
  std::string FromSql(const std::vector<ast::FromItem>& from);
  // One item of a FROM list with its joins.
  std::string FromSql(const std::vector<ast::FromItem>& from, size_t item);
  std::string FromItemSql(const ast::FromItem& item);
  std::string TableRefSql(const ast::TableRef& ref);
  std::vector<SqlExpr> SelectItems(const ast::Select& select);
  SqlExpr Column(const ast::Expr& e);
  SqlExpr Function(const ast::Expr& e);
  // SUM or AVG (call: SQLite's, of the argument) of an integer type.
  SqlExpr IntegerSum(const ast::Expr& e, const std::string& call, SqlType type);
  SqlExpr Binary(const ast::Expr& e);
  void TypeArithmetic(const std::string& op, const std::vector<SqlExpr>& operands, SqlExpr* result);
  SqlExpr Comparison(const ast::Expr& e);
  SqlExpr Cast(const ast::Expr& e);
  SqlExpr Case(const ast::Expr& e);
  SqlExpr Predicate(const ast::Expr& e);
  std::string Subquery(const ast::Select& select);
  std::string StoreValue(const SqlExpr& value, const CatalogColumn* column);
  const CatalogTable* FindTable(const ast::ObjectName& name);

  // Common table expressions, derived tables and window functions
  // (translate_with.cpp, translate_cte_recursive.cpp, translate_window.cpp).
  struct CteEntry {
    std::string name;
    const CatalogTable* shape = nullptr;  // null when its columns are unknown
  };
  std::string CteSql(const ast::CommonTableExpr& cte);
  std::string RecursiveCteSql(const ast::CommonTableExpr& cte, int32_t max_recursion);
  // A reference to a common table expression: its SQL, entered in the
  // scope; false when ref names none.
  bool CteRefSql(const ast::TableRef& ref, std::string* sql);
  // A derived table or CTE body; *shape gets its columns as a table (null
  // when they cannot be told), named by `names` when given.
  std::string DerivedSql(const ast::Select& select, const std::string& name, const std::vector<std::string>& names,
                         const CatalogTable** shape);
  const CatalogTable* ShapeOf(const std::string& name, const std::vector<ColumnDesc>& columns,
                              const std::vector<std::string>& names, const ast::SourcePos& pos);
  SqlExpr WindowFunction(const ast::Expr& e);
  std::string OverSql(const ast::Over& over);

  SessionImpl& session_;
  CompiledStatement* out_;
  std::vector<std::vector<ScopeTable>> scopes_;  // innermost last
  // INSERT ... SELECT: the columns the items of the outermost select are
  // stored into.
  std::vector<const CatalogColumn*> store_targets_;
  // The next SELECT translated is a subquery used as a value.
  bool single_value_ = false;
  // Variables read through tsql_getvar while a row-wise assignment is made.
  std::set<std::string> row_variables_;
  bool into_allowed_ = false;  // SelectInto
  std::vector<CteEntry> ctes_;
  std::vector<std::unique_ptr<CatalogTable>> shapes_;
  // Items added to one SELECT of a chain (the recursion level of a CTE).
  std::map<const ast::Select*, std::string> extra_items_;
  // The recursive CTE whose members are being translated with their level.
  const ast::CommonTableExpr* recursive_cte_ = nullptr;
  // CTEs that carry the row id of their table as a last, hidden column.
  std::set<const ast::CommonTableExpr*> rowid_ctes_;
  // The next SELECT translated is a derived table's: text items carry the
  // server's collation out of it.
  bool collate_items_ = false;
  // Window functions may stand in the select list and ORDER BY only.
  bool windows_allowed_ = false;
};

// Object and column names compare as the server compares them: ASCII
// letters without regard to case.
bool IdentifiersEqual(const std::string& a, const std::string& b);

// SQLite quoting of an identifier: "name" with " doubled.
std::string QuoteName(const std::string& name);
// SQLite string literal: 'text' with ' doubled.
std::string QuoteText(const std::string& text);

// Translates a compiled statement's tree under the session's current
// catalog: fills sqlite_sql and the rest, or translate_error.
void TranslateStatement(SessionImpl& session, CompiledStatement& statement);

// An identity value as the server types it: numeric(38,0).
SqlExpr IdentityValue(std::string sql);
// A decimal literal, typed numeric(p,s) by its digits.
SqlExpr DecimalLiteral(const std::string& text);
// A number of the type as decimal(precision, scale); the decimal's own
// precision and scale are given for a decimal.
void DecimalShape(SqlType type, int32_t decimal_precision, int32_t decimal_scale, int32_t* precision,
                  int32_t* scale);
// The server's precision and scale of decimal(p1,s1) op decimal(p2,s2).
void DecimalResult(const std::string& op, int32_t p1, int32_t s1, int32_t p2, int32_t s2, int32_t* p, int32_t* s);

[[noreturn]] void Fail(int32_t number, std::string message, const ast::SourcePos& pos);

// The built-in functions translated outside translate_expr.cpp's table
// (translate_functions.h): true with *out set, false for other names.
// name is in lower case.
bool TranslateFunctionBeyondTable(Translator& t, const ast::Expr& e, const std::string& name, SqlExpr* out);

}  // namespace sqlsim
