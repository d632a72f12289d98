// Text as the server compares it: Windows-1252 bytes, case-insensitive,
// trailing blanks ignored. Never assumes UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sqlsim {

// Windows-1252 case mapping: ASCII letters, À-Þ/à-þ except ×/÷, Š/š, Œ/œ,
// Ž/ž, Ÿ/ÿ. Every other byte maps to itself.
unsigned char UpperCp1252(unsigned char c);
unsigned char LowerCp1252(unsigned char c);

std::string UpperText(std::string_view text);
std::string LowerText(std::string_view text);

// The collation TSQL: both sides folded to upper case, trailing blanks
// ignored, then unsigned byte order. <0, 0 or >0.
int CompareTsql(std::string_view a, std::string_view b);

inline bool IsBlank(char c) { return c == ' '; }
std::string_view TrimTrailingBlanks(std::string_view text);
std::string_view TrimLeadingBlanks(std::string_view text);
std::string_view TrimBlanks(std::string_view text);
// Blanks, tabs and line ends, as numbers and dates in text may carry.
std::string_view TrimSpace(std::string_view text);

// First case-insensitive occurrence of needle in hay at or after from;
// npos if none (also for an empty needle).
size_t FindFolded(std::string_view hay, std::string_view needle, size_t from);

}  // namespace sqlsim
