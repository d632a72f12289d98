// The server's reserved keywords: they cannot name anything unless quoted,
// and a syntax error near one is reported as "near the keyword".
#pragma once

#include <string>
#include <string_view>

namespace sqlsim::front {

bool IsReservedKeyword(std::string_view word);

// ASCII case folding; bytes above ASCII stay as they are.
std::string ToUpper(std::string_view text);
std::string ToLower(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace sqlsim::front
