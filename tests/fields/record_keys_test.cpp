#include <gtest/gtest.h>

#include <string>

#include "fields/test_table.h"
#include "include/lerv32.h"

namespace {

using testtable::GuardedBuffer;
using testtable::TestTable;

TEST(RecordKeysTest, KeysAreTheFieldBytesInKeyOrder) {
  TestTable table;
  table.Add('C', 4);
  table.Add('l', 4);
  table.Add('D', 10);
  table.Add('C', 3);
  table.AddKey({0, 1});
  table.AddKey({2});
  table.AddKey({});
  table.AddKey({3, 0});
  table.AddKey({1, 9});  // a position naming no field adds nothing
  const std::string rec =
      std::string("AB  \x01\x00\x00\x00", 8) + "24.12.2023" + std::string("A\0B", 3);
  struct Case { int key; std::string value; };
  const Case cases[] = {
      {0, std::string("AB  \x01\x00\x00\x00", 8)},  {1, "24.12.2023"},
      {2, ""},                                      {3, std::string("A\0BAB  ", 7)},
      {4, std::string("\x01\x00\x00\x00", 4)},      {5, ""},
      {-1, ""},
  };
  for (const Case& c : cases) {
    GuardedBuffer dest(c.value.size() + 1, 'x');
    EXPECT_EQ(rv_MakeKeyFromRecord(table.td(), c.key, rec.data(), dest.data()),
              static_cast<int32_t>(c.value.size()));
    EXPECT_EQ(dest.Value(), c.value + '\0') << c.key;
    EXPECT_TRUE(dest.Intact());
  }
}

}  // namespace
