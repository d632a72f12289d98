// Fields as text: for the SQL server, for display and for export.
#include <cstring>

#include "fields/field_values.h"
#include "frame/settings.h"
#include "include/lebase32.h"
#include "platform/win_api.h"
#include "schema/type_mapping.h"

namespace lerv32 {
namespace {

// The display text of everything but text fields; out needs 21 bytes.
void ValueText(const TableDef* td, int field, const char* p, char* out) {
  const FieldDef& f = td->Fields[field];
  switch (ValueClassOf(f)) {
    case kInteger:
      LongToString(out, FieldValueToLong(td, field, p), 10);
      llstrtrim(out);
      break;
    case kDouble:
      DoubleToString(out, FieldValueToDouble(td, field, p), 20, f.Dec);
      llstrtrim(out);
      for (char* c = out; *c != '\0'; ++c) {
        if (*c == ',') *c = '.';
      }
      break;
    case kDate:
      FormatDate(out, FieldValueToLong(td, field, p));
      break;
    case kText:
      break;
  }
}

void DisplayText(const TableDef* td, int field, const char* rec, char* out) {
  const FieldDef& f = td->Fields[field];
  const char* p = rec + f.Offset;
  if (ValueClassOf(f) != kText) {
    ValueText(td, field, p, out);
    return;
  }
  const int length = TrimmedLength(p, f.Len, 0);
  std::memcpy(out, p, static_cast<std::size_t>(length));
  out[length] = '\0';
}

// Text fields in double quotes; a field of blanks keeps one of them.
void ExportText(const TableDef* td, int field, const char* rec, char* out) {
  const FieldDef& f = td->Fields[field];
  const char* p = rec + f.Offset;
  if (ValueClassOf(f) != kText) {
    ValueText(td, field, p, out);
    return;
  }
  const int length = TrimmedLength(p, f.Len, 1);
  out[0] = '"';
  std::memcpy(out + 1, p, static_cast<std::size_t>(length));
  out[length + 1] = '"';
  out[length + 2] = '\0';
}

}  // namespace

void FieldToSqlText(char* dest, const char* p, int w) {
  if (dest == nullptr) return;
  if (p == nullptr || w < 0) {
    dest[0] = '\0';
    return;
  }
  const int length = TextLength(p, w);
  std::memcpy(dest, p, static_cast<std::size_t>(length));
  std::memset(dest + length, ' ', static_cast<std::size_t>(w - length));
  dest[w] = '\0';
  if (OemConvert != 0) OemToCharA(dest, dest);
}

void FieldFromSqlText(char* src, char* p, int w) {
  if (p == nullptr || w < 0) return;
  if (src != nullptr && OemConvert != 0) {
    src[w] = '\0';
    CharToOemA(src, src);
  }
  const int length = src == nullptr ? 0 : TextLength(src, w);
  if (length > 0) std::memcpy(p, src, static_cast<std::size_t>(length));
  std::memset(p + length, ' ', static_cast<std::size_t>(w - length));
}

}  // namespace lerv32

using lerv32::CheckedField;

extern "C" {

char* LERV32_CALL rv_FieldToString(const TableDef* td, int32_t field, const char* rec, char* out) {
  if (out == nullptr) return nullptr;
  out[0] = '\0';
  if (CheckedField(td, field) != nullptr && rec != nullptr) lerv32::DisplayText(td, field, rec, out);
  return out;
}

void LERV32_CALL rv_FormatFieldForExport(char* out, const TableDef* td, int32_t field,
                                         const char* rec) {
  if (out == nullptr) return;
  out[0] = '\0';
  if (CheckedField(td, field) != nullptr && rec != nullptr) lerv32::ExportText(td, field, rec, out);
}

}  // extern "C"
