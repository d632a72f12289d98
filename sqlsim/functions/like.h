// The server's LIKE on Windows-1252 text.
#pragma once

#include <string_view>

namespace sqlsim {

inline constexpr int kNoEscape = -1;

// True if value matches pattern: % any run, _ one character, [abc] [a-f]
// [^a-f] sets, the escape character (a byte, or kNoEscape) making the next
// pattern character literal. Case-insensitive by UpperCp1252. Trailing
// blanks of value may be dropped, those of the pattern count. Time is
// bounded by value size times pattern size.
bool LikeMatch(std::string_view value, std::string_view pattern, int escape);

}  // namespace sqlsim
