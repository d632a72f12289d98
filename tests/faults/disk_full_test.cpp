// A disk that fills up, caused with RLIMIT_FSIZE (a file cannot grow beyond
// the limit, as on a full disk): appending to a database, spilling a
// result, writing a blob to a file, saving the settings store and a
// definition file. Each fails clearly and loses nothing that was there.
#include <gtest/gtest.h>

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <filesystem>
#include <string>
#include <vector>

#include "faults/fault_support.h"
#include "frame/in_place_copy.h"
#include "frame/settings.h"
#include "include/lebase32.h"
#include "include/lerv32.h"
#include "platform/win_api.h"
#include "records/record_db.h"
#include "support/test_env.h"
#include "tabledef/definition_file.h"

namespace {

// While it lives no file of the process grows beyond bytes; a write beyond
// fails with EFBIG instead of ending the process.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    old_handler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, old_handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*old_handler_)(int) = nullptr;
};

// The largest file in dir: the limit is set a little above it.
rlim_t LargestFile(const std::filesystem::path& dir) {
  std::uintmax_t largest = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.is_regular_file()) largest = std::max(largest, entry.file_size());
  }
  return static_cast<rlim_t>(largest);
}

class DiskFullTest : public ::testing::Test, public recordtest::RecordDb {
 protected:
  void SetUp() override {
    lerv32::ApplyDefinitionLines(td_.get(), {"ALIAS=VOLL", "USEKEYTAB=1", "FIELD=NR,N,8", "FIELD=TEXT,C,200",
                                             "KEY=NR_KEY,NR"});
    lerv32::ExSQL_Enabled = 1;
    lerv32::Display_Errors = 0;
  }
};

TEST_F(DiskFullTest, AppendsFailAndKeepWhatWasWritten) {
  for (int level : {0, 1}) {
    SCOPED_TRACE(level);
    const std::string database = "voll" + std::to_string(level);
    SQLHDBC dbc = Open(database, 1);
    ASSERT_NE(dbc, nullptr);
    td_->ExLevel = level;
    const std::string text(200, 'x');
    int stored = 0;
    {
      FileSizeLimit limit(LargestFile(temp_.Path()) + 256 * 1024);
      for (int nr = 1; nr <= 100000; ++nr) {
        if (rv_OdbcAppendRecord(dbc, td_.get(), Record({std::to_string(nr), text}).data()) == 0) break;
        stored = nr;
      }
    }
    ASSERT_GT(stored, 0);
    ASSERT_LT(stored, 100000) << "the disk never filled";
    EXPECT_GE(recordtest::Count(Events(), "\t1\t"), static_cast<size_t>(level + 1)) << "no event-log entry: " << Events();
    // Room again: what was stored is there, whole, with its key rows, and
    // the table takes records again.
    SQLHDBC again = Connect(database);
    EXPECT_EQ(recordtest::QueryText(again, "SELECT count(*) FROM VOLL"), std::to_string(stored));
    EXPECT_EQ(recordtest::QueryText(again, "SELECT count(*) FROM VOLL WHERE TEXT <> '" + text + "'"), "0");
    EXPECT_EQ(recordtest::QueryText(again, "SELECT count(*) FROM ut_VOLL_Keys"), std::to_string(stored));
    EXPECT_NE(rv_OdbcAppendRecord(again, td_.get(), Record({"0", text}).data()), 0);
  }
}

TEST_F(DiskFullTest, ASpillFailsAndLeavesNoFile) {
  SQLHDBC dbc = Open("spill", 1);
  ASSERT_NE(dbc, nullptr);
  const std::string text(200, 'x');
  for (int nr = 1; nr <= 2000; ++nr) ASSERT_NE(rv_OdbcAppendRecord(dbc, td_.get(), Record({std::to_string(nr), text}).data()), 0);
  const testenv::ScopedEnv temp_folder("TMPDIR", temp_.File("spill"));
  std::filesystem::create_directory(temp_.File("spill"));
  SQLHSTMT stmt = SQL_NULL_HSTMT;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt)));
  ASSERT_TRUE(SQL_SUCCEEDED(SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT NR, TEXT FROM VOLL")), SQL_NTS)));
  void* cursor = nullptr;
  {
    FileSizeLimit limit(64 * 1024);  // 2000 rows of 200 bytes do not fit
    cursor = rv_StmtSaveResult(dbc, stmt);
  }
  EXPECT_EQ(cursor, nullptr);
  rv_StmtClose(cursor);
  SQLFreeHandle(SQL_HANDLE_STMT, stmt);
  EXPECT_TRUE(std::filesystem::is_empty(temp_.File("spill"))) << "a spill file left behind";
}

size_t FilesIn(const std::filesystem::path& dir) {
  size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++files;
  return files;
}

// A file with a second (hard) name stays one file with two names: both see
// the earlier content after the failure, both the blob once there is room.
TEST_F(DiskFullTest, BlobToFileFailsAndKeepsTheEarlierFile) {
  SQLHDBC dbc = Connect("blob");
  ASSERT_TRUE(recordtest::RunScript(dbc, testenv::ReadText(LERV32_BLOBS_SQL)));
  const std::vector<char> bytes(2 << 20, 'b');
  const int32_t blob_id = killtest::NewBlob(dbc, bytes.data(), bytes.size());
  ASSERT_NE(blob_id, 0);
  testenv::WriteText(events_, "");  // counted among the folder's files from the start
  for (const bool linked : {false, true}) {
    SCOPED_TRACE(linked ? "with a second name" : "one name");
    const std::string file = temp_.File(linked ? "linked.bin" : "blob.bin");
    const std::string other = temp_.File("other-name.bin");
    testenv::WriteText(file, "vorher");
    if (linked) std::filesystem::create_hard_link(file, other);
    const std::vector<std::string> names = linked ? std::vector<std::string>{file, other} : std::vector<std::string>{file};
    const size_t files = FilesIn(temp_.Path());
    int32_t result = 0;
    {
      FileSizeLimit limit(1 << 20);
      result = rv_OdbcSelectBlobToFile(dbc, blob_id, file.c_str());
    }
    EXPECT_NE(result, 0);
    const std::string logged = file + "\tfile not written: blob " + std::to_string(blob_id) + ": writing the file failed";
    EXPECT_NE(Events().find(logged), std::string::npos) << Events();
    for (const std::string& name : names) EXPECT_EQ(testenv::ReadText(name), "vorher") << name;
    EXPECT_EQ(FilesIn(temp_.Path()), files) << "a half-written file left beside it";
    EXPECT_EQ(rv_OdbcSelectBlobToFile(dbc, blob_id, file.c_str()), 0) << "room again";
    for (const std::string& name : names) EXPECT_EQ(testenv::ReadText(name).size(), bytes.size()) << name;
    EXPECT_EQ(std::filesystem::hard_link_count(file), names.size());
    EXPECT_EQ(FilesIn(temp_.Path()), files) << "the new file left beside it";
  }
}

// CopyInPlace in a child process in which fallocate(2) fails with
// EOPNOTSUPP, as on a file system that has none; kDamaged when the child
// could not be set up so.
lerv32::InPlaceCopy CopyInPlaceWithoutFallocate(const std::string& source, const std::string& target) {
  const pid_t child = fork();
  if (child == 0) {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fallocate, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (EOPNOTSUPP & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 || prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
      _exit(static_cast<int>(lerv32::InPlaceCopy::kDamaged));
    }
    _exit(static_cast<int>(lerv32::CopyInPlace(source, target)));
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return lerv32::InPlaceCopy::kDamaged;
  return static_cast<lerv32::InPlaceCopy>(WEXITSTATUS(status));
}

// Copying over a file in place takes the room first: without it the target
// is not touched. A file system that cannot take room is written without.
TEST_F(DiskFullTest, CopyInPlaceFailsBeforeTouchingTheTargetWithoutRoom) {
  struct Row {
    const char* name;
    std::string source;  // empty: no source file
    std::string target;
    rlim_t limit;  // 0: none
    lerv32::InPlaceCopy expected;
    std::string target_after;
    bool without_fallocate = false;
  };
  const std::string longer(300000, 'n');
  const std::vector<Row> rows = {
      {"room", longer, "vorher", 0, lerv32::InPlaceCopy::kCopied, longer},
      {"shorter source", "kurz", longer, 0, lerv32::InPlaceCopy::kCopied, "kurz"},
      {"no room", longer, "vorher", 100000, lerv32::InPlaceCopy::kUntouched, "vorher"},
      {"no source", "", "vorher", 0, lerv32::InPlaceCopy::kUntouched, "vorher"},
      {"no fallocate", longer, "vorher", 0, lerv32::InPlaceCopy::kCopied, longer, true},
      {"no fallocate, shorter source", "kurz", longer, 0, lerv32::InPlaceCopy::kCopied, "kurz", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string source = temp_.File("source");
    const std::string target = temp_.File("target");
    std::filesystem::remove(source);
    if (!row.source.empty()) testenv::WriteText(source, row.source);
    testenv::WriteText(target, row.target);
    lerv32::InPlaceCopy result = lerv32::InPlaceCopy::kDamaged;
    {
      FileSizeLimit limit(row.limit != 0 ? row.limit : RLIM_INFINITY);
      result = row.without_fallocate ? CopyInPlaceWithoutFallocate(source, target) : lerv32::CopyInPlace(source, target);
    }
    EXPECT_EQ(result, row.expected);
    EXPECT_EQ(testenv::ReadText(target), row.target_after);
  }
}

TEST_F(DiskFullTest, SavingSettingsAndDefinitionsKeepsTheEarlierFile) {
  const std::string store = temp_.File("settings.conf");
  const testenv::ScopedEnv named("LEBASE32_SETTINGS", store);
  ASSERT_EQ(uSetHwpKeyString("Vorher", "1"), 1);
  const std::string before = testenv::ReadText(store);
  const std::string definition = temp_.File("voll.def");
  ASSERT_EQ(rv_SaveTableDef(td_.get(), definition.c_str()), 1);
  const std::string definition_before = testenv::ReadText(definition);
  for (int i = 0; i < 40; ++i) {
    ASSERT_EQ(rv_AddFieldDef(td_.get(), ("FELD" + std::to_string(i) + ",C,100").c_str()), 1);
  }
  {
    FileSizeLimit limit(before.size() + definition_before.size() + 16);
    EXPECT_EQ(uSetHwpKeyString("Lang", std::string(4000, 'l').c_str()), 0);
    EXPECT_EQ(rv_SaveTableDef(td_.get(), definition.c_str()), 0);
  }
  EXPECT_EQ(testenv::ReadText(store), before);
  EXPECT_EQ(testenv::ReadText(definition), definition_before);
  EXPECT_EQ(rv_SaveTableDef(td_.get(), definition.c_str()), 1) << "room again";
}

}  // namespace
