// The spill file: records at fixed places, fetch codes moving over them as a
// cursor does, and a file nobody else sees or has to remove.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "include/lebase32.h"
#include "stmt/spill_file.h"
#include "support/test_env.h"

namespace {

using lerv32::SpillFile;

std::vector<char> RecordOf(int n, size_t size) {
  std::vector<char> record(size, static_cast<char>('a' + n % 26));
  std::snprintf(record.data(), size, "%d", n);
  return record;
}

// Spills a result of count records of size bytes.
void Fill(SpillFile& file, int count, size_t size) {
  for (int n = 1; n <= count; ++n) ASSERT_TRUE(file.Append(RecordOf(n, size).data())) << n;
}

TEST(SpillFileTest, FetchCodesMoveAsTheCursorDoes) {
  SpillFile file(16);
  ASSERT_TRUE(file.ok());
  Fill(file, 3, 16);
  // Code, whether a record comes back, the position after.
  struct Step { int32_t code; bool read; int32_t position; } steps[] = {
      {lerv32::kGetPrior, false, 0},  {lerv32::kGetNext, true, 1},   {lerv32::kGetSame, true, 1},
      {lerv32::kGetLast, true, 3},    {lerv32::kGetNext, false, 4},  {lerv32::kGetNext, false, 4},
      {lerv32::kGetPrior, true, 3},   {0, false, 3},                 {4, false, 3},
      {2, true, 2},                   {lerv32::kGetFirst, true, 1},  {lerv32::kGetPrior, false, 0},
      {lerv32::kGetPrior, false, 0},  {lerv32::kGetNext, true, 1},   {-6, false, 1},
  };
  for (const Step& s : steps) {
    std::vector<char> buffer(16, '?');
    EXPECT_EQ(file.Fetch(s.code, buffer.data()), s.read) << s.code;
    EXPECT_EQ(file.position(), s.position) << s.code;
    EXPECT_EQ(buffer, s.read ? RecordOf(s.position, 16) : std::vector<char>(16, '?')) << s.code;
  }
  EXPECT_TRUE(file.Fetch(lerv32::kGetLast, nullptr)) << "a null buffer reads nothing";
}

TEST(SpillFileTest, ManyRecordsEmptyResultsAndTwoFilesAtOnce) {
  SpillFile empty(100);
  ASSERT_TRUE(empty.ok());
  for (int32_t code : {lerv32::kGetFirst, lerv32::kGetLast, lerv32::kGetNext, lerv32::kGetSame, 1}) {
    EXPECT_FALSE(empty.Fetch(code, nullptr)) << code;
  }
  SpillFile big(100), other(100);
  ASSERT_TRUE(big.ok() && other.ok());
  Fill(big, 1000, 100);
  Fill(other, 2, 100);
  EXPECT_EQ(big.count(), 1000);
  std::vector<char> buffer(100);
  for (int32_t n : {1000, 1, 999, 500}) {
    ASSERT_TRUE(big.Fetch(n, buffer.data())) << n;
    EXPECT_EQ(buffer, RecordOf(n, 100)) << n;
  }
  EXPECT_FALSE(big.Fetch(1001, buffer.data()));
  ASSERT_TRUE(other.Fetch(lerv32::kGetLast, buffer.data()));
  EXPECT_EQ(buffer, RecordOf(2, 100));
  EXPECT_FALSE(SpillFile(0).ok()) << "records of no bytes";
}

#if !defined(_WIN32)
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
  Fill(file, 2, 8);
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
