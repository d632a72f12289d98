// Definition files: one entry per line, a keyword in the first column
// followed directly by its value. Lines of any other form are ignored.
#include <cctype>
#include <climits>
#include <cstring>
#include <string>

#include "frame/export_guard.h"
#include "frame/settings.h"
#include "include/lebase32.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

constexpr int32_t kLineBufferSize = 300;  // a line holds at most 299 characters
constexpr const char kNewTableName[] = "neue_Tabelle";

// The number at the start of text as "%d" reads it; false when there is none.
bool ScanDecimal(const char* text, int32_t& value) {
  while (std::isspace(static_cast<unsigned char>(*text))) ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  if (!std::isdigit(static_cast<unsigned char>(*text))) return false;
  long long magnitude = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (*text - '0');
  }
  const long long signed_value = negative ? -magnitude : magnitude;
  value = static_cast<int32_t>(signed_value < INT_MIN ? INT_MIN : (signed_value > INT_MAX ? INT_MAX : signed_value));
  return true;
}

// A name the definition cannot take leaves the one before.
void SetAlias(TableDef* td, const char* value) {
  if (IsAcceptableName(value)) CopyName(td->TableName, value);
}
void SetExLevel(TableDef* td, const char* value) { ScanDecimal(value, td->ExLevel); }
void SetUseKeyTable(TableDef* td, const char* value) { ScanDecimal(value, td->UseKeyTable); }
void AddFieldLine(TableDef* td, const char* value) { AddFieldDef(td, value); }
void AddKeyLine(TableDef* td, const char* value) { AddKeyDef(td, value); }
// Primary and SQL keys take the number the key will receive, even when the
// key line is then refused.
void AddPrimaryKeyLine(TableDef* td, const char* value) {
  td->PrimaryKey = td->KeyCnt;
  AddKeyDef(td, value);
}
void AddSqlKeyLine(TableDef* td, const char* value) {
  if (td->KeyCnt < 32) td->SqlKeyMask |= uint32_t{1} << td->KeyCnt;
  AddKeyDef(td, value);
}
void SetAppendEx(TableDef* td, const char* value) { ScanDecimal(value, td->AppendEx); }
void SetUseMandant(TableDef* td, const char* value) { ScanDecimal(value, td->UseMandant); }

struct Entry {
  const char* keyword;
  void (*apply)(TableDef* td, const char* value);
};

// Tested in this order.
constexpr Entry kEntries[] = {
    {"ALIAS=", SetAlias},          {"EXLEVEL=", SetExLevel},       {"USEKEYTAB=", SetUseKeyTable},
    {"FIELD=", AddFieldLine},      {"KEY=", AddKeyLine},           {"SKEY=", AddKeyLine},
    {"PKEY=", AddPrimaryKeyLine},  {"SQLKEY=", AddSqlKeyLine},     {"APPENDEX=", SetAppendEx},
    {"USEMANDANT=", SetUseMandant},
};

void ApplyLine(TableDef* td, const char* line) {
  for (const Entry& entry : kEntries) {
    const std::size_t length = std::strlen(entry.keyword);
    if (std::strncmp(line, entry.keyword, length) == 0) {
      entry.apply(td, line + length);
      return;
    }
  }
}

// An empty definition as a load starts it, with the levels the settings allow.
void ResetForLoad(TableDef* td) {
  ClearTableDef(td);
  td->ExLevel = ExSQL_Maximum;
  td->AppendEx = ExSQL_Append;
  CopyName(td->TableName, kNewTableName);
}

class FileHandle {
 public:
  explicit FileHandle(const char* path) : handle_(path != nullptr ? X_Open(path, 0) : -1) {}
  ~FileHandle() {
    if (handle_ >= 0) X_Close(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int32_t Get() const { return handle_; }

 private:
  int32_t handle_;
};

}  // namespace

void ApplyDefinitionLines(TableDef* td, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) ApplyLine(td, line.c_str());
}

int32_t LoadTableDef(TableDef* td, const char* path) {
  if (td == nullptr) return 0;
  ResetForLoad(td);
  FileHandle file(path);
  if (file.Get() < 0) return 0;
  char line[kLineBufferSize];
  while (X_Readln(file.Get(), line, sizeof line)) ApplyLine(td, line);
  if (td->ExLevel > ExSQL_Maximum) td->ExLevel = ExSQL_Maximum;
  if (td->AppendEx > ExSQL_Append) td->AppendEx = ExSQL_Append;
  return 1;
}

}  // namespace lerv32

extern "C" int32_t LERV32_CALL rv_LoadTableDef(lerv32::TableDef* td, const char* path) {
  return lerv32::Guarded<int32_t>(0, [&] { return lerv32::LoadTableDef(td, path); });
}
