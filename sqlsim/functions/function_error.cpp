#include "sqlsim/functions/function_error.h"

namespace sqlsim {

namespace {
constexpr std::string_view kPrefix = "sqlsim:";
}  // namespace

std::string EncodeFunctionError(int32_t number, std::string_view message) {
  std::string out(kPrefix);
  out += std::to_string(number);
  out += ':';
  out.append(message.data(), message.size());
  return out;
}

bool DecodeFunctionError(std::string_view sqlite_message, int32_t* number,
                         std::string* message) {
  for (size_t at = sqlite_message.find(kPrefix); at != std::string_view::npos;
       at = sqlite_message.find(kPrefix, at + 1)) {
    size_t pos = at + kPrefix.size();
    bool negative = pos < sqlite_message.size() && sqlite_message[pos] == '-';
    if (negative) ++pos;
    int64_t value = 0;
    size_t digits = 0;
    while (pos < sqlite_message.size() && digits < 10 &&
           sqlite_message[pos] >= '0' && sqlite_message[pos] <= '9') {
      value = value * 10 + (sqlite_message[pos] - '0');
      ++pos;
      ++digits;
    }
    if (digits == 0 || pos >= sqlite_message.size() ||
        sqlite_message[pos] != ':' || value > INT32_MAX) {
      continue;
    }
    if (number != nullptr) {
      *number = static_cast<int32_t>(negative ? -value : value);
    }
    if (message != nullptr) message->assign(sqlite_message.substr(pos + 1));
    return true;
  }
  return false;
}

}  // namespace sqlsim
