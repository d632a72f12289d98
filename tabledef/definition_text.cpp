// Field and key definitions in their text form, as people write them in
// definition files: "name[,type[,width[,decimals]]]" and
// "name,field[,field...][;filter]".
#include <algorithm>
#include <cstring>
#include <string>

#include "frame/export_guard.h"
#include "include/lebase32.h"
#include "tabledef/key_filters.h"
#include "tabledef/table_def.h"

namespace lerv32 {
namespace {

constexpr std::size_t kDefinitionChars = 127;

// At most the first 127 characters, leading blanks removed. Nothing beyond
// them is read: a text that fills them needs no terminator.
std::string WorkingCopy(const char* text) {
  std::string copy = text != nullptr ? std::string(text, strnlen(text, kDefinitionChars)) : std::string();
  const std::size_t first = copy.find_first_not_of(' ');
  copy.erase(0, first == std::string::npos ? copy.size() : first);
  return copy;
}

// The comma-separated item at index (0 = name), and whether there is one.
bool Item(const std::string& text, int index, std::string& item) {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    start = text.find(',', start);
    if (start == std::string::npos) return false;
    ++start;
  }
  item = text.substr(start, text.find(',', start) - start);
  return true;
}

}  // namespace

int32_t AddFieldDef(TableDef* td, const char* definition) {
  if (!ValidTableDef(td) || definition == nullptr) return 0;
  const std::string text = WorkingCopy(definition);
  std::string name, type_item, width_item, dec_item;
  Item(text, 0, name);
  if (!Item(text, 1, type_item)) return AddField(td, name.c_str(), 'C', 10, 0);
  // The first letter names the type ("CHAR" is C); blanks before it are no type.
  const std::size_t letter = type_item.find_first_not_of(' ');
  const char type = letter == std::string::npos ? 'C' : type_item[letter];
  const int32_t width = Item(text, 2, width_item) ? StringToLong(width_item.c_str()) : 10;
  const int32_t dec = Item(text, 3, dec_item) ? StringToLong(dec_item.c_str()) : 0;
  return AddField(td, name.c_str(), static_cast<unsigned char>(type), width, dec);
}

int32_t AddKeyDef(TableDef* td, const char* definition) {
  if (!ValidTableDef(td) || td->KeyCnt >= LERV32_MAX_KEYS) return 0;
  const std::string text = WorkingCopy(definition);
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos || comma + 1 >= text.size()) return 0;
  const std::string name = text.substr(0, comma);
  if (!IsAcceptableName(name) || HasKeyNamed(td, name.substr(0, sizeof(KeyDef::Name) - 1))) return 0;

  KeyDef key{};
  CopyName(key.Name, name.c_str());
  std::string filter;
  std::size_t pos = comma + 1;
  while (pos < text.size()) {
    pos = text.find_first_not_of(' ', pos);
    if (pos == std::string::npos) break;
    const std::size_t end = std::min(text.find_first_of(",;", pos), text.size());
    const std::string token = text.substr(pos, end - pos);
    const int32_t field = token.empty() ? -1 : FieldNo(td, token.c_str());
    // Fields beyond what a key holds are dropped like unknown names.
    if (field >= 0 && key.TokenCnt < LERV32_MAX_KEY_FIELDS) {
      key.TokenFieldNo[key.TokenCnt++] = static_cast<uint8_t>(field);
    }
    pos = end + 1;
    if (end < text.size() && text[end] == ';' && key.TokenCnt > 0 && td->UseKeyTable != 0) {
      filter = text.substr(pos);
      break;
    }
  }
  if (key.TokenCnt == 0) return 0;

  const int32_t number = td->KeyCnt;
  char* filter_copy = nullptr;
  if (!filter.empty() && (filter_copy = NewKeyFilter(filter)) == nullptr) return 0;
  FreeKeyFilter(td->KeyFilter[number]);
  td->KeyFilter[number] = filter_copy;
  td->Keys[number] = key;
  ++td->KeyCnt;
  return 1;
}

}  // namespace lerv32

extern "C" {

int32_t LERV32_CALL rv_AddFieldDef(lerv32::TableDef* td, const char* definition) {
  return lerv32::Guarded<int32_t>(0, [&] { return lerv32::AddFieldDef(td, definition); });
}

int32_t LERV32_CALL rv_AddKeyDef(lerv32::TableDef* td, const char* definition) {
  return lerv32::Guarded<int32_t>(0, [&] { return lerv32::AddKeyDef(td, definition); });
}

}  // extern "C"
