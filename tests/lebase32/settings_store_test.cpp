#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#endif

#include "lebase32.h"
#include "support/test_env.h"
#include "support/worker_process.h"

namespace fs = std::filesystem;
using namespace std::string_literals;
using testenv::ReadText;
using testenv::ScopedEnv;
using testenv::WriteText;

namespace {

std::string Get(const char* key, int32_t size = 256) {
  std::vector<char> buffer(static_cast<std::size_t>(size), '#');
  return uGetHwpKeyString(key, buffer.data(), size) ? std::string(buffer.data()) : "<none>";
}

// Every test gets a fresh folder and the store named inside it.
class SettingsStoreTest : public ::testing::Test {
 protected:
  // How many entries the folder holds besides lock files: a temporary file
  // left behind shows.
  long Entries() const {
    return std::count_if(fs::directory_iterator(dir_), fs::directory_iterator(),
                         [](const fs::directory_entry& e) { return e.path().extension() != ".lock"; });
  }

  testenv::TempDir temp_;
  const fs::path dir_ = temp_.Path();
  const fs::path store_ = dir_ / "settings.conf";
  ScopedEnv named_{"LEBASE32_SETTINGS", store_.string()};
};

TEST_F(SettingsStoreTest, StoreIsMadeByTheFirstWriteOnlyAndValuesAreCutToTheBuffer) {
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(uGetHwpKeyString("key", buffer, sizeof buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_FALSE(fs::exists(store_));
  EXPECT_EQ(uSetHwpKeyString("DataDir", "C:\\Daten a=b "), 1);
  EXPECT_EQ(ReadText(store_), "DataDir=C:\\Daten a=b \n");
  EXPECT_EQ(Get("datadir"), "C:\\Daten a=b ");
  EXPECT_EQ(uSetHwpKeyString("Empty", nullptr), 1);
  EXPECT_EQ(Get("EMPTY"), "");
  EXPECT_EQ(Entries(), 1) << "no temporary file left";
  // A value is cut to the buffer's size.
  ASSERT_EQ(uSetHwpKeyString("k", "0123456789"), 1);
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(uGetHwpKeyString("k", buffer, 5), 1);
  EXPECT_EQ(std::string(buffer, 6), "0123\0#"s);
  EXPECT_EQ(Get("k", 1), "");
  buffer[0] = '#';
  EXPECT_EQ(uGetHwpKeyString("k", buffer, 0) + uGetHwpKeyString("k", buffer, -1), 0);
  EXPECT_EQ(buffer[0], '#') << "nothing written, not even the terminator";
  EXPECT_EQ(uGetHwpKeyString("k", nullptr, 12), 0);
}

TEST_F(SettingsStoreTest, ReadsFirstUsableLineOfKey) {
  const std::string kGarbage = "no equals\n=orphan\n\x01\xff=\x00z\n k=blank\nk\n"s;
  const struct { std::string content; const char* key; const char* expected; } kCases[] = {
      {"Key=v\n", "kEY", "v"},          {"a=1\r\nk=crlf\r\n", "k", "crlf"},
      {"k=\n", "k", ""},                {"k=1\nK=2\n", "k", "1"},
      {"a=1\nk=last line", "k", "last line"},
      {kGarbage + "k=v\n", "k", "v"},   {kGarbage, "k", "<none>"},
      {"k=a\rb\nk=ok\n", "k", "ok"},    {"\xC4=upper\n", "\xE4", "<none>"},
      {"k=v\n", "k ", "<none>"},        {"k=v\n", "", "<none>"},
  };
  for (const auto& c : kCases) {
    WriteText(store_, c.content);
    EXPECT_EQ(Get(c.key), c.expected) << "key [" << c.key << "] in [" << c.content << "]";
  }
  EXPECT_EQ(Get(nullptr), "<none>");
}

TEST_F(SettingsStoreTest, RewriteKeepsEveryOtherLineByteForByte) {
  const std::string kGarbage = "# note\n\x01\xff=\x00z\n=orphan\n k=blank\r\n"s;
  const std::string kLong = "junk" + std::string(1 << 20, 'x') + "\n";  // read in many pieces
  const struct { std::string before; const char* key; const char* value; std::string after; } kCases[] = {
      {"# head\r\nalpha=1\r\nbeta=2\r\ngamma=3", "beta", "20", "# head\r\nalpha=1\r\nbeta=20\ngamma=3"},
      {"alpha=1", "beta", "2", "alpha=1\nbeta=2\n"},
      {"a=1\nB=2\nc=3\nb=4\n", "b", "5", "a=1\nb=5\nc=3\n"},
      {kGarbage + "k=v\n" + kGarbage, "K", "w", kGarbage + "K=w\n" + kGarbage},
      {kGarbage, "k", "", kGarbage + "k=\n"},
      {kLong, "k", "v", kLong + "k=v\n"},
  };
  for (const auto& c : kCases) {
    WriteText(store_, c.before);
    EXPECT_EQ(uSetHwpKeyString(c.key, c.value), 1);
    EXPECT_EQ(ReadText(store_), c.after) << "set " << c.key << " in [" << c.before.substr(0, 40) << "]";
  }
}

// Two processes set keys at once while this one reads a key they leave
// alone: no set is lost, no read misses (on Windows opening the store fails
// for a moment while a writer replaces it).
TEST_F(SettingsStoreTest, ProcessesWritingAtOnceLoseNoKeyAndReadersMissNone) {
  ASSERT_EQ(uSetHwpKeyString("stable", "1"), 1);
  const std::string start = (dir_ / "start").string();
  const testenv::WorkerHandle workers[] = {testenv::SpawnWorker({SETTINGS_WORKER, "a", "100", start}),
                                           testenv::SpawnWorker({SETTINGS_WORKER, "b", "100", start})};
  ASSERT_TRUE(workers[0] > 0 && workers[1] > 0);
  std::atomic<int> running{2};
  std::vector<std::thread> waiters;
  for (testenv::WorkerHandle worker : workers) {
    waiters.emplace_back([&running, worker] {
      EXPECT_EQ(testenv::WaitWorker(worker), 0) << "sets that failed";
      --running;
    });
  }
  WriteText(start, "");
  int misses = 0;
  while (running > 0) misses += Get("stable") == "1" ? 0 : 1;
  for (std::thread& waiter : waiters) waiter.join();
  EXPECT_EQ(misses, 0);
  EXPECT_EQ(testenv::ReadLines(store_).size(), 201u);
}

// A program reading the store holds it open for a moment; Windows cannot
// replace an open file, so a write then waits instead of failing.
TEST_F(SettingsStoreTest, WriteWaitsForAReaderHoldingTheStoreOpen) {
  ASSERT_EQ(uSetHwpKeyString("a", "1"), 1);
  auto held = std::make_unique<std::ifstream>(store_);
  ASSERT_TRUE(held->is_open());
  std::thread reader([&held] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    held.reset();
  });
  EXPECT_EQ(uSetHwpKeyString("b", "2"), 1);
  reader.join();
  EXPECT_EQ(Get("b"), "2");
}

#if !defined(_WIN32)
// Other writers keep the lock busy for longer than the wait, yet finish
// their writes: the write waits for its turn instead of failing.
TEST_F(SettingsStoreTest, WriteWaitsWhileOtherWritersKeepWriting) {
  const int held = open((store_.string() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  std::thread others([&] {
    for (int i = 0; i < 35; ++i) {  // 7 s of writes, one each 200 ms
      WriteText(dir_ / "other.tmp", "other=" + std::to_string(i) + "\n");
      fs::rename(dir_ / "other.tmp", store_);
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    close(held);
  });
  EXPECT_EQ(uSetHwpKeyString("k", "v"), 1);
  others.join();
  EXPECT_EQ(Get("k"), "v");
}
#endif

TEST_F(SettingsStoreTest, RefusesBadKeysAndValuesWithoutTouchingStore) {
  const std::string kBefore = "k=old\r\nother=1";
  const struct { const char* key; const char* value; } kCases[] = {
      {nullptr, "v"}, {"", "v"}, {"a=b", "v"}, {"a\rb", "v"}, {"a\nb", "v"},
      {" k", "v"},    {"k ", "v"}, {"k\t", "v"}, {"k", "a\nb"}, {"k", "a\rb"}};
  WriteText(store_, kBefore);
  for (const auto& c : kCases) {
    EXPECT_EQ(uSetHwpKeyString(c.key, c.value), 0) << (c.key ? c.key : "(null)") << "=" << c.value;
  }
  EXPECT_EQ(ReadText(store_), kBefore);
}

// A file where the folder should be, a folder, a folder that is missing (a
// named store's folder is not made), a link to itself: nothing to read,
// nothing replaced.
TEST_F(SettingsStoreTest, StoreThatCannotBeReadOrReplacedFailsAndKeepsWhatIsThere) {
  WriteText(dir_ / "plain", "keep me");
  fs::create_directories(dir_ / "folder" / "inner");
  std::vector<fs::path> stores = {dir_ / "plain" / "settings.conf", dir_ / "folder", dir_ / "missing" / "x"};
#if !defined(_WIN32)
  fs::create_symlink("loop", dir_ / "loop");
  stores.push_back(dir_ / "loop");
#endif
  for (const fs::path& store : stores) {
    testenv::SetEnv("LEBASE32_SETTINGS", store.string());
    EXPECT_EQ(uSetHwpKeyString("k", "v"), 0) << store;
    EXPECT_EQ(Get("k"), "<none>") << store;
  }
  EXPECT_EQ(Entries(), static_cast<long>(stores.size()) - 1);
  EXPECT_EQ(ReadText(dir_ / "plain"), "keep me");
  EXPECT_TRUE(fs::is_directory(dir_ / "folder" / "inner"));
}

#if !defined(_WIN32)
TEST_F(SettingsStoreTest, FullDiskKeepsOldStoreAndLeavesNoTemporaryFile) {
  WriteText(store_, "k=old\n");
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int32_t result = uSetHwpKeyString("k", std::string(4096, 'x').c_str());
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadText(store_), "k=old\n");
  EXPECT_EQ(Entries(), 1);
}

TEST_F(SettingsStoreTest, WriteThatCannotGetTheLockInTimeFails) {
  const int held = open((store_.string() + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  EXPECT_EQ(uSetHwpKeyString("k", "v"), 0);
  close(held);
  EXPECT_EQ(Get("k"), "<none>");
}

// A store kept behind a link stays a link; the file behind it is replaced
// and keeps its permissions.
TEST_F(SettingsStoreTest, KeepsSymbolicLinksAndPermissions) {
  WriteText(dir_ / "real.conf", "k=1\n");
  fs::permissions(dir_ / "real.conf", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real.conf", store_);
  ASSERT_EQ(uSetHwpKeyString("k", "2"), 1);
  EXPECT_TRUE(fs::is_symlink(store_));
  EXPECT_EQ(ReadText(dir_ / "real.conf"), "k=2\n");
  EXPECT_EQ(fs::status(store_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}
#endif

// Without a named file, store and log go below the user's folders, made by
// the first write; a relative base folder is ignored.
TEST_F(SettingsStoreTest, DefaultFoldersAreMadeWhenWritten) {
  ScopedEnv unnamed_store("LEBASE32_SETTINGS", std::nullopt);
  ScopedEnv unnamed_log("LEBASE32_EVENTLOG", std::nullopt);
#if defined(_WIN32)
  ScopedEnv appdata("APPDATA", (dir_ / "roaming").string());
  ScopedEnv local("LOCALAPPDATA", (dir_ / "local").string());
  const fs::path kStore = dir_ / "roaming" / "LEBASE32" / "settings.conf";
  const fs::path kLog = dir_ / "local" / "LEBASE32" / "events.log";
#else
  ScopedEnv config("XDG_CONFIG_HOME", fs::relative(dir_ / "relative").string());
  ScopedEnv state("XDG_STATE_HOME", std::nullopt);
  ScopedEnv home("HOME", (dir_ / "home").string());
  const fs::path kStore = dir_ / "home" / ".config" / "lebase32" / "settings.conf";
  const fs::path kLog = dir_ / "home" / ".local" / "state" / "lebase32" / "events.log";
#endif
  EXPECT_EQ(Get("k"), "<none>");
  EXPECT_FALSE(fs::exists(kStore.parent_path())) << "reading makes no folder";
  ASSERT_EQ(uSetHwpKeyString("k", "v"), 1);
  ASSERT_EQ(leEventLogWrite(0, "T", "first"), 1);
  EXPECT_EQ(ReadText(kStore), "k=v\n");
  EXPECT_EQ(testenv::ReadLines(kLog).size(), 1u);
#if !defined(_WIN32)
  EXPECT_FALSE(fs::exists(dir_ / "relative"));
  testenv::SetEnv("XDG_CONFIG_HOME", (dir_ / "xdg").string());
  testenv::SetEnv("XDG_STATE_HOME", (dir_ / "xdg").string());
  ASSERT_EQ(uSetHwpKeyString("k", "x"), 1);
  ASSERT_EQ(leEventLogWrite(0, "T", "second"), 1);
  EXPECT_EQ(ReadText(dir_ / "xdg" / "lebase32" / "settings.conf"), "k=x\n");
  EXPECT_EQ(testenv::ReadLines(dir_ / "xdg" / "lebase32" / "events.log").size(), 1u);
#endif
}

}  // namespace
