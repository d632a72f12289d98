// CHAR, ASCII, NCHAR and UNICODE: single characters and their codes. The
// server's text is Windows-1252; NCHAR gives '?' for a character the code
// page lacks, as the server does converting nchar to char.
#include "sqlsim/functions/builtins.h"
#include "sqlsim/functions/convert.h"
#include "sqlsim/windows1252.h"

namespace sqlsim::builtins {

namespace {

// REQUIRES: code >= 0.
char ByteOfUnicode(int64_t code) {
  return code > 0xFFFF ? '?' : Windows1252OfUnicode(static_cast<uint32_t>(code));
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
  return Outcome::Of(Value::Integer(UnicodeOfWindows1252(static_cast<unsigned char>(text[0]))));
}

}  // namespace sqlsim::builtins
