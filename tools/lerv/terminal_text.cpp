#include "tools/lerv/terminal_text.h"

#include "include/lerv32.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace lerv {

std::string RecordTextToUtf8(const std::string& text) {
  const bool oem = rv_GetOemConvert() != 0;
#ifdef _WIN32
  const UINT page = oem ? 850 : 1252;
  const int wide_length = MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(wide_length), L'\0');
  MultiByteToWideChar(page, 0, text.data(), static_cast<int>(text.size()), wide.data(), wide_length);
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), length, nullptr, nullptr);
  return utf8;
#else
  iconv_t convert = iconv_open("UTF-8", oem ? "CP850" : "CP1252");
  if (convert == reinterpret_cast<iconv_t>(-1)) return text;
  std::string utf8;
  std::string in = text;
  char* in_at = in.data();
  size_t in_left = in.size();
  char piece[256];
  while (in_left > 0) {
    char* out_at = piece;
    size_t out_left = sizeof piece;
    const size_t done = iconv(convert, &in_at, &in_left, &out_at, &out_left);
    utf8.append(piece, sizeof piece - out_left);
    if (done == static_cast<size_t>(-1) && out_left == sizeof piece) {
      // A byte the code page does not map: shown as '?'.
      utf8 += '?';
      ++in_at;
      --in_left;
    }
  }
  iconv_close(convert);
  return utf8;
#endif
}

size_t ScreenWidth(const std::string& utf8) {
  size_t width = 0;
  for (unsigned char c : utf8) width += (c & 0xC0) != 0x80;
  return width;
}

}  // namespace lerv
