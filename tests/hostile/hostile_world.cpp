#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "hostile/hostile.h"
#include "support/sqlsim_db.h"

namespace hostile {
namespace {

constexpr char kDefinition[] =
    "ALIAS=HOSTILE\r\nEXLEVEL=1\r\n"
    "FIELD=NR,l\r\nFIELD=NAME,C,20\r\nFIELD=ORT,C,10\r\nFIELD=BETRAG,N,10,2\r\nFIELD=DATUM,D\r\n"
    "KEY=NAME_KEY,NAME\r\nPKEY=NR_KEY,NR\r\nKEY=ORT_KEY,ORT,NR\r\n";

bool Run(LERV32_HDBC db, const std::string& script) {
  char errors[2048] = {};
  const bool ok = rv_CallStatement(db, script.c_str(), errors, sizeof errors) == 1;
  if (!ok) ADD_FAILURE() << errors << "\n" << script.substr(0, 300);
  return ok;
}

std::vector<char> MakeRecord(const TableDef* td, const std::vector<const char*>& values) {
  std::vector<char> record(static_cast<size_t>(rv_FieldOffset(td, 4) + rv_FieldLen(td, 4)), ' ');
  for (int32_t i = 0; i < rv_FieldCnt(td); ++i) EXPECT_EQ(rv_FieldFromString(td, i, record.data(), values[i]), 1);
  return record;
}

// Sets the world up before the first row and takes it down after the last.
class WorldEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    World& world = TheWorld();
    // The rows write settings and log entries: into files of their own, not
    // the ones the other test programs share.
    testenv::SetEnv("LEBASE32_SETTINGS", world.temp.File("settings.conf"));
    testenv::SetEnv("LEBASE32_EVENTLOG", world.temp.File("events.log"));
    testenv::SetEnv("LERV32_MSGBOX_LOG", world.temp.File("message-boxes.log"));
    world.def_path = world.temp.File("hostile.def");
    testenv::WriteText(world.def_path, kDefinition);
    world.connect = testenv::SqlsimConnectString(world.temp.Path(), "hostile");
    world.db = rv_OdbcDriverConnect(nullptr, world.connect.c_str());
    ASSERT_NE(world.db, nullptr);
    ASSERT_TRUE(Run(world.db, testenv::ReadText(LERV32_DPXFUNC_SQL)));
    char errors[2048] = {};
    ASSERT_EQ(rv_CallSqlFile(world.db, nullptr, LERV32_BLOBS_SQL, errors, sizeof errors), 1) << errors;
    World::TableDefPtr td = world.Valid();
    ASSERT_EQ(rv_CreateTable(world.db, td.get(), 1, nullptr), 1);
    world.record = MakeRecord(td.get(), {"4711", "Meier", "Berlin", "12.50", "2024-02-29"});
    for (const std::vector<char>& record :
         {world.record, MakeRecord(td.get(), {"4712", "Schulz", "Bonn", "3", "2023-01-01"}),
          MakeRecord(td.get(), {"4713", "Abel", "Aachen", "-1", "2022-12-31"})}) {
      ASSERT_NE(rv_OdbcAppendRecord(world.db, td.get(), record.data()), 0);
    }
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, 5);
    std::memcpy(block, "Daten", 5);
    ASSERT_EQ(rv_OdbcInsertBlobFromHGlobal(world.db, &world.blob_id, block), LERV32_BLOB_OK);
    GlobalFree(block);
  }

  void TearDown() override {
    World& world = TheWorld();
    if (world.db != nullptr) rv_OdbcDisconnect(world.db);
    world.db = nullptr;
  }
};

[[maybe_unused]] ::testing::Environment* const kWorld = ::testing::AddGlobalTestEnvironment(new WorldEnvironment);

}  // namespace

World& TheWorld() {
  static World* world = new World;  // lives until the end: rows may run after static destructors began
  return *world;
}

World::TableDefPtr World::Valid() const {
  TableDefPtr td(rv_AllocTableDef());
  EXPECT_EQ(rv_LoadTableDef(td.get(), def_path.c_str()), 1);
  return td;
}

void* World::OpenCursor() const {
  void* cursor = rv_StmtOpenSQL(db, "SELECT NR, NAME FROM HOSTILE ORDER BY NR", nullptr, DB_OPEN_BOOKMARKS);
  EXPECT_NE(cursor, nullptr);
  return cursor;
}

void* World::ClosedCursor() const {
  void* cursor = OpenCursor();
  rv_StmtClose(cursor);
  return cursor;
}

const std::vector<Generator>& Generators() {
  using Td = TableDef*;
  static const std::vector<Generator> generators = {
      {"rv_GenSqlTableDef", false, false,
       [](Td td, char* out, int32_t, int32_t) { return rv_GenSqlTableDef(td, out, 1); }},
      {"rv_GenSqlTableDefN", true, false,
       [](Td td, char* out, int32_t n, int32_t) { return rv_GenSqlTableDefN(td, out, n, 1); }},
      {"rv_GenSqlIndexDef", false, true,
       [](Td td, char* out, int32_t, int32_t key) { return rv_GenSqlIndexDef(td, out, key, 1); }},
      {"rv_GenSqlIndexDefN", true, true,
       [](Td td, char* out, int32_t n, int32_t key) { return rv_GenSqlIndexDefN(td, out, n, key, 1); }},
      {"rv_GenSqlDropDef", false, false, [](Td td, char* out, int32_t, int32_t) { return rv_GenSqlDropDef(td, out); }},
      {"rv_GenSqlDropDefN", true, false,
       [](Td td, char* out, int32_t n, int32_t) { return rv_GenSqlDropDefN(td, out, n); }},
      {"rv_GenSqlTableBasicProc", false, false,
       [](Td td, char* out, int32_t, int32_t) { return rv_GenSqlTableBasicProc(td, out, 0); }},
      {"rv_GenSqlTableBasicProcN", true, false,
       [](Td td, char* out, int32_t n, int32_t) { return rv_GenSqlTableBasicProcN(td, out, n, 0); }},
      {"rv_GenSqlTableIndexProc", false, true,
       [](Td td, char* out, int32_t, int32_t key) { return rv_GenSqlTableIndexProc(td, out, key, 0); }},
      {"rv_GenSqlTableIndexProcN", true, true,
       [](Td td, char* out, int32_t n, int32_t key) { return rv_GenSqlTableIndexProcN(td, out, n, key, 0); }},
      {"rv_GenCodebaseStruct", false, false,
       [](Td td, char* out, int32_t, int32_t) { return rv_GenCodebaseStruct(td, out); }},
      {"rv_GenCodebaseStructN", true, false,
       [](Td td, char* out, int32_t n, int32_t) { return rv_GenCodebaseStructN(td, out, n); }},
      {"rv_GenSqlTriggerStruct", false, false,
       [](Td td, char* out, int32_t, int32_t) { return rv_GenSqlTriggerStruct(td, out); }},
      {"rv_GenSqlTriggerStructN", true, false,
       [](Td td, char* out, int32_t n, int32_t) { return rv_GenSqlTriggerStructN(td, out, n); }},
      {"rv_GenCppTableDef", false, false,
       [](Td td, char* out, int32_t, int32_t) {
         rv_GenCppTableDef(td, out);
         return 0;
       }},
      {"rv_GenCppTableDefN", true, false,
       [](Td td, char* out, int32_t n, int32_t) { return rv_GenCppTableDefN(td, out, n); }},
  };
  return generators;
}

std::string Num(int64_t value) { return std::to_string(value); }

std::string Ptr(const void* pointer) { return pointer == nullptr ? "null" : "ptr"; }

std::string Same(const void* pointer, const void* out) { return pointer == out ? "out" : Ptr(pointer); }

std::string Text(const char* text) { return text == nullptr ? "null" : "'" + std::string(text) + "'"; }

Buffer::Buffer(std::size_t size, char fill) : bytes_(new char[size + 2 * kGuard]), size_(size), fill_(fill) {
  std::memset(bytes_.get(), kGuardByte, kGuard);
  std::memset(bytes_.get() + kGuard, fill, size);
  std::memset(bytes_.get() + kGuard + size, kGuardByte, kGuard);
}

Buffer::~Buffer() {
  for (std::size_t i = 0; i < kGuard; ++i) {
    if (bytes_[i] != kGuardByte || bytes_[kGuard + size_ + i] != kGuardByte) {
      ADD_FAILURE() << "written outside the " << size_ << " bytes of a buffer";
      return;
    }
  }
}

bool Buffer::Untouched() const {
  for (std::size_t i = 0; i < size_; ++i) {
    if (bytes_[kGuard + i] != fill_) return false;
  }
  return true;
}

std::string Into(std::size_t size, const std::function<int64_t(char*)>& call) {
  Buffer out(size);
  const int64_t result = call(out.data());
  return Join({Num(result), Touched(out)});
}

std::string BlocksKept(int32_t before) { return rv_GetMemUsage(1) == before ? " blocks kept" : " blocks freed"; }

Record::Record(const World& w) : buffer_(w.record.size()) {
  std::memcpy(buffer_.data(), w.record.data(), w.record.size());
}

bool Record::Changed(const World& w) const { return buffer_.Value() != std::string(w.record.begin(), w.record.end()); }

Unterminated::Unterminated(const std::string& text) : bytes_(new char[text.size()]) {
  std::memcpy(bytes_.get(), text.data(), text.size());
}

int InDetachedChild(const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    setsid();  // no controlling terminal from here on
    _exit(body());
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1000;
  return WEXITSTATUS(status);
}

}  // namespace hostile
