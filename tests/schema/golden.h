// Golden texts: whole generated texts compared with files under
// tests/schema/golden. With LERV32_UPDATE_GOLDEN=1 the files are rewritten
// from what the code generates now; review every change before committing.
#ifndef LERV32_TESTS_SCHEMA_GOLDEN_H
#define LERV32_TESTS_SCHEMA_GOLDEN_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace golden {

inline std::string Path(const std::string& name) { return std::string(LERV32_GOLDEN_DIR) + "/" + name; }

inline void Expect(const std::string& name, const std::string& generated) {
  const char* update = std::getenv("LERV32_UPDATE_GOLDEN");
  if (update != nullptr && std::string(update) == "1") {
    std::ofstream(Path(name), std::ios::binary) << generated;
    return;
  }
  std::ifstream file(Path(name), std::ios::binary);
  ASSERT_TRUE(file) << "missing golden file " << Path(name);
  const std::string expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(generated, expected) << "generated text differs from " << Path(name);
}

}  // namespace golden

#endif  // LERV32_TESTS_SCHEMA_GOLDEN_H
