#include <gtest/gtest.h>

#include <string>

#include "schema/script_writer.h"

namespace {

using lerv32::Generate;
using lerv32::ScriptWriter;

int32_t WriteSample(char* out, std::size_t capacity) {
  return Generate(out, capacity, [](ScriptWriter& w) {
    w.Put("CREATE TABLE ");
    w.Format("[%s] (%d)\r\n", "ut_KUNDE", 7);
    w.Format("%s", std::string(600, 'x').c_str());  // longer than the formatter's first try
  });
}

TEST(ScriptWriter, BoundedWritingFitsExactlyOrReportsAndLeavesNothing) {
  const std::string expected = "CREATE TABLE [ut_KUNDE] (7)\r\n" + std::string(600, 'x');
  char unbounded[1024];
  EXPECT_EQ(WriteSample(unbounded, ScriptWriter::kUnbounded), static_cast<int32_t>(expected.size()));
  EXPECT_EQ(std::string(unbounded), expected);

  for (std::size_t capacity : {expected.size() + 1, expected.size(), std::size_t{10}, std::size_t{1}}) {
    std::string buffer(capacity + 1, '#');
    const int32_t result = WriteSample(&buffer[0], capacity);
    if (capacity > expected.size()) {
      EXPECT_EQ(result, static_cast<int32_t>(expected.size()));
      EXPECT_EQ(buffer.substr(0, expected.size()), expected);
    } else {
      EXPECT_EQ(result, -1) << capacity;
      EXPECT_EQ(buffer[0], '\0');
    }
    EXPECT_EQ(buffer[capacity], '#') << "written past a capacity of " << capacity;
  }
  EXPECT_EQ(WriteSample(nullptr, 100), -1);
}

}  // namespace
