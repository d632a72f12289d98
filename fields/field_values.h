// Values of single fields in a record buffer, for the exports and for record
// access. p is the address of the field, w its width.
#ifndef LERV32_FIELDS_FIELD_VALUES_H
#define LERV32_FIELDS_FIELD_VALUES_H

#include <cstdint>

#include "include/lerv32.h"

namespace lerv32 {

// Value of an integer or date field; 0 for double and text fields.
int32_t FieldValueToLong(const TableDef* td, int field, const char* p);
// Value of an N, d or n field; 0.0 for every other type.
double FieldValueToDouble(const TableDef* td, int field, const char* p);

// The field as SQL text in dest (w + 1 bytes): zero bytes and what follows
// them become blanks; converted to ANSI when OemConvert is on.
void FieldToSqlText(char* dest, const char* p, int w);
// Writes SQL text into the field, blank-padded. When OemConvert is on, src is
// cut at w (it then needs w + 1 bytes) and converted to OEM in place.
void FieldFromSqlText(char* src, char* p, int w);

// Whether a field of type is w bytes wide enough: the binary and date types
// have a size of their own, and a narrower field is neither read nor written.
bool FitsWidth(int type, int w);
// Bytes of the field up to its first zero byte, and without the trailing
// blanks before it (but the first keep bytes).
int TextLength(const char* p, int w);
int TrimmedLength(const char* p, int w, int keep);
// Date of a D or o field, and writing one.
int32_t DateFromField(int type, const char* p);
void DateToField(int type, char* p, int32_t date);
// "YYYY-MM-DD" of date into out (11 bytes).
void FormatDate(char* out, int32_t date);
// The little-endian binaries: b, s, l (sign-extended but b) and d.
int32_t BinaryLongFromField(int type, const char* p);
// The whole value of an x field of width w (big-endian two's complement);
// wider than 8 bytes, a value beyond int64 gives its nearest end.
int64_t CobolXValue(const char* p, int w);
// Writes value whole into an x field of width w, the sign filling the bytes
// in front; a field too narrow keeps the low bytes, as LongToCobolX does.
void CobolXFromValue(char* p, int w, int64_t value);
void BinaryLongToField(int type, char* p, int32_t value);
double DoubleFromField(const char* p);
void DoubleToField(char* p, double value);

}  // namespace lerv32

#endif  // LERV32_FIELDS_FIELD_VALUES_H
