// The server's 8-bit code page (Windows-1252) against the UTF-16 of
// SQL_C_WCHAR buffers.
#pragma once

#include <string>
#include <string_view>

namespace sqlsim::odbc {

std::u16string Cp1252ToUtf16(std::string_view text);
// Characters the code page lacks become '?'.
std::string Utf16ToCp1252(std::u16string_view text);

// Paths and connection strings: on Linux a path is UTF-8 bytes. A lone
// surrogate becomes U+FFFD; bytes that are not UTF-8 are read in the code
// page, as the 8-bit functions take them.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

// A name an 8-bit client sent: clients that pass UTF-8 there (pyodbc's
// catalog methods do) get their name in the code page. Text that is not
// UTF-8 with at least one letter beyond ASCII is taken as it is, in the
// code page already: such byte pairs are no name anyone writes in it.
std::string NameFromClient(std::string_view text);

// Upper-case hex digits of bytes, as binary data reads as character data.
std::string HexText(std::string_view bytes);
// The bytes of hex text (an even number of digits); false if it is not.
bool ParseHex(std::string_view text, std::string* bytes);

}  // namespace sqlsim::odbc
