// Code page conversions of the Windows API for the two code pages of a German
// Windows: OEM 850 and ANSI 1252.
#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "platform/code_page_tables.h"
#include "platform/win_api.h"

namespace {

using lerv32::platform::BestFit;
using lerv32::platform::CodePageTable;

bool UnicodeLess(const BestFit& entry, uint16_t unicode) { return entry.unicode < unicode; }

// The byte of unicode in a list sorted by unicode, or -1.
int FindIn(const BestFit* first, const BestFit* last, uint16_t unicode) {
  const BestFit* found = std::lower_bound(first, last, unicode, UnicodeLess);
  return found != last && found->unicode == unicode ? found->byte : -1;
}

class CodePage {
 public:
  explicit CodePage(const CodePageTable& table) : table_(table) {
    for (int byte = 0; byte < 256; ++byte) {
      exact_[byte] = BestFit{table.to_unicode[byte], static_cast<uint8_t>(byte)};
    }
    std::sort(exact_.begin(), exact_.end(),
              [](const BestFit& a, const BestFit& b) { return a.unicode < b.unicode; });
  }

  WCHAR Decode(char byte) const { return table_.to_unicode[static_cast<unsigned char>(byte)]; }

  // The byte for unit: its own, else Windows' best fit; -1 when there is none.
  int Encode(uint16_t unit) const {
    int byte = FindIn(exact_.data(), exact_.data() + exact_.size(), unit);
    if (byte < 0) {
      byte = FindIn(table_.best_fit, table_.best_fit + table_.best_fit_count, unit);
    }
    if (byte < 0 && unit >= lerv32::platform::kFullwidthFirst &&
        unit <= lerv32::platform::kFullwidthLast) {
      byte = unit - lerv32::platform::kFullwidthOffset;
    }
    return byte;
  }

 private:
  const CodePageTable& table_;
  std::array<BestFit, 256> exact_;  // the byte table inverted, sorted by unicode
};

const CodePage& Oem() {
  static const CodePage code_page(lerv32::platform::Cp850Table());
  return code_page;
}

const CodePage& Ansi() {
  static const CodePage code_page(lerv32::platform::Cp1252Table());
  return code_page;
}

const CodePage* CodePageFor(UINT code_page) {
  switch (code_page) {
    case CP_ACP:
    case 1252:
      return &Ansi();
    case CP_OEMCP:
    case 850:
      return &Oem();
    default:
      return nullptr;
  }
}

int ClampToInt(size_t value) { return value > INT_MAX ? INT_MAX : static_cast<int>(value); }

size_t WideLength(const WCHAR* text) {
  size_t length = 0;
  while (text[length] != 0) ++length;
  return length;
}

// Windows rejects these argument combinations before looking at the text.
bool BadArguments(const void* src, int src_len, const void* dest, int dest_len) {
  return src == nullptr || src_len == 0 || dest_len < 0 || (dest == nullptr && dest_len != 0);
}

// Every byte of one code page as the other has it (or '?'), worked out once:
// record text passes through here on every read and write.
class Translation {
 public:
  Translation(const CodePage& from, const CodePage& to) {
    for (int byte = 0; byte < 256; ++byte) {
      const int translated = to.Encode(from.Decode(static_cast<char>(byte)));
      bytes_[static_cast<size_t>(byte)] = static_cast<char>(translated < 0 ? '?' : translated);
    }
  }
  char operator()(char byte) const { return bytes_[static_cast<unsigned char>(byte)]; }

 private:
  std::array<char, 256> bytes_;
};

const Translation& OemToAnsi() {
  static const Translation translation(Oem(), Ansi());
  return translation;
}

const Translation& AnsiToOem() {
  static const Translation translation(Ansi(), Oem());
  return translation;
}

BOOL TranslateBuffer(const char* src, char* dest, size_t length, const Translation& translate) {
  if (src == nullptr || dest == nullptr) return FALSE;
  for (size_t i = 0; i < length; ++i) dest[i] = translate(src[i]);
  return TRUE;
}

}  // namespace

int MultiByteToWideChar(UINT code_page, DWORD /*flags*/, const char* src, int src_len,
                        WCHAR* dest, int dest_len) {
  const CodePage* table = CodePageFor(code_page);
  if (table == nullptr || BadArguments(src, src_len, dest, dest_len)) return 0;
  const int length = src_len < 0 ? ClampToInt(std::strlen(src) + 1) : src_len;
  if (dest_len == 0) return length;
  const int count = std::min(length, dest_len);
  for (int i = 0; i < count; ++i) dest[i] = table->Decode(src[i]);
  return length <= dest_len ? length : 0;
}

int WideCharToMultiByte(UINT code_page, DWORD /*flags*/, const WCHAR* src, int src_len,
                        char* dest, int dest_len, const char* default_char, BOOL* used_default) {
  const CodePage* table = CodePageFor(code_page);
  if (table == nullptr || BadArguments(src, src_len, dest, dest_len)) return 0;
  const int length = src_len < 0 ? ClampToInt(WideLength(src) + 1) : src_len;
  const char replacement = default_char != nullptr ? *default_char : '?';
  bool replaced = false;
  // Measuring still walks the text: used_default reports on it either way.
  const int count = dest_len == 0 ? length : std::min(length, dest_len);
  for (int i = 0; i < count; ++i) {
    const int byte = table->Encode(src[i]);
    replaced = replaced || byte < 0;
    if (dest_len != 0) dest[i] = byte < 0 ? replacement : static_cast<char>(byte);
  }
  if (used_default != nullptr) *used_default = replaced ? TRUE : FALSE;
  return dest_len == 0 || length <= dest_len ? length : 0;
}

BOOL OemToCharA(const char* src, char* dest) {
  if (src == nullptr) return FALSE;
  return TranslateBuffer(src, dest, std::strlen(src) + 1, OemToAnsi());
}

BOOL CharToOemA(const char* src, char* dest) {
  if (src == nullptr) return FALSE;
  return TranslateBuffer(src, dest, std::strlen(src) + 1, AnsiToOem());
}

BOOL OemToCharBuffA(const char* src, char* dest, DWORD length) {
  return TranslateBuffer(src, dest, length, OemToAnsi());
}

BOOL CharToOemBuffA(const char* src, char* dest, DWORD length) {
  return TranslateBuffer(src, dest, length, AnsiToOem());
}
