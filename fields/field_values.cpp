// Field values as numbers, and writing a field from text.
#include "fields/field_values.h"

#include <cstdio>
#include <cstring>

#include "include/lebase32.h"
#include "schema/type_mapping.h"

namespace lerv32 {
namespace {

// Bytes a type needs whatever its width says; 0 for the types that use the width.
int FixedSize(int type) {
  switch (type) {
    case 'L':
    case 'b':
      return 1;
    case 's':
      return 2;
    case 'l':
    case 'o':
      return 4;
    case 'd':
      return 8;
    case 'D':
      return 10;
    default:
      return 0;
  }
}

int32_t IntegerValue(int type, const char* p, int w) {
  switch (type) {
    case 'L':
      return p[0] == 'T' ? 1 : 0;
    case 'N':
      return CharNToLong(p, w);
    case 'x':
      return CobolXToLong(p, w);
    default:
      return BinaryLongFromField(type, p);
  }
}

// Date of "YYYY-MM-DD"; a shorter text reads as if padded with blanks.
int32_t DateFromText(const char* text) {
  char padded[10];
  std::memset(padded, ' ', sizeof padded);
  for (std::size_t i = 0; text != nullptr && i < sizeof padded && text[i] != '\0'; ++i) {
    padded[i] = text[i];
  }
  return (CharNToLong(padded, 4) * 100 + CharNToLong(padded + 5, 2)) * 100 +
         CharNToLong(padded + 8, 2);
}

int32_t FieldFromString(const FieldDef& f, char* p, const char* text) {
  const int w = f.Len;
  switch (f.Type) {
    case 'C':
    case 'c':
      CharNFromString(text, p, w);
      return 1;
    case 'u':
      CharUFromString(text, p, w);
      return 1;
    case 'D':
    case 'o':
      DateToField(f.Type, p, DateFromText(text));
      return 1;
    case 'L':
      p[0] = StringToLong(text) != 0 ? 'T' : 'F';
      return 1;
    case 'N':
      if (f.Dec == 0) {
        LongToCharN(p, w, StringToLong(text));
      } else {
        DoubleToCharN(p, w, f.Dec, StringToDouble(text));
      }
      return 1;
    case 'b':
    case 's':
    case 'l':
      BinaryLongToField(f.Type, p, StringToLong(text));
      return 1;
    case 'd':
      DoubleToField(p, StringToDouble(text));
      return 1;
    case 'n':
      DoubleToCobolN(p, w, f.Dec, StringToDouble(text));
      return 1;
    case 'x':
      LongToCobolX(p, w, StringToLong(text));
      return 1;
    default:
      return 0;
  }
}

}  // namespace

bool FitsWidth(int type, int w) { return w >= 0 && w >= FixedSize(type); }

int TextLength(const char* p, int w) {
  if (w <= 0) return 0;
  const void* zero = std::memchr(p, '\0', static_cast<std::size_t>(w));
  return zero == nullptr ? w : static_cast<int>(static_cast<const char*>(zero) - p);
}

int TrimmedLength(const char* p, int w, int keep) {
  int length = TextLength(p, w);
  while (length > keep && p[length - 1] == ' ') --length;
  return length;
}

int32_t DateFromField(int type, const char* p) {
  if (type == 'D') return StrDatumToLong(p);
  if (type == 'o') return CobolDatumToLong(p);
  return 0;
}

void DateToField(int type, char* p, int32_t date) {
  if (type == 'D') StrDatumFromLong(p, date);
  if (type == 'o') CobolDatumFromLong(p, date);
}

void FormatDate(char* out, int32_t date) {
  // The date readers give 0 to 99999999; anything else would not fit.
  if (date < 0 || date > 99999999) date = 0;
  std::snprintf(out, 11, "%04d-%02d-%02d", static_cast<int>(date / 10000),
                static_cast<int>(date % 10000 / 100), static_cast<int>(date % 100));
}

int32_t BinaryLongFromField(int type, const char* p) {
  switch (type) {
    case 'b':
      return static_cast<unsigned char>(p[0]);
    case 's': {
      int16_t value;
      std::memcpy(&value, p, sizeof value);
      return value;
    }
    case 'l': {
      int32_t value;
      std::memcpy(&value, p, sizeof value);
      return value;
    }
    default:
      return 0;
  }
}

void BinaryLongToField(int type, char* p, int32_t value) {
  // Little-endian: the low bytes come first.
  if (type == 'b') std::memcpy(p, &value, 1);
  if (type == 's') std::memcpy(p, &value, 2);
  if (type == 'l') std::memcpy(p, &value, 4);
}

int64_t CobolXValue(const char* p, int w) {
  if (p == nullptr || w < 1) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(p);
  const bool negative = (bytes[0] & 0x80) != 0;
  const int lead = w > 8 ? w - 8 : 0;
  for (int i = 0; i < lead; ++i) {
    if (bytes[i] != (negative ? 0xFF : 0x00)) return negative ? INT64_MIN : INT64_MAX;
  }
  if (((bytes[lead] & 0x80) != 0) != negative) return negative ? INT64_MIN : INT64_MAX;
  uint64_t raw = negative ? ~uint64_t{0} : 0;
  for (int i = lead; i < w; ++i) raw = (raw << 8) | bytes[i];
  return static_cast<int64_t>(raw);
}

void CobolXFromValue(char* p, int w, int64_t value) {
  if (p == nullptr || w < 1) return;
  auto raw = static_cast<uint64_t>(value);
  const unsigned char fill = value < 0 ? 0xFF : 0x00;
  for (int i = w - 1; i >= 0; --i) {
    const bool in_value = w - 1 - i < 8;
    p[i] = static_cast<char>(in_value ? static_cast<unsigned char>(raw & 0xFF) : fill);
    if (in_value) raw >>= 8;
  }
}

double DoubleFromField(const char* p) {
  double value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

void DoubleToField(char* p, double value) { std::memcpy(p, &value, sizeof value); }

int32_t FieldValueToLong(const TableDef* td, int field, const char* p) {
  const FieldDef* f = FieldAt(td, field);
  if (f == nullptr || p == nullptr || !FitsWidth(f->Type, f->Len)) return 0;
  switch (ValueClassOf(*f)) {
    case kInteger:
      return IntegerValue(f->Type, p, f->Len);
    case kDate:
      return DateFromField(f->Type, p);
    default:
      return 0;
  }
}

double FieldValueToDouble(const TableDef* td, int field, const char* p) {
  const FieldDef* f = FieldAt(td, field);
  if (f == nullptr || p == nullptr || !FitsWidth(f->Type, f->Len)) return 0.0;
  switch (f->Type) {
    case 'N':
      return CharNToDouble(p, f->Len, f->Dec);
    case 'd':
      return DoubleFromField(p);
    case 'n':
      return CobolNToDouble(p, f->Len, f->Dec);
    default:
      return 0.0;
  }
}

}  // namespace lerv32

using lerv32::CheckedField;

extern "C" {

int32_t LERV32_CALL rv_FieldToLong(const TableDef* td, int32_t field, const char* rec) {
  const FieldDef* f = CheckedField(td, field);
  if (f == nullptr || rec == nullptr) return 0;
  return lerv32::FieldValueToLong(td, field, rec + f->Offset);
}

double LERV32_CALL rv_FieldToDouble(const TableDef* td, int32_t field, const char* rec) {
  const FieldDef* f = CheckedField(td, field);
  if (f == nullptr || rec == nullptr) return 0.0;
  return lerv32::FieldValueToDouble(td, field, rec + f->Offset);
}

int32_t LERV32_CALL rv_FieldFromString(const TableDef* td, int32_t field, char* rec, const char* text) {
  const FieldDef* f = CheckedField(td, field);
  if (f == nullptr || rec == nullptr || text == nullptr || !lerv32::FitsWidth(f->Type, f->Len)) return 0;
  return lerv32::FieldFromString(*f, rec + f->Offset, text);
}

}  // extern "C"
