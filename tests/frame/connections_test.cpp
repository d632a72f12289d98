#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "frame/lifecycle.h"
#include "include/lebase32.h"
#include "include/lerv32.h"
#include "support/test_env.h"

#if defined(_WIN32)
// Linked into a program rather than loaded as a DLL, the library's entry point
// never runs: attach as the loader would.
static const bool kAttached = (lerv32::ProcessAttach(GetModuleHandleA(nullptr)), true);
#endif

namespace {

// The SQLite ODBC driver registered in the tests' own odbcinst.ini.
std::string SqliteConnectString(const std::string& database) {
  return "DRIVER=SQLite3;Database=" + database + ";";
}

class ConnectionsTest : public ::testing::Test {
 protected:
  std::string Database() const { return testenv::GetEnv("LERV32_TEST_DATA") + "/connect.db"; }

  // What the ODBC trace gained since the test began.
  std::string TraceSinceStart() const {
    const std::string text = testenv::ReadText(trace_);
    return text.substr(std::min(trace_start_, text.size()));
  }

  const std::string trace_ = testenv::GetEnv("LERV32_ODBC_TRACE");
  const std::size_t trace_start_ = testenv::ReadText(trace_).size();
};

TEST_F(ConnectionsTest, ConnectsToADataSourceAndDisconnects) {
  EXPECT_EQ(rv_GetEnvHandle(), rv_GetEnvHandle()) << "one environment for the process";
  for (const char* credential : {"", static_cast<const char*>(nullptr)}) {
    LERV32_HDBC connection = rv_OdbcConnect("lerv32_test", credential, credential);
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(rv_OdbcDisconnect(connection), 0);
  }
}

TEST_F(ConnectionsTest, AFailedConnectReturnsNullAndFreesItsHandle) {
  EXPECT_EQ(rv_OdbcConnect("no_such_source", "", ""), nullptr);
  EXPECT_EQ(rv_OdbcDriverConnect(nullptr, "DRIVER=NoSuchDriver;"), nullptr);
  EXPECT_EQ(rv_OdbcConnect(nullptr, "", ""), nullptr);
  char connect[256] = "DRIVER=NoSuchDriver;";
  EXPECT_EQ(rv_OdbcDriverConnectEx(nullptr, connect, 2), nullptr);
  EXPECT_STREQ(connect, "DRIVER=NoSuchDriver;");
  if (!trace_.empty()) {
    const std::string trace = TraceSinceStart();
    auto count = [&](const std::string& call) {
      std::size_t n = 0;
      for (auto at = trace.find(call + " "); at != std::string::npos; at = trace.find(call + " ", at + 1)) ++n;
      return n;
    };
    EXPECT_EQ(count("SQLAllocConnect"), 3u) << trace;
    EXPECT_EQ(count("SQLFreeConnect"), 3u) << trace;
  }
}

// Without a parent window no mode may fail for want of a prompt.
constexpr int32_t kModes[] = {0, 1, 2};

TEST_F(ConnectionsTest, DriverConnectModesDifferOnlyInWhatComesBack) {
  const std::string original = SqliteConnectString(Database());
  for (int32_t mode : kModes) {
    char connect[256] = {};
    std::strncpy(connect, original.c_str(), sizeof connect - 1);
    LERV32_HDBC connection = rv_OdbcDriverConnectEx(nullptr, connect, mode);
    ASSERT_NE(connection, nullptr) << "mode " << mode;
    if (mode == 2) {
      // The driver's completed form: its own keywords, the same database.
      EXPECT_NE(std::string(connect), original);
      EXPECT_NE(std::string(connect).find(Database()), std::string::npos) << connect;
    } else {
      EXPECT_EQ(std::string(connect), original) << "mode " << mode;
    }
    EXPECT_EQ(rv_OdbcDisconnect(connection), 0);
  }
  LERV32_HDBC plain = rv_OdbcDriverConnect(nullptr, original.c_str());
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(rv_OdbcDisconnect(plain), 0);
}

TEST(FirstUseTest, ThreadsConnectingAtOnceAfterLoadingAllConnect) {
  // As right after loading: no environment allocated yet.
  lerv32::ProcessDetach(false);
  lerv32::ProcessAttach(lerv32::DllInstance);
  std::vector<LERV32_HDBC> connections(8, nullptr);
  std::vector<std::thread> threads;
  for (LERV32_HDBC& connection : connections) {
    threads.emplace_back([&connection] { connection = rv_OdbcConnect("lerv32_test", "", ""); });
  }
  for (std::thread& thread : threads) thread.join();
  for (LERV32_HDBC connection : connections) {
    EXPECT_NE(connection, nullptr);
    if (connection != nullptr) rv_OdbcDisconnect(connection);
  }
}

TEST(MemUsage, SelectorZeroGivesBytesAnyOtherBlocks) {
  const int32_t bytes = rv_GetMemUsage(0);
  const int32_t blocks = rv_GetMemUsage(7);
  void* block = AllocGlobal(100);
  EXPECT_EQ(rv_GetMemUsage(0), bytes + 100);
  EXPECT_EQ(rv_GetMemUsage(1), blocks + 1);
  EXPECT_EQ(rv_GetMemUsage(-1), blocks + 1);
  FreeGlobal(block);
  EXPECT_EQ(rv_GetMemUsage(0), bytes);
}

}  // namespace
