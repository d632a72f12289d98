#include "tools/lerv/definition.h"

#include <cstdlib>
#include <fstream>
#include <vector>

#include <fmt/format.h>

#include "tools/lerv/failure.h"

namespace lerv {
namespace {

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Failure(fmt::format("Definitionsdatei nicht lesbar: {}", path));
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  if (in.bad()) throw Failure(fmt::format("Definitionsdatei nicht lesbar: {}", path));
  return lines;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool IsKeyLine(const std::string& line) {
  return StartsWith(line, "KEY=") || StartsWith(line, "SKEY=") || StartsWith(line, "PKEY=") ||
         StartsWith(line, "SQLKEY=");
}

// The field names of a key line, as the library reads them: after the key
// name, separated by commas; a semicolon starts the filter when the table
// keeps key tables, otherwise it separates too.
std::vector<std::string> KeyFieldNames(const std::string& value, bool filters) {
  std::vector<std::string> names;
  const size_t comma = value.find(',');
  if (comma == std::string::npos) return names;
  std::string list = value.substr(comma + 1);
  if (filters) list = list.substr(0, list.find(';'));
  size_t pos = 0;
  while (pos <= list.size()) {
    const size_t end = std::min(list.find_first_of(",;", pos), list.size());
    std::string name = list.substr(pos, end - pos);
    name.erase(0, name.find_first_not_of(' '));
    if (!name.empty()) names.push_back(name);
    pos = end + 1;
  }
  return names;
}

// Replays the field and key entries on a scratch definition to find the
// first one the library refused or cut short.
void CheckEntries(const std::string& path, const std::vector<std::string>& lines) {
  TableDefPtr scratch(rv_AllocTableDef());
  if (!scratch) throw Failure("Zu wenig Speicher");
  bool filters = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    const std::string where = fmt::format("{}, Zeile {}", path, i + 1);
    if (StartsWith(line, "USEKEYTAB=")) {
      filters = std::atoi(line.c_str() + 10) != 0;
    } else if (StartsWith(line, "FIELD=")) {
      if (!rv_AddFieldDef(scratch.get(), line.c_str() + 6)) {
        throw Failure(fmt::format("{}: Feld nicht übernommen (höchstens {} Felder): {}", where, LERV32_MAX_FIELDS, line));
      }
    } else if (IsKeyLine(line)) {
      const std::string value = line.substr(line.find('=') + 1);
      for (const std::string& name : KeyFieldNames(value, filters)) {
        if (rv_FieldNo(scratch.get(), name.c_str()) < 0) {
          throw Failure(fmt::format("{}: Schlüssel nennt ein unbekanntes Feld \"{}\"", where, name));
        }
      }
      if (!rv_AddKeyDef(scratch.get(), value.c_str())) {
        throw Failure(fmt::format("{}: Schlüssel nicht übernommen (höchstens {} Schlüssel, mindestens ein Feld): {}",
                                  where, LERV32_MAX_KEYS, line));
      }
      const int32_t key = rv_KeyCnt(scratch.get()) - 1;
      if (rv_KeyTokenCnt(scratch.get(), key) < static_cast<int32_t>(KeyFieldNames(value, filters).size())) {
        throw Failure(fmt::format("{}: Schlüssel mit mehr als {} Feldern", where, LERV32_MAX_KEY_FIELDS));
      }
    }
  }
}

}  // namespace

Definition::Definition(const std::string& path) : path_(path), td_(rv_AllocTableDef()) {
  if (!td_) throw Failure("Zu wenig Speicher");
  const std::vector<std::string> lines = ReadLines(path);
  if (!rv_LoadTableDef(td_.get(), path.c_str())) {
    throw Failure(fmt::format("Definitionsdatei nicht lesbar: {}", path));
  }
  CheckEntries(path, lines);
  if (rv_FieldCnt(td_.get()) == 0) throw Failure(fmt::format("{}: keine Felder (FIELD=...) definiert", path));
}

std::string Definition::table() const { return td_->TableName; }

int32_t KeyNumber(const Definition& definition, const std::string& name) {
  const int32_t key = rv_KeyNo(definition.get(), name.c_str());
  if (key >= 0) return key;
  std::string keys;
  for (int32_t k = 0; k < rv_KeyCnt(definition.get()); ++k) keys += (k ? ", " : "") + std::string(rv_KeyName(definition.get(), k));
  throw Failure(fmt::format("{}: kein Schlüssel \"{}\" (vorhanden: {})", definition.path(), name,
                            keys.empty() ? "keine" : keys));
}

}  // namespace lerv
