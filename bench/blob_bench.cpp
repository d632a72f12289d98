// A 64 MiB blob written from a file and read back to a file: through the
// library's blob calls, and by a hand-written loop that sends and fetches
// the same part rows in the same 512-byte pieces with SQLPutData and
// SQLGetData on the same connection. Bytes per second of each side.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/bench_tables.h"
#include "bench/odbc_bench.h"
#include "include/lerv32.h"

namespace bench {
namespace {

constexpr long kBlobBytes = 64L * 1024 * 1024;
constexpr long kPartBytes = 16L * 1024 * 1024;
constexpr int kPiece = 512;

class Setup {
 public:
  Setup() {
    dbc_ = rv_OdbcDriverConnect(nullptr, FreshDatabase(Driver::kSqlsim, "blobs").c_str());
    if (dbc_ == nullptr) throw std::runtime_error("no connection");
    char errors[2048] = {};
    if (!rv_CallSqlFile(dbc_, nullptr, LERV32_BLOBS_SQL, errors, sizeof errors)) throw std::runtime_error(errors);
    std::FILE* file = std::fopen(source_.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("no source file");
    std::vector<char> chunk(1 << 20);
    for (size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 131 % 251);
    for (long written = 0; written < kBlobBytes; written += static_cast<long>(chunk.size())) {
      std::fwrite(chunk.data(), 1, chunk.size(), file);
    }
    std::fclose(file);
    if (rv_OdbcInsertBlobFromFile(dbc_, &blob_id_, source_.c_str()) != 0) throw std::runtime_error("no blob");
  }
  ~Setup() {
    std::remove(source_.c_str());
    std::remove(target_.c_str());
    rv_OdbcDisconnect(dbc_);
  }
  Setup(const Setup&) = delete;
  Setup& operator=(const Setup&) = delete;

  SQLHDBC dbc() const { return static_cast<SQLHDBC>(dbc_); }

  LERV32_HDBC dbc_ = nullptr;
  int32_t blob_id_ = 0;
  const std::string source_ = std::string(LERV32_BENCH_DATA_DIR) + "/blob-source.bin";
  const std::string target_ = std::string(LERV32_BENCH_DATA_DIR) + "/blob-target.bin";
};

Setup& Shared() {
  static Setup setup;
  return setup;
}

std::vector<SQLINTEGER> PartIds(Setup& s) {
  Handle stmt(SQL_HANDLE_STMT, s.dbc());
  const std::string sql = "SELECT RecId FROM ut_Blobs WHERE BlobId = " + std::to_string(s.blob_id_) + " ORDER BY PartNo";
  Check(SQLExecDirect(stmt.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS),
        SQL_HANDLE_STMT, stmt.get(), "part ids");
  std::vector<SQLINTEGER> ids;
  SQLINTEGER id = 0;
  while (SQL_SUCCEEDED(SQLFetch(stmt.get()))) {
    SQLGetData(stmt.get(), 1, SQL_C_LONG, &id, 0, nullptr);
    ids.push_back(id);
  }
  return ids;
}

// The part rows rewritten from the file, piece by piece, in one transaction
// as the library writes them.
void HandWrite(Setup& s, const std::vector<SQLINTEGER>& parts) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(s.source_.c_str(), "rb"), std::fclose);
  SQLSetConnectAttr(s.dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
  char piece[kPiece];
  for (SQLINTEGER part : parts) {
    Handle stmt(SQL_HANDLE_STMT, s.dbc());
    SQLLEN at_execution = SQL_LEN_DATA_AT_EXEC(0);
    SQLPrepare(stmt.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(
                               "UPDATE [dbo].[ut_Blobs] SET [BlobData] = ? WHERE RecId = ?")), SQL_NTS);
    SQLBindParameter(stmt.get(), 1, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY, 0, 0,
                     reinterpret_cast<SQLPOINTER>(1), 0, &at_execution);
    SQLBindParameter(stmt.get(), 2, SQL_PARAM_INPUT, SQL_C_LONG, SQL_INTEGER, 0, 0, &part, 0, nullptr);
    if (SQLExecute(stmt.get()) != SQL_NEED_DATA) throw std::runtime_error("no data asked for");
    SQLPOINTER token = nullptr;
    SQLParamData(stmt.get(), &token);
    for (long sent = 0; sent < kPartBytes; sent += kPiece) {
      const size_t got = std::fread(piece, 1, kPiece, file.get());
      Check(SQLPutData(stmt.get(), piece, static_cast<SQLLEN>(got)), SQL_HANDLE_STMT, stmt.get(), "put");
    }
    Check(SQLParamData(stmt.get(), &token), SQL_HANDLE_STMT, stmt.get(), "update");
  }
  SQLEndTran(SQL_HANDLE_DBC, s.dbc(), SQL_COMMIT);
  SQLSetConnectAttr(s.dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
}

// The part rows fetched in order, each piece written to the file.
void HandRead(Setup& s) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(s.target_.c_str(), "wb"), std::fclose);
  Handle stmt(SQL_HANDLE_STMT, s.dbc());
  const std::string sql =
      "SELECT BlobData FROM ut_Blobs WHERE BlobId = " + std::to_string(s.blob_id_) + " ORDER BY PartNo";
  Check(SQLExecDirect(stmt.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS),
        SQL_HANDLE_STMT, stmt.get(), "select");
  char piece[kPiece];
  while (SQL_SUCCEEDED(SQLFetch(stmt.get()))) {
    SQLLEN indicator = 0;
    SQLRETURN rc;
    while (SQL_SUCCEEDED(rc = SQLGetData(stmt.get(), 1, SQL_C_BINARY, piece, kPiece, &indicator))) {
      const size_t bytes = rc == SQL_SUCCESS ? static_cast<size_t>(indicator) : kPiece;
      std::fwrite(piece, 1, bytes, file.get());
      if (rc == SQL_SUCCESS) break;
    }
  }
}

void Write(benchmark::State& state, bool library) {
  Setup& s = Shared();
  const std::vector<SQLINTEGER> parts = PartIds(s);
  for (auto _ : state) {
    if (library) {
      if (rv_OdbcUpdateBlobFromFile(s.dbc_, s.blob_id_, s.source_.c_str()) != 0) state.SkipWithError("write failed");
    } else {
      HandWrite(s, parts);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBlobBytes);
}

void Read(benchmark::State& state, bool library) {
  Setup& s = Shared();
  for (auto _ : state) {
    if (library) {
      if (rv_OdbcSelectBlobToFile(s.dbc_, s.blob_id_, s.target_.c_str()) != 0) state.SkipWithError("read failed");
    } else {
      HandRead(s);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBlobBytes);
}

BENCHMARK_CAPTURE(Write, library, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Write, hand, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, library, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, hand, false)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace bench

BENCHMARK_MAIN();
