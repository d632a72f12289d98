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

// Exit codes of the program.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

}  // namespace lerv
