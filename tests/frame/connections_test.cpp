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

#include <sql.h>
#include <sqlext.h>

#if defined(_WIN32)
// Linked into a program rather than loaded as a DLL, the library's entry point
// never runs: attach as the loader would.
static const bool kAttached = (lerv32::ProcessAttach(GetModuleHandleA(nullptr)), true);
#endif

namespace {

class ConnectionsTest : public ::testing::Test {
 protected:
  // What the ODBC trace gained since the test began.
  std::string TraceSinceStart() const {
    const std::string text = testenv::ReadText(trace_);
    return text.substr(std::min(trace_start_, text.size()));
  }

  const std::string trace_ = testenv::GetEnv("LERV32_ODBC_TRACE");
  const std::size_t trace_start_ = testenv::ReadText(trace_).size();
};

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

// Without a parent window no mode may prompt (the driver manager would
// refuse): 0 asks for no prompt, 1 and 2 for completion, and only 2 hands
// back the driver's completed form.
TEST_F(ConnectionsTest, DriverConnectModesDifferInCompletionAndWhatComesBack) {
  const std::string database = testenv::GetEnv("LERV32_TEST_DATA") + "/connect.db";
  const std::string original = "DRIVER=SQLite3;Database=" + database + ";";
#if !defined(_WIN32)
  // The driver manager's own trace shows the completion each call asked for.
  testenv::TempDir dir;
  const std::string dm_trace = (dir.Path() / "dm.trace").string();
  SQLHDBC tracer = SQL_NULL_HDBC;
  ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocConnect(static_cast<SQLHENV>(rv_GetEnvHandle()), &tracer)));
  SQLSetConnectAttr(tracer, SQL_ATTR_TRACEFILE, const_cast<char*>(dm_trace.c_str()), SQL_NTS);
  SQLSetConnectAttr(tracer, SQL_ATTR_TRACE, reinterpret_cast<SQLPOINTER>(SQL_OPT_TRACE_ON), 0);
#endif
  for (int32_t mode : {0, 1, 2}) {
    char connect[257] = {};  // the caller's 256 bytes and a guard
    std::strncpy(connect, original.c_str(), 255);
    connect[256] = '#';
    LERV32_HDBC connection = rv_OdbcDriverConnectEx(nullptr, connect, mode);
    ASSERT_NE(connection, nullptr) << "mode " << mode;
    EXPECT_EQ(connect[256], '#') << "mode " << mode;
    if (mode == 2) {  // the driver's own keywords, the same database
      EXPECT_NE(std::string(connect), original);
      EXPECT_NE(std::string(connect).find(database), std::string::npos) << connect;
    } else {
      EXPECT_EQ(std::string(connect), original) << "mode " << mode;
    }
    EXPECT_EQ(rv_OdbcDisconnect(connection), 0);
  }
  LERV32_HDBC plain = rv_OdbcDriverConnect(nullptr, original.c_str());
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(rv_OdbcDisconnect(plain), 0);
#if !defined(_WIN32)
  SQLSetConnectAttr(tracer, SQL_ATTR_TRACE, reinterpret_cast<SQLPOINTER>(SQL_OPT_TRACE_OFF), 0);
  SQLFreeConnect(tracer);
  std::string completions;
  for (const std::string& line : testenv::ReadLines(dm_trace)) {
    if (line.find("Completion = ") != std::string::npos) completions += line.substr(line.find('=') + 2);
  }
  EXPECT_EQ(completions, "0110");
#endif
}

TEST(FirstUseTest, ThreadsConnectingAtOnceAfterLoadingAllConnect) {
  // As right after loading: no environment allocated yet.
  lerv32::ProcessDetach(false);
  lerv32::ProcessAttach(lerv32::DllInstance);
  std::vector<LERV32_HDBC> connections(8, nullptr);
  std::vector<std::thread> threads;
  for (LERV32_HDBC& connection : connections) {
    const char* credential = threads.size() % 2 == 0 ? "" : nullptr;
    threads.emplace_back([&connection, credential] { connection = rv_OdbcConnect("lerv32_test", credential, credential); });
  }
  for (std::thread& thread : threads) thread.join();
  for (LERV32_HDBC connection : connections) {
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(rv_OdbcDisconnect(connection), 0);
  }
  EXPECT_EQ(rv_GetEnvHandle(), rv_GetEnvHandle()) << "one environment for the process";
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
