// Strings of the UTF-16 entry points. Arguments come in as UTF-16 and
// reach the 8-bit functions in the server's code page, or in UTF-8 where
// they hold paths (connection strings, data source names); what those
// functions return goes back as UTF-16, cut the ODBC way: as much as fits
// with a terminating zero, the full length through the length pointer.
#pragma once

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "sqlsim/odbc/odbc_api.h"
#include "sqlsim/odbc/text_codec.h"

#include <sqlucode.h>  // after the ODBC headers odbc_api.h brings

namespace sqlsim::odbc {

// The 8-bit form of a UTF-16 string.
enum class Narrow { kCodePage, kUtf8 };

inline std::string NarrowOf(std::u16string_view wide, Narrow form) {
  return form == Narrow::kUtf8 ? Utf16ToUtf8(wide) : Utf16ToCp1252(wide);
}

inline std::u16string WideOf(std::string_view narrow, Narrow form) {
  return form == Narrow::kUtf8 ? Utf8ToUtf16(narrow) : Cp1252ToUtf16(narrow);
}

// One string argument, narrowed; Len is the type of its length, counted in
// characters (SQL_NTS: zero-terminated). A null pointer stays null; a bad
// length is passed on for the 8-bit function to refuse.
template <class Len>
class NarrowText {
 public:
  NarrowText(const SQLWCHAR* text, Len length, Narrow form = Narrow::kCodePage) : form_(form), length_(length) {
    if (!text) return;
    if (length == SQL_NTS) {
      size_t n = 0;
      while (text[n] != 0) ++n;
      Convert(text, n);
    } else if (length >= 0) {
      Convert(text, static_cast<size_t>(length));
    } else {
      pointer_ = reinterpret_cast<SQLCHAR*>(narrow_.data());
    }
  }
  NarrowText(const NarrowText&) = delete;
  NarrowText& operator=(const NarrowText&) = delete;

  SQLCHAR* text() const { return pointer_; }
  Len length() const { return length_; }

 private:
  void Convert(const SQLWCHAR* text, size_t n) {
    std::u16string wide(n, u'\0');
    for (size_t i = 0; i < n; ++i) wide[i] = static_cast<char16_t>(text[i]);
    narrow_ = NarrowOf(wide, form_);
    pointer_ = reinterpret_cast<SQLCHAR*>(narrow_.data());
    // UTF-8 may need more bytes than the length type counts: then the
    // terminating zero ends it.
    constexpr auto kMax = static_cast<size_t>(std::numeric_limits<Len>::max());
    length_ = narrow_.size() <= kMax ? static_cast<Len>(narrow_.size()) : static_cast<Len>(SQL_NTS);
  }

  Narrow form_;
  std::string narrow_;
  SQLCHAR* pointer_ = nullptr;
  Len length_;
};

namespace wide_detail {

// Copies UTF-16 units into room units with the terminator; true when cut.
inline bool CopyUnits(const std::u16string& wide, SQLWCHAR* buffer, size_t room) {
  if (room == 0) return !wide.empty();
  size_t n = wide.size() < room - 1 ? wide.size() : room - 1;
  for (size_t i = 0; i < n; ++i) buffer[i] = static_cast<SQLWCHAR>(wide[i]);
  buffer[n] = 0;
  return n < wide.size();
}

template <class Len>
void SetLength(Len* length, size_t value) {
  if (!length) return;
  constexpr auto kMax = static_cast<size_t>(std::numeric_limits<Len>::max());
  *length = static_cast<Len>(value < kMax ? value : kMax);
}

}  // namespace wide_detail

// Into a buffer counted in characters (SQLDescribeColW, SQLGetDiagRecW...).
// Returns true when the text did not fit; a null buffer only reports the
// length.
template <class Len>
bool CopyOutWideChars(std::string_view narrow, SQLWCHAR* buffer, SQLLEN buffer_chars, Len* length,
                      Narrow form = Narrow::kCodePage) {
  std::u16string wide = WideOf(narrow, form);
  wide_detail::SetLength(length, wide.size());
  if (!buffer) return false;
  return wide_detail::CopyUnits(wide, buffer, buffer_chars > 0 ? static_cast<size_t>(buffer_chars) : 0);
}

// Into a buffer counted in bytes (SQLGetInfoW, SQLColAttributeW...): the
// length is in bytes too, and an odd byte of the buffer stays unwritten.
template <class Len>
bool CopyOutWideBytes(std::string_view narrow, SQLPOINTER buffer, SQLLEN buffer_bytes, Len* length) {
  std::u16string wide = Cp1252ToUtf16(narrow);
  // A length past what the type holds is cut to whole characters.
  constexpr auto kMaxBytes = static_cast<size_t>(std::numeric_limits<Len>::max()) & ~size_t{1};
  wide_detail::SetLength(length, std::min(wide.size() * sizeof(SQLWCHAR), kMaxBytes));
  if (!buffer) return false;
  size_t room = buffer_bytes > 0 ? static_cast<size_t>(buffer_bytes) / sizeof(SQLWCHAR) : 0;
  return wide_detail::CopyUnits(wide, static_cast<SQLWCHAR*>(buffer), room);
}

// The whole string an 8-bit function returns: `call(buffer, size, &length)`
// runs once more with room for all of it when the first buffer was short.
// The text is left empty when the call fails.
template <class Len, class Call>
SQLRETURN ReadNarrow(std::string* text, Call&& call) {
  constexpr size_t kMax = static_cast<size_t>(std::numeric_limits<Len>::max());
  text->assign(256, '\0');
  Len length = 0;
  SQLRETURN rc = call(reinterpret_cast<SQLCHAR*>(text->data()), static_cast<Len>(text->size()), &length);
  if (SQL_SUCCEEDED(rc) && length >= 0 && static_cast<size_t>(length) >= text->size()) {
    size_t size = static_cast<size_t>(length) < kMax ? static_cast<size_t>(length) + 1 : kMax;
    text->assign(size, '\0');
    rc = call(reinterpret_cast<SQLCHAR*>(text->data()), static_cast<Len>(text->size()), &length);
  }
  if (!SQL_SUCCEEDED(rc)) {
    text->clear();
    return rc;
  }
  size_t n = length < 0 ? 0 : static_cast<size_t>(length);
  text->resize(n < text->size() ? n : text->size() - 1);
  return rc;
}

}  // namespace sqlsim::odbc
