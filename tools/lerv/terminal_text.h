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
// Where text first holds a character in UTF-8 that tells UTF-8 text, npos
// for none: one of Windows-1252's characters (an umlaut, the euro sign) or
// one of three bytes or more. Text mixing such characters with Windows-1252
// bytes is no Windows-1252 text either. A pair of two bytes that reads as a
// character Windows-1252 lacks does not count: Windows-1252 text holds such
// pairs ("ß“" reads as U+07D3).
size_t FirstTellingUtf8Character(const std::string& text);

// Characters on the screen, for lining up columns.
size_t ScreenWidth(const std::string& utf8);

}  // namespace lerv
