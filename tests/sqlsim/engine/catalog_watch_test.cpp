// The shared change counter: what one connection's change tells another,
// and that a process dying in the middle of a change leaves the others
// asking SQLite instead of trusting the counter.
#include "sqlsim/engine/catalog_watch.h"

#include <sys/wait.h>
#include <unistd.h>

#include <memory>

#include <gtest/gtest.h>

#include "support/test_env.h"

namespace sqlsim {
namespace {

class CatalogWatchTest : public ::testing::Test {
 protected:
  testenv::TempDir dir_;
  std::string path_ = dir_.File("w.db");
};

TEST_F(CatalogWatchTest, ChangeIsAskedWhileUnderWayAndSeenOnceAfterwards) {
  CatalogWatch writer(path_), reader(path_);
  ASSERT_TRUE(writer.mapped() && reader.mapped());
  EXPECT_EQ(reader.Check(false), CatalogCheck::kChanged);  // nothing seen yet
  EXPECT_EQ(reader.Check(false), CatalogCheck::kUnchanged);
  writer.BeginChange();
  EXPECT_EQ(reader.Check(false), CatalogCheck::kAskSqlite);
  writer.Publish();
  // Inside a transaction the new version waits for the check after it.
  EXPECT_EQ(reader.Check(true), CatalogCheck::kAskSqlite);
  EXPECT_EQ(reader.Check(false), CatalogCheck::kChanged);
  EXPECT_EQ(reader.Check(false), CatalogCheck::kUnchanged);
  writer.BeginChange();
  writer.Publish(false);
  EXPECT_EQ(reader.Check(false), CatalogCheck::kUnchanged);
}

TEST_F(CatalogWatchTest, ChangeLeftUnderWayByADeadProcessIsNeverTrusted) {
  auto reader = std::make_unique<CatalogWatch>(path_);
  reader->Check(false);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    auto* writer = new CatalogWatch(path_);  // dies without its destructor
    writer->BeginChange();
    ::_exit(writer->mapped() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(reader->Check(false), CatalogCheck::kAskSqlite);
  {
    CatalogWatch late(path_);
    late.Check(false);
    EXPECT_EQ(late.Check(false), CatalogCheck::kAskSqlite);
  }
  EXPECT_EQ(reader->Check(false), CatalogCheck::kAskSqlite);
  // The first connection after everyone left starts afresh.
  reader.reset();
  CatalogWatch fresh(path_);
  EXPECT_EQ(fresh.Check(false), CatalogCheck::kChanged);
  EXPECT_EQ(fresh.Check(false), CatalogCheck::kUnchanged);
}

TEST_F(CatalogWatchTest, UnwritableFolderLeavesEveryCheckToSqlite) {
  CatalogWatch watch(dir_.File("missing/w.db"));
  EXPECT_FALSE(watch.mapped());
  watch.BeginChange();
  watch.Publish();
  EXPECT_EQ(watch.Check(false), CatalogCheck::kAskSqlite);
}

}  // namespace
}  // namespace sqlsim
