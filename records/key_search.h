// Finding the first or last record whose key starts with given bytes: the
// part of the key the bytes cover, and the two ways to search it.
#ifndef LERV32_RECORDS_KEY_SEARCH_H
#define LERV32_RECORDS_KEY_SEARCH_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "include/lerv32.h"
#include "platform/win_api.h"

#include <sql.h>

namespace lerv32 {

// The width of the key parameter of up_FindF_/up_FindL_.
constexpr int kFindKeyWidth = 128;

// A key field and the bytes of the search value that fall on it.
struct CoveredField {
  const FieldDef* field;
  const char* bytes;
  int length;  // the field's Len when covered whole

  bool Whole() const { return length == field->Len; }
};

// The fields a search value covers, in key order; only the last may be
// covered partly, and then it is a text field.
struct KeyCover {
  const TableDef* td;
  int key;
  std::vector<CoveredField> fields;
};

// REQUIRES: ValidKey(td, key), key >= 0, len >= 1, value holds len bytes.
// Bytes beyond the key are left out. false when nothing can match: the key
// has no bytes, or the value ends inside a number or date field, whose
// value a part of its bytes does not give.
bool CoverKey(const TableDef* td, int key, const char* value, int len, KeyCover* cover);

// The text the write path sends for the first length bytes of a text field.
std::string SqlTextPrefix(const char* p, int length);

// A SELECT comparing text fields as text and the others by value; failures
// are reported.
int32_t FindByPlainSql(SQLHDBC dbc, const KeyCover& cover, bool last);

// What up_FindF_/up_FindL_ of the table's form compare the value with, or
// nothing when they cannot compare it (or it is wider than their parameter)
// and the search goes plain.
std::optional<std::string> ProcedureSearchText(const KeyCover& cover);

// Runs up_FindF_ (up_FindL_ when last) with text; failures are reported.
// REQUIRES: text no longer than kFindKeyWidth.
int32_t FindByProcedure(SQLHDBC dbc, const KeyCover& cover, const std::string& text, bool last);

}  // namespace lerv32

#endif  // LERV32_RECORDS_KEY_SEARCH_H
