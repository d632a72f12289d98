// Connection strings: "KEY=value;" pairs as SQLDriverConnect takes them and
// hands them back.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace sqlsim::odbc {

// Keys in upper case; values with their braces removed ("{a;b}" is a;b,
// "}}" inside braces one '}'). False with a message for a malformed string.
using ConnectionAttributes = std::map<std::string, std::string>;
bool ParseConnectionString(std::string_view text, ConnectionAttributes* out,
                           std::string* error);

// "KEY=value;" pairs, values braced where needed; the driver or data
// source first, the password left out. Parsed again, it gives the same
// attributes (the driver only without a data source).
std::string CompletedConnectionString(const ConnectionAttributes& attrs);

// Keys and values as read: letters in upper case (ASCII), white space cut
// from both ends.
std::string UpperAttribute(std::string_view s);
std::string_view TrimAttribute(std::string_view s);

}  // namespace sqlsim::odbc
