#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include "lebase32.h"
#include "support/test_env.h"

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

// The names in a folder, sorted: shows what a test left behind.
std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Every test gets a fresh folder and the store named inside it.
class SettingsStoreTest : public ::testing::Test {
 protected:
  testenv::TempDir temp_;
  const fs::path dir_ = temp_.Path();
  const fs::path store_ = dir_ / "settings.conf";
  ScopedEnv named_{"LEBASE32_SETTINGS", store_.string()};
};

TEST_F(SettingsStoreTest, StoreIsMadeByTheFirstWriteOnly) {
  char buffer[8] = "xxxxxxx";
  EXPECT_EQ(uGetHwpKeyString("key", buffer, sizeof buffer), 0);
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_FALSE(fs::exists(store_));
  EXPECT_EQ(uSetHwpKeyString("DataDir", "C:\\Daten a=b "), 1);
  EXPECT_EQ(ReadText(store_), "DataDir=C:\\Daten a=b \n");
  EXPECT_EQ(Get("datadir"), "C:\\Daten a=b ");
  EXPECT_EQ(uSetHwpKeyString("Empty", nullptr), 1);
  EXPECT_EQ(Get("EMPTY"), "");
  EXPECT_EQ(Entries(dir_), std::vector<std::string>{"settings.conf"}) << "no temporary file left";
}

TEST_F(SettingsStoreTest, ReadsFirstUsableLineOfKey) {
  const std::string kGarbage = "no equals\n=orphan\n\x01\xff=\x00z\n k=blank\nk\n"s;
  const struct {
    std::string content;
    const char* key;
    const char* expected;
  } kCases[] = {
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
  const struct {
    std::string before;
    const char* key;
    const char* value;
    std::string after;
  } kCases[] = {
      {"# head\r\nalpha=1\r\nbeta=2\r\ngamma=3", "beta", "20", "# head\r\nalpha=1\r\nbeta=20\ngamma=3"},
      {"alpha=1", "beta", "2", "alpha=1\nbeta=2\n"},
      {"a=1\nB=2\nc=3\nb=4\n", "b", "5", "a=1\nb=5\nc=3\n"},
      {kGarbage + "k=v\n" + kGarbage, "K", "w", kGarbage + "K=w\n" + kGarbage},
      {kGarbage, "k", "", kGarbage + "k=\n"},
  };
  for (const auto& c : kCases) {
    WriteText(store_, c.before);
    EXPECT_EQ(uSetHwpKeyString(c.key, c.value), 1);
    EXPECT_EQ(ReadText(store_), c.after) << "set " << c.key << " in [" << c.before << "]";
  }
}

TEST_F(SettingsStoreTest, CutsValueToBufferSize) {
  ASSERT_EQ(uSetHwpKeyString("k", "0123456789ABCDEFGHIJ"), 1);
  char buffer[20];
  std::fill(std::begin(buffer), std::end(buffer), '#');
  EXPECT_EQ(uGetHwpKeyString("k", buffer, 12), 1);
  EXPECT_STREQ(buffer, "0123456789A");
  EXPECT_EQ(std::string(buffer + 12, 8), "########");
  EXPECT_EQ(Get("k", 1), "");
  for (int32_t size : {0, -1}) {
    buffer[0] = '#';
    EXPECT_EQ(uGetHwpKeyString("k", buffer, size), 0);
    EXPECT_EQ(buffer[0], '#') << "size " << size;
  }
  EXPECT_EQ(uGetHwpKeyString("k", nullptr, 12), 0);
}

TEST_F(SettingsStoreTest, RefusesBadKeysAndValuesWithoutTouchingStore) {
  const std::string kBefore = "k=old\r\nother=1";
  const struct {
    const char* key;
    const char* value;
  } kCases[] = {{nullptr, "v"}, {"", "v"}, {"a=b", "v"}, {"a\rb", "v"}, {"a\nb", "v"},
                {" k", "v"},     {"k ", "v"}, {"k\t", "v"},  {"k", "a\nb"},   {"k", "a\rb"}};
  WriteText(store_, kBefore);
  for (const auto& c : kCases) {
    EXPECT_EQ(uSetHwpKeyString(c.key, c.value), 0) << (c.key ? c.key : "(null)") << "=" << c.value;
  }
  EXPECT_EQ(ReadText(store_), kBefore);
}

TEST_F(SettingsStoreTest, VeryLongLinesSurvive) {
  const std::string kLong(1 << 20, 'x');
  WriteText(store_, "junk" + kLong + "\n");
  ASSERT_EQ(uSetHwpKeyString("k", kLong.c_str()), 1);
  EXPECT_EQ(ReadText(store_), "junk" + kLong + "\nk=" + kLong + "\n");
  EXPECT_EQ(Get("k", static_cast<int32_t>(kLong.size() + 1)), kLong);
}

// A store that cannot be read or replaced is neither, and what is there
// stays: a file where a folder should be, a folder, a missing folder (a named
// store's folder is not made), links that lead nowhere, a socket, a device
// that would never end.
TEST_F(SettingsStoreTest, StoreThatCannotBeReadOrReplacedFailsAndKeepsWhatIsThere) {
  WriteText(dir_ / "plain", "keep me");
  fs::create_directories(dir_ / "folder" / "inner");
  std::vector<fs::path> stores = {dir_ / "plain" / "settings.conf", dir_ / "folder",
                                  dir_ / "missing" / "settings.conf"};
  std::vector<std::string> kept = {"folder", "plain"};
#if !defined(_WIN32)
  fs::create_symlink("loop", dir_ / "loop");
  fs::create_symlink("missing/settings.conf", dir_ / "dangling");
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socket_path = (dir_ / "socket").string();
  ASSERT_LT(socket_path.size(), sizeof address.sun_path);
  socket_path.copy(address.sun_path, socket_path.size());
  const int socket_fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_EQ(bind(socket_fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(socket_fd);
  stores.insert(stores.end(), {dir_ / "loop", dir_ / "dangling", dir_ / "socket"});
  kept = {"dangling", "folder", "loop", "plain", "socket"};
#endif
  for (const fs::path& store : stores) {
    testenv::SetEnv("LEBASE32_SETTINGS", store.string());
    EXPECT_EQ(uSetHwpKeyString("k", "v"), 0) << store;
    EXPECT_EQ(Get("k"), "<none>") << store;
  }
  EXPECT_EQ(Entries(dir_), kept);
  EXPECT_EQ(ReadText(dir_ / "plain"), "keep me");
  EXPECT_TRUE(fs::is_directory(dir_ / "folder" / "inner"));
#if !defined(_WIN32)
  EXPECT_EQ(fs::symlink_status(dir_ / "socket").type(), fs::file_type::socket);
  // Read only: a faulty rewrite run as root would replace the device.
  testenv::SetEnv("LEBASE32_SETTINGS", "/dev/zero");
  EXPECT_EQ(Get("k"), "<none>");
#endif
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
  EXPECT_EQ(Entries(dir_), std::vector<std::string>{"settings.conf"});
}

TEST_F(SettingsStoreTest, KeepsPermissionsAndSymbolicLinks) {
  WriteText(dir_ / "real.conf", "k=1\n");
  fs::permissions(dir_ / "real.conf", fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real.conf", store_);
  ASSERT_EQ(uSetHwpKeyString("k", "2"), 1);
  EXPECT_TRUE(fs::is_symlink(store_));
  EXPECT_EQ(ReadText(dir_ / "real.conf"), "k=2\n");
  EXPECT_EQ(fs::status(dir_ / "real.conf").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}
#endif

TEST_F(SettingsStoreTest, DefaultStoreFolderIsMadeWhenWritten) {
  ScopedEnv unnamed("LEBASE32_SETTINGS", std::nullopt);
#if defined(_WIN32)
  ScopedEnv appdata("APPDATA", (dir_ / "roaming" / "user").string());
  const fs::path kExpected = dir_ / "roaming" / "user" / "LEBASE32" / "settings.conf";
#else
  // A relative base folder is ignored; taken from here, it would be dir_/relative.
  const fs::path relative = fs::relative(dir_ / "relative");
  ASSERT_TRUE(!relative.empty() && relative.is_relative()) << relative;
  ScopedEnv xdg("XDG_CONFIG_HOME", relative.string());
  ScopedEnv home("HOME", (dir_ / "home").string());
  const fs::path kExpected = dir_ / "home" / ".config" / "lebase32" / "settings.conf";
#endif
  EXPECT_EQ(Get("k"), "<none>");
  EXPECT_FALSE(fs::exists(kExpected.parent_path())) << "reading makes no folder";
  ASSERT_EQ(uSetHwpKeyString("k", "v"), 1);
  EXPECT_EQ(ReadText(kExpected), "k=v\n");
#if !defined(_WIN32)
  EXPECT_FALSE(fs::exists(dir_ / "relative"));
  testenv::SetEnv("XDG_CONFIG_HOME", (dir_ / "xdg").string());
  ASSERT_EQ(uSetHwpKeyString("k", "x"), 1);
  EXPECT_EQ(ReadText(dir_ / "xdg" / "lebase32" / "settings.conf"), "k=x\n");
#endif
}

}  // namespace
