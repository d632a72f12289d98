#include <gtest/gtest.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "lebase32.h"
#include "support/test_env.h"

namespace fs = std::filesystem;
using testenv::ReadLines;
using testenv::ScopedEnv;

namespace {

// The UTC time a second off now; the slack covers clocks of different grain.
std::string UtcNow(int offset) {
  const std::time_t now = std::time(nullptr) + offset;
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", std::gmtime(&now));
  return text;
}

class EventLogTest : public ::testing::Test {
 protected:
  testenv::TempDir temp_;
  const fs::path dir_ = temp_.Path();
  const fs::path log_ = dir_ / "events.log";
  ScopedEnv named_{"LEBASE32_EVENTLOG", log_.string()};
};

TEST_F(EventLogTest, EachEntryIsOneEscapedLineAppendedInOrder) {
  const struct { int32_t level; const char* source; const char* text; const char* fields; } kCases[] = {
      {LEBASE32_LOG_RETRY, "CUSTOMER", "retry 3", "0\tCUSTOMER\tretry 3"},
      {LEBASE32_LOG_ODBC, "42S02", "one\ntwo\r\n\tthree\\", "1\t42S02\tone\\ntwo\\r\\n\\tthree\\\\"},
      {-7, nullptr, nullptr, "-7\t\t"},
      {2147483647, "a\tb", "", "2147483647\ta\\tb\t"},
  };
  testenv::WriteText(log_, "older entry\n");
  const std::string before = UtcNow(-1);
  {
#if !defined(_WIN32)
    ScopedEnv tz("TZ", "XYZ-5");  // local time five hours ahead of UTC
    tzset();
#endif
    for (const auto& c : kCases) EXPECT_EQ(leEventLogWrite(c.level, c.source, c.text), 1);
  }
#if !defined(_WIN32)
  tzset();
#endif
  const std::string after = UtcNow(1);

  const std::vector<std::string> lines = ReadLines(log_);
  ASSERT_EQ(lines.size(), std::size(kCases) + 1);
  EXPECT_EQ(lines[0], "older entry");
  const std::regex kTime(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)");
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    ASSERT_GT(line.size(), 25u) << line;
    const std::string time = line.substr(0, 24);
    EXPECT_TRUE(std::regex_match(time, kTime)) << line;
    EXPECT_LE(before, time.substr(0, 19)) << "UTC, not local time";
    EXPECT_GE(after, time.substr(0, 19)) << "UTC, not local time";
    EXPECT_EQ(line.substr(24), std::string("\t") + kCases[i - 1].fields);
  }
}

TEST_F(EventLogTest, ConcurrentWritersKeepEntriesWhole) {
  constexpr int kThreads = 8;
  constexpr int kEntries = 100;
  const std::string kText(2000, 'x');  // long entries make torn writes likely
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &kText, &failures] {
      for (int i = 0; i < kEntries; ++i) failures += 1 - leEventLogWrite(t, "W", kText.c_str());
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures, 0);
  const std::vector<std::string> lines = ReadLines(log_);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kEntries));
  const std::regex kEntry(R"(\S{24}\t[0-7]\tW\tx{2000})");
  for (const std::string& line : lines) ASSERT_TRUE(std::regex_match(line, kEntry)) << line.substr(0, 40);
}

// A file where the folder should be, a folder, a missing folder (a named
// log's folder is not made), no folder at all.
TEST_F(EventLogTest, ImpossiblePathFails) {
  testenv::WriteText(dir_ / "plain", "keep me");
  for (const fs::path& log : {dir_ / "plain" / "events.log", dir_, dir_ / "missing" / "events.log"}) {
    testenv::SetEnv("LEBASE32_EVENTLOG", log.string());
    EXPECT_EQ(leEventLogWrite(0, "T", "text"), 0) << log;
  }
  EXPECT_EQ(testenv::ReadText(dir_ / "plain"), "keep me");
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  // No file named and no folder of the user's to put one in.
  ScopedEnv unnamed("LEBASE32_EVENTLOG", std::nullopt), state("XDG_STATE_HOME", std::nullopt),
      home("HOME", std::nullopt), local("LOCALAPPDATA", std::nullopt);
  EXPECT_EQ(leEventLogWrite(0, "T", "text"), 0);
}

}  // namespace
