// Helpers for tests that steer the library through its environment and files.
#ifndef LERV32_TESTS_SUPPORT_TEST_ENV_H
#define LERV32_TESTS_SUPPORT_TEST_ENV_H

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <process.h>
#define LERV32_TEST_GETPID _getpid
#else
#include <unistd.h>
#define LERV32_TEST_GETPID getpid
#endif

namespace testenv {

// Sets a variable, or with no value removes it (on Windows an empty value does).
inline void SetEnv(const char* name, const std::optional<std::string>& value) {
#if defined(_WIN32)
  _putenv_s(name, value ? value->c_str() : "");
#else
  value ? setenv(name, value->c_str(), 1) : unsetenv(name);
#endif
}

inline std::string GetEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// Sets (or, given no value, unsets) a variable for the life of the object;
// the variable is back as it was afterwards, unset if it was unset.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    SetEnv(name, value);
  }
  ~ScopedEnv() { SetEnv(name_.c_str(), old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The lines of a file without their line ends ("\n").
inline std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

inline void WriteText(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

// A fresh, empty folder below the temporary directory, removed again by
// the destructor. Named after the process and the time, so that test
// programs running side by side never share one.
class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("lerv32-test-" + std::to_string(LERV32_TEST_GETPID()) + "-" + std::to_string(tick) + "-" +
             std::to_string(++counter));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace testenv

#endif  // LERV32_TESTS_SUPPORT_TEST_ENV_H
