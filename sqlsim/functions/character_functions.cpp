// CHAR, ASCII, NCHAR and UNICODE: single characters and their codes. The
// server's text is Windows-1252; NCHAR gives '?' for a character the code
// page lacks, as the server does converting nchar to char.
#include "sqlsim/functions/builtins.h"
#include "sqlsim/functions/convert.h"

namespace sqlsim::builtins {

namespace {

// 0x80..0x9F of Windows-1252; its five unassigned bytes stand for the C1
// control of the same number.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t UnicodeOfByte(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : b; }

char ByteOfUnicode(int64_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] == static_cast<char32_t>(code)) return static_cast<char>(0x80 + i);
  }
  return '?';
}

Outcome Null() { return Outcome::Of(Value::Null()); }

// The code of a character argument, or NULL outside [0, highest].
Outcome CodeArgument(const Value& v, int64_t highest, int64_t* code) {
  Outcome n = ConvertValue(v, "", "int", kNoLength, kNoStyle);
  if (!n.ok()) return n;
  if (n.value.integer < 0 || n.value.integer > highest) return Null();
  *code = n.value.integer;
  return n;
}

}  // namespace

Outcome Char(const Args& args) {
  int64_t code = 0;
  if (args[0].IsNull()) return Null();
  Outcome n = CodeArgument(args[0], 255, &code);
  if (!n.ok() || n.value.IsNull()) return n;
  return Outcome::Of(Value::Text(std::string(1, static_cast<char>(code))));
}

Outcome Nchar(const Args& args) {
  int64_t code = 0;
  if (args[0].IsNull()) return Null();
  Outcome n = CodeArgument(args[0], 0xFFFF, &code);
  if (!n.ok() || n.value.IsNull()) return n;
  return Outcome::Of(Value::Text(std::string(1, ByteOfUnicode(code))));
}

Outcome Ascii(const Args& args) {
  if (args[0].IsNull()) return Null();
  std::string text = TextOfValue(args[0]);
  if (text.empty()) return Null();
  return Outcome::Of(Value::Integer(static_cast<unsigned char>(text[0])));
}

Outcome Unicode(const Args& args) {
  if (args[0].IsNull()) return Null();
  std::string text = TextOfValue(args[0]);
  if (text.empty()) return Null();
  return Outcome::Of(Value::Integer(UnicodeOfByte(static_cast<unsigned char>(text[0]))));
}

}  // namespace sqlsim::builtins
