// The spill file off Windows: a file nobody else sees or has to remove, and
// one nobody else can put in its way. (Its records and fetch codes are
// tested through the statement cursors.)
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "include/lebase32.h"
#include "stmt/spill_file.h"
#include "support/test_env.h"

namespace {

#if !defined(_WIN32)
using lerv32::SpillFile;

// The file has no name from the start, so that nothing is left behind when
// the process dies; a temp folder of any length is used.
TEST(SpillFileTest, NoNameLeftInTheTempFolder) {
  testenv::TempDir temp;
  std::filesystem::path folder = temp.Path();
  for (int i = 0; i < 6; ++i) folder /= std::string(60, static_cast<char>('a' + i));
  std::filesystem::create_directories(folder);
  testenv::ScopedEnv tmpdir("TMPDIR", folder.string());
  SpillFile file(8);
  ASSERT_TRUE(file.ok());
  ASSERT_TRUE(file.Append("12345678") && file.Append("abcdefgh"));
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  testenv::ScopedEnv missing("TMPDIR", (temp.Path() / "fehlt").string());
  EXPECT_FALSE(SpillFile(8).ok());
}

// A link planted under the name the next spill file will have is passed
// over: the file it points to keeps its contents.
TEST(SpillFileTest, NamesTakenByOthersArePassedOver) {
  testenv::TempDir temp;
  testenv::ScopedEnv tmpdir("TMPDIR", temp.Path().string());
  const std::string victim = temp.File("victim.txt");
  testenv::WriteText(victim, "unberuehrt");
  // "L<pid>_<sequence><n>_<seconds>": the next sequence value, every n,
  // this second and the next.
  unsigned pid = 0, sequence = 0, n = 0, seconds = 0;
  ASSERT_EQ(std::sscanf(UniqName(0), "L%X_%X_%X", &pid, &sequence, &seconds), 3);
  sequence = sequence >> 8;
  for (n = 0; n < 256; ++n) {
    for (unsigned second : {seconds, seconds + 1}) {
      char name[64];
      std::snprintf(name, sizeof name, "L%X_%X%02X_%X.Q%02X", pid, sequence + 1, n, second, n);
      std::filesystem::create_symlink(victim, temp.Path() / name);
    }
  }
  SpillFile file(4);
  ASSERT_TRUE(file.ok());
  ASSERT_TRUE(file.Append("abcd"));
  EXPECT_EQ(testenv::ReadText(victim), "unberuehrt");
}
#endif

}  // namespace
