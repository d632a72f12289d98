// Record text for the terminal: the record buffers hold the OEM code page
// (850) when the library converts at the server boundary, otherwise the
// ANSI one (1252); the terminal wants UTF-8.
#pragma once

#include <string>

namespace lerv {

std::string RecordTextToUtf8(const std::string& text);

// Characters on the screen, for lining up columns.
size_t ScreenWidth(const std::string& utf8);

}  // namespace lerv
