// Copying a string into an application's buffer the ODBC way: as much as
// fits with a terminating zero, the full length through the length pointer,
// and whether it was cut (the caller then reports 01004).
#pragma once

#include <cstring>
#include <string_view>

#include "sqlsim/odbc/odbc_api.h"

namespace sqlsim::odbc {

// Returns true when the text did not fit. A null buffer only reports the
// length.
template <class Len>
bool CopyOutString(std::string_view text, void* buffer, SQLLEN buffer_size,
                   Len* length) {
  if (length) *length = static_cast<Len>(text.size());
  if (!buffer) return false;
  if (buffer_size <= 0) return !text.empty();
  size_t room = static_cast<size_t>(buffer_size) - 1;
  size_t n = text.size() < room ? text.size() : room;
  std::memcpy(buffer, text.data(), n);
  static_cast<char*>(buffer)[n] = '\0';
  return n < text.size();
}

// A string argument given as pointer and length (SQL_NTS: zero-terminated).
inline std::string_view InString(const SQLCHAR* text, SQLINTEGER length) {
  if (!text) return {};
  const char* p = reinterpret_cast<const char*>(text);
  if (length == SQL_NTS) return std::string_view(p);
  if (length < 0) return {};
  return std::string_view(p, static_cast<size_t>(length));
}

}  // namespace sqlsim::odbc
