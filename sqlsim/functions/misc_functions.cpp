// CAST/CONVERT, column stores, dates, ISNUMERIC and object names.
#include "sqlsim/functions/builtins.h"
#include "sqlsim/functions/convert.h"
#include "sqlsim/functions/datetime.h"
#include "sqlsim/functions/text.h"

namespace sqlsim::builtins {

namespace {

std::string TypeArgument(const Value& v) { return v.IsNull() ? "" : TextOfValue(v); }

// A length or style argument: NULL or nonsense means "not given".
int32_t SmallArgument(const Value& v) {
  Outcome n = IntegerArgument(v);
  if (!n.ok() || n.value.IsNull()) return -1;
  int64_t x = n.value.integer;
  return x < INT32_MIN || x > INT32_MAX ? -1 : static_cast<int32_t>(x);
}

bool IsCurrency(char c) {
  auto b = static_cast<unsigned char>(c);
  return c == '$' || b == 0x80 || b == 0xA3 || b == 0xA5;  // € £ ¥
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What ISNUMERIC accepts: [currency][sign][currency] digits and commas
// [. digits] [e|d [sign] digits]; a lone sign, point or currency counts.
bool LooksNumeric(std::string_view t) {
  t = TrimSpace(t);
  if (t.empty()) return false;
  size_t i = 0;
  bool currency = IsCurrency(t[i]);
  if (currency) ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  if (!currency && i < t.size() && IsCurrency(t[i])) ++i;
  bool digits = false;
  for (; i < t.size() && (IsDigit(t[i]) || t[i] == ','); ++i) {
    if (IsDigit(t[i])) digits = true;
  }
  if (i < t.size() && t[i] == '.') {
    ++i;
    for (; i < t.size() && IsDigit(t[i]); ++i) digits = true;
  }
  if (digits && i < t.size() && std::string_view("eEdD").find(t[i]) != std::string_view::npos) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t start = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == start) return false;
  }
  return i == t.size();
}

// One part of a dotted name, unquoted; false if a quote is not closed.
bool ReadNamePart(std::string_view text, size_t* pos, std::string* part) {
  size_t i = *pos;
  while (i < text.size() && text[i] == ' ') ++i;
  part->clear();
  if (i < text.size() && (text[i] == '[' || text[i] == '"')) {
    const char close = text[i] == '[' ? ']' : '"';
    for (++i;; ++i) {
      if (i >= text.size()) return false;
      if (text[i] == close) {
        if (i + 1 < text.size() && text[i + 1] == close) {
          *part += close;
          ++i;
          continue;
        }
        ++i;
        break;
      }
      *part += text[i];
    }
  } else {
    while (i < text.size() && text[i] != '.') *part += text[i++];
    *part = std::string(TrimTrailingBlanks(*part));
  }
  while (i < text.size() && text[i] == ' ') ++i;
  *pos = i;
  return true;
}

}  // namespace

Outcome Convert(const Args& args) {
  return ConvertValue(args[0], TypeArgument(args[1]), TypeArgument(args[2]),
                      SmallArgument(args[3]), SmallArgument(args[4]));
}

Outcome Store(const Args& args) {
  return StoreValue(args[0], TypeArgument(args[1]), TypeArgument(args[2]),
                    SmallArgument(args[3]));
}

Outcome Getdate(const Args&) {
  return Outcome::Of(Value::Text(FormatCanonical(NowLocal())));
}

Outcome Isdate(const Args& args) {
  const Value& v = args[0];
  bool date = !v.IsNull() && v.kind != Value::Kind::kBlob && ParseDateTime(TextOfValue(v));
  return Outcome::Of(Value::Integer(date ? 1 : 0));
}

Outcome Isnumeric(const Args& args) {
  const Value& v = args[0];
  bool numeric = v.kind == Value::Kind::kInteger || v.kind == Value::Kind::kReal ||
                 (v.kind == Value::Kind::kText && LooksNumeric(v.bytes));
  return Outcome::Of(Value::Integer(numeric ? 1 : 0));
}

Outcome Objname(const Args& args) {
  if (args[0].IsNull()) return Outcome::Of(Value::Null());
  const std::string text = TextOfValue(args[0]);
  constexpr int kMaxParts = 4;  // server.database.schema.object
  std::string part;
  size_t pos = 0;
  for (int parts = 1; parts <= kMaxParts; ++parts) {
    if (!ReadNamePart(text, &pos, &part)) break;
    if (pos >= text.size()) {
      if (part.empty()) break;
      return Outcome::Of(Value::Text(part));
    }
    if (text[pos] != '.') break;
    ++pos;
  }
  return Outcome::Of(Value::Null());
}

}  // namespace sqlsim::builtins
