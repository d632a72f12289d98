// What a host's environment gives a generated record class, for a Linux
// build: the Windows types and calls it names, the member classes of the
// "kunde" sample's fields, the XML item class and three text helpers, each
// doing what the generated code needs of it and nothing more.
#ifndef LERV32_TESTS_CODEGEN_HOST_STAND_INS_H
#define LERV32_TESTS_CODEGEN_HOST_STAND_INS_H

#include <algorithm>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "lebase32.h"
#include "lerv32.h"

#define FAR
#define TRUE 1
#define FALSE 0
#define MB_OK 0u

typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef int BOOL;
typedef int INT;
typedef unsigned int UINT;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef void* HWND;

// Only a record class whose size differs from its fields' shows a message.
inline int message_boxes = 0;
inline int MessageBox(HWND, LPCSTR, LPCSTR, UINT) { return ++message_boxes; }
inline HWND GetDesktopWindow() { return nullptr; }

inline LPSTR lstrcpy(LPSTR dest, LPCSTR src) { return std::strcpy(dest, src); }
inline LPSTR lstrcat(LPSTR dest, LPCSTR src) { return std::strcat(dest, src); }
inline int lstrlen(LPCSTR text) { return static_cast<int>(std::strlen(text)); }
inline int lstrcmp(LPCSTR a, LPCSTR b) { return std::strcmp(a, b); }

inline int wsprintf(LPSTR dest, LPCSTR format, ...) __attribute__((format(printf, 2, 3)));
inline int wsprintf(LPSTR dest, LPCSTR format, ...) {
  va_list args;
  va_start(args, format);
  const int length = std::vsprintf(dest, format, args);
  va_end(args);
  return length;
}

// The test records hold ASCII text only, which both code pages share.
inline BOOL OemToAnsi(LPCSTR src, LPSTR dest) {
  if (dest != src) std::strcpy(dest, src);
  return TRUE;
}
inline BOOL AnsiToOem(LPCSTR src, LPSTR dest) { return OemToAnsi(src, dest); }

inline void* _fmemcpy(void* dest, const void* src, std::size_t n) { return std::memcpy(dest, src, n); }
inline void* _fmemset(void* dest, int c, std::size_t n) { return std::memset(dest, c, n); }

// dest holds size bytes: the field's text without its trailing blanks.
inline void CharNToString(LPSTR dest, LPCSTR p, int size, int w) {
  const int length = std::max(0, std::min(size - 1, w));
  std::memcpy(dest, p, static_cast<std::size_t>(length));
  dest[length] = '\0';
  lstrtrim(dest);
}
// A COBOL date as text, in the form of a text date field.
inline void CobolDatumToString(LPSTR dest, LPCSTR p) { ld_ToStringEx(dest, CobolDatumToLong(p)); }
inline void CobolDatumFromString(LPCSTR text, LPSTR p) { CobolDatumFromLong(p, StrDatumToLong(text)); }

// A member object: the field's bytes and nothing else.
template <int kBytes>
class T3Field {
 public:
  LPSTR GetDataAddr() { return bytes_; }

 private:
  char bytes_[kBytes];
};

using T3Long = T3Field<4>;
using T3LKey20 = T3Field<20>;
using T3Ktext15 = T3Field<15>;
using T3Ktext1 = T3Field<1>;
using T3Date = T3Field<10>;
using T3Bool_TF = T3Field<1>;
using T3Tiny = T3Field<1>;
using T3Num_9n2 = T3Field<9>;
using T3Num_6x = T3Field<6>;
using T3Num_12x = T3Field<12>;
using T3Double_4 = T3Field<8>;
using T3Short = T3Field<2>;
using T3Cobol_5n2 = T3Field<5>;
using T3Cobol_3x = T3Field<3>;
using T3Cobol_Dat = T3Field<4>;
using T3Ktext40 = T3Field<40>;

// An XML element as ScanXML reads it: a child <name>value</name> by name.
class leXML {
 public:
  explicit leXML(std::string text = "", bool item = false) : text_(std::move(text)), item_(item) {}
  leXML GetChildByName(LPCSTR name) const {
    const std::string open = "<" + std::string(name) + ">";
    const std::size_t value = text_.find(open);
    const std::size_t end = text_.find("</" + std::string(name) + ">");
    if (value == std::string::npos || end == std::string::npos) return leXML();
    return leXML(text_.substr(value + open.size(), end - value - open.size()), true);
  }
  BOOL IsItem() const { return item_ ? TRUE : FALSE; }
  void GetValue(LPSTR dest, int size) const {
    std::snprintf(dest, static_cast<std::size_t>(size), "%s", text_.c_str());
  }

 private:
  std::string text_;
  bool item_;
};

// The host programs' own checks: each failure is printed and counted.
inline int failed = 0;
inline void Check(bool ok, const std::string& what) {
  if (!ok) std::printf("FAILED: %s\n", what.c_str());
  failed += ok ? 0 : 1;
}
// The record's bytes, as the library sees them.
template <class Record>
std::string Bytes(Record& record) {
  return std::string(static_cast<const char*>(record.GetDataAddr()), static_cast<std::size_t>(record.GetDataSize()));
}

#endif  // LERV32_TESTS_CODEGEN_HOST_STAND_INS_H
