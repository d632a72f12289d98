// 8-bit ANSI text to UTF-16 and back, through the Windows code page functions.
#include <climits>
#include <cstring>

#include "include/lebase32.h"
#include "platform/win_api.h"

namespace {

int ClampToInt(size_t value) { return value > INT_MAX ? INT_MAX : static_cast<int>(value); }

// Units before the terminator, at most limit.
int WideLength(const LEBASE32_WCHAR* text, int limit) {
  int length = 0;
  while (length < limit && text[length] != 0) ++length;
  return length;
}

}  // namespace

extern "C" {

LEBASE32_API LEBASE32_WCHAR* LEBASE32_CALL lstrcpy_A2U(LEBASE32_WCHAR* dest, const char* text) {
  if (dest == nullptr) return dest;
  const char* source = text != nullptr ? text : "";
  const int units = ClampToInt(std::strlen(source) + 1);  // with the terminator
  MultiByteToWideChar(CP_ACP, 0, source, units, reinterpret_cast<WCHAR*>(dest), units);
  return dest;
}

LEBASE32_API char* LEBASE32_CALL lstrcpyn_U2A(char* dest, const LEBASE32_WCHAR* src,
                                              int32_t size) {
  if (dest == nullptr || size < 1) return dest;
  const int count = src != nullptr ? WideLength(src, size - 1) : 0;
  int written = 0;
  if (count > 0) {
    written = WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const WCHAR*>(src), count, dest,
                                  size - 1, nullptr, nullptr);
  }
  dest[written] = '\0';
  return dest;
}

LEBASE32_API void LEBASE32_CALL lSetBstr_A(LEBASE32_BSTR* out, const char* text) {
  if (out == nullptr) return;
  const char* source = text != nullptr ? text : "";
  const int length = ClampToInt(std::strlen(source));
  // The converters reject empty input, so the empty string skips them.
  const int units = length > 0 ? MultiByteToWideChar(CP_ACP, 0, source, length, nullptr, 0) : 0;
  BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(units));
  if (result != nullptr && units > 0) {
    MultiByteToWideChar(CP_ACP, 0, source, length, result, units);
  }
  *out = reinterpret_cast<LEBASE32_BSTR>(result);
}

}  // extern "C"
