// Syntax tree of a Transact-SQL batch. The parser builds it without looking
// at any catalog; the binder resolves names and types later. Nodes own their
// children. Names keep their spelling but lose their quoting ([x], "x").
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace sqlsim::ast {

struct SourcePos {
  int line = 1;        // 1-based
  int column = 1;      // 1-based, in bytes
  size_t offset = 0;   // byte offset into the batch text
};

// [server.][database.][schema.]name; empty parts were not written.
struct ObjectName {
  std::string database;
  std::string schema;
  std::string name;
  SourcePos pos;
  std::string server;  // four-part names only
};

// A column or variable type as written: name in lower case ("char",
// "varchar", "int", "integer", "smallint", "tinyint", "byte", "float",
// "real", "datetime", "bit", "varbinary", "binary", "image", "text",
// "decimal", "numeric", "money", "nchar", "nvarchar", "bigint" ...).
struct TypeName {
  std::string name;
  static constexpr int32_t kNone = -1;
  static constexpr int32_t kMax = 0;  // (max)
  int32_t length = kNone;     // char(n), varchar(n|max), float(n)
  int32_t scale = kNone;      // decimal(p, s): length holds p
  SourcePos pos;
};

struct Select;
struct Expr;
struct Over;
struct WithClause;
struct Execute;
using ExprPtr = std::unique_ptr<Expr>;

enum class ExprKind {
  kLiteral,      // literal_type, text
  kColumn,       // parts: [qualifier..., column]; e.g. {"t", "RecId"}
  kVariable,     // text: "@name" (also "@@ERROR" and the other globals)
  kParameter,    // param_index: 0-based number of the ? marker in the batch
  kUnary,        // op: "-", "+", "~", "NOT"; args[0]
  kBinary,       // op: "+", "-", "*", "/", "%", "=", "<>", "<", ">", "<=",
                 // ">=", "AND", "OR", "&", "|", "^" ("!=" arrives as "<>",
                 // "!<" as ">=", "!>" as "<="); args[0], args[1]
  kFunction,     // function: lower-case name; parts: qualifiers written
                 // before it ("dbo"); args; distinct; star (count(*))
  kCast,         // CAST(args[0] AS type) and CONVERT(type, args[0][, args[1]
                 // = style]); is_convert tells which was written, is_try
                 // whether it was TRY_CAST or TRY_CONVERT
  kCase,         // CASE [args[0] = operand] WHEN..THEN.. ELSE: when_then
                 // pairs in args after the operand slot; see Expr::has_operand
  kSubquery,     // (SELECT ...) as a value: subquery
  kExists,       // [NOT] EXISTS (subquery): negated, subquery
  kInList,       // args[0] [NOT] IN (args[1..]): negated
  kInSubquery,   // args[0] [NOT] IN (subquery): negated
  kBetween,      // args[0] [NOT] BETWEEN args[1] AND args[2]: negated
  kLike,         // args[0] [NOT] LIKE args[1] [ESCAPE args[2]]: negated
  kIsNull,       // args[0] IS [NOT] NULL: negated
};

enum class LiteralType {
  kNull,
  kInteger,  // text: digits as written
  kDecimal,  // text: "12.50" as written (no exponent)
  kFloat,    // text: "1.5E3" as written
  kString,   // text: the value, quotes removed and '' undone; national: N'..'
  kBinary,   // text: the bytes of 0x4142 ("AB")
};

struct Expr {
  ExprKind kind = ExprKind::kLiteral;
  SourcePos pos;

  LiteralType literal_type = LiteralType::kNull;
  bool national = false;          // N'...'
  std::string text;               // literal text or variable name
  std::vector<std::string> parts; // column name parts or function qualifiers
  int32_t param_index = -1;
  std::string op;
  std::string function;
  bool distinct = false;          // count(DISTINCT x)
  bool star = false;              // count(*)
  bool negated = false;
  bool is_convert = false;
  bool is_try = false;            // TRY_CAST, TRY_CONVERT: NULL when it fails
  bool has_operand = false;       // CASE x WHEN ...: args[0] is x
  bool has_else = false;          // CASE ... ELSE e END: e is args.back()
  TypeName type;                  // kCast target
  std::vector<ExprPtr> args;
  std::unique_ptr<Select> subquery;
  std::unique_ptr<Over> over;     // f(...) OVER (...): a window function
};

// ---- SELECT --------------------------------------------------------------

struct FromItem;

struct TableRef {
  ObjectName name;                 // empty name when derived or joined is set
  std::unique_ptr<Select> derived; // (SELECT ...) AS alias
  std::unique_ptr<FromItem> joined;  // ( t JOIN u ON ... ): tables joined in parentheses
  std::string alias;
  std::vector<std::string> columns;  // (query) AS alias (c1, c2): the columns' names
  std::vector<std::string> hints;  // WITH (READUNCOMMITTED, NOLOCK ...): upper case
                                   // INDEX(x) keeps the index names as written
  SourcePos pos;
};

enum class JoinType { kInner, kLeft, kRight, kFull, kCross };

struct Join {
  JoinType type = JoinType::kInner;
  TableRef table;
  ExprPtr on;  // null for CROSS JOIN
};

// One comma-separated item of FROM: a table and the joins hung on it.
struct FromItem {
  TableRef table;
  std::vector<Join> joins;
};

struct SelectItem {
  ExprPtr expr;               // null for * and t.*
  bool star = false;
  std::string star_qualifier; // "t" of t.*
  std::string alias;          // AS alias, alias = expr, or expr alias
  std::string assign_to;      // SELECT @v = expr: "@v"
  SourcePos pos;
};

struct OrderItem {
  ExprPtr expr;
  bool descending = false;
};

enum class SetOperator { kUnion, kExcept, kIntersect };

struct Select {
  bool distinct = false;
  ExprPtr top;                 // TOP n / TOP (n)
  bool top_percent = false;
  std::vector<SelectItem> items;
  ObjectName into;             // SELECT ... INTO table (empty name if none)
  std::vector<FromItem> from;
  ExprPtr where;
  std::vector<ExprPtr> group_by;
  ExprPtr having;
  // UNION [ALL] chain: the next SELECT of the chain; ORDER BY sits on the
  // first SELECT and orders the whole chain.
  std::unique_ptr<Select> union_next;
  bool union_all = false;
  SetOperator set_operator = SetOperator::kUnion;  // how union_next is joined
  // ( query ) standing as one term of a chain: the other clauses are empty.
  std::unique_ptr<Select> nested;
  std::vector<OrderItem> order_by;
  ExprPtr offset;              // ORDER BY ... OFFSET n ROWS
  ExprPtr fetch;               // ... FETCH NEXT m ROWS ONLY
  SourcePos pos;
  std::unique_ptr<WithClause> with;  // on the first SELECT of a statement
};

// OVER ([PARTITION BY ...] [ORDER BY ...] [ROWS|RANGE frame]); the frame is
// kept as SQLite spells it ("ROWS BETWEEN 2 PRECEDING AND CURRENT ROW").
struct Over {
  std::vector<ExprPtr> partition_by;
  std::vector<OrderItem> order_by;
  std::string frame;
  SourcePos pos;
};

// name [(columns)] AS (query)
struct CommonTableExpr {
  std::string name;
  std::vector<std::string> columns;
  std::unique_ptr<Select> query;
  SourcePos pos;
};

// The common table expressions written before a statement and the
// statement's OPTION (MAXRECURSION n).
struct WithClause {
  std::vector<CommonTableExpr> ctes;
  int32_t max_recursion = -1;  // -1: not written
  SourcePos pos;
};

// ---- Data changes --------------------------------------------------------

// OUTPUT items [INTO target [(columns)]] of INSERT, UPDATE and DELETE, kept
// as the query over INSERTED and DELETED it amounts to: `rows` is sent to
// the client, or `into` (INSERT INTO target SELECT ...) writes them.
struct OutputClause;

struct Insert {
  ObjectName table;
  std::vector<std::string> columns;          // empty: all, in table order
  std::vector<std::vector<ExprPtr>> values;  // VALUES (..), (..); null: DEFAULT
  std::unique_ptr<Select> select;            // INSERT ... SELECT
  bool default_values = false;               // INSERT ... DEFAULT VALUES
  // EXECUTE proc as the row source (part 2): set when present.
  std::unique_ptr<Execute> execute;
  std::unique_ptr<OutputClause> output;
  std::unique_ptr<WithClause> with;
};

struct Assignment {
  std::vector<std::string> column;  // [qualifier..., column]; or {"@v"}
  ExprPtr value;                    // null: SET c = DEFAULT
  bool variable = false;            // SET @v = ...; a column [@v] is a column
};

struct Update {
  ExprPtr top;
  TableRef table;                   // the target as written (may be an alias)
  std::vector<Assignment> set;
  std::vector<FromItem> from;
  ExprPtr where;
  std::string current_of;           // WHERE CURRENT OF cursor (part 2)
  std::unique_ptr<OutputClause> output;
  std::unique_ptr<WithClause> with;
};

struct Delete {
  ExprPtr top;
  TableRef table;
  std::vector<FromItem> from;
  ExprPtr where;
  std::string current_of;
  std::unique_ptr<OutputClause> output;
  std::unique_ptr<WithClause> with;
};

struct OutputClause {
  std::unique_ptr<Select> rows;
  std::unique_ptr<Insert> into;
};

// WHEN [NOT] MATCHED [BY SOURCE|TARGET] [AND condition] THEN action.
struct MergeClause {
  enum class When { kMatched, kNotMatchedByTarget, kNotMatchedBySource } when = When::kMatched;
  enum class Action { kUpdate, kDelete, kInsert } action = Action::kUpdate;
  ExprPtr condition;                         // null: none written
  std::vector<Assignment> set;               // UPDATE SET
  std::vector<std::string> columns;          // INSERT (columns); empty: all
  std::vector<ExprPtr> values;               // INSERT VALUES (...); null: DEFAULT
  bool default_values = false;               // INSERT DEFAULT VALUES
  SourcePos pos;
};

// MERGE [INTO] target USING source ON condition WHEN ... [OUTPUT ...];
struct Merge {
  TableRef target;
  FromItem source;
  ExprPtr on;
  std::vector<MergeClause> clauses;  // in the order written
  std::unique_ptr<OutputClause> output;
  std::unique_ptr<WithClause> with;
};

// ---- Definitions ---------------------------------------------------------

struct ColumnDef {
  std::string name;
  TypeName type;
  bool not_null = false;
  bool null_written = false;   // NULL written explicitly
  ExprPtr default_value;
  std::string default_name;    // CONSTRAINT x DEFAULT ...
  bool primary_key = false;    // column-level PRIMARY KEY
  bool unique = false;
  bool identity = false;
  int64_t identity_seed = 1;
  int64_t identity_increment = 1;
  SourcePos pos;
  // Column-level PRIMARY KEY / UNIQUE: CONSTRAINT name and the clustering
  // written after it.
  std::string key_name;
  bool key_clustered = false;
  bool key_nonclustered = false;
  std::string collation;       // COLLATE x, as written
};

struct IndexColumn {
  std::string name;
  bool descending = false;
};

struct TableConstraint {
  enum class Kind { kPrimaryKey, kUnique } kind = Kind::kPrimaryKey;
  std::string name;            // empty if not named
  bool clustered = false;      // CLUSTERED written
  bool nonclustered = false;   // NONCLUSTERED written
  std::vector<IndexColumn> columns;
  SourcePos pos;
};

struct CreateTable {
  ObjectName table;
  std::vector<ColumnDef> columns;
  std::vector<TableConstraint> constraints;
};

// WITH (IGNORE_DUP_KEY = ON, FILLFACTOR = 80): name in upper case; value
// upper case for ON/OFF, else as written ("" when only the name is given).
struct IndexOption {
  std::string name;
  std::string value;
};

struct CreateIndex {
  bool unique = false;
  bool clustered = false;
  std::string name;
  ObjectName table;
  std::vector<IndexColumn> columns;
  bool nonclustered = false;         // NONCLUSTERED written
  std::vector<IndexOption> options;
};

struct AlterTable {
  enum class Action { kAddColumns, kAlterColumn, kDropColumn, kAddConstraint,
                      kDropConstraint } action = Action::kAddColumns;
  ObjectName table;
  std::vector<ColumnDef> columns;           // ADD c type.., ALTER COLUMN c type
  std::vector<TableConstraint> constraints; // ADD CONSTRAINT
  std::vector<std::string> names;           // DROP COLUMN / CONSTRAINT names
};

enum class ObjectKind { kTable, kIndex, kView, kProcedure, kFunction,
                        kTrigger, kDatabase };

struct DropObjects {
  ObjectKind kind = ObjectKind::kTable;
  bool if_exists = false;
  // DROP INDEX t.i: name = i, table = t; DROP INDEX i ON t likewise.
  std::vector<ObjectName> names;
  std::vector<ObjectName> tables;  // for indexes, one per name
};

struct CreateDatabase { std::string name; };
struct UseDatabase { std::string name; };

struct ExecuteArg {
  std::string name;      // "@p" when written as @p = value, else empty
  ExprPtr value;         // null when DEFAULT
  bool output = false;
};

// EXECUTE [@status | ? =] proc args. Also carries the driver's own commands
// (sqlsim_fault ...), which the executor recognises by name.
struct Execute {
  std::string status_variable;
  int32_t status_param = -1;  // EXEC ? = p: the marker's param_index
  ObjectName procedure;
  std::vector<ExecuteArg> args;
  ExprPtr text;  // EXECUTE (expr): the text of a batch to run; no procedure
};

// SET NOCOUNT ON, SET ANSI_PADDING ON, SET DATEFORMAT ymd, ...: option in
// upper case, value as written (upper case for ON/OFF).
struct SetOption {
  std::string option;
  std::string value;
  ObjectName table;  // SET IDENTITY_INSERT table ON
};

struct Transaction {
  enum class Kind { kBegin, kCommit, kRollback, kSave } kind = Kind::kBegin;
  std::string name;
  bool name_is_variable = false;  // SAVE TRANSACTION @name: the name is its value
};

// ---- Procedural statements -----------------------------------------------

struct Statement;
using StatementPtr = std::unique_ptr<Statement>;

// DECLARE @a int = 1, @b char(10): one entry per variable.
struct VariableDecl {
  std::string name;   // "@a"
  TypeName type;
  ExprPtr init;       // null when not initialised
  SourcePos pos;
  std::unique_ptr<CreateTable> table;  // DECLARE @t TABLE (...): its columns and keys
};
struct Declare {
  std::vector<VariableDecl> variables;
};

// DECLARE c [options] CURSOR [options] FOR select [FOR UPDATE [OF ...]].
// Options are kept in upper case (LOCAL, GLOBAL, FORWARD_ONLY, STATIC ...).
struct DeclareCursor {
  std::string name;
  std::vector<std::string> options;
  std::unique_ptr<Select> select;
};

// SET @v = expr; SET @v += expr arrives as op "+" (likewise -, *, /).
struct SetVariable {
  std::string name;  // "@v"
  std::string op;    // "" for plain =
  ExprPtr value;
};

// BEGIN ... END
struct Block {
  std::vector<Statement> statements;
};

struct If {
  ExprPtr condition;
  StatementPtr then_branch;
  StatementPtr else_branch;  // null without ELSE
};

struct While {
  ExprPtr condition;
  StatementPtr body;
};

struct Break {};
struct Continue {};

struct Return {
  ExprPtr value;  // null: RETURN alone
};

struct Print {
  ExprPtr value;
};

// RAISERROR (msg, severity, state [, args...]) [WITH options]
struct RaiseError {
  std::vector<ExprPtr> args;  // message, severity, state, substitutions
  std::vector<std::string> options;  // WITH NOWAIT, LOG, SETERROR: upper case
};

// BEGIN TRY ... END TRY BEGIN CATCH ... END CATCH
struct TryCatch {
  std::vector<Statement> try_statements;
  std::vector<Statement> catch_statements;
};

// OPEN c, CLOSE c, DEALLOCATE c
struct CursorCommand {
  enum class Kind { kOpen, kClose, kDeallocate } kind = Kind::kOpen;
  std::string cursor;
};

// FETCH [NEXT|PRIOR|FIRST|LAST|ABSOLUTE n|RELATIVE n] [FROM] c [INTO @a, ...]
struct Fetch {
  std::string direction = "NEXT";  // upper case
  ExprPtr offset;                  // ABSOLUTE / RELATIVE n
  std::string cursor;
  std::vector<std::string> into;   // "@a" ...
};

// WAITFOR DELAY 'hh:mm:ss.mmm' | WAITFOR TIME 'hh:mm'
struct WaitFor {
  bool is_time = false;
  ExprPtr value;
};

// DBCC name [( args )] [WITH options]: name in upper case. Arguments are
// expressions; a bare or bracketed name arrives as a kColumn expression.
struct Dbcc {
  std::string command;
  std::vector<ExprPtr> args;
  std::vector<std::string> options;
};

// A parameter of CREATE PROCEDURE / FUNCTION.
struct ParameterDecl {
  std::string name;       // "@p"
  TypeName type;
  ExprPtr default_value;  // = value; null when none
  bool output = false;    // OUTPUT / OUT
  SourcePos pos;
};

// CREATE [OR ALTER] / ALTER PROCEDURE, FUNCTION, VIEW, TRIGGER. Such a
// statement is the whole batch: the body runs to its end.
struct CreateModule {
  ObjectKind kind = ObjectKind::kProcedure;  // kProcedure, kFunction, kView, kTrigger
  bool alter = false;          // ALTER ... or CREATE OR ALTER ...
  bool create_or_alter = false;
  ObjectName name;
  std::vector<ParameterDecl> parameters;   // procedures and functions
  TypeName returns;                        // scalar functions
  ObjectName trigger_table;                // ON table
  bool on_insert = false, on_update = false, on_delete = false;
  bool instead_of = false;                 // INSTEAD OF triggers
  std::vector<std::string> view_columns;   // CREATE VIEW v (a, b) AS
  std::unique_ptr<Select> view_select;     // views
  std::vector<Statement> body;             // procedures, functions, triggers
  std::vector<std::string> options;        // WITH ENCRYPTION, SCHEMABINDING ...
  size_t body_offset = 0;                  // where the body starts in the text
};

using StatementBody = std::variant<Select, Insert, Update, Delete, Merge, CreateTable,
                                   CreateIndex, AlterTable, DropObjects,
                                   CreateDatabase, UseDatabase, Execute,
                                   SetOption, Transaction, Declare,
                                   DeclareCursor, SetVariable, Block, If, While,
                                   Break, Continue, Return, Print, RaiseError,
                                   TryCatch, CursorCommand, Fetch, WaitFor, Dbcc,
                                   CreateModule>;

struct Statement {
  SourcePos pos;
  size_t end_offset = 0;  // text of the statement: batch[pos.offset, end_offset)
  StatementBody body;
};

struct Batch {
  std::vector<Statement> statements;
  int32_t parameter_count = 0;  // ? markers in the whole batch
};

}  // namespace sqlsim::ast
