// Every export called with hostile arguments: the rows of the table, the
// world they run in (a sqlsim database with a table, records and blobs) and
// the helpers that turn what a call did into a text the row expects.
#ifndef LERV32_TESTS_HOSTILE_HOSTILE_H
#define LERV32_TESTS_HOSTILE_HOSTILE_H

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "include/lebase32.h"
#include "include/lerv32.h"
#include "support/test_env.h"

namespace hostile {

struct World;

using Call = std::function<std::string(World&)>;

// One export called one hostile way. expected is what the call gives (and,
// where it matters, what it left in its buffers) as call renders it; a row
// whose call returns something else, writes outside a stated buffer or
// crashes fails.
struct Row {
  std::string export_name;  // as in the .def file
  std::string variant;      // what is hostile about the call
  std::string expected;
  Call call;
};

using Rows = std::vector<Row>;

// The rows, by subsystem.
Rows TableDefRows();    // every export that reads a TableDef, with null and spoiled ones
Rows DefinitionRows();  // definitions, fields and generators with other hostile arguments
Rows LibraryRows();     // switches, connections, mandant, the settings dialog
Rows RecordRows();      // record access, scripts and prepared sets
Rows CursorRows();      // statement cursors and virtual tables
Rows BlobRows();
Rows SupportRows();  // LEBASE32

// The shared database: made once for all rows.
struct World {
  testenv::TempDir temp;
  std::string connect;       // connection string of the database
  LERV32_HDBC db = nullptr;  // a live connection to it
  std::string def_path;      // the definition file of table HOSTILE
  std::vector<char> record;  // a record of HOSTILE: NR 4711, NAME Meier, ...
  int32_t blob_id = 0;       // a blob of 5 bytes

  // A new definition of HOSTILE: NR l, NAME C 20, ORT C 10, BETRAG N 10 2,
  // DATUM D; keys NAME_KEY (NAME), NR_KEY (NR, the primary key 1), ORT_KEY
  // (ORT, NR).
  struct TableDefFree {
    void operator()(TableDef* td) const { rv_FreeTableDef(td); }
  };
  using TableDefPtr = std::unique_ptr<TableDef, TableDefFree>;
  TableDefPtr Valid() const;
  // A cursor on HOSTILE (NR, NAME) of its own connection, and one closed again.
  void* OpenCursor() const;
  void* ClosedCursor() const;
};

World& TheWorld();

// A generator of the library: writes the text of td into out, at most
// capacity bytes where it is bounded, of key where it takes one.
struct Generator {
  const char* name;
  bool bounded;
  bool keyed;
  std::function<int32_t(TableDef* td, char* out, int32_t capacity, int32_t key)> generate;
};

// A record access of the world's table on a connection: failure is what it
// gives when it refuses, served whether a valid call gets something else
// (false where the call would change the database or gives the same either
// way).
struct TableCall {
  const char* name;
  std::string failure;
  bool served;
  std::function<std::string(World&, LERV32_HDBC, TableDef*)> call;
};

const std::vector<TableCall>& TableCalls();

// Every rv_Gen... export; rv_GenCppTableDef gives nothing back, and 0 here.
const std::vector<Generator>& Generators();

// ---- Rendering what a call gave.
std::string Num(int64_t value);
std::string Ptr(const void* pointer);  // "null" or "ptr"
// "out" when pointer is out, else Ptr(pointer).
std::string Same(const void* pointer, const void* out);
// 'text', or null.
std::string Text(const char* text);

// The parts one after the other. Evaluated in order, as the elements of a
// braced list are, where the operands of + are not: a part that reads a
// buffer comes after the call that writes it.
inline std::string Join(std::initializer_list<std::string> parts) {
  std::string joined;
  for (const std::string& part : parts) joined += part;
  return joined;
}

// A call that gives nothing back: its row expects "void", that it returns.
inline Call Void(std::function<void(World&)> call) {
  return [call](World& w) {
    call(w);
    return std::string("void");
  };
}

// Handles that are no handles: null, -1, and one given back.
inline void* MinusOne() { return reinterpret_cast<void*>(static_cast<intptr_t>(-1)); }

// size bytes between guard bytes: the destructor fails the row when
// anything outside the size was written.
class Buffer {
 public:
  explicit Buffer(std::size_t size, char fill = 'x');
  ~Buffer();
  Buffer(const Buffer&) = delete;
  Buffer& operator=(const Buffer&) = delete;
  char* data() { return bytes_.get() + kGuard; }
  std::string Value() const { return std::string(bytes_.get() + kGuard, size_); }
  // Whether the size bytes are still the fill.
  bool Untouched() const;

 private:
  static constexpr std::size_t kGuard = 16;
  static constexpr char kGuardByte = '\xA5';
  std::unique_ptr<char[]> bytes_;
  std::size_t size_;
  char fill_;
};

// " untouched" while the buffer holds its fill, else " written".
inline std::string Touched(const Buffer& buffer) { return buffer.Untouched() ? " untouched" : " written"; }

// "<what call gave> untouched" or "<what call gave> written" of call given
// size bytes between guard bytes.
std::string Into(std::size_t size, const std::function<int64_t(char*)>& call);

// " blocks kept" while the library holds as many blocks as before, else " blocks freed".
std::string BlocksKept(int32_t before);

// A copy of the world's record between guard bytes, for the calls that
// read or write one.
class Record {
 public:
  explicit Record(const World& w);
  char* data() { return buffer_.data(); }
  // Whether it is no longer the world's record.
  bool Changed(const World& w) const;

 private:
  Buffer buffer_;
};

// Exactly the bytes of text, without a terminator, in a block of their own:
// a read beyond them is a heap overflow that AddressSanitizer reports.
class Unterminated {
 public:
  explicit Unterminated(const std::string& text);
  const char* get() const { return bytes_.get(); }

 private:
  std::unique_ptr<char[]> bytes_;
};

// Runs body in a child process without a controlling terminal; its exit
// status, or -1000 when it did not exit normally.
int InDetachedChild(const std::function<int()>& body);

}  // namespace hostile

#endif  // LERV32_TESTS_HOSTILE_HOSTILE_H
