// The file a replacement is written to beside its target: only a file this
// process made, never one a name already there leads to.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "frame/file_beside.h"
#include "include/lebase32.h"
#include "support/test_env.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

enum class Taken { kFree, kLinkToFile, kLinkToNothing, kFile };

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

TEST(FileBesideTest, NamesAlreadyThereArePassedOverUntouched) {
  struct Row {
    const char* name;
    std::vector<Taken> names;  // what is under the names offered, in turn
    int made_at;               // the name the new file gets; -1: none
  };
  const std::vector<Taken> all_taken(16, Taken::kLinkToFile);
  const Row rows[] = {
      {"free", {Taken::kFree}, 0},
      {"link to a file", {Taken::kLinkToFile, Taken::kFree}, 1},
      {"link to nothing", {Taken::kLinkToNothing, Taken::kFree}, 1},
      {"file", {Taken::kFile, Taken::kLinkToNothing, Taken::kLinkToFile, Taken::kFree}, 3},
      {"every name taken", all_taken, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const testenv::TempDir folder;
    const std::string target = folder.File("ziel.bin"), victim = folder.File("fremd.txt");
    const std::string nowhere = folder.File("nirgends.txt");
    testenv::WriteText(target, "alt");
    testenv::WriteText(victim, "kostbar");
    ASSERT_EQ(chmod(victim.c_str(), 0640), 0);
    std::vector<std::string> names;
    for (size_t i = 0; i < row.names.size(); ++i) {
      names.push_back(folder.File("neu" + std::to_string(i) + ".tmp"));
      if (row.names[i] == Taken::kLinkToFile) {
        ASSERT_EQ(symlink(victim.c_str(), names[i].c_str()), 0);
      }
      if (row.names[i] == Taken::kLinkToNothing) {
        ASSERT_EQ(symlink(nowhere.c_str(), names[i].c_str()), 0);
      }
      if (row.names[i] == Taken::kFile) testenv::WriteText(names[i], "da");
    }
    size_t offered = 0;
    const lerv32::FileBeside made = lerv32::MakeFileBeside(target, [&](const std::string&) {
      return offered < names.size() ? names[offered++] : folder.File("zu-viele.tmp");
    });
    if (row.made_at < 0) {
      EXPECT_EQ(made.handle, -1);
    } else {
      ASSERT_GE(made.handle, 0);
      EXPECT_EQ(made.name, names[static_cast<size_t>(row.made_at)]);
      EXPECT_EQ(X_Write(made.handle, "neu", 3), 3);
      EXPECT_EQ(X_Close(made.handle), 0);
      EXPECT_EQ(ModeOf(made.name) & 07777, 0600u) << "beside a file that is there";
      EXPECT_EQ(testenv::ReadText(made.name), "neu");
    }
    EXPECT_EQ(testenv::ReadText(victim), "kostbar");
    EXPECT_EQ(ModeOf(victim) & 07777, 0640u);
    EXPECT_FALSE(fs::exists(nowhere));
    for (size_t i = 0; i < names.size(); ++i) {
      if (row.names[i] == Taken::kFile) {
        EXPECT_EQ(testenv::ReadText(names[i]), "da");
      }
      if (row.names[i] == Taken::kLinkToFile || row.names[i] == Taken::kLinkToNothing) {
        EXPECT_TRUE(S_ISLNK(ModeOf(names[i])));
      }
    }
  }
}

// The permissions of the target go to the open file, once it is whole.
TEST(FileBesideTest, TheTargetsPermissionsGoToTheOpenFile) {
  const testenv::TempDir folder;
  const std::string target = folder.File("ziel.bin");
  testenv::WriteText(target, "alt");
  ASSERT_EQ(chmod(target.c_str(), 0604), 0);
  const lerv32::FileBeside made = lerv32::MakeFileBeside(target);
  ASSERT_GE(made.handle, 0);
  EXPECT_EQ(ModeOf(made.name) & 07777, 0600u);
  // The name now leads elsewhere: the open file is chmodded, not the name.
  const std::string moved = folder.File("verschoben.tmp");
  ASSERT_EQ(rename(made.name.c_str(), moved.c_str()), 0);
  ASSERT_EQ(symlink(target.c_str(), made.name.c_str()), 0);
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  lerv32::KeepPermissionsOf(target, made);
  EXPECT_EQ(X_Close(made.handle), 0);
  EXPECT_EQ(ModeOf(moved) & 07777, 0640u);
  EXPECT_EQ(ModeOf(target) & 07777, 0640u);
}

}  // namespace
#endif
