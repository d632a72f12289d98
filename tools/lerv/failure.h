// A job that cannot be done: its German message for the user; the program
// ends with exit code 1.
#pragma once

#include <stdexcept>
#include <string>

namespace lerv {

class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

// "1 Datensatz", "2 Datensätze".
inline std::string Counted(long long count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Why a file operation failed, in German, from its errno value.
std::string FileErrorText(int error);

// Exit codes of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

}  // namespace lerv
