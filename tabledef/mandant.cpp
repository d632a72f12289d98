// The process-wide tenant text and the two names every SQL object of a table
// is built from.
#include <cstdio>
#include <cstring>

#include "frame/export_guard.h"
#include "tabledef/table_def.h"

namespace lerv32 {

char Mandant[kMandantSize] = "";

namespace {

bool TenantInUse(const TableDef* td) { return Mandant[0] != '\0' && td->UseMandant != 0; }

// table is bounded: a host may fill TableName to its end without a terminator.
char* FormatName(char* out, const char* first, const char* separator, std::string_view table) {
  std::snprintf(out, kSqlNameSize, "%s%s%.*s", first, separator, static_cast<int>(table.size()), table.data());
  return out;
}

}  // namespace

char* SqlBaseName(const TableDef* td, char* out) {
  thread_local char own[kSqlNameSize];
  if (out == nullptr) out = own;
  return TenantInUse(td) ? FormatName(out, Mandant, "_", NameText(td->TableName))
                         : FormatName(out, "", "", NameText(td->TableName));
}

char* SqlTableName(const TableDef* td, char* out) {
  thread_local char own[kSqlNameSize];
  if (out == nullptr) out = own;
  return TenantInUse(td) ? FormatName(out, Mandant, "$", NameText(td->TableName))
                         : FormatName(out, "ut_", "", NameText(td->TableName));
}

std::string BaseNameOf(const TableDef* td) {
  char base[kSqlNameSize];
  return SqlBaseName(td, base);
}

}  // namespace lerv32

extern "C" {

const char* LERV32_CALL rv_GetMandant(char* buffer, int32_t size) {
  if (buffer == nullptr) return lerv32::Mandant;
  if (size < 1) return buffer;
  std::snprintf(buffer, static_cast<std::size_t>(size), "%s", lerv32::Mandant);
  return buffer;
}

const char* LERV32_CALL rv_SetMandant(const char* text) {
  // At most the 63 characters kept are read: a text that fills them needs
  // no terminator.
  std::snprintf(lerv32::Mandant, sizeof lerv32::Mandant, "%.*s", static_cast<int>(sizeof lerv32::Mandant - 1),
                text != nullptr ? text : "");
  return lerv32::Mandant;
}

}  // extern "C"
