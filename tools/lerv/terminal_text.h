// Record text and UTF-8: the record buffers hold the OEM code page (850)
// when the library converts at the server boundary, otherwise the ANSI one
// (1252); terminals and most files of today want UTF-8.
#pragma once

#include <optional>
#include <string>

namespace lerv {

// A byte the code page does not map becomes '?'.
std::string RecordTextToUtf8(const std::string& text);
// The server's messages come in the ANSI code page (1252), converted or not.
std::string AnsiTextToUtf8(const std::string& text);
// Nothing when text is not UTF-8 or holds a character the code page lacks.
std::optional<std::string> Utf8ToRecordText(const std::string& text);
// Nothing when text is not UTF-8 or holds a character Windows-1252 lacks:
// SQL text goes to the server in the ANSI code page.
std::optional<std::string> Utf8ToAnsiText(const std::string& text);
// The code page of the record buffers, for messages: "850" or "1252".
const char* RecordCodePage();

// Whether text holds a UTF-8 sequence of several bytes and nothing that is
// not UTF-8: text in the code page almost never does.
bool LooksLikeUtf8(const std::string& text);
// Where text shows itself as UTF-8, npos when it does not: at its first
// character of several bytes when it is UTF-8 throughout; else (text mixing
// UTF-8 with Windows-1252 bytes) at its first character in UTF-8 that
// Windows-1252 has (an umlaut, the euro sign). Other byte runs that read as
// UTF-8 are common in Windows-1252 text: "ß“" reads as U+07D3, "é“…" as
// U+44C5.
size_t FirstUtf8Character(const std::string& text);

// Characters on the screen, for lining up columns.
size_t ScreenWidth(const std::string& utf8);

}  // namespace lerv
