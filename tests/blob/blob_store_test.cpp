// Blobs through the library's exports on sqlsim: round trips through files
// and global memory, the part rows on the server, failures that must leave
// the stored blob as it was, and readers beside a writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "blob/blob_db.h"
#include "blob/blob_target.h"
#include "blob/blob_transfer.h"
#include "include/lebase32.h"
#include "support/planted_links.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <sqlext.h>

namespace blobtest {
namespace {

constexpr int64_t kPart = 16 * 1024 * 1024;

std::string Bytes(int64_t size, int seed = 1) {
  std::string data(static_cast<size_t>(size), '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 131 + static_cast<size_t>(seed) * 7) % 251);
  return data;
}

// A movable block holding data; null for no data (a movable block of 0
// bytes cannot be locked).
HGLOBAL HandleOf(const std::string& data) {
  if (data.empty()) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data.size());
  if (block != nullptr) {
    std::memcpy(GlobalLock(block), data.data(), data.size());
    GlobalUnlock(block);
  }
  return block;
}

std::string TextOf(HGLOBAL block) {
  const size_t size = GlobalSize(block);
  std::string data(size, '\0');
  if (size > 0) {
    std::memcpy(data.data(), GlobalLock(block), size);
    GlobalUnlock(block);
  }
  return data;
}

// Rows of a statement's first one or two columns, as text; "null" for NULL.
std::vector<std::string> Rows(LERV32_HDBC dbc, const std::string& sql) {
  std::vector<std::string> rows;
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  SQLAllocStmt(static_cast<SQLHDBC>(dbc), &stmt);
  if (SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())), SQL_NTS))) {
    SQLSMALLINT columns = 0;
    // Counts of rows that a procedure's statements changed come first.
    while (SQLNumResultCols(stmt, &columns) == SQL_SUCCESS && columns == 0 && SQL_SUCCEEDED(SQLMoreResults(stmt))) {
    }
    while (SQL_SUCCEEDED(SQLFetch(stmt))) {
      std::string row;
      for (SQLUSMALLINT c = 1; c <= columns; ++c) {
        char text[64] = {};
        SQLLEN indicator = 0;
        SQLGetData(stmt, c, SQL_C_CHAR, text, sizeof text, &indicator);
        row += (c > 1 ? " " : "") + std::string(indicator == SQL_NULL_DATA ? "null" : text);
      }
      rows.push_back(row);
    }
  }
  SQLFreeStmt(stmt, SQL_DROP);
  return rows;
}

void Exec(LERV32_HDBC dbc, const std::string& sql) {
  char errors[1024] = {};
  EXPECT_EQ(rv_CallStatement(dbc, sql.c_str(), errors, sizeof errors), 1) << sql << ": " << errors;
}

// The data lengths of the blob's parts in order ("null" for an empty part).
std::vector<std::string> PartLengths(LERV32_HDBC dbc, int32_t blob_id) {
  return Rows(dbc, "SELECT DATALENGTH(BlobData) FROM ut_Blobs WHERE BlobId = " + std::to_string(blob_id) +
                       " ORDER BY PartNo");
}

std::vector<std::string> PartIds(LERV32_HDBC dbc, int32_t blob_id) {
  return Rows(dbc, "SELECT RecId FROM ut_Blobs WHERE BlobId = " + std::to_string(blob_id) + " ORDER BY PartNo");
}

// A blob whose parts hold exactly the given texts, made on the server.
// Insert and update through a block of data (none for no data); the call's code.
int32_t InsertFromMemory(LERV32_HDBC dbc, int32_t* id, const std::string& data) {
  HGLOBAL block = HandleOf(data);
  const int32_t result = rv_OdbcInsertBlobFromHGlobal(dbc, id, block);
  GlobalFree(block);
  return result;
}

int32_t UpdateFromMemory(LERV32_HDBC dbc, int32_t id, const std::string& data) {
  HGLOBAL block = HandleOf(data);
  const int32_t result = rv_OdbcUpdateBlobFromHGlobal(dbc, id, block);
  GlobalFree(block);
  return result;
}

// sqlsim's fault rules: the link lost at the next piece sent, a deadlock at
// the next statement like pattern.
const std::string kPutDataLost = "EXECUTE sqlsim_fault 'putdata', '', 1, '08S01', 10054";
std::string Deadlock(const std::string& pattern) {
  return "EXECUTE sqlsim_fault 'execute', '" + pattern + "', 1, '40001', 1205";
}

int32_t MakeBlob(LERV32_HDBC dbc, const std::vector<std::string>& parts) {
  const int32_t id = std::stoi(Rows(dbc, "EXECUTE up_Add_Blobs").at(0));
  for (const std::string& part : parts) {
    const std::string rec = Rows(dbc, "EXECUTE up_Add_BlobPart " + std::to_string(id)).at(0);
    Exec(dbc, "UPDATE ut_Blobs SET BlobData = CAST('" + part + "' AS varbinary(max)) WHERE RecId = " + rec);
  }
  return id;
}

// The blob's bytes through a block; result, when given, gets the call's code.
std::string SelectToMemory(LERV32_HDBC dbc, int32_t blob_id, int32_t* result = nullptr) {
  HGLOBAL block = reinterpret_cast<HGLOBAL>(1);
  const int32_t code = rv_OdbcSelectBlobToHGlobal(dbc, blob_id, &block);
  EXPECT_EQ(block == nullptr, code != 0);
  if (result != nullptr) *result = code;
  if (block == nullptr) return "";
  std::string data = TextOf(block);
  GlobalFree(block);
  return data;
}

// Lines the library's ODBC trace gained since it was marked.
class LibraryTrace {
 public:
  LibraryTrace() : path_(testenv::GetEnv("LERV32_ODBC_TRACE")) { Mark(); }
  bool enabled() const { return !path_.empty(); }
  void Mark() { start_ = enabled() && std::filesystem::exists(path_) ? std::filesystem::file_size(path_) : 0; }
  size_t Count(const std::string& call) const {
    std::ifstream in(path_, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(start_));
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    size_t n = 0;
    for (size_t at = text.find(call + " "); at != std::string::npos; at = text.find(call + " ", at + 1)) {
      if (at == 0 || text[at - 1] == '\n') ++n;
    }
    return n;
  }

 private:
  std::string path_;
  size_t start_ = 0;
};

int32_t GlobalBlocks() {
  int32_t bytes = 0, blocks = 0;
  GetGlobalUsage(&bytes, &blocks);
  return blocks + bytes;
}

class BlobTest : public ::testing::Test {
 protected:
  void SetUp() override { usage_ = GlobalBlocks(); }
  // No path through the blob calls may keep a block of the support library.
  // Fault rules hold for the whole process: none may reach the next test.
  void TearDown() override {
    EXPECT_EQ(GlobalBlocks(), usage_);
    Exec(dbc_, "EXECUTE sqlsim_fault 'clear'");
  }

  BlobDb db_;
  LERV32_HDBC dbc_ = db_.Connect();
  int32_t usage_ = 0;
};

enum class Via { kFile, kMemory };

struct RoundTrip {
  int64_t size;
  Via via;
  std::vector<std::string> parts;
};

class BlobRoundTripTest : public BlobTest, public ::testing::WithParamInterface<RoundTrip> {};

TEST_P(BlobRoundTripTest, StoresPartsAndReadsBackInPieces) {
  const RoundTrip& c = GetParam();
  const std::string data = Bytes(c.size);
  LibraryTrace trace;
  int32_t id = 0;
  if (c.via == Via::kFile) {
    testenv::WriteText(db_.File("in.bin"), data);
    ASSERT_EQ(rv_OdbcInsertBlobFromFile(dbc_, &id, db_.File("in.bin").c_str()), 0);
  } else {
    ASSERT_EQ(InsertFromMemory(dbc_, &id, data), 0);
  }
  ASSERT_NE(id, 0);
  EXPECT_EQ(PartLengths(dbc_, id), c.parts);
  EXPECT_EQ(rv_OdbcSizeOfBlob(dbc_, id), c.size);
  const int64_t pieces = (c.size + 511) / 512;
  if (trace.enabled()) {
    EXPECT_EQ(trace.Count("SQLPutData"), static_cast<size_t>(pieces));
  }

  trace.Mark();
  int32_t result = -1;
  const std::string out = db_.File("out.bin");
  if (c.via == Via::kFile) {
    result = rv_OdbcSelectBlobToFile(dbc_, id, out.c_str());
    EXPECT_EQ(std::filesystem::exists(out), c.size > 0);
    if (c.size > 0) {
      EXPECT_TRUE(testenv::ReadText(out) == data);
    }
  } else {
    EXPECT_TRUE(SelectToMemory(dbc_, id, &result) == data);
  }
  EXPECT_EQ(result, c.size > 0 ? 0 : 5);
  // One read of the size, then one of the length per part and one per piece
  // of its data.
  if (trace.enabled() && c.size > 0) {
    EXPECT_EQ(trace.Count("SQLGetData"), 1 + c.parts.size() + static_cast<size_t>(pieces));
  }
}

const std::string kFull = std::to_string(kPart);

INSTANTIATE_TEST_SUITE_P(
    Sizes, BlobRoundTripTest,
    ::testing::Values(RoundTrip{0, Via::kFile, {}}, RoundTrip{1, Via::kFile, {"1"}},
                      RoundTrip{511, Via::kMemory, {"511"}}, RoundTrip{512, Via::kFile, {"512"}},
                      RoundTrip{513, Via::kMemory, {"513"}}, RoundTrip{0, Via::kMemory, {}},
                      RoundTrip{kPart, Via::kFile, {kFull}}, RoundTrip{kPart, Via::kMemory, {kFull}},
                      RoundTrip{kPart + 1, Via::kMemory, {kFull, "1"}},
                      RoundTrip{kPart + 1, Via::kFile, {kFull, "1"}}));

TEST_F(BlobTest, ReplacingKeepsThePartRowsAndEmptiesTheSurplus) {
  const int32_t id = MakeBlob(dbc_, {"eins", "zwei", "drei"});
  const std::vector<std::string> rows = PartIds(dbc_, id);
  ASSERT_EQ(rows.size(), 3u);
  // The blob script runs again on a database that holds blobs: they stay.
  db_.Connect();
  EXPECT_EQ(PartLengths(dbc_, id), (std::vector<std::string>{"4", "4", "4"}));

  EXPECT_EQ(UpdateFromMemory(dbc_, id, "0123456789"), 0);
  EXPECT_EQ(PartLengths(dbc_, id), (std::vector<std::string>{"10", "null", "null"}));
  EXPECT_EQ(PartIds(dbc_, id), rows);

  const std::string longer = Bytes(kPart + 5, 3);
  EXPECT_EQ(UpdateFromMemory(dbc_, id, longer), 0);
  EXPECT_EQ(PartLengths(dbc_, id), (std::vector<std::string>{kFull, "5", "null"}));
  EXPECT_EQ(PartIds(dbc_, id), rows);
  int32_t result = -1;
  EXPECT_TRUE(SelectToMemory(dbc_, id, &result) == longer);
  EXPECT_EQ(result, 0);

  // A null handle empties every part and keeps the rows.
  EXPECT_EQ(rv_OdbcUpdateBlobFromHGlobal(dbc_, id, nullptr), 0);
  EXPECT_EQ(PartLengths(dbc_, id), (std::vector<std::string>{"null", "null", "null"}));
  EXPECT_EQ(rv_OdbcSizeOfBlob(dbc_, id), 0);
  EXPECT_EQ(SelectToMemory(dbc_, id, &result), "");
  EXPECT_EQ(result, 5);
}

// What a call gives for ids and sources that hold nothing to work on.
TEST_F(BlobTest, MissingBlobsAndSourcesGiveTheirCodes) {
  const std::string file = db_.File("in.bin");
  testenv::WriteText(file, "abc");
  const std::string missing = db_.File("nicht-da.bin");
  // Sparse: its size wraps to 100 bytes in 32 bits.
  const std::string huge = db_.File("riesig.bin");
  testenv::WriteText(huge, "");
  std::filesystem::resize_file(huge, (uint64_t{1} << 32) + 100);
  HGLOBAL empty_movable = GlobalAlloc(GMEM_MOVEABLE, 0);
  int32_t result = -1;
  int32_t id = 77;
  struct Case {
    const char* what;
    int32_t got;
    int32_t expected;
  } cases[] = {
      {"update of id 0", rv_OdbcUpdateBlobFromFile(dbc_, 0, file.c_str()), 4},
      {"update of a missing blob", rv_OdbcUpdateBlobFromFile(dbc_, 4711, file.c_str()), 5},
      {"emptying a missing blob", rv_OdbcUpdateBlobFromHGlobal(dbc_, 4711, nullptr), 5},
      {"update of a negative id", rv_OdbcUpdateBlobFromFile(dbc_, -1, file.c_str()), 5},
      {"size of a negative id", rv_OdbcSizeOfBlob(dbc_, INT32_MIN), 0},
      {"delete of a negative id", rv_OdbcDeleteBlob(dbc_, -1), 0},
      {"insert from a file of 4 GiB", rv_OdbcInsertBlobFromFile(dbc_, &id, huge.c_str()), 1},
      {"update from a missing file", rv_OdbcUpdateBlobFromFile(dbc_, 4711, missing.c_str()), 1},
      {"update from a null file name", rv_OdbcUpdateBlobFromFile(dbc_, 4711, nullptr), 1},
      {"update from an empty movable block", rv_OdbcUpdateBlobFromHGlobal(dbc_, 4711, empty_movable), 9},
      {"select of a missing blob", rv_OdbcSelectBlobToFile(dbc_, 4711, db_.File("out.bin").c_str()), 5},
      {"size of a missing blob", rv_OdbcSizeOfBlob(dbc_, 4711), 0},
      {"delete of a missing blob", rv_OdbcDeleteBlob(dbc_, 4711), 0},
      {"insert from a missing file", rv_OdbcInsertBlobFromFile(dbc_, &id, missing.c_str()), 1},
      {"insert without an id to give", rv_OdbcInsertBlobFromFile(dbc_, nullptr, file.c_str()), 4},
  };
  GlobalFree(empty_movable);
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.what;
  EXPECT_EQ(id, 0);
  EXPECT_EQ(SelectToMemory(dbc_, 4711, &result), "");
  EXPECT_EQ(result, 5);
  EXPECT_FALSE(std::filesystem::exists(db_.File("out.bin")));
  // Nothing of the failed calls stayed on the server.
  EXPECT_EQ(Rows(dbc_, "SELECT COUNT(*) FROM ut_BlobIds"), std::vector<std::string>{"0"});
  EXPECT_EQ(Rows(dbc_, "SELECT COUNT(*) FROM ut_Blobs"), std::vector<std::string>{"0"});
}

TEST_F(BlobTest, WithoutTheBlobProceduresEveryCallFails) {
  LERV32_HDBC bare = db_.Connect("ohne", false);
  const std::string file = db_.File("in.bin");
  testenv::WriteText(file, "abc");
  int32_t id = 5;
  EXPECT_EQ(rv_OdbcInsertBlobFromFile(bare, &id, file.c_str()), 3);
  EXPECT_EQ(id, 0);
  EXPECT_NE(rv_OdbcUpdateBlobFromFile(bare, 1, file.c_str()), 0);
  EXPECT_EQ(rv_OdbcSizeOfBlob(bare, 1), -1);
  EXPECT_EQ(rv_OdbcDeleteBlob(bare, 1), SQL_ERROR);
  EXPECT_EQ(rv_OdbcSelectBlobToFile(bare, 1, db_.File("out.bin").c_str()), 3);
}

// A failure while writing leaves the stored blob as it was.
struct WriteFault {
  std::string fault;
  int32_t expected;
  std::vector<std::string> parts;  // of the blob before the update
  int64_t new_size;
};

class BlobWriteFaultTest : public BlobTest, public ::testing::WithParamInterface<WriteFault> {};

TEST_P(BlobWriteFaultTest, LeavesTheBlobAsItWas) {
  const WriteFault& c = GetParam();
  const int32_t id = MakeBlob(dbc_, c.parts);
  const std::vector<std::string> lengths = PartLengths(dbc_, id);
  const std::string before = SelectToMemory(dbc_, id);
  Exec(dbc_, c.fault);
  const std::string file = db_.File("neu.bin");
  testenv::WriteText(file, Bytes(c.new_size, 9));
  EXPECT_EQ(rv_OdbcUpdateBlobFromFile(dbc_, id, file.c_str()), c.expected);
  Exec(dbc_, "EXECUTE sqlsim_fault 'clear'");
  EXPECT_EQ(PartLengths(dbc_, id), lengths);
  EXPECT_EQ(SelectToMemory(dbc_, id), before);
  // The one box of the blob calls, without owner and caption.
  EXPECT_EQ(db_.Boxes(), c.fault == kPutDataLost ? std::vector<std::string>{"Fehler\tFehler bei SQLPutData\tOK\tOK"}
                                 : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BlobWriteFaultTest,
    ::testing::Values(
        WriteFault{kPutDataLost, 4, {"alt"}, 2000},
        // The second piece fails after the first one went into the part.
        WriteFault{kPutDataLost, 4, {"alt", "teil"}, 2000},
        WriteFault{Deadlock("%SET [BlobData] = ? WHERE%"), 3, {"alt"}, 2000},
        WriteFault{Deadlock("%SET [BlobData] = NULL%"), 3, {"alt", "teil", "drei"}, 10},
        WriteFault{Deadlock("%up_CountBlobParts%"), 3, {"alt"}, 10},
        WriteFault{Deadlock("%up_ListBlobParts%"), 3, {"alt"}, 10},
        WriteFault{Deadlock("%up_Add_BlobPart%"), 5, {}, 10}));

// A failure while reading leaves no file and no block, and an earlier file
// of the target's name as it was.
TEST_F(BlobTest, ReadFaultsLeaveTheTargetAsItWas) {
  int32_t id = 0;
  ASSERT_EQ(InsertFromMemory(dbc_, &id, Bytes(5000)), 0);
  const std::string target = db_.File("ziel.bin");
  struct Case {
    std::string fault;
    int32_t expected;
  } cases[] = {
      {Deadlock("%up_Sel_Blobs%"), 3},
      {"EXECUTE sqlsim_fault 'getdata', '3', 1, '08S01', 10054", 7},
      {"EXECUTE sqlsim_fault 'getdata', '1', 1, '08S01', 10054", 7},
      // A size that cannot be read is no empty blob.
      {Deadlock("%up_SizeOf_Blobs%"), 3},
  };
  for (const Case& c : cases) {
    for (Via via : {Via::kFile, Via::kMemory}) {
      testenv::WriteText(target, "frueher");
      Exec(dbc_, c.fault);
      int32_t result = -1;
      if (via == Via::kFile) {
        result = rv_OdbcSelectBlobToFile(dbc_, id, target.c_str());
      } else {
        SelectToMemory(dbc_, id, &result);
      }
      Exec(dbc_, "EXECUTE sqlsim_fault 'clear'");
      EXPECT_EQ(result, c.expected) << c.fault;
      EXPECT_EQ(testenv::ReadText(target), "frueher") << c.fault;
    }
  }
  // Only the target and the driver's trace are in the folder: no file was left half written.
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(db_.temp_.Path())) {
    files += entry.path().extension() == ".tmp" ? 1 : 0;
  }
  EXPECT_EQ(files, 0u);
  EXPECT_EQ(rv_OdbcSizeOfBlob(dbc_, id), 5000);
}

// Lengths that the server's procedure misstates never pass stale bytes on.
// Sizes and lengths that the server's procedures misstate never pass stale
// bytes on or overrun the block.
TEST_F(BlobTest, PartsThatDoNotMatchTheirLengthEndTheRead) {
  const int32_t id = MakeBlob(dbc_, {"abcdef"});
  const std::pair<const char*, const char*> lies[] = {
      {"Sel", "SELECT DATALENGTH(BlobData) + 1, BlobData FROM ut_Blobs WHERE BlobId = @BlobId"},
      {"Sel", "SELECT DATALENGTH(BlobData) - 1, BlobData FROM ut_Blobs WHERE BlobId = @BlobId"},
      {"Sel", "SELECT 6, CAST(NULL AS varbinary(max)) FROM ut_Blobs WHERE BlobId = @BlobId"},
      {"Sel", "SELECT CAST(NULL AS integer), BlobData FROM ut_Blobs WHERE BlobId = @BlobId UNION ALL "
              "SELECT 6, CAST('ghijkl' AS varbinary(max))"},
      {"SizeOf", "SELECT 5"},
  };
  for (const auto& [procedure, lie] : lies) {
    const std::string name = std::string("[dbo].[up_") + procedure + "_Blobs]";
    Exec(dbc_, "DROP PROCEDURE " + name);
    Exec(dbc_, "CREATE PROCEDURE " + name + " @BlobId integer AS " + lie);
    int32_t result = -1;
    EXPECT_EQ(SelectToMemory(dbc_, id, &result), "") << lie;
    EXPECT_EQ(result, 7) << lie;
    char errors[1024] = {};
    ASSERT_EQ(rv_CallSqlFile(dbc_, nullptr, LERV32_BLOBS_SQL, errors, sizeof errors), 1) << errors;
  }
}

TEST_F(BlobTest, InsertsThatFailLeaveNoBlob) {
  const std::string file = db_.File("in.bin");
  testenv::WriteText(file, "abc");
  struct Case {
    std::string procedure;  // up_Add_Blobs' body, or the fault set before the insert
    int32_t expected;
  } cases[] = {
      {kPutDataLost, 4},
      {"SELECT 0", 8},
      {"SELECT RecId FROM ut_BlobIds WHERE 1 = 0", 8},
  };
  for (const Case& c : cases) {
    const std::string& body = c.procedure;
    if (body.rfind("EXECUTE", 0) == 0) {
      Exec(dbc_, body);
    } else {
      Exec(dbc_, "DROP PROCEDURE [dbo].[up_Add_Blobs]");
      Exec(dbc_, "CREATE PROCEDURE [dbo].[up_Add_Blobs] AS " + body);
    }
    int32_t id = 99;
    EXPECT_EQ(rv_OdbcInsertBlobFromFile(dbc_, &id, file.c_str()), c.expected) << body;
    EXPECT_EQ(id, 0) << body;
    EXPECT_EQ(Rows(dbc_, "SELECT COUNT(*) FROM ut_Blobs"), std::vector<std::string>{"0"}) << body;
  }
  EXPECT_EQ(Rows(dbc_, "SELECT COUNT(*) FROM ut_BlobIds"), std::vector<std::string>{"0"});
}

TEST_F(BlobTest, DeleteRemovesTheBlobAndReportsFailures) {
  const int32_t id = MakeBlob(dbc_, {"eins", "zwei"});
  Exec(dbc_, Deadlock("%up_Del_Blobs%"));
  EXPECT_EQ(rv_OdbcDeleteBlob(dbc_, id), SQL_ERROR);
  EXPECT_EQ(rv_OdbcSizeOfBlob(dbc_, id), 8);
  EXPECT_EQ(rv_OdbcDeleteBlob(dbc_, id), SQL_SUCCESS);
  EXPECT_EQ(rv_OdbcSizeOfBlob(dbc_, id), 0);
  EXPECT_TRUE(PartIds(dbc_, id).empty());
  EXPECT_EQ(rv_OdbcDeleteBlob(nullptr, id), SQL_INVALID_HANDLE);
}

// On a connection in manual-commit mode the write is part of the caller's
// transaction: the caller's rollback takes it back.
TEST_F(BlobTest, WritesJoinTheCallersTransaction) {
  const int32_t id = MakeBlob(dbc_, {"alt"});
  auto dbc = static_cast<SQLHDBC>(dbc_);
  ASSERT_TRUE(SQL_SUCCEEDED(SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT,
                                              reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)));
  EXPECT_EQ(UpdateFromMemory(dbc_, id, "neu und laenger"), 0);
  SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK);
  EXPECT_EQ(SelectToMemory(dbc_, id), "alt");
  EXPECT_EQ(UpdateFromMemory(dbc_, id, "neu und laenger"), 0);
  SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_COMMIT);
  SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
  EXPECT_EQ(SelectToMemory(dbc_, id), "neu und laenger");
}

// In a transaction the caller began with SQL (autocommit on), a write takes
// back only its own parts when it fails and ends neither way the caller's
// transaction: the caller's rollback still takes back the caller's row and
// the written blob, its commit keeps them.
TEST_F(BlobTest, WritesInsideTheCallersSqlTransactionLeaveItOpen) {
  Exec(dbc_, "CREATE TABLE Eigene (N int NOT NULL)");
  const struct {
    std::string fault;  // before the write; empty: none
    int32_t expected;
    const char* end;    // of the caller's transaction
    const char* stored;
    const char* rows;
  } cases[] = {
      {kPutDataLost, 4, "COMMIT", "alt", "1"},
      {"", 0, "ROLLBACK", "alt", "1"},
      {"", 0, "COMMIT", "neu und laenger", "2"},
  };
  const int32_t id = MakeBlob(dbc_, {"alt"});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault + " " + c.end);
    Exec(dbc_, "BEGIN TRANSACTION");
    Exec(dbc_, "INSERT INTO Eigene VALUES (1)");
    if (!c.fault.empty()) Exec(dbc_, c.fault);
    EXPECT_EQ(UpdateFromMemory(dbc_, id, "neu und laenger"), c.expected);
    Exec(dbc_, "EXECUTE sqlsim_fault 'clear'");
    EXPECT_EQ(Rows(dbc_, "SELECT @@TRANCOUNT"), std::vector<std::string>{"1"});
    Exec(dbc_, std::string(c.end) + " TRANSACTION");
    EXPECT_EQ(SelectToMemory(dbc_, id), c.stored);
    EXPECT_EQ(Rows(dbc_, "SELECT COUNT(*) FROM Eigene"), std::vector<std::string>{c.rows});
  }
}

// Readers and two writers, each on a connection of its own: every read is
// one whole version or fails with 7, and the writers, both adding a part to
// the blob, wait for each other instead of mixing their parts.
TEST_F(BlobTest, ReadersAndWritersSeeWholeVersions) {
  const std::vector<std::string> versions = {std::string(300000, 'A'), std::string(kPart + 1000, 'C'),
                                             std::string(kPart + 2000, 'D')};
  auto whole_version = [&](const std::string& data) {
    return data == versions[0] || data == versions[1] || data == versions[2];
  };
  int32_t id = 0;
  ASSERT_EQ(InsertFromMemory(dbc_, &id, versions[0]), 0);
  // A writer waits for the other as long as the other takes, as a server
  // without a lock timeout would: under the sanitizers a 16 MiB part takes
  // longer than the driver's default wait.
  std::vector<LERV32_HDBC> connections;
  for (int i = 0; i < 6; ++i) connections.push_back(db_.Connect("blobs", false, ";TIMEOUT=600000"));
  std::atomic<int> writing{2}, whole{0}, failed{0}, wrong{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < 2; ++i) {
    threads.emplace_back([&, i] {
      for (size_t version : {size_t(i) + 1, size_t{0}}) {
        EXPECT_EQ(UpdateFromMemory(connections[static_cast<size_t>(i)], id, versions[version]), 0);
      }
      --writing;
    });
  }
  for (size_t i = 2; i < connections.size(); ++i) {
    threads.emplace_back([&, i] {
      do {
        int32_t result = -1;
        const std::string got = SelectToMemory(connections[i], id, &result);
        ++(result == 7 ? failed : result == 0 && whole_version(got) ? whole : wrong);
      } while (writing > 0);
    });
  }
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(whole, 0);
  EXPECT_TRUE(whole_version(SelectToMemory(dbc_, id)));
  EXPECT_EQ(PartIds(dbc_, id).size(), 2u);
  std::printf("whole reads %d, reads that failed with 7: %d\n", whole.load(), failed.load());
}

// The file a select writes keeps what a file written in place keeps.
TEST_F(BlobTest, TargetFilesKeepTheirKind) {
  const int32_t id = MakeBlob(dbc_, {"neu"});
  namespace fs = std::filesystem;
  const std::string read_only = db_.File("schreibgeschuetzt.bin");
  testenv::WriteText(read_only, "alt");
  fs::permissions(read_only, fs::perms::owner_read | fs::perms::group_read);
  // Refused, and left as it is: nobody may write it (root is no exception).
  const std::string events = db_.File("events.log");
  testenv::ScopedEnv event_log("LEBASE32_EVENTLOG", events);
  EXPECT_EQ(rv_OdbcSelectBlobToFile(dbc_, id, read_only.c_str()), 6);
  EXPECT_EQ(testenv::ReadText(read_only), "alt");
  const auto logged = [&](const std::string& why) {
    return testenv::ReadText(events).find("\tfile not written: blob " + std::to_string(id) + ": " + why + "\n") !=
           std::string::npos;
  };
  EXPECT_TRUE(logged("nobody may write it")) << testenv::ReadText(events);
  const std::string folder = db_.File("ordner");
  fs::create_directory(folder);
  EXPECT_EQ(rv_OdbcSelectBlobToFile(dbc_, id, folder.c_str()), 6);
  EXPECT_TRUE(logged("it is a folder")) << testenv::ReadText(events);
  fs::permissions(read_only, fs::perms::owner_all);
#if !defined(_WIN32)
  // A device is written where it is, in order, without a seek it would refuse.
  int32_t large = 0;
  ASSERT_EQ(InsertFromMemory(dbc_, &large, Bytes(200000)), 0);
  EXPECT_EQ(rv_OdbcSelectBlobToFile(dbc_, large, "/dev/null"), 0);
  // A name near the longest a folder takes: the new file's name is shorter.
  const std::string long_name = db_.File(std::string(250, 'l'));
  EXPECT_EQ(rv_OdbcSelectBlobToFile(dbc_, id, long_name.c_str()), 0);
  EXPECT_EQ(testenv::ReadText(long_name), "neu");
  const std::string file = db_.File("datei.bin"), link = db_.File("verweis.bin");
  testenv::WriteText(file, "alt");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(file, link);
  EXPECT_EQ(rv_OdbcSelectBlobToFile(dbc_, id, link.c_str()), 0);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(testenv::ReadText(file), "neu");
  EXPECT_EQ(fs::status(file).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  // A link to a file not yet there makes the file; a file with a second
  // name is written in place, so that both names show the blob.
  const std::string later = db_.File("spaeter.bin"), dangling = db_.File("offen.bin");
  fs::create_symlink(later, dangling);
  const std::string second = db_.File("zweiter-name.bin");
  fs::create_hard_link(file, second);
  const int32_t other = MakeBlob(dbc_, {"ganz neu"});
  for (const std::string& target : {dangling, second}) {
    EXPECT_EQ(rv_OdbcSelectBlobToFile(dbc_, other, target.c_str()), 0) << target;
  }
  EXPECT_TRUE(fs::is_symlink(dangling));
  EXPECT_EQ(testenv::ReadText(later), "ganz neu");
  EXPECT_EQ(testenv::ReadText(file), "ganz neu");
  // Links somebody put beside the target are not written through.
  const std::string victim = db_.File("fremd.bin");
  testenv::WriteText(victim, "fremd");
  fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
  const std::string planted = db_.File("gestellt");
  fs::create_directory(planted);
  const std::string beside_links = planted + "/ziel.bin";
  testenv::WriteText(beside_links, "alt");
  ASSERT_GT(testenv::PlantLinksUnderPredictableNames(planted, victim), 0);
  EXPECT_EQ(rv_OdbcSelectBlobToFile(dbc_, id, beside_links.c_str()), 0);
  EXPECT_EQ(testenv::ReadText(beside_links), "neu");
  EXPECT_FALSE(fs::is_symlink(beside_links));
  EXPECT_EQ(testenv::ReadText(victim), "fremd");
  EXPECT_EQ(fs::status(victim).permissions(), fs::perms::owner_read | fs::perms::owner_write);
#else
  const std::string hidden = db_.File("versteckt.bin");
  testenv::WriteText(hidden, "alt");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(rv_OdbcSelectBlobToFile(dbc_, id, hidden.c_str()), 0);
  EXPECT_EQ(testenv::ReadText(hidden), "neu");
  EXPECT_NE(GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
#endif
}

#if !defined(_WIN32)
// The file the blob arrives in is its owner's alone until the blob is whole:
// it then gets the target's permissions (a target that is not there yet,
// those of any new file).
TEST(BlobTargetFileTest, TheFileBesideIsTheOwnersAloneUntilWhole) {
  struct Row { const char* name; mode_t target_mode; mode_t while_arriving; mode_t after; };  // 0: no target
  const Row rows[] = {
      {"0600", 0600, 0600, 0600}, {"0640", 0640, 0600, 0640}, {"0664", 0664, 0600, 0664}, {"none", 0, 0644, 0644},
  };
  const mode_t saved_umask = umask(022);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const testenv::TempDir folder;
    const std::string target = folder.File("ziel.bin");
    if (row.target_mode != 0) {
      testenv::WriteText(target, "alt");
      ASSERT_EQ(chmod(target.c_str(), row.target_mode), 0);
    }
    lerv32::BlobTargetFile file(target.c_str());
    ASSERT_TRUE(file.ok());
    std::vector<std::filesystem::path> beside;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
      if (entry.path() != target) beside.push_back(entry.path());
    }
    ASSERT_EQ(beside.size(), 1u);
    struct stat info {};
    ASSERT_EQ(stat(beside[0].c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, row.while_arriving);
    ASSERT_EQ(X_Write(file.handle(), "neu", 3), 3);
    ASSERT_TRUE(file.Commit());
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, row.after);
    EXPECT_EQ(testenv::ReadText(target), "neu");
  }
  umask(saved_umask);
}
#endif

// A source that ends before its size: the part it was writing is cancelled,
// the transaction rolled back and autocommit on again.
class ShortSource : public lerv32::BlobSource {
 public:
  ShortSource(int64_t bytes, int32_t end) : bytes_(bytes), end_(end) {}
  int32_t Read(int64_t position, unsigned char* piece, int32_t n) override {
    if (position >= bytes_) return end_;
    const int32_t count = static_cast<int32_t>(std::min<int64_t>(n, bytes_ - position));
    std::memset(piece, 'x', static_cast<size_t>(count));
    return count;
  }

 private:
  int64_t bytes_;
  int32_t end_;
};

// Ends early too, each piece a little late: a write that takes its time.
class SlowSource : public ShortSource {
 public:
  explicit SlowSource(int64_t bytes) : ShortSource(bytes, -1) {}
  int32_t Read(int64_t position, unsigned char* piece, int32_t n) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return ShortSource::Read(position, piece, n);
  }
};

TEST_F(BlobTest, ASourceThatEndsEarlyLeavesTheBlobAsItWas) {
  const int32_t id = MakeBlob(dbc_, {"alt"});
  auto dbc = static_cast<SQLHDBC>(dbc_);
  for (int32_t end : {0, -1}) {
    for (int64_t delivered : {int64_t{0}, int64_t{700}}) {
      ShortSource source(delivered, end);
      lerv32::BlobWriteTransaction transaction(dbc);
      EXPECT_EQ(transaction.Finish(lerv32::WriteBlob(dbc, id, source, 5000)), 4);
      SQLULEN autocommit = 0;
      SQLGetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, &autocommit, 0, nullptr);
      EXPECT_EQ(autocommit, SQL_AUTOCOMMIT_ON);
      // Nothing of the failed write holds the database: another connection writes.
      EXPECT_EQ(UpdateFromMemory(db_.Connect("blobs", false), MakeBlob(dbc_, {}), "anders"), 0);
      EXPECT_EQ(SelectToMemory(dbc_, id), "alt");
    }
  }
}

// A thread whose blob write fails and rolls back shares the connection with
// one that inserts rows: no insert falls into the blob's transaction and is
// rolled back with it, and every insert is committed when it returns.
TEST_F(BlobTest, AFailingBlobWriteTakesNoOtherThreadsStatementsWithIt) {
  constexpr int kRounds = 40;
  const int32_t id = MakeBlob(dbc_, {"alt"});
  Exec(dbc_, "CREATE TABLE Neben (I int NOT NULL)");
  const LERV32_HDBC observer = db_.Connect("blobs", false);
  std::atomic<int> unseen{0};
  std::thread writer([&] {
    for (int i = 0; i < kRounds; ++i) {
      SlowSource source(700);
      lerv32::BlobWriteTransaction transaction(static_cast<SQLHDBC>(dbc_));
      EXPECT_EQ(transaction.Finish(lerv32::WriteBlob(static_cast<SQLHDBC>(dbc_), id, source, 5000)), 4);
    }
  });
  for (int i = 1; i <= kRounds; ++i) {
    Exec(dbc_, "INSERT INTO Neben VALUES (" + std::to_string(i) + ")");
    if (Rows(observer, "SELECT count(*) FROM Neben WHERE I = " + std::to_string(i)) != std::vector<std::string>{"1"}) {
      ++unseen;
    }
  }
  writer.join();
  EXPECT_EQ(unseen, 0) << "inserts not committed when they returned";
  EXPECT_EQ(Rows(observer, "SELECT count(*) FROM Neben"), std::vector<std::string>{std::to_string(kRounds)});
  EXPECT_EQ(SelectToMemory(dbc_, id), "alt");
}

}  // namespace
}  // namespace blobtest
