// Writing a definition in the file form that the loader reads back. A
// definition the form cannot express (names with commas, overlong lines,
// keys without fields, ...) is not written at all.
#include <cstring>
#include <string>
#include <vector>

#include "frame/atomic_file.h"
#include "frame/export_guard.h"
#include "include/lebase32.h"
#include "tabledef/definition_file.h"
#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

constexpr std::size_t kMaxLineChars = 299;

std::string KeyDefinition(const TableDef* td, int32_t k) {
  const KeyDef& key = td->Keys[k];
  std::string text(key.Name, strnlen(key.Name, sizeof key.Name));
  for (uint8_t t = 0; t < key.TokenCnt; ++t) {
    const uint8_t field = key.TokenFieldNo[t];
    text += ',';
    if (field < LERV32_MAX_FIELDS) text.append(td->Fields[field].Name, strnlen(td->Fields[field].Name, 16));
  }
  if (td->UseKeyTable != 0 && td->KeyFilter[k] != nullptr && td->KeyFilter[k][0] != '\0') {
    text += ';';
    text += td->KeyFilter[k];
  }
  return text;
}

std::vector<std::string> KeyLines(const TableDef* td) {
  std::vector<std::string> lines;
  for (int32_t k = 0; k <= td->KeyCnt; ++k) {
    // Primary key 0 is the default; the numbers of primary and SQL keys are
    // taken when their line is read, so a marker line can set one alone.
    const bool primary = td->PrimaryKey == k && k != 0;
    const bool sql = k < 32 && (td->SqlKeyMask & (uint32_t{1} << k)) != 0;
    if (k == td->KeyCnt) {
      if (primary) lines.push_back("PKEY=");
      if (sql) lines.push_back("SQLKEY=");
      break;
    }
    const std::string definition = KeyDefinition(td, k);
    if (primary && sql) lines.push_back("PKEY=");
    lines.push_back((sql ? "SQLKEY=" : primary ? "PKEY=" : "KEY=") + definition);
  }
  return lines;
}

std::vector<std::string> DefinitionLines(const TableDef* td) {
  std::vector<std::string> lines = {
      "ALIAS=" + std::string(td->TableName, strnlen(td->TableName, sizeof td->TableName)),
      "EXLEVEL=" + std::to_string(td->ExLevel),
      "APPENDEX=" + std::to_string(td->AppendEx),
      "USEMANDANT=" + std::to_string(td->UseMandant),
      "USEKEYTAB=" + std::to_string(td->UseKeyTable),
  };
  for (int32_t i = 0; i < td->FieldCnt && i < LERV32_MAX_FIELDS; ++i) {
    const FieldDef& field = td->Fields[i];
    lines.push_back("FIELD=" + std::string(field.Name, strnlen(field.Name, sizeof field.Name)) + "," +
                    static_cast<char>(field.Type) + "," + std::to_string(field.Len) + "," +
                    std::to_string(field.Dec));
  }
  for (std::string& line : KeyLines(td)) lines.push_back(std::move(line));
  return lines;
}

bool SameText(const char* a, const char* b) {
  return std::strcmp(a != nullptr ? a : "", b != nullptr ? b : "") == 0;
}

bool SameDefinition(const TableDef* a, const TableDef* b) {
  if (std::strncmp(a->TableName, b->TableName, sizeof a->TableName) != 0 || a->FieldCnt != b->FieldCnt ||
      a->KeyCnt != b->KeyCnt || a->ExLevel != b->ExLevel || a->PrimaryKey != b->PrimaryKey ||
      a->AppendEx != b->AppendEx || a->SqlKeyMask != b->SqlKeyMask || a->UseKeyTable != b->UseKeyTable ||
      a->UseMandant != b->UseMandant) {
    return false;
  }
  for (int32_t i = 0; i < a->FieldCnt; ++i) {
    const FieldDef& x = a->Fields[i];
    const FieldDef& y = b->Fields[i];
    if (x.Offset != y.Offset || x.Len != y.Len || x.Type != y.Type || x.Dec != y.Dec ||
        std::strncmp(x.Name, y.Name, sizeof x.Name) != 0) {
      return false;
    }
  }
  for (int32_t k = 0; k < a->KeyCnt; ++k) {
    const KeyDef& x = a->Keys[k];
    const KeyDef& y = b->Keys[k];
    if (x.TokenCnt != y.TokenCnt || std::memcmp(x.TokenFieldNo, y.TokenFieldNo, x.TokenCnt) != 0 ||
        std::strncmp(x.Name, y.Name, sizeof x.Name) != 0 || !SameText(a->KeyFilter[k], b->KeyFilter[k])) {
      return false;
    }
  }
  return true;
}

// Whether reading the lines gives td again.
bool ReadsBackAs(const std::vector<std::string>& lines, const TableDef* td) {
  for (const std::string& line : lines) {
    if (line.size() > kMaxLineChars || line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
      return false;
    }
  }
  TableDef copy{};
  ApplyDefinitionLines(&copy, lines);
  const bool same = SameDefinition(&copy, td);
  ClearTableDef(&copy);
  return same;
}

}  // namespace

int32_t SaveTableDef(const TableDef* td, const char* path) {
  if (!ValidTableDef(td)) return 0;
  const std::string target = path != nullptr ? path : "";
  const std::vector<std::string> lines = DefinitionLines(td);
  if (!ReadsBackAs(lines, td)) {
    leEventLogWrite(LEBASE32_LOG_ODBC, target.c_str(), "file not written: the definition would not read back as it is");
    return 0;
  }
  std::string content;
  for (const std::string& line : lines) content += line + "\r\n";
  return WriteFileAtomically(target, content) ? 1 : 0;
}

}  // namespace lerv32

extern "C" int32_t LERV32_CALL rv_SaveTableDef(const lerv32::TableDef* td, const char* path) {
  return lerv32::Guarded<int32_t>(0, [&] { return lerv32::SaveTableDef(td, path); });
}
