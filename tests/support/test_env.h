// Helpers for tests that steer the library through its environment.
#ifndef LERV32_TESTS_SUPPORT_TEST_ENV_H
#define LERV32_TESTS_SUPPORT_TEST_ENV_H

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testenv {

inline void SetEnv(const char* name, const std::string& value) {
#if defined(_WIN32)
  _putenv_s(name, value.c_str());
#else
  setenv(name, value.c_str(), 1);
#endif
}

inline std::string GetEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// A fresh, empty folder below the temporary directory, removed again by
// the destructor.
class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("lerv32-test-" + std::to_string(std::rand()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace testenv

#endif  // LERV32_TESTS_SUPPORT_TEST_ENV_H
