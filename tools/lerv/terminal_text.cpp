#include "tools/lerv/terminal_text.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "include/lerv32.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace lerv {
namespace {

bool Oem() { return rv_GetOemConvert() != 0; }

#ifdef _WIN32
std::optional<std::wstring> ToWide(UINT page, const std::string& text, DWORD flags) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(page, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(page, flags, text.data(), size, wide.data(), length);
  return wide;
}

// Nothing when strict and a character has no place in page.
std::optional<std::string> FromWide(UINT page, const std::wstring& wide, bool strict) {
  if (wide.empty()) return std::string();
  const int size = static_cast<int>(wide.size());
  BOOL defaulted = FALSE;
  BOOL* lossy = page == CP_UTF8 ? nullptr : &defaulted;
  const DWORD flags = page == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length = WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr, lossy);
  if (length <= 0 || (strict && defaulted)) return std::nullopt;
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(page, flags, wide.data(), size, text.data(), length, nullptr, nullptr);
  return text;
}

UINT Page() { return Oem() ? 850 : 1252; }
#else
const char* IconvName() { return Oem() ? "CP850" : "CP1252"; }

// text from one code to the other; a byte that does not convert becomes
// '?' unless strict, which gives nothing then.
std::optional<std::string> Convert(const char* to, const char* from, const std::string& text, bool strict) {
  iconv_t convert = iconv_open(to, from);
  if (convert == reinterpret_cast<iconv_t>(-1)) return strict ? std::nullopt : std::optional<std::string>(text);
  std::string result;
  std::string in = text;
  char* in_at = in.data();
  size_t in_left = in.size();
  char piece[256];
  bool whole = true;
  while (in_left > 0 && whole) {
    char* out_at = piece;
    size_t out_left = sizeof piece;
    const size_t done = iconv(convert, &in_at, &in_left, &out_at, &out_left);
    result.append(piece, sizeof piece - out_left);
    if (done == static_cast<size_t>(-1) && out_left == sizeof piece) {
      whole = !strict;
      result += '?';
      ++in_at;
      --in_left;
    }
  }
  iconv_close(convert);
  if (!whole) return std::nullopt;
  return result;
}
#endif

}  // namespace

std::string RecordTextToUtf8(const std::string& text) {
#ifdef _WIN32
  return FromWide(CP_UTF8, ToWide(Page(), text, 0).value_or(std::wstring()), false).value_or(text);
#else
  return Convert("UTF-8", IconvName(), text, false).value_or(text);
#endif
}

std::string AnsiTextToUtf8(const std::string& text) {
#ifdef _WIN32
  return FromWide(CP_UTF8, ToWide(1252, text, 0).value_or(std::wstring()), false).value_or(text);
#else
  return Convert("UTF-8", "CP1252", text, false).value_or(text);
#endif
}

std::optional<std::string> Utf8ToRecordText(const std::string& text) {
#ifdef _WIN32
  const std::optional<std::wstring> wide = ToWide(CP_UTF8, text, MB_ERR_INVALID_CHARS);
  if (!wide) return std::nullopt;
  return FromWide(Page(), *wide, true);
#else
  return Convert(IconvName(), "UTF-8", text, true);
#endif
}

std::optional<std::string> Utf8ToAnsiText(const std::string& text) {
#ifdef _WIN32
  const std::optional<std::wstring> wide = ToWide(CP_UTF8, text, MB_ERR_INVALID_CHARS);
  if (!wide) return std::nullopt;
  return FromWide(1252, *wide, true);
#else
  return Convert("CP1252", "UTF-8", text, true);
#endif
}

const char* RecordCodePage() { return Oem() ? "850" : "1252"; }

namespace {

// The length of the well-formed UTF-8 character of several bytes at text[i],
// 0 when there is none.
size_t Utf8SequenceAt(const std::string& text, size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  const size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                      : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

bool LooksLikeUtf8(const std::string& text) {
  bool several = false;
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t length = Utf8SequenceAt(text, i);
    if (length == 0) return false;
    several = true;
    i += length;
  }
  return several;
}

size_t FirstUtf8Character(const std::string& text) {
  // Windows-1252's characters beyond Latin-1, in its order from 0x80.
  static constexpr uint32_t kBeyondLatin1[] = {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x017D, 0x2018,
                                               0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
                                               0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};
  const bool utf8_throughout = LooksLikeUtf8(text);
  for (size_t i = 0; i < text.size(); ++i) {
    const size_t length = Utf8SequenceAt(text, i);
    if (length == 0) continue;
    if (utf8_throughout) return i;
    uint32_t code = static_cast<unsigned char>(text[i]) & (0x7Fu >> length);
    for (size_t k = 1; k < length; ++k) code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    const bool ansi = (code >= 0xA0 && code <= 0xFF) ||
                      std::find(std::begin(kBeyondLatin1), std::end(kBeyondLatin1), code) != std::end(kBeyondLatin1);
    if (ansi) return i;
  }
  return std::string::npos;
}

size_t ScreenWidth(const std::string& utf8) {
  size_t width = 0;
  for (unsigned char c : utf8) width += (c & 0xC0) != 0x80;
  return width;
}

}  // namespace lerv
