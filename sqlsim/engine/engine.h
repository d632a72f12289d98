// The server side of a connection, as the ODBC layer sees it: open a
// database, prepare a batch of Transact-SQL once, execute it with parameter
// values many times, and walk its results (row sets and row counts, each
// with the messages the server sent along). Nothing here knows ODBC's C
// types; the ODBC layer converts between them and Value.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sqlsim/diagnostic.h"

namespace sqlsim {

// A value as the server holds it. Text is in the server's 8-bit code page
// (Windows-1252); datetime travels as text "yyyy-mm-dd hh:mi:ss.mmm".
struct Value {
  enum class Kind { kNull, kInteger, kReal, kText, kBlob };
  Kind kind = Kind::kNull;
  int64_t integer = 0;
  double real = 0;
  std::string bytes;  // kText and kBlob

  static Value Null() { return {}; }
  static Value Integer(int64_t v) { Value x; x.kind = Kind::kInteger; x.integer = v; return x; }
  static Value Real(double v) { Value x; x.kind = Kind::kReal; x.real = v; return x; }
  static Value Text(std::string v) { Value x; x.kind = Kind::kText; x.bytes = std::move(v); return x; }
  static Value Blob(std::string v) { Value x; x.kind = Kind::kBlob; x.bytes = std::move(v); return x; }
  bool IsNull() const { return kind == Kind::kNull; }
};

// The server's own types, as the catalog and result descriptions name them.
enum class SqlType {
  kChar, kVarchar, kInt, kSmallint, kTinyint, kBigint, kBit, kFloat,
  kReal, kDecimal, kDatetime, kBinary, kVarbinary, kImage, kText, kUnknown
};

// A column of a result set, described as SQL Server describes it.
struct ColumnDesc {
  std::string name;         // alias or column name; "" for unnamed expressions
  SqlType type = SqlType::kUnknown;
  int32_t length = 0;       // char/varchar/binary/varbinary length, 0 for (max)
  int32_t precision = 0;    // decimal precision
  int32_t scale = 0;        // decimal scale
  bool numeric = false;     // numeric(p,s): SQL_NUMERIC rather than SQL_DECIMAL
  bool nullable = true;
  std::string base_table;   // table the column comes from, "" for expressions
  std::string base_column;
};

// A parameter value handed in by the client, with the SQL type the client
// declared for it (SQLBindParameter's ParameterType, as an SqlType).
struct ParamValue {
  Value value;
  SqlType declared_type = SqlType::kUnknown;
  int32_t length = 0;
  int32_t scale = 0;
  // Bound for output: as a bare argument of EXECUTE the marker is an
  // OUTPUT argument, and as its status target (EXEC ? = p) it takes the
  // return status.
  bool output = false;
};

// The rows of one result set, read forward. Column values stay valid until
// the next call of Next().
class RowSource {
 public:
  virtual ~RowSource() = default;
  // The same description, unchanged, for as long as the source lives.
  virtual const std::vector<ColumnDesc>& Columns() const = 0;
  // Moves to the next row: true if there is one; false at the end or on an
  // error, which is appended to *diags.
  virtual bool Next(Diagnostics* diags) = 0;
  virtual const Value& Column(size_t index) const = 0;
  // The current row's values into *row (sized to the columns); the source
  // may give up its own copies, as it reads the next row afresh. Column()
  // is not to be called again before the next Next().
  virtual void TakeRow(std::vector<Value>* row) {
    row->resize(Columns().size());
    for (size_t i = 0; i < row->size(); ++i) (*row)[i] = Column(i);
  }
};

// One result of a batch: a row set, or the count of rows a statement
// changed, or neither (a statement that only sent messages or failed).
struct Result {
  std::unique_ptr<RowSource> rows;  // set for row sets
  int64_t row_count = -1;           // INSERT/UPDATE/DELETE; -1 otherwise
  Diagnostics messages;             // errors and informational messages
  bool failed = false;              // an error ended the statement
  bool in_procedure = false;        // sent by a statement inside a procedure
};

// The running execution of a batch. Results are produced lazily: statements
// after a row set run only when the client asks for the next result.
class Execution {
 public:
  virtual ~Execution() = default;
  // Runs the batch on to its next result. Returns nullopt when the batch is
  // done. A row set must be read (or dropped) before asking again.
  virtual std::optional<Result> NextResult() = 0;
  // Stops the batch: no further statement runs.
  virtual void Cancel() = 0;
  // One entry per marker: the final value of an output marker once the
  // batch is done (NextResult gave nullopt); nullopt for input markers and
  // for outputs the batch never set (it ended before the EXECUTE finished).
  virtual const std::vector<std::optional<Value>>& OutputValues() const = 0;
};

// A batch parsed and translated once, executed any number of times.
class PreparedBatch {
 public:
  virtual ~PreparedBatch() = default;
  virtual int32_t ParameterCount() const = 0;
  // The columns of the first result set if it can be known before running
  // (a batch that starts with a SELECT); empty otherwise.
  virtual const std::vector<ColumnDesc>& FirstResultColumns() const = 0;
  // One entry per ? marker: the type it takes from where it stands (the
  // column it is compared with or assigned to, the procedure parameter it
  // is passed to); type kUnknown where nothing tells.
  virtual std::vector<ColumnDesc> ParameterTypes() = 0;
  // True for one INSERT ... VALUES of markers and constants into a table
  // without triggers: running it for many parameter sets in one transaction
  // keeps each set's outcome as separate statements would have it.
  virtual bool SetsMayShareTransaction() = 0;
  // The batch text as prepared, for traces.
  virtual const std::string& Text() const = 0;
  // REQUIRES: params.size() == ParameterCount().
  virtual std::unique_ptr<Execution> Execute(std::vector<ParamValue> params) = 0;
  // True for a batch of one SELECT that sends its rows to the client: its
  // execution has that one result (or a failure) and nothing after it.
  virtual bool IsSingleSelect() const = 0;
  // Runs such a batch: the result Execute(params) would give first, with
  // no execution left to keep. REQUIRES: IsSingleSelect().
  virtual Result ExecuteSingleSelect(const std::vector<ParamValue>& params) = 0;
};

struct ConnectOptions {
  std::string data_dir;       // folder holding the database files
  std::string database;       // database name: <data_dir>/<database>.db
  bool autocreate = false;    // create the database if it is missing
  int32_t busy_timeout_ms = 10000;  // waiting for another writer
  std::string trace_file;     // statements executed or prepared, "" = none
  // A batch still running after this long is stopped with an error.
  int32_t statement_timeout_ms = 600000;
};

struct CatalogRequest;

class Session {
 public:
  virtual ~Session() = default;
  // Parses and translates a batch. On failure returns null and appends
  // the diagnostics (syntax errors, unknown objects found at prepare).
  virtual std::unique_ptr<PreparedBatch> Prepare(std::string_view text,
                                                 Diagnostics* diags) = 0;
  // Autocommit on (the default): every statement commits. Off: the first
  // statement opens a transaction that EndTransaction ends.
  virtual bool SetAutocommit(bool on, Diagnostics* diags) = 0;
  virtual bool EndTransaction(bool commit, Diagnostics* diags) = 0;
  virtual bool InTransaction() const = 0;
  // Whether SQLite holds a transaction open: after some I/O errors it
  // rolls one back by itself.
  virtual bool TransactionOpen() const = 0;
  // Asks the batch running on another thread to stop at its next check, as
  // its time limit would stop it; it ends with HY008. Safe from any thread.
  virtual void Cancel() = 0;
  virtual std::string CurrentDatabase() const = 0;
  // The result set of a catalog function (catalog_queries.h) over the
  // current database; null with a diagnostic when the catalog cannot be read.
  virtual std::unique_ptr<RowSource> QueryCatalog(const CatalogRequest& request,
                                                  Diagnostics* diags) = 0;
};

// Opens a session on options.database. Null on failure, with a diagnostic
// (a missing database without autocreate: 4060 "Cannot open database ...").
std::unique_ptr<Session> OpenSession(const ConnectOptions& options,
                                     Diagnostics* diags);

// Fault injection for the tests of clients (set by EXECUTE sqlsim_fault).
// The ODBC layer asks before each SQLPutData whether it must fail.
std::optional<Diagnostic> TakePutDataFault();
// The same before each SQLGetData, and before each fetch, on a statement
// of that text.
std::optional<Diagnostic> TakeGetDataFault(std::string_view statement);
std::optional<Diagnostic> TakeFetchFault(std::string_view statement);

}  // namespace sqlsim
