// The table definition model inside the library: the names every SQL object
// of a table is built from, and the tenant text.
#ifndef LERV32_TABLEDEF_TABLE_DEF_H
#define LERV32_TABLEDEF_TABLE_DEF_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "include/lerv32.h"

namespace lerv32 {

using ::TableDef;

constexpr std::size_t kMandantSize = 64;    // 63 characters and the zero
constexpr std::size_t kSqlNameSize = 100;   // tenant, separator, table name, zero

// The process-wide tenant text, empty when no tenant is in use.
struct TenantText {
  char text[kMandantSize] = "";
  bool empty() const { return text[0] == '\0'; }
};
// The tenant as a whole: within a TenantScope the text the scope read first,
// else the one last set.
TenantText CurrentTenant();
void SetTenant(const char* text);

// Mandant_TableName with a tenant in use for the table, else TableName. Writes
// into out (kSqlNameSize bytes) or, when out is null, into a library-owned
// buffer (one per thread) that the next such call overwrites; returns the text.
char* SqlBaseName(const TableDef* td, char* out);
// Mandant$TableName with a tenant in use for the table, else ut_TableName.
char* SqlTableName(const TableDef* td, char* out);
// SqlBaseName as the caller's own text: per-call statements are built from
// it, never from a library buffer that another thread may be writing.
std::string BaseNameOf(const TableDef* td);

// Copies at most N - 1 characters of text (null: none) into dest and
// zero-fills the rest: longer names are cut, never written past the member.
template <std::size_t N>
void CopyName(char (&dest)[N], const char* text) {
  std::size_t length = 0;
  if (text != nullptr) {
    while (length < N - 1 && text[length] != '\0') ++length;
    std::memcpy(dest, text, length);
  }
  std::memset(dest + length, 0, N - length);
}

// The text of a name member, ending at the member's end should a host's
// definition lack the terminator.
template <std::size_t N>
std::string_view NameText(const char (&name)[N]) {
  return std::string_view(name, strnlen(name, N));
}

// Whether a name may enter a definition: not empty and without control
// characters (bytes below 0x20), which no stored definition holds and which
// would end a line of a generated script.
bool IsAcceptableName(std::string_view name);
bool HasControlCharacters(std::string_view text);

// Whether number addresses one of the slots of td (td not null).
bool InSlots(const TableDef* td, int32_t number, int32_t slots);

// Whether td is a definition the calls could have made: FieldCnt and KeyCnt
// within their maxima, fields of at most 255 bytes laid end to end from
// offset 0, keys of at most 11 positions that each name a field in use,
// PrimaryKey a key number or the number the next key gets (a refused PKEY=
// line leaves that), the names of the table and of the fields and keys in
// use zero-terminated within their members. False for a null td. Exports
// refuse any other definition as they refuse a null one: its counts,
// offsets and names would lead them outside the definition and the record.
bool ValidTableDef(const TableDef* td);

// Whether two names are one to the server: letters of Windows-1252 compared
// without case, blanks at the end ignored (tabledef/name_compare.cpp).
bool SameName(std::string_view a, std::string_view b);
// Whether td holds a field or key of that name as the server compares them;
// name is compared as given, so cut it to the member first.
bool HasFieldNamed(const TableDef* td, std::string_view name);
bool HasKeyNamed(const TableDef* td, std::string_view name);

// A field of a table: a name the server takes for one already there, or for
// the table's own RecId and MandId columns, is refused.
int32_t AddField(TableDef* td, const char* name, int32_t type, int32_t width, int32_t dec);
// A column of a result as the server names it: every column is a field (the
// fields are read by position), unnamed and repeated names included.
int32_t AddResultField(TableDef* td, const char* name, int32_t type, int32_t width, int32_t dec);
int32_t FieldNo(const TableDef* td, const char* name);
int32_t AddFieldDef(TableDef* td, const char* definition);
int32_t AddKeyDef(TableDef* td, const char* definition);

// Bytes of a record: the end of the last field.
int RecordSize(const TableDef* td);

// Resets td to an empty definition, freeing its key filters.
void ClearTableDef(TableDef* td);

}  // namespace lerv32

#endif  // LERV32_TABLEDEF_TABLE_DEF_H
