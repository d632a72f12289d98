// The pieces of statement text that escape sequences must not touch:
// string literals, quoted names and comments, as Transact-SQL reads them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sqlsim::odbc {

// The end of the literal, quoted name or comment that starts at pos, or pos
// when none starts there. One left open runs to the end of the text (the
// engine reports it).
size_t SkipInert(std::string_view text, size_t pos);

// text cut at the commas outside parentheses, literals, names and
// comments; each piece trimmed of blanks. One piece for text without commas.
std::vector<std::string> SplitArguments(std::string_view text);

// The position of the ')' that closes the '(' at open, or npos.
size_t MatchingParenthesis(std::string_view text, size_t open);

std::string_view TrimBlanks(std::string_view text);
bool IsBlank(char c);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace sqlsim::odbc
