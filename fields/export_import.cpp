// TAB-separated export lines, one field at a time, and XML-safe text.
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "fields/field_values.h"
#include "include/lebase32.h"

namespace lerv32 {
namespace {

constexpr int kMaxWidth = 255;                          // the widest field there is
constexpr std::size_t kNumberSize = 2 * kMaxWidth + 3;  // n is written 2 * w + 2 wide
constexpr std::size_t kItemSize = kNumberSize;          // the widest item and the zero

bool Exchangeable(const char* p, int type, int w) {
  return p != nullptr && w <= kMaxWidth && FitsWidth(type, w);
}

// A TAB inside would split the item, a zero byte would end the line.
void AppendText(char* end, const char* p, int w) {
  const int length = TrimmedLength(p, w, 0);
  for (int i = 0; i < length; ++i) end[i] = p[i] == '\t' ? ' ' : p[i];
  end[length] = '\0';
}

// Fixed-point text up to kMaxWidth characters, so that an item fits the
// 256-byte buffers of the generated classes; larger doubles carry an exponent.
void DoubleItem(char* number, double value, int dec) {
  if (!std::isfinite(value)) {
    DoubleToString(number, value, 20, dec);  // asterisks
    return;
  }
  DoubleToString(number, value, kMaxWidth, dec);
  if (number[0] == '*') *std::to_chars(number, number + kNumberSize - 1, value).ptr = '\0';
}

// Every width leaves room for the sign and a leading zero of the value,
// which the field's own digits need not include.
void AppendNumber(char* end, const char* p, int type, int w, int dec) {
  char number[kNumberSize];
  switch (type) {
    case 'N':
      DoubleToString(number, CharNToDouble(p, w, dec), w + 1, dec);
      break;
    case 'n':
      // 2w - 1 digits, one more where the double rounds up to the next power of ten, sign and point.
      DoubleToString(number, CobolNToDouble(p, w, dec), 2 * w + 2, dec);
      break;
    case 'x':
      LongToString(number, CobolXToLong(p, w), 2 * w);
      break;
    case 'd':
      DoubleItem(number, DoubleFromField(p), dec);
      break;
    default:
      LongToString(number, BinaryLongFromField(type, p), 10);
      break;
  }
  const char* text = llstrtrim(number);
  std::memcpy(end, text, std::strlen(text) + 1);
}

void AppendValue(char* end, const char* p, int type, int w, int dec) {
  switch (type) {
    case 'C':
    case 'c':
    case 'u':
      AppendText(end, p, w);
      break;
    case 'D':
    case 'o':
      FormatDate(end, DateFromField(type, p));
      break;
    case 'L':
      end[0] = p[0] == 'T' || p[0] == 't' ? '1' : '0';
      end[1] = '\0';
      break;
    case 'N':
    case 'n':
    case 'x':
    case 'd':
    case 'l':
    case 's':
    case 'b':
      AppendNumber(end, p, type, w, dec);
      break;
    default:
      break;
  }
}

char* FieldExport(char* out, const char* p, int type, int w, int dec, bool tab) {
  char* end = out + std::strlen(out);
  if (tab) *end++ = '\t';
  *end = '\0';
  if (Exchangeable(p, type, w)) AppendValue(end, p, type, w, dec);
  return end + std::strlen(end);
}

// Copies the item at text into item (cut to kItemSize - 1 characters) and
// returns where the next one starts.
const char* ReadItem(const char* text, char* item) {
  std::size_t length = 0;
  const char* c = text;
  for (; *c != '\0' && *c != '\t'; ++c) {
    if (length < kItemSize - 1) item[length++] = *c;
  }
  item[length] = '\0';
  return *c == '\t' ? c + 1 : c;
}

// "YYYY-MM-DD"; anything shorter is no date.
int32_t ImportedDate(const char* item) {
  if (std::strlen(item) < 10) return 0;
  const int64_t date =
      (int64_t{StringToLong(item)} * 100 + StringToLong(item + 5)) * 100 + StringToLong(item + 8);
  return date < INT32_MIN || date > INT32_MAX ? 0 : static_cast<int32_t>(date);
}

// A d item may carry an exponent (see DoubleItem).
double ImportedDouble(const char* item) {
  const char* exponent = std::strpbrk(item, "eE");
  double value = 0.0;
  if (exponent != nullptr &&
      std::from_chars(item, item + std::strlen(item), value).ptr > exponent) {
    return value;
  }
  return StringToDouble(item);
}

// At most w - 1 characters and a zero, the rest of the w bytes zero too.
void CopyTerminated(const char* item, char* p, int w) {
  if (w < 1) return;
  const std::size_t length = std::min(std::strlen(item), static_cast<std::size_t>(w - 1));
  std::memcpy(p, item, length);
  std::memset(p + length, 0, static_cast<std::size_t>(w) - length);
}

void StoreItem(const char* item, char* p, int type, int w, int dec) {
  switch (type) {
    case 'C':
      CharNFromString(item, p, w);
      break;
    case 'c':
      // Definitions never hold 'c' (it is stored as 'C'); generated classes
      // import their table name with it and compare it as a C string.
      CopyTerminated(item, p, w);
      break;
    case 'u':
      CharUFromString(item, p, w);
      break;
    case 'D':
    case 'o':
      DateToField(type, p, ImportedDate(item));
      break;
    case 'L':
      p[0] = StringToLong(item) != 0 ? 'T' : 'F';
      break;
    case 'N':
      DoubleToCharN(p, w, dec, StringToDouble(item));
      break;
    case 'n':
      DoubleToCobolN(p, w, dec, StringToDouble(item));
      break;
    case 'd':
      DoubleToField(p, dRnd(ImportedDouble(item), dec));
      break;
    case 'l':
    case 's':
    case 'b':
      BinaryLongToField(type, p, StringToLong(item));
      break;
    case 'x':
      LongToCobolX(p, w, StringToLong(item));
      break;
    default:
      break;
  }
}

char* FieldImport(const char* text, char* p, int type, int w, int dec) {
  char item[kItemSize];
  const char* next = ReadItem(text, item);
  if (Exchangeable(p, type, w)) StoreItem(item, p, type, w, dec);
  return const_cast<char*>(next);
}

bool IsXmlSafe(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return c != '\0' && std::strchr("@!?=.:;|+-*/(){}[]_#,\\", c) != nullptr;
}

char* AnsiToXml(char* out, const char* text) {
  char* end = out;
  for (const char* c = text; *c != '\0'; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (IsXmlSafe(byte)) {
      *end++ = *c;
    } else {
      end += std::snprintf(end, 7, "&#%d;", byte);  // "&#255;" at the most
    }
  }
  *end = '\0';
  return out;
}

}  // namespace
}  // namespace lerv32

// A width outside 0 to 255, a null field or a field narrower than its type:
// nothing is exported, and an imported item is passed over.
extern "C" {

char* LERV32_CALL rv_FieldExport(char* out, const char* p, int32_t type, int32_t width, int32_t dec,
                                 int32_t tab) {
  if (out == nullptr) return nullptr;
  return lerv32::FieldExport(out, p, type, width, dec, tab != 0);
}

char* LERV32_CALL rv_FieldImport(const char* text, char* p, int32_t type, int32_t width, int32_t dec) {
  if (text == nullptr) return nullptr;
  return lerv32::FieldImport(text, p, type, width, dec);
}

char* LERV32_CALL rv_AnsiToXML(char* out, const char* text) {
  if (out == nullptr || text == nullptr) return nullptr;
  return lerv32::AnsiToXml(out, text);
}

}  // extern "C"
