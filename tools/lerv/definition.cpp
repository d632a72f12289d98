#include "tools/lerv/definition.h"

#include <algorithm>
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

// The items of a FIELD value: name, type, width, decimals (empty when not given).
std::vector<std::string> FieldItems(const std::string& value) {
  std::vector<std::string> items;
  size_t at = 0;
  for (;;) {
    const size_t comma = value.find(',', at);
    std::string item = value.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    item.erase(0, item.find_first_not_of(' '));
    item.erase(item.find_last_not_of(' ') + 1);
    items.push_back(item);
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  items.resize(std::max<size_t>(items.size(), 4));
  return items;
}

// What the library would make of a field silently: an unknown type, a width
// it wraps or a duplicate name. Empty when the field is as written.
std::string FieldProblem(const TableDef* td, const std::vector<std::string>& items) {
  const char type = items[1].empty() ? 'C' : items[1][0];
  if (std::string("CcuDLbNdlsnxo").find(type) == std::string::npos) {
    return fmt::format("unbekannter Feldtyp \"{}\"", items[1]);
  }
  const FieldDef& field = td->Fields[td->FieldCnt - 1];
  const bool sized = std::string("CcuNnx").find(type) != std::string::npos;
  if (sized && !items[2].empty() && (std::atoi(items[2].c_str()) != field.Len || field.Len == 0)) {
    return fmt::format("Breite \"{}\" für Typ {} nicht möglich (1 bis 255)", items[2], type);
  }
  // Decimals matter to the number types; elsewhere the library drops them.
  if (std::string("Nnd").find(type) != std::string::npos && !items[3].empty() &&
      std::atoi(items[3].c_str()) != field.Dec) {
    return fmt::format("{} Nachkommastellen für Typ {} nicht möglich", items[3], type);
  }
  if ((type == 'N' || type == 'n') && field.Dec > 0 && field.Dec >= field.Len) {
    return fmt::format("{} Nachkommastellen bei Breite {}", field.Dec, field.Len);
  }
  return "";
}

// A name the library refuses: empty, or with control characters.
bool IsRefusedName(const std::string& name) {
  return name.empty() ||
         std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
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
    } else if (StartsWith(line, "ALIAS=") && IsRefusedName(line.substr(6))) {
      throw Failure(fmt::format("{}: Tabellenname leer oder mit Steuerzeichen", where));
    } else if (StartsWith(line, "ALIAS=") && line.size() - 6 > sizeof(TableDef::TableName) - 1) {
      throw Failure(fmt::format("{}: Tabellenname länger als {} Zeichen", where, sizeof(TableDef::TableName) - 1));
    } else if (StartsWith(line, "FIELD=")) {
      const std::vector<std::string> items = FieldItems(line.substr(6));
      if (IsRefusedName(items[0])) throw Failure(fmt::format("{}: Feldname leer oder mit Steuerzeichen", where));
      if (rv_FieldCnt(scratch.get()) >= LERV32_MAX_FIELDS) {
        throw Failure(fmt::format("{}: Feld nicht übernommen (höchstens {} Felder): {}", where, LERV32_MAX_FIELDS, line));
      }
      // With room left the library refuses only a name it holds already
      // (without case, after the cut to 15 characters).
      if (!rv_AddFieldDef(scratch.get(), line.c_str() + 6)) {
        throw Failure(fmt::format("{}: Feld {} doppelt", where, items[0]));
      }
      const std::string problem = FieldProblem(scratch.get(), items);
      if (!problem.empty()) throw Failure(fmt::format("{}: Feld {}: {}", where, items[0], problem));
    } else if (IsKeyLine(line)) {
      const std::string value = line.substr(line.find('=') + 1);
      std::string key_name = value.substr(0, value.find(','));
      key_name.erase(0, key_name.find_first_not_of(' '));
      if (IsRefusedName(key_name)) {
        throw Failure(fmt::format("{}: Schlüsselname leer oder mit Steuerzeichen", where));
      }
      for (const std::string& name : KeyFieldNames(value, filters)) {
        if (rv_FieldNo(scratch.get(), name.c_str()) < 0) {
          throw Failure(fmt::format("{}: Schlüssel nennt ein unbekanntes Feld \"{}\"", where, name));
        }
      }
      // Of known fields and with room left the library refuses only a name
      // it holds already (without case, after the cut to 19 characters).
      const bool room = rv_KeyCnt(scratch.get()) < LERV32_MAX_KEYS && !KeyFieldNames(value, filters).empty();
      if (!rv_AddKeyDef(scratch.get(), value.c_str())) {
        if (room) throw Failure(fmt::format("{}: Schlüssel {} doppelt", where, key_name));
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
